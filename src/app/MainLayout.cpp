#include "app/MainLayout.h"


namespace {
constexpr int U = ControlState::kUnset;
constexpr int kButtonW = 92, kButtonH = 26, kTagW = 16, kTagH = 16;

// Client area: the auxiliary panel (port, log, script progress) and the
// receiver panel side by side on top, the user buttons under the receiver
// panel, the monitor below, the file-send panel last.
constexpr MainLayout::Place kDesign[] = {
    {"pAuxPanel", 0, 0, 300, 196},
    {"pDisplayPanel", 306, 0, 450, 132},
    {"pButtonPanel", 306, 136, 450, 60},
    {"pMessageMonitorPanel", 0, 200, U, U},  // sized by itself: Big makes it taller
    {"pFileSendPanel", 0, 495, 760, 35},
    {"lButton1Tag", 0, 5, kTagW, kTagH},   {"lButton2Tag", 0, 35, kTagW, kTagH},
    {"lButton3Tag", 112, 5, kTagW, kTagH}, {"lButton4Tag", 112, 35, kTagW, kTagH},
    {"lButton5Tag", 224, 5, kTagW, kTagH}, {"lButton6Tag", 224, 35, kTagW, kTagH},
    {"lButton7Tag", 336, 5, kTagW, kTagH}, {"lButton8Tag", 336, 35, kTagW, kTagH},
    {"bButton1", 16, 0, kButtonW, kButtonH},   {"bButton2", 16, 30, kButtonW, kButtonH},
    {"bButton3", 128, 0, kButtonW, kButtonH},  {"bButton4", 128, 30, kButtonW, kButtonH},
    {"bButton5", 240, 0, kButtonW, kButtonH},  {"bButton6", 240, 30, kButtonW, kButtonH},
    {"bButton7", 352, 0, kButtonW, kButtonH},  {"bButton8", 352, 30, kButtonW, kButtonH},
    {"bComOpenClose", 8, 8, kButtonW, kButtonH},
    {"bLogMessages", 104, 8, kButtonW, kButtonH},
    {"bCancelButtonScript", 200, 8, kButtonW, kButtonH},
    {"iRxTxFrame", 10, 42, 28, 24}, {"iTxArrow", 10, 42, 28, 24}, {"iRxArrow", 10, 42, 28, 24},
    {"lLogMessagesStatus", 44, 46, 250, 16},
    {"bAcquireCorvane", 8, 72, 120, kButtonH},
    {"lAcquireCorvaneStatus", 136, 77, 160, 16},
    {"bGraphicDisplay", 200, 104, kButtonW, kButtonH},
    {"lCorvaneConnectionReport", 8, 108, 185, 16},
    {"lPortMessage", 8, 128, 288, 30},
    {"lScriptDelayReport", 8, 160, 150, 16},
    {"pbScriptDelayReport", 160, 163, 130, 10},
    {"lScriptMessageReport", 8, 178, 150, 16},
    {"lScriptLineReport", 160, 178, 130, 16},
};

// The compact layout moves only what it names; sizes stay unless given.
constexpr MainLayout::Place kCompact[] = {
    // The buttons and their tags keep their design places inside the panel,
    // two rows of four, which are the compact ones too.
    {"pButtonPanel", 306, 0, 450, 60},
    {"pMessageMonitorPanel", U, 77, U, U},
    {"pAuxPanel", U, U, 540, 76},
    {"bComOpenClose", 0, 0, U, U},
    {"bLogMessages", 100, 0, U, U},
    {"bCancelButtonScript", 200, 0, U, U},
    {"iRxTxFrame", 2, 28, U, U}, {"iTxArrow", 2, 28, U, U}, {"iRxArrow", 2, 28, U, U},
    {"lLogMessagesStatus", 36, 28, U, U},
    {"lPortMessage", 300, 26, 236, 30},
    {"lScriptDelayReport", 160, 26, U, U},
    {"pbScriptDelayReport", 160, 44, U, U},
    {"lScriptLineReport", 310, 58, U, U},
    {"lScriptMessageReport", 8, 58, U, U},
};

constexpr int kFileSendTopUnderMonitor = 96;

void Apply(ControlTable& controls, const MainLayout::Place& p) {
    const ControlState& now = controls.Get(p.name);
    if (p.left != U || p.top != U)
        controls.SetPos(p.name, p.left != U ? p.left : now.left, p.top != U ? p.top : now.top);
    if (p.width != U || p.height != U)
        controls.SetSize(p.name, p.width != U ? p.width : now.width,
                         p.height != U ? p.height : now.height);
}
}  // namespace

const char* const MainLayout::kHiddenWhenCompact[4] = {
    "lCorvaneConnectionReport", "lAcquireCorvaneStatus", "bAcquireCorvane", "bGraphicDisplay"};

void MainLayout::ApplyDesign(ControlTable& controls) {
    for (const Place& p : kDesign) Apply(controls, p);
}

void MainLayout::ApplyCompact(ControlTable& controls, bool monitorHidden) {
    for (const char* name : kHiddenWhenCompact) controls.SetVisible(name, false);
    for (const Place& p : kCompact) Apply(controls, p);
    const ControlState& fileSend = controls.Get("pFileSendPanel");
    controls.SetPos("pFileSendPanel", fileSend.left, monitorHidden ? 0 : kFileSendTopUnderMonitor);
}
