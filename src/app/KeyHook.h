#pragma once
#include <cstdint>

#include "base/ZelType.h"

namespace zelsim {

// Decides what the application-wide key hook does with one key message:
// arrows and Home become panel keys, F1..F8 user buttons, all else passes.
// While inactive (the send box or a modal window has the keys) all pass.
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

    void SetActive(bool active) { active_ = active; }
    bool Active() const { return active_; }

  private:
    bool active_ = true;
};

}  // namespace zelsim
