// Turns the console's screen into what a terminal must be sent to show it. Pure: the
// result depends only on what the terminal shows now and what it should show.
#pragma once

#include <cstdint>
#include <string>

#include "dialogue/console.h"

namespace zorvat {

// The SGR parameters "fg;bg" of an attribute byte: foreground in the low nibble, background
// in bits 4..6 (bit 7, blink, is not shown), in the PC's colour order.
std::string sgr_colours(std::uint8_t attr);

// The bytes that change the terminal from `shown` to `wanted`: only the changed runs, in
// one synchronized update, the cursor hidden while painting and then shown where `wanted`
// has it. `full_redraw` clears the terminal and paints everything (the terminal's content
// is not known). Empty when nothing changed.
std::string render_screen(const Screen& shown, const Screen& wanted, bool full_redraw);

}  // namespace zorvat
