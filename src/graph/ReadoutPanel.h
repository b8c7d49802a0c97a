#pragma once
#include <array>
#include <cstdint>

#include "base/Colour.h"
#include "graph/DeviceIdentities.h"

namespace zelsim {

struct ChartDrawing;
struct ChartGeometry;
struct DiagnosticRecord;
class TraceTable;

// drawReadouts: one record in figures below the plot. The steering mode as
// a banner; date, time, position, satellites, DGPS mode and the three
// devices; the six traced values with their legend; and, once the
// controller's settings have arrived, twenty-three settings. While the
// button is held on a device's row, its serial number is shown instead.
class ReadoutPanel {
  public:
    static constexpr Colour kText{0, 0, 128};
    static constexpr Colour kRule{234, 237, 252};
    static constexpr Colour kLogMark{255, 179, 179};
    // A cell, as the rows are 14 apart: at 16 the columns run into each other.
    static constexpr int kFontHeight = 13;
    static constexpr int kBannerHeight = 18;

    // mdDormalynSerNum, mdLbSerNum, mdDgpsSerNum.
    void ShowSerial(DeviceSlot slot) { showSerial_[static_cast<size_t>(slot)] = true; }
    // Any button released: every row shows its device again.
    void HideSerials() { showSerial_ = {}; }
    bool ShowsSerial(DeviceSlot slot) const { return showSerial_[static_cast<size_t>(slot)]; }

    void Draw(const DiagnosticRecord& record, const TraceTable& traces,
              const DeviceIdentities& identities, const ChartGeometry& g,
              ChartDrawing& drawing) const;

  private:
    std::array<bool, DeviceIdentities::kSlotCount> showSerial_{};
};

}  // namespace zelsim
