#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <set>

#include "app/AppKeyFilter.h"
#include "app/KeyboardShortcuts.h"
#include "app/TfKeyboardShortcuts.h"
#include "app/TfZelSim.h"
#include "app/ZelSim.h"
#include "base/MainWindowControls.h"
#include "gps/TfPositionDeviation.h"
#include "gps/TfSvStatus.h"
#include "graph/TfGraphicDisplay.h"
#include "monitor/MessageCategory.h"
#include "scripts/TfDefineButton.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "support/FakeTickClock.h"
#include "support/RecordingDialogs.h"
#include "support/TempDir.h"

namespace zelsim {

namespace {
namespace mw = main_window;

class KeyRecorder : public QWidget {
  public:
    int presses = 0;
    int releases = 0;

  protected:
    void keyPressEvent(QKeyEvent*) override { ++presses; }
    void keyReleaseEvent(QKeyEvent*) override { ++releases; }
};

class TfZelSimTest : public ::testing::Test {
  protected:
    TfZelSimTest() {
        ports.SetExplicit(1, "/dev/ttyTEST1");
        zelSim =
            std::make_unique<ZelSim>(clock, MemorySerialDevice::Plug(line), ports, config, dialogs);
        window = std::make_unique<TfZelSim>(*zelSim);
    }
    ~TfZelSimTest() override {
        if (keys) qApp->removeEventFilter(keys.get());
    }

    // The application's key hook, as main() installs it.
    void HookKeys() {
        keys = std::make_unique<AppKeyFilter>(*zelSim, window.get());
        qApp->installEventFilter(keys.get());
    }
    bool ShowActive() {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    QMenu* Menu(const char* name) { return window->menuBar()->findChild<QMenu*>(name); }
    template <typename W>
    W* Widget(std::string_view name) {
        return qobject_cast<W*>(window->Binding().Control(name));
    }
    QComboBox* Box() { return Widget<QComboBox>(mw::cbSendData); }
    // One turn of the main cycle, 10 ms on.
    void Cycle() {
        clock.Advance(10);
        zelSim->Tick();
        window->ApplyControls();
    }
    QColor Background(std::string_view name) {
        return window->Binding().Control(name)->palette().color(QPalette::Window);
    }
    void RightClick(QWidget* widget) {
        const QPoint at(4, 4);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
    }

    FakeTickClock clock;
    PortMap ports;
    std::shared_ptr<MemorySerialDevice> line = std::make_shared<MemorySerialDevice>();
    TempDir dir;
    ConfigFile config{dir.File("ZelSim.ini")};
    RecordingDialogs dialogs;
    std::unique_ptr<ZelSim> zelSim;
    std::unique_ptr<TfZelSim> window;
    std::unique_ptr<AppKeyFilter> keys;
};

// Everything core says reaches a widget or an item: a name no control
// binds would be a state the user never sees.
TEST_F(TfZelSimTest, EveryControlCoreWritesIsBound) {
    window->show();
    zelSim->Connection().ComOpenClose();
    Menu("mZelOptions")->actions()[0]->trigger();  // Off
    for (QAction* item : Menu("mMsgMonOptions")->actions()) item->trigger();
    for (QAction* item : Menu("mMsgMonOptions")->actions()) item->trigger();
    zelSim->SendBox().FocusIn();
    zelSim->MessageMonitor().TogglePause();
    zelSim->UserButtons().SelectGroup(2);
    zelSim->UserButtons().ToggleShowScriptDetails();
    zelSim->UserButtons().DefineButton(0, "Pause", "~d100");
    zelSim->ScriptInterpreter().PressButton(0);
    zelSim->Tick();
    line->Unplug();
    clock.Advance(200);
    zelSim->Tick();
    window->ApplyControls();

    EXPECT_EQ(window->Binding().NamesWithoutControl(), std::vector<std::string>{});
    // The graph window is a child of this one with names of its own: the
    // monitor's Pause is the main window's, whichever was made first.
    ASSERT_NE(window->Binding().Control("bPause"), nullptr);
    EXPECT_EQ(window->Binding().Control("bPause")->window(), window.get());
    EXPECT_EQ(window->Binding().Control("sbGraphTime"), nullptr);
    int entries = 0;
    zelSim->Controls().ForEachChangedSince(
        0, [&](const std::string&, const ControlState&) { ++entries; });
    EXPECT_GT(entries, 50);
}

// A caption that changes (connected, paused) leaves a window where the user
// moved it.
TEST_F(TfZelSimTest, WindowsStayWhereTheUserMovedThemWhenTheirCaptionsChange) {
    zelSim->LoadSettings();  // the stored place, 0, 0
    window->ApplyControls();
    window->show();
    window->move(200, 150);
    zelSim->ComOpenClose();
    window->ApplyControls();
    EXPECT_EQ(window->pos(), QPoint(200, 150));

    window->OpenGraph();
    TfGraphicDisplay& graph = window->GraphWindow();
    ASSERT_TRUE(graph.isVisible());
    graph.move(300, 120);
    // Closed, it gives back where it was, and comes back there.
    zelSim->GraphicDisplay().Close();
    Cycle();
    EXPECT_EQ(zelSim->GraphicDisplay().Saved().left, 300);
    window->OpenGraph();
    EXPECT_EQ(graph.pos(), QPoint(300, 120));
}

// The hook takes only keys bound for the main window's own controls.
TEST_F(TfZelSimTest, KeyHookConsumesPanelAndFunctionKeysOnly) {
    HookKeys();
    window->show();
    auto* recorder = new KeyRecorder;
    recorder->setParent(window->centralWidget());
    KeyRecorder elsewhere;  // another window
    elsewhere.show();

    QTest::keyClick(recorder, Qt::Key_F3);
    QTest::keyClick(recorder, Qt::Key_Left);
    EXPECT_EQ(recorder->presses, 0) << "F-keys and arrows belong to buttons and panel";
    EXPECT_EQ(recorder->releases, 0);
    QTest::keyClick(recorder, Qt::Key_A);
    EXPECT_EQ(recorder->presses, 1);
    QTest::keyClick(&elsewhere, Qt::Key_Left);
    EXPECT_EQ(elsewhere.presses, 1);

    Menu("mZelOptions")->actions()[0]->trigger();  // Off: arrows reach the control
    QTest::keyClick(recorder, Qt::Key_Left);
    EXPECT_EQ(recorder->presses, 2);
    QTest::keyClick(recorder, Qt::Key_F8);
    EXPECT_EQ(recorder->presses, 2);
}

// An open menu gets its arrows and Return, whatever the panel type.
TEST_F(TfZelSimTest, MenusAreDrivenByTheKeyboard) {
    HookKeys();
    ASSERT_TRUE(ShowActive());
    QTest::keyClick(window.get(), Qt::Key_B, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* menu = QApplication::activePopupWidget();
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(zelSim->Connection().SelectedBaud(), 1200u);
}

// The monitor, focused, takes Shift with the arrows to pick rows; the plain
// arrows stay the panel's.
TEST_F(TfZelSimTest, ShiftArrowsSelectInTheFocusedMonitorAndPlainArrowsStayThePanels) {
    HookKeys();
    window->show();
    for (int i = 0; i < 3; ++i)
        zelSim->MessageMonitor().ShowLine("line", MessageCategory::kDgps, 0);
    QWidget* monitor = window->Binding().Control(mw::lbMessageMonitor);
    ASSERT_NE(monitor, nullptr);
    monitor->setFocus();
    QTest::keyClick(monitor, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_TRUE(zelSim->MessageMonitor().HasSelection());
    EXPECT_EQ(zelSim->MessageMonitor().ActiveRow(), 2);
    QTest::keyClick(monitor, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(zelSim->MessageMonitor().ActiveRow(), 1);
    auto* recorder = new KeyRecorder;
    recorder->setParent(window->centralWidget());
    QTest::keyClick(recorder, Qt::Key_Up);
    EXPECT_EQ(recorder->presses, 0) << "the plain arrow is the panel's";
    EXPECT_EQ(zelSim->MessageMonitor().ActiveRow(), 1);
}

// Grown by the user, the window gives the monitor the room; it never gets
// smaller than its design (on a screen that holds it).
TEST_F(TfZelSimTest, AGrownWindowShowsMoreOfTheMonitor) {
    zelSim->MainWindowState().SetScreenRoom(2000);
    window->ApplyControls();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QWidget* client = window->centralWidget();
    EXPECT_EQ(client->size(), QSize(760, 591));
    QWidget* list = window->Binding().Control(mw::lbMessageMonitor);
    const int listWidth = list->width();
    window->resize(window->size() + QSize(200, 150));
    EXPECT_TRUE(QTest::qWaitFor([&] { return client->size() == QSize(960, 741); }));
    EXPECT_EQ(list->width(), listWidth + 200);
    EXPECT_EQ(zelSim->MainWindowState().ClientHeight(), 741);
    window->resize(300, 200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return client->size() == QSize(760, 591); }))
        << client->width() << "x" << client->height();
}

// The fast rates follow 115,200 in the menu, captioned as the others are,
// and change the open line at once.
TEST_F(TfZelSimTest, TheFastRatesCloseTheBaudRateMenu) {
    QStringList captions;
    for (QAction* item : Menu("mBaud")->actions()) captions << item->text().trimmed();
    EXPECT_EQ(captions.mid(captions.indexOf("115,200")),
              (QStringList{"115,200", "230,400", "460,800", "921,600"}));
    zelSim->Connection().ComOpenClose();
    window->Binding().MenuItem(mw::BaudItem(460800))->trigger();
    EXPECT_EQ(line->ConfiguredRate(), 460800u);
    window->ApplyControls();
    EXPECT_TRUE(window->Binding().MenuItem(mw::BaudItem(460800))->isChecked());
    EXPECT_FALSE(window->Binding().MenuItem(mw::BaudItem(115200))->isChecked());
}

// "more" comes after "Logging Options", before "Help", and its marks are
// the part's even where a click leaves them as they were.
TEST_F(TfZelSimTest, TheMoreMenuOpensTheGpsWindowsFromTheKeyboard) {
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus.back()->menu(), Menu("mHelp"));
    EXPECT_EQ(menus[menus.size() - 2]->menu(), Menu("mMore"));
    EXPECT_EQ(menus[menus.size() - 3]->menu(), Menu("mLoggingOptions"));

    HookKeys();
    ASSERT_TRUE(ShowActive());
    QTest::keyClick(window.get(), Qt::Key_O, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* menu = QApplication::activePopupWidget();
    QTest::keyClick(menu, Qt::Key_S);  // "&SV Status"
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->SvStatusWindow().isVisible(); }));
    EXPECT_TRUE(window->Binding().MenuItem(mw::mSvStatus)->isChecked());

    QAction* deviation = window->Binding().MenuItem(mw::mPositionDeviation);
    deviation->trigger();
    EXPECT_TRUE(window->DeviationWindow().isVisible());
    EXPECT_TRUE(deviation->isChecked());
    deviation->trigger();  // open: only the mark goes
    deviation->trigger();  // still open: the mark stays off
    EXPECT_TRUE(window->DeviationWindow().isVisible());
    EXPECT_FALSE(deviation->isChecked());
}

// The keys reach the combo box, which has the focus; a send resumes the
// paused monitor first, so the line shows, and leaves the text selected
// whole: typing replaces it and Enter sends it again.
TEST_F(TfZelSimTest, TheSendBoxSendsWhatIsTypedAndLeavesItSelected) {
    window->show();
    zelSim->Connection().ComOpenClose();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(Box(), &focusIn);
    EXPECT_EQ(Box()->toolTip(), SendBox::kHint);

    QTest::keyClicks(Box(), "$pkvtq,rid");
    zelSim->MessageMonitor().TogglePause();
    QTest::keyClick(Box(), Qt::Key_Return);
    EXPECT_EQ(line->TakeWritten(), "$PKVTQ,RID*3B\r\n");
    EXPECT_EQ(Widget<QPushButton>(mw::bPause)->text(), "Pause");
    EXPECT_EQ(zelSim->MessageMonitor().LineCount(), 1) << "resumed before it went out";
    EXPECT_EQ(Box()->count(), 1);
    QTest::keyClicks(Box(), "$pkvtq,did");
    QTest::keyClick(Box(), Qt::Key_Return);
    QTest::keyClick(Box(), Qt::Key_Return);
    EXPECT_EQ(line->TakeWritten(), "$PKVTQ,DID*2D\r\n$PKVTQ,DID*2D\r\n");

    Box()->lineEdit()->setText("$PKVTQ,DML,SET1");
    Widget<QPushButton>(mw::bAddCkSum)->click();
    Widget<QPushButton>(mw::bSendData)->click();
    EXPECT_EQ(line->TakeWritten(), "$PKVTQ,DML,SET1*7E\r\n");
}

// A click starts the script; its tag turns navy while it runs and the
// Cancel Button ends it.
TEST_F(TfZelSimTest, AButtonRunsItsScriptWithItsTagNavyUntilCancelled) {
    window->show();
    zelSim->ComOpenClose();
    window->Binding().MenuItem(mw::mButtonGroup1)->trigger();
    zelSim->UserButtons().DefineButton(2, "Wait", "~d5000\nBYE");

    QTest::mouseClick(Widget<QPushButton>(mw::bButton3), Qt::LeftButton);
    EXPECT_TRUE(zelSim->ScriptInterpreter().Running());
    EXPECT_EQ(Background(mw::lButton3Tag), QColor(0, 0, 128));
    EXPECT_EQ(Background(mw::lButton1Tag), QColor(Qt::white));
    auto* cancel = Widget<QPushButton>(mw::bCancelButtonScript);
    EXPECT_TRUE(cancel->isVisible());

    for (int i = 0; i < 5; ++i) Cycle();
    ASSERT_TRUE(zelSim->ScriptInterpreter().DelayActive());
    QTest::mouseClick(cancel, Qt::LeftButton);
    Cycle();
    EXPECT_FALSE(zelSim->ScriptInterpreter().Running());
    EXPECT_EQ(Background(mw::lButton3Tag), QColor(Qt::white));
    EXPECT_TRUE(cancel->isHidden());
}

// A dialog opened and closed over the focused send box gives the keys back
// as they were: the arrows still edit the text. F1..F8 start the buttons
// wherever the focus is in the main window.
TEST_F(TfZelSimTest, TheSendBoxKeepsItsArrowsAcrossADialogAndLeavesTheFunctionKeys) {
    HookKeys();
    ASSERT_TRUE(ShowActive());
    window->Binding().MenuItem(mw::mButtonGroup1)->trigger();
    zelSim->UserButtons().DefineButton(0, "Hello", "HELLO");
    zelSim->Connection().ComOpenClose();
    window->ApplyControls();
    Box()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Box()->hasFocus(); }));
    QTest::keyClicks(Box(), "ABC");
    ASSERT_FALSE(zelSim->KeyHook().Active());
    // Another window taking the focus leaves the box the window's focus:
    // without a window manager no focus event says the window is back.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(Box(), &away);
    EXPECT_FALSE(zelSim->KeyHook().Active()) << "the arrows would go to the panel";

    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            QTest::keyClick(dialog, Qt::Key_Escape);
        // The window manager gives the main window back as the dialog goes,
        // before the dialog's caller goes on.
        window->activateWindow();
        static_cast<void>(QTest::qWaitFor([&] { return Box()->hasFocus(); }));
    });
    RightClick(window->Binding().Control(mw::bButton2));
    ASSERT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(Box()->hasFocus());
    line->TakeWritten();
    QTest::keyClick(Box(), Qt::Key_Left);
    EXPECT_EQ(line->TakeWritten(), "") << "no panel key goes out";
    EXPECT_EQ(Box()->lineEdit()->cursorPosition(), 2) << "the caret moved";

    QTest::keyClick(Box(), Qt::Key_F1);
    EXPECT_TRUE(zelSim->ScriptInterpreter().Running()) << "F1 starts the first button";
    EXPECT_EQ(Box()->lineEdit()->text(), "ABC");
}

// A script that jumps back into its wait outlives Cancel; Shift+Esc, or
// Stop Script on the Cancel Button's menu, ends it wherever the focus is.
TEST_F(TfZelSimTest, StopScriptEndsALoopingScriptFromTheKeyboard) {
    ASSERT_TRUE(ShowActive());
    window->Binding().MenuItem(mw::mButtonGroup1)->trigger();
    zelSim->UserButtons().DefineButton(0, "Loop", "~waitfor NEVER-COMES\n~j-1");
    zelSim->Connection().ComOpenClose();
    for (QWidget* focus : {static_cast<QWidget*>(Box()), window->Binding().Control(mw::bButton2)}) {
        ASSERT_TRUE(zelSim->ScriptInterpreter().PressButton(0));
        for (int i = 0; i < 5; ++i) Cycle();
        window->Binding().Control(mw::bCancelButtonScript)->setFocus();
        QTest::mouseClick(Widget<QPushButton>(mw::bCancelButtonScript), Qt::LeftButton);
        for (int i = 0; i < 5; ++i) Cycle();
        ASSERT_TRUE(zelSim->ScriptInterpreter().Running()) << "Cancel ends only the wait";
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Escape, Qt::ShiftModifier);
        EXPECT_FALSE(zelSim->ScriptInterpreter().Running()) << focus->objectName().toStdString();
    }
}

// What the user types is kept one byte a character, as script lines always
// were, and shown as typed: the degree sign in a caption and in a script's
// message. A caption an older version kept as UTF-8 still reads right.
TEST_F(TfZelSimTest, TextsTheUserTypesAreKeptAndShownInOneEncoding) {
    window->show();
    window->Binding().MenuItem(mw::mButtonGroup1)->trigger();
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfDefineButton*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->CaptionEdit()->setText(QString::fromUtf8("5\u00B0C"));
        dialog->Memo()->setPlainText(QString::fromUtf8("~msgTemp 5\u00B0C\n~waitfor x"));
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        if (dialog->isVisible()) dialog->reject();
    });
    RightClick(window->Binding().Control(mw::bButton1));
    EXPECT_EQ(zelSim->UserButtons().Table().At(0).caption,
              "5\xB0"
              "C");
    EXPECT_EQ(zelSim->UserButtons().Table().At(0).script, (std::vector<std::string>{"~msgTemp 5\xB0"
                                                                                    "C",
                                                                                    "~waitfor x"}));
    EXPECT_EQ(Widget<QPushButton>(mw::bButton1)->text(), QString::fromUtf8("5\u00B0C"));
    ASSERT_TRUE(zelSim->ScriptInterpreter().PressButton(0));
    for (int i = 0; i < 5; ++i) Cycle();
    EXPECT_EQ(Widget<QLabel>(mw::lScriptMessageReport)->text(), QString::fromUtf8("Temp 5\u00B0C"));

    zelSim->UserButtons().DefineButton(1,
                                       "7\xC2\xB0"
                                       "C",
                                       "x");  // as an older version kept it
    window->ApplyControls();
    EXPECT_EQ(Widget<QPushButton>(mw::bButton2)->text(), QString::fromUtf8("7\u00B0C"));
}

// Whether `text` reads whole in `widget` as it stands: on one line, or in
// the lines a wrapping label has.
bool ReadsWhole(QWidget* widget, const QString& text) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(text);
        // The style's frame and margin on either side of the caption.
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                           2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        return button->fontMetrics().horizontalAdvance(text) + margin <= button->width();
    }
    auto* label = qobject_cast<QLabel*>(widget);
    if (label == nullptr) return false;
    label->setText(text);
    if (label->wordWrap())
        return label->heightForWidth(label->width()) <= label->height() &&
               label->minimumSizeHint().width() <= label->width();
    return label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width();
}

// Every label and button of the main window reads whole with the longest
// texts the program puts there, in both layouts.
TEST_F(TfZelSimTest, EveryLabelReadsWholeWithItsLongestText) {
    window->show();
    const std::vector<std::pair<std::string_view, std::vector<QString>>> texts = {
        {mw::lAcquireCorvaneStatus,
         {"1st req @19200", "2nd req @38400", "Clear Display", "sending Home Key", "sending No Key",
          "waiting for RID", "unable to connect", "connection OK", "connection lost",
          "stopped: busy"}},
        {mw::lCorvaneConnectionReport, {"CORVANE-DGPS-RX-200 v2.14.0b #0123456789AB"}},
        {mw::lLogMessagesStatus,
         {"Logging Messages (1911 lines lost)",
          QString::fromStdString("Logging Messages to " +
                                 MessageLog::ShownFileName("/var/log/rigs/tractor-field-trial-"
                                                           "north-0417.log") +
                                 " (1911 lines lost)"),
          "Log write failed: No space left on device (344 lines lost)",
          "Log write failed: Inappropriate ioctl for device (1911 lines lost)"}},
        {mw::bAcquireCorvane, {"Acquire Corvane", "Cancel"}},
        {mw::bComOpenClose, {"Disconnect", "Connect"}},
        {mw::bLogMessages, {"Log Messages", "Stop Log"}},
        {mw::bCancelButtonScript, {"Cancel Button"}},
        {mw::bSendFile, {"Send File", "Cancel File"}},
        {mw::bCancelFile, {"Cancel File"}},
        {mw::bAddCkSum, {"Add CkSum"}},
        {mw::bPause, {"Pause", "Continue"}},
        {mw::bUpAndDownKeys, {"Up and Down", "Home"}},
        {mw::bCorvaneDiag, {"Diag"}},
        {mw::lBackLight, {"BackLight"}},
        {mw::lContrast, {"Contrast"}},
    };
    for (ZelType type : {ZelType::Corvane, ZelType::Off}) {
        zelSim->MainWindowState().SelectZelType(type);
        window->ApplyControls();
        for (const auto& [name, candidates] : texts) {
            QWidget* widget = window->Binding().Control(name);
            ASSERT_NE(widget, nullptr) << name;
            if (type == ZelType::Off && !widget->isVisibleTo(window.get())) continue;
            for (const QString& text : candidates)
                EXPECT_TRUE(ReadsWhole(widget, text))
                    << name << " cuts \"" << text.toStdString() << "\" (" << widget->width()
                    << " x " << widget->height() << ")";
        }
    }
    // A script's line can be longer than any place: what is cut is there
    // whole under the pointer.
    zelSim->Controls().SetText(mw::lScriptLineReport, std::string(300, 'x'));
    window->ApplyControls();
    EXPECT_EQ(window->Binding().Control(mw::lScriptLineReport)->toolTip(), QString(300, 'x'));
    zelSim->Controls().SetText(mw::lScriptLineReport, "short");
    window->ApplyControls();
    EXPECT_EQ(window->Binding().Control(mw::lScriptLineReport)->toolTip(), "");
}

TEST_F(TfZelSimTest, AFileBeingSentShowsItsPanelAndCancelFileHidesIt) {
    window->show();
    zelSim->ComOpenClose();
    const std::string path = dir.File("lines.txt");
    std::string content;
    for (int i = 0; i < 20; ++i) content += "$GPGGA,line " + std::to_string(i) + "\r\n";
    TempDir::Write(path, content);
    dialogs.openChoice = path;

    auto* sendFile = Widget<QPushButton>(mw::bSendFile);
    QWidget* panel = window->Binding().Control(mw::pFileSendPanel);
    EXPECT_TRUE(panel->isHidden());
    QTest::mouseClick(sendFile, Qt::LeftButton);
    EXPECT_TRUE(zelSim->FileSender().Sending());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(sendFile->text(), "Cancel File");
    // It stands over the top of the list, clear of the send row.
    const QRect list = window->Binding()
                           .Control(mw::lbMessageMonitor)
                           ->geometry()
                           .translated(window->Binding().Control(mw::pMessageMonitorPanel)->pos());
    EXPECT_TRUE(list.contains(panel->geometry())) << "over the list";
    EXPECT_LT(panel->geometry().bottom(), list.center().y()) << "the newest lines stay in view";

    QTest::mouseClick(Widget<QPushButton>(mw::bCancelFile), Qt::LeftButton);
    EXPECT_FALSE(zelSim->FileSender().Sending());
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(sendFile->text(), "Send File");
}

TEST_F(TfZelSimTest, RightClickOnSendFileEditsTheLineDelay) {
    window->show();
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Send File Properties");
        dialog->findChild<QLineEdit*>("ebMsDelayBetweenLines")->setText("120");
        QTest::mouseClick(dialog->findChild<QPushButton*>("bOk"), Qt::LeftButton);
        if (dialog->isVisible()) dialog->close();  // a failure, not a hang
    });
    RightClick(Widget<QPushButton>(mw::bSendFile));
    EXPECT_EQ(zelSim->FileSender().LineDelay(), 120);
}

// Help stays last; About and the shortcuts open from the keyboard, and Esc
// puts them away.
TEST_F(TfZelSimTest, HelpIsTheLastMenuAndItsWindowsWorkFromTheKeyboard) {
    EXPECT_EQ(window->menuBar()->actions().back()->menu(), Menu("mHelp"));
    HookKeys();
    ASSERT_TRUE(ShowActive());
    const auto openHelp = [this] {
        QTest::keyClick(window.get(), Qt::Key_H, Qt::AltModifier);
        return QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; });
    };

    ASSERT_TRUE(openHelp());
    QString about;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "About ZelSim");
        about = box->text();
        QTest::keyClick(box, Qt::Key_Escape);
        if (box->isVisible()) box->close();  // a failure, not a hang
    });
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A);
    EXPECT_TRUE(about.contains("Settings file: " + QString::fromStdString(config.Path())))
        << about.toStdString();
    EXPECT_TRUE(about.contains("Demo simulator: not running")) << about.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    ASSERT_TRUE(ShowActive());
    ASSERT_TRUE(openHelp());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_K);
    TfKeyboardShortcuts* shortcuts = window->ShortcutsWindow();
    ASSERT_NE(shortcuts, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowActive(shortcuts));
    EXPECT_EQ(shortcuts->List()->topLevelItemCount(),
              static_cast<int>(KeyboardShortcuts::List().size()));
    QTest::keyClick(shortcuts->List(), Qt::Key_Escape);
    EXPECT_FALSE(shortcuts->isVisible());
}

// Each Alt key of the main window opens one thing, and the list of
// shortcuts names every menu by the key that opens it.
TEST_F(TfZelSimTest, TheMainWindowsAltKeysAreOneEachAndAllListed) {
    std::vector<std::string> listed;
    std::set<std::string> keys;
    for (const KeyboardShortcuts::Section& section : KeyboardShortcuts::List()) {
        if (section.title != KeyboardShortcuts::kMenusSection && section.title != "Main window")
            continue;
        for (const KeyboardShortcuts::Shortcut& s : section.shortcuts) {
            keys.insert(s.keys);
            if (section.title == KeyboardShortcuts::kMenusSection && s.keys.starts_with("Alt+"))
                listed.push_back(s.keys + " " + s.action);
        }
    }
    std::vector<std::string> menus;
    std::set<QChar> taken;
    const auto mnemonic = [&taken](const QString& caption) {
        const qsizetype amp = caption.indexOf('&');
        if (amp < 0 || amp + 1 >= caption.size()) return std::string();
        const QChar letter = caption[amp + 1].toUpper();
        EXPECT_TRUE(taken.insert(letter).second) << "Alt+" << QString(letter).toStdString();
        return "Alt+" + QString(letter).toStdString();
    };
    for (QAction* menu : window->menuBar()->actions()) {
        const std::string key = mnemonic(menu->text());
        EXPECT_FALSE(key.empty()) << menu->text().toStdString() << " has no Alt key";
        menus.push_back(key + " " + QString(menu->text()).remove('&').toStdString());
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->window() != window.get()) continue;
        const std::string key = mnemonic(button->text());
        if (!key.empty()) {
            EXPECT_TRUE(keys.count(key)) << key << " is not listed";
        }
    }
    EXPECT_EQ(listed, menus);
}

// Ctrl+Q closes the program from any of its windows, the send box too,
// exactly as the close box does: the port shuts and the same settings are
// written.
TEST_F(TfZelSimTest, CtrlQClosesAsTheCloseBoxDoes) {
    enum class Way { kCloseBox, kOnAButton, kInTheSendBox, kInTheGraphWindow };
    std::vector<std::string> saved;
    for (Way way : {Way::kCloseBox, Way::kOnAButton, Way::kInTheSendBox, Way::kInTheGraphWindow}) {
        SCOPED_TRACE(static_cast<int>(way));
        TempDir place;
        ConfigFile file(place.File("ZelSim.ini"));
        ZelSim station(clock, MemorySerialDevice::Plug(std::make_shared<MemorySerialDevice>()),
                       ports, file, dialogs);
        station.LoadSettings();
        TfZelSim shown(station);
        AppKeyFilter hook(station, &shown);
        qApp->installEventFilter(&hook);
        QSignalSpy closed(&shown, &TfZelSim::closed);
        shown.show();
        shown.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&shown));
        shown.Binding().MenuItem(mw::BaudItem(1200))->trigger();
        station.ComOpenClose();
        ASSERT_TRUE(station.Connection().Port().IsOpen());
        shown.OpenGraph();
        shown.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&shown));

        QWidget* target = shown.Binding().Control(mw::bComOpenClose);
        if (way == Way::kInTheSendBox) target = shown.Binding().Control(mw::cbSendData);
        if (way == Way::kInTheGraphWindow) {
            target = &shown.GraphWindow();
            target->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(target));
        }
        target->setFocus();
        if (way == Way::kCloseBox)
            shown.close();
        else
            QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
        qApp->removeEventFilter(&hook);

        EXPECT_EQ(closed.count(), 1);
        EXPECT_FALSE(shown.isVisible());
        EXPECT_FALSE(station.Connection().Port().IsOpen());
        saved.push_back(TempDir::Read(place.File("ZelSim.ini")));
    }
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_NE(saved[0].find("1200"), std::string::npos) << saved[0];
    for (const std::string& file : saved) EXPECT_EQ(file, saved[0]);
}

// The pictures without words say what they are where the pointer rests:
// the line's arrows, and each key of the receiver's panel with the
// keyboard key that does the same.
TEST_F(TfZelSimTest, PicturesSayWhatTheyAreWhereThePointerRests) {
    window->show();
    zelSim->ComOpenClose();
    for (int i = 0; i < 20; ++i) Cycle();
    QWidget* frame = window->Binding().Control(mw::iRxTxFrame);
    ASSERT_TRUE(frame->isVisible());
    QWidget* under = frame->parentWidget()->childAt(frame->geometry().center());
    ASSERT_NE(under, nullptr) << "the pointer finds the picture";
    EXPECT_TRUE(under->toolTip().contains("while bytes arrive")) << under->toolTip().toStdString();

    Menu("mZelOptions")->actions()[2]->trigger();  // Corvane
    QWidget* display = window->Binding().Control(mw::pDisplayPanel);
    QWidget* key = window->Binding().Control(mw::sKeyNo4);
    under = display->childAt(key->mapTo(display, key->rect().center()));
    ASSERT_NE(under, nullptr);
    EXPECT_EQ(under->toolTip(), "Enter key: also use Keyboard Left Arrow");
}

}  // namespace

}  // namespace zelsim
