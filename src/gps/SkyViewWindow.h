#pragma once
#include <vector>

#include "gps/SkyPlot.h"
#include "gps/ToolWindow.h"

namespace zelsim {

// "Sky View": the rings and the satellites in view as of the last receiver
// cycle. The window can be resized, to no less than a readable square.
class SkyViewWindow {
  public:
    static constexpr std::string_view kCaption = "Sky View";
    static constexpr int kClientWidth = 300;
    static constexpr int kClientHeight = 300;
    static constexpr int kSmallestSide = 210;
    static constexpr int kMargin = 5;

    SkyViewWindow();

    ToolWindow& Window() { return window_; }
    const ToolWindow& Window() const { return window_; }

    void Show(const std::vector<SatelliteList::Entry>& satellites);
    const std::vector<SkyPlot::Mark>& Marks() const { return marks_; }
    // Changes with each new picture.
    uint64_t Revision() const { return revision_; }

  private:
    ToolWindow window_;
    std::vector<SkyPlot::Mark> marks_;
    uint64_t revision_ = 1;
};

}  // namespace zelsim
