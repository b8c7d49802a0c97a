#include "monitor/LogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zelsim {

namespace {
constexpr mode_t kNewFileMode = 0666;  // the umask decides the rest

bool Fail(std::string& error) {
    error = std::strerror(errno);
    return false;
}
}  // namespace

bool LogFile::Append(const std::string& path, std::string_view bytes, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, kNewFileMode);
    if (fd < 0) return Fail(error);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            const int cause = errno;
            // Half a line would be glued to the next one that fits. Asked
            // here, not before every line: a log line is three system calls.
            if (done > 0) {
                const off_t end = ::lseek(fd, 0, SEEK_END);
                if (end >= static_cast<off_t>(done)) (void)::ftruncate(fd, end - done);
            }
            ::close(fd);
            errno = cause;
            return Fail(error);
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) return Fail(error);
    return true;
}

bool LogFile::Truncate(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CREAT | O_CLOEXEC, kNewFileMode);
    if (fd < 0) return Fail(error);
    ::close(fd);
    return true;
}

bool LogFile::Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool LogFile::Accessible(const std::string& path) {
    return ::access(path.c_str(), R_OK | W_OK) == 0;
}

bool LogFile::Remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool LogFile::Rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace zelsim
