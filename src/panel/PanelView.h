#pragma once
#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "base/ZelType.h"
#include "panel/PanelFont.h"
#include "panel/PanelGeometry.h"

namespace zelsim {

class PanelScreen;

// The receiver's panel on pDisplayPanel: the two units' front panel
// pictures, the LCD's 32 cells drawn dot by dot from the screen model, the
// back light and contrast controls, the four key areas and the two-key
// buttons. Every control carries its name, so the main window binds its
// caption, hint, bar and visibility from the control table. It draws only
// in Refresh, and there only the cells the screen changed.
class PanelView : public QWidget {
    Q_OBJECT

  public:
    // Fills `displayPanel` from its top left corner.
    PanelView(PanelScreen& screen, QWidget* displayPanel);

    // A mouse button went down or up on a key area or a two-key button: the
    // keys' bits, pressed or released. Any mouse button counts.
    std::function<void(uint8_t bits, bool pressed)> onKeys;

    // After each cycle and event: repaints the cells the screen drew since
    // the last call.
    void Refresh();

    // One cell's picture: transparent but for the lit dots, black while the
    // line is live and faded while it is closed.
    static QImage CellPicture(const GlyphRows& glyph, bool dimmed = false);
    // The front panel of the Corvane or the Dormalyn, without the cells.
    static QImage PanelPicture(ZelType unit);

    const QImage& CellImage(int cell) const { return cells_[static_cast<size_t>(cell)]; }
    // Cell pictures drawn since the view was made.
    int CellsDrawn() const { return cellsDrawn_; }

  private:
    void DrawCell(int cell);
    void AddKeyArea(int index);
    void AddButtons();
    QWidget* Place(QWidget* widget, std::string_view name);
    void Report(uint8_t bits, bool pressed);

    PanelScreen& screen_;
    std::array<QImage, PanelGeometry::kCells> cells_;
    QWidget* cellLayer_ = nullptr;
    int cellsDrawn_ = 0;
};

}  // namespace zelsim
