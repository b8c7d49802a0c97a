#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "serial/CyclePart.h"
#include "serial/SerialPort.h"

namespace zelsim {

class ControlTable;
class PortMap;
class SerialDevice;
class TickClock;

// The line the program is on: the COM number and rate the menus select, the
// port opened and closed by the connect button, the devices the COM menu
// offers as they come and go, and what the window says about it all in words
// a user can act on. A device lost while open is watched for and reopened
// when it returns, unless the user turned that off. Keys "ComPort",
// "BaudRate" and "ReconnectAutomatically".
class Connection : public CyclePart {
  public:
    static constexpr int kComMenuItems = 18;
    static constexpr uint32_t kDefaultBaud = 38400;
    static constexpr uint16_t kCloseWaitMs = 100;
    // How often a lost device is looked for: it is back within a second.
    static constexpr uint32_t kReconnectTryMs = 250;

    // `portMap` turns COM numbers into devices; it outlives the connection.
    Connection(ControlTable& controls, TickClock& clock, std::unique_ptr<SerialDevice> device,
               PortMap& portMap);

    // Anything the window's caption shows changed: the port opened or closed,
    // or another port or rate was chosen.
    std::function<void()> onStatusChanged;
    // The open device went away (`reconnecting`: it is watched for), and a
    // device watched for came back; each names the device as the window does.
    std::function<void(const std::string& device, bool reconnecting, uint32_t now)> onDeviceLost;
    std::function<void(const std::string& device, uint32_t now)> onReconnected;

    // bClickComOpenClose; while a lost device is watched for, ends the watch.
    void ComOpenClose();
    // mComNSelectClick, `number` 1..18: used at the next connect.
    void SelectComPort(int number);
    // mBaud300Click .. mBaud115200Click: a rate of the table, at once on an
    // open port.
    void SelectBaud(uint32_t rate);
    // A port and rate for this run only, as the demo's line: the user's own
    // choice stays what the configuration keeps.
    void SelectForThisRun(int number, uint32_t rate);
    // mReconnectAutomaticallyClick
    void SetReconnect(bool on);
    // mnuMsgFlushSerialClick
    void FlushSerialPort();
    // Closing: the line drains a moment, then the port is closed.
    void Shutdown();

    // The devices on the machine now and their labels: the COM numbers and
    // the COM menu follow.
    void PortsFound(std::vector<std::string> devicePaths,
                    std::map<std::string, std::string> labelsByPath);

    // What the line could not take at once goes out as it drains.
    void BeforeRead(uint32_t now) override;
    // A device lost during the read is reported and watched for; output
    // dropped for a far end that does not keep up is counted and said.
    void AfterRead(uint32_t now) override;
    // While output waits to go out, and while a lost device is watched for.
    uint32_t NextStepIn(uint32_t now) const override;
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
    bool Reconnecting() const { return watching_; }

  private:
    void Choose(int number, uint32_t rate);
    void Report(const std::string& message);
    void StatusChanged();
    void ShowComItems();
    std::string Named() const;  // "COM3 (/dev/ttyUSB0)"
    std::string WhyNotOpened() const;
    std::string WhyNotConfigured(uint32_t rate) const;

    ControlTable& controls_;
    TickClock& clock_;
    PortMap& portMap_;
    SerialPort port_;
    int selectedPort_ = 1;
    uint32_t selectedBaud_ = kDefaultBaud;
    int savedPort_ = 1;  // what the configuration keeps
    uint32_t savedBaud_ = kDefaultBaud;
    bool reconnect_ = true;
    bool watching_ = false;
    uint32_t lastTry_ = 0;
    uint64_t outputDropped_ = 0;  // this session
};

}  // namespace zelsim
