#include <gtest/gtest.h>

#include "SimWire.h"

namespace zelsim {

TEST(SimOptions, RefusesWhatItDoesNotKnowAndSaysWhat) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--speed", "9600"}, "--speed"},
        {{"stray"}, "stray"},
        {{"--no-nmea=1"}, "--no-nmea=1"},
        {{"--device"}, "--device needs a value"},
        {{"--device="}, "--device needs a path"},
        {{"--report="}, "--report needs a path"},
        {{"--receiver-baud", "14400"}, "300 to 921600"},
        {{"--receiver-baud", "38400x"}, "300 to 921600"},
        {{"--bootloader", "1.4"}, "--bootloader must be 1.2 or 1.3"},
        {{"--bootloader-version", "13"}, "--bootloader-version must be 1.2 or 1.3"},
        {{"--bootloader-version"}, "--bootloader-version needs a value"},
        {{"--write-firmware="}, "--write-firmware needs a path"},
        {{"--parent-pid", "1"}, "process number"},
        {{"--ask-identity", "5"}, "unknown option \"5\""},
        {{"--ask-identity="}, "0.1 to 3600 seconds"},
        {{"--ask-identity=3601"}, "0.1 to 3600 seconds"},
        {{"--ask-identity=nan"}, "0.1 to 3600 seconds"},
        {{"--old-records=1"}, "--old-records=1"},
        {{"--noise"}, "--noise needs a value"},
        {{"--noise", "-1"}, "0 to 100 garbled lines"},
        {{"--noise", "inf"}, "0 to 100 garbled lines"},
        {{"--seed", "4294967296"}, "0 to 4294967295"},
        {{"--seed", "0x10"}, "0 to 4294967295"},
    };
    for (const auto& [arguments, message] : cases) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(SimOptions::Parse(arguments, options, error)) << arguments[0];
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

}  // namespace zelsim
