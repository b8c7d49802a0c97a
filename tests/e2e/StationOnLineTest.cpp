// The whole station as the user meets it: a real main window on a real line,
// its own 10 ms timer running the main cycle inside the event loop. The far
// end is either a pseudo-terminal the test writes and reads, or zelsim-sim.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/AppKeyFilter.h"
#include "app/SimulatorProcess.h"
#include "app/TfZelSim.h"
#include "app/ZelSim.h"
#include "base/LocalTime.h"
#include "base/MainWindowControls.h"
#include "base/NmeaChecksum.h"
#include "base/SteadyTickClock.h"
#include "graph/GraphicDisplay.h"
#include "graph/RecordSampler.h"
#include "graph/TfGraphicDisplay.h"
#include "monitor/MessageCategory.h"
#include "monitor/MessageMonitorView.h"
#include "monitor/MonitorLayout.h"
#include "panel/PanelScreen.h"
#include "serial/PortMap.h"
#include "serial/QtSerialDevice.h"
#include "support/EventWatch.h"
#include "support/FarEnd.h"
#include "support/RecordingDialogs.h"
#include "support/TempDir.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr int kCom = 1;
constexpr int kDeadlineMs = kFarEndDeadlineMs;  // some waits span a 3-second settings period

std::string WithChecksum(std::string_view body) {
    return "$" + std::string(body) + ChecksumSuffix(NmeaChecksum(body)) + "\r\n";
}

class StationWindowTest : public ::testing::Test {
  protected:
    void TearDown() override {
        window_.reset();
        zelSim_.reset();
    }

    void StartWindow(const std::string& devicePath, const std::string& startDirectory = ".") {
        ports_.SetExplicit(kCom, devicePath);
        zelSim_ = std::make_unique<ZelSim>(clock_, std::make_unique<QtSerialDevice>(), ports_,
                                           config_, dialogs_, SystemLocalTime, startDirectory);
        zelSim_->LoadSettings();
        window_ = std::make_unique<TfZelSim>(*zelSim_);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    void ClickConnect() {
        auto* button = qobject_cast<QPushButton*>(window_->Binding().Control(mw::bComOpenClose));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(button->text(), "Disconnect") << PortMessage();
    }

    std::string PortMessage() const {
        auto* label = qobject_cast<QLabel*>(window_->Binding().Control(mw::lPortMessage));
        return label ? label->text().toStdString() : std::string();
    }

    bool WaitForPortMessage(std::string_view prefix) {
        return QTest::qWaitFor([&] { return PortMessage().starts_with(prefix); }, kDeadlineMs);
    }

    // The demo's configuration, with `more` after it, and its folder to start in.
    void StartOnTheDemo(const std::string& devicePath, const std::string& more = "") {
        const std::string demo = TempDir::Read(std::string(ZELSIM_SOURCE_DIR) + "/demo/ZelSim.ini");
        ASSERT_FALSE(demo.empty());
        TempDir::Write(configPath_, demo + more);
        config_ = ConfigFile(configPath_);
        StartWindow(devicePath, ZELSIM_SOURCE_DIR);
    }

    MessageMonitor& Monitor() { return zelSim_->MessageMonitor(); }

    // The monitor's line without its time and tick columns.
    std::string Shown(int index) {
        const MessageMonitor::Attributes& a = Monitor().LineAttributes(index);
        return Monitor().Line(index).substr(
            MonitorLayout::ColumnsOf(a.timeShown, a.tickShown).TextStart());
    }

    // The first line from `from` on that begins with `prefix`, or -1.
    int Find(std::string_view prefix, int from = 0) {
        for (int i = from; i < Monitor().LineCount(); ++i)
            if (Shown(i).starts_with(prefix)) return i;
        return -1;
    }

    bool WaitForLine(std::string_view prefix, int from = 0) {
        return QTest::qWaitFor([&] { return Find(prefix, from) >= 0; }, kDeadlineMs);
    }

    SteadyTickClock clock_;
    PortMap ports_;
    TempDir dir_;
    std::string configPath_ = dir_.File("ZelSim.ini");
    ConfigFile config_{configPath_};
    RecordingDialogs dialogs_;
    std::unique_ptr<ZelSim> zelSim_;
    std::unique_ptr<TfZelSim> window_;
};

class StationOnLineTest : public StationWindowTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(far_.IsOpen()) << "openpty failed";
        StartWindow(far_.Path());
    }

    FarEnd far_;
};

TEST_F(StationOnLineTest, ReceivedLinesShowInOrderInTheirCategories) {
    ClickConnect();

    const std::string screen = WithChecksum("PKVTS,TXT,0,Sats 09 DGPS D");
    const std::string fix =
        WithChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    const std::string corrupted = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4*00\r\n";
    const std::string record =
        WithChecksum("PKVTR,DML,PLT2,3.2,0.15,181.5,A,R,ON,S,N,2,12.5,840,3,0,0,N,N");
    far_.Send(screen + fix + corrupted);
    // A record cut between two reads of the main cycle is framed whole.
    const size_t cut = record.size() / 2;
    far_.Send(record.substr(0, cut));
    const uint64_t half = (screen + fix + corrupted).size() + cut;
    const SerialPort& port = zelSim_->Connection().Port();
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.BytesReceived() == half; }, kDeadlineMs))
        << "the first half was not read by itself";
    far_.Send(record.substr(cut));

    ASSERT_TRUE(WaitForLine("$PKVTR,DML,PLT2")) << Monitor().LineCount() << " lines";
    using Row = std::pair<std::string, uint32_t>;
    std::vector<Row> rows;
    for (int i = 0; i < Monitor().LineCount(); ++i)
        rows.emplace_back(Shown(i), Monitor().LineAttributes(i).category);
    // Sentences show without their checksum; the corrupted one as it came.
    const std::vector<Row> expected = {
        {"$PKVTS,TXT,0,Sats 09 DGPS D", MessageCategory::kZel},
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", MessageCategory::kDgps},
        {corrupted.substr(0, corrupted.size() - 2), MessageCategory::kNonNmea},
        {"$PKVTR,DML,PLT2,3.2,0.15,181.5,A,R,ON,S,N,2,12.5,840,3,0,0,N,N",
         MessageCategory::kDormalyn},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_TRUE(Monitor().LineAttributes(0).gapBefore) << "the first line after start-up";
}

// More than one main cycle reads at once, and more lines than the monitor
// keeps: nothing is lost or torn at the read boundaries, and the monitor
// holds the newest lines in order.
TEST_F(StationOnLineTest, ABurstLongerThanOneReadArrivesWhole) {
    ClickConnect();
    constexpr int kLines = 300;
    std::string burst;
    for (int n = 0; n < kLines; ++n)
        burst += WithChecksum("PKVTR,DML,PLT2," + std::to_string(n) + ",0.15,181.5,A,R,ON,S,N");
    ASSERT_GT(burst.size(), MainCycle::kReceiveBufferSize);
    far_.Send(burst);

    const std::string last = "$PKVTR,DML,PLT2," + std::to_string(kLines - 1) + ",";
    ASSERT_TRUE(WaitForLine(last)) << Monitor().LineCount() << " lines";
    ASSERT_EQ(Monitor().LineCount(), MessageMonitor::kCapacity);
    const int firstKept = kLines - MessageMonitor::kCapacity;
    for (int i = 0; i < MessageMonitor::kCapacity; ++i) {
        const std::string want = "$PKVTR,DML,PLT2," + std::to_string(firstKept + i) + ",";
        ASSERT_TRUE(Shown(i).starts_with(want)) << "line " << i << ": " << Shown(i);
        ASSERT_EQ(Monitor().LineAttributes(i).category, MessageCategory::kDormalyn) << Shown(i);
    }
    // The list has followed to the newest line.
    auto* view = window_->findChild<MessageMonitorView*>("lbMessageMonitor");
    ASSERT_NE(view, nullptr);
    view->Refresh();
    EXPECT_EQ(view->TopRow(), MessageMonitor::kCapacity - view->VisibleRows());
}

// What the box does with the text is the window tests' business; here: the
// user's keys reach it and the line carries what it sent.
TEST_F(StationOnLineTest, TypedTextLeavesWithItsChecksum) {
    ClickConnect();
    auto* box = qobject_cast<QComboBox*>(window_->Binding().Control(mw::cbSendData));
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
    // Keys go where the user's would: to the widget holding the focus.
    QWidget* typing = QApplication::focusWidget();
    ASSERT_TRUE(typing == box || typing == box->lineEdit()) << "the box did not take the focus";
    EXPECT_FALSE(zelSim_->KeyHook().Active()) << "the arrow keys edit the text";

    QTest::keyClicks(typing, "$pkvtq,rid");
    QTest::keyClick(typing, Qt::Key_Return);
    EXPECT_EQ(far_.Receive(15), "$PKVTQ,RID*3B\r\n");
    const int last = Monitor().LineCount() - 1;
    ASSERT_GE(last, 0);
    EXPECT_EQ(Shown(last), "$PKVTQ,RID");
    EXPECT_EQ(Monitor().LineAttributes(last).category, MessageCategory::kOutGoing);
}

// A far end that floods identity queries and does not read the answers:
// the answers that fit wait and the rest are dropped and counted, the port
// stays open, every query still reaches the monitor, and what the far end
// finally reads holds only whole answers.
TEST_F(StationOnLineTest, AFarEndThatDoesNotReadIsNoLostDevice) {
    ClickConnect();
    constexpr int kQueries = 6000;  // about 200 kB of answers: far more than the line holds
    std::string flood;
    for (int i = 0; i < kQueries; ++i) flood += WithChecksum("PKVTQ,DID");
    far_.Send(flood + WithChecksum("GPGGA,last"));
    ASSERT_TRUE(WaitForLine("$GPGGA,last")) << PortMessage();
    EXPECT_TRUE(WaitForPortMessage("Output dropped")) << PortMessage();
    EXPECT_TRUE(zelSim_->Connection().Port().IsOpen());
    EXPECT_TRUE(window_->windowTitle().endsWith(" is connected"));

    const std::string answer = WithChecksum("PKVTR,DID,ZEL Simulator,v" ZELSIM_VERSION_TEXT);
    std::string got;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            got += far_.TakeAvailable();
            return zelSim_->Connection().Port().OutputWaiting() == 0 &&
                   got.size() % answer.size() == 0;
        },
        kDeadlineMs));
    ASSERT_FALSE(got.empty());
    for (size_t at = 0; at < got.size(); at += answer.size())
        ASSERT_EQ(got.substr(at, answer.size()), answer) << "at byte " << at;
    EXPECT_LT(got.size(), kQueries * answer.size()) << "some answers were dropped";
    EXPECT_TRUE(zelSim_->Connection().Port().IsOpen());
}

// A quiet line lets the program sleep; a line that arrives wakes it at once,
// the receive arrow still goes out on time, and a click wakes it too.
TEST_F(StationOnLineTest, TheCycleSleepsOnAQuietLineAndWakesForWhatArrives) {
    ClickConnect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Asleep(); }, kDeadlineMs));
    QWidget* rx = window_->Binding().Control(mw::iRxArrow);
    ASSERT_NE(rx, nullptr);
    ASSERT_FALSE(rx->isVisible());
    // The arrow may be lit for only a few milliseconds, until the end of
    // its 125 ms period: its show and hide are counted, not looked for.
    EventWatch arrow(rx);
    far_.Send(WithChecksum("GPGGA,woken"));
    EXPECT_TRUE(WaitForLine("$GPGGA,woken"));
    EXPECT_EQ(window_->LastWaking(), TfZelSim::Waking::kArrival);
    // A line on a quiet line is likely all there is: one cycle handles it,
    // shows it and sleeps again.
    EXPECT_TRUE(window_->Asleep());
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrow.Count(QEvent::Show) == 1; }, kDeadlineMs))
        << "the arrow lights with the line";
    // Asleep again with the arrow lit: the arrow's own deadline puts it out.
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrow.Count(QEvent::Hide) == 1 && window_->Asleep(); },
                                kDeadlineMs));
    EXPECT_FALSE(rx->isVisible());
    EXPECT_EQ(window_->LastWaking(), TfZelSim::Waking::kDeadline);
    far_.Send(WithChecksum("GPGGA,again"));
    EXPECT_TRUE(WaitForLine("$GPGGA,again"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Asleep(); }, kDeadlineMs));
    window_->Binding().MenuItem(mw::mButtonGroup1)->trigger();
    EXPECT_FALSE(window_->Asleep());
    EXPECT_EQ(window_->LastWaking(), TfZelSim::Waking::kActivity);
}

// The graph samples ten times a second on a line that says nothing: its
// window follows the samples, though no line comes in and the main window
// has nothing new to show.
TEST_F(StationOnLineTest, TheGraphFollowsItsSamplesOnAQuietLine) {
    ClickConnect();
    window_->OpenGraph();
    const GraphicDisplay& graph = zelSim_->GraphicDisplay();
    const uint64_t opened = graph.ShownRevision();
    ASSERT_TRUE(QTest::qWaitFor([&] { return graph.ShownRevision() >= opened + 3; }, kDeadlineMs))
        << "no samples";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window_->GraphWindow().PaintedRevision() >= opened + 3; }, kDeadlineMs))
        << "painted " << window_->GraphWindow().PaintedRevision() << ", sampled "
        << graph.ShownRevision();
}

// An adapter pulled out and plugged in again comes back under its fixed
// name as a new device: the window says the device is lost and keeps
// watching for it, and the line reopens by itself and the traffic flows.
TEST_F(StationWindowTest, AnUnpluggedLineReconnectsByItselfWhenItIsBack) {
    TempDir dir;
    FarEnd far(dir.File("ttyADAPTER"));
    ASSERT_TRUE(far.IsOpen()) << "openpty failed";
    StartWindow(far.Path());
    ClickConnect();
    far.Send(WithChecksum("GPGGA,before"));
    ASSERT_TRUE(WaitForLine("$GPGGA,before"));
    QWidget* indicator = window_->Binding().Control(mw::iRxTxFrame);
    ASSERT_NE(indicator, nullptr);
    // The window follows the cycle ten times a second.
    EXPECT_TRUE(QTest::qWaitFor([&] { return indicator->isVisible(); }, kDeadlineMs));

    far.Close();
    ASSERT_TRUE(WaitForPortMessage("Device lost"));
    EXPECT_NE(PortMessage().find(far.Path()), std::string::npos) << PortMessage();
    EXPECT_TRUE(window_->Binding().Control(mw::lPortMessage)->isVisible());
    EXPECT_TRUE(window_->windowTitle().endsWith("COM1 at 38400 BAUD is not connected"))
        << window_->windowTitle().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !indicator->isVisible(); }, kDeadlineMs))
        << "the indicator goes out with its next idle period";
    EXPECT_EQ(qobject_cast<QPushButton*>(window_->Binding().Control(mw::bComOpenClose))->text(),
              "Disconnect")
        << "watching for the device until the user says otherwise";

    far.PlugIn();
    ASSERT_TRUE(WaitForPortMessage("Reconnected")) << PortMessage();
    EXPECT_NE(PortMessage().find(far.Path()), std::string::npos) << PortMessage();
    EXPECT_TRUE(window_->windowTitle().endsWith(" at 38400 BAUD is connected"));
    far.Send(WithChecksum("GPGGA,after"));
    EXPECT_TRUE(WaitForLine("$GPGGA,after"));
}

// A long stream faster than any line runs, with logging on: the log holds
// exactly the lines of the chosen categories, in order, none twice.
TEST_F(StationOnLineTest, LoggingAStreamKeepsEveryChosenLineOnceInOrder) {
    TempDir dir;
    const std::string logFile = dir.File("stream.log");
    MessageLog& log = zelSim_->MessageLog();
    for (bool LogOptions::*column :
         {&LogOptions::logDate, &LogOptions::logTime, &LogOptions::logMsTickCount})
        log.SetOption(column, false);
    log.SetOption(&LogOptions::logNonNmeaMessages, false);
    log.StartWhenConnected(logFile);
    ClickConnect();
    ASSERT_TRUE(log.Logging());

    std::string stream;
    std::string expected;
    for (int n = 0; n < 3000; ++n) {
        const std::string fix = "GPGGA,1235" + std::to_string(n) + ",4807.038,N,01131.000,E";
        const std::string record = "PKVTR,DML,PLT2," + std::to_string(n) + ",0.15,181.5";
        stream += WithChecksum(fix) + WithChecksum("PKVTS,TXT,0,SCREEN " + std::to_string(n)) +
                  "raw line " + std::to_string(n) + "\r\n" + WithChecksum(record);
        expected += "$" + fix + "\r\n$" + record + "\r\n";
    }
    far_.Send(stream);
    EXPECT_TRUE(QTest::qWaitFor([&] { return TempDir::Read(logFile).size() >= expected.size(); },
                                kDeadlineMs));
    EXPECT_TRUE(TempDir::Read(logFile) == expected) << "the log differs from the chosen lines";
    EXPECT_EQ(log.LinesLost(), 0u);
}

TEST_F(StationOnLineTest, ClosingTheWindowLetsTheLastLinesOutAndGivesTheDeviceBack) {
    ClickConnect();
    QSignalSpy closed(window_.get(), &TfZelSim::closed);
    std::string expected;
    for (int key = 0; key < 8; ++key) {
        const std::string body = "PKVTK," + std::to_string(key);
        zelSim_->Cycle().SendSentence("$" + body);
        expected += WithChecksum(body);
    }
    window_->close();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(far_.Receive(expected.size()), expected);

    QtSerialDevice next;
    EXPECT_TRUE(next.Open(far_.Path())) << "the device is still held";
}

class StationBesideSimulatorTest : public StationWindowTest {
  protected:
    SimulatorProcess sim_;
};

// The program as a device among devices: the simulator asks who it is, and
// with the graph shown its controller's settings and identities flow while
// the ring fills with decoded records.
TEST_F(StationBesideSimulatorTest, AnswersTheLineAndKeepsTheControllersRecordsFlowing) {
    ASSERT_TRUE(sim_.Start(ZELSIM_SIM_PATH, {"--ask-identity=0.5", "--no-nmea"}))
        << sim_.ErrorText();
    StartWindow(sim_.DevicePath());
    ClickConnect();

    // The answer follows its query with nothing in between: it went out in
    // the cycle the query came in.
    const std::string answer = "$PKVTR,DID,ZEL Simulator,v" ZELSIM_VERSION_TEXT;
    ASSERT_TRUE(WaitForLine(answer)) << Monitor().LineCount() << " lines";
    const int answered = Find(answer);
    ASSERT_GE(answered, 1);
    EXPECT_EQ(Shown(answered - 1), "$PKVTQ,DID");
    EXPECT_EQ(Monitor().LineAttributes(answered).category, MessageCategory::kOutGoing);
    ASSERT_TRUE(WaitForLine("$PKVTS,LBX,"));
    EXPECT_EQ(Monitor().LineAttributes(Find("$PKVTS,LBX,")).category, MessageCategory::kLightBar);

    RecordSampler& graph = zelSim_->RecordSampler();
    EXPECT_EQ(graph.Ring().Count(), 0) << "hidden: no samples";
    const int shownAt = Monitor().LineCount();
    graph.Show();

    // One settings period: SET1 asked, SET12 back and SET2 asked at once,
    // SET22 back; the next period's SET22 sends the discovery request.
    ASSERT_TRUE(WaitForLine("$PKVTQ,DML,SET1", shownAt)) << Monitor().LineCount() << " lines";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Find("$PKVTR,DML,SET22,", shownAt) >= 0; }, kDeadlineMs));
    const int reply = Find("$PKVTR,DML,SET12,", shownAt);
    ASSERT_GE(reply, 0) << "SET12 came before SET22";
    EXPECT_EQ(Shown(reply + 1), "$PKVTQ,DML,SET2") << "asked in the cycle the first block came";
    ASSERT_TRUE(WaitForLine("$PKVTQ,DML,DID_REQUEST", shownAt)) << Monitor().LineCount();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !graph.Identities().Live(DeviceSlot::kController).Name().empty() &&
                   !graph.Identities().Live(DeviceSlot::kLightbar).Name().empty();
        },
        kDeadlineMs));
    EXPECT_EQ(graph.Identities().Live(DeviceSlot::kController).Name(), "Dormalyn SC2");
    EXPECT_NE(graph.Latest().whBas, 0) << "the first settings block was decoded";
    EXPECT_TRUE(graph.SettingsArrived());

    // About ten samples a second, each a snapshot of the decoded stream.
    ASSERT_TRUE(QTest::qWaitFor([&] { return graph.Ring().Count() >= 20; }, kDeadlineMs));
    const DiagnosticRecord& newest = graph.Ring().At(graph.Ring().NewestIndex());
    EXPECT_EQ(newest.latDeg, 48) << "the simulated vehicle drives near 48 N";
    EXPECT_GT(newest.sats, 0);
    EXPECT_EQ(std::string(newest.dat).size(), 8u);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return graph.Identities().Displayed(DeviceSlot::kController).Name() == "Dormalyn SC2";
        },
        kDeadlineMs))
        << "the identities reach the display with the next record";
}

// The remote panel as a user meets it: a receiver at 9,600 baud is found by
// Acquire Corvane, its screen is mirrored cell by cell, the keyboard's arrows
// move its menu, and its silence is noticed.
TEST_F(StationBesideSimulatorTest, AcquireFindsTheReceiverAndTheKeysDriveItsMenu) {
    ASSERT_TRUE(sim_.Start(ZELSIM_SIM_PATH, {"--receiver-baud", "9600", "--no-controller"}))
        << sim_.ErrorText();
    StartWindow(sim_.DevicePath());
    AppKeyFilter keys(*zelSim_, window_.get());
    qApp->installEventFilter(&keys);
    ClickConnect();

    auto* acquire = qobject_cast<QPushButton*>(window_->Binding().Control(mw::bAcquireCorvane));
    auto* status = qobject_cast<QLabel*>(window_->Binding().Control(mw::lAcquireCorvaneStatus));
    auto* report = qobject_cast<QLabel*>(window_->Binding().Control(mw::lCorvaneConnectionReport));
    ASSERT_TRUE(acquire && status && report);
    ASSERT_TRUE(acquire->isVisible()) << "Corvane on an open port at 38,400";
    QTest::mouseClick(acquire, Qt::LeftButton);
    EXPECT_EQ(acquire->text(), "Cancel");

    // Four rates, the screen cleared, Home and no key, then the identity:
    // about four seconds of the sequence's own timings, and room for a
    // machine busy with other tests.
    constexpr int kAcquireDeadlineMs = 20000;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return status->text() == "connection OK"; }, kAcquireDeadlineMs))
        << status->text().toStdString();
    EXPECT_FALSE(acquire->isVisible());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return report->text().startsWith("Corvane SIM v"); }, kDeadlineMs))
        << report->text().toStdString();
    EXPECT_EQ(zelSim_->Connection().Port().Rate(), 38400u)
        << "the sequence ends at the panel's rate";

    const PanelScreen& screen = zelSim_->PanelScreen();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.RowText(0).starts_with("Sats"); }, kDeadlineMs))
        << std::string(screen.RowText(0));
    QTest::keyClick(window_.get(), Qt::Key_Down);  // Corvane: the second key, its down arrow
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.RowText(0).starts_with("N "); }, kDeadlineMs))
        << std::string(screen.RowText(0));
    EXPECT_GE(Find("$PKVTK,2"), 0);
    EXPECT_GE(Find("$PKVTK,0"), 0);

    sim_.Stop();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return zelSim_->Controls().Get(mw::lAcquireCorvaneStatus).text == "connection lost";
        },
        kDeadlineMs));
    qApp->removeEventFilter(&keys);
}

// The demo's firmware button, pressed with F1: the controller is put into its
// bootloader, asked its version, the line moves to its rate and the 1,000
// records go out paced by its acknowledgements, while the simulator keeps
// asking the program who it is.
TEST_F(StationBesideSimulatorTest, TheDemosFirmwareButtonUpdatesTheControllerRecordByRecord) {
    const std::string report = dir_.File("sim-report.json");
    ASSERT_TRUE(sim_.Start(ZELSIM_SIM_PATH, {"--report", report, "--no-nmea", "--ask-identity=1"}))
        << sim_.ErrorText();
    StartOnTheDemo(sim_.DevicePath());
    AppKeyFilter keys(*zelSim_, window_.get());
    qApp->installEventFilter(&keys);
    ClickConnect();

    QTest::keyClick(window_.get(), Qt::Key_F1);
    ASSERT_TRUE(zelSim_->ScriptInterpreter().Running())
        << "F1 starts the first button of the group";
    constexpr int kUpdateDeadlineMs = 90000;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !zelSim_->ScriptInterpreter().Running(); },
                                kUpdateDeadlineMs));
    qApp->removeEventFilter(&keys);
    EXPECT_EQ(zelSim_->FileSender().LastOutcome(), FileSender::Outcome::kSent);
    EXPECT_TRUE(dialogs_.warnings.empty()) << dialogs_.warnings.size() << " warnings";
    EXPECT_GE(Find("dormalyn bootloader version is 1.3"), 0);
    EXPECT_EQ(zelSim_->Connection().Port().Rate(), 38400u) << "the script takes the line back";
    // One line says how it ended; no acknowledgement reached the monitor,
    // not even those that answered the last lines after the transfer.
    EXPECT_GE(Find("File sent: " + std::string(ZELSIM_SOURCE_DIR) + "/demo/firmware.hex, "), 0);
    EXPECT_LT(Find("[Ok]"), 0);

    sim_.Stop();
    const std::string json = TempDir::Read(report);
    const QJsonObject records =
        QJsonDocument::fromJson(QByteArray::fromStdString(json)).object()["hexRecords"].toObject();
    constexpr int kFileRecords = 1003;  // 1,000 data records, two addresses, the end
    EXPECT_EQ(records["received"].toInt(), kFileRecords) << json;
    EXPECT_EQ(records["whole"].toInt(), kFileRecords) << json;
    EXPECT_EQ(records["accepted"].toInt(), kFileRecords) << json;
    EXPECT_EQ(records["rejected"].toInt(), 0) << json;
    EXPECT_EQ(records["wrongRate"].toInt(), 0) << json;
}

// The same update against a bootloader that hangs after 100 records: the
// transfer does not wait for ever, it fails after the stall time, says so in
// the window and the monitor, and the script ends there.
TEST_F(StationBesideSimulatorTest, AFirmwareUpdateToADeviceThatStopsAnsweringFailsAndSaysSo) {
    ASSERT_TRUE(sim_.Start(ZELSIM_SIM_PATH, {"--no-nmea", "--bootloader-stall-after", "100"}))
        << sim_.ErrorText();
    StartOnTheDemo(sim_.DevicePath(), "[FileSpecs]\nSendFileStallSeconds=2\n");
    ClickConnect();
    ASSERT_TRUE(zelSim_->ScriptInterpreter().PressButton(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return zelSim_->FileSender().Sending(); }, kDeadlineMs));
    constexpr int kUpdateDeadlineMs = 60000;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !zelSim_->ScriptInterpreter().Running(); },
                                kUpdateDeadlineMs));
    EXPECT_EQ(zelSim_->FileSender().LastOutcome(), FileSender::Outcome::kStalled);
    const int failed = Find("File failed: " + std::string(ZELSIM_SOURCE_DIR) +
                            "/demo/firmware.hex: no answer for 2 s with ");
    EXPECT_GE(failed, 0);
    ASSERT_EQ(dialogs_.warnings.size(), 1u);
    EXPECT_NE(dialogs_.warnings[0].find("The device stopped answering"), std::string::npos)
        << dialogs_.warnings[0];
    EXPECT_LT(Find("Firmware sent"), 0);
    EXPECT_GT(zelSim_->FileSender().BytesSent(), 0u);
    EXPECT_LT(zelSim_->FileSender().BytesSent(), zelSim_->FileSender().FileSize());
}

}  // namespace

}  // namespace zelsim
