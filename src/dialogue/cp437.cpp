#include "dialogue/cp437.h"

namespace zorvat {

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string cp437_to_utf8(std::string_view cp437) {
    std::string out;
    out.reserve(cp437.size() * 3);
    for (const char ch : cp437)
        append_utf8(out, CP437_TO_UNICODE[static_cast<unsigned char>(ch)]);
    return out;
}

std::string utf8_to_cp437(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = unicode_to_cp437(decode_utf8(utf8, i));
        out.push_back(b ? static_cast<char>(*b) : '?');
    }
    return out;
}

}  // namespace zorvat
