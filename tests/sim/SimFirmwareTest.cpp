#include <gtest/gtest.h>

#include <string>

#include "SimFirmware.h"
#include "support/TempDir.h"

namespace zelsim {

// What the demo sends must be the file the generator makes; that a
// bootloader takes its every record whole is the firmware button's
// end-to-end case.
TEST(SimFirmware, TheShippedDemoFileIsTheGeneratedOne) {
    const std::string shipped = TempDir::Read(ZELSIM_DEMO_DIR "/firmware.hex");
    ASSERT_FALSE(shipped.empty()) << ZELSIM_DEMO_DIR "/firmware.hex";
    EXPECT_TRUE(shipped == SimFirmware::HexFile())
        << "write it again with: zelsim-sim --write-firmware demo/firmware.hex";

    TempDir folder;
    std::string error;
    ASSERT_TRUE(SimFirmware::WriteFile(folder.File("firmware.hex"), error)) << error;
    EXPECT_TRUE(TempDir::Read(folder.File("firmware.hex")) == shipped);
    EXPECT_FALSE(SimFirmware::WriteFile(folder.File("missing/firmware.hex"), error));
}

}  // namespace zelsim
