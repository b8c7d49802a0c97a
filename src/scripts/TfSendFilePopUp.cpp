#include "scripts/TfSendFilePopUp.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "scripts/FileSender.h"

namespace zelsim {

namespace {
constexpr int kMargin = 8;
constexpr int kWidth = 260;
constexpr int kLabelHeight = 16;
constexpr int kEditWidth = 80;
constexpr int kEditHeight = 24;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
}  // namespace

TfSendFilePopUp::TfSendFilePopUp(int lineDelay, QWidget* parent)
    : QDialog(parent), lineDelay_(lineDelay) {
    setObjectName(fSendFilePopUp);
    setWindowTitle(kCaption);
    int y = kMargin;
    ebMsDelayBetweenLines_ = new QLineEdit(QString::number(lineDelay), this);
    ebMsDelayBetweenLines_->setObjectName(ebMsDelayBetweenLines);
    ebMsDelayBetweenLines_->setGeometry(kMargin, y, kEditWidth, kEditHeight);
    auto* label = new QLabel("millisecond delay between lines", this);
    // As wide as its words in the font the desktop gives it.
    const int labelWidth = label->sizeHint().width();
    const int width = std::max(kWidth, kEditWidth + labelWidth + 3 * kMargin);
    label->setGeometry(kMargin + kEditWidth + kMargin, y + (kEditHeight - kLabelHeight) / 2,
                       labelWidth, kLabelHeight);
    label->setBuddy(ebMsDelayBetweenLines_);
    y += kEditHeight + 2 * kMargin;

    bOk_ = new QPushButton("Ok", this);
    bOk_->setObjectName(bOk);
    bOk_->setDefault(true);
    bCancel_ = new QPushButton("Cancel", this);
    bCancel_->setObjectName(bCancel);
    bCancel_->setGeometry(width - kMargin - kButtonWidth, y, kButtonWidth, kButtonHeight);
    bOk_->setGeometry(bCancel_->x() - kMargin - kButtonWidth, y, kButtonWidth, kButtonHeight);
    connect(bOk_, &QPushButton::clicked, this, &TfSendFilePopUp::bClickOk);
    connect(bCancel_, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(width, y + kButtonHeight + kMargin);
    ebMsDelayBetweenLines_->selectAll();
}

bool TfSendFilePopUp::Edit(FileSender& sender, QWidget* parent) {
    if (!sender.LineDelayEditable()) return false;
    TfSendFilePopUp dialog(sender.LineDelay(), parent);
    dialog.move(sender.PopupLeft(), sender.PopupTop());
    const bool ok = dialog.exec() == QDialog::Accepted;
    sender.SetPopupPlace(dialog.x(), dialog.y());
    if (ok) sender.SetLineDelay(dialog.LineDelay());
    return ok;
}

std::optional<int> TfSendFilePopUp::ParseDelay(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

void TfSendFilePopUp::bClickOk() {
    const std::optional<int> delay = ParseDelay(ebMsDelayBetweenLines_->text());
    if (!delay) {
        // The delay keeps its value; the user may correct the text or cancel.
        QMessageBox::warning(this, kCaption,
                             QString(kNotANumber).arg(ebMsDelayBetweenLines_->text()));
        ebMsDelayBetweenLines_->setFocus();
        ebMsDelayBetweenLines_->selectAll();
        return;
    }
    lineDelay_ = *delay;
    accept();
}

}  // namespace zelsim
