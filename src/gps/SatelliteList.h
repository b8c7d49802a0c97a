#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/Colour.h"
#include "gnss/GnssDecoder.h"

namespace zelsim {

// The satellites in view of every talker, in one list ordered by
// constellation, PRN and signal, with the names the GPS windows show them
// by and the colour of their signal strength.
class SatelliteList {
  public:
    struct Entry {
        size_t talker = 0;  // index into GnssDecoder::kTalkers
        SatelliteInView satellite;
    };

    static std::vector<Entry> From(const GnssDecoder& decoder);

    // "GPS", "GLONASS", ...
    static std::string_view SystemName(size_t talker);
    // The constellation's letter and the PRN, as GNSS engineers write
    // them: "G05", "R71", "E11", "C30".
    static std::string Label(const Entry& entry);

    // The strength bands: grey untracked, then red, orange, yellow, green.
    static Colour SnrColour(int16_t snr);
    // dB-Hz that fill an SNR bar.
    static constexpr int kSnrFullScale = 60;
    // The bar's length in a cell `width` pixels wide.
    static int SnrBarWidth(int16_t snr, int width);
};

}  // namespace zelsim
