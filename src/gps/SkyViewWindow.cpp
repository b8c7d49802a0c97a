#include "gps/SkyViewWindow.h"

#include <algorithm>

#include "gps/GpsWindowControls.h"

namespace zelsim {

SkyViewWindow::SkyViewWindow()
    : window_(sky_view_window::fSkyView, "SkyView", kCaption, kClientWidth, kClientHeight) {}

void SkyViewWindow::Show(const std::vector<SatelliteList::Entry>& satellites) {
    std::vector<SkyPlot::Mark> marks = SkyPlot::Marks(satellites);
    const bool same = marks.size() == marks_.size() &&
                      std::equal(marks.begin(), marks.end(), marks_.begin(),
                                 [](const SkyPlot::Mark& a, const SkyPlot::Mark& b) {
                                     return a.centre == b.centre && a.colour == b.colour &&
                                            a.filled == b.filled && a.label == b.label;
                                 });
    if (same) return;
    marks_ = std::move(marks);
    ++revision_;
}

}  // namespace zelsim
