// The dialogue toolkit: colour schemes, cursor shapes, the alarm, key reading,
// single-key questions, the texts of I/O error codes and small screen helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogue/console.h"
#include "dialogue/keys.h"
#include "dialogue/types.h"

namespace zorvat {

// Outcome of the last interactive routine.
extern std::int16_t EXITCODE;
// The last table name entered; offered again by Up in a name field.
extern STRING60 DEFNAME;
// State of the graphics window.
extern std::int16_t GRAPHDRIVER;
extern std::int16_t GRAPHMODE;
extern std::int16_t MAX_X, MAX_Y, MID_X, MID_Y;

void reset_toolkit_state();

void ORDINARY_TEXT();  // yellow on blue
void BRIGHT_TEXT();    // white on blue
void INVERSE_TEXT();   // yellow on red
void DEFAULT_CURSOR();
void INSERT_CURSOR();
void BEEP();   // 400 Hz for 100 ms
void PAUSE();  // 500 ms

// C := the next key; for an extended key (C = 0) D := its scan code, else D is left alone.
void MYREADKEY(char& C, char& D);
// One key: its character, or its scan code for an extended key.
char WAITFORANYKEY();
// A choice among the characters of ALLOWED; DEFAULT (unless Escape) is shown and taken by Enter.
char SELECTUPCHAR(const SETCHAR& ALLOWED, char DEFAULT, bool NEWLINE);
char READYESNO(char DEFAULT);
// "Manuscript or Corrected version?": true for manuscript.
bool MSORCR();
// The text of an I/O or program error code, without a line break; unknown codes write nothing.
void ERRORMESSAGE(int ERROR);
// The text ERRORMESSAGE writes (empty for an unknown code).
std::string_view error_text(int code);

std::string BLANKSTRING(int N);
void WRITEBLANK(int N);
void WRITEBACK(int N);
void WRITEDOTS(int N);
std::string SKIPBEGINBLANKS(std::string_view ST);
std::string SKIPENDBLANKS(std::string_view ST);
std::int64_t COMPTRUNC(long double R);

// Upper case of a-z only, as the keyboard routines want it.
constexpr char upcase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

}  // namespace zorvat
