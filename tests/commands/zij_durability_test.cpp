// Saving under failing system calls: every call of a save in turn fails (no space, an I/O
// error, or a short write followed by a full disk), and each time the zij on disk is either
// the old one byte for byte or the complete new one, the screen says which, only tables
// really in the file count as saved, and no temporary file is left behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "data/data_state.h"
#include "data/zij_file.h"
#include "dialogue/toolkit.h"
#include "platform/files.h"
#include "shell/configuration.h"
#include "support/scripted_console.h"
#include "support/table_fixture.h"
#include "support/temp_dir.h"

namespace zorvat {
namespace {

namespace fs = std::filesystem;
using testing::add_table;
using testing::make_table;
using testing::read_file;
using testing::ScriptedConsole;
using testing::TempDir;
using testing::write_file;

enum class Fault { NoSpace, IoError, ShortWrite };

const char* fault_name(Fault f) {
    return f == Fault::NoSpace ? "ENOSPC" : f == Fault::IoError ? "EIO" : "short write";
}

// Arms the fault for call k (k = LLONG_MAX only counts the calls).
void arm(Fault f, long long k) {
    reset_file_faults();
    FILE_FAULTS.fail_call = k;
    FILE_FAULTS.call = f == Fault::ShortWrite ? FileCall::Write : FileCall::Any;
    FILE_FAULTS.call_error = f == Fault::IoError ? EIO : ENOSPC;
    FILE_FAULTS.short_write = f == Fault::ShortWrite;
}

std::string old_zij() {
    return encode_table_blocks(
        *make_table({.name = "Old", .subtables = {{.period = DAY, .values = {"1;0", "2;0"}}}}));
}

struct Scenario {
    const char* name;
    bool existing;      // Z.ZVT holds old_zij() before
    void (*command)();  // ST or SZ
    const char* keys;   // after which Escape ends any question asked again
    bool keeps_old;     // the old tables stay in front of the new ones
};

// Two unsaved tables, the second with a correction.
void add_unsaved_tables() {
    add_table({.name = "A", .subtables = {{.period = COL, .values = {"3;1", "6;2"}}}});
    add_table({.name = "B",
               .subtables = {{.period = DAY, .values = {"0;59,8", "1;58,17", "2;57,25"}}},
               .corrections = {{2, "1;58,16"}}});
    for (TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        t->SAVED = false;
}

std::string new_tables() {
    std::string b;
    for (TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        b += encode_table_blocks(*t);
    return b;
}

// The count the last save reported, or -1 when it reported none.
int reported_count(const ScriptedConsole& con) {
    for (int y = 1; y <= 25; ++y) {
        const std::string row = con.row(y);
        const auto at = row.find(" saved in the file ");
        if (at == std::string::npos) continue;
        return row.starts_with("1 table was") ? 1 : std::stoi(row.substr(0, row.find(' ')));
    }
    return -1;
}

bool shows_error(const ScriptedConsole& con, Fault f) {
    std::vector<int> codes = {IO_DISK_FULL};
    if (f == Fault::IoError) codes = {IO_WRITE_FAULT, IO_READ_ERROR};
    for (int code : codes) {
        const std::string text(error_text(code));
        for (const std::string& row : con.shown_rows())
            if (row.find(text) != std::string::npos) return true;
        for (int y = 1; y <= 25; ++y)
            if (con.row(y).find(text) != std::string::npos) return true;
    }
    return false;
}

class SaveDurability : public ::testing::TestWithParam<Scenario> {};

TEST_P(SaveDurability, EveryFailingCallLeavesTheOldZijOrTheWholeNewOne) {
    const Scenario& s = GetParam();
    for (const Fault f : {Fault::NoSpace, Fault::IoError, Fault::ShortWrite}) {
        long long calls = 0;
        std::string expected_new;
        {
            TempDir dir;
            if (s.existing) write_file("Z.ZVT", old_zij());
            ScriptedConsole con(s.keys);
            add_unsaved_tables();
            arm(f, LLONG_MAX);
            ASSERT_TRUE(con.run(s.command));
            calls = FILE_FAULTS.calls;
            reset_file_faults();
            ASSERT_EQ(reported_count(con), 2) << s.name << "\n" << con.dump();
            expected_new = (s.keeps_old ? old_zij() : std::string()) + new_tables();
            ASSERT_EQ(read_file("Z.ZVT"), expected_new) << s.name;
        }
        ASSERT_GT(calls, 0);
        for (long long k = 1; k <= calls; ++k) {
            const std::string where =
                std::string(s.name) + ", " + fault_name(f) + " at call " + std::to_string(k);
            TempDir dir;
            if (s.existing) write_file("Z.ZVT", old_zij());
            ScriptedConsole con(std::string(s.keys) + "<esc><esc>");
            add_unsaved_tables();
            arm(f, k);
            ASSERT_TRUE(con.run(s.command)) << where;
            const bool hit = FILE_FAULTS.hit;
            reset_file_faults();
            const int count = reported_count(con);
            int files = 0;
            for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
                ++files;
            if (count == 2) {
                EXPECT_EQ(read_file("Z.ZVT"), expected_new) << where;
                for (TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
                    EXPECT_TRUE(t->SAVED && t->FILENAME == dir.path() + "/Z.ZVT") << where;
                EXPECT_EQ(files, 1) << where;
            } else {
                EXPECT_LE(count, 0) << where;
                EXPECT_TRUE(hit) << where;
                EXPECT_TRUE(shows_error(con, f)) << where << "\n" << con.dump();
                if (s.existing) {
                    EXPECT_EQ(read_file("Z.ZVT"), old_zij()) << where;
                } else {
                    EXPECT_FALSE(fs::exists("Z.ZVT")) << where;
                }
                EXPECT_EQ(files, s.existing ? 1 : 0) << where;
                for (TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
                    EXPECT_FALSE(t->SAVED) << where;
            }
            EXPECT_FALSE(is_open(F)) << where;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Saves, SaveDurability,
    ::testing::Values(Scenario{"ST into a new zij", false, SAVETABLES, "<ret>Z<ret>", false},
                      Scenario{"ST appending", true, SAVETABLES, "<ret>Z<ret>", true},
                      Scenario{"SZ appending", true, SAVEZIJ, "Z<ret>a", true},
                      Scenario{"SZ overwriting", true, SAVEZIJ, "Z<ret>oy", false}),
    [](const auto& test) {
        std::string n = test.param.name;
        for (char& c : n)
            if (c == ' ') c = '_';
        return n;
    });

TEST(ConfigurationDurability, EveryFailingCallLeavesTheOldFileOrTheNewOne) {
    for (const Fault f : {Fault::NoSpace, Fault::IoError, Fault::ShortWrite}) {
        TempDir dir;
        ScriptedConsole con;
        write_file("zorvat.cfg", "1\r\nold\r\n");
        DEFNAME = "new";
        const std::string wanted = configuration_text();
        arm(f, LLONG_MAX);
        ASSERT_EQ(SAVE_CONFIGURATION(), 0);
        const long long calls = FILE_FAULTS.calls;
        for (long long k = 1; k <= calls; ++k) {
            write_file("zorvat.cfg", "1\r\nold\r\n");
            arm(f, k);
            const int code = SAVE_CONFIGURATION();
            reset_file_faults();
            EXPECT_EQ(read_file("zorvat.cfg"), code == 0 ? wanted : "1\r\nold\r\n") << k;
            if (code != 0) {
                EXPECT_TRUE(code == IO_DISK_FULL || code == IO_WRITE_FAULT) << code;
            }
            int files = 0;
            for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
                ++files;
            EXPECT_EQ(files, 1) << fault_name(f) << " at call " << k;
        }
    }
}

}  // namespace
}  // namespace zorvat

namespace zorvat {
namespace {

// When even the cutting back fails (a second fault), the user is told that the zij is not
// as it was.
TEST(SaveDurability, AFailedCutBackIsSaid) {
    TempDir dir;
    write_file("Z.ZVT", old_zij());
    ScriptedConsole con("<ret>Z<ret>");
    add_unsaved_tables();
    reset_file_faults();
    FILE_FAULTS.fail_after_bytes = 300;  // the first table's write fails part way
    FILE_FAULTS.call = FileCall::Truncate;
    FILE_FAULTS.fail_call = 1;
    FILE_FAULTS.call_error = EIO;
    ASSERT_TRUE(con.run(SAVETABLES));
    reset_file_faults();
    EXPECT_EQ(con.row(3), "Disk is full.");
    EXPECT_EQ(con.row(4), std::string(NOT_CUT_BACK));
    EXPECT_EQ(con.row(5), "0 tables were saved in the file " + dir.path() + "/Z.ZVT.");
    EXPECT_FALSE(FIRSTTABLE->SAVED);
}

}  // namespace
}  // namespace zorvat
