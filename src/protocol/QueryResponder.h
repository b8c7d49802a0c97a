#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "protocol/DeviceDiscovery.h"
#include "protocol/ReceiverIdentityReply.h"
#include "serial/CyclePart.h"

namespace zelsim {

class RecordSampler;
class PanelRoute;

// The program as a device on the line: routes every valid proprietary
// sentence to the panel, to receiver acquisition and to the diagnostic
// records; answers the identity query addressed to it; keeps the
// controller's settings flowing while the graph is shown; asks the devices
// on the line to identify themselves; and catches the controller's
// bootloader version for the scripts. It behaves the same under every panel
// type: the type changes what is shown, not what is answered.
class QueryResponder : public CyclePart {
  public:
    static constexpr uint32_t kSettingsPeriodMs = 3000;
    static constexpr size_t kOwnIdentityLimit = 120;
    static constexpr const char* kBootloaderLineFormat = "dormalyn bootloader version is %s";
    static constexpr std::string_view kBootloader13Mark = "v1.3";

    using Send = std::function<void(std::string_view)>;
    using TransferRunning = std::function<bool()>;

    // `send` is the main cycle's SendSentence and `showReceived` its way to
    // log and show a line of the program's own making like a received one;
    // the screen sentences go to `panel`; `transferRunning` is true while a
    // button script or a file send runs, whose lines the settings queries
    // would fall between. `versionText` is the program's version as its
    // caption shows it. The settings period starts `now`.
    QueryResponder(RecordSampler& graph, PanelRoute& panel, Send send, Send showReceived,
                   TransferRunning transferRunning, std::string_view versionText, uint32_t now);

    void BeforeRead(uint32_t now) override { SettingsTick(now); }
    void SentenceFramed(SentenceFramer& sentence, uint32_t now) override {
        HandleSentence(sentence, now);
    }
    void AfterRead(uint32_t now) override { DiscoveryStep(now); }
    // The settings period, and a discovery step as soon as one is asked for.
    uint32_t NextStepIn(uint32_t now) const override;

    void HandleSentence(SentenceFramer& sentence, uint32_t now);
    void SettingsTick(uint32_t now);
    void DiscoveryStep(uint32_t now);

    // The script command that asks the bootloader's version arms the
    // capture; the next device identity reply disarms it and answers.
    void ArmBootloaderCapture() {
        bootloaderCaptureArmed_ = true;
        bootloaderIs13_ = false;
    }
    void DisarmBootloaderCapture() { bootloaderCaptureArmed_ = false; }
    bool BootloaderCaptureArmed() const { return bootloaderCaptureArmed_; }
    bool BootloaderIs13() const { return bootloaderIs13_; }

    ReceiverIdentityReply& ReceiverReply() { return receiverReply_; }
    const DeviceDiscovery& Discovery() const { return discovery_; }
    const std::string& OwnIdentity() const { return ownIdentity_; }

  private:
    void CaptureBootloader(SentenceFramer& sentence);
    void TakeReceiverIdentity(SentenceFramer& sentence);
    void TakeDeviceIdentity(SentenceFramer& sentence);
    void TakeControllerRecord(SentenceFramer& sentence, uint32_t now);
    bool QueriesAllowed() const;

    RecordSampler& graph_;
    PanelRoute& panel_;
    const Send send_;
    const Send showReceived_;
    const TransferRunning transferRunning_;
    const std::string ownIdentity_;
    uint32_t settingsMark_;
    bool bootloaderCaptureArmed_ = false;
    bool bootloaderIs13_ = false;
    ReceiverIdentityReply receiverReply_;
    DeviceDiscovery discovery_;
};

}  // namespace zelsim
