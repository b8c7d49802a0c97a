#pragma once
#include <map>
#include <string>
#include <vector>

namespace zelsim {

class ConfigFile;

// Gives each COM number (1..99) a device path. Explicit entries (the "Ports"
// section of the configuration, then --com N=DEVICE) win; the remaining COM
// numbers take the ports found on the machine, USB adapters first, in a
// stable order.
class PortMap {
  public:
    static constexpr int kMaxPort = 99;

    static constexpr const char* kSection = "Ports";

    void SetExplicit(int comNumber, const std::string& devicePath);
    // The "Ports" section: keys COM1 .. COM99, each a device path.
    void LoadSection(ConfigFile& file);
    const std::map<int, std::string>& Explicit() const { return explicit_; }

    // Found device paths in any order; they are ordered here.
    void SetDiscovered(std::vector<std::string> devicePaths);

    // Empty when the COM number has no device.
    std::string PathOf(int comNumber) const;

    // USB adapters (ttyUSB*, ttyACM*) first, then the rest, each by name
    // with numbers in numeric order (ttyS2 before ttyS10).
    static std::vector<std::string> Ordered(std::vector<std::string> devicePaths);

  private:
    void Rebuild();

    std::map<int, std::string> explicit_;
    std::vector<std::string> discovered_;
    std::map<int, std::string> resolved_;
};

}  // namespace zelsim
