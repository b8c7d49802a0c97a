#pragma once
#include <QAbstractScrollArea>
#include <QImage>
#include <QRawFont>
#include <array>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/Colour.h"

class QPainter;

namespace zelsim {

class MessageMonitor;

// lbMessageMonitor: draws the rows of a MessageMonitor. Its owner calls
// Refresh every kDisplayIntervalMs; it repaints then, and only when the model
// changed, never per line: at full line rate that keeps the monitor's cost a
// small fraction of a core.
class MessageMonitorView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr int kFontPixels = 12;
    // Ten updates a second follow a busy line as fast as an eye can read it;
    // at full line rate every row changes between two updates anyway.
    static constexpr int kDisplayIntervalMs = 100;
    static constexpr int kGapLineInset = 4;

    explicit MessageMonitorView(MessageMonitor& monitor, QWidget* parent = nullptr);

    static constexpr const char* kCopyCaption = "&Copy";
    static constexpr const char* kCopyAllCaption = "Copy &All";
    static constexpr const char* kSaveCaption = "&Save Shown Lines As...";
    static constexpr const char* kLegendCaption = "Colour &Legend...";

    // Called around the modal legend and the save dialog, so the key hook
    // can be switched off and on.
    std::function<void()> onModalOpening;
    std::function<void()> onModalClosed;

    // Brings the view up to the model now, without waiting for the timer.
    void Refresh();
    int VisibleRows() const;
    int TopRow() const;

    // lbMessageMonitorPopup: opens the legend modally.
    void lbMessageMonitorPopup();
    // The selected rows, or every row, to the clipboard.
    void CopySelected();
    void CopyAll();
    void SaveShownLines();

  signals:
    // The model changed since the last refresh.
    void modelChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

  private:
    enum FaceIndex { kNormal, kItalic, kBold, kFaceCount };
    static constexpr int kCodes = 256;  // Latin-1
    static constexpr int kCellPad = 2;  // room for slanted and antialiased edges

    // The glyphs of one font for every Latin-1 code, looked up once: shaping
    // each row's text again on every update cost more than drawing it.
    struct Face {
        QFont font;
        QRawFont raw;
        std::array<quint32, kCodes> glyph{};
        std::array<qreal, kCodes> advance{};
        void Load(const QFont& from);
        int Width(std::string_view text) const;
    };
    // One face's characters in one colour, drawn once on one background and
    // kept side by side. A row is copied together from them instead of
    // blending glyph after glyph, which at full line rate was most of the
    // program's work.
    struct GlyphCells {
        int width = 0;  // of one cell
        QImage image;
        // Per code and pixel row: the first and last column off the background.
        std::vector<std::array<int16_t, 2>> ink;
    };
    // A column of a row: its text from x in one face, on a tint or on the
    // list's background.
    struct Part {
        FaceIndex face;
        std::string_view text;
        int x;
        const Colour* tint;
        QRgb colour;
    };

    void lbDrawItemWithColor(QPainter& painter, int index, const QRect& rect);
    void ComposePart(const Part& part, QRgb background);
    const GlyphCells& CellsFor(FaceIndex face, QRgb colour, QRgb background);
    // Scaled screens: the cells would be blurred, so glyphs are drawn as they are.
    void DrawPart(QPainter& painter, const Part& part, const QRect& row);
    void UpdateScrollRange(bool followNewest);
    // The row under a point of the viewport, clamped to the rows held.
    int RowAt(int y) const;

    MessageMonitor& monitor_;
    uint64_t shownRevision_ = 0;
    uint64_t shownAppends_ = 0;
    uint64_t shownCount_ = 0;
    bool refreshing_ = false;
    std::array<Face, kFaceCount> faces_;
    std::unordered_map<uint64_t, GlyphCells> cells_;
    QImage row_;  // the row being composed
    bool composeRows_ = true;
    int ascent_ = 0;
    qreal charAdvance_ = 0;   // the list's font is monospaced
    size_t widestChars_ = 0;  // the longest line held, for the horizontal bar
};

}  // namespace zelsim
