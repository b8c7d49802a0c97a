#include <gtest/gtest.h>

#include <string>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "gnss/GnssDecoder.h"
#include "gps/GpsWindowControls.h"
#include "gps/GpsWindows.h"
#include "serial/SentenceFramer.h"
#include "support/ConfigText.h"
#include "support/GnssRead.h"
#include "support/TempDir.h"

namespace zelsim {
namespace {

namespace mw = main_window;
namespace dw = deviation_window;

class GpsWindowsTest : public ::testing::Test {
  protected:
    bool Checked(std::string_view item) const { return main_.Get(item).checked; }
    // One read of the line at `now`, then the cycle's steps after it.
    void Read(uint32_t now, std::initializer_list<std::string_view> sentences) {
        GnssRead(framer_, decoder_, now, sentences);
        gps_.AfterRead(now);
    }
    static std::string Gga(const char* time, const char* north) {
        return std::string("$GPGGA,") + time + "," + north + ",N,01131.000,E,1,08,0.9,500.0,M,,M,,";
    }
    size_t Rows() const { return gps_.SvStatusWindow().Rows().size(); }
    const std::string& Field(std::string_view name) {
        return gps_.DeviationWindow().Window().Controls().Get(name).text;
    }

    ControlTable main_;
    SentenceFramer framer_;
    GnssDecoder decoder_;
    GpsWindows gps_{main_, decoder_};
    TempDir folder_;
};

TEST_F(GpsWindowsTest, EachItemKeepsItsOwnCheckMarkRule) {
    // SV Status: the second click closes the window.
    gps_.ClickSvStatus();
    EXPECT_TRUE(gps_.SvStatusWindow().Window().Visible());
    EXPECT_TRUE(Checked(mw::mSvStatus));
    gps_.ClickSvStatus();
    EXPECT_FALSE(gps_.SvStatusWindow().Window().Visible());
    EXPECT_FALSE(Checked(mw::mSvStatus));

    // Deviation: a click while open only clears the mark.
    ToolWindow& deviation = gps_.DeviationWindow().Window();
    gps_.ClickPositionDeviation();
    EXPECT_TRUE(deviation.Visible());
    EXPECT_TRUE(Checked(mw::mPositionDeviation));
    gps_.ClickPositionDeviation();
    EXPECT_TRUE(deviation.Visible());
    EXPECT_FALSE(Checked(mw::mPositionDeviation));
    gps_.ClickPositionDeviation();  // the mark follows the open window, then turns
    EXPECT_TRUE(deviation.Visible());
    EXPECT_FALSE(Checked(mw::mPositionDeviation));
    deviation.OnHide();  // the close box
    gps_.ClickPositionDeviation();
    EXPECT_TRUE(deviation.Visible());
    EXPECT_TRUE(Checked(mw::mPositionDeviation));

    // Sky view (and the simulator alike): closed with the close box it keeps
    // its mark; the next click clears it without showing the window, and the
    // click after that shows it.
    for (auto [click, item, window] :
         {std::tuple{&GpsWindows::ClickSkyView, mw::mSkyView, &gps_.SkyViewWindow().Window()},
          std::tuple{&GpsWindows::ClickGpsSimulator, mw::mGpsSim, &gps_.GpsSimulatorWindow()}}) {
        (gps_.*click)();
        EXPECT_TRUE(window->Visible());
        window->OnHide();
        EXPECT_TRUE(Checked(item));
        (gps_.*click)();
        EXPECT_FALSE(window->Visible());
        EXPECT_FALSE(Checked(item));
        (gps_.*click)();
        EXPECT_TRUE(window->Visible());
        EXPECT_TRUE(Checked(item));
    }
}

TEST_F(GpsWindowsTest, AWindowOpensWhereItWasLastMovedAndTheConfigurationKeepsThat) {
    ConfigFile file = ConfigWith(folder_, "[Configuration]\r\nSkyViewLeft=40\r\nSkyViewTop=50\r\n");
    gps_.LoadSettings(file);
    ToolWindow& sky = gps_.SkyViewWindow().Window();
    const ControlTable& table = sky.Controls();
    gps_.ClickSkyView();
    EXPECT_EQ(table.Get(sky_view_window::fSkyView).left, 40);
    EXPECT_EQ(table.Get(sky_view_window::fSkyView).top, 50);
    sky.Moved(600, 420);
    gps_.ClickSkyView();  // the mark off
    gps_.ClickSkyView();
    EXPECT_EQ(table.Get(sky_view_window::fSkyView).left, 600);
    EXPECT_EQ(table.Get(sky_view_window::fSkyView).top, 420);

    const std::string saved = SavedConfig(folder_, [&](ConfigFile& f) { gps_.SaveSettings(f); });
    for (const char* line : {"SkyViewLeft=600", "SkyViewTop=420", "PositionDeviationLeft=0",
                             "SvStatusTop=0", "GpsSimulatorLeft=0"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;
}

TEST_F(GpsWindowsTest, TheSatelliteListIsShownOnceAReceiverCycleAsSoonAsItsSkyIsWhole) {
    gps_.ClickSvStatus();
    EXPECT_EQ(Rows(), 0u);
    // Fix first, sky after: shown once the receiver moves on from the sky.
    Read(0, {Gga("120000.00", "4807.000")});
    Read(300, {"$GPGSV,2,1,02,05,40,090,44"});
    EXPECT_EQ(Rows(), 0u);  // half a cycle of GSV
    Read(310, {"$GPGSV,2,2,02,07,10,200,30"});
    EXPECT_EQ(Rows(), 0u);
    Read(600, {"$GPRMC,120000.00,A,4807.000,N,01131.000,E,0.0,0.0,071226,,,A"});
    EXPECT_EQ(Rows(), 2u);
    // Once a cycle: more sky in the same cycle waits for the next one.
    Read(700, {"$GPGSV,1,1,03,05,40,090,44,07,10,200,30,09,20,300,25"});
    Read(800, {"$GPGSA,A,3,05,,,,,,,,,,,,1.5,0.9,1.2"});
    EXPECT_EQ(Rows(), 2u);
    Read(1000, {Gga("120001.00", "4807.000")});
    EXPECT_EQ(Rows(), 3u);
    // Sky last in its cycle: shown when the next cycle begins.
    Read(2000, {Gga("120002.00", "4807.000")});
    Read(2300, {"$GPGSV,1,1,01,05,40,090,44"});
    EXPECT_EQ(Rows(), 3u);
    Read(3000, {Gga("120003.00", "4807.000")});
    EXPECT_EQ(Rows(), 1u);
    // A receiver without fix sentences is followed a second at a time.
    Read(3100, {"$GPGSV,1,1,02,05,40,090,44,07,10,200,30"});
    Read(4000, {});
    EXPECT_EQ(Rows(), 1u);
    Read(4001, {});
    EXPECT_EQ(Rows(), 2u);
    // A sky that stops coming leaves the list.
    Read(3100 + GnssDecoder::kStaleSkyMs, {});
    EXPECT_EQ(Rows(), 2u);
    Read(3101 + GnssDecoder::kStaleSkyMs, {});
    EXPECT_EQ(Rows(), 0u);
    EXPECT_EQ(
        gps_.SvStatusWindow().Window().Controls().Get(sv_status_window::lSatelliteSummary).text,
        "no satellites in view");
}

TEST_F(GpsWindowsTest, TheDeviationCountsFixesWhileOpenAndRunning) {
    Read(0, {Gga("120000.00", "4807.000")});  // closed: not counted
    EXPECT_EQ(Field(dw::lSampleCount), "0");
    EXPECT_EQ(Field(dw::lSampleTarget), "600");
    EXPECT_EQ(Field(dw::lDeviation), "");
    gps_.ClickPositionDeviation();
    Read(1000, {Gga("120001.00", "4807.000"), "$GPGGA,120001.00,,,,,0,00,,,M,,M,,"});
    // One fix however many sentences and talkers report it; a receiver
    // that sends only RMC is counted too.
    Read(2000, {Gga("120002.00", "4807.000"),
                "$GNGGA,120002.00,4807.000,N,01131.000,E,1,08,0.9,500.0,M,,M,,",
                "$GPRMC,120002.00,A,4807.000,N,01131.000,E,0.0,0.0,071226,,,A"});
    EXPECT_EQ(Field(dw::lSampleCount), "2");
    Read(2500, {"$GPRMC,120002.50,A,4807.000,N,01131.000,E,0.0,0.0,071226,,,A"});
    EXPECT_EQ(Field(dw::lSampleCount), "3");
    EXPECT_EQ(Field(dw::lDeviation), "0.00 m");
    EXPECT_EQ(Field(dw::lReferencePositionLat), "48\xB0 07.000000' N");
    EXPECT_EQ(Field(dw::lCurrentPositionLon), "11\xB0 31.000000' E");

    DeviationWindow& window = gps_.DeviationWindow();
    window.StopRun();
    EXPECT_EQ(window.Window().Controls().Get(dw::bStopRun).text, "&Run");
    Read(3000, {Gga("120003.00", "4807.100")});
    EXPECT_EQ(Field(dw::lSampleCount), "3");
    window.StopRun();
    Read(4000, {Gga("120004.00", "4807.001")});
    EXPECT_EQ(Field(dw::lSampleCount), "4");
    EXPECT_EQ(Field(dw::lCurrentPositionLat), "48\xB0 07.001000' N");
    EXPECT_NE(Field(dw::lDeviation), "0.00 m");

    window.Reset();
    EXPECT_EQ(Field(dw::lSampleCount), "0");
    EXPECT_EQ(Field(dw::lReferencePositionLat), "");
    window.Close();
    EXPECT_FALSE(window.Window().Visible());
}

}  // namespace
}  // namespace zelsim
