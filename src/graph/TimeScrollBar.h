#pragma once
#include <QRect>
#include <QScrollBar>
#include <optional>

namespace zelsim {

// sbGraphTime: a scroll bar that is repainted only when it looks different.
// While the ring fills, its range and position change with every sample,
// mostly by less than a pixel; a scroll bar's paint is far dearer than the
// chart's (the style hands work to other threads). Its range and value are
// always the ones set, so the user moves it as any other.
class TimeScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    explicit TimeScrollBar(QWidget* parent = nullptr);

  protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Where the slider lies is all a range or a value shows of itself. Core
    // sets the range before the value: in between, the value is not yet at
    // the new end, though the slider is.
    QRect Slider() const;

    std::optional<QRect> painted_;
};

}  // namespace zelsim
