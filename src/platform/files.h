// The file system as the program sees it: Linux paths as typed, and the I/O result
// codes of the system (0 success, 2 file not found, 3 path not found, 5 access denied,
// 100 read error, 101 disk full, 160/161 device write/read fault).
//
// Every system call made here passes through one fault point, so that a test can make
// any one of them fail (FILE_FAULTS).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorvat {

inline constexpr int IO_OK = 0;
inline constexpr int IO_FILE_NOT_FOUND = 2;
inline constexpr int IO_PATH_NOT_FOUND = 3;
inline constexpr int IO_ACCESS_DENIED = 5;
inline constexpr int IO_READ_ERROR = 100;
inline constexpr int IO_DISK_FULL = 101;
inline constexpr int IO_WRITE_FAULT = 160;
inline constexpr int IO_READ_FAULT = 161;

// The system's I/O code for an errno value; `writing` picks the code of other errors.
int io_code_from_errno(int err, bool writing);

// Reads a whole file into `content`.
int read_whole_file(const std::string& path, std::string& content);

// Replaces the file at `path` by `content`: written beside it, flushed to disk and renamed
// over it only when every step succeeded. On failure the old file is as it was.
int replace_file(const std::string& path, std::string_view content);

// Writes a new file at `path` the same way, but never in place of an existing one (code 5
// then).
int write_new_file(const std::string& path, std::string_view content);

// The current directory ("/" when it cannot be found).
std::string current_directory();

// `name` as a full path against the current directory, "." and ".." taken away without
// resolving links; case and blanks kept. An empty name gives the current directory.
std::string expand_path(std::string_view name);

// A path split as the system splits a file name: the directory up to and including the
// last '/', the name, and the extension from the last '.' of the name on.
struct PathParts {
    std::string dir;
    std::string name;
    std::string ext;
};
PathParts split_path(std::string_view path);

// --- Faults for tests ------------------------------------------------------------------

// The kinds of system calls made through this layer.
enum class FileCall : std::uint8_t {
    Any,
    Open,
    Read,
    Write,
    Size,
    Truncate,
    Sync,
    Close,
    Rename,
    Erase,
    Status,
    ChangeDir,
    ListDir,
    Chmod,
};

// A test can make writes fail in two ways. After `fail_after_bytes` bytes written every
// further write fails with `error` (an errno value); -1 turns it off. And the call number
// `fail_call` (1-based) among the calls of kind `call` fails with `call_error`; with
// `short_write` that call, when it is a write, writes only half of its bytes and the next
// write fails with ENOSPC, as a filling disk does. `calls` counts the calls of kind `call`
// and `hit` tells whether the fault was met.
struct FileFaults {
    long long fail_after_bytes = -1;
    int error = 28;  // ENOSPC
    long long written = 0;
    long long fail_call = 0;
    FileCall call = FileCall::Any;
    int call_error = 28;
    bool short_write = false;
    long long calls = 0;
    bool hit = false;
    bool fail_next_write = false;
};
extern FileFaults FILE_FAULTS;
void reset_file_faults();

// --- Files of fixed-size records -------------------------------------------------------

enum class FileMode : std::uint8_t { ReadOnly, ReadWrite };

// An open file of records. Reading is buffered; the position counts bytes from the start
// and moves by whole records. Closed when it goes out of scope (errors then unreported).
struct RecordFile {
    int fd = -1;
    std::size_t record_size = 0;
    long long position = 0;
    std::vector<std::uint8_t> buffer;
    long long buffer_start = 0;
    std::size_t buffer_length = 0;

    RecordFile() = default;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    ~RecordFile();
};

bool is_open(const RecordFile& f);

// Opens an existing regular file; anything else (a directory, a device, a pipe) is refused
// with code 5 and never waited for.
int open_record_file(RecordFile& f, const std::string& path, std::size_t record_size,
                     FileMode mode);
// Creates a new empty file at a path where none exists (never replaces one).
int create_record_file(RecordFile& f, const std::string& path, std::size_t record_size);
// Reads the record at the position and moves past it; 100 at or near the end.
int read_record(RecordFile& f, std::span<std::uint8_t> record);
// Writes whole records at the position, all of them or an error code.
int write_records(RecordFile& f, std::string_view bytes);
// Sets the position to record n (beyond the end is allowed; reading there fails).
void seek_record(RecordFile& f, long long n);
long long record_position(const RecordFile& f);
// The file's length in bytes.
int file_length(RecordFile& f, long long& bytes);
// Cuts the file to `bytes` (the position stays).
int truncate_file(RecordFile& f, long long bytes);
// Flushes the file's data to the disk.
int sync_file(RecordFile& f);
// Closes the file and gives the result of the close.
int close_record_file(RecordFile& f);

// --- Names in directories --------------------------------------------------------------

// What a directory entry says of a file.
struct LocalTime {
    int day = 0, month = 0, year = 0, hour = 0, minute = 0;
};
struct FileStatus {
    bool directory = false;
    bool regular = false;
    long long size = 0;
    unsigned mode = 0;  // the permission bits
    LocalTime modified;
};
// The entry of a path (links followed).
int file_status(const std::string& path, FileStatus& status);

struct DirEntry {
    std::string name;
    long long size = 0;
    bool directory = false;  // a directory itself, not a link to one
    bool regular = false;    // a regular file, or a link to one
    bool hidden = false;     // the name begins with '.'
    bool read_only = false;  // no write permission bits
    LocalTime modified;
};

// Whether `name` matches a pattern of '*' and '?', letters compared without regard to case.
bool wildcard_match(std::string_view pattern, std::string_view name);

// The entries of `dir` whose names match `pattern`, in the order the file system gives
// them ("." and ".." left out). An empty result with 0 when nothing matches.
int search_directory(const std::string& dir, std::string_view pattern,
                     std::vector<DirEntry>& entries);

// Whether `dir` is a directory that can be opened for listing.
int test_directory(const std::string& dir);
int change_directory(const std::string& dir);

// Whether an existing file may be written (opened for writing and closed again).
int test_writable(const std::string& path);

// Renames or moves a file; an existing file at `to` is replaced.
int rename_file(const std::string& from, const std::string& to);
// Renames or moves a file but never over an existing one (code 5 then).
int rename_file_no_replace(const std::string& from, const std::string& to);
int erase_file(const std::string& path);

// A name beside `path` for a temporary file: the same directory, a name that no zij
// listing shows.
std::string temporary_name_beside(const std::string& path, int attempt);
// Gives `f`'s file the permission bits `mode`.
int set_permissions(RecordFile& f, unsigned mode);
// Flushes the entries of a directory to the disk (after a rename in it).
int sync_directory(const std::string& dir);

}  // namespace zorvat
