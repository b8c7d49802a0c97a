#pragma once
#include <QSerialPort>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "serial/SerialDevice.h"

namespace zelsim {

// The real line, through QSerialPort (which also locks the device, so a
// second opener is refused). Works polled from the main cycle and inside a
// running event loop alike. On Unix the main cycle reads the descriptor
// itself: the line wakes nobody between two ticks.
class QtSerialDevice final : public SerialDevice {
  public:
    QtSerialDevice();

    bool Open(const std::string& path) override;
    OpenError LastOpenError() const override { return openError_; }
    void Close() override;
    bool IsOpen() const override { return port_.isOpen(); }
    ConfigResult Configure(uint32_t rate) override;
    long Read(uint8_t* buffer, size_t size) override;
    long Write(const uint8_t* bytes, size_t count) override;
    void Purge() override;
    void ClearErrors() override;
    bool SetRts(bool raised) override;
    // Only after every byte that arrived before the failure has been read.
    bool HasFailed() const override;
    bool WakeOnArrival(std::function<void()> wake) override;

    // System paths of the machine's serial ports, for PortMap::SetDiscovered.
    static std::vector<std::string> AvailablePorts();
    // Where the system names its USB adapters by maker, model and serial.
    static constexpr const char* kByIdFolder = "/dev/serial/by-id";

  private:
    OpenError WhyNotOpened(const std::string& path) const;
    void StopQtReader();
    void TellEmptyFromHungUp();
    long ReadDescriptor(uint8_t* buffer, size_t size);
    void OnError(QSerialPort::SerialPortError error);
    bool LineHungUp() const;

    QSerialPort port_;
    // Watches the descriptor while the program sleeps.
    std::unique_ptr<QSocketNotifier> arrival_;
    std::function<void()> wake_;
    bool failed_ = false;
    OpenError openError_;
    int lastSystemError_ = 0;
};

}  // namespace zelsim
