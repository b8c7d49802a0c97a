#include "app/MainLayout.h"

#include <algorithm>
#include <array>

#include "base/MainWindowControls.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr int U = MainLayout::kKeepSize;
constexpr int kButtonW = 92, kButtonH = 26;
constexpr int kIndicatorW = 28, kIndicatorH = 24;
constexpr int kMonitorTop = 296;
constexpr int kCompactMonitorTop = 77;
// The file's progress stands over the top of the monitor's list, where the
// oldest lines are: the newest stay in view. It covers four whole rows.
constexpr int kFilePanelBelowMonitor = 15;
constexpr int kCompactFilePanelTop = 96;
constexpr int kFilePanelW = 744, kFilePanelH = 56;
constexpr int kTagW = 15, kTagH = 16;
constexpr int kUserButtonW = 94, kUserButtonH = 26;
constexpr int kReportH = 16;

// The user buttons in two rows of four, F1 over F2, each with its tag left
// of it: the same in both layouts.
constexpr std::array<MainLayout::Place, 16> kUserButtonPlaces = {{
    {mw::lButton1Tag, 0, 5, kTagW, kTagH},
    {mw::lButton2Tag, 0, 35, kTagW, kTagH},
    {mw::lButton3Tag, 112, 5, kTagW, kTagH},
    {mw::lButton4Tag, 112, 35, kTagW, kTagH},
    {mw::lButton5Tag, 224, 5, kTagW, kTagH},
    {mw::lButton6Tag, 224, 35, kTagW, kTagH},
    {mw::lButton7Tag, 336, 5, kTagW, kTagH},
    {mw::lButton8Tag, 336, 35, kTagW, kTagH},
    {mw::bButton1, 16, 0, kUserButtonW, kUserButtonH},
    {mw::bButton2, 16, 30, kUserButtonW, kUserButtonH},
    {mw::bButton3, 128, 0, kUserButtonW, kUserButtonH},
    {mw::bButton4, 128, 30, kUserButtonW, kUserButtonH},
    {mw::bButton5, 240, 0, kUserButtonW, kUserButtonH},
    {mw::bButton6, 240, 30, kUserButtonW, kUserButtonH},
    {mw::bButton7, 352, 0, kUserButtonW, kUserButtonH},
    {mw::bButton8, 352, 30, kUserButtonW, kUserButtonH},
}};

template <size_t A, size_t B>
constexpr std::array<MainLayout::Place, A + B> Join(const std::array<MainLayout::Place, A>& a,
                                                    const std::array<MainLayout::Place, B>& b) {
    std::array<MainLayout::Place, A + B> joined{};
    std::copy(a.begin(), a.end(), joined.begin());
    std::copy(b.begin(), b.end(), joined.begin() + A);
    return joined;
}

// Client area: the auxiliary panel (port, log, acquisition, script
// progress) and the receiver's panel side by side on top, the user buttons
// under the receiver's panel, the monitor below.
constexpr auto kDesignOwn = std::to_array<MainLayout::Place>({
    {mw::pAuxPanel, 0, 0, 214, 292},
    {mw::pDisplayPanel, 216, 0, 425, 226},
    {mw::pButtonPanel, 216, 230, 450, 60},
    {mw::pMessageMonitorPanel, 0, kMonitorTop, U, U},  // sized by the monitor: Big makes it taller
    // Beside the user buttons, where the client has room.
    {mw::bGraphicDisplay, 670, 230, 84, kButtonH},
    {mw::bComOpenClose, 8, 8, kButtonW, kButtonH},
    {mw::bLogMessages, 104, 8, kButtonW, kButtonH},
    {mw::lLogMessagesStatus, 44, 42, 168, 42},  // three lines: a failure says why
    {mw::bAcquireCorvane, 8, 92, 99, 26},
    {mw::lAcquireCorvaneStatus, 110, 98, 104, 16},
    // Two lines: a receiver's name, version and serial number can be long.
    {mw::lCorvaneConnectionReport, 8, 126, 206, 30},
    {mw::iRxTxFrame, 10, 42, kIndicatorW, kIndicatorH},
    {mw::iTxArrow, 10, 42, kIndicatorW, kIndicatorH},
    {mw::iRxArrow, 10, 42, kIndicatorW, kIndicatorH},
    // A running script: its Cancel Button and what it is doing, in the
    // free rows at the foot of the auxiliary panel.
    {mw::bCancelButtonScript, 8, 160, 100, kButtonH},
    {mw::lScriptDelayReport, 116, 160, 90, kReportH},
    {mw::pbScriptDelayReport, 116, 178, 90, 10},
    {mw::lScriptLineReport, 8, 194, 198, 44},
    {mw::lScriptMessageReport, 8, 242, 198, 44},
    {mw::pFileSendPanel, 8, kMonitorTop + kFilePanelBelowMonitor, kFilePanelW, kFilePanelH},
    {mw::bCancelFile, 8, 15, 84, kButtonH},
    {mw::lSendFilePB, 100, 3, 636, kReportH},
    {mw::pbSendFile, 100, 20, 636, 14},
    {mw::lSendFileInfoPB, 100, 36, 636, kReportH},
});
constexpr auto kDesign = Join(kDesignOwn, kUserButtonPlaces);

constexpr auto kCompactOwn = std::to_array<MainLayout::Place>({
    {mw::pAuxPanel, 0, 0, 540, 76},
    {mw::pButtonPanel, 306, 0, 450, 60},
    {mw::pMessageMonitorPanel, 0, kCompactMonitorTop, U, U},
    {mw::bComOpenClose, 0, 0, kButtonW, kButtonH},
    {mw::bLogMessages, 100, 0, kButtonW, kButtonH},
    {mw::lLogMessagesStatus, 36, 24, 250, 28},
    {mw::iRxTxFrame, 2, 28, kIndicatorW, kIndicatorH},
    {mw::iTxArrow, 2, 28, kIndicatorW, kIndicatorH},
    {mw::iRxArrow, 2, 28, kIndicatorW, kIndicatorH},
    {mw::bCancelButtonScript, 200, 0, 100, kButtonH},
    {mw::lScriptDelayReport, 160, 26, 90, kReportH},
    {mw::pbScriptDelayReport, 160, 44, 90, 10},
    {mw::lScriptLineReport, 310, 58, 230, kReportH},
    {mw::lScriptMessageReport, 8, 58, 300, kReportH},
    // With the monitor hidden the client keeps its height: the place under
    // the top panels is free.
    {mw::pFileSendPanel, 8, kCompactFilePanelTop, kFilePanelW, kFilePanelH},
});
constexpr auto kCompact = Join(kCompactOwn, kUserButtonPlaces);
}  // namespace

std::span<const MainLayout::Place> MainLayout::Design() {
    return kDesign;
}

std::span<const MainLayout::Place> MainLayout::Compact() {
    return kCompact;
}

MainLayout::Minimum MainLayout::MinimumClient(bool compact, bool monitorShown, int monitorHeight,
                                              int shortestMonitor, int screenRoom) {
    const int design = ClientHeight(compact, monitorShown, monitorHeight);
    if (!monitorShown || screenRoom >= design) return {kClientWidth, design, 0};
    const int top = compact ? kCompactMonitorTop : kMonitorTop;
    const int height = std::max(screenRoom, top + shortestMonitor);
    return {kClientWidth, height, std::max(0, top + monitorHeight - height)};
}

int MainLayout::ClientHeight(bool compact, bool monitorShown, int monitorHeight) {
    if (!monitorShown) return kClientHeight;
    const int top = compact ? kCompactMonitorTop : kMonitorTop;
    return std::max(kClientHeight, top + monitorHeight);
}

}  // namespace zelsim
