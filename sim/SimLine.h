#pragma once
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zelsim {

// The simulator's end of the line: the master of a pseudo-terminal pair it
// made, or an existing serial device. Reads and writes never block.
class SimLine {
  public:
    // What a program that opens the pseudo-terminal without setting a rate finds.
    static constexpr uint32_t kInitialRate = 38400;
    // Unread bytes beyond this in a pseudo-terminal mean nobody is reading;
    // they are dropped, as a real line would lose them, rather than delivered stale.
    static constexpr int kStaleBacklog = 3072;

    ~SimLine();
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;

    // Null, with `error` set, when it fails.
    static std::unique_ptr<SimLine> OpenPseudoTerminal(std::string& error);
    // Opens `path`, raw, 8N1, at `rate`.
    static std::unique_ptr<SimLine> OpenDevice(const std::string& path, uint32_t rate,
                                               std::string& error);

    // The device the program should open (the pseudo-terminal's far end), or
    // the device given.
    const std::string& DevicePath() const { return devicePath_; }

    // The rate the line runs at: on a pseudo-terminal the one the far end
    // set (Linux answers for the far end's settings on the master); 0 when
    // it cannot be read or is not a standard rate.
    uint32_t Rate() const;
    bool IsPseudoTerminal() const { return farFd_ >= 0; }
    // A device only (a pseudo-terminal's rate is the program's): moves its
    // rate once the bytes already written have gone out at the old one.
    bool SetRate(uint32_t rate);

    // Bytes waiting, at most `size`; 0 when none, -1 when the line failed.
    long Read(uint8_t* buffer, size_t size);
    // Bytes accepted (0 when the line is full); -1 when the line failed.
    long Write(const char* bytes, size_t count);
    // True when bytes wait within `timeoutMs` (-1: without end), or the
    // device hung up (the next Read says so); false on time-out or a signal.
    // `signals` is the signal mask while waiting: a signal blocked outside
    // the wait and let in here ends it even when it came just before it.
    bool WaitReadable(int timeoutMs, const sigset_t& signals);

    static uint32_t RateOf(unsigned speed);
    static bool SpeedOf(uint32_t rate, unsigned& speed);

  private:
    SimLine(int fd, int farFd, std::string devicePath);
    void DropStaleBacklog();

    int fd_;
    int farFd_;  // pseudo-terminal only: our hold on the far end, so it never hangs up
    std::string devicePath_;
    bool hungUp_ = false;
};

}  // namespace zelsim
