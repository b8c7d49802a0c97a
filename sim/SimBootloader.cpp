#include "SimBootloader.h"

#include "SimSentence.h"
#include "base/TickClock.h"

namespace zelsim {

namespace {
constexpr size_t kRecordOverhead = 5;  // length, two address bytes, type, checksum
constexpr size_t kTypeByte = 3;
constexpr const char* kOk = "[Ok]\r\n";
constexpr const char* kErr = "[Err]\r\n";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

SimBootloader::Counts& SimBootloader::Counts::operator+=(const Counts& other) {
    received += other.received;
    whole += other.whole;
    accepted += other.accepted;
    rejected += other.rejected;
    wrongRate += other.wrongRate;
    return *this;
}

SimBootloader::SimBootloader(const TickClock& clock, Version version,
                             std::optional<uint32_t> stallAfter)
    : clock_(clock), version_(version), stallAfter_(stallAfter), lastActivity_(clock.TickNow()) {}

std::vector<uint8_t> SimBootloader::RecordBytes(std::string_view line) {
    if (!IsHexRecord(line)) return {};
    const std::string_view digits = line.substr(1);
    if (digits.size() % 2 != 0) return {};
    const size_t count = digits.size() / 2;
    if (count < kRecordOverhead) return {};
    std::vector<uint8_t> bytes;
    bytes.reserve(count);
    unsigned sum = 0;
    for (size_t i = 0; i < count; ++i) {
        const int high = HexValue(digits[2 * i]);
        const int low = HexValue(digits[2 * i + 1]);
        if (high < 0 || low < 0) return {};
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
        sum += bytes.back();
    }
    if (bytes[0] + kRecordOverhead != count || (sum & 0xFFu) != 0) return {};
    return bytes;
}

bool SimBootloader::RecordValid(std::string_view line) {
    return !RecordBytes(line).empty();
}

bool SimBootloader::Hear(const SimMessage& message, std::vector<std::string>& out) {
    const uint32_t now = clock_.TickNow();
    if (message.IsSentence()) {
        if (Hears() && message.FieldIs(0, "PKVTQ") && message.FieldIs(1, "DID")) {
            const char* number = version_ == Version::k13 ? "1.3" : "1.2";
            out.push_back(SimSentencef("$PKVTR,DID,%s,%s,v%s", kName, number, number));
            lastActivity_ = now;
            // The reply still goes out at the old rate; what follows comes at the new one.
            if (version_ == Version::k13) listenRate_ = kFastRate;
        }
        return false;
    }
    if (!IsHexRecord(message.text)) return false;
    ++counts_.received;
    if (!Hears()) {
        ++counts_.wrongRate;
        return true;
    }
    if (Hung()) return true;  // heard, never answered
    lastActivity_ = now;
    const std::vector<uint8_t> bytes = RecordBytes(message.text);
    const bool ok = !bytes.empty();
    if (ok) ++counts_.whole;
    if (pending_.size() >= kPendingLimit) {
        ++counts_.rejected;
        return true;
    }
    ++(ok ? counts_.accepted : counts_.rejected);
    // Records are written one after another: each waits for the one before.
    uint32_t due = now + kProcessingMs;
    if (!pending_.empty() && static_cast<int32_t>(pending_.back().due + kProcessingMs - due) > 0)
        due = pending_.back().due + kProcessingMs;
    pending_.push_back({due, ok, ok && bytes[kTypeByte] == kEndOfFileRecord});
    return true;
}

void SimBootloader::Tick(std::vector<std::string>& out) {
    const uint32_t now = clock_.TickNow();
    while (!pending_.empty() && static_cast<int32_t>(now - pending_.front().due) >= 0) {
        out.push_back(pending_.front().ok ? kOk : kErr);
        if (pending_.front().end) {
            complete_ = true;
            completeAt_ = now;
        }
        lastActivity_ = now;
        pending_.pop_front();
    }
}

std::optional<uint32_t> SimBootloader::RestartAt() const {
    if (!pending_.empty() || Hung()) return std::nullopt;
    // RestartDue wants strictly more than the period.
    return complete_ ? completeAt_ + kRestartMs + 1 : lastActivity_ + kIdleMs + 1;
}

bool SimBootloader::RestartDue() const {
    if (!pending_.empty() || Hung()) return false;
    const uint32_t now = clock_.TickNow();
    return complete_ ? TickClock::Elapsed(now, completeAt_, kRestartMs)
                     : TickClock::Elapsed(now, lastActivity_, kIdleMs);
}

}  // namespace zelsim
