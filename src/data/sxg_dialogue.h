// Sexagesimal values on the console: writing them at the cursor, and the reader that
// checks every key as it is typed, so that only well-formed values can be entered.
#pragma once

#include <cstdint>
#include <string_view>

#include "data/sxg.h"

namespace zorvat {

// SXGTOSTR(A, N) and SXGTOSTRCOMPR(A, N) at the cursor, without a line break.
void PRINTSXG(SXG A, std::int16_t N);
void PRINTSXGCOMPRESSED(SXG A, std::int16_t N);

// Reads a value at the cursor: an optional sign count below 12 and "s", an integer part
// (below 360, or below 60 after "s"), then ";" and up to ten places below 60 separated by
// ",". DEF (at most 60 characters) is taken as typed before the first key. EXITCODE: 0 for
// Enter (S is the value; a sign count switches DISPLAYMODE to SIGNS), 5 for Escape, -1 and
// 1 for Up and Down when ALLOWUPDOWN. Negative values are never read: the minus key is
// ignored whatever ALLOWNEG says.
void READSXG(std::string_view DEF, SXG& S, bool ALLOWUPDOWN, bool ALLOWNEG);

}  // namespace zorvat
