#include "gps/SvStatusWindow.h"

#include <algorithm>

#include "gps/GpsWindowControls.h"

namespace zelsim {

namespace sw = sv_status_window;

SvStatusWindow::SvStatusWindow()
    : window_(sw::fSvStatus, "SvStatus", kCaption, kClientWidth, kClientHeight) {
    window_.Controls().SetText(sw::lSatelliteSummary, SvStatusTable::kNoneInView);
}

void SvStatusWindow::Show(const std::vector<SatelliteList::Entry>& satellites) {
    std::vector<SvStatusTable::Row> rows = SvStatusTable::Rows(satellites);
    window_.Controls().SetText(sw::lSatelliteSummary, SvStatusTable::Summary(satellites));
    const bool same = rows.size() == rows_.size() &&
                      std::equal(rows.begin(), rows.end(), rows_.begin(),
                                 [](const SvStatusTable::Row& a, const SvStatusTable::Row& b) {
                                     return a.cells == b.cells;
                                 });
    if (same) return;
    rows_ = std::move(rows);
    ++revision_;
}

}  // namespace zelsim
