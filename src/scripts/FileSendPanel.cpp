#include "scripts/FileSendPanel.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "base/MainWindowControls.h"
#include "base/ShownText.h"

namespace zelsim {

namespace {
namespace mw = main_window;
}  // namespace

FileSendPanel::FileSendPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(Latin1Text(mw::pFileSendPanel));
    // It stands over the monitor's lines: they must not show through.
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    hide();  // until a file is sent

    bCancelFile_ = new QPushButton("Cancel File", this);
    bCancelFile_->setObjectName(Latin1Text(mw::bCancelFile));
    bCancelFile_->setFocusPolicy(Qt::TabFocus);
    lSendFilePB_ = new QLabel(this);
    lSendFilePB_->setObjectName(Latin1Text(mw::lSendFilePB));
    pbSendFile_ = new QProgressBar(this);
    pbSendFile_->setObjectName(Latin1Text(mw::pbSendFile));
    pbSendFile_->setRange(0, 100);
    lSendFileInfoPB_ = new QLabel(this);
    lSendFileInfoPB_->setObjectName(Latin1Text(mw::lSendFileInfoPB));
    // The file's time ends in a line feed: its first line stays in view.
    for (QLabel* label : {lSendFilePB_, lSendFileInfoPB_})
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

}  // namespace zelsim
