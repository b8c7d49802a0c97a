#include "scripts/DiskFileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace zelsim {

namespace {
std::string CalendarText(std::time_t when) {
    char text[64] = {};
    if (::ctime_r(&when, text) == nullptr) return "\n";
    return text;
}
}  // namespace

std::unique_ptr<FileSource> DiskFileSource::Open(const std::string& path, std::string& why) {
    why.clear();
    // The system would read the name only up to the NUL: another file.
    if (path.find('\0') != std::string::npos) {
        why = "the name holds a NUL character";
        return nullptr;
    }
    // Not blocking: opening a pipe would wait for a writer inside the cycle.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        why = std::strerror(errno);
        return nullptr;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        why = std::strerror(errno);
    else if (S_ISDIR(status.st_mode))
        why = "it is a folder";
    else if (!S_ISREG(status.st_mode))
        why = "it is not a regular file";
    if (!why.empty()) {
        ::close(descriptor);
        return nullptr;
    }
    return std::unique_ptr<FileSource>(new DiskFileSource(
        descriptor, static_cast<uint64_t>(status.st_size), CalendarText(status.st_mtime)));
}

DiskFileSource::DiskFileSource(int descriptor, uint64_t size, std::string modified)
    : descriptor_(descriptor), size_(size), modified_(std::move(modified)) {}

DiskFileSource::~DiskFileSource() {
    ::close(descriptor_);
}

long DiskFileSource::Read(uint8_t* buffer, size_t count) {
    for (;;) {
        const ssize_t n = ::read(descriptor_, buffer, count);
        if (n >= 0) return static_cast<long>(n);
        if (errno == EINTR) continue;
        error_ = std::strerror(errno);
        return -1;
    }
}

}  // namespace zelsim
