#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "base/MainWindowControls.h"
#include "gps/CourseDisplay.h"
#include "gps/GpsWindowControls.h"
#include "graph/DataFile.h"
#include "graph/GraphWindowControls.h"
#include "graph/GraphicDisplay.h"
#include "graph/RecordSampler.h"
#include "serial/MemorySerialDevice.h"
#include "serial/SentenceFramer.h"
#include "serial/SerialPort.h"
#include "support/ConfigText.h"
#include "support/FakeTickClock.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingDialogs.h"
#include "support/TempDir.h"

namespace zelsim {
namespace {

namespace gw = graph_window;
using Playback = GraphicDisplay::Playback;
using Button = GraphicDisplay::MouseButton;

std::tm FixedTime() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_hour = 14;
    return t;
}

class GraphicDisplayTest : public ::testing::Test {
  protected:
    GraphicDisplayTest() { map_.SetExplicit(1, "/dev/ttyT1"); }

    void Connect() { ASSERT_TRUE(port_.Open(1, 38400)); }
    // The main cycle's 10 ms ticks for `ms` milliseconds: the sample, then
    // the window's redraw and settings return, in the cycle's order.
    void RunCycles(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            clock_.Advance(10);
            sampler_.AfterRead(clock_.TickNow());
            display_.AfterRead(clock_.TickNow());
        }
    }
    // About `n` samples: one every 110 ms.
    void RunSamples(int n) { RunCycles(static_cast<uint32_t>(n) * 110); }
    const ControlState& Control(std::string_view name) const {
        return display_.Controls().Get(name);
    }
    int RowOf(int k) const { return sampler_.Chart().Geometry().ReadoutRow(k); }

    PortMap map_;
    std::shared_ptr<MemorySerialDevice> line_ = std::make_shared<MemorySerialDevice>();
    SerialPort port_{MemorySerialDevice::Plug(line_), map_};
    FakeTickClock clock_;
    ControlTable mainControls_;
    RecordSampler sampler_{FixedTime};
    RecordingDialogs dialogs_;
    TempDir folder_;
    CourseDisplay course_;
    GraphicDisplay display_{mainControls_, sampler_,       course_, port_,
                            dialogs_,      folder_.Path(), "2.0.1"};
};

TEST_F(GraphicDisplayTest, OpeningWithTheLineClosedHoldsWhereAFileCanBeLoaded) {
    display_.Open();
    EXPECT_TRUE(display_.Visible());
    EXPECT_FALSE(mainControls_.Get(main_window::bGraphicDisplay).enabled);
    EXPECT_TRUE(display_.Holding());
    EXPECT_EQ(Control(gw::bHold).text, "&Hold Off");
    EXPECT_TRUE(Control(gw::lHolding).visible);
    EXPECT_TRUE(Control(gw::bLoadData).enabled);
    EXPECT_FALSE(Control(gw::bPause).enabled);
    EXPECT_EQ(Control(gw::fGraphicDisplay).text, "Graphic Display of Incomming Data");
    RunSamples(5);
    EXPECT_EQ(sampler_.Ring().Count(), 0);

    // Hold released: live again.
    display_.Hold();
    EXPECT_EQ(Control(gw::bHold).text, "&Hold");
    EXPECT_FALSE(Control(gw::lHolding).visible);
    EXPECT_FALSE(Control(gw::bLoadData).enabled);
    EXPECT_TRUE(Control(gw::bPause).enabled);
    RunSamples(3);
    EXPECT_GE(sampler_.Ring().Count(), 2);
}

TEST_F(GraphicDisplayTest, PauseFreezesThePictureWhileSamplesGoOn) {
    Connect();
    display_.Open();
    EXPECT_FALSE(display_.Holding());
    RunSamples(3);
    const uint64_t live = display_.ShownRevision();
    EXPECT_GT(live, 0u);

    display_.Pause();
    EXPECT_EQ(Control(gw::bPause).text, "&Pause Off");
    EXPECT_TRUE(Control(gw::lPaused).visible);
    const int taken = sampler_.Ring().Count();
    RunSamples(3);
    EXPECT_GT(sampler_.Ring().Count(), taken);
    EXPECT_EQ(display_.ShownRevision(), live);

    // Holding while paused: still frozen, and Pause cannot be used until
    // Hold is released; then Pause shows again.
    display_.Hold();
    EXPECT_FALSE(Control(gw::bPause).enabled);
    RunSamples(3);
    EXPECT_EQ(display_.ShownRevision(), live);
    display_.Hold();
    RunSamples(2);
    EXPECT_EQ(display_.ShownRevision(), live);
    display_.Pause();
    EXPECT_EQ(Control(gw::bPause).text, "&Pause");
    EXPECT_FALSE(Control(gw::lPaused).visible);
    RunSamples(2);
    EXPECT_GT(display_.ShownRevision(), live);
}

TEST_F(GraphicDisplayTest, ClearEmptiesTheChartShowsItAndKeepsPaused) {
    Connect();
    display_.Open();
    RunSamples(4);
    sampler_.SetAutoSave(true);
    display_.Pause();
    const uint64_t frozen = display_.ShownRevision();

    display_.Clear();
    EXPECT_EQ(sampler_.Ring().Count(), 0);
    EXPECT_GT(display_.ShownRevision(), frozen);  // the empty chart is shown
    EXPECT_TRUE(display_.Paused());
    EXPECT_FALSE(sampler_.AutoSave());
    EXPECT_EQ(Control(gw::bAutoSave).text, "&Auto Save On");
    EXPECT_FALSE(Control(gw::lAutoSave).visible);
}

TEST_F(GraphicDisplayTest, ClosingCarriesTheSettingsBackWithinOneCycle) {
    Connect();
    display_.Open();
    display_.ToggleLinearGrid();
    EXPECT_EQ(Control(gw::bLinearGridOnOff).text, "Linear Grid On");
    display_.ToggleLogGrid();
    EXPECT_EQ(Control(gw::bLogGridOnOff).text, "Log Grid On");
    display_.WindowMoved(120, 80);
    EXPECT_TRUE(display_.Saved().linearGrid);  // not before the window closes

    display_.Close();
    EXPECT_FALSE(Control(gw::fGraphicDisplay).visible);
    RunCycles(10);
    EXPECT_TRUE(mainControls_.Get(main_window::bGraphicDisplay).enabled);
    EXPECT_FALSE(display_.Saved().linearGrid);
    EXPECT_FALSE(display_.Saved().logGrid);
    EXPECT_EQ(display_.Saved().left, 120);
    EXPECT_EQ(display_.Saved().top, 80);

    // Opened again, the captions name what the flags now offer.
    display_.Open();
    EXPECT_EQ(Control(gw::bLinearGridOnOff).text, "Linear Grid On");
    EXPECT_EQ(Control(gw::fGraphicDisplay).left, 120);
}

TEST_F(GraphicDisplayTest, SettingsSurviveARestartAlsoWithTheWindowStillOpen) {
    const TempDir& dir = folder_;
    ConfigFile file = ConfigWith(dir,
                                 "[Configuration]\r\nGraphicFormLeft=300\r\nGraphicFormTop=40\r\n"
                                 "LinearGrid=0\r\nBmpSaveFileIndex=7\r\nCogDisplayWidth=250\r\n");
    display_.LoadSettings(file);
    Connect();
    display_.Open();
    EXPECT_EQ(Control(gw::fGraphicDisplay).left, 300);
    EXPECT_EQ(Control(gw::bLinearGridOnOff).text, "Linear Grid On");
    display_.ToggleLogGrid();
    display_.WindowMoved(310, 50);

    // The main window closes with the graph window shown.
    const std::string saved = SavedConfig(dir, [&](ConfigFile& f) { display_.SaveSettings(f); });
    for (const char* line : {"GraphicFormLeft=310", "GraphicFormTop=50", "LinearGrid=0",
                             "LogGrid=0", "BmpSaveFileIndex=7", "DataSaveFileIndex=1",
                             "CogDisplayWidth=250", "CogDisplayHeight=200"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;
}

TEST_F(GraphicDisplayTest, TheCourseDisplayFollowsTheSampleOnDisplayWhileItIsShown) {
    ConfigFile file = ConfigWith(folder_,
                                 "[Configuration]\r\nCogDisplayLeft=900\r\nCogDisplayTop=30\r\n"
                                 "CogDisplayHeight=240\r\nCogDisplayWidth=250\r\n");
    display_.LoadSettings(file);
    Connect();
    display_.Open();
    const ControlState& cog = course_.Controls().Get(cog_window::fCogDisplay);
    EXPECT_EQ(std::pair(cog.left, cog.top), std::pair(900, 30));
    EXPECT_EQ(std::pair(cog.width, cog.height), std::pair(250, 240));
    EXPECT_FALSE(course_.Visible());

    SentenceFramer framer;
    const auto course = [&](const char* degrees) {
        const std::string plt2 = std::string("$PKVTR,DML,PLT2,1.5,-0.25,-2.0,4807.0385,N,") +
                                 "01131.000,E,D,9," + degrees + ",4470,35,3,1024,0,1";
        ASSERT_EQ(framer.ParseText(plt2), SentenceFramer::kSentenceReady);
        sampler_.DecodeDml(framer, proprietary::RecordType::kLive);
    };
    course("45.0");
    RunSamples(2);
    display_.ToggleCourseDisplay();
    EXPECT_TRUE(course_.Visible());
    EXPECT_EQ(course_.Course(), 450);  // at once, not at the next redraw
    course("-90.0");
    RunSamples(2);
    EXPECT_EQ(course_.Course(), -900);
    display_.ToggleCourseDisplay();
    EXPECT_FALSE(course_.Visible());
    course("180.0");
    RunSamples(2);
    EXPECT_EQ(course_.Course(), -900);  // hidden: not fed

    // Moved and resized by the user, shown again, then the graph window
    // closes: the course display goes with it and its bounds are kept.
    display_.ToggleCourseDisplay();
    course_.Moved(700, 60);
    course_.Resized(300, 280);
    display_.Close();
    EXPECT_FALSE(course_.Visible());
    RunCycles(10);
    const GraphicDisplay::Settings& saved = display_.Saved();
    EXPECT_EQ(saved.cogLeft, 700);
    EXPECT_EQ(saved.cogTop, 60);
    EXPECT_EQ(saved.cogWidth, 300);
    EXPECT_EQ(saved.cogHeight, 280);
}

TEST_F(GraphicDisplayTest, TraceSwitchesCycleAndTheScalePopupRefillsTheRows) {
    Connect();
    display_.Open();
    DiagnosticRecord r;
    r.offErrCM = 250;
    sampler_.AppendRecord(r);
    const TraceTable& traces = sampler_.Chart().Traces();
    const int offsetSwitchY = RowOf(4);  // trace 2, the offset error
    const int switchX = 200;

    EXPECT_FALSE(display_.MouseDown(switchX, offsetSwitchY, Button::kLeft));
    EXPECT_EQ(traces.ModeOf(2), TraceTable::Mode::kLog);
    display_.MouseDown(switchX, offsetSwitchY, Button::kLeft);
    EXPECT_EQ(traces.ModeOf(2), TraceTable::Mode::kOff);
    display_.MouseDown(switchX, offsetSwitchY, Button::kLeft);
    EXPECT_EQ(traces.ModeOf(2), TraceTable::Mode::kLinear);

    const std::optional<int> popup = display_.MouseDown(switchX, offsetSwitchY, Button::kRight);
    ASSERT_EQ(popup, 2);
    const GraphicDisplay::ScalePopup menu = display_.PopupFor(*popup);
    EXPECT_EQ(menu.title, "Signed");
    EXPECT_EQ(menu.captions[3], ".5 m/div");
    EXPECT_EQ(menu.checked, 3);
    EXPECT_EQ(display_.PopupFor(0).title, "Unsigned");

    // 250 cm at full scale draws on the top line; on "10 m/div" near the centre.
    const ChartGeometry& g = sampler_.Chart().Geometry();
    EXPECT_EQ(sampler_.Ring().At(0).p2, g.top);
    display_.ChooseScale(2, 0);
    EXPECT_EQ(display_.PopupFor(2).checked, 0);
    EXPECT_EQ(sampler_.Ring().At(0).p2, g.centre - 250 * (g.centre - g.top) / 5000);
}

TEST_F(GraphicDisplayTest, HoldingTheButtonOnADeviceShowsItsSerialNumber) {
    Connect();
    display_.Open();
    const ReadoutPanel& readout = sampler_.Chart().Readout();
    display_.MouseDown(20, RowOf(10), Button::kLeft);
    EXPECT_TRUE(readout.ShowsSerial(DeviceSlot::kLightbar));
    EXPECT_FALSE(readout.ShowsSerial(DeviceSlot::kController));
    display_.MouseUp(Button::kLeft);
    EXPECT_FALSE(readout.ShowsSerial(DeviceSlot::kLightbar));
    // The right button does nothing there.
    display_.MouseDown(20, RowOf(9), Button::kRight);
    EXPECT_FALSE(readout.ShowsSerial(DeviceSlot::kController));
}

TEST_F(GraphicDisplayTest, HoldBrowsingAndPlaybackMoveThroughTheRing) {
    Connect();
    display_.Open();
    RunSamples(100);
    const RecordRing& ring = sampler_.Ring();
    const StripChart& chart = sampler_.Chart();
    const int shown = chart.Geometry().samples;
    ASSERT_GT(ring.Count(), shown + 20);
    // Live, the bar follows the newest and cannot be moved.
    EXPECT_FALSE(Control(gw::sbGraphTime).enabled);
    display_.MoveTime(0);
    EXPECT_EQ(chart.EndIndex(), ring.NewestIndex());

    display_.Hold();
    EXPECT_TRUE(Control(gw::sbGraphTime).enabled);
    const int last = ring.Count() - shown;
    EXPECT_EQ(Control(gw::sbGraphTime).maximum, last);
    display_.ToFront();
    EXPECT_EQ(chart.EndIndex(), ring.OldestIndex() + shown - 1);
    EXPECT_EQ(Control(gw::sbGraphTime).position, 0);

    display_.Play(Playback::kForwardFast);
    EXPECT_TRUE(Control(gw::sbForwardFast).checked);
    RunSamples(1);
    EXPECT_EQ(chart.EndIndex(), ring.OldestIndex() + shown - 1 + 10);
    // At the newest sample the pressed button comes up.
    RunSamples(last / 10 + 2);
    EXPECT_EQ(chart.EndIndex(), ring.NewestIndex());
    EXPECT_EQ(display_.Playing(), Playback::kStopped);
    EXPECT_FALSE(Control(gw::sbForwardFast).checked);

    display_.MoveTime(5);
    display_.Play(Playback::kReverse);
    RunSamples(1);
    EXPECT_EQ(Control(gw::sbGraphTime).position, 4);
    // Leaving Hold stops the playback.
    display_.Hold();
    EXPECT_EQ(display_.Playing(), Playback::kStopped);
    EXPECT_FALSE(Control(gw::sbReverse).checked);
}

TEST(GraphicDisplayCaption, NamesTheLiveDataOrTheFileByItsEnd) {
    EXPECT_EQ(GraphicDisplay::Caption(""), "Graphic Display of Incomming Data");
    EXPECT_EQ(GraphicDisplay::Caption("/data/ZelSim001.txt"),
              "Graphic Display of /data/ZelSim001.txt");
    const std::string longName = "/home/field/runs/2026/december/north-paddock/ZelSim012.txt";
    ASSERT_GE(longName.size(), 53u);
    EXPECT_EQ(GraphicDisplay::Caption(longName),
              "Graphic Display of ..." + longName.substr(longName.size() - 53));
}

TEST(ChartAreas, TheNineClickAreasLieOverTheReadoutRows) {
    const ChartGeometry g = ComputeChartGeometry(786, 448);
    using Kind = ChartArea::Kind;
    EXPECT_EQ(ChartAreaAt(g, 400, 100).kind, Kind::kPlot);
    // Trace t's switch: 18 pixels from 2 above row 2t, x 154 to 381.
    for (int t = 0; t < 6; ++t) {
        const int top = 272 + 28 * t - 2;
        EXPECT_EQ(ChartAreaAt(g, 154, top).kind, Kind::kTraceSwitch) << t;
        EXPECT_EQ(ChartAreaAt(g, 380, top + 17).index, t);
        EXPECT_NE(ChartAreaAt(g, 381, top).kind, Kind::kTraceSwitch);
    }
    EXPECT_EQ(ChartAreaAt(g, 200, 272 - 3).kind, Kind::kNone);
    // Devices on rows 9 to 11, left of the first border.
    const ChartArea dgps = ChartAreaAt(g, 0, 272 + 14 * 11);
    EXPECT_EQ(dgps.kind, Kind::kSerialNumber);
    EXPECT_EQ(dgps.index, 2);
    EXPECT_EQ(ChartAreaAt(g, 153, 272 + 14 * 11 + 15).index, 2);
    // Where two rows' areas overlap, the lower row's lies on top.
    EXPECT_EQ(ChartAreaAt(g, 20, 272 + 14 * 10).index, 1);
    EXPECT_EQ(ChartAreaAt(g, 20, 272 + 14 * 8).kind, Kind::kNone);
}

}  // namespace
}  // namespace zelsim

namespace zelsim {
namespace {

// The graph window's files, in a folder of the test's own.
class GraphFilesTest : public GraphicDisplayTest {
  protected:
    GraphFilesTest() {
        Connect();
        display_.Open();
    }
    void Append(int n) {
        for (int i = 0; i < n; ++i) sampler_.AppendRecord(DiagnosticRecord{});
    }
    std::string DataFile(int index) const {
        char name[32];
        std::snprintf(name, sizeof name, "ZelSim%03d.txt", index);
        return folder_.File(name);
    }
    int LinesOf(const std::string& path) const {
        const std::string text = TempDir::Read(path);
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }
    std::string Report() const { return Control(gw::lFileReport).text; }
};

TEST_F(GraphFilesTest, SaveDataTakesTheNextFreeNumber) {
    display_.SaveData();  // nothing stored: nothing written
    EXPECT_EQ(display_.Controls().Get(gw::lFileReport).text, "");
    display_.Close();
    RunCycles(10);
    EXPECT_EQ(display_.Saved().dataIndex, 1);

    TempDir::Write(DataFile(1), "someone else's");
    display_.Open();
    if (display_.Holding()) display_.Hold();
    Append(3);
    display_.SaveData();
    EXPECT_EQ(LinesOf(DataFile(2)), 2 + 3);
    EXPECT_EQ(Report(), "Saved 3 records to " + DataFile(2));
    EXPECT_FALSE(Control(gw::lFileReport).alert);
    EXPECT_EQ(TempDir::Read(DataFile(1)), "someone else's");
    display_.Close();
    RunCycles(10);
    EXPECT_EQ(display_.Saved().dataIndex, 3);  // past every name tried
}

TEST_F(GraphFilesTest, AutoSaveWritesEachFullRingAndTheRestWhenSwitchedOff) {
    Append(10);  // before Auto Save: never saved by it
    display_.ToggleAutoSave();
    EXPECT_EQ(Control(gw::bAutoSave).text, "&Auto Save Off");
    EXPECT_TRUE(Control(gw::lAutoSave).visible);
    Append(RecordRing::kCapacity);
    EXPECT_EQ(LinesOf(DataFile(1)), 2 + RecordRing::kCapacity);
    Append(250);
    display_.ToggleAutoSave();
    EXPECT_EQ(Control(gw::bAutoSave).text, "&Auto Save On");
    EXPECT_EQ(LinesOf(DataFile(2)), 2 + 250);
    // Closing with Auto Save on saves what came since.
    display_.ToggleAutoSave();
    Append(7);
    display_.Close();
    EXPECT_EQ(LinesOf(DataFile(3)), 2 + 7);
    EXPECT_TRUE(dialogs_.warnings.empty());
}

TEST_F(GraphFilesTest, FailedSavesAreSaidWithWhereAndWhy) {
    Append(5);
    // Every name taken.
    for (int i = 1; i <= GraphFiles::kNameTries; ++i) TempDir::Write(DataFile(i), "");
    display_.SaveData();
    EXPECT_TRUE(Control(gw::lFileReport).alert);
    EXPECT_NE(Report().find("all exist"), std::string::npos) << Report();
    ASSERT_EQ(dialogs_.warnings.size(), 1u);

    // A full disk: the file is there but incomplete, and says so.
    {
        const FileSizeLimit full(100);
        ASSERT_TRUE(full.Applied());
        display_.SaveData();
    }
    EXPECT_NE(Report().find("incomplete"), std::string::npos) << Report();
    EXPECT_NE(Report().find(DataFile(901)), std::string::npos) << Report();

    // An automatic save says it in the window, not in a box.
    std::filesystem::remove_all(folder_.Path());
    dialogs_.warnings.clear();
    display_.ToggleAutoSave();
    Append(RecordRing::kCapacity);
    EXPECT_NE(Report().find("could not be created"), std::string::npos) << Report();
    EXPECT_TRUE(dialogs_.warnings.empty());

    // A picture that could not be written.
    display_.SaveGraph([](const std::string&) { return std::optional<std::string>("no room"); });
    EXPECT_EQ(Report(), "Picture not saved: ZelSim001.bmp could not be written (no room).");
    display_.SaveGraph([](const std::string&) { return std::optional<std::string>(); });
    EXPECT_EQ(Report(), "Saved the picture to " +
                            (std::filesystem::current_path() / "ZelSim002.bmp").string());
}

TEST_F(GraphFilesTest, ASavedFileLoadsBackWithItsIdentitiesAndName) {
    sampler_.Identities().SetLive(DeviceSlot::kLightbar, "LB240", "24.10", "200017");
    DiagnosticRecord r;
    r.offErrCM = 31;
    for (int i = 0; i < 100; ++i) sampler_.AppendRecord(r);
    display_.SaveData();
    const std::string saved = DataFile(1);

    display_.Hold();
    dialogs_.openChoice = saved;
    display_.LoadData();
    EXPECT_EQ(dialogs_.openRequests.at(0).filters,
              (std::vector<std::string>{"Data files (*.txt)", "All files (*)"}));
    EXPECT_EQ(sampler_.Ring().Count(), 100);
    EXPECT_EQ(sampler_.Ring().At(99).offErrCM, 31);
    EXPECT_EQ(sampler_.Identities().Displayed(DeviceSlot::kLightbar).Name(), "LB240");
    EXPECT_EQ(Control(gw::fGraphicDisplay).text, "Graphic Display of " + saved);
    EXPECT_TRUE(sampler_.LoadedData());

    // Leaving Hold goes back to live: the chart empty, the caption live.
    display_.Hold();
    EXPECT_EQ(sampler_.Ring().Count(), 0);
    RunSamples(2);
    EXPECT_EQ(Control(gw::fGraphicDisplay).text, "Graphic Display of Incomming Data");
}

TEST_F(GraphFilesTest, AFileThatIsNoDataFileLeavesTheChartAsItWas) {
    Append(4);
    display_.Hold();
    display_.LoadFile(folder_.File("missing.txt"));
    ASSERT_EQ(dialogs_.warnings.size(), 1u);
    EXPECT_EQ(dialogs_.warnings[0],
              "File Open Error: Unable to open file - " + folder_.File("missing.txt"));
    const std::string notes = folder_.File("notes.txt");
    TempDir::Write(notes, std::string(data_file::Header(4)) + " \r\n1,2\r\n");
    display_.LoadFile(notes);
    EXPECT_EQ(dialogs_.warnings.at(1), "File Error: File Format Error - " + notes);
    EXPECT_EQ(sampler_.Ring().Count(), 4);
    EXPECT_TRUE(Control(gw::lFileReport).alert);
    EXPECT_EQ(Control(gw::fGraphicDisplay).text, "Graphic Display of Incomming Data");
}

TEST_F(GraphFilesTest, ALoadedFileIsCopiedOnceFullWhileAutoSaveIsOn) {
    std::string text = std::string(data_file::Header(4)) + "\r\n";
    for (int i = 0; i < RecordRing::kCapacity; ++i) text += "a,b\r\n";
    const std::string path = folder_.File("full.txt");
    TempDir::Write(path, text);
    display_.ToggleAutoSave();
    display_.Hold();
    display_.LoadFile(path);
    EXPECT_EQ(LinesOf(DataFile(1)), 2 + RecordRing::kCapacity);
}

}  // namespace
}  // namespace zelsim
