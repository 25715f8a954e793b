#include "support/scripted_console.h"

#include <gtest/gtest.h>

#include "dialogue/console.h"
#include "shell/shell_state.h"

namespace zorvat::testing {

namespace {

struct KeysRanOut {};
struct ProgramEnded {
    int code;
};

[[noreturn]] void throw_keys_ran_out(int) {
    throw KeysRanOut{};
}
[[noreturn]] void throw_program_ended(int code) {
    throw ProgramEnded{code};
}

}  // namespace

ScriptedConsole::ScriptedConsole(std::string_view keys_text) {
    reset_program_state();
    set_console_backend(&backend_);
    set_input_ended_handler(throw_keys_ran_out);
    set_program_end_handler(throw_program_ended);
    backend_.on_present = [this](const Screen& screen) {
        for (int y = 1; y <= SCREEN_ROWS; ++y)
            shown_rows_.insert(screen_row(screen, y));
    };
    keys(keys_text);
}

ScriptedConsole::~ScriptedConsole() {
    set_console_backend(nullptr);
    set_input_ended_handler(nullptr);
    set_program_end_handler(nullptr);
}

void ScriptedConsole::keys(std::string_view more) {
    const KeyParse parsed = parse_keys(more);
    EXPECT_TRUE(parsed.error.empty()) << "key script: " << parsed.error;
    backend_.items.insert(backend_.items.end(), parsed.items.begin(), parsed.items.end());
}

bool ScriptedConsole::keys_left() const {
    return backend_.position < backend_.items.size();
}

ScriptedConsole::Outcome ScriptedConsole::execute(const std::function<void()>& fn) {
    try {
        fn();
        return Outcome::Returned;
    } catch (const KeysRanOut&) {
        return Outcome::KeysRanOut;
    } catch (const ProgramEnded& e) {
        ended_ = true;
        exit_code_ = e.code;
        return Outcome::ProgramEnded;
    }
}

bool ScriptedConsole::run(const std::function<void()>& fn) {
    switch (execute(fn)) {
        case Outcome::Returned:
            return true;
        case Outcome::KeysRanOut:
            ADD_FAILURE() << "the dialogue waited for a key the script does not have:\n" << dump();
            return false;
        case Outcome::ProgramEnded:
            ADD_FAILURE() << "the program ended with code " << exit_code_ << ":\n" << dump();
            return false;
    }
    return false;
}

bool ScriptedConsole::run_until_keys_run_out(const std::function<void()>& fn) {
    const Outcome o = execute(fn);
    if (o == Outcome::Returned) ADD_FAILURE() << "the routine returned before the keys ran out";
    return o == Outcome::KeysRanOut;
}

std::string ScriptedConsole::row(int y) const {
    return screen_row(CONSOLE.screen, y);
}

std::vector<std::string> ScriptedConsole::rows(int from, int to) const {
    std::vector<std::string> out;
    for (int y = from; y <= to; ++y)
        out.push_back(row(y));
    return out;
}

unsigned char ScriptedConsole::ch(int x, int y) const {
    return CONSOLE.screen.at(x - 1, y - 1).ch;
}

std::uint8_t ScriptedConsole::attr(int x, int y) const {
    return CONSOLE.screen.at(x - 1, y - 1).attr;
}

int ScriptedConsole::cursor_x() const {
    return CONSOLE.screen.cursor_x + 1;
}
int ScriptedConsole::cursor_y() const {
    return CONSOLE.screen.cursor_y + 1;
}

std::string ScriptedConsole::dump() const {
    return dump_screen(CONSOLE.screen, backend_.beeps);
}

}  // namespace zorvat::testing
