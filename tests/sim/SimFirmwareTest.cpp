#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimBootloader.h"
#include "SimFirmware.h"
#include "support/TempDir.h"

namespace zelsim {

TEST(SimFirmware, RecordsCarryTheirLengthAndChecksum) {
    const uint8_t data[] = {0x21, 0x46, 0x01, 0x36, 0x01, 0x21, 0x47, 0x01,
                            0x36, 0x00, 0x7E, 0xFE, 0x09, 0xD2, 0x19, 0x01};
    EXPECT_EQ(SimFirmware::Record(SimBootloader::kDataRecord, 0x0100, data, sizeof data),
              ":10010000214601360121470136007EFE09D2190140");
    const uint8_t upper[] = {0x00, 0x01};
    EXPECT_EQ(
        SimFirmware::Record(SimBootloader::kExtendedLinearAddressRecord, 0, upper, sizeof upper),
        ":020000040001F9");
    EXPECT_EQ(SimFirmware::Record(SimBootloader::kEndOfFileRecord, 0, nullptr, 0),
              SimFirmware::kEndOfFile);
}

// What the demo sends: the file in the tree must be the one the generator
// makes, and a bootloader must find every record whole and in order.
TEST(SimFirmware, TheShippedDemoFileIsWholeAndTheGeneratedOne) {
    const std::string shipped = TempDir::Read(ZELSIM_DEMO_DIR "/firmware.hex");
    ASSERT_FALSE(shipped.empty()) << ZELSIM_DEMO_DIR "/firmware.hex";
    EXPECT_TRUE(shipped == SimFirmware::HexFile())
        << "write it again with: zelsim-sim --write-firmware demo/firmware.hex";

    int dataRecords = 0;
    int ends = 0;
    uint32_t upper = 0;
    uint32_t next = SimFirmware::kLoadAddress;
    for (size_t at = 0, end = 0; at < shipped.size(); at = end + 2) {
        end = shipped.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
        const std::string line = shipped.substr(at, end - at);
        EXPECT_TRUE(SimBootloader::RecordValid(line)) << line;
        const std::vector<uint8_t> bytes = SimBootloader::RecordBytes(line);
        ASSERT_GE(bytes.size(), 5u) << line;
        EXPECT_EQ(ends, 0) << "nothing after the end-of-file record: " << line;
        switch (bytes[3]) {
            case SimBootloader::kDataRecord:
                ++dataRecords;
                EXPECT_EQ(bytes[0], SimFirmware::kBytesPerRecord) << line;
                EXPECT_EQ(upper << 16 | bytes[1] << 8 | bytes[2], next) << line;
                next += bytes[0];
                break;
            case SimBootloader::kExtendedLinearAddressRecord:
                ASSERT_EQ(bytes[0], 2) << line;
                upper = static_cast<uint32_t>(bytes[4] << 8 | bytes[5]);
                break;
            case SimBootloader::kEndOfFileRecord:
                ++ends;
                break;
            default:
                ADD_FAILURE() << "unexpected record type in " << line;
        }
    }
    EXPECT_EQ(dataRecords, SimFirmware::kDataRecords);
    EXPECT_EQ(ends, 1);
    EXPECT_GT(next >> 16, SimFirmware::kLoadAddress >> 16) << "the image crosses 64 KiB";

    TempDir folder;
    std::string error;
    ASSERT_TRUE(SimFirmware::WriteFile(folder.File("firmware.hex"), error)) << error;
    EXPECT_TRUE(TempDir::Read(folder.File("firmware.hex")) == shipped);
    EXPECT_FALSE(SimFirmware::WriteFile(folder.File("missing/firmware.hex"), error));
}

}  // namespace zelsim
