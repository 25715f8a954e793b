#include "dialogue/toolkit.h"

#include <gtest/gtest.h>

#include "dialogue/cp437.h"
#include "support/scripted_console.h"

namespace zorvat {
namespace {

using testing::ScriptedConsole;

struct YesNoCase {
    const char* keys;
    char def;
    char result;
    const char* row;  // what row 1 shows afterwards
    int cursor_y;
};

class ReadYesNo : public ::testing::TestWithParam<YesNoCase> {};

TEST_P(ReadYesNo, AnswerAndEcho) {
    const auto& c = GetParam();
    ScriptedConsole con(c.keys);
    write_text("Quit?  (Y/N)  ");
    char answer = 0;
    ASSERT_TRUE(con.run([&] { answer = READYESNO(c.def); }));
    EXPECT_EQ(answer, c.result);
    EXPECT_EQ(con.row(1), c.row);
    EXPECT_EQ(con.cursor_y(), c.cursor_y);
    EXPECT_FALSE(con.keys_left());
}

INSTANTIATE_TEST_SUITE_P(
    Toolkit, ReadYesNo,
    ::testing::Values(YesNoCase{"<ret>", 'N', 'N', "Quit?  (Y/N)  N", 2},
                      YesNoCase{"y", 'N', 'Y', "Quit?  (Y/N)  Y", 2},
                      YesNoCase{"xq<up>n", 'Y', 'N', "Quit?  (Y/N)  N", 2},
                      // Escape is not written; the default stays where it was shown.
                      YesNoCase{"<esc>", 'N', 27, "Quit?  (Y/N)  N", 2},
                      // Without a default Enter is no answer.
                      YesNoCase{"<ret>y", 27, 'Y', "Quit?  (Y/N)  Y", 2}));

TEST(SelectUpChar, DefaultIsShownInLightGreenUnderTheCursor) {
    ScriptedConsole con("<esc>");
    GOTOXY(5, 3);
    ORDINARY_TEXT();
    ASSERT_TRUE(con.run([&] { SELECTUPCHAR(chars_of("AB"), 'B', false); }));
    EXPECT_EQ(con.ch(5, 3), 'B');
    EXPECT_EQ(con.attr(5, 3), 0x1A);  // light green on blue
    EXPECT_EQ(con.cursor_x(), 5);
    EXPECT_EQ(TEXTATTR(), 0x1E);  // back to yellow
}

TEST(SelectUpChar, ChosenKeyIsWrittenOverTheDefaultWithoutNewline) {
    ScriptedConsole con("a");
    char c = 0;
    ASSERT_TRUE(con.run([&] { c = SELECTUPCHAR(chars_of("AB"), 'B', false); }));
    EXPECT_EQ(c, 'A');
    EXPECT_EQ(con.row(1), "A");
    EXPECT_EQ(con.cursor_x(), 2);
    EXPECT_EQ(con.cursor_y(), 1);
}

struct MsOrCrCase {
    const char* keys;
    bool result;
    int exitcode;
    const char* row1;
};

class MsOrCr : public ::testing::TestWithParam<MsOrCrCase> {};

TEST_P(MsOrCr, AnswerReplacesTheQuestion) {
    const auto& c = GetParam();
    ScriptedConsole con(c.keys);
    write_text("ab");
    bool result = true;
    EXITCODE = 99;
    ASSERT_TRUE(con.run([&] { result = MSORCR(); }));
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(EXITCODE, c.exitcode);
    EXPECT_EQ(con.row(1), c.row1);
    EXPECT_EQ(con.cursor_x(), 1);
    EXPECT_EQ(con.cursor_y(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Toolkit, MsOrCr,
    ::testing::Values(MsOrCrCase{"<ret>xm", true, 0, "abManuscript version"},
                      MsOrCrCase{"c", false, 0, "abCorrected version"},
                      MsOrCrCase{"<esc>", false, 5, "abManuscript or Corrected version?  (M/C)"}));

TEST(StringHelpers, BlanksDotsAndTrimming) {
    EXPECT_EQ(BLANKSTRING(-3), "");
    EXPECT_EQ(BLANKSTRING(200), std::string(79, ' '));
    EXPECT_EQ(BLANKSTRING(4), "    ");
    EXPECT_EQ(SKIPBEGINBLANKS("   "), "");
    EXPECT_EQ(SKIPBEGINBLANKS("  a b "), "a b ");
    EXPECT_EQ(SKIPENDBLANKS("a  "), "a");
    EXPECT_EQ(SKIPENDBLANKS("   "), "");

    ScriptedConsole con;
    GOTOXY(10, 2);
    WRITEDOTS(5);
    EXPECT_EQ(con.row(2), "         .....");
    EXPECT_EQ(con.cursor_x(), 10);
    WRITEBLANK(2);
    EXPECT_EQ(con.row(2), "           ...");
    WRITEBACK(20);
    EXPECT_EQ(con.cursor_x(), 1);
    // Dots that reach the last column come back to the first dot, not to the next row.
    GOTOXY(78, 4);
    WRITEDOTS(3);
    EXPECT_EQ(con.cursor_x(), 78);
    EXPECT_EQ(con.cursor_y(), 4);
}

TEST(Comptrunc, TruncatesTowardZeroAndMarksHugeValues) {
    EXPECT_EQ(COMPTRUNC(-2.5L), -2);
    EXPECT_EQ(COMPTRUNC(2.5L), 2);
    EXPECT_EQ(COMPTRUNC(5.0e9L + 0.7L), 5000000000LL);
    EXPECT_EQ(COMPTRUNC(-5.0e9L - 0.7L), -5000000000LL);
    EXPECT_EQ(COMPTRUNC(2e18L), -2147483600LL);
    EXPECT_EQ(COMPTRUNC(-2e18L), -2147483600LL);
    EXPECT_EQ(COMPTRUNC(1e18L), 1000000000000000000LL);
    EXPECT_EQ(COMPTRUNC(0.999L), 0);
}

TEST(ErrorMessage, TextsOfKnownCodesAndNothingForOthers) {
    const std::pair<int, const char*> known[] = {
        {-8, "Table to be read has too many values. Try using ZORVATXL. "},
        {-7, "Incorrect table number."},
        {-6, "This range does not contain any tables."},
        {-5, "Old file format (use ZVCONV to convert)."},
        {-4, "Insufficient heap memory."},
        {-3, "Invalid drive."},
        {-2, "Unexisting directory or file."},
        {-1, "Incorrect name of zij."},
        {2, "File not found."},
        {3, "Path not found."},
        {5, "File access denied."},
        {6, "Invalid file handle!"},
        {12, "Invalid file access mode."},
        {15, "Invalid drive number."},
        {100, "Disk read error."},
        {101, "Disk is full."},
        {150, "Disk is write-protected."},
        {152, "Drive not ready."},
        {156, "Disk seek error."},
        {160, "Device write fault."},
        {161, "Device read fault."},
        {162, "Oops! Hardware failure."}};
    for (const auto& [code, text] : known) {
        ScriptedConsole con;
        ERRORMESSAGE(code);
        EXPECT_EQ(con.row(1), SKIPENDBLANKS(text)) << code;
        EXPECT_EQ(con.cursor_x(), static_cast<int>(std::string_view(text).size()) + 1) << code;
        EXPECT_EQ(con.cursor_y(), 1) << code;
    }
    for (const int code : {0, 4, 1, -9, 99, 163}) {
        ScriptedConsole con;
        ERRORMESSAGE(code);
        EXPECT_EQ(con.cursor_x(), 1) << code;
        EXPECT_EQ(con.row(1), "") << code;
    }
}

TEST(Keys, ReadKeyGivesExtendedKeysAsZeroAndScanCode) {
    ScriptedConsole con("a<up><f1><a-d>");
    char c = 1, d = 1;
    std::vector<std::pair<int, int>> got;
    ASSERT_TRUE(con.run([&] {
        for (int i = 0; i < 4; ++i) {
            d = -1;
            MYREADKEY(c, d);
            got.emplace_back(c, d);
        }
    }));
    EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{'a', -1}, {0, UP}, {0, F1}, {0, ALTD}}));
}

TEST(Keys, WaitForAnyKeyGivesTheScanCodeOfExtendedKeys) {
    ScriptedConsole con("<f1>x");
    char a = 0, b = 0;
    ASSERT_TRUE(con.run([&] {
        a = WAITFORANYKEY();
        b = WAITFORANYKEY();
    }));
    EXPECT_EQ(a, F1);
    EXPECT_EQ(b, 'x');
}

TEST(Sound, BeepAndPauseCostVirtualTimeOnly) {
    ScriptedConsole con;
    BEEP();
    PAUSE();
    EXPECT_EQ(con.beeps(), 1);
    EXPECT_EQ(con.time_ms(), 600);
}

}  // namespace
}  // namespace zorvat
