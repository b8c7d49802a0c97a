#include "panel/PanelKeys.h"

#include <cstdio>
#include <utility>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/ProprietarySentences.h"

namespace zelsim {

namespace {

struct KeyLabels {
    std::string_view hints[PanelKeys::kKeyAreas];
    std::string_view upAndDownCaption;
    bool diagShown;
};

// Each hint names the arrow key that the key hook maps to that key area,
// which follows the arrows printed on the unit's key caps.
constexpr KeyLabels kDormalynLabels{
    {"also use Keyboard Left Arrow", "also use Keyboard Up Arrow", "also use Keyboard Down Arrow",
     "also use Keyboard Right Arrow"},
    "Up and Down",
    false};
constexpr KeyLabels kCorvaneLabels{{"also use Keyboard Right Arrow", "also use Keyboard Down Arrow",
                                    "also use Keyboard Up Arrow", "also use Keyboard Left Arrow"},
                                   "Home",
                                   true};

constexpr std::string_view kKeyAreaNames[PanelKeys::kKeyAreas] = {
    main_window::sKeyNo1, main_window::sKeyNo2, main_window::sKeyNo3, main_window::sKeyNo4};

}  // namespace

PanelKeys::PanelKeys(ControlTable& controls, Send send, std::function<bool()> portOpen)
    : controls_(controls), send_(std::move(send)), portOpen_(std::move(portOpen)) {}

std::string PanelKeys::KeySentence(uint8_t mask) {
    char text[16];
    // Only the four key bits fit the sentence's one digit.
    std::snprintf(text, sizeof text, proprietary::kKeyMaskFormat,
                  static_cast<unsigned>(mask & kAllKeys));
    return text;
}

uint8_t PanelKeys::KeyAreaBit(int number) {
    if (number < 1 || number > kKeyAreas) return 0;
    return static_cast<uint8_t>(1u << (number - 1));
}

void PanelKeys::PressKeys(uint8_t bits, bool pressed) {
    bits &= kAllKeys;
    if (pressed)
        mask_ |= bits;
    else
        mask_ &= static_cast<uint8_t>(~bits);
    // A closed port hears nothing, but the mask keeps following the keys so
    // that the first sentence after opening carries those still held.
    if (portOpen_ && portOpen_()) send_(KeySentence(mask_));
}

void PanelKeys::UpAndDownPressed() {
    PressKeys(KeyAreaBit(2), true);
    PressKeys(KeyAreaBit(3), true);
}

void PanelKeys::ApplyZelType(ZelType type) {
    const KeyLabels* labels = nullptr;
    switch (type) {
        case ZelType::Dormalyn:
            labels = &kDormalynLabels;
            break;
        case ZelType::Corvane:
            labels = &kCorvaneLabels;
            break;
        case ZelType::Off:
            break;
    }
    if (labels == nullptr) return;
    for (int i = 0; i < kKeyAreas; ++i) controls_.SetHint(kKeyAreaNames[i], labels->hints[i]);
    controls_.SetText(main_window::bUpAndDownKeys, labels->upAndDownCaption);
    controls_.SetVisible(main_window::bCorvaneDiag, labels->diagShown);
}

}  // namespace zelsim
