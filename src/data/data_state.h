// State of the data layer: the internal zij, display and rounding settings, history lists.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "data/table.h"
#include "dialogue/types.h"

namespace zorvat {

// Display modes of sexagesimal values.
inline constexpr std::uint8_t DEGREES = 0;
inline constexpr std::uint8_t SIGNS = 1;
inline constexpr std::uint8_t DAYSHOURS = 2;

inline constexpr int NUMDEFPAR = 25;

// The internal zij owns its tables along the NEXT chain from FIRSTTABLE.
extern std::unique_ptr<TABLE> FIRSTTABLE;
extern TABLEPOINTER LASTTABLE;
extern std::int16_t NUMTABLES;
extern std::int16_t TABLENO;
extern std::uint8_t DISPLAYMODE;
extern std::uint8_t ROUNDING;
extern std::string PARAM;
extern PATHSTRARRAY DEFZIJ;
extern PATHSTRARRAY DEFDIR;
extern PATHSTRARRAY DEFFILE;
extern std::array<STRING60, NUMDEFPAR + 1> DEFPAR;  // [1..25]

// The start values: an empty internal zij, degrees, modern rounding, empty history lists.
void reset_data_state();

}  // namespace zorvat
