#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "SimWire.h"

namespace zelsim {

namespace {
std::string Row(const std::string& wire, const char* command, const char* position) {
    return FieldOf(wire, {"PKVTS", command, position}, 3);
}

// The panel alone: the streamed fix has tests of its own.
class SimReceiverTest : public ::testing::Test {
  protected:
    SimReceiver::Screen Screen() { return sim_.devices.Receiver()->CurrentScreen(); }
    SimBench sim_{{"--no-controller", "--no-nmea"}};
};
}  // namespace

TEST_F(SimReceiverTest, HearsOnlyAtItsOwnRate) {
    // The program reads the serial from field six.
    EXPECT_EQ(FieldOf(sim_.Send("$PKVTQ,RID"), {"PKVTR", "RID"}, 6), SimReceiver::kSerial);

    sim_.devices.SetLineRate(9600);
    for (const char* body : {"$PKVTQ,RID", "$PKVTS,LCD,ON", "$PKVTK,2"})
        EXPECT_EQ(sim_.Send(body), "") << body;
    EXPECT_FALSE(sim_.devices.Receiver()->Mirroring());
    EXPECT_EQ(Screen(), SimReceiver::kStatusScreen);

    for (uint32_t rate : {4800u, 460800u}) {
        SimBench other({"--no-controller", "--receiver-baud", std::to_string(rate)});
        EXPECT_EQ(other.Send("$PKVTQ,RID"), "") << rate;
        other.devices.SetLineRate(rate);
        EXPECT_EQ(Matching(other.Send("$PKVTQ,RID"), {"PKVTR", "RID"}).size(), 1u) << rate;
    }
}

TEST_F(SimReceiverTest, MirrorsItsStatusScreenOnceAsked) {
    EXPECT_EQ(sim_.Press(2), "") << "keys are not mirrored before LCD,ON";
    sim_.Press(6);

    const std::string wire = sim_.Send("$PKVTS,LCD,ON");
    EXPECT_EQ(Matching(wire, {"PKVTS", "CON"}).size(), 1u);
    EXPECT_EQ(Matching(wire, {"PKVTS", "CLR"}).size(), 1u);
    EXPECT_EQ(FieldOf(wire, {"PKVTS", "BKL"}, 2), "ON");
    // Fifteen columns: the last is glyph 0, defined through the glyph memory
    // (0x40, eight rows) and written to row 0, column 15 (0x80 + 15).
    EXPECT_EQ(Row(wire, "TXT", "0"), "Sats 08 DGPS D ");
    EXPECT_EQ(Row(wire, "TXT", "16"), "Fix 3D  HDOP 1.1");
    EXPECT_EQ(Only(wire, {"PKVTD", "040"}).size(), 10u);
    EXPECT_EQ(Matching(wire, {"PKVTD", "08F", "100"}).size(), 1u);
}

TEST_F(SimReceiverTest, KeyPressesWalkTheMenuAndHomeReturns) {
    sim_.Send("$PKVTS,LCD,ON");
    const std::tuple<unsigned, SimReceiver::Screen, const char*, std::string> steps[] = {
        {2, SimReceiver::kPositionScreen, "TXX", "N 48%DF"},  // down
        {2, SimReceiver::kSettingsScreen, "TXT", "DGPS"},
        {2, SimReceiver::kVersionScreen, "TXT", SimReceiver::kName},
        {2, SimReceiver::kStatusScreen, "TXT", "Sats"},               // wraps
        {4, SimReceiver::kVersionScreen, "TXT", SimReceiver::kName},  // up, wraps back
    };
    for (const auto& [mask, screen, command, shown] : steps) {
        const std::string wire = sim_.Press(mask);
        EXPECT_EQ(Screen(), screen);
        EXPECT_EQ(Matching(wire, {"PKVTS", "CLR"}).size(), 1u);
        EXPECT_EQ(Row(wire, command, "0").substr(0, shown.size()), shown);
    }

    // A key held down moves once, on the press.
    for (const char* body : {"$PKVTK,4", "$PKVTK,4", "$PKVTK,4", "$PKVTK,0"}) sim_.Send(body);
    EXPECT_EQ(Screen(), SimReceiver::kSettingsScreen);

    // Home from a panel's button: 2 first, then 6; it repaints even when already home.
    sim_.Send("$PKVTK,2");
    std::string home = sim_.Send("$PKVTK,6");
    sim_.Send("$PKVTK,0");
    home += sim_.Press(6);
    EXPECT_EQ(Screen(), SimReceiver::kStatusScreen);
    EXPECT_EQ(Matching(home, {"PKVTS", "CLR"}).size(), 2u);
    EXPECT_EQ(Matching(home, {"PKVTS", "TXT", "0"}).size(), 2u);
}

TEST_F(SimReceiverTest, RefreshesTheLiveScreensOnceASecond) {
    sim_.Send("$PKVTS,LCD,ON");
    EXPECT_EQ(sim_.Next(SimReceiver::kRefreshMs - 1), "");
    const std::string refresh = sim_.Next(1);
    EXPECT_EQ(Matching(refresh, {"PKVTS", "TXT"}).size(), 2u);
    EXPECT_TRUE(Matching(refresh, {"PKVTS", "CLR"}).empty()) << "a refresh must not flicker";

    sim_.Press(2);
    sim_.Press(2);  // settings: nothing live to refresh
    EXPECT_EQ(sim_.Next(3 * SimReceiver::kRefreshMs), "");
}

}  // namespace zelsim
