#include "panel/PanelKeys.h"

#include <cstdio>
#include <utility>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/ProprietarySentences.h"

namespace zelsim {

namespace {

struct KeyLabels {
    // What is printed on each key cap, left to right.
    std::string_view caps[PanelKeys::kKeyAreas];
    // The keyboard arrow the key hook maps to each key area, which follows
    // the arrows printed on the unit's key caps.
    std::string_view arrows[PanelKeys::kKeyAreas];
    std::string_view upAndDownCaption;
    bool diagShown;
};

constexpr KeyLabels kDormalynLabels{{"Left Arrow", "Up Arrow", "Down Arrow", "Right Arrow"},
                                    {"Left", "Up", "Down", "Right"},
                                    "Up and Down",
                                    false};
constexpr KeyLabels kCorvaneLabels{{"Right Arrow", "Down Arrow", "Up Arrow", "Enter"},
                                   {"Right", "Down", "Up", "Left"},
                                   "Home",
                                   true};

const KeyLabels* LabelsOf(ZelType type) {
    switch (type) {
        case ZelType::Dormalyn:
            return &kDormalynLabels;
        case ZelType::Corvane:
            return &kCorvaneLabels;
        case ZelType::Off:
            break;
    }
    return nullptr;
}

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

std::string PanelKeys::KeyNames(uint8_t bits, ZelType type) {
    const KeyLabels* labels = LabelsOf(type);
    if (labels == nullptr) return {};
    std::string names;
    int named = 0;
    for (int i = 0; i < kKeyAreas; ++i) {
        if ((bits & KeyAreaBit(i + 1)) == 0) continue;
        if (named++ > 0) names += " and ";
        names += labels->caps[i];
    }
    return names;
}

void PanelKeys::ApplyZelType(ZelType type) {
    const KeyLabels* labels = LabelsOf(type);
    if (labels == nullptr) return;
    // The picture shows the key cap; the hint says which key it is and
    // which keyboard key does the same.
    for (int i = 0; i < kKeyAreas; ++i)
        controls_.SetHint(kKeyAreaNames[i], std::string(labels->caps[i]) +
                                                " key: also use Keyboard " +
                                                std::string(labels->arrows[i]) + " Arrow");
    controls_.SetText(main_window::bUpAndDownKeys, labels->upAndDownCaption);
    controls_.SetHint(main_window::bUpAndDownKeys,
                      KeyNames(kUpAndDown, type) + " keys together: also use Keyboard Home");
    controls_.SetHint(main_window::bCorvaneDiag, KeyNames(kDiag, type) + " keys together");
    controls_.SetVisible(main_window::bCorvaneDiag, labels->diagShown);
}

}  // namespace zelsim
