#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "base/ZelType.h"
#include "panel/PanelFont.h"
#include "protocol/PanelRoute.h"

namespace zelsim {

class ControlTable;

// The receiver's 2 x 16 character LCD as the receiver mirrors it on the
// line: the text of both rows, the eight glyphs the receiver defines, the
// controller's cursor and glyph address, the contrast and the back light.
// It keeps what each cell's picture shows, so that the window redraws only
// the cells whose code changed: a rewrite of unchanged text draws nothing.
class PanelScreen : public PanelRoute {
  public:
    static constexpr int kColumns = 16;
    static constexpr int kRows = 2;
    static constexpr int kCells = kColumns * kRows;
    static constexpr uint32_t kAllCells = 0xFFFFFFFFu;  // a bit a cell
    static_assert(kCells == 32);
    static constexpr int kCustomGlyphs = 8;
    static constexpr int kGlyphBytes = kCustomGlyphs * 8;
    static constexpr int kContrastMin = 55;
    static constexpr int kContrastMax = 254;
    static constexpr int kContrastAtConnect = 110;
    // What a cell shows before its first drawing: unlike the blank text, so
    // the first refresh draws every cell.
    static constexpr uint8_t kNeverDrawn = 0xFF;

    explicit PanelScreen(ControlTable& controls);

    // Both rows blank and the cursor home; glyphs, modes, contrast and back
    // light stay.
    void Clear();
    // Position 0..15 is the first row, 16..31 the second; any other is
    // ignored. Control codes and 127 are stored as '~', the right arrow.
    void PutChar(int position, uint8_t code);
    // One byte of the LCD controller's interface: a command or a data byte.
    void ControllerByte(bool isData, uint8_t value);
    // Clamped to 55..254.
    void SetContrast(int value);
    // "+": the stored number drops by 10 (the LCD gets lighter), not below 55.
    void ContrastUp();
    // "-": the stored number rises by 10, not above 254.
    void ContrastDown();
    void SetBackLight(bool on);
    // The port was opened: a blank screen at the contrast a receiver starts with.
    void ConnectReset();
    // Off hides the panel; Dormalyn's picture covers Corvane's.
    void ShowForZelType(ZelType type);
    // Whether the line is open: while it is closed the screen shows what the
    // receiver last drew, and is drawn dimmed to say it is no longer live.
    void SetLineOpen(bool open);
    bool Stale() const { return stale_; }

    // The screen, contrast and LCD-byte sentences, each complete with its address as
    // field 0. Anything too short or unknown is ignored.
    void HandleScreenSentence(SentenceFramer& sentence) override;
    void HandleContrastSentence(SentenceFramer& sentence) override;
    void HandleControllerSentence(SentenceFramer& sentence) override;

    // The code stored at cell 0..31.
    uint8_t Code(int cell) const { return text_[static_cast<size_t>(cell)]; }
    std::string_view RowText(int row) const {
        return {reinterpret_cast<const char*>(text_.data()) + row * kColumns, kColumns};
    }
    // The code the cell's picture was last drawn for, and the rows it was
    // drawn from: a glyph the receiver redefines later does not reach a
    // picture until the cell's code changes.
    uint8_t DrawnCode(int cell) const { return drawnCode_[static_cast<size_t>(cell)]; }
    const GlyphRows& DrawnGlyph(int cell) const { return drawnGlyph_[static_cast<size_t>(cell)]; }
    // The cells drawn since the last call, bit n for cell n; the window
    // repaints these and only these.
    uint32_t TakeDirtyCells() {
        const uint32_t dirty = dirty_;
        dirty_ = 0;
        return dirty;
    }
    uint32_t DirtyCells() const { return dirty_; }

    // The rows code `code` is drawn from: a custom glyph for 0..7, the fixed
    // font from 32 on, and nothing for 8..31, which leave a picture as it was.
    const GlyphRows* GlyphOf(uint8_t code) const;
    const GlyphRows& CustomGlyph(int number) const {
        return customGlyphs_[static_cast<size_t>(number)];
    }

    bool TextMode() const { return textMode_; }
    int CursorRow() const { return cursorRow_; }
    int CursorColumn() const { return cursorColumn_; }
    int GlyphAddress() const { return glyphAddress_; }
    int Contrast() const { return contrast_; }
    bool BackLight() const { return backLight_; }

  private:
    void RefreshRow(int row);
    void WriteText(int start, std::string_view text);
    void WriteEscapedText(int start, std::string_view text);
    void ApplyContrastField(std::string_view field);

    ControlTable& controls_;
    std::array<uint8_t, kCells> text_{};
    std::array<uint8_t, kCells> drawnCode_{};
    std::array<GlyphRows, kCells> drawnGlyph_{};
    std::array<GlyphRows, kCustomGlyphs> customGlyphs_{};
    uint32_t dirty_ = 0;
    bool textMode_ = true;
    int cursorRow_ = 0;
    int cursorColumn_ = 0;
    int glyphAddress_ = 0;
    int contrast_ = kContrastAtConnect;
    bool backLight_ = true;
    bool stale_ = false;
};

}  // namespace zelsim
