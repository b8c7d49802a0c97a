#include "SimFirmware.h"

#include <cstdio>

#include "SimBootloader.h"
#include "SimWholeFile.h"

namespace zelsim {

namespace {
constexpr const char* kLineEnd = "\r\n";

// A fixed pseudo-random sequence (a linear congruential generator), so the
// image looks like code to a checksum and is the same on every machine.
class Filler {
  public:
    uint8_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<uint8_t>(state_ >> 24);
    }

  private:
    uint32_t state_ = 0x5A17u;
};

std::string UpperAddressRecord(uint16_t upper) {
    const uint8_t bytes[] = {static_cast<uint8_t>(upper >> 8), static_cast<uint8_t>(upper)};
    return SimFirmware::Record(SimBootloader::kExtendedLinearAddressRecord, 0, bytes, sizeof bytes);
}
}  // namespace

std::string SimFirmware::Record(uint8_t type, uint16_t address, const uint8_t* data, size_t count) {
    char text[8];
    std::string record = ":";
    unsigned sum = 0;
    const auto put = [&](uint8_t byte) {
        std::snprintf(text, sizeof text, "%02X", byte);
        record += text;
        sum += byte;
    };
    put(static_cast<uint8_t>(count));
    put(static_cast<uint8_t>(address >> 8));
    put(static_cast<uint8_t>(address));
    put(type);
    for (size_t i = 0; i < count; ++i) put(data[i]);
    put(static_cast<uint8_t>(-sum));
    return record;
}

std::string SimFirmware::HexFile() {
    std::string file;
    Filler filler;
    uint32_t address = kLoadAddress;
    uint16_t upper = static_cast<uint16_t>(address >> 16);
    file += UpperAddressRecord(upper) + kLineEnd;
    for (int i = 0; i < kDataRecords; ++i) {
        if (address >> 16 != upper) {
            upper = static_cast<uint16_t>(address >> 16);
            file += UpperAddressRecord(upper) + kLineEnd;
        }
        uint8_t data[kBytesPerRecord];
        for (uint8_t& byte : data) byte = filler.Next();
        file +=
            Record(SimBootloader::kDataRecord, static_cast<uint16_t>(address), data, sizeof data) +
            kLineEnd;
        address += kBytesPerRecord;
    }
    file += std::string(kEndOfFile) + kLineEnd;
    return file;
}

bool SimFirmware::WriteFile(const std::string& path, std::string& error) {
    return WriteWholeFile(path, HexFile(), error);
}

}  // namespace zelsim
