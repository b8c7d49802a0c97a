#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "gps/SatelliteList.h"

namespace zelsim {

// The SV Status window's list in figures: one row per satellite in view,
// and the same as tab-separated text for the clipboard.
class SvStatusTable {
  public:
    static constexpr size_t kColumns = 7;
    static constexpr size_t kSnrColumn = 5;
    static constexpr std::array<std::string_view, kColumns> kHeadings = {
        "System", "PRN", "Signal", "Elev \xB0", "Azim \xB0", "SNR dB-Hz", "Used"};
    static constexpr std::string_view kNoneInView = "no satellites in view";

    struct Row {
        std::array<std::string, kColumns> cells;
        int16_t snr = SatelliteInView::kUnset;  // for the bar
        Colour snrColour;
    };

    static std::vector<Row> Rows(const std::vector<SatelliteList::Entry>& entries);
    // A heading line, then a line per row; CR LF ends each, as a
    // spreadsheet pasted into on any system expects.
    static std::string TabSeparated(const std::vector<Row>& rows);
    // "no satellites in view", or "12 satellites in view, 8 used".
    static std::string Summary(const std::vector<SatelliteList::Entry>& entries);
};

}  // namespace zelsim
