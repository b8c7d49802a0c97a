#include "gps/SatelliteList.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace zelsim {

namespace {

// In the order of GnssDecoder::kTalkers: GP GN GL GA GB BD GQ GI.
constexpr std::array<std::string_view, GnssDecoder::kTalkerCount> kSystemNames = {
    "GPS", "GNSS", "GLONASS", "Galileo", "BeiDou", "BeiDou", "QZSS", "NavIC"};
constexpr std::array<char, GnssDecoder::kTalkerCount> kSystemLetters = {'G', 'N', 'R', 'E',
                                                                        'C', 'C', 'J', 'I'};
// Constellations in the list's order; the two BeiDou talkers are one.
constexpr std::array<int, GnssDecoder::kTalkerCount> kSystemOrder = {0, 6, 1, 2, 3, 3, 4, 5};

struct Band {
    int16_t below;
    Colour colour;
};
constexpr Colour kUntracked{150, 150, 150};
constexpr std::array<Band, 4> kBands = {Band{20, {210, 0, 0}}, Band{30, {240, 130, 0}},
                                        Band{40, {200, 180, 0}}, Band{INT16_MAX, {0, 160, 0}}};

}  // namespace

std::vector<SatelliteList::Entry> SatelliteList::From(const GnssDecoder& decoder) {
    std::vector<Entry> entries;
    entries.reserve(decoder.SatelliteCount());
    for (size_t t = 0; t < GnssDecoder::kTalkerCount; ++t)
        for (const SatelliteInView& sat : decoder.SatellitesInView(t)) entries.push_back({t, sat});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int sa = kSystemOrder[a.talker], sb = kSystemOrder[b.talker];
        if (sa != sb) return sa < sb;
        if (a.satellite.prn != b.satellite.prn) return a.satellite.prn < b.satellite.prn;
        return a.satellite.signalId < b.satellite.signalId;
    });
    return entries;
}

std::string_view SatelliteList::SystemName(size_t talker) {
    return talker < kSystemNames.size() ? kSystemNames[talker] : std::string_view();
}

std::string SatelliteList::Label(const Entry& entry) {
    char text[16];
    std::snprintf(text, sizeof text, "%c%02u",
                  entry.talker < kSystemLetters.size() ? kSystemLetters[entry.talker] : '?',
                  static_cast<unsigned>(entry.satellite.prn));
    return text;
}

Colour SatelliteList::SnrColour(int16_t snr) {
    if (snr == SatelliteInView::kUnset) return kUntracked;
    for (const Band& band : kBands)
        if (snr < band.below) return band.colour;
    return kBands.back().colour;
}

int SatelliteList::SnrBarWidth(int16_t snr, int width) {
    if (snr == SatelliteInView::kUnset || snr <= 0 || width <= 0) return 0;
    return std::min(width, snr * width / kSnrFullScale);
}

}  // namespace zelsim
