#include "base/NmeaChecksum.h"

#include <cstdio>

namespace zelsim {

uint8_t NmeaChecksum(std::string_view body) {
    uint8_t sum = 0;
    for (char c : body) sum ^= static_cast<uint8_t>(c);
    return sum;
}

uint8_t TextChecksum(std::string_view text) {
    const size_t dollar = text.rfind('$');
    return NmeaChecksum(dollar == std::string_view::npos ? text : text.substr(dollar + 1));
}

std::string ChecksumSuffix(uint8_t checksum) {
    char suffix[4];
    std::snprintf(suffix, sizeof suffix, "*%02X", checksum);
    return suffix;
}

}  // namespace zelsim
