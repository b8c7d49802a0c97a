#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "SimBootloader.h"
#include "SimController.h"
#include "SimIdentityAsker.h"
#include "SimLightbar.h"
#include "SimNoise.h"
#include "SimOptions.h"
#include "SimReceiver.h"
#include "SimReport.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

class TickClock;

// The devices on the far end of the line, without the line: bytes in, the
// devices' answers out (each sentence with its checksum and CR LF), and the
// record of what was heard.
class SimDevices {
  public:
    SimDevices(const TickClock& clock, const SimOptions& options);

    // The rate the line runs at now (only the receiver cares).
    void SetLineRate(uint32_t rate);

    // Bytes as they arrive, halves of lines included; returns the answers.
    std::string Receive(const uint8_t* bytes, size_t count);
    std::string Receive(std::string_view bytes) {
        return Receive(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    // What the devices send of their own accord by now.
    std::string Tick();

    SimReport& Report();
    SimReceiver* Receiver() { return receiver_.get(); }
    SimController* Controller() { return controller_.get(); }
    SimLightbar* Lightbar() { return lightbar_.get(); }
    SimIdentityAsker* IdentityAsker() { return identityAsker_.get(); }
    SimNoise* Noise() { return noise_.get(); }
    SimBootloader* Bootloader() { return bootloader_.get(); }

  private:
    void Dispatch(const SimMessage& message, std::vector<std::string>& out);

    const TickClock& clock_;
    SentenceFramer framer_;
    std::unique_ptr<SimReceiver> receiver_;
    std::unique_ptr<SimController> controller_;
    std::unique_ptr<SimLightbar> lightbar_;  // the controller's: there only with it
    std::unique_ptr<SimIdentityAsker> identityAsker_;
    std::unique_ptr<SimNoise> noise_;
    std::unique_ptr<SimBootloader> bootloader_;
    SimReport report_;
};

}  // namespace zelsim
