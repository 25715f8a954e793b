// LT, CP, MV, DT, DA and RN: the internal zij as a whole.
#include <memory>
#include <string>

#include "commands/commands.h"
#include "data/data_state.h"
#include "data/internal_zij.h"
#include "dialogue/console.h"
#include "dialogue/keys.h"
#include "dialogue/toolkit.h"

namespace zorvat {

namespace {

// The first table of the range FIRST..LAST along the list, or nullptr.
TABLE* first_in_range(std::int16_t first, std::int16_t last) {
    for (TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get()) {
        if (t->NO > last) return nullptr;
        if (t->NO >= first) return t;
    }
    return nullptr;
}

// How many tables the range holds.
int count_in_range(std::int16_t first, std::int16_t last) {
    int n = 0;
    for (TABLE* t = first_in_range(first, last); t != nullptr && t->NO <= last; t = t->NEXT.get())
        ++n;
    return n;
}

// Takes the table out of the list and gives it to the caller.
std::unique_ptr<TABLE> unlink_table(TABLE* table) {
    TABLE* before = table_before(table);
    std::unique_ptr<TABLE>& owner = before ? before->NEXT : FIRSTTABLE;
    std::unique_ptr<TABLE> taken = std::move(owner);
    owner = std::move(taken->NEXT);
    if (LASTTABLE == table) LASTTABLE = before;
    --NUMTABLES;
    return taken;
}

// A deep copy of a table, outside the list.
bool copy_table(const TABLE& source, std::unique_ptr<TABLE>& copy) {
    if (!ALLOCATETABLE(copy)) return false;
    copy->FILENAME = source.FILENAME;
    copy->NO = source.NO;
    copy->NAME = source.NAME;
    copy->MPD = source.MPD;
    copy->ERA = source.ERA;
    copy->INTERCALATION = source.INTERCALATION;
    copy->INFOLIST = source.INFOLIST;
    copy->CRSET = source.CRSET;
    copy->TOTNUMVAL = source.TOTNUMVAL;
    copy->NUMCR = source.NUMCR;
    copy->MS = source.MS;
    copy->CR = source.CR;
    copy->SAVED = source.SAVED;
    return true;
}

}  // namespace

void LISTTABLES() {
    if (NUMTABLES == 0) {
        write_text("No tables are present.");
        return;
    }
    std::int16_t first = 0, last = 0;
    SELECTTABLERANGE("List", first, last);
    if (EXITCODE != RETURNCODE) return;
    int line = 3, listed = 0;
    for (TABLE* t = first_in_range(first, last); t != nullptr && t->NO <= last; t = t->NEXT.get()) {
        if (listed == 0) {
            write_line("In the specified range the following tables are present:");
            write_line();
        }
        std::string no = std::to_string(t->NO);
        if (no.size() < 2) no.insert(0, 2 - no.size(), ' ');
        write_line(no + " " + (t->SAVED ? " " : "*") + "  " + t->NAME);
        ++listed;
        if (++line == 25) {
            WRITEBLANK(40);
            write_text("Press any key to continue");
            char c = 0, d = 0;
            MYREADKEY(c, d);
            DELLINE();
            GOTOXY(1, WHEREY());
            if (c == ESC) return;
            line = 1;
        }
    }
    if (listed == 0) write_text("There are no tables in this range.");
}

void COPYTABLES() {
    std::int16_t first = 0, last = 0;
    SELECTTABLERANGE("Copy", first, last);
    if (EXITCODE != RETURNCODE) return;
    const int in_range = count_in_range(first, last);
    if (in_range == 0) {
        write_text("No tables in this range.");
        return;
    }
    if (!table_numbers_available(in_range)) return;
    int copied = 0;
    // The copies go to the end with numbers above LAST, so the walk never meets them.
    for (TABLE* t = first_in_range(first, last); t != nullptr && t->NO <= last; t = t->NEXT.get()) {
        std::unique_ptr<TABLE> copy;
        if (!copy_table(*t, copy)) break;
        INSERTTABLE(std::move(copy));
        ++copied;
    }
    if (copied == 0) {
        write_text("No tables copied.");
    } else if (copied == 1) {
        write_text("1 table was copied. The copy has number " + std::to_string(TABLENO) + ".");
    } else {
        write_text(std::to_string(copied) + " tables were copied. The numbers of the copies are " +
                   std::to_string(TABLENO - copied + 1) + " to " + std::to_string(TABLENO) + ".");
    }
}

void MOVETABLES() {
    std::int16_t first = 0, last = 0;
    SELECTTABLERANGE("Move", first, last);
    if (EXITCODE != RETURNCODE) return;
    const int in_range = count_in_range(first, last);
    if (in_range > 0 && !table_numbers_available(in_range)) return;
    int moved = 0;
    // Take the range out of the list, then hang it behind the end in its own order.
    TABLE* t = first_in_range(first, last);
    while (t != nullptr && t->NO <= last) {
        TABLE* next = t->NEXT.get();
        std::unique_ptr<TABLE> taken = unlink_table(t);
        INSERTTABLE(std::move(taken));
        ++moved;
        t = next;  // a table moved already has a number above LAST and ends the walk
    }
    if (moved == 0) {
        write_text("No tables in this range.");
    } else if (moved == 1) {
        write_text("1 table was moved. Its new number is " + std::to_string(TABLENO) + ".");
    } else {
        write_text(std::to_string(moved) + " tables were moved. Their new numbers are " +
                   std::to_string(TABLENO - moved + 1) + " to " + std::to_string(TABLENO) + ".");
    }
}

void DELETETABLES() {
    std::int16_t first = 0, last = 0;
    SELECTTABLERANGE("Delete", first, last);
    if (EXITCODE != RETURNCODE) return;
    int deleted = 0, in_range = 0;
    std::int16_t last_deleted = 0;
    TABLE* t = first_in_range(first, last);
    while (t != nullptr && t->NO <= last) {
        ++in_range;
        TABLE* next = t->NEXT.get();
        bool yes = t->SAVED;
        if (!yes) {
            write_text("Table " + std::to_string(t->NO) +
                       " has not been saved. Delete it?  (Y/N)  ");
            yes = READYESNO('N') == 'Y';
        }
        if (yes) {
            last_deleted = t->NO;
            ++deleted;
            unlink_table(t);  // freed here
        }
        t = next;
    }
    while (TABLENO > 0 && !PRESENT(TABLENO))
        --TABLENO;
    if (deleted == 0) {
        write_text(in_range == 0 ? "No tables in this range." : "No tables deleted.");
    } else if (deleted == 1) {
        write_text("Table " + std::to_string(last_deleted) + " was deleted.");
    } else {
        write_text(std::to_string(deleted) + " tables were deleted.");
    }
}

void DELETEALLTABLES() {
    if (NUMTABLES == 0) {
        write_text("The internal zij was empty.");
        return;
    }
    bool unsaved = false;
    for (const TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        if (!t->SAVED) unsaved = true;
    if (unsaved) {
        write_text("Not all tables have been saved. Delete all tables?  (Y/N)  ");
        if (READYESNO('N') != 'Y') return;
    }
    while (FIRSTTABLE)
        FIRSTTABLE = std::move(FIRSTTABLE->NEXT);
    LASTTABLE = nullptr;
    NUMTABLES = 0;
    TABLENO = 0;
    write_text("The internal zij is empty.");
}

void RENUMBER() {
    std::int16_t n = 0;
    for (TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        t->NO = ++n;
    TABLENO = n;
    write_text("Renumbered. The number of tables is " + std::to_string(NUMTABLES) + ".");
}

}  // namespace zorvat
