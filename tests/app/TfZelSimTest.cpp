#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/AppKeyFilter.h"
#include "app/TfZelSim.h"
#include "app/ZelSim.h"
#include "base/ZelSimControls.h"
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

    QMenu* Menu(const char* name) { return window->menuBar()->findChild<QMenu*>(name); }
    template <typename W>
    W* Widget(std::string_view name) {
        return qobject_cast<W*>(window->Control(name));
    }
    QComboBox* Box() { return Widget<QComboBox>(mw::cbSendData); }
    QStringList Captions(QMenu* menu) {
        QStringList captions;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) captions << a->text();
        return captions;
    }

    FakeTickClock clock;
    PortMap ports;
    std::shared_ptr<MemorySerialDevice> line = std::make_shared<MemorySerialDevice>();
    TempDir dir;
    ConfigFile config{dir.File("ZelSim.ini")};
    RecordingDialogs dialogs;
    std::unique_ptr<ZelSim> zelSim;
    std::unique_ptr<TfZelSim> window;
};

TEST_F(TfZelSimTest, OpensWithItsMenusCaptionAndDesignSize) {
    window->show();
    EXPECT_EQ(window->windowTitle(),
              "ZEL Sim v" ZELSIM_VERSION_TEXT " - COM1 at 38400 BAUD is not connected");
    EXPECT_EQ(window->centralWidget()->size(), QSize(760, 591));

    QMenu* com = Menu("mComPort");
    ASSERT_NE(com, nullptr);
    ASSERT_EQ(com->actions().size(), 20);  // and a line and Reconnect Automatically
    EXPECT_EQ(com->actions()[19]->text(), "Reconnect Automatically");
    EXPECT_TRUE(com->actions()[19]->isChecked());
    EXPECT_TRUE(com->actions()[0]->isChecked());
    EXPECT_EQ(com->actions()[0]->text(), "COM1\t/dev/ttyTEST1");
    EXPECT_EQ(com->actions()[1]->text(), "COM2\t(no device)");

    EXPECT_EQ(Captions(Menu("mBaud")),
              QStringList({"     300", "     600", "  1,200", "  2,400", "  4,800", "  9,600",
                           " 19,200", " 38,400", " 57,600", "115,200"}));
    EXPECT_TRUE(Menu("mBaud")->actions()[7]->isChecked());

    QMenu* monitor = Menu("mMsgMonOptions");
    EXPECT_EQ(Captions(monitor),
              QStringList({"Out-Going Messages", "ZEL Messages", "DGPS Messages",
                           "Light Bar Messages", "Dormalyn Messages", "Non-NMEA Messages",
                           "Other Messages", "Hide", "Big", "Convert Keys to Upper Case",
                           "Flush Serial Port", "Time", "Tick Count (milliseconds)"}));
    QStringList unchecked;
    for (QAction* item : monitor->actions())
        if (item->isCheckable() && !item->isChecked()) unchecked << item->text();
    EXPECT_EQ(unchecked, QStringList({"Hide", "Big"}));
}

// Everything core says reaches a widget or an item: a name no control
// binds would be a state the user never sees.
TEST_F(TfZelSimTest, EveryControlCoreWritesIsBound) {
    window->show();
    zelSim->Line().ComOpenClose();
    Menu("mZelOptions")->actions()[0]->trigger();  // Off
    for (QAction* item : Menu("mMsgMonOptions")->actions()) item->trigger();
    for (QAction* item : Menu("mMsgMonOptions")->actions()) item->trigger();
    zelSim->Sender().FocusIn();
    zelSim->Monitor().TogglePause();
    line->Unplug();
    clock.Advance(200);
    zelSim->Tick();
    window->ApplyControls();

    EXPECT_TRUE(window->UnboundControls().empty())
        << "unbound: " << *window->UnboundControls().begin();
    int entries = 0;
    zelSim->Controls().ForEachChangedSince(0, [&](const std::string& name, const ControlState&) {
        ++entries;
        EXPECT_TRUE(name == mw::fZelSim || window->Control(name) || window->MenuItem(name)) << name;
    });
    EXPECT_GT(entries, 50);
}

TEST_F(TfZelSimTest, ConnectButtonAndMenusDriveTheParts) {
    window->show();
    auto* connect = Widget<QPushButton>(mw::bComOpenClose);
    ASSERT_NE(connect, nullptr);
    EXPECT_EQ(connect->text(), "Connect");
    QTest::mouseClick(connect, Qt::LeftButton);
    EXPECT_EQ(connect->text(), "Disconnect");
    EXPECT_TRUE(window->windowTitle().endsWith("/dev/ttyTEST1 at 38400 BAUD is connected"));

    Menu("mBaud")->actions()[5]->trigger();  // 9,600
    EXPECT_EQ(line->ConfiguredRate(), 9600u);

    line->Unplug();
    clock.Advance(10);
    // The window's own timer runs the cycle that notices.
    QTRY_COMPARE(connect->text(), QString("Connect"));
    EXPECT_TRUE(window->Control(mw::lPortMessage)->isVisible());
}

// The hook takes only keys bound for the main window's own controls.
TEST_F(TfZelSimTest, KeyHookConsumesPanelAndFunctionKeysOnly) {
    AppKeyFilter filter(*zelSim, window.get());
    qApp->installEventFilter(&filter);
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

    qApp->removeEventFilter(&filter);
}

// An open menu gets its arrows and Return, whatever the panel type.
TEST_F(TfZelSimTest, MenusAreDrivenByTheKeyboard) {
    AppKeyFilter filter(*zelSim, window.get());
    qApp->installEventFilter(&filter);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    QWidget* menu = QApplication::activePopupWidget();
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(zelSim->Line().SelectedBaud(), 1200u);
    qApp->removeEventFilter(&filter);
}

// The keys reach the combo box, which has the focus; what it shows comes
// back from the send box.
TEST_F(TfZelSimTest, TheSendBoxFiltersTypingSendsAndRemembers) {
    window->show();
    zelSim->Line().ComOpenClose();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(Box(), &focusIn);
    EXPECT_FALSE(zelSim->Keys().Active()) << "the arrow keys edit the text";
    EXPECT_EQ(Box()->toolTip(), SendBox::kHint);

    QTest::keyClicks(Box(), "$pkvtq,rid");
    QTest::keyClick(Box(), Qt::Key_A, Qt::ControlModifier);  // dropped, nothing selected
    EXPECT_EQ(Box()->lineEdit()->text(), "$PKVTQ,RID");
    zelSim->Monitor().TogglePause();
    QTest::keyClick(Box(), Qt::Key_Return);
    EXPECT_EQ(line->TakeWritten(), "$PKVTQ,RID*3B\r\n");
    EXPECT_EQ(Widget<QPushButton>(mw::bPause)->text(), "Pause");
    EXPECT_EQ(zelSim->Monitor().LineCount(), 1) << "resumed before it went out";
    EXPECT_EQ(Box()->count(), 1);
    EXPECT_EQ(Box()->lineEdit()->text(), "$PKVTQ,RID") << "ready to go again";
    // Selected whole: typing replaces it, Enter sends it again.
    QTest::keyClicks(Box(), "$pkvtq,did");
    QTest::keyClick(Box(), Qt::Key_Return);
    QTest::keyClick(Box(), Qt::Key_Return);
    EXPECT_EQ(line->TakeWritten(), "$PKVTQ,DID*2D\r\n$PKVTQ,DID*2D\r\n");

    Box()->lineEdit()->setText("$PKVTQ,DML,SET1");
    Widget<QPushButton>(mw::bAddCkSum)->click();
    EXPECT_EQ(Box()->lineEdit()->text(), "$PKVTQ,DML,SET1*7E");
    Widget<QPushButton>(mw::bSendData)->click();
    EXPECT_EQ(Box()->itemText(0), "$PKVTQ,DML,SET1*7E");
    EXPECT_EQ(Box()->itemText(1), "$PKVTQ,DID");

    QTest::keyClick(Box(), Qt::Key_Escape);
    EXPECT_EQ(Box()->lineEdit()->text(), "");
    QFocusEvent focusOut(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(Box(), &focusOut);
    EXPECT_TRUE(zelSim->Keys().Active());
}

TEST_F(TfZelSimTest, MonitorButtonsAndBigAndHideMoveTheWidgets) {
    window->show();
    auto* pause = Widget<QPushButton>(mw::bPause);
    pause->click();
    EXPECT_EQ(pause->text(), "Continue");
    EXPECT_FALSE(Widget<QPushButton>(mw::bSendFile)->isEnabled());

    QWidget* panel = window->Control(mw::pMessageMonitorPanel);
    EXPECT_EQ(panel->geometry(), QRect(0, 296, 760, 295));
    EXPECT_EQ(window->Control(mw::lbMessageMonitor)->geometry(), QRect(8, 0, 744, 250));
    EXPECT_EQ(Widget<QPushButton>(mw::bSendData)->geometry(), QRect(414, 254, 60, 25));
    window->MenuItem(mw::mMsgMonBig)->trigger();
    EXPECT_EQ(panel->height(), 415);
    EXPECT_EQ(Widget<QPushButton>(mw::bAddCkSum)->y(), 374);
    EXPECT_EQ(Box()->y(), 375);
    EXPECT_EQ(window->centralWidget()->height(), 711);

    window->MenuItem(mw::mMsgMonHide)->trigger();
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(window->centralWidget()->height(), 591);
}

}  // namespace

}  // namespace zelsim
