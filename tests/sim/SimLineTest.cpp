#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "SimLine.h"

namespace zelsim {

// The program's rate is the program's to set on a pseudo-terminal; on a
// real device the simulator's end must move to where its bootloader listens.
TEST(SimLine, OnlyADeviceEndTakesTheRateItIsGiven) {
    std::string error;
    const std::unique_ptr<SimLine> pseudo = SimLine::OpenPseudoTerminal(error);
    ASSERT_TRUE(pseudo) << error;
    EXPECT_TRUE(pseudo->IsPseudoTerminal());
    EXPECT_EQ(pseudo->Rate(), SimLine::kInitialRate);
    EXPECT_FALSE(pseudo->SetRate(115200));
    EXPECT_EQ(pseudo->Rate(), SimLine::kInitialRate);

    // The far end opened as a device stands in for a serial adapter.
    const std::unique_ptr<SimLine> device = SimLine::OpenDevice(pseudo->DevicePath(), 9600, error);
    ASSERT_TRUE(device) << error;
    EXPECT_FALSE(device->IsPseudoTerminal());
    EXPECT_EQ(device->Rate(), 9600u);
    EXPECT_TRUE(device->SetRate(115200));
    EXPECT_EQ(device->Rate(), 115200u);
    EXPECT_EQ(pseudo->Rate(), 115200u) << "the other end sees it";
    EXPECT_FALSE(device->SetRate(12345));
    EXPECT_EQ(device->Rate(), 115200u);
    EXPECT_TRUE(device->SetRate(921600));
    EXPECT_EQ(pseudo->Rate(), 921600u) << "a fast rate reads back as itself";
}

}  // namespace zelsim
