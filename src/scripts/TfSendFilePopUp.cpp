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

TfSendFilePopUp::TfSendFilePopUp(int lineDelay, int stallSeconds, QWidget* parent)
    : QDialog(parent), lineDelay_(lineDelay), stallSeconds_(stallSeconds) {
    setObjectName(fSendFilePopUp);
    setWindowTitle(kCaption);
    int y = kMargin;
    ebMsDelayBetweenLines_ = new QLineEdit(QString::number(lineDelay), this);
    ebMsDelayBetweenLines_->setObjectName(ebMsDelayBetweenLines);
    int width = AddRow(ebMsDelayBetweenLines_, "millisecond delay between lines", y);
    y += kEditHeight + kMargin;
    ebStallSeconds_ = new QLineEdit(QString::number(stallSeconds), this);
    ebStallSeconds_->setObjectName(ebStallSeconds);
    width = std::max(
        width,
        AddRow(ebStallSeconds_, "seconds without an answer before a transfer fails (0: never)", y));
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

int TfSendFilePopUp::AddRow(QLineEdit* edit, const char* words, int y) {
    edit->setGeometry(kMargin, y, kEditWidth, kEditHeight);
    auto* label = new QLabel(words, this);
    // As wide and as tall as its words in the font the desktop gives it.
    const QSize size = label->sizeHint();
    label->setGeometry(kMargin + kEditWidth + kMargin, y + (kEditHeight - size.height()) / 2,
                       size.width(), size.height());
    label->setBuddy(edit);
    return std::max(kWidth, kEditWidth + size.width() + 3 * kMargin);
}

bool TfSendFilePopUp::Edit(FileSender& sender, QWidget* parent) {
    if (!sender.LineDelayEditable()) return false;
    TfSendFilePopUp dialog(sender.LineDelay(), sender.StallSeconds(), parent);
    dialog.move(sender.PopupLeft(), sender.PopupTop());
    const bool ok = dialog.exec() == QDialog::Accepted;
    sender.SetPopupPlace(dialog.x(), dialog.y());
    if (ok) {
        sender.SetLineDelay(dialog.LineDelay());
        if (dialog.StallSeconds() != sender.StallSeconds())
            sender.SetStallSeconds(dialog.StallSeconds());
    }
    return ok;
}

std::optional<int> TfSendFilePopUp::ParseDelay(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

void TfSendFilePopUp::Refuse(QLineEdit* edit, const QString& message) {
    // The value is kept; the user may correct the text or cancel.
    QMessageBox::warning(this, kCaption, message.arg(edit->text()));
    edit->setFocus();
    edit->selectAll();
}

void TfSendFilePopUp::bClickOk() {
    const std::optional<int> delay = ParseDelay(ebMsDelayBetweenLines_->text());
    if (!delay) {
        Refuse(ebMsDelayBetweenLines_, kNotANumber);
        return;
    }
    const std::optional<int> stall = ParseDelay(ebStallSeconds_->text());
    if (!stall || *stall < 0) {
        Refuse(ebStallSeconds_, kNotAStallTime);
        return;
    }
    lineDelay_ = *delay;
    stallSeconds_ = *stall;
    accept();
}

}  // namespace zelsim
