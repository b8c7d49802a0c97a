#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/MessageMonitor.h"
#include "protocol/SendBox.h"
#include "serial/SentenceWriters.h"

namespace {

class SendBoxTest : public ::testing::Test {
  protected:
    SendBoxTest() : box_(monitor_, [this](const std::string& text) { sent_.push_back(text); }) {}

    void SendText(const std::string& text) {
        box_.SetText(text);
        box_.Send();
    }

    MessageMonitor monitor_;
    std::vector<std::string> sent_;
    SendBox box_;
};

TEST_F(SendBoxTest, SendingKeepsTheTextAndHistoryIgnoresCaseKeepingTheLatestSpelling) {
    SendText("abc");
    EXPECT_EQ(sent_, std::vector<std::string>{"abc"});
    EXPECT_EQ(box_.Text(), "abc");
    SendText("ABC");
    EXPECT_EQ(box_.History(), std::vector<std::string>{"ABC"});
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

TEST_F(SendBoxTest, EmptyBoxOnlyResumesThePausedMonitor) {
    monitor_.TogglePause();
    box_.KeyPress(SendBox::kEnter);
    EXPECT_FALSE(monitor_.Paused());
    EXPECT_TRUE(sent_.empty());
    EXPECT_TRUE(box_.History().empty());
}

TEST_F(SendBoxTest, LoadedHistorySkipsEmptyAndRepeatedLines) {
    box_.LoadHistory({"$PKVTQ,RID", "", "$pkvtq,rid", "hello"});
    EXPECT_EQ(box_.History(), (std::vector<std::string>{"$PKVTQ,RID", "hello"}));
    std::vector<std::string> many(30);
    for (int i = 0; i < 30; ++i) many[i] = std::to_string(i);
    SendBox other(monitor_, nullptr);
    other.LoadHistory(many);
    EXPECT_EQ(other.History().size(), SendBox::kHistoryLimit);
}

TEST_F(SendBoxTest, AddChecksumSumsFromTheLastDollar) {
    box_.SetText("$PKVTQ,DML,SET1");
    box_.AddChecksum();
    EXPECT_EQ(box_.Text(), "$PKVTQ,DML,SET1" + LogChecksum("$PKVTQ,DML,SET1"));

    box_.SetText("xx$AB$CD");
    box_.AddChecksum();
    EXPECT_EQ(box_.Text(), "xx$AB$CD*07");

    box_.SetText("");
    box_.AddChecksum();
    EXPECT_EQ(box_.Text(), "*00");

    box_.SetText("$GPGGA,1*00");
    box_.AddChecksum();
    EXPECT_EQ(box_.Text(), "$GPGGA,1*00");
}

TEST_F(SendBoxTest, TypedCharactersAreFiltered) {
    monitor_.options.messageMonitorUpperCase = true;
    std::string typed;
    for (char c : std::string("gpgga,1.5*")) typed += box_.KeyPress(c).value_or('?');
    EXPECT_EQ(typed, "GPGGA,1.5*");

    EXPECT_EQ(box_.KeyPress(1), std::nullopt);  // Ctrl+A
    EXPECT_EQ(box_.KeyPress(9), std::nullopt);
    EXPECT_EQ(box_.KeyPress(127), std::nullopt);
    EXPECT_EQ(box_.KeyPress(static_cast<char>(0xB0)), std::nullopt);
    for (char c : {SendBox::kCtrlX, SendBox::kCtrlC, SendBox::kCtrlV, SendBox::kBackspace})
        EXPECT_EQ(box_.KeyPress(c), c);

    monitor_.options.messageMonitorUpperCase = false;
    EXPECT_EQ(box_.KeyPress('g'), 'g');
}

TEST_F(SendBoxTest, EscapeEmptiesTheBoxUnlessAScriptTakesIt) {
    box_.SetText("abc");
    EXPECT_EQ(box_.KeyPress(SendBox::kEscape), std::nullopt);
    EXPECT_EQ(box_.Text(), "");

    int stops = 0;
    box_.onEscapeToScript = [&] { return ++stops > 0; };
    box_.SetText("abc");
    box_.KeyPress(SendBox::kEscape);
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(box_.Text(), "abc");
}

TEST_F(SendBoxTest, FocusHandsTheArrowKeysToTheBoxAndBack) {
    std::vector<bool> toPanel;
    box_.onKeyboardToPanel = [&](bool flag) { toPanel.push_back(flag); };
    box_.FocusIn();
    EXPECT_TRUE(box_.HintShown());
    box_.FocusOut();
    EXPECT_FALSE(box_.HintShown());
    EXPECT_EQ(toPanel, (std::vector<bool>{false, true}));
}

}  // namespace
