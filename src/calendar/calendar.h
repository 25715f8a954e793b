// The nine calendars of the tables: names, epochs, month names and lengths, leap years,
// the meaning of a table's INTERCALATION set, and the check of a date.
//
// Integer division and remainder truncate toward zero here, as C++'s / and % do
// (-1 mod 14 = -1); several formulas depend on it for arguments of 0 or less.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "data/table.h"
#include "dialogue/types.h"

namespace zorvat {

// A month-name table: entries [1..14] (index 0 unused), each filled with blanks on the
// right to the width of its table. Tables with fewer names leave the last entries empty.
using MONTHNAMETABLE = std::array<std::string_view, 15>;

extern const MONTHNAMETABLE ARABICMONTHNAMES;     // width 11, 13 names
extern const MONTHNAMETABLE BAHADURMONTHNAMES;    // width 11, 14 names
extern const MONTHNAMETABLE JAISINGHMONTHNAMES;   // width 11, 14 names
extern const MONTHNAMETABLE BYZANTINEMONTHNAMES;  // width 10, 13 names
extern const MONTHNAMETABLE JULIANMONTHNAMES;     // width 9, 13 names
extern const MONTHNAMETABLE EGYPTIANMONTHNAMES;   // width 10, 13 names
extern const MONTHNAMETABLE PERSIANMONTHNAMES;    // width 12, 13 names
extern const MONTHNAMETABLE JALALIMONTHNAMES;     // width 12, 12 names: the zodiacal signs

// Whether n is in the set; false for any n outside 0..30 (never out of range).
bool in_set(const SET30& set, int n);

// value in decimal, right-aligned in width characters (wider when it needs more).
STRING60 right_aligned(long long value, int width);

STRING60 CALENDARNAME(char ERA);
STRING60 EPOCHNAME(char ERA, const SET30& INTERCALATION);
STRING60 CALENDARSPECIFICATION(char ERA, const SET30& INTERCALATION);
STRING60 LEAPYEARS(char ERA, const SET30& INTERCALATION);
void DEFAULTINTERCALATION(char ERA, SET30& IC);
std::int16_t NUMMONTHS(char ERA);
std::int16_t TOTALNUMMONTHS(const TABLE* TP);
STRING60 MONTHNAME(char ERA, const SET30& INTERCALATION, std::int16_t N, bool ALLOWLEAP);
// Sounds the alarm for month 14 of calendar K, which has no days.
std::int16_t MONTHLENGTH(char ERA, const SET30& INTERCALATION, bool IC, std::int16_t MONTH);
bool INTERCALARYYEAR(const TABLE* TP, std::int16_t YEAR);
bool LEGALDATE(const TABLE* TP, std::int16_t& DAY, std::int16_t& MONTH, std::int16_t& YEAR);

// INTERCALARYYEAR for a calendar code and set, without a table.
bool intercalary_year(char era, const SET30& intercalation, std::int16_t year);

// The lowest of 5..16 in the set (the first month of B and J), or 0 when there is none.
int first_month_position(const SET30& intercalation);

}  // namespace zorvat
