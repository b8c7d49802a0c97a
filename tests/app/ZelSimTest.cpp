#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/ZelSim.h"
#include "base/MainWindowControls.h"
#include "monitor/LogOptions.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "support/ConfigText.h"
#include "support/FakeTickClock.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingDialogs.h"

namespace zelsim {

namespace {
namespace mw = main_window;

std::tm FixedTime() {
    return std::tm{};
}

class ZelSimTest : public ::testing::Test {
  protected:
    ZelSimTest() { Make(); }

    // A program started on `content` as its configuration file.
    void Make(const std::string& content = "") {
        zelSim_.reset();
        TempDir::Write(path_, content);
        config_ = std::make_unique<ConfigFile>(path_);
        ports_.SetExplicit(1, "/dev/ttyTEST1");
        ports_.SetExplicit(10, "/dev/ttyTEST10");
        zelSim_ = std::make_unique<ZelSim>(clock_, MemorySerialDevice::Plug(line_), ports_,
                                           *config_, dialogs_, FixedTime);
        zelSim_->LoadSettings();
    }

    // Runs the 10 ms cycle for `ms` milliseconds of fake time.
    void Run(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            clock_.Advance(10);
            zelSim_->Tick();
        }
    }

    const ControlState& Control(std::string_view name) const {
        return zelSim_->Controls().Get(name);
    }
    bool Shown(std::string_view name) const { return Control(name).visible; }
    const std::string& Text(std::string_view name) const { return Control(name).text; }
    RxTxIndicator::Arrows Indicator() { return zelSim_->RxTxIndicator().State(); }

    FakeTickClock clock_;
    PortMap ports_;
    std::shared_ptr<MemorySerialDevice> line_ = std::make_shared<MemorySerialDevice>();
    TempDir dir_;
    std::string path_ = dir_.File("ZelSim.ini");
    std::unique_ptr<ConfigFile> config_;
    RecordingDialogs dialogs_;
    std::unique_ptr<ZelSim> zelSim_;
};

TEST_F(ZelSimTest, IndicatorFollowsTrafficAndGoesOutWhenClosed) {
    EXPECT_EQ(Indicator(), RxTxIndicator::kHidden);
    Run(200);
    EXPECT_EQ(Indicator(), RxTxIndicator::kHidden) << "closed port: indicator stays hidden";

    zelSim_->Connection().ComOpenClose();
    Run(200);
    EXPECT_EQ(Indicator(), RxTxIndicator::kFrameOnly) << "open and idle: frame only";

    line_->Inject("$GPGGA,1,2\r\n");
    Run(10);
    EXPECT_EQ(Indicator(), RxTxIndicator::kReceiving);
    EXPECT_TRUE(Shown(mw::iRxArrow));
    EXPECT_FALSE(Shown(mw::iTxArrow));

    zelSim_->Cycle().SendSentence("$PKVTQ,DML,SET1");  // about 6 ms on the line at 38,400
    Run(10);
    EXPECT_EQ(Indicator(), RxTxIndicator::kBoth);
    EXPECT_TRUE(Shown(mw::iTxArrow));

    Run(300);
    EXPECT_EQ(Indicator(), RxTxIndicator::kFrameOnly)
        << "both arrows out after their 125 ms periods";

    // The receive period runs from the last idle check: the arrow goes out
    // within one period and a tick after the last byte.
    line_->Inject("x\r\n");
    Run(10);
    ASSERT_TRUE(Shown(mw::iRxArrow));
    Run(130);
    EXPECT_FALSE(Shown(mw::iRxArrow));

    zelSim_->Connection().ComOpenClose();
    Run(130);
    EXPECT_EQ(Indicator(), RxTxIndicator::kHidden);
    EXPECT_FALSE(Shown(mw::iRxTxFrame));
}

// An arrow lit since the window last showed the indicator is said a cycle
// before the cycle that puts it out, so that the window shows it first;
// one the window already shows lit is never said.
TEST_F(ZelSimTest, AnArrowLitSinceTheLastDisplayIsSaidBeforeItGoesOut) {
    zelSim_->Connection().ComOpenClose();
    Run(200);
    line_->Inject("$GPGGA,1,2\r\n");
    Run(10);
    ASSERT_EQ(Indicator(), RxTxIndicator::kReceiving);
    bool said = false;
    for (int tick = 0; tick < 20 && Indicator() == RxTxIndicator::kReceiving; ++tick) {
        said = zelSim_->ArrowGoesOutUnseen(RxTxIndicator::kFrameOnly, 10);
        EXPECT_FALSE(zelSim_->ArrowGoesOutUnseen(RxTxIndicator::kReceiving, 10));
        Run(10);
    }
    EXPECT_EQ(Indicator(), RxTxIndicator::kFrameOnly);
    EXPECT_TRUE(said) << "not said in the cycle before the one that put it out";
    EXPECT_FALSE(zelSim_->ArrowGoesOutUnseen(RxTxIndicator::kFrameOnly, 10));
}

// Choosing a port waits for the next connect; a rate changes the open line
// at once; the caption says which, with the button group.
TEST_F(ZelSimTest, MenusChooseTheLineAndTheCaptionSaysWhichItIs) {
    Make("[UserButtons]\nButtonGroup=3\n");
    const std::string prefix = "ZEL Sim v" ZELSIM_VERSION_TEXT " - Button Group #3 - ";
    zelSim_->Connection().SelectComPort(10);
    zelSim_->Connection().SelectBaud(9600);
    EXPECT_EQ(Text(mw::fZelSim), prefix + "COM10 at 9600 BAUD is not connected");
    zelSim_->Connection().ComOpenClose();
    EXPECT_EQ(Text(mw::fZelSim), prefix + "/dev/ttyTEST10 at 9600 BAUD is connected");
    EXPECT_EQ(Text(mw::bComOpenClose), "Disconnect");

    zelSim_->Connection().SelectComPort(8);
    EXPECT_EQ(line_->OpenCount(), 1);
    EXPECT_EQ(line_->OpenedPath(), "/dev/ttyTEST10");
    EXPECT_TRUE(Control(mw::ComItem(8)).checked);
    EXPECT_FALSE(Control(mw::ComItem(10)).checked);
    zelSim_->Connection().SelectBaud(115200);
    EXPECT_EQ(line_->ConfiguredRate(), 115200u);
    EXPECT_TRUE(Control(mw::BaudItem(115200)).checked);
    EXPECT_FALSE(Control(mw::BaudItem(9600)).checked);
    EXPECT_NE(Text(mw::fZelSim).find("/dev/ttyTEST10 at 115200 BAUD"), std::string::npos);
}

// Each failure says why, in words that say what to do.
TEST_F(ZelSimTest, OpenFailuresLeaveThePortClosedAndSayWhatToDo) {
    using Kind = SerialDevice::OpenError::Kind;
    struct Case {
        SerialDevice::OpenError error;
        const char* says;
    };
    for (const Case& c : {
             Case{{Kind::PermissionDenied, ""},
                  "could not be opened: permission denied: add yourself to the dialout group "
                  "(sudo usermod -aG dialout $USER) and log in again."},
             Case{{Kind::Busy, "minicom, process 4242"},
                  "could not be opened: busy: another program has it open (minicom, process "
                  "4242)."},
             Case{{Kind::Busy, ""}, "could not be opened: busy: another program has it open."},
             Case{{Kind::NoSuchDevice, ""}, "could not be opened: no such device: plug it in"},
             Case{{Kind::Other, "Input/output error"}, "could not be opened: Input/output error."},
         }) {
        line_->RefuseOpen(true, c.error);
        zelSim_->Connection().ComOpenClose();
        EXPECT_FALSE(zelSim_->Connection().Port().IsOpen());
        EXPECT_EQ(Text(mw::bComOpenClose), "Connect");
        EXPECT_NE(Text(mw::lPortMessage).find("COM1 (/dev/ttyTEST1) " + std::string(c.says)),
                  std::string::npos)
            << Text(mw::lPortMessage);
    }
    zelSim_->Connection().SelectComPort(5);  // nothing mapped there
    zelSim_->Connection().ComOpenClose();
    EXPECT_NE(Text(mw::lPortMessage).find("COM5 has no device"), std::string::npos);
}

// A port that opens but cannot be set up, or refuses a new rate, stays open
// and counts as connected; the line under the button says what failed.
TEST_F(ZelSimTest, ALineThatCannotBeSetUpStaysOpenAndSaysSo) {
    line_->FailConfiguration(SerialDevice::ConfigStep::SetState, 22);
    zelSim_->Connection().ComOpenClose();
    EXPECT_TRUE(zelSim_->Connection().Port().IsOpen());
    EXPECT_EQ(Text(mw::bComOpenClose), "Disconnect");
    EXPECT_EQ(Text(mw::lPortMessage),
              "COM1 (/dev/ttyTEST1) is open, but the line could not be set to 38400 baud: "
              "SetCommState failed. Errno=22 (Invalid argument).");

    line_->FailConfiguration(SerialDevice::ConfigStep::None, 0);
    zelSim_->Connection().SelectBaud(9600);
    EXPECT_EQ(Text(mw::lPortMessage), "");
    line_->FailConfiguration(SerialDevice::ConfigStep::SetState, 5);
    zelSim_->Connection().SelectBaud(4800);
    EXPECT_NE(Text(mw::lPortMessage).find("could not be set to 4800 baud"), std::string::npos);
    EXPECT_NE(Text(mw::fZelSim).find("at 4800 BAUD is connected"), std::string::npos);
}

// Unplugged and plugged back in, the device is reopened at its rate within
// a second; Disconnect, another port, or the menu item turned off end the
// watch.
TEST_F(ZelSimTest, ALostDeviceIsReopenedWhenItComesBack) {
    zelSim_->Connection().SelectBaud(9600);
    zelSim_->Connection().ComOpenClose();
    Run(20);
    line_->Unplug();
    Run(20);
    EXPECT_FALSE(zelSim_->Connection().Port().IsOpen());
    EXPECT_NE(Text(mw::fZelSim).find("is not connected"), std::string::npos);
    EXPECT_EQ(Text(mw::lPortMessage),
              "Device lost: COM1 (/dev/ttyTEST1) stopped answering and was closed; it is "
              "reopened as soon as it is back.");
    EXPECT_EQ(Text(mw::bComOpenClose), "Disconnect") << "the user can end the watch";
    Run(2000);
    EXPECT_EQ(line_->OpenCount(), 1) << "not while it is away";

    line_->PlugIn();
    Run(Connection::kReconnectTryMs + 10);
    EXPECT_TRUE(zelSim_->Connection().Port().IsOpen());
    EXPECT_EQ(line_->ConfiguredRate(), 9600u);
    EXPECT_EQ(Text(mw::lPortMessage), "Reconnected: COM1 (/dev/ttyTEST1) at 9600 baud.");
    EXPECT_NE(Text(mw::fZelSim).find("/dev/ttyTEST1 at 9600 BAUD is connected"), std::string::npos);

    auto lose = [&] {
        line_->Unplug();
        Run(20);
        ASSERT_FALSE(zelSim_->Connection().Port().IsOpen());
    };
    auto comesBack = [&] {
        line_->PlugIn();
        Run(1000);
        return zelSim_->Connection().Port().IsOpen();
    };
    lose();
    zelSim_->Connection().ComOpenClose();  // Disconnect
    EXPECT_EQ(Text(mw::bComOpenClose), "Connect");
    EXPECT_FALSE(comesBack());

    zelSim_->Connection().ComOpenClose();
    lose();
    zelSim_->Connection().SelectComPort(10);
    EXPECT_FALSE(comesBack());

    zelSim_->Connection().SelectComPort(1);
    zelSim_->Connection().ComOpenClose();
    zelSim_->Connection().SetReconnect(false);
    EXPECT_FALSE(Control(mw::mReconnectAutomatically).checked);
    lose();
    EXPECT_EQ(Text(mw::bComOpenClose), "Connect");
    EXPECT_EQ(Text(mw::lPortMessage).find("reopened"), std::string::npos);
    EXPECT_FALSE(comesBack());
}

// An unattended capture (--log) outlives the adapter's glitch: the log says
// when the line went and came back, and goes on in the same file. A user's
// own Disconnect while the line is away ends it.
TEST_F(ZelSimTest, LoggingResumesWhenALostLineIsBack) {
    const std::string log = dir_.File("capture.log");
    Make("[Configuration]\nLogDate=0\nLogTime=0\nLogMsTickCount=0\nLogPromptForFilename=1\n");
    zelSim_->MessageLog().StartWhenConnected("");  // --log without a file: the configured name
    zelSim_->MessageLog().SetOption(&LogOptions::logPromptForFilename, false);
    zelSim_->MessageLog().SetOption(&LogOptions::logPromptForFilename, true);
    zelSim_->ComOpenClose();
    ASSERT_TRUE(zelSim_->MessageLog().Logging());
    EXPECT_TRUE(dialogs_.fileRequests.empty()) << "nobody is asked at start";
    EXPECT_EQ(zelSim_->MessageLog().FileName(), "./ZelSim.log");

    zelSim_->ComOpenClose();
    Make("[Configuration]\nLogDate=0\nLogTime=0\nLogMsTickCount=1\n");
    zelSim_->MessageLog().StartWhenConnected(log);
    zelSim_->ComOpenClose();
    line_->Inject("before\r\n");
    Run(20);
    line_->Unplug();
    Run(20);
    EXPECT_EQ(Text(mw::bLogMessages), "Log Messages");
    line_->PlugIn();
    Run(Connection::kReconnectTryMs + 10);
    ASSERT_TRUE(zelSim_->Connection().Port().IsOpen());
    EXPECT_TRUE(zelSim_->MessageLog().Logging());
    EXPECT_EQ(Text(mw::bLogMessages), "Stop Log");
    EXPECT_EQ(Text(mw::lLogMessagesStatus), "Logging Messages to capture.log");
    line_->Inject("after\r\n");
    Run(20);
    // Each note carries the tick of its own event, not that of the last line.
    EXPECT_EQ(TempDir::Read(log),
              "1010,before\r\n1030,line lost: COM1 (/dev/ttyTEST1)\r\n"
              "1290,line back: COM1 (/dev/ttyTEST1)\r\n1310,after\r\n");

    line_->Unplug();
    Run(20);
    zelSim_->ComOpenClose();  // Disconnect while it is away
    line_->PlugIn();
    zelSim_->ComOpenClose();
    Run(20);
    EXPECT_FALSE(zelSim_->MessageLog().Logging()) << "the user took the line in hand";
}

// What the program sent and what came back read apart in the log, and a
// multi-constellation receiver's sentences are logged as DGPS messages as
// a GPS-only receiver's are.
TEST_F(ZelSimTest, TheLogTellsAQueryFromItsEchoAndTakesEveryTalkerAsTheReceivers) {
    const std::string log = dir_.File("capture.log");
    Make(
        "[Configuration]\nLogDate=0\nLogTime=0\nLogMsTickCount=0\nLogDirection=1\n"
        "LogZelMessages=0\nLogLightBarMessages=0\nLogDormalynMessages=0\n"
        "LogNonNmeaMessages=0\nLogOtherMessages=0\nLogFileNameNoPrompt=" +
        log + "\n");
    zelSim_->ComOpenClose();
    zelSim_->MessageLog().LogMessagesClick();
    ASSERT_TRUE(zelSim_->Cycle().SendSentence("$PKVTQ,RID"));
    line_->Inject("$PKVTQ,RID*3B\r\n$GNGGA,1,2\r\n$GLGSV,1,1,0\r\n$IIHDG,1\r\n");
    Run(10);
    EXPECT_EQ(TempDir::Read(log),
              ">,$PKVTQ,RID\r\n<,$PKVTQ,RID\r\n<,$GNGGA,1,2\r\n<,$GLGSV,1,1,0\r\n");
}

// The COM menu follows the devices as they come and go, and names a USB
// adapter by maker, model and serial number.
// The user grows the window: the monitor takes the room, Big adds to it,
// and the size comes back after a restart; a screen too small for the
// design shortens the monitor instead.
TEST_F(ZelSimTest, AGrownWindowGivesTheMonitorItsRoomAndComesBackAtItsSize) {
    const auto size = [this](std::string_view name) {
        return std::pair(Control(name).width, Control(name).height);
    };
    EXPECT_EQ(size(mw::fZelSim), std::pair(760, 591));
    EXPECT_EQ(std::pair(Control(mw::fZelSim).minWidth, Control(mw::fZelSim).minHeight),
              std::pair(760, 591));
    zelSim_->MainWindowState().ClientResized(960, 731);
    EXPECT_EQ(size(mw::lbMessageMonitor), std::pair(944, 390));
    EXPECT_EQ(size(mw::pMessageMonitorPanel), std::pair(960, 435));
    zelSim_->MessageMonitor().SetOption(&MonitorOptions::messageMonitorBig, true);
    EXPECT_EQ(size(mw::fZelSim), std::pair(960, 851));
    EXPECT_EQ(size(mw::lbMessageMonitor), std::pair(944, 510));
    // Smaller than the design is not taken.
    zelSim_->MainWindowState().ClientResized(500, 300);
    EXPECT_EQ(size(mw::fZelSim), std::pair(760, 711));
    zelSim_->MainWindowState().ClientResized(1000, 800);

    zelSim_->Shutdown(false);
    const std::string saved = TempDir::Read(path_);
    EXPECT_NE(saved.find("ZelSimWindowWidth=1000"), std::string::npos) << saved;
    EXPECT_NE(saved.find("ZelSimWindowHeight=800"), std::string::npos) << saved;
    Make(saved);
    EXPECT_EQ(size(mw::fZelSim), std::pair(1000, 800));
    EXPECT_EQ(size(mw::lbMessageMonitor), std::pair(984, 459));

    // 200 % on 1920 x 1080: about 480 pixels for the client.
    zelSim_->MessageMonitor().SetOption(&MonitorOptions::messageMonitorBig, false);
    zelSim_->MainWindowState().ClientResized(760, 480);
    zelSim_->MainWindowState().SetScreenRoom(480);
    EXPECT_EQ(size(mw::fZelSim), std::pair(760, 480));
    EXPECT_EQ(size(mw::pMessageMonitorPanel).second, 480 - 296);
}

// The cycle may sleep while nothing is due: each part with timed work says
// when it next needs a cycle, and nothing else keeps it awake.
TEST_F(ZelSimTest, AQuietLineHasNothingDueButEachTimedWorkSaysWhen) {
    const auto due = [this] { return zelSim_->Cycle().NextStepIn(); };
    const auto dueOf = [this](const CyclePart& part) { return part.NextStepIn(clock_.TickNow()); };
    zelSim_->Connection().ComOpenClose();
    EXPECT_EQ(dueOf(zelSim_->RxTxIndicator()), 0u) << "the frame is shown at once";
    Run(200);
    // Only the settings period is left, and that is seconds away.
    EXPECT_GT(due(), 10u);
    EXPECT_LE(due(), QueryResponder::kSettingsPeriodMs + 1);
    EXPECT_EQ(dueOf(zelSim_->RxTxIndicator()), CyclePart::kNoStep);
    EXPECT_EQ(dueOf(zelSim_->ReceiverAcquisition()), CyclePart::kNoStep);
    EXPECT_EQ(dueOf(zelSim_->LineCounts()), CyclePart::kNoStep);

    // A line lights the receive arrow until its idle period ends, and the
    // counts are said a second later, then once more to show the rate fall.
    line_->Inject("$GPGGA,1,2\r\n");
    Run(10);
    EXPECT_GT(dueOf(zelSim_->RxTxIndicator()), 0u);
    EXPECT_LE(dueOf(zelSim_->RxTxIndicator()), RxTxIndicator::kIdlePeriodMs + 1);
    EXPECT_LE(dueOf(zelSim_->LineCounts()), LineCounts::kUpdateMs);
    Run(RxTxIndicator::kIdlePeriodMs * 2);
    EXPECT_EQ(dueOf(zelSim_->RxTxIndicator()), CyclePart::kNoStep);
    Run(LineCounts::kUpdateMs);
    EXPECT_NE(Text(mw::lLineCounts).find("; 1 lines/s"), std::string::npos);
    EXPECT_LE(dueOf(zelSim_->LineCounts()), LineCounts::kUpdateMs) << "the rate must fall";
    Run(LineCounts::kUpdateMs);
    EXPECT_NE(Text(mw::lLineCounts).find("; 0 lines/s"), std::string::npos);
    EXPECT_EQ(dueOf(zelSim_->LineCounts()), CyclePart::kNoStep);

    // Timed work keeps the cycle going: the graph samples, a lost device is
    // watched for.
    zelSim_->GraphicDisplay().Open();
    EXPECT_LE(due(), RecordSampler::kSamplePeriodMs + 1);
    zelSim_->GraphicDisplay().Close();
    Run(20);
    EXPECT_GT(due(), 10u);
    line_->Unplug();
    Run(20);
    EXPECT_LE(dueOf(zelSim_->Connection()), Connection::kReconnectTryMs + 1);
}

TEST_F(ZelSimTest, TheComMenuFollowsTheDevicesFound) {
    zelSim_->Connection().PortsFound({"/dev/ttyUSB0"}, {{"/dev/ttyUSB0", "FTDI_FT232R_A5028"}});
    EXPECT_EQ(Text(mw::ComItem(1)), "COM1\t/dev/ttyTEST1");
    EXPECT_EQ(Text(mw::ComItem(2)), "COM2\t/dev/ttyUSB0  FTDI_FT232R_A5028");
    EXPECT_EQ(Text(mw::ComItem(3)), "COM3\t(no device)");
    zelSim_->Connection().PortsFound({"/dev/ttyUSB1", "/dev/ttyUSB0"}, {});
    EXPECT_EQ(Text(mw::ComItem(2)), "COM2\t/dev/ttyUSB0");
    EXPECT_EQ(Text(mw::ComItem(3)), "COM3\t/dev/ttyUSB1");
}

TEST_F(ZelSimTest, OffCompactsTheWindowAndAnyUnitRestoresTheDesign) {
    const ControlState& buttons = Control(mw::pButtonPanel);
    const ControlState& monitor = Control(mw::pMessageMonitorPanel);
    const int designTop = buttons.top;
    zelSim_->MainWindowState().SelectZelType(ZelType::Off);
    EXPECT_TRUE(Control(mw::mZelOptOff).checked);
    EXPECT_EQ(buttons.top, 0);
    EXPECT_EQ(monitor.top, 77);
    EXPECT_EQ(Control(mw::pAuxPanel).width, 540);
    EXPECT_FALSE(Shown(mw::pDisplayPanel));
    zelSim_->MainWindowState().SelectZelType(ZelType::Dormalyn);
    EXPECT_TRUE(Shown(mw::pDisplayPanel));
    EXPECT_EQ(buttons.top, designTop);
    EXPECT_EQ(monitor.top, 296);

    // A Big monitor reaches below the design's 591 pixels: the window grows.
    EXPECT_EQ(Control(mw::fZelSim).height, 591);
    zelSim_->MessageMonitor().SetOption(&MonitorOptions::messageMonitorBig, true);
    EXPECT_EQ(Control(mw::fZelSim).height, 711);
    zelSim_->MessageMonitor().SetOption(&MonitorOptions::hideMessageMonitor, true);
    EXPECT_EQ(Control(mw::fZelSim).height, 591);
}

TEST_F(ZelSimTest, KeyHookClaimsPanelAndFunctionKeysByPanelType) {
    using Key = KeyHook::Key;
    EXPECT_TRUE(zelSim_->HandleKey(Key::Left, true, false));
    EXPECT_FALSE(zelSim_->HandleKey(Key::Left, true, true)) << "a repeat reaches the control";
    EXPECT_TRUE(zelSim_->HandleKey(Key::Left, false, false));
    EXPECT_TRUE(zelSim_->HandleKey(Key::F3, true, true)) << "function keys repeat";
    EXPECT_TRUE(zelSim_->HandleKey(Key::F3, false, false));
    EXPECT_FALSE(zelSim_->HandleKey(Key::Other, true, false));

    zelSim_->MainWindowState().SelectZelType(ZelType::Off);
    EXPECT_FALSE(zelSim_->HandleKey(Key::Up, true, false));
    EXPECT_TRUE(zelSim_->HandleKey(Key::F8, true, false));

    // The send box takes the arrows, not the function keys; a modal window
    // takes them all, and gives back the state it found.
    zelSim_->MainWindowState().SelectZelType(ZelType::Corvane);
    zelSim_->SendBox().FocusIn();
    EXPECT_FALSE(zelSim_->HandleKey(Key::Left, true, false));
    EXPECT_TRUE(zelSim_->HandleKey(Key::F8, true, false));
    zelSim_->KeyHook().ModalOpened();
    EXPECT_FALSE(zelSim_->HandleKey(Key::F8, true, false));
    zelSim_->KeyHook().ModalClosed();
    EXPECT_FALSE(zelSim_->HandleKey(Key::Left, true, false));
    zelSim_->SendBox().FocusOut();
    EXPECT_TRUE(zelSim_->HandleKey(Key::Left, true, false));
}

// The panel's screen is live only while the line is open: disconnected or
// lost, it keeps the receiver's last text, marked as stale. Opening the port
// starts it from a blank screen at the first contrast.
TEST_F(ZelSimTest, ThePanelScreenIsStaleWhileTheLineIsClosed) {
    zelSim_->PanelScreen().PutChar(0, 'A');
    zelSim_->PanelScreen().SetContrast(200);
    EXPECT_TRUE(zelSim_->PanelScreen().Stale());
    zelSim_->ComOpenClose();
    EXPECT_FALSE(zelSim_->PanelScreen().Stale());
    EXPECT_EQ(zelSim_->PanelScreen().RowText(0), std::string(16, ' '));
    EXPECT_EQ(Control(mw::pbContrast).position, PanelScreen::kContrastAtConnect);
    line_->Inject("$PKVTS,TXT,0,MENU*1D\r\n");
    Run(10);
    line_->Unplug();
    Run(20);
    EXPECT_TRUE(zelSim_->PanelScreen().Stale());
    EXPECT_EQ(zelSim_->PanelScreen().RowText(0).substr(0, 4), "MENU");
    line_->PlugIn();
    Run(Connection::kReconnectTryMs + 10);
    EXPECT_FALSE(zelSim_->PanelScreen().Stale());
    zelSim_->ComOpenClose();
    EXPECT_TRUE(zelSim_->PanelScreen().Stale());
}

// What fits no menu item leaves the default; a panel type this version does
// not know is the Corvane.
TEST_F(ZelSimTest, ValuesThatFitNoMenuItemLeaveTheDefaults) {
    Make("[Configuration]\nComPort=three\nComPort=5\nBaudRate=\xff\xfe\nZelType=Dormalyn\n");
    EXPECT_EQ(zelSim_->Connection().SelectedPort(), 1)
        << "the first ComPort wins, and it is no number";
    EXPECT_EQ(zelSim_->Connection().SelectedBaud(), 38400u);
    EXPECT_EQ(zelSim_->MainWindowState().SelectedZelType(), ZelType::Dormalyn);
    for (const auto& [port, baud, comPort, baudRate] :
         {std::tuple{"25", "14400", 1, 38400u}, std::tuple{"-2", "-9600", 1, 38400u},
          std::tuple{"0", "300", 1, 300u}, std::tuple{"18", "115200", 18, 115200u},
          std::tuple{"2", "921600", 2, 921600u}}) {
        Make(std::string("[Configuration]\nComPort=") + port + "\nBaudRate=" + baud +
             "\nZelType=Plasma\n");
        EXPECT_EQ(zelSim_->Connection().SelectedPort(), comPort) << port;
        EXPECT_EQ(zelSim_->Connection().SelectedBaud(), baudRate) << baud;
        EXPECT_EQ(zelSim_->MainWindowState().SelectedZelType(), ZelType::Corvane);
    }
}

// Every part reads and writes its keys in its own sections and leaves the
// file on the section it found: a key written after them lands there.
TEST_F(ZelSimTest, PartsLeaveTheFileOnTheSectionTheyFound) {
    config_->SetSection("Elsewhere");
    zelSim_->Cycle().LoadSettings(*config_);
    zelSim_->Cycle().SaveSettings(*config_);
    config_->WriteInt("Probe", 1);
    ASSERT_TRUE(config_->Save().Saved());
    const std::string text = TempDir::Read(path_);
    const size_t section = text.find("[Elsewhere]");
    ASSERT_NE(section, std::string::npos);
    EXPECT_EQ(text.find("Probe=1"), text.find('\n', section) + 1) << text;
}

// A file the program wrote is stable: closing again without a change writes
// nothing, and whatever changes, every key keeps its place.
TEST_F(ZelSimTest, SavingALoadedFileTwiceGivesTheSameBytes) {
    Make(
        "[UserButtons]\nButton2Caption=Two\nButton2Line1=$PKVTQ,RID\nButton2Line2=~d100\n"
        "Button1Caption=One\nButton1Line3=late\n[MessageDropDownLines]\nLine02=b\nLine01=a\n");
    ASSERT_EQ(zelSim_->Shutdown(true).status, ConfigFile::SaveResult::Status::Written);
    const std::string first = TempDir::Read(path_);
    EXPECT_NE(first.find("Button1Line1=late\n"), std::string::npos) << first;

    Make(first);
    EXPECT_EQ(zelSim_->Shutdown(true).status, ConfigFile::SaveResult::Status::Unchanged);
    Make(first);
    zelSim_->MainWindowState().SelectZelType(ZelType::Off);
    zelSim_->Shutdown(true);
    std::string expected = first;
    expected.replace(expected.find("ZelType=Corvane"), 15, "ZelType=Off");
    EXPECT_EQ(TempDir::Read(path_), expected);
}

// A save that fails loses the session's settings: the user is told, unless
// nobody is there (a signal closed the program), and always on stderr.
TEST_F(ZelSimTest, AFailedSaveIsSaidInAMessageBoxWhenAUserIsThere) {
    FileSizeLimit full(16);
    ASSERT_TRUE(full.Applied());
    zelSim_->MainWindowState().SetWindowPosition(1, 2);
    const ConfigFile::SaveResult unattended = zelSim_->Shutdown(false);
    zelSim_->MainWindowState().SetWindowPosition(3, 4);
    const ConfigFile::SaveResult attended = zelSim_->Shutdown(true);

    EXPECT_EQ(unattended.status, ConfigFile::SaveResult::Status::Failed);
    EXPECT_EQ(attended.status, ConfigFile::SaveResult::Status::Failed);
    ASSERT_EQ(dialogs_.warnings.size(), 1u);
    EXPECT_EQ(dialogs_.warnings[0].rfind("Settings Not Saved: Settings not saved", 0), 0u)
        << dialogs_.warnings[0];
}

// A --config naming a folder, or a file in a folder that does not exist,
// would lose the session's settings: said at start and again at the end.
TEST_F(ZelSimTest, APlaceNoSettingsCanBeSavedInIsSaidAtStartAndAtTheEnd) {
    for (const std::string& place : {dir_.Path(), dir_.File("missing/ZelSim.ini")}) {
        dialogs_.warnings.clear();
        ConfigFile config(place);
        ZelSim zelSim(clock_, MemorySerialDevice::Plug(line_), ports_, config, dialogs_, FixedTime);
        zelSim.LoadSettings();
        zelSim.SayStartProblems();
        ASSERT_EQ(dialogs_.warnings.size(), 1u) << place;
        EXPECT_EQ(dialogs_.warnings[0].rfind("Settings Not Saved: Settings will not be saved: ", 0),
                  0u)
            << dialogs_.warnings[0];
        EXPECT_FALSE(zelSim.Shutdown(true).Saved());
        ASSERT_EQ(dialogs_.warnings.size(), 2u) << place;
        EXPECT_EQ(dialogs_.warnings[1], dialogs_.warnings[0]);
    }
    EXPECT_NE(dialogs_.warnings[0].find("the folder " + dir_.File("missing") + " does not exist"),
              std::string::npos)
        << dialogs_.warnings[0];
}

// About names the files of this run as the program opens them, whole, and
// says what a user could not guess: that the settings will not be saved, or
// where a log would go before it runs.
TEST_F(ZelSimTest, AboutSaysWhichFilesThisRunUses) {
    Make("[Configuration]\nLogDate=0\nLogTime=0\nLogMsTickCount=0\n");
    AboutZelSim& about = zelSim_->About();
    EXPECT_EQ(about.Text().rfind(std::string("ZelSim version ") + ZELSIM_VERSION_TEXT + "\n", 0),
              0u)
        << about.Text();
    EXPECT_NE(about.Text().find("\nSettings file: " + path_ + "\n"), std::string::npos)
        << about.Text();
    EXPECT_EQ(about.DemoSimulator(), "not running") << "no --demo";

    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(about.LogFile(), cwd + "/ZelSim.log (not logging)") << "relative to where it runs";
    zelSim_->MessageLog().SetOption(&LogOptions::logPromptForFilename, true);
    EXPECT_EQ(about.LogFile(), "asked for when Log Messages is pressed (not logging)");
    const std::string log = dir_.File("capture.log");
    zelSim_->MessageLog().StartWhenConnected(log);
    zelSim_->ComOpenClose();
    ASSERT_TRUE(zelSim_->MessageLog().Logging());
    EXPECT_EQ(about.LogFile(), log + " (logging)");

    ConfigFile nowhere(dir_.File("missing/ZelSim.ini"));
    ZelSim lost(clock_, MemorySerialDevice::Plug(line_), ports_, nowhere, dialogs_, FixedTime);
    EXPECT_EQ(lost.About().SettingsFile(), dir_.File("missing/ZelSim.ini") +
                                               " (not saved: the folder " + dir_.File("missing") +
                                               " does not exist)");
}

}  // namespace

}  // namespace zelsim
