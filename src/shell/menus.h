// The fixed screens: the command overview, the kinds of tables, the table editor's menu.
#pragma once

#include <string>

namespace zorvat {

void MAINMENU();         // clears the screen and writes the command overview (23 lines)
void TYPEMENU();         // the kinds of mean motion tables (18 lines) at the cursor
void MODIFYTABLEMENU();  // the table editor's menu (15 lines) at the cursor

// Line 1 of the overview: the program's title centred in 79 characters.
std::string overview_title_line();

}  // namespace zorvat
