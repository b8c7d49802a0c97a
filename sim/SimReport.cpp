#include "SimReport.h"

#include <cstdio>

#include "SimWholeFile.h"
#include "base/NmeaChecksum.h"
#include "base/Text.h"

namespace zelsim {

namespace {
bool HasSubType(const std::string& address) {
    return address == "PKVTQ" || address == "PKVTR" || address == "PKVTS";
}

// Sentence fields are bytes off a serial line; anything outside printable
// ASCII is escaped so the report stays valid JSON.
void AppendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (!IsPrintable(b)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", b);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}
}  // namespace

std::string SimReport::KindOf(const SimMessage& sentence) {
    std::string kind(sentence.Field(0));
    if (!HasSubType(kind) || sentence.FieldCount() < 2) return kind;
    kind += ',';
    kind += sentence.Field(1);
    if (sentence.FieldIs(1, "DML") && sentence.FieldCount() >= 3) {
        kind += ',';
        kind += sentence.Field(2);
    }
    return kind;
}

void SimReport::AddSentence(const SimMessage& sentence) {
    std::string kind = KindOf(sentence);
    if (sentences_.size() >= kKindLimit && sentences_.count(kind) == 0) kind = kOtherKinds;
    ++sentences_[kind];

    if (!sentence.FieldIs(0, "PKVTK")) return;
    const std::string_view mask = sentence.Field(1);
    if (mask.size() != 1 || !IsHexDigit(mask[0])) return;
    if (keyMasks_.size() < kMaskLimit)
        keyMasks_.push_back(HexValue(mask[0]));
    else
        ++keyMasksDropped_;
}

std::string SimReport::ToJson() const {
    std::string out = "{\n";
    out += "  \"bytesReceived\": " + std::to_string(bytesReceived_) + ",\n";
    out += "  \"bytesSent\": " + std::to_string(bytesSent_) + ",\n";
    out += "  \"sentences\": {";
    bool first = true;
    for (const auto& [kind, count] : sentences_) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        AppendJsonString(out, kind);
        out += ": " + std::to_string(count);
    }
    out += first ? "},\n" : "\n  },\n";
    out += "  \"keyMasks\": [";
    for (size_t i = 0; i < keyMasks_.size(); ++i) {
        if (i > 0) out += ", ";
        out += std::to_string(keyMasks_[i]);
    }
    out += "],\n";
    out += "  \"keyMasksDropped\": " + std::to_string(keyMasksDropped_) + ",\n";
    const SimBootloader::Counts& hex = hexRecords_;
    out += "  \"hexRecords\": {\"accepted\": " + std::to_string(hex.accepted) +
           ", \"rejected\": " + std::to_string(hex.rejected) +
           ", \"received\": " + std::to_string(hex.received) +
           ", \"whole\": " + std::to_string(hex.whole) +
           ", \"wrongRate\": " + std::to_string(hex.wrongRate) + "},\n";
    out += "  \"bootloader\": {\"resets\": " + std::to_string(resets_) +
           ", \"restarts\": " + std::to_string(restarts_) + "},\n";
    out += "  \"identityQueries\": {\"asked\": " + std::to_string(identityAsked_) +
           ", \"answered\": " + std::to_string(identityAnswered_) + ", \"version\": ";
    AppendJsonString(out, identityVersion_);
    out += "},\n";
    out += "  \"noise\": {\"seed\": " +
           (noiseSeed_ ? std::to_string(*noiseSeed_) : std::string("null"));
    for (int kind = 0; kind < SimNoise::kKindCount; ++kind)
        out += std::string(", \"") + SimNoise::kKindNames[kind] +
               "\": " + std::to_string(noiseCounts_[kind]);
    out += "},\n";
    out += "  \"unknownLines\": " + std::to_string(unknownLines_) + "\n";
    out += "}\n";
    return out;
}

bool SimReport::WriteFile(const std::string& path, std::string& error) const {
    return WriteWholeFile(path, ToJson(), error);
}

}  // namespace zelsim
