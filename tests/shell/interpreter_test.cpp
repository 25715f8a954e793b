#include "shell/interpreter.h"

#include <gtest/gtest.h>

#include "commands/commands.h"
#include "data/data_state.h"
#include "dialogue/toolkit.h"
#include "shell/configuration.h"
#include "shell/menus.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"

#include <fstream>

namespace zorvat {
namespace {

using testing::ScriptedConsole;
using testing::TempDir;

// Runs the command loop on a blank screen with the given keys until they run out.
void run_commands(ScriptedConsole& con) {
    ORDINARY_TEXT();
    EXPECT_TRUE(con.run_until_keys_run_out([] { COMMAND(); }));
}

// Runs the command loop until the keys run out or the program ends.
void run_until_quit(ScriptedConsole& con) {
    ORDINARY_TEXT();
    con.run_until_keys_run_out([] { COMMAND(); });
}

struct CommandCase {
    const char* keys;
    const char* echo;
    CommandProcedure procedure;
};

class CommandTable : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandTable, EchoesAndDispatches) {
    const auto& c = GetParam();
    ScriptedConsole con(c.keys);
    run_commands(con);
    EXPECT_EQ(con.row(1), std::string("ZORVAT> ") + c.echo);

    const std::string keys = c.keys;
    const char first = upcase(keys[0]);
    const char second = keys.size() > 1 ? upcase(keys[1]) : 0;
    const CommandEntry* entry = find_command(first, second);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->procedure, c.procedure);
}

INSTANTIATE_TEST_SUITE_P(
    Interpreter, CommandTable,
    ::testing::Values(
        CommandCase{"ca", "CA", CALCULATEALMANAC}, CommandCase{"cd", "CD", CHANGEDIRECTORY},
        CommandCase{"CM", "CM", COMPARE}, CommandCase{"cp", "CP", COPYTABLES},
        CommandCase{"da", "DA", DELETEALLTABLES}, CommandCase{"Df", "DF", DIFFERENCES},
        CommandCase{"dt", "DT", DELETETABLES}, CommandCase{"dz", "DZ", DELETEZIJ},
        CommandCase{"gt", "GT", GETTABLES}, CommandCase{"gZ", "GZ", GETZIJ},
        CommandCase{"i", "IT", INPUTTABLE}, CommandCase{"lb", "LB", LISTZIJESINBRANCH},
        CommandCase{"ln", "LNE", LEAST_NUMBER_OF_ERRORS},
        CommandCase{"ls", "LS", LEAST_SQUARES_ESTIMATION}, CommandCase{"lt", "LT", LISTTABLES},
        CommandCase{"lz", "LZ", LISTZIJES}, CommandCase{"mo", "MO", MODIFY},
        CommandCase{"mv", "MV", MOVETABLES}, CommandCase{"o", "OE", OPTIMUM_EPOCH_VALUE},
        CommandCase{"P", "PR", PRINTTABLES}, CommandCase{"rc", "RC", RECOMPUTE},
        CommandCase{"rn", "RN", RENUMBER}, CommandCase{"rz", "RZ", RENAMEZIJ},
        CommandCase{"se", "SE", SCRIBAL_ERRORS}, CommandCase{"sp", "SP", SPECIAL_FUNCTION},
        CommandCase{"sq", "SQ", SQUEEZE_PARAMETER}, CommandCase{"st", "ST", SAVETABLES},
        CommandCase{"sz", "SZ", SAVEZIJ}, CommandCase{"v", "VW", VIEWTABLE},
        CommandCase{"w", "WR", WRITETABLE}));

TEST(Interpreter, ALineBreakFollowsACommand) {
    ScriptedConsole con("rnrn");
    run_commands(con);
    EXPECT_EQ(con.rows(1, 5),
              (std::vector<std::string>{"ZORVAT> RN", "Renumbered. The number of tables is 0.",
                                        "ZORVAT> RN", "Renumbered. The number of tables is 0.",
                                        "ZORVAT>"}));
}

struct UnrecognisedCase {
    const char* keys;
    const char* row1;
};

class Unrecognised : public ::testing::TestWithParam<UnrecognisedCase> {};

TEST_P(Unrecognised, LeaveThePromptAsItWas) {
    ScriptedConsole con(GetParam().keys);
    run_commands(con);
    EXPECT_EQ(con.row(1), GetParam().row1);
    EXPECT_EQ(con.row(2), "");
    EXPECT_EQ(con.cursor_x(), 9);
    EXPECT_EQ(con.cursor_y(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Interpreter, Unrecognised,
    ::testing::Values(UnrecognisedCase{"x", "ZORVAT>"}, UnrecognisedCase{"dq", "ZORVAT>"},
                      UnrecognisedCase{"<ret><esc>f1", "ZORVAT>"},
                      UnrecognisedCase{"sf", "ZORVAT>"},  // the overview's SF is not a command
                      UnrecognisedCase{"c<up>", "ZORVAT>"},
                      UnrecognisedCase{"<up><a-x><f12>", "ZORVAT>"},
                      UnrecognisedCase{"xdxlq", "ZORVAT>"}));

TEST(Interpreter, TheFirstLetterOfATwoLetterCommandIsEchoedAtOnce) {
    ScriptedConsole con("d");
    run_commands(con);
    EXPECT_EQ(con.row(1), "ZORVAT> D");
    EXPECT_EQ(con.cursor_x(), 10);
}

TEST(Interpreter, AnExtendedKeyRewritesThePromptWithoutErasing) {
    ScriptedConsole con;
    write_text("ZORVAT> ");
    con.keys("<home>");
    ASSERT_TRUE(con.run([] { interpret_command(); }));
    EXPECT_EQ(con.cursor_x(), 1);
    EXPECT_EQ(con.row(1), "ZORVAT>");
}

TEST(Interpreter, AltDCyclesTheDisplayModeWithItsThreeMessages) {
    ScriptedConsole con("<a-d><a-d><a-d>");
    run_commands(con);
    EXPECT_EQ(con.rows(1, 7),
              (std::vector<std::string>{"ZORVAT> Displaymode set to signs.", "",
                                        "ZORVAT> Displaymode set to days and hours.", "",
                                        "ZORVAT> Displaymode set to degrees.", "", "ZORVAT>"}));
    EXPECT_EQ(DISPLAYMODE, DEGREES);
}

TEST(Interpreter, AltDAdvancesTheMode) {
    ScriptedConsole con("<a-d>");
    run_commands(con);
    EXPECT_EQ(DISPLAYMODE, SIGNS);
    con.keys("<a-d>");
    EXPECT_TRUE(con.run([] { interpret_command(); }));
    EXPECT_EQ(DISPLAYMODE, DAYSHOURS);
}

TEST(Interpreter, ClearScreenPutsThePromptOnRowOne) {
    ScriptedConsole con("carncs");
    run_commands(con);
    EXPECT_EQ(con.row(1), "ZORVAT>");
    EXPECT_EQ(con.row(2), "");
    EXPECT_EQ(con.cursor_y(), 1);
    EXPECT_EQ(con.attr(1, 1), 0x1E);
    EXPECT_EQ(con.attr(80, 25), 0x1E);
}

TEST(Interpreter, HelpKeysRedrawTheOverview) {
    for (const char* keys : {"h", "?", "<f1>", "H"}) {
        ScriptedConsole con(std::string("carnca") + keys);
        run_commands(con);
        const std::vector<std::string> screen = con.rows(1, 24);
        const int x = con.cursor_x(), y = con.cursor_y();
        ScriptedConsole reference;  // the console is one: this resets what con showed
        ORDINARY_TEXT();
        MAINMENU();
        std::vector<std::string> expected = reference.rows(1, 23);
        expected.push_back("ZORVAT>");
        EXPECT_EQ(screen, expected) << keys;
        EXPECT_EQ(x, 9) << keys;
        EXPECT_EQ(y, 24) << keys;
    }
}

TEST(Quit, WithAnEmptyZijQuitsAtOnceAndWritesTheConfiguration) {
    TempDir dir;
    ScriptedConsole con("<a-d>q");
    run_until_quit(con);
    EXPECT_TRUE(con.program_ended());
    EXPECT_EQ(con.exit_code(), 0);
    EXPECT_EQ(testing::read_file("zorvat.cfg").substr(0, 3), "1\r\n");
    EXPECT_EQ(con.row(1), "");
    EXPECT_EQ(con.attr(1, 1), 7);  // the colours of start-up again
}

TEST(Quit, WithEverySavedTableQuitsAtOnce) {
    TempDir dir;
    ScriptedConsole con("q");
    FIRSTTABLE = std::make_unique<TABLE>();
    FIRSTTABLE->SAVED = true;
    FIRSTTABLE->NEXT = std::make_unique<TABLE>();
    FIRSTTABLE->NEXT->SAVED = true;
    run_until_quit(con);
    EXPECT_TRUE(con.program_ended());
}

struct UnsavedCase {
    const char* keys;
    bool quits;
};

class QuitWithUnsavedTables : public ::testing::TestWithParam<UnsavedCase> {};

TEST_P(QuitWithUnsavedTables, AsksFirst) {
    TempDir dir;
    ScriptedConsole con(GetParam().keys);
    FIRSTTABLE = std::make_unique<TABLE>();
    FIRSTTABLE->SAVED = true;
    FIRSTTABLE->NEXT = std::make_unique<TABLE>();  // the second one is not saved
    run_until_quit(con);
    EXPECT_EQ(con.program_ended(), GetParam().quits);
    if (!GetParam().quits) {
        EXPECT_EQ(con.row(1), "ZORVAT> Q");
        EXPECT_EQ(con.row(2).substr(0, 46), "Not all tables have been saved. Quit?  (Y/N)  ");
        EXPECT_EQ(con.row(3), "");
        EXPECT_EQ(con.row(4), "ZORVAT>");
        EXPECT_EQ(con.cursor_y(), 4);
        EXPECT_FALSE(std::ifstream("zorvat.cfg").good());
    }
}

INSTANTIATE_TEST_SUITE_P(Interpreter, QuitWithUnsavedTables,
                         ::testing::Values(UnsavedCase{"q<ret>", false}, UnsavedCase{"qn", false},
                                           UnsavedCase{"q<esc>", false}, UnsavedCase{"qy", true},
                                           UnsavedCase{"QY", true}));

}  // namespace
}  // namespace zorvat
