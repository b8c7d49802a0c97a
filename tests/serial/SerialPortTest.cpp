#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
using ConfigStep = SerialDevice::ConfigStep;

class SerialPortTest : public ::testing::Test {
  protected:
    // Devices behind COM3, COM5 and COM99 only.
    SerialPortTest() {
        for (int com : {3, 5, 99}) map_.SetExplicit(com, "/dev/ttyT" + std::to_string(com));
    }

    void OpenOrFail(uint8_t com = 3, uint32_t rate = 38400) {
        ASSERT_TRUE(port_.Open(com, rate));
        ASSERT_TRUE(port_.IsOpen());
    }

    PortMap map_;
    std::shared_ptr<MemorySerialDevice> line_ = std::make_shared<MemorySerialDevice>();
    SerialPort port_{MemorySerialDevice::Plug(line_), map_};
};

TEST_F(SerialPortTest, OpenConfiguresTheMappedDevice) {
    OpenOrFail(5, 9600);
    EXPECT_EQ(line_->OpenedPath(), "/dev/ttyT5");
    EXPECT_EQ(port_.DeviceName(), "/dev/ttyT5");
    EXPECT_EQ(line_->ConfiguredRate(), 9600u);
    EXPECT_EQ(port_.PortNumber(), 5);
    EXPECT_EQ(port_.BaudIndex(), 5);

    // Opening another number closes the first device before the second; 99 is the last.
    OpenOrFail(99, 115200);
    EXPECT_EQ(line_->CloseCount(), 1);
    EXPECT_EQ(line_->OpenedPath(), "/dev/ttyT99");
    EXPECT_EQ(port_.DeviceName(), "/dev/ttyT99");
    EXPECT_EQ(line_->ConfiguredRate(), 115200u);
    port_.Close();
    EXPECT_EQ(port_.DeviceName(), "");
    EXPECT_EQ(port_.DevicePath(), "/dev/ttyT99") << "kept for telling which device was lost";
}

TEST_F(SerialPortTest, PortNumbersOutsideOneToNinetyNineCloseAndRefuse) {
    for (uint8_t refused : {uint8_t{0}, uint8_t{100}, SerialPort::kRefusedPort}) {
        OpenOrFail();
        EXPECT_FALSE(port_.Open(refused, 38400)) << int(refused);
        EXPECT_FALSE(port_.IsOpen()) << int(refused);
        EXPECT_EQ(port_.DeviceName(), "");
    }
    EXPECT_EQ(SerialPort::NextPortNumber(0), 1);
    EXPECT_EQ(SerialPort::NextPortNumber(98), 99);
    EXPECT_EQ(SerialPort::NextPortNumber(99), SerialPort::kRefusedPort);
}

TEST_F(SerialPortTest, MissingOrBusyDeviceStaysClosedWithoutErrorText) {
    EXPECT_FALSE(port_.Open(1, 38400));  // nothing behind COM1
    EXPECT_EQ(line_->OpenCount(), 0);

    line_->RefuseOpen(true);
    EXPECT_FALSE(port_.Open(3, 38400));
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_EQ(port_.ErrorText(), "");
    EXPECT_EQ(line_->ConfigureCount(), 0);
}

TEST_F(SerialPortTest, EachFailedConfigurationStepHasItsTextAndLeavesThePortOpen) {
    const std::pair<ConfigStep, const char*> cases[] = {
        {ConfigStep::GetState, "GetCommState failed. Errno=5\r\n"},
        {ConfigStep::SetState, "SetCommState failed. Errno=5\r\n"},
        {ConfigStep::GetTimeouts, "GetCommTimeouts failed. Errno=5\r\n"},
        {ConfigStep::SetTimeouts, "SetCommTimeouts failed. Errno=5\r\n"},
    };
    for (const auto& [step, text] : cases) {
        line_->FailConfiguration(step, 5);
        EXPECT_FALSE(port_.Open(3, 38400)) << text;
        EXPECT_TRUE(port_.IsOpen()) << text;
        EXPECT_EQ(port_.ErrorText(), text);
        EXPECT_EQ(port_.LastError(), 5);
    }

    // A failed change of rate is recorded too; the rate is still taken.
    line_->FailConfiguration(ConfigStep::None, 0);
    OpenOrFail(3, 38400);
    line_->FailConfiguration(ConfigStep::SetState, 22);
    port_.SetRate(9600);
    EXPECT_EQ(port_.ErrorText(), "SetCommState failed. Errno=22\r\n");
    EXPECT_EQ(port_.LastError(), 22);
    EXPECT_EQ(port_.Rate(), 9600u);
    EXPECT_TRUE(port_.IsOpen());
}

TEST_F(SerialPortTest, OnlyANewRateOfTheTableReachesTheDevice) {
    port_.SetRate(1200);  // closed: only stored
    EXPECT_EQ(port_.Rate(), 1200u);
    EXPECT_EQ(port_.BaudIndex(), 2);
    EXPECT_EQ(line_->ConfigureCount(), 0);

    // Neither an open nor a change with a rate outside the table touches the open port.
    OpenOrFail(3, 38400);
    EXPECT_FALSE(port_.Open(5, 14400));
    port_.SetRate(14400);
    port_.SetRate(38400);
    EXPECT_TRUE(port_.IsOpen());
    EXPECT_EQ(port_.PortNumber(), 3);
    EXPECT_EQ(port_.Rate(), 38400u);
    EXPECT_EQ(line_->OpenCount(), 1);
    EXPECT_EQ(line_->CloseCount(), 0);
    EXPECT_EQ(line_->ConfigureCount(), 1);

    port_.SetRate(4800);
    EXPECT_EQ(line_->ConfigureCount(), 2);
    EXPECT_EQ(line_->ConfiguredRate(), 4800u);
    EXPECT_EQ(port_.BaudIndex(), 4);
}

TEST_F(SerialPortTest, TransmitEstimateGrowsWithWritesDecaysPerTickAndSaturates) {
    OpenOrFail(3, 9600);
    const std::string ten = "0123456789";
    EXPECT_EQ(port_.Write(reinterpret_cast<const uint8_t*>(ten.data()), ten.size()), 10u);
    EXPECT_EQ(port_.TransmitBusy(), 10420u);
    EXPECT_EQ(line_->TakeWritten(), ten);

    uint32_t tick = 5000;
    for (int i = 0; i < 10; ++i, ++tick) port_.DecayTransmitBusy(tick, tick + 1);
    EXPECT_EQ(port_.TransmitBusy(), 420u);
    EXPECT_EQ(port_.DecayTransmitBusy(tick, tick + 1), 0u) << "stops at zero";

    port_.SetRate(300);
    const std::vector<uint8_t> bytes(1000, 'x');
    port_.Write(bytes.data(), bytes.size());
    ASSERT_EQ(port_.TransmitBusy(), 33334000u);
    // Across the wrap of the tick counter, a gap of ten seconds, and a longer one.
    EXPECT_EQ(port_.DecayTransmitBusy(0xFFFFFFF0u, 0x10u), 33334000u - 32000u);
    EXPECT_EQ(port_.DecayTransmitBusy(100, 100 + 10000), 33334000u - 32000u - 10000000u);
    EXPECT_EQ(port_.DecayTransmitBusy(100, 100 + 10001), 0u);

    const std::vector<uint8_t> block(64 * 1024, 'x');
    port_.Write(block.data(), block.size());
    port_.Write(block.data(), block.size());
    EXPECT_EQ(port_.TransmitBusy(), UINT32_MAX) << "saturates instead of wrapping";
}

TEST_F(SerialPortTest, ReadLeavesRoomForATerminatorAndAClosedPortMovesNothing) {
    std::vector<uint8_t> buffer(8095);
    EXPECT_EQ(port_.Read(buffer.data(), buffer.size()), 0u);
    EXPECT_FALSE(port_.WriteWhole("x"));
    EXPECT_EQ(port_.TransmitBusy(), 0u);

    OpenOrFail();
    EXPECT_EQ(port_.Read(buffer.data(), buffer.size()), 0u);  // nothing waits
    line_->Inject(std::string(9000, 'a'));
    EXPECT_EQ(port_.Read(buffer.data(), buffer.size()), 8094u);
    EXPECT_EQ(port_.Read(buffer.data(), 1), 0u);
    EXPECT_EQ(port_.Read(buffer.data(), buffer.size()), 906u);
    EXPECT_TRUE(port_.WriteWhole("x"));
    EXPECT_EQ(line_->Written(), "x");
}

// A far end that reads slower than the program writes, or not at all: the
// port stays open, lines wait whole and in order, and what no longer fits
// is dropped as whole lines and counted, never sent in part.
TEST_F(SerialPortTest, AFullLineIsNoLostDeviceAndNoHalfLineGoesOut) {
    OpenOrFail();
    line_->LimitUnread(10);
    EXPECT_TRUE(port_.WriteWhole("first line\r\n"));
    EXPECT_TRUE(port_.WriteWhole("second\r\n"));
    EXPECT_EQ(line_->Written(), "first line");
    EXPECT_EQ(port_.OutputWaiting(), 10u);
    port_.Drain();
    EXPECT_EQ(port_.OutputWaiting(), 10u) << "the far end has not read yet";
    EXPECT_TRUE(port_.IsOpen());
    EXPECT_FALSE(port_.TakeDeviceLost());

    EXPECT_EQ(line_->TakeWritten(), "first line");
    port_.Drain();
    EXPECT_EQ(line_->TakeWritten(), "\r\nsecond\r\n");
    EXPECT_EQ(port_.OutputWaiting(), 0u);

    // Nobody reads: the room fills, then whole lines are dropped and counted.
    line_->LimitUnread(0);
    const std::string answer = "$PKVTR,DID,ZEL Simulator,v1.0.0*3C\r\n";
    size_t taken = 0;
    int dropped = 0;
    for (int i = 0; i < 1000; ++i) {
        if (port_.WriteWhole(answer))
            taken += answer.size();
        else
            ++dropped;
        port_.Drain();
    }
    EXPECT_EQ(port_.OutputWaiting(), taken);
    EXPECT_LE(taken, SerialPort::kOutputLimit);
    EXPECT_GT(dropped, 0);
    EXPECT_EQ(port_.TakeDroppedBytes(), dropped * answer.size());
    EXPECT_EQ(port_.TakeDroppedBytes(), 0u) << "told once";
    EXPECT_TRUE(port_.IsOpen());

    // A file's bytes: what fits is taken, the caller keeps the rest.
    const std::string chunk(100, 'f');
    EXPECT_LT(port_.Write(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size()),
              chunk.size());

    line_->LimitUnread(SerialPort::kOutputLimit * 2);
    port_.Drain();
    EXPECT_EQ(port_.OutputWaiting(), 0u);
    EXPECT_EQ(line_->TakeWritten().substr(0, answer.size()), answer) << "in order, whole";
}

TEST_F(SerialPortTest, LineControlsReachOnlyAnOpenDevice) {
    port_.Purge();
    port_.ClearErrors();
    EXPECT_FALSE(port_.SetRts());
    EXPECT_EQ(line_->PurgeCount() + line_->ClearErrorsCount() + line_->RtsCallCount(), 0);

    OpenOrFail();
    line_->Inject("stale");
    port_.Purge();
    EXPECT_EQ(line_->PendingInput(), 0u);
    EXPECT_TRUE(port_.ClearRts());
    EXPECT_FALSE(line_->Rts());
    EXPECT_TRUE(port_.SetRts());
    EXPECT_TRUE(line_->Rts());
    port_.ClearErrors();
    EXPECT_EQ(line_->ClearErrorsCount(), 1);
}

TEST_F(SerialPortTest, UnpluggedDeviceClosesThePortAndIsReportedOnce) {
    OpenOrFail();
    port_.Close();
    EXPECT_FALSE(port_.TakeDeviceLost());  // a chosen close is no loss

    OpenOrFail();
    line_->Unplug();
    uint8_t buffer[64];
    EXPECT_EQ(port_.Read(buffer, sizeof buffer), 0u);
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_TRUE(port_.TakeDeviceLost());
    EXPECT_FALSE(port_.TakeDeviceLost());
    EXPECT_FALSE(port_.Open(3, 38400));  // gone until plugged back in

    line_->PlugIn();
    OpenOrFail();
    line_->Unplug();
    EXPECT_FALSE(port_.WriteWhole("x"));
    EXPECT_FALSE(port_.IsOpen());
    line_->PlugIn();
    OpenOrFail();
    EXPECT_FALSE(port_.TakeDeviceLost()) << "a fresh open forgets a loss not yet reported";
}

}  // namespace

}  // namespace zelsim
