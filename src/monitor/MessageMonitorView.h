#pragma once
#include <QAbstractScrollArea>
#include <QPoint>
#include <QTimer>
#include <functional>

class MessageMonitor;
class QPainter;

// lbMessageMonitor: draws the rows of a MessageMonitor. It repaints on its
// own display timer and only when the model changed, never per line: at full
// line rate that keeps the monitor's cost a small fraction of a core.
class MessageMonitorView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr int kRowHeight = 14;
    static constexpr int kFontPixels = 12;
    static constexpr int kDisplayIntervalMs = 50;
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
    // The model changed since the last display tick.
    void modelChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void lbDrawItemWithColor(QPainter& painter, int index, const QRect& rect);
    void UpdateScrollRange(bool followNewest);

    MessageMonitor& monitor_;
    QTimer displayTimer_;
    uint64_t shownRevision_ = 0;
    uint64_t shownAppends_ = 0;
    QFont normalFont_;
    QFont italicFont_;
    QFont boldFont_;
    int timeWidth_ = 0;
    int tickWidth_ = 0;
};
