#pragma once
#include <QObject>
#include <vector>

class MessageMonitor;
class QAction;
class QMenu;

// Fills the "Message Monitor Options" menu: the seven filters, Hide, Big,
// Convert Keys to Upper Case, Time and Tick Count, each a check mark bound to
// its flag of the MessageMonitor. The main window adds "Flush Serial Port"
// itself, before TimeAction().
class MessageMonitorMenu : public QObject {
    Q_OBJECT
  public:
    MessageMonitorMenu(MessageMonitor& monitor, QMenu* menu, QObject* parent = nullptr);

    // Sets every check mark from the flags (after the configuration is read).
    void SyncFromOptions();
    QAction* TimeAction() const { return mMsgMonTime_; }
    // By object name ("mMsgMonHide"), or null.
    QAction* Item(const QString& name) const;

  signals:
    // Hide or Big was toggled: the panel and the window must re-lay out.
    void layoutChanged();

  private:
    struct Binding {
        QAction* action;
        bool* flag;
    };
    QAction* AddItem(QMenu* menu, const char* name, const char* caption, bool* flag, bool relayout);

    std::vector<Binding> items_;
    QAction* mMsgMonTime_ = nullptr;
};
