#include "protocol/DeviceDiscovery.h"

#include "base/TickClock.h"

namespace zelsim {

void DeviceDiscovery::Start(uint32_t now) {
    active_ = true;
    start_ = now;
    requestSent_ = false;
    controllerKnown_ = lightbarKnown_ = receiverKnown_ = false;
}

void DeviceDiscovery::Known(Device device) {
    switch (device) {
        case Device::kController:
            controllerKnown_ = true;
            break;
        case Device::kLightbar:
            lightbarKnown_ = true;
            break;
        case Device::kReceiver:
            receiverKnown_ = true;
            break;
    }
}

bool DeviceDiscovery::Step(uint32_t now) {
    if (!active_ || !trigger_) return false;
    trigger_ = false;
    if (!requestSent_) {
        requestSent_ = true;
        return true;
    }
    if (AllKnown()) return false;
    if (TickClock::Elapsed(now, start_, kAttemptMs)) Start(now);
    return false;
}

}  // namespace zelsim
