#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "monitor/MessageMonitor.h"
#include "monitor/MessageMonitorMenu.h"
#include "monitor/MessageMonitorPanel.h"
#include "monitor/MessageMonitorView.h"
#include "protocol/SendBox.h"

namespace {

class MessageMonitorPanelTest : public ::testing::Test {
  protected:
    MessageMonitorPanelTest()
        : box(monitor,
              [this](const std::string& text) {
                  sent.push_back(text);
                  monitor.ShowLine(text, MessageCategory::kOutGoing, 0);
              }),
          panel(monitor, box) {}

    QPushButton* Button(const char* name) { return panel.findChild<QPushButton*>(name); }
    QLineEdit* Edit() { return panel.SendData()->lineEdit(); }

    MessageMonitor monitor;
    std::vector<std::string> sent;
    SendBox box;
    MessageMonitorPanel panel;
};

TEST_F(MessageMonitorPanelTest, KeysReachingTheComboBoxAreFilteredLikeTheFields) {
    // The window system delivers keys to the combo box, which has the focus.
    bool toPanel = true;
    box.onKeyboardToPanel = [&toPanel](bool panel) { toPanel = panel; };
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(panel.SendData(), &focusIn);
    EXPECT_FALSE(toPanel) << "the arrow keys edit the text while the box has the focus";
    QTest::keyClicks(panel.SendData(), "$pkvtq,rid");
    EXPECT_EQ(Edit()->text(), "$PKVTQ,RID");
    QTest::keyClick(panel.SendData(), Qt::Key_Return);
    EXPECT_EQ(sent, std::vector<std::string>{"$PKVTQ,RID"});
    QFocusEvent focusOut(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(panel.SendData(), &focusOut);
    EXPECT_TRUE(toPanel);
}

TEST_F(MessageMonitorPanelTest, TypedTextIsFilteredAndEnterSendsIt) {
    QTest::keyClicks(Edit(), "$gpgga,1");
    QTest::keyClick(Edit(), Qt::Key_A, Qt::ControlModifier);  // dropped, nothing selected
    QTest::keyClicks(Edit(), "x");
    EXPECT_EQ(Edit()->text(), "$GPGGA,1X");
    EXPECT_EQ(box.Text(), "$GPGGA,1X");

    monitor.TogglePause();
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_EQ(sent, std::vector<std::string>{"$GPGGA,1X"});
    EXPECT_EQ(Button("bPause")->text(), "Pause");
    EXPECT_EQ(panel.SendData()->count(), 1);
    EXPECT_EQ(Edit()->text(), "$GPGGA,1X");  // ready to go again
    EXPECT_EQ(monitor.LineCount(), 1);

    QTest::keyClick(Edit(), Qt::Key_Escape);
    EXPECT_EQ(Edit()->text(), "");
}

TEST_F(MessageMonitorPanelTest, ButtonsDriveTheBoxAndTheMonitor) {
    box.LoadHistory({"$PKVTQ,RID", "hello"});
    panel.SyncFromSendBox();
    EXPECT_EQ(panel.SendData()->count(), 2);

    Edit()->setText("$PKVTQ,DML,SET1");
    Button("bAddCkSum")->click();
    EXPECT_TRUE(Edit()->text().startsWith("$PKVTQ,DML,SET1*"));
    Button("bSendData")->click();
    EXPECT_EQ(panel.SendData()->itemText(0), Edit()->text());

    Button("bPause")->click();
    EXPECT_EQ(Button("bPause")->text(), "Continue");
    Button("bClear")->click();
    EXPECT_EQ(monitor.LineCount(), 0);
    EXPECT_FALSE(Button("bSendFile")->isEnabled());
}

TEST_F(MessageMonitorPanelTest, BigAndHideReLayTheOutPanel) {
    EXPECT_EQ(panel.size(), QSize(760, 295));
    EXPECT_EQ(panel.View()->geometry(), QRect(8, 0, 744, 250));
    EXPECT_EQ(Button("bSendData")->geometry(), QRect(414, 254, 60, 25));

    QMenu menu;
    MessageMonitorMenu options(monitor, &menu);
    QObject::connect(&options, &MessageMonitorMenu::layoutChanged, &panel,
                     &MessageMonitorPanel::Relayout);
    options.Item("mMsgMonBig")->trigger();
    EXPECT_TRUE(monitor.options.messageMonitorBig);
    EXPECT_EQ(panel.height(), 415);
    EXPECT_EQ(panel.View()->height(), 370);
    EXPECT_EQ(Button("bAddCkSum")->y(), 374);
    EXPECT_EQ(panel.SendData()->y(), 375);

    options.Item("mMsgMonHide")->trigger();
    EXPECT_TRUE(panel.isHidden());
}

TEST(MessageMonitorMenuTest, ItemsMirrorTheFlags) {
    MessageMonitor monitor;
    QMenu menu;
    MessageMonitorMenu options(monitor, &menu);
    QStringList captions;
    for (QAction* action : menu.actions())
        if (!action->isSeparator()) captions << action->text();
    EXPECT_EQ(captions, (QStringList{"Out-Going Messages", "ZEL Messages", "DGPS Messages",
                                     "Light Bar Messages", "Dormalyn Messages", "Non-NMEA Messages",
                                     "Other Messages", "Hide", "Big", "Convert Keys to Upper Case",
                                     "Time", "Tick Count (milliseconds)"}));

    QSignalSpy relayouts(&options, &MessageMonitorMenu::layoutChanged);
    options.Item("mMsgMonDgpsMessages")->trigger();
    EXPECT_FALSE(monitor.options.msgMonDgpsMessages);
    EXPECT_EQ(relayouts.count(), 0);

    monitor.options.msgMonTime = false;
    options.SyncFromOptions();
    EXPECT_FALSE(options.TimeAction()->isChecked());
}

}  // namespace
