#pragma once
#include <array>
#include <cstdint>

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

    // Colours are 0xRRGGBB.
    static constexpr uint32_t kBackground = 0xFDFBF3;

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
    static constexpr uint32_t Colour(uint32_t code) {
        return code < kCount ? kColours[code] : kColours[kOther];
    }

  private:
    static constexpr std::array<uint32_t, kCount> kColours = {
        0x800080,  // purple
        0x808000,  // olive
        0x0000FF,  // blue
        0x000000,  // black
        0x800000,  // maroon
        0x000080,  // navy
        0x808080,  // grey
        0x008000,  // green
        0xFF0000,  // red
    };
};

}  // namespace zelsim
