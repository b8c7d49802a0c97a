// Replies and queries with arbitrary fields reach the responder and the
// record decoders the way the main cycle hands them over, with the graph
// shown, hidden and holding, and the clock running. Nothing may crash, every
// text the program keeps must stay inside its field, and what the program
// sends back must be one of the sentences it knows. Each input line is one
// sentence body ("PKVTR,DML,PLT2,..."); the first byte of the input chooses
// the graph's state and whether the bootloader capture is armed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "base/ProprietarySentences.h"
#include "graph/RecordSampler.h"
#include "protocol/PanelRoute.h"
#include "protocol/QueryResponder.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

constexpr uint32_t kStartTick = 0xFFFFF000u;  // the tick wraps during the run
constexpr size_t kLineLimit = 700;            // past the framer's body, on purpose

std::tm FixedTime() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = 23;
    return t;
}

template <size_t N>
bool Terminated(const char (&text)[N]) {
    return std::memchr(text, 0, N) != nullptr;
}

bool IsFlag(char c) {
    return c == 0 || c == '0' || c == '1';
}

void CheckRecord(const DiagnosticRecord& r) {
    Require(Terminated(r.dat) && Terminated(r.tim), "a date or time text is unterminated");
    Require(r.hld <= 1, "hld is neither 0 nor 1");
    Require(r.firstRsp <= 1, "1stRsp is neither 0 nor 1");
    Require(r.draftFilterActive <= 1, "draftFilterActive is neither 0 nor 1");
    Require(IsFlag(r.yawRateFlag) && IsFlag(r.reverseFlag), "a flag is not 0, '0' or '1'");
    Require(r.latDeg > -100 && r.latDeg < 100, "latitude degrees beyond two digits");
    Require(r.lonDeg > -256 && r.lonDeg < 256, "longitude degrees beyond 255");
}

void CheckIdentity(const DeviceIdentity& id) {
    Require(Terminated(id.name) && Terminated(id.version) && Terminated(id.serialNumber),
            "an identity text is unterminated");
    Require(id.Name().size() <= DeviceIdentity::kNameLimit &&
                id.Version().size() <= DeviceIdentity::kVersionLimit &&
                id.SerialNumber().size() <= DeviceIdentity::kSerialNumberLimit,
            "an identity text is longer than its field");
}

// The panel's sentences are the panel fuzz target's to try.
class IgnoredPanel final : public PanelRoute {
  public:
    void HandleContrastSentence(SentenceFramer&) override {}
    void HandleControllerSentence(SentenceFramer&) override {}
    void HandleScreenSentence(SentenceFramer&) override {}
};

bool Known(std::string_view sent, const std::string& ownIdentity) {
    return sent == ownIdentity || sent == proprietary::kFirstSettingsQuery ||
           sent == proprietary::kSecondSettingsQuery || sent == proprietary::kDiscoveryRequest;
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zelsim;
    if (size == 0) return 0;
    const uint8_t mode = data[0];
    RecordSampler graph(FixedTime);
    bool sendsOk = true;
    std::string ownIdentity;
    bool shownOk = true;
    IgnoredPanel panel;
    QueryResponder responder(
        graph, panel,
        [&](std::string_view text) {
            if (!Known(text, ownIdentity)) sendsOk = false;
        },
        [&](std::string_view line) {
            shownOk = shownOk && (line == "dormalyn bootloader version is 1.3" ||
                                  line == "dormalyn bootloader version is 1.2");
        },
        [mode] { return (mode & 0x10) != 0; }, "2.0.1", kStartTick);
    ownIdentity = responder.OwnIdentity();
    if (mode & 0x01) graph.Show();
    if (mode & 0x02) graph.SetHolding(true);
    if (mode & 0x04) responder.ArmBootloaderCapture();
    if (mode & 0x08) graph.SetLoadedData(true);

    SentenceFramer framer;
    uint32_t now = kStartTick;
    std::string sentence;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t at = 0;
    while (at < input.size()) {
        size_t end = input.find('\n', at);
        if (end == std::string_view::npos) end = input.size();
        const std::string_view body = input.substr(at, std::min(end - at, kLineLimit));
        at = end + 1;
        // One cycle per line, of a length the line's first byte gives.
        now += body.empty() ? 10u : static_cast<uint8_t>(body[0]) * 40u;
        responder.SettingsTick(now);
        sentence.assign("$").append(body);
        if (framer.ParseText(sentence) == SentenceFramer::kSentenceReady)
            responder.HandleSentence(framer, now);
        responder.DiscoveryStep(now);
        graph.SampleLatest(now);
        if (mode & 0x20) responder.ArmBootloaderCapture();
    }

    Require(sendsOk, "the responder sent something it does not know");
    Require(shownOk, "the bootloader report is not one of its two lines");
    CheckRecord(graph.Latest());
    const RecordRing& ring = graph.Ring();
    Require(ring.Count() >= 0 && ring.Count() <= RecordRing::kCapacity, "ring count out of range");
    Require(ring.Head() >= 0 && ring.Head() < RecordRing::kCapacity, "ring head out of range");
    for (int age = 0; age < ring.Count(); ++age) CheckRecord(ring.FromOldest(age));
    for (const DeviceIdentity& id : graph.Identities().LiveSet()) CheckIdentity(id);
    for (const DeviceIdentity& id : graph.Identities().DisplayedSet()) CheckIdentity(id);
    const ReceiverIdentityReply& reply = responder.ReceiverReply();
    Require(reply.name.size() <= ReceiverIdentityReply::kTextLimit &&
                reply.version.size() <= ReceiverIdentityReply::kTextLimit &&
                reply.serialNumber.size() <= ReceiverIdentityReply::kTextLimit,
            "a receiver text is longer than 19");
    return 0;
}
