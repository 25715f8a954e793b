// The file system as the program sees it: Linux paths as typed, and the I/O result
// codes of the system (0 success, 2 file not found, 3 path not found, 5 access denied,
// 100 read error, 101 disk full, 160/161 device write/read fault).
#pragma once

#include <string>
#include <string_view>

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

// The current directory ("/" when it cannot be found).
std::string current_directory();

// `name` as a full path against the current directory, "." and ".." taken away without
// resolving links; case and blanks kept. An empty name gives the current directory.
std::string expand_path(std::string_view name);

// A test can make writes fail: after `fail_after_bytes` bytes written through this layer
// every further write fails with `error` (an errno value). -1 turns it off.
struct FileFaults {
    long long fail_after_bytes = -1;
    int error = 28;  // ENOSPC
    long long written = 0;
};
extern FileFaults FILE_FAULTS;
void reset_file_faults();

}  // namespace zorvat
