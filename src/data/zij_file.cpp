#include "data/zij_file.h"

#include <utility>

#include "data/data_state.h"
#include "data/internal_zij.h"
#include "dialogue/console.h"
#include "dialogue/line_editors.h"
#include "dialogue/toolkit.h"

namespace zorvat {

RecordFile F;
BLOCK BL;
ZIJSAVE SAVING;

namespace {

// The one-character marker PARAM holds while OPENFORLOAD works on a command-line name.
constexpr std::string_view PARAM_MARKER = "@";

// Whole blocks in F, measured when it was opened.
long long zij_blocks = 0;

int measure_zij() {
    long long bytes = 0;
    const int rc = file_length(F, bytes);
    zij_blocks = rc == IO_OK ? bytes / BLOCKSIZE : 0;
    return rc;
}

// Shows an open error where the dialogue began, for half a second.
void show_open_error(int x, int y, int code) {
    GOTOXY(x, y);
    CLREOL();
    ERRORMESSAGE(code);
    PAUSE();
    GOTOXY(x, y);
    CLREOL();
}

void line_up() {
    const int y = WHEREY();
    GOTOXY(1, y > 1 ? y - 1 : 1);
}

}  // namespace

void reset_zij_file_state() {
    if (SAVING.kind != SaveKind::None) abandon_save();
    if (is_open(F)) close_record_file(F);
    BL = BLOCK{};
    SAVING = ZIJSAVE{};
    zij_blocks = 0;
}

int check_zij_name(const std::string& name, std::string& full) {
    const PathParts p = split_path(expand_path(name));
    full.clear();
    if ((!p.ext.empty() && p.ext != ".ZVT") || p.name.empty()) return -1;
    full = p.dir + p.name + ".ZVT";
    return IO_OK;
}

int old_format_test(const std::string& full) {
    FileStatus st;
    if (file_status(full, st) != IO_OK || st.directory) return IO_OK;
    if (st.size % FIVEBLOCKSIZE == 0 && st.size % BLOCKSIZE != 0) return -5;
    return IO_OK;
}

std::string OPENFORLOAD() {
    const int x = WHEREX(), y = WHEREY();
    std::string result;
    for (;;) {
        std::string name;
        if (!PARAM.empty() && PARAM != PARAM_MARKER) {
            name = PARAM;
            line_up();
            PARAM = std::string(PARAM_MARKER);
        } else {
            name = SELECTSTRING(&DEFZIJ, false);
            if (EXITCODE == ESCCODE) {
                write_line();
                return {};
            }
        }
        std::string full;
        int code = check_zij_name(name, full);
        if (code == IO_OK) code = open_zij(full);
        if (code == IO_OK) {
            code = old_format_test(full);
            if (code != IO_OK) close_zij();
        }
        if (code == IO_OK) {
            result = full;
            break;
        }
        show_open_error(x, y, code);
        if (PARAM == PARAM_MARKER) {
            line_up();
            break;
        }
    }
    if (PARAM == PARAM_MARKER) {
        PARAM.clear();
    } else {
        write_line();
    }
    return result;
}

namespace {

// Opens a file beside `path` for a new or overwritten zij.
int start_beside(const std::string& path, SaveKind kind) {
    int code = IO_OK;
    std::string temp;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = temporary_name_beside(path, attempt);
        code = create_record_file(F, temp, BLOCKSIZE);
        if (code != IO_ACCESS_DENIED) break;
        FileStatus st;
        if (file_status(temp, st) != IO_OK) break;  // refused, not taken
    }
    if (code != IO_OK) return code;
    SAVING = ZIJSAVE{};
    SAVING.kind = kind;
    SAVING.path = path;
    SAVING.temp_path = temp;
    return IO_OK;
}

}  // namespace

std::string OPENFORSAVE(bool OVERWRITEALLOWED) {
    const int x = WHEREX(), y = WHEREY();
    if (OVERWRITEALLOWED) LENGTHZIJ();
    std::string full;
    for (;;) {
        const std::string name = SELECTSTRING(&DEFZIJ, false);
        if (EXITCODE == ESCCODE) {
            write_line();
            return {};
        }
        int code = check_zij_name(name, full);
        if (code != IO_OK) {
            show_open_error(x, y, code);
            continue;
        }
        FileStatus st;
        code = file_status(full, st);
        if (code == IO_FILE_NOT_FOUND) {
            // A new zij: written beside its name and renamed into place when complete.
            code = start_beside(full, SaveKind::New);
            if (code == IO_OK) {
                write_line();
                return full;
            }
            show_open_error(x, y, code);
            continue;
        }
        if (code == IO_OK && !st.regular) code = IO_ACCESS_DENIED;
        if (code == IO_OK) code = old_format_test(full);
        if (code == IO_OK) code = test_writable(full);
        if (code != IO_OK) {
            show_open_error(x, y, code);
            continue;
        }
        break;
    }
    if (OVERWRITEALLOWED) {
        write_line();
        write_text("Append or overwrite?  (A/O)  ");
        const char c = SELECTUPCHAR(chars_of("AO"), 'A', true);
        if (c == ESC) return {};
        if (c == 'O') {
            write_text("Are you sure to overwrite " + full + "?  (Y/N)  ");
            if (READYESNO('N') != 'Y') return {};
            FileStatus st;
            const int code = start_beside(full, SaveKind::Overwrite);
            if (code != IO_OK) {
                ERRORMESSAGE(code);
                write_line();
                return {};
            }
            // The new zij keeps the old one's permissions.
            if (file_status(full, st) == IO_OK) set_permissions(F, st.mode);
            return full;
        }
    } else {
        write_line();
    }
    int code = open_record_file(F, full, BLOCKSIZE, FileMode::ReadWrite);
    long long length = 0;
    if (code == IO_OK) code = file_length(F, length);
    if (code == IO_OK && length % BLOCKSIZE != 0) {
        close_record_file(F);
        write_line(NOT_WHOLE_BLOCKS);
        return {};
    }
    if (code != IO_OK) {
        ERRORMESSAGE(code);
        write_line();
        if (is_open(F)) close_record_file(F);
        return {};
    }
    seek_record(F, length / BLOCKSIZE);
    SAVING = ZIJSAVE{};
    SAVING.kind = SaveKind::Append;
    SAVING.path = full;
    SAVING.start_length = length;
    return full;
}

int open_zij(const std::string& full) {
    int code = open_record_file(F, full, BLOCKSIZE, FileMode::ReadOnly);
    if (code == IO_OK) code = measure_zij();
    if (code != IO_OK && is_open(F)) close_zij();
    return code;
}

int read_block(BLOCK& block) {
    BLOCKBYTES bytes;
    const int rc = read_record(F, bytes);
    if (rc != IO_OK) return rc;
    if (!decode_block(bytes, block)) block = BLOCK{};  // neither variant: fails every check
    return IO_OK;
}

bool zij_at_end() {
    return record_position(F) >= zij_blocks;
}

bool zij_beyond_end() {
    return record_position(F) > zij_blocks;
}

int close_zij() {
    zij_blocks = 0;
    return is_open(F) ? close_record_file(F) : IO_OK;
}

std::unique_ptr<TABLE> PERFORM_GET() {
    std::unique_ptr<TABLE> TP;
    if (!ALLOCATETABLE(TP)) return nullptr;
    if (const int rc = read_block(BL); rc != IO_OK) {
        ERRORMESSAGE(rc);
        write_line();
        return nullptr;
    }
    switch (check_first_block(BL)) {
        case HeaderFault::None:
            break;
        case HeaderFault::TooManyValues:
            ERRORMESSAGE(-8);
            return nullptr;
        case HeaderFault::NotFirstBlock:
        case HeaderFault::Damaged:
            return nullptr;
    }
    table_from_first_block(BL, *TP);
    if (TP->TOTNUMVAL == 0) return TP;  // a table without values is its first block alone
    VALUESTREAM stream;
    BLOCKBYTES bytes;
    while (!stream_done(*TP, stream)) {
        if (read_record(F, bytes) != IO_OK || !take_value_block(bytes, *TP, stream)) return nullptr;
    }
    return TP;
}

void PERFORM_SAVE(TABLE& TP) {
    EXITCODE = static_cast<std::int16_t>(write_records(F, encode_table(TP, TP.CRSET)));
}

namespace {

// Cuts an appended zij back to its old length, through F or, once F is closed, by name.
int cut_back() {
    if (!is_open(F)) {
        const int rc = open_record_file(F, SAVING.path, BLOCKSIZE, FileMode::ReadWrite);
        if (rc != IO_OK) return rc;
    }
    int rc = truncate_file(F, SAVING.start_length);
    if (rc == IO_OK) rc = sync_file(F);
    const int closed = close_record_file(F);
    return rc != IO_OK ? rc : closed;
}

}  // namespace

int finish_save(int* undo) {
    int code = IO_OK;
    if (undo != nullptr) *undo = IO_OK;
    switch (SAVING.kind) {
        case SaveKind::None:
            return close_zij();
        case SaveKind::Append:
            code = sync_file(F);
            if (code == IO_OK) code = close_record_file(F);
            if (code != IO_OK) {
                const int undone = cut_back();
                if (undo != nullptr) *undo = undone;
            }
            break;
        case SaveKind::New:
        case SaveKind::Overwrite:
            code = sync_file(F);
            if (const int closed = close_record_file(F); code == IO_OK) code = closed;
            if (code == IO_OK) {
                code = SAVING.kind == SaveKind::New
                           ? rename_file_no_replace(SAVING.temp_path, SAVING.path)
                           : rename_file(SAVING.temp_path, SAVING.path);
            }
            if (code == IO_OK) {
                sync_directory(split_path(SAVING.path).dir);
            } else {
                erase_file(SAVING.temp_path);
            }
            break;
    }
    SAVING = ZIJSAVE{};
    return code;
}

int abandon_save() {
    int code = IO_OK;
    switch (SAVING.kind) {
        case SaveKind::None:
            close_zij();
            break;
        case SaveKind::Append:
            code = cut_back();
            break;
        case SaveKind::New:
        case SaveKind::Overwrite:
            if (is_open(F)) close_record_file(F);
            erase_file(SAVING.temp_path);
            break;
    }
    SAVING = ZIJSAVE{};
    return code;
}

int write_zij_file(const std::string& path, const std::vector<const TABLE*>& tables, bool replace) {
    std::string bytes;
    for (const TABLE* t : tables)
        bytes += encode_table_blocks(*t);
    return replace ? replace_file(path, bytes) : write_new_file(path, bytes);
}

}  // namespace zorvat
