#include "monitor/MessageMonitorView.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>

#include "monitor/MessageMonitor.h"
#include "monitor/TfShowMessageMonColors.h"

namespace {

constexpr int kTimeChars = 9;  // "hh:mm:ss "
constexpr int kTickChars = 6;  // "12345 "
const QColor kTimeBackground(244, 254, 218);
const QColor kTickBackground(241, 249, 255);
const QColor kGapAfterColour(255, 0, 0);
const QColor kGapBeforeColour(0, 128, 0);

QColor FromRgb(uint32_t rgb) {
    return QColor(QRgb(rgb));
}

}  // namespace

MessageMonitorView::MessageMonitorView(MessageMonitor& monitor, QWidget* parent)
    : QAbstractScrollArea(parent), monitor_(monitor) {
    setObjectName("lbMessageMonitor");
    normalFont_ = QFont("Courier New");
    normalFont_.setPixelSize(kFontPixels);
    normalFont_.setStyleHint(QFont::TypeWriter);
    italicFont_ = normalFont_;
    italicFont_.setItalic(true);
    boldFont_ = normalFont_;
    boldFont_.setBold(true);
    const QFontMetrics metrics(normalFont_);
    timeWidth_ = metrics.horizontalAdvance("hh:mm:ss ");
    tickWidth_ = metrics.horizontalAdvance("12345 ");

    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(),
            [this] { viewport()->update(); });
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, FromRgb(MessageCategory::kBackground));
    viewport()->setPalette(palette);
    viewport()->setAutoFillBackground(true);

    displayTimer_.setInterval(kDisplayIntervalMs);
    connect(&displayTimer_, &QTimer::timeout, this, &MessageMonitorView::Refresh);
    displayTimer_.start();
}

int MessageMonitorView::VisibleRows() const {
    return std::max(1, viewport()->height() / kRowHeight);
}

int MessageMonitorView::TopRow() const {
    return verticalScrollBar()->value();
}

void MessageMonitorView::Refresh() {
    if (monitor_.Revision() == shownRevision_) return;
    shownRevision_ = monitor_.Revision();
    const bool appended = monitor_.AppendCount() != shownAppends_;
    shownAppends_ = monitor_.AppendCount();
    UpdateScrollRange(appended);
    viewport()->update();
    emit modelChanged();
}

void MessageMonitorView::UpdateScrollRange(bool followNewest) {
    QScrollBar* bar = verticalScrollBar();
    const int rows = VisibleRows();
    bar->setPageStep(rows);
    bar->setRange(0, std::max(0, monitor_.LineCount() - rows));
    // A new line brings the newest line into view, as the list's top index
    // rule does; without one the user may look back undisturbed.
    if (followNewest) bar->setValue(bar->maximum());
}

void MessageMonitorView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange(true);
}

void MessageMonitorView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    const int width = viewport()->width();
    const int top = TopRow();
    const int count = monitor_.LineCount();
    for (int row = 0; row * kRowHeight < viewport()->height(); ++row) {
        const QRect rect(0, row * kRowHeight, width, kRowHeight);
        if (!rect.intersects(area)) continue;
        if (top + row < count)
            lbDrawItemWithColor(painter, top + row, rect);
        else
            painter.fillRect(rect, FromRgb(MessageCategory::kBackground));
    }
}

void MessageMonitorView::lbDrawItemWithColor(QPainter& painter, int index, const QRect& rect) {
    const MessageMonitor::Attributes& attributes = monitor_.LineAttributes(index);
    const QString text = QString::fromLatin1(monitor_.Line(index));
    painter.fillRect(rect, FromRgb(MessageCategory::kBackground));
    painter.setPen(FromRgb(MessageCategory::Colour(attributes.category)));

    const int baseline = rect.top() + QFontMetrics(normalFont_).ascent();
    int x = 0;
    int used = 0;
    auto drawPart = [&](const QFont& font, const QString& part, const QColor* background) {
        painter.setFont(font);
        if (background) {
            const int partWidth = QFontMetrics(font).horizontalAdvance(part);
            painter.fillRect(QRect(rect.left() + x, rect.top(), partWidth, rect.height()),
                             *background);
        }
        painter.drawText(rect.left() + x, baseline, part);
    };
    if (attributes.timeShown) {
        drawPart(italicFont_, text.mid(0, kTimeChars), &kTimeBackground);
        used = kTimeChars;
        x = timeWidth_;
    }
    if (attributes.tickShown) {
        drawPart(boldFont_, text.mid(used, kTickChars), &kTickBackground);
        used += kTickChars;
        x += tickWidth_;
    }
    drawPart(normalFont_, text.mid(used), nullptr);

    const int left = rect.left() + kGapLineInset;
    const int right = rect.right() - kGapLineInset;
    if (attributes.gapAfter) {
        painter.setPen(kGapAfterColour);
        painter.drawLine(left, rect.bottom(), right, rect.bottom());
    }
    if (attributes.gapBefore) {
        painter.setPen(kGapBeforeColour);
        painter.drawLine(left, rect.top() + 1, right, rect.top() + 1);
    }
}

void MessageMonitorView::contextMenuEvent(QContextMenuEvent* event) {
    lbMessageMonitorPopup();
    event->accept();  // no other menu opens
}

void MessageMonitorView::lbMessageMonitorPopup() {
    if (onLegendOpening) onLegendOpening();
    TfShowMessageMonColors legend(this);
    legend.move(legendPosition);
    legend.exec();
    legendPosition = legend.pos();
    if (onLegendClosed) onLegendClosed();
}
