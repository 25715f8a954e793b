#include "data/internal_zij.h"

#include <new>
#include <string>

#include "data/data_state.h"
#include "data/sxg.h"
#include "dialogue/console.h"
#include "dialogue/keys.h"
#include "dialogue/line_editors.h"
#include "dialogue/toolkit.h"

namespace zorvat {

namespace {

// The extended value nearest to degrees;minutes,seconds,thirds: one rounding of an exact
// quotient.
constexpr long double sexagesimal(long long d, long long m, long long s = 0, long long t = 0) {
    return static_cast<long double>(((d * 60 + m) * 60 + s) * 60 + t) / 216000.0L;
}

}  // namespace

const std::array<long double, 15> MOTION_PER_DAY = {
    0.0L,
    sexagesimal(0, 59, 8),
    sexagesimal(13, 10, 35),
    sexagesimal(13, 3, 54),
    sexagesimal(24, 22, 53),
    sexagesimal(0, 3, 11),
    sexagesimal(0, 2, 1),
    sexagesimal(0, 57, 8),
    sexagesimal(0, 4, 59),
    sexagesimal(0, 54, 9),
    sexagesimal(0, 31, 27),
    sexagesimal(0, 27, 42),
    sexagesimal(0, 36, 59),
    sexagesimal(3, 6, 25),
    sexagesimal(0, 0, 0, 9),
};

bool ALLOCATETABLE(std::unique_ptr<TABLE>& TP) {
    // Running out of memory is reported like any other refusal, not thrown. Every field
    // has its start value from the record itself: "TABLE()" would clear all 6.7 KB once
    // more before, which a zij of thousands of tables feels.
    TP.reset(new (std::nothrow) TABLE);
    if (TP) return true;
    write_line("Insufficient heap memory.");
    return false;
}

TABLEPOINTER INSERTTABLE(std::unique_ptr<TABLE> NEW) {
    TABLE* t = NEW.get();
    t->NEXT.reset();
    if (!FIRSTTABLE) {
        FIRSTTABLE = std::move(NEW);
    } else {
        LASTTABLE->NEXT = std::move(NEW);
    }
    LASTTABLE = t;
    ++NUMTABLES;
    ++TABLENO;
    t->NO = TABLENO;
    return t;
}

TABLEPOINTER FINDTABLE(std::int16_t TN) {
    for (TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        if (t->NO == TN) return t;
    return nullptr;
}

bool PRESENT(std::int16_t TN) {
    return FINDTABLE(TN) != nullptr;
}

TABLEPOINTER table_before(const TABLE* table) {
    TABLE* before = nullptr;
    for (TABLE* t = FIRSTTABLE.get(); t != nullptr; before = t, t = t->NEXT.get())
        if (t == table) return before;
    return nullptr;
}

PERIOD FINDP(char C) {
    switch (C) {
        case 'F':
            return FRA;
        case 'P':
            return PAR;
        case 'H':
            return HOU;
        case 'D':
            return DAY;
        case 'M':
            return MON;
        case 'Z':
            return ZOD;
        case 'E':
            return EXT;
        case 'S':
            return SI1;
        case 'T':
            return SI2;
        case 'C':
            return COL;
        default:
            return NP1;
    }
}

bool INFOEQUAL(const INFORECORD& A, const INFORECORD& B) {
    return A == B;
}

void SETMS(TABLE& TP, std::int16_t I, const SXG& value) {
    if (I >= 0 && I <= MAXNUMVAL) TP.MS[static_cast<std::size_t>(I)] = value;
}

void SETCR(TABLE& TP, std::int16_t I, const SXG& value) {
    if (I >= 0 && I <= MAXNUMVAL) TP.CR[static_cast<std::size_t>(I)] = value;
}

std::int32_t LENGTHTABLE(TABLE& TP) {
    TP.NUMCR = 0;
    TP.CRSET.reset();
    const int last = TP.TOTNUMVAL < 0 ? -1 : (TP.TOTNUMVAL > MAXNUMVAL ? MAXNUMVAL : TP.TOTNUMVAL);
    for (int i = 0; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!SXGEQUAL(TP.MS[k], TP.CR[k])) {
            ++TP.NUMCR;
            TP.CRSET.set(k);
        }
    }
    return ((TP.TOTNUMVAL + TP.NUMCR + 32) / 16) * 229;
}

std::int32_t LENGTHZIJ() {
    std::int32_t total = 0;
    for (TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        total += LENGTHTABLE(*t);
    return total;
}

TABLEPOINTER ENTERTABLE() {
    const int x = WHEREX();
    for (;;) {
        const std::int32_t n = ENTERINTEGER(1, TABLENO, INTESC, false);
        if (EXITCODE == ESCCODE) return nullptr;
        if (TABLE* t = FINDTABLE(static_cast<std::int16_t>(n))) return t;
        write_text("    Table not present.");
        PAUSE();
        GOTOXY(x, WHEREY());
        CLREOL();
    }
}

TABLEPOINTER SELECTTABLE(std::string_view TEXT, bool& MC) {
    const int x = WHEREX(), y = WHEREY();
    if (NUMTABLES == 0 || !FIRSTTABLE) {
        write_line("No tables present.");
        return nullptr;
    }
    const bool statement = TEXT.find(':') != std::string_view::npos;
    if (statement) {
        write_text(TEXT);
        write_text("  ");
    }
    TABLE* chosen = nullptr;
    if (NUMTABLES == 1) {
        chosen = FIRSTTABLE.get();
        if (statement) write_int(chosen->NO);
    } else {
        if (!statement) {
            write_text(TEXT);
            write_text(" which table?  ");
        }
        chosen = ENTERTABLE();
    }
    if (chosen == nullptr) {
        write_line();
        return nullptr;
    }
    if (!statement) {
        GOTOXY(x, y);
        CLREOL();
        write_text(TEXT);
        write_text(" table ");
        write_int(chosen->NO);
    }
    if (MC) {
        write_text("   ");
        MC = MSORCR();
        if (EXITCODE != RETURNCODE) return nullptr;
    } else {
        write_line();
    }
    return chosen;
}

void SELECTTABLERANGE(std::string_view TEXT, std::int16_t& FI, std::int16_t& LA) {
    if (NUMTABLES == 0 || !FIRSTTABLE) {
        write_line("No tables present.");
        EXITCODE = ESCCODE;
        return;
    }
    if (NUMTABLES == 1) {
        FI = LA = FIRSTTABLE->NO;
        EXITCODE = RETURNCODE;
        write_text(TEXT);
        write_text(" table ");
        write_int(FI);
        write_line();
        return;
    }
    write_text(TEXT);
    write_text(" which tables?  ");
    ENTERRANGE(FI, LA);
    if (EXITCODE == RETURNCODE && LA > TABLENO) LA = TABLENO;
}

namespace {

// A part of a range: empty gives `empty_value`; else an integer 1..250.
bool range_part(std::string_view s, std::int16_t empty_value, std::int16_t& value) {
    if (s.empty()) {
        value = empty_value;
        return true;
    }
    int v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > 250) return false;
    }
    if (v < 1) return false;
    value = static_cast<std::int16_t>(v);
    return true;
}

}  // namespace

void ENTERRANGE(std::int16_t& FST, std::int16_t& LST) {
    const int x = WHEREX();
    for (;;) {
        std::string text;
        std::size_t p = 0;
        EXITCODE = PROCESSCODE;
        while (EXITCODE == PROCESSCODE) {
            char c = 0, d = 0;
            MYREADKEY(c, d);
            if ((c >= '0' && c <= '9') || (c == '-' && text.find('-') == std::string::npos)) {
                if (text.size() < 7) text.insert(p++, 1, c);
            } else if (c == BACKSP) {
                if (p > 0) text.erase(--p, 1);
            } else if (c == RETURN) {
                EXITCODE = RETURNCODE;
            } else if (c == ESC) {
                write_line();
                EXITCODE = ESCCODE;
                FST = 1;
                LST = 0;
                return;
            } else if (c == 0) {
                edit_line_key(d, text, p);
            }
            GOTOXY(x, WHEREY());
            write_text(text);
            write_char(' ');
            GOTOXY(x + static_cast<int>(p), WHEREY());
        }
        if (text.empty()) text = "-";
        const auto dash = text.find('-');
        const std::string_view all(text);
        const std::string_view first = dash == std::string::npos ? all : all.substr(0, dash);
        const std::string_view second = dash == std::string::npos ? all : all.substr(dash + 1);
        if (range_part(first, 1, FST) && range_part(second, 250, LST)) break;
        GOTOXY(x + 10, WHEREY());
        write_text("Incorrect range.");
        PAUSE();
        GOTOXY(x, WHEREY());
        CLREOL();
    }
    write_line();
}

bool table_numbers_available(int count) {
    if (TABLENO + count <= MAXINT) return true;
    write_line("Table numbers cannot go beyond 32767. Renumber the internal zij (RN) first.");
    return false;
}

}  // namespace zorvat
