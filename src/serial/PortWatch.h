#pragma once
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace zelsim {

class Connection;

// Tells the connection which serial devices the machine has whenever the
// system adds or removes one: a watch on the device folder, which costs
// nothing while nothing is plugged in or out, instead of a rescan on a timer.
class PortWatch : public QObject {
    Q_OBJECT
  public:
    // The system names a new adapter's links a moment after its device: a
    // burst of changes is looked at once, when it has settled.
    static constexpr int kSettleMs = 300;

    explicit PortWatch(Connection& connection, QObject* parent = nullptr);

    // Looks at the devices now (when the COM menu opens, and after a change).
    void Rescan();

  signals:
    // The COM numbers and the menu may have changed.
    void rescanned();

  private:
    void Watch();

    Connection& connection_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

}  // namespace zelsim
