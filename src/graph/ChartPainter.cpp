#include "graph/ChartPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include "base/QtColour.h"
#include "base/ShownText.h"
#include "graph/ChartDrawing.h"

namespace zelsim {

namespace {

// The picture's canvas font: fixed pitch, as the readout's columns are
// counted in characters.
constexpr const char* kCanvasFont = "Courier New";
// A text's height is its cell's; the letters' own size is about five sixths
// of it, the rest being the space above them.
constexpr int kEmPerCell = 5;
constexpr int kCellPerEm = 6;

QFont CanvasFont(int height, bool bold) {
    QFont font(kCanvasFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize((height * kEmPerCell + kCellPerEm / 2) / kCellPerEm);
    font.setBold(bold);
    return font;
}

struct ItemPainter {
    QPainter& p;

    void operator()(const ChartDrawing::Line& line) const {
        p.setPen(QPen(QtColour(line.colour), line.width, Qt::SolidLine, Qt::FlatCap));
        QPoint to(line.to.x, line.to.y);
        // The end point is not drawn: a one-pixel line stops short of it.
        if (line.width == 1) {
            if (line.from.y == line.to.y && line.from.x != line.to.x)
                to.rx() += line.to.x > line.from.x ? -1 : 1;
            else if (line.from.x == line.to.x && line.from.y != line.to.y)
                to.ry() += line.to.y > line.from.y ? -1 : 1;
        }
        p.drawLine(QPoint(line.from.x, line.from.y), to);
    }

    void operator()(const ChartDrawing::Polygon& polygon) const {
        QPolygon points;
        for (int i = 0; i < polygon.count; ++i)
            points << QPoint(polygon.points[static_cast<size_t>(i)].x,
                             polygon.points[static_cast<size_t>(i)].y);
        p.setPen(QPen(QtColour(polygon.colour), 1));
        if (polygon.filled) {
            p.setBrush(QtColour(polygon.colour));
            p.drawPolygon(points);
            p.setBrush(Qt::NoBrush);
        } else {
            p.drawPolyline(points);
        }
    }

    void operator()(const ChartDrawing::Box& box) const {
        p.fillRect(QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom)),
                   QtColour(box.colour));
    }

    void operator()(const ChartDrawing::Text& text) const {
        const QFont font = CanvasFont(text.height, text.bold);
        p.setFont(font);
        const QFontMetrics metrics(font);
        const QString shown = Latin1Text(text.text);
        const QRect place(text.at.x, text.at.y, metrics.horizontalAdvance(shown), text.height);
        p.fillRect(place, QtColour(text.background));
        p.setPen(QtColour(text.colour));
        p.drawText(place, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, shown);
    }
};

}  // namespace

void PaintChart(const ChartDrawing& drawing, QImage& picture) {
    picture.fill(QtColour(ChartDrawing::kBackground));
    QPainter painter(&picture);
    const ItemPainter paint{painter};
    for (const ChartDrawing::Item& item : drawing.items) std::visit(paint, item);
}

}  // namespace zelsim
