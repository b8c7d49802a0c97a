#pragma once
#include <array>
#include <cstdint>

#include "base/Colour.h"

namespace zelsim {

// The category of a shown or logged line. It decides the line's colour and
// which monitor and log filter lets it through.
class MessageCategory {
  public:
    enum Code : uint8_t {
        kOutGoing = 0,
        kOutZel = 1,  // panel traffic the program sends
        kZel = 2,
        kDgps = 3,
        kLightBar = 4,
        kDormalyn = 5,
        kOther = 6,
        kNonNmea = 7,
        kShort = 8,  // fewer than two fields: never shown, never logged
    };
    static constexpr int kCount = 9;

    // Of the monitor and of the legend: a pale cream.
    static constexpr Colour kBackground{253, 251, 243};

    struct LegendRow {
        const char* text;
        Code code;
    };
    static constexpr int kLegendRowCount = 8;
    // The legend lists Non-NMEA before Other, unlike the code order.
    static constexpr std::array<LegendRow, kLegendRowCount> kLegend = {{
        {"Out-Going Messages", kOutGoing},
        {"Out ZEL Messages", kOutZel},
        {"ZEL Messages", kZel},
        {"DGPS Messages", kDgps},
        {"Light Bar Messages", kLightBar},
        {"Dormalyn Messages", kDormalyn},
        {"Non-NMEA Messages", kNonNmea},
        {"Other Messages", kOther},
    }};

    // A code outside the table draws like Other.
    static constexpr Colour ColourOf(uint32_t code) {
        return code < kCount ? kColours[code] : kColours[kOther];
    }

  private:
    static constexpr std::array<Colour, kCount> kColours = {{
        {128, 0, 128},    // purple
        {128, 128, 0},    // olive
        {0, 0, 255},      // blue
        {0, 0, 0},        // black
        {128, 0, 0},      // maroon
        {0, 0, 128},      // navy
        {128, 128, 128},  // grey
        {0, 128, 0},      // green
        {255, 0, 0},      // red
    }};
};

}  // namespace zelsim
