#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace zorvat {

FileFaults FILE_FAULTS;

void reset_file_faults() {
    FILE_FAULTS = FileFaults{};
}

int io_code_from_errno(int err, bool writing) {
    switch (err) {
        case 0:
            return IO_OK;
        case ENOENT:
            return IO_FILE_NOT_FOUND;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return IO_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
        case EEXIST:
            return IO_ACCESS_DENIED;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return IO_DISK_FULL;
        default:
            return writing ? IO_WRITE_FAULT : IO_READ_ERROR;
    }
}

namespace {

constexpr int SHORT_WRITE = -1;

// The one point every system call passes: the errno the call must fail with, 0 to go
// ahead, or SHORT_WRITE.
int fault(FileCall kind) {
    FileFaults& ff = FILE_FAULTS;
    if (kind == FileCall::Write && ff.fail_next_write) {
        ff.fail_next_write = false;
        return ENOSPC;
    }
    if (ff.fail_call <= 0) return 0;
    if (ff.call != FileCall::Any && ff.call != kind) return 0;
    if (++ff.calls != ff.fail_call) return 0;
    if (ff.short_write) {
        if (kind != FileCall::Write) return 0;
        ff.hit = true;
        ff.fail_next_write = true;
        return SHORT_WRITE;
    }
    ff.hit = true;
    return ff.call_error;
}

// Runs a call that sets errno, unless the fault point fails it first; -1 and errno set
// on failure.
template <typename Call>
auto checked(FileCall kind, Call call) -> decltype(call()) {
    const int f = fault(kind);
    if (f > 0) {
        errno = f;
        return -1;
    }
    return call();
}

int sys_open(const char* path, int flags, mode_t mode = 0) {
    return checked(FileCall::Open, [&] { return ::open(path, flags | O_CLOEXEC, mode); });
}

int sys_close(int fd) {
    const int f = fault(FileCall::Close);
    const int rc = ::close(fd);  // the descriptor is given back even when the call "fails"
    if (f > 0) {
        errno = f;
        return -1;
    }
    return rc;
}

// Closes the descriptor when it goes out of scope.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    int release() {
        const int f = fd;
        fd = -1;
        return f;
    }
};

// Writes everything at `offset` (-1: at the descriptor's position), honouring the injected
// faults; returns an errno value or 0.
int write_all(int fd, std::string_view data, long long offset) {
    while (!data.empty()) {
        std::size_t chunk = data.size();
        if (FILE_FAULTS.fail_after_bytes >= 0) {
            const long long room = FILE_FAULTS.fail_after_bytes - FILE_FAULTS.written;
            if (room <= 0) return FILE_FAULTS.error;
            if (static_cast<long long>(chunk) > room) chunk = static_cast<std::size_t>(room);
        }
        const int f = fault(FileCall::Write);
        if (f > 0) return f;
        if (f == SHORT_WRITE && chunk > 1) chunk /= 2;
        const ssize_t n = offset < 0 ? ::write(fd, data.data(), chunk)
                                     : ::pwrite(fd, data.data(), chunk, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return ENOSPC;
        FILE_FAULTS.written += n;
        if (offset >= 0) offset += n;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int sys_fsync(int fd) {
    return checked(FileCall::Sync, [&] {
        const int rc = ::fsync(fd);
        // Files on which syncing means nothing (pipes, some special file systems) are fine.
        if (rc != 0 && (errno == EINVAL || errno == EROFS)) return 0;
        return rc;
    });
}

int sys_fstat(int fd, struct stat& st) {
    return checked(FileCall::Status, [&] { return ::fstat(fd, &st); });
}

LocalTime local_time(time_t t) {
    struct tm tm {};
    LocalTime lt;
    if (::localtime_r(&t, &tm) == nullptr) return lt;
    lt.day = tm.tm_mday;
    lt.month = tm.tm_mon + 1;
    lt.year = tm.tm_year + 1900;
    lt.hour = tm.tm_hour;
    lt.minute = tm.tm_min;
    return lt;
}

// Opens a regular file without ever waiting on it (a pipe or a device would block).
int open_regular(const std::string& path, int flags, int& fd_out) {
    Fd f(sys_open(path.c_str(), flags | O_NONBLOCK));
    if (f.fd < 0) return io_code_from_errno(errno, (flags & O_ACCMODE) != O_RDONLY);
    struct stat st {};
    if (sys_fstat(f.fd, st) != 0) return io_code_from_errno(errno, false);
    if (!S_ISREG(st.st_mode)) return IO_ACCESS_DENIED;
    const int fl = ::fcntl(f.fd, F_GETFL);
    if (fl >= 0) ::fcntl(f.fd, F_SETFL, fl & ~O_NONBLOCK);
    fd_out = f.release();
    return IO_OK;
}

constexpr std::size_t READ_BUFFER_RECORDS = 256;

}  // namespace

int read_whole_file(const std::string& path, std::string& content) {
    content.clear();
    int fd = -1;
    if (const int rc = open_regular(path, O_RDONLY, fd); rc != IO_OK) return rc;
    Fd f(fd);
    char buf[65536];
    for (;;) {
        const ssize_t n = checked(FileCall::Read, [&] { return ::read(f.fd, buf, sizeof buf); });
        if (n < 0) {
            if (errno == EINTR) continue;
            return io_code_from_errno(errno, false);
        }
        if (n == 0) break;
        content.append(buf, static_cast<std::size_t>(n));
    }
    if (sys_close(f.release()) != 0) return io_code_from_errno(errno, false);
    return IO_OK;
}

std::string temporary_name_beside(const std::string& path, int attempt) {
    const PathParts p = split_path(path);
    return p.dir + "." + p.name + p.ext + ".new-" + std::to_string(::getpid()) + "-" +
           std::to_string(attempt);
}

namespace {

int write_beside_and_rename(const std::string& path, std::string_view content, bool replace) {
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = temporary_name_beside(path, attempt);
        fd = sys_open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd < 0 && (errno != EEXIST || attempt > 100)) return io_code_from_errno(errno, true);
    }
    int err = 0;
    {
        Fd f(fd);
        err = write_all(f.fd, content, -1);
        if (err == 0 && sys_fsync(f.fd) != 0) err = errno;
        if (sys_close(f.release()) != 0 && err == 0) err = errno;
    }
    int code = io_code_from_errno(err, true);
    if (code == IO_OK)
        code = replace ? rename_file(temp, path) : rename_file_no_replace(temp, path);
    if (code != IO_OK) {
        ::unlink(temp.c_str());
        return code;
    }
    sync_directory(split_path(path).dir);
    return IO_OK;
}

}  // namespace

int replace_file(const std::string& path, std::string_view content) {
    return write_beside_and_rename(path, content, true);
}

int write_new_file(const std::string& path, std::string_view content) {
    return write_beside_and_rename(path, content, false);
}

std::string current_directory() {
    std::vector<char> buf(PATH_MAX + 1);
    if (::getcwd(buf.data(), buf.size()) == nullptr) return "/";
    return std::string(buf.data());
}

std::string expand_path(std::string_view name) {
    std::string full;
    // "~" and "~/..." are the home directory, as in a shell.
    std::string from_home;
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/' &&
        (name == "~" || (name.size() >= 2 && name[0] == '~' && name[1] == '/'))) {
        from_home = std::string(home) + std::string(name.substr(1));
        name = from_home;
    }
    if (!name.empty() && name.front() == '/') {
        full = std::string(name);
    } else {
        full = current_directory();
        if (!name.empty()) {
            if (full.back() != '/') full.push_back('/');
            full.append(name);
        }
    }
    // Take "." and ".." away lexically; keep everything else as typed.
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i <= full.size()) {
        const std::size_t j = full.find('/', i);
        const std::size_t end = j == std::string::npos ? full.size() : j;
        std::string part = full.substr(i, end - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        if (j == std::string::npos) break;
        i = j + 1;
    }
    std::string out;
    for (const auto& p : parts)
        out += "/" + p;
    if (out.empty()) out = "/";
    if (full.size() > 1 && full.back() == '/' && out != "/") out.push_back('/');
    return out;
}

PathParts split_path(std::string_view path) {
    PathParts p;
    const auto slash = path.rfind('/');
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    p.dir = std::string(path.substr(0, start));
    const std::string_view rest = path.substr(start);
    const auto dot = rest.rfind('.');
    if (dot == std::string_view::npos) {
        p.name = std::string(rest);
    } else {
        p.name = std::string(rest.substr(0, dot));
        p.ext = std::string(rest.substr(dot));
    }
    return p;
}

// --- Record files ----------------------------------------------------------------------

RecordFile::~RecordFile() {
    if (fd >= 0) ::close(fd);
}

bool is_open(const RecordFile& f) {
    return f.fd >= 0;
}

namespace {

void start_record_file(RecordFile& f, int fd, std::size_t record_size) {
    f.fd = fd;
    f.record_size = record_size;
    f.position = 0;
    f.buffer_start = 0;
    f.buffer_length = 0;
    f.buffer.resize(record_size * READ_BUFFER_RECORDS);
}

}  // namespace

int open_record_file(RecordFile& f, const std::string& path, std::size_t record_size,
                     FileMode mode) {
    if (is_open(f)) close_record_file(f);
    int fd = -1;
    const int rc = open_regular(path, mode == FileMode::ReadOnly ? O_RDONLY : O_RDWR, fd);
    if (rc != IO_OK) return rc;
    start_record_file(f, fd, record_size);
    return IO_OK;
}

int create_record_file(RecordFile& f, const std::string& path, std::size_t record_size) {
    if (is_open(f)) close_record_file(f);
    const int fd = sys_open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
    // Creating a name fails with ENOENT only when its directory is missing.
    if (fd < 0) return errno == ENOENT ? IO_PATH_NOT_FOUND : io_code_from_errno(errno, true);
    start_record_file(f, fd, record_size);
    return IO_OK;
}

int read_record(RecordFile& f, std::span<std::uint8_t> record) {
    if (!is_open(f)) return 103;  // file not open
    const auto size = static_cast<long long>(record.size());
    const long long end = f.buffer_start + static_cast<long long>(f.buffer_length);
    if (f.position < f.buffer_start || f.position + size > end) {
        // Refill from the position: many records in one call.
        f.buffer_start = f.position;
        f.buffer_length = 0;
        for (;;) {
            const ssize_t n = checked(FileCall::Read, [&] {
                return ::pread(f.fd, f.buffer.data(), f.buffer.size(),
                               static_cast<off_t>(f.position));
            });
            if (n < 0) {
                if (errno == EINTR) continue;
                return io_code_from_errno(errno, false);
            }
            f.buffer_length = static_cast<std::size_t>(n);
            break;
        }
        if (static_cast<long long>(f.buffer_length) < size) return IO_READ_ERROR;
    }
    const auto from = static_cast<std::size_t>(f.position - f.buffer_start);
    std::memcpy(record.data(), f.buffer.data() + from, record.size());
    f.position += size;
    return IO_OK;
}

int write_records(RecordFile& f, std::string_view bytes) {
    if (!is_open(f)) return 103;
    f.buffer_length = 0;  // what was read ahead may be overwritten
    const int err = write_all(f.fd, bytes, f.position);
    if (err != 0) return io_code_from_errno(err, true);
    f.position += static_cast<long long>(bytes.size());
    return IO_OK;
}

void seek_record(RecordFile& f, long long n) {
    f.position = n * static_cast<long long>(f.record_size);
}

long long record_position(const RecordFile& f) {
    return f.record_size == 0 ? 0 : f.position / static_cast<long long>(f.record_size);
}

int file_length(RecordFile& f, long long& bytes) {
    bytes = 0;
    if (!is_open(f)) return 103;
    struct stat st {};
    if (sys_fstat(f.fd, st) != 0) return io_code_from_errno(errno, false);
    bytes = static_cast<long long>(st.st_size);
    return IO_OK;
}

int truncate_file(RecordFile& f, long long bytes) {
    if (!is_open(f)) return 103;
    f.buffer_length = 0;
    if (checked(FileCall::Truncate, [&] { return ::ftruncate(f.fd, static_cast<off_t>(bytes)); }) !=
        0)
        return io_code_from_errno(errno, true);
    return IO_OK;
}

int sync_file(RecordFile& f) {
    if (!is_open(f)) return 103;
    if (sys_fsync(f.fd) != 0) return io_code_from_errno(errno, true);
    return IO_OK;
}

int close_record_file(RecordFile& f) {
    if (!is_open(f)) return 103;
    const int fd = f.fd;
    f.fd = -1;
    f.buffer_length = 0;
    if (sys_close(fd) != 0) return io_code_from_errno(errno, true);
    return IO_OK;
}

// --- Directories and names -------------------------------------------------------------

int file_status(const std::string& path, FileStatus& status) {
    status = FileStatus{};
    struct stat st {};
    if (checked(FileCall::Status, [&] { return ::stat(path.c_str(), &st); }) != 0)
        return io_code_from_errno(errno, false);
    status.directory = S_ISDIR(st.st_mode);
    status.regular = S_ISREG(st.st_mode);
    status.size = static_cast<long long>(st.st_size);
    status.mode = static_cast<unsigned>(st.st_mode & 07777);
    status.modified = local_time(st.st_mtime);
    return IO_OK;
}

namespace {

char fold(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

}  // namespace

bool wildcard_match(std::string_view pattern, std::string_view name) {
    // Iterative matching with one back-tracking point: linear enough for file names.
    std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

int search_directory(const std::string& dir, std::string_view pattern,
                     std::vector<DirEntry>& entries) {
    entries.clear();
    const std::string path = dir.empty() ? "." : dir;
    int dfd = sys_open(path.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd < 0) return io_code_from_errno(errno, false);
    DIR* d = ::fdopendir(dfd);
    if (d == nullptr) {
        const int err = errno;
        ::close(dfd);
        return io_code_from_errno(err, false);
    }
    int result = IO_OK;
    for (;;) {
        if (const int f = fault(FileCall::ListDir); f > 0) {
            result = io_code_from_errno(f, false);
            break;
        }
        errno = 0;
        const dirent* e = ::readdir(d);
        if (e == nullptr) {
            if (errno != 0) result = io_code_from_errno(errno, false);
            break;
        }
        const std::string_view name(e->d_name);
        if (name == "." || name == ".." || !wildcard_match(pattern, name)) continue;
        DirEntry entry;
        entry.name = std::string(name);
        entry.hidden = name.front() == '.';
        struct stat lst {};
        if (::fstatat(dfd, e->d_name, &lst, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone
        entry.directory = S_ISDIR(lst.st_mode);
        struct stat st = lst;
        if (S_ISLNK(lst.st_mode) && ::fstatat(dfd, e->d_name, &st, 0) != 0) continue;
        entry.regular = S_ISREG(st.st_mode);
        entry.size = static_cast<long long>(st.st_size);
        entry.read_only = (st.st_mode & 0222) == 0;
        entry.modified = local_time(st.st_mtime);
        entries.push_back(std::move(entry));
    }
    ::closedir(d);
    return result;
}

int test_directory(const std::string& dir) {
    const int fd = sys_open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return errno == ENOENT ? IO_PATH_NOT_FOUND : io_code_from_errno(errno, false);
    ::close(fd);
    return IO_OK;
}

int change_directory(const std::string& dir) {
    if (checked(FileCall::ChangeDir, [&] { return ::chdir(dir.c_str()); }) != 0)
        return errno == ENOENT ? IO_PATH_NOT_FOUND : io_code_from_errno(errno, false);
    return IO_OK;
}

int test_writable(const std::string& path) {
    int fd = -1;
    if (const int rc = open_regular(path, O_WRONLY, fd); rc != IO_OK) return rc;
    if (sys_close(fd) != 0) return io_code_from_errno(errno, true);
    return IO_OK;
}

int rename_file(const std::string& from, const std::string& to) {
    if (checked(FileCall::Rename, [&] { return ::rename(from.c_str(), to.c_str()); }) != 0)
        return io_code_from_errno(errno, true);
    return IO_OK;
}

int rename_file_no_replace(const std::string& from, const std::string& to) {
    const int rc = checked(FileCall::Rename, [&] {
        int r = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
        if (r != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without the flag: look first, then rename.
            struct stat st {};
            if (::lstat(to.c_str(), &st) == 0) {
                errno = EEXIST;
                return -1;
            }
            r = ::rename(from.c_str(), to.c_str());
        }
        return r;
    });
    if (rc != 0) return io_code_from_errno(errno, true);
    return IO_OK;
}

int erase_file(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return IO_ACCESS_DENIED;
    if (checked(FileCall::Erase, [&] { return ::unlink(path.c_str()); }) != 0)
        return io_code_from_errno(errno, true);
    return IO_OK;
}

int set_permissions(RecordFile& f, unsigned mode) {
    if (!is_open(f)) return 103;
    if (checked(FileCall::Chmod, [&] { return ::fchmod(f.fd, static_cast<mode_t>(mode)); }) != 0)
        return io_code_from_errno(errno, true);
    return IO_OK;
}

int sync_directory(const std::string& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return io_code_from_errno(errno, false);
    Fd f(fd);
    if (::fsync(fd) != 0 && errno != EINVAL) return io_code_from_errno(errno, true);
    return IO_OK;
}

}  // namespace zorvat
