#include "monitor/MonitorLayout.h"

#include <algorithm>
#include <cmath>

#include "base/MainWindowControls.h"

namespace zelsim {

namespace {
constexpr int kButtonTop = 254;  // the combo box sits one pixel lower
constexpr int kButtonHeight = 25;
}  // namespace

// The buttons are as wide as their longest captions ("Continue", "Cancel
// File", "Add CkSum") need in the desktop's font; the box gives way.
const MonitorLayout::RowPlace MonitorLayout::kSendRow[6] = {
    {main_window::cbSendData, {8, kButtonTop + 1, 374, 24}},
    {main_window::bSendData, {384, kButtonTop, 60, kButtonHeight}},
    {main_window::bPause, {448, kButtonTop, 72, kButtonHeight}},
    {main_window::bClear, {524, kButtonTop, 60, kButtonHeight}},
    {main_window::bSendFile, {588, kButtonTop, 80, kButtonHeight}},
    {main_window::bAddCkSum, {672, kButtonTop, 80, kButtonHeight}},
};

int MonitorLayout::ShortestPanel() {
    return kListTop + kFewestRows * kRowHeight + kListBottomMargin;
}

MonitorLayout::Rect MonitorLayout::Panel(bool big, Room room) {
    return {0, 0, kPanelWidth + std::max(0, room.width),
            std::max(ShortestPanel(), PanelHeight(big) + room.height)};
}

MonitorLayout::Rect MonitorLayout::List(bool big, Room room) {
    const Rect panel = Panel(big, room);
    return {kListLeft, kListTop, panel.width - 2 * kListLeft,
            panel.height - kListTop - kListBottomMargin};
}

MonitorLayout::Rect MonitorLayout::SendRowControl(const RowPlace& place, bool big, Room room) {
    const Rect panel = Panel(big, room);
    const int wider = panel.width - kPanelWidth;
    Rect rect = place.rect;
    rect.top += panel.height - kSendRowDistance - kButtonTop;
    if (place.name == main_window::cbSendData)
        rect.width += wider;
    else
        rect.left += wider;
    return rect;
}

int MonitorLayout::VisibleRows(int listHeight) {
    return std::max(1, listHeight / kRowHeight);
}

int MonitorLayout::TopRowForNewest(int lineCount, int visibleRows) {
    return std::max(0, lineCount - visibleRows);
}

MonitorLayout::Columns MonitorLayout::ColumnsOf(bool timeShown, bool tickShown) {
    return {timeShown ? kTimeChars : 0, tickShown ? kTickChars : 0};
}

int MonitorLayout::ColumnLeft(size_t chars, double charAdvance) {
    return static_cast<int>(std::lround(static_cast<double>(chars) * charAdvance));
}

}  // namespace zelsim
