#pragma once
#include <QObject>

class QMenu;

namespace zelsim {

class MessageLog;

// Fills the "Logging Options" menu: the columns, the categories, the
// append/overwrite pair, the prompt, and the file's sequence, erase and view
// commands, each handed to the message log. Check marks and enabled states
// follow the control table.
class MessageLogMenu : public QObject {
    Q_OBJECT
  public:
    MessageLogMenu(MessageLog& log, QMenu* menu, QObject* parent = nullptr);

  signals:
    // The user chose an item: the window applies what changed.
    void acted();
};

}  // namespace zelsim
