#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/RxTxIndicator.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
namespace mw = main_window;

// Every sequence of up to four events from the hidden state: each event
// lights or puts out its own arrow and leaves the other as it was, the frame
// shows while the port is open, and the state says what shows.
TEST(RxTxIndicatorTest, EachEventMovesOnlyItsOwnArrow) {
    constexpr int kEvents = 4;
    constexpr int kLongest = 4;
    int sequences = 1;
    for (int n = 0; n < kLongest; ++n) sequences *= kEvents;
    for (int sequence = 0; sequence < sequences; ++sequence) {
        ControlTable controls;
        PortMap map;
        SerialPort port(MemorySerialDevice::Plug(std::make_shared<MemorySerialDevice>()), map);
        RxTxIndicator indicator(controls, port, 0);
        bool rx = false;
        bool tx = false;
        std::string steps;
        for (int n = 0, code = sequence; n < kLongest; ++n, code /= kEvents) {
            switch (code % kEvents) {
                case 0:
                    indicator.Receive(1);
                    rx = true;
                    steps += " receive";
                    break;
                case 1:
                    indicator.ReceiveIdle(true);
                    rx = false;
                    steps += " receive-idle";
                    break;
                case 2:
                    indicator.TransmitBusy(1);
                    tx = true;
                    steps += " transmit";
                    break;
                default:
                    indicator.TransmitIdle(true);
                    tx = false;
                    steps += " transmit-idle";
                    break;
            }
            ASSERT_TRUE(controls.Get(mw::iRxTxFrame).visible) << steps;
            ASSERT_EQ(controls.Get(mw::iRxArrow).visible, rx) << steps;
            ASSERT_EQ(controls.Get(mw::iTxArrow).visible, tx) << steps;
            const RxTxIndicator::Arrows expected = rx && tx ? RxTxIndicator::kBoth
                                                   : rx     ? RxTxIndicator::kReceiving
                                                   : tx     ? RxTxIndicator::kTransmitting
                                                            : RxTxIndicator::kFrameOnly;
            ASSERT_EQ(indicator.State(), expected) << steps;
        }
        indicator.TransmitIdle(false);
        EXPECT_EQ(indicator.State(), RxTxIndicator::kHidden) << "a closed port hides all";
        EXPECT_FALSE(controls.Get(mw::iRxTxFrame).visible);
    }
}

// The window shows at once an arrow that lights: only an arrow lit that was
// not lit when last shown counts, not one going out or the frame alone.
TEST(RxTxIndicatorTest, LightsMoreNamesOnlyArrowsNotShownLit) {
    using Ind = RxTxIndicator;
    EXPECT_TRUE(Ind::LightsMore(Ind::kReceiving, Ind::kFrameOnly));
    EXPECT_TRUE(Ind::LightsMore(Ind::kReceiving, Ind::kHidden));
    EXPECT_TRUE(Ind::LightsMore(Ind::kReceiving, Ind::kTransmitting));
    EXPECT_TRUE(Ind::LightsMore(Ind::kTransmitting, Ind::kReceiving));
    EXPECT_TRUE(Ind::LightsMore(Ind::kBoth, Ind::kReceiving));
    EXPECT_TRUE(Ind::LightsMore(Ind::kBoth, Ind::kTransmitting));
    EXPECT_FALSE(Ind::LightsMore(Ind::kReceiving, Ind::kBoth));
    EXPECT_FALSE(Ind::LightsMore(Ind::kReceiving, Ind::kReceiving));
    EXPECT_FALSE(Ind::LightsMore(Ind::kFrameOnly, Ind::kHidden));
    EXPECT_FALSE(Ind::LightsMore(Ind::kHidden, Ind::kBoth));
    EXPECT_FALSE(Ind::LightsMore(Ind::kFrameOnly, Ind::kReceiving));
}

}  // namespace

}  // namespace zelsim
