#include "SimNoise.h"

#include <algorithm>
#include <cmath>

#include "SimNmea.h"
#include "SimSentence.h"
#include "SimVehicle.h"
#include "base/NmeaChecksum.h"
#include "base/TickClock.h"

namespace zelsim {

namespace {
constexpr const char* kLineEnd = "\r\n";
// A rate too small to matter is not a reason to overflow.
constexpr double kLongestMeanGapMs = 24.0 * 3600 * 1000;
constexpr size_t kChecksumLength = 3;  // "*" and two digits
// Control bytes other than the line ends (NUL, LF, CR), then DEL and above
// without the degree sign, which a reader shows as itself.
constexpr int kControlBytes = 31 - 2;
constexpr int kHighBytes = 256 - 127 - 1;

// "$", a body and "*hh" before its CR LF: what can be garbled and still look
// like a sentence.
bool IsSentence(const std::string& line) {
    return line.size() > kChecksumLength + 3 && line[0] == '$' &&
           line.compare(line.size() - 2, 2, kLineEnd) == 0 &&
           line[line.size() - 2 - kChecksumLength] == '*';
}
}  // namespace

SimNoise::SimNoise(const TickClock& clock, double perSecond, uint32_t seed)
    : clock_(clock),
      start_(clock.TickNow()),
      seed_(seed),
      meanGapMs_(perSecond > 0 ? static_cast<uint32_t>(std::lround(
                                     std::clamp(1000.0 / perSecond, 1.0, kLongestMeanGapMs)))
                               : 0),
      random_(seed),
      due_(start_) {
    if (meanGapMs_ > 0) due_ = start_ + NextGap();
}

// Half to one and a half times the mean gap: irregular, yet never a long silence.
uint32_t SimNoise::NextGap() {
    return std::max<uint32_t>(1, meanGapMs_ / 2 + Below(meanGapMs_ + 1));
}

void SimNoise::Interleave(std::vector<std::string>& out) {
    const uint32_t now = clock_.TickNow();
    if (meanGapMs_ == 0 || static_cast<int32_t>(now - due_) < 0) return;
    std::vector<std::string> lines;
    for (int n = 0; n < kMostPerTick && static_cast<int32_t>(now - due_) >= 0; ++n) {
        const auto kind = static_cast<Kind>(Below(kKindCount));
        lines.push_back(Make(kind, out));
        ++counts_[kind];
        due_ += NextGap();
    }
    if (static_cast<int32_t>(now - due_) >= 0) due_ = now + NextGap();
    for (std::string& line : lines)
        out.insert(out.begin() + Below(static_cast<uint32_t>(out.size()) + 1), std::move(line));
}

std::string SimNoise::Make(Kind kind, const std::vector<std::string>& real) {
    std::string line;
    switch (kind) {
        case kRandomBytes: {
            const size_t length = 1 + Below(kMostRandomBytes);
            for (size_t i = 0; i < length; ++i) line += static_cast<char>(Below(256));
            return line + kLineEnd;
        }
        case kWrongChecksum: {
            line = RealSentence(real);
            const size_t star = line.size() - 2 - kChecksumLength;
            const uint8_t right = NmeaChecksum(std::string_view(line).substr(1, star - 1));
            const auto wrong = static_cast<uint8_t>(right ^ (1 + Below(255)));
            return line.substr(0, star) + ChecksumSuffix(wrong) + kLineEnd;
        }
        case kTruncated: {
            // Only the receiver's fix: cut before its "*" it is a sentence
            // without a checksum, which a reader takes, and a cut controller
            // record or screen row would then pass for a real one.
            line = FixSentence();
            const size_t whole = line.size() - 2;
            return line.substr(0, 2 + Below(static_cast<uint32_t>(whole - 2))) + kLineEnd;
        }
        case kUnprintable: {
            line = RealSentence(real);
            const size_t star = line.size() - 2 - kChecksumLength;
            const int count = 1 + static_cast<int>(Below(kMostUnprintable));
            uint8_t summed = 0;
            std::string bytes;
            for (int i = 0; i < count; ++i) {
                bytes += Unprintable();
                summed ^= static_cast<uint8_t>(bytes.back());
            }
            // Bytes that cancel out in the sum would leave the checksum right.
            while (summed == 0) {
                summed ^= static_cast<uint8_t>(bytes.back());
                bytes.back() = Unprintable();
                summed ^= static_cast<uint8_t>(bytes.back());
            }
            for (char b : bytes) line.insert(1 + Below(static_cast<uint32_t>(star)), 1, b);
            return line;
        }
        case kKindCount:
            break;
    }
    return line;
}

std::string SimNoise::RealSentence(const std::vector<std::string>& real) {
    std::vector<const std::string*> sentences;
    for (const std::string& line : real)
        if (IsSentence(line)) sentences.push_back(&line);
    if (sentences.empty()) return FixSentence();
    return *sentences[Below(static_cast<uint32_t>(sentences.size()))];
}

// What a receiver would stream now: the noise has something to garble even
// on a line where nothing else talks.
std::string SimNoise::FixSentence() {
    const uint32_t elapsed = clock_.TickNow() - start_;
    std::vector<std::string> fix;
    SimNmea::Fix({elapsed, SimVehicle::At(elapsed).satellites, true}, fix);
    return fix[Below(static_cast<uint32_t>(fix.size()))];
}

char SimNoise::Unprintable() {
    int pick = static_cast<int>(Below(kControlBytes + kHighBytes));
    if (pick < kControlBytes) {
        int byte = 1 + pick;  // 1 to 31 without LF and CR
        if (byte >= '\n') ++byte;
        if (byte >= '\r') ++byte;
        return static_cast<char>(byte);
    }
    int byte = 127 + (pick - kControlBytes);
    if (byte >= 176) ++byte;
    return static_cast<char>(byte);
}

}  // namespace zelsim
