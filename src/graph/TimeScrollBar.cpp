#include "graph/TimeScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace zelsim {

TimeScrollBar::TimeScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

QRect TimeScrollBar::Slider() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

void TimeScrollBar::sliderChange(SliderChange change) {
    const bool seen = change == SliderRangeChange || change == SliderValueChange;
    if (seen && painted_ && *painted_ == Slider()) return;
    QScrollBar::sliderChange(change);
}

void TimeScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    painted_ = Slider();
}

}  // namespace zelsim
