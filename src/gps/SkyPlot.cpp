#include "gps/SkyPlot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelsim {

namespace {

constexpr int kCentre = SkyPlot::kSize / 2;
constexpr double kZenith = 90.0;

}  // namespace

std::array<SkyPlot::Box, SkyPlot::kRings> SkyPlot::Rings() {
    std::array<Box, kRings> rings{};
    int r = kSize / 2;
    for (Box& ring : rings) {
        ring = {kCentre - r, kCentre - r, kCentre + r, kCentre + r};
        r -= kSize / 10;
    }
    return rings;
}

SkyPlot::Point SkyPlot::Place(int elevation, int azimuth) {
    const double e = std::clamp(elevation, 0, 90);
    const double distance =
        std::min((kZenith - e) / kZenith * kCentre, static_cast<double>(kCentre - kMarkRadius));
    const double a = azimuth * std::numbers::pi / 180.0;
    return {static_cast<int>(std::lround(kCentre + distance * std::sin(a))),
            static_cast<int>(std::lround(kCentre - distance * std::cos(a)))};
}

std::vector<SkyPlot::Mark> SkyPlot::Marks(const std::vector<SatelliteList::Entry>& entries) {
    std::vector<Mark> marks;
    for (const SatelliteList::Entry& e : entries) {
        const SatelliteInView& s = e.satellite;
        if (s.elevation == SatelliteInView::kUnset || s.azimuth == SatelliteInView::kUnset)
            continue;
        const Point at = Place(s.elevation, s.azimuth);
        // A satellite heard on several signals is one mark, its strongest.
        auto same = std::find_if(marks.begin(), marks.end(), [&](const Mark& m) {
            return m.centre == at && m.label == SatelliteList::Label(e);
        });
        if (same != marks.end()) {
            same->filled |= s.used;
            if (s.snr > same->snr) {
                same->snr = s.snr;
                same->colour = SatelliteList::SnrColour(s.snr);
            }
            continue;
        }
        marks.push_back(
            {at, SatelliteList::SnrColour(s.snr), s.snr, s.used, SatelliteList::Label(e)});
    }
    return marks;
}

}  // namespace zelsim
