#include "app/RxTxIndicator.h"

#include "app/ControlTable.h"

namespace {
struct Look {
    bool frame, tx, rx;
};
constexpr Look kLooks[] = {
    {false, false, false}, {true, false, false}, {true, false, true},
    {true, true, false},   {true, true, true},
};
}  // namespace

RxTxIndicator::RxTxIndicator(ControlTable& controls) : controls_(controls) { Reset(); }

void RxTxIndicator::Enter(uint8_t state) {
    state_ = state;
    const Look& look = kLooks[state];
    controls_.SetVisible(kFrame, look.frame);
    controls_.SetVisible(kTxArrow, look.tx);
    controls_.SetVisible(kRxArrow, look.rx);
}

void RxTxIndicator::Reset() { Enter(0); }

void RxTxIndicator::ReceiveIdle(bool portOpen) {
    if (!portOpen) return Reset();
    switch (state_) {
        case 4: Enter(3); break;
        case 2: Enter(1); break;
        case 0: Enter(1); break;
        default: break;
    }
}

void RxTxIndicator::Receive(uint32_t now) {
    lastReceiveTick_ = now;
    switch (state_) {
        case 3: Enter(4); break;
        case 1: Enter(2); break;
        case 0: Enter(2); break;
        default: break;
    }
}

void RxTxIndicator::TransmitIdle(bool portOpen) {
    if (!portOpen) return Reset();
    switch (state_) {
        case 4: Enter(2); break;
        case 3: Enter(1); break;
        case 0: Enter(1); break;
        default: break;
    }
}

void RxTxIndicator::TransmitBusy(uint32_t now) {
    lastTransmitTick_ = now;
    switch (state_) {
        case 2: Enter(4); break;
        case 1: Enter(3); break;
        case 0: Enter(3); break;
        default: break;
    }
}
