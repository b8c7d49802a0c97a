#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial/PortMap.h"
#include "support/ConfigText.h"

namespace zelsim {

namespace {
using Paths = std::vector<std::string>;

TEST(PortMapOrder, UsbAdaptersFirstThenByNameWithNumbersAsNumbers) {
    const Paths found = {"/dev/ttyS10",  "/dev/ttyS2",   "/dev/ttyUSB10", "/dev/ttyAMA0",
                         "/dev/ttyUSB2", "/dev/ttyACM0", "/dev/ttyS2"};
    EXPECT_EQ(PortMap::Ordered(found), (Paths{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10",
                                              "/dev/ttyAMA0", "/dev/ttyS2", "/dev/ttyS10"}));
}

TEST(PortMapOrder, LeadingZerosAndFoldersDoNotUpsetTheOrder) {
    EXPECT_EQ(PortMap::Ordered({"/dev/ttyS010", "/dev/ttyS09", "/dev/ttyS1"}),
              (Paths{"/dev/ttyS1", "/dev/ttyS09", "/dev/ttyS010"}));
    // Ordered by device name first, so a deeper folder does not jump ahead.
    EXPECT_EQ(PortMap::Ordered({"/dev/serial/ttyS3", "/dev/ttyS2"}),
              (Paths{"/dev/ttyS2", "/dev/serial/ttyS3"}));
}

TEST(PortMapResolve, DiscoveredPortsFillTheLowestFreeNumbers) {
    PortMap map;
    map.SetDiscovered({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS1"});
    EXPECT_EQ(map.PathOf(1), "/dev/ttyUSB0");
    EXPECT_EQ(map.PathOf(2), "/dev/ttyS0");
    EXPECT_EQ(map.PathOf(3), "/dev/ttyS1");
    EXPECT_EQ(map.PathOf(4), "");
}

// A user's COM1 must not become another adapter because a second one was
// plugged in, even one that sorts first.
TEST(PortMapResolve, ANumberStaysWithItsDeviceWhilePortsComeAndGo) {
    PortMap map;
    map.SetExplicit(2, "/dev/pts/4");
    map.SetDiscovered({"/dev/ttyUSB1", "/dev/ttyS0"});
    EXPECT_EQ(map.PathOf(1), "/dev/ttyUSB1");
    EXPECT_EQ(map.PathOf(3), "/dev/ttyS0");

    map.SetDiscovered({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"});
    EXPECT_EQ(map.PathOf(1), "/dev/ttyUSB1");
    EXPECT_EQ(map.PathOf(2), "/dev/pts/4");
    EXPECT_EQ(map.PathOf(3), "/dev/ttyS0");
    EXPECT_EQ(map.PathOf(4), "/dev/ttyUSB0");

    // Unplugged, its number is free for the next one; back, it takes one again.
    map.SetDiscovered({"/dev/ttyS0", "/dev/ttyUSB0"});
    EXPECT_EQ(map.PathOf(1), "");
    map.SetDiscovered({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"});
    EXPECT_EQ(map.PathOf(1), "/dev/ttyUSB1");
    EXPECT_EQ(map.PathOf(4), "/dev/ttyUSB0");
}

TEST(PortMapResolve, ExplicitEntriesWinAndAreNotGivenTwice) {
    PortMap map;
    map.SetDiscovered({"/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyS1"});
    map.SetExplicit(1, "/dev/ttyS1");
    map.SetExplicit(3, "/dev/pts/7");
    EXPECT_EQ(map.PathOf(1), "/dev/ttyS1");
    EXPECT_EQ(map.PathOf(2), "/dev/ttyUSB0");
    EXPECT_EQ(map.PathOf(3), "/dev/pts/7");
    EXPECT_EQ(map.PathOf(4), "/dev/ttyS0");
    EXPECT_EQ(map.PathOf(5), "");

    // The order of the calls does not matter.
    PortMap other;
    other.SetExplicit(1, "/dev/ttyS1");
    other.SetExplicit(3, "/dev/pts/7");
    other.SetDiscovered({"/dev/ttyS1", "/dev/ttyS0", "/dev/ttyUSB0"});
    for (int com = 1; com <= 5; ++com) EXPECT_EQ(other.PathOf(com), map.PathOf(com)) << com;
}

TEST(PortMapResolve, LaterEntryForOneNumberReplacesAndEmptyHandsItBack) {
    PortMap map;
    map.SetDiscovered({"/dev/ttyUSB0"});
    map.SetExplicit(1, "/dev/ttyS4");
    map.SetExplicit(1, "/dev/ttyS5");  // --com after the configuration file
    EXPECT_EQ(map.PathOf(1), "/dev/ttyS5");
    EXPECT_EQ(map.PathOf(2), "/dev/ttyUSB0");
    EXPECT_EQ(map.Explicit().size(), 1u);

    map.SetExplicit(1, "");
    EXPECT_EQ(map.PathOf(1), "/dev/ttyUSB0");
    EXPECT_TRUE(map.Explicit().empty());
}

TEST(PortMapResolve, NumbersOutsideOneToNinetyNineHaveNoDevice) {
    PortMap map;
    map.SetExplicit(0, "/dev/ttyS0");
    map.SetExplicit(100, "/dev/ttyS1");
    EXPECT_TRUE(map.Explicit().empty());

    Paths many;
    for (int i = 0; i < 120; ++i) many.push_back("/dev/ttyS" + std::to_string(i));
    map.SetDiscovered(many);
    EXPECT_EQ(map.PathOf(99), "/dev/ttyS98");
    EXPECT_EQ(map.PathOf(0), "");
    EXPECT_EQ(map.PathOf(100), "");
}

TEST(PortMapResolve, ThePortsSectionNamesDevicesByComNumber) {
    TempDir dir;
    ConfigFile file = ConfigWith(dir,
                                 "[Ports]\nCOM1=/dev/ttyUSB0\ncom12 = /dev/pts/3\nCOM0=/dev/zero\n"
                                 "COM100=/dev/null\nCOM2=\n");
    PortMap map;
    map.LoadSection(file);
    EXPECT_EQ(map.Explicit(),
              (std::map<int, std::string>{{1, "/dev/ttyUSB0"}, {12, "/dev/pts/3"}}));
}

}  // namespace

}  // namespace zelsim
