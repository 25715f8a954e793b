// The console on a real terminal: raw keys through the decoder, the screen through the
// renderer, time from the monotonic clock, the tone as the terminal's bell.
//
// Opening the terminal puts it in raw mode on the alternate screen and installs signal
// handlers that give it back: at SIGTERM, SIGHUP and SIGINT (the program is then asked to
// end: read_key_byte gives KEY_TERMINATED; a second one ends it at once), around a stop
// (SIGTSTP, SIGCONT), and before a crash signal (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT,
// SIGQUIT) takes its default action; the sanitizer build leaves crashes to the sanitizer.
// A resize (SIGWINCH) repaints. Only one terminal is open at a time.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "dialogue/console.h"
#include "platform/terminal_decoder.h"

namespace zorvat {

class TerminalBackend final : public ConsoleBackend {
  public:
    TerminalBackend(int in_fd, int out_fd);
    ~TerminalBackend() override;
    TerminalBackend(const TerminalBackend&) = delete;
    TerminalBackend& operator=(const TerminalBackend&) = delete;

    int read_key_byte() override;
    bool key_waiting() override;
    std::int64_t now_ms() override;
    void delay(int ms) override;
    void sound(int hz) override;
    void nosound() override;
    void present(const Screen& screen) override;

  private:
    // Waits until `deadline_ms` (-1: no limit) or an event, reads what the terminal sent
    // and handles resizes and continues.
    void wait_events(std::int64_t deadline_ms);
    void read_available();
    void end_pending_key(std::int64_t now);
    void handle_signal_flags();
    void measure();
    void paint();
    void write_out(const std::string& bytes);

    int in_fd_;
    int out_fd_;
    KeyDecoder decoder_{};
    std::deque<unsigned char> keys_;
    bool input_ended_ = false;
    Screen shown_{};
    Screen wanted_{};
    bool have_wanted_ = false;
    bool full_redraw_ = true;
    bool notice_shown_ = false;
    int cols_ = 0;
    int rows_ = 0;
};

// Opens the console on standard input and output; nullptr and a message in `error` when
// they are not a terminal or cannot be put in raw mode.
std::unique_ptr<ConsoleBackend> open_terminal(std::string& error);

// The same on other descriptors (tests use a pseudo-terminal).
std::unique_ptr<ConsoleBackend> open_terminal_on(int in_fd, int out_fd, std::string& error);

// Gives the terminal back as it was found and removes the signal handlers. Safe to call
// any number of times, also when no terminal was opened.
void restore_terminal();

// SIGTERM, SIGHUP or SIGINT arrived since the terminal was opened.
bool termination_requested();

// The notice shown instead of the screen while the terminal is smaller than 80 x 25.
std::string small_terminal_notice(int cols, int rows);

}  // namespace zorvat
