#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Colour.h"

namespace zelsim {

// The six traces of the strip chart: speed, course, offset error, angle
// error, wheel angle (or yaw rate) and solenoid drive. What the user
// changes (scale, linear or logarithmic, hidden) lasts for the run and is
// never saved.
class TraceTable {
  public:
    static constexpr int kTraces = 6;
    static constexpr int kScales = 5;
    static constexpr int kMarkers = 6;
    static constexpr int kWheelAngleTrace = 4;

    struct Scale {
        std::string_view caption;
        uint16_t fullScale;
    };

    struct Trace {
        std::string name;
        bool isSigned = false;
        bool log = false;
        bool enabled = true;
        uint16_t fullScale = 0;  // F, in the unit of the record's field
        int selected = 0;        // which of `scales` F came from
        std::array<Scale, kScales> scales;
        Colour colour;
        int marker = 0;  // 0 to 5
    };

    // The switch below each trace's readout: linear, then logarithmic, then
    // hidden, then linear again.
    enum class Mode : uint8_t { kLinear, kLog, kOff };

    TraceTable();

    const Trace& At(int t) const { return traces_[static_cast<size_t>(t)]; }
    Mode ModeOf(int t) const;
    // A left click on the trace's switch: the next mode.
    void Cycle(int t);
    // A choice in the scale popup; false when it changes nothing, so the
    // stored rows need no refill.
    bool ChooseScale(int t, int index);
    // The fifth trace is named after what the controller sends.
    void SetWheelAngleName(std::string_view name);

  private:
    std::array<Trace, kTraces> traces_;
};

}  // namespace zelsim
