// The zij file: opening for reading and writing, the reader and the writer of a table.
#include "data/zij_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "data/internal_zij.h"
#include "dialogue/toolkit.h"
#include "support/scripted_console.h"
#include "support/table_fixture.h"
#include "support/temp_dir.h"

namespace zorvat {
namespace {

using testing::make_table;
using testing::read_file;
using testing::TempDir;

TEST(WriteZijFile, WritesTheTablesOneAfterTheOtherAndNeverHalfAFile) {
    TempDir dir;
    auto a = make_table({.name = "A", .subtables = {{.period = DAY, .values = {"1;0"}}}});
    auto b = make_table({.name = "B"});
    ASSERT_EQ(write_zij_file("TWO.ZVT", {a.get(), b.get()}), 0);
    EXPECT_EQ(read_file("TWO.ZVT"), encode_table_blocks(*a) + encode_table_blocks(*b));
    // Refusing to replace leaves the file as it was; replacing writes the new one.
    EXPECT_EQ(write_zij_file("TWO.ZVT", {b.get()}, false), 5);
    EXPECT_EQ(read_file("TWO.ZVT").size(), 3u * 229);
    reset_file_faults();
    FILE_FAULTS.fail_after_bytes = 100;
    EXPECT_EQ(write_zij_file("TWO.ZVT", {b.get()}), 101);
    reset_file_faults();
    EXPECT_EQ(read_file("TWO.ZVT").size(), 3u * 229);
    ASSERT_EQ(write_zij_file("TWO.ZVT", {b.get()}), 0);
    EXPECT_EQ(read_file("TWO.ZVT"), encode_table_blocks(*b));
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace zorvat

namespace zorvat {
namespace {

using testing::ScriptedConsole;
using testing::write_file;

std::string sound_table() {
    return encode_table_blocks(*make_table(
        {.name = "Sound", .subtables = {{.period = DAY, .values = {"1;0", "2;0", "3;0"}}}}));
}

// The sound table of 3 values changed by `edit`.
struct GetCase {
    const char* what;
    std::string (*bytes)();
    const char* shown;  // row 1 afterwards
    int cursor_row;     // 2 after a line break
    bool table;
};

class PerformGet : public ::testing::TestWithParam<GetCase> {};

TEST_P(PerformGet, TheFailureTableRowByRow) {
    TempDir dir;
    write_file("Z.ZVT", GetParam().bytes());
    ScriptedConsole con;
    ASSERT_EQ(open_record_file(F, "Z.ZVT", BLOCKSIZE, FileMode::ReadOnly), 0);
    std::unique_ptr<TABLE> t;
    ASSERT_TRUE(con.run([&] { t = PERFORM_GET(); }));
    EXPECT_EQ(t != nullptr, GetParam().table) << GetParam().what;
    EXPECT_EQ(con.row(1), GetParam().shown) << GetParam().what;
    EXPECT_EQ(con.cursor_y(), GetParam().cursor_row) << GetParam().what;
    if (t) {
        EXPECT_EQ(t->NAME, "Sound");
        EXPECT_EQ(t->FILENAME, "");
        EXPECT_EQ(t->NO, 0);
        EXPECT_EQ(record_position(F), 2);  // at the next table
    }
    close_zij();
}

std::string with_byte(std::size_t at, char value) {
    std::string b = sound_table();
    b[at] = value;
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PerformGet,
    ::testing::Values(
        GetCase{"sound", [] { return sound_table(); }, "", 1, true},
        GetCase{"at the end of the file", [] { return std::string(); }, "Disk read error.", 2,
                false},
        GetCase{"a partial first block", [] { return std::string(100, '\1'); }, "Disk read error.",
                2, false},
        GetCase{"a value block first", [] { return with_byte(0, 0); }, "", 1, false},
        GetCase{"a flag byte of 2", [] { return with_byte(0, 2); }, "", 1, false},
        GetCase{"a wrong check word", [] { return with_byte(221, 0x31); }, "", 1, false},
        GetCase{"201 values", [] { return with_byte(217, static_cast<char>(201)); },
                "Table to be read has too many values. Try using ZORVATXL.", 1, false},
        GetCase{"an inconsistent header", [] { return with_byte(81 + 33 + 2, 4); }, "", 1, false},
        GetCase{"a value block cut short", [] { return sound_table().substr(0, 229 + 200); }, "", 1,
                false},
        GetCase{"the value block missing", [] { return sound_table().substr(0, 229); }, "", 1,
                false},
        GetCase{"a first block for a value block", [] { return with_byte(229, 1); }, "", 1, false},
        GetCase{"a wrong check word in the value block", [] { return with_byte(229 + 228, 0); }, "",
                1, false},
        GetCase{"a place of 60", [] { return with_byte(229 + 14 + 5, 60); }, "", 1, false}));

TEST(PerformGet, AReadErrorIsShownWithItsText) {
    TempDir dir;
    write_file("Z.ZVT", sound_table());
    ScriptedConsole con;
    ASSERT_EQ(open_record_file(F, "Z.ZVT", BLOCKSIZE, FileMode::ReadOnly), 0);
    reset_file_faults();
    FILE_FAULTS.call = FileCall::Read;
    FILE_FAULTS.fail_call = 1;
    FILE_FAULTS.call_error = EIO;
    std::unique_ptr<TABLE> t;
    ASSERT_TRUE(con.run([&] { t = PERFORM_GET(); }));
    reset_file_faults();
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(con.row(1), "Disk read error.");
    close_zij();
}

TEST(PerformSave, AFailingWriteGivesItsCode) {
    TempDir dir;
    ScriptedConsole con;
    ASSERT_EQ(create_record_file(F, "Z.ZVT", BLOCKSIZE), 0);
    auto t = make_table({.subtables = {{.period = DAY, .values = {"1;0"}}}});
    LENGTHTABLE(*t);
    reset_file_faults();
    FILE_FAULTS.fail_after_bytes = 300;
    PERFORM_SAVE(*t);
    reset_file_faults();
    EXPECT_EQ(EXITCODE, 101);
    PERFORM_SAVE(*t);
    EXPECT_EQ(EXITCODE, 0);
    close_zij();
}

// OPENFORSAVE: what it shows and where it leaves F, with faults where a refusal needs one.
struct SaveOpenCase {
    const char* what;
    bool exists;
    FileCall call;     // the kind of call that fails (Any: none)
    int nth;           // which of them
    const char* keys;  // after the name Z
    std::string shown;
    bool asked_again;  // the message stands for half a second and the name is asked again
    bool opened;
};

class OpenForSave : public ::testing::TestWithParam<SaveOpenCase> {};

TEST_P(OpenForSave, TheFailureTableRowByRow) {
    const SaveOpenCase& c = GetParam();
    TempDir dir;
    if (c.exists) write_file("Z.ZVT", sound_table());
    ScriptedConsole con(std::string("Z<ret>") + c.keys);
    reset_file_faults();
    if (c.call != FileCall::Any) {
        FILE_FAULTS.call = c.call;
        FILE_FAULTS.fail_call = c.nth;
        FILE_FAULTS.call_error = EACCES;
    }
    std::string name;
    ASSERT_TRUE(con.run([&] { name = OPENFORSAVE(true); })) << c.what;
    reset_file_faults();
    EXPECT_EQ(name.empty(), !c.opened) << c.what;
    EXPECT_EQ(is_open(F), c.opened) << c.what;
    if (c.asked_again) {
        EXPECT_TRUE(con.showed(c.shown)) << c.what;
        EXPECT_GE(con.time_ms(), 500) << c.what;
    } else if (!c.shown.empty()) {
        bool found = false;
        for (int y = 1; y <= 5; ++y)
            found = found || con.row(y) == c.shown;
        EXPECT_TRUE(found) << c.what << "\n" << con.dump();
    }
    abandon_save();
    if (c.exists) {
        EXPECT_EQ(testing::read_file("Z.ZVT"), sound_table()) << c.what;
    }
    EXPECT_EQ(std::filesystem::exists("Z.ZVT"), c.exists) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OpenForSave,
    ::testing::Values(SaveOpenCase{"a new zij", false, FileCall::Any, 0, "", "", false, true},
                      SaveOpenCase{"creation refused", false, FileCall::Open, 1, "<esc>",
                                   "File access denied.", true, false},
                      SaveOpenCase{"write test fails", true, FileCall::Open, 1, "<esc>",
                                   "File access denied.", true, false},
                      SaveOpenCase{"append", true, FileCall::Any, 0, "a", "", false, true},
                      SaveOpenCase{"reopening fails", true, FileCall::Open, 2, "a",
                                   "File access denied.", false, false},
                      SaveOpenCase{"overwrite", true, FileCall::Any, 0, "oy", "", false, true},
                      SaveOpenCase{"emptying fails", true, FileCall::Open, 2, "oy",
                                   "File access denied.", false, false},
                      SaveOpenCase{"escape at the question", true, FileCall::Any, 0, "<esc>", "",
                                   false, false}));

TEST(OpenForSave, EscapeAndBadNamesAndTheOldFormat) {
    TempDir dir;
    write_file("OLD.ZVT", std::string(406, '\0'));
    ScriptedConsole con("OLD<ret>X.TXT<ret><esc>");
    std::string name = "x";
    ASSERT_TRUE(con.run([&] { name = OPENFORSAVE(false); }));
    EXPECT_EQ(name, "");
    EXPECT_TRUE(con.showed("Old file format (use ZVCONV to convert)."));
    EXPECT_TRUE(con.showed("Incorrect name of zij."));
    EXPECT_EQ(con.cursor_y(), 2);
    EXPECT_FALSE(is_open(F));
}

}  // namespace
}  // namespace zorvat
