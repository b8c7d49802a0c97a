#pragma once
#include <cstdint>

class ControlTable;

// The receive/transmit arrows: a frame and two arrows shown and hidden
// independently. State 0 hides all; 1 frame only; 2 receive arrow; 3
// transmit arrow; 4 both.
class RxTxIndicator {
public:
    static constexpr const char* kFrame = "iRxTxFrame";
    static constexpr const char* kTxArrow = "iTxArrow";
    static constexpr const char* kRxArrow = "iRxArrow";

    explicit RxTxIndicator(ControlTable& controls);

    void Reset();
    void ReceiveIdle(bool portOpen);
    void Receive(uint32_t now);
    void TransmitIdle(bool portOpen);
    void TransmitBusy(uint32_t now);

    uint8_t State() const { return state_; }
    uint32_t LastReceiveTick() const { return lastReceiveTick_; }
    uint32_t LastTransmitTick() const { return lastTransmitTick_; }

private:
    void Enter(uint8_t state);

    ControlTable& controls_;
    uint8_t state_ = 0;
    uint32_t lastReceiveTick_ = 0;
    uint32_t lastTransmitTick_ = 0;
};
