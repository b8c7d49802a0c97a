#pragma once
#include <QImage>
#include <QWidget>

namespace zelsim {

// The paint box of a picture window (the course display, the sky view): a
// square picture drawn off screen, copied to the one shown when done, and
// stretched into the box less a margin on every side. The stretched copy
// is made once per picture and size, so a paint only copies.
class PicturePaintBox : public QWidget {
    Q_OBJECT
  public:
    PicturePaintBox(int pictureSize, int margin, QWidget* parent = nullptr);

    // The picture to draw the next one into; Present then shows it.
    QImage& DrawingPicture() { return drawing_; }
    void Present();
    const QImage& ShownPicture() const { return shown_; }
    // Where the picture is shown in the box.
    QRect Destination() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage drawing_;
    QImage shown_;
    QImage stretched_;
    int margin_;
};

}  // namespace zelsim
