#include "SimDevices.h"

#include <random>

#include "base/TickClock.h"

namespace zelsim {

namespace {
std::string Joined(const std::vector<std::string>& parts) {
    std::string all;
    for (const std::string& part : parts) all += part;
    return all;
}
}  // namespace

SimDevices::SimDevices(const TickClock& clock, const SimOptions& options)
    : clock_(clock),
      bootloaderVersion_(options.bootloader ? *options.bootloader : options.bootloaderVersion),
      bootloaderStallAfter_(options.bootloaderStallAfter) {
    if (options.receiver)
        receiver_ = std::make_unique<SimReceiver>(clock, options.receiverBaud, options.nmea);
    if (options.controller) {
        controller_ =
            std::make_unique<SimController>(clock, options.oldSettings, options.oldRecords);
        lightbar_ = std::make_unique<SimLightbar>(clock);
    }
    if (options.bootloader)
        bootloader_ =
            std::make_unique<SimBootloader>(clock, *options.bootloader, bootloaderStallAfter_);
    if (options.askIdentityMs > 0)
        identityAsker_ = std::make_unique<SimIdentityAsker>(clock, options.askIdentityMs);
    if (options.noisePerSecond > 0)
        noise_ = std::make_unique<SimNoise>(clock, options.noisePerSecond,
                                            options.seed ? *options.seed : std::random_device{}());
}

void SimDevices::SetLineRate(uint32_t rate) {
    lineRate_ = rate;
    if (receiver_) receiver_->SetLineRate(rate);
    if (bootloader_) bootloader_->SetLineRate(rate);
}

std::string SimDevices::Receive(const uint8_t* bytes, size_t count) {
    report_.AddBytesReceived(count);
    std::vector<std::string> out;
    char text[SentenceFramer::kBufferSize + 1];
    const uint32_t now = clock_.TickNow();
    for (size_t i = 0; i < count; ++i) {
        const uint8_t state = framer_.Feed(bytes[i], now);
        if (state != SentenceFramer::kSentenceReady && state != SentenceFramer::kLineReady)
            continue;
        size_t length = 0;
        framer_.CopyOut(text, length);
        SimMessage message = SimMessage::Line(std::string(text, length));
        if (state == SentenceFramer::kSentenceReady)
            for (uint8_t f = 0; f < framer_.FieldCount(); ++f)
                message.fields.emplace_back(framer_.Field(f));
        Dispatch(message, out);
    }
    return Joined(out);
}

void SimDevices::Dispatch(const SimMessage& message, std::vector<std::string>& out) {
    if (message.IsSentence()) {
        report_.AddSentence(message);
        if (receiver_) receiver_->Hear(message, out);
        if (ControllerRuns()) controller_->Hear(message, out);
        if (bootloader_) bootloader_->Hear(message, out);
        if (identityAsker_) identityAsker_->Hear(message);
        return;
    }
    // Power is not a matter of rates: the reset is taken whatever the line runs at.
    if (message.text == kResetLine && (controller_ || bootloader_)) {
        PowerCycle();
        return;
    }
    const bool taken = bootloader_ && bootloader_->Hear(message, out);
    if (!taken) report_.AddUnknownLine();
}

void SimDevices::PowerCycle() {
    EndBootloader();
    bootloader_ =
        std::make_unique<SimBootloader>(clock_, bootloaderVersion_, bootloaderStallAfter_);
    bootloader_->SetLineRate(lineRate_);
    ++resets_;
}

void SimDevices::EndBootloader() {
    if (!bootloader_) return;
    earlierRecords_ += bootloader_->Tally();
    bootloader_.reset();
}

std::string SimDevices::Tick() {
    std::vector<std::string> out;
    // Only a bootloader with a controller behind it has firmware to start.
    // Started, the controller streams from this tick on, so that nothing is
    // left due for a loop that sleeps until QuietMs.
    if (controller_ && bootloader_ && bootloader_->RestartDue()) {
        EndBootloader();
        ++restarts_;
    }
    if (receiver_) receiver_->Tick(out);
    // Back from its bootloader, the controller's stream goes on from where
    // the vehicle is now: it kept driving while the controller was down.
    if (ControllerRuns()) {
        controller_->Tick(out);
        lightbar_->Tick(out);
    }
    if (bootloader_) bootloader_->Tick(out);
    if (identityAsker_) identityAsker_->Tick(out);
    if (noise_) noise_->Interleave(out);
    return Joined(out);
}

std::optional<uint32_t> SimDevices::QuietMs() const {
    std::optional<uint32_t> due;
    if (receiver_) due = receiver_->Due();
    // A controller in its bootloader takes none of its slots: they do not count.
    if (ControllerRuns()) due = EarlierTick(due, EarlierTick(controller_->Due(), lightbar_->Due()));
    if (bootloader_) {
        due = EarlierTick(due, bootloader_->AnswerDue());
        if (controller_) due = EarlierTick(due, bootloader_->RestartAt());
    }
    if (identityAsker_) due = EarlierTick(due, identityAsker_->Due());
    if (noise_) due = EarlierTick(due, noise_->Due());
    if (!due) return std::nullopt;
    const auto ahead = static_cast<int32_t>(*due - clock_.TickNow());
    return ahead > 0 ? static_cast<uint32_t>(ahead) : 0;
}

SimReport& SimDevices::Report() {
    SimBootloader::Counts records = earlierRecords_;
    if (bootloader_) records += bootloader_->Tally();
    report_.SetHexRecords(records);
    report_.SetBootloaderRuns(resets_, restarts_);
    if (identityAsker_)
        report_.SetIdentityQueries(identityAsker_->Asked(), identityAsker_->Answered(),
                                   identityAsker_->AnswerVersion());
    if (noise_) report_.SetNoise(noise_->Seed(), noise_->Counts());
    return report_;
}

}  // namespace zelsim
