#include "serial/PortMap.h"

#include <algorithm>
#include <cctype>
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
    Rebuild();
}

void PortMap::LoadSection(ConfigFile& file) {
    file.SetSection(kSection);
    for (int number = 1; number <= kMaxPort; ++number) {
        const std::string device = file.ReadText("COM" + std::to_string(number), "");
        if (!device.empty()) SetExplicit(number, device);
    }
}

void PortMap::SetDiscovered(std::vector<std::string> devicePaths) {
    discovered_ = Ordered(std::move(devicePaths));
    Rebuild();
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

void PortMap::Rebuild() {
    resolved_ = explicit_;
    std::set<std::string> taken;
    for (const auto& [number, path] : explicit_) taken.insert(path);
    int next = 1;
    for (const std::string& path : discovered_) {
        if (taken.count(path) != 0) continue;
        while (next <= kMaxPort && resolved_.count(next) != 0) ++next;
        if (next > kMaxPort) break;
        resolved_[next] = path;
        taken.insert(path);
    }
}

}  // namespace zelsim
