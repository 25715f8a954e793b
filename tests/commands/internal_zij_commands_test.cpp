#include <gtest/gtest.h>

#include "commands/commands.h"
#include "data/data_state.h"
#include "data/internal_zij.h"
#include "dialogue/toolkit.h"
#include "support/scripted_console.h"
#include "support/table_fixture.h"

namespace zorvat {
namespace {

using testing::add_table;
using testing::add_tables;
using testing::ScriptedConsole;
using testing::table_numbers;

std::vector<std::string> table_names() {
    std::vector<std::string> out;
    for (const TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        out.push_back(t->NAME);
    return out;
}

// Every table is owned once along the chain, LASTTABLE ends it and the counts agree.
void expect_list_sound() {
    int n = 0;
    const TABLE* last = nullptr;
    int previous = 0;
    for (const TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get()) {
        ++n;
        EXPECT_GT(t->NO, previous);
        EXPECT_LE(t->NO, TABLENO);
        previous = t->NO;
        last = t;
    }
    EXPECT_EQ(n, NUMTABLES);
    EXPECT_EQ(last, LASTTABLE);
}

TEST(DeleteTables, KeepsTheOtherNumbersAndTheNextTableGetsTheNextNumber) {
    ScriptedConsole con("2-3<ret>");
    add_tables(5);
    ASSERT_TRUE(con.run(DELETETABLES));
    EXPECT_EQ(con.row(1), "Delete which tables?  2-3");
    EXPECT_EQ(con.row(2), "2 tables were deleted.");
    EXPECT_EQ(table_numbers(), (std::vector<int>{1, 4, 5}));
    EXPECT_EQ(TABLENO, 5);
    add_tables(1);
    EXPECT_EQ(LASTTABLE->NO, 6);
    expect_list_sound();
}

TEST(DeleteTables, AtTheTopLowersTableno) {
    ScriptedConsole con("4-5<ret>");
    add_tables(5);
    ASSERT_TRUE(con.run(DELETETABLES));
    EXPECT_EQ(TABLENO, 3);
    EXPECT_EQ(LASTTABLE->NO, 3);
    add_tables(1);
    EXPECT_EQ(LASTTABLE->NO, 4);
    expect_list_sound();
}

TEST(DeleteTables, AsksOnlyForUnsavedTables) {
    ScriptedConsole con("1-2<ret>n");
    add_table({.name = "unsaved", .saved = false});
    add_table({.name = "saved"});
    add_tables(1);
    ASSERT_TRUE(con.run(DELETETABLES));
    EXPECT_EQ(con.row(2), "Table 1 has not been saved. Delete it?  (Y/N)  N");
    EXPECT_EQ(con.row(3), "Table 2 was deleted.");
    EXPECT_EQ(table_names(), (std::vector<std::string>{"unsaved", "T1"}));
    expect_list_sound();
}

TEST(DeleteTables, EscapeKeepsOnlyThatTable) {
    ScriptedConsole con("<ret><esc>y");
    add_table({.name = "a", .saved = false});
    add_table({.name = "b", .saved = false});
    ASSERT_TRUE(con.run(DELETETABLES));
    EXPECT_EQ(table_names(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(con.row(4), "Table 2 was deleted.");
    EXPECT_EQ(TABLENO, 1);
}

TEST(DeleteTables, MessagesForEmptyRangesAndRefusals) {
    ScriptedConsole con("7-9<ret>");
    add_tables(3);
    ASSERT_TRUE(con.run(DELETETABLES));
    EXPECT_EQ(con.row(2), "No tables in this range.");
    ScriptedConsole con2("n");
    add_table({.saved = false});
    ASSERT_TRUE(con2.run(DELETETABLES));
    EXPECT_EQ(con2.row(1), "Delete table 1");
    EXPECT_EQ(con2.row(3), "No tables deleted.");
    EXPECT_EQ(NUMTABLES, 1);
    ScriptedConsole con3("y");
    add_table({.saved = false});
    ASSERT_TRUE(con3.run(DELETETABLES));
    EXPECT_EQ(con3.row(3), "Table 1 was deleted.");
    EXPECT_EQ(NUMTABLES, 0);
    EXPECT_EQ(TABLENO, 0);
    EXPECT_EQ(FIRSTTABLE, nullptr);
    EXPECT_EQ(LASTTABLE, nullptr);
    ScriptedConsole con4;
    ASSERT_TRUE(con4.run(DELETETABLES));
    EXPECT_EQ(con4.row(1), "No tables present.");
}

TEST(MoveTables, KeepsOrderAndRenumbers) {
    ScriptedConsole con("2-3<ret>");
    add_tables(5);
    ASSERT_TRUE(con.run(MOVETABLES));
    EXPECT_EQ(table_numbers(), (std::vector<int>{1, 4, 5, 6, 7}));
    EXPECT_EQ(table_names(), (std::vector<std::string>{"T1", "T4", "T5", "T2", "T3"}));
    EXPECT_EQ(con.row(2), "2 tables were moved. Their new numbers are 6 to 7.");
    expect_list_sound();
    write_line();
    ASSERT_TRUE(con.run(RENUMBER));
    EXPECT_EQ(table_numbers(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(table_names(), (std::vector<std::string>{"T1", "T4", "T5", "T2", "T3"}));
    EXPECT_EQ(TABLENO, 5);
    EXPECT_EQ(con.row(3), "Renumbered. The number of tables is 5.");
}

struct MoveCase {
    const char* keys;
    std::vector<int> numbers;
    std::vector<std::string> names;
    const char* report;
};

class MoveRanges : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveRanges, OfFiveTables) {
    ScriptedConsole con(GetParam().keys);
    add_tables(5);
    ASSERT_TRUE(con.run(MOVETABLES));
    EXPECT_EQ(table_numbers(), GetParam().numbers);
    EXPECT_EQ(table_names(), GetParam().names);
    EXPECT_EQ(con.row(2), GetParam().report);
    expect_list_sound();
}

INSTANTIATE_TEST_SUITE_P(
    InternalZijCommands, MoveRanges,
    ::testing::Values(MoveCase{"5<ret>",
                               {1, 2, 3, 4, 6},
                               {"T1", "T2", "T3", "T4", "T5"},
                               "1 table was moved. Its new number is 6."},
                      MoveCase{"4-5<ret>",
                               {1, 2, 3, 6, 7},
                               {"T1", "T2", "T3", "T4", "T5"},
                               "2 tables were moved. Their new numbers are 6 to 7."},
                      MoveCase{"<ret>",
                               {6, 7, 8, 9, 10},
                               {"T1", "T2", "T3", "T4", "T5"},
                               "5 tables were moved. Their new numbers are 6 to 10."},
                      MoveCase{"1<ret>",
                               {2, 3, 4, 5, 6},
                               {"T2", "T3", "T4", "T5", "T1"},
                               "1 table was moved. Its new number is 6."},
                      MoveCase{"8-9<ret>",
                               {1, 2, 3, 4, 5},
                               {"T1", "T2", "T3", "T4", "T5"},
                               "No tables in this range."}));

TEST(CopyTables, AppendsCopiesWithTheNextNumbers) {
    ScriptedConsole con("1-2<ret>");
    add_tables(2);
    add_table({.name = "unsaved",
               .subtables = {{.period = DAY, .values = {"1;2", "3;4"}}},
               .corrections = {{1, "1;3"}},
               .saved = false});
    ASSERT_TRUE(con.run(COPYTABLES));
    EXPECT_EQ(con.row(2), "2 tables were copied. The numbers of the copies are 4 to 5.");
    EXPECT_EQ(table_names(), (std::vector<std::string>{"T1", "T2", "unsaved", "T1", "T2"}));
    EXPECT_TRUE(FINDTABLE(4)->SAVED);
    expect_list_sound();
    ScriptedConsole one("3<ret>");
    add_tables(2);
    add_table({.name = "unsaved",
               .subtables = {{.period = DAY, .values = {"1;2", "3;4"}}},
               .corrections = {{1, "1;3"}},
               .saved = false});
    ASSERT_TRUE(one.run(COPYTABLES));
    EXPECT_EQ(one.row(2), "1 table was copied. The copy has number 4.");
    const TABLE* copy = FINDTABLE(4);
    const TABLE* source = FINDTABLE(3);
    EXPECT_FALSE(copy->SAVED);
    EXPECT_EQ(copy->MS, source->MS);
    EXPECT_EQ(copy->CR, source->CR);
    EXPECT_EQ(copy->INFOLIST, source->INFOLIST);
    EXPECT_EQ(copy->TOTNUMVAL, 2);
}

TEST(CopyTables, OneTableWithoutARangeQuestionAndEmptyRanges) {
    ScriptedConsole con;
    add_tables(1);
    ASSERT_TRUE(con.run(COPYTABLES));
    EXPECT_EQ(con.row(1), "Copy table 1");
    EXPECT_EQ(con.row(2), "1 table was copied. The copy has number 2.");
    ScriptedConsole con2("5-7<ret>");
    add_tables(2);
    ASSERT_TRUE(con2.run(COPYTABLES));
    EXPECT_EQ(con2.row(2), "No tables in this range.");
    EXPECT_EQ(NUMTABLES, 2);
}

TEST(TableNumbers, CopyAndMoveRefuseToPass32767) {
    ScriptedConsole con("1-2<ret>");
    add_tables(2);
    TABLENO = 32766;
    ASSERT_TRUE(con.run(COPYTABLES));
    EXPECT_EQ(NUMTABLES, 2);
    EXPECT_EQ(TABLENO, 32766);
    EXPECT_NE(con.row(2).find("32767"), std::string::npos);
    con.keys("1-2<ret>");
    ASSERT_TRUE(con.run(MOVETABLES));
    EXPECT_EQ(table_numbers(), (std::vector<int>{1, 2}));
    con.keys("1<ret>");
    ASSERT_TRUE(con.run(MOVETABLES));  // one more number is still there
    EXPECT_EQ(table_numbers(), (std::vector<int>{2, 32767}));
    expect_list_sound();
}

TEST(DeleteAllTables, AsksOnlyWhenSomethingIsUnsaved) {
    ScriptedConsole con;
    ASSERT_TRUE(con.run(DELETEALLTABLES));
    EXPECT_EQ(con.row(1), "The internal zij was empty.");
    ScriptedConsole con2;
    add_tables(3);
    ASSERT_TRUE(con2.run(DELETEALLTABLES));
    EXPECT_EQ(con2.row(1), "The internal zij is empty.");
    EXPECT_EQ(NUMTABLES, 0);
    EXPECT_EQ(TABLENO, 0);
    EXPECT_EQ(LASTTABLE, nullptr);
    add_tables(1);
    EXPECT_EQ(LASTTABLE->NO, 1);
}

class DeleteAllUnsaved : public ::testing::TestWithParam<std::pair<const char*, bool>> {};

TEST_P(DeleteAllUnsaved, DeletesOnlyAfterYes) {
    ScriptedConsole con(GetParam().first);
    add_tables(2);
    add_table({.saved = false});
    ASSERT_TRUE(con.run(DELETEALLTABLES));
    EXPECT_EQ(con.row(1).substr(0, 59),
              "Not all tables have been saved. Delete all tables?  (Y/N)  ");
    EXPECT_EQ(NUMTABLES, GetParam().second ? 0 : 3);
    EXPECT_EQ(con.row(2), GetParam().second ? "The internal zij is empty." : "");
    EXPECT_EQ(con.cursor_y(), 2);
}

INSTANTIATE_TEST_SUITE_P(InternalZijCommands, DeleteAllUnsaved,
                         ::testing::Values(std::pair{"y", true}, std::pair{"<ret>", false},
                                           std::pair{"<esc>", false}, std::pair{"n", false}));

TEST(Renumber, AnEmptyZij) {
    ScriptedConsole con;
    TABLENO = 4;
    ASSERT_TRUE(con.run(RENUMBER));
    EXPECT_EQ(con.row(1), "Renumbered. The number of tables is 0.");
    EXPECT_EQ(TABLENO, 0);
}

TEST(ListTables, MarksUnsavedTables) {
    ScriptedConsole con("<ret>");
    add_table({.name = "Sun"});
    add_table({.name = "Moon", .saved = false});
    ASSERT_TRUE(con.run(LISTTABLES));
    EXPECT_EQ(con.rows(1, 5), (std::vector<std::string>{
                                  "List which tables?",
                                  "In the specified range the following tables are present:", "",
                                  " 1    Sun", " 2 *  Moon"}));
    ScriptedConsole empty;
    ASSERT_TRUE(empty.run(LISTTABLES));
    EXPECT_EQ(empty.row(1), "No tables are present.");
    ScriptedConsole none("5<ret>");
    add_tables(2);
    ASSERT_TRUE(none.run(LISTTABLES));
    EXPECT_EQ(none.row(2), "There are no tables in this range.");
}

TEST(ListTables, ThirtyTablesPauseAfter22Lines) {
    ScriptedConsole at_pause("<ret>");
    add_tables(30);
    at_pause.run_until_keys_run_out(LISTTABLES);
    EXPECT_EQ(at_pause.row(25), std::string(40, ' ') + "Press any key to continue");
    EXPECT_EQ(at_pause.row(24), "22    T22");
    EXPECT_EQ(at_pause.row(3), " 1    T1");  // the listing has scrolled by one row
    ScriptedConsole after("<ret>x");
    add_tables(30);
    ASSERT_TRUE(after.run(LISTTABLES));
    EXPECT_EQ(after.row(25), "");
    EXPECT_EQ(after.row(24), "30    T30");
    EXPECT_EQ(after.row(17), "23    T23");
    EXPECT_EQ(after.cursor_y(), 25);
}

TEST(ListTables, EscapeAtThePauseEndsTheListing) {
    ScriptedConsole con("<ret><esc>");
    add_tables(30);
    ASSERT_TRUE(con.run(LISTTABLES));
    EXPECT_EQ(con.row(24), "22    T22");
    EXPECT_EQ(con.row(25), "");
    EXPECT_EQ(con.cursor_x(), 1);
    EXPECT_EQ(con.cursor_y(), 25);
}

}  // namespace
}  // namespace zorvat
