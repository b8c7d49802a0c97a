#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "scripts/ScriptStation.h"
#include "scripts/TfDefineButton.h"
#include "scripts/TfSendFilePopUp.h"

namespace zelsim {

namespace {

// Runs `act` on the modal dialog of type D once it is open; `act` closes
// it, or the test fails instead of waiting for a user.
template <typename D>
void WhenOpen(std::function<void(D&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog stayed open";
            dialog->reject();
        }
    });
}

class DefineButtonTest : public ::testing::Test {
  protected:
    DefineButtonTest() {
        buttons.SelectGroup(2);
        buttons.DefineButton(1, "Reset", "$PKVTQ,RID\n~d500");
        buttons.SetDefineButtonPlace(40, 50);
    }
    bool Edit() {
        return TfDefineButton::Edit(buttons, 1, nullptr,
                                    [this](bool active) { keys.push_back(active); });
    }

    ControlTable controls;
    UserButtons buttons{controls};
    std::vector<bool> keys;
};

TEST_F(DefineButtonTest, OpensWhereItStoodWithTheKeysTakenAndOkStoresTheMemo) {
    QString caption, memo;
    QPoint shownAt;
    bool keysTaken = false;
    WhenOpen<TfDefineButton>([&](TfDefineButton& dialog) {
        caption = dialog.CaptionEdit()->text();
        memo = dialog.Memo()->toPlainText();
        shownAt = dialog.pos();
        keysTaken = keys == std::vector<bool>{false};
        EXPECT_EQ(dialog.windowTitle(), "Define Button");
        EXPECT_EQ(dialog.Memo()->lineWrapMode(), QPlainTextEdit::NoWrap);
        EXPECT_TRUE(QFontInfo(dialog.Memo()->font()).fixedPitch());
        EXPECT_TRUE(QFontInfo(dialog.CaptionEdit()->font()).fixedPitch());
        EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";
        dialog.CaptionEdit()->setText("Bootload");
        dialog.Memo()->setPlainText("\n~b115200\n\n\n$PKVTQ,DID\n\n");
        dialog.move(70, 80);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(Edit());
    EXPECT_EQ(caption, "Reset");
    EXPECT_EQ(memo, "$PKVTQ,RID\n~d500");
    EXPECT_EQ(shownAt, QPoint(40, 50));
    EXPECT_TRUE(keysTaken) << "F-keys and arrows stay in the dialog";
    EXPECT_EQ(keys, (std::vector<bool>{false, true}));

    const ButtonDefinition& stored = buttons.Table().At(9);
    EXPECT_EQ(stored.caption, "Bootload");
    EXPECT_EQ(stored.script, (std::vector<std::string>{"~b115200", "$PKVTQ,DID"}));
    EXPECT_EQ(controls.Get(main_window::bButton2).text, "Bootload");
    EXPECT_EQ(QPoint(buttons.DefineButtonLeft(), buttons.DefineButtonTop()), QPoint(70, 80));
}

// Enter belongs to the memo: it starts a line there; the keyboard's way to
// OK is Ctrl+Enter, and Esc leaves everything as it was.
TEST_F(DefineButtonTest, EnterStartsALineCtrlEnterIsOkAndEscCancels) {
    WhenOpen<TfDefineButton>([](TfDefineButton& dialog) {
        dialog.Memo()->setFocus();
        dialog.Memo()->moveCursor(QTextCursor::End);
        QTest::keyClick(dialog.Memo(), Qt::Key_Return);
        QTest::keyClicks(dialog.Memo(), "~e");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.OkButton()->shortcut(), QKeySequence("Alt+O"));
        QTest::keyClick(dialog.Memo(), Qt::Key_Return, Qt::ControlModifier);
    });
    EXPECT_TRUE(Edit());
    EXPECT_EQ(buttons.Table().At(9).script,
              (std::vector<std::string>{"$PKVTQ,RID", "~d500", "~e"}));

    WhenOpen<TfDefineButton>([](TfDefineButton& dialog) {
        dialog.Memo()->setPlainText("changed");
        QTest::keyClick(dialog.Memo(), Qt::Key_Escape);
    });
    EXPECT_FALSE(Edit());
    EXPECT_EQ(buttons.Table().At(9).script.size(), 3u);

    EXPECT_EQ(keys, (std::vector<bool>{false, true, false, true}));
}

TEST_F(DefineButtonTest, ScriptLinesAreTheLinesBytes) {
    // A degree sign goes out as the one byte 176.
    buttons.DefineButton(1, "Deg", "$PKVTS,45\xB0");
    WhenOpen<TfDefineButton>([](TfDefineButton& dialog) {
        EXPECT_EQ(dialog.Memo()->toPlainText(), QString("$PKVTS,45") + QChar(0xB0));
        dialog.accept();
    });
    Edit();
    EXPECT_EQ(buttons.Table().At(9).script.front(), "$PKVTS,45\xB0");
}

TEST(SendFilePopUp, TheDelayMustBeAWholeNumber) {
    EXPECT_EQ(TfSendFilePopUp::ParseDelay(" 250 "), 250);
    EXPECT_EQ(TfSendFilePopUp::ParseDelay("0"), 0);
    EXPECT_EQ(TfSendFilePopUp::ParseDelay("-5"), -5);
    for (const char* text : {"", "12ms", "1.5", "abc", "99999999999"})
        EXPECT_FALSE(TfSendFilePopUp::ParseDelay(text).has_value()) << text;
}

class SendFilePopUpTest : public ::testing::Test {
  protected:
    SendFilePopUpTest() {
        station.sender.SetLineDelay(40);
        station.sender.SetPopupPlace(30, 20);
    }
    ScriptStation station;
};

// What the toolkit's conversion error did, said in words: the box tells
// what to type, the delay keeps its value, and the text can be corrected.
TEST_F(SendFilePopUpTest, ATextThatIsNoNumberIsSaidAndTheDelayKept) {
    QString said;
    int delayMeanwhile = -1;
    WhenOpen<TfSendFilePopUp>([&](TfSendFilePopUp& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Send File Properties");
        EXPECT_EQ(dialog.DelayEdit()->text(), "40");
        EXPECT_EQ(dialog.pos(), QPoint(30, 20));
        dialog.DelayEdit()->setText("fast");
        WhenOpen<QMessageBox>([&](QMessageBox& box) {
            said = box.text();
            box.accept();
        });
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        delayMeanwhile = station.sender.LineDelay();
        EXPECT_TRUE(dialog.isVisible());
        dialog.DelayEdit()->setText("75");
        EXPECT_EQ(dialog.StallEdit()->text(), "10");
        dialog.StallEdit()->setText("-1");
        WhenOpen<QMessageBox>([&](QMessageBox& box) {
            said += box.text();
            box.accept();
        });
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        dialog.StallEdit()->setText("30");
        dialog.move(60, 90);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(TfSendFilePopUp::Edit(station.sender, nullptr));
    EXPECT_TRUE(said.contains("\"-1\" is not a number of seconds")) << said.toStdString();
    EXPECT_EQ(station.sender.StallSeconds(), 30);
    EXPECT_NE(TempDir::Read(station.dir.File("ZelSim.ini")).find("SendFileStallSeconds=30"),
              std::string::npos);
    EXPECT_TRUE(said.contains("\"fast\" is not a whole number")) << said.toStdString();
    EXPECT_TRUE(said.contains("milliseconds")) << said.toStdString();
    EXPECT_EQ(delayMeanwhile, 40);
    EXPECT_EQ(station.sender.LineDelay(), 75);
    EXPECT_EQ(QPoint(station.sender.PopupLeft(), station.sender.PopupTop()), QPoint(60, 90));
}

TEST_F(SendFilePopUpTest, CancelChangesNothingAndASendingFileRefusesTheDialog) {
    WhenOpen<TfSendFilePopUp>([](TfSendFilePopUp& dialog) {
        dialog.DelayEdit()->setText("500");
        dialog.reject();
    });
    EXPECT_FALSE(TfSendFilePopUp::Edit(station.sender, nullptr));
    EXPECT_EQ(station.sender.LineDelay(), 40);

    station.Connect();
    station.sender.SetCurrentPath(station.AddFile("big.hex", std::string(1000, 'x')));
    std::string why;
    station.sender.Start(station.sender.Open(station.sender.CurrentPath(), why));
    ASSERT_TRUE(station.sender.Sending());
    EXPECT_FALSE(TfSendFilePopUp::Edit(station.sender, nullptr)) << "no dialog opens";
}

}  // namespace

}  // namespace zelsim
