#include "gps/PicturePaintBox.h"

#include <QPainter>

namespace zelsim {

PicturePaintBox::PicturePaintBox(int pictureSize, int margin, QWidget* parent)
    : QWidget(parent),
      drawing_(pictureSize, pictureSize, QImage::Format_RGB32),
      shown_(pictureSize, pictureSize, QImage::Format_RGB32),
      margin_(margin) {
    drawing_.fill(palette().color(QPalette::Button));
    shown_ = drawing_.copy();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

QRect PicturePaintBox::Destination() const {
    return QRect(margin_, margin_, std::max(0, width() - 2 * margin_),
                 std::max(0, height() - 2 * margin_));
}

void PicturePaintBox::Present() {
    shown_ = drawing_.copy();
    stretched_ = QImage();
    update();
}

void PicturePaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    stretched_ = QImage();
}

void PicturePaintBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(backgroundRole()));
    const QRect destination = Destination();
    if (destination.isEmpty()) return;
    // Averaged, not sampled: a thin line of the large picture must not
    // fall between the pixels kept.
    if (stretched_.size() != destination.size())
        stretched_ =
            shown_.scaled(destination.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.drawImage(destination.topLeft(), stretched_);
}

}  // namespace zelsim
