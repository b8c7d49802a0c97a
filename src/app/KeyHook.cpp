#include "app/KeyHook.h"

namespace zelsim {

namespace {
constexpr uint8_t kBitHome = 6;  // Up and Down together on both panels

struct ArrowBits {
    uint8_t dormalyn, corvane;
};
}  // namespace

uint8_t KeyHook::PanelBit(Key key, ZelType type) {
    ArrowBits bits{};
    switch (key) {
        case Key::Left:
            bits = {1, 8};
            break;
        case Key::Up:
            bits = {2, 4};
            break;
        case Key::Down:
            bits = {4, 2};
            break;
        case Key::Right:
            bits = {8, 1};
            break;
        case Key::Home:
            bits = {kBitHome, kBitHome};
            break;
        default:
            return 0;
    }
    switch (type) {
        case ZelType::Dormalyn:
            return bits.dormalyn;
        case ZelType::Corvane:
            return bits.corvane;
        case ZelType::Off:
            break;
    }
    return 0;
}

KeyHook::Action KeyHook::Decide(Key key, bool down, bool autoRepeat, ZelType type) const {
    using Kind = Action::Kind;
    if (modalWindows_ > 0) return {};
    // The send box has no use for the function keys: the buttons keep them.
    if (key >= Key::F1 && key <= Key::F8) {
        if (!down) return {Kind::Consume, 0};
        return {Kind::UserButton,
                static_cast<uint8_t>(static_cast<int>(key) - static_cast<int>(Key::F1) + 1)};
    }
    const uint8_t bit = PanelBit(key, type);
    if (bit == 0 || sendBoxFocused_) return {};
    // A repeat (and the toolkit's synthetic release that comes with it) leaves
    // the held key alone and reaches the focused control.
    if (autoRepeat) return {};
    return {down ? Kind::PanelPress : Kind::PanelRelease, bit};
}

}  // namespace zelsim
