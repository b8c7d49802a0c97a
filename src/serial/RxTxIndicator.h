#pragma once
#include <cstdint>

#include "serial/CyclePart.h"

namespace zelsim {

class ControlTable;
class SerialPort;

// The receive/transmit arrows: a frame and two arrows shown and hidden
// independently. Each arrow stays lit until the end of the 125 ms period in
// which its line was last busy.
class RxTxIndicator : public CyclePart {
  public:
    static constexpr uint32_t kIdlePeriodMs = 125;

    // What shows; a closed port hides all.
    enum Arrows : uint8_t {
        kHidden,
        kFrameOnly,
        kReceiving,     // the frame and the receive arrow
        kTransmitting,  // the frame and the transmit arrow
        kBoth,
    };

    RxTxIndicator(ControlTable& controls, SerialPort& port, uint32_t now);

    // The idle checks of both arrows and the decay of the transmit estimate.
    void BeforeRead(uint32_t now) override;
    // Bytes came in this cycle: the receive arrow.
    void AfterRead(uint32_t now) override;
    // While an arrow is lit, until it goes out; a port just opened shows
    // its frame at once.
    uint32_t NextStepIn(uint32_t now) const override;

    void Reset();
    void ReceiveIdle(bool portOpen);
    void Receive(uint32_t now);
    void TransmitIdle(bool portOpen);
    void TransmitBusy(uint32_t now);

    Arrows State() const { return state_; }
    // Whether `state` lights an arrow that `shown` does not.
    static bool LightsMore(Arrows state, Arrows shown);
    uint32_t LastReceiveTick() const { return lastReceiveTick_; }
    uint32_t LastTransmitTick() const { return lastTransmitTick_; }

  private:
    enum Event : uint8_t { kReceiveIdle, kReceived, kTransmitIdle, kTransmitted };
    void Enter(Arrows state);
    void Take(Event event);

    ControlTable& controls_;
    SerialPort& port_;
    Arrows state_ = kHidden;
    uint32_t lastReceiveTick_ = 0;
    uint32_t lastTransmitTick_ = 0;
    uint32_t receiveIdleMark_;
    uint32_t transmitIdleMark_;
    uint32_t transmitDecayMark_;
    uint64_t bytesSeen_ = 0;
};

}  // namespace zelsim
