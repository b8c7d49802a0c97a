#include "panel/PanelScreen.h"

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/NmeaChecksum.h"
#include "base/ProprietarySentences.h"
#include "base/Text.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {
namespace mw = main_window;

constexpr uint8_t kSpace = 0x20;
constexpr uint8_t kTilde = 0x7E;  // the LCD's right arrow
constexpr uint8_t kRub = 0x7F;
constexpr uint8_t kFirstNoGlyph = 8;
constexpr uint8_t kFirstFixed = 32;
// The receiver's ROM keeps its degree sign here; escaped text stores it as
// the program's own degree byte, which the monitor and the log show too.
constexpr uint8_t kReceiverDegree = 0xDF;
constexpr uint8_t kEscape = '%';
constexpr int kContrastStep = 10;
constexpr int kRowSelectBit = 0x40;

// Controller commands.
constexpr uint8_t kClearCommand = 0x01;
constexpr uint8_t kGlyphAddressMask = 0xC0;
constexpr uint8_t kGlyphAddressCommand = 0x40;
constexpr uint8_t kTextAddressCommand = 0x80;

// The sentences' fields.
constexpr uint8_t kCommandField = 1;
constexpr uint8_t kArgumentField = 2;
constexpr uint8_t kTextField = 3;
constexpr uint8_t kContrastField = 1;
constexpr uint8_t kBackLightField = 2;

// The leading decimal digits of a field, taken modulo 256; none reads 0.
int LeadingNumber(std::string_view field) {
    uint8_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') break;
        value = static_cast<uint8_t>(value * 10u + static_cast<unsigned>(c - '0'));
    }
    return value;
}

bool StartsWith(std::string_view field, char c) {
    return !field.empty() && field.front() == c;
}

// The two characters from `at` as a hexadecimal byte; 0 when either is not
// a hexadecimal digit or lies past the end.
uint8_t HexByte(std::string_view text, size_t at) {
    if (at >= text.size() || text.size() - at < 2) return 0;
    const auto high = static_cast<uint8_t>(text[at]);
    const auto low = static_cast<uint8_t>(text[at + 1]);
    if (!IsHexDigit(high) || !IsHexDigit(low)) return 0;
    return static_cast<uint8_t>(HexValue(high) * 16u + HexValue(low));
}
}  // namespace

PanelScreen::PanelScreen(ControlTable& controls) : controls_(controls) {
    drawnCode_.fill(kNeverDrawn);
    SetContrast(kContrastAtConnect);
    SetBackLight(true);
    Clear();
}

void PanelScreen::Clear() {
    text_.fill(kSpace);
    for (int row = 0; row < kRows; ++row) RefreshRow(row);
    cursorRow_ = 0;
    cursorColumn_ = 0;
}

void PanelScreen::PutChar(int position, uint8_t code) {
    if (position < 0 || position >= kCells) return;
    if ((code >= kFirstNoGlyph && code < kFirstFixed) || code == kRub) code = kTilde;
    text_[static_cast<size_t>(position)] = code;
    RefreshRow(position / kColumns);
}

void PanelScreen::ControllerByte(bool isData, uint8_t value) {
    if (!isData) {
        if (value == kClearCommand) {
            Clear();
        } else if ((value & kGlyphAddressMask) == kGlyphAddressCommand) {
            textMode_ = false;
            glyphAddress_ = value & 0x3F;
        } else if ((value & kTextAddressCommand) != 0) {
            textMode_ = true;
            cursorColumn_ = value & 0x0F;
            cursorRow_ = (value & kRowSelectBit) != 0 ? 1 : 0;
        }
        return;
    }
    if (textMode_) {
        // Unfiltered: the controller shows any code it is given.
        text_[static_cast<size_t>(cursorRow_ * kColumns + cursorColumn_)] = value;
        RefreshRow(cursorRow_);
        // The receiver's display does not wrap: more bytes overwrite the last column.
        if (cursorColumn_ < kColumns - 1) ++cursorColumn_;
    } else if (glyphAddress_ < kGlyphBytes) {
        customGlyphs_[static_cast<size_t>(glyphAddress_ / 8)]
                     [static_cast<size_t>(glyphAddress_ % 8)] = value;
        ++glyphAddress_;
    }
}

void PanelScreen::SetContrast(int value) {
    if (value > kContrastMax) value = kContrastMax;
    if (value < kContrastMin) value = kContrastMin;
    contrast_ = value;
    controls_.SetBar(mw::pbContrast, contrast_, kContrastMax);
}

void PanelScreen::ContrastUp() {
    SetContrast(contrast_ > kContrastMin + kContrastStep ? contrast_ - kContrastStep
                                                         : kContrastMin);
}

void PanelScreen::ContrastDown() {
    SetContrast(contrast_ < kContrastMax - kContrastStep ? contrast_ + kContrastStep
                                                         : kContrastMax);
}

void PanelScreen::SetBackLight(bool on) {
    backLight_ = on;
    controls_.SetVisible(mw::lBackLight, on);
}

void PanelScreen::SetLineOpen(bool open) {
    if (stale_ == !open) return;
    stale_ = !open;
    dirty_ = kAllCells;  // every cell is drawn again in its new look
}

void PanelScreen::ConnectReset() {
    Clear();
    SetContrast(kContrastAtConnect);
}

void PanelScreen::ShowForZelType(ZelType type) {
    controls_.SetVisible(mw::pDisplayPanel, type != ZelType::Off);
    if (type != ZelType::Off) controls_.SetVisible(mw::iDormalyn, type == ZelType::Dormalyn);
}

const GlyphRows* PanelScreen::GlyphOf(uint8_t code) const {
    if (code < kFirstNoGlyph) return &customGlyphs_[code];
    if (code < kFirstFixed) return nullptr;
    return &PanelFont::Fixed(code);
}

void PanelScreen::RefreshRow(int row) {
    for (int column = 0; column < kColumns; ++column) {
        const auto cell = static_cast<size_t>(row * kColumns + column);
        if (text_[cell] == drawnCode_[cell]) continue;
        drawnCode_[cell] = text_[cell];
        if (const GlyphRows* glyph = GlyphOf(text_[cell])) {
            drawnGlyph_[cell] = *glyph;
            dirty_ |= 1u << cell;
        }
    }
}

void PanelScreen::WriteText(int start, std::string_view text) {
    int position = start;
    for (char c : text) PutChar(position++, static_cast<uint8_t>(c));
}

void PanelScreen::WriteEscapedText(int start, std::string_view text) {
    int position = start;
    for (size_t i = 0; i < text.size(); ++i) {
        auto code = static_cast<uint8_t>(text[i]);
        if (code == kEscape) {
            code = HexByte(text, i + 1);
            i += 2;  // past the end when the field ends early: the loop stops
            if (code >= kFirstNoGlyph && code != kReceiverDegree && !IsPrintable(code))
                code = kTilde;
            if (code == kReceiverDegree) code = kDegree;
        }
        PutChar(position++, code);
    }
}

void PanelScreen::ApplyContrastField(std::string_view field) {
    if (StartsWith(field, '+'))
        ContrastUp();
    else if (StartsWith(field, '-'))
        ContrastDown();
    else
        SetContrast(LeadingNumber(field));
}

void PanelScreen::HandleScreenSentence(SentenceFramer& sentence) {
    const uint8_t fields = sentence.FieldCount();
    if (fields < 2) return;
    const std::string_view command = sentence.Field(kCommandField);
    if (command == proprietary::kClearScreen) {
        Clear();
    } else if (command == proprietary::kText || command == proprietary::kEscapedText) {
        if (fields < 4) return;
        const int start = LeadingNumber(sentence.Field(kArgumentField));
        const std::string_view text = sentence.Field(kTextField);
        if (command == proprietary::kText)
            WriteText(start, text);
        else
            WriteEscapedText(start, text);
    } else if (command == proprietary::kScreenContrast) {
        if (fields >= 3) ApplyContrastField(sentence.Field(kArgumentField));
    } else if (command == proprietary::kBackLight) {
        if (fields < 3) return;
        const std::string_view state = sentence.Field(kArgumentField);
        if (StartsWith(state, '1') || state == proprietary::kOn)
            SetBackLight(true);
        else if (StartsWith(state, '0') || state == proprietary::kOff)
            SetBackLight(false);
    }
    // A reset is the receiver clearing its own LCD: it redraws it itself.
}

void PanelScreen::HandleContrastSentence(SentenceFramer& sentence) {
    const uint8_t fields = sentence.FieldCount();
    if (fields >= 2) ApplyContrastField(sentence.Field(kContrastField));
    if (fields >= 3) {
        const std::string_view state = sentence.Field(kBackLightField);
        if (StartsWith(state, '1'))
            SetBackLight(true);
        else if (StartsWith(state, '0'))
            SetBackLight(false);
    }
}

void PanelScreen::HandleControllerSentence(SentenceFramer& sentence) {
    const int fields = sentence.FieldCount();
    for (int i = 1; i < fields; ++i) {
        const std::string_view field = sentence.Field(static_cast<uint8_t>(i));
        ControllerByte(StartsWith(field, '1'), HexByte(field, 1));
    }
}

}  // namespace zelsim
