// Unsaved tables survive the end of the program by a signal: they go to a recovery zij.
#include "shell/recovery.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "commands/commands.h"
#include "data/data_state.h"
#include "data/zij_file.h"
#include "dialogue/console.h"
#include "platform/files.h"
#include "platform/terminal.h"
#include "shell/shell_state.h"
#include "support/scripted_console.h"
#include "support/table_fixture.h"
#include "support/temp_dir.h"

namespace zorvat {
namespace {

namespace fs = std::filesystem;
using testing::add_table;
using testing::ScriptedConsole;
using testing::TableSpec;
using testing::TempDir;

TableSpec unsaved(const std::string& name) {
    return {.name = name,
            .subtables = {{.period = DAY, .values = {"0;59,8", "1;58,17"}}},
            .corrections = {{1, "0;59,9"}},
            .saved = false};
}

// Reads a zij back with GZ; the names of the tables read.
std::vector<std::string> read_back(const std::string& path) {
    ScriptedConsole con;
    PARAM = path.substr(0, path.size() - 4);
    con.run(GETZIJ);
    std::vector<std::string> names;
    for (const TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        names.push_back(t->NAME);
    return names;
}

TEST(Recovery, WritesOnlyTheUnsavedTablesToAFreshZij) {
    TempDir dir;
    testing::write_file("RECOVER1.ZVT", "someone else's");
    std::string note;
    {
        ScriptedConsole con;
        add_table({.name = "Saved"});
        add_table(unsaved("First"));
        add_table(unsaved("Second"));
        note = recover_unsaved_tables();
    }
    EXPECT_EQ(note, "zorvat: 2 unsaved tables were saved in " + dir.path() + "/RECOVER2.ZVT\n");
    EXPECT_EQ(testing::read_file("RECOVER1.ZVT"), "someone else's");
    EXPECT_EQ(read_back(dir.path() + "/RECOVER2.ZVT"),
              (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(FIRSTTABLE->CR[1], testing::sxg("0;59,9"));
}

TEST(Recovery, NothingUnsavedWritesNothing) {
    TempDir dir;
    ScriptedConsole con;
    add_table({.name = "Saved"});
    EXPECT_EQ(recover_unsaved_tables(), "");
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(Recovery, GoesHomeWhenTheCurrentDirectoryRefusesAndSaysWhenNothingWorked) {
    TempDir dir;
    fs::create_directory("home");
    const char* old_home = std::getenv("HOME");
    const std::string saved_home = old_home ? old_home : "";
    ::setenv("HOME", (dir.path() + "/home").c_str(), 1);
    ScriptedConsole con;
    add_table(unsaved("Lost?"));
    reset_file_faults();
    FILE_FAULTS.call = FileCall::Open;
    FILE_FAULTS.fail_call = 1;
    FILE_FAULTS.call_error = EACCES;
    EXPECT_EQ(recover_unsaved_tables(),
              "zorvat: 1 unsaved table was saved in " + dir.path() + "/home/RECOVER1.ZVT\n");
    FILE_FAULTS.call = FileCall::Write;
    FILE_FAULTS.calls = 0;
    FILE_FAULTS.fail_call = 1;
    FILE_FAULTS.call_error = ENOSPC;
    FILE_FAULTS.fail_next_write = false;
    // The first write fails in the current directory; the home directory takes it.
    EXPECT_NE(recover_unsaved_tables().find("/home/RECOVER2.ZVT"), std::string::npos);
    FILE_FAULTS.fail_after_bytes = 0;
    EXPECT_EQ(recover_unsaved_tables(),
              "zorvat: the unsaved tables could not be saved (Disk is full.)\n");
    reset_file_faults();
    ::setenv("HOME", saved_home.c_str(), 1);
    int left = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++left;
    EXPECT_EQ(left, 1);  // only the home directory: no temporary file anywhere
}

// As the program ends a terminal session; _exit keeps the test binary's own exit handlers
// out of the forked child.
[[noreturn]] void end_like_the_program(int reason) {
    restore_terminal();
    ::_exit(finish_terminal_session(reason));
}

// A child reads keys on a pseudo-terminal with an unsaved table in its internal zij; then
// it is sent SIGTERM, or its terminal goes away. It gives the terminal back, writes the
// recovery zij and says where. Returns the child's exit code.
int end_a_session_with_an_unsaved_table(bool by_signal) {
    int master = -1, slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return -1;
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        const int err = ::open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, 2);
        reset_program_state();
        add_table(unsaved("Typed for days"));
        std::string error;
        std::unique_ptr<ConsoleBackend> backend = open_terminal_on(slave, slave, error);
        if (!backend) ::_exit(3);
        ::close(master);
        if (!by_signal) ::close(slave);  // the backend holds its own descriptors
        set_console_backend(backend.get());
        set_input_ended_handler(end_like_the_program);
        if (::write(ready[1], "r", 1) != 1) ::_exit(4);
        READKEY();
        ::_exit(5);
    }
    ::close(ready[1]);
    char c = 0;
    if (::read(ready[0], &c, 1) != 1) return -1;
    if (by_signal) {
        ::kill(pid, SIGTERM);
    } else {
        ::close(slave);
        slave = -1;
        ::close(master);  // the terminal goes away: the child reads the end of its input
        master = -1;
    }
    int status = 0;
    // Keep the terminal's output flowing until the child has ended.
    for (int rounds = 0; rounds < 1000 && ::waitpid(pid, &status, WNOHANG) == 0; ++rounds) {
        if (master < 0) {
            pollfd none{-1, 0, 0};
            ::poll(&none, 0, 10);
            continue;
        }
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0) {
            char buf[4096];
            if (::read(master, buf, sizeof buf) < 0) break;
        }
    }
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
    ::close(ready[0]);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class RecoveryOnTheEndOfASession : public ::testing::TestWithParam<bool> {};

TEST_P(RecoveryOnTheEndOfASession, LeavesARecoveryZij) {
    TempDir dir;
    const bool by_signal = GetParam();
    EXPECT_EQ(end_a_session_with_an_unsaved_table(by_signal), by_signal ? 1 : 0);
    const std::string where = dir.path() + "/RECOVER1.ZVT";
    EXPECT_EQ(testing::read_file("stderr.txt"),
              "zorvat: 1 unsaved table was saved in " + where + "\n");
    EXPECT_EQ(read_back(where), std::vector<std::string>{"Typed for days"});
    EXPECT_EQ(LASTTABLE->MS[2], testing::sxg("1;58,17"));
}

INSTANTIATE_TEST_SUITE_P(Recovery, RecoveryOnTheEndOfASession, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param_info) {
                             return param_info.param ? std::string("Sigterm")
                                                     : std::string("TerminalGone");
                         });

}  // namespace
}  // namespace zorvat
