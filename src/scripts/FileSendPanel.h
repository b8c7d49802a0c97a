#pragma once
#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zelsim {

// pFileSendPanel: shown while a file is sent, over the monitor's list: the
// file's name (lSendFilePB), its progress in percent (pbSendFile), its size
// and time (lSendFileInfoPB) and Cancel File (bCancelFile). What they say
// and where they sit comes from the control table; the click is the
// window's.
class FileSendPanel : public QFrame {
    Q_OBJECT
  public:
    explicit FileSendPanel(QWidget* parent = nullptr);

    QPushButton* CancelButton() const { return bCancelFile_; }
    QProgressBar* Progress() const { return pbSendFile_; }

  private:
    QPushButton* bCancelFile_;
    QLabel* lSendFilePB_;
    QProgressBar* pbSendFile_;
    QLabel* lSendFileInfoPB_;
};

}  // namespace zelsim
