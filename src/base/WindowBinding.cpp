#include "base/WindowBinding.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "base/ControlTable.h"
#include "base/QtColour.h"
#include "base/ShownText.h"

namespace zelsim {

namespace {

constexpr int kDarkBelow = 128;
constexpr const char* kQtInternalPrefix = "qt_";

// The label does not show all of its text.
bool Cut(const QLabel* label) {
    if (label->wordWrap())  // too many lines, or a word wider than a line
        return label->heightForWidth(label->width()) > label->height() ||
               label->minimumSizeHint().width() > label->width();
    return label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width();
}

}  // namespace

WindowBinding::WindowBinding(QWidget& window, QWidget& client, const ControlTable& table,
                             Sizing sizing)
    : window_(window),
      client_(client),
      table_(table),
      windowName_(window.objectName().toStdString()),
      sizing_(sizing) {}

void WindowBinding::BindChildren() {
    for (QWidget* widget : window_.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith(kQtInternalPrefix) && OwnChild(widget))
            widgets_.emplace(name.toStdString(), widget);
    }
    for (QAction* item : window_.findChildren<QAction*>())
        if (!item->objectName().isEmpty() && OwnChild(item))
            menuItems_.emplace(item->objectName().toStdString(), item);
}

QPoint WindowBinding::OnAScreen(QPoint place, QSize size, bool whole) {
    // A place stored while another monitor was plugged in: the window comes
    // up whole on the screen nearest to it, not out of reach.
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* nearest = nullptr;
    qint64 best = 0;
    for (QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        if (area.contains(place) && !whole) return place;
        const int dx = std::max({area.left() - place.x(), 0, place.x() - area.right()});
        const int dy = std::max({area.top() - place.y(), 0, place.y() - area.bottom()});
        const qint64 distance = qint64{dx} * dx + qint64{dy} * dy;
        if (nearest == nullptr || distance < best) {
            nearest = screen;
            best = distance;
        }
    }
    if (nearest == nullptr) return place;
    const QRect area = nearest->availableGeometry();
    return QPoint(
        std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - size.width() + 1)),
        std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - size.height() + 1)));
}

bool WindowBinding::OwnChild(const QObject* child) const {
    // Another window made a child of this one (the graph window) has a
    // table of its own, and may use the same names; a menu is a window of
    // its own but part of this one.
    for (const QObject* o = child->parent(); o != nullptr && o != &window_; o = o->parent()) {
        const auto* widget = qobject_cast<const QWidget*>(o);
        if (widget != nullptr && widget->isWindow() &&
            qobject_cast<const QMenu*>(widget) == nullptr)
            return false;
    }
    return !(child->isWidgetType() && static_cast<const QWidget*>(child)->isWindow() &&
             qobject_cast<const QMenu*>(child) == nullptr);
}

QWidget* WindowBinding::Control(std::string_view name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

QAction* WindowBinding::MenuItem(std::string_view name) const {
    auto it = menuItems_.find(name);
    return it == menuItems_.end() ? nullptr : it->second;
}

bool WindowBinding::Shows(std::string_view name) const {
    return name == windowName_ || Control(name) != nullptr || MenuItem(name) != nullptr;
}

std::vector<std::string> WindowBinding::NamesWithoutControl() const {
    std::vector<std::string> names;
    table_.ForEachChangedSince(0, [&](const std::string& name, const ControlState&) {
        if (!Shows(name)) names.push_back(name);
    });
    return names;
}

void WindowBinding::Apply() {
    table_.ForEachChangedSince(
        appliedRevision_, [this](const std::string& name, const ControlState& s) {
            if (name == windowName_) {
                ApplyToWindow(s);
            } else if (QAction* item = MenuItem(name)) {
                if (s.Has(ControlState::kText)) item->setText(ShownText(s.text));
                if (s.Has(ControlState::kChecked)) item->setChecked(s.checked);
                if (s.Has(ControlState::kEnabled)) item->setEnabled(s.enabled);
            } else if (QWidget* widget = Control(name)) {
                ApplyToWidget(widget, s);
            } else if (warned_.insert(name).second) {
                qWarning("zelsim: no control of %s is named %s", windowName_.c_str(), name.c_str());
            }
        });
    appliedRevision_ = table_.Revision();
}

void WindowBinding::ApplyToWindow(const ControlState& s) {
    if (s.Has(ControlState::kText)) window_.setWindowTitle(ShownText(s.text));
    if (s.Has(ControlState::kSize) && sizing_ == Sizing::kFixed &&
        client_.size() != QSize(s.width, s.height)) {
        client_.setFixedSize(s.width, s.height);
        window_.adjustSize();
    }
    // As with the place: a size the user gave stays until core names a
    // new one.
    if (s.Has(ControlState::kMinimum)) client_.setMinimumSize(s.minWidth, s.minHeight);
    if (s.Has(ControlState::kSize) && sizing_ == Sizing::kResizable &&
        sized_ != std::pair{s.width, s.height}) {
        sized_ = std::pair{s.width, s.height};
        if (&client_ == &window_)
            window_.resize(s.width, s.height);
        else {
            // The client inside a frame of menus and bars: the window grows
            // by as much, measured once the frame is laid out.
            if (window_.layout() != nullptr) window_.layout()->activate();
            window_.resize(window_.size() + QSize(s.width, s.height) - client_.size());
        }
    }
    // Placed where core says only when core says something new: a caption
    // changing must not take the window back from where the user moved it.
    // Placed after it is sized, so that it lies whole on a screen.
    if (s.Has(ControlState::kPos) && placed_ != std::pair{s.left, s.top}) {
        placed_ = std::pair{s.left, s.top};
        const QPoint stored(s.left, s.top);
        const QPoint at = OnAScreen(stored, window_.frameGeometry().size(), false);
        window_.move(at);
        // Moved onto a screen before its frame was known: once shown, the
        // frame is taken into account too.
        unframed_ = at != stored;
    }
    // A secondary window is shown and hidden by its part.
    if (s.Has(ControlState::kVisible) && window_.isVisible() != s.visible) {
        window_.setVisible(s.visible);
        if (s.visible && unframed_) {
            unframed_ = false;
            window_.move(OnAScreen(window_.pos(), window_.frameGeometry().size(), true));
        }
        if (s.visible) {
            window_.raise();
            window_.activateWindow();
        }
    }
}

void WindowBinding::ApplyToWidget(QWidget* widget, const ControlState& s) {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // Mirroring the box must not echo back into it as an edit.
        const QSignalBlocker blockCombo(combo);
        const QSignalBlocker blockEdit(combo->lineEdit());
        if (s.Has(ControlState::kItems)) {
            QStringList items;
            for (const std::string& item : s.items) items << Latin1Text(item);
            bool same = combo->count() == items.size();
            for (int i = 0; same && i < combo->count(); ++i) same = combo->itemText(i) == items[i];
            if (!same) {
                combo->clear();  // clears the edit field too: the text follows
                combo->addItems(items);
            }
        }
        if (s.Has(ControlState::kText) && combo->currentText() != Latin1Text(s.text))
            combo->setEditText(Latin1Text(s.text));
        if (s.Has(ControlState::kSelected) && s.selected) combo->lineEdit()->selectAll();
    } else if (s.Has(ControlState::kText)) {
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            button->setText(ShownText(s.text));
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(ShownText(s.text));
            // A text longer than its place (a long script line) is there
            // whole when the pointer rests on it.
            if (!s.Has(ControlState::kHint))
                label->setToolTip(Cut(label) ? label->text() : QString());
        }
    }
    if (auto* bar = qobject_cast<QProgressBar*>(widget); bar && s.Has(ControlState::kBar)) {
        bar->setMaximum(s.maximum);
        bar->setValue(s.position);
    }
    // A scroll bar's maximum is its last position; placing it is no move
    // of the user's.
    if (auto* slider = qobject_cast<QAbstractSlider*>(widget);
        slider && s.Has(ControlState::kBar)) {
        const QSignalBlocker block(slider);
        slider->setRange(0, s.maximum);
        slider->setValue(s.position);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget);
        button && button->isCheckable() && s.Has(ControlState::kChecked))
        button->setChecked(s.checked);
    if (s.Has(ControlState::kHint)) widget->setToolTip(ShownText(s.hint));
    if (s.Has(ControlState::kColour)) {
        QPalette palette = widget->palette();
        const QColor background = QtColour(s.colour);
        palette.setColor(QPalette::Window, background);
        // The text stays readable on a dark background (a running button's tag).
        palette.setColor(QPalette::WindowText,
                         background.lightness() < kDarkBelow ? Qt::white : Qt::black);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }
    if (s.Has(ControlState::kAlert)) {
        QPalette palette = widget->palette();
        palette.setColor(
            QPalette::WindowText,
            s.alert ? QtColour(kAlertColour) : QApplication::palette().color(QPalette::WindowText));
        widget->setPalette(palette);
    }
    if (s.Has(ControlState::kPos)) widget->move(s.left, s.top);
    if (s.Has(ControlState::kSize)) widget->resize(s.width, s.height);
    if (s.Has(ControlState::kEnabled)) widget->setEnabled(s.enabled);
    if (s.Has(ControlState::kVisible)) widget->setVisible(s.visible);
}

}  // namespace zelsim
