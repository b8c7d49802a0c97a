#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

namespace zelsim {

// pbGraphicDisplay: shows the chart's picture as the last redraw left it.
// A paint only copies the shown picture; a new one is painted off screen
// and then swapped in, so the box never shows half a chart. Mouse presses
// and releases go to the window.
class ChartPaintBox : public QWidget {
    Q_OBJECT
  public:
    ChartPaintBox(int width, int height, QWidget* parent = nullptr);

    // The off-screen picture to paint the next redraw into; Present then
    // shows it.
    QImage& DrawingPicture() { return drawing_; }
    void Present();
    const QImage& ShownPicture() const { return shown_; }

    std::function<void(QPoint at, Qt::MouseButton button, QPoint global)> onPress;
    std::function<void(Qt::MouseButton button)> onRelease;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage drawing_;
    QImage shown_;
};

}  // namespace zelsim
