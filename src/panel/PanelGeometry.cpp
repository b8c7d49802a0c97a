#include "panel/PanelGeometry.h"

#include "base/MainWindowControls.h"

namespace zelsim {

namespace {
namespace mw = main_window;
using Rect = PanelGeometry::Rect;

constexpr int kFirstRowTop = 66;
constexpr int kSecondRowTop = 108;
constexpr int kFirstColumnLeft = 24;
constexpr int kColumnPitch = 24;
constexpr int kDotWidth = 3;
constexpr int kDotHeight = 4;
constexpr int kDotPitchX = 4;
constexpr int kDotPitchY = 5;
constexpr int kKeyWidth = 57;
constexpr int kKeyHeight = 44;
constexpr int kKeyTop = 152;

constexpr PanelGeometry::Place kControls[] = {
    {mw::iCorvane, {0, 0, PanelGeometry::kPictureWidth, PanelGeometry::kPictureHeight}},
    {mw::iDormalyn, {0, 0, PanelGeometry::kPictureWidth, PanelGeometry::kPictureHeight}},
    {mw::lBackLight, {16, 208, 64, 14}},  // room for "BackLight" in 8 point italics
    {mw::lContrast, {356, 201, 56, 13}},  // ends where the bar begins
    {mw::pbContrast, {336, 214, 80, 9}},
    {mw::sKeyNo1, {80, kKeyTop, kKeyWidth, kKeyHeight}},
    {mw::sKeyNo2, {147, kKeyTop, kKeyWidth, kKeyHeight}},
    {mw::sKeyNo3, {216, kKeyTop, kKeyWidth, kKeyHeight}},
    {mw::sKeyNo4, {283, kKeyTop, kKeyWidth, kKeyHeight}},
    {mw::bUpAndDownKeys, {152, 206, 118, 20}},
    {mw::bCorvaneDiag, {284, 206, 41, 20}},
};
constexpr int kFirstKeyArea = 5;  // sKeyNo1 in kControls
}  // namespace

Rect PanelGeometry::Cell(int cell) {
    const int row = cell / kColumns;
    const int column = cell % kColumns;
    return {kFirstColumnLeft + kColumnPitch * column, row == 0 ? kFirstRowTop : kSecondRowTop,
            kCellWidth, kCellHeight};
}

Rect PanelGeometry::CellBlock() {
    const Rect first = Cell(0);
    const Rect last = Cell(kCells - 1);
    return {first.left, first.top, last.left + last.width - first.left,
            last.top + last.height - first.top};
}

Rect PanelGeometry::LcdWindow() {
    return {15, 62, 391, 88};
}

Rect PanelGeometry::Dot(int row, int column) {
    return {kDotPitchX * column, kDotPitchY * row, kDotWidth, kDotHeight};
}

PanelGeometry::LitDots PanelGeometry::LitDotsOf(const GlyphRows& glyph) {
    LitDots lit;
    for (int r = 0; r < PanelFont::kDotRows; ++r) {
        if ((glyph[static_cast<size_t>(r)] & 0x1F) == 0) continue;
        for (int c = 0; c < PanelFont::kDotColumns; ++c)
            if (PanelFont::Lit(glyph, r, c)) lit.dots[static_cast<size_t>(lit.count++)] = Dot(r, c);
    }
    return lit;
}

Rect PanelGeometry::KeyArea(int index) {
    if (index < 0 || index >= kKeyAreas) return {};
    return kControls[kFirstKeyArea + index].rect;
}

std::span<const PanelGeometry::Place> PanelGeometry::Controls() {
    return kControls;
}

Rect PanelGeometry::PlaceOf(std::string_view name) {
    for (const Place& place : kControls)
        if (place.name == name) return place.rect;
    return {};
}

}  // namespace zelsim
