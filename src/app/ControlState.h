#pragma once
#include <cstdint>
#include <string>

// What core says about one named control of a window: the window binds each
// entry to its widget once and applies the entries that changed.
struct ControlState {
    static constexpr int kUnset = -1;

    std::string text;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    int left = kUnset;
    int top = kUnset;
    int width = kUnset;
    int height = kUnset;
    int position = 0;  // bars: position and maximum
    int maximum = 0;
    uint64_t revision = 0;  // table revision of the last change
};
