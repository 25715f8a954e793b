// The terminal backend on a pseudo-terminal: raw mode and its restoration, keys, painting
// and the signals. Nothing here waits for time; reads of the terminal's output wait for
// the expected bytes with a generous limit that only a fault reaches.
#include "platform/terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "platform/process.h"

namespace zorvat {
namespace {

bool same_settings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

bool is_raw(const termios& t) {
    return (t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) == 0 && (t.c_iflag & (ICRNL | IXON)) == 0;
}

class TerminalOnPty : public testing::Test {
  protected:
    void SetUp() override {
        winsize ws{};
        ws.ws_row = 25;
        ws.ws_col = 80;
        ASSERT_EQ(openpty(&master_, &slave_, nullptr, nullptr, &ws), 0);
        ASSERT_EQ(tcgetattr(slave_, &original_), 0);
        ASSERT_TRUE(is_raw(original_) == false);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }

    void TearDown() override {
        backend_.reset();
        restore_terminal();
        if (master_ >= 0) close(master_);
        close(slave_);
    }

    void open() {
        std::string error;
        backend_ = open_terminal_on(slave_, slave_, error);
        ASSERT_NE(backend_, nullptr) << error;
    }

    termios settings() const {
        termios t{};
        tcgetattr(slave_, &t);
        return t;
    }

    // Reads the terminal's output until `needle` appears after `from`; the position after it.
    std::size_t wait_for(const std::string& needle, std::size_t from = 0) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            const auto at = output_.find(needle, from);
            if (at != std::string::npos) return at + needle.size();
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                limit - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                ADD_FAILURE() << "the terminal never showed: " << testing::PrintToString(needle);
                return std::string::npos;
            }
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) > 0) {
                char buf[4096];
                const ssize_t n = read(master_, buf, sizeof buf);
                if (n > 0) output_.append(buf, static_cast<std::size_t>(n));
            }
        }
    }

    void type(const std::string& bytes) {
        ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    void resize(int cols, int rows) {
        winsize ws{};
        ws.ws_col = static_cast<unsigned short>(cols);
        ws.ws_row = static_cast<unsigned short>(rows);
        ASSERT_EQ(ioctl(master_, TIOCSWINSZ, &ws), 0);
        raise(SIGWINCH);  // the pty is not our controlling terminal: no signal of its own
    }

    int master_ = -1;
    int slave_ = -1;
    termios original_{};
    std::string output_;
    std::unique_ptr<ConsoleBackend> backend_;
};

TEST_F(TerminalOnPty, RawModeWhileOpenAndEverythingRestoredAfter) {
    open();
    EXPECT_TRUE(is_raw(settings()));
    const std::size_t entered = wait_for("\x1b[?1049h");
    wait_for("\x1b[?1036s");
    wait_for("\x1b[?1036h");
    restore_terminal();
    EXPECT_TRUE(same_settings(settings(), original_));
    const std::size_t left = wait_for("\x1b[?1049l", entered);
    wait_for("\x1b[?1036r", entered);
    wait_for("\x1b[?25h", entered);
    restore_terminal();  // a second time changes nothing
    EXPECT_TRUE(same_settings(settings(), original_));
    EXPECT_EQ(backend_->read_key_byte(), KEY_INPUT_ENDED);  // closed: no key will come
    EXPECT_GT(left, entered);
}

TEST_F(TerminalOnPty, KeysArriveDecoded) {
    open();
    type("\x7f\x08\x03\r\x1b[1;5H\xC3\xA9\x1b[[A");
    for (const int expected : {8, 127, 3, 13, 0, 119, 0x82, 0, 59})
        EXPECT_EQ(backend_->read_key_byte(), expected);
    EXPECT_FALSE(backend_->key_waiting());
}

TEST_F(TerminalOnPty, KeyWaitingSeesAKeyReadWithAnother) {
    open();
    type("ab");
    EXPECT_EQ(backend_->read_key_byte(), 'a');
    EXPECT_TRUE(backend_->key_waiting());
    EXPECT_EQ(backend_->read_key_byte(), 'b');
}

TEST_F(TerminalOnPty, ALoneEscapeArrivesAfterItsTime) {
    open();
    type("\x1b");
    EXPECT_EQ(backend_->read_key_byte(), 27);
}

TEST_F(TerminalOnPty, KeysTypedDuringADelayAreKept) {
    open();
    type("k");
    backend_->delay(1);
    EXPECT_EQ(backend_->read_key_byte(), 'k');
}

TEST_F(TerminalOnPty, PresentPaintsAllAndThenOnlyChanges) {
    open();
    Screen s;
    s.at(0, 0) = Cell{'H', 0x1E};
    s.at(1, 0) = Cell{'i', 0x1E};
    backend_->present(s);
    std::size_t at = wait_for("\x1b[2J");
    at = wait_for("\x1b[1;1H\x1b[0;93;44mHi", at);
    s.at(40, 12) = Cell{0xF1, 0x1F};
    s.cursor_x = 41;
    s.cursor_y = 12;
    backend_->present(s);
    at = wait_for("\x1b[13;41H\x1b[0;97;44m±\x1b[0m\x1b[13;42H", at);
    backend_->sound(400);
    backend_->nosound();
    wait_for("\a", at);
    EXPECT_EQ(output_.find("\x1b[2J", at), std::string::npos);
}

TEST_F(TerminalOnPty, ASmallTerminalGetsANoticeUntilItIsLargeEnough) {
    open();
    Screen s;
    s.at(0, 0).ch = 'Z';
    backend_->present(s);
    std::size_t at = wait_for("\x1b[1;1H\x1b[0;37;40mZ");
    resize(70, 20);
    type("x");  // the reader wakes for the resize and shows the notice on its own
    EXPECT_EQ(backend_->read_key_byte(), 'x');
    at = wait_for("zorvat needs a terminal of at least 80 x 25 characters (this one is 70 x 20).",
                  at);
    s.at(1, 0).ch = 'Y';
    backend_->present(s);  // not painted while too small
    resize(100, 30);
    type("y");
    EXPECT_EQ(backend_->read_key_byte(), 'y');
    at = wait_for("\x1b[2J", at);
    wait_for("\x1b[1;1H\x1b[0;37;40mZY", at);
}

TEST_F(TerminalOnPty, TerminationRestoresAtOnceAndEndsReading) {
    open();
    wait_for("\x1b[?1049h");
    raise(SIGTERM);
    EXPECT_TRUE(termination_requested());
    EXPECT_TRUE(same_settings(settings(), original_));  // before the program ends
    wait_for("\x1b[?1049l");
    EXPECT_TRUE(backend_->key_waiting());
    EXPECT_EQ(backend_->read_key_byte(), KEY_TERMINATED);
    backend_->present(Screen{});  // ignored: the terminal is no longer ours
    restore_terminal();
    EXPECT_TRUE(same_settings(settings(), original_));
}

TEST_F(TerminalOnPty, EndOfInputEndsReading) {
    open();
    close(master_);
    master_ = -1;
    EXPECT_EQ(backend_->read_key_byte(), KEY_INPUT_ENDED);
    EXPECT_TRUE(backend_->key_waiting());
    EXPECT_EQ(backend_->read_key_byte(), KEY_INPUT_ENDED);
}

TEST_F(TerminalOnPty, ContinueSetsRawModeAgainAndRepaints) {
    open();
    Screen s;
    s.at(0, 0).ch = 'Q';
    backend_->present(s);
    std::size_t at = wait_for("Q");
    tcsetattr(slave_, TCSANOW, &original_);  // as a shell might leave it
    raise(SIGCONT);
    EXPECT_TRUE(is_raw(settings()));
    type("z");
    EXPECT_EQ(backend_->read_key_byte(), 'z');
    at = wait_for("\x1b[2J", at);
    wait_for("Q", at);
    EXPECT_EQ(output_.find("\x1b[?1036s", at), std::string::npos);  // saved once, at start
}

TEST_F(TerminalOnPty, RefusesWhatIsNotATerminalAndASecondOpen) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::string error;
    EXPECT_EQ(open_terminal_on(fds[0], slave_, error), nullptr);
    EXPECT_NE(error.find("standard input is not a terminal"), std::string::npos) << error;
    EXPECT_EQ(open_terminal_on(slave_, fds[1], error), nullptr);
    EXPECT_NE(error.find("standard output is not a terminal"), std::string::npos) << error;
    close(fds[0]);
    close(fds[1]);
    open();
    EXPECT_EQ(open_terminal_on(slave_, slave_, error), nullptr);
}

// Runs `child` in a process of its own group with the terminal open on the pty; its exit
// status is returned through `status`.
template <typename Child>
pid_t start_child(int slave, Child child) {
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);  // a group of its own, so that a stop signal really stops it
        rlimit no_core{0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        std::string error;
        auto backend = open_terminal_on(slave, slave, error);
        if (!backend) _exit(90);
        child();
        _exit(0);
    }
    return pid;
}

TEST_F(TerminalOnPty, AStopRestoresAndAContinueSetsUpAgain) {
    const pid_t pid = start_child(slave_, [this] {
        raise(SIGTSTP);
        termios t{};
        tcgetattr(slave_, &t);
        _exit(is_raw(t) ? 0 : 1);
    });
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, WUNTRACED), pid);
    ASSERT_TRUE(WIFSTOPPED(status));
    EXPECT_TRUE(same_settings(settings(), original_));
    const std::size_t at = wait_for("\x1b[?1049l");
    kill(pid, SIGCONT);
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    wait_for("\x1b[?1049h", at);
}

TEST_F(TerminalOnPty, ACrashRestoresTheTerminalAndStillCrashes) {
#ifdef ZORVAT_SANITIZED
    GTEST_SKIP() << "the sanitizer reports crashes itself";
#else
    const pid_t pid = start_child(slave_, [] { raise(SIGSEGV); });
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);
    EXPECT_TRUE(same_settings(settings(), original_));
    wait_for("\x1b[?1049l");
#endif
}

TEST(Process, ClosedStandardDescriptorsGetDevNullAndSigpipeIsIgnored) {
    const pid_t pid = fork();
    if (pid == 0) {
        close(0);
        close(2);
        prepare_process();
        struct stat null_stat {
        }, fd_stat{};
        stat("/dev/null", &null_stat);
        int bad = 0;
        for (const int fd : {0, 2})
            if (fstat(fd, &fd_stat) != 0 || fd_stat.st_rdev != null_stat.st_rdev) bad |= 1;
        if (fcntl(0, F_GETFL) == -1 || (fcntl(0, F_GETFL) & O_ACCMODE) != O_RDONLY) bad |= 2;
        struct sigaction sa {};
        sigaction(SIGPIPE, nullptr, &sa);
        if (sa.sa_handler != SIG_IGN) bad |= 4;
        _exit(bad);
    }
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace zorvat
