#include "monitor/TfShowMessageMonColors.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>

#include "base/QtColour.h"
#include "base/ShownText.h"
#include "monitor/MessageCategory.h"

namespace zelsim {

namespace {
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
}  // namespace

TfShowMessageMonColors::TfShowMessageMonColors(QWidget* parent) : QDialog(parent) {
    setObjectName(fShowMessageMonColors);
    setWindowTitle(kCaption);
    font_ = QFont("Courier New");
    font_.setPixelSize(kFontPixels);
    font_.setStyleHint(QFont::TypeWriter);

    const int listHeight = MessageCategory::kLegendRowCount * kRowHeight;
    lbMsgMonColors_ = new QWidget(this);
    lbMsgMonColors_->setObjectName(lbMsgMonColors);
    lbMsgMonColors_->setGeometry(kMargin, kMargin, kListWidth, listHeight);
    lbMsgMonColors_->installEventFilter(this);

    bOk_ = new QPushButton("OK", this);
    bOk_->setObjectName(bOk);
    const int buttonTop = kMargin + listHeight + kMargin;
    bOk_->setGeometry(kMargin + (kListWidth - kButtonWidth) / 2, buttonTop, kButtonWidth,
                      kButtonHeight);
    bOk_->setDefault(true);
    connect(bOk_, &QPushButton::clicked, this, &TfShowMessageMonColors::bClickOk);

    setFixedSize(kListWidth + 2 * kMargin, buttonTop + kButtonHeight + kMargin);
}

bool TfShowMessageMonColors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbMsgMonColors_ && event->type() == QEvent::Paint) {
        QPainter painter(lbMsgMonColors_);
        painter.fillRect(lbMsgMonColors_->rect(), Qt::white);
        for (int row = 0; row < MessageCategory::kLegendRowCount; ++row)
            lbDrawItemWithColor(painter, row,
                                QRect(0, row * kRowHeight, lbMsgMonColors_->width(), kRowHeight));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfShowMessageMonColors::lbDrawItemWithColor(QPainter& painter, int row, const QRect& rect) {
    const MessageCategory::LegendRow& entry = MessageCategory::kLegend[row];
    painter.fillRect(rect, QtColour(MessageCategory::kBackground));
    painter.setPen(QtColour(MessageCategory::ColourOf(entry.code)));
    painter.setFont(font_);
    painter.drawText(rect.adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     Latin1Text(entry.text));
}

void TfShowMessageMonColors::bClickOk() {
    accept();
}

}  // namespace zelsim
