#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zelsim {

// The NMEA 0183 checksum: the XOR of the characters between "$" and "*".

uint8_t NmeaChecksum(std::string_view body);

// The checksum the send box adds and the log prints for a whole text: the
// characters after its last "$", or all of them when it holds none.
uint8_t TextChecksum(std::string_view text);

// "*" and two upper-case hexadecimal digits, as a sentence carries it.
std::string ChecksumSuffix(uint8_t checksum);

constexpr bool IsHexDigit(uint8_t b) {
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'F') || (b >= 'a' && b <= 'f');
}

// The value of a hexadecimal digit of either case.
constexpr uint8_t HexValue(uint8_t b) {
    if (b <= '9') return uint8_t(b - '0');
    return uint8_t((b | 0x20) - 'a' + 10);
}

}  // namespace zelsim
