#include "shell/program.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>

#include <cstdio>
#include <memory>

#include "data/data_state.h"
#include "platform/files.h"
#include "shell/shell_state.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"

namespace zorvat {
namespace {

using testing::ScriptedConsole;
using testing::TempDir;

TEST(StartUp, ShowsTheOverviewAndThePromptInYellowOnBlue) {
    TempDir dir;
    testing::write_file("zorvat.cfg", "2\r\n");
    ScriptedConsole con;
    EXPECT_TRUE(con.run_until_keys_run_out([] { RUN_PROGRAM(std::nullopt); }));
    EXPECT_EQ(DISPLAYMODE, DAYSHOURS);
    EXPECT_EQ(con.row(2), "     Version 2 beta for i386/win32");
    EXPECT_EQ(con.row(24), "ZORVAT>");
    EXPECT_EQ(con.cursor_x(), 9);
    EXPECT_EQ(con.cursor_y(), 24);
    EXPECT_EQ(con.attr(1, 24), 0x1E);
    EXPECT_EQ(con.attr(80, 1), 0x1E);
    EXPECT_EQ(DOS_COLORS, 7);
    EXPECT_EQ(PARAM, "");
}

TEST(StartUp, TheCommandLineZijGoesToTheFrontOfTheHistory) {
    TempDir dir;
    testing::write_file("zorvat.cfg",
                        "0\r\n\r\n/a\r\n/b\r\n/c\r\n/d\r\n" + dir.file("abc") + "\r\n");
    ScriptedConsole con;
    EXPECT_TRUE(con.run_until_keys_run_out([] { RUN_PROGRAM(std::string("abc")); }));
    EXPECT_EQ(DEFZIJ[1], dir.file("abc"));
    EXPECT_EQ(DEFZIJ[2], "/a");
    EXPECT_EQ(DEFZIJ[4], "/c");
    EXPECT_EQ(DEFZIJ[5], dir.file("abc"));  // the fifth entry is not searched and stays
}

struct FrontCase {
    PATHSTRARRAY before;
    const char* name;
    PATHSTRARRAY after;
    int defno;
};

class MoveStartZij : public ::testing::TestWithParam<FrontCase> {};

TEST_P(MoveStartZij, SearchesThreeEntriesAndDropsTheFourth) {
    ScriptedConsole con;
    DEFZIJ = GetParam().before;
    move_start_zij_to_front(GetParam().name);
    EXPECT_EQ(DEFZIJ, GetParam().after);
    EXPECT_EQ(DEFNO, GetParam().defno);
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, MoveStartZij,
    ::testing::Values(
        FrontCase{{"", "1", "2", "3", "4", "5"}, "2", {"", "2", "1", "3", "4", "5"}, 2},
        FrontCase{{"", "1", "2", "3", "4", "5"}, "1", {"", "1", "2", "3", "4", "5"}, 1},
        FrontCase{{"", "1", "2", "3", "4", "5"}, "3", {"", "3", "1", "2", "4", "5"}, 3},
        FrontCase{{"", "1", "2", "3", "4", "5"}, "4", {"", "4", "1", "2", "3", "5"}, 4},
        FrontCase{{"", "1", "2", "3", "4", "5"}, "N", {"", "N", "1", "2", "3", "5"}, 4},
        FrontCase{{"", "", "", "", "", ""}, "N", {"", "N", "", "", "", ""}, 4}));

// Runs the built program in a directory and gives what it wrote to standard output.
std::string run_binary(const std::string& arguments, int& status) {
    const std::string command = std::string(ZORVAT_BINARY) + " " + arguments + " </dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string out;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe.get())) > 0)
        out.append(buf.data(), n);
    status = ::pclose(pipe.release());
    return out;
}

// The screen the scripted console shows after the program has read these keys.
std::string scripted_dump(const std::string& keys) {
    ScriptedConsole con(keys);
    con.run_until_keys_run_out([] { RUN_PROGRAM(std::nullopt); });
    return con.dump();
}

TEST(ScriptedRun, DumpsMatchTheScriptedConsole) {
    TempDir dir;
    testing::write_file("keys.txt", "x<a-d>ca<dump>LN\r\ncs\n<dump>rz");
    int status = -1;
    const std::string out = run_binary("--keys keys.txt", status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, scripted_dump("x<a-d>ca") + scripted_dump("x<a-d>caLNcs") +
                       scripted_dump("x<a-d>caLNcsrz"));
    EXPECT_NE(out.find("\nZORVAT> CA\n"), std::string::npos);
    EXPECT_NE(out.find("-- cursor 9,1 beeps 0\n"), std::string::npos);
}

TEST(ScriptedRun, QuitEndsWithoutADumpAndWritesTheConfiguration) {
    TempDir dir;
    testing::write_file("keys.txt", "<a-d><a-d>q");
    int status = -1;
    EXPECT_EQ(run_binary("--keys keys.txt", status), "");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(testing::read_file("zorvat.cfg").substr(0, 3), "2\r\n");
}

TEST(ScriptedRun, BadKeyFilesAndOptionsAreRefusedClearly) {
    TempDir dir;
    int status = 0;
    testing::write_file("bad.txt", "ab<nokey>");
    EXPECT_EQ(
        run_binary("--keys bad.txt 2>&1", status).find("unknown key <nokey>") != std::string::npos,
        true);
    EXPECT_NE(status, 0);
    EXPECT_NE(run_binary("--keys missing.txt 2>&1", status).find("missing.txt"), std::string::npos);
    EXPECT_NE(status, 0);
    EXPECT_NE(run_binary("--bogus 2>&1", status).find("--help"), std::string::npos);
    EXPECT_NE(status, 0);
    EXPECT_NE(run_binary("--help", status).find("--keys FILE"), std::string::npos);
    EXPECT_EQ(status, 0);
    EXPECT_NE(run_binary("--version", status).find("zorvat "), std::string::npos);
    // Without a terminal and without keys the program says so and ends.
    EXPECT_NE(run_binary("2>&1", status).find("standard input is not a terminal"),
              std::string::npos);
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace zorvat
