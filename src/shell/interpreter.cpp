#include "shell/interpreter.h"

#include <array>

#include "commands/commands.h"
#include "data/data_state.h"
#include "dialogue/console.h"
#include "dialogue/toolkit.h"
#include "shell/configuration.h"
#include "shell/menus.h"
#include "shell/shell_state.h"

namespace zorvat {

namespace {

constexpr std::array<CommandEntry, 36> COMMAND_TABLE = {{
    {'H', 0, "H", MAINMENU_COMMAND, false},
    {'?', 0, "?", MAINMENU_COMMAND, false},
    {'C', 'A', "CA", CALCULATEALMANAC, true},
    {'C', 'D', "CD", CHANGEDIRECTORY, true},
    {'C', 'M', "CM", COMPARE, true},
    {'C', 'P', "CP", COPYTABLES, true},
    {'C', 'S', "CS", CLEAR_SCREEN, false},
    {'D', 'A', "DA", DELETEALLTABLES, true},
    {'D', 'F', "DF", DIFFERENCES, true},
    {'D', 'T', "DT", DELETETABLES, true},
    {'D', 'Z', "DZ", DELETEZIJ, true},
    {'G', 'T', "GT", GETTABLES, true},
    {'G', 'Z', "GZ", GETZIJ, true},
    {'I', 0, "IT", INPUTTABLE, true},
    {'L', 'B', "LB", LISTZIJESINBRANCH, true},
    {'L', 'N', "LNE", LEAST_NUMBER_OF_ERRORS, true},
    {'L', 'S', "LS", LEAST_SQUARES_ESTIMATION, true},
    {'L', 'T', "LT", LISTTABLES, true},
    {'L', 'Z', "LZ", LISTZIJES, true},
    {'M', 'O', "MO", MODIFY, true},
    {'M', 'V', "MV", MOVETABLES, true},
    {'O', 0, "OE", OPTIMUM_EPOCH_VALUE, true},
    {'P', 0, "PR", PRINTTABLES, true},
    {'Q', 0, "Q", QUIT, false},
    {'R', 'C', "RC", RECOMPUTE, true},
    {'R', 'N', "RN", RENUMBER, true},
    {'R', 'Z', "RZ", RENAMEZIJ, true},
    {'S', 'E', "SE", SCRIBAL_ERRORS, true},
    {'S', 'P', "SP", SPECIAL_FUNCTION, true},
    {'S', 'Q', "SQ", SQUEEZE_PARAMETER, true},
    {'S', 'T', "ST", SAVETABLES, true},
    {'S', 'Z', "SZ", SAVEZIJ, true},
    {'V', 0, "VW", VIEWTABLE, true},
    {'W', 0, "WR", WRITETABLE, true},
    // Extended keys: first 0, second the scan code.
    {0, F1, "F1", MAINMENU_COMMAND, false},
    {0, ALTD, "", TOGGLE_DISPLAYMODE, true},
}};

// Takes back what an unrecognised key left: the prompt is written again over itself.
void erase_back() {
    write_text("\b ");
    GOTOXY(1, WHEREY());
}

void carry_out(const CommandEntry& entry, std::string_view already_written) {
    write_text(entry.echo.substr(already_written.size()));
    if (!entry.echo.empty()) write_line();
    entry.procedure();
    if (entry.empty_line_after) write_line();
}

}  // namespace

const CommandEntry* find_command(char first, char second) {
    for (const auto& entry : COMMAND_TABLE)
        if (entry.first == first && entry.second == second) return &entry;
    return nullptr;
}

bool starts_two_letter_command(char first) {
    if (first == 0) return false;
    for (const auto& entry : COMMAND_TABLE)
        if (entry.first == first && entry.second != 0) return true;
    return false;
}

void interpret_command() {
    char c = 0, d = 0;
    MYREADKEY(c, d);
    if (c == 0) {
        if (const CommandEntry* entry = find_command(0, d)) {
            carry_out(*entry, "");
        } else {
            GOTOXY(1, WHEREY());  // other extended keys: the prompt again, nothing erased
        }
        return;
    }
    c = upcase(c);
    if (const CommandEntry* entry = find_command(c, 0)) {
        carry_out(*entry, "");
        return;
    }
    if (!starts_two_letter_command(c)) {
        erase_back();
        return;
    }
    write_char(c);
    char c2 = 0, d2 = 0;
    MYREADKEY(c2, d2);
    const CommandEntry* entry = c2 == 0 ? nullptr : find_command(c, upcase(c2));
    if (entry == nullptr) {
        erase_back();  // erases the echoed first letter too
        return;
    }
    carry_out(*entry, std::string_view(&c, 1));
}

void COMMAND() {
    for (;;) {
        write_text("ZORVAT> ");
        interpret_command();
    }
}

void MAINMENU_COMMAND() {
    MAINMENU();
}

void TOGGLE_DISPLAYMODE() {
    write_text("Displaymode set to ");
    switch (DISPLAYMODE) {
        case DEGREES:
            DISPLAYMODE = SIGNS;
            write_line("signs.");
            break;
        case SIGNS:
            DISPLAYMODE = DAYSHOURS;
            write_line("days and hours.");
            break;
        default:
            DISPLAYMODE = DEGREES;
            write_line("degrees.");
            break;
    }
}

void CLEAR_SCREEN() {
    CLRSCR();
}

void SAVE_DOS_SCREEN() {
    DOS_COLORS = TEXTATTR();
}

void RESTORE_DOS_SCREEN() {
    SET_TEXTATTR(DOS_COLORS);
    DEFAULT_CURSOR();
}

void QUIT() {
    bool unsaved = false;
    for (const TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get()) {
        if (!t->SAVED) {
            unsaved = true;
            break;
        }
    }
    bool quit = true;
    if (unsaved) {
        write_text("Not all tables have been saved. ");
        write_text("Quit?  (Y/N)  ");
        quit = READYESNO('N') == 'Y';
    }
    write_line();
    if (!quit) return;
    SAVE_CONFIGURATION();
    RESTORE_DOS_SCREEN();
    CLRSCR();
    end_program(0);
}

}  // namespace zorvat
