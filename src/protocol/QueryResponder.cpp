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
    using proprietary::SentenceHandler;
    const proprietary::SentenceRow* row =
        proprietary::Lookup(sentence.Field(kAddress), sentence.Field(kSubType));
    if (row == nullptr || sentence.FieldCount() < row->minimumFields) return;
    switch (row->handler) {
        case SentenceHandler::kPanelContrast:
            panel_.HandleContrastSentence(sentence);
            break;
        case SentenceHandler::kPanelBytes:
            panel_.HandleControllerSentence(sentence);
            break;
        case SentenceHandler::kPanelScreen:
            panel_.HandleScreenSentence(sentence);
            break;
        case SentenceHandler::kOwnIdentityQuery:
            // Only our own identity is ours to give; the other queries are
            // for the devices on the line.
            send_(ownIdentity_);
            break;
        case SentenceHandler::kDeviceIdentity:
            if (bootloaderCaptureArmed_) CaptureBootloader(sentence);
            TakeDeviceIdentity(sentence);
            break;
        case SentenceHandler::kReceiverIdentity:
            TakeReceiverIdentity(sentence);
            break;
        case SentenceHandler::kControllerRecord:
            TakeControllerRecord(sentence, now);
            break;
    }
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
    // The graph's decoders ignore what they cannot use; the responder only
    // adds what follows the settings blocks.
    const proprietary::RecordType type = proprietary::RecordTypeOf(sentence.Field(kRecordType));
    if (proprietary::IsSecondSettings(type)) {
        // Read before the decoder sets it: the first reply since the graph
        // opened starts an attempt, later ones drive it.
        if (graph_.SettingsArrived())
            discovery_.Trigger();
        else
            discovery_.Start(now);
    }
    graph_.DecodeDml(sentence, type);
    // The second block is asked at once, so that one settings period brings
    // both.
    if (proprietary::IsFirstSettings(type) && QueriesAllowed())
        send_(proprietary::kSecondSettingsQuery);
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

uint32_t QueryResponder::NextStepIn(uint32_t now) const {
    if (discovery_.Triggered()) return 0;
    return TickClock::Remaining(now, settingsMark_, kSettingsPeriodMs);
}

void QueryResponder::DiscoveryStep(uint32_t now) {
    if (discovery_.Step(now)) send_(proprietary::kDiscoveryRequest);
}

}  // namespace zelsim
