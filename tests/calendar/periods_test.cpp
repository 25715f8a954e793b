#include "calendar/periods.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

#include "calendar/calendar.h"
#include "dialogue/cp437.h"
#include "support/calendar_sets.h"

namespace zorvat {
namespace {

using testing::default_set;
using testing::set_of;

long double days_of_entry(char era, const SET30& ic, PERIOD p, int step, int n, bool epoch) {
    return MULT(era, ic, p, step, n, epoch) * DAYS_IN_BASE(era, p, step);
}

TEST(Periods, NamesAndIncrements) {
    const std::tuple<PERIOD, const char*> names[] = {
        {FRA, "FRACTIONS"},
        {PAR, "PARTS OF HOURS"},
        {HOU, "HOURS"},
        {DAY, "DAYS"},
        {MON, "MONTHS"},
        {ZOD, "ZODIACAL SIGNS"},
        {EXT, "EXTENDED YEARS"},
        {SI1, "SINGLE YEARS"},
        {SI2, "SINGLE YEARS"},
        {COL, "COLLECTED YEARS"},
        {NP1, ""},
        {NP2, ""},
    };
    for (const auto& [p, name] : names)
        EXPECT_EQ(PERIODNAME(p), name) << int{p};

    const std::tuple<std::int16_t, PERIOD, const char*> increments[] = {
        {1, FRA, ""},
        {1, MON, ""},
        {1, DAY, "increment:  1 day"},
        {7, DAY, "increment:  7 days"},
        {10, COL, "increment: 10 years"},
        {1, EXT, "increment:  1 year"},
        {30, SI2, "increment: 30 years"},
        {5, PAR, "increment:  5s"},
        {1, ZOD, "increment:  1"},
        {2, HOU, "increment:  2 hours"},
        {120, COL, "increment: 120 years"},
        {1, NP2, ""},
    };
    for (const auto& [step, p, text] : increments)
        EXPECT_EQ(INCRSTR(step, p), text) << int{p} << " step " << step;
}

TEST(Periods, Arguments) {
    struct Case {
        char era;
        SET30 ic;
        PERIOD p;
        std::int16_t epoch, step, n;
        bool epoch_given;
        std::string_view text;
    };
    const SET30 ar = default_set(AR);
    const Case cases[] = {
        {AR, ar, FRA, 0, 1, 1, false, " 1½"_cp},
        {AR, ar, FRA, 0, 1, 2, false, " 2 "},
        {AR, ar, FRA, 0, 1, 12, false, "12 "},
        {AR, ar, COL, 600, 30, 1, false, " 630"},
        {AR, ar, COL, 600, 30, 3, false, " 690"},
        {AR, ar, COL, 600, 30, 0, false, " 600"},
        {JU, default_set(JU), COL, 1200, 20, 25, false, "1700"},
        {AR, ar, DAY, 0, 1, 7, true, "   7"},
        {AR, ar, HOU, 0, 2, 12, false, "  24"},
        {AR, ar, SI1, 0, 30, 1000, false, "30000"},
        {LF, SET30{}, MON, 600, 30, 3, false, " 690"},
        {LF, SET30{}, FRA, 0, 1, 1, false, "   1"},
        {LF, SET30{}, ZOD, -5, 2, 1, true, "  -3"},
        {AR, ar, ZOD, 0, 1, 1, false, "Farwardin   "},
        {AR, ar, ZOD, 0, 1, 12, false, "Isfandarmadh"},
        {AR, ar, ZOD, 0, 1, 13, false, "Farwardin   "},
        {AR, ar, ZOD, 0, 1, -12, false, ""},
        // Months: without an epoch the leap pseudo-months may be named.
        {AR, ar, MON, 0, 1, 13, false, "leap year  "},
        {AR, ar, MON, 0, 1, 13, true, "Muharram   "},
        {BK, default_set(BK), MON, 0, 1, 14, true, "Leap year  "},
        {PE, set_of({9}), MON, 0, 1, 9, false, "Andarjah    "},
        {JU, default_set(JU), MON, 0, 1, 1, false, "January  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.era << " period " << int{c.p} << " entry " << c.n);
        EXPECT_EQ(ARG(c.era, c.ic, c.p, c.epoch, c.step, c.n, c.epoch_given), c.text);
    }
}

TEST(Periods, DaysInBase) {
    struct Case {
        char era;
        PERIOD p;
        int step;
        long double days;
    };
    const Case cases[] = {
        {AR, FRA, 7, 1.0L / 24}, {AR, PAR, 5, 5.0L / 1440}, {JU, HOU, 3, 3.0L / 24},
        {EG, DAY, 10, 10},       {AR, MON, 1, 1},           {PE, ZOD, 1, 1},
        {AR, EXT, 1, 1},         {BY, EXT, 1, 1},           {JU, EXT, 1, 1},
        {BK, EXT, 1, 1},         {JS, EXT, 1, 1},           {LF, EXT, 1, 1},
        {ML, EXT, 1, 1},         {EG, EXT, 1, 365},         {PE, EXT, 1, 365},
        {AR, COL, 20, 1},        {AR, COL, 30, 10631},      {AR, COL, 60, 21262},
        {BK, SI1, 90, 31893},    {JS, COL, 1, 1},           {JU, COL, 28, 10227},
        {BY, SI2, 4, 1461},      {JU, COL, 10, 1},          {EG, COL, 25, 9125},
        {PE, SI1, 1, 365},       {ML, COL, 30, 1},          {LF, COL, 30, 1},
        {'X', COL, 30, 0},       {'X', EXT, 1, 0},          {AR, NP2, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DAYS_IN_BASE(c.era, c.p, c.step), c.days)
            << c.era << " period " << int{c.p} << " step " << c.step;
}

TEST(Periods, Multipliers) {
    struct Case {
        char era;
        SET30 ic;
        PERIOD p;
        int step, n;
        bool epoch_given;
        long double mult;
    };
    const SET30 ar = default_set(AR);
    const SET30 ju = default_set(JU);
    const SET30 by = default_set(BY);
    const SET30 bk = default_set(BK);
    const SET30 js = default_set(JS);
    const Case cases[] = {
        {AR, ar, FRA, 1, 0, false, 0},
        {AR, ar, FRA, 1, 1, false, 2.0L / 3},
        {AR, ar, FRA, 1, 4, false, 1.0L / 4},
        {AR, ar, FRA, 1, 4, true, 1.0L / 4},
        {AR, ar, PAR, 5, 3, true, 3},
        {AR, ar, HOU, 1, 3, true, 3},
        {AR, ar, DAY, 1, 1, true, 0},
        {AR, ar, DAY, 1, 10, true, 9},
        {AR, ar, DAY, 1, 10, false, 10},
        {AR, ar, ZOD, 1, 1, true, 0},
        {AR, ar, ZOD, 1, 5, false, 156},
        {AR, ar, ZOD, 1, 12, false, 365},
        {AR, ar, ZOD, 1, 13, true, 365},
        {AR, ar, ZOD, 1, 13, false, 0},
        {AR, ar, ZOD, 1, 0, true, 0},
        // Months of calendar A: entry 13 "leap year" has the leap day.
        {AR, ar, MON, 1, 1, false, 30},
        {AR, ar, MON, 1, 2, false, 59},
        {AR, ar, MON, 1, 12, false, 354},
        {AR, ar, MON, 1, 13, false, 355},
        {AR, ar, MON, 1, 14, false, 384},
        {AR, ar, MON, 1, 1, true, 0},
        {AR, ar, MON, 1, 13, true, 354},
        {AR, ar, MON, 1, 14, true, 384},
        // K and S count in pairs of months of 59 days.
        {BK, bk, MON, 1, 1, true, 0},
        {BK, bk, MON, 1, 2, true, 30},
        {BK, bk, MON, 1, 3, true, 59},
        {BK, bk, MON, 1, 13, true, 354},
        {BK, bk, MON, 1, 14, true, 355},
        {BK, bk, MON, 1, 13, false, 355},
        {JS, js, MON, 1, 1, false, 29},
        {JS, js, MON, 1, 2, false, 59},
        {JS, js, MON, 1, 12, false, 354},
        {JS, js, MON, 1, 13, false, 355},
        // B and J: entry 13 "leap year" is 366; February counts 28 days.
        {BY, by, MON, 1, 12, false, 365},
        {BY, by, MON, 1, 13, false, 366},
        {BY, by, MON, 1, 14, false, 396},
        {BY, by, MON, 1, 13, true, 365},
        {BY, by, MON, 1, 1, false, 31},
        {JU, ju, MON, 1, 1, false, 31},
        {JU, ju, MON, 1, 2, false, 59},
        {JU, ju, MON, 1, 12, false, 365},
        {JU, ju, MON, 1, 13, false, 396},
        {JU, set_of({4, 13}), MON, 1, 13, false, 366},
        {EG, set_of({1}), MON, 1, 12, false, 360},
        {EG, set_of({1}), MON, 1, 13, false, 365},
        {EG, set_of({1}), MON, 1, 14, true, 365},
        {ML, set_of({1}), MON, 1, 12, false, 360},
        {ML, set_of({1}), MON, 1, 13, false, 365},
        {PE, set_of({9}), MON, 1, 8, false, 240},
        {PE, set_of({9}), MON, 1, 9, false, 245},
        {PE, set_of({9}), MON, 1, 10, true, 245},
        {PE, set_of({13}), MON, 1, 9, false, 270},
        {PE, set_of({13}), MON, 1, 13, false, 365},
        // Extended years.
        {AR, ar, EXT, 1, 1, false, 354},
        {AR, ar, EXT, 1, 2, false, 709},
        {AR, ar, EXT, 1, 30, false, 10631},
        {AR, ar, EXT, 1, 31, false, 10985},
        {BK, bk, EXT, 1, 1, false, 355},  // counted like A, by K's own leap years
        {JS, js, EXT, 1, 2, false, 709},
        {JU, ju, EXT, 1, 4, false, 1461},
        {JU, ju, EXT, 1, 3, false, 1095},
        {BY, by, EXT, 1, 3, false, 1096},
        {ML, set_of({1}), EXT, 1, 1, false, 366},
        {ML, set_of({1}), EXT, 1, 6, false, 2192},
        {EG, set_of({1}), EXT, 1, 7, true, 7},
        {PE, set_of({9}), EXT, 1, 7, false, 7},
        // Collected and single years.
        {AR, ar, COL, 30, 2, false, 2},
        {AR, ar, COL, 1, 2, false, 709},
        {AR, ar, COL, 20, 1, false, 7087},  // 20 years, 7 of them leap years
        {JU, ju, COL, 10, 1, false, 3652},
        {JU, ju, COL, 28, 1, false, 1},
        {BY, by, COL, 1, 3, false, 1096},
        {EG, set_of({1}), COL, 25, 3, false, 3},
        {AR, ar, SI1, 30, 3, false, 3},
        {JU, ju, SI2, 4, 3, false, 3},
        {EG, set_of({2}), SI1, 1, 3, false, 3},
        {ML, set_of({1}), SI1, 1, 6, false, 2192},
        {ML, set_of({1}), COL, 10, 1, false, 3653},
        {ML, set_of({1}), COL, 120, 1, false, 43829},
        // The linear scale: the entry itself, less one after an epoch (but not for COL).
        {LF, SET30{}, MON, 1, 5, true, 4},
        {LF, SET30{}, FRA, 1, 1, true, 0},
        {LF, SET30{}, COL, 30, 5, true, 5},
        {LF, SET30{}, SI1, 30, 5, false, 5},
        // No value for unknown codes and periods.
        {'X', SET30{}, DAY, 1, 5, false, 0},
        {AR, ar, NP2, 1, 5, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.era << " period " << int{c.p} << " step " << c.step
                                          << " entry " << c.n << " epoch " << c.epoch_given);
        EXPECT_EQ(MULT(c.era, c.ic, c.p, c.step, c.n, c.epoch_given), c.mult);
    }
}

TEST(Periods, TimesOfEntries) {
    const SET30 ar = default_set(AR);
    EXPECT_EQ(days_of_entry(AR, ar, DAY, 1, 1, true), 0);
    EXPECT_EQ(days_of_entry(AR, ar, DAY, 1, 10, true), 9);
    EXPECT_EQ(days_of_entry(AR, ar, COL, 30, 2, false), 2 * 10631);
    EXPECT_EQ(days_of_entry(JU, default_set(JU), COL, 28, 1, false), 28 * 365.25L);
    EXPECT_EQ(days_of_entry(AR, ar, EXT, 1, 2, false), 709);
    EXPECT_EQ(days_of_entry(PE, set_of({9}), MON, 1, 9, false), 245);
    EXPECT_DOUBLE_EQ(static_cast<double>(days_of_entry(AR, ar, HOU, 1, 6, false)),
                     static_cast<double>(6.0L / 24));
    EXPECT_DOUBLE_EQ(static_cast<double>(days_of_entry(AR, ar, FRA, 1, 4, false)),
                     static_cast<double>(1.0L / 96));  // a quarter of an hour
    EXPECT_DOUBLE_EQ(static_cast<double>(days_of_entry(AR, ar, PAR, 5, 3, false)),
                     static_cast<double>(15.0L / 1440));
    EXPECT_EQ(days_of_entry(EG, set_of({1}), SI1, 1, 3, false), 3 * 365);
}

// Days of `years` years counted one by one from the month lengths of each year (K and S,
// whose months have no leap day, by the 355 days of their leap years).
long double days_by_months(char era, const SET30& ic, long long years) {
    TABLE t;
    t.ERA = era;
    t.INTERCALATION = ic;
    long double days = 0;
    for (long long y = 1; y <= years; ++y) {
        const bool leap = INTERCALARYYEAR(&t, static_cast<std::int16_t>(y));
        if (era == BK || era == JS) {
            days += 354 + (leap ? 1 : 0);
            continue;
        }
        for (int m = 1; m <= NUMMONTHS(era); ++m)
            days += MONTHLENGTH(era, ic, leap, static_cast<std::int16_t>(m));
    }
    return days;
}

class YearEntries : public ::testing::TestWithParam<std::tuple<char, int>> {};

TEST_P(YearEntries, AgreeWithTheYearsOfTheCalendar) {
    const auto [era, step] = GetParam();
    const SET30 ic = default_set(era);
    for (const int n : {1, 2, 3, 7}) {
        SCOPED_TRACE(::testing::Message() << era << " step " << step << " entry " << n);
        const long double expected = days_by_months(era, ic, static_cast<long long>(n) * step);
        EXPECT_EQ(days_of_entry(era, ic, COL, step, n, false), expected);
        EXPECT_EQ(days_of_entry(era, ic, SI1, step, n, false), expected);
        EXPECT_EQ(days_of_entry(era, ic, SI2, step, n, true), expected);
        if (step == 1) {
            EXPECT_EQ(days_of_entry(era, ic, EXT, 1, n, false), expected);
        }
    }
    // Extended years are counted one by one whatever the step of the subtable.
    EXPECT_EQ(days_of_entry(era, ic, EXT, step, step, false), days_by_months(era, ic, step));
}

INSTANTIATE_TEST_SUITE_P(Calendars, YearEntries,
                         ::testing::Combine(::testing::Values(AR, BK, JS, BY, JU, ML, EG, PE),
                                            ::testing::Values(1, 4, 28, 30, 60, 120)));

TEST(Periods, HugeCountsNeitherOverflowNorTakeLong) {
    const SET30 ju = default_set(JU);
    // 2e9 entries of 3 years: whole four-year cycles of 1461 days.
    EXPECT_EQ(MULT(JU, ju, COL, 3, 2'000'000'000, false), 1'500'000'000.0L * 1461);
    EXPECT_EQ(MULT(ML, set_of({1}), COL, 32767, 120, false), 32767.0L * 43829);
    EXPECT_EQ(MULT(AR, default_set(AR), EXT, 1, 30 * 1'000'000, false), 10631.0L * 1'000'000);
    EXPECT_EQ(MULT(JU, ju, MON, 1, 12 * 100'000, true), 365.0L * 100'000 - 31);
    EXPECT_EQ(MULT(AR, default_set(AR), COL, 7, -3, false), 0);
    EXPECT_EQ(MULT(AR, default_set(AR), DAY, 1, -2147483647 - 1, true), -2147483649.0L);
}

}  // namespace
}  // namespace zorvat
