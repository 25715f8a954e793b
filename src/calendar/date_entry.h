// Choosing a month and typing a date of a table's calendar, in place at the cursor,
// always with the calendar's own month names.
#pragma once

#include <cstdint>

#include "data/table.h"

namespace zorvat {

// A month entry 1..TOTALNUMMONTHS, leap pseudo-months included. EXITCODE 0, or 5 after
// Escape. Enter ends the line.
void ENTERMONTH(const TABLE* TP, std::int16_t& MONTH);

// Day, month and year in three fields: the day at the cursor column X, the month at X+4,
// the year at X+20. On EXITCODE 0 the date is valid in the calendar; after Escape
// (EXITCODE 5) the values are not to be used. The caller ends the line.
void ENTERDATE(const TABLE* TP, std::int16_t& DAY, std::int16_t& MONTH, std::int16_t& YEAR);

}  // namespace zorvat
