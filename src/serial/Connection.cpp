#include "serial/Connection.h"

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/TickClock.h"
#include "base/ZelSimControls.h"
#include "serial/PortMap.h"

namespace zelsim {

namespace {
constexpr const char* kSection = "Configuration";
constexpr const char* kComPortKey = "ComPort";
constexpr const char* kBaudRateKey = "BaudRate";
// A stored ComPort of 0 stands for the first item.
constexpr int kFirstItemAlias = 0;

constexpr const char* kBaudCaptions[SerialPort::kRateCount] = {
    "     300", "     600", "  1,200", "  2,400", "  4,800",
    "  9,600",  " 19,200",  " 38,400", " 57,600", "115,200",
};
}  // namespace

Connection::Connection(ControlTable& controls, TickClock& clock,
                       std::unique_ptr<SerialDevice> device, const PortMap& portMap)
    : controls_(controls), clock_(clock), portMap_(portMap), port_(std::move(device), portMap) {
    controls_.SetText(main_window::bComOpenClose, "Connect");
    Report("");
    for (int n = 1; n <= kComMenuItems; ++n)
        controls_.SetChecked(main_window::ComItem(n), n == selectedPort_);
    for (int i = 0; i < SerialPort::kRateCount; ++i)
        controls_.SetChecked(main_window::BaudItem(SerialPort::RateAt(i)),
                             SerialPort::RateAt(i) == selectedBaud_);
}

const char* Connection::BaudCaption(int index) {
    return (index >= 0 && index < SerialPort::kRateCount) ? kBaudCaptions[index] : "";
}

std::string Connection::ComItemCaption(int number) const {
    const std::string path = portMap_.PathOf(number);
    return "COM" + std::to_string(number) + (path.empty() ? "\t(no device)" : "\t" + path);
}

void Connection::StatusChanged() {
    controls_.SetText(main_window::bComOpenClose, port_.IsOpen() ? "Disconnect" : "Connect");
    if (onStatusChanged) onStatusChanged();
}

void Connection::Report(const std::string& message) {
    controls_.SetText(main_window::lPortMessage, message);
}

void Connection::ComOpenClose() {
    if (port_.IsOpen()) {
        port_.Close();
        Report("");
    } else {
        const std::string com = "COM" + std::to_string(selectedPort_);
        const std::string path = portMap_.PathOf(selectedPort_);
        if (path.empty()) {
            Report(com + " has no device: choose another port or give one with --com.");
        } else if (port_.Open(static_cast<uint8_t>(selectedPort_), selectedBaud_) ||
                   port_.IsOpen()) {  // opened but not configured still counts as open
            Report("");
        } else {
            Report(com + " (" + path + ") could not be opened: it is missing or in use.");
        }
    }
    StatusChanged();
}

void Connection::AfterRead(uint32_t /*now*/) {
    if (!port_.TakeDeviceLost()) return;
    Report("Device lost: COM" + std::to_string(port_.PortNumber()) + " (" + port_.DevicePath() +
           ") stopped answering and was closed.");
    StatusChanged();
}

void Connection::SelectComPort(int number) {
    if (number < 1 || number > kComMenuItems) return;
    selectedPort_ = number;
    for (int n = 1; n <= kComMenuItems; ++n)
        controls_.SetChecked(main_window::ComItem(n), n == number);
    StatusChanged();
}

void Connection::SelectBaud(uint32_t rate) {
    if (SerialPort::IndexOfRate(rate) < 0) return;
    selectedBaud_ = rate;
    for (int i = 0; i < SerialPort::kRateCount; ++i)
        controls_.SetChecked(main_window::BaudItem(SerialPort::RateAt(i)),
                             SerialPort::RateAt(i) == rate);
    if (port_.IsOpen()) port_.SetRate(rate);
    StatusChanged();
}

void Connection::FlushSerialPort() {
    if (!port_.IsOpen()) return;
    port_.ClearErrors();
    port_.Purge();
}

void Connection::Shutdown() {
    if (!port_.IsOpen()) return;
    clock_.TickDelay(kCloseWaitMs);
    port_.Close();
}

void Connection::LoadSettings(ConfigFile& file) {
    file.SetSection(kSection);
    // Numbers of no item, negative ones too, leave the menus as they were.
    const int port = file.ReadInt(kComPortKey, selectedPort_);
    SelectComPort(port == kFirstItemAlias ? 1 : port);
    const int baud = file.ReadInt(kBaudRateKey, static_cast<int>(selectedBaud_));
    if (baud > 0) SelectBaud(static_cast<uint32_t>(baud));
}

void Connection::SaveSettings(ConfigFile& file) const {
    file.SetSection(kSection);
    file.WriteInt(kComPortKey, selectedPort_);
    file.WriteInt(kBaudRateKey, static_cast<int>(selectedBaud_));
}

}  // namespace zelsim
