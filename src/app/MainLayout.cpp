#include "app/MainLayout.h"

#include <algorithm>

#include "base/ZelSimControls.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr int U = MainLayout::kKeepSize;
constexpr int kButtonW = 92, kButtonH = 26;
constexpr int kIndicatorW = 28, kIndicatorH = 24;
constexpr int kMonitorTop = 200;
constexpr int kCompactMonitorTop = 77;

// Client area: the auxiliary panel (port, log, script progress) and the
// receiver panel side by side on top, the user buttons under the receiver
// panel, the monitor below.
constexpr MainLayout::Place kDesign[] = {
    {mw::pAuxPanel, 0, 0, 300, 196},
    {mw::pDisplayPanel, 306, 0, 450, 132},
    {mw::pButtonPanel, 306, 136, 450, 60},
    {mw::pMessageMonitorPanel, 0, kMonitorTop, U, U},  // sized by the monitor: Big makes it taller
    {mw::bComOpenClose, 8, 8, kButtonW, kButtonH},
    {mw::bLogMessages, 104, 8, kButtonW, kButtonH},
    {mw::lLogMessagesStatus, 44, 42, 250, 28},  // two lines: a failure says why
    {mw::iRxTxFrame, 10, 42, kIndicatorW, kIndicatorH},
    {mw::iTxArrow, 10, 42, kIndicatorW, kIndicatorH},
    {mw::iRxArrow, 10, 42, kIndicatorW, kIndicatorH},
};

constexpr MainLayout::Place kCompact[] = {
    {mw::pAuxPanel, 0, 0, 540, 76},
    {mw::pButtonPanel, 306, 0, 450, 60},
    {mw::pMessageMonitorPanel, 0, kCompactMonitorTop, U, U},
    {mw::bComOpenClose, 0, 0, kButtonW, kButtonH},
    {mw::bLogMessages, 100, 0, kButtonW, kButtonH},
    {mw::lLogMessagesStatus, 36, 24, 250, 28},
    {mw::iRxTxFrame, 2, 28, kIndicatorW, kIndicatorH},
    {mw::iTxArrow, 2, 28, kIndicatorW, kIndicatorH},
    {mw::iRxArrow, 2, 28, kIndicatorW, kIndicatorH},
};
}  // namespace

std::span<const MainLayout::Place> MainLayout::Design() {
    return kDesign;
}

std::span<const MainLayout::Place> MainLayout::Compact() {
    return kCompact;
}

int MainLayout::ClientHeight(bool compact, bool monitorShown, int monitorHeight) {
    if (!monitorShown) return kClientHeight;
    const int top = compact ? kCompactMonitorTop : kMonitorTop;
    return std::max(kClientHeight, top + monitorHeight);
}

}  // namespace zelsim
