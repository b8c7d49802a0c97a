#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/Colour.h"

namespace zelsim {

// What core says about one named control of a window. Only the fields core
// has set are applied: a control that core only places keeps the visibility
// and the enabled state its window gave it.
struct ControlState {
    enum Field : uint16_t {
        kText = 1 << 0,
        kVisible = 1 << 1,
        kEnabled = 1 << 2,
        kChecked = 1 << 3,
        kPos = 1 << 4,
        kSize = 1 << 5,
        kBar = 1 << 6,
        kItems = 1 << 7,
        kHint = 1 << 8,
        kSelected = 1 << 9,
        kAlert = 1 << 10,
        kColour = 1 << 11,
        kMinimum = 1 << 12,
    };

    std::string text;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int minWidth = 0;  // a resizable window's smallest client area
    int minHeight = 0;
    int position = 0;  // bars: position and maximum
    int maximum = 0;
    std::vector<std::string> items;  // a drop-down list's entries, first on top
    std::string hint;                // shown when the pointer or the focus rests on it
    bool selected = false;           // an edit field's text is selected whole
    bool alert = false;              // the text tells of a failure: drawn to catch the eye
    Colour colour;                   // background
    uint16_t fields = 0;             // the fields set so far
    uint64_t revision = 0;           // table revision of the last change

    bool Has(Field field) const { return (fields & field) != 0; }
};

}  // namespace zelsim
