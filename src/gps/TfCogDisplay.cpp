#include "gps/TfCogDisplay.h"

#include <QPainter>
#include <QPolygon>
#include <span>

#include "base/QtColour.h"
#include "base/ShownText.h"
#include "gps/CourseDisplay.h"
#include "gps/FloodFill.h"
#include "gps/GpsWindowControls.h"
#include "gps/PicturePaintBox.h"

namespace zelsim {

namespace cw = cog_window;

TfCogDisplay::TfCogDisplay(CourseDisplay& display, QWidget* parent)
    : ToolWindowView(display, cw::fCogDisplay, parent), display_(display) {
    setMinimumSize(CourseDisplay::kSmallestSide, CourseDisplay::kSmallestSide);
    paintBox_ = new PicturePaintBox(CourseArrow::kSize, CourseDisplay::kMargin, this);
    paintBox_->setObjectName(Latin1Text(cw::pbCogDisplay));
    paintBox_->setBackgroundRole(QPalette::ToolTipBase);
    Bind(WindowBinding::Sizing::kResizable);
}

void TfCogDisplay::ApplyControls() {
    ToolWindowView::ApplyControls();
    if (display_.Revision() != drawnRevision_) DrawArrow();
}

void TfCogDisplay::DrawArrow() {
    drawnRevision_ = display_.Revision();
    QImage& picture = paintBox_->DrawingPicture();
    picture.fill(palette().color(QPalette::Button));
    const CourseArrow::Shape& arrow = display_.Arrow();
    const QColor pen = QtColour(CourseArrow::kPen);
    {
        QPainter p(&picture);
        p.setPen(QPen(pen, CourseArrow::kPenWidth));
        QPolygon outline;
        for (const CourseArrow::Point& v : arrow.outline) outline << QPoint(v.x, v.y);
        p.drawPolyline(outline);
    }
    const auto pixels = std::span(reinterpret_cast<uint32_t*>(picture.bits()),
                                  static_cast<size_t>(picture.sizeInBytes() / 4));
    FloodFill(pixels, picture.width(), picture.height(), arrow.fillSeed.x, arrow.fillSeed.y,
              pen.rgb(), QtColour(CourseArrow::kFill).rgb());
    {
        QPainter p(&picture);
        p.setPen(QPen(pen, CourseArrow::kPenWidth));
        QPolygon frame;
        for (const CourseArrow::Point& v : CourseArrow::kFrame) frame << QPoint(v.x, v.y);
        p.drawPolyline(frame);
    }
    paintBox_->Present();
}

void TfCogDisplay::resizeEvent(QResizeEvent* event) {
    ToolWindowView::resizeEvent(event);
    paintBox_->setGeometry(rect());
    display_.Resized(width(), height());
}

}  // namespace zelsim
