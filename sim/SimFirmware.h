#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace zelsim {

// The firmware file the demo sends to the controller's bootloader: Intel HEX,
// CR LF line ends, made the same every time so the shipped copy can be
// checked against it. The image is filler, not code: only its form matters.
class SimFirmware {
  public:
    static constexpr int kDataRecords = 1000;
    static constexpr size_t kBytesPerRecord = 16;
    // Placed so that the image crosses a 64 KiB boundary and needs a second
    // extended linear address record, as larger images do.
    static constexpr uint32_t kLoadAddress = 0x0000E000;
    static constexpr const char* kEndOfFile = ":00000001FF";

    // One record, ":" to checksum, without the line end.
    static std::string Record(uint8_t type, uint16_t address, const uint8_t* data, size_t count);
    // The whole file.
    static std::string HexFile();
    // Written whole or not at all: a temporary file renamed over `path`.
    static bool WriteFile(const std::string& path, std::string& error);
};

}  // namespace zelsim
