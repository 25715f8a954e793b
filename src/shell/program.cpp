#include "shell/program.h"

#include "commands/commands.h"
#include "data/data_state.h"
#include "dialogue/toolkit.h"
#include "platform/files.h"
#include "shell/configuration.h"
#include "shell/interpreter.h"
#include "shell/menus.h"
#include "shell/shell_state.h"

namespace zorvat {

void move_start_zij_to_front(const std::string& full_name) {
    DEFNO = 4;
    for (std::uint8_t i = 1; i <= 3; ++i) {
        if (DEFZIJ[i] == full_name) {
            DEFNO = i;
            break;
        }
    }
    for (std::uint8_t i = DEFNO; i >= 2; --i)
        DEFZIJ[i] = DEFZIJ[i - 1];
    DEFZIJ[1] = full_name;
}

void RUN_PROGRAM(const std::optional<std::string>& zij_argument) {
    reset_program_state();
    SAVE_DOS_SCREEN();
    READ_CONFIGURATION();
    ORDINARY_TEXT();
    MAINMENU();
    if (zij_argument) {
        PARAM = expand_path(*zij_argument);
        move_start_zij_to_front(PARAM);
        GETTABLES();
        write_line();
    } else {
        PARAM.clear();
    }
    COMMAND();
}

}  // namespace zorvat
