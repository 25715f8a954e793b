// CD, LZ, LB, GT, GZ, ST, SZ, RZ and DZ: the internal zij and the zij files on disk.
#include <algorithm>
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "commands/commands.h"
#include "commands/external_zij.h"
#include "data/data_state.h"
#include "data/internal_zij.h"
#include "data/zij_file.h"
#include "dialogue/console.h"
#include "dialogue/cp437.h"
#include "dialogue/keys.h"
#include "dialogue/line_editors.h"
#include "dialogue/toolkit.h"
#include "platform/files.h"

namespace zorvat {

std::uint16_t TOTALLINES = 0;

namespace {

// Whatever way a command leaves, F is closed and a save not finished is undone.
struct ZijGuard {
    ZijGuard() = default;
    ZijGuard(const ZijGuard&) = delete;
    ZijGuard& operator=(const ZijGuard&) = delete;
    ~ZijGuard() {
        if (SAVING.kind != SaveKind::None) abandon_save();
        if (is_open(F)) close_zij();
    }
};

std::string count_was(int n, std::string_view verb_tail) {
    return (n == 1 ? std::string("1 table was") : std::to_string(n) + " tables were") +
           std::string(verb_tail);
}

// The name of a file without its directory and extension.
std::string bare_name(const std::string& path) {
    return split_path(path).name;
}

std::string without_trailing_slash(const std::string& dir) {
    if (dir.size() > 1 && dir.back() == '/') return dir.substr(0, dir.size() - 1);
    return dir;
}

// FILENAME holds at most 255 characters.
std::string as_filename(const std::string& full) {
    return full.substr(0, MAXL_PATH);
}

// Skips one table from the position of F; the code (100 for a block that starts no table).
int skip_table() {
    if (const int rc = read_block(BL); rc != IO_OK) return rc;
    const std::int32_t extent = table_extent(BL);
    if (extent == 0) return IO_READ_ERROR;
    seek_record(F, record_position(F) + extent - 1);
    return IO_OK;
}

}  // namespace

// --- Listing and adjusting tables ------------------------------------------------------

bool DISPLAYCONTENTS(const std::string& PATH, std::int32_t& NUMTAB) {
    NUMTAB = 0;
    seek_record(F, 0);
    bool showing = true;
    while (!zij_at_end()) {
        if (read_block(BL) != IO_OK || !BL.FIRSTBLOCK || BL.CHECKT != CHECKWORD) return false;
        ++NUMTAB;
        if (NUMTAB == 1) {
            write_line();
            write_line(PATH + " contains the following tables:");
        }
        if (showing) write_line(right_aligned(NUMTAB, 2) + "   " + BL.NAME);
        // The next table starts where reading this one would end.
        const std::int32_t extent = table_extent(BL);
        if (extent == 0) return false;
        seek_record(F, record_position(F) + extent - 1);
        if (zij_beyond_end()) return false;
        if (showing && NUMTAB % 24 == 0) {
            WRITEBLANK(53);
            write_text("Press any key to continue");
            char c = 0, d = 0;
            MYREADKEY(c, d);
            GOTOXY(1, WHEREY());
            CLREOL();
            if (c == ESC) showing = false;
        }
    }
    write_line();
    return true;
}

void ADJUSTSETTINGS(TABLE& TP) {
    SET30& ic = TP.INTERCALATION;
    auto has_first_month = [&] {
        for (int n = 5; n <= 16; ++n)
            if (in_set(ic, n)) return true;
        return false;
    };
    switch (TP.ERA) {
        case BY:
            if (!has_first_month()) ic.set(13);  // the year begins with Adhar
            break;
        case JU:
            if (!has_first_month()) ic.set(11);  // the year begins with January
            break;
        case EG:
            if (ic.none()) ic.set(1);  // the Nabonassar epoch
            break;
        case JS:
            if (!in_set(ic, 1)) DEFAULTINTERCALATION(JS, ic);
            break;
        default:
            break;
    }
    INFORECORD& first = TP.INFOLIST[SI1];
    INFORECORD& second = TP.INFOLIST[SI2];
    if (second.NUMVAL > 0 && second.STEP < first.STEP) std::swap(first, second);
}

// --- Directories -----------------------------------------------------------------------

void CHANGEDIRECTORY() {
    write_text("Change to which directory?  ");
    const std::string dir = SELECTSTRING(&DEFDIR, true);
    write_line();
    if (EXITCODE == ESCCODE) return;
    if (change_directory(dir) != IO_OK) {
        write_text("Could not change to directory " + dir);
    } else {
        write_text("The current directory is now " + current_directory());
    }
}

namespace {

// The pause of a directory listing; false when the user pressed Escape.
bool listing_pause() {
    GOTOXY(50, WHEREY());
    write_text("Press any key to continue.");
    const char c = WAITFORANYKEY();
    GOTOXY(1, WHEREY());
    CLREOL();
    if (c == ESC) {
        EXITCODE = ESCCODE;
        return false;
    }
    return true;
}

// One entry of a listing: name, size, date and time of the last change.
std::string listing_entry(const DirEntry& e) {
    std::string name = utf8_to_cp437(e.name.substr(0, e.name.find('.')));
    name.resize(8, ' ');
    const LocalTime& t = e.modified;
    std::string minutes = std::to_string(t.minute);
    if (minutes.size() < 2) minutes.insert(0, 1, '0');
    return name + right_aligned(e.size, 7) + right_aligned(t.day, 4) + "-" +
           right_aligned(t.month, 2) + "-" + std::to_string(t.year) + right_aligned(t.hour, 4) +
           ":" + minutes;
}

// The directory test of LZ and LB: the directory can be opened.
bool directory_exists(const std::string& dir) {
    return test_directory(dir) == IO_OK;
}

}  // namespace

void LISTZIJESINDIR(std::string DIR, bool BRANCH) {
    EXITCODE = RETURNCODE;
    if (DIR.empty() || DIR.back() != '/') DIR.push_back('/');
    std::vector<DirEntry> found;
    const int rc = search_directory(DIR, "*.ZVT", found);
    found.erase(
        std::remove_if(found.begin(), found.end(), [](const DirEntry& e) { return !e.regular; }),
        found.end());
    if (rc != IO_OK) {
        ERRORMESSAGE(rc);
        write_line();
    } else if (found.empty()) {
        if (!BRANCH) {
            write_line("The directory " + DIR + " contains no Mean Motion files.");
            write_line();
        }
    } else {
        const bool more = found.size() > MAXLISTED;
        std::vector<DirEntry> listed(
            found.begin(), found.begin() + static_cast<long>(std::min(found.size(), MAXLISTED)));
        std::stable_sort(listed.begin(), listed.end(), [](const DirEntry& a, const DirEntry& b) {
            return std::lexicographical_compare(
                a.name.begin(), a.name.end(), b.name.begin(), b.name.end(), [](char x, char y) {
                    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                });
        });
        if (!BRANCH) {
            GOTOXY(1, WHEREY() > 1 ? WHEREY() - 1 : 1);
            CLREOL();
            write_line("The directory " + without_trailing_slash(DIR) + " contains the " +
                       "following Mean Motion files:");
            write_line();
        } else {
            if ((TOTALLINES % 24 == 0 || TOTALLINES % 24 == 23) && !listing_pause()) return;
            write_line("Directory " + without_trailing_slash(DIR));
            ++TOTALLINES;
        }
        const std::size_t n = listed.size();
        const bool two = n > 10;
        const std::size_t rows = two ? (n + 1) / 2 : n;
        for (std::size_t r = 0; r < rows; ++r) {
            for (std::size_t c = 0; c < (two ? 2u : 1u); ++c) {
                const std::size_t k = c * rows + r;
                if (k >= n) continue;
                write_text(listing_entry(listed[k]));
                if (two && c == 0) WRITEBLANK(7);
            }
            write_line();
            if (BRANCH) {
                ++TOTALLINES;
                if (TOTALLINES % 24 == 0 && !listing_pause()) return;
            } else if ((r + 1) % 24 == 22 && !listing_pause()) {
                return;
            }
        }
        write_line();
        if (BRANCH) ++TOTALLINES;
        if (more) write_line("Some of the Mean Motion files could not be listed.");
    }
    if (!BRANCH) return;
    std::vector<DirEntry> dirs;
    if (search_directory(DIR, "*", dirs) != IO_OK) return;
    for (const DirEntry& d : dirs) {
        if (!d.directory || d.hidden) continue;
        LISTZIJESINDIR(DIR + d.name, true);
        if (EXITCODE == ESCCODE) return;
    }
}

namespace {

// Asks for the directory of a listing; false on Escape or when it cannot be found.
bool ask_listing_directory(std::string_view question, std::string& dir) {
    write_text(question);
    dir = SELECTSTRING(&DEFDIR, true);
    write_line();
    if (EXITCODE == ESCCODE) return false;
    if (!directory_exists(dir)) {
        write_text("Cannot find directory.");
        return false;
    }
    return true;
}

}  // namespace

void LISTZIJES() {
    std::string dir;
    if (!ask_listing_directory("List of mean motion tables in which directory?  ", dir)) return;
    LISTZIJESINDIR(dir, false);
    if (EXITCODE != ESCCODE) GOTOXY(WHEREX(), WHEREY() > 1 ? WHEREY() - 1 : 1);
}

void LISTZIJESINBRANCH() {
    std::string dir;
    if (!ask_listing_directory("List of mean motion tables in which branch?  ", dir)) return;
    GOTOXY(1, WHEREY() > 1 ? WHEREY() - 1 : 1);
    CLREOL();
    write_line("List of mean motion tables in the branch " + dir);
    write_line();
    TOTALLINES = 2;
    LISTZIJESINDIR(dir, true);
    if (EXITCODE != ESCCODE) GOTOXY(WHEREX(), WHEREY() > 1 ? WHEREY() - 1 : 1);
}

// --- Reading ---------------------------------------------------------------------------

void GETTABLES() {
    if (PARAM.empty()) write_text("Read from which zij?  ");
    const std::string name = OPENFORLOAD();
    if (name.empty()) return;
    ZijGuard guard;
    std::int32_t numtab = 0;
    if (!DISPLAYCONTENTS(name, numtab)) {
        close_zij();
        write_text("Disk read error. No table was read.");
        return;
    }
    EXITCODE = RETURNCODE;
    std::int16_t first = 1, last = 1;
    if (numtab == 1) {
        write_text("Read table 1 from " + name + "?  (Y / N)  ");
        const char c = SELECTUPCHAR(chars_of("1NY"), 'Y', true);
        if (c == 'N' || c == ESC) EXITCODE = ESCCODE;
    } else {
        write_text("Read which tables from " + name + "?  ");
        ENTERRANGE(first, last);
        if (EXITCODE == RETURNCODE && first > numtab) {
            ERRORMESSAGE(first == last ? -7 : -6);
            write_line();
            EXITCODE = ESCCODE;
        } else if (EXITCODE == RETURNCODE && last > numtab) {
            last = static_cast<std::int16_t>(numtab);
        }
    }
    if (EXITCODE != RETURNCODE) {
        close_zij();
        return;
    }
    if (!table_numbers_available(last - first + 1)) {
        close_zij();
        return;
    }
    seek_record(F, 0);
    for (int k = 1; k < first; ++k) {
        if (const int rc = skip_table(); rc != IO_OK) {
            ERRORMESSAGE(rc);
            write_line();
            close_zij();
            return;
        }
    }
    int read = 0;
    for (int k = first; k <= last; ++k) {
        std::unique_ptr<TABLE> t = PERFORM_GET();
        if (!t) {
            write_line("Disk read error.");
            break;
        }
        TABLE* in = INSERTTABLE(std::move(t));
        in->FILENAME = as_filename(name);
        in->SAVED = true;
        ADJUSTSETTINGS(*in);
        ++read;
    }
    close_zij();
    if (read == 0) {
        write_text("0 tables were read from the file " + name + ".");
    } else if (read == 1) {
        write_line("1 table was read from the file " + name + ".");
        write_text("The number of this table is " + std::to_string(TABLENO) + ".");
    } else {
        write_line(std::to_string(read) + " tables were read from the file " + name + ".");
        write_text("The numbers of these tables are " + std::to_string(TABLENO - read + 1) +
                   " to " + std::to_string(TABLENO) + ".");
    }
}

void GETZIJ() {
    write_text("Read from which zij?  ");
    const std::string name = OPENFORLOAD();
    if (name.empty()) return;
    ZijGuard guard;
    int read = 0;
    const std::string filename = as_filename(name);
    while (!zij_at_end()) {
        if (!table_numbers_available(1)) break;
        std::unique_ptr<TABLE> t = PERFORM_GET();
        if (!t) {
            write_line("Disk read error.");
            break;
        }
        TABLE* in = INSERTTABLE(std::move(t));
        in->FILENAME = filename;
        in->SAVED = true;
        ++read;
    }
    close_zij();
    write_text(count_was(read, " read from the file " + name + "."));
}

// --- Saving ----------------------------------------------------------------------------

namespace {

// Saves the tables of the list from `from` while `in_range` holds, then ends the save.
// Only the tables that are in the zij at the end count: a failure anywhere leaves the zij
// as it was and saves none.
template <typename InRange>
void save_tables(const std::string& name, TABLE* from, InRange in_range) {
    std::vector<TABLE*> written;
    int code = IO_OK;
    for (TABLE* t = from; t != nullptr && in_range(t) && code == IO_OK; t = t->NEXT.get()) {
        LENGTHTABLE(*t);
        PERFORM_SAVE(*t);
        code = EXITCODE;
        if (code == IO_OK) written.push_back(t);
    }
    int undo = IO_OK;
    if (code == IO_OK) {
        code = finish_save(&undo);
    } else {
        undo = abandon_save();
    }
    if (code != IO_OK) {
        ERRORMESSAGE(code);
        write_line();
        if (undo != IO_OK) write_line(NOT_CUT_BACK);
        written.clear();
    }
    for (TABLE* t : written) {
        t->SAVED = true;
        t->FILENAME = as_filename(name);
    }
    write_text(count_was(static_cast<int>(written.size()), " saved in the file " + name + "."));
}

}  // namespace

void SAVETABLES() {
    std::int16_t first = 0, last = 0;
    SELECTTABLERANGE("Save", first, last);
    if (EXITCODE != RETURNCODE) return;
    write_text("Save in which zij?  ");
    const std::string name = OPENFORSAVE(false);
    if (name.empty()) return;
    ZijGuard guard;
    TABLE* from = FIRSTTABLE.get();
    while (from != nullptr && from->NO < first)
        from = from->NEXT.get();
    save_tables(name, from, [last](const TABLE* t) { return t->NO <= last; });
}

void SAVEZIJ() {
    if (NUMTABLES == 0 || !FIRSTTABLE) {
        write_text("No tables present.");
        return;
    }
    write_text("Save in which zij?  ");
    const std::string name = OPENFORSAVE(true);
    if (name.empty()) return;
    ZijGuard guard;
    save_tables(name, FIRSTTABLE.get(), [](const TABLE*) { return true; });
}

// --- Renaming and deleting -------------------------------------------------------------

void RENAMEZIJ() {
    write_text("Rename which zij?  ");
    const std::string old_name = OPENFORLOAD();
    if (old_name.empty()) return;
    close_zij();
    write_text("New path and name of " + bare_name(old_name) + ":  ");
    const std::string chosen = SELECTSTRING(&DEFZIJ, false);
    write_line();
    if (EXITCODE == ESCCODE) return;
    const PathParts p = split_path(chosen);
    if ((!p.ext.empty() && p.ext != ".ZVT") || p.name.empty()) {
        ERRORMESSAGE(-1);
        return;
    }
    // Never over another file: a rename that would replace a zij is refused.
    if (rename_file_no_replace(old_name, p.dir + p.name + ".ZVT") == IO_OK) {
        write_text(bare_name(old_name) + " was renamed to " + chosen);
    } else {
        write_text(old_name + " could not be renamed.");
    }
}

void DELETEZIJ() {
    write_text("Delete which zij?  ");
    const std::string name = OPENFORLOAD();
    if (name.empty()) return;
    ZijGuard guard;
    write_text("Are you sure to delete " + name + "?  (Y/N)  ");
    if (READYESNO('N') != 'Y') return;
    close_zij();
    if (const int rc = erase_file(name); rc != IO_OK) {
        ERRORMESSAGE(rc);
        write_line();
        write_text("No table was deleted.");
    } else {
        write_text(name + " was deleted.");
    }
}

}  // namespace zorvat
