#pragma once
#include <QAbstractScrollArea>
#include <QPoint>
#include <QRawFont>
#include <array>
#include <functional>
#include <string_view>

class MessageMonitor;
class QPainter;

// lbMessageMonitor: draws the rows of a MessageMonitor. Its owner calls
// Refresh every kDisplayIntervalMs; it repaints then, and only when the model
// changed, never per line: at full line rate that keeps the monitor's cost a
// small fraction of a core.
class MessageMonitorView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr int kRowHeight = 14;
    static constexpr int kFontPixels = 12;
    // Ten updates a second follow a busy line as fast as an eye can read it;
    // at full line rate every row changes between two updates anyway.
    static constexpr int kDisplayIntervalMs = 100;
    static constexpr int kGapLineInset = 4;

    explicit MessageMonitorView(MessageMonitor& monitor, QWidget* parent = nullptr);

    // The legend's stored position (MsgMonColorsWindowLeft/Top).
    QPoint legendPosition;
    // Called around the modal legend, so the key hook can be switched off and on.
    std::function<void()> onLegendOpening;
    std::function<void()> onLegendClosed;

    // Brings the view up to the model now, without waiting for the timer.
    void Refresh();
    int VisibleRows() const;
    int TopRow() const;

    // lbMessageMonitorPopup: opens the legend modally.
    void lbMessageMonitorPopup();

  signals:
    // The model changed since the last refresh.
    void modelChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // The glyphs of one font for every Latin-1 code, looked up once: shaping
    // each row's text again on every update cost more than drawing it.
    struct Face {
        QFont font;
        QRawFont raw;
        std::array<quint32, 256> glyph{};
        std::array<qreal, 256> advance{};
        void Load(const QFont& from);
    };

    void lbDrawItemWithColor(QPainter& painter, int index, const QRect& rect);
    // Draws `text` from x in `row`, on `background` when there is one.
    void DrawPart(QPainter& painter, const Face& face, std::string_view text, int x,
                  const QRect& row, const QColor* background);
    void UpdateScrollRange(bool followNewest);

    MessageMonitor& monitor_;
    uint64_t shownRevision_ = 0;
    uint64_t shownAppends_ = 0;
    Face normal_;
    Face italic_;
    Face bold_;
    int ascent_ = 0;
    int timeWidth_ = 0;
    int tickWidth_ = 0;
};
