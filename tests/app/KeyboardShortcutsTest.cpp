#include <gtest/gtest.h>

#include <string>

#include "app/KeyboardShortcuts.h"

namespace zelsim {

namespace {

// The action of `keys` in the first section whose title begins with `section`.
std::string ActionOf(const std::string& section, const std::string& keys) {
    for (const KeyboardShortcuts::Section& s : KeyboardShortcuts::List()) {
        if (s.title.rfind(section, 0) != 0) continue;
        for (const KeyboardShortcuts::Shortcut& shortcut : s.shortcuts)
            if (shortcut.keys == keys) return shortcut.action;
    }
    return "(not listed)";
}

// The keyboard follows the arrows printed on each unit's key caps: the
// list says which cap each arrow presses, as the key hook maps it.
TEST(KeyboardShortcuts, TheArrowsNameThePanelKeysTheyPressOnEachUnit) {
    EXPECT_EQ(ActionOf("Receiver panel", "Left Arrow"),
              "the panel's Left Arrow key (Dormalyn), Enter key (Corvane)");
    EXPECT_EQ(ActionOf("Receiver panel", "Right Arrow"),
              "the panel's Right Arrow key (Dormalyn), Right Arrow key (Corvane)");
    EXPECT_EQ(ActionOf("Receiver panel", "Down Arrow"),
              "the panel's Down Arrow key (Dormalyn), Down Arrow key (Corvane)");
    EXPECT_EQ(ActionOf("Receiver panel", "Home"),
              "the panel's Up Arrow and Down Arrow keys together (Dormalyn), Down Arrow and Up "
              "Arrow keys together (Corvane)");
}

}  // namespace

}  // namespace zelsim
