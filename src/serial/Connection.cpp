#include "serial/Connection.h"

#include <cstring>

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/TickClock.h"
#include "serial/PortMap.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr const char* kComPortKey = "ComPort";
constexpr const char* kBaudRateKey = "BaudRate";
constexpr const char* kReconnectKey = "ReconnectAutomatically";
// A stored ComPort of 0 stands for the first item.
constexpr int kFirstItemAlias = 0;

constexpr const char* kBaudCaptions[SerialPort::kRateCount] = {
    "     300", "     600", "  1,200", "  2,400", "  4,800", "  9,600", " 19,200",
    " 38,400",  " 57,600",  "115,200", "230,400", "460,800", "921,600",
};
}  // namespace

Connection::Connection(ControlTable& controls, TickClock& clock,
                       std::unique_ptr<SerialDevice> device, PortMap& portMap)
    : controls_(controls), clock_(clock), portMap_(portMap), port_(std::move(device), portMap) {
    Report("");
    ShowComItems();
    Choose(selectedPort_, selectedBaud_);
    controls_.SetChecked(mw::mReconnectAutomatically, reconnect_);
    StatusChanged();
}

const char* Connection::BaudCaption(int index) {
    return (index >= 0 && index < SerialPort::kRateCount) ? kBaudCaptions[index] : "";
}

std::string Connection::ComItemCaption(int number) const {
    const std::string path = portMap_.PathOf(number);
    const std::string label = portMap_.LabelOf(path);
    std::string caption = "COM" + std::to_string(number) + "\t";
    if (path.empty()) return caption + "(no device)";
    return caption + path + (label.empty() ? "" : "  " + label);
}

void Connection::ShowComItems() {
    for (int n = 1; n <= kComMenuItems; ++n) controls_.SetText(mw::ComItem(n), ComItemCaption(n));
}

std::string Connection::Named() const {
    return "COM" + std::to_string(port_.PortNumber()) + " (" + port_.DevicePath() + ")";
}

void Connection::StatusChanged() {
    // While a lost device is watched for, the user's side is still
    // connected: Disconnect ends the watch.
    controls_.SetText(mw::bComOpenClose, port_.IsOpen() || watching_ ? "Disconnect" : "Connect");
    if (onStatusChanged) onStatusChanged();
}

void Connection::Report(const std::string& message) {
    controls_.SetText(mw::lPortMessage, message);
}

std::string Connection::WhyNotOpened() const {
    using Kind = SerialDevice::OpenError::Kind;
    const SerialDevice::OpenError& error = port_.OpenError();
    switch (error.kind) {
        case Kind::NoSuchDevice:
            return "no such device: plug it in, or choose another port in the COM Port menu";
        case Kind::PermissionDenied:
            return "permission denied: add yourself to the dialout group (sudo usermod -aG "
                   "dialout $USER) and log in again";
        case Kind::Busy:
            return "busy: another program has it open" +
                   (error.detail.empty() ? std::string() : " (" + error.detail + ")");
        case Kind::Other:
        case Kind::None:
            break;
    }
    return error.detail.empty() ? "the system refused it" : error.detail;
}

std::string Connection::WhyNotConfigured(uint32_t rate) const {
    std::string text = port_.ErrorText();
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return Named() + " is open, but the line could not be set to " + std::to_string(rate) +
           " baud: " + text + " (" + std::strerror(port_.LastError()) + ").";
}

void Connection::ComOpenClose() {
    if (port_.IsOpen() || watching_) {
        watching_ = false;
        port_.Close();
        Report("");
    } else {
        const std::string com = "COM" + std::to_string(selectedPort_);
        if (portMap_.PathOf(selectedPort_).empty()) {
            Report(com + " has no device: choose another port or give one with --com.");
        } else if (port_.Open(static_cast<uint8_t>(selectedPort_), selectedBaud_)) {
            Report("");
        } else if (port_.IsOpen()) {  // opened but not configured still counts as open
            Report(WhyNotConfigured(selectedBaud_));
        } else {
            Report(Named() + " could not be opened: " + WhyNotOpened() + ".");
        }
    }
    StatusChanged();
}

void Connection::BeforeRead(uint32_t /*now*/) {
    port_.Drain();
}

void Connection::AfterRead(uint32_t now) {
    if (const uint64_t dropped = port_.TakeDroppedBytes(); dropped > 0) {
        outputDropped_ += dropped;
        Report("Output dropped: " + std::to_string(outputDropped_) +
               " bytes of ZelSim's own output did not go out, because " + Named() +
               " reads the line slower than ZelSim writes to it (or not at all).");
    }
    if (port_.TakeDeviceLost()) {
        watching_ = reconnect_;
        lastTry_ = now;
        Report("Device lost: " + Named() + " stopped answering and was closed" +
               (watching_ ? "; it is reopened as soon as it is back." : "."));
        if (onDeviceLost) onDeviceLost(Named(), watching_, now);
        StatusChanged();
    } else if (watching_ && TickClock::Elapsed(now, lastTry_, kReconnectTryMs)) {
        lastTry_ = now;
        // The device that was lost, under the same path: its COM number may
        // have gone to another device meanwhile.
        if (!port_.Reopen(selectedBaud_) && !port_.IsOpen()) return;
        watching_ = false;
        Report("Reconnected: " + Named() + " at " + std::to_string(port_.Rate()) + " baud.");
        StatusChanged();
        if (onReconnected) onReconnected(Named(), now);
    }
}

uint32_t Connection::NextStepIn(uint32_t now) const {
    if (port_.OutputWaiting() > 0) return 0;
    if (watching_) return TickClock::Remaining(now, lastTry_, kReconnectTryMs);
    return kNoStep;
}

void Connection::Choose(int number, uint32_t rate) {
    selectedPort_ = number;
    selectedBaud_ = rate;
    for (int n = 1; n <= kComMenuItems; ++n) controls_.SetChecked(mw::ComItem(n), n == number);
    for (int i = 0; i < SerialPort::kRateCount; ++i)
        controls_.SetChecked(mw::BaudItem(SerialPort::RateAt(i)), SerialPort::RateAt(i) == rate);
}

void Connection::SelectComPort(int number) {
    if (number < 1 || number > kComMenuItems) return;
    if (number != selectedPort_ && watching_) {  // another port: the lost one is let go
        watching_ = false;
        Report("");
    }
    savedPort_ = number;
    Choose(number, selectedBaud_);
    StatusChanged();
}

void Connection::SelectBaud(uint32_t rate) {
    if (SerialPort::IndexOfRate(rate) < 0) return;
    savedBaud_ = rate;
    Choose(selectedPort_, rate);
    if (port_.IsOpen()) Report(port_.SetRate(rate) ? "" : WhyNotConfigured(rate));
    StatusChanged();
}

void Connection::SelectForThisRun(int number, uint32_t rate) {
    if (number < 1 || number > kComMenuItems || SerialPort::IndexOfRate(rate) < 0) return;
    Choose(number, rate);
    StatusChanged();
}

void Connection::SetReconnect(bool on) {
    reconnect_ = on;
    controls_.SetChecked(mw::mReconnectAutomatically, on);
    if (!on && watching_) {
        watching_ = false;
        StatusChanged();
    }
}

void Connection::FlushSerialPort() {
    if (!port_.IsOpen()) return;
    port_.ClearErrors();
    port_.Purge();
}

void Connection::Shutdown() {
    watching_ = false;
    if (!port_.IsOpen()) return;
    clock_.TickDelay(kCloseWaitMs);
    port_.Close();
}

void Connection::PortsFound(std::vector<std::string> devicePaths,
                            std::map<std::string, std::string> labelsByPath) {
    portMap_.SetDiscovered(std::move(devicePaths));
    portMap_.SetLabels(std::move(labelsByPath));
    ShowComItems();
}

void Connection::LoadSettings(ConfigFile& file) {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    // Numbers of no item, negative ones too, leave the menus as they were.
    const int port = file.ReadInt(kComPortKey, selectedPort_);
    SelectComPort(port == kFirstItemAlias ? 1 : port);
    const int baud = file.ReadInt(kBaudRateKey, static_cast<int>(selectedBaud_));
    if (baud > 0) SelectBaud(static_cast<uint32_t>(baud));
    // Files from before the choice existed read as on.
    SetReconnect(file.ReadFlag(kReconnectKey, reconnect_));
}

void Connection::SaveSettings(ConfigFile& file) const {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    file.WriteInt(kComPortKey, savedPort_);
    file.WriteInt(kBaudRateKey, static_cast<int>(savedBaud_));
    file.WriteFlag(kReconnectKey, reconnect_);
}

}  // namespace zelsim
