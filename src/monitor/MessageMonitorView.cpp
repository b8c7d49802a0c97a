#include "monitor/MessageMonitorView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QtMath>
#include <algorithm>

#include "base/MainWindowControls.h"
#include "base/QtColour.h"
#include "base/ShownText.h"
#include "base/Text.h"
#include "monitor/MessageMonitor.h"
#include "monitor/MonitorLayout.h"
#include "monitor/TfShowMessageMonColors.h"

namespace zelsim {

namespace {

constexpr int kRowHeight = MonitorLayout::kRowHeight;
constexpr int kLatin1Printable = 160;  // from here on; 127..159 are control codes
constexpr Colour kTimeBackground{244, 254, 218};
constexpr Colour kTickBackground{241, 249, 255};
constexpr Colour kGapAfterColour{255, 0, 0};
constexpr Colour kGapBeforeColour{0, 128, 0};
// Rows picked to copy, in the light blue desktops select with.
constexpr Colour kSelectedBackground{204, 228, 247};
// A failed checksum's "*hh".
constexpr Colour kFaultColour{255, 0, 0};

// Control codes never reach a row: the monitor shows them as "~".
bool IsDrawn(int code) {
    return IsPrintable(static_cast<unsigned char>(code)) || code >= kLatin1Printable;
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

int MessageMonitorView::Face::Width(std::string_view text) const {
    qreal width = 0;
    for (char c : text) width += advance[static_cast<unsigned char>(c)];
    return qCeil(width);
}

MessageMonitorView::MessageMonitorView(MessageMonitor& monitor, QWidget* parent)
    : QAbstractScrollArea(parent), monitor_(monitor) {
    setObjectName(Latin1Text(main_window::lbMessageMonitor));
    QFont font("Courier New");
    font.setPixelSize(kFontPixels);
    font.setStyleHint(QFont::TypeWriter);
    faces_[kNormal].Load(font);
    font.setItalic(true);
    faces_[kItalic].Load(font);
    font.setItalic(false);
    font.setBold(true);
    faces_[kBold].Load(font);
    const QFontMetrics metrics(faces_[kNormal].font);
    ascent_ = metrics.ascent();
    charAdvance_ = QFontMetricsF(faces_[kNormal].font).horizontalAdvance(QLatin1Char('0'));

    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A line wider than the list is there whole, a scroll away.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(qCeil(charAdvance_));
    // Reached with Tab and a click, for the keys that select and copy.
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted by the rows or the empty space below them.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

int MessageMonitorView::VisibleRows() const {
    return MonitorLayout::VisibleRows(viewport()->height());
}

int MessageMonitorView::TopRow() const {
    return verticalScrollBar()->value();
}

void MessageMonitorView::Refresh() {
    if (monitor_.Revision() == shownRevision_) return;
    const uint64_t appended = monitor_.AppendCount() - shownAppends_;
    // Only lines that came in: the rows on screen move up, and only the
    // new ones are drawn, not every row ten times a second for a line or two.
    const bool onlyAppended = appended > 0 && monitor_.Revision() - shownRevision_ == appended;
    const int dropped = static_cast<int>(
        std::min<uint64_t>(shownCount_ + appended - uint64_t(monitor_.LineCount()), INT32_MAX));
    const int topBefore = TopRow();
    const int acrossBefore = horizontalScrollBar()->value();
    shownRevision_ = monitor_.Revision();
    shownAppends_ = monitor_.AppendCount();
    shownCount_ = monitor_.LineCount();
    refreshing_ = true;
    UpdateScrollRange(appended > 0);
    refreshing_ = false;
    const int moved = dropped + TopRow() - topBefore;  // rows each shown line went up
    if (onlyAppended && moved >= 0 && moved < VisibleRows() &&
        horizontalScrollBar()->value() == acrossBefore) {
        if (moved > 0) viewport()->scroll(0, -moved * kRowHeight);
        const int firstNewRow =
            std::max(0, monitor_.LineCount() - static_cast<int>(appended) - TopRow());
        viewport()->update(0, firstNewRow * kRowHeight, viewport()->width(),
                           viewport()->height() - firstNewRow * kRowHeight);
    } else {
        viewport()->update();
    }
    emit modelChanged();
}

void MessageMonitorView::scrollContentsBy(int dx, int dy) {
    // Scrolled by the user: the rows drawn move and only those coming into
    // view are drawn. A refresh moves them itself.
    if (refreshing_) return;
    if (dx != 0 || std::abs(dy) >= VisibleRows())
        viewport()->update();
    else
        viewport()->scroll(0, dy * kRowHeight);
}

void MessageMonitorView::UpdateScrollRange(bool followNewest) {
    size_t widest = 0;
    for (int i = 0; i < monitor_.LineCount(); ++i)
        widest = std::max(widest, monitor_.Line(i).size());
    widestChars_ = widest;
    QScrollBar* across = horizontalScrollBar();
    across->setPageStep(viewport()->width());
    across->setRange(0, std::max(0, MonitorLayout::ColumnLeft(widest, charAdvance_) -
                                        viewport()->width() + kGapLineInset));
    QScrollBar* bar = verticalScrollBar();
    const int rows = VisibleRows();
    bar->setPageStep(rows);
    bar->setRange(0, std::max(0, monitor_.LineCount() - rows));
    // A new line brings the newest line into view; without one the user
    // may look back undisturbed.
    if (followNewest) bar->setValue(MonitorLayout::TopRowForNewest(monitor_.LineCount(), rows));
}

void MessageMonitorView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange(true);
}

void MessageMonitorView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    composeRows_ = viewport()->devicePixelRatioF() == 1.0;
    const QRect area = event->rect();
    const int width = viewport()->width();
    const int top = TopRow();
    const int count = monitor_.LineCount();
    int row = 0;
    for (; row * kRowHeight < viewport()->height() && top + row < count; ++row) {
        const QRect rect(0, row * kRowHeight, width, kRowHeight);
        if (rect.intersects(area)) lbDrawItemWithColor(painter, top + row, rect);
    }
    const QRect empty(0, row * kRowHeight, width, viewport()->height() - row * kRowHeight);
    painter.fillRect(empty & area, QtColour(MessageCategory::kBackground));
}

void MessageMonitorView::lbDrawItemWithColor(QPainter& painter, int index, const QRect& rect) {
    const MessageMonitor::Attributes& attributes = monitor_.LineAttributes(index);
    std::string_view text = monitor_.Line(index);
    const MonitorLayout::Columns columns =
        MonitorLayout::ColumnsOf(attributes.timeShown, attributes.tickShown);
    const int scrolled = horizontalScrollBar()->value();
    auto columnLeft = [&](size_t chars) {
        return rect.left() - scrolled + MonitorLayout::ColumnLeft(chars, charAdvance_);
    };
    const bool selected = monitor_.IsSelected(index);
    const Colour& ground = selected ? kSelectedBackground : MessageCategory::kBackground;
    const QRgb colour = QtColour(MessageCategory::ColourOf(attributes.category)).rgb();
    std::array<Part, 4> parts;
    size_t partCount = 0;
    if (columns.time > 0)
        parts[partCount++] = {kItalic, text.substr(0, columns.time), columnLeft(0),
                              selected ? nullptr : &kTimeBackground, colour};
    if (columns.tick > 0)
        parts[partCount++] = {kBold, text.substr(std::min(columns.time, text.size()), columns.tick),
                              columnLeft(columns.time), selected ? nullptr : &kTickBackground,
                              colour};
    // A failed checksum's "*hh" stands out in red; the rest keeps the
    // line's colour.
    const size_t start = std::min(columns.TextStart(), text.size());
    const size_t fault = attributes.faultAt > start
                             ? std::min<size_t>(attributes.faultAt - 1, text.size())
                             : text.size();
    parts[partCount++] = {kNormal, text.substr(start, fault - start), columnLeft(start), nullptr,
                          colour};
    if (fault < text.size())
        parts[partCount++] = {kNormal, text.substr(fault), columnLeft(fault), nullptr,
                              QtColour(kFaultColour).rgb()};

    if (composeRows_) {
        if (row_.size() != rect.size()) row_ = QImage(rect.size(), QImage::Format_RGB32);
        const QRgb background = QtColour(ground).rgb();
        row_.fill(background);
        for (size_t i = 0; i < partCount; ++i) ComposePart(parts[i], background);
        painter.drawImage(rect.topLeft(), row_);
    } else {
        painter.fillRect(rect, QtColour(ground));
        for (size_t i = 0; i < partCount; ++i) DrawPart(painter, parts[i], rect);
    }

    const int left = rect.left() + kGapLineInset;
    const int right = rect.right() - kGapLineInset;
    if (attributes.gapAfter) {
        painter.setPen(QtColour(kGapAfterColour));
        painter.drawLine(left, rect.bottom(), right, rect.bottom());
    }
    if (attributes.gapBefore) {
        painter.setPen(QtColour(kGapBeforeColour));
        painter.drawLine(left, rect.top() + 1, right, rect.top() + 1);
    }
}

void MessageMonitorView::ComposePart(const Part& part, QRgb rowBackground) {
    const Face& face = faces_[part.face];
    const QRgb background = part.tint ? QtColour(*part.tint).rgb() : rowBackground;
    const GlyphCells& cells = CellsFor(part.face, part.colour, background);
    auto* const rowBits = reinterpret_cast<QRgb*>(row_.bits());
    const qsizetype rowStride = row_.bytesPerLine() / qsizetype(sizeof(QRgb));
    const auto* const cellBits = reinterpret_cast<const QRgb*>(cells.image.constBits());
    const qsizetype cellStride = cells.image.bytesPerLine() / qsizetype(sizeof(QRgb));
    const int rowWidth = row_.width();
    const int rows = std::min(kRowHeight, row_.height());

    // Only the text's own width is tinted, as a label's background would be.
    if (part.tint) {
        const int begin = std::max(0, part.x);
        const int end = std::min(rowWidth, part.x + face.Width(part.text));
        for (int y = 0; y < rows && begin < end; ++y)
            std::fill(rowBits + y * rowStride + begin, rowBits + y * rowStride + end, background);
    }
    qreal advance = 0;
    for (char c : part.text) {
        const auto code = static_cast<unsigned char>(c);
        const int left = part.x + qRound(advance) - kCellPad;
        advance += face.advance[code];
        if (left >= rowWidth) break;
        const std::array<int16_t, 2>* ink = &cells.ink[size_t(code) * kRowHeight];
        const QRgb* from = cellBits + code * cells.width;
        QRgb* to = rowBits + left;
        for (int y = 0; y < rows; ++y, from += cellStride, to += rowStride) {
            const int first = std::max<int>(ink[y][0], -left);
            const int last = std::min<int>(ink[y][1], rowWidth - 1 - left);
            for (int column = first; column <= last; ++column) to[column] = from[column];
        }
    }
}

const MessageMonitorView::GlyphCells& MessageMonitorView::CellsFor(FaceIndex faceIndex, QRgb colour,
                                                                   QRgb background) {
    const uint64_t key =
        uint64_t(faceIndex) << 48 | uint64_t(colour & RGB_MASK) << 24 | (background & RGB_MASK);
    if (auto found = cells_.find(key); found != cells_.end()) return found->second;

    const Face& face = faces_[faceIndex];
    GlyphCells& cells = cells_[key];
    cells.width = qCeil(*std::max_element(face.advance.begin(), face.advance.end())) + 2 * kCellPad;
    cells.image = QImage(cells.width * kCodes, kRowHeight, QImage::Format_RGB32);
    cells.image.fill(background);
    {
        // Text drawing, not the glyph table: a character the font lacks
        // comes from a fallback font.
        QPainter painter(&cells.image);
        painter.setFont(face.font);
        painter.setPen(QColor(colour));
        for (int code = 0; code < kCodes; ++code)
            if (IsDrawn(code))
                painter.drawText(QPointF(code * cells.width + kCellPad, ascent_),
                                 QString(QChar(char16_t(code))));
    }
    cells.ink.assign(size_t(kCodes) * kRowHeight, {int16_t(cells.width), -1});
    for (int y = 0; y < kRowHeight; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(cells.image.constScanLine(y));
        for (int x = 0; x < cells.image.width(); ++x) {
            if ((line[x] & RGB_MASK) == (background & RGB_MASK)) continue;
            std::array<int16_t, 2>& ink = cells.ink[size_t(x / cells.width) * kRowHeight + y];
            const auto column = int16_t(x % cells.width);
            ink[0] = std::min(ink[0], column);
            ink[1] = std::max(ink[1], column);
        }
    }
    return cells;
}

void MessageMonitorView::DrawPart(QPainter& painter, const Part& part, const QRect& row) {
    const Face& face = faces_[part.face];
    if (part.tint)
        painter.fillRect(QRect(part.x, row.top(), face.Width(part.text), row.height()),
                         QtColour(*part.tint));
    painter.setPen(QColor(part.colour));
    QList<quint32> indexes(static_cast<qsizetype>(part.text.size()));
    QList<QPointF> positions(static_cast<qsizetype>(part.text.size()));
    qreal advance = 0;
    for (size_t i = 0; i < part.text.size(); ++i) {
        const auto code = static_cast<unsigned char>(part.text[i]);
        indexes[static_cast<qsizetype>(i)] = face.glyph[code];
        positions[static_cast<qsizetype>(i)] = QPointF(advance, 0);
        advance += face.advance[code];
    }
    QGlyphRun run;
    run.setRawFont(face.raw);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(part.x, row.top() + ascent_), run);
}

void MessageMonitorView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copy = menu.addAction(kCopyCaption, this, &MessageMonitorView::CopySelected);
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(monitor_.HasSelection());
    menu.addAction(kCopyAllCaption, this, &MessageMonitorView::CopyAll)
        ->setEnabled(monitor_.LineCount() > 0);
    menu.addAction(kSaveCaption, this, &MessageMonitorView::SaveShownLines)
        ->setEnabled(monitor_.LineCount() > 0);
    menu.addSeparator();
    menu.addAction(kLegendCaption, this, &MessageMonitorView::lbMessageMonitorPopup);
    menu.exec(event->globalPos());
    event->accept();  // no other menu opens
}

void MessageMonitorView::lbMessageMonitorPopup() {
    if (onModalOpening) onModalOpening();
    TfShowMessageMonColors legend(this);
    legend.move(monitor_.LegendLeft(), monitor_.LegendTop());
    legend.exec();
    monitor_.SetLegendPosition(legend.x(), legend.y());
    if (onModalClosed) onModalClosed();
}

void MessageMonitorView::CopySelected() {
    if (monitor_.HasSelection())
        QApplication::clipboard()->setText(ShownText(monitor_.SelectedText()));
}

void MessageMonitorView::CopyAll() {
    QApplication::clipboard()->setText(ShownText(monitor_.AllText()));
}

void MessageMonitorView::SaveShownLines() {
    if (onModalOpening) onModalOpening();
    monitor_.SaveShownLines();
    if (onModalClosed) onModalClosed();
}

int MessageMonitorView::RowAt(int y) const {
    return std::clamp(TopRow() + y / kRowHeight, 0, std::max(0, monitor_.LineCount() - 1));
}

void MessageMonitorView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && monitor_.LineCount() > 0) {
        monitor_.SelectRow(RowAt(event->position().toPoint().y()),
                           event->modifiers().testFlag(Qt::ShiftModifier));
        Refresh();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void MessageMonitorView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::LeftButton) && monitor_.LineCount() > 0) {
        monitor_.SelectRow(RowAt(event->position().toPoint().y()), true);
        Refresh();
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void MessageMonitorView::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() == Qt::ShiftModifier;
    int rows = 0;
    if (shift && event->key() == Qt::Key_Up) rows = -1;
    if (shift && event->key() == Qt::Key_Down) rows = 1;
    if (shift && event->key() == Qt::Key_PageUp) rows = -VisibleRows();
    if (shift && event->key() == Qt::Key_PageDown) rows = VisibleRows();
    if (rows != 0) {
        monitor_.ExtendSelection(rows);
        // The moving end stays in sight.
        const int active = monitor_.ActiveRow();
        QScrollBar* bar = verticalScrollBar();
        if (active < bar->value()) bar->setValue(active);
        if (active >= bar->value() + VisibleRows()) bar->setValue(active - VisibleRows() + 1);
        Refresh();
    } else if (event->matches(QKeySequence::SelectAll)) {
        monitor_.SelectAll();
        Refresh();
    } else if (event->matches(QKeySequence::Copy)) {
        CopySelected();
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool MessageMonitorView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int row = TopRow() + help->pos().y() / kRowHeight;
        const std::string hint =
            row < monitor_.LineCount() ? monitor_.LineHint(row) : std::string();
        if (hint.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), ShownText(hint), viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace zelsim
