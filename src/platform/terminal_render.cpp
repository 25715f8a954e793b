#include "platform/terminal_render.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "dialogue/cp437.h"

namespace zorvat {

namespace {

// ANSI colour numbers of the PC colours 0..7 (blue and red, cyan and brown swap places).
constexpr std::array<int, 8> ANSI_OF_PC = {0, 4, 2, 6, 1, 5, 3, 7};

// Unchanged cells between two changed ones that are repainted rather than skipped with a
// cursor move (which costs up to eight bytes).
constexpr int MAX_GAP = 3;

void append_number(std::string& out, int n) {
    out += std::to_string(n);
}

void move_to(std::string& out, int x, int y) {
    out += "\x1b[";
    append_number(out, y + 1);
    out += ';';
    append_number(out, x + 1);
    out += 'H';
}

void append_cell(std::string& out, const Cell& cell, int& current_attr) {
    if (cell.attr != current_attr) {
        out += "\x1b[0;";
        out += sgr_colours(cell.attr);
        out += 'm';
        current_attr = cell.attr;
    }
    append_utf8(out, CP437_TO_UNICODE[cell.ch]);
}

const char* cursor_shape_sequence(CursorShape shape) {
    return shape == CursorShape::Block ? "\x1b[2 q" : "\x1b[4 q";  // steady block, underline
}

}  // namespace

std::string sgr_colours(std::uint8_t attr) {
    const int fg = attr & 0x0F;
    const int bg = (attr >> 4) & 0x07;
    const int fg_code = (fg < 8 ? 30 : 90) + ANSI_OF_PC[static_cast<std::size_t>(fg & 7)];
    const int bg_code = 40 + ANSI_OF_PC[static_cast<std::size_t>(bg)];
    return std::to_string(fg_code) + ';' + std::to_string(bg_code);
}

std::string render_screen(const Screen& shown, const Screen& wanted, bool full_redraw) {
    if (!full_redraw && shown == wanted) return {};

    std::string out = "\x1b[?2026h\x1b[?25l";
    if (full_redraw) out += "\x1b[0m\x1b[H\x1b[2J";
    int current_attr = -1;  // not known: the first cell sets it
    for (int y = 0; y < SCREEN_ROWS; ++y) {
        int x = 0;
        while (x < SCREEN_COLS) {
            if (!full_redraw && shown.at(x, y) == wanted.at(x, y)) {
                ++x;
                continue;
            }
            // A run from x to the last changed cell not followed by a longer gap.
            int end = x + 1;
            if (full_redraw) {
                end = SCREEN_COLS;
            } else {
                int last = x;
                for (int k = x + 1; k < SCREEN_COLS && k - last <= MAX_GAP + 1; ++k)
                    if (!(shown.at(k, y) == wanted.at(k, y))) last = k;
                end = last + 1;
            }
            move_to(out, x, y);
            for (int k = x; k < end; ++k)
                append_cell(out, wanted.at(k, y), current_attr);
            x = end;
        }
    }
    if (current_attr != -1) out += "\x1b[0m";
    move_to(out, std::clamp(wanted.cursor_x, 0, SCREEN_COLS - 1),
            std::clamp(wanted.cursor_y, 0, SCREEN_ROWS - 1));
    if (full_redraw || shown.cursor_shape != wanted.cursor_shape)
        out += cursor_shape_sequence(wanted.cursor_shape);
    out += "\x1b[?25h\x1b[?2026l";
    return out;
}

}  // namespace zorvat
