#include <gtest/gtest.h>

#include "SimOptions.h"

namespace zelsim {

namespace {
SimOptions Parsed(const std::vector<std::string>& arguments) {
    SimOptions options;
    std::string error;
    EXPECT_TRUE(SimOptions::Parse(arguments, options, error)) << error;
    return options;
}

std::string Refused(const std::vector<std::string>& arguments) {
    SimOptions options;
    std::string error;
    EXPECT_FALSE(SimOptions::Parse(arguments, options, error));
    return error;
}
}  // namespace

TEST(SimOptions, TakesValuesInBothSpellings) {
    const SimOptions options =
        Parsed({"--device", "/dev/ttyS1", "--report=out.json", "--receiver-baud=4800",
                "--old-settings", "--no-receiver", "--no-nmea", "--parent-pid", "4242"});
    EXPECT_EQ(options.devicePath, "/dev/ttyS1");
    EXPECT_EQ(options.reportPath, "out.json");
    EXPECT_EQ(options.receiverBaud, 4800u);
    EXPECT_TRUE(options.oldSettings);
    EXPECT_FALSE(options.receiver);
    EXPECT_FALSE(options.nmea);
    EXPECT_EQ(options.parentPid, 4242);
    EXPECT_EQ(Parsed({"--bootloader", "1.2"}).bootloader, SimBootloader::Version::k12);
    EXPECT_TRUE(Parsed({"--help"}).help);
}

TEST(SimOptions, RefusesWhatItDoesNotKnowAndSaysWhat) {
    EXPECT_NE(Refused({"--speed", "9600"}).find("--speed"), std::string::npos);
    EXPECT_NE(Refused({"--device"}).find("needs a value"), std::string::npos);
    EXPECT_NE(Refused({"--device="}).find("--device"), std::string::npos);
    for (const char* baud : {"115200", "0", "38400x", "", "-4800"})
        EXPECT_NE(Refused({"--receiver-baud", baud}).find("4800, 9600"), std::string::npos) << baud;
    EXPECT_NE(Refused({"--bootloader", "1.4"}).find("1.2 or 1.3"), std::string::npos);
    EXPECT_NE(Refused({"stray"}).find("stray"), std::string::npos);
}

}  // namespace zelsim
