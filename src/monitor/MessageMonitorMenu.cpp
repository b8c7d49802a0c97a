#include "monitor/MessageMonitorMenu.h"

#include <QAction>
#include <QMenu>

#include "base/ShownText.h"
#include "monitor/MessageMonitor.h"

namespace zelsim {

MessageMonitorMenu::MessageMonitorMenu(MessageMonitor& monitor, QMenu* menu, QObject* parent)
    : QObject(parent) {
    int index = 0;
    for (const MonitorOptionItem& item : kMonitorOptionItems) {
        if (index++ == kMonitorFilterItems) menu->addSeparator();
        QAction* action = menu->addAction(item.caption);
        action->setObjectName(Latin1Text(item.menuItem));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this,
                [this, &monitor, flag = item.flag](bool checked) {
                    monitor.SetOption(flag, checked);
                    emit acted();
                });
        if (item.menuItem == main_window::mMsgMonTime) mMsgMonTime_ = action;
    }
}

}  // namespace zelsim
