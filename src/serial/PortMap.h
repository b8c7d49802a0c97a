#pragma once
#include <map>
#include <string>
#include <vector>

namespace zelsim {

class ConfigFile;

// Gives each COM number (1..99) a device path. Explicit entries (the "Ports"
// section of the configuration, then --com N=DEVICE) win; the remaining COM
// numbers take the ports found on the machine, USB adapters first, in a
// stable order. Ports come and go: a number given to a found device stays
// with it while it exists, so a second adapter plugged in takes a free
// number instead of moving the first.
class PortMap {
  public:
    static constexpr int kMaxPort = 99;

    static constexpr const char* kSection = "Ports";

    void SetExplicit(int comNumber, const std::string& devicePath);
    // The "Ports" section: keys COM1 .. COM99, each a device path.
    void LoadSection(ConfigFile& file);
    const std::map<int, std::string>& Explicit() const { return explicit_; }

    // The devices found on the machine now, in any order: new ones take the
    // lowest free numbers in Ordered's order, vanished ones free theirs.
    void SetDiscovered(std::vector<std::string> devicePaths);

    // Empty when the COM number has no device.
    std::string PathOf(int comNumber) const;

    // A name that tells a device from its kind, such as a USB adapter's
    // maker, model and serial number; empty when there is none.
    void SetLabels(std::map<std::string, std::string> labelsByPath) {
        labels_ = std::move(labelsByPath);
    }
    std::string LabelOf(const std::string& devicePath) const;
    // The labels of a folder of links named after the devices they point at,
    // such as /dev/serial/by-id: "usb-FTDI_FT232R_USB_UART_A5028-if00-port0"
    // labels its ttyUSB as "FTDI_FT232R_USB_UART_A5028".
    static std::map<std::string, std::string> LabelsFromLinks(const std::string& folder);

    // USB adapters (ttyUSB*, ttyACM*) first, then the rest, each by name
    // with numbers in numeric order (ttyS2 before ttyS10).
    static std::vector<std::string> Ordered(std::vector<std::string> devicePaths);

  private:
    void Assign();

    std::vector<std::string> found_;  // in Ordered's order
    std::map<int, std::string> explicit_;
    std::map<int, std::string> discovered_;  // number -> found device, kept while it exists
    std::map<int, std::string> resolved_;
    std::map<std::string, std::string> labels_;
};

}  // namespace zelsim
