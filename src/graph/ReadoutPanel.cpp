#include "graph/ReadoutPanel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "base/Text.h"
#include "graph/ChartDrawing.h"
#include "graph/ChartGeometry.h"
#include "graph/ChartMarker.h"
#include "graph/DiagnosticRecord.h"
#include "graph/ReadoutFormat.h"
#include "graph/TraceTable.h"

namespace zelsim {

namespace {

namespace rf = readout_format;

constexpr Colour kBackground = ChartDrawing::kBackground;
constexpr int kLabelX = 8;
constexpr int kValueX = 48;
constexpr int kTagX = 162;
constexpr int kLegendX = 190;
constexpr int kLegendStep = 10;
constexpr int kLegendDrop = 7;
constexpr int kNameX = 217;
constexpr int kTraceValueX = 297;
constexpr int kSensorLabelX = 387;
constexpr int kSensorValueX = 514;
constexpr int kTimingLabelX = 582;
constexpr int kTimingValueX = 714;
constexpr int kBannerX = 175;
constexpr int kBannerDrop = 2;
constexpr int kBannerRow = 11;
constexpr int kRuleLeft = 2;
constexpr int kNavyRuleLeft = ChartGeometry::kReadoutBorders[1];
constexpr int kNavyRuleRow = 7;
constexpr int kDeviceFirstRow = 9;
constexpr int32_t kSensorFull = 20480;  // 100 percent
constexpr int32_t kPerMille = 1000;
constexpr int32_t kMicroMinutes = 1000000;
constexpr int32_t kFractionDivisor = 100;
constexpr std::string_view kSerialNumber = "ser num=";

struct Banner {
    const char* text;
    Colour box;
};
constexpr Banner kBanners[] = {{"       Off        ", {128, 128, 128}},
                               {" Approaching Path ", {128, 0, 0}},
                               {" Line Aquisition  ", {0, 0, 0}},
                               {"     On Line      ", {0, 128, 0}},
                               {"  On Line-DM      ", {0, 0, 255}}};

constexpr const char* kZControl[] = {"  OFF ", "  MAN ", " AUTO "};
constexpr const char* kSolenoidControl[] = {"On-Off", "Pulsed", "SPS Dir", "  PWM "};
constexpr const char* kUnknown = "    ? ";

template <size_t N>
const char* Choice(const char* const (&texts)[N], int value) {
    return value >= 0 && static_cast<size_t>(value) < N ? texts[value] : kUnknown;
}

// "N 33°52.1234'": south and west negate degrees and minutes together, so
// the hemisphere is the sign of the whole value, also within the first
// degree, where the degrees are 0.
std::string Position(const char* format, char positive, char negative, int degrees,
                     int32_t microMinutes) {
    char hemisphere = positive;
    int64_t minutes = microMinutes;
    if (degrees < 0 || (degrees == 0 && minutes < 0)) {
        hemisphere = negative;
        degrees = -degrees;
        minutes = -minutes;
    }
    char text[48];
    std::snprintf(text, sizeof text, format, hemisphere, degrees,
                  static_cast<int>(minutes / kMicroMinutes),
                  static_cast<int>(minutes % kMicroMinutes / kFractionDivisor));
    return text;
}

std::string Percent(int16_t raw) {
    return rf::Plain("%3d.%01d%%", int32_t{raw} * kPerMille / kSensorFull, 10);
}

class Writer {
  public:
    Writer(const ChartGeometry& g, ChartDrawing& drawing) : g_(g), drawing_(drawing) {}

    void Text(int x, int row, std::string text, Colour colour = ReadoutPanel::kText) {
        drawing_.items.emplace_back(ChartDrawing::Text{{x, g_.ReadoutRow(row)},
                                                       std::move(text),
                                                       colour,
                                                       kBackground,
                                                       ReadoutPanel::kFontHeight});
    }
    void Line(int x1, int y1, int x2, int y2, Colour colour) {
        drawing_.items.emplace_back(ChartDrawing::Line{{x1, y1}, {x2, y2}, colour, 1});
    }
    ChartDrawing& Drawing() { return drawing_; }
    const ChartGeometry& Geometry() const { return g_; }

  private:
    const ChartGeometry& g_;
    ChartDrawing& drawing_;
};

void DrawBanner(Writer& w, uint8_t mode) {
    if (mode >= std::size(kBanners)) return;
    const Banner& banner = kBanners[mode];
    w.Drawing().items.emplace_back(
        ChartDrawing::Text{{kBannerX, w.Geometry().ReadoutRow(kBannerRow) + kBannerDrop},
                           banner.text,
                           kBackground,
                           banner.box,
                           ReadoutPanel::kBannerHeight,
                           true});
}

void DrawPlace(Writer& w, const DiagnosticRecord& r) {
    w.Text(kLabelX, 0, "Date");
    w.Text(kValueX, 0, "    " + std::string(r.dat, strnlen(r.dat, sizeof r.dat)));
    w.Text(kLabelX, 1, "Time");
    w.Text(kValueX, 1, "    " + std::string(r.tim, strnlen(r.tim, sizeof r.tim)));
    w.Text(kLabelX, 3, "Lat");
    w.Text(kValueX, 3, Position("%c %02d\xB0%02d.%04d'", 'N', 'S', r.latDeg, r.latUMin));
    w.Text(kLabelX, 4, "Lon");
    w.Text(kValueX, 4, Position("%c%03d\xB0%02d.%04d'", 'E', 'W', r.lonDeg, r.lonUMin));
    w.Text(kLabelX, 6, "Satellites");
    w.Text(kValueX, 6, rf::Whole("        %4d", r.sats));
    w.Text(kLabelX, 7, "DGPS Mode");
    const auto mode = static_cast<unsigned char>(r.rMd);
    const char shown = mode == ' ' || !IsPrintable(mode) ? '?' : r.rMd;
    w.Text(kValueX, 7, std::string("           ") + shown);
}

}  // namespace

void ReadoutPanel::Draw(const DiagnosticRecord& r, const TraceTable& traces,
                        const DeviceIdentities& identities, const ChartGeometry& g,
                        ChartDrawing& drawing) const {
    Writer w(g, drawing);
    DrawBanner(w, r.strMode);
    DrawPlace(w, r);

    for (size_t d = 0; d < DeviceIdentities::kSlotCount; ++d) {
        const DeviceIdentity& id = identities.DisplayedSet()[d];
        if (id.Name().empty()) continue;
        const int row = kDeviceFirstRow + static_cast<int>(d);
        if (showSerial_[d]) {
            w.Text(kLabelX, row, std::string(kSerialNumber) + std::string(id.SerialNumber()));
        } else {
            w.Text(kValueX, row, "      " + std::string(id.Version()));
            w.Text(kLabelX, row, std::string(id.Name()));
        }
    }

    const std::string values[TraceTable::kTraces] = {
        rf::Signed("%c% 6d.%1d", r.sogTenthsMph, 10),
        rf::Plain("% 6d.%1d\xB0", r.cogTenthsDeg, 10),
        rf::Signed(" %c% 4d.%02dm", r.offErrCM, 100),
        rf::Signed(" %c% 4d.%1d\xB0", r.angErrTenthsDeg, 10),
        rf::Signed(" %c% 4d.%1d\xB0", r.waTenthDeg, 10),
        rf::SignedWhole(" %c% 4d%%", r.solOut)};
    for (int t = 0; t < TraceTable::kTraces; ++t) {
        const TraceTable::Trace& trace = traces.At(t);
        const int row = 2 * t;
        const int y = g.ReadoutRow(row);
        w.Text(kTraceValueX, row, values[t], trace.colour);
        const TraceTable::Mode mode = traces.ModeOf(t);
        w.Text(kTagX, row,
               mode == TraceTable::Mode::kLog      ? "LOG "
               : mode == TraceTable::Mode::kLinear ? "LIN "
                                                   : "off",
               trace.colour);
        if (mode == TraceTable::Mode::kLog) {
            ChartDrawing::Polygon mark;
            mark.points = {ChartDrawing::Point{156, y + 6}, {161, y + 8}, {156, y + 10}};
            mark.count = 3;
            mark.colour = kLogMark;
            mark.filled = true;
            drawing.items.emplace_back(mark);
        }
    }
    for (int t = 0; t < TraceTable::kTraces; ++t) {
        const TraceTable::Trace& trace = traces.At(t);
        const int y = g.ReadoutRow(2 * t) + kLegendDrop;
        if (trace.enabled) {
            w.Line(kLegendX, y, kLegendX + 2 * kLegendStep, y, trace.colour);
            for (int k = 0; k < 3; ++k)
                drawing.items.emplace_back(
                    ChartMarker(trace.marker, kLegendX + k * kLegendStep, y, trace.colour));
        }
        w.Text(kNameX, 2 * t, trace.name, trace.colour);
    }

    if (r.firstRsp == 0) return;
    w.Text(kSensorLabelX, 0, "SPS ZControl");
    w.Text(kSensorValueX, 0, Choice(kZControl, r.spsZCtrl));
    w.Text(kSensorLabelX, 1, "SPS Offset");
    w.Text(kSensorValueX, 1, rf::Signed("%c%1d.%03dm", r.spsOffset, 1000));
    w.Text(kSensorLabelX, 2, "SPS Current");
    w.Text(kSensorValueX, 2, Percent(r.spsCur));
    w.Text(kSensorLabelX, 3, "SPS Left");
    w.Text(kSensorValueX, 3, Percent(r.spsLSet));
    w.Text(kSensorLabelX, 4, "SPS Center");
    w.Text(kSensorValueX, 4, Percent(r.spsCSet));
    w.Text(kSensorLabelX, 5, "SPS Right");
    w.Text(kSensorValueX, 5, Percent(r.spsRSet));
    w.Text(kSensorLabelX, 7, "Sol Control");
    w.Text(kSensorValueX, 7, Choice(kSolenoidControl, r.solCType));
    w.Text(kSensorLabelX, 8, "Sol Delay");
    w.Text(kSensorValueX, 8, rf::Whole("%5dms", r.solDly));
    w.Text(kSensorLabelX, 9, "Sol Min Drive");
    w.Text(kSensorValueX, 9, rf::Whole("%5d%%", r.solMinDr));
    w.Text(kSensorLabelX, 10, "Sol Max Drive");
    w.Text(kSensorValueX, 10, rf::Whole("%5d%%", r.solMaxDr));
    w.Text(kSensorLabelX, 11, "Sol PWM Rate");
    w.Text(kSensorValueX, 11, rf::Whole("%5dhz", r.solPwm));

    w.Text(kTimingLabelX, 0, "Delta Time");
    w.Text(kTimingValueX, 0, rf::Plain("%3d.%02d s", r.dTmMs / 10, 100));
    w.Text(kTimingLabelX, 1, "Delta actual");
    w.Text(kTimingValueX, 1, rf::Plain("%3d.%03ds", r.dTmActMs, 1000));
    const std::pair<const char*, int32_t> metres[] = {{"OL Dead Band", r.olDeadBand},
                                                      {"OL TongueLength", r.olTonLen},
                                                      {"LA Dead Band", r.laDeadBand},
                                                      {"LA TongueLength", r.laTonLen}};
    for (int k = 0; k < 4; ++k) {
        w.Text(kTimingLabelX, 2 + k, metres[k].first);
        w.Text(kTimingValueX, 2 + k, rf::Plain("%3d.%03dm", metres[k].second, 1000));
    }
    w.Text(kTimingLabelX, 6, "COG Filter");
    w.Text(kTimingValueX, 6, rf::Whole("%3d", r.cogFSmpls));
    w.Text(kTimingLabelX, 7, "Wheel Base");
    w.Text(kTimingValueX, 7, rf::Plain("%3d.%03dm", r.whBas, 1000));
    w.Text(kTimingLabelX, 8, "Min Turn Radius");
    w.Text(kTimingValueX, 8, rf::Plain("%3d.%03dm", r.minTurnRad, 1000));
    w.Text(kTimingLabelX, 9, "Max Steer Rate");
    w.Text(kTimingValueX, 9, rf::Plain("%3d.%1d\xB0/s", r.maxStrRat, 10));
    w.Text(kTimingLabelX, 10, "SRM Left");
    w.Text(kTimingValueX, 10, rf::Plain("%3d.%1d\xB0/s", std::abs(int32_t{r.srmLeft}), 10));
    w.Text(kTimingLabelX, 11, "SRM Right");
    w.Text(kTimingValueX, 11, rf::Plain("%3d.%1d\xB0/s", std::abs(int32_t{r.srmRight}), 10));

    for (int k = 1; k < ChartGeometry::kReadoutRows; ++k)
        w.Line(kRuleLeft, g.ReadoutRow(k) + 1, g.width - 2, g.ReadoutRow(k) + 1, kRule);
    w.Line(kNavyRuleLeft, g.ReadoutRow(kNavyRuleRow) + 1, g.width - 2,
           g.ReadoutRow(kNavyRuleRow) + 1, kText);
    for (int x : ChartGeometry::kReadoutBorders) w.Line(x, g.ReadoutTop(), x, g.height - 2, kText);
}

}  // namespace zelsim
