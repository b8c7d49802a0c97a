#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/ChartDrawing.h"
#include "graph/ChartGeometry.h"
#include "graph/DiagnosticRecord.h"
#include "graph/ReadoutFormat.h"
#include "graph/ReadoutPanel.h"
#include "graph/TraceTable.h"

namespace zelsim {

namespace {

namespace rf = readout_format;

TEST(ReadoutFormat, SignsSpacesAndTheMetresRule) {
    EXPECT_EQ(rf::Signed(" %c% 4d.%02dm", -25, 100), " -   0.25m");
    EXPECT_EQ(rf::Signed(" %c% 4d.%02dm", 0, 100), "     0.00m");
    EXPECT_EQ(rf::Signed("%c% 6d.%1d", 123, 10), "+    12.3");
    EXPECT_EQ(rf::SignedWhole(" %c% 4d%%", -7), " -   7%");
    EXPECT_EQ(rf::Signed("%c%1d.%03dm", INT32_MIN, 1000), "-2147483.648m");
    EXPECT_EQ(rf::Plain("%3d.%03dm", 1500, 1000), "  1.50 m");
    EXPECT_EQ(rf::Plain("%3d.%03dm", 2000, 1000), "  2.00 m");
    EXPECT_EQ(rf::Plain("%3d.%03dm", 12345, 1000), " 12.345m");
    EXPECT_EQ(rf::Plain("%3d.%03ds", 1500, 1000), "  1.500s") << "metres only";
    EXPECT_EQ(rf::Plain("%3d.%02d s", 100 / 10, 100), "  0.10 s");
    // A negative plain value: one '-' before the number.
    EXPECT_EQ(rf::Plain("% 6d.%1d\xB0", -5, 10), "    -0.5\xB0");
    EXPECT_EQ(rf::Plain("%3d.%03dm", -1500, 1000), " -1.50 m");
    EXPECT_EQ(rf::Plain("%1d.%01d", -12, 10), "-1.2");
}

class ReadoutPanelTest : public ::testing::Test {
  protected:
    static constexpr int kDevices = 154;  // the first column's right border
    static constexpr int kTraces = 381;
    // The texts drawn at row k from x `from` up to `to`, in drawing order.
    std::vector<std::string> Row(int k, int from = 0, int to = 786) const {
        std::vector<std::string> texts;
        for (const ChartDrawing::Item& item : drawing_.items)
            if (const auto* t = std::get_if<ChartDrawing::Text>(&item);
                t && t->at.y == g_.ReadoutRow(k) && t->at.x >= from && t->at.x < to)
                texts.push_back(t->text);
        return texts;
    }
    bool Shows(const std::string& text) const {
        for (const ChartDrawing::Item& item : drawing_.items)
            if (const auto* t = std::get_if<ChartDrawing::Text>(&item); t && t->text == text)
                return true;
        return false;
    }
    size_t Count(Colour colour) const {
        size_t n = 0;
        for (const ChartDrawing::Item& item : drawing_.items)
            if (const auto* l = std::get_if<ChartDrawing::Line>(&item); l && l->colour == colour)
                ++n;
        return n;
    }
    void Draw() {
        drawing_.items.clear();
        panel_.Draw(record_, traces_, identities_, g_, drawing_);
    }

    ChartGeometry g_ = ComputeChartGeometry(786, 448);
    DiagnosticRecord record_;
    TraceTable traces_;
    DeviceIdentities identities_;
    ReadoutPanel panel_;
    ChartDrawing drawing_;
};

TEST_F(ReadoutPanelTest, SettingsAndRulesWaitForTheControllersAnswer) {
    record_.latDeg = -33;
    record_.latUMin = -52123456;
    record_.rMd = ' ';
    record_.strMode = 7;
    record_.olTonLen = 1500;
    Draw();
    EXPECT_EQ(Row(3), (std::vector<std::string>{"Lat",
                                                "S 33\xB0"
                                                "52.1234'"}));
    // Within the first degree west: the sign of the whole value.
    record_.lonDeg = 0;
    record_.lonUMin = -30000000;
    Draw();
    EXPECT_EQ(Row(4).at(1),
              "W000\xB0"
              "30.0000'");
    EXPECT_EQ(Row(7).back(), "           ?");
    EXPECT_FALSE(Shows("       Off        ")) << "a mode of 7 has no banner";
    EXPECT_FALSE(Shows("OL TongueLength"));
    EXPECT_EQ(Count(ReadoutPanel::kRule), 0u);

    record_.firstRsp = 1;
    record_.strMode = 3;
    record_.spsZCtrl = 5;
    record_.solCType = 3;
    record_.spsCur = 10240;
    Draw();
    EXPECT_TRUE(Shows("     On Line      "));
    EXPECT_EQ(Row(3).back(), "  1.50 m") << "OL TongueLength";
    EXPECT_EQ(Row(0)[Row(0).size() - 3], "    ? ") << "SPS ZControl";
    EXPECT_TRUE(Shows("  PWM "));
    EXPECT_TRUE(Shows(" 50.0%"));
    EXPECT_EQ(Count(ReadoutPanel::kRule), 11u);
}

TEST_F(ReadoutPanelTest, DevicesShowTheirSerialWhileHeldAndHiddenTracesKeepTheirName) {
    identities_.SetDisplayed(DeviceSlot::kLightbar, "Bar", "2.1", "4711");
    panel_.ShowSerial(DeviceSlot::kLightbar);
    traces_.Cycle(2);
    traces_.Cycle(2);  // offset error off
    traces_.Cycle(3);  // angle error logarithmic
    record_.offErrCM = -25;
    Draw();
    EXPECT_EQ(Row(10, 0, kDevices), (std::vector<std::string>{"ser num=4711"}));
    EXPECT_TRUE(Row(9, 0, kDevices).empty()) << "no controller heard: its row stays empty";
    EXPECT_EQ(Row(4, kDevices, kTraces),
              (std::vector<std::string>{" -   0.25m", "off", "Offset Err"}));
    EXPECT_EQ(Row(6, kDevices, kTraces)[1], "LOG ");

    panel_.HideSerials();
    Draw();
    EXPECT_EQ(Row(10, 0, kDevices), (std::vector<std::string>{"      2.1", "Bar"}));
}

}  // namespace

}  // namespace zelsim
