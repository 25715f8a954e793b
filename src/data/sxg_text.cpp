#include "data/sxg_text.h"

#include "data/data_state.h"

namespace zorvat {

namespace {

// Characters beyond the capacity are dropped, as a 60-character string would drop them.
void append(SxgText& t, char c) {
    if (t.length < SxgText::CAPACITY) t.chars[t.length++] = c;
}

void append_blanks(SxgText& t, int count) {
    for (int i = 0; i < count; ++i)
        append(t, ' ');
}

// v right-aligned in width columns, or wider when it needs more.
void append_int(SxgText& t, std::int64_t v, int width) {
    char digits[20];
    int n = 0;
    const bool negative = v < 0;
    std::uint64_t u = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    do {
        digits[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    append_blanks(t, width - n - (negative ? 1 : 0));
    if (negative) append(t, '-');
    while (n > 0)
        append(t, digits[--n]);
}

}  // namespace

SxgText SXGTOSTR(SXG A, std::int16_t N, std::uint8_t mode) {
    SxgText t;
    if (N > 10) N = 10;
    const bool wide_integer = mode == SIGNS || mode == DAYSHOURS;
    if (UNDEFINED(A)) {
        int blanks = N * 3 + 2;
        if (blanks < 0) blanks = 0;
        if (blanks > 79) blanks = 79;
        if (wide_integer) blanks += 2;
        append_blanks(t, blanks);
        append(t, '*');
        return t;
    }
    MODERNROUNDINGSXG(A, N);
    const std::int32_t I = A.DEGREES;
    if (mode == SIGNS) {
        append_int(t, I / 30, 2);
        append(t, 's');
        append_int(t, I % 30, 2);
    } else if (mode == DAYSHOURS) {
        append_int(t, (I / 24) % 7, 1);
        append(t, 'd');
        append_int(t, I % 24, 2);
    } else {
        append_int(t, I, 3);
    }
    for (std::int16_t i = 1; i <= N; ++i) {
        append(t, i == 1 ? ';' : ',');
        append_int(t, A.DIGITS[static_cast<std::size_t>(i)], 2);
    }
    return t;
}

SxgText SXGTOSTR(SXG A, std::int16_t N) {
    return SXGTOSTR(A, N, DISPLAYMODE);
}

SxgText SXGTOSTRCOMPR(SXG A, std::int16_t N, std::uint8_t mode) {
    const SxgText full = SXGTOSTR(A, N, mode);
    std::string_view s = full.view();
    while (s.size() >= 3 && s.substr(s.size() - 3) == ", 0")
        s.remove_suffix(3);
    SxgText t;
    for (const char c : s)
        if (c != ' ') append(t, c);
    return t;
}

SxgText SXGTOSTRCOMPR(SXG A, std::int16_t N) {
    return SXGTOSTRCOMPR(A, N, DISPLAYMODE);
}

}  // namespace zorvat
