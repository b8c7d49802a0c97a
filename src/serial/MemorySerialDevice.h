#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "serial/SerialDevice.h"

namespace zelsim {

// A serial line held in memory, for tests of everything above the device.
// The test plays the far end (Inject, TakeWritten) and the operating system
// (refused opens, failing configuration steps, an unplugged adapter).
//
// SerialPort owns its device, so the test keeps the line as a shared object
// and hands the port a plug onto it:
//     auto line = std::make_shared<MemorySerialDevice>();
//     SerialPort port(MemorySerialDevice::Plug(line), portMap);
// The line stays readable after the port (or the window owning it) is gone.
class MemorySerialDevice final : public SerialDevice {
  public:
    static constexpr int kClosedErrorCode = 9;  // EBADF, what a closed handle reports

    // A device that forwards every call to `line`.
    static std::unique_ptr<SerialDevice> Plug(std::shared_ptr<MemorySerialDevice> line);

    bool Open(const std::string& path) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    ConfigResult Configure(uint32_t rate) override;
    long Read(uint8_t* buffer, size_t size) override;
    long Write(const uint8_t* bytes, size_t count) override;
    void Purge() override;
    void ClearErrors() override;
    bool SetRts(bool raised) override;
    bool HasFailed() const override { return open_ && unplugged_; }

    // The far end: bytes it sends (read by the program) and bytes it got.
    void Inject(std::string_view bytes);
    size_t PendingInput() const { return incoming_.size(); }
    std::string TakeWritten();
    const std::string& Written() const { return written_; }
    // A far end that reads slowly: the line holds at most `bytes` of what
    // was written and not yet taken; a write takes what fits, and a full
    // line takes nothing, as a non-blocking descriptor does. Without a
    // limit it takes everything.
    void LimitUnread(size_t bytes) { unreadLimit_ = bytes; }
    // Write calls made, each one system call on a real line.
    int WriteCount() const { return writeCount_; }

    // Opens fail while refused, as for a missing or busy device: `why` is
    // what the device then says.
    void RefuseOpen(bool refused, OpenError why = {OpenError::Kind::Busy, ""}) {
        refuseOpen_ = refused;
        openError_ = why;
    }
    OpenError LastOpenError() const override {
        return unplugged_ ? OpenError{OpenError::Kind::NoSuchDevice, ""} : openError_;
    }
    // Every later configuration fails at `step` with `errorCode`, until a
    // call with ConfigStep::None.
    void FailConfiguration(ConfigStep step, int errorCode);
    // The adapter is pulled out: the open line has failed for good, reads
    // and writes fail, and it cannot be opened again until plugged back in.
    void Unplug() { unplugged_ = true; }
    void PlugIn() { unplugged_ = false; }

    const std::string& OpenedPath() const { return openedPath_; }
    int OpenCount() const { return openCount_; }
    int CloseCount() const { return closeCount_; }
    int ConfigureCount() const { return configureCount_; }
    // The rate the line was last set to; 0 before the first configuration.
    uint32_t ConfiguredRate() const { return configuredRate_; }
    bool Rts() const { return rts_; }
    int RtsCallCount() const { return rtsCallCount_; }
    int PurgeCount() const { return purgeCount_; }
    int ClearErrorsCount() const { return clearErrorsCount_; }

  private:
    std::string incoming_;
    std::string written_;
    size_t unreadLimit_ = std::numeric_limits<size_t>::max();
    int writeCount_ = 0;
    std::string openedPath_;
    bool open_ = false;
    bool refuseOpen_ = false;
    OpenError openError_;
    bool unplugged_ = false;
    ConfigStep failStep_ = ConfigStep::None;
    int failCode_ = 0;
    uint32_t configuredRate_ = 0;
    bool rts_ = false;
    int openCount_ = 0;
    int closeCount_ = 0;
    int configureCount_ = 0;
    int rtsCallCount_ = 0;
    int purgeCount_ = 0;
    int clearErrorsCount_ = 0;
};

}  // namespace zelsim
