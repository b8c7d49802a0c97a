#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/Station.h"
#include "serial/MemorySerialDevice.h"
#include "support/FakeTickClock.h"

namespace {

// Forwards to the in-memory line and lets a test run code inside a read, the
// way a message box opened by a handler pumps the timer inside a tick.
class ReentrantDevice final : public SerialDevice {
public:
    ReentrantDevice(std::shared_ptr<MemorySerialDevice> line, std::function<void()>* duringRead)
        : line_(std::move(line)), duringRead_(duringRead) {}
    bool Open(const std::string& path) override { return line_->Open(path); }
    void Close() override { line_->Close(); }
    bool IsOpen() const override { return line_->IsOpen(); }
    ConfigResult Configure(uint32_t rate) override { return line_->Configure(rate); }
    long Read(uint8_t* buffer, size_t size) override {
        if (*duringRead_) (*duringRead_)();
        return line_->Read(buffer, size);
    }
    long Write(const uint8_t* bytes, size_t count) override { return line_->Write(bytes, count); }
    void Purge() override { line_->Purge(); }
    void ClearErrors() override { line_->ClearErrors(); }
    bool SetRts(bool raised) override { return line_->SetRts(raised); }
    bool HasFailed() const override { return line_->HasFailed(); }

private:
    std::shared_ptr<MemorySerialDevice> line_;
    std::function<void()>* duringRead_;
};

class StationTest : public ::testing::Test {
protected:
    StationTest() {
        ports.SetExplicit(1, "/dev/ttyTEST1");
        ports.SetExplicit(8, "/dev/ttyTEST8");
        ports.SetExplicit(10, "/dev/ttyTEST10");
        station = std::make_unique<Station>(
            clock, std::make_unique<ReentrantDevice>(line, &duringRead), ports);
    }

    // Runs the 10 ms cycle for `ms` milliseconds of fake time.
    void Run(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            clock.Advance(10);
            station->Tick();
        }
    }

    bool Shown(const char* name) { return station->Controls().Get(name).visible; }
    std::string Text(const char* name) { return station->Controls().Get(name).text; }

    FakeTickClock clock;
    PortMap ports;
    std::shared_ptr<MemorySerialDevice> line = std::make_shared<MemorySerialDevice>();
    std::function<void()> duringRead;
    std::unique_ptr<Station> station;
};

TEST_F(StationTest, IndicatorFollowsTrafficAndGoesOutWhenClosed) {
    EXPECT_EQ(station->Indicator().State(), 0);
    Run(200);
    EXPECT_EQ(station->Indicator().State(), 0) << "closed port: indicator stays hidden";

    station->ComOpenClose();
    Run(200);
    EXPECT_EQ(station->Indicator().State(), 1) << "open and idle: frame only";

    line->Inject("$GPGGA,1,2\r\n");
    Run(10);
    EXPECT_EQ(station->Indicator().State(), 2);
    EXPECT_TRUE(Shown("iRxArrow"));
    EXPECT_FALSE(Shown("iTxArrow"));

    station->SendSentence("$PKVTQ,DML,SET1");  // 22 bytes at 38,400: about 6 ms on the line
    Run(10);
    EXPECT_EQ(station->Indicator().State(), 4);
    EXPECT_TRUE(Shown("iTxArrow"));

    Run(300);
    EXPECT_EQ(station->Indicator().State(), 1) << "both arrows out after their 125 ms periods";

    station->ComOpenClose();
    Run(130);
    EXPECT_EQ(station->Indicator().State(), 0);
    EXPECT_FALSE(Shown("iRxTxFrame"));
}

TEST_F(StationTest, ReceiveArrowLastsUntilTheEndOfItsPeriod) {
    station->ComOpenClose();
    Run(200);
    line->Inject("x\r\n");
    Run(10);
    ASSERT_TRUE(Shown("iRxArrow"));
    // The receive period runs from the last idle check, so the arrow goes out
    // within one period and a tick after the last byte.
    Run(130);
    EXPECT_FALSE(Shown("iRxArrow"));
}

TEST_F(StationTest, ReenteredTickReturnsAtOnce) {
    station->ComOpenClose();
    line->Inject("$GPGGA,1*4B\r\nplain line\r\n");
    int nested = 0;
    duringRead = [&] {
        duringRead = nullptr;
        ++nested;
        station->Tick();  // a handler pumping messages inside the tick
    };
    station->Tick();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(station->Framer().LineCount(), 1u) << "the raw line was framed once";
    EXPECT_EQ(line->PendingInput(), 0u);
    EXPECT_FALSE(station->CycleBusy());
}

TEST_F(StationTest, CaptionNamesPortDeviceGroupAndRate) {
    const std::string prefix = "ZEL Sim v" ZELSIM_VERSION_TEXT " - ";
    station->SelectComPort(10);
    station->SelectBaud(9600);
    EXPECT_EQ(Text(Station::kCaption), prefix + "COM10 at 9600 BAUD is not connected");
    station->ComOpenClose();
    EXPECT_EQ(Text(Station::kCaption), prefix + "/dev/ttyTEST10 at 9600 BAUD is connected");
    EXPECT_EQ(Text(Station::kConnectButton), "Disconnect");
}

TEST_F(StationTest, ChoosingAPortDoesNotReopenButARateChangesTheOpenLine) {
    station->ComOpenClose();
    ASSERT_EQ(line->OpenedPath(), "/dev/ttyTEST1");
    station->SelectComPort(8);
    EXPECT_EQ(line->OpenCount(), 1);
    EXPECT_TRUE(station->Port().IsOpen());
    station->SelectBaud(115200);
    EXPECT_EQ(line->ConfiguredRate(), 115200u);
    EXPECT_TRUE(station->Controls().Get(Station::BaudItemName(9)).checked);
    EXPECT_FALSE(station->Controls().Get(Station::BaudItemName(7)).checked);
}

TEST_F(StationTest, AcquireButtonOnlyForCorvaneAt38400WhileOpen) {
    EXPECT_FALSE(Shown("bAcquireCorvane"));
    station->ComOpenClose();
    EXPECT_TRUE(Shown("bAcquireCorvane"));
    station->SelectBaud(9600);
    EXPECT_FALSE(Shown("bAcquireCorvane"));
    station->SelectBaud(38400);
    station->SelectZelType(ZelType::Dormalyn);
    EXPECT_FALSE(Shown("lAcquireCorvaneStatus"));
}

TEST_F(StationTest, OpenFailuresLeaveThePortClosedAndSaySo) {
    line->RefuseOpen(true);
    station->ComOpenClose();
    EXPECT_FALSE(station->Port().IsOpen());
    EXPECT_EQ(Text(Station::kConnectButton), "Connect");
    EXPECT_NE(Text(Station::kPortMessage).find("/dev/ttyTEST1"), std::string::npos);

    station->SelectComPort(5);  // nothing mapped there
    station->ComOpenClose();
    EXPECT_NE(Text(Station::kPortMessage).find("COM5 has no device"), std::string::npos);

    line->RefuseOpen(false);
    station->SelectComPort(1);
    station->ComOpenClose();
    EXPECT_TRUE(station->Port().IsOpen());
    EXPECT_EQ(Text(Station::kPortMessage), "");
}

TEST_F(StationTest, LostDeviceClosesThePortAndSaysSoInTheWindow) {
    station->ComOpenClose();
    Run(20);
    line->Unplug();
    Run(20);
    EXPECT_FALSE(station->Port().IsOpen());
    EXPECT_EQ(Text(Station::kConnectButton), "Connect");
    EXPECT_NE(Text(Station::kCaption).find("is not connected"), std::string::npos);
    EXPECT_NE(Text(Station::kPortMessage).find("Device lost"), std::string::npos);

    line->PlugIn();
    station->ComOpenClose();
    EXPECT_TRUE(station->Port().IsOpen());
    EXPECT_EQ(Text(Station::kPortMessage), "");
}

TEST_F(StationTest, SendingNeedsAnOpenPortAndFramesTheText) {
    station->SendSentence("$PKVTQ,DML,SET1");
    EXPECT_EQ(line->Written(), "");
    station->ComOpenClose();
    station->SendSentence("$PKVTQ,RID");
    station->SendLine("plain");
    station->SendLine("no end~");
    station->SendLine("");
    EXPECT_EQ(line->TakeWritten(), "$PKVTQ,RID*3B\r\nplain\r\nno end\r\n");
}

TEST_F(StationTest, OffLayoutCompactsAndRestoresTheDesign) {
    const ControlState design = station->Controls().Get("pButtonPanel");
    station->SelectZelType(ZelType::Off);
    EXPECT_EQ(station->Controls().Get("pButtonPanel").top, 0);
    EXPECT_EQ(station->Controls().Get("pMessageMonitorPanel").top, 77);
    EXPECT_EQ(station->Controls().Get("pAuxPanel").width, 540);
    EXPECT_FALSE(Shown("bGraphicDisplay"));
    EXPECT_FALSE(Shown("pDisplayPanel"));
    station->SelectZelType(ZelType::Dormalyn);
    EXPECT_TRUE(Shown("pDisplayPanel"));
    EXPECT_EQ(station->Controls().Get("pButtonPanel").top, design.top);
    EXPECT_EQ(station->Controls().Get("pButtonPanel").left, design.left);
}

TEST_F(StationTest, KeyHookClaimsPanelAndFunctionKeysByPanelType) {
    using Key = KeyHook::Key;
    EXPECT_TRUE(station->HandleKey(Key::Left, true, false));
    EXPECT_FALSE(station->HandleKey(Key::Left, true, true)) << "a repeat reaches the focused control";
    EXPECT_TRUE(station->HandleKey(Key::Left, false, false));
    EXPECT_TRUE(station->HandleKey(Key::F3, true, true)) << "function keys repeat";
    EXPECT_TRUE(station->HandleKey(Key::F3, false, false));
    EXPECT_FALSE(station->HandleKey(Key::Other, true, false));

    station->SelectZelType(ZelType::Off);
    EXPECT_FALSE(station->HandleKey(Key::Up, true, false));
    EXPECT_TRUE(station->HandleKey(Key::F8, true, false));

    station->SetKeyHookActive(false);  // the send box has the focus
    EXPECT_FALSE(station->HandleKey(Key::F8, true, false));
}

TEST(KeyHook, ArrowBitsMirrorBetweenPanelTypes) {
    using Key = KeyHook::Key;
    EXPECT_EQ(KeyHook::PanelBit(Key::Left, ZelType::Dormalyn), 1);
    EXPECT_EQ(KeyHook::PanelBit(Key::Left, ZelType::Corvane), 8);
    EXPECT_EQ(KeyHook::PanelBit(Key::Home, ZelType::Corvane), 6);
    EXPECT_EQ(KeyHook::PanelBit(Key::Right, ZelType::Off), 0);
    EXPECT_EQ(KeyHook().Decide(Key::F5, true, false, ZelType::Off).value, 5);
}

TEST_F(StationTest, ReceivedAndSentLinesReachTheMonitorInOrder) {
    station->ComOpenClose();
    line->Inject("$PKVTS,TXT,0,HELLO*4C\r\n$GPGGA,1*4B\r\nplain text\r\n");
    Run(10);
    station->SendSentence("$PKVTQ,RID");
    const MessageMonitor& monitor = station->Monitor();
    ASSERT_EQ(monitor.LineCount(), 4);
    EXPECT_NE(monitor.Line(0).find("$PKVTS,TXT,0,HELLO"), std::string::npos);
    EXPECT_EQ(monitor.Line(0).find('*'), std::string::npos) << "shown without its checksum";
    EXPECT_EQ(monitor.LineAttributes(0).category, MessageCategory::kZel);
    EXPECT_EQ(monitor.LineAttributes(1).category, MessageCategory::kDgps);
    EXPECT_EQ(monitor.LineAttributes(2).category, MessageCategory::kNonNmea);
    EXPECT_EQ(monitor.LineAttributes(3).category, MessageCategory::kOutGoing);
}

TEST_F(StationTest, FifthGarbageLineInARowIsWithheldUntilACleanLine) {
    station->Monitor().options.msgMonTime = false;
    station->Monitor().options.msgMonTickCount = false;
    station->ComOpenClose();
    for (int i = 0; i < 7; ++i) line->Inject("\x01\x02noise\r\n");
    Run(10);
    EXPECT_EQ(station->Monitor().LineCount(), 4);
    line->Inject("clean\r\n\x01" "again\r\n");
    Run(10);
    ASSERT_EQ(station->Monitor().LineCount(), 6);
    EXPECT_EQ(station->Monitor().Line(4), "clean");
    EXPECT_EQ(station->Monitor().Line(5), ".again");
}

TEST_F(StationTest, PortThatOpensButCannotBeConfiguredCountsAsOpen) {
    line->FailConfiguration(SerialDevice::ConfigStep::SetState, 22);
    station->ComOpenClose();
    EXPECT_TRUE(station->Port().IsOpen());
    EXPECT_EQ(Text(Station::kConnectButton), "Disconnect");
    EXPECT_EQ(Text(Station::kPortMessage), "");
}

}  // namespace
