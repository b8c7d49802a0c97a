#include "monitor/MessageMonitorPanel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "monitor/MessageMonitor.h"
#include "monitor/MessageMonitorView.h"
#include "protocol/SendBox.h"

namespace {

constexpr int kSendDataTop = 255;  // the combo sits one pixel below the buttons
constexpr int kButtonTop = 254;
constexpr int kButtonHeight = 25;
constexpr int kSendDataWidth = 404;
constexpr int kSendDataHeight = 24;
const QColor kSendDataColour(128, 0, 128);

struct ButtonPlace {
    int left;
    int width;
};
constexpr ButtonPlace kSendPlace{414, 60};
constexpr ButtonPlace kPausePlace{478, 60};
constexpr ButtonPlace kClearPlace{542, 60};
constexpr ButtonPlace kSendFilePlace{606, 70};
constexpr ButtonPlace kAddCkSumPlace{680, 70};

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

MessageMonitorPanel::MessageMonitorPanel(MessageMonitor& monitor, SendBox& sendBox, QWidget* parent)
    : QWidget(parent), monitor_(monitor), sendBox_(sendBox) {
    setObjectName("pMessageMonitorPanel");
    lbMessageMonitor_ = new MessageMonitorView(monitor_, this);

    cbSendData_ = new QComboBox(this);
    cbSendData_->setObjectName("cbSendData");
    cbSendData_->setEditable(true);
    cbSendData_->setInsertPolicy(QComboBox::NoInsert);
    cbSendData_->setMaxVisibleItems(static_cast<int>(SendBox::kHistoryLimit));
    cbSendData_->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    QFont font("Courier New", 10);
    font.setBold(true);
    font.setStyleHint(QFont::TypeWriter);
    cbSendData_->setFont(font);
    QPalette palette = cbSendData_->palette();
    palette.setColor(QPalette::Text, kSendDataColour);
    palette.setColor(QPalette::ButtonText, kSendDataColour);
    cbSendData_->setPalette(palette);
    // The combo box holds the focus and hands keys and focus changes to its
    // edit field directly, past any filter on the field; the field itself
    // sees only what is aimed at it (its context menu, a test's keys).
    cbSendData_->installEventFilter(this);
    cbSendData_->lineEdit()->installEventFilter(this);
    connect(cbSendData_->lineEdit(), &QLineEdit::textChanged, this,
            [this](const QString& text) { sendBox_.SetText(text.toLatin1().toStdString()); });

    bSendData_ = MakeButton("bSendData", "Send", kSendPlace.left, kSendPlace.width);
    bPause_ =
        MakeButton("bPause", MessageMonitor::kPauseCaption, kPausePlace.left, kPausePlace.width);
    bClear_ = MakeButton("bClear", "Clear", kClearPlace.left, kClearPlace.width);
    bSendFile_ = MakeButton("bSendFile", "Send File", kSendFilePlace.left, kSendFilePlace.width);
    bAddCkSum_ = MakeButton("bAddCkSum", "Add CkSum", kAddCkSumPlace.left, kAddCkSumPlace.width);
    bSendFile_->setEnabled(false);  // until files can be sent
    connect(bSendData_, &QPushButton::clicked, this, &MessageMonitorPanel::bClickSendData);
    connect(bAddCkSum_, &QPushButton::clicked, this, &MessageMonitorPanel::bClickAddCkSum);
    connect(bPause_, &QPushButton::clicked, this, &MessageMonitorPanel::bClickPause);
    connect(bClear_, &QPushButton::clicked, this, &MessageMonitorPanel::bClickClear);

    connect(lbMessageMonitor_, &MessageMonitorView::modelChanged, this,
            &MessageMonitorPanel::MirrorMonitor);

    Relayout();
    SyncFromSendBox();
}

QPushButton* MessageMonitorPanel::MakeButton(const char* name, const char* caption, int left,
                                             int width) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);  // the box keeps the focus
    button->setGeometry(left, kButtonTop, width, kButtonHeight);
    return button;
}

void MessageMonitorPanel::Relayout() {
    if (monitor_.options.hideMessageMonitor) {
        hide();
        return;
    }
    const int height = kDesignHeight + (monitor_.options.messageMonitorBig ? kBigExtra : 0);
    resize(kDesignWidth, height);
    lbMessageMonitor_->setGeometry(kListLeft, kListTop, kDesignWidth - 2 * kListLeft,
                                   height - kListTop - kListBottomMargin);
    const int rowTop = height - kSendRowDistance;
    const int shift = rowTop - kButtonTop;
    cbSendData_->setGeometry(kListLeft, kSendDataTop + shift, kSendDataWidth, kSendDataHeight);
    for (QPushButton* button : {bSendData_, bPause_, bClear_, bSendFile_, bAddCkSum_})
        button->move(button->x(), rowTop);
    show();
}

void MessageMonitorPanel::SyncFromSendBox() {
    if (sendBox_.Revision() == shownSendBoxRevision_) return;
    shownSendBoxRevision_ = sendBox_.Revision();

    // Rebuilding the list clears the edit field; neither may echo back into
    // the box while its state is being mirrored.
    QLineEdit* edit = cbSendData_->lineEdit();
    const QSignalBlocker blockCombo(cbSendData_);
    const QSignalBlocker blockEdit(edit);
    const std::vector<std::string>& history = sendBox_.History();
    bool same = cbSendData_->count() == static_cast<int>(history.size());
    for (int i = 0; same && i < cbSendData_->count(); ++i)
        same = cbSendData_->itemText(i) == QString::fromLatin1(history[i]);
    if (!same) {
        cbSendData_->clear();
        for (const std::string& line : history) cbSendData_->addItem(QString::fromLatin1(line));
    }
    const QString text = QString::fromLatin1(sendBox_.Text());
    if (edit->text() != text) edit->setText(text);
    cbSendData_->setToolTip(sendBox_.HintShown() ? QString(SendBox::kHint) : QString());
}

void MessageMonitorPanel::MirrorMonitor() {
    bPause_->setText(monitor_.PauseCaption());
    SyncFromSendBox();
}

bool MessageMonitorPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != cbSendData_ && watched != cbSendData_->lineEdit())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress:
            return cbKeyPressHandler(static_cast<QKeyEvent*>(event));
        case QEvent::FocusIn:
            sendBox_.FocusIn();  // cbSendDataOnEnter
            SyncFromSendBox();
            break;
        case QEvent::FocusOut:
            // The drop-down list taking the focus is still the box.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
                sendBox_.FocusOut();  // cbSendDataOnExit
                SyncFromSendBox();
            }
            break;
        case QEvent::ContextMenu:
            sendBox_.ContextMenu();  // cbContextPopUp; the edit's own menu follows
            break;
        default:
            break;
    }
    return false;
}

bool MessageMonitorPanel::cbKeyPressHandler(QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) return false;
    const char typed = TypedCharacter(event);
    if (typed == 0) return false;
    const std::optional<char> passed = sendBox_.KeyPress(typed);
    if (passed && *passed == typed) return false;  // the edit field handles it as usual
    if (passed) cbSendData_->lineEdit()->insert(QString(QChar::fromLatin1(*passed)));
    lbMessageMonitor_->Refresh();
    MirrorMonitor();
    return true;
}

void MessageMonitorPanel::bClickSendData() {
    sendBox_.Send();
    lbMessageMonitor_->Refresh();
    MirrorMonitor();
}

void MessageMonitorPanel::bClickAddCkSum() {
    sendBox_.AddChecksum();
    SyncFromSendBox();
}

void MessageMonitorPanel::bClickPause() {
    monitor_.TogglePause();
    lbMessageMonitor_->Refresh();
    MirrorMonitor();
}

void MessageMonitorPanel::bClickClear() {
    monitor_.ClearMonitor();
    lbMessageMonitor_->Refresh();
}
