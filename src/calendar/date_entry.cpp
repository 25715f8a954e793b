#include "calendar/date_entry.h"

#include <algorithm>
#include <cassert>
#include <string>

#include "calendar/calendar.h"
#include "dialogue/console.h"
#include "dialogue/keys.h"
#include "dialogue/toolkit.h"

namespace zorvat {

namespace {

constexpr std::size_t MONTHFIELD = 14;

bool is_letter(char c) {
    const char u = upcase(c);
    return u >= 'A' && u <= 'Z';
}

// The value of a text of at most four decimal digits.
int value_of(const std::string& digits) {
    int v = 0;
    for (const char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

// The month after `month`, cyclically in 1..nm, whose name begins with the letter; the
// month itself when no other one does.
std::int16_t month_by_letter(const TABLE* tp, std::int16_t month, int nm, char letter,
                             bool allowleap) {
    const char wanted = upcase(letter);
    for (int k = 1; k < nm; ++k) {
        const auto candidate = static_cast<std::int16_t>((month - 1 + k) % nm + 1);
        const STRING60 name = MONTHNAME(tp->ERA, tp->INTERCALATION, candidate, allowleap);
        if (!name.empty() && upcase(name[0]) == wanted) return candidate;
    }
    return month;
}

std::int16_t previous_month(std::int16_t month, int nm) {
    return static_cast<std::int16_t>(month <= 1 ? nm : month - 1);
}

std::int16_t next_month(std::int16_t month, int nm) {
    return static_cast<std::int16_t>(month >= nm ? 1 : month + 1);
}

}  // namespace

void ENTERMONTH(const TABLE* TP, std::int16_t& MONTH) {
    assert(TP != nullptr);
    const int X = WHEREX();
    const int Y = WHEREY();
    const int NM = std::max<int>(TOTALNUMMONTHS(TP), 1);
    STRING60 MONTHSTRING;
    // A typed first digit 1 that waits for a second digit or Enter.
    bool pending = false;

    auto UPDATEMONTH = [&] {
        MONTHSTRING = MONTHNAME(TP->ERA, TP->INTERCALATION, MONTH, true).substr(0, MONTHFIELD);
        pending = false;
        GOTOXY(X, Y);
        write_text(MONTHSTRING);
        CLREOL();
        GOTOXY(X, Y);
    };

    EXITCODE = RETURNCODE;
    MONTH = 1;
    UPDATEMONTH();
    for (;;) {
        char c = 0, d = 0;
        MYREADKEY(c, d);
        if (c == 0) {
            if (d == UP) {
                MONTH = previous_month(MONTH, NM);
                UPDATEMONTH();
            } else if (d == DOWN) {
                MONTH = next_month(MONTH, NM);
                UPDATEMONTH();
            }
        } else if (c == ESC) {
            EXITCODE = ESCCODE;
            return;
        } else if (c == RETURN) {
            if (pending) MONTH = 1;
            UPDATEMONTH();
            write_line();
            return;
        } else if (c == BACKSP) {
            if (!pending) MONTH = 1;
            UPDATEMONTH();
        } else if (c == '0') {
            if (pending) {
                MONTH = 10;
                UPDATEMONTH();
            }
        } else if (c >= '1' && c <= '9') {
            if (pending || c != '1') {
                const int m = (pending ? 10 : 0) + (c - '0');
                if (m <= NM) {
                    MONTH = static_cast<std::int16_t>(m);
                    UPDATEMONTH();
                }
            } else {
                MONTHSTRING = "1";
                pending = true;
                write_char('1');
                CLREOL();
            }
        } else if (is_letter(c)) {
            MONTH = month_by_letter(TP, MONTH, NM, c, true);
            UPDATEMONTH();
        }
    }
}

void ENTERDATE(const TABLE* TP, std::int16_t& DAY, std::int16_t& MONTH, std::int16_t& YEAR) {
    assert(TP != nullptr);
    const char ERA = TP->ERA;
    const SET30& IC = TP->INTERCALATION;
    const int X = WHEREX();
    const int Y = WHEREY();
    const int NM = std::max<int>(NUMMONTHS(ERA), 1);
    int STATE = 1;
    std::string ST1, ST2, ST3;
    bool pending = false;  // ST2 is a typed first month digit 1

    auto CHECKDAY = [&](const std::string& text) {
        if (text.empty() || text.size() > 2) return false;
        const int n = value_of(text);
        if (n < 1) return false;
        switch (ERA) {
            case AR:
            case EG:
            case PE:
            case JS:
                return n <= 30;
            case BY:
            case JU:
                return n <= 31;
            default:
                return true;
        }
    };
    auto CHECKMONTH = [&](int day, int month, bool leap) {
        return month >= 1 && month <= NUMMONTHS(ERA) &&
               day <= MONTHLENGTH(ERA, IC, leap, static_cast<std::int16_t>(month));
    };
    auto DOTTEDMONTHNAME = [&](std::int16_t month) {
        std::string name = MONTHNAME(ERA, IC, month, false).substr(0, MONTHFIELD);
        for (auto it = name.rbegin(); it != name.rend() && *it == ' '; ++it)
            *it = '.';
        return name;
    };
    auto UPDATEMONTH = [&] {
        ST2 = DOTTEDMONTHNAME(MONTH);
        pending = false;
        GOTOXY(X + 4, Y);
        write_text(ST2);
        CLREOL();
        GOTOXY(X + 4, Y);
    };
    auto CONFIRMDAY = [&] {
        DAY = static_cast<std::int16_t>(value_of(ST1));
        GOTOXY(X, Y);
        write_text(right_aligned(DAY, 2) + "  ");
        STATE = 2;
        UPDATEMONTH();
    };
    auto CONFIRMMONTH = [&] {
        std::string name = MONTHNAME(ERA, IC, MONTH, false).substr(0, MONTHFIELD);
        name.resize(MONTHFIELD, ' ');
        GOTOXY(X + 4, Y);
        write_text(name);
        GOTOXY(X + 20, Y);
        write_text("....");
        GOTOXY(X + 20, Y);
        STATE = 3;
    };
    // A month typed by its number; refused with the alarm when the day does not fit it.
    auto TRYMONTH = [&](int month) {
        if (CHECKMONTH(DAY, month, true)) {
            MONTH = static_cast<std::int16_t>(month);
            pending = false;
            CONFIRMMONTH();
        } else {
            BEEP();
        }
    };

    EXITCODE = RETURNCODE;
    MONTH = 1;
    while (STATE != 5) {
        char c = 0, d = 0;
        MYREADKEY(c, d);
        if (c == ESC) {
            EXITCODE = ESCCODE;
            return;
        }
        if (STATE == 1) {
            if (c >= '0' && c <= '9') {
                // A day has at most two digits; a 0 cannot begin one.
                const std::string typed = ST1 + c;
                if ((c == '0' && ST1.size() != 1) || !CHECKDAY(typed)) {
                    BEEP();
                } else {
                    ST1 = typed;
                    if (ST1.size() == 2 || ST1[0] >= '4') {
                        CONFIRMDAY();
                    } else {
                        write_char(c);
                    }
                }
            } else if (c == BACKSP) {
                if (!ST1.empty()) {
                    ST1.pop_back();
                    write_text("\b.\b");
                }
            } else if (c == RETURN) {
                if (ST1.empty()) {
                    BEEP();
                } else {
                    CONFIRMDAY();
                }
            }
        } else if (STATE == 2) {
            if (c == 0) {
                if (d == UP) {
                    MONTH = previous_month(MONTH, NM);
                    UPDATEMONTH();
                } else if (d == DOWN) {
                    MONTH = next_month(MONTH, NM);
                    UPDATEMONTH();
                }
            } else if (is_letter(c)) {
                MONTH = month_by_letter(TP, MONTH, NM, c, false);
                UPDATEMONTH();
            } else if (c >= '1' && c <= '9') {
                if (pending || c != '1') {
                    TRYMONTH((pending ? 10 : 0) + (c - '0'));
                } else {
                    ST2 = "1";
                    pending = true;
                    GOTOXY(X + 4, Y);
                    write_text("1.............");
                    GOTOXY(X + 5, Y);
                }
            } else if (c == '0') {
                if (pending) TRYMONTH(10);
            } else if (c == BACKSP) {
                if (pending) {
                    UPDATEMONTH();  // drops the pending digit
                } else {
                    STATE = 1;
                    ST2.clear();
                    GOTOXY(X, Y);
                    write_text("..");
                    CLREOL();
                    GOTOXY(X, Y);
                    write_text(ST1);
                }
            } else if (c == RETURN) {
                if (pending) MONTH = 1;
                if (CHECKMONTH(DAY, MONTH, true)) {
                    pending = false;
                    CONFIRMMONTH();
                } else {
                    BEEP();
                }
            }
        } else {  // STATE 3, the year
            if (c >= '1' && c <= '9') {
                if (ST3.size() < 4) {
                    ST3 += c;
                    write_char(c);
                }
            } else if (c == '0') {
                if (!ST3.empty() && ST3.size() < 4) {
                    ST3 += c;
                    write_char(c);
                } else {
                    BEEP();
                }
            } else if (c == BACKSP) {
                if (!ST3.empty()) {
                    ST3.pop_back();
                    write_text("\b.\b");
                } else {
                    STATE = 2;
                    UPDATEMONTH();
                }
            } else if (c == RETURN) {
                if (ST3.empty()) {
                    BEEP();
                } else {
                    YEAR = static_cast<std::int16_t>(value_of(ST3));
                    if (CHECKMONTH(DAY, MONTH, INTERCALARYYEAR(TP, YEAR))) {
                        GOTOXY(X + 20, Y);
                        write_text(ST3 + "   ");
                        STATE = 5;
                    } else {
                        BEEP();
                    }
                }
            }
        }
    }
    DAY = static_cast<std::int16_t>(value_of(ST1));
    YEAR = static_cast<std::int16_t>(value_of(ST3));
}

}  // namespace zorvat
