// The external zij: the file F of 229-byte blocks and its block buffer BL, the dialogues
// that open a zij for reading or writing, and the reader and writer of one table.
//
// A zij is only read through a read-only open. Writing never leaves a zij worse than it
// was: a new or overwritten zij is written beside its name and renamed into place when it
// is complete; an append remembers the old length and cuts the file back to it when any
// step fails.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/table.h"
#include "data/zij_block.h"
#include "platform/files.h"

namespace zorvat {

extern RecordFile F;
extern BLOCK BL;

// How the zij being written takes the place of what was there.
enum class SaveKind : std::uint8_t { None, New, Append, Overwrite };

struct ZIJSAVE {
    SaveKind kind = SaveKind::None;
    std::string path;            // the zij's full name
    std::string temp_path;       // the file written, for a new or overwritten zij
    long long start_length = 0;  // the length before an append
};
extern ZIJSAVE SAVING;

// The zij state back to its start: F closed (a save under way is undone).
void reset_zij_file_state();

// The message for a zij that cannot be appended to because its size is not whole blocks.
inline constexpr std::string_view NOT_WHOLE_BLOCKS =
    "The size of this zij is not a multiple of 229 bytes: nothing is appended to it.";

// A typed or given zij name as the full name of a zij file; -1 when the extension is
// neither empty nor ".ZVT" or the name is empty.
int check_zij_name(const std::string& name, std::string& full);
// -5 when the entry at `full` has the size of the old format (a multiple of 203 bytes that
// is not a multiple of 229).
int old_format_test(const std::string& full);

// Asks for a zij (or takes the name given on the command line in PARAM) and opens F for
// reading at its first block. The full name, or empty when nothing was opened.
std::string OPENFORLOAD();
// Asks for a zij and opens F for writing: a new zij, an existing one to be appended to, or
// (only when OVERWRITEALLOWED and confirmed) one to be overwritten. The full name or empty.
std::string OPENFORSAVE(bool OVERWRITEALLOWED);

// Opens F read-only at the zij `full` (a name already checked) and measures it.
int open_zij(const std::string& full);

// Reads the block at the position of F into `block`; the I/O code. A record that is not a
// block of either variant reads as a value block with a wrong check word.
int read_block(BLOCK& block);
// F stands at or after its last whole block.
bool zij_at_end();
// F stands after its last whole block (a table claimed more blocks than the file holds).
bool zij_beyond_end();
// Closes F after reading; the code of the close.
int close_zij();

// Reads the table at the position of F; nullptr (the table released) on failure.
std::unique_ptr<TABLE> PERFORM_GET();

// Writes a table at the position of F, its corrections taken from its CRSET; EXITCODE :=
// 0 or the code of the failing write.
void PERFORM_SAVE(TABLE& TP);

// Ends a save: the file flushed and closed and, for a new or overwritten zij, renamed into
// place. 0 when every table written is in the zij; otherwise the code, and the zij is as
// it was before the save (`undo`, when given, is then the code of cutting an appended zij
// back, 0 when that worked).
int finish_save(int* undo = nullptr);
// Gives a save up: the zij is left as it was before it. Not 0 only when an appended zij
// could not be cut back to its old length.
int abandon_save();

// The warning for a zij that could not be cut back after a failed append.
inline constexpr std::string_view NOT_CUT_BACK =
    "WARNING! The zij could not be cut back to its old length.";

// Writes a new zij of the tables at `path`, replacing a file there when `replace`, else
// refusing (code 5) to take the place of one. Nothing is left half-written.
int write_zij_file(const std::string& path, const std::vector<const TABLE*>& tables,
                   bool replace = true);

}  // namespace zorvat
