#include "dialogue/script_backend.h"

#include "dialogue/cp437.h"

namespace zorvat {

int ScriptBackend::read_key_byte() {
    while (position < items.size()) {
        const ScriptItem item = items[position++];
        if (!item.dump) return item.byte;
        if (on_dump) on_dump(shown);
    }
    return KEY_INPUT_ENDED;
}

bool ScriptBackend::key_waiting() {
    for (std::size_t i = position; i < items.size(); ++i)
        if (!items[i].dump) return true;
    return false;
}

std::string screen_row(const Screen& screen, int y) {
    std::string bytes;
    for (int x = 0; x < SCREEN_COLS; ++x)
        bytes.push_back(static_cast<char>(screen.at(x, y - 1).ch));
    // Byte 0 shows as a blank, so it is trimmed like one.
    const auto last = bytes.find_last_not_of(std::string_view(" \0", 2));
    bytes.resize(last == std::string::npos ? 0 : last + 1);
    return cp437_to_utf8(bytes);
}

std::string dump_screen(const Screen& screen, int beeps) {
    std::string out;
    for (int y = 1; y <= SCREEN_ROWS; ++y)
        out += screen_row(screen, y) + "\n";
    out += "-- cursor " + std::to_string(screen.cursor_x + 1) + "," +
           std::to_string(screen.cursor_y + 1) + " beeps " + std::to_string(beeps) + "\n";
    return out;
}

}  // namespace zorvat
