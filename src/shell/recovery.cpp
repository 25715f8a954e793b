#include "shell/recovery.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "data/data_state.h"
#include "data/zij_file.h"
#include "dialogue/console.h"
#include "dialogue/toolkit.h"
#include "platform/files.h"

namespace zorvat {

namespace {

// Writes the tables to the first free RECOVERn.ZVT of `dir`; the code of the last try.
int write_recovery(const std::string& dir, const std::vector<const TABLE*>& tables,
                   std::string& where) {
    int code = IO_ACCESS_DENIED;
    for (int n = 1; n <= 99; ++n) {
        where = (dir.ends_with('/') ? dir : dir + "/") + "RECOVER" + std::to_string(n) + ".ZVT";
        code = write_zij_file(where, tables, false);
        FileStatus st;
        if (code != IO_ACCESS_DENIED || file_status(where, st) != IO_OK) break;  // not taken
    }
    return code;
}

}  // namespace

std::string recover_unsaved_tables() {
    if (SAVING.kind != SaveKind::None) abandon_save();
    std::vector<const TABLE*> unsaved;
    for (const TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        if (!t->SAVED) unsaved.push_back(t);
    if (unsaved.empty()) return {};
    std::string where;
    int code = write_recovery(current_directory(), unsaved, where);
    if (code != IO_OK) {
        const char* home = std::getenv("HOME");
        if (home != nullptr && *home == '/') code = write_recovery(home, unsaved, where);
    }
    if (code != IO_OK) {
        return "zorvat: the unsaved tables could not be saved (" + std::string(error_text(code)) +
               ")\n";
    }
    const std::string count = unsaved.size() == 1
                                  ? std::string("1 unsaved table was")
                                  : std::to_string(unsaved.size()) + " unsaved tables were";
    return "zorvat: " + count + " saved in " + where + "\n";
}

int finish_terminal_session(int reason) {
    const std::string note = recover_unsaved_tables();
    if (!note.empty()) {
        std::fputs(note.c_str(), stderr);
        std::fflush(stderr);
    }
    return reason == KEY_TERMINATED ? 1 : 0;
}

}  // namespace zorvat
