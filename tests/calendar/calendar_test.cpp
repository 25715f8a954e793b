#include "calendar/calendar.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "dialogue/cp437.h"
#include "support/calendar_sets.h"

namespace zorvat {
namespace {

using testing::default_set;
using testing::set_of;

TABLE table_of(char era, SET30 ic) {
    TABLE t;
    t.ERA = era;
    t.INTERCALATION = ic;
    return t;
}

TABLE table_of(char era) {
    return table_of(era, default_set(era));
}

constexpr char ALL_CALENDARS[] = {AR, BY, EG, JU, BK, LF, ML, PE, JS};

TEST(Calendar, CodesNamesMonthsAndDefaultSets) {
    struct Case {
        char era;
        const char* name;
        std::string_view epoch;
        int months;
        int total_months;
        SET30 ic;
    };
    const Case cases[] = {
        {AR, "Arabic", "Hijra", 12, 13, set_of({2, 5, 7, 10, 13, 16, 18, 21, 24, 26, 29})},
        {BY, "Byzantine/Syrian", "Alexander", 12, 13, set_of({3, 13})},
        {EG, "Egyptian", "Nabonassar", 13, 13, set_of({1})},
        {JU, "Julian", "A.D.", 12, 12, set_of({4, 11})},
        {BK, "Arabic (Bahadur)", "Bahadur Khani", 12, 13,
         set_of({1, 4, 6, 9, 12, 15, 17, 20, 23, 25, 28})},
        {LF, "Linear Function", "", 99, 99, set_of({})},
        {ML, "Maliki", "Malikshâh"_cp, 13, 13, set_of({1})},
        {PE, "Persian", "Yazdigird", 13, 13, set_of({9})},
        {JS, "Arabic (Jai Singh)", "Muhammad Shahi", 12, 13,
         set_of({1, 4, 6, 9, 12, 15, 17, 20, 23, 25, 28})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.era);
        EXPECT_EQ(CALENDARNAME(c.era), c.name);
        EXPECT_EQ(default_set(c.era), c.ic);
        EXPECT_EQ(EPOCHNAME(c.era, c.ic), c.epoch);
        EXPECT_EQ(NUMMONTHS(c.era), c.months);
        const TABLE t = table_of(c.era);
        EXPECT_EQ(TOTALNUMMONTHS(&t), c.total_months);
    }
    // The choices that the set makes.
    EXPECT_EQ(EPOCHNAME(EG, set_of({2})), "Philippus");
    const TABLE julian_from_march = table_of(JU, set_of({4, 13}));
    EXPECT_EQ(TOTALNUMMONTHS(&julian_from_march), 13);
    const TABLE byzantine_from_tammuz = table_of(BY, set_of({3, 5}));
    EXPECT_EQ(TOTALNUMMONTHS(&byzantine_from_tammuz), 12);
}

TEST(Calendar, UnknownCodeGivesEmptyAnswers) {
    const char era = 'X';
    SET30 ic = set_of({1, 2});
    DEFAULTINTERCALATION(era, ic);
    EXPECT_TRUE(ic.none());
    EXPECT_EQ(CALENDARNAME(era), "");
    EXPECT_EQ(EPOCHNAME(era, ic), "");
    EXPECT_EQ(LEAPYEARS(era, ic), "");
    EXPECT_EQ(NUMMONTHS(era), 0);
    EXPECT_EQ(MONTHNAME(era, ic, 1, true), "unknown");
    EXPECT_EQ(MONTHLENGTH(era, ic, true, 1), 0);
    const TABLE t = table_of(era, ic);
    EXPECT_EQ(TOTALNUMMONTHS(&t), 0);
    EXPECT_FALSE(INTERCALARYYEAR(&t, 4));
    std::int16_t d = 1, m = 1, y = 1;
    EXPECT_FALSE(LEGALDATE(&t, d, m, y));
}

TEST(Calendar, NameTablesAreBlankFilledToTheirWidths) {
    struct Case {
        const MONTHNAMETABLE* names;
        std::size_t width;
        int count;
    };
    const Case cases[] = {
        {&ARABICMONTHNAMES, 11, 13},    {&BAHADURMONTHNAMES, 11, 14}, {&JAISINGHMONTHNAMES, 11, 14},
        {&BYZANTINEMONTHNAMES, 10, 13}, {&JULIANMONTHNAMES, 9, 13},   {&EGYPTIANMONTHNAMES, 10, 13},
        {&PERSIANMONTHNAMES, 12, 13},   {&JALALIMONTHNAMES, 12, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string((*c.names)[1]));
        EXPECT_TRUE((*c.names)[0].empty());
        for (int i = 1; i < 15; ++i) {
            const std::string_view name = (*c.names)[static_cast<std::size_t>(i)];
            if (i <= c.count) {
                EXPECT_EQ(name.size(), c.width) << "entry " << i;
                EXPECT_NE(name.front(), ' ');
            } else {
                EXPECT_TRUE(name.empty()) << "entry " << i;
            }
        }
    }
    // The grave accent is a letter of the name; the accented letters are single bytes.
    EXPECT_EQ(ARABICMONTHNAMES[8],
              "Sha\x60"
              "b\x83n    ");
    EXPECT_EQ(ARABICMONTHNAMES[11], "Dhu'l-qa`da");
    EXPECT_EQ(JAISINGHMONTHNAMES[1], "Rabî` II   "_cp);
}

TEST(Calendar, MonthNames) {
    struct Case {
        char era;
        SET30 ic;
        std::int16_t n;
        bool allowleap;
        std::string_view name;
    };
    const SET30 none;
    const Case cases[] = {
        {AR, default_set(AR), 1, false, "Muharram   "},
        {AR, default_set(AR), 12, true, "Dhu'l-hijja"},
        {AR, default_set(AR), 13, true, "leap year  "},
        {AR, default_set(AR), 13, false, "Muharram   "},
        {AR, default_set(AR), 0, false, "Dhu'l-hijja"},
        {BK, default_set(BK), 13, false, "Ord. year  "},
        {BK, default_set(BK), 14, true, "Leap year  "},
        {BK, default_set(BK), 0, true, "Leap year  "},  // (0 + 13) mod 14 + 1 = 14
        {BK, default_set(BK), 15, true, "Muharram   "},
        {JS, default_set(JS), 1, true, "Rabî` II   "_cp},
        {JS, default_set(JS), 13, true, "Rabî` II   "_cp},
        {JS, default_set(JS), 14, false, "leap year  "},
        {BY, default_set(BY), 1, true, "Adhar     "},
        {BY, default_set(BY), 12, true, "Shubat    "},
        {BY, default_set(BY), 13, true, "leap year "},
        {BY, default_set(BY), 13, false, "Adhar     "},
        {BY, set_of({3, 5}), 1, true, "Tammuz    "},
        {BY, set_of({3, 5}), 13, true, "Tammuz    "},  // no leap entry without 13
        {BY, set_of({3, 16}), 1, false, "Haziran   "},
        {JU, default_set(JU), 1, true, "January  "},
        {JU, default_set(JU), 2, true, "February "},
        {JU, default_set(JU), 12, true, "December "},
        {JU, default_set(JU), 13, true, "January  "},
        {JU, set_of({4, 13}), 13, true, "leap year"},
        {JU, set_of({4}), 1, true, "March    "},  // no first month: the table's order
        {EG, default_set(EG), 13, false, "epagomenae"},
        {EG, default_set(EG), 14, false, "Thoth     "},
        {ML, default_set(ML), 13, false, "Andarjah    "},
        {PE, set_of({9}), 8, false, "Aban        "},
        {PE, set_of({9}), 9, false, "Andarjah    "},
        {PE, set_of({9}), 10, false, "Adhar       "},
        {PE, set_of({9}), 12, false, "Bahman      "},
        {PE, set_of({9}), 13, false, "Isfandarmadh"},
        {PE, set_of({13}), 9, false, "Adhar       "},
        {PE, set_of({13}), 13, false, "Andarjah    "},
        {LF, none, 7, false, " 7"},
        {LF, none, 12, true, "12"},
        {LF, none, 99, true, "99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.era << " month " << c.n << " leap " << c.allowleap);
        EXPECT_EQ(MONTHNAME(c.era, c.ic, c.n, c.allowleap), c.name);
    }
}

TEST(Calendar, MonthNameOfAnImpossibleEntryIsEmptyNotACrash) {
    for (const char era : ALL_CALENDARS) {
        for (const int n : {-32768, -1000, -27, -14, -13, 32767}) {
            const STRING60 name =
                MONTHNAME(era, default_set(era), static_cast<std::int16_t>(n), true);
            EXPECT_LE(name.size(), 12u) << era << " " << n;
        }
    }
}

TEST(Calendar, MonthLengths) {
    struct Case {
        char era;
        SET30 ic;
        bool leap;
        std::int16_t month;
        int days;
    };
    const Case cases[] = {
        {AR, default_set(AR), false, 1, 30},  {AR, default_set(AR), false, 2, 29},
        {AR, default_set(AR), false, 12, 29}, {AR, default_set(AR), true, 12, 30},
        {AR, default_set(AR), true, 13, 0},   {AR, default_set(AR), true, 0, 29},
        {AR, default_set(AR), true, -1, 30},  {BK, default_set(BK), false, 1, 30},
        {BK, default_set(BK), true, 12, 29},  {BK, default_set(BK), true, 13, 1},
        {JS, default_set(JS), false, 1, 29},  {JS, default_set(JS), true, 12, 30},
        {JS, default_set(JS), true, 13, 29},  {JS, default_set(JS), true, 14, 0},
        {JU, default_set(JU), false, 2, 28},  {JU, default_set(JU), true, 2, 29},
        {JU, default_set(JU), false, 12, 31}, {JU, default_set(JU), false, 1, 31},
        {JU, default_set(JU), false, 9, 30},  {JU, set_of({4}), false, 1, 31},
        {JU, set_of({4}), true, 2, 29},  // no first month: January first, as the default
        {BY, default_set(BY), false, 12, 28}, {BY, default_set(BY), true, 12, 29},
        {BY, default_set(BY), false, 1, 31},  {BY, set_of({3}), false, 12, 28},
        {BY, set_of({3, 5}), true, 8, 29},    {BY, set_of({3, 5}), false, 2, 31},
        {EG, default_set(EG), false, 1, 30},  {EG, default_set(EG), false, 13, 5},
        {ML, default_set(ML), false, 12, 30}, {ML, default_set(ML), false, 13, 5},
        {ML, default_set(ML), true, 13, 6},   {ML, default_set(ML), true, 14, 6},
        {PE, set_of({9}), false, 9, 5},       {PE, set_of({9}), false, 13, 30},
        {PE, set_of({13}), false, 9, 30},     {PE, set_of({13}), false, 13, 5},
        {PE, set_of({9}), false, 31, 30},     {PE, set_of({9}), false, -5, 30},
        {LF, SET30{}, false, 1, 1},           {LF, SET30{}, true, 99, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.era << " month " << c.month << " leap " << c.leap);
        EXPECT_EQ(MONTHLENGTH(c.era, c.ic, c.leap, c.month), c.days);
    }
}

// The length each month must have, found by its name: MONTHNAME and MONTHLENGTH must
// turn month numbers into places of the year the same way.
int days_by_name(char era, std::string_view name, bool leap) {
    const std::string n(name.substr(0, name.find_last_not_of(' ') + 1));
    switch (era) {
        case BY:
        case JU: {
            if (n == "Shubat" || n == "February") return leap ? 29 : 28;
            for (const char* thirty : {"Nisan", "Haziran", "Ilul", "Tishrin II", "April", "June",
                                       "September", "November"})
                if (n == thirty) return 30;
            return 31;
        }
        case AR:
        case BK: {
            for (int i = 1; i <= 12; ++i)
                if (name == ARABICMONTHNAMES[static_cast<std::size_t>(i)])
                    return i % 2 != 0 ? 30 : (i == 12 && leap && era == AR ? 30 : 29);
            return -1;
        }
        case JS: {
            // The Jai Singh year begins with Rabî` II, a month of 29 days.
            for (int i = 1; i <= 12; ++i)
                if (name == JAISINGHMONTHNAMES[static_cast<std::size_t>(i)])
                    return i % 2 != 0 ? 29 : 30;
            return -1;
        }
        case EG:
            return n == "epagomenae" ? 5 : 30;
        case ML:
            return n == "Andarjah" ? (leap ? 6 : 5) : 30;
        case PE:
            return n == "Andarjah" ? 5 : 30;
        default:
            return -1;
    }
}

TEST(Calendar, MonthNameAndLengthAgreeForEveryVariant) {
    struct Variant {
        char era;
        SET30 ic;
    };
    std::vector<Variant> variants;
    for (const char era : {AR, BK, JS, EG, ML})
        variants.push_back({era, default_set(era)});
    variants.push_back({PE, set_of({9})});
    variants.push_back({PE, set_of({13})});
    for (const char era : {BY, JU})
        for (int leap = 1; leap <= 4; ++leap)
            for (int first = 5; first <= 16; ++first)
                variants.push_back({era, set_of({leap, first})});

    for (const Variant& v : variants) {
        for (const bool leap : {false, true}) {
            int year_days = 0;
            for (int m = 1; m <= NUMMONTHS(v.era); ++m) {
                const auto month = static_cast<std::int16_t>(m);
                const STRING60 name = MONTHNAME(v.era, v.ic, month, false);
                SCOPED_TRACE(::testing::Message() << v.era << " set " << v.ic.to_string()
                                                  << " month " << m << " " << name);
                const int days = MONTHLENGTH(v.era, v.ic, leap, month);
                EXPECT_EQ(days, days_by_name(v.era, name, leap));
                year_days += days;
            }
            const int expected = v.era == EG || v.era == PE ? 365
                                 : v.era == BY || v.era == JU || v.era == ML
                                     ? 365 + (leap ? 1 : 0)
                                     : 354 + (leap && v.era == AR ? 1 : 0);
            EXPECT_EQ(year_days, expected) << v.era << " " << v.ic.to_string();
        }
    }
}

int year_length_by_months(const TABLE& t, int year) {
    const bool leap = INTERCALARYYEAR(&t, static_cast<std::int16_t>(year));
    int days = 0;
    for (int m = 1; m <= NUMMONTHS(t.ERA); ++m)
        days += MONTHLENGTH(t.ERA, t.INTERCALATION, leap, static_cast<std::int16_t>(m));
    return days;
}

TEST(Calendar, WholeCyclesOfMonthLengths) {
    struct Case {
        char era;
        SET30 ic;
        int first_year;
        int years;
        int days;
    };
    const Case cases[] = {
        {AR, default_set(AR), 1, 30, 10631},
        {AR, default_set(AR), 931, 30, 10631},
        {JU, default_set(JU), 1, 4, 1461},
        {JU, default_set(JU), 1001, 4, 1461},
        {BY, default_set(BY), 1, 4, 1461},
        {BY, set_of({1, 9}), 77, 4, 1461},
        {ML, default_set(ML), 1, 120, 120 * 365 + 29},
        {ML, default_set(ML), 4001, 120, 120 * 365 + 29},
        {EG, default_set(EG), 1, 1, 365},
        {EG, set_of({2}), 1, 1, 365},
        {PE, set_of({9}), 1, 1, 365},
        {PE, set_of({13}), 1, 1, 365},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.era << " from " << c.first_year);
        const TABLE t = table_of(c.era, c.ic);
        int days = 0;
        for (int y = c.first_year; y < c.first_year + c.years; ++y)
            days += year_length_by_months(t, y);
        EXPECT_EQ(days, c.days);
    }
}

TEST(Calendar, LeapYears) {
    struct Case {
        char era;
        SET30 ic;
        std::initializer_list<int> leap;
        std::initializer_list<int> ordinary;
    };
    const Case cases[] = {
        {AR, default_set(AR), {2, 5, 16, 29, 32, 9986}, {1, 15, 30, 0, -1, -16, 9999}},
        {AR, set_of({30}), {30, 0, 60}, {1, 29, -30}},
        {BK, default_set(BK), {1, 4, 28, 31}, {2, 30}},
        {JS, default_set(JS), {1, 15}, {16}},
        {JU, default_set(JU), {4, 8, 1000, 1004, 0}, {1, 2, 3, 1001, -4}},
        {BY, default_set(BY), {3, 7, 1003}, {4, 1, 8}},
        {ML,
         default_set(ML),
         {1, 6, 10, 14, 30, 35, 59, 64, 92, 97, 121, 126, 9961},
         {2, 3, 4, 5, 7, 31, 34, 60, 63, 120, 0, -1}},
        {EG, default_set(EG), {}, {4, 1}},
        {PE, set_of({9}), {}, {4, 9}},
        {LF, SET30{}, {}, {4}},
    };
    for (const Case& c : cases) {
        const TABLE t = table_of(c.era, c.ic);
        for (const int y : c.leap)
            EXPECT_TRUE(INTERCALARYYEAR(&t, static_cast<std::int16_t>(y))) << c.era << " " << y;
        for (const int y : c.ordinary)
            EXPECT_FALSE(INTERCALARYYEAR(&t, static_cast<std::int16_t>(y))) << c.era << " " << y;
    }
}

TEST(Calendar, MalikiLeapYearsAreTwentyNineInEvery120UpToTheLastYear) {
    const TABLE t = table_of(ML);
    for (int start = 1; start + 119 <= 32767; start += 120) {
        int leap = 0;
        for (int y = start; y < start + 120; ++y)
            leap += INTERCALARYYEAR(&t, static_cast<std::int16_t>(y));
        ASSERT_EQ(leap, 29) << "from year " << start;
    }
}

TEST(Calendar, LegalDate) {
    struct Case {
        char era;
        int day, month, year;
        bool legal;
        int new_day, new_month, new_year;
    };
    const Case cases[] = {
        // Day 0 goes back to the last day of the previous year, whose leap state counts.
        {AR, 0, 1, 5, true, 29, 12, 4},
        {AR, 0, 1, 3, true, 30, 12, 2},
        {AR, 0, 3, 5, true, 29, 2, 5},
        {AR, 31, 1, 10, true, 1, 2, 10},
        {AR, 30, 12, 15, true, 1, 1, 16},
        {AR, 30, 12, 16, true, 30, 12, 16},
        {AR, 31, 12, 16, true, 1, 1, 17},
        {AR, 29, 0, 10, true, 29, 12, 9},
        {AR, 30, 0, 10, true, 1, 1, 10},
        {AR, 30, 0, 17, true, 1, 1, 17},  // also when the previous year (16) is a leap year
        {AR, 62, 1, 5, false, 0, 0, 0},   // one carry only
        {AR, 1, 13, 9999, false, 0, 0, 0},
        {AR, 30, 12, 9999, false, 0, 0, 0},
        {AR, 5, 3, 0, false, 0, 0, 0},
        {AR, 0, 1, 1, false, 0, 0, 0},
        {AR, 1, 1, 9999, true, 1, 1, 9999},
        {AR, 1, 13, 9998, true, 1, 1, 9999},
        {JU, 29, 2, 1004, true, 29, 2, 1004},
        {JU, 29, 2, 1001, true, 1, 3, 1001},  // normalised, as a date moved one day on
        {JU, 30, 2, 1004, true, 1, 3, 1004},
        {JU, 0, 3, 1004, true, 29, 2, 1004},
        {JU, 0, 3, 1001, true, 28, 2, 1001},
        {JU, 32, 12, 1000, true, 1, 1, 1001},
        {JU, 62, 1, 1004, false, 0, 0, 0},
        {BY, 0, 1, 4, true, 29, 12, 3},  // Shubat of the leap year 3
        {ML, 6, 13, 1, true, 6, 13, 1},
        {ML, 6, 13, 2, true, 1, 1, 3},
        {ML, 0, 1, 7, true, 6, 13, 6},
        {PE, 6, 9, 5, true, 1, 10, 5},
        {LF, 2, 99, 5, true, 1, 1, 6},
        {AR, -32768, -32768, -32768, false, 0, 0, 0},
        {AR, 32767, 32767, 32767, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.era << " " << c.day << "/" << c.month << "/" << c.year);
        const TABLE t = table_of(c.era);
        auto day = static_cast<std::int16_t>(c.day);
        auto month = static_cast<std::int16_t>(c.month);
        auto year = static_cast<std::int16_t>(c.year);
        ASSERT_EQ(LEGALDATE(&t, day, month, year), c.legal);
        if (c.legal) {
            EXPECT_EQ(day, c.new_day);
            EXPECT_EQ(month, c.new_month);
            EXPECT_EQ(year, c.new_year);
        } else {
            EXPECT_EQ(day, c.day);
            EXPECT_EQ(month, c.month);
            EXPECT_EQ(year, c.year);
        }
    }
}

TEST(Calendar, Descriptions) {
    struct Case {
        char era;
        SET30 ic;
        std::string_view description;
        std::string_view leap_years;
    };
    const Case cases[] = {
        {AR, default_set(AR), "Arabic", "leap years 2, 5, 7, 10, 13, 16, 18, 21, 24, 26, 29"},
        {AR, set_of({}), "Arabic", "leap years "},
        {AR, set_of({30}), "Arabic", "leap years 30"},
        {BK, default_set(BK), "Arabic (Bahadur)",
         "leap years 1, 4, 6, 9, 12, 15, 17, 20, 23, 25, 28"},
        {JS, set_of({1, 16}), "Arabic (Jai Singh)", "leap years 1, 16"},
        {BY, default_set(BY), "Byzantine/Syrian (first month: Adhar)",
         "leap years 3, 7, 11, 15, 19, ..."},
        {BY, set_of({1, 16}), "Byzantine/Syrian (first month: Haziran)",
         "leap years 1, 5, 9, 13, 17, ..."},
        {BY, set_of({2, 9}), "Byzantine/Syrian (first month: Tishrin II)",
         "leap years 2, 6, 10, 14, 18, ..."},
        {JU, default_set(JU), "Julian (first month: January)", "leap years 4, 8, 12, 16, 20, ..."},
        {JU, set_of({1, 4, 13}), "Julian (first month: March)", "leap years 4, 8, 12, 16, 20, ..."},
        {JU, set_of({}), "Julian", ""},
        {EG, default_set(EG), "Egyptian (Nabonassar epoch)", "no leap years"},
        {EG, set_of({2}), "Egyptian (Philippus epoch)", "no leap years"},
        {ML, default_set(ML), "Maliki (Wâbiknawî)"_cp,
         "4 ordinary years before the years 20, 59, 88, 107, ..."},
        {ML, set_of({}), "Maliki", "4 ordinary years before the years 20, 59, 88, 107, ..."},
        {PE, set_of({9}), "Persian", "epagomenal days (Andarjah) after the month Aban"},
        {PE, set_of({13}), "Persian", "epagomenal days (Andarjah) at the end of the year"},
        {LF, SET30{}, "Linear Function", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.era << " " << c.ic.to_string());
        EXPECT_EQ(CALENDARSPECIFICATION(c.era, c.ic), c.description);
        EXPECT_EQ(LEAPYEARS(c.era, c.ic), c.leap_years);
    }
}

TEST(Calendar, LeapYearTextHoldsOnlyWholeNumbersIn60Characters) {
    SET30 all;
    for (int i = 1; i <= 30; ++i)
        all.set(static_cast<std::size_t>(i));
    const STRING60 text = LEAPYEARS(AR, all);
    EXPECT_EQ(text, "leap years 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15");
    EXPECT_LE(text.size(), MAXL_STRING60);
}

}  // namespace
}  // namespace zorvat
