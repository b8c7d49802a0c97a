#pragma once
#include <string>
#include <vector>

namespace zelsim {

// What Help > Keyboard Shortcuts lists: every key the program answers to,
// by where it works. The panel's keys are read off the key hook's own
// mapping, so the list says what the arrows do on each unit.
class KeyboardShortcuts {
  public:
    static constexpr const char* kCaption = "Keyboard Shortcuts";
    static constexpr const char* kMenusSection = "Menus";

    struct Shortcut {
        std::string keys;
        std::string action;
    };
    struct Section {
        std::string title;
        std::vector<Shortcut> shortcuts;
    };

    static std::vector<Section> List();
};

}  // namespace zelsim
