#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/AppKeyFilter.h"
#include "app/Station.h"
#include "app/TfZelSim.h"
#include "serial/MemorySerialDevice.h"
#include "support/FakeTickClock.h"

namespace {

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
        station = std::make_unique<Station>(clock, MemorySerialDevice::Plug(line), ports);
        window = std::make_unique<TfZelSim>(*station);
    }

    QMenu* Menu(const char* name) { return window->menuBar()->findChild<QMenu*>(name); }

    FakeTickClock clock;
    PortMap ports;
    std::shared_ptr<MemorySerialDevice> line = std::make_shared<MemorySerialDevice>();
    std::unique_ptr<Station> station;
    std::unique_ptr<TfZelSim> window;
};

TEST_F(TfZelSimTest, OpensWithItsMenusCaptionAndDesignSize) {
    window->show();
    EXPECT_EQ(window->windowTitle(), "ZEL Sim v" ZELSIM_VERSION_TEXT " - COM1 at 38400 BAUD is not connected");
    EXPECT_EQ(window->centralWidget()->size(), QSize(760, 530));

    QMenu* com = Menu("mComPort");
    ASSERT_NE(com, nullptr);
    ASSERT_EQ(com->actions().size(), 18);
    EXPECT_TRUE(com->actions()[0]->isChecked());
    EXPECT_EQ(com->actions()[0]->text(), "COM1\t/dev/ttyTEST1");
    EXPECT_EQ(com->actions()[1]->text(), "COM2\t(no device)");

    QMenu* baud = Menu("mBaud");
    ASSERT_NE(baud, nullptr);
    QStringList captions;
    for (QAction* a : baud->actions()) captions << a->text();
    EXPECT_EQ(captions, QStringList({"     300", "     600", "  1,200", "  2,400", "  4,800",
                                     "  9,600", " 19,200", " 38,400", " 57,600", "115,200"}));
    EXPECT_TRUE(baud->actions()[7]->isChecked());
}

TEST_F(TfZelSimTest, ConnectButtonAndMenusDriveTheStation) {
    window->show();
    auto* connect = window->findChild<QPushButton*>("bComOpenClose");
    ASSERT_NE(connect, nullptr);
    EXPECT_EQ(connect->text(), "Connect");
    QTest::mouseClick(connect, Qt::LeftButton);
    EXPECT_EQ(connect->text(), "Disconnect");
    EXPECT_TRUE(window->windowTitle().endsWith("/dev/ttyTEST1 at 38400 BAUD is connected"));

    Menu("mBaud")->actions()[5]->trigger();  // 9,600
    EXPECT_EQ(line->ConfiguredRate(), 9600u);
    EXPECT_TRUE(window->windowTitle().contains("at 9600 BAUD"));
    EXPECT_FALSE(station->Controls().Get("bAcquireCorvane").visible);

    line->Unplug();
    clock.Advance(10);
    QTest::qWait(30);  // the window's own timer runs the cycle
    EXPECT_EQ(connect->text(), "Connect");
    auto* message = window->Control(Station::kPortMessage);
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
}

TEST_F(TfZelSimTest, KeyHookConsumesPanelAndFunctionKeysOnly) {
    AppKeyFilter filter(*station);
    qApp->installEventFilter(&filter);
    KeyRecorder recorder;
    recorder.show();

    QTest::keyClick(&recorder, Qt::Key_F3);
    QTest::keyClick(&recorder, Qt::Key_Left);
    EXPECT_EQ(recorder.presses, 0) << "F-keys and arrows belong to buttons and panel";
    EXPECT_EQ(recorder.releases, 0);

    QTest::keyClick(&recorder, Qt::Key_A);
    EXPECT_EQ(recorder.presses, 1);

    Menu("mZelOptions")->actions()[0]->trigger();  // Off: arrows reach the control
    QTest::keyClick(&recorder, Qt::Key_Left);
    EXPECT_EQ(recorder.presses, 2);
    QTest::keyClick(&recorder, Qt::Key_F8);
    EXPECT_EQ(recorder.presses, 2);

    qApp->removeEventFilter(&filter);
}

}  // namespace
