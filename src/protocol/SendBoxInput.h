#pragma once
#include <QObject>

class QComboBox;
class QKeyEvent;
class QPushButton;

namespace zelsim {

class SendBox;

// The window side of the send box: the combo box's keys, focus changes,
// edits and context menu, and the Send and Add CkSum buttons, all handed to
// the SendBox. What the box shows comes back through the control table.
class SendBoxInput : public QObject {
    Q_OBJECT
  public:
    SendBoxInput(SendBox& box, QComboBox* combo, QPushButton* send, QPushButton* addChecksum,
                 QObject* parent = nullptr);

  signals:
    // The box acted: the window applies what changed.
    void acted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // cbKeyPressHandler; true when the key was used up here.
    bool KeyPress(QKeyEvent* event);

    SendBox& box_;
    QComboBox* combo_;
};

}  // namespace zelsim
