#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "serial/PortLock.h"
#include "serial/PortMap.h"
#include "support/TempDir.h"

namespace zelsim {

namespace {

// The lock file of a live program names it; one left by a dead program, or
// in no folder looked at, names nobody.
TEST(PortLock, NamesTheLiveProgramThatHoldsTheDevice) {
    EXPECT_EQ(PortLock::LockName("/dev/ttyUSB0"), "ttyUSB0");
    EXPECT_EQ(PortLock::LockName("/dev/pts/3"), "pts_3");
    TempDir locks;
    const std::vector<std::string> folders = {"/nonexistent", locks.Path()};
    EXPECT_EQ(PortLock::Holder("/dev/ttyUSB0", folders), "");

    // As the serial programs write it: the process number, padded, first.
    TempDir::Write(locks.File("LCK..ttyUSB0"), "      " + std::to_string(::getpid()) + "\nme\n");
    const std::string holder = PortLock::Holder("/dev/ttyUSB0", folders);
    EXPECT_NE(holder.find(", process " + std::to_string(::getpid())), std::string::npos) << holder;
    EXPECT_NE(holder.find("zelsim"), std::string::npos) << "the program's own name: " << holder;

    TempDir::Write(locks.File("LCK..pts_3"), "999999999\n");
    EXPECT_EQ(PortLock::Holder("/dev/pts/3", folders), "") << "no such process";
    TempDir::Write(locks.File("LCK..pts_3"), "garbage\n");
    EXPECT_EQ(PortLock::Holder("/dev/pts/3", folders), "");
}

// /dev/serial/by-id names each adapter by bus, maker, model, serial and
// interface; the COM menu shows the part a user can read off the adapter.
TEST(PortMapLabels, LinksNameTheDevicesTheyPointAt) {
    TempDir dir;
    const std::string device = dir.File("ttyUSB0");
    TempDir::Write(device, "");
    std::filesystem::create_directory(dir.File("by-id"));
    std::filesystem::create_symlink(device,
                                    dir.File("by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
    TempDir::Write(dir.File("by-id/not-a-link"), "");
    const std::map<std::string, std::string> labels = PortMap::LabelsFromLinks(dir.File("by-id"));
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels.at(std::filesystem::canonical(device).string()),
              "FTDI_FT232R_USB_UART_A50285BI");
    EXPECT_TRUE(PortMap::LabelsFromLinks(dir.File("missing")).empty());
}

}  // namespace

}  // namespace zelsim
