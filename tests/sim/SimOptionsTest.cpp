#include <gtest/gtest.h>

#include "SimWire.h"

namespace zelsim {

TEST(SimOptions, TakesValuesInBothSpellings) {
    const SimOptions options = SimBench::Parsed(
        {"--device", "/dev/ttyS1", "--report=out.json", "--receiver-baud=4800", "--old-settings",
         "--no-receiver", "--no-nmea", "--no-controller", "--parent-pid", "4242"});
    EXPECT_EQ(options.devicePath, "/dev/ttyS1");
    EXPECT_EQ(options.reportPath, "out.json");
    EXPECT_EQ(options.receiverBaud, 4800u);
    EXPECT_TRUE(options.oldSettings);
    EXPECT_FALSE(options.receiver || options.nmea || options.controller);
    EXPECT_EQ(options.parentPid, 4242);
    EXPECT_EQ(SimBench::Parsed({"--bootloader", "1.2"}).bootloader, SimBootloader::Version::k12);
    EXPECT_EQ(SimBench::Parsed({}).bootloaderVersion, SimBootloader::Version::k13);
    const SimOptions reset =
        SimBench::Parsed({"--bootloader-version=1.2", "--write-firmware", "f"});
    EXPECT_EQ(reset.bootloaderVersion, SimBootloader::Version::k12);
    EXPECT_FALSE(reset.bootloader) << "a reset brings it up; it does not start there";
    EXPECT_TRUE(reset.controller);
    EXPECT_EQ(reset.firmwarePath, "f");
    EXPECT_TRUE(SimBench::Parsed({"--help"}).help);

    const SimOptions plain = SimBench::Parsed({});
    EXPECT_EQ(plain.askIdentityMs, 0u);
    EXPECT_EQ(plain.noisePerSecond, 0);
    EXPECT_FALSE(plain.oldRecords || plain.seed);
    EXPECT_EQ(SimBench::Parsed({"--ask-identity"}).askIdentityMs,
              SimOptions::kDefaultAskIdentityMs);
    EXPECT_EQ(SimBench::Parsed({"--ask-identity=0.25"}).askIdentityMs, 250u);
    const SimOptions more =
        SimBench::Parsed({"--old-records", "--noise", "2.5", "--seed=4294967295"});
    EXPECT_TRUE(more.oldRecords);
    EXPECT_EQ(more.noisePerSecond, 2.5);
    EXPECT_EQ(more.seed, 4294967295u);
    EXPECT_EQ(SimBench::Parsed({"--noise=0", "--seed", "0"}).seed, 0u);
}

TEST(SimOptions, RefusesWhatItDoesNotKnowAndSaysWhat) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--speed", "9600"}, "--speed"},
        {{"stray"}, "stray"},
        {{"--no-nmea=1"}, "--no-nmea=1"},
        {{"--device"}, "--device needs a value"},
        {{"--device="}, "--device needs a path"},
        {{"--report="}, "--report needs a path"},
        {{"--receiver-baud", "115200"}, "4800, 9600"},
        {{"--receiver-baud", "0"}, "4800, 9600"},
        {{"--receiver-baud", "38400x"}, "4800, 9600"},
        {{"--receiver-baud="}, "4800, 9600"},
        {{"--receiver-baud", "-4800"}, "4800, 9600"},
        {{"--bootloader", "1.4"}, "--bootloader must be 1.2 or 1.3"},
        {{"--bootloader-version", "13"}, "--bootloader-version must be 1.2 or 1.3"},
        {{"--bootloader-version"}, "--bootloader-version needs a value"},
        {{"--write-firmware="}, "--write-firmware needs a path"},
        {{"--parent-pid", "1"}, "process number"},
        {{"--parent-pid", "42x"}, "process number"},
        {{"--ask-identity", "5"}, "unknown option \"5\""},
        {{"--ask-identity="}, "0.1 to 3600 seconds"},
        {{"--ask-identity=0"}, "0.1 to 3600 seconds"},
        {{"--ask-identity=3601"}, "0.1 to 3600 seconds"},
        {{"--ask-identity=5s"}, "0.1 to 3600 seconds"},
        {{"--ask-identity=nan"}, "0.1 to 3600 seconds"},
        {{"--old-records=1"}, "--old-records=1"},
        {{"--noise"}, "--noise needs a value"},
        {{"--noise", "-1"}, "0 to 100 garbled lines"},
        {{"--noise", "100.5"}, "0 to 100 garbled lines"},
        {{"--noise", "inf"}, "0 to 100 garbled lines"},
        {{"--noise", "1/s"}, "0 to 100 garbled lines"},
        {{"--seed", "-1"}, "0 to 4294967295"},
        {{"--seed", "4294967296"}, "0 to 4294967295"},
        {{"--seed", "0x10"}, "0 to 4294967295"},
        {{"--seed="}, "0 to 4294967295"},
    };
    for (const auto& [arguments, message] : cases) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(SimOptions::Parse(arguments, options, error)) << arguments[0];
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

}  // namespace zelsim
