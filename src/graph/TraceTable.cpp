#include "graph/TraceTable.h"

namespace zelsim {

namespace {

using Scales = std::array<TraceTable::Scale, TraceTable::kScales>;

constexpr Scales kAngleScales = {{{"18 deg/div", 900},
                                  {"9 deg/div", 450},
                                  {"4.5 deg/div", 225},
                                  {"2 deg/div", 100},
                                  {"1 deg/div", 50}}};

TraceTable::Trace MakeTrace(std::string_view name, bool isSigned, Colour colour, int marker,
                            int selected, const Scales& scales) {
    TraceTable::Trace trace;
    trace.name = name;
    trace.isSigned = isSigned;
    trace.colour = colour;
    trace.marker = marker;
    trace.selected = selected;
    trace.scales = scales;
    trace.fullScale = scales[static_cast<size_t>(selected)].fullScale;
    return trace;
}

}  // namespace

TraceTable::TraceTable()
    : traces_{MakeTrace("Speed(mph)", false, {0, 128, 0}, 2, 0,
                        {{{"10 mph/div", 500},
                          {"5 mph/div", 250},
                          {"2 mph/div", 100},
                          {"1 mph/div", 50},
                          {".5 mph/div", 25}}}),
              MakeTrace("Course", false, {0, 0, 128}, 3, 0,
                        {{{"36 deg/div", 1800},
                          {"36 deg/div", 1800},
                          {"36 deg/div", 1800},
                          {"36 deg/div", 1800},
                          {"36 deg/div", 1800}}}),
              MakeTrace("Offset Err", true, {255, 0, 0}, 0, 3,
                        {{{"10 m/div", 5000},
                          {" 5 m/div", 2500},
                          {" 1 m/div", 500},
                          {".5 m/div", 250},
                          {".1 m/div", 50}}}),
              MakeTrace("Angle Err", true, {128, 0, 128}, 1, 3, kAngleScales),
              MakeTrace("WheelAngle", true, {128, 0, 0}, 4, 3, kAngleScales),
              MakeTrace("Sol Drive", true, {216, 0, 132}, 5, 0,
                        {{{"20%/div", 100},
                          {"10%/div", 50},
                          {"5%/div", 25},
                          {"2%/div", 10},
                          {"1%/div", 5}}})} {}

TraceTable::Mode TraceTable::ModeOf(int t) const {
    const Trace& trace = At(t);
    if (!trace.enabled) return Mode::kOff;
    return trace.log ? Mode::kLog : Mode::kLinear;
}

void TraceTable::Cycle(int t) {
    Trace& trace = traces_[static_cast<size_t>(t)];
    switch (ModeOf(t)) {
        case Mode::kLinear:
            trace.log = true;
            break;
        case Mode::kLog:
            trace.enabled = false;
            trace.log = false;
            break;
        case Mode::kOff:
            trace.enabled = true;
            break;
    }
}

bool TraceTable::ChooseScale(int t, int index) {
    if (index < 0 || index >= kScales) return false;
    Trace& trace = traces_[static_cast<size_t>(t)];
    const uint16_t value = trace.scales[static_cast<size_t>(index)].fullScale;
    if (index == trace.selected && value == trace.fullScale) return false;
    trace.selected = index;
    trace.fullScale = value;
    return true;
}

void TraceTable::SetWheelAngleName(std::string_view name) {
    traces_[kWheelAngleTrace].name = name;
}

}  // namespace zelsim
