#pragma once
#include <QObject>

class QAction;
class QMenu;

namespace zelsim {

class MessageMonitor;

// Fills the "Message Monitor Options" menu with the monitor's own items: the
// seven filters, Hide, Big, Time and Tick Count, each a check mark whose
// toggle goes to the monitor. Their check marks follow the control table.
class MessageMonitorMenu : public QObject {
    Q_OBJECT
  public:
    MessageMonitorMenu(MessageMonitor& monitor, QMenu* menu, QObject* parent = nullptr);

    // Where the items of other parts join the menu: before Time.
    QAction* TimeAction() const { return mMsgMonTime_; }

  signals:
    // The user toggled an item: the window applies what changed.
    void acted();

  private:
    QAction* mMsgMonTime_ = nullptr;
};

}  // namespace zelsim
