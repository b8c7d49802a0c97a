#include "serial/RxTxIndicator.h"

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/TickClock.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
struct Look {
    bool frame, tx, rx;
};
constexpr Look kLooks[] = {
    {false, false, false}, {true, false, false}, {true, false, true},
    {true, true, false},   {true, true, true},
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

void RxTxIndicator::Enter(uint8_t state) {
    state_ = state;
    const Look& look = kLooks[state];
    controls_.SetVisible(main_window::iRxTxFrame, look.frame);
    controls_.SetVisible(main_window::iTxArrow, look.tx);
    controls_.SetVisible(main_window::iRxArrow, look.rx);
}

void RxTxIndicator::Reset() {
    Enter(0);
}

void RxTxIndicator::ReceiveIdle(bool portOpen) {
    if (!portOpen) return Reset();
    switch (state_) {
        case 4:
            Enter(3);
            break;
        case 2:
            Enter(1);
            break;
        case 0:
            Enter(1);
            break;
        default:
            break;
    }
}

void RxTxIndicator::Receive(uint32_t now) {
    lastReceiveTick_ = now;
    switch (state_) {
        case 3:
            Enter(4);
            break;
        case 1:
            Enter(2);
            break;
        case 0:
            Enter(2);
            break;
        default:
            break;
    }
}

void RxTxIndicator::TransmitIdle(bool portOpen) {
    if (!portOpen) return Reset();
    switch (state_) {
        case 4:
            Enter(2);
            break;
        case 3:
            Enter(1);
            break;
        case 0:
            Enter(1);
            break;
        default:
            break;
    }
}

void RxTxIndicator::TransmitBusy(uint32_t now) {
    lastTransmitTick_ = now;
    switch (state_) {
        case 2:
            Enter(4);
            break;
        case 1:
            Enter(3);
            break;
        case 0:
            Enter(3);
            break;
        default:
            break;
    }
}

}  // namespace zelsim
