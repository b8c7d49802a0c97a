#pragma once
#include <QWidget>
#include <memory>

#include "base/WindowBinding.h"

namespace zelsim {

class CourseDisplay;
class PicturePaintBox;

// The course display: the arrow of the course on display, in a window the
// user may move and resize down to a readable square. A thin view of
// CourseDisplay.
class TfCogDisplay : public QWidget {
    Q_OBJECT
  public:
    explicit TfCogDisplay(CourseDisplay& display, QWidget* parent = nullptr);
    ~TfCogDisplay() override;

    // Applies what changed in the table and draws a new arrow.
    void ApplyControls();
    const WindowBinding& Binding() const { return *binding_; }
    const PicturePaintBox& PaintBox() const { return *paintBox_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Esc closes it, as the close box does.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void DrawArrow();

    CourseDisplay& display_;
    PicturePaintBox* paintBox_ = nullptr;
    std::unique_ptr<WindowBinding> binding_;
    uint64_t drawnRevision_ = 0;
};

}  // namespace zelsim
