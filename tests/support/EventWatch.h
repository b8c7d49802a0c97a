#pragma once
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>
#include <map>

namespace zelsim {

// What a widget went through, counted by event type, with the area of its
// last paint: a paint may last less than a busy machine takes between two
// looks at the widget, and its area says what the window asked for.
class EventWatch : public QObject {
  public:
    explicit EventWatch(QWidget* watched) { watched->installEventFilter(this); }

    int Count(QEvent::Type type) const {
        const auto found = counts_.find(type);
        return found == counts_.end() ? 0 : found->second;
    }
    const QRegion& LastPaint() const { return lastPaint_; }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        ++counts_[event->type()];
        if (event->type() == QEvent::Paint) lastPaint_ = static_cast<QPaintEvent*>(event)->region();
        return false;
    }

  private:
    std::map<QEvent::Type, int> counts_;
    QRegion lastPaint_;
};

}  // namespace zelsim
