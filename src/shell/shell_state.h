// State of the program shell, the reset of every subsystem's state, and the way out.
#pragma once

#include <cstdint>

namespace zorvat {

extern std::uint8_t DOS_COLORS;   // text attribute at start, set again at quit
extern std::uint16_t DOS_CURSOR;  // cursor shape at start (kept for the record only)
extern std::uint8_t DEFNO;

void reset_shell_state();

// Every subsystem's state back to its start values; the console backend stays installed.
void reset_program_state();

// Ends the program with an exit code. The program installs a handler that restores the
// terminal and exits; a test installs one that unwinds to the test. Never returns.
using ProgramEndHandler = void (*)(int exit_code);
void set_program_end_handler(ProgramEndHandler handler);
[[noreturn]] void end_program(int exit_code);

}  // namespace zorvat
