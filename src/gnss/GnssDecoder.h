#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "base/GnssTalkers.h"
#include "serial/CyclePart.h"

namespace zelsim {

// The receiver's latest position solution, gathered from GGA and RMC. A
// value stays as it was when its field comes empty or unreadable, so a
// window keeps showing the last good figure; `valid` says whether the
// receiver still stands by it.
struct GnssFix {
    std::optional<uint32_t> utcMs;    // time of day, milliseconds after midnight
    std::optional<double> latitude;   // degrees, south negative
    std::optional<double> longitude;  // degrees, west negative
    std::optional<uint8_t> quality;   // GGA: 0 none, 1 GPS, 2 DGPS, 4 RTK fixed, ...
    std::optional<uint8_t> satellitesUsed;
    std::optional<double> hdop;
    std::optional<double> altitude;       // metres above mean sea level
    std::optional<double> speedKnots;     // RMC
    std::optional<double> courseDegrees;  // RMC, true
    bool valid = false;

    bool operator==(const GnssFix&) const = default;
};

struct SatelliteInView {
    static constexpr int16_t kUnset = INT16_MIN;
    uint16_t prn = 0;
    int16_t elevation = kUnset;  // degrees above the horizon
    int16_t azimuth = kUnset;    // degrees from true north
    int16_t snr = kUnset;        // dB-Hz; unset while the satellite is not tracked
    uint8_t signalId = 0;        // 0 when the receiver names no signal
    bool used = false;           // among the PRNs of its system's latest GSA

    bool operator==(const SatelliteInView&) const = default;
};

// Reads the standard fix and satellite sentences of every talker off the
// line. Works on the framer's fields in place: nothing is allocated per
// sentence, since a receiver sends dozens of them every second.
class GnssDecoder final : public CyclePart {
  public:
    static constexpr size_t kTalkerCount = gnss_talkers::kCount;
    static constexpr const std::array<std::string_view, kTalkerCount>& kTalkers =
        gnss_talkers::kTalkers;
    // One GSV cycle of one signal. Receivers stay well below: 12 channels a
    // constellation is common, 40 the most seen.
    static constexpr size_t kCycleCapacity = 64;
    // A talker's view: the latest cycle of each signal it reports (L1, L5, ...).
    static constexpr size_t kViewCapacity = 128;

    // A signal whose GSV cycles stopped (a constellation switched off, a
    // receiver unplugged) leaves the view after this long. Receivers send
    // the sky every second or every few seconds.
    static constexpr uint32_t kStaleSkyMs = 15000;

    // Each position fix as it is decoded: a GGA or RMC with a usable
    // position, once per time of fix however many sentences and talkers
    // report it.
    std::function<void(const GnssFix&)> onFix;

    void SentenceFramed(SentenceFramer& sentence, uint32_t now) override;
    // Changes of one read count as one revision: windows redraw once for a
    // whole burst of sentences instead of once per sentence. Signals gone
    // quiet leave the view here.
    void AfterRead(uint32_t now) override;
    // When the oldest signal in view would go stale.
    uint32_t NextStepIn(uint32_t now) const override;

    // Decodes one framed sentence; false when it was none of ours or carried
    // nothing readable.
    bool Decode(SentenceFramer& sentence);

    const GnssFix& Fix() const { return fix_; }
    // GGA sentences that carried a usable position.
    uint32_t FixCount() const { return fixCount_; }
    std::span<const SatelliteInView> SatellitesInView(size_t talker) const;
    size_t SatelliteCount() const;
    // Complete GSV cycles taken over, of every talker and signal.
    uint32_t CyclesPublished() const { return cyclesPublished_; }
    uint32_t Revision() const { return revision_; }
    // Receiver cycles begun: a fix sentence with a time of its own starts
    // one. Windows that follow the sky redraw once per cycle, however many
    // sentences it takes.
    uint32_t Epoch() const { return epoch_; }
    // A GSV cycle has begun and not ended.
    bool SkyArriving() const;
    // Fix and GSA sentences decoded since the last GSV cycle ended: the
    // receiver has moved on from its sky.
    uint32_t SentencesAfterSky() const { return afterSky_; }

    // Index into kTalkers, or -1 for a talker we do not follow.
    static int TalkerIndex(std::string_view address);

  private:
    // The PRNs in the latest GSA of one system (NMEA system ids 1 to 6; 0
    // for a combined GSA that names no system).
    struct UsedSet {
        std::array<uint16_t, 12> prns{};
        uint8_t count = 0;
        bool Holds(uint16_t prn) const;
    };
    static constexpr size_t kSystemCount = 7;

    struct TalkerView {
        std::array<SatelliteInView, kViewCapacity> shown{};
        uint16_t shownCount = 0;
        // The cycle arriving: published only once its last message came
        // after all the others, in order.
        std::array<SatelliteInView, kCycleCapacity> pending{};
        uint8_t pendingCount = 0;
        uint8_t pendingTotal = 0;  // 0: no cycle in progress
        uint8_t pendingNext = 0;
        uint8_t pendingSignal = 0;
        // When each signal's cycle was last taken over (signal ids 0 to 15).
        std::array<uint32_t, 16> signalSeenAt{};
    };

    void TimeOfFix(uint32_t ms);
    // `time` none: a GGA that names no time is a fix of its own.
    void ReportFix(std::optional<uint32_t> time);
    void DropStaleSignals(uint32_t now);
    bool DecodeGga(SentenceFramer& s);
    bool DecodeRmc(SentenceFramer& s);
    bool DecodeGsa(SentenceFramer& s, int talker);
    bool DecodeGsv(SentenceFramer& s, int talker);
    void Publish(TalkerView& view);
    bool MarkUsed(int talker, SatelliteInView& sat) const;
    bool RemarkUsed();

    GnssFix fix_;
    uint32_t fixCount_ = 0;
    std::array<TalkerView, kTalkerCount> views_{};
    std::array<UsedSet, kSystemCount> used_{};
    uint32_t cyclesPublished_ = 0;
    uint32_t revision_ = 0;
    uint32_t epoch_ = 0;
    uint32_t afterSky_ = 0;
    uint32_t now_ = 0;  // the last read's time, for the cycles it takes over
    std::optional<uint32_t> reportedFixTime_;
    bool changed_ = false;
};

}  // namespace zelsim
