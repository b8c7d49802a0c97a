#include "serial/RxTxIndicator.h"

#include <algorithm>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/TickClock.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
using Ind = RxTxIndicator;
struct Look {
    bool frame, tx, rx;
};
// By Arrows.
constexpr Look kLooks[] = {
    {false, false, false}, {true, false, false}, {true, false, true},
    {true, true, false},   {true, true, true},
};
// The next state by state and event (receive idle, received, transmit idle,
// transmitted): an event lights or puts out its own arrow only, and an open
// port shows at least the frame.
constexpr Ind::Arrows kNext[][4] = {
    /* kHidden */ {Ind::kFrameOnly, Ind::kReceiving, Ind::kFrameOnly, Ind::kTransmitting},
    /* kFrameOnly */ {Ind::kFrameOnly, Ind::kReceiving, Ind::kFrameOnly, Ind::kTransmitting},
    /* kReceiving */ {Ind::kFrameOnly, Ind::kReceiving, Ind::kReceiving, Ind::kBoth},
    /* kTransmitting */ {Ind::kTransmitting, Ind::kBoth, Ind::kFrameOnly, Ind::kTransmitting},
    /* kBoth */ {Ind::kTransmitting, Ind::kBoth, Ind::kReceiving, Ind::kBoth},
};
}  // namespace

RxTxIndicator::RxTxIndicator(ControlTable& controls, SerialPort& port, uint32_t now)
    : controls_(controls),
      port_(port),
      receiveIdleMark_(now),
      transmitIdleMark_(now),
      transmitDecayMark_(now),
      bytesSeen_(port.BytesReceived()) {
    Reset();
}

void RxTxIndicator::BeforeRead(uint32_t now) {
    if (TickClock::Elapsed(now, receiveIdleMark_, kIdlePeriodMs)) {
        receiveIdleMark_ = now;
        ReceiveIdle(port_.IsOpen());
    }
    if (port_.TransmitBusy() > 0) {
        TransmitBusy(now);
        port_.DecayTransmitBusy(transmitDecayMark_, now);
    } else if (TickClock::Elapsed(now, transmitIdleMark_, kIdlePeriodMs)) {
        transmitIdleMark_ = now;
        TransmitIdle(port_.IsOpen());
    }
    transmitDecayMark_ = now;
}

void RxTxIndicator::AfterRead(uint32_t now) {
    if (port_.BytesReceived() == bytesSeen_) return;
    bytesSeen_ = port_.BytesReceived();
    Receive(now);
}

uint32_t RxTxIndicator::NextStepIn(uint32_t now) const {
    if (port_.TransmitBusy() > 0 || (state_ == kHidden) == port_.IsOpen()) return 0;
    if (state_ == kHidden || state_ == kFrameOnly) return kNoStep;
    return std::min(TickClock::Remaining(now, receiveIdleMark_, kIdlePeriodMs),
                    TickClock::Remaining(now, transmitIdleMark_, kIdlePeriodMs));
}

bool RxTxIndicator::LightsMore(Arrows state, Arrows shown) {
    return (kLooks[state].rx && !kLooks[shown].rx) || (kLooks[state].tx && !kLooks[shown].tx);
}

void RxTxIndicator::Enter(Arrows state) {
    state_ = state;
    const Look& look = kLooks[state];
    controls_.SetVisible(main_window::iRxTxFrame, look.frame);
    controls_.SetVisible(main_window::iTxArrow, look.tx);
    controls_.SetVisible(main_window::iRxArrow, look.rx);
}

void RxTxIndicator::Take(Event event) {
    const Arrows next = kNext[state_][event];
    if (next != state_) Enter(next);
}

void RxTxIndicator::Reset() {
    Enter(kHidden);
}

void RxTxIndicator::ReceiveIdle(bool portOpen) {
    if (!portOpen) return Reset();
    Take(kReceiveIdle);
}

void RxTxIndicator::Receive(uint32_t now) {
    lastReceiveTick_ = now;
    Take(kReceived);
}

void RxTxIndicator::TransmitIdle(bool portOpen) {
    if (!portOpen) return Reset();
    Take(kTransmitIdle);
}

void RxTxIndicator::TransmitBusy(uint32_t now) {
    lastTransmitTick_ = now;
    Take(kTransmitted);
}

}  // namespace zelsim
