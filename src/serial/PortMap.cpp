#include "serial/PortMap.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <set>
#include <string_view>

#include "base/ConfigFile.h"

namespace zelsim {

namespace {
constexpr std::string_view kUsbPrefixes[] = {"ttyUSB", "ttyACM"};

std::string_view BaseName(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsUsbAdapter(std::string_view path) {
    const std::string_view base = BaseName(path);
    return std::any_of(std::begin(kUsbPrefixes), std::end(kUsbPrefixes),
                       [base](std::string_view prefix) { return base.starts_with(prefix); });
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Compares with runs of digits taken as numbers, so ttyS2 sorts before
// ttyS10. Leading zeros do not count; ties fall back to the plain text.
int NaturalCompare(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            size_t endA = i;
            size_t endB = j;
            while (endA < a.size() && IsDigit(a[endA])) ++endA;
            while (endB < b.size() && IsDigit(b[endB])) ++endB;
            size_t startA = i;
            size_t startB = j;
            while (startA + 1 < endA && a[startA] == '0') ++startA;
            while (startB + 1 < endB && b[startB] == '0') ++startB;
            const std::string_view numA = a.substr(startA, endA - startA);
            const std::string_view numB = b.substr(startB, endB - startB);
            if (numA.size() != numB.size()) return numA.size() < numB.size() ? -1 : 1;
            if (const int c = numA.compare(numB); c != 0) return c;
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j])
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
            ++i;
            ++j;
        }
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return a.compare(b);
}
}  // namespace

void PortMap::SetExplicit(int comNumber, const std::string& devicePath) {
    if (comNumber < 1 || comNumber > kMaxPort) return;
    // An empty entry hands the number back to the discovered ports.
    if (devicePath.empty())
        explicit_.erase(comNumber);
    else
        explicit_[comNumber] = devicePath;
    // Explicit entries are given at start-up, before any device could have
    // come to rely on a number: the found devices are numbered afresh.
    discovered_.clear();
    Assign();
}

void PortMap::LoadSection(ConfigFile& file) {
    const ConfigFile::SectionScope section(file, kSection);
    for (int number = 1; number <= kMaxPort; ++number) {
        const std::string device = file.ReadText("COM" + std::to_string(number), "");
        if (!device.empty()) SetExplicit(number, device);
    }
}

void PortMap::SetDiscovered(std::vector<std::string> devicePaths) {
    found_ = Ordered(std::move(devicePaths));
    Assign();
}

std::string PortMap::PathOf(int comNumber) const {
    const auto it = resolved_.find(comNumber);
    return it == resolved_.end() ? std::string() : it->second;
}

std::vector<std::string> PortMap::Ordered(std::vector<std::string> devicePaths) {
    std::sort(devicePaths.begin(), devicePaths.end(),
              [](const std::string& a, const std::string& b) {
                  const bool usbA = IsUsbAdapter(a);
                  const bool usbB = IsUsbAdapter(b);
                  if (usbA != usbB) return usbA;
                  const int byName = NaturalCompare(BaseName(a), BaseName(b));
                  if (byName != 0) return byName < 0;
                  return NaturalCompare(a, b) < 0;
              });
    // A port listed twice would otherwise take two COM numbers.
    devicePaths.erase(std::unique(devicePaths.begin(), devicePaths.end()), devicePaths.end());
    return devicePaths;
}

void PortMap::Assign() {
    // A found device keeps its number while it exists and no explicit entry
    // claims the number or the device; the others take the lowest free
    // numbers in order.
    std::set<std::string> taken;
    for (const auto& [number, path] : explicit_) taken.insert(path);
    const std::set<std::string> present(found_.begin(), found_.end());
    for (auto it = discovered_.begin(); it != discovered_.end();) {
        if (present.count(it->second) == 0 || taken.count(it->second) != 0 ||
            explicit_.count(it->first) != 0) {
            it = discovered_.erase(it);
        } else {
            taken.insert(it->second);
            ++it;
        }
    }
    int next = 1;
    for (const std::string& path : found_) {
        if (taken.count(path) != 0) continue;
        while (next <= kMaxPort && (discovered_.count(next) != 0 || explicit_.count(next) != 0))
            ++next;
        if (next > kMaxPort) break;
        discovered_[next] = path;
        taken.insert(path);
    }
    resolved_ = explicit_;
    resolved_.insert(discovered_.begin(), discovered_.end());
}

std::string PortMap::LabelOf(const std::string& devicePath) const {
    const auto it = labels_.find(devicePath);
    return it == labels_.end() ? std::string() : it->second;
}

std::map<std::string, std::string> PortMap::LabelsFromLinks(const std::string& folder) {
    namespace fs = std::filesystem;
    // The bus and the interface say nothing the user can read off the adapter.
    static const std::regex kBus("^(usb|pci|platform)-");
    static const std::regex kInterface("-if[0-9]+(-port[0-9]+)?$");
    std::map<std::string, std::string> labels;
    std::error_code error;
    for (const fs::directory_entry& link : fs::directory_iterator(folder, error)) {
        std::error_code ignored;
        if (!link.is_symlink(ignored)) continue;
        const fs::path device = fs::canonical(link.path(), ignored);
        if (ignored) continue;
        std::string label = link.path().filename().string();
        label = std::regex_replace(label, kBus, "");
        label = std::regex_replace(label, kInterface, "");
        labels[device.string()] = label;
    }
    return labels;
}

}  // namespace zelsim
