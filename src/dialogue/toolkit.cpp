#include "dialogue/toolkit.h"

#include <cmath>

#include "dialogue/cp437.h"

namespace zorvat {

std::int16_t EXITCODE = 0;
STRING60 DEFNAME;
std::int16_t GRAPHDRIVER = 0;
std::int16_t GRAPHMODE = -1;
std::int16_t MAX_X = 0, MAX_Y = 0, MID_X = 0, MID_Y = 0;

void reset_toolkit_state() {
    EXITCODE = 0;
    DEFNAME.clear();
    GRAPHDRIVER = 0;
    GRAPHMODE = -1;
    MAX_X = MAX_Y = MID_X = MID_Y = 0;
}

void ORDINARY_TEXT() {
    TEXTCOLOR(14);
    TEXTBACKGROUND(1);
}

void BRIGHT_TEXT() {
    TEXTCOLOR(15);
    TEXTBACKGROUND(1);
}

void INVERSE_TEXT() {
    TEXTCOLOR(14);
    TEXTBACKGROUND(4);
}

void DEFAULT_CURSOR() {
    CURSORON();
}
void INSERT_CURSOR() {
    CURSORBIG();
}

void BEEP() {
    SOUND(400);
    DELAY(100);
    NOSOUND();
}

void PAUSE() {
    DELAY(500);
}

void MYREADKEY(char& C, char& D) {
    C = READKEY();
    if (C == 0) D = READKEY();
}

char WAITFORANYKEY() {
    const char c = READKEY();
    return c == 0 ? READKEY() : c;
}

char SELECTUPCHAR(const SETCHAR& ALLOWED, char DEFAULT, bool NEWLINE) {
    SETCHAR extra = chars_of(std::string_view(&ESC, 1));
    if (DEFAULT != ESC) {
        TEXTCOLOR(10);
        write_char(DEFAULT);
        write_char(BACKSP);
        TEXTCOLOR(14);
        extra.set(static_cast<unsigned char>(RETURN));
    }
    char c = 0, d = 0;
    for (;;) {
        MYREADKEY(c, d);
        if (c == 0) continue;  // extended keys are not choices
        c = upcase(c);
        const auto u = static_cast<unsigned char>(c);
        if (ALLOWED.test(u) || extra.test(u)) break;
    }
    if (c == RETURN) c = DEFAULT;
    if (ALLOWED.test(static_cast<unsigned char>(c))) write_char(c);
    if (NEWLINE) write_line();
    return c;
}

char READYESNO(char DEFAULT) {
    return SELECTUPCHAR(chars_of("NY"), DEFAULT, true);
}

bool MSORCR() {
    const int x = WHEREX(), y = WHEREY();
    write_text("Manuscript or Corrected version?  (M/C)  ");
    char c = 0, d = 0;
    for (;;) {
        MYREADKEY(c, d);
        if (c == 0) continue;
        c = upcase(c);
        if (c == 'M' || c == 'C' || c == ESC) break;
    }
    if (c == ESC) {
        write_line();
        EXITCODE = ESCCODE;
        return false;
    }
    GOTOXY(x, y);
    CLREOL();
    write_line(c == 'M' ? "Manuscript version" : "Corrected version");
    EXITCODE = RETURNCODE;
    return c == 'M';
}

std::string_view error_text(int code) {
    switch (code) {
        case -8:
            return "Table to be read has too many values. Try using ZORVATXL. ";
        case -7:
            return "Incorrect table number.";
        case -6:
            return "This range does not contain any tables.";
        case -5:
            return "Old file format (use ZVCONV to convert).";
        case -4:
            return "Insufficient heap memory.";
        case -3:
            return "Invalid drive.";
        case -2:
            return "Unexisting directory or file.";
        case -1:
            return "Incorrect name of zij.";
        case 2:
            return "File not found.";
        case 3:
            return "Path not found.";
        case 5:
            return "File access denied.";
        case 6:
            return "Invalid file handle!";
        case 12:
            return "Invalid file access mode.";
        case 15:
            return "Invalid drive number.";
        case 100:
            return "Disk read error.";
        case 101:
            return "Disk is full.";
        case 150:
            return "Disk is write-protected.";
        case 152:
            return "Drive not ready.";
        case 156:
            return "Disk seek error.";
        case 160:
            return "Device write fault.";
        case 161:
            return "Device read fault.";
        case 162:
            return "Oops! Hardware failure.";
        default:
            return {};
    }
}

void ERRORMESSAGE(int ERROR) {
    write_text(error_text(ERROR));
}

std::string BLANKSTRING(int N) {
    if (N < 0) N = 0;
    if (N > 79) N = 79;
    return std::string(static_cast<std::size_t>(N), ' ');
}

void WRITEBLANK(int N) {
    write_text(BLANKSTRING(N));
}

void WRITEBACK(int N) {
    const int x = WHEREX() - N;
    GOTOXY(x < 1 ? 1 : x, WHEREY());
}

void WRITEDOTS(int N) {
    if (N < 0) N = 0;
    if (N > 79) N = 79;
    const int x = WHEREX(), y = WHEREY();
    write_text(std::string(static_cast<std::size_t>(N), '.'));
    GOTOXY(x, y);  // back to the first dot, even when the dots reached the next row
}

std::string SKIPBEGINBLANKS(std::string_view ST) {
    const auto p = ST.find_first_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(ST.substr(p));
}

std::string SKIPENDBLANKS(std::string_view ST) {
    const auto p = ST.find_last_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(ST.substr(0, p + 1));
}

std::int64_t COMPTRUNC(long double R) {
    if (std::fabs(R) > 1e18L) return UNDEF;
    const long double a = std::fabs(R);
    const long double q = std::trunc(a / 2147483648.0L);
    const long double h = q * 2147483648.0L;
    const std::int64_t result =
        static_cast<std::int64_t>(std::trunc(a - h)) + static_cast<std::int64_t>(h);
    return R < 0 ? -result : result;
}

}  // namespace zorvat
