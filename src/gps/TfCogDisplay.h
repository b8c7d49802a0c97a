#pragma once
#include "gps/ToolWindowView.h"

namespace zelsim {

class CourseDisplay;
class PicturePaintBox;

// The course display: the arrow of the course on display, in a window the
// user may move and resize down to a readable square. A thin view of
// CourseDisplay.
class TfCogDisplay : public ToolWindowView {
    Q_OBJECT
  public:
    explicit TfCogDisplay(CourseDisplay& display, QWidget* parent = nullptr);

    // Applies what changed in the table and draws a new arrow.
    void ApplyControls() override;
    const PicturePaintBox& PaintBox() const { return *paintBox_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void DrawArrow();

    CourseDisplay& display_;
    PicturePaintBox* paintBox_ = nullptr;
    uint64_t drawnRevision_ = 0;
};

}  // namespace zelsim
