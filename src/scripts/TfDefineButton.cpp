#include "scripts/TfDefineButton.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "base/ShownText.h"
#include "scripts/UserButtons.h"

namespace zelsim {

namespace {
constexpr int kMargin = 8;
constexpr int kWidth = 420;
constexpr int kLabelHeight = 16;
constexpr int kEditHeight = 24;
constexpr int kMemoHeight = 260;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kFontPointSize = 10;

QFont FixedPitch() {
    QFont font("Courier New", kFontPointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}
}  // namespace

TfDefineButton::TfDefineButton(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(fDefineButton);
    setWindowTitle(kCaption);
    const int inner = kWidth - 2 * kMargin;
    int y = kMargin;

    auto* captionLabel = new QLabel("Button Caption", this);
    captionLabel->setGeometry(kMargin, y, inner, kLabelHeight);
    y += kLabelHeight + 2;
    ebButtonCaption_ = new QLineEdit(this);
    ebButtonCaption_->setObjectName(ebButtonCaption);
    ebButtonCaption_->setFont(FixedPitch());
    ebButtonCaption_->setGeometry(kMargin, y, inner, kEditHeight);
    captionLabel->setBuddy(ebButtonCaption_);
    y += kEditHeight + kMargin;

    auto* scriptLabel = new QLabel("Button Scipt", this);  // as it has always read
    scriptLabel->setGeometry(kMargin, y, inner, kLabelHeight);
    y += kLabelHeight + 2;
    memoButtonText_ = new QPlainTextEdit(this);
    memoButtonText_->setObjectName(memoButtonText);
    memoButtonText_->setFont(FixedPitch());
    memoButtonText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoButtonText_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoButtonText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoButtonText_->setTabChangesFocus(true);
    memoButtonText_->setGeometry(kMargin, y, inner, kMemoHeight);
    memoButtonText_->installEventFilter(this);
    y += kMemoHeight + kMargin;

    bOk_ = new QPushButton("&OK", this);
    bOk_->setObjectName(bOk);
    bOk_->setDefault(true);
    bCancel_ = new QPushButton("Cancel", this);
    bCancel_->setObjectName(bCancel);
    bCancel_->setGeometry(kWidth - kMargin - kButtonWidth, y, kButtonWidth, kButtonHeight);
    bOk_->setGeometry(bCancel_->x() - kMargin - kButtonWidth, y, kButtonWidth, kButtonHeight);
    connect(bOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(bCancel_, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(kWidth, y + kButtonHeight + kMargin);
}

bool TfDefineButton::Edit(UserButtons& buttons, int position, QWidget* parent,
                          const std::function<void(bool)>& keysToWindow) {
    const ButtonDefinition* definition = buttons.DefinitionAt(position);
    if (definition == nullptr) return false;
    TfDefineButton dialog(parent);
    dialog.Fill(definition->caption, definition->script);
    dialog.move(buttons.DefineButtonLeft(), buttons.DefineButtonTop());
    keysToWindow(false);
    const bool ok = dialog.exec() == QDialog::Accepted;
    buttons.SetDefineButtonPlace(dialog.x(), dialog.y());
    keysToWindow(true);
    if (ok) buttons.DefineButton(position, dialog.Caption(), dialog.ScriptText());
    return ok;
}

void TfDefineButton::Fill(const std::string& caption, const std::vector<std::string>& script) {
    ebButtonCaption_->setText(ShownText(caption));
    QStringList lines;
    // Script lines are the line's bytes: one character each.
    for (const std::string& line : script) lines << Latin1Text(line);
    memoButtonText_->clear();
    memoButtonText_->setPlainText(lines.join('\n'));
}

std::string TfDefineButton::Caption() const {
    return TypedText(ebButtonCaption_->text());
}

std::string TfDefineButton::ScriptText() const {
    return TypedText(memoButtonText_->toPlainText());
}

bool TfDefineButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memoButtonText_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & Qt::ControlModifier)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zelsim
