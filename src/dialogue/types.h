// Types, outcome codes and markers shared by every subsystem. Plain data only.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

namespace zorvat {

using STRING8 = std::string;   // at most 8 characters
using STRING60 = std::string;  // at most 60 characters
using SET3 = std::bitset<4>;
using SET30 = std::bitset<31>;
using SET32 = std::bitset<32>;
using SET200 = std::bitset<201>;
using SETCHAR = std::bitset<256>;
using BOOLEANVECTOR = std::array<bool, 5>;        // [1..4]; index 0 unused
using PATHSTRARRAY = std::array<std::string, 6>;  // [1..5]; index 0 unused
using PATHSTRARRAYPOINTER = PATHSTRARRAY*;

inline constexpr std::size_t MAXL_STRING60 = 60;
inline constexpr std::size_t MAXL_PATH = 255;

// The set of the given characters.
inline SETCHAR chars_of(std::string_view s) {
    SETCHAR set;
    for (const char c : s)
        set.set(static_cast<unsigned char>(c));
    return set;
}

// Outcome codes, held in EXITCODE.
inline constexpr int RETURNCODE = 0;
inline constexpr int DOWNCODE = 1;
inline constexpr int UPCODE = -1;
inline constexpr int PGDNCODE = 2;
inline constexpr int PGUPCODE = -2;
inline constexpr int CTRLENDCODE = 3;
inline constexpr int CTRLHOMECODE = -3;
inline constexpr int CTRLPGDNCODE = 4;
inline constexpr int CTRLPGUPCODE = -4;
inline constexpr int ESCCODE = 5;
inline constexpr int FAILCODE = -5;
inline constexpr int CTRLCCODE = 6;
inline constexpr int CHSETCODE = 7;
inline constexpr int CHICCODE = 8;
inline constexpr int CHANGEALLCODE = 11;
inline constexpr int CHANGECURSORCODE = 12;
inline constexpr int CHANGENOTHINGCODE = 13;
inline constexpr int PROCESSCODE = 31;

// Markers and limits.
inline constexpr int INTESC = -32768;
inline constexpr int SXGESC = -32768;
inline constexpr std::int32_t UNDEF = -2147483600;
inline constexpr std::int32_t LONGINTUNDEF = -2147483600;
inline constexpr std::int32_t MAXLONGINT = 2147483647;  // the system's OVERFLOW
inline constexpr int MAXINT = 32767;
inline constexpr int ESCAPE = 255;
inline constexpr int MONOCHROME = 7;

// Rounding types.
inline constexpr std::uint8_t MODERN = 0;
inline constexpr std::uint8_t TRUNCATION = 1;

// Calendar letters.
inline constexpr char AR = 'A';
inline constexpr char BY = 'B';
inline constexpr char EG = 'E';
inline constexpr char JU = 'J';
inline constexpr char ML = 'M';
inline constexpr char PE = 'P';
inline constexpr char JS = 'S';
inline constexpr char BK = 'K';
inline constexpr char LF = 'L';

}  // namespace zorvat
