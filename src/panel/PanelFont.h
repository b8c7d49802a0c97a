#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace zelsim {

// The eight dot rows of one 5 x 8 character, top first. Bit 4 is the
// leftmost of the five dot columns and bit 0 the rightmost; bits 5 to 7 are
// never lit, whatever a receiver writes into a glyph of its own.
using GlyphRows = std::array<uint8_t, 8>;

// The character ROM of the receiver's LCD controller for codes 32 to 255:
// the ASCII range with the controller's own Yen sign and arrows, a degree
// sign at 0xB0 and 0xDF, and blanks elsewhere. The eighth row, the
// controller's cursor line, is never part of a fixed glyph.
class PanelFont {
  public:
    static constexpr int kFirstCode = 32;
    static constexpr int kGlyphCount = 224;
    static constexpr int kDotRows = 8;
    static constexpr int kDotColumns = 5;

    // The glyph of code 32..255; a lower code has none here and reads blank.
    static const GlyphRows& Fixed(uint8_t code);

    // The dot in `row` (0..7) and `column` (0..4, left to right) is lit.
    static constexpr bool Lit(const GlyphRows& rows, int row, int column) {
        return ((rows[static_cast<size_t>(row)] >> (kDotColumns - 1 - column)) & 1u) != 0;
    }
};

}  // namespace zelsim
