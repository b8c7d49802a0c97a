#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace zelsim {

TEST(CommandLine, ReadsEveryOption) {
    const CommandLine cl =
        CommandLine::Parse({"--com", "1=/dev/pts/4", "--com", "12=/dev/ttyUSB0", "--port", "12",
                            "--baud", "115200", "--connect", "--config", "/tmp/x.ini", "--demo"});
    EXPECT_EQ(cl.error, "");
    EXPECT_EQ(cl.comDevices.at(1), "/dev/pts/4");
    EXPECT_EQ(cl.comDevices.at(12), "/dev/ttyUSB0");
    EXPECT_EQ(cl.port, 12);
    EXPECT_EQ(cl.baud, 115200u);
    EXPECT_TRUE(cl.connect);
    EXPECT_TRUE(cl.demo);
    EXPECT_EQ(cl.configFile, "/tmp/x.ini");
}

TEST(CommandLine, LogTakesAFileOrNone) {
    EXPECT_EQ(CommandLine::Parse({"--log", "rig.log", "--connect"}).log, "rig.log");
    const CommandLine bare = CommandLine::Parse({"--log", "--connect"});
    EXPECT_EQ(bare.log, "");
    EXPECT_TRUE(bare.connect);
    EXPECT_EQ(CommandLine::Parse({"--log"}).log, "");
    EXPECT_FALSE(CommandLine::Parse({"--connect"}).log.has_value());
}

TEST(CommandLine, GraphOpensEmptyOrWithASavedFile) {
    const CommandLine bare = CommandLine::Parse({"--graph", "--demo"});
    EXPECT_TRUE(bare.graph);
    EXPECT_EQ(bare.graphFile, "");
    EXPECT_TRUE(bare.demo);
    EXPECT_EQ(CommandLine::Parse({"--graph", "run.txt"}).graphFile, "run.txt");
    const CommandLine alone = CommandLine::Parse({"/data/ZelSim003.txt"});
    EXPECT_TRUE(alone.graph);
    EXPECT_EQ(alone.graphFile, "/data/ZelSim003.txt");
    EXPECT_NE(CommandLine::Parse({"notes.log"}).error, "");
}

TEST(CommandLine, RefusesWhatItCannotUse) {
    EXPECT_NE(CommandLine::Parse({"--baud", "14400"}).error, "");
    EXPECT_EQ(CommandLine::Parse({"--baud", "921600"}).baud, 921600u);
    EXPECT_NE(CommandLine::Parse({"--baud", "1843200"}).error, "") << "no faster than the menu";
    EXPECT_NE(CommandLine::Parse({"--baud", "4294967596"}).error, "") << "300 plus 2 to the 32";
    EXPECT_NE(CommandLine::Parse({"--port", "19"}).error, "");
    EXPECT_NE(CommandLine::Parse({"--com", "0=/dev/x"}).error, "");
    EXPECT_NE(CommandLine::Parse({"--com", "3="}).error, "");
    EXPECT_NE(CommandLine::Parse({"--com"}).error, "");
    EXPECT_NE(CommandLine::Parse({"--frobnicate"}).error, "");
}

}  // namespace zelsim
