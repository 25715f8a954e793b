#include "dialogue/keys.h"

#include <array>
#include <cctype>

#include "dialogue/cp437.h"

namespace zorvat {

namespace {

struct NamedKey {
    std::string_view name;
    bool extended;
    unsigned char code;
};

// Canonical names come first: format_keys takes the first name of a code.
constexpr std::array NAMED_KEYS = {
    NamedKey{"ret", false, 13},    NamedKey{"esc", false, 27},    NamedKey{"bs", false, 8},
    NamedKey{"c-bs", false, 127},  NamedKey{"tab", false, 9},     NamedKey{"c-c", false, 3},
    NamedKey{"c-t", false, 20},    NamedKey{"lt", false, '<'},    NamedKey{"s-tab", true, 15},
    NamedKey{"home", true, 71},    NamedKey{"up", true, 72},      NamedKey{"pgup", true, 73},
    NamedKey{"left", true, 75},    NamedKey{"right", true, 77},   NamedKey{"end", true, 79},
    NamedKey{"down", true, 80},    NamedKey{"pgdn", true, 81},    NamedKey{"ins", true, 82},
    NamedKey{"del", true, 83},     NamedKey{"c-left", true, 115}, NamedKey{"c-right", true, 116},
    NamedKey{"c-end", true, 117},  NamedKey{"c-pgdn", true, 118}, NamedKey{"c-home", true, 119},
    NamedKey{"c-pgup", true, 132}, NamedKey{"f11", true, 133},    NamedKey{"f12", true, 134},
    NamedKey{"enter", false, 13},  NamedKey{"space", false, ' '},
};

// PC scan codes of the letters, for Alt+letter.
constexpr std::string_view ALT_LETTER_ROWS[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
constexpr unsigned char ALT_LETTER_ROW_START[] = {16, 30, 44};

std::optional<unsigned char> alt_letter_scan(char letter) {
    for (std::size_t r = 0; r < 3; ++r) {
        const auto p = ALT_LETTER_ROWS[r].find(letter);
        if (p != std::string_view::npos)
            return static_cast<unsigned char>(ALT_LETTER_ROW_START[r] + p);
    }
    return std::nullopt;
}

std::optional<char> alt_letter_of(unsigned char scan) {
    for (std::size_t r = 0; r < 3; ++r) {
        const int i = scan - ALT_LETTER_ROW_START[r];
        if (i >= 0 && i < static_cast<int>(ALT_LETTER_ROWS[r].size()))
            return ALT_LETTER_ROWS[r][static_cast<std::size_t>(i)];
    }
    return std::nullopt;
}

bool parse_number(std::string_view s, int& value) {
    if (s.empty() || s.size() > 3) return false;
    value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

// The key bytes of a name, or nothing.
std::optional<std::vector<unsigned char>> bytes_of_name(std::string name) {
    for (auto& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& k : NAMED_KEYS) {
        if (k.name == name) {
            if (k.extended) return std::vector<unsigned char>{0, k.code};
            return std::vector<unsigned char>{k.code};
        }
    }
    int n = 0;
    if (name.size() >= 2 && name[0] == 'f' && parse_number(name.substr(1), n) && n >= 1 && n <= 10)
        return std::vector<unsigned char>{0, static_cast<unsigned char>(58 + n)};
    if (name.size() == 3 && name.starts_with("a-")) {
        const char c = name[2];
        if (c >= '1' && c <= '9')
            return std::vector<unsigned char>{0, static_cast<unsigned char>(119 + (c - '0'))};
        if (c == '0') return std::vector<unsigned char>{0, 129};
        if (const auto scan = alt_letter_scan(c)) return std::vector<unsigned char>{0, *scan};
    }
    if (name.size() == 3 && name.starts_with("c-") && name[2] >= 'a' && name[2] <= 'z')
        return std::vector<unsigned char>{static_cast<unsigned char>(name[2] - 'a' + 1)};
    if (name.starts_with("x-") && parse_number(name.substr(2), n))
        return std::vector<unsigned char>{0, static_cast<unsigned char>(n)};
    if (name.starts_with("b-") && parse_number(name.substr(2), n))
        return std::vector<unsigned char>{static_cast<unsigned char>(n)};
    return std::nullopt;
}

}  // namespace

KeyParse parse_keys(std::string_view notation) {
    KeyParse out;
    std::size_t i = 0;
    while (i < notation.size()) {
        const char c = notation[i];
        if (c == '\n' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '<') {
            const auto close = notation.find('>', i + 1);
            if (close == std::string_view::npos) {
                out.error = "unclosed '<' at offset " + std::to_string(i);
                return out;
            }
            const std::string name(notation.substr(i + 1, close - i - 1));
            if (name == "dump") {
                out.items.push_back(ScriptItem{true, 0});
            } else if (const auto bytes = bytes_of_name(name)) {
                for (const auto b : *bytes)
                    out.items.push_back(ScriptItem{false, b});
            } else {
                out.error = "unknown key <" + name + "> at offset " + std::to_string(i);
                return out;
            }
            i = close + 1;
            continue;
        }
        const auto b = unicode_to_cp437(decode_utf8(notation, i));
        if (!b) {
            out.error = "character outside code page 437 before offset " + std::to_string(i);
            return out;
        }
        out.items.push_back(ScriptItem{false, *b});
    }
    return out;
}

std::vector<unsigned char> key_bytes(std::string_view notation) {
    std::vector<unsigned char> bytes;
    for (const auto& item : parse_keys(notation).items)
        if (!item.dump) bytes.push_back(item.byte);
    return bytes;
}

std::string extended_key_name(unsigned char scan) {
    for (const auto& k : NAMED_KEYS)
        if (k.extended && k.code == scan) return std::string(k.name);
    if (scan >= 59 && scan <= 68) return "f" + std::to_string(scan - 58);
    if (scan >= 120 && scan <= 128) return "a-" + std::to_string(scan - 119);
    if (scan == 129) return "a-0";
    if (const auto letter = alt_letter_of(scan)) return std::string("a-") + *letter;
    return "x-" + std::to_string(scan);
}

std::string format_keys(const std::vector<unsigned char>& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = bytes[i];
        if (b == 0) {
            // A lone 0 at the end has no scan code to name.
            out += i + 1 < bytes.size() ? "<" + extended_key_name(bytes[++i]) + ">" : "<b-0>";
            continue;
        }
        bool named = false;
        for (const auto& k : NAMED_KEYS) {
            if (!k.extended && k.code == b && k.name != "space") {
                out += "<" + std::string(k.name) + ">";
                named = true;
                break;
            }
        }
        if (named) continue;
        if (b >= 1 && b <= 26) {
            out += std::string("<c-") + static_cast<char>('a' + b - 1) + ">";
        } else if (b < 32 || b == '\n' || b == '\r') {
            out += "<b-" + std::to_string(b) + ">";
        } else {
            append_utf8(out, CP437_TO_UNICODE[b]);
        }
    }
    return out;
}

}  // namespace zorvat
