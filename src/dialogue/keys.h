// Key codes: the character READKEY gives, or the scan code that follows a 0 for an
// extended key; and the key notation of scripts (<ret>, <c-home>, <a-d>, ...).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvat {

// Ordinary keys.
inline constexpr char CTRL_C = 3;
inline constexpr char BACKSP = 8;
inline constexpr char TAB = 9;
inline constexpr char RETURN = 13;
inline constexpr char CTRL_T = 20;
inline constexpr char ESC = 27;
inline constexpr char SPACE = 32;
inline constexpr char CTRL_BACKSP = 127;

// Scan codes of extended keys.
inline constexpr char SHIFTTAB = 15;
inline constexpr char ALTW = 17;
inline constexpr char ALTR = 19;
inline constexpr char ALTT = 20;
inline constexpr char ALTY = 21;
inline constexpr char ALTI = 23;
inline constexpr char ALTS = 31;
inline constexpr char ALTD = 32;
inline constexpr char ALTC = 46;
inline constexpr char ALTM = 50;
inline constexpr char F1 = 59;
inline constexpr char HOME = 71;
inline constexpr char LEND = 71;
inline constexpr char UP = 72;
inline constexpr char PGUP = 73;
inline constexpr char LEFT = 75;
inline constexpr char RIGH = 77;
inline constexpr char REND = 79;
inline constexpr char DOWN = 80;
inline constexpr char PGDN = 81;
inline constexpr char INS = 82;
inline constexpr char DEL = 83;
inline constexpr char CTRL_LEFT = 115;
inline constexpr char CTRL_RIGHT = 116;
inline constexpr char CTRLEND = 117;
inline constexpr char CTRLPGDN = 118;
inline constexpr char CTRLHOME = 119;
inline constexpr char ALT1 = 120;  // ALT1 .. ALT9 are 120 .. 128
inline constexpr char ALT0 = static_cast<char>(129);
inline constexpr char CTRLPGUP = static_cast<char>(132);

// One step of a key script: a key byte (0..255; an extended key is 0 and then its scan
// code), or the <dump> directive of a scripted run.
struct ScriptItem {
    bool dump = false;
    unsigned char byte = 0;
    bool operator==(const ScriptItem&) const = default;
};

struct KeyParse {
    std::vector<ScriptItem> items;
    std::string error;  // empty when the whole text was understood
};

// Reads the key notation: characters stand for themselves (UTF-8 is taken as the code page
// 437 character), <name> for a named key, <lt> for '<'. Line ends are ignored.
KeyParse parse_keys(std::string_view notation);

// Only the key bytes of a notation (dumps dropped); an unknown name is a test's own bug.
std::vector<unsigned char> key_bytes(std::string_view notation);

// The notation of key bytes, such that parse_keys gives them back.
std::string format_keys(const std::vector<unsigned char>& bytes);

// The name of the extended key with this scan code ("up", "a-d", "x-99"), without brackets.
std::string extended_key_name(unsigned char scan);

}  // namespace zorvat
