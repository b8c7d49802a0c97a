#include "SimBootloader.h"

#include "SimSentence.h"
#include "base/TickClock.h"

namespace zelsim {

namespace {
constexpr size_t kRecordOverhead = 5;  // length, two address bytes, type, checksum
constexpr const char* kOk = "[Ok]\r\n";
constexpr const char* kErr = "[Err]\r\n";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

SimBootloader::SimBootloader(const TickClock& clock, Version version)
    : clock_(clock), version_(version) {}

bool SimBootloader::RecordValid(std::string_view line) {
    if (!IsHexRecord(line)) return false;
    const std::string_view digits = line.substr(1);
    if (digits.size() % 2 != 0) return false;
    const size_t count = digits.size() / 2;
    if (count < kRecordOverhead) return false;
    unsigned sum = 0;
    unsigned length = 0;
    for (size_t i = 0; i < count; ++i) {
        const int high = HexValue(digits[2 * i]);
        const int low = HexValue(digits[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        const unsigned byte = static_cast<unsigned>(high * 16 + low);
        if (i == 0) length = byte;
        sum += byte;
    }
    return length + kRecordOverhead == count && (sum & 0xFFu) == 0;
}

bool SimBootloader::Hear(const SimMessage& message, std::vector<std::string>& out) {
    if (message.IsSentence()) {
        if (message.FieldIs(0, "PKVTQ") && message.FieldIs(1, "DID")) {
            const char* number = version_ == Version::k13 ? "1.3" : "1.2";
            out.push_back(SimSentencef("$PKVTR,DID,%s,%s,v%s", kName, number, number));
        }
        return false;
    }
    if (!IsHexRecord(message.text)) return false;
    if (pending_.size() >= kPendingLimit) {
        ++rejected_;
        return true;
    }
    const bool ok = RecordValid(message.text);
    ++(ok ? accepted_ : rejected_);
    // Records are written one after another: each waits for the one before.
    uint32_t due = clock_.TickNow() + kProcessingMs;
    if (!pending_.empty() && static_cast<int32_t>(pending_.back().due + kProcessingMs - due) > 0)
        due = pending_.back().due + kProcessingMs;
    pending_.push_back({due, ok});
    return true;
}

void SimBootloader::Tick(std::vector<std::string>& out) {
    const uint32_t now = clock_.TickNow();
    while (!pending_.empty() && static_cast<int32_t>(now - pending_.front().due) >= 0) {
        out.push_back(pending_.front().ok ? kOk : kErr);
        pending_.pop_front();
    }
}

}  // namespace zelsim
