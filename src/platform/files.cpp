#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
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

// Writes everything, honouring the injected faults; returns an errno value or 0.
int write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        std::size_t chunk = data.size();
        if (FILE_FAULTS.fail_after_bytes >= 0) {
            const long long room = FILE_FAULTS.fail_after_bytes - FILE_FAULTS.written;
            if (room <= 0) return FILE_FAULTS.error;
            if (static_cast<long long>(chunk) > room) chunk = static_cast<std::size_t>(room);
        }
        const ssize_t n = ::write(fd, data.data(), chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        FILE_FAULTS.written += n;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

}  // namespace

int read_whole_file(const std::string& path, std::string& content) {
    content.clear();
    Fd f(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (f.fd < 0) return io_code_from_errno(errno, false);
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(f.fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            return io_code_from_errno(errno, false);
        }
        if (n == 0) break;
        content.append(buf, static_cast<std::size_t>(n));
    }
    if (::close(f.release()) != 0) return io_code_from_errno(errno, false);
    return IO_OK;
}

int replace_file(const std::string& path, std::string_view content) {
    const std::string temp = path + ".new-" + std::to_string(::getpid());
    int err = 0;
    {
        Fd f(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (f.fd < 0) return io_code_from_errno(errno, true);
        err = write_all(f.fd, content);
        if (err == 0 && ::fsync(f.fd) != 0 && errno != EINVAL && errno != EROFS) err = errno;
        if (::close(f.release()) != 0 && err == 0) err = errno;
    }
    if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        return io_code_from_errno(err, true);
    }
    return IO_OK;
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

}  // namespace zorvat
