#include "monitor/MessageMonitorPanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "base/MainWindowControls.h"
#include "base/QtColour.h"
#include "base/ShownText.h"
#include "monitor/MessageMonitor.h"
#include "monitor/MessageMonitorView.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr int kSendDataPointSize = 10;
constexpr Colour kSendDataColour{128, 0, 128};
}  // namespace

MessageMonitorPanel::MessageMonitorPanel(MessageMonitor& monitor, QWidget* parent)
    : QWidget(parent) {
    setObjectName(Latin1Text(mw::pMessageMonitorPanel));
    lbMessageMonitor_ = new MessageMonitorView(monitor, this);

    cbSendData_ = new QComboBox(this);
    cbSendData_->setObjectName(Latin1Text(mw::cbSendData));
    cbSendData_->setEditable(true);
    cbSendData_->setInsertPolicy(QComboBox::NoInsert);
    cbSendData_->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    QFont font("Courier New", kSendDataPointSize);
    font.setBold(true);
    font.setStyleHint(QFont::TypeWriter);
    cbSendData_->setFont(font);
    QPalette palette = cbSendData_->palette();
    palette.setColor(QPalette::Text, QtColour(kSendDataColour));
    palette.setColor(QPalette::ButtonText, QtColour(kSendDataColour));
    cbSendData_->setPalette(palette);

    bSendData_ = MakeButton(mw::bSendData, "Send");
    bPause_ = MakeButton(mw::bPause, MessageMonitor::kPauseCaption);
    bClear_ = MakeButton(mw::bClear, "Clear");
    bSendFile_ = MakeButton(mw::bSendFile, "Send File");
    bAddCkSum_ = MakeButton(mw::bAddCkSum, "Add CkSum");
}

QPushButton* MessageMonitorPanel::MakeButton(std::string_view name, const char* caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(Latin1Text(name));
    button->setFocusPolicy(Qt::NoFocus);  // the box keeps the focus
    return button;
}

}  // namespace zelsim
