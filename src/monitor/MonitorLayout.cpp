#include "monitor/MonitorLayout.h"

#include <algorithm>
#include <cmath>

#include "base/ZelSimControls.h"

namespace zelsim {

namespace {
constexpr int kButtonTop = 254;  // the combo box sits one pixel lower
constexpr int kButtonHeight = 25;
}  // namespace

const MonitorLayout::RowPlace MonitorLayout::kSendRow[6] = {
    {main_window::cbSendData, {8, kButtonTop + 1, 404, 24}},
    {main_window::bSendData, {414, kButtonTop, 60, kButtonHeight}},
    {main_window::bPause, {478, kButtonTop, 60, kButtonHeight}},
    {main_window::bClear, {542, kButtonTop, 60, kButtonHeight}},
    {main_window::bSendFile, {606, kButtonTop, 70, kButtonHeight}},
    {main_window::bAddCkSum, {680, kButtonTop, 70, kButtonHeight}},
};

MonitorLayout::Rect MonitorLayout::List(bool big) {
    return {kListLeft, kListTop, kPanelWidth - 2 * kListLeft,
            PanelHeight(big) - kListTop - kListBottomMargin};
}

MonitorLayout::Rect MonitorLayout::SendRowControl(const RowPlace& place, bool big) {
    const int shift = PanelHeight(big) - kSendRowDistance - kButtonTop;
    Rect rect = place.rect;
    rect.top += shift;
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
