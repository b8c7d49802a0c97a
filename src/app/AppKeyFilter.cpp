#include "app/AppKeyFilter.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/ZelSim.h"
#include "base/MainWindowControls.h"
#include "base/ShownText.h"

namespace zelsim {

AppKeyFilter::AppKeyFilter(ZelSim& zelSim, QWidget* mainWindow, QObject* parent)
    : QObject(parent), zelSim_(zelSim), mainWindow_(mainWindow) {}

bool AppKeyFilter::ForMainWindowControl(QObject* watched) const {
    // A key event is offered to every widget on its way up the parent chain;
    // the hook acts on it once, at the widget that has the focus.
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (QApplication::activePopupWidget() != nullptr) return false;  // a menu is open
    if (qobject_cast<QMenuBar*>(widget) || qobject_cast<QMenu*>(widget)) return false;
    return widget->window() == mainWindow_;
}

KeyHook::Key AppKeyFilter::KeyOf(int qtKey) {
    using Key = KeyHook::Key;
    switch (qtKey) {
        case Qt::Key_Left:
            return Key::Left;
        case Qt::Key_Up:
            return Key::Up;
        case Qt::Key_Right:
            return Key::Right;
        case Qt::Key_Down:
            return Key::Down;
        case Qt::Key_Home:
            return Key::Home;
        case Qt::Key_F1:
            return Key::F1;
        case Qt::Key_F2:
            return Key::F2;
        case Qt::Key_F3:
            return Key::F3;
        case Qt::Key_F4:
            return Key::F4;
        case Qt::Key_F5:
            return Key::F5;
        case Qt::Key_F6:
            return Key::F6;
        case Qt::Key_F7:
            return Key::F7;
        case Qt::Key_F8:
            return Key::F8;
        default:
            return Key::Other;
    }
}

bool AppKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QObject::eventFilter(watched, event);
    if (!ForMainWindowControl(watched)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // Shift with the arrows picks the monitor's rows while it has the focus.
    if (key->modifiers().testFlag(Qt::ShiftModifier) &&
        watched->objectName() == Latin1Text(main_window::lbMessageMonitor))
        return false;
    const KeyHook::Key k = KeyOf(key->key());
    if (k == KeyHook::Key::Other) return false;
    return zelSim_.HandleKey(k, type == QEvent::KeyPress, key->isAutoRepeat());
}

}  // namespace zelsim
