#include "dialogue/line_editors.h"

#include <gtest/gtest.h>

#include "data/data_state.h"
#include "dialogue/console.h"
#include "dialogue/toolkit.h"
#include "platform/files.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"

namespace zorvat {
namespace {

using testing::ScriptedConsole;

constexpr std::uint8_t YELLOW_ON_BLUE = 0x1E;
constexpr std::uint8_t YELLOW_ON_RED = 0x4E;

struct IntokCase {
    const char* text;
    int min, max;
    bool ok;
};

class Intok : public ::testing::TestWithParam<IntokCase> {};

TEST_P(Intok, AcceptsExactlyThePrefixesOfNumbersInRange) {
    const auto& c = GetParam();
    EXPECT_EQ(INTOK(c.text, c.min, c.max), c.ok) << c.text << " in " << c.min << ".." << c.max;
}

INSTANTIATE_TEST_SUITE_P(
    LineEditors, Intok,
    ::testing::Values(IntokCase{"", 100, 250, true}, IntokCase{"1", 100, 250, true},
                      IntokCase{"2", 100, 250, true}, IntokCase{"10", 100, 250, true},
                      IntokCase{"25", 100, 250, true}, IntokCase{"250", 100, 250, true},
                      IntokCase{"3", 100, 250, false}, IntokCase{"26", 100, 250, false},
                      IntokCase{"0", 100, 250, false}, IntokCase{"251", 100, 250, false},
                      IntokCase{"-", 100, 250, false}, IntokCase{"-", -5, 5, true},
                      IntokCase{"-3", -5, 5, true}, IntokCase{"-0", -5, 5, false},
                      IntokCase{"-6", -5, 5, false}, IntokCase{"0", -5, 5, true},
                      IntokCase{"0", 1, 12, false}, IntokCase{"05", 0, 100, false},
                      IntokCase{"1", 1, 12, true}, IntokCase{"13", 1, 12, false},
                      IntokCase{"-1", -250, -100, true}, IntokCase{"-25", -250, -100, true},
                      IntokCase{"-3", -250, -100, false}, IntokCase{"-26", -250, -100, false},
                      IntokCase{"1-", -5, 5, false}, IntokCase{"a", 0, 9, false},
                      IntokCase{"--", -5, 5, false}, IntokCase{"3", 30000, 32767, true},
                      IntokCase{"4", 30000, 32767, false}, IntokCase{"9999999", 1, 32767, false},
                      IntokCase{"-32768", -32768, 32767, true}));

TEST(CorrectInt, WholeIntegersInRangeOnly) {
    std::int16_t n = 0;
    EXPECT_TRUE(CORRECTINT("10", 1, 12, n));
    EXPECT_EQ(n, 10);
    EXPECT_FALSE(CORRECTINT("13", 1, 12, n));
    EXPECT_FALSE(CORRECTINT("-", -5, 5, n));
    EXPECT_FALSE(CORRECTINT("", 0, 5, n));
    EXPECT_FALSE(CORRECTINT("99999", -32768, 32767, n));
    EXPECT_TRUE(CORRECTINT("-5", -5, 5, n));
    EXPECT_EQ(n, -5);
}

// An integer field at column 10 of row 3, with a mark to its right that must survive.
struct IntegerRun {
    std::int32_t result = 0;
    std::int16_t exitcode = 0;
};

IntegerRun run_integer(ScriptedConsole& con, std::int32_t min, std::int32_t max, std::int32_t def,
                       bool option) {
    ORDINARY_TEXT();
    GOTOXY(40, 3);
    write_text("|");
    GOTOXY(10, 3);
    IntegerRun r;
    con.run([&] { r.result = ENTERINTEGER(min, max, def, option); });
    r.exitcode = EXITCODE;
    return r;
}

TEST(EnterInteger, TypingReplacesTheDefaultAndDigitsOutOfRangeAreRefused) {
    ScriptedConsole con("13");
    ORDINARY_TEXT();
    GOTOXY(10, 3);
    con.run_until_keys_run_out([] { ENTERINTEGER(1, 12, 5, false); });
    EXPECT_EQ(con.row(3), "         1");
    EXPECT_EQ(con.cursor_x(), 11);
    EXPECT_EQ(con.attr(10, 3), YELLOW_ON_BLUE);
}

TEST(EnterInteger, ShowsTheDefaultInRed) {
    ScriptedConsole con;
    ORDINARY_TEXT();
    GOTOXY(10, 3);
    con.run_until_keys_run_out([] { ENTERINTEGER(1, 12, 5, false); });
    EXPECT_EQ(con.row(3), "         5");
    EXPECT_EQ(con.attr(10, 3), YELLOW_ON_RED);
    EXPECT_EQ(con.cursor_x(), 11);
}

struct IntegerCase {
    const char* keys;
    int min, max, def;
    bool option;
    int result;
    int exitcode;
    const char* row3;
};

class EnterIntegerSession : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(EnterIntegerSession, EndsWithTheResultWrittenInTheField) {
    const auto& c = GetParam();
    ScriptedConsole con(c.keys);
    const IntegerRun r = run_integer(con, c.min, c.max, c.def, c.option);
    EXPECT_EQ(r.result, c.result);
    EXPECT_EQ(r.exitcode, c.exitcode);
    std::string row = std::string(9, ' ') + c.row3;
    row.resize(39, ' ');
    EXPECT_EQ(con.row(3), row + "|");  // the mark at column 40 is untouched
    EXPECT_EQ(con.attr(10, 3), YELLOW_ON_BLUE);
    EXPECT_FALSE(con.keys_left());
}

INSTANTIATE_TEST_SUITE_P(LineEditors, EnterIntegerSession,
                         ::testing::Values(
                             // 1, then 3 refused (13 > 12), then 0: 10.
                             IntegerCase{"130<ret>", 1, 12, 5, false, 10, 0, "10"},
                             IntegerCase{"<ret>", 1, 12, 5, false, 5, 0, "5"},
                             IntegerCase{"<bs><ret>9<ret>", 1, 12, 5, false, 9, 0, "9"},
                             IntegerCase{"-3<ret>", -5, 5, INTESC, false, -3, 0, "-3"},
                             IntegerCase{"-03<ret>", -5, 5, INTESC, false, -3, 0, "-3"},
                             IntegerCase{"-3<esc>", -5, 5, INTESC, false, INTESC, 5, ""},
                             IntegerCase{"12<esc>", 1, 500, 250, false, 250, 5, "250"},
                             IntegerCase{"<home>-<ret>", -5, 5, 4, false, -4, 0, "-4"},
                             // Leading zeros are refused.
                             IntegerCase{"007<ret>", 0, 100, INTESC, false, 0, 0, "0"},
                             // Form mode: Enter does nothing; arrows leave with their codes.
                             IntegerCase{"7<ret><down>", 1, 12, 5, true, 7, 1, "7"},
                             IntegerCase{"<up>", 1, 12, 5, true, 5, -1, "5"},
                             IntegerCase{"-<down>", -5, 5, 2, true, 2, 1, "2"},
                             IntegerCase{"3<pgup>", 1, 9, 2, true, 3, -2, "3"},
                             IntegerCase{"3<pgdn>", 1, 9, 2, true, 3, 2, "3"},
                             IntegerCase{"3<c-pgdn>", 1, 9, 2, true, 3, 4, "3"},
                             IntegerCase{"3<c-c>", 1, 9, 2, true, 2, 6, "2"},
                             // Without form mode the navigation keys and Ctrl-C are ignored.
                             IntegerCase{"<up><down><c-c><pgup>4<ret>", 1, 9, 2, false, 4, 0, "4"},
                             // A longer default is blanked when the result is shorter.
                             IntegerCase{"<bs><bs><ret>", 1, 32767, 3215, false, 32, 0, "32"}));

TEST(EnterInteger, EscapeWithoutDefaultClearsTheTypedText) {
    ScriptedConsole con("1234<esc>");
    const IntegerRun r = run_integer(con, 0, 9999, INTESC, false);
    EXPECT_EQ(r.result, INTESC);
    EXPECT_EQ(con.row(3), std::string(39, ' ') + "|");
}

TEST(EnterInteger, FormModeKeepsTheWholeFieldRed) {
    ScriptedConsole con("7");
    ORDINARY_TEXT();
    GOTOXY(10, 3);
    con.run_until_keys_run_out([] { ENTERINTEGER(1, 12, INTESC, true); });
    EXPECT_EQ(con.attr(10, 3), YELLOW_ON_RED);
    EXPECT_EQ(con.attr(11, 3), YELLOW_ON_BLUE);  // the blank after the text
    EXPECT_EQ(TEXTATTR(), YELLOW_ON_RED);
}

TEST(EnterInteger, DigitsThatLeaveTheRangeAreRefused) {
    ScriptedConsole con("-12345678<ret>");
    const IntegerRun r = run_integer(con, -32768, 32767, INTESC, false);
    EXPECT_EQ(r.result, -12345);  // further digits would leave the range
    EXPECT_EQ(r.exitcode, 0);
}

// A string field at column 10 of row 3.
struct StringCase {
    const char* keys;
    const char* def;
    int maxl, purp;
    bool option;
    const char* result;
    int exitcode;
};

class EnterStrSession : public ::testing::TestWithParam<StringCase> {};

TEST_P(EnterStrSession, GivesTheEditedText) {
    const auto& c = GetParam();
    ScriptedConsole con(c.keys);
    ORDINARY_TEXT();
    GOTOXY(10, 3);
    std::string result;
    ASSERT_TRUE(con.run([&] {
        result = ENTERSTR(c.def, static_cast<std::int16_t>(c.maxl),
                          static_cast<std::int16_t>(c.purp), c.option);
    }));
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(EXITCODE, c.exitcode);
    EXPECT_EQ(con.row(3), SKIPENDBLANKS(std::string(9, ' ') + c.result));
    EXPECT_EQ(con.attr(10, 3), YELLOW_ON_BLUE);
    EXPECT_FALSE(con.keys_left());
}

INSTANTIATE_TEST_SUITE_P(
    LineEditors, EnterStrSession,
    ::testing::Values(
        StringCase{"x<ret>", "abc", 10, 2, false, "x", 0},
        StringCase{"x<ret>", "abc", 10, 0, false, "X", 0},
        StringCase{"<home><ret>", "abc", 10, 0, false, "abc", 0},
        StringCase{"<home>x<ret>", "abc", 10, 0, false, "Xabc", 0},
        StringCase{"<ret>", "abc", 10, 2, false, "abc", 0},
        // Insert and overwrite at MAXL.
        StringCase{"abcde<home><right><right>x<ret>", "", 5, 3, false, "abxcd", 0},
        StringCase{"abcde<home><right><right><ins>x<ret>", "", 5, 3, false, "abxde", 0},
        StringCase{"abcdefg<ret>", "", 5, 3, false, "abcde", 0},
        // Ctrl-T takes the rest of a word and the blanks after it.
        StringCase{"one  two<home><c-t><ret>", "", 20, 3, false, "two", 0},
        StringCase{"ab cd<left><left><left><c-t><ret>", "", 20, 3, false, "abcd", 0},
        // Word moves.
        StringCase{"one two three<c-left><c-left>X<ret>", "", 20, 3, false, "one Xtwo three", 0},
        StringCase{"one two<home><c-right>X<ret>", "", 20, 3, false, "one Xtwo", 0},
        StringCase{"ab<c-right><c-right>X<ret>", "", 20, 3, false, "abX", 0},
        // Characters outside the class are refused.
        StringCase{"a.b c<ret>", "", 10, 0, false, "ABC", 0},
        StringCase{"a.b c<ret>", "", 10, 1, false, "A.BC", 0},
        StringCase{"/home/ana/Zijes<ret>", "", 40, 2, false, "/home/ana/Zijes", 0},
        StringCase{"ab<tab>c<ret>", "", 10, 3, false, "ab     c", 0},
        StringCase{"abcdefg<home><tab><ret>", "", 9, 3, false, "  abcdefg", 0},
        StringCase{"<space><ret>", "abc", 10, 3, false, "abc ", 0},
        StringCase{"<bs><ret>", "abc", 10, 3, false, "ab", 0},
        StringCase{"abc<del><home><del><ret>", "", 10, 3, false, "bc", 0},
        // Leaving the field.
        StringCase{"xy<esc>", "abc", 10, 3, false, "", 5},
        StringCase{"xy<esc>", "abc", 10, 3, true, "abc", 5},
        StringCase{"xy<c-c>", "abc", 10, 3, true, "abc", 6},
        StringCase{"xy<up>", "abc", 10, 3, false, "xy", -1},
        StringCase{"xy<down>", "abc", 10, 3, false, "xy", 1},
        StringCase{"xy<down><up><pgdn><c-c><ret>", "", 10, 3, false, "xy", 0},
        StringCase{"x<pgup>", "", 10, 3, true, "x", -2},
        StringCase{"x<pgdn>", "", 10, 3, true, "x", 2},
        StringCase{"x<c-pgdn>", "", 10, 3, true, "x", 4}));

TEST(EnterStr, DefaultOnRedDotsForTheRestOfTheField) {
    ScriptedConsole con;
    ORDINARY_TEXT();
    GOTOXY(10, 3);
    con.run_until_keys_run_out([] { ENTERSTR("abc", 8, 3, false); });
    EXPECT_EQ(con.row(3), "         abc.....");
    EXPECT_EQ(con.attr(10, 3), YELLOW_ON_RED);
    EXPECT_EQ(con.attr(13, 3), YELLOW_ON_BLUE);
    EXPECT_EQ(con.cursor_x(), 13);
}

TEST(EnterStr, TypingOverTheDefaultStartsAfresh) {
    ScriptedConsole con("z");
    ORDINARY_TEXT();
    GOTOXY(10, 3);
    con.run_until_keys_run_out([] { ENTERSTR("abc", 8, 3, false); });
    EXPECT_EQ(con.row(3), "         z.......");
    EXPECT_EQ(con.cursor_x(), 11);
    EXPECT_EQ(con.attr(10, 3), YELLOW_ON_BLUE);
}

TEST(EnterStr, OverwriteModeShowsTheBlockCursor) {
    {
        ScriptedConsole con("ab<ins>");
        con.run_until_keys_run_out([] { ENTERSTR("", 8, 3, false); });
        EXPECT_EQ(CONSOLE.screen.cursor_shape, CursorShape::Block);
    }
    ScriptedConsole con("ab<ins><ins><ins><ret>");
    con.run([] { ENTERSTR("", 8, 3, false); });
    EXPECT_EQ(CONSOLE.screen.cursor_shape, CursorShape::Normal);
}

TEST(EnterStr, UpInANameFieldRecallsTheLastName) {
    ScriptedConsole con("xyz<up><ret>");
    DEFNAME = "Tabula Alfonsina";
    std::string result;
    con.run([&] { result = ENTERSTR("", 60, PURP_TABLE_NAME, false); });
    EXPECT_EQ(result, "Tabula Alfonsina");
}

TEST(EnterStr, TheRecalledNameIsADefaultThatTypingReplaces) {
    ScriptedConsole con("<up>S<ret>");
    DEFNAME = "Tabula";
    std::string result;
    con.run([&] { result = ENTERSTR("", 60, PURP_TABLE_NAME, false); });
    EXPECT_EQ(result, "S");
}

TEST(EnterStr, AFullLineOfTypingStaysInsideTheField) {
    std::string keys(120, 'w');
    keys += "<ret>";
    ScriptedConsole con(keys);
    ORDINARY_TEXT();
    GOTOXY(1, 4);
    write_text("below");
    GOTOXY(1, 2);
    write_text("above");
    GOTOXY(23, 3);
    std::string result;
    con.run([&] { result = ENTERSTR("", 60, PURP_TABLE_NAME, false); });
    EXPECT_EQ(result, std::string(57, 'w'));  // the field ends at column 79
    EXPECT_EQ(con.row(3), std::string(22, ' ') + std::string(57, 'w'));
    EXPECT_EQ(con.row(2), "above");
    EXPECT_EQ(con.row(4), "below");
    EXPECT_EQ(con.cursor_y(), 3);
}

TEST(EnterStr, ALongPathScrollsSidewaysAndKeepsAll255Characters) {
    const std::string path = "/home/ana/research/zijes/" + std::string(226, 'x') + ".ZVT";
    ASSERT_EQ(path.size(), 255u);
    ScriptedConsole con(path + "more");
    ORDINARY_TEXT();
    GOTOXY(1, 4);
    write_text("below");
    GOTOXY(23, 3);
    std::string result;
    con.run_until_keys_run_out([&] { result = ENTERSTR("", 57, PURP_PATH, false); });
    // The end of the text and the cursor are in view; nothing spills out of the row.
    EXPECT_EQ(con.row(3), std::string(22, ' ') + std::string(53, 'x') + ".ZVT");
    EXPECT_EQ(con.cursor_x(), 80);
    EXPECT_EQ(con.row(4), "below");
}

TEST(EnterStr, ALong255CharacterDefaultPathCanBeEditedAtItsStart) {
    const std::string path = "/home/ana/research/zijes/" + std::string(226, 'x') + ".ZVT";
    ScriptedConsole edit("<home><del><ret>");
    ORDINARY_TEXT();
    GOTOXY(23, 3);
    std::string result;
    edit.run([&] { result = ENTERSTR(path, 57, PURP_PATH, false); });
    EXPECT_EQ(result, path.substr(1));
    EXPECT_EQ(edit.row(3), std::string(22, ' ') + path.substr(1, 57));
    EXPECT_EQ(edit.cursor_y(), 3);
}

TEST(EnterStr, ALongDefaultPathShowsItsEnd) {
    const std::string path = "/home/ana/" + std::string(100, 'y') + "/TOLEDAN.ZVT";
    ScriptedConsole con;
    GOTOXY(23, 3);
    con.run_until_keys_run_out([&] { ENTERSTR(path, 57, PURP_PATH, false); });
    EXPECT_EQ(con.row(3), std::string(22, ' ') + path.substr(path.size() - 57));
}

class SelectString : public ::testing::Test {
  protected:
    ScriptedConsole con;
    testing::TempDir dir;
    PATHSTRARRAY list{"", "/z/P1", "/z/P2", "/z/P3", "", ""};

    std::string select(const char* keys, bool isdir = false) {
        con.keys(keys);
        ORDINARY_TEXT();
        write_text("Read from which zij?  ");
        std::string s;
        con.run([&] { s = SELECTSTRING(&list, isdir); });
        return s;
    }
};

TEST(SelectStringWalk, UpAndDownWalkTheFilledEntries) {
    // Each Up shows the next entry; after the last filled one comes the first again.
    const std::pair<const char*, const char*> walks[] = {
        {"<up>", "/z/P2"},   {"<up><up>", "/z/P3"},     {"<up><up><up>", "/z/P1"},
        {"<down>", "/z/P3"}, {"<down><down>", "/z/P2"}, {"<up><down>", "/z/P1"}};
    for (const auto& [keys, shown] : walks) {
        ScriptedConsole con(keys);
        ORDINARY_TEXT();
        write_text("Read from which zij?  ");
        PATHSTRARRAY list{"", "/z/P1", "/z/P2", "/z/P3", "", ""};
        con.run_until_keys_run_out([&] { SELECTSTRING(&list, false); });
        EXPECT_EQ(con.row(1), "Read from which zij?  " + std::string(shown) + std::string(52, '.'))
            << keys;
        EXPECT_EQ(con.cursor_x(), 28) << keys;
    }
}

TEST_F(SelectString, ChoosingAnEntryMovesItToTheFront) {
    EXPECT_EQ(select("<up><up><ret>"), "/z/P3");
    EXPECT_EQ(list, (PATHSTRARRAY{"", "/z/P3", "/z/P1", "/z/P2", "", ""}));
    EXPECT_EQ(EXITCODE, 0);
}

TEST_F(SelectString, ANewNamePushesTheOthersDown) {
    EXPECT_EQ(select("/z/N<ret>"), "/z/N");
    EXPECT_EQ(list, (PATHSTRARRAY{"", "/z/N", "/z/P1", "/z/P2", "/z/P3", ""}));
    list[5] = "/z/P5";
    list[4] = "/z/P4";
    EXPECT_EQ(select("/z/M<ret>"), "/z/M");
    EXPECT_EQ(list, (PATHSTRARRAY{"", "/z/M", "/z/N", "/z/P1", "/z/P2", "/z/P4"}));
}

TEST_F(SelectString, NamesAreExpandedAgainstTheCurrentDirectoryAsTyped) {
    EXPECT_EQ(select("toledan tables<ret>"), dir.path() + "/toledan tables");
    EXPECT_EQ(list[1], dir.path() + "/toledan tables");
    list[1].clear();
    EXPECT_EQ(select("<ret>"), dir.path());  // an empty answer is the current directory
    EXPECT_EQ(select("/home/ana/zijes/<ret>", true), "/home/ana/zijes");
    EXPECT_EQ(select("/<ret>", true), "/");
    EXPECT_EQ(select("/home/<ret>", false), "/home/");
}

TEST_F(SelectString, EscapeLeavesTheListAsItWas) {
    const PATHSTRARRAY before = list;
    select("<up>abc<esc>");
    EXPECT_EQ(EXITCODE, ESCCODE);
    EXPECT_EQ(list, before);
}

}  // namespace
}  // namespace zorvat
