#include "calendar/date_entry.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "calendar/calendar.h"
#include "dialogue/toolkit.h"
#include "support/scripted_console.h"

namespace zorvat {
namespace {

using testing::ScriptedConsole;

SET30 set_of(std::initializer_list<int> positions) {
    SET30 s;
    for (const int p : positions)
        s.set(static_cast<std::size_t>(p));
    return s;
}

TABLE table_of(char era, SET30 ic) {
    TABLE t;
    t.ERA = era;
    t.INTERCALATION = ic;
    return t;
}

TABLE table_of(char era) {
    SET30 ic;
    DEFAULTINTERCALATION(era, ic);
    return table_of(era, ic);
}

// The prompt before every field; the fields start at column 8 of row 3.
constexpr const char* PROMPT = "Date:  ";
constexpr int X = 8;
constexpr int Y = 3;

// A UTF-8 text filled with blanks to `width` characters.
std::string padded(std::string s, std::size_t width) {
    std::size_t chars = 0;
    for (const char c : s)
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (chars < width) s.append(width - chars, ' ');
    return s;
}

// ---- ENTERMONTH ----

struct MonthCase {
    const char* name;
    TABLE (*table)();
    const char* keys;
    int exitcode;
    int month;
    const char* row;  // row 3 afterwards
    int beeps;
};

TABLE arabic() {
    return table_of(AR);
}
TABLE julian_from_march() {
    return table_of(JU, set_of({4, 13}));
}
TABLE persian_9() {
    return table_of(PE, set_of({9}));
}
TABLE linear() {
    return table_of(LF);
}
TABLE maliki() {
    return table_of(ML);
}
TABLE julian() {
    return table_of(JU);
}

class EnterMonth : public ::testing::TestWithParam<MonthCase> {};

TEST_P(EnterMonth, Session) {
    const MonthCase& c = GetParam();
    const TABLE t = c.table();
    ScriptedConsole con(c.keys);
    GOTOXY(1, Y);
    write_text(PROMPT);
    std::int16_t month = 7;
    ASSERT_TRUE(con.run([&] { ENTERMONTH(&t, month); }));
    EXPECT_EQ(EXITCODE, c.exitcode);
    EXPECT_EQ(month, c.month);
    EXPECT_EQ(con.row(Y), c.row);
    EXPECT_EQ(con.beeps(), c.beeps);
    EXPECT_FALSE(con.keys_left());
    if (c.exitcode == RETURNCODE) {
        EXPECT_EQ(con.cursor_x(), 1);  // the line is ended
        EXPECT_EQ(con.cursor_y(), Y + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, EnterMonth,
    ::testing::Values(
        MonthCase{"EnterAcceptsTheFirstMonth", arabic, "<ret>", 0, 1, "Date:  Muharram", 0},
        MonthCase{"OneThenEnter", arabic, "1<ret>", 0, 1, "Date:  Muharram", 0},
        MonthCase{"OneThenZero", arabic, "10<ret>", 0, 10, "Date:  Shawwâl", 0},
        MonthCase{"OneThenOne", arabic, "11<ret>", 0, 11, "Date:  Dhu'l-qa`da", 0},
        MonthCase{"TwoAtOnce", arabic, "2<ret>", 0, 2, "Date:  Safar", 0},
        MonthCase{"LaterDigitsStartAgain", arabic, "29<ret>", 0, 9, "Date:  Ramadân", 0},
        MonthCase{"LeapEntry", julian_from_march, "13<ret>", 0, 13, "Date:  leap year", 0},
        MonthCase{"BeyondTheLastChangesNothing", julian_from_march, "14<ret>", 0, 1, "Date:  March",
                  0},
        MonthCase{"PendingStaysAfterARefusedDigit", julian_from_march, "143<ret>", 0, 13,
                  "Date:  leap year", 0},
        MonthCase{"UpFromTheFirstIsTheLast", arabic, "<up><ret>", 0, 13, "Date:  leap year", 0},
        MonthCase{"DownFromTheLastIsTheFirst", arabic, "<up><down><down><ret>", 0, 2,
                  "Date:  Safar", 0},
        MonthCase{"JulianDefaultHasNoLeapEntry", julian, "<up><ret>", 0, 12, "Date:  December", 0},
        MonthCase{"LetterSearchesOnward", arabic, "d<ret>", 0, 11, "Date:  Dhu'l-qa`da", 0},
        MonthCase{"LetterAgainFindsTheNext", arabic, "dd<ret>", 0, 12, "Date:  Dhu'l-hijja", 0},
        MonthCase{"LetterWrapsAround", arabic, "ddd<ret>", 0, 11, "Date:  Dhu'l-qa`da", 0},
        MonthCase{"LetterOfTheLeapEntry", arabic, "L<ret>", 0, 13, "Date:  leap year", 0},
        MonthCase{"LetterWithoutAMonthKeepsIt", arabic, "3x<ret>", 0, 3, "Date:  Rabî` I", 0},
        MonthCase{"PersianEpagomenalMonth", persian_9, "aa<ret>", 0, 9, "Date:  Andarjah", 0},
        MonthCase{"BackspaceGoesToTheFirst", arabic, "5<bs><ret>", 0, 1, "Date:  Muharram", 0},
        MonthCase{"BackspaceDropsThePendingOne", arabic, "51<bs><ret>", 0, 5, "Date:  Jumâdâ I", 0},
        MonthCase{"ZeroAloneIsIgnored", arabic, "0<ret>", 0, 1, "Date:  Muharram", 0},
        MonthCase{"OtherKeysAreIgnored", arabic, "<left><f1>#<ret>", 0, 1, "Date:  Muharram", 0},
        MonthCase{"LinearMonthsAreNumbers", linear, "19<down><ret>", 0, 20, "Date:  20", 0},
        MonthCase{"MalikiThirteenth", maliki, "13<ret>", 0, 13, "Date:  Andarjah", 0},
        MonthCase{"EscapeEndsAtOnce", arabic, "3<esc>", ESCCODE, 3, "Date:  Rabî` I", 0},
        MonthCase{"EscapeWhilePending", arabic, "1<esc>", ESCCODE, 1, "Date:  1", 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(EnterMonth, PendingOneStandsAloneWithTheCursorAfterIt) {
    const TABLE t = arabic();
    ScriptedConsole con("1");
    GOTOXY(1, Y);
    write_text(PROMPT);
    std::int16_t month = 0;
    ASSERT_TRUE(con.run_until_keys_run_out([&] { ENTERMONTH(&t, month); }));
    EXPECT_EQ(con.row(Y), "Date:  1");
    EXPECT_EQ(con.cursor_x(), X + 1);
}

// ---- ENTERDATE ----

struct DateCase {
    const char* name;
    TABLE (*table)();
    const char* keys;
    int exitcode;
    int day, month, year;  // checked when exitcode is 0
    std::string row;       // row 3 afterwards
    int beeps;
};

std::string date_row(const char* day, const char* month, const char* year) {
    return std::string(PROMPT) + day + "  " + padded(month, 14) + "  " + year;
}

class EnterDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(EnterDate, Session) {
    const DateCase& c = GetParam();
    const TABLE t = c.table();
    ScriptedConsole con(c.keys);
    GOTOXY(1, Y);
    write_text(PROMPT);
    std::int16_t day = 0, month = 0, year = 0;
    ASSERT_TRUE(con.run([&] { ENTERDATE(&t, day, month, year); }));
    EXPECT_EQ(EXITCODE, c.exitcode);
    if (c.exitcode == RETURNCODE) {
        EXPECT_EQ(day, c.day);
        EXPECT_EQ(month, c.month);
        EXPECT_EQ(year, c.year);
        EXPECT_EQ(con.cursor_y(), Y);  // the caller ends the line
    }
    EXPECT_EQ(con.row(Y), c.row);
    EXPECT_EQ(con.beeps(), c.beeps);
    EXPECT_FALSE(con.keys_left());
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, EnterDate,
    ::testing::Values(
        DateCase{"ArabicLeapDayNeedsALeapYear", arabic, "301215<ret><bs>6<ret>", 0, 30, 12, 16,
                 date_row("30", "Dhu'l-hijja", "16"), 1},
        DateCase{"JulianLeapDay", julian, "2921001<ret><bs><bs><bs><bs>1004<ret>", 0, 29, 2, 1004,
                 date_row("29", "February", "1004"), 1},
        DateCase{"ThirtyOneIsRefusedInArabic", arabic, "31<esc>", ESCCODE, 0, 0, 0,
                 std::string(PROMPT) + "3", 1},
        DateCase{"ZeroMakesThirty", arabic, "30<ret>1<ret>", 0, 30, 1, 1,
                 date_row("30", "Muharram", "1"), 0},
        DateCase{"EnterConfirmsOneDigit", arabic, "2<ret><ret>7<ret>", 0, 2, 1, 7,
                 date_row(" 2", "Muharram", "7"), 0},
        DateCase{"ZeroCannotBeginADay", arabic, "0<ret>9<ret>9<ret>", 0, 9, 1, 9,
                 date_row(" 9", "Muharram", "9"), 2},
        DateCase{"PendingMonthOneThenEnter", arabic, "51<ret>100<ret>", 0, 5, 1, 100,
                 date_row(" 5", "Muharram", "100"), 0},
        DateCase{"PendingMonthOneThenZero", arabic, "510100<ret>", 0, 5, 10, 100,
                 date_row(" 5", "Shawwâl", "100"), 0},
        // 13 is no month of a date, and Shawwâl has 29 days: both refused, the 1 still waits.
        DateCase{"RefusedDigitsKeepThePendingOne", arabic, "3013011<ret>", 0, 30, 11, 1,
                 date_row("30", "Dhu'l-qa`da", "1"), 2},
        DateCase{"MonthTooShortForTheDay", arabic, "302<down><down><ret>3<ret>", 0, 30, 3, 3,
                 date_row("30", "Rabî` I", "3"), 1},
        DateCase{"ArrowsAndLetters", arabic, "7<up><down>sss<ret>1<ret>", 0, 7, 10, 1,
                 date_row(" 7", "Shawwâl", "1"), 0},
        DateCase{"UpFromTheFirstMonth", arabic, "7<up><ret>1<ret>", 0, 7, 12, 1,
                 date_row(" 7", "Dhu'l-hijja", "1"), 0},
        DateCase{"PersianLetters", persian_9, "5aa<ret>1<ret>", 0, 5, 9, 1,
                 date_row(" 5", "Andarjah", "1"), 0},
        DateCase{"MalikiSixthEpagomenalDay", maliki, "6132<ret><bs>1<ret>", 0, 6, 13, 1,
                 date_row(" 6", "Andarjah", "1"), 1},
        DateCase{"YearOfFourDigitsAtMost", arabic, "51<ret>12345<ret>", 0, 5, 1, 1234,
                 date_row(" 5", "Muharram", "1234"), 0},
        DateCase{"YearCannotBeginWithZero", arabic, "51<ret>0<ret>10000<ret>", 0, 5, 1, 1000,
                 date_row(" 5", "Muharram", "1000"), 3},
        DateCase{"BackspaceInTheYearShowsAPeriod", arabic, "51<ret>12<bs><esc>", ESCCODE, 0, 0, 0,
                 date_row(" 5", "Muharram", "1..."), 0},
        DateCase{"BackFromTheYearToTheDay", arabic, "42<bs><bs><bs>8<ret>3<ret>", 0, 8, 2, 3,
                 date_row(" 8", "Safar", "3"), 0},
        DateCase{"BackToTheDayKeepsTwoDigits", arabic, "12<bs>3<ret><ret>3<ret>", 0, 12, 1, 3,
                 date_row("12", "Muharram", "3"), 1},
        DateCase{"KeysOfOtherFieldsAreIgnored", arabic, "x<up>5<left>1<ret>y<up>5<ret>", 0, 5, 1, 5,
                 date_row(" 5", "Muharram", "5"), 0},
        DateCase{"EscapeBeforeAnyKeyDrawsNothing", arabic, "<esc>", ESCCODE, 0, 0, 0, "Date:", 0},
        DateCase{"LinearCalendar", linear, "212<bs><bs><bs>1<ret>1277<ret>", 0, 1, 12, 77,
                 date_row(" 1", "12", "77"), 1}),
    [](const auto& p) { return std::string(p.param.name); });

// The screen in the middle of a session, while the editor waits for the next key.
struct PartialCase {
    const char* keys;
    std::string row;
    int cursor_x;
};

class EnterDateScreen : public ::testing::TestWithParam<PartialCase> {};

TEST_P(EnterDateScreen, WhileTyping) {
    const PartialCase& c = GetParam();
    const TABLE t = arabic();
    ScriptedConsole con(c.keys);
    GOTOXY(1, Y);
    write_text(PROMPT);
    std::int16_t day = 0, month = 0, year = 0;
    ASSERT_TRUE(con.run_until_keys_run_out([&] { ENTERDATE(&t, day, month, year); }));
    EXPECT_EQ(con.row(Y), c.row);
    EXPECT_EQ(con.cursor_x(), c.cursor_x);
    EXPECT_EQ(con.cursor_y(), Y);
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, EnterDateScreen,
    ::testing::Values(
        // A 3 waits for a second digit.
        PartialCase{"3", "Date:  3", X + 1},
        // A 4 is a day at once: a blank and 4, two blanks, the dotted name.
        PartialCase{"4", "Date:   4  Muharram...", X + 4},
        // A pending month digit 1 with thirteen periods, the cursor after the 1.
        PartialCase{"41", "Date:   4  1.............", X + 5},
        // Backspace drops it; no period of it stays after the shorter name.
        PartialCase{"4<down>1<bs>", "Date:   4  Safar......", X + 4},
        // A confirmed month: the name with blanks, the year as periods, the cursor on them.
        PartialCase{"42", date_row(" 4", "Safar", "...."), X + 20},
        PartialCase{"4214", date_row(" 4", "Safar", "14.."), X + 22},
        // Backspace in an empty year: back to the month, the year periods removed.
        PartialCase{"42<bs>", "Date:   4  Safar......", X + 4},
        // Backspace in the month: back to the day, which keeps its digit.
        PartialCase{"4<bs>", "Date:  4.", X + 1}, PartialCase{"4<bs><bs>", "Date:  ..", X},
        PartialCase{"30<bs>", "Date:  30", X + 2},
        // A refused year leaves it as typed.
        PartialCase{"301215<ret>", date_row("30", "Dhu'l-hijja", "15.."), X + 22}));

TEST(EnterDate, ZeroAfterABackspaceStillChecksTheDay) {
    // Back from the month with the day 4, a 0 would make day 40: refused like a typed 41.
    const TABLE t = arabic();
    ScriptedConsole con("4<bs>0<ret><ret>1<ret>");
    std::int16_t day = 0, month = 0, year = 0;
    ASSERT_TRUE(con.run([&] { ENTERDATE(&t, day, month, year); }));
    EXPECT_EQ(con.beeps(), 1);
    EXPECT_EQ(day, 4);
    EXPECT_EQ(month, 1);
    EXPECT_EQ(year, 1);
}

TEST(EnterDate, DayOfTwoDigitsCannotGrow) {
    // Calendar M takes any day in the day field; the field still holds two digits.
    const TABLE t = maliki();
    ScriptedConsole con("12<bs>5<esc>");
    std::int16_t day = 0, month = 0, year = 0;
    ASSERT_TRUE(con.run([&] { ENTERDATE(&t, day, month, year); }));
    EXPECT_EQ(con.beeps(), 1);
    EXPECT_EQ(con.row(1), "12");
}

TEST(Calendar, MonthLengthSoundsTheAlarmForTheLastBahadurEntry) {
    ScriptedConsole con;
    SET30 ic;
    DEFAULTINTERCALATION(BK, ic);
    ASSERT_TRUE(con.run([&] {
        EXPECT_EQ(MONTHLENGTH(BK, ic, true, 14), 0);
        EXPECT_EQ(MONTHLENGTH(BK, ic, true, 13), 1);
        EXPECT_EQ(MONTHLENGTH(JS, ic, true, 14), 0);
        EXPECT_EQ(MONTHLENGTH(AR, ic, true, 13), 0);
    }));
    EXPECT_EQ(con.beeps(), 1);
}

}  // namespace
}  // namespace zorvat
