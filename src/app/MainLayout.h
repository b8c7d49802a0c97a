#pragma once
#include "app/ControlTable.h"

// Where the main window's panels and controls sit: the design layout (760 by
// 530 client pixels) and the compact layout used while the panel type is Off.
// Positions are relative to the control's parent panel.
class MainLayout {
public:
    static constexpr int kClientWidth = 760;
    static constexpr int kClientHeight = 530;

    struct Place {
        const char* name;
        int left, top, width, height;  // ControlState::kUnset keeps the current value
    };

    static void ApplyDesign(ControlTable& controls);
    // `monitorHidden` puts the file-send panel at the top instead of under the monitor.
    static void ApplyCompact(ControlTable& controls, bool monitorHidden);
    // The controls the compact layout hides.
    static const char* const kHiddenWhenCompact[4];
};
