// The command interpreter: the prompt "ZORVAT> ", one- and two-letter commands echoed as
// they are recognised, and the commands of the shell itself (help, display mode, clear
// screen, quit).
#pragma once

#include <string_view>

namespace zorvat {

using CommandProcedure = void (*)();

struct CommandEntry {
    char first;             // upper case
    char second;            // upper case; 0 for a one-key command
    std::string_view echo;  // what stands after the prompt once the command is recognised
    CommandProcedure procedure;
    bool empty_line_after;  // an empty line follows when the procedure returns
};

// The entry for these keys (upper case; second 0 for one key), or nullptr.
const CommandEntry* find_command(char first, char second);
// Whether a first key starts a two-letter command.
bool starts_two_letter_command(char first);

// Never returns: the quit command ends the program.
[[noreturn]] void COMMAND();
// Reads and carries out one command after the prompt has been written.
void interpret_command();

void MAINMENU_COMMAND();    // H, ? and F1
void TOGGLE_DISPLAYMODE();  // Alt-D
void CLEAR_SCREEN();        // CS
void QUIT();                // Q: asks about unsaved tables, saves the configuration, ends

void SAVE_DOS_SCREEN();
void RESTORE_DOS_SCREEN();

}  // namespace zorvat
