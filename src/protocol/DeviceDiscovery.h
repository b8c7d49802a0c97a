#pragma once
#include <cstdint>

namespace zelsim {

// Asks the controller to have every device on the line identify itself, and
// asks again while one of the controller, the lightbar and the receiver has
// not answered. Driven by the controller's second-stage settings replies,
// which come once per settings period: the first after the graph opens
// starts an attempt, the next sends the request, and an attempt older than
// 5000 ms is started afresh at the next reply. No I/O here: Step says when
// the request is due.
class DeviceDiscovery {
  public:
    static constexpr uint32_t kAttemptMs = 5000;

    enum class Device : uint8_t { kController, kLightbar, kReceiver };

    void Start(uint32_t now);
    // A second-stage settings reply arrived.
    void Trigger() { trigger_ = true; }
    bool Triggered() const { return active_ && trigger_; }
    // An identity reply of that device arrived (asked or not).
    void Known(Device device);
    // Once per cycle; true when the discovery request is to be sent now.
    bool Step(uint32_t now);

    bool Active() const { return active_; }
    bool RequestSent() const { return requestSent_; }
    bool AllKnown() const { return controllerKnown_ && lightbarKnown_ && receiverKnown_; }

  private:
    bool active_ = false;
    uint32_t start_ = 0;
    bool requestSent_ = false;
    bool trigger_ = false;
    bool controllerKnown_ = false;
    bool lightbarKnown_ = false;
    bool receiverKnown_ = false;
};

}  // namespace zelsim
