// The entries of a subtable in time: the argument printed beside entry N, and the number
// of days it stands for, MULT x DAYS_IN_BASE. Every time-dependent computation takes the
// time of an entry from here.
#pragma once

#include <cstdint>

#include "data/table.h"
#include "dialogue/types.h"

namespace zorvat {

STRING60 PERIODNAME(PERIOD P);
STRING60 INCRSTR(std::int16_t STEP, PERIOD P);
STRING60 ARG(char ERA, const SET30& IC, PERIOD P, std::int16_t EPOCH, std::int16_t STEP,
             std::int16_t N, bool EPOCH_GIVEN);
// The days common to the whole subtable.
long double DAYS_IN_BASE(char ERA, PERIOD P, std::int32_t STEP);
// The factor of entry N; times DAYS_IN_BASE it is the entry's time in days.
long double MULT(char ERA, const SET30& IC, PERIOD P, std::int32_t STEP, std::int32_t N,
                 bool EPOCH_GIVEN);

// The days of years 1..years of the calendar counted with its leap years (A, K and S
// by the 30-year cycle in IC, B and J by the four-year cycle in IC, M by its fixed rule);
// 0 for no years and for the other calendars.
long double days_of_years(char era, const SET30& ic, long long years);

}  // namespace zorvat
