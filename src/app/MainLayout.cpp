#include "app/MainLayout.h"

#include <algorithm>

#include "base/ZelSimControls.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr int U = MainLayout::kKeepSize;
constexpr int kButtonW = 92, kButtonH = 26;
constexpr int kIndicatorW = 28, kIndicatorH = 24;
constexpr int kMonitorTop = 296;
constexpr int kCompactMonitorTop = 77;

// Client area: the auxiliary panel (port, log, acquisition, script
// progress) and the receiver's panel side by side on top, the user buttons
// under the receiver's panel, the monitor below.
constexpr MainLayout::Place kDesign[] = {
    {mw::pAuxPanel, 0, 0, 214, 292},
    {mw::pDisplayPanel, 216, 0, 425, 226},
    {mw::pButtonPanel, 216, 230, 450, 60},
    {mw::pMessageMonitorPanel, 0, kMonitorTop, U, U},  // sized by the monitor: Big makes it taller
    {mw::bComOpenClose, 8, 8, kButtonW, kButtonH},
    {mw::bLogMessages, 104, 8, kButtonW, kButtonH},
    {mw::lLogMessagesStatus, 44, 42, 168, 42},  // three lines: a failure says why
    {mw::bAcquireCorvane, 8, 92, 100, 26},
    {mw::lAcquireCorvaneStatus, 112, 97, 102, 16},
    {mw::lCorvaneConnectionReport, 8, 128, 206, 16},
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
