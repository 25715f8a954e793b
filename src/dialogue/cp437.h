// Code page 437: the byte set of every text inside the program.
//
// Source literals are written in UTF-8 and turned into code page 437 bytes at
// compile time with the _cp suffix: "±0;59,8 °/d"_cp is a std::string_view of
// single bytes. A character that code page 437 cannot hold is a compile error.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvat {

// The Unicode character shown for each byte; the control range shows its glyphs.
inline constexpr std::array<char32_t, 256> CP437_TO_UNICODE = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642,
    0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
    // 0x20..0x7E are ASCII
    0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E,
    0x2302,
    // 0x80
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5,
    // 0x90
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2,
    0x00A3, 0x00A5, 0x20A7, 0x0192,
    // 0xA0
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD,
    0x00BC, 0x00A1, 0x00AB, 0x00BB,
    // 0xB0
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510,
    // 0xC0
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566,
    0x2560, 0x2550, 0x256C, 0x2567,
    // 0xD0
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588,
    0x2584, 0x258C, 0x2590, 0x2580,
    // 0xE0
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229,
    // 0xF0
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A,
    0x207F, 0x00B2, 0x25A0, 0x00A0};

// The byte for a Unicode character, or nothing. ASCII, controls included, maps to itself,
// so that "\r\n" and "\b" in a literal keep their meaning.
constexpr std::optional<std::uint8_t> unicode_to_cp437(char32_t c) {
    if (c < 0x80) return static_cast<std::uint8_t>(c);
    for (int b = 0x80; b < 0x100; ++b)
        if (CP437_TO_UNICODE[static_cast<std::size_t>(b)] == c) return static_cast<std::uint8_t>(b);
    for (int b = 1; b < 0x20; ++b)
        if (CP437_TO_UNICODE[static_cast<std::size_t>(b)] == c) return static_cast<std::uint8_t>(b);
    if (c == 0x2302) return std::uint8_t{0x7F};
    if (c == 0x03B2) return std::uint8_t{0xE1};  // beta, often used for the sharp s glyph
    return std::nullopt;
}

// Decodes one UTF-8 character at s[i]; advances i. Invalid bytes give U+FFFD and advance by one.
constexpr char32_t decode_utf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    auto cont = [&](std::size_t k) -> int {
        if (i + k >= s.size()) return -1;
        const auto b = static_cast<unsigned char>(s[i + k]);
        return (b & 0xC0) == 0x80 ? (b & 0x3F) : -1;
    };
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int len = 0;
    char32_t c = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        c = b0 & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < len; ++k) {
        const int v = cont(static_cast<std::size_t>(k));
        if (v < 0) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | static_cast<char32_t>(v);
    }
    i += static_cast<std::size_t>(len);
    return c;
}

// Appends the UTF-8 form of c.
void append_utf8(std::string& out, char32_t c);

// The UTF-8 text that shows the code page 437 bytes (every byte, the control range as glyphs).
std::string cp437_to_utf8(std::string_view cp437);

// Code page 437 bytes of a UTF-8 text; characters outside code page 437 become '?'.
std::string utf8_to_cp437(std::string_view utf8);

namespace cp437_detail {
template <std::size_t N>
struct Utf8Literal {
    char text[N]{};
    constexpr Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            text[i] = s[i];
    }
};

template <std::size_t N>
struct Converted {
    char bytes[N]{};
    std::size_t length = 0;
};

template <Utf8Literal L>
consteval auto convert() {
    Converted<sizeof(L.text)> out{};
    const std::string_view s(L.text, sizeof(L.text) - 1);
    std::size_t i = 0;
    while (i < s.size()) {
        const char32_t c = decode_utf8(s, i);
        const auto b = unicode_to_cp437(c);
        if (!b) throw "character outside code page 437 in a _cp literal";
        out.bytes[out.length++] = static_cast<char>(*b);
    }
    return out;
}

template <Utf8Literal L>
struct Holder {
    static constexpr auto value = convert<L>();
};
}  // namespace cp437_detail

template <cp437_detail::Utf8Literal L>
constexpr std::string_view operator""_cp() {
    return {cp437_detail::Holder<L>::value.bytes, cp437_detail::Holder<L>::value.length};
}

}  // namespace zorvat
