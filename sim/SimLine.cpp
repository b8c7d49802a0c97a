#include "SimLine.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zelsim {

namespace {
struct RateSpeed {
    uint32_t rate;
    speed_t speed;
};

constexpr RateSpeed kRates[] = {
    {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},   {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600}, {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

constexpr int kMsPerSecond = 1000;
constexpr long kNsPerMs = 1000 * 1000;

std::string Failure(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool MakeRaw(int fd, speed_t speed) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    return cfsetispeed(&settings, speed) == 0 && cfsetospeed(&settings, speed) == 0 &&
           tcsetattr(fd, TCSANOW, &settings) == 0;
}
}  // namespace

SimLine::SimLine(int fd, int farFd, std::string devicePath)
    : fd_(fd), farFd_(farFd), devicePath_(std::move(devicePath)) {}

SimLine::~SimLine() {
    if (farFd_ >= 0) close(farFd_);
    close(fd_);
}

uint32_t SimLine::RateOf(unsigned speed) {
    for (const RateSpeed& row : kRates)
        if (row.speed == speed) return row.rate;
    return 0;
}

bool SimLine::SpeedOf(uint32_t rate, unsigned& speed) {
    for (const RateSpeed& row : kRates)
        if (row.rate == rate) {
            speed = row.speed;
            return true;
        }
    return false;
}

std::unique_ptr<SimLine> SimLine::OpenPseudoTerminal(std::string& error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0) {
        error = Failure("cannot make a pseudo-terminal");
        return nullptr;
    }
    const char* name = (grantpt(master) == 0 && unlockpt(master) == 0) ? ptsname(master) : nullptr;
    if (!name) {
        error = Failure("cannot unlock the pseudo-terminal");
        close(master);
        return nullptr;
    }
    std::string path = name;
    const int far = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    unsigned speed = 0;
    SpeedOf(kInitialRate, speed);
    if (far < 0 || !MakeRaw(far, speed)) {
        error = Failure("cannot set up " + path);
        if (far >= 0) close(far);
        close(master);
        return nullptr;
    }
    return std::unique_ptr<SimLine>(new SimLine(master, far, std::move(path)));
}

std::unique_ptr<SimLine> SimLine::OpenDevice(const std::string& path, uint32_t rate,
                                             std::string& error) {
    unsigned speed = 0;
    if (!SpeedOf(rate, speed)) {
        error = "unsupported rate " + std::to_string(rate);
        return nullptr;
    }
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = Failure("cannot open " + path);
        return nullptr;
    }
    if (!isatty(fd)) {
        error = path + " is not a serial device";
        close(fd);
        return nullptr;
    }
    if (!MakeRaw(fd, speed)) {
        error = Failure("cannot configure " + path);
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<SimLine>(new SimLine(fd, -1, path));
}

uint32_t SimLine::Rate() const {
    termios settings{};
    if (tcgetattr(fd_, &settings) != 0) return 0;
    return RateOf(cfgetospeed(&settings));
}

bool SimLine::SetRate(uint32_t rate) {
    unsigned speed = 0;
    termios settings{};
    if (IsPseudoTerminal() || !SpeedOf(rate, speed) || tcgetattr(fd_, &settings) != 0) return false;
    return cfsetispeed(&settings, speed) == 0 && cfsetospeed(&settings, speed) == 0 &&
           tcsetattr(fd_, TCSADRAIN, &settings) == 0;
}

long SimLine::Read(uint8_t* buffer, size_t size) {
    const ssize_t got = read(fd_, buffer, size);
    // A hung-up device reads as the end of a file, again and again.
    if (got == 0 && hungUp_) return -1;
    if (got >= 0) return got;
    return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
}

long SimLine::Write(const char* bytes, size_t count) {
    DropStaleBacklog();
    const ssize_t put = write(fd_, bytes, count);
    if (put >= 0) return put;
    return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
}

void SimLine::DropStaleBacklog() {
    if (farFd_ < 0) return;
    int unread = 0;
    if (ioctl(farFd_, FIONREAD, &unread) == 0 && unread > kStaleBacklog) tcflush(farFd_, TCIFLUSH);
}

bool SimLine::WaitReadable(int timeoutMs, const sigset_t& signals) {
    pollfd entry{fd_, POLLIN, 0};
    const timespec timeout{timeoutMs / kMsPerSecond, (timeoutMs % kMsPerSecond) * kNsPerMs};
    if (ppoll(&entry, 1, timeoutMs < 0 ? nullptr : &timeout, &signals) <= 0) return false;
    hungUp_ = (entry.revents & (POLLHUP | POLLERR)) != 0;
    return (entry.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

}  // namespace zelsim
