// One-line fields for integers and strings, and the history lists of names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogue/types.h"

namespace zorvat {

// Purposes of a string field: the characters it takes.
inline constexpr int PURP_NAME_CODE = 0;   // & ' ( ) - 0-9 A-Z _ ~, upper case
inline constexpr int PURP_WITH_DOT = 1;    // as 0, plus .
inline constexpr int PURP_PATH = 2;        // a Linux path as typed
inline constexpr int PURP_TEXT = 3;        // every character from 32 to 255
inline constexpr int PURP_TABLE_NAME = 4;  // as 3; Up recalls DEFNAME

// A path field shows PATH_FIELD_CAPACITY characters at most, scrolling sideways.
inline constexpr int PATH_FIELD_CAPACITY = 255;

// May ST be the beginning of an integer in [MIN, MAX]?
bool INTOK(std::string_view ST, std::int32_t MIN, std::int32_t MAX);
// N := the value of ST; true when ST is a whole integer within [MIN, MAX].
bool CORRECTINT(std::string_view ST, std::int16_t MIN, std::int16_t MAX, std::int16_t& N);

// An integer field at the cursor; DEF = INTESC means no default. OPTION is form mode.
std::int32_t ENTERINTEGER(std::int32_t MIN, std::int32_t MAX, std::int32_t DEF, bool OPTION);

// A string field of MAXL characters at the cursor.
std::string ENTERSTR(std::string_view DEF, std::int16_t MAXL, std::int16_t PURP, bool OPTION);

// A name chosen from, or typed over, a history list; the answer as a full path moves to
// the front of the list. ISDIR drops a trailing '/'.
std::string SELECTSTRING(PATHSTRARRAYPOINTER ADDRESS, bool ISDIR);

// Whether c may stand in a field of this purpose (after upper-casing where it applies).
bool allowed_in_field(char c, int purpose);
// Del, Home, End, Left and Right on a one-line text and its cursor; false for other keys.
bool edit_line_key(char scan, std::string& text, std::size_t& p);

// Word characters: digits, letters and the accented letters of code page 437.
bool is_word_char(char c);

}  // namespace zorvat
