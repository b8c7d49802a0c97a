#pragma once
#include <string>
#include <vector>

#include "gps/SvStatusTable.h"
#include "gps/ToolWindow.h"

namespace zelsim {

// "SV Status": the satellites in view, one row each, as of the last
// receiver cycle.
class SvStatusWindow {
  public:
    static constexpr std::string_view kCaption = "Satellite Vehicle Status list";
    static constexpr int kClientWidth = 542;
    static constexpr int kClientHeight = 285;

    SvStatusWindow();

    ToolWindow& Window() { return window_; }
    const ToolWindow& Window() const { return window_; }

    void Show(const std::vector<SatelliteList::Entry>& satellites);
    const std::vector<SvStatusTable::Row>& Rows() const { return rows_; }
    // Changes with each new list.
    uint64_t Revision() const { return revision_; }
    // Ctrl+C: the list as the clipboard takes it.
    std::string TabSeparated() const { return SvStatusTable::TabSeparated(rows_); }

  private:
    ToolWindow window_;
    std::vector<SvStatusTable::Row> rows_;
    uint64_t revision_ = 0;
};

}  // namespace zelsim
