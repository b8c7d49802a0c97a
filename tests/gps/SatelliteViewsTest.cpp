#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gnss/GnssDecoder.h"
#include "gps/SatelliteList.h"
#include "gps/SkyPlot.h"
#include "gps/SvStatusTable.h"
#include "serial/SentenceFramer.h"
#include "support/GnssRead.h"

namespace zelsim {
namespace {

class SatelliteViewsTest : public ::testing::Test {
  protected:
    void Read(std::initializer_list<std::string_view> sentences) {
        GnssRead(framer_, decoder_, 0, sentences);
    }
    std::vector<SatelliteList::Entry> Entries() const { return SatelliteList::From(decoder_); }

    SentenceFramer framer_;
    GnssDecoder decoder_;
};

TEST_F(SatelliteViewsTest, TheListRunsByConstellationPrnAndSignalWithTheirLabels) {
    Read({"$GAGSV,1,1,02,11,40,090,44,05,10,200,,7", "$GAGSV,1,1,01,11,40,090,38,1",
          "$GLGSV,1,1,01,71,60,300,30", "$GPGSV,1,1,02,12,05,045,22,03,80,180,47",
          "$GNGSA,A,3,12,,,,,,,,,,,,1.5,0.9,1.2,1"});
    const auto entries = Entries();
    std::vector<std::string> labels;
    for (const auto& e : entries)
        labels.push_back(SatelliteList::Label(e) + "/" + std::to_string(e.satellite.signalId));
    EXPECT_EQ(labels,
              (std::vector<std::string>{"G03/0", "G12/0", "R71/0", "E05/7", "E11/1", "E11/7"}));
    EXPECT_EQ(SatelliteList::SystemName(entries[2].talker), "GLONASS");

    const auto rows = SvStatusTable::Rows(entries);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1].cells, (std::array<std::string, 7>{"GPS", "12", "", "5", "45", "22", "yes"}));
    // Galileo 5 is not tracked: no strength, no bar.
    EXPECT_EQ(rows[3].cells,
              (std::array<std::string, 7>{"Galileo", "5", "7", "10", "200", "", ""}));
    EXPECT_EQ(rows[3].snr, SatelliteInView::kUnset);
    // Galileo 11 on two signals is one satellite.
    EXPECT_EQ(SvStatusTable::Summary(entries), "5 satellites in view, 1 used");

    const std::string text = SvStatusTable::TabSeparated(rows);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "System\tPRN\tSignal\tElev \xB0\tAzim \xB0\tSNR dB-Hz\tUsed");
    EXPECT_NE(text.find("\r\nGPS\t12\t\t5\t45\t22\tyes\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
}

TEST_F(SatelliteViewsTest, AnEmptySkyIsSaidSo) {
    EXPECT_EQ(SvStatusTable::Summary(Entries()), "no satellites in view");
    EXPECT_EQ(SvStatusTable::TabSeparated({}),
              "System\tPRN\tSignal\tElev \xB0\tAzim \xB0\tSNR dB-Hz\tUsed\r\n");
    Read({"$GPGSV,1,1,01,07,30,100,35"});
    EXPECT_EQ(SvStatusTable::Summary(Entries()), "1 satellite in view, 0 used");
    Read({"$GPGSV,1,1,00"});
    EXPECT_EQ(SvStatusTable::Summary(Entries()), "no satellites in view");
}

TEST_F(SatelliteViewsTest, TheSkyMarksEachSatelliteOnceInItsStrongestColour) {
    Read({"$GAGSV,1,1,02,11,40,090,44,05,,200,30,7", "$GAGSV,1,1,01,11,40,090,18,1",
          "$GAGSA,A,3,11,,,,,,,,,,,,1.5,0.9,1.2,3"});
    const auto marks = SkyPlot::Marks(Entries());
    // Galileo 5 has no elevation: listed, not placed.
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].label, "E11");
    EXPECT_EQ(marks[0].centre, SkyPlot::Place(40, 90));
    EXPECT_EQ(marks[0].colour, SatelliteList::SnrColour(44));
    EXPECT_TRUE(marks[0].filled);
}

TEST(SatelliteListTest, StrengthBandsAndBars) {
    EXPECT_NE(SatelliteList::SnrColour(SatelliteInView::kUnset), SatelliteList::SnrColour(10));
    EXPECT_NE(SatelliteList::SnrColour(19), SatelliteList::SnrColour(20));
    EXPECT_EQ(SatelliteList::SnrColour(40), SatelliteList::SnrColour(99));
    EXPECT_EQ(SatelliteList::SnrBarWidth(30, 120), 60);
    EXPECT_EQ(SatelliteList::SnrBarWidth(99, 120), 120);
    EXPECT_EQ(SatelliteList::SnrBarWidth(0, 120), 0);
    EXPECT_EQ(SatelliteList::SnrBarWidth(SatelliteInView::kUnset, 120), 0);
}

}  // namespace
}  // namespace zelsim
