#include "serial/QtSerialDevice.h"

#include <QDir>
#include <QSerialPortInfo>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <limits>
#include <utility>

#include "serial/PortLock.h"

#ifdef Q_OS_UNIX
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace zelsim {

QtSerialDevice::QtSerialDevice() {
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { OnError(error); });
}

bool QtSerialDevice::Open(const std::string& path) {
    openError_ = {OpenError::Kind::Busy, ""};
    if (port_.isOpen()) return false;
    failed_ = false;
    port_.setPortName(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
    if (!port_.open(QIODevice::ReadWrite)) {
        openError_ = WhyNotOpened(path);
        return false;
    }
    openError_ = {};
    StopQtReader();
    TellEmptyFromHungUp();
    return true;
}

SerialDevice::OpenError QtSerialDevice::WhyNotOpened(const std::string& path) const {
    using Kind = OpenError::Kind;
#ifdef Q_OS_UNIX
    // Asked of the system itself: Qt words a lock held by another program
    // and a missing permission alike.
    struct stat device {};
    if (::stat(path.c_str(), &device) != 0 && errno == ENOENT) return {Kind::NoSuchDevice, ""};
    if (::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES)
        return {Kind::PermissionDenied, ""};
#endif
    switch (port_.error()) {
        case QSerialPort::DeviceNotFoundError:
            return {Kind::NoSuchDevice, ""};
        case QSerialPort::PermissionError:
            return {Kind::Busy,
                    PortLock::Holder(path, PortLock::Folders(QDir::tempPath().toStdString()))};
        default:
            return {Kind::Other, port_.errorString().toStdString()};
    }
}

void QtSerialDevice::StopQtReader() {
#ifdef Q_OS_UNIX
    // Left on, Qt wakes the event loop for every chunk the line delivers
    // (about a hundred times a second at full rate) only to buffer bytes the
    // main cycle takes on its next tick anyway; that doubled the program's
    // idle cost. Its reader is the port's read notifier.
    for (QSocketNotifier* notifier : port_.findChildren<QSocketNotifier*>())
        if (notifier->type() == QSocketNotifier::Read) notifier->setEnabled(false);
#endif
}

void QtSerialDevice::TellEmptyFromHungUp() {
#ifdef Q_OS_UNIX
    // The descriptor does not block, so an empty line now reads as EAGAIN
    // instead of as the end of file a hung-up line gives: one read a tick
    // tells the two apart. Qt's setters keep these two fields.
    termios settings{};
    const int fd = static_cast<int>(port_.handle());
    if (::tcgetattr(fd, &settings) != 0) return;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &settings);
#endif
}

bool QtSerialDevice::WakeOnArrival(std::function<void()> wake) {
#ifdef Q_OS_UNIX
    wake_ = std::move(wake);
    if (!port_.isOpen()) {
        arrival_.reset();
        return true;  // nothing can arrive
    }
    const auto fd = static_cast<qintptr>(port_.handle());
    if (!arrival_ || arrival_->socket() != fd) {
        arrival_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        // Level-triggered: it is switched off before anyone is woken, and
        // the cycle reads what came.
        QObject::connect(arrival_.get(), &QSocketNotifier::activated, arrival_.get(), [this] {
            arrival_->setEnabled(false);
            if (const std::function<void()> wake = std::exchange(wake_, nullptr)) wake();
        });
    }
    arrival_->setEnabled(static_cast<bool>(wake_));
    return true;
#else
    (void)wake;
    return false;
#endif
}

void QtSerialDevice::Close() {
    arrival_.reset();
    wake_ = nullptr;
    port_.close();
    failed_ = false;
}

SerialDevice::ConfigResult QtSerialDevice::Configure(uint32_t rate) {
    if (!port_.isOpen()) return {ConfigStep::GetState, EBADF};
    lastSystemError_ = 0;
    const bool applied =
        port_.setBaudRate(static_cast<qint32>(rate)) && port_.setDataBits(QSerialPort::Data8) &&
        port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
        port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!applied) {
        const int code = lastSystemError_ != 0 ? lastSystemError_ : static_cast<int>(port_.error());
        return {ConfigStep::SetState, code};
    }
    // Pseudo-terminals and some adapters have no modem lines; the line still
    // works without them, so a refusal here is not a configuration failure.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(true);
    return {};
}

long QtSerialDevice::Read(uint8_t* buffer, size_t size) {
    if (!port_.isOpen()) return -1;
    const auto wanted = static_cast<qint64>(
        std::min<size_t>(size, static_cast<size_t>(std::numeric_limits<qint64>::max())));
    // Bytes Qt buffered (while writing, or before its reader was stopped)
    // arrived before anything still in the descriptor, so they go first.
    if (port_.bytesAvailable() > 0) {
        const qint64 n = port_.read(reinterpret_cast<char*>(buffer), wanted);
        StopQtReader();  // reading through Qt switches its reader back on
        return static_cast<long>(n);
    }
    if (failed_) return -1;
#ifdef Q_OS_UNIX
    return ReadDescriptor(buffer, static_cast<size_t>(wanted));
#else
    // Outside a running event loop nothing moves bytes from the line into
    // the port's buffer, so look for them here without waiting.
    port_.waitForReadyRead(0);
    if (port_.bytesAvailable() == 0) return failed_ ? -1 : 0;
    return static_cast<long>(port_.read(reinterpret_cast<char*>(buffer), wanted));
#endif
}

#ifdef Q_OS_UNIX
long QtSerialDevice::ReadDescriptor(uint8_t* buffer, size_t size) {
    const int fd = static_cast<int>(port_.handle());
    const ssize_t n = ::read(fd, buffer, size);
    if (n > 0) return static_cast<long>(n);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) return 0;  // nothing waiting
        // The far end of a pseudo-terminal closed, or the adapter went.
        lastSystemError_ = errno;
        failed_ = true;
        return -1;
    }
    // End of file: a hung-up line reads so for ever. Should the line still
    // return at once when empty, this is only an empty line.
    pollfd probe{fd, POLLIN, 0};
    if (::poll(&probe, 1, 0) > 0 && (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        failed_ = true;
        return -1;
    }
    return 0;
}
#endif

long QtSerialDevice::Write(const uint8_t* bytes, size_t count) {
    if (!port_.isOpen() || failed_) return -1;
#ifdef Q_OS_UNIX
    // Straight to the descriptor, as reads are: Qt's writer takes a full
    // line (EAGAIN) for a failed device, and a far end that reads slowly
    // would be dropped as lost. What the line does not take now, the port
    // keeps and offers again.
    const ssize_t n = ::write(static_cast<int>(port_.handle()), bytes, count);
    if (n >= 0) return static_cast<long>(n);
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return 0;
    lastSystemError_ = errno;
    failed_ = true;
    return -1;
#else
    const qint64 n = port_.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(count));
    port_.flush();
    return static_cast<long>(n);
#endif
}

void QtSerialDevice::Purge() {
    if (port_.isOpen()) port_.clear(QSerialPort::AllDirections);
}

void QtSerialDevice::ClearErrors() {
    port_.clearError();
}

bool QtSerialDevice::SetRts(bool raised) {
    return port_.isOpen() && port_.setRequestToSend(raised);
}

bool QtSerialDevice::HasFailed() const {
    return port_.isOpen() && failed_ && port_.bytesAvailable() == 0;
}

std::vector<std::string> QtSerialDevice::AvailablePorts() {
    std::vector<std::string> paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        paths.push_back(info.systemLocation().toLocal8Bit().toStdString());
    return paths;
}

void QtSerialDevice::OnError(QSerialPort::SerialPortError error) {
    // Qt has just formed its message from errno, so errno is still the
    // system's number for this error.
    lastSystemError_ = errno;
    switch (error) {
        case QSerialPort::ResourceError:
            failed_ = true;
            break;
        case QSerialPort::ReadError:
            // A far end that hung up reads as an endless stream of empty
            // reads; anything else is a passing fault.
            if (LineHungUp()) failed_ = true;
            break;
        default:
            break;
    }
}

bool QtSerialDevice::LineHungUp() const {
#ifdef Q_OS_UNIX
    pollfd probe{static_cast<int>(port_.handle()), POLLIN, 0};
    if (probe.fd < 0) return false;
    return ::poll(&probe, 1, 0) > 0 && (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    return false;
#endif
}

}  // namespace zelsim
