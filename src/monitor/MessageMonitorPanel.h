#pragma once
#include <QWidget>
#include <cstdint>

class MessageMonitor;
class MessageMonitorView;
class QComboBox;
class QPushButton;
class SendBox;

// pMessageMonitorPanel: the monitor list with the send row under it
// (cbSendData, Send, Pause, Clear, Send File, Add CkSum). Its handlers
// forward to the core MessageMonitor and SendBox and mirror their state.
class MessageMonitorPanel : public QWidget {
    Q_OBJECT
  public:
    // Design layout; Big makes the panel and its list taller.
    static constexpr int kDesignWidth = 760;
    static constexpr int kDesignHeight = 295;
    static constexpr int kListLeft = 8;
    static constexpr int kListTop = 0;
    static constexpr int kListBottomMargin = 45;  // 295 - 0 - 250
    static constexpr int kSendRowDistance = 41;   // from the panel's bottom to the buttons
    static constexpr int kBigExtra = 120;

    MessageMonitorPanel(MessageMonitor& monitor, SendBox& sendBox, QWidget* parent = nullptr);

    // After Hide or Big changed, and at start-up.
    void Relayout();
    // Mirrors the send box's text, history and hint into the combo box.
    void SyncFromSendBox();

    MessageMonitorView* View() const { return lbMessageMonitor_; }
    QComboBox* SendData() const { return cbSendData_; }
    QPushButton* SendFileButton() const { return bSendFile_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool cbKeyPressHandler(QKeyEvent* event);
    void bClickSendData();
    void bClickAddCkSum();
    void bClickPause();
    void bClickClear();
    void MirrorMonitor();
    QPushButton* MakeButton(const char* name, const char* caption, int left, int width);

    MessageMonitor& monitor_;
    SendBox& sendBox_;
    MessageMonitorView* lbMessageMonitor_;
    QComboBox* cbSendData_;
    QPushButton* bSendData_;
    QPushButton* bPause_;
    QPushButton* bClear_;
    QPushButton* bSendFile_;
    QPushButton* bAddCkSum_;
    uint64_t shownSendBoxRevision_ = UINT64_MAX;
};
