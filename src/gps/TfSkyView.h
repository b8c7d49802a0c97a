#pragma once
#include "gps/ToolWindowView.h"

namespace zelsim {

class PicturePaintBox;
class SkyViewWindow;

// "Sky View": the rings and the satellites in view, stretched into the
// window, which the user may resize down to a readable square.
class TfSkyView : public ToolWindowView {
    Q_OBJECT
  public:
    explicit TfSkyView(SkyViewWindow& sky, QWidget* parent = nullptr);

    void ApplyControls() override;
    const PicturePaintBox& PaintBox() const { return *paintBox_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void DrawSky();

    SkyViewWindow& sky_;
    PicturePaintBox* paintBox_ = nullptr;
    uint64_t drawnRevision_ = 0;
};

}  // namespace zelsim
