#include "platform/terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/terminal_render.h"

namespace zorvat {

namespace {

// State shared with the signal handlers. Everything a handler touches is set up before
// the handlers are installed and torn down after they are removed.
int g_in_fd = -1;
int g_out_fd = -1;
struct termios g_saved {};
struct termios g_raw {};
int g_wake[2] = {-1, -1};            // self-pipe: a handler writes a byte to wake the key reader
volatile sig_atomic_t g_open = 0;    // a backend owns the terminal
volatile sig_atomic_t g_active = 0;  // raw mode and the alternate screen are on
volatile sig_atomic_t g_terminate = 0;
volatile sig_atomic_t g_resized = 0;
volatile sig_atomic_t g_redraw = 0;
const TerminalBackend* g_instance = nullptr;

// Alternate screen, no autowrap (the bottom right cell must not scroll), Alt as an Esc
// prefix (xterm's metaSendsEscape, its old value saved first).
constexpr std::string_view ENTER_SEQUENCE = "\x1b[?1036s\x1b[?1049h\x1b[?1036h\x1b[?7l";
// The same when the terminal is still ours (a continue without a stop): nothing is saved
// again, so that the saved value stays the one found at start.
constexpr std::string_view REACTIVATE_SEQUENCE = "\x1b[?1049h\x1b[?1036h\x1b[?7l";
// Ends an update that a signal may have cut short, then undoes everything above.
constexpr std::string_view LEAVE_SEQUENCE =
    "\x1b[?2026l\x1b[0m\x1b[0 q\x1b[?25h\x1b[?7h\x1b[?1049l\x1b[?1036r";

// Async-signal-safe: write(2) only.
void write_raw(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    int tries = 0;
    while (left > 0 && tries < 100) {
        const ssize_t n = ::write(fd, p, left);
        if (n > 0) {
            p += n;
            left -= static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            ++tries;
        } else {
            return;  // the terminal is gone or would block; a handler cannot wait
        }
    }
}

// Async-signal-safe.
void leave_raw_mode() {
    if (!g_active) return;
    g_active = 0;
    write_raw(g_out_fd, LEAVE_SEQUENCE);
    while (tcsetattr(g_in_fd, TCSANOW, &g_saved) < 0 && errno == EINTR) {
    }
}

// Async-signal-safe.
bool enter_raw_mode(std::string_view sequence) {
    int rc;
    while ((rc = tcsetattr(g_in_fd, TCSANOW, &g_raw)) < 0 && errno == EINTR) {
    }
    if (rc < 0) return false;
    write_raw(g_out_fd, sequence);
    g_active = 1;
    return true;
}

void wake_reader() {
    if (g_wake[1] >= 0) {
        const ssize_t ignored = ::write(g_wake[1], "!", 1);  // a full pipe is awake already
        (void)ignored;
    }
}

void on_terminate(int sig) {
    const int saved_errno = errno;
    if (g_terminate) {
        // Asked twice: the program did not get round to ending, so end it now.
        leave_raw_mode();
        signal(sig, SIG_DFL);
        raise(sig);
    } else {
        g_terminate = 1;
        leave_raw_mode();
        wake_reader();
    }
    errno = saved_errno;
}

struct sigaction g_stop_action {};

void on_stop(int) {
    const int saved_errno = errno;
    leave_raw_mode();
    signal(SIGTSTP, SIG_DFL);
    raise(SIGTSTP);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);  // stops here; SIGCONT sets the terminal up
    sigaction(SIGTSTP, &g_stop_action, nullptr);
    errno = saved_errno;
}

void on_continue(int) {
    const int saved_errno = errno;
    if (g_open && !g_terminate) {
        // After a stop of our own the terminal was given back; after SIGSTOP the shell may
        // have changed its modes. Either way set it up again and paint everything.
        enter_raw_mode(g_active ? REACTIVATE_SEQUENCE : ENTER_SEQUENCE);
        g_redraw = 1;
        wake_reader();
    }
    errno = saved_errno;
}

void on_resize(int) {
    const int saved_errno = errno;
    g_resized = 1;
    wake_reader();
    errno = saved_errno;
}

[[maybe_unused]] void on_crash(int sig) {
    // SA_RESETHAND made the default action current: raised again, it ends the process
    // once this handler returns.
    leave_raw_mode();
    raise(sig);
}

struct InstalledHandler {
    int sig;
    struct sigaction old;
    bool installed;
};

constexpr std::array<int, 3> TERMINATE_SIGNALS = {SIGTERM, SIGHUP, SIGINT};
#ifndef ZORVAT_SANITIZED
constexpr std::array<int, 6> CRASH_SIGNALS = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGQUIT};
#endif

std::array<InstalledHandler, 12> g_handlers{};
std::size_t g_handler_count = 0;

sigset_t handled_signals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int s : TERMINATE_SIGNALS)
        sigaddset(&set, s);
    sigaddset(&set, SIGTSTP);
    sigaddset(&set, SIGCONT);
    sigaddset(&set, SIGWINCH);
    return set;
}

// Installs `handler` for `sig`. A signal that the program was started with ignored (as
// under nohup) stays ignored when `respect_ignored`.
void install(int sig, void (*handler)(int), int flags, bool respect_ignored) {
    InstalledHandler& h = g_handlers[g_handler_count];
    h.sig = sig;
    h.installed = false;
    if (sigaction(sig, nullptr, &h.old) < 0) return;
    if (respect_ignored && h.old.sa_handler == SIG_IGN) return;
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = flags;
    if (sigaction(sig, &sa, nullptr) < 0) return;
    if (sig == SIGTSTP) g_stop_action = sa;
    h.installed = true;
    ++g_handler_count;
}

void install_handlers() {
    g_handler_count = 0;
    for (const int s : TERMINATE_SIGNALS)
        install(s, on_terminate, SA_RESTART, true);
    install(SIGTSTP, on_stop, SA_RESTART, true);
    install(SIGCONT, on_continue, SA_RESTART, false);
    install(SIGWINCH, on_resize, SA_RESTART, false);
#ifndef ZORVAT_SANITIZED
    // An own stack, so that even a stack overflow gets the terminal back.
    alignas(16) static char crash_stack[64 * 1024];
    stack_t st{};
    st.ss_sp = crash_stack;
    st.ss_size = sizeof crash_stack;
    const bool have_stack = sigaltstack(&st, nullptr) == 0;
    for (const int s : CRASH_SIGNALS)
        install(s, on_crash, SA_RESETHAND | (have_stack ? SA_ONSTACK : 0), s == SIGQUIT);
#endif
}

void remove_handlers() {
    for (std::size_t i = 0; i < g_handler_count; ++i)
        if (g_handlers[i].installed) sigaction(g_handlers[i].sig, &g_handlers[i].old, nullptr);
    g_handler_count = 0;
}

void close_wake_pipe() {
    for (int& fd : g_wake) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

struct termios raw_mode_of(const struct termios& t) {
    struct termios raw = t;
    // Ctrl+C, Ctrl+S, Ctrl+Q, Ctrl+V and Ctrl+Z are keys; CR stays CR; all 8 bits arrive.
    raw.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INLCR | IGNCR | ISTRIP | IXON);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    return raw;
}

}  // namespace

std::string small_terminal_notice(int cols, int rows) {
    return "zorvat needs a terminal of at least 80 x 25 characters (this one is " +
           std::to_string(cols) + " x " + std::to_string(rows) + ").";
}

TerminalBackend::TerminalBackend(int in_fd, int out_fd) : in_fd_(in_fd), out_fd_(out_fd) {
    measure();
}

TerminalBackend::~TerminalBackend() {
    if (g_instance == this) restore_terminal();
}

std::int64_t TerminalBackend::now_ms() {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void TerminalBackend::measure() {
    struct winsize ws {};
    if (ioctl(out_fd_, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
        cols_ = ws.ws_col;
        rows_ = ws.ws_row;
    } else {
        cols_ = rows_ = 0;  // size not known (a serial line): assume it is large enough
    }
    full_redraw_ = true;
    notice_shown_ = false;
}

void TerminalBackend::write_out(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size() && g_active) {
        const ssize_t n = ::write(out_fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            struct pollfd p {
                out_fd_, POLLOUT, 0
            };
            poll(&p, 1, -1);
        } else {
            break;  // the terminal is gone; reading will notice
        }
    }
    if (done < bytes.size()) full_redraw_ = true;  // what the terminal shows is not known
}

void TerminalBackend::paint() {
    if (!g_active || !have_wanted_) return;
    if (cols_ > 0 && (cols_ < SCREEN_COLS || rows_ < SCREEN_ROWS)) {
        if (!notice_shown_) {
            // Autowrap on for the notice, so that a narrow terminal shows all of it.
            write_out("\x1b[0m\x1b[H\x1b[2J\x1b[?7h" + small_terminal_notice(cols_, rows_) +
                      "\x1b[?7l");
            notice_shown_ = true;
        }
        full_redraw_ = true;  // once large enough, everything is painted again
        return;
    }
    const std::string out = render_screen(shown_, wanted_, full_redraw_);
    full_redraw_ = false;
    shown_ = wanted_;
    if (!out.empty()) write_out(out);
}

void TerminalBackend::present(const Screen& screen) {
    wanted_ = screen;
    have_wanted_ = true;
    handle_signal_flags();
    paint();
}

void TerminalBackend::handle_signal_flags() {
    bool changed = false;
    if (g_resized) {
        g_resized = 0;
        measure();
        changed = true;
    }
    if (g_redraw) {
        g_redraw = 0;
        full_redraw_ = true;
        notice_shown_ = false;
        changed = true;
    }
    if (changed) paint();
}

void TerminalBackend::end_pending_key(std::int64_t now) {
    for (const unsigned char k : decoder_tick(decoder_, now))
        keys_.push_back(k);
}

void TerminalBackend::read_available() {
    char buf[512];
    const ssize_t n = ::read(in_fd_, buf, sizeof buf);
    if (n > 0) {
        const auto keys =
            decoder_feed(decoder_, std::string_view(buf, static_cast<std::size_t>(n)), now_ms());
        keys_.insert(keys_.end(), keys.begin(), keys.end());
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)) {
        input_ended_ = true;  // end of file, or EIO once the terminal has hung up
    }
}

void TerminalBackend::wait_events(std::int64_t deadline_ms) {
    handle_signal_flags();
    const bool live = g_instance == this;
    int timeout = -1;
    if (deadline_ms >= 0)
        timeout = static_cast<int>(std::clamp<std::int64_t>(deadline_ms - now_ms(), 0, INT_MAX));
    std::array<struct pollfd, 2> fds{};
    nfds_t count = 0;
    if (live && g_wake[0] >= 0) fds[count++] = {g_wake[0], POLLIN, 0};
    const nfds_t in_index = count;
    if (live && !input_ended_) fds[count++] = {in_fd_, POLLIN, 0};
    if (count == 0 && timeout < 0) return;  // nothing could ever wake us
    const int rc = poll(fds.data(), count, timeout);
    if (rc < 0) {
        if (errno != EINTR && errno != EAGAIN) input_ended_ = true;  // never spin on it
        return;
    }
    if (live && g_wake[0] >= 0 && (fds[0].revents & POLLIN)) {
        char drain[64];
        while (::read(g_wake[0], drain, sizeof drain) > 0) {
        }
    }
    if (in_index < count) {
        const short ev = fds[in_index].revents;
        if (ev & POLLNVAL)
            input_ended_ = true;
        else if (ev & (POLLIN | POLLHUP | POLLERR))
            read_available();
    }
    end_pending_key(now_ms());
    handle_signal_flags();
}

int TerminalBackend::read_key_byte() {
    for (;;) {
        if (g_terminate) return KEY_TERMINATED;
        if (!keys_.empty()) {
            const unsigned char k = keys_.front();
            keys_.pop_front();
            return k;
        }
        if (input_ended_ || g_instance != this) {
            end_pending_key(INT64_MAX);  // a lone Esc before the end is still a key
            if (!keys_.empty()) continue;
            return KEY_INPUT_ENDED;
        }
        const auto deadline = decoder_deadline(decoder_);
        wait_events(deadline ? *deadline : -1);
    }
}

bool TerminalBackend::key_waiting() {
    // An ended input or a termination counts as waiting, so that a loop that polls for a
    // key reads and learns of it instead of polling for ever.
    if (!keys_.empty() || g_terminate || input_ended_ || g_instance != this) return true;
    wait_events(now_ms());
    return !keys_.empty() || g_terminate || input_ended_;
}

void TerminalBackend::delay(int ms) {
    const std::int64_t end = now_ms() + std::max(ms, 0);
    // Keys typed meanwhile are decoded and kept; a resize is painted at once.
    while (!g_terminate && now_ms() < end) {
        const auto pending = decoder_deadline(decoder_);
        wait_events(pending ? std::min(*pending, end) : end);
    }
}

void TerminalBackend::sound(int) {
    if (g_active) write_out("\a");
}

void TerminalBackend::nosound() {}

std::unique_ptr<ConsoleBackend> open_terminal_on(int in_fd, int out_fd, std::string& error) {
    if (g_open) {
        error = "the terminal is already in use";
        return nullptr;
    }
    if (!isatty(in_fd)) {
        error = "zorvat needs a terminal: standard input is not a terminal.";
        return nullptr;
    }
    if (!isatty(out_fd)) {
        error = "zorvat needs a terminal: standard output is not a terminal.";
        return nullptr;
    }
    if (tcgetattr(in_fd, &g_saved) < 0) {
        error = std::string("cannot read the terminal's settings: ") + std::strerror(errno);
        return nullptr;
    }
    if (pipe2(g_wake, O_NONBLOCK | O_CLOEXEC) < 0) {
        error = std::string("cannot set up the terminal: ") + std::strerror(errno);
        return nullptr;
    }
    g_raw = raw_mode_of(g_saved);
    g_in_fd = in_fd;
    g_out_fd = out_fd;
    g_terminate = 0;
    g_resized = 0;
    g_redraw = 0;

    // No handler may run before the terminal is set up.
    const sigset_t set = handled_signals();
    sigset_t old_mask;
    sigprocmask(SIG_BLOCK, &set, &old_mask);
    install_handlers();
    g_open = 1;
    const bool ok = enter_raw_mode(ENTER_SEQUENCE);
    const int saved_errno = errno;
    if (!ok) {
        g_open = 0;
        remove_handlers();
        close_wake_pipe();
    }
    sigprocmask(SIG_SETMASK, &old_mask, nullptr);
    if (!ok) {
        error = std::string("cannot put the terminal in raw mode: ") + std::strerror(saved_errno);
        return nullptr;
    }
    // Also when the program ends through exit() with the backend still alive.
    static const bool at_exit_registered = std::atexit(restore_terminal) == 0;
    (void)at_exit_registered;
    auto backend = std::make_unique<TerminalBackend>(in_fd, out_fd);
    g_instance = backend.get();
    return backend;
}

std::unique_ptr<ConsoleBackend> open_terminal(std::string& error) {
    return open_terminal_on(STDIN_FILENO, STDOUT_FILENO, error);
}

void restore_terminal() {
    const sigset_t set = handled_signals();
    sigset_t old_mask;
    sigprocmask(SIG_BLOCK, &set, &old_mask);
    leave_raw_mode();
    if (g_open) {
        remove_handlers();
        close_wake_pipe();
        g_open = 0;
        g_instance = nullptr;
    }
    sigprocmask(SIG_SETMASK, &old_mask, nullptr);
}

bool termination_requested() {
    return g_terminate != 0;
}

}  // namespace zorvat
