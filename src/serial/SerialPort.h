#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "serial/PortMap.h"
#include "serial/SerialDevice.h"

namespace zelsim {

// The one serial line of the program: opened by COM number at one of
// thirteen fixed rates, polled without blocking, with an estimate of how long written
// bytes still need on the line (drives the transmit arrow).
//
// Writing never waits inside the cycle: what the line does not take at once
// (a far end that reads slower than the program answers, or not at all)
// waits in a bounded room, in order, and leaves as the line drains. A full
// line is no lost device.
class SerialPort {
  public:
    static constexpr int kRateCount = 13;
    // About 1.4 s of a full line at 115,200 baud, 17 s at 9,600.
    static constexpr size_t kOutputLimit = 16384;
    static constexpr uint8_t kDefaultBaudIndex = 7;  // 38,400
    static constexpr uint8_t kRefusedPort = 255;
    static constexpr uint32_t kDecayResetMs = 10000;

    // `portMap` turns COM numbers into device paths; both outlive the port.
    SerialPort(std::unique_ptr<SerialDevice> device, const PortMap& portMap);

    // False when the device did not open (OpenError says why) or opened but
    // could not be configured (it stays open; ErrorText says why).
    bool Open(uint8_t portNumber, uint32_t rate);
    // The device of the last open again, under its number, at `rate`.
    bool Reopen(uint32_t rate);
    bool IsOpen() const;
    // See SerialDevice::WakeOnArrival.
    bool WakeOnArrival(std::function<void()> wake);
    void Close();
    // False when the line could not be set to the rate (ErrorText says why).
    bool SetRate(uint32_t rate);
    const SerialDevice::OpenError& OpenError() const { return openError_; }
    uint32_t Rate() const { return rate_; }
    uint8_t BaudIndex() const { return baudIndex_; }
    uint8_t PortNumber() const { return portNumber_; }

    // The device the COM number was opened as, which the caption names;
    // empty when closed.
    std::string DeviceName() const;
    // The device of the last open, also after the port closed.
    const std::string& DevicePath() const { return devicePath_; }

    static uint32_t RateAt(int index);
    static int IndexOfRate(uint32_t rate);
    static int RateCount() { return kRateCount; }
    static uint32_t MicrosPerByte(int index);
    static uint8_t NextPortNumber(uint8_t menuIndex);

    // Reads at most size - 1 waiting bytes; 0 when closed or nothing waits.
    size_t Read(uint8_t* buffer, size_t size);
    // Every byte read since the port was made, so a watcher can tell
    // whether a cycle brought any.
    uint64_t BytesReceived() const { return bytesReceived_; }
    // Takes what the line and the waiting room hold of `bytes`, in order,
    // and returns the count; the caller keeps the rest (the file sender
    // offers it again).
    size_t Write(const uint8_t* bytes, size_t count);
    // A line of the program's own, whole or not at all: one that does not
    // fit is dropped and counted, so that the far end never gets half a line.
    bool WriteWhole(std::string_view line);
    // Hands the line what waits: once a cycle.
    void Drain();
    size_t OutputWaiting() const { return output_.size(); }
    // Bytes of the program's own output dropped since the last call.
    uint64_t TakeDroppedBytes();

    uint32_t TransmitBusy() const { return transmitBusy_; }
    uint32_t DecayTransmitBusy(uint32_t previousTick, uint32_t currentTick);

    void Purge();
    void ClearErrors();
    bool SetRts();
    bool ClearRts();

    const std::string& ErrorText() const { return errorText_; }
    int LastError() const { return lastError_; }

    // A device that failed for good while open is closed by the port; this
    // reports that once, so the window can say the device was lost.
    bool TakeDeviceLost();

  private:
    bool OpenPath(uint8_t portNumber, const std::string& path, uint32_t rate);
    bool Configure();
    void CheckDeviceFailed();
    // The device's write: what it took, 0 when it is full or failed.
    size_t WriteToDevice(const uint8_t* bytes, size_t count);
    void AddTransmitTime(size_t bytes);

    std::unique_ptr<SerialDevice> device_;
    const PortMap& portMap_;
    uint8_t portNumber_ = 0;
    std::string devicePath_;
    uint8_t baudIndex_ = kDefaultBaudIndex;
    uint32_t rate_;
    uint32_t transmitBusy_ = 0;
    std::string errorText_;
    SerialDevice::OpenError openError_;
    int lastError_ = 0;
    bool deviceLost_ = false;
    uint64_t bytesReceived_ = 0;
    std::string output_;  // taken, not yet accepted by the line
    uint64_t droppedBytes_ = 0;
};

}  // namespace zelsim
