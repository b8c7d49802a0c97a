#include "monitor/MessageMonitorView.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>
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

void MessageMonitorView::Face::Load(const QFont& from) {
    font = from;
    raw = QRawFont::fromFont(from);
    QString codes(static_cast<qsizetype>(glyph.size()), QChar());
    for (size_t c = 0; c < glyph.size(); ++c) codes[static_cast<qsizetype>(c)] = QChar(char16_t(c));
    const QList<quint32> indexes = raw.glyphIndexesForString(codes);
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(indexes);
    glyph.fill(0);
    advance.fill(0);
    for (qsizetype c = 0; c < indexes.size() && c < advances.size(); ++c) {
        glyph[static_cast<size_t>(c)] = indexes[c];
        advance[static_cast<size_t>(c)] = advances[c].x();
    }
}

MessageMonitorView::MessageMonitorView(MessageMonitor& monitor, QWidget* parent)
    : QAbstractScrollArea(parent), monitor_(monitor) {
    setObjectName("lbMessageMonitor");
    QFont font("Courier New");
    font.setPixelSize(kFontPixels);
    font.setStyleHint(QFont::TypeWriter);
    normal_.Load(font);
    font.setItalic(true);
    italic_.Load(font);
    font.setItalic(false);
    font.setBold(true);
    bold_.Load(font);
    const QFontMetrics metrics(normal_.font);
    ascent_ = metrics.ascent();
    timeWidth_ = metrics.horizontalAdvance("hh:mm:ss ");
    tickWidth_ = metrics.horizontalAdvance("12345 ");

    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(1);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, FromRgb(MessageCategory::kBackground));
    viewport()->setPalette(palette);
    // The background is filled before each paint, so rows draw only what
    // differs from it.
    viewport()->setAutoFillBackground(true);
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
    for (int row = 0; row * kRowHeight < viewport()->height() && top + row < count; ++row) {
        const QRect rect(0, row * kRowHeight, width, kRowHeight);
        if (rect.intersects(area)) lbDrawItemWithColor(painter, top + row, rect);
    }
}

void MessageMonitorView::DrawPart(QPainter& painter, const Face& face, std::string_view text, int x,
                                  const QRect& row, const QColor* background) {
    const qreal baseline = row.top() + ascent_;
    QList<quint32> indexes(static_cast<qsizetype>(text.size()));
    QList<QPointF> positions(static_cast<qsizetype>(text.size()));
    qreal width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        if (face.glyph[code] == 0) {
            // A character the font lacks: let the text layout find a fallback.
            const QString part =
                QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
            if (background) {
                const int partWidth = QFontMetrics(face.font).horizontalAdvance(part);
                painter.fillRect(QRect(x, row.top(), partWidth, row.height()), *background);
            }
            painter.setFont(face.font);
            painter.drawText(QPointF(x, baseline), part);
            return;
        }
        indexes[static_cast<qsizetype>(i)] = face.glyph[code];
        positions[static_cast<qsizetype>(i)] = QPointF(width, 0);
        width += face.advance[code];
    }
    // Only the text's own width is tinted, as a label's background would be.
    if (background)
        painter.fillRect(QRect(x, row.top(), qCeil(width), row.height()), *background);
    QGlyphRun run;
    run.setRawFont(face.raw);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(x, baseline), run);
}

void MessageMonitorView::lbDrawItemWithColor(QPainter& painter, int index, const QRect& rect) {
    const MessageMonitor::Attributes& attributes = monitor_.LineAttributes(index);
    std::string_view text = monitor_.Line(index);
    painter.setPen(FromRgb(MessageCategory::Colour(attributes.category)));

    int x = rect.left();
    if (attributes.timeShown) {
        DrawPart(painter, italic_, text.substr(0, kTimeChars), x, rect, &kTimeBackground);
        text.remove_prefix(std::min<size_t>(kTimeChars, text.size()));
        x += timeWidth_;
    }
    if (attributes.tickShown) {
        DrawPart(painter, bold_, text.substr(0, kTickChars), x, rect, &kTickBackground);
        text.remove_prefix(std::min<size_t>(kTickChars, text.size()));
        x += tickWidth_;
    }
    DrawPart(painter, normal_, text, x, rect, nullptr);

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
