#include "protocol/QueryResponder.h"

#include <cstdio>

#include "base/ProprietarySentences.h"
#include "base/TickClock.h"
#include "graph/RecordSampler.h"
#include "protocol/PanelRoute.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {
constexpr uint8_t kAddress = 0;
constexpr uint8_t kSubType = 1;
constexpr uint8_t kRecordType = 2;
constexpr uint8_t kName = 2;
constexpr uint8_t kVersion = 3;
constexpr uint8_t kBootloaderVersion = 4;
constexpr uint8_t kReceiverSerial = 6;

std::string OwnIdentityText(std::string_view versionText) {
    char text[QueryResponder::kOwnIdentityLimit];
    const std::string version(versionText);
    std::snprintf(text, sizeof text, proprietary::kOwnIdentityFormat, proprietary::kOwnName,
                  version.c_str());
    return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string Cut(std::string_view text) {
    return std::string(text.substr(0, ReceiverIdentityReply::kTextLimit));
}
}  // namespace

QueryResponder::QueryResponder(RecordSampler& graph, PanelRoute& panel, Send send,
                               Send showReceived, TransferRunning transferRunning,
                               std::string_view versionText, uint32_t now)
    : graph_(graph),
      panel_(panel),
      send_(std::move(send)),
      showReceived_(std::move(showReceived)),
      transferRunning_(std::move(transferRunning)),
      ownIdentity_(OwnIdentityText(versionText)),
      settingsMark_(now) {}

void QueryResponder::HandleSentence(SentenceFramer& sentence, uint32_t now) {
    const std::string_view address = sentence.Field(kAddress);
    if (address == proprietary::kContrast) {
        panel_.HandleContrastSentence(sentence);
    } else if (address == proprietary::kLcdBytes) {
        panel_.HandleControllerSentence(sentence);
    } else if (address == proprietary::kScreen) {
        panel_.HandleScreenSentence(sentence);
    } else if (address == proprietary::kQuery) {
        // Only our own identity is ours to give; the others are for the
        // devices on the line.
        if (sentence.FieldIs(kSubType, proprietary::kDeviceId)) send_(ownIdentity_);
    } else if (address == proprietary::kReply) {
        HandleReply(sentence, now);
    }
}

void QueryResponder::HandleReply(SentenceFramer& sentence, uint32_t now) {
    const std::string_view subType = sentence.Field(kSubType);
    if (bootloaderCaptureArmed_ && subType == proprietary::kDeviceId) CaptureBootloader(sentence);
    if (subType == proprietary::kReceiverId)
        TakeReceiverIdentity(sentence);
    else if (subType == proprietary::kDeviceId)
        TakeDeviceIdentity(sentence);
    else if (subType == proprietary::kController)
        TakeControllerRecord(sentence, now);
}

void QueryResponder::CaptureBootloader(SentenceFramer& sentence) {
    bootloaderIs13_ =
        sentence.Field(kBootloaderVersion).find(kBootloader13Mark) != std::string_view::npos;
    bootloaderCaptureArmed_ = false;
    char line[64];
    std::snprintf(line, sizeof line, kBootloaderLineFormat, bootloaderIs13_ ? "1.3" : "1.2");
    showReceived_(line);
}

void QueryResponder::TakeReceiverIdentity(SentenceFramer& sentence) {
    receiverReply_.received = true;
    receiverReply_.name = Cut(sentence.Field(kName));
    receiverReply_.version = Cut(sentence.Field(kVersion));
    receiverReply_.serialNumber = Cut(sentence.Field(kReceiverSerial));
    graph_.DecodeReceiverIdentity(sentence);
    discovery_.Known(DeviceDiscovery::Device::kReceiver);
}

void QueryResponder::TakeDeviceIdentity(SentenceFramer& sentence) {
    const std::string_view name = sentence.Field(kName);
    if (StartsWith(name, proprietary::kControllerNamePrefix)) {
        graph_.DecodeDeviceIdentity(sentence, DeviceSlot::kController);
        discovery_.Known(DeviceDiscovery::Device::kController);
    } else if (StartsWith(name, proprietary::kLightbarNamePrefix) ||
               StartsWith(name, proprietary::kOtherLightbarNamePrefix)) {
        graph_.DecodeDeviceIdentity(sentence, DeviceSlot::kLightbar);
        discovery_.Known(DeviceDiscovery::Device::kLightbar);
    }
}

void QueryResponder::TakeControllerRecord(SentenceFramer& sentence, uint32_t now) {
    // The graph's decoders choose by the record type and ignore what they
    // cannot use; the responder only adds what follows the settings blocks.
    const std::string_view type = sentence.Field(kRecordType);
    const bool firstBlock =
        type == proprietary::kFirstSettingsNow || type == proprietary::kFirstSettings;
    if (type == proprietary::kSecondSettingsNow || type == proprietary::kSecondSettings) {
        // Read before the decoder sets it: the first reply since the graph
        // opened starts an attempt, later ones drive it.
        if (graph_.SettingsArrived())
            discovery_.Trigger();
        else
            discovery_.Start(now);
    }
    graph_.DecodeDml(sentence);
    // The second block is asked at once, so that one settings period brings
    // both.
    if (firstBlock && QueriesAllowed()) send_(proprietary::kSecondSettingsQuery);
}

bool QueryResponder::QueriesAllowed() const {
    return graph_.IsVisible() && !transferRunning_();
}

void QueryResponder::SettingsTick(uint32_t now) {
    if (!TickClock::Elapsed(now, settingsMark_, kSettingsPeriodMs)) return;
    // The period runs on whether or not a query goes out, so the first query
    // after the graph opens waits for the next mark.
    settingsMark_ = now;
    if (QueriesAllowed()) send_(proprietary::kFirstSettingsQuery);
}

void QueryResponder::DiscoveryStep(uint32_t now) {
    if (discovery_.Step(now)) send_(proprietary::kDiscoveryRequest);
}

}  // namespace zelsim
