#include "gps/TfSkyView.h"

#include <QPainter>

#include "base/QtColour.h"
#include "base/ShownText.h"
#include "gps/GpsWindowControls.h"
#include "gps/PicturePaintBox.h"
#include "gps/SkyViewWindow.h"

namespace zelsim {

namespace {

constexpr int kMarkPenWidth = 5;
constexpr Colour kLabelColour{0, 0, 0};

}  // namespace

TfSkyView::TfSkyView(SkyViewWindow& sky, QWidget* parent)
    : ToolWindowView(sky.Window(), sky_view_window::fSkyView, parent), sky_(sky) {
    setMinimumSize(SkyViewWindow::kSmallestSide, SkyViewWindow::kSmallestSide);
    paintBox_ = new PicturePaintBox(SkyPlot::kSize, SkyViewWindow::kMargin, this);
    paintBox_->setObjectName(Latin1Text(sky_view_window::pbSkyView));
    Bind(WindowBinding::Sizing::kResizable);
}

void TfSkyView::ApplyControls() {
    ToolWindowView::ApplyControls();
    if (sky_.Revision() != drawnRevision_ && isVisible()) DrawSky();
}

void TfSkyView::DrawSky() {
    drawnRevision_ = sky_.Revision();
    QImage& picture = paintBox_->DrawingPicture();
    const QColor face = palette().color(QPalette::Button);
    picture.fill(face);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QtColour(SkyPlot::kRingPen), SkyPlot::kRingPenWidth));
    p.setBrush(face);
    for (const SkyPlot::Box& ring : SkyPlot::Rings())
        p.drawEllipse(QRect(QPoint(ring.left, ring.top), QPoint(ring.right, ring.bottom)));
    QFont font = p.font();
    font.setPixelSize(SkyPlot::kLabelPixels);
    font.setBold(true);
    p.setFont(font);
    const int r = SkyPlot::kMarkRadius;
    for (const SkyPlot::Mark& mark : sky_.Marks()) {
        const QColor colour = QtColour(mark.colour);
        p.setPen(QPen(colour, kMarkPenWidth));
        p.setBrush(mark.filled ? QBrush(colour) : QBrush(face));
        const QPoint centre(mark.centre.x, mark.centre.y);
        p.drawEllipse(centre, r, r);
        // Beside the mark, on the side towards the centre, so that a
        // satellite low in the west keeps its label in the picture.
        const bool leftOfCentre = mark.centre.x > SkyPlot::kSize / 2;
        const QString label = Latin1Text(mark.label);
        const int width = p.fontMetrics().horizontalAdvance(label);
        const int x = leftOfCentre ? centre.x() - r - 4 - width : centre.x() + r + 4;
        p.setPen(QtColour(kLabelColour));
        p.drawText(x, centre.y() + SkyPlot::kLabelPixels / 3, label);
    }
    p.end();
    paintBox_->Present();
}

void TfSkyView::resizeEvent(QResizeEvent* event) {
    ToolWindowView::resizeEvent(event);
    paintBox_->setGeometry(rect());
}

}  // namespace zelsim
