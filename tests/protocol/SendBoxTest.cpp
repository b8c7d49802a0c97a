#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "protocol/SendBox.h"
#include "support/ConfigText.h"

namespace zelsim {

namespace {
namespace mw = main_window;

class SendBoxTest : public ::testing::Test {
  protected:
    SendBoxTest() : box_(controls_, [this](const std::string& text) { sent_.push_back(text); }) {}

    void SendText(const std::string& text) {
        box_.SetText(text);
        box_.Send();
    }
    const ControlState& Combo() const { return controls_.Get(mw::cbSendData); }

    ControlTable controls_;
    std::vector<std::string> sent_;
    SendBox box_;
    TempDir dir_;
};

// The combo box shows the text and the list through the control table.
TEST_F(SendBoxTest, SendingKeepsTheTextAndHistoryIgnoresCaseKeepingTheLatestSpelling) {
    SendText("abc");
    EXPECT_EQ(sent_, std::vector<std::string>{"abc"});
    EXPECT_EQ(Combo().text, "abc") << "ready to be sent again";
    SendText("ABC");
    EXPECT_EQ(box_.History(), std::vector<std::string>{"ABC"});
    EXPECT_EQ(Combo().items, std::vector<std::string>{"ABC"});
}

TEST_F(SendBoxTest, HistoryHoldsTheLastTwentyDifferentLines) {
    for (int i = 1; i <= 21; ++i) SendText("line " + std::to_string(i));
    ASSERT_EQ(box_.History().size(), SendBox::kHistoryLimit);
    EXPECT_EQ(box_.History().front(), "line 21");
    EXPECT_EQ(box_.History().back(), "line 2");

    // Re-sending the fifth entry moves it to the top; nothing falls off.
    const std::string fifth = box_.History()[4];
    SendText(fifth);
    EXPECT_EQ(box_.History().size(), SendBox::kHistoryLimit);
    EXPECT_EQ(box_.History().front(), fifth);
    EXPECT_EQ(box_.History()[4], "line 18");
    EXPECT_EQ(box_.History().back(), "line 2");
}

TEST_F(SendBoxTest, EnterInAnEmptyBoxOnlyResumesThePausedMonitor) {
    int pressed = 0;
    box_.onSendPressed = [&] {
        ++pressed;
        EXPECT_TRUE(sent_.empty()) << "before the line goes out, so it shows";
    };
    box_.KeyPress(SendBox::kEnter);
    EXPECT_EQ(pressed, 1);
    EXPECT_TRUE(sent_.empty());
    EXPECT_TRUE(box_.History().empty());
}

TEST_F(SendBoxTest, AddChecksumSumsFromTheLastDollar) {
    struct Case {
        const char* typed;
        const char* result;
    };
    for (const Case& c :
         {Case{"$PKVTQ,DML,SET1", "$PKVTQ,DML,SET1*7E"}, Case{"xx$AB$CD", "xx$AB$CD*07"},
          Case{"", "*00"}, Case{"$GPGGA,1*00", "$GPGGA,1*00"}}) {
        box_.SetText(c.typed);
        box_.AddChecksum();
        EXPECT_EQ(Combo().text, c.result) << c.typed;
    }
}

TEST_F(SendBoxTest, TypedCharactersAreFilteredAndCapitalisedByTheMenuItem) {
    std::string typed;
    for (char c : std::string("gpgga,1.5*")) typed += box_.KeyPress(c).value_or('?');
    EXPECT_EQ(typed, "GPGGA,1.5*");

    EXPECT_EQ(box_.KeyPress(1), std::nullopt);  // Ctrl+A
    EXPECT_EQ(box_.KeyPress(9), std::nullopt);
    EXPECT_EQ(box_.KeyPress(127), std::nullopt);
    EXPECT_EQ(box_.KeyPress(static_cast<char>(0xB0)), std::nullopt);
    for (char c : {SendBox::kCtrlX, SendBox::kCtrlC, SendBox::kCtrlV, SendBox::kBackspace})
        EXPECT_EQ(box_.KeyPress(c), c);

    EXPECT_TRUE(controls_.Get(mw::mMsgMonUpperCase).checked);
    box_.SetUpperCase(false);
    EXPECT_FALSE(controls_.Get(mw::mMsgMonUpperCase).checked);
    EXPECT_EQ(box_.KeyPress('g'), 'g');
}

TEST_F(SendBoxTest, EscapeEmptiesTheBoxUnlessAScriptTakesIt) {
    box_.SetText("abc");
    EXPECT_EQ(box_.KeyPress(SendBox::kEscape), std::nullopt);
    EXPECT_EQ(Combo().text, "");

    int stops = 0;
    box_.onEscapeToScript = [&] { return ++stops > 0; };
    box_.SetText("abc");
    box_.KeyPress(SendBox::kEscape);
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(Combo().text, "abc");
}

TEST_F(SendBoxTest, FocusHandsTheArrowKeysToTheBoxAndBackWithTheHint) {
    std::vector<bool> toPanel;
    box_.onKeyboardToPanel = [&](bool flag) { toPanel.push_back(flag); };
    box_.FocusIn();
    EXPECT_EQ(Combo().hint, SendBox::kHint);
    box_.FocusOut();
    EXPECT_EQ(Combo().hint, "");
    EXPECT_EQ(toPanel, (std::vector<bool>{false, true}));
}

// Line01..Line20: blanks and repeats that differ only in case are skipped,
// Line21 and beyond belong to someone else.
TEST_F(SendBoxTest, HistoryComesFromTheConfigurationAndGoesBackWithoutStaleLines) {
    std::string lines = "[MessageDropDownLines]\nLine01=$pkvtq,rid\nLine02=\nLine03=$PKVTQ,RID\n";
    for (int i = 4; i <= 21; ++i)
        lines += (i < 10 ? "Line0" : "Line") + std::to_string(i) + "=l" + std::to_string(i) + "\n";
    ConfigFile file = ConfigWith(dir_, lines + "[Configuration]\nMessageMonitorUpperCase=0\n");
    box_.LoadSettings(file);
    ASSERT_EQ(box_.History().size(), 18u);
    EXPECT_EQ(box_.History().front(), "$pkvtq,rid");
    EXPECT_EQ(box_.History().back(), "l20");
    EXPECT_EQ(Combo().items, box_.History());
    EXPECT_FALSE(box_.UpperCase());

    SendText("new");
    box_.SaveSettings(file);
    file.SetSection("MessageDropDownLines");
    EXPECT_EQ(file.ReadText("Line01", ""), "new");
    EXPECT_EQ(file.ReadText("Line19", ""), "l20");
    EXPECT_EQ(file.ReadText("Line20", "none"), "none");
    EXPECT_EQ(file.ReadText("Line21", ""), "l21");
    file.SetSection("Configuration");
    EXPECT_EQ(file.ReadText("MessageMonitorUpperCase", ""), "0");
}

}  // namespace

}  // namespace zelsim
