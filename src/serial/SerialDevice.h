#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace zelsim {

// The operating system's side of one serial line. SerialPort holds the rules
// (rates, names, estimates); a device only moves bytes and applies settings.
// Implementations: QtSerialDevice (the real line) and MemorySerialDevice (tests).
class SerialDevice {
  public:
    // The configuration calls of the line, in the order they are made; a
    // failure names the step that failed so the port can word its error text.
    enum class ConfigStep { None, GetState, SetState, GetTimeouts, SetTimeouts };

    struct ConfigResult {
        ConfigStep failedAt = ConfigStep::None;
        int errorCode = 0;
        bool ok() const { return failedAt == ConfigStep::None; }
    };

    // Why an open failed, so the window can say what to do about it.
    struct OpenError {
        enum class Kind { None, NoSuchDevice, PermissionDenied, Busy, Other };
        Kind kind = Kind::None;
        // Busy: the program holding the device, when its lock file says;
        // Other: the system's own words.
        std::string detail;
    };

    virtual ~SerialDevice() = default;

    // Opens `path` for reading and writing, exclusively, existing device only.
    virtual bool Open(const std::string& path) = 0;
    // After a failed Open: why.
    virtual OpenError LastOpenError() const { return {OpenError::Kind::Other, ""}; }
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // 8 data bits, no parity, one stop bit, no flow control, DTR and RTS
    // raised, reads that return at once with what is waiting.
    virtual ConfigResult Configure(uint32_t rate) = 0;

    // Non-blocking: what has arrived, at most `size` bytes; -1 on error.
    virtual long Read(uint8_t* buffer, size_t size) = 0;
    // Bytes accepted for sending; -1 on error.
    virtual long Write(const uint8_t* bytes, size_t count) = 0;

    virtual void Purge() = 0;
    virtual void ClearErrors() = 0;
    virtual bool SetRts(bool raised) = 0;

    // True once the device has failed for good (unplugged, far end gone);
    // the port treats that as a close.
    virtual bool HasFailed() const = 0;

    // Calls `wake` once, when bytes arrive or the line fails, so that a
    // program that sleeps while nothing is due reads them at once; an empty
    // `wake` calls nobody. False when the device cannot tell: the program
    // then does not sleep.
    virtual bool WakeOnArrival(std::function<void()> /*wake*/) { return false; }
};

}  // namespace zelsim
