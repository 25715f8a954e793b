// The external zij commands on real files in a fresh directory, driven by scripted keys.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "commands/commands.h"
#include "commands/external_zij.h"
#include "data/data_state.h"
#include "data/internal_zij.h"
#include "data/zij_file.h"
#include "dialogue/toolkit.h"
#include "platform/files.h"
#include "shell/program.h"
#include "support/scripted_console.h"
#include "support/table_fixture.h"
#include "support/temp_dir.h"

namespace zorvat {
namespace {

namespace fs = std::filesystem;
using testing::add_table;
using testing::add_tables;
using testing::make_table;
using testing::read_file;
using testing::ScriptedConsole;
using testing::TableSpec;
using testing::TempDir;
using testing::write_file;

TableSpec named(const std::string& name, int values = 2) {
    TableSpec s{.name = name};
    testing::SubtableSpec sub{.period = DAY};
    for (int i = 1; i <= values; ++i)
        sub.values.push_back(std::to_string(i) + ";0,13");
    if (values > 0) s.subtables.push_back(sub);
    return s;
}

std::string bytes_of(const std::vector<TableSpec>& specs) {
    std::string bytes;
    for (const auto& s : specs)
        bytes += encode_table_blocks(*make_table(s));
    return bytes;
}

void write_zij(const std::string& file, const std::vector<TableSpec>& specs) {
    write_file(file, bytes_of(specs));
}

std::vector<std::string> names_in_zij() {
    std::vector<std::string> out;
    for (const TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        out.push_back(t->NAME);
    return out;
}

std::string here(const std::string& name) {
    return current_directory() + "/" + name;
}

int files_in(const std::string& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++n;
    return n;
}

// --- GT ----------------------------------------------------------------------------------

struct Answer {
    const char* keys;
    bool reads;
    char echo;
};

class GetOneTable : public ::testing::TestWithParam<Answer> {};

TEST_P(GetOneTable, AsksYesOrNoInsteadOfARange) {
    TempDir dir;
    write_zij("SUN.ZVT", {named("Sun")});
    ScriptedConsole con(std::string("SUN<ret>") + GetParam().keys);
    ASSERT_TRUE(con.run(GETTABLES));
    const std::string name = here("SUN.ZVT");
    EXPECT_EQ(con.row(1), "Read from which zij?  SUN");
    EXPECT_EQ(con.row(2), "");
    EXPECT_EQ(con.row(3), name + " contains the following tables:");
    EXPECT_EQ(con.row(4), " 1   Sun");
    EXPECT_EQ(con.row(5), "");
    if (GetParam().reads) {
        EXPECT_EQ(con.row(6), "Read table 1 from " + name + "?  (Y / N)  " + GetParam().echo);
        EXPECT_EQ(con.row(7), "1 table was read from the file " + name + ".");
        EXPECT_EQ(con.row(8), "The number of this table is 1.");
        ASSERT_EQ(NUMTABLES, 1);
        EXPECT_TRUE(FIRSTTABLE->SAVED);
        EXPECT_EQ(FIRSTTABLE->FILENAME, name);
    } else {
        EXPECT_EQ(con.row(7), "");
        EXPECT_EQ(NUMTABLES, 0);
    }
    EXPECT_FALSE(is_open(F));
}

INSTANTIATE_TEST_SUITE_P(Answers, GetOneTable,
                         ::testing::Values(Answer{"y", true, 'Y'}, Answer{"1", true, '1'},
                                           Answer{"<ret>", true, 'Y'}, Answer{"x<ret>", true, 'Y'},
                                           Answer{"n", false, 'N'}, Answer{"<esc>", false, 0}));

struct RangeCase {
    const char* range;
    std::vector<std::string> read;
    std::string message;
};

class GetRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(GetRange, OnAZijOfThreeTables) {
    TempDir dir;
    write_zij("Z.ZVT", {named("T1"), named("T2", 0), named("T3", 40)});
    ScriptedConsole con(std::string("Z<ret>") + GetParam().range + "<ret>");
    ASSERT_TRUE(con.run(GETTABLES));
    EXPECT_EQ(con.row(7), "");
    EXPECT_EQ(con.row(8), "Read which tables from " + here("Z.ZVT") + "?  " + GetParam().range);
    std::string message = GetParam().message;
    if (const auto at = message.find("{}"); at != std::string::npos)
        message.replace(at, 2, here("Z.ZVT"));
    EXPECT_EQ(con.row(9), message);
    EXPECT_EQ(names_in_zij(), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, GetRange,
    ::testing::Values(RangeCase{"5", {}, "Incorrect table number."},
                      RangeCase{"5-9", {}, "This range does not contain any tables."},
                      RangeCase{"2-9", {"T2", "T3"}, "2 tables were read from the file {}."},
                      RangeCase{"3", {"T3"}, "1 table was read from the file {}."},
                      RangeCase{"-", {"T1", "T2", "T3"}, "3 tables were read from the file {}."}));

TEST(GetTables, NumbersContinueThoseOfTheInternalZij) {
    TempDir dir;
    write_zij("Z.ZVT", {named("A"), named("B"), named("C")});
    ScriptedConsole con("Z<ret><ret>");
    add_tables(4);
    ASSERT_TRUE(con.run(GETTABLES));
    EXPECT_EQ(con.row(9), "3 tables were read from the file " + here("Z.ZVT") + ".");
    EXPECT_EQ(con.row(10), "The numbers of these tables are 5 to 7.");
    EXPECT_EQ(testing::table_numbers(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

// Bytes of one block, assembled field by field from the layout, not by the program's writer.
struct RawBlock {
    std::string b = std::string(229, '\0');
    RawBlock& u8(std::size_t at, int v) {
        b[at] = static_cast<char>(v);
        return *this;
    }
    RawBlock& i16(std::size_t at, int v) { return u8(at, v & 0xFF).u8(at + 1, (v >> 8) & 0xFF); }
    RawBlock& i32(std::size_t at, long long v) {
        for (std::size_t k = 0; k < 4; ++k)
            u8(at + k, static_cast<int>((v >> (8 * k)) & 0xFF));
        return *this;
    }
    // An SXG of degrees and places.
    RawBlock& sxg(std::size_t at, int degrees, std::vector<int> places) {
        i32(at, degrees);
        for (std::size_t k = 0; k < places.size(); ++k)
            u8(at + 4 + k, places[k]);
        return *this;
    }
    RawBlock& text(std::size_t at, const std::string& s) {
        u8(at, static_cast<int>(s.size()));
        for (std::size_t k = 0; k < s.size(); ++k)
            b[at + 1 + k] = s[k];
        return *this;
    }
};

TEST(GetTables, AZijAssembledFromTheLayoutReadsAsItSays) {
    TempDir dir;
    // A Julian table of a days subtable of 3 values (indices 1..3) and one correction at 2.
    RawBlock first;
    first.u8(0, 1)
        .text(1, "Mars")
        .sxg(62, 0, {31, 26, 38})
        .u8(76, 'J')
        .u8(77, 0x10)         // INTERCALATION {4}
        .i16(81 + 33 + 0, 0)  // DAY: OFFSET 0
        .i16(81 + 33 + 2, 3)  // NUMVAL 3
        .i16(81 + 33 + 4, 2)  // NUMSEX 2
        .i16(81 + 33 + 8, 1)  // STEP 1
        .u8(81 + 33 + 10, 1)  // EPOCH_GIVEN
        .u8(191, 0x04)        // CRSET {2}
        .i16(217, 3)
        .i16(219, 2)
        .i32(221, 0x80000030);
    RawBlock values;
    values.u8(0, 0)
        .sxg(1, 0, {})         // MS[0]
        .sxg(15, 0, {31, 27})  // MS[1]
        .sxg(29, 1, {2, 53})   // MS[2]
        .sxg(43, 1, {2, 54})   // CR[2]
        .sxg(57, 1, {34, 20})  // MS[3]
        .i32(225, 0x80000030);
    write_file("MARS.ZVT", first.b + values.b);
    ScriptedConsole con("MARS<ret>y");
    ASSERT_TRUE(con.run(GETTABLES));
    EXPECT_EQ(con.row(4), " 1   Mars");
    ASSERT_EQ(NUMTABLES, 1);
    const TABLE& t = *FIRSTTABLE;
    EXPECT_EQ(t.NAME, "Mars");
    EXPECT_EQ(t.ERA, 'J');
    EXPECT_EQ(t.MPD, testing::sxg("0;31,26,38"));
    EXPECT_EQ(t.INTERCALATION, SET30().set(4).set(11));  // adjusted: the year begins in January
    EXPECT_EQ(t.INFOLIST[DAY], (INFORECORD{0, 3, 2, 0, 1, true}));
    EXPECT_EQ(t.TOTNUMVAL, 3);
    EXPECT_EQ(t.CRSET, SET200().set(2));
    EXPECT_EQ(t.NUMCR, 1);
    EXPECT_EQ(t.MS[1], testing::sxg("0;31,27"));
    EXPECT_EQ(t.CR[1], testing::sxg("0;31,27"));
    EXPECT_EQ(t.MS[2], testing::sxg("1;2,53"));
    EXPECT_EQ(t.CR[2], testing::sxg("1;2,54"));
    EXPECT_EQ(t.MS[3], testing::sxg("1;34,20"));
    EXPECT_EQ(t.CR[3], t.MS[3]);
    // And the program writes the very same bytes back.
    EXPECT_EQ(encode_table_blocks(t).substr(1, 76), first.b.substr(1, 76));
    EXPECT_EQ(encode_table_blocks(t).substr(81), (first.b + values.b).substr(81));
}

TEST(GetTables, AZijThatCannotBeListedGivesNoTable) {
    TempDir dir;
    std::string bytes = bytes_of({named("A"), named("B")});
    bytes[229 * 2] = 0;  // the second table's first block becomes a value block
    write_file("BAD.ZVT", bytes);
    ScriptedConsole con("BAD<ret>");
    ASSERT_TRUE(con.run(GETTABLES));
    EXPECT_EQ(con.row(4), " 1   A");
    EXPECT_EQ(con.row(5), "Disk read error. No table was read.");
    EXPECT_EQ(NUMTABLES, 0);
    EXPECT_FALSE(is_open(F));
}

TEST(GetTables, KeepsTheTablesReadBeforeAnUnreadableOne) {
    TempDir dir;
    std::string bytes = bytes_of({named("A"), named("B"), named("C")});
    bytes[229 * 2 + 81 + 33 + 2] = '\xff';  // B: a NUMVAL of -1 (NUMBLOCKS still right)
    bytes[229 * 2 + 81 + 33 + 3] = '\xff';
    write_file("Z.ZVT", bytes);
    ScriptedConsole con("Z<ret><ret>");
    ASSERT_TRUE(con.run(GETTABLES));
    EXPECT_EQ(con.row(9), "Disk read error.");
    EXPECT_EQ(con.row(10), "1 table was read from the file " + here("Z.ZVT") + ".");
    EXPECT_EQ(names_in_zij(), std::vector<std::string>{"A"});
}

TEST(GetTables, TheListingPausesEvery24TablesAndEscapeOnlyStopsShowing) {
    TempDir dir;
    std::vector<TableSpec> specs;
    for (int i = 1; i <= 50; ++i)
        specs.push_back(named("T" + std::to_string(i), i % 3));
    write_zij("MANY.ZVT", specs);
    ScriptedConsole con("MANY<ret>");
    con.keys("x");      // the pause after 24 tables
    con.keys("<esc>");  // the pause after 48: no more names shown
    con.keys("49-50<ret>");
    ASSERT_TRUE(con.run(GETTABLES));
    EXPECT_TRUE(con.showed(std::string(53, ' ') + "Press any key to continue"));
    EXPECT_TRUE(con.showed("48   T48"));
    EXPECT_FALSE(con.showed("49   T49"));
    EXPECT_EQ(names_in_zij(), (std::vector<std::string>{"T49", "T50"}));
}

TEST(GetTables, TablesWithoutValuesAreSkippedAsTheyAreRead) {
    TempDir dir;
    // An empty table as files written before carry it: NUMBLOCKS 2 but its first block alone.
    std::string empty = bytes_of({named("Empty", 0)});
    empty[219] = 2;
    write_file("Z.ZVT", empty + bytes_of({named("Full", 20)}) + empty);
    ScriptedConsole con("Z<ret>2-3<ret>");
    ASSERT_TRUE(con.run(GETTABLES));
    EXPECT_EQ(names_in_zij(), (std::vector<std::string>{"Full", "Empty"}));
    EXPECT_EQ(FIRSTTABLE->MS[20], testing::sxg("20;0,13"));
    EXPECT_EQ(LASTTABLE->TOTNUMVAL, 0);
}

// --- The name of a zij ---------------------------------------------------------------------

struct NameCase {
    const char* typed;
    bool opens;
};

class ZijNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ZijNames, OnlyAnEmptyOrUpperCaseZvtExtensionPasses) {
    TempDir dir;
    write_zij("TABLES.ZVT", {named("A")});
    write_zij("tables.zvt", {named("a")});
    write_zij("TABLES.TXT", {named("t")});
    ScriptedConsole con(std::string(GetParam().typed) + "<ret>" +
                        (GetParam().opens ? "n" : "<esc>"));
    ASSERT_TRUE(con.run(GETZIJ));
    if (GetParam().opens) {
        EXPECT_EQ(con.row(2), "1 table was read from the file " + here("TABLES.ZVT") + ".");
    } else {
        EXPECT_TRUE(con.showed("Read from which zij?  Incorrect name of zij."));
        EXPECT_EQ(con.row(2), "");
        EXPECT_EQ(NUMTABLES, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, ZijNames,
                         ::testing::Values(NameCase{"TABLES", true}, NameCase{"TABLES.ZVT", true},
                                           NameCase{"TABLES.TXT", false}, NameCase{".ZVT", false},
                                           NameCase{"tables.zvt", false},
                                           NameCase{"TABLES.", false}, NameCase{"sub/", false}));

TEST(CommandLine, TheNamedZijIsReadAtStartWithoutAQuestion) {
    TempDir dir;
    write_zij("abc.ZVT", {named("A"), named("B")});
    ScriptedConsole con("<ret>");
    EXPECT_TRUE(con.run_until_keys_run_out([] { RUN_PROGRAM(std::string("abc")); }));
    EXPECT_EQ(names_in_zij(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(PARAM, "");
    EXPECT_FALSE(con.showed("Read from which zij?  "));
}

TEST(CommandLine, ALowerCaseExtensionIsRefusedOnceAndNotAskedAgain) {
    TempDir dir;
    write_zij("abc.zvt", {named("A")});
    ScriptedConsole con;
    EXPECT_TRUE(con.run_until_keys_run_out([] { RUN_PROGRAM(std::string("abc.zvt")); }));
    EXPECT_TRUE(con.showed("Incorrect name of zij."));
    EXPECT_EQ(NUMTABLES, 0);
    EXPECT_EQ(PARAM, "");
    EXPECT_EQ(con.row(24), "ZORVAT>");
}

TEST(CommandLine, AMissingZijShowsItsMessageAndThePromptFollows) {
    TempDir dir;
    ScriptedConsole con;
    EXPECT_TRUE(con.run_until_keys_run_out([] { RUN_PROGRAM(std::string("nothing")); }));
    EXPECT_TRUE(con.showed("File not found."));
    EXPECT_EQ(con.row(24), "ZORVAT>");
}

struct OpenCase {
    const char* what;
    std::string content;  // of Z.ZVT; "dir" makes it a directory, "none" leaves it out
    const char* typed;
    std::string message;  // empty: the zij opens
};

class OpenForLoad : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenForLoad, RefusesWhatItCannotOpen) {
    TempDir dir;
    const OpenCase& c = GetParam();
    if (c.content == "dir") {
        fs::create_directory("Z.ZVT");
    } else if (c.content == "fifo") {
        ASSERT_EQ(::mkfifo("Z.ZVT", 0644), 0);  // opening must not wait for a writer
    } else if (c.content != "none") {
        write_file("Z.ZVT", c.content);
    }
    ScriptedConsole con(std::string(c.typed) + "<ret><esc>");
    std::string name;
    ASSERT_TRUE(con.run([&] { name = OPENFORLOAD(); }));
    if (c.message.empty()) {
        EXPECT_EQ(name, here("Z.ZVT")) << c.what;
        EXPECT_TRUE(con.keys_left());
    } else {
        EXPECT_EQ(name, "") << c.what;
        EXPECT_TRUE(con.showed(c.message)) << c.what;
        EXPECT_EQ(con.row(1), "") << c.what;  // the message is gone again
        EXPECT_GE(con.time_ms(), 500) << c.what;
    }
    EXPECT_EQ(is_open(F), c.message.empty());
    close_zij();
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenForLoad,
    ::testing::Values(OpenCase{"empty", "", "Z", ""},
                      OpenCase{"two blocks", std::string(458, '\0'), "Z", ""},
                      OpenCase{"203 and 229", std::string(46487, '\0'), "Z", ""},
                      OpenCase{"old format", std::string(406, '\0'), "Z",
                               "Old file format (use ZVCONV to convert)."},
                      OpenCase{"missing", "none", "Z", "File not found."},
                      OpenCase{"no such directory", "none", "nodir/Z", "Path not found."},
                      OpenCase{"a directory", "dir", "Z", "File access denied."},
                      OpenCase{"a pipe", "fifo", "Z", "File access denied."}));

TEST(OpenForLoad, OpensForReadingOnly) {
    TempDir dir;
    write_zij("Z.ZVT", {named("A")});
    ::chmod("Z.ZVT", 0444);
    ScriptedConsole con("Z<ret>");
    std::string name;
    ASSERT_TRUE(con.run([&] { name = OPENFORLOAD(); }));
    ASSERT_TRUE(is_open(F));
    EXPECT_EQ(::fcntl(F.fd, F_GETFL) & O_ACCMODE, O_RDONLY);
    close_zij();
}

// --- GZ ------------------------------------------------------------------------------------

TEST(GetZij, AnEmptyZijGivesZeroTables) {
    TempDir dir;
    write_file("E.ZVT", "");
    ScriptedConsole con("E<ret>");
    ASSERT_TRUE(con.run(GETZIJ));
    EXPECT_EQ(con.row(2), "0 tables were read from the file " + here("E.ZVT") + ".");
}

TEST(GetZij, ReadsEveryTableUnadjustedAndKeepsThoseBeforeADamagedOne) {
    TempDir dir;
    TableSpec julian = named("Julian");
    julian.era = 'J';
    std::string bytes = bytes_of({julian, named("B", 0), named("C", 30)});
    bytes.resize(bytes.size() - 229);  // C is cut short
    write_file("Z.ZVT", bytes);
    ScriptedConsole con("Z<ret>");
    ASSERT_TRUE(con.run(GETZIJ));
    EXPECT_EQ(con.row(2), "Disk read error.");
    EXPECT_EQ(con.row(3), "2 tables were read from the file " + here("Z.ZVT") + ".");
    EXPECT_EQ(names_in_zij(), (std::vector<std::string>{"Julian", "B"}));
    EXPECT_TRUE(FIRSTTABLE->INTERCALATION.none());
    EXPECT_FALSE(is_open(F));
}

// --- ST and SZ -----------------------------------------------------------------------------

TEST(SaveTables, SavesTheRangeIntoANewZijAndMarksThoseTables) {
    TempDir dir;
    ScriptedConsole con("2-3<ret>NEW<ret>");
    for (const char* n : {"A", "B", "C", "D"})
        add_table(named(n));
    for (TABLE* t = FIRSTTABLE.get(); t; t = t->NEXT.get())
        t->SAVED = false;
    FINDTABLE(3)->CR[1] = testing::sxg("9;9");  // a correction LENGTHTABLE must find
    ASSERT_TRUE(con.run(SAVETABLES));
    EXPECT_EQ(con.row(1), "Save which tables?  2-3");
    EXPECT_EQ(con.row(2), "Save in which zij?  NEW");
    EXPECT_EQ(con.row(3), "2 tables were saved in the file " + here("NEW.ZVT") + ".");
    EXPECT_EQ(read_file("NEW.ZVT"),
              encode_table_blocks(*FINDTABLE(2)) + encode_table_blocks(*FINDTABLE(3)));
    EXPECT_EQ(FINDTABLE(3)->NUMCR, 1);
    for (int n : {1, 2, 3, 4}) {
        EXPECT_EQ(FINDTABLE(static_cast<std::int16_t>(n))->SAVED, n == 2 || n == 3) << n;
        EXPECT_EQ(FINDTABLE(static_cast<std::int16_t>(n))->FILENAME,
                  n == 2 || n == 3 ? here("NEW.ZVT") : "")
            << n;
    }
    EXPECT_EQ(files_in(dir.path()), 1);
}

TEST(SaveTables, AppendsToAnExistingZijWithoutAQuestion) {
    TempDir dir;
    write_zij("OLD.ZVT", {named("Old")});
    const std::string before = read_file("OLD.ZVT");
    ScriptedConsole con("OLD<ret>");
    add_table(named("New"));
    ASSERT_TRUE(con.run(SAVETABLES));
    EXPECT_EQ(con.row(2), "Save in which zij?  OLD");
    EXPECT_EQ(con.row(3), "1 table was saved in the file " + here("OLD.ZVT") + ".");
    EXPECT_EQ(read_file("OLD.ZVT"), before + encode_table_blocks(*FIRSTTABLE));
}

TEST(SaveTables, RefusesToAppendToAZijOfBrokenBlocks) {
    TempDir dir;
    write_file("ODD.ZVT", bytes_of({named("A")}) + "xyz");
    ScriptedConsole con("ODD<ret>");
    add_table(named("New"));
    FIRSTTABLE->SAVED = false;
    ASSERT_TRUE(con.run(SAVETABLES));
    EXPECT_EQ(con.row(3), std::string(NOT_WHOLE_BLOCKS));
    EXPECT_EQ(read_file("ODD.ZVT").size(), 2u * 229 + 3);
    EXPECT_FALSE(FIRSTTABLE->SAVED);
    EXPECT_FALSE(is_open(F));
}

TEST(SaveZij, AnEmptyInternalZijAsksForNoFile) {
    TempDir dir;
    ScriptedConsole con;
    ASSERT_TRUE(con.run(SAVEZIJ));
    EXPECT_EQ(con.row(1), "No tables present.");
    EXPECT_EQ(files_in(dir.path()), 0);
}

struct SzCase {
    const char* keys;
    bool overwritten;
    bool saved;
};

class SaveZijOnAnExistingZij : public ::testing::TestWithParam<SzCase> {};

TEST_P(SaveZijOnAnExistingZij, AsksAppendOrOverwrite) {
    TempDir dir;
    write_zij("Z.ZVT", {named("Old")});
    ::chmod("Z.ZVT", 0640);
    const std::string before = read_file("Z.ZVT");
    ScriptedConsole con(std::string("Z<ret>") + GetParam().keys);
    add_table(named("A"));
    add_table(named("B"));
    LASTTABLE->SAVED = false;
    ASSERT_TRUE(con.run(SAVEZIJ));
    const std::string mine =
        encode_table_blocks(*FIRSTTABLE) + encode_table_blocks(*FIRSTTABLE->NEXT);
    EXPECT_EQ(con.row(2),
              "Append or overwrite?  (A/O)  " +
                  std::string(GetParam().overwritten || GetParam().keys[0] == 'o' ? "O" : "A"));
    if (!GetParam().saved) {
        EXPECT_EQ(read_file("Z.ZVT"), before);
        EXPECT_FALSE(LASTTABLE->SAVED);
    } else {
        EXPECT_EQ(read_file("Z.ZVT"), GetParam().overwritten ? mine : before + mine);
        EXPECT_TRUE(LASTTABLE->SAVED);
        EXPECT_EQ(LASTTABLE->FILENAME, here("Z.ZVT"));
        EXPECT_EQ(con.row(GetParam().overwritten ? 4 : 3),
                  "2 tables were saved in the file " + here("Z.ZVT") + ".");
    }
    struct stat st {};
    ::stat("Z.ZVT", &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(files_in(dir.path()), 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, SaveZijOnAnExistingZij,
                         ::testing::Values(SzCase{"<ret>", false, true}, SzCase{"a", false, true},
                                           SzCase{"oy", true, true}, SzCase{"o<ret>", false, false},
                                           SzCase{"on", false, false},
                                           SzCase{"<esc>", false, false}));

// --- RZ and DZ -----------------------------------------------------------------------------

TEST(RenameZij, ToANameWithoutExtensionAddsZvt) {
    TempDir dir;
    write_zij("OLD.ZVT", {named("A")});
    const std::string bytes = read_file("OLD.ZVT");
    fs::create_directory("sub");
    ScriptedConsole con("OLD<ret>sub/NEW<ret>");
    ASSERT_TRUE(con.run(RENAMEZIJ));
    EXPECT_EQ(con.row(2), "New path and name of OLD:  sub/NEW");
    EXPECT_EQ(con.row(3), "OLD was renamed to " + here("sub/NEW"));
    EXPECT_FALSE(fs::exists("OLD.ZVT"));
    EXPECT_EQ(read_file("sub/NEW.ZVT"), bytes);
}

struct RenameRefusal {
    const char* typed;
    std::string message;
};

class RenameZijRefuses : public ::testing::TestWithParam<RenameRefusal> {};

TEST_P(RenameZijRefuses, AndLeavesEveryFileAsItWas) {
    TempDir dir;
    write_zij("OLD.ZVT", {named("A")});
    write_zij("OTHER.ZVT", {named("B")});
    const std::string old_bytes = read_file("OLD.ZVT"), other_bytes = read_file("OTHER.ZVT");
    ScriptedConsole con(std::string("OLD<ret>") + GetParam().typed + "<ret>");
    ASSERT_TRUE(con.run(RENAMEZIJ));
    EXPECT_EQ(con.row(3), GetParam().message == "could not"
                              ? here("OLD.ZVT") + " could not be renamed."
                              : GetParam().message);
    EXPECT_EQ(read_file("OLD.ZVT"), old_bytes);
    EXPECT_EQ(read_file("OTHER.ZVT"), other_bytes);
    EXPECT_EQ(files_in(dir.path()), 2);
}

INSTANTIATE_TEST_SUITE_P(Names, RenameZijRefuses,
                         ::testing::Values(RenameRefusal{"NEW.TXT", "Incorrect name of zij."},
                                           RenameRefusal{"OTHER", "could not"},
                                           RenameRefusal{"nodir/NEW", "could not"}));

TEST(DeleteZij, DeletesOnlyAfterYes) {
    TempDir dir;
    write_zij("Z.ZVT", {named("A")});
    {
        ScriptedConsole con("Z<ret>n");
        ASSERT_TRUE(con.run(DELETEZIJ));
        EXPECT_EQ(con.row(2), "Are you sure to delete " + here("Z.ZVT") + "?  (Y/N)  N");
        EXPECT_TRUE(fs::exists("Z.ZVT"));
    }
    ScriptedConsole con("Z<ret>y");
    ASSERT_TRUE(con.run(DELETEZIJ));
    EXPECT_EQ(con.row(3), here("Z.ZVT") + " was deleted.");
    EXPECT_FALSE(fs::exists("Z.ZVT"));
    EXPECT_FALSE(is_open(F));
}

TEST(DeleteZij, AFailedErasureDeletesNoTable) {
    TempDir dir;
    write_zij("Z.ZVT", {named("A")});
    ScriptedConsole con("Z<ret>y");
    reset_file_faults();
    FILE_FAULTS.call = FileCall::Erase;
    FILE_FAULTS.fail_call = 1;
    FILE_FAULTS.call_error = EACCES;
    ASSERT_TRUE(con.run(DELETEZIJ));
    reset_file_faults();
    EXPECT_EQ(con.row(3), "File access denied.");
    EXPECT_EQ(con.row(4), "No table was deleted.");
    EXPECT_TRUE(fs::exists("Z.ZVT"));
}

// --- CD, LZ, LB ----------------------------------------------------------------------------

TEST(ChangeDirectory, ChangesOrSaysItCould) {
    TempDir dir;
    fs::create_directory("sub");
    {
        ScriptedConsole con("sub<ret>");
        ASSERT_TRUE(con.run(CHANGEDIRECTORY));
        EXPECT_EQ(con.row(2), "The current directory is now " + dir.path() + "/sub");
        EXPECT_EQ(current_directory(), dir.path() + "/sub");
        EXPECT_EQ(DEFDIR[1], dir.path() + "/sub");
    }
    ScriptedConsole con("nowhere<ret>");
    ASSERT_TRUE(con.run(CHANGEDIRECTORY));
    EXPECT_EQ(con.row(2), "Could not change to directory " + dir.path() + "/sub/nowhere");
    EXPECT_EQ(current_directory(), dir.path() + "/sub");
}

// Gives the file the local time 7 March 2001 14:05.
void set_time(const std::string& file) {
    std::tm tm{};
    tm.tm_year = 101;
    tm.tm_mon = 2;
    tm.tm_mday = 7;
    tm.tm_hour = 14;
    tm.tm_min = 5;
    tm.tm_isdst = -1;
    const utimbuf times{std::mktime(&tm), std::mktime(&tm)};
    ::utime(file.c_str(), &times);
}

std::string entry(const std::string& name, long long size) {
    std::string n = name.substr(0, name.find('.'));
    n.resize(8, ' ');
    std::string s = std::to_string(size);
    return n + std::string(7 - s.size(), ' ') + s + "   7- 3-2001  14:05";
}

// n zij files Z01.ZVT, Z02.ZVT, ... of one table each, in the directory `in`.
void make_zijes(int n, const std::string& in = ".") {
    for (int i = n; i >= 1; --i) {
        const std::string name =
            in + "/Z" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".ZVT";
        write_zij(name, {named("T")});
        set_time(name);
    }
}

TEST(ListZijes, TenFilesStandInOneColumn) {
    TempDir dir;
    make_zijes(10);
    write_file("notes.txt", "x");
    ScriptedConsole con("<ret>");
    ASSERT_TRUE(con.run(LISTZIJES));
    EXPECT_EQ(con.row(1),
              "The directory " + dir.path() + " contains the following Mean Motion files:");
    EXPECT_EQ(con.row(2), "");
    EXPECT_EQ(con.row(3), entry("Z01", 458));
    EXPECT_EQ(con.row(12), entry("Z10", 458));
    EXPECT_EQ(con.row(13), "");
    EXPECT_EQ(con.cursor_y(), 13);
}

TEST(ListZijes, ElevenFilesStandInTwoColumnsOfSixAndFive) {
    TempDir dir;
    make_zijes(11);
    ScriptedConsole con("<ret>");
    ASSERT_TRUE(con.run(LISTZIJES));
    EXPECT_EQ(con.row(3), entry("Z01", 458) + std::string(7, ' ') + entry("Z07", 458));
    EXPECT_EQ(con.row(7), entry("Z05", 458) + std::string(7, ' ') + entry("Z11", 458));
    EXPECT_EQ(con.row(8), entry("Z06", 458));
    EXPECT_EQ(con.row(9), "");
}

TEST(ListZijes, FindsZvtInAnyCaseButOnlyFiles) {
    TempDir dir;
    write_zij("tables.zvt", {named("T")});
    write_zij("Mixed.Zvt", {named("T")});
    set_time("tables.zvt");
    set_time("Mixed.Zvt");
    fs::create_directory("DIR.ZVT");
    ScriptedConsole con("<ret>");
    ASSERT_TRUE(con.run(LISTZIJES));
    EXPECT_EQ(con.row(3), entry("Mixed", 458));
    EXPECT_EQ(con.row(4), entry("tables", 458));
    EXPECT_EQ(con.row(5), "");
}

TEST(ListZijes, AnEmptyDirectoryAndAMissingOne) {
    TempDir dir;
    {
        ScriptedConsole con("<ret>");
        ASSERT_TRUE(con.run(LISTZIJES));
        EXPECT_EQ(con.row(2), "The directory " + dir.path() + "/ contains no Mean Motion files.");
    }
    ScriptedConsole con("nowhere<ret>");
    ASSERT_TRUE(con.run(LISTZIJES));
    EXPECT_EQ(con.row(2), "Cannot find directory.");
}

TEST(ListZijes, ListsAtMost128SortedAndSaysSo) {
    TempDir dir;
    for (int i = 130; i >= 1; --i) {
        const std::string name = "Z" +
                                 std::string(i < 10    ? "00"
                                             : i < 100 ? "0"
                                                       : "") +
                                 std::to_string(i) + ".ZVT";
        write_file(name, "");
        set_time(name);
    }
    ScriptedConsole con("<ret> ");  // one pause after row 22; 64 rows in all
    con.keys(" ");                  // and after row 46
    ASSERT_TRUE(con.run(LISTZIJES));
    EXPECT_TRUE(con.showed(std::string(49, ' ') + "Press any key to continue."));
    // The first 128 names the directory gives, sorted, in two columns of 64 rows: the last
    // rows stand above the message.
    std::vector<std::string> first128;
    for (const auto& e : fs::directory_iterator("."))
        if (first128.size() < 128) first128.push_back(e.path().filename().string());
    std::sort(first128.begin(), first128.end());
    int message_row = 0;
    for (int y = 1; y <= 25; ++y)
        if (con.row(y) == "Some of the Mean Motion files could not be listed.") message_row = y;
    ASSERT_GT(message_row, 20);
    for (int r = 64; r > 64 - (message_row - 3); --r) {
        const auto at = static_cast<std::size_t>(r - 1);
        EXPECT_EQ(con.row(message_row - 2 - (64 - r)),
                  entry(first128[at], 0) + std::string(7, ' ') + entry(first128[at + 64], 0));
    }
    EXPECT_FALSE(con.keys_left());
}

TEST(ListZijes, EscapeAtAPauseEndsTheListing) {
    TempDir dir;
    make_zijes(50);
    ScriptedConsole con("<ret><esc>");
    ASSERT_TRUE(con.run(LISTZIJES));
    EXPECT_EQ(EXITCODE, ESCCODE);
    EXPECT_FALSE(con.showed(entry("Z23", 458) + std::string(7, ' ') + entry("Z48", 458)));
}

TEST(ListBranch, ListsOnlyTheDirectoriesThatHoldZijes) {
    TempDir dir;
    fs::create_directories("a/b");
    fs::create_directories("c");
    fs::create_directories(".hidden");
    make_zijes(2, "a/b");
    make_zijes(1, ".hidden");
    ScriptedConsole con("<ret>");
    ASSERT_TRUE(con.run(LISTZIJESINBRANCH));
    EXPECT_EQ(con.row(1), "List of mean motion tables in the branch " + dir.path());
    EXPECT_EQ(con.row(2), "");
    EXPECT_EQ(con.row(3), "Directory " + dir.path() + "/a/b");
    EXPECT_EQ(con.row(4), entry("Z01", 458));
    EXPECT_EQ(con.row(5), entry("Z02", 458));
    EXPECT_EQ(con.row(6), "");
    EXPECT_EQ(con.row(7), "");
    EXPECT_EQ(TOTALLINES, 6);
}

TEST(ListBranch, EscapeAtAnyPauseEndsTheWholeBranch) {
    TempDir dir;
    for (const char* d : {"d1", "d2", "d3"}) {
        fs::create_directory(d);
        make_zijes(30, d);
    }
    ScriptedConsole con("<ret><esc>");
    ASSERT_TRUE(con.run(LISTZIJESINBRANCH));
    EXPECT_EQ(EXITCODE, ESCCODE);
    EXPECT_FALSE(con.keys_left());
    int directories = 0;
    for (int y = 1; y <= 25; ++y)
        if (con.row(y).starts_with("Directory ")) ++directories;
    EXPECT_LE(directories, 2);
}

// --- ADJUSTSETTINGS ------------------------------------------------------------------------

struct AdjustCase {
    char era;
    std::vector<int> before;
    std::vector<int> after;
};

SET30 set_of(const std::vector<int>& v) {
    SET30 s;
    for (int n : v)
        s.set(static_cast<std::size_t>(n));
    return s;
}

class Adjust : public ::testing::TestWithParam<AdjustCase> {};

TEST_P(Adjust, BringsTheCalendarToThePresentConventions) {
    TABLE t;
    t.ERA = GetParam().era;
    t.INTERCALATION = set_of(GetParam().before);
    ADJUSTSETTINGS(t);
    SET30 expected = set_of(GetParam().after);
    if (GetParam().era == JS && GetParam().after.empty()) DEFAULTINTERCALATION(JS, expected);
    EXPECT_EQ(t.INTERCALATION, expected);
}

INSTANTIATE_TEST_SUITE_P(Calendars, Adjust,
                         ::testing::Values(AdjustCase{'J', {4}, {4, 11}},
                                           AdjustCase{'J', {4, 16}, {4, 16}},
                                           AdjustCase{'B', {}, {13}}, AdjustCase{'B', {5}, {5}},
                                           AdjustCase{'E', {}, {1}}, AdjustCase{'E', {2}, {2}},
                                           AdjustCase{'S', {1, 7}, {1, 7}},
                                           AdjustCase{'S', {7}, {}}, AdjustCase{'A', {}, {}}));

TEST(Adjust, PutsTheSingleYearsWithTheSmallerStepFirst) {
    TABLE t;
    t.INFOLIST[SI1] = {0, 5, 2, 0, 20, false};
    t.INFOLIST[SI2] = {5, 4, 2, 0, 1, false};
    ADJUSTSETTINGS(t);
    EXPECT_EQ(t.INFOLIST[SI1].STEP, 1);
    EXPECT_EQ(t.INFOLIST[SI1].OFFSET, 5);
    EXPECT_EQ(t.INFOLIST[SI2].STEP, 20);
    t.INFOLIST[SI1] = {0, 5, 2, 0, 20, false};
    t.INFOLIST[SI2] = {5, 0, 2, 0, 1, false};  // no values: left alone
    ADJUSTSETTINGS(t);
    EXPECT_EQ(t.INFOLIST[SI1].STEP, 20);
}

}  // namespace
}  // namespace zorvat
