#pragma once
#include <array>
#include <span>
#include <string_view>

#include "panel/PanelFont.h"

namespace zelsim {

// Where everything on the receiver's panel sits, in pixels of pDisplayPanel:
// the unit's picture, the LCD window and its 32 character cells, the dots
// inside a cell, the key areas, the two-key buttons, and the back light and
// contrast controls. The window only paints what these numbers say.
class PanelGeometry {
  public:
    static constexpr int kPanelWidth = 425;
    static constexpr int kPanelHeight = 226;
    static constexpr int kPictureWidth = 425;
    static constexpr int kPictureHeight = 200;
    static constexpr int kColumns = 16;
    static constexpr int kRows = 2;
    static constexpr int kCells = kColumns * kRows;
    static constexpr int kCellWidth = 20;
    static constexpr int kCellHeight = 40;
    static constexpr int kKeyAreas = 4;
    static constexpr int kMaxLitDots = PanelFont::kDotRows * PanelFont::kDotColumns;

    struct Rect {
        int left, top, width, height;
        bool operator==(const Rect&) const = default;
    };

    struct Place {
        std::string_view name;
        Rect rect;
    };

    // Cell 0..15 is the first row from the left, 16..31 the second.
    static Rect Cell(int cell);
    // The smallest rectangle holding all 32 cells.
    static Rect CellBlock();
    // The light green window of the picture that shows behind the cells.
    static Rect LcdWindow();
    // The dot in `row` (0..7) and `column` (0..4) of a cell, inside the cell.
    static Rect Dot(int row, int column);

    // The dots a glyph lights, inside a cell, row by row from the top.
    struct LitDots {
        std::array<Rect, kMaxLitDots> dots{};
        int count = 0;
        std::span<const Rect> All() const { return {dots.data(), static_cast<size_t>(count)}; }
    };
    static LitDots LitDotsOf(const GlyphRows& glyph);

    // Key area sKeyNo1 .. sKeyNo4 for `index` 0..3, left to right.
    static Rect KeyArea(int index);

    // Every named control of the panel with its place: the two pictures, the
    // back light label, the contrast label and bar, the key areas and the
    // two-key buttons.
    static std::span<const Place> Controls();
    // The place of a control of Controls(); an empty rectangle for any other.
    static Rect PlaceOf(std::string_view name);
};

}  // namespace zelsim
