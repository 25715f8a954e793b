#include "data/internal_zij.h"

#include <gtest/gtest.h>

#include "data/data_state.h"
#include "dialogue/toolkit.h"
#include "support/scripted_console.h"
#include "support/table_fixture.h"

namespace zorvat {
namespace {

using testing::add_table;
using testing::add_tables;
using testing::ScriptedConsole;
using testing::table_numbers;

TEST(InternalZij, InsertionNumbersTablesInOrder) {
    ScriptedConsole con;
    add_tables(3);
    EXPECT_EQ(table_numbers(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(NUMTABLES, 3);
    EXPECT_EQ(TABLENO, 3);
    EXPECT_EQ(LASTTABLE->NO, 3);
    EXPECT_EQ(FINDTABLE(2)->NAME, "T2");
    EXPECT_EQ(FINDTABLE(4), nullptr);
    EXPECT_TRUE(PRESENT(1));
    EXPECT_FALSE(PRESENT(0));
}

TEST(InternalZij, FindpKnowsTheMenuLetters) {
    const std::pair<char, PERIOD> letters[] = {{'F', FRA}, {'P', PAR}, {'H', HOU}, {'D', DAY},
                                               {'M', MON}, {'Z', ZOD}, {'E', EXT}, {'S', SI1},
                                               {'T', SI2}, {'C', COL}, {'X', NP1}, {'c', NP1}};
    for (const auto& [c, p] : letters)
        EXPECT_EQ(FINDP(c), p) << c;
}

TEST(InternalZij, MotionPerDayIsTheNearestExtendedValue) {
    EXPECT_EQ(MOTION_PER_DAY[1], 3548.0L / 3600.0L);
    EXPECT_EQ(MOTION_PER_DAY[2], 47435.0L / 3600.0L);
    EXPECT_EQ(MOTION_PER_DAY[14], 9.0L / 216000.0L);
}

struct LengthCase {
    int totnumval;
    std::vector<int> corrected;
    int bytes;
    int numcr;
};

class LengthTable : public ::testing::TestWithParam<LengthCase> {};

TEST_P(LengthTable, CountsFirstBlockAndValueBlocks) {
    const auto& c = GetParam();
    ScriptedConsole con;
    testing::TableSpec spec;
    if (c.totnumval > 0)
        spec.subtables = {
            {.period = DAY,
             .values = std::vector<std::string>(static_cast<std::size_t>(c.totnumval), "1;2")}};
    for (const int i : c.corrected)
        spec.corrections[i] = "9;9";
    auto t = testing::make_table(spec);
    EXPECT_EQ(LENGTHTABLE(*t), c.bytes);
    EXPECT_EQ(t->NUMCR, c.numcr);
    for (const int i : c.corrected)
        EXPECT_TRUE(t->CRSET.test(static_cast<std::size_t>(i)));
    EXPECT_EQ(static_cast<int>(t->CRSET.count()), c.numcr);
}

INSTANTIATE_TEST_SUITE_P(InternalZij, LengthTable,
                         ::testing::Values(LengthCase{0, {}, 458, 0}, LengthCase{15, {}, 458, 0},
                                           LengthCase{16, {}, 687, 0}, LengthCase{15, {2}, 687, 1},
                                           LengthCase{3, {0}, 458, 1}, LengthCase{200, {}, 3206, 0},
                                           LengthCase{200, {200}, 3206, 1}));

TEST(InternalZij, LengthTableForgetsStaleCorrectionsAndLengthZijSums) {
    ScriptedConsole con;
    TABLE* t = add_table(
        {.subtables = {{.period = DAY, .values = {"1;0", "2;0"}}}, .corrections = {{1, "1;1"}}});
    t->CRSET.set(150);
    t->NUMCR = 9;
    EXPECT_EQ(LENGTHTABLE(*t), 458);
    EXPECT_EQ(t->NUMCR, 1);
    EXPECT_FALSE(t->CRSET.test(150));
    add_table({.subtables = {{.period = DAY, .values = std::vector<std::string>(16, "0;1")}}});
    EXPECT_EQ(LENGTHZIJ(), 458 + 687);
}

struct RangeCase {
    const char* keys;
    int first, last;
    bool refused_once;  // "Incorrect range." was shown (with its pause) before
};

class EnterRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(EnterRange, ReadsARangeOrRefusesIt) {
    const auto& c = GetParam();
    ScriptedConsole con(c.keys);
    write_text("Copy which tables?  ");
    std::int16_t fst = -9, lst = -9;
    ASSERT_TRUE(con.run([&] { ENTERRANGE(fst, lst); }));
    EXPECT_EQ(fst, c.first);
    EXPECT_EQ(lst, c.last);
    EXPECT_EQ(EXITCODE, 0);
    EXPECT_EQ(con.cursor_y(), 2);
    EXPECT_EQ(con.time_ms(), c.refused_once ? 500 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    InternalZij, EnterRange,
    ::testing::Values(RangeCase{"5<ret>", 5, 5, false}, RangeCase{"3-7<ret>", 3, 7, false},
                      RangeCase{"-4<ret>", 1, 4, false}, RangeCase{"12-<ret>", 12, 250, false},
                      RangeCase{"<ret>", 1, 250, false}, RangeCase{"250<ret>", 250, 250, false},
                      RangeCase{"9-3<ret>", 9, 3, false}, RangeCase{"0-3<ret>2<ret>", 2, 2, true},
                      RangeCase{"7-300<ret>7-30<ret>", 7, 30, true},
                      RangeCase{"251<ret>-<ret>", 1, 250, true},
                      RangeCase{"1-2-3<ret>", 1, 23, false},
                      RangeCase{"12345678<ret>-<ret>", 1, 250, true},
                      RangeCase{"4x<left>1<home><del><ret>", 4, 4, false}));

TEST(EnterRangeScreen, ARefusedRangeIsClearedForTheNextTry) {
    ScriptedConsole con("0-3<ret>");
    write_text("Copy which tables?  ");
    con.run_until_keys_run_out([] {
        std::int16_t f = 0, l = 0;
        ENTERRANGE(f, l);
    });
    EXPECT_EQ(con.row(1), "Copy which tables?");
    EXPECT_EQ(con.cursor_x(), 21);
}

TEST(EnterRangeScreen, EscapeGivesAnEmptyRange) {
    ScriptedConsole con("12<esc>");
    std::int16_t f = 0, l = 0;
    ASSERT_TRUE(con.run([&] { ENTERRANGE(f, l); }));
    EXPECT_EQ(EXITCODE, ESCCODE);
    EXPECT_EQ(f, 1);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(con.cursor_y(), 2);
}

TEST(SelectTable, OneTableIsTakenWithoutAQuestion) {
    ScriptedConsole con;
    add_tables(1);
    bool mc = false;
    TABLE* t = nullptr;
    ASSERT_TRUE(con.run([&] { t = SELECTTABLE("Print", mc); }));
    EXPECT_EQ(t, FIRSTTABLE.get());
    EXPECT_EQ(con.row(1), "Print table 1");
    EXPECT_EQ(con.cursor_y(), 2);
}

TEST(SelectTable, TheQuestionBecomesAStatement) {
    ScriptedConsole con("7<ret>3<ret>");
    add_tables(4);
    bool mc = false;
    TABLE* t = nullptr;
    ASSERT_TRUE(con.run([&] { t = SELECTTABLE("Print", mc); }));
    EXPECT_EQ(t->NO, 3);
    EXPECT_EQ(con.row(1), "Print table 3");
    EXPECT_EQ(con.time_ms(), 0);  // 7 is refused as a digit: only 1..4 exist
}

TEST(SelectTable, AMissingNumberIsRefusedWithAPause) {
    ScriptedConsole con("2<ret>3<ret>");
    add_tables(3);
    FIRSTTABLE->NEXT = std::move(FIRSTTABLE->NEXT->NEXT);  // table 2 is gone
    --NUMTABLES;
    bool mc = false;
    TABLE* t = nullptr;
    ASSERT_TRUE(con.run([&] { t = SELECTTABLE("View", mc); }));
    EXPECT_EQ(t->NO, 3);
    EXPECT_EQ(con.time_ms(), 500);
    EXPECT_EQ(con.row(1), "View table 3");
}

TEST(SelectTable, WithAColonAndTheVersionQuestion) {
    ScriptedConsole con("c");
    add_tables(1);
    bool mc = true;
    TABLE* t = nullptr;
    ASSERT_TRUE(con.run([&] { t = SELECTTABLE("Table to be recomputed:", mc); }));
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(mc);
    EXPECT_EQ(con.row(1), "Table to be recomputed:  1   Corrected version");
}

TEST(SelectTable, EmptyZijAndEscape) {
    ScriptedConsole con("<esc>");
    bool mc = false;
    TABLE* t = FIRSTTABLE.get();
    ASSERT_TRUE(con.run([&] { t = SELECTTABLE("Print", mc); }));
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(con.row(1), "No tables present.");
    add_tables(2);
    ASSERT_TRUE(con.run([&] { t = SELECTTABLE("Print", mc); }));
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(con.row(2), "Print which table?");
    EXPECT_EQ(con.cursor_y(), 3);
}

TEST(SelectTableRange, EmptyOneAndManyTables) {
    ScriptedConsole con("2-9<ret>");
    std::int16_t f = 0, l = 0;
    ASSERT_TRUE(con.run([&] { SELECTTABLERANGE("Copy", f, l); }));
    EXPECT_EQ(EXITCODE, ESCCODE);
    EXPECT_EQ(con.row(1), "No tables present.");
    add_tables(1);
    ASSERT_TRUE(con.run([&] { SELECTTABLERANGE("Copy", f, l); }));
    EXPECT_EQ(EXITCODE, 0);
    EXPECT_EQ(f, 1);
    EXPECT_EQ(l, 1);
    EXPECT_EQ(con.row(2), "Copy table 1");
    add_tables(2);
    ASSERT_TRUE(con.run([&] { SELECTTABLERANGE("Copy", f, l); }));
    EXPECT_EQ(con.row(3), "Copy which tables?  2-9");
    EXPECT_EQ(f, 2);
    EXPECT_EQ(l, 3);  // lowered to TABLENO
}

}  // namespace
}  // namespace zorvat
