#include "app/Station.h"

#include <cstdio>

#include "app/MainLayout.h"
#include "app/TickClock.h"
#include "monitor/MessageCategory.h"
#include "monitor/MessageClassifier.h"
#include "serial/SentenceWriters.h"

namespace {
constexpr const char* kBaudCaptions[SerialPort::kRateCount] = {
    "     300", "     600", "  1,200", "  2,400", "  4,800",
    "  9,600",  " 19,200",  " 38,400", " 57,600", "115,200",
};
constexpr const char* kAcquireButton = "bAcquireCorvane";
constexpr const char* kAcquireStatus = "lAcquireCorvaneStatus";
constexpr const char* kLogStatus = "lLogMessagesStatus";
constexpr char kNoLineEnd = '~';
}  // namespace

Station::Station(TickClock& clock, std::unique_ptr<SerialDevice> device, const PortMap& portMap)
    : clock_(clock),
      portMap_(portMap),
      port_(std::move(device), portMap),
      framer_(clock),
      indicator_(controls_),
      sendBox_(monitor_, [this](const std::string& text) { SendSentence(text); }) {
    // While the send box has the focus the arrow keys edit its text.
    sendBox_.onKeyboardToPanel = [this](bool toPanel) { SetKeyHookActive(toPanel); };
    sendBox_.onContextMenu = [this] { indicator_.Reset(); };
    MainLayout::ApplyDesign(controls_);
    const uint32_t now = clock_.TickNow();
    receiveIdleMark_ = transmitIdleMark_ = transmitDecayMark_ = lastLineTime_ = now;
    controls_.SetText(kConnectButton, "Connect");
    controls_.SetText(kAcquireButton, "Acquire Corvane");
    controls_.SetText(kAcquireStatus, "");
    controls_.SetText(kPortMessage, "");
    for (int n = 1; n <= kComMenuItems; ++n) controls_.SetChecked(ComItemName(n), n == selectedPort_);
    for (int i = 0; i < kBaudMenuItems; ++i)
        controls_.SetChecked(BaudItemName(i), SerialPort::RateAt(i) == selectedBaud_);
    SelectZelType(zelType_);
}

std::string Station::ComItemName(int number) { return "mCom" + std::to_string(number) + "Select"; }

std::string Station::BaudItemName(int index) {
    return "mBaud" + std::to_string(SerialPort::RateAt(index)) + "Select";
}

const char* Station::BaudCaption(int index) {
    return (index >= 0 && index < kBaudMenuItems) ? kBaudCaptions[index] : "";
}

const char* Station::ZelTypeItemName(ZelType type) {
    switch (type) {
        case ZelType::Off: return "mZelOptOff";
        case ZelType::Dormalyn: return "mZelOptDormalyn";
        case ZelType::Corvane: break;
    }
    return "mZelOptCorvane";
}

std::string Station::ComItemCaption(int number) const {
    std::string caption = "COM" + std::to_string(number);
    const std::string path = portMap_.PathOf(number);
    caption += path.empty() ? "\t(no device)" : "\t" + path;
    return caption;
}

void Station::Tick() {
    if (cycleBusy_) return;
    cycleBusy_ = true;

    if (clock_.TickElapsed(receiveIdleMark_, kIndicatorPeriodMs)) {
        receiveIdleMark_ = clock_.TickNow();
        indicator_.ReceiveIdle(port_.IsOpen());
    }

    const uint32_t now = clock_.TickNow();

    if (port_.TransmitBusy() > 0) {
        indicator_.TransmitBusy(now);
        port_.DecayTransmitBusy(transmitDecayMark_, now);
    } else if (clock_.TickElapsed(transmitIdleMark_, kIndicatorPeriodMs)) {
        transmitIdleMark_ = now;
        indicator_.TransmitIdle(port_.IsOpen());
    }
    transmitDecayMark_ = now;

    PollAndFrame(now);

    cycleBusy_ = false;
}

void Station::PollAndFrame(uint32_t now) {
    const size_t received = port_.Read(receiveBuffer_.data(), receiveBuffer_.size());
    if (port_.TakeDeviceLost()) AfterDeviceLost();
    if (received == 0) return;
    indicator_.Receive(now);
    for (size_t i = 0; i < received; ++i) {
        switch (framer_.Feed(receiveBuffer_[i], now)) {
            case SentenceFramer::kLineReady: OnRawLine(now); break;
            case SentenceFramer::kSentenceReady: OnSentence(now); break;
            default: break;
        }
    }
}

void Station::OnRawLine(uint32_t now) {
    framer_.CopyOut(lineBuffer_, lineLength_);
    // Noise at a wrong rate would flood the monitor: from the fifth garbage
    // line in a row on, nothing is shown until a clean line arrives.
    if (framer_.GarbageCount() <= kGarbageLinesShown) {
        lastLineTime_ = now;
        const std::string_view line(lineBuffer_, lineLength_);
        ShowAndLog(line, MessageClassifier::ClassifyText(line));
    }
}

void Station::OnSentence(uint32_t now) {
    lastLineTime_ = now;
    framer_.CopyOut(lineBuffer_, lineLength_);
    const std::string_view line(lineBuffer_, lineLength_);
    ShowAndLog(line, MessageClassifier::ClassifyText(line));
}

void Station::ShowAndLog(std::string_view text, uint32_t category) {
    monitor_.ShowLine(text, category, lastLineTime_);
}

void Station::SendSentence(std::string_view text) {
    if (!port_.IsOpen()) return;
    lastLineTime_ = clock_.TickNow();
    WriteSentence(port_, text);
    ShowAndLog(text, MessageCategory::kOutGoing);
}

void Station::SendLine(std::string_view text) {
    if (!port_.IsOpen()) return;
    lastLineTime_ = clock_.TickNow();
    if (!text.empty() && text.back() == kNoLineEnd)
        WriteRaw(port_, text.substr(0, text.size() - 1));
    else
        WriteRawLine(port_, text);
    ShowAndLog(text, MessageCategory::kOutGoing);
}

void Station::ComOpenClose() {
    if (!port_.IsOpen()) {
        const std::string path = portMap_.PathOf(selectedPort_);
        if (path.empty()) {
            ReportPort("COM" + std::to_string(selectedPort_) +
                       " has no device: choose another port or give one with --com.");
        } else if (port_.Open(static_cast<uint8_t>(selectedPort_), selectedBaud_) ||
                   port_.IsOpen()) {  // opened but not configured still counts as open
            ReportPort("");
        } else {
            ReportPort("COM" + std::to_string(selectedPort_) + " (" + path +
                       ") could not be opened: it is missing or in use.");
        }
    } else {
        port_.Close();
        ReportPort("");
    }
    controls_.SetText(kConnectButton, port_.IsOpen() ? "Disconnect" : "Connect");
    RefreshStatus();
}

void Station::AfterDeviceLost() {
    ReportPort("Device lost: COM" + std::to_string(port_.PortNumber()) + " (" +
               port_.DevicePath() + ") stopped answering and was closed.");
    controls_.SetText(kConnectButton, "Connect");
    RefreshStatus();
}

void Station::ReportPort(const std::string& message) { controls_.SetText(kPortMessage, message); }

void Station::SelectComPort(int number) {
    if (number < 1 || number > kComMenuItems) return;
    selectedPort_ = number;
    for (int n = 1; n <= kComMenuItems; ++n) controls_.SetChecked(ComItemName(n), n == number);
    RefreshStatus();
}

void Station::SelectBaud(uint32_t rate) {
    const int index = SerialPort::IndexOfRate(rate);
    if (index < 0) return;
    selectedBaud_ = rate;
    for (int i = 0; i < kBaudMenuItems; ++i) controls_.SetChecked(BaudItemName(i), i == index);
    if (port_.IsOpen()) port_.SetRate(rate);
    RefreshStatus();
}

void Station::SelectZelType(ZelType type) {
    zelType_ = type;
    for (ZelType t : {ZelType::Off, ZelType::Dormalyn, ZelType::Corvane})
        controls_.SetChecked(ZelTypeItemName(t), t == type);
    RefreshStatus();
}

void Station::FlushSerialPort() {
    if (!port_.IsOpen()) return;
    port_.ClearErrors();
    port_.Purge();
}

void Station::RefreshStatus() {
    char group[80];
    if (buttonGroup_ == 0)
        std::snprintf(group, sizeof group, " - ");
    else
        std::snprintf(group, sizeof group, " - Button Group #%d - ", buttonGroup_);

    char caption[400];
    if (port_.IsOpen()) {
        std::snprintf(caption, sizeof caption, "ZEL Sim v%s%s%s at %ld BAUD is connected",
                      versionText_.c_str(), group, port_.DeviceName().c_str(),
                      static_cast<long>(port_.Rate()));
        controls_.SetVisible(kLogStatus, true);
    } else {
        std::snprintf(caption, sizeof caption, "ZEL Sim v%s%sCOM%d at %ld BAUD is not connected",
                      versionText_.c_str(), group, selectedPort_,
                      static_cast<long>(selectedBaud_));
    }

    const bool acquire = port_.IsOpen() && zelType_ == ZelType::Corvane &&
                         port_.Rate() == kAcquireBaud;
    controls_.SetVisible(kAcquireButton, acquire);
    controls_.SetVisible(kAcquireStatus, acquire);
    controls_.SetText(kCaption, caption);
    // The receiver's panel shows for the two unit types, never for Off.
    controls_.SetVisible("pDisplayPanel", zelType_ != ZelType::Off);
    ApplyCompactLayout();
}

void Station::ApplyCompactLayout() {
    const bool off = zelType_ == ZelType::Off;
    if (off == compactShown_) return;
    compactShown_ = off;
    if (off)
        MainLayout::ApplyCompact(controls_, monitor_.options.hideMessageMonitor);
    else
        MainLayout::ApplyDesign(controls_);
}

void Station::MonitorLayoutChanged() {
    controls_.SetVisible("pMessageMonitorPanel", !monitor_.options.hideMessageMonitor);
    if (compactShown_) MainLayout::ApplyCompact(controls_, monitor_.options.hideMessageMonitor);
}

bool Station::HandleKey(KeyHook::Key key, bool down, bool autoRepeat) {
    if (!keyHookActive_) return false;
    const KeyHook::Action action = keyHook_.Decide(key, down, autoRepeat, zelType_);
    // Panel keys and user buttons act here once the panel and the buttons exist;
    // until then the hook only claims the keys that belong to them.
    return action.Consumed();
}

void Station::Shutdown() {
    if (port_.IsOpen()) {
        clock_.TickDelay(kCloseWaitMs);
        port_.Close();
    }
}

void Station::ApplySettings(const Settings& settings) {
    settings_ = settings;
    buttonGroup_ = settings.buttonGroup;
    SelectComPort(settings.comPort);
    SelectBaud(settings.baudRate);
    monitor_.options = settings.monitor;
    sendBox_.LoadHistory(settings.sendHistory);
    SelectZelType(settings.zelType);
    MonitorLayoutChanged();
}

Settings Station::CollectSettings() const {
    Settings s = settings_;
    s.comPort = selectedPort_;
    s.baudRate = selectedBaud_;
    s.zelType = zelType_;
    s.buttonGroup = buttonGroup_;
    s.monitor = monitor_.options;
    s.sendHistory = sendBox_.History();
    return s;
}
