#include "scripts/FileSendPanel.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "base/MainWindowControls.h"

namespace zelsim {

namespace {
namespace mw = main_window;

QString NameOf(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}
}  // namespace

FileSendPanel::FileSendPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(NameOf(mw::pFileSendPanel));
    // It stands over the monitor's lines: they must not show through.
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    hide();  // until a file is sent

    bCancelFile_ = new QPushButton("Cancel File", this);
    bCancelFile_->setObjectName(NameOf(mw::bCancelFile));
    bCancelFile_->setFocusPolicy(Qt::TabFocus);
    lSendFilePB_ = new QLabel(this);
    lSendFilePB_->setObjectName(NameOf(mw::lSendFilePB));
    pbSendFile_ = new QProgressBar(this);
    pbSendFile_->setObjectName(NameOf(mw::pbSendFile));
    pbSendFile_->setRange(0, 100);
    lSendFileInfoPB_ = new QLabel(this);
    lSendFileInfoPB_->setObjectName(NameOf(mw::lSendFileInfoPB));
    // The file's time ends in a line feed: its first line stays in view.
    for (QLabel* label : {lSendFilePB_, lSendFileInfoPB_})
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

}  // namespace zelsim
