#include "graph/ChartPaintBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "base/QtColour.h"
#include "graph/ChartDrawing.h"

namespace zelsim {

ChartPaintBox::ChartPaintBox(int width, int height, QWidget* parent)
    : QWidget(parent),
      drawing_(width, height, QImage::Format_RGB32),
      shown_(width, height, QImage::Format_RGB32) {
    setFixedSize(width, height);
    shown_.fill(QtColour(ChartDrawing::kBackground));
    // Every pixel comes from the picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartPaintBox::Present() {
    std::swap(drawing_, shown_);
    update();
}

void ChartPaintBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), shown_, event->rect());
}

void ChartPaintBox::mousePressEvent(QMouseEvent* event) {
    if (onPress)
        onPress(event->position().toPoint(), event->button(), event->globalPosition().toPoint());
}

void ChartPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (onRelease) onRelease(event->button());
}

}  // namespace zelsim
