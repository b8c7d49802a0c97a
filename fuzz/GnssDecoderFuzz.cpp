// Whatever arrives on the line goes through the framer into the GNSS
// decoder, read by read as the main cycle does, and what the windows will
// draw from it is held to its bounds: no satellite list past its capacity, no
// angle off the sky, no number a window cannot print.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "FuzzCheck.h"
#include "gnss/GnssDecoder.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

void CheckNumber(const std::optional<double>& value, double min, double max, const char* what) {
    if (value) Require(std::isfinite(*value) && *value >= min && *value <= max, what);
}

void CheckState(const GnssDecoder& decoder) {
    const GnssFix& fix = decoder.Fix();
    CheckNumber(fix.latitude, -90, 90, "a latitude off the globe");
    CheckNumber(fix.longitude, -180, 180, "a longitude off the globe");
    CheckNumber(fix.hdop, 0, 1e30, "an HDOP not finite or negative");
    CheckNumber(fix.altitude, -1e30, 1e30, "an altitude not finite");
    CheckNumber(fix.speedKnots, 0, 1e30, "a speed not finite or negative");
    CheckNumber(fix.courseDegrees, 0, 360, "a course off the compass");
    if (fix.utcMs) Require(*fix.utcMs < 86'401'000u, "a time past the day");
    if (fix.valid) Require(fix.latitude && fix.longitude, "a valid fix without a position");

    size_t total = 0;
    for (size_t t = 0; t < GnssDecoder::kTalkerCount; ++t) {
        const auto sats = decoder.SatellitesInView(t);
        Require(sats.size() <= GnssDecoder::kViewCapacity, "a view past its capacity");
        total += sats.size();
        uint8_t signal = 0;
        for (const SatelliteInView& sat : sats) {
            Require(sat.prn >= 1 && sat.prn <= 999, "a PRN out of range");
            Require(sat.elevation == SatelliteInView::kUnset ||
                        (sat.elevation >= -90 && sat.elevation <= 90),
                    "an elevation off the sky");
            Require(
                sat.azimuth == SatelliteInView::kUnset || (sat.azimuth >= 0 && sat.azimuth <= 360),
                "an azimuth off the compass");
            Require(sat.snr == SatelliteInView::kUnset || (sat.snr >= 0 && sat.snr <= 99),
                    "an SNR out of range");
            Require(sat.signalId >= signal, "a view out of signal order");
            signal = sat.signalId;
        }
    }
    Require(total == decoder.SatelliteCount(), "the count is not the views' sum");
}

void ReadLine(const uint8_t* data, size_t size) {
    SentenceFramer framer;
    GnssDecoder decoder;
    constexpr size_t kReadSize = 115;  // one 10 ms read at 115,200 baud
    uint32_t now = 0;
    uint32_t revision = 0;
    for (size_t start = 0; start < size; start += kReadSize) {
        now += 10;
        for (size_t i = start; i < size && i < start + kReadSize; ++i)
            if (framer.Feed(data[i], now) == SentenceFramer::kSentenceReady)
                decoder.SentenceFramed(framer, now);
        decoder.AfterRead(now);
        Require(decoder.Revision() - revision <= 1, "more than one revision in a read");
        revision = decoder.Revision();
        CheckState(decoder);
    }
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zelsim::ReadLine(data, size);
    return 0;
}
