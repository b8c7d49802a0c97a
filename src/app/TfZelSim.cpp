#include "app/TfZelSim.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include "app/MainLayout.h"
#include "app/TfKeyboardShortcuts.h"
#include "app/ZelSim.h"
#include "base/MainWindowControls.h"
#include "base/QtColour.h"
#include "base/ShownText.h"
#include "base/WindowBinding.h"
#include "gps/TfCogDisplay.h"
#include "gps/TfGpsSimulator.h"
#include "gps/TfPositionDeviation.h"
#include "gps/TfSkyView.h"
#include "gps/TfSvStatus.h"
#include "graph/TfGraphicDisplay.h"
#include "monitor/MessageLogMenu.h"
#include "monitor/MessageMonitorMenu.h"
#include "monitor/MessageMonitorPanel.h"
#include "monitor/MessageMonitorView.h"
#include "panel/PanelView.h"
#include "protocol/SendBoxInput.h"
#include "scripts/FileSendPanel.h"
#include "scripts/TfDefineButton.h"
#include "scripts/TfSendFilePopUp.h"
#include "scripts/UserButtonsPanel.h"
#include "serial/PortWatch.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr QSize kIndicatorSize(28, 24);
constexpr Colour kFrameColour{90, 90, 90};
constexpr Colour kTxColour{200, 40, 30};
constexpr Colour kRxColour{20, 150, 40};
// Acquisition reports in the receiver's own manner: fixed pitch, navy.
constexpr Colour kReportColour{0, 0, 128};
constexpr const char* kReportFont = "Courier New";
// In pixels, as the layout is: 6 pixels a character, so "unable to
// connect" fits its place at any font resolution.
constexpr int kReportPixelSize = 10;
constexpr int kAcquirePointSize = 8;
constexpr const char* kStopScriptCaption = "Stop Script";
constexpr const char* kStopScriptAction = "mStopScript";
constexpr const char* kIndicatorHint =
    "Line activity: the red arrow is lit while bytes are sent, the green arrow while bytes arrive";

QPixmap IndicatorFrame() {
    QPixmap pm(kIndicatorSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QtColour(kFrameColour), 1.5));
    p.drawRoundedRect(QRectF(1, 1, kIndicatorSize.width() - 2, kIndicatorSize.height() - 2), 4, 4);
    return pm;
}

// An arrow across half the frame: transmit points right on the top half,
// receive points left on the bottom half.
QPixmap IndicatorArrow(bool pointsRight, int centreY, Colour colour) {
    QPixmap pm(kIndicatorSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QtColour(colour));
    const qreal l = 5, r = kIndicatorSize.width() - 5, y = centreY;
    QPainterPath path;
    if (pointsRight) {
        path.addRect(QRectF(l, y - 1.5, r - l - 6, 3));
        path.moveTo(r, y);
        path.lineTo(r - 7, y - 5);
        path.lineTo(r - 7, y + 5);
    } else {
        path.addRect(QRectF(l + 6, y - 1.5, r - l - 6, 3));
        path.moveTo(l, y);
        path.lineTo(l + 7, y - 5);
        path.lineTo(l + 7, y + 5);
    }
    path.closeSubpath();
    p.drawPath(path);
    return pm;
}
}  // namespace

TfZelSim::TfZelSim(ZelSim& zelSim, QWidget* parent) : QMainWindow(parent), zelSim_(zelSim) {
    setObjectName(Latin1Text(mw::fZelSim));
    BuildPanels();
    BuildMenus();
    binding_ = std::make_unique<WindowBinding>(*this, *client_, zelSim_.Controls(),
                                               WindowBinding::Sizing::kResizable);
    binding_->BindChildren();
    ApplyControls();
    // From here on a size is the user's: the monitor takes what is more.
    client_->installEventFilter(this);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer20ms");
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &TfZelSim::T10msTick);
    timer_->start(kTickIntervalMs);
    wakeTimer_ = new QTimer(this);
    wakeTimer_->setSingleShot(true);
    wakeTimer_->setTimerType(Qt::PreciseTimer);
    connect(wakeTimer_, &QTimer::timeout, this, [this] { Wake(Waking::kDeadline); });
    zelSim_.onWake = [this] { Wake(Waking::kActivity); };
}

TfZelSim::~TfZelSim() {
    // The send box loses the focus as the widgets go, after this window's
    // own members are gone: its handler must not reach them.
    delete sendBoxInput_;
}

template <typename F>
void TfZelSim::Act(F&& action) {
    action();
    // What the user did may have started timed work.
    Wake(Waking::kActivity);
    Display();
}

void TfZelSim::OpenGraph() {
    Act([this] { zelSim_.GraphicDisplay().Open(); });
}

void TfZelSim::ShowGraphFile(const std::string& path) {
    Act([this, &path] {
        zelsim::GraphicDisplay& graph = zelSim_.GraphicDisplay();
        if (!graph.Holding()) graph.Hold();
        graph.LoadFile(path);
    });
}

void TfZelSim::T10msTick() {
    cycleClock_.start();
    // An arrow lit since the last display that this cycle may put out is
    // shown first: it may be lit for only the last milliseconds of its
    // period, and a line must never come in unseen.
    if (zelSim_.ArrowGoesOutUnseen(shownArrows_, kTickIntervalMs)) Display();
    zelSim_.Tick();
    // Whatever the cycle did, in any window, is shown: the windows compare
    // what they show with what they have, cheaply.
    if (!displayPending_) pendingClock_.start();
    displayPending_ = true;
    // The windows follow the cycle ten times a second, all in one paint:
    // the eye sees no difference, and the arrows, labels, panel and monitor
    // changing on different ticks had the windows painted twice as often.
    // The cycle's own wake-up does it: a timer of its own would wake the
    // program ten more times a second. A tick early is on time: waiting for
    // the next one would show fewer than ten pictures a second.
    if (!displayClock_.isValid() || displayClock_.elapsed() >= kDisplayIntervalMs - kTickIntervalMs)
        Display();
    SleepIfQuiet();
}

void TfZelSim::Display() {
    displayClock_.start();
    displayPending_ = false;
    ApplyControls();
    // Only the cells the receiver changed are painted.
    panelView_->Refresh();
    monitorPanel_->View()->Refresh();
}

void TfZelSim::SleepIfQuiet() {
    const uint64_t received = zelSim_.Connection().Port().BytesReceived();
    const bool brought = received != bytesSeen_;
    bytesSeen_ = received;
    const bool lone = brought && (!bytesClock_.isValid() || bytesClock_.elapsed() >= kQuietLineMs);
    if (brought) bytesClock_.start();
    // A busy line brings bytes every cycle, and sleeping between them would
    // only cost more: the cycle sleeps once the line has been quiet a while.
    // Bytes that came after a quiet while (a receiver's burst once a second)
    // are likely all there are, and the next bytes wake the cycle anyway.
    // The parts are asked what is due only when the cycle could sleep.
    if (brought && !lone) {
        quietCycles_ = 0;
        return;
    }
    uint32_t next = zelSim_.Cycle().NextStepIn();
    if (next <= static_cast<uint32_t>(kTickIntervalMs)) {
        quietCycles_ = 0;
        return;
    }
    if (!brought && ++quietCycles_ < kQuietCyclesToSleep) return;
    if (!zelSim_.Connection().Port().WakeOnArrival([this] { Wake(Waking::kArrival); })) return;
    quietCycles_ = kQuietCyclesToSleep;
    // What the last cycles changed is shown a display interval after the
    // first change at the latest, or with the next bytes when they come
    // sooner: a receiver talking ten times a second is then shown as it
    // talks, in one wake-up, not in two out of step.
    if (displayPending_)
        next = std::min<uint32_t>(next, static_cast<uint32_t>(std::max<qint64>(
                                            0, kDisplayIntervalMs - pendingClock_.elapsed())));
    timer_->stop();
    asleep_ = true;
    if (next != CyclePart::kNoStep)
        wakeTimer_->start(static_cast<int>(std::min<uint32_t>(next, INT32_MAX)));
}

void TfZelSim::Wake(Waking why) {
    if (!asleep_ || closing_) return;
    asleep_ = false;
    lastWaking_ = why;
    wakeTimer_->stop();
    zelSim_.Connection().Port().WakeOnArrival(nullptr);
    timer_->start(kTickIntervalMs);
    // The user's own action is shown by its handler, and the cycle follows
    // on the timer. Bytes that come hard on the last cycle are a busy line's:
    // the tick, ten milliseconds away at most, reads them, so that the line
    // never runs the cycle more often than the tick would.
    if (why == Waking::kActivity) return;
    if (why == Waking::kArrival && cycleClock_.isValid() &&
        cycleClock_.elapsed() < kTickIntervalMs) {
        quietCycles_ = 0;
        return;
    }
    T10msTick();
}

QWidget* TfZelSim::AddPanel(std::string_view name, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(Latin1Text(name));
    return panel;
}

QLabel* TfZelSim::AddLabel(std::string_view name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(Latin1Text(name));
    return label;
}

QPushButton* TfZelSim::AddButton(std::string_view name, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(Latin1Text(name));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QLabel* TfZelSim::AddIndicatorImage(std::string_view name, QWidget* parent, const QPixmap& art) {
    QLabel* image = AddLabel(name, parent);
    image->setPixmap(art);
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    return image;
}

void TfZelSim::BuildPanels() {
    client_ = new QWidget(this);
    client_->setMinimumSize(MainLayout::kClientWidth, MainLayout::kClientHeight);
    setCentralWidget(client_);

    QWidget* aux = AddPanel(mw::pAuxPanel, client_);
    QWidget* display = AddPanel(mw::pDisplayPanel, client_);
    buttonsPanel_ = new UserButtonsPanel(client_);
    buttonsPanel_->onClick = [this](int position) {
        Act([this, position] { zelSim_.ScriptInterpreter().PressButton(position); });
    };
    buttonsPanel_->onPopup = [this](int position) { DefineButton(position); };
    panelView_ = new PanelView(zelSim_.PanelScreen(), display);
    panelView_->onKeys = [this](uint8_t bits, bool pressed) {
        Act([this, bits, pressed] { zelSim_.PanelKeys().PressKeys(bits, pressed); });
    };

    monitorPanel_ = new MessageMonitorPanel(zelSim_.MessageMonitor(), client_);
    MessageMonitorView* view = monitorPanel_->View();
    // The legend is modal: keys go to it, not to the panel or the buttons.
    view->onModalOpening = [this] { zelSim_.KeyHook().ModalOpened(); };
    view->onModalClosed = [this] { zelSim_.KeyHook().ModalClosed(); };
    connect(monitorPanel_->PauseButton(), &QPushButton::clicked, this,
            [this] { Act([this] { zelSim_.MessageMonitor().TogglePause(); }); });
    connect(monitorPanel_->ClearButton(), &QPushButton::clicked, this,
            [this] { Act([this] { zelSim_.MessageMonitor().ClearMonitor(); }); });
    monitorPanel_->SendData()->setMaxVisibleItems(static_cast<int>(SendBox::kHistoryLimit));
    sendBoxInput_ =
        new SendBoxInput(zelSim_.SendBox(), monitorPanel_->SendData(), monitorPanel_->SendButton(),
                         monitorPanel_->AddChecksumButton(), this);
    connect(sendBoxInput_, &SendBoxInput::acted, this, [this] { Act([] {}); });
    QPushButton* sendFile = monitorPanel_->findChild<QPushButton*>(Latin1Text(mw::bSendFile));
    connect(sendFile, &QPushButton::clicked, this,
            [this] { Act([this] { zelSim_.FileSender().SendFileClicked(); }); });
    sendFile->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sendFile, &QPushButton::customContextMenuRequested, this, &TfZelSim::EditLineDelay);
    // Over the monitor's list, so made after it.
    fileSendPanel_ = new FileSendPanel(client_);
    connect(fileSendPanel_->CancelButton(), &QPushButton::clicked, this,
            [this] { Act([this] { zelSim_.FileSender().Cancel(); }); });

    QPushButton* graph = AddButton(mw::bGraphicDisplay, client_);
    graph->setText("&Graph");
    connect(graph, &QPushButton::clicked, this, &TfZelSim::OpenGraph);
    graphWindow_ = new TfGraphicDisplay(zelSim_.GraphicDisplay(), this);
    GpsWindows& gps = zelSim_.GpsWindows();
    deviationWindow_ = new TfPositionDeviation(gps.DeviationWindow(), this);
    svStatusWindow_ = new TfSvStatus(gps.SvStatusWindow(), this);
    cogWindow_ = new TfCogDisplay(zelSim_.CourseDisplay(), this);
    skyViewWindow_ = new TfSkyView(gps.SkyViewWindow(), this);
    gpsSimulatorWindow_ = new TfGpsSimulator(gps.GpsSimulatorWindow(), this);

    QPushButton* connectButton = AddButton(mw::bComOpenClose, aux);
    connect(connectButton, &QPushButton::clicked, this,
            [this] { Act([this] { zelSim_.ComOpenClose(); }); });
    QPushButton* logButton = AddButton(mw::bLogMessages, aux);
    connect(logButton, &QPushButton::clicked, this,
            [this] { Act([this] { zelSim_.MessageLog().LogMessagesClick(); }); });
    AddLabel(mw::lLogMessagesStatus, aux)->setWordWrap(true);

    QPushButton* acquire = AddButton(mw::bAcquireCorvane, aux);
    QFont acquireFont = acquire->font();
    acquireFont.setPointSize(kAcquirePointSize);
    acquire->setFont(acquireFont);
    connect(acquire, &QPushButton::clicked, this,
            [this] { Act([this] { zelSim_.ReceiverAcquisition().AcquireOrCancel(); }); });
    for (std::string_view name : {mw::lAcquireCorvaneStatus, mw::lCorvaneConnectionReport}) {
        QLabel* report = AddLabel(name, aux);
        report->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        report->setWordWrap(name == mw::lCorvaneConnectionReport);
        QFont font(kReportFont);
        font.setPixelSize(kReportPixelSize);
        font.setStyleHint(QFont::TypeWriter);
        report->setFont(font);
        QPalette palette = report->palette();
        palette.setColor(QPalette::WindowText, QtColour(kReportColour));
        report->setPalette(palette);
    }

    BuildScriptControls(aux);

    // The arrows come and go many times a second, too fast for a hint to
    // show: the pointer rests on the frame beneath them, which stays while
    // the line is open.
    QLabel* frame = AddIndicatorImage(mw::iRxTxFrame, aux, IndicatorFrame());
    frame->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    frame->setToolTip(kIndicatorHint);
    AddIndicatorImage(mw::iTxArrow, aux, IndicatorArrow(true, 8, kTxColour));
    AddIndicatorImage(mw::iRxArrow, aux, IndicatorArrow(false, 16, kRxColour));

    // What became of the line is said across the window's foot, where a
    // sentence that tells what to do has room.
    QLabel* message = AddLabel(mw::lPortMessage, nullptr);
    message->setWordWrap(true);
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addWidget(message, 1);
    statusBar()->addPermanentWidget(AddLabel(mw::lLineCounts, nullptr));
    QPalette palette = message->palette();
    palette.setColor(QPalette::WindowText, QtColour(WindowBinding::kAlertColour));
    message->setPalette(palette);
}

void TfZelSim::BuildScriptControls(QWidget* aux) {
    QPushButton* cancel = AddButton(mw::bCancelButtonScript, aux);
    connect(cancel, &QPushButton::clicked, this,
            [this] { Act([this] { zelSim_.ScriptInterpreter().CancelButtonScript(); }); });
    // Cancel only ends a wait, as it always has: a script that loops back
    // into its wait is stopped here, from the button's menu or with
    // Shift+Esc anywhere in the window.
    auto* stop = new QAction(kStopScriptCaption, this);
    stop->setObjectName(kStopScriptAction);
    stop->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Escape));
    stop->setShortcutContext(Qt::WindowShortcut);
    addAction(stop);
    connect(stop, &QAction::triggered, this,
            [this] { Act([this] { zelSim_.ScriptInterpreter().StopScript(); }); });
    cancel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cancel, &QPushButton::customContextMenuRequested, this, [cancel, stop](QPoint at) {
        QMenu menu(cancel);
        menu.addAction(stop);
        menu.exec(cancel->mapToGlobal(at));
    });
    AddLabel(mw::lScriptDelayReport, aux);
    auto* delay = new QProgressBar(aux);
    delay->setObjectName(Latin1Text(mw::pbScriptDelayReport));
    delay->setTextVisible(false);
    delay->hide();
    // A script's line and its message can be long: they wrap and keep to
    // the top of their place.
    for (std::string_view name : {mw::lScriptLineReport, mw::lScriptMessageReport}) {
        QLabel* report = AddLabel(name, aux);
        report->setWordWrap(true);
        report->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        report->setTextFormat(Qt::PlainText);
    }
}

void TfZelSim::DefineButton(int position) {
    TfDefineButton::Edit(zelSim_.UserButtons(), position, this, [this](bool toWindow) {
        if (toWindow)
            zelSim_.KeyHook().ModalClosed();
        else
            zelSim_.KeyHook().ModalOpened();
    });
    Act([] {});
}

void TfZelSim::EditLineDelay() {
    TfSendFilePopUp::Edit(zelSim_.FileSender(), this);
}

QAction* TfZelSim::AddItem(QMenu* menu, std::string_view name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(Latin1Text(name));
    return item;
}

QAction* TfZelSim::AddRadioItem(QMenu* menu, QActionGroup* group, std::string_view name,
                                const QString& caption) {
    QAction* item = AddItem(menu, name, caption);
    item->setCheckable(true);
    group->addAction(item);
    return item;
}

void TfZelSim::BuildMenus() {
    Connection& line = zelSim_.Connection();
    QMenu* com = menuBar()->addMenu("&COM Port");
    com->setObjectName(Latin1Text(mw::mComPort));
    auto* comGroup = new QActionGroup(this);
    for (int n = 1; n <= Connection::kComMenuItems; ++n) {
        QAction* item =
            AddRadioItem(com, comGroup, mw::ComItem(n), ShownText(line.ComItemCaption(n)));
        connect(item, &QAction::triggered, this,
                [this, n] { Act([this, n] { zelSim_.Connection().SelectComPort(n); }); });
    }
    com->addSeparator();
    QAction* reconnect = AddItem(com, mw::mReconnectAutomatically, "Reconnect Automatically");
    reconnect->setCheckable(true);
    connect(reconnect, &QAction::triggered, this, [this](bool checked) {
        Act([this, checked] { zelSim_.Connection().SetReconnect(checked); });
    });
    // The list is as fresh as the moment the user looks at it.
    portWatch_ = new PortWatch(line, this);
    connect(com, &QMenu::aboutToShow, portWatch_, &PortWatch::Rescan);
    connect(portWatch_, &PortWatch::rescanned, this, &TfZelSim::ApplyControls);

    QMenu* baud = menuBar()->addMenu("&Baud Rate");
    baud->setObjectName(Latin1Text(mw::mBaud));
    auto* baudGroup = new QActionGroup(this);
    for (int i = 0; i < SerialPort::kRateCount; ++i) {
        const uint32_t rate = SerialPort::RateAt(i);
        QAction* item =
            AddRadioItem(baud, baudGroup, mw::BaudItem(rate), Connection::BaudCaption(i));
        connect(item, &QAction::triggered, this,
                [this, rate] { Act([this, rate] { zelSim_.Connection().SelectBaud(rate); }); });
    }

    QMenu* zel = menuBar()->addMenu("&ZEL Options");
    zel->setObjectName(Latin1Text(mw::mZelOptions));
    auto* zelGroup = new QActionGroup(this);
    const std::pair<ZelType, std::string_view> types[] = {{ZelType::Off, mw::mZelOptOff},
                                                          {ZelType::Dormalyn, mw::mZelOptDormalyn},
                                                          {ZelType::Corvane, mw::mZelOptCorvane}};
    for (const auto& [type, name] : types) {
        QAction* item = AddRadioItem(zel, zelGroup, name, MainWindowState::ZelTypeText(type));
        connect(item, &QAction::triggered, this, [this, type = type] {
            Act([this, type] { zelSim_.MainWindowState().SelectZelType(type); });
        });
    }

    BuildButtonMenu();

    QMenu* monitor = menuBar()->addMenu("&Message Monitor Options");
    monitor->setObjectName(Latin1Text(mw::mMsgMonOptions));
    auto* monitorMenu = new MessageMonitorMenu(zelSim_.MessageMonitor(), monitor, this);
    connect(monitorMenu, &MessageMonitorMenu::acted, this, [this] { Act([] {}); });
    auto* upperCase = new QAction("Convert Keys to Upper Case", monitor);
    upperCase->setObjectName(Latin1Text(mw::mMsgMonUpperCase));
    upperCase->setCheckable(true);
    connect(upperCase, &QAction::triggered, this, [this](bool checked) {
        Act([this, checked] { zelSim_.SendBox().SetUpperCase(checked); });
    });
    auto* flush = new QAction("Flush Serial Port", monitor);
    flush->setObjectName(Latin1Text(mw::mnuMsgFlushSerial));
    connect(flush, &QAction::triggered, this,
            [this] { Act([this] { zelSim_.Connection().FlushSerialPort(); }); });
    monitor->insertAction(monitorMenu->TimeAction(), upperCase);
    monitor->insertAction(monitorMenu->TimeAction(), flush);

    QMenu* logging = menuBar()->addMenu("&Logging Options");
    logging->setObjectName(Latin1Text(mw::mLoggingOptions));
    auto* loggingMenu = new MessageLogMenu(zelSim_.MessageLog(), logging, this);
    connect(loggingMenu, &MessageLogMenu::acted, this, [this] { Act([] {}); });

    BuildMoreMenu();
    BuildHelpMenu();
}

void TfZelSim::BuildHelpMenu() {
    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName(Latin1Text(mw::mHelp));
    connect(AddItem(help, mw::mAbout, "&About ZelSim"), &QAction::triggered, this,
            &TfZelSim::ShowAbout);
    connect(AddItem(help, mw::mKeyboardShortcuts, "&Keyboard Shortcuts"), &QAction::triggered, this,
            &TfZelSim::ShowShortcuts);
    // From any of the program's windows, as desktop programs quit.
    auto* quit = new QAction("Quit", this);
    quit->setObjectName(Latin1Text(mw::mQuit));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::ApplicationShortcut);
    addAction(quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void TfZelSim::ShowAbout() {
    QMessageBox box(QMessageBox::Information, AboutZelSim::kCaption,
                    Latin1Text(zelSim_.About().Text()), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    // Paths to be pasted into a report.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

void TfZelSim::ShowShortcuts() {
    if (shortcutsWindow_ == nullptr) shortcutsWindow_ = new TfKeyboardShortcuts(this);
    shortcutsWindow_->show();
    shortcutsWindow_->raise();
    shortcutsWindow_->activateWindow();
}

void TfZelSim::BuildMoreMenu() {
    QMenu* more = menuBar()->addMenu("m&ore");
    more->setObjectName(Latin1Text(mw::mMore));
    GpsWindows& gps = zelSim_.GpsWindows();
    struct Item {
        std::string_view name;
        const char* caption;
        void (GpsWindows::*click)();
    };
    for (const Item& i : {Item{mw::mPositionDeviation, "Static Position &Deviation",
                               &GpsWindows::ClickPositionDeviation},
                          Item{mw::mSvStatus, "&SV Status", &GpsWindows::ClickSvStatus},
                          Item{mw::mSkyView, "Sk&y View", &GpsWindows::ClickSkyView},
                          Item{mw::mGpsSim, "&GPS Simulator", &GpsWindows::ClickGpsSimulator}}) {
        QAction* item = AddItem(more, i.name, i.caption);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, &gps, item, i] {
            Act([&gps, i] { (gps.*i.click)(); });
            // The item turned itself: its mark is the part's, which a click
            // need not change.
            item->setChecked(zelSim_.Controls().Get(i.name).checked);
        });
    }
}

void TfZelSim::BuildButtonMenu() {
    QMenu* menu = menuBar()->addMenu("B&utton Options");
    menu->setObjectName(Latin1Text(mw::mButtonOptions));
    auto* group = new QActionGroup(this);
    QAction* hide = AddRadioItem(menu, group, mw::mHideButtons, "Hide Buttons");
    connect(hide, &QAction::triggered, this,
            [this] { Act([this] { zelSim_.UserButtons().HideButtons(); }); });
    for (int g = 1; g <= ButtonTable::kGroupCount; ++g) {
        QAction* item = AddRadioItem(menu, group, mw::kButtonGroupItems[g - 1],
                                     QString("Button Group %1").arg(g));
        connect(item, &QAction::triggered, this,
                [this, g] { Act([this, g] { zelSim_.UserButtons().SelectGroup(g); }); });
    }
    QAction* details = AddItem(menu, mw::mShowScriptDetails, "Show Script Details");
    details->setCheckable(true);
    connect(details, &QAction::triggered, this,
            [this] { Act([this] { zelSim_.UserButtons().ToggleShowScriptDetails(); }); });
}

void TfZelSim::ApplyControls() {
    binding_->Apply();
    shownArrows_ = zelSim_.RxTxIndicator().State();
    graphWindow_->ApplyControls();
    cogWindow_->ApplyControls();
    deviationWindow_->ApplyControls();
    svStatusWindow_->ApplyControls();
    skyViewWindow_->ApplyControls();
    gpsSimulatorWindow_->ApplyControls();
}

bool TfZelSim::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        const QSize size = client_->size();
        Act([this, size] { zelSim_.MainWindowState().ClientResized(size.width(), size.height()); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfZelSim::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    MeasureScreenRoom();
    if (windowHandle() != nullptr)
        connect(windowHandle(), &QWindow::screenChanged, this, &TfZelSim::MeasureScreenRoom,
                Qt::UniqueConnection);
}

void TfZelSim::MeasureScreenRoom() {
    const QScreen* shown = screen();
    if (shown == nullptr) return;
    // The frame's title bar is the window manager's: before it is drawn
    // the style's height for one stands in.
    const int titleBar = std::max(frameGeometry().height() - height(),
                                  style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const int frame = titleBar + height() - client_->height();
    const int room = shown->availableGeometry().height() - frame;
    Act([this, room] { zelSim_.MainWindowState().SetScreenRoom(room); });
}

void TfZelSim::CloseUnattended() {
    unattended_ = true;
    close();
}

void TfZelSim::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        timer_->stop();
        wakeTimer_->stop();
        zelSim_.onWake = nullptr;
        zelSim_.MainWindowState().SetWindowPosition(x(), y());
        zelSim_.Shutdown(!unattended_);
        ApplyControls();
        emit closed();
    }
    event->accept();
}

}  // namespace zelsim
