#include "monitor/ChecksumFault.h"

#include "base/NmeaChecksum.h"

namespace zelsim {

std::optional<ChecksumFault> ChecksumFault::Of(std::string_view line) {
    if (line.empty() || line.front() != '$') return std::nullopt;
    const size_t star = line.find('*', 1);
    if (star == std::string_view::npos) return std::nullopt;
    const uint8_t expected = NmeaChecksum(line.substr(1, star - 1));
    const std::string_view carried = line.substr(star + 1);
    const bool correct =
        carried.size() == 2 && IsHexDigit(uint8_t(carried[0])) && IsHexDigit(uint8_t(carried[1])) &&
        (HexValue(uint8_t(carried[0])) << 4 | HexValue(uint8_t(carried[1]))) == expected;
    if (correct) return std::nullopt;
    return ChecksumFault{star, expected};
}

std::string ChecksumFault::Text(std::string_view carried, uint8_t expected) {
    return "Checksum error: the line carries *" + std::string(carried) + ", its characters give " +
           ChecksumSuffix(expected);
}

}  // namespace zelsim
