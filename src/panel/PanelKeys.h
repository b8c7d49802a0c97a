#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/ZelType.h"

namespace zelsim {

class ControlTable;

// The panel keys held down, from the mouse on the panel picture and from
// the keyboard at once, and the key sentence that tells the receiver about
// every change. The window forwards its mouse events here; which arrow key
// is which panel key is the key hook's business.
class PanelKeys {
  public:
    static constexpr uint8_t kAllKeys = 0x0F;
    static constexpr uint8_t kUpAndDown = 6;  // keys 2 and 3
    static constexpr uint8_t kDiag = 9;       // keys 1 and 4
    static constexpr int kKeyAreas = 4;

    using Send = std::function<void(std::string_view)>;

    // `send` is the main cycle's SendSentence; `portOpen` tells whether a key
    // sentence can go out now.
    PanelKeys(ControlTable& controls, Send send, std::function<bool()> portOpen);

    // Every key event passes here: the bits are set or cleared, then the
    // whole mask goes to the receiver if the port is open.
    void PressKeys(uint8_t bits, bool pressed);
    uint8_t Mask() const { return mask_; }

    // "$PKVTK,6" for mask 6.
    static std::string KeySentence(uint8_t mask);
    // The bit of key area sKeyNo1..sKeyNo4; 0 for any other number.
    static uint8_t KeyAreaBit(int number);

    // sKeyNo1MouseDown .. sKeyNo4MouseDown, `number` 1..4
    void KeyAreaPressed(int number) { PressKeys(KeyAreaBit(number), true); }
    // sKeyNo1MouseUp .. sKeyNo4MouseUp
    void KeyAreaReleased(int number) { PressKeys(KeyAreaBit(number), false); }
    // bUpDownMouseDown: the receiver sees Up before Down, as from a hand.
    void UpAndDownPressed();
    // bUpDownMouseUp
    void UpAndDownReleased() { PressKeys(kUpAndDown, false); }
    // bDiagButtonMouseDown / bDiagButtonMouseUp
    void DiagPressed() { PressKeys(kDiag, true); }
    void DiagReleased() { PressKeys(kDiag, false); }

    // The key caps of `bits` as the unit prints them, left to right:
    // "Up Arrow and Down Arrow"; empty under Off.
    static std::string KeyNames(uint8_t bits, ZelType type);

    // The hints, the two-key button's caption and the Diag button for the
    // unit shown; under Off the panel is hidden and they stay as they were.
    void ApplyZelType(ZelType type);

  private:
    ControlTable& controls_;
    const Send send_;
    const std::function<bool()> portOpen_;
    uint8_t mask_ = 0;
};

}  // namespace zelsim
