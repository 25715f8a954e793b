// A console backend that plays keys from a script on a virtual screen with a virtual
// clock: for scripted runs of the program and for tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dialogue/console.h"
#include "dialogue/keys.h"

namespace zorvat {

struct ScriptBackend final : ConsoleBackend {
    std::vector<ScriptItem> items;
    std::size_t position = 0;
    std::int64_t clock_ms = 0;
    int beeps = 0;
    Screen shown{};
    std::function<void(const Screen&)> on_dump;     // called at each <dump>
    std::function<void(const Screen&)> on_present;  // called at each showing of the screen

    int read_key_byte() override;
    bool key_waiting() override;
    std::int64_t now_ms() override { return clock_ms; }
    void delay(int ms) override { clock_ms += ms < 0 ? 0 : ms; }
    void sound(int hz) override {
        if (hz > 0) ++beeps;
    }
    void nosound() override {}
    void present(const Screen& screen) override {
        shown = screen;
        if (on_present) on_present(screen);
    }
};

// The screen as text: 25 rows of UTF-8 without trailing blanks, each ended by a line break,
// then "-- cursor X,Y beeps N" (the cursor 1-based).
std::string dump_screen(const Screen& screen, int beeps);

// One row (1-based) of a screen as UTF-8, without trailing blanks.
std::string screen_row(const Screen& screen, int y);

}  // namespace zorvat
