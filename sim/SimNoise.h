#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zelsim {

class TickClock;

// Line noise: garbled lines at a given average rate, put between the whole
// sentences the devices send. Each garbled line ends with CR LF, so whatever
// state its bytes leave a reader's framer in, the next real sentence is read
// whole. The same seed draws the same noise.
class SimNoise {
  public:
    enum Kind {
        kRandomBytes = 0,  // a burst of any bytes at all
        kWrongChecksum,    // a real sentence, its checksum changed
        kTruncated,        // a fix sentence cut short
        kUnprintable,      // a real sentence with control or high bytes let in
        kKindCount
    };
    static constexpr const char* kKindNames[kKindCount] = {"randomBytes", "wrongChecksum",
                                                           "truncated", "unprintable"};
    static constexpr size_t kMostRandomBytes = 40;
    static constexpr int kMostUnprintable = 3;
    // A stalled caller gets this many at most, not the whole backlog at once.
    static constexpr int kMostPerTick = 4;

    SimNoise(const TickClock& clock, double perSecond, uint32_t seed);

    // Puts the garbled lines due by now between the sentences of `out`.
    void Interleave(std::vector<std::string>& out);
    // When the next garbled line is due; none on a clean line.
    std::optional<uint32_t> Due() const {
        return meanGapMs_ > 0 ? std::optional<uint32_t>(due_) : std::nullopt;
    }
    // One garbled line of `kind`; a real sentence of `real`, when one fits,
    // is what gets garbled.
    std::string Make(Kind kind, const std::vector<std::string>& real);

    uint32_t Seed() const { return seed_; }
    const std::array<uint64_t, kKindCount>& Counts() const { return counts_; }

  private:
    uint32_t Below(uint32_t bound) { return random_() % bound; }
    uint32_t NextGap();
    std::string RealSentence(const std::vector<std::string>& real);
    std::string FixSentence();
    char Unprintable();

    const TickClock& clock_;
    const uint32_t start_;
    const uint32_t seed_;
    const uint32_t meanGapMs_;
    // The engine's output is fixed by the standard; library distributions are
    // not, so the draws are made from it directly and a seed means the same
    // noise everywhere.
    std::mt19937 random_;
    uint32_t due_;
    std::array<uint64_t, kKindCount> counts_{};
};

}  // namespace zelsim
