#include "monitor/MessageMonitorMenu.h"

#include <QAction>
#include <QMenu>

#include "monitor/MessageMonitor.h"

MessageMonitorMenu::MessageMonitorMenu(MessageMonitor& monitor, QMenu* menu, QObject* parent)
    : QObject(parent) {
    MessageMonitor& m = monitor;
    AddItem(menu, "mMsgMonOutGoingMessages", "Out-Going Messages", &m.options.msgMonOutGoingMessages,
            false);
    AddItem(menu, "mMsgMonZelMessages", "ZEL Messages", &m.options.msgMonZelMessages, false);
    AddItem(menu, "mMsgMonDgpsMessages", "DGPS Messages", &m.options.msgMonDgpsMessages, false);
    AddItem(menu, "mMsgMonLbMessages", "Light Bar Messages", &m.options.msgMonLbMessages, false);
    AddItem(menu, "mMsgMonDormalynMessages", "Dormalyn Messages", &m.options.msgMonDormalynMessages, false);
    AddItem(menu, "mMsgMonNonNmeaMessages", "Non-NMEA Messages", &m.options.msgMonNonNmeaMessages, false);
    AddItem(menu, "mMsgMonOtherMessages", "Other Messages", &m.options.msgMonOtherMessages, false);
    menu->addSeparator();
    AddItem(menu, "mMsgMonHide", "Hide", &m.options.hideMessageMonitor, true);
    AddItem(menu, "mMsgMonBig", "Big", &m.options.messageMonitorBig, true);
    AddItem(menu, "mMsgMonUpperCase", "Convert Keys to Upper Case", &m.options.messageMonitorUpperCase,
            false);
    mMsgMonTime_ = AddItem(menu, "mMsgMonTime", "Time", &m.options.msgMonTime, false);
    AddItem(menu, "mMsgMonTickCount", "Tick Count (milliseconds)", &m.options.msgMonTickCount, false);
}

QAction* MessageMonitorMenu::AddItem(QMenu* menu, const char* name, const char* caption, bool* flag,
                                     bool relayout) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(*flag);
    connect(action, &QAction::toggled, this, [this, flag, relayout](bool checked) {
        *flag = checked;
        if (relayout) emit layoutChanged();
    });
    items_.push_back({action, flag});
    return action;
}

void MessageMonitorMenu::SyncFromOptions() {
    for (const Binding& item : items_) {
        const QSignalBlocker blocker(item.action);
        item.action->setChecked(*item.flag);
    }
}

QAction* MessageMonitorMenu::Item(const QString& name) const {
    for (const Binding& item : items_)
        if (item.action->objectName() == name) return item.action;
    return nullptr;
}
