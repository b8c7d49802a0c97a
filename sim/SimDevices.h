#pragma once
#include <cstdint>
#include <memory>
#include <optional>
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
//
// The plain line "RESET" stands for the controller's power being cycled,
// which no program can do over the line: the controller drops into its
// bootloader, streams nothing (nor does its lightbar) and answers nothing
// but the bootloader's questions, until the bootloader starts it again.
class SimDevices {
  public:
    static constexpr const char* kResetLine = "RESET";

    SimDevices(const TickClock& clock, const SimOptions& options);

    // The rate the line runs at now (the receiver and the bootloader care).
    void SetLineRate(uint32_t rate);
    // The rate a bootloader listens at, 0 when none runs: a real device
    // cannot follow the program's rate the way a pseudo-terminal does, so
    // the simulator's end has to be put there.
    uint32_t WantedRate() const { return bootloader_ ? bootloader_->ListenRate() : 0; }
    // The controller sits in its bootloader (it may have none behind it).
    bool InBootloader() const { return bootloader_ != nullptr; }

    // Bytes as they arrive, halves of lines included; returns the answers.
    std::string Receive(const uint8_t* bytes, size_t count);
    std::string Receive(std::string_view bytes) {
        return Receive(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    // What the devices send of their own accord by now.
    std::string Tick();
    // How long Tick would send nothing: the milliseconds until the first
    // device has something due (0 when one has now); none when none will
    // before it hears something.
    std::optional<uint32_t> QuietMs() const;

    SimReport& Report();
    SimReceiver* Receiver() { return receiver_.get(); }
    SimController* Controller() { return controller_.get(); }
    SimLightbar* Lightbar() { return lightbar_.get(); }
    SimIdentityAsker* IdentityAsker() { return identityAsker_.get(); }
    SimNoise* Noise() { return noise_.get(); }
    SimBootloader* Bootloader() { return bootloader_.get(); }

  private:
    void Dispatch(const SimMessage& message, std::vector<std::string>& out);
    // The controller, or the bootloader it sits in, goes through a power cycle.
    void PowerCycle();
    void EndBootloader();
    bool ControllerRuns() const { return controller_ && !bootloader_; }

    const TickClock& clock_;
    SentenceFramer framer_;
    std::unique_ptr<SimReceiver> receiver_;
    std::unique_ptr<SimController> controller_;
    std::unique_ptr<SimLightbar> lightbar_;  // the controller's: there only with it
    std::unique_ptr<SimIdentityAsker> identityAsker_;
    std::unique_ptr<SimNoise> noise_;
    std::unique_ptr<SimBootloader> bootloader_;  // the one running now, if any
    const SimBootloader::Version bootloaderVersion_;
    const std::optional<uint32_t> bootloaderStallAfter_;
    uint32_t lineRate_ = 0;
    SimBootloader::Counts earlierRecords_;  // of bootloaders that have ended
    uint32_t resets_ = 0;
    uint32_t restarts_ = 0;
    SimReport report_;
};

}  // namespace zelsim
