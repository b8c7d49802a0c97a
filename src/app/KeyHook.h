#pragma once
#include <cstdint>

#include "base/ZelType.h"

namespace zelsim {

// Decides what the application-wide key hook does with one key message:
// arrows and Home become panel keys, F1..F8 user buttons, all else passes.
// The send box keeps the arrows and Home while it has the focus, but has no
// use for F1..F8; a modal window of the main window keeps every key. The two
// are told apart, so a dialog closed over the focused send box gives the
// keys back as they were.
class KeyHook {
  public:
    enum class Key { Left, Up, Right, Down, Home, F1, F2, F3, F4, F5, F6, F7, F8, Other };

    struct Action {
        enum class Kind { Pass, Consume, PanelPress, PanelRelease, UserButton };
        Kind kind = Kind::Pass;
        uint8_t value = 0;  // panel key bit, or user button 1..8
        bool Consumed() const { return kind != Kind::Pass; }
    };

    // The panel key bit of an arrow or Home for a panel type; 0 when not handled.
    static uint8_t PanelBit(Key key, ZelType type);

    Action Decide(Key key, bool down, bool autoRepeat, ZelType type) const;

    // cbSendDataOnEnter / cbSendDataOnExit
    void SetSendBoxFocused(bool focused) { sendBoxFocused_ = focused; }
    // A modal window of the main window (the legend, the Define Button
    // dialog) opens and closes; they may nest.
    void ModalOpened() { ++modalWindows_; }
    void ModalClosed() {
        if (modalWindows_ > 0) --modalWindows_;
    }
    // The arrows and Home drive the panel.
    bool Active() const { return !sendBoxFocused_ && modalWindows_ == 0; }

  private:
    bool sendBoxFocused_ = false;
    int modalWindows_ = 0;
};

}  // namespace zelsim
