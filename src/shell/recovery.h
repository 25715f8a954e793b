// When the program is made to end (the terminal closed, SIGTERM), the unsaved tables of the
// internal zij go to a new recovery zij, so that no typing is lost with the window.
#pragma once

#include <string>

namespace zorvat {

// Writes the tables whose SAVED flag is false to a new zij RECOVERn.ZVT in the current
// directory (in the home directory when that fails) and gives the line to write on
// standard error once the terminal is given back; empty when every table was saved.
std::string recover_unsaved_tables();

// The end of a terminal session that was no quit (hang-up, SIGTERM, or no more input; the
// terminal already given back): saves the unsaved tables as above, writes the note on
// standard error and gives the exit code, 1 for a signal and 0 for the end of input.
int finish_terminal_session(int reason);

}  // namespace zorvat
