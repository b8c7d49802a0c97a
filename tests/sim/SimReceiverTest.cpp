#include <gtest/gtest.h>

#include <string>

#include "SimDevices.h"
#include "SimWire.h"
#include "support/FakeTickClock.h"

namespace zelsim {

namespace {
// Just enough of a 2 x 16 LCD to read back what the receiver mirrors.
class MiniPanel {
  public:
    void Apply(const std::string& wire) {
        for (const WireLine& line : ParseWire(wire)) {
            const auto& f = line.fields;
            if (f.empty()) continue;
            if (f[0] == "PKVTS" && f.size() >= 2 && f[1] == "CLR") cells_.assign(32, ' ');
            if (f[0] == "PKVTS" && f.size() >= 4 && (f[1] == "TXT" || f[1] == "TXX"))
                Write(std::stoi(f[2]), f[3], f[1] == "TXX");
            if (f[0] == "PKVTS" && f.size() >= 3 && f[1] == "BKL") backLight_ = f[2] == "ON";
            if (f[0] == "PKVTD")
                for (size_t i = 1; i < f.size(); ++i) Controller(f[i]);
        }
    }
    std::string Row(int row) const { return cells_.substr(row * 16, 16); }
    unsigned char Cell(int row, int column) const { return cells_[row * 16 + column]; }
    unsigned char GlyphRow(int glyph, int row) const { return glyphs_[glyph * 8 + row]; }
    bool BackLight() const { return backLight_; }

  private:
    void Write(int position, const std::string& text, bool escapes) {
        for (size_t i = 0; i < text.size(); ++i) {
            unsigned char code = text[i];
            if (escapes && code == '%') {
                code = static_cast<unsigned char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                if (code == 0xDF) code = 0xB0;
                i += 2;
            }
            if (position >= 0 && position < 32) cells_[position] = static_cast<char>(code);
            ++position;
        }
    }
    void Controller(const std::string& field) {
        const auto value = static_cast<unsigned char>(std::stoi(field.substr(1, 2), nullptr, 16));
        if (field[0] != '1') {
            if (value == 0x01) cells_.assign(32, ' ');
            if ((value & 0xC0) == 0x40) {
                textMode_ = false;
                address_ = value & 0x3F;
            } else if (value & 0x80) {
                textMode_ = true;
                cursor_ = ((value & 0x40) ? 16 : 0) + (value & 0x0F);
            }
        } else if (textMode_) {
            cells_[cursor_++] = static_cast<char>(value);
        } else if (address_ < 64) {
            glyphs_[address_++] = value;
        }
    }

    std::string cells_ = std::string(32, '?');
    unsigned char glyphs_[64] = {};
    bool textMode_ = true;
    int cursor_ = 0;
    int address_ = 0;
    bool backLight_ = false;
};

class SimReceiverTest : public ::testing::Test {
  protected:
    SimReceiverTest() : devices_(clock_, ReceiverOnly()) { devices_.SetLineRate(38400); }

    // The panel alone: the streamed fix has tests of its own.
    static SimOptions ReceiverOnly() {
        SimOptions options;
        options.controller = false;
        options.nmea = false;
        return options;
    }
    std::string Send(const std::string& body) {
        const std::string wire = devices_.Receive(Query(body));
        ExpectAllSentences(wire);
        panel_.Apply(wire);
        return wire;
    }
    std::string Press(unsigned mask) {
        char body[16];
        std::snprintf(body, sizeof body, "$PKVTK,%X", mask);
        const std::string wire = Send(body);
        Send("$PKVTK,0");
        return wire;
    }
    SimReceiver& Receiver() { return *devices_.Receiver(); }

    FakeTickClock clock_;
    SimDevices devices_;
    MiniPanel panel_;
};
}  // namespace

TEST_F(SimReceiverTest, AnswersItsIdentityWithTheSerialInFieldSix) {
    const auto replies = Matching(Send("$PKVTQ,RID"), {"PKVTR", "RID"});
    ASSERT_EQ(replies.size(), 1u);
    const auto& f = replies[0].fields;
    ASSERT_EQ(f.size(), 7u);
    EXPECT_EQ(f[2], SimReceiver::kName);
    EXPECT_EQ(f[3], SimReceiver::kVersion);
    EXPECT_EQ(f[6], SimReceiver::kSerial);
}

TEST_F(SimReceiverTest, IsDeafAndSilentAtAnyOtherRate) {
    devices_.SetLineRate(9600);
    EXPECT_EQ(Send("$PKVTQ,RID"), "");
    EXPECT_EQ(Send("$PKVTS,LCD,ON"), "");
    EXPECT_EQ(Send("$PKVTK,2"), "");
    EXPECT_FALSE(Receiver().Mirroring());
    EXPECT_EQ(Receiver().CurrentScreen(), SimReceiver::kStatusScreen);

    devices_.SetLineRate(38400);
    Send("$PKVTS,LCD,ON");
    ASSERT_TRUE(Receiver().Mirroring());
    // Mirroring, but the line moved away: no refreshes go out.
    devices_.SetLineRate(19200);
    clock_.Advance(5 * SimReceiver::kRefreshMs);
    EXPECT_EQ(devices_.Tick(), "");
    EXPECT_EQ(Send("$PKVTQ,RID"), "");
}

TEST_F(SimReceiverTest, HearsOnlyAtTheRateItWasGiven) {
    SimOptions options = ReceiverOnly();
    options.receiverBaud = 4800;
    SimDevices slow(clock_, options);
    slow.SetLineRate(38400);
    EXPECT_EQ(slow.Receive(Query("$PKVTQ,RID")), "");
    slow.SetLineRate(4800);
    EXPECT_EQ(Matching(slow.Receive(Query("$PKVTQ,RID")), {"PKVTR", "RID"}).size(), 1u);
}

TEST_F(SimReceiverTest, MirrorsItsStatusScreenOnceAsked) {
    EXPECT_EQ(Press(2), "") << "keys are not mirrored before LCD,ON";
    Send("$PKVTK,6");
    Send("$PKVTK,0");

    const std::string wire = Send("$PKVTS,LCD,ON");
    EXPECT_EQ(Matching(wire, {"PKVTS", "CON"}).size(), 1u);
    EXPECT_TRUE(panel_.BackLight());
    EXPECT_EQ(panel_.Row(0).substr(0, 15), "Sats 08 DGPS D ");
    EXPECT_EQ(panel_.Row(1), "Fix 3D  HDOP 1.1");
    // The last cell shows custom glyph 0, defined through the glyph memory.
    EXPECT_EQ(panel_.Cell(0, 15), 0);
    EXPECT_NE(panel_.GlyphRow(0, 6), 0);
    EXPECT_EQ(panel_.GlyphRow(0, 7), 0);
}

TEST_F(SimReceiverTest, KeyPressesWalkTheMenuAndHomeReturns) {
    Send("$PKVTS,LCD,ON");
    Press(2);  // down
    EXPECT_EQ(Receiver().CurrentScreen(), SimReceiver::kPositionScreen);
    EXPECT_EQ(panel_.Row(0).substr(0, 5), std::string("N 48\xB0", 5));
    EXPECT_EQ(panel_.Row(1).substr(0, 6), std::string("E 011\xB0", 6));

    Press(2);
    EXPECT_EQ(panel_.Row(0).substr(0, 4), "DGPS");
    Press(2);
    EXPECT_EQ(panel_.Row(0).substr(0, 11), SimReceiver::kName);
    Press(2);  // wraps
    EXPECT_EQ(Receiver().CurrentScreen(), SimReceiver::kStatusScreen);
    Press(4);  // up, wraps back
    EXPECT_EQ(Receiver().CurrentScreen(), SimReceiver::kVersionScreen);

    // A key held down moves once, on the press.
    Send("$PKVTK,4");
    Send("$PKVTK,4");
    Send("$PKVTK,4");
    Send("$PKVTK,0");
    EXPECT_EQ(Receiver().CurrentScreen(), SimReceiver::kSettingsScreen);

    // Home from a panel's button: 2 first, then 6.
    Send("$PKVTK,2");
    const std::string home = Send("$PKVTK,6");
    Send("$PKVTK,0");
    EXPECT_EQ(Receiver().CurrentScreen(), SimReceiver::kStatusScreen);
    EXPECT_EQ(Matching(home, {"PKVTS", "CLR"}).size(), 1u);
    EXPECT_EQ(panel_.Row(0).substr(0, 4), "Sats");
}

TEST_F(SimReceiverTest, SettingsKeysChangeWhatOtherScreensShow) {
    Send("$PKVTS,LCD,ON");
    Press(2);
    Press(2);
    ASSERT_EQ(Receiver().CurrentScreen(), SimReceiver::kSettingsScreen);

    Press(8);  // enter: DGPS off
    EXPECT_EQ(panel_.Row(0), "DGPS        OFF ");
    const std::string backLight = Press(1);  // right: back light off
    EXPECT_EQ(Matching(backLight, {"PKVTS", "BKL", "OFF"}).size(), 1u);
    EXPECT_FALSE(panel_.BackLight());

    Send("$PKVTK,6");
    EXPECT_EQ(panel_.Row(0).substr(0, 15), "Sats 08 DGPS G ");
    // Enter elsewhere changes nothing.
    EXPECT_EQ(Press(8), "");
}

TEST_F(SimReceiverTest, RefreshesTheLiveScreenOnceASecond) {
    Send("$PKVTS,LCD,ON");
    clock_.Advance(SimReceiver::kRefreshMs - 1);
    EXPECT_EQ(devices_.Tick(), "");
    clock_.Advance(1);
    const std::string refresh = devices_.Tick();
    ExpectAllSentences(refresh);
    EXPECT_EQ(Matching(refresh, {"PKVTS", "TXT"}).size(), 2u);
    EXPECT_TRUE(Matching(refresh, {"PKVTS", "CLR"}).empty()) << "a refresh must not flicker";

    // The satellite count moves with time.
    clock_.Advance(7000);
    panel_.Apply(devices_.Tick());
    EXPECT_EQ(panel_.Row(0).substr(0, 7), "Sats 09");

    Press(2);
    Press(2);  // settings: nothing live to refresh
    clock_.Advance(3 * SimReceiver::kRefreshMs);
    EXPECT_EQ(devices_.Tick(), "");
}

}  // namespace zelsim
