#include "gnss/GnssDecoder.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "base/TickClock.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

// Larger than any altitude, speed or dilution a receiver reports: a window
// must be able to print what it is given.
constexpr double kLargestReading = 1e9;

// Plain decimals only. from_chars alone would also take "inf", "nan" and
// exponents, which no receiver sends and no window could show.
bool ParseNumber(std::string_view text, double& out) {
    if (text.empty() || text.size() > 32) return false;
    size_t digits = 0, points = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else if (!(c == '-' && i == 0))
            return false;
    }
    if (digits == 0 || points > 1) return false;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value) ||
        std::fabs(value) > kLargestReading)
        return false;
    out = value;
    return true;
}

bool ParseUnsigned(std::string_view text, uint32_t max, uint32_t& out) {
    if (text.empty() || text.size() > 9) return false;
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value > max) return false;
    out = value;
    return true;
}

bool ParseInt16(std::string_view text, int min, int max, int16_t& out) {
    const bool negative = !text.empty() && text.front() == '-';
    uint32_t magnitude = 0;
    if (!ParseUnsigned(negative ? text.substr(1) : text, 32767, magnitude)) return false;
    const int value = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
    if (value < min || value > max) return false;
    out = static_cast<int16_t>(value);
    return true;
}

// "hhmmss" with an optional fraction of a second.
bool ParseTime(std::string_view text, uint32_t& ms) {
    uint32_t h = 0, m = 0, s = 0;
    if (text.size() < 6 || !ParseUnsigned(text.substr(0, 2), 23, h) ||
        !ParseUnsigned(text.substr(2, 2), 59, m) || !ParseUnsigned(text.substr(4, 2), 60, s))
        return false;
    uint32_t fraction = 0;
    if (text.size() > 6) {
        if (text[6] != '.') return false;
        const std::string_view digits = text.substr(7);
        uint32_t scale = 100;
        for (char c : digits) {
            if (c < '0' || c > '9') return false;
            fraction += scale * static_cast<uint32_t>(c - '0');
            scale /= 10;
        }
    }
    ms = ((h * 60 + m) * 60 + s) * 1000 + fraction;
    return true;
}

// "ddmm.mmmm" or "dddmm.mmmm" and its hemisphere letter.
bool ParseAngle(std::string_view value, std::string_view hemisphere, double limit,
                char negativeSide, char positiveSide, double& out) {
    if (hemisphere.size() != 1 || (hemisphere[0] != negativeSide && hemisphere[0] != positiveSide))
        return false;
    double raw = 0;
    if (!ParseNumber(value, raw) || raw < 0) return false;
    const double degrees = std::floor(raw / 100);
    const double minutes = raw - degrees * 100;
    if (minutes >= 60) return false;
    const double angle = degrees + minutes / 60;
    if (angle > limit) return false;
    out = hemisphere[0] == negativeSide ? -angle : angle;
    return true;
}

bool ParsePosition(SentenceFramer& s, uint8_t first, double& latitude, double& longitude) {
    return ParseAngle(s.Field(first), s.Field(first + 1), 90, 'S', 'N', latitude) &&
           ParseAngle(s.Field(first + 2), s.Field(first + 3), 180, 'W', 'E', longitude);
}

// The NMEA system id a talker's satellites belong to; 0 for a combined talker.
constexpr uint8_t kTalkerSystem[GnssDecoder::kTalkerCount] = {1, 0, 2, 3, 4, 4, 5, 6};

// Older combined receivers send one GN GSA per system without naming it; the
// PRN ranges of NMEA 2.x tell GPS (with SBAS) from GLONASS.
uint8_t SystemOfPrn(uint16_t prn) {
    if (prn >= 1 && prn <= 64) return 1;
    if (prn >= 65 && prn <= 96) return 2;
    return 0;
}

}  // namespace

int GnssDecoder::TalkerIndex(std::string_view address) {
    if (address.size() != 5) return -1;
    return gnss_talkers::IndexOf(address);
}

void GnssDecoder::SentenceFramed(SentenceFramer& sentence, uint32_t now) {
    now_ = now;
    Decode(sentence);
}

void GnssDecoder::AfterRead(uint32_t now) {
    DropStaleSignals(now);
    if (!changed_) return;
    changed_ = false;
    ++revision_;
}

uint32_t GnssDecoder::NextStepIn(uint32_t now) const {
    uint32_t next = changed_ ? 0 : kNoStep;
    for (const TalkerView& view : views_)
        for (uint16_t i = 0; i < view.shownCount; ++i)
            next = std::min(
                next, TickClock::Remaining(now, view.signalSeenAt[view.shown[i].signalId & 15u],
                                           kStaleSkyMs));
    return next;
}

void GnssDecoder::DropStaleSignals(uint32_t now) {
    for (TalkerView& view : views_) {
        if (view.shownCount == 0) continue;
        const auto end = std::remove_if(
            view.shown.begin(), view.shown.begin() + view.shownCount,
            [&](const SatelliteInView& sat) {
                return TickClock::Elapsed(now, view.signalSeenAt[sat.signalId & 15u], kStaleSkyMs);
            });
        const auto kept = static_cast<uint16_t>(end - view.shown.begin());
        if (kept == view.shownCount) continue;
        view.shownCount = kept;
        changed_ = true;
    }
}

bool GnssDecoder::SkyArriving() const {
    return std::any_of(views_.begin(), views_.end(),
                       [](const TalkerView& view) { return view.pendingTotal != 0; });
}

void GnssDecoder::ReportFix(std::optional<uint32_t> time) {
    // One receiver cycle may report its fix in a GGA and an RMC, and from
    // more than one talker: it is one fix.
    if (time && reportedFixTime_ == time) return;
    reportedFixTime_ = time;
    if (onFix) onFix(fix_);
}

bool GnssDecoder::Decode(SentenceFramer& s) {
    if (s.State() != SentenceFramer::kSentenceReady) return false;
    const std::string_view address = s.Field(0);
    const int talker = TalkerIndex(address);
    if (talker < 0) return false;
    const std::string_view type = address.substr(2);
    if (type == "GSV") return DecodeGsv(s, talker);
    if (type == "GGA") return DecodeGga(s);
    if (type == "RMC") return DecodeRmc(s);
    if (type == "GSA") return DecodeGsa(s, talker);
    return false;
}

bool GnssDecoder::DecodeGga(SentenceFramer& s) {
    const GnssFix before = fix_;
    uint32_t time = 0, quality = 0, satellites = 0;
    double latitude = 0, longitude = 0, hdop = 0, altitude = 0;
    ++afterSky_;
    const bool timed = ParseTime(s.Field(1), time);
    if (timed) TimeOfFix(time);
    const bool position = ParsePosition(s, 2, latitude, longitude);
    if (position) {
        fix_.latitude = latitude;
        fix_.longitude = longitude;
    }
    if (ParseUnsigned(s.Field(7), 99, satellites))
        fix_.satellitesUsed = static_cast<uint8_t>(satellites);
    if (ParseNumber(s.Field(8), hdop) && hdop >= 0) fix_.hdop = hdop;
    if (ParseNumber(s.Field(9), altitude)) fix_.altitude = altitude;
    if (ParseUnsigned(s.Field(6), 9, quality)) {
        fix_.quality = static_cast<uint8_t>(quality);
        // A quality without a position is no fix to count or to show as current.
        fix_.valid = quality > 0 && position;
        if (fix_.valid) {
            ++fixCount_;
            ReportFix(timed ? std::optional(time) : std::nullopt);
        }
    }
    const bool changed = !(fix_ == before);
    changed_ |= changed;
    return changed || fix_.valid;
}

void GnssDecoder::TimeOfFix(uint32_t ms) {
    if (fix_.utcMs != ms) ++epoch_;
    fix_.utcMs = ms;
}

bool GnssDecoder::DecodeRmc(SentenceFramer& s) {
    const GnssFix before = fix_;
    uint32_t time = 0;
    double latitude = 0, longitude = 0, speed = 0, course = 0;
    ++afterSky_;
    const bool timed = ParseTime(s.Field(1), time);
    if (timed) TimeOfFix(time);
    const bool position = ParsePosition(s, 3, latitude, longitude);
    if (position) {
        fix_.latitude = latitude;
        fix_.longitude = longitude;
    }
    if (ParseNumber(s.Field(7), speed) && speed >= 0) fix_.speedKnots = speed;
    if (ParseNumber(s.Field(8), course) && course >= 0 && course <= 360)
        fix_.courseDegrees = course;
    const std::string_view status = s.Field(2);
    if (status == "A" || status == "V") {
        // From NMEA 2.3 the mode field can still call an "A" sentence a
        // non-fix ("N").
        fix_.valid = status == "A" && position && s.Field(12) != "N";
        // Without a time it could not be told from the GGA of its cycle.
        if (fix_.valid && timed) ReportFix(time);
    }
    const bool changed = !(fix_ == before);
    changed_ |= changed;
    return changed;
}

bool GnssDecoder::UsedSet::Holds(uint16_t prn) const {
    for (uint8_t i = 0; i < count; ++i)
        if (prns[i] == prn) return true;
    return false;
}

bool GnssDecoder::DecodeGsa(SentenceFramer& s, int talker) {
    if (s.FieldCount() < 3) return false;
    UsedSet set;
    for (uint8_t i = 3; i <= 14; ++i) {
        uint32_t prn = 0;
        if (ParseUnsigned(s.Field(i), 999, prn) && prn > 0 &&
            !set.Holds(static_cast<uint16_t>(prn)))
            set.prns[set.count++] = static_cast<uint16_t>(prn);
    }
    uint32_t system = kTalkerSystem[talker];
    uint32_t named = 0;
    if (s.FieldCount() >= 19 && ParseUnsigned(s.Field(18), 6, named) && named > 0)
        system = named;
    else if (system == 0 && set.count > 0)
        system = SystemOfPrn(set.prns[0]);
    used_[system] = set;
    ++afterSky_;
    RemarkUsed();
    return true;
}

bool GnssDecoder::MarkUsed(int talker, SatelliteInView& sat) const {
    uint8_t system = kTalkerSystem[talker];
    if (system == 0) system = SystemOfPrn(sat.prn);
    const bool used = used_[system].Holds(sat.prn) || (system != 0 && used_[0].Holds(sat.prn));
    const bool changed = used != sat.used;
    sat.used = used;
    return changed;
}

bool GnssDecoder::RemarkUsed() {
    bool changed = false;
    for (size_t t = 0; t < kTalkerCount; ++t) {
        TalkerView& view = views_[t];
        for (uint16_t i = 0; i < view.shownCount; ++i)
            changed |= MarkUsed(static_cast<int>(t), view.shown[i]);
    }
    changed_ |= changed;
    return changed;
}

bool GnssDecoder::DecodeGsv(SentenceFramer& s, int talker) {
    const uint8_t count = s.FieldCount();
    uint32_t total = 0, number = 0;
    if (count < 4 || !ParseUnsigned(s.Field(1), 99, total) || total == 0 ||
        !ParseUnsigned(s.Field(2), total, number) || number == 0)
        return false;

    // Four fields a satellite; NMEA 4.10 adds the signal id as one more.
    const uint8_t extra = static_cast<uint8_t>(count - 4);
    uint8_t groups = extra / 4;
    uint8_t signal = 0;
    if (extra % 4 == 1) {
        const std::string_view id = s.Field(count - 1);
        if (id.size() == 1 && std::isxdigit(static_cast<unsigned char>(id[0])))
            signal = static_cast<uint8_t>(id[0] <= '9' ? id[0] - '0' : (id[0] | 0x20) - 'a' + 10);
    } else if (extra % 4 != 0) {
        ++groups;  // trailing empty fields left off the last satellite
    }

    TalkerView& view = views_[static_cast<size_t>(talker)];
    if (number == 1) {
        view.pendingTotal = static_cast<uint8_t>(total);
        view.pendingNext = 1;
        view.pendingCount = 0;
        view.pendingSignal = signal;
    } else if (view.pendingTotal != total || view.pendingNext != number ||
               view.pendingSignal != signal) {
        // A message lost or out of order: the cycle would show a partial sky.
        view.pendingTotal = 0;
        return false;
    }

    for (uint8_t g = 0; g < groups && view.pendingCount < kCycleCapacity; ++g) {
        const auto base = static_cast<uint8_t>(4 + 4 * g);
        uint32_t prn = 0;
        if (!ParseUnsigned(s.Field(base), 999, prn) || prn == 0) continue;
        SatelliteInView sat;
        sat.prn = static_cast<uint16_t>(prn);
        sat.signalId = signal;
        ParseInt16(s.Field(base + 1), -90, 90, sat.elevation);
        ParseInt16(s.Field(base + 2), 0, 360, sat.azimuth);
        ParseInt16(s.Field(base + 3), 0, 99, sat.snr);
        view.pending[view.pendingCount++] = sat;
    }
    view.pendingNext = static_cast<uint8_t>(number + 1);
    if (number == total) {
        Publish(view);
        view.pendingTotal = 0;
    }
    return true;
}

// The talker's view keeps one cycle per signal, ordered by signal, so that a
// receiver reporting L1 and L5 shows both and the rows stay in place.
void GnssDecoder::Publish(TalkerView& view) {
    const int talker = static_cast<int>(&view - views_.data());
    std::array<SatelliteInView, kViewCapacity> next;
    uint16_t n = 0;
    uint16_t i = 0;
    for (; i < view.shownCount && view.shown[i].signalId < view.pendingSignal; ++i)
        next[n++] = view.shown[i];
    for (uint8_t p = 0; p < view.pendingCount && n < kViewCapacity; ++p) {
        next[n] = view.pending[p];
        MarkUsed(talker, next[n]);
        ++n;
    }
    while (i < view.shownCount && view.shown[i].signalId == view.pendingSignal) ++i;
    for (; i < view.shownCount && n < kViewCapacity; ++i) next[n++] = view.shown[i];

    ++cyclesPublished_;
    afterSky_ = 0;
    view.signalSeenAt[view.pendingSignal & 15u] = now_;
    const bool same =
        n == view.shownCount && std::equal(next.begin(), next.begin() + n, view.shown.begin());
    if (same) return;
    std::copy(next.begin(), next.begin() + n, view.shown.begin());
    view.shownCount = n;
    changed_ = true;
}

std::span<const SatelliteInView> GnssDecoder::SatellitesInView(size_t talker) const {
    if (talker >= kTalkerCount) return {};
    return {views_[talker].shown.data(), views_[talker].shownCount};
}

size_t GnssDecoder::SatelliteCount() const {
    size_t total = 0;
    for (const TalkerView& view : views_) total += view.shownCount;
    return total;
}

}  // namespace zelsim
