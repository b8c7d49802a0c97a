#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "serial/CyclePart.h"
#include "serial/SerialPort.h"

namespace zelsim {

class ControlTable;
class PortMap;
class SerialDevice;
class TickClock;

// The line the program is on: the COM number and rate the menus select, the
// port opened and closed by the connect button, and what the window says
// about it. Keys "ComPort" and "BaudRate".
class Connection : public CyclePart {
  public:
    static constexpr int kComMenuItems = 18;
    static constexpr uint32_t kDefaultBaud = 38400;
    static constexpr uint16_t kCloseWaitMs = 100;

    // `portMap` turns COM numbers into devices; it outlives the connection.
    Connection(ControlTable& controls, TickClock& clock, std::unique_ptr<SerialDevice> device,
               const PortMap& portMap);

    // Anything the window's caption shows changed: the port opened or closed,
    // or another port or rate was chosen.
    std::function<void()> onStatusChanged;

    // bClickComOpenClose
    void ComOpenClose();
    // mComNSelectClick, `number` 1..18: used at the next connect.
    void SelectComPort(int number);
    // mBaud300Click .. mBaud115200Click: a rate of the table, at once on an
    // open port.
    void SelectBaud(uint32_t rate);
    // mnuMsgFlushSerialClick
    void FlushSerialPort();
    // Closing: the line drains a moment, then the port is closed.
    void Shutdown();

    // A device that failed during the read is reported.
    void AfterRead(uint32_t now) override;
    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

    // "  9,600" for each rate of the table, in its order.
    static const char* BaudCaption(int index);
    // The COM item's caption: its name and the device it reaches.
    std::string ComItemCaption(int number) const;

    SerialPort& Port() { return port_; }
    const SerialPort& Port() const { return port_; }
    int SelectedPort() const { return selectedPort_; }
    uint32_t SelectedBaud() const { return selectedBaud_; }

  private:
    void Report(const std::string& message);
    void StatusChanged();

    ControlTable& controls_;
    TickClock& clock_;
    const PortMap& portMap_;
    SerialPort port_;
    int selectedPort_ = 1;
    uint32_t selectedBaud_ = kDefaultBaud;
};

}  // namespace zelsim
