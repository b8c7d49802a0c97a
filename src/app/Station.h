#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/ControlTable.h"
#include "app/KeyHook.h"
#include "app/Settings.h"
#include "app/RxTxIndicator.h"
#include "app/ZelType.h"
#include "monitor/MessageMonitor.h"
#include "protocol/SendBox.h"
#include "serial/PortMap.h"
#include "serial/SentenceFramer.h"
#include "serial/SerialPort.h"

class TickClock;

// The station on the line: everything the main window does that is not a
// pixel. It owns the port and the framer, runs the 10 ms main cycle, and keeps
// the state of the window's controls in a ControlTable the window applies.
class Station {
public:
    static constexpr int kComMenuItems = 18;
    static constexpr int kBaudMenuItems = SerialPort::kRateCount;
    static constexpr uint32_t kIndicatorPeriodMs = 125;
    static constexpr size_t kReceiveBufferSize = 8095;  // one poll reads at most 8,094
    static constexpr size_t kLineBufferSize = 601;
    static constexpr uint32_t kGarbageLinesShown = 4;  // the fifth in a row is withheld
    static constexpr uint16_t kCloseWaitMs = 100;
    static constexpr uint32_t kAcquireBaud = 38400;
    static constexpr const char* kCaption = "fZelSim";
    static constexpr const char* kConnectButton = "bComOpenClose";
    static constexpr const char* kPortMessage = "lPortMessage";

    Station(TickClock& clock, std::unique_ptr<SerialDevice> device, const PortMap& portMap);

    // T10msTick: one main cycle.
    void Tick();

    // bClickComOpenClose
    void ComOpenClose();
    // mComNSelectClick: `number` 1..18.
    void SelectComPort(int number);
    // mBaud300Click .. mBaud115200Click: a rate of the table.
    void SelectBaud(uint32_t rate);
    void SelectZelType(ZelType type);
    // mnuMsgFlushSerialClick
    void FlushSerialPort();

    void SendSentence(std::string_view text);
    void SendLine(std::string_view text);
    void RefreshStatus();

    // The application key hook; true when the key was consumed.
    bool HandleKey(KeyHook::Key key, bool down, bool autoRepeat);
    void SetKeyHookActive(bool active) { keyHookActive_ = active; }
    bool KeyHookActive() const { return keyHookActive_; }

    // Closing: waits for the line to drain a moment and closes the port.
    void Shutdown();

    // Hide or Big of the monitor changed: the panels around it follow.
    void MonitorLayoutChanged();

    // Start-up: the configuration chooses port, rate, panel type, button
    // group, monitor options and the send box's history. Keys of parts not
    // built here are kept and written back unchanged.
    void ApplySettings(const Settings& settings);
    // Shutdown: the settings with what the user changed since.
    Settings CollectSettings() const;

    int SelectedPort() const { return selectedPort_; }
    uint32_t SelectedBaud() const { return selectedBaud_; }
    ZelType SelectedZelType() const { return zelType_; }
    int ButtonGroup() const { return buttonGroup_; }
    const std::string& VersionText() const { return versionText_; }
    uint32_t LastLineTime() const { return lastLineTime_; }
    bool CycleBusy() const { return cycleBusy_; }

    static std::string ComItemName(int number);   // "mCom3Select"
    static std::string BaudItemName(int index);   // "mBaud9600Select"
    static const char* BaudCaption(int index);    // "  9,600"
    static const char* ZelTypeItemName(ZelType type);
    // The COM item's caption: its name and the device it reaches.
    std::string ComItemCaption(int number) const;

    ControlTable& Controls() { return controls_; }
    SerialPort& Port() { return port_; }
    SentenceFramer& Framer() { return framer_; }
    const RxTxIndicator& Indicator() const { return indicator_; }
    const PortMap& Ports() const { return portMap_; }
    MessageMonitor& Monitor() { return monitor_; }
    SendBox& Sender() { return sendBox_; }

private:
    void PollAndFrame(uint32_t now);
    void OnRawLine(uint32_t now);
    void OnSentence(uint32_t now);
    void ShowAndLog(std::string_view text, uint32_t category);
    void AfterDeviceLost();
    void ApplyCompactLayout();
    void ReportPort(const std::string& message);

    TickClock& clock_;
    const PortMap& portMap_;
    ControlTable controls_;
    SerialPort port_;
    SentenceFramer framer_;
    RxTxIndicator indicator_;
    KeyHook keyHook_;
    MessageMonitor monitor_;
    SendBox sendBox_;

    std::array<uint8_t, kReceiveBufferSize> receiveBuffer_{};
    char lineBuffer_[kLineBufferSize] = {};
    size_t lineLength_ = 0;

    bool cycleBusy_ = false;
    bool keyHookActive_ = true;
    uint32_t lastLineTime_;
    uint32_t receiveIdleMark_;
    uint32_t transmitIdleMark_;
    uint32_t transmitDecayMark_;

    std::string versionText_ = ZELSIM_VERSION_TEXT;
    int selectedPort_ = 1;
    uint32_t selectedBaud_ = kAcquireBaud;
    ZelType zelType_ = ZelType::Corvane;
    int buttonGroup_ = 0;
    bool compactShown_ = false;  // the Off layout is applied
    Settings settings_;
};
