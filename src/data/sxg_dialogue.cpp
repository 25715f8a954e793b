#include "data/sxg_dialogue.h"

#include <string>

#include "data/data_state.h"
#include "data/sxg_text.h"
#include "dialogue/console.h"
#include "dialogue/keys.h"
#include "dialogue/toolkit.h"

namespace zorvat {

void PRINTSXG(SXG A, std::int16_t N) {
    write_text(SXGTOSTR(A, N));
}

void PRINTSXGCOMPRESSED(SXG A, std::int16_t N) {
    write_text(SXGTOSTRCOMPR(A, N));
}

namespace {

constexpr std::size_t MAX_COMPLETED = 60;  // the text of the completed fields
constexpr std::size_t MAX_FIELD = 10;      // the field being typed

// The value of a field of at most ten digits.
std::int64_t field_value(std::string_view f) {
    std::int64_t v = 0;
    for (const char c : f)
        v = v * 10 + (c - '0');
    return v;
}

void erase_back() {
    write_text("\b \b");
}

}  // namespace

void READSXG(std::string_view DEF, SXG& S, bool ALLOWUPDOWN, bool ALLOWNEG) {
    // Every caller reads non-negative values; there is no way to type a negative one.
    (void)ALLOWNEG;
    if (DEF.size() > MAX_COMPLETED) DEF = DEF.substr(0, MAX_COMPLETED);
    std::string T, F;  // the completed fields as typed, and the field being typed
    int K = 0;         // 0 integer part, -1 degrees within a sign, 1..10 places
    std::int64_t Z = 0;
    S = ZERO;
    std::size_t next_def = 0;
    bool from_def = true;
    const int start_x = WHEREX(), start_y = WHEREY();
    CLREOL();

    // Ends the field F with a separator; false when the completed text would grow too long.
    const auto complete_field = [&](char separator) {
        if (T.size() + F.size() + 1 > MAX_COMPLETED) return false;
        T += F;
        T += separator;
        F.clear();
        write_char(separator);
        return true;
    };

    while (true) {
        char c = 0, scan = 0;
        if (from_def && next_def < DEF.size()) {
            c = DEF[next_def++];
        } else {
            from_def = false;
            MYREADKEY(c, scan);
        }
        if (c == 0) {
            if (ALLOWUPDOWN && (scan == UP || scan == DOWN)) {
                EXITCODE = static_cast<std::int16_t>(scan == UP ? UPCODE : DOWNCODE);
                return;
            }
            continue;
        }
        c = upcase(c);
        if (c >= '0' && c <= '9') {
            if (F.size() >= MAX_FIELD) continue;
            const std::int64_t v = field_value(F) * 10 + (c - '0');
            if (v >= (K == 0 ? 360 : 60)) continue;
            F += c;
            write_char(c);
        } else if (c == 'S') {
            if (K != 0 || F.empty() || field_value(F) >= 12) continue;
            const std::int64_t signs = field_value(F);
            if (!complete_field('s')) continue;
            Z = signs;
            K = -1;
        } else if (c == ';') {
            if (K > 0 || F.empty()) continue;
            const std::int64_t degrees = field_value(F) + (K == -1 ? 30 * Z : 0);
            if (!complete_field(';')) continue;
            S.DEGREES = static_cast<std::int32_t>(degrees);
            K = 1;
        } else if (c == ',') {
            if (K < 1 || K > 9 || F.empty()) continue;
            const std::int64_t digit = field_value(F);
            if (!complete_field(',')) continue;
            S.DIGITS[static_cast<std::size_t>(K)] = static_cast<std::int8_t>(digit);
            ++K;
        } else if (c == BACKSP) {
            if (!F.empty()) {
                F.pop_back();
                erase_back();
            } else if (!T.empty()) {
                // Reopen the previous field; its digits stay on the screen.
                const char separator = T.back();
                T.pop_back();
                erase_back();
                if (separator == ',') {
                    --K;
                    S.DIGITS[static_cast<std::size_t>(K)] = 0;
                } else if (separator == ';') {
                    K = T.find('s') != std::string::npos ? -1 : 0;
                    S.DEGREES = 0;
                } else {  // 's'
                    K = 0;
                    Z = 0;
                }
                const std::size_t field_start = T.find_last_of(";,s") + 1;  // npos + 1 is 0
                F = T.substr(field_start);
                T.resize(field_start);
            }
        } else if (c == CTRL_BACKSP) {
            GOTOXY(start_x, start_y);
            CLREOL();
            T.clear();
            F.clear();
            K = 0;
            Z = 0;
            S = ZERO;
            from_def = false;
        } else if (c == RETURN) {
            if (F.empty()) continue;
            if (K <= 0) {
                S.DEGREES = static_cast<std::int32_t>(field_value(F) + (K == -1 ? 30 * Z : 0));
            } else {
                S.DIGITS[static_cast<std::size_t>(K)] = static_cast<std::int8_t>(field_value(F));
            }
            if (T.find('s') != std::string::npos) DISPLAYMODE = SIGNS;
            EXITCODE = RETURNCODE;
            return;
        } else if (c == ESC) {
            EXITCODE = ESCCODE;
            return;
        }
    }
}

}  // namespace zorvat
