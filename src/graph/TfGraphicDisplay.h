#pragma once
#include <QWidget>
#include <memory>
#include <string_view>

#include "base/WindowBinding.h"

class QPushButton;
class QToolButton;

namespace zelsim {

class ChartPaintBox;
class GraphicDisplay;

// The graph window: the chart's paint box over its buttons. A thin view of
// GraphicDisplay: it binds its controls to the part's table, forwards the
// user's actions and paints the part's picture when a new one is shown.
// Closing it, with Close, Esc or the title bar, is the Close button.
class TfGraphicDisplay : public QWidget {
    Q_OBJECT
  public:
    explicit TfGraphicDisplay(GraphicDisplay& display, QWidget* parent = nullptr);
    ~TfGraphicDisplay() override;

    // Applies what changed in the table and paints a new picture.
    void ApplyControls();
    const WindowBinding& Binding() const { return *binding_; }
    const ChartPaintBox& PaintBox() const { return *paintBox_; }
    // The chart's revision the picture shows.
    uint64_t PaintedRevision() const { return paintedRevision_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPushButton* AddButton(std::string_view name, QWidget* parent, int x, int y, int w,
                           const char* caption);
    QToolButton* AddSpeedButton(std::string_view name, QWidget* parent, int x, int glyph);
    void BuildButtons(QWidget* panel);
    void PressOnChart(QPoint at, Qt::MouseButton button, QPoint global);
    void ChangeScale(int trace, QPoint global);
    template <typename F>
    void Act(F&& action);

    GraphicDisplay& display_;
    ChartPaintBox* paintBox_ = nullptr;
    std::unique_ptr<WindowBinding> binding_;
    uint64_t paintedRevision_ = 0;
};

}  // namespace zelsim
