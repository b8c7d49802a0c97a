#include "app/KeyboardShortcuts.h"

#include "app/KeyHook.h"
#include "panel/PanelKeys.h"

namespace zelsim {

namespace {

using Key = KeyHook::Key;

// One keyboard key on both units: which panel keys it presses on each.
KeyboardShortcuts::Shortcut PanelShortcut(const char* keyName, Key key) {
    const auto on = [key](ZelType type) {
        const std::string names = PanelKeys::KeyNames(KeyHook::PanelBit(key, type), type);
        return names + (names.find(" and ") == std::string::npos ? " key" : " keys together");
    };
    return {keyName, "the panel's " + on(ZelType::Dormalyn) + " (Dormalyn), " +
                         on(ZelType::Corvane) + " (Corvane)"};
}

}  // namespace

std::vector<KeyboardShortcuts::Section> KeyboardShortcuts::List() {
    return {
        {"User buttons",
         {{"F1 to F8",
           "start user button 1 to 8 of the group shown (Button Options), unless a script or a "
           "file runs"},
          {"Shift+Esc", "Stop Script: end a running script, and the file it sends, at once"}}},
        {"Receiver panel, pressed for as long as the key is held (not while the send box has the "
         "focus, nor with ZEL Options Off)",
         {PanelShortcut("Left Arrow", Key::Left), PanelShortcut("Up Arrow", Key::Up),
          PanelShortcut("Down Arrow", Key::Down), PanelShortcut("Right Arrow", Key::Right),
          PanelShortcut("Home", Key::Home)}},
        {"Send box (click in it)",
         {{"Enter", "send the line; a paused monitor goes on"},
          {"Esc", "empty the box; while a script runs, ask it to stop: a wait it is in ends"},
          {"Down Arrow, Up Arrow", "the lines sent before: older, newer"},
          {"Alt+Down Arrow", "open the list of the lines sent before"},
          {"Ctrl+X, Ctrl+C, Ctrl+V", "cut, copy, paste"},
          {"Tab", "leave the box: the arrow keys drive the panel again"}}},
        {"Message monitor (click in it, or Tab to it)",
         {{"Shift+Up Arrow, Shift+Down Arrow", "pick the row above or below as well"},
          {"Shift+Page Up, Shift+Page Down", "pick a page of rows more"},
          {"Ctrl+A", "pick every row"},
          {"Ctrl+C", "copy the picked rows as shown"},
          {"Menu key, right click", "Copy, Copy All, Save Shown Lines As..., the colour legend"}}},
        {"Main window",
         {{"Tab, Shift+Tab", "move between the buttons"},
          {"Space", "press the button that has the focus"},
          {"Alt+G", "Graph: open the graph window"},
          {"Ctrl+Q", "quit: close ZelSim and save its settings, as the window's close box does"}}},
        {kMenusSection,
         {{"Alt+C", "COM Port"},
          {"Alt+B", "Baud Rate"},
          {"Alt+Z", "ZEL Options"},
          {"Alt+U", "Button Options"},
          {"Alt+M", "Message Monitor Options"},
          {"Alt+L", "Logging Options"},
          {"Alt+O", "more"},
          {"Alt+H", "Help"},
          {"Arrows, Enter, Esc", "in an open menu: move, choose, close"}}},
        {"Graph window",
         {{"Alt+P", "Pause"},
          {"Alt+H", "Hold"},
          {"Alt+A", "Auto Save"},
          {"Esc", "close the window"}}},
        {"GPS windows",
         {{"Esc", "close the window"},
          {"Ctrl+C", "SV Status: copy the table"},
          {"Alt+S, Alt+R, Alt+C", "Static Position Deviation: Stop or Run, Reset, Close"}}},
    };
}

}  // namespace zelsim
