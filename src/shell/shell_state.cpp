#include "shell/shell_state.h"

#include <cstdlib>

#include "data/data_state.h"
#include "dialogue/console.h"
#include "dialogue/toolkit.h"

namespace zorvat {

std::uint8_t DOS_COLORS = 7;
std::uint16_t DOS_CURSOR = 0;
std::uint8_t DEFNO = 0;

namespace {
ProgramEndHandler program_end_handler = nullptr;
}

void reset_shell_state() {
    DOS_COLORS = 7;
    DOS_CURSOR = 0;
    DEFNO = 0;
}

void reset_program_state() {
    reset_console();
    reset_toolkit_state();
    reset_data_state();
    reset_shell_state();
}

void set_program_end_handler(ProgramEndHandler handler) {
    program_end_handler = handler;
}

void end_program(int exit_code) {
    if (program_end_handler) program_end_handler(exit_code);
    std::exit(exit_code);
}

}  // namespace zorvat
