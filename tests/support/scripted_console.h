// Runs dialogues on the virtual console with keys from a script, and reads back the screen.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dialogue/script_backend.h"

namespace zorvat::testing {

// The console is one for the whole program: let only one of these live at a time.
class ScriptedConsole {
  public:
    // Resets the state of every subsystem and installs a backend that plays `keys`.
    explicit ScriptedConsole(std::string_view keys = "");
    ~ScriptedConsole();
    ScriptedConsole(const ScriptedConsole&) = delete;
    ScriptedConsole& operator=(const ScriptedConsole&) = delete;

    // Adds keys after those not yet read.
    void keys(std::string_view more);

    // Runs fn. Waiting for a key the script does not have fails the test with a dump of
    // the screen; so does ending the program. Returns false in those cases.
    bool run(const std::function<void()>& fn);
    // Runs fn until the keys run out (for the command loop, which never returns).
    // Returns true when they ran out; ending the program instead sets exit_code().
    bool run_until_keys_run_out(const std::function<void()>& fn);

    bool program_ended() const { return ended_; }
    int exit_code() const { return exit_code_; }
    bool keys_left() const;

    std::string row(int y) const;  // 1-based, UTF-8, trailing blanks removed
    std::vector<std::string> rows(int from, int to) const;
    unsigned char ch(int x, int y) const;  // 1-based, the code page 437 byte
    std::uint8_t attr(int x, int y) const;
    int cursor_x() const;  // 1-based, whole screen
    int cursor_y() const;
    int beeps() const { return backend_.beeps; }
    std::int64_t time_ms() const { return backend_.clock_ms; }
    std::string dump() const;
    // Whether a row (as row() gives it) read `text` at any showing of the screen so far,
    // such as a message that stood for half a second and was erased again.
    bool showed(const std::string& text) const { return shown_rows_.count(text) > 0; }
    const std::set<std::string>& shown_rows() const { return shown_rows_; }

  private:
    enum class Outcome { Returned, KeysRanOut, ProgramEnded };
    Outcome execute(const std::function<void()>& fn);

    ScriptBackend backend_;
    std::set<std::string> shown_rows_;
    bool ended_ = false;
    int exit_code_ = -1;
};

}  // namespace zorvat::testing
