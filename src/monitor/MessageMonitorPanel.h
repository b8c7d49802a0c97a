#pragma once
#include <QWidget>

class QComboBox;
class QPushButton;

namespace zelsim {

class MessageMonitor;
class MessageMonitorView;

// pMessageMonitorPanel: the monitor list with the send row under it
// (cbSendData, Send, Pause, Clear, Send File, Add CkSum). The panel only
// builds them; where they sit and what they say comes from the control
// table, and their handlers are the window's.
class MessageMonitorPanel : public QWidget {
    Q_OBJECT
  public:
    explicit MessageMonitorPanel(MessageMonitor& monitor, QWidget* parent = nullptr);

    MessageMonitorView* View() const { return lbMessageMonitor_; }
    QComboBox* SendData() const { return cbSendData_; }
    QPushButton* SendButton() const { return bSendData_; }
    QPushButton* PauseButton() const { return bPause_; }
    QPushButton* ClearButton() const { return bClear_; }
    QPushButton* AddChecksumButton() const { return bAddCkSum_; }

  private:
    QPushButton* MakeButton(std::string_view name, const char* caption);

    MessageMonitorView* lbMessageMonitor_;
    QComboBox* cbSendData_;
    QPushButton* bSendData_;
    QPushButton* bPause_;
    QPushButton* bClear_;
    QPushButton* bSendFile_;
    QPushButton* bAddCkSum_;
};

}  // namespace zelsim
