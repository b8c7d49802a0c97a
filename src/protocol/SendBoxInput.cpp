#include "protocol/SendBoxInput.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "base/ShownText.h"
#include "protocol/SendBox.h"

namespace zelsim {

namespace {
// The character a key press types, as the box's key handler sees it; 0 for
// keys that type nothing (arrows, Delete, function keys).
char TypedCharacter(const QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return SendBox::kEnter;
    if (key == Qt::Key_Escape) return SendBox::kEscape;
    if (key == Qt::Key_Backspace) return SendBox::kBackspace;
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<char>(key - Qt::Key_A + 1);
    const QString text = event->text();
    if (text.size() != 1 || key == Qt::Key_Delete) return 0;
    const char16_t c = text.at(0).unicode();
    if (c == 0 || c > 0xFF) return 0;
    return static_cast<char>(c);
}
}  // namespace

SendBoxInput::SendBoxInput(SendBox& box, QComboBox* combo, QPushButton* send,
                           QPushButton* addChecksum, QObject* parent)
    : QObject(parent), box_(box), combo_(combo) {
    // The combo box holds the focus and hands keys and focus changes to its
    // edit field directly, past any filter on the field; the field itself
    // sees only what is aimed at it (its context menu, a test's keys).
    combo_->installEventFilter(this);
    combo_->lineEdit()->installEventFilter(this);
    connect(combo_->lineEdit(), &QLineEdit::textChanged, this,
            [this](const QString& text) { box_.SetText(TypedText(text)); });
    connect(send, &QPushButton::clicked, this, [this] {
        box_.Send();
        emit acted();
    });
    connect(addChecksum, &QPushButton::clicked, this, [this] {
        box_.AddChecksum();
        emit acted();
    });
}

bool SendBoxInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched != combo_ && watched != combo_->lineEdit())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress:
            return KeyPress(static_cast<QKeyEvent*>(event));
        case QEvent::FocusIn:
            box_.FocusIn();  // cbSendDataOnEnter
            emit acted();
            break;
        case QEvent::FocusOut:
            // The drop-down list taking the focus is still the box; so is
            // another window taking it (a dialog, another program): the box
            // stays the window's focus and has the keys again when the
            // window is back, which a session without a window manager
            // never announces with a focus event.
            if (const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                box_.FocusOut();  // cbSendDataOnExit
                emit acted();
            }
            break;
        case QEvent::ContextMenu:
            box_.ContextMenu();  // cbContextPopUp; the edit's own menu follows
            emit acted();
            break;
        default:
            break;
    }
    return false;
}

bool SendBoxInput::KeyPress(QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) return false;
    const char typed = TypedCharacter(event);
    if (typed == 0) return false;
    const std::optional<char> passed = box_.KeyPress(typed);
    if (passed && *passed == typed) return false;  // the edit field handles it as usual
    if (passed) combo_->lineEdit()->insert(QString(QChar::fromLatin1(*passed)));
    emit acted();
    return true;
}

}  // namespace zelsim
