#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "monitor/MessageMonitor.h"
#include "monitor/MonitorLayout.h"
#include "support/ConfigText.h"
#include "support/RecordingDialogs.h"
#include "support/TempDir.h"

namespace zelsim {

namespace {
namespace mw = main_window;

std::tm FixedTime() {
    std::tm t{};
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 7;
    return t;
}

class MessageMonitorTest : public ::testing::Test {
  protected:
    MessageMonitorTest() : monitor_(controls_, dialogs_, FixedTime) {
        monitor_.SetOption(&MonitorOptions::msgMonTime, false);
        monitor_.SetOption(&MonitorOptions::msgMonTickCount, false);
    }
    void Show(const std::string& text, uint32_t category = MessageCategory::kDgps) {
        monitor_.ShowLine(text, category, 0);
    }
    const MessageMonitor::Attributes& Last() const {
        return monitor_.LineAttributes(monitor_.LineCount() - 1);
    }

    ControlTable controls_;
    RecordingDialogs dialogs_;
    MessageMonitor monitor_;
};

TEST_F(MessageMonitorTest, PrefixesTimeAndTickModuloOneHundredThousand) {
    monitor_.SetOption(&MonitorOptions::msgMonTime, true);
    monitor_.SetOption(&MonitorOptions::msgMonTickCount, true);
    monitor_.ShowLine("$GPGGA,1", MessageCategory::kDgps, 4'294'912'345u);
    EXPECT_EQ(monitor_.Line(0), "09:05:07 12345 $GPGGA,1");
    EXPECT_TRUE(Last().timeShown);
    EXPECT_TRUE(Last().tickShown);

    monitor_.SetOption(&MonitorOptions::msgMonTime, false);
    monitor_.ShowLine("x", MessageCategory::kDgps, 100'042);
    EXPECT_EQ(monitor_.Line(1), "00042 x");
    // The flags are captured per line: the first keeps its time column.
    EXPECT_TRUE(monitor_.LineAttributes(0).timeShown);
    EXPECT_FALSE(monitor_.LineAttributes(1).timeShown);
}

TEST_F(MessageMonitorTest, OverLongTextBecomesTheErrorLineInItsColour) {
    Show(std::string(560, 'a'), MessageCategory::kNonNmea);
    EXPECT_EQ(monitor_.Line(0).size(), 560u);
    Show(std::string(561, 'a'), MessageCategory::kNonNmea);
    EXPECT_EQ(monitor_.Line(1), "----- Error - Message is too long ----");
    EXPECT_EQ(Last().category, MessageCategory::kNonNmea);
}

TEST_F(MessageMonitorTest, UnprintableCharactersShowAsTilde) {
    Show("a\tb", MessageCategory::kOutGoing);
    EXPECT_EQ(monitor_.Line(0), "a~b");
    // The last character too, so a row never draws a control character.
    Show("ab\x1b", MessageCategory::kOutGoing);
    EXPECT_EQ(monitor_.Line(1), "ab~");
    Show("12\xb0", MessageCategory::kOutGoing);  // the degree sign stays
    EXPECT_EQ(monitor_.Line(2), "12\xb0");
    Show("a.b", MessageCategory::kNonNmea);  // the framer's "." for byte 7 stays a "."
    EXPECT_EQ(monitor_.Line(3), "a.b");
}

TEST_F(MessageMonitorTest, TheRingKeepsTwoHundredLinesWithTheirColours) {
    for (int i = 1; i <= 401; ++i)
        Show("line " + std::to_string(i),
             i % 2 ? MessageCategory::kDgps : MessageCategory::kNonNmea);
    ASSERT_EQ(monitor_.LineCount(), MessageMonitor::kCapacity);
    EXPECT_EQ(monitor_.Line(0), "line 202");
    EXPECT_EQ(monitor_.Line(199), "line 401");
    for (int i = 0; i < monitor_.LineCount(); ++i) {
        const int n = std::stoi(monitor_.Line(i).substr(5));
        ASSERT_EQ(monitor_.LineAttributes(i).category,
                  n % 2 ? MessageCategory::kDgps : MessageCategory::kNonNmea)
            << i;
    }
}

// Each filter, turned off alone, keeps out exactly its own categories.
TEST_F(MessageMonitorTest, EachFilterKeepsOutItsOwnCategories) {
    using C = MessageCategory;
    const std::pair<bool MonitorOptions::*, std::vector<C::Code>> filters[] = {
        {&MonitorOptions::msgMonOutGoingMessages, {C::kOutGoing, C::kOutZel}},
        {&MonitorOptions::msgMonZelMessages, {C::kOutZel, C::kZel}},
        {&MonitorOptions::msgMonDgpsMessages, {C::kDgps}},
        {&MonitorOptions::msgMonLbMessages, {C::kLightBar}},
        {&MonitorOptions::msgMonDormalynMessages, {C::kDormalyn}},
        {&MonitorOptions::msgMonNonNmeaMessages, {C::kNonNmea}},
        {&MonitorOptions::msgMonOtherMessages, {C::kOther}},
    };
    for (const auto& [flag, kept] : filters) {
        monitor_.SetOption(flag, false);
        for (uint32_t code = 0; code <= C::kCount; ++code) {
            const int before = monitor_.LineCount();
            Show("line", code);
            const bool out =
                code >= C::kShort || std::find(kept.begin(), kept.end(), code) != kept.end();
            EXPECT_EQ(monitor_.LineCount(), before + (out ? 0 : 1)) << "category " << code;
        }
        monitor_.SetOption(flag, true);
    }
}

TEST_F(MessageMonitorTest, SentPanelTrafficNeedsBothOutGoingAndZelFilters) {
    monitor_.SetOption(&MonitorOptions::msgMonOutGoingMessages, false);
    Show("$PKVTK,1", MessageCategory::kOutZel);
    Show("$PKVTQ,RID", MessageCategory::kOutGoing);
    EXPECT_EQ(monitor_.LineCount(), 0);

    monitor_.SetOption(&MonitorOptions::msgMonOutGoingMessages, true);
    monitor_.SetOption(&MonitorOptions::msgMonZelMessages, false);
    Show("$PKVTK,1", MessageCategory::kOutZel);
    EXPECT_EQ(monitor_.LineCount(), 0);
    Show("$PKVTQ,RID", MessageCategory::kOutGoing);
    EXPECT_EQ(monitor_.LineCount(), 1);

    monitor_.SetOption(&MonitorOptions::msgMonZelMessages, true);
    Show("$PKVTK,1", MessageCategory::kOutZel);
    EXPECT_EQ(Last().category, MessageCategory::kOutZel);

    Show("$GPGGA", MessageCategory::kShort);
    EXPECT_EQ(monitor_.LineCount(), 2);
}

TEST_F(MessageMonitorTest, PauseMarksTheGapOnBothSides) {
    Show("first");
    EXPECT_TRUE(Last().gapBefore);  // the first line after start-up
    Show("before");
    EXPECT_FALSE(Last().gapBefore);

    const uint64_t appended = monitor_.AppendCount();
    monitor_.TogglePause();
    EXPECT_EQ(controls_.Get(mw::bPause).text, "Continue");
    Show("dropped");
    Show("dropped too");
    EXPECT_EQ(monitor_.LineCount(), 2);
    EXPECT_EQ(monitor_.AppendCount(), appended);
    EXPECT_TRUE(monitor_.LineAttributes(1).gapAfter);
    EXPECT_FALSE(monitor_.LineAttributes(0).gapAfter);

    monitor_.Resume();
    EXPECT_EQ(controls_.Get(mw::bPause).text, "Pause");
    Show("after");
    EXPECT_EQ(monitor_.AppendCount(), appended + 1);
    EXPECT_TRUE(Last().gapBefore);
    EXPECT_FALSE(Last().gapAfter);
    Show("later");
    EXPECT_FALSE(Last().gapBefore);
}

TEST_F(MessageMonitorTest, ClearEmptiesTheListButKeepsPause) {
    for (int i = 0; i < 30; ++i) Show("x");
    monitor_.TogglePause();
    monitor_.ClearMonitor();
    EXPECT_EQ(monitor_.LineCount(), 0);
    EXPECT_TRUE(monitor_.Paused());
    monitor_.Resume();
    Show("new");
    EXPECT_EQ(monitor_.Line(0), "new");
    EXPECT_EQ(monitor_.LineAttributes(0).category, MessageCategory::kDgps);
}

// Every option mirrors its menu item; Hide and Big move the panel and the
// send row, and tell the window so.
TEST_F(MessageMonitorTest, OptionsCheckTheirItemsAndBigAndHideReLayThePanel) {
    int relayouts = 0;
    monitor_.onLayoutChanged = [&] { ++relayouts; };
    monitor_.SetOption(&MonitorOptions::msgMonLbMessages, false);
    EXPECT_FALSE(controls_.Get(mw::mMsgMonLbMessages).checked);
    EXPECT_TRUE(controls_.Get(mw::mMsgMonDgpsMessages).checked);
    EXPECT_EQ(relayouts, 0);

    const ControlState& panel = controls_.Get(mw::pMessageMonitorPanel);
    const ControlState& list = controls_.Get(mw::lbMessageMonitor);
    const ControlState& addCkSum = controls_.Get(mw::bAddCkSum);
    EXPECT_EQ(list.height, MonitorLayout::List(false).height);
    const int panelBefore = panel.height;
    const int rowBefore = addCkSum.top;
    monitor_.SetOption(&MonitorOptions::messageMonitorBig, true);
    EXPECT_EQ(relayouts, 1);
    EXPECT_TRUE(controls_.Get(mw::mMsgMonBig).checked);
    const int grown = MonitorLayout::List(true).height - MonitorLayout::List(false).height;
    EXPECT_EQ(list.height, MonitorLayout::List(true).height);
    EXPECT_EQ(panel.height, panelBefore + grown);
    EXPECT_EQ(addCkSum.top, rowBefore + grown);

    monitor_.SetOption(&MonitorOptions::hideMessageMonitor, true);
    EXPECT_EQ(relayouts, 2);
    EXPECT_FALSE(panel.visible);
}

// The outgoing filter's two spellings are one key, written back in the
// file's own spelling; the legend keeps its place.
TEST_F(MessageMonitorTest, OptionsAndTheLegendPlaceComeFromTheConfigurationAndGoBack) {
    TempDir dir;
    ConfigFile file = ConfigWith(dir,
                                 "[Configuration]\nMsgMonOutGoingMessages=0\nMessageMonitorBig=1\n"
                                 "MsgMonColorsWindowLeft=-40\nMsgMonTime=garbage\n");
    monitor_.LoadSettings(file);
    EXPECT_FALSE(monitor_.Options().msgMonOutGoingMessages);
    EXPECT_FALSE(controls_.Get(mw::mMsgMonOutGoingMessages).checked);
    EXPECT_EQ(controls_.Get(mw::lbMessageMonitor).height, MonitorLayout::List(true).height)
        << "laid out as loaded";
    EXPECT_FALSE(monitor_.Options().msgMonTime) << "a value of no number keeps the flag";
    EXPECT_EQ(monitor_.LegendLeft(), -40);

    monitor_.SetOption(&MonitorOptions::msgMonOutGoingMessages, true);
    monitor_.SetLegendPosition(12, 34);
    monitor_.SaveSettings(file);
    ASSERT_TRUE(file.Save().Saved());
    const std::string text = TempDir::Read(file.Path());
    EXPECT_NE(text.find("MsgMonOutGoingMessages=1\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("MsgMonOutgoingMessages"), std::string::npos) << "written twice";
    EXPECT_NE(text.find("MsgMonColorsWindowLeft=12\n"), std::string::npos);
    EXPECT_NE(text.find("MsgMonColorsWindowTop=34\n"), std::string::npos);
}

}  // namespace

}  // namespace zelsim

namespace zelsim {
namespace {

TEST_F(MessageMonitorTest, SelectedRowsAreCopiedAsShownAndStayWithTheirLines) {
    monitor_.SetOption(&MonitorOptions::msgMonTickCount, true);
    for (int i = 0; i < 6; ++i) Show("line " + std::to_string(i));
    EXPECT_FALSE(monitor_.HasSelection());
    EXPECT_EQ(monitor_.SelectedText(), "");
    monitor_.SelectRow(4, false);  // a click
    monitor_.SelectRow(2, true);   // a Shift+click above it
    EXPECT_EQ(monitor_.SelectedText(), "00000 line 2\n00000 line 3\n00000 line 4\n");
    EXPECT_EQ(monitor_.ActiveRow(), 2);
    monitor_.ExtendSelection(-1);  // Shift+Up
    EXPECT_TRUE(monitor_.IsSelected(1));
    EXPECT_FALSE(monitor_.IsSelected(0));

    // The ring turns: the selection keeps its lines, and loses those that leave.
    for (int i = 6; i < MessageMonitor::kCapacity + 2; ++i) Show("line " + std::to_string(i));
    EXPECT_EQ(monitor_.SelectedText(), "00000 line 2\n00000 line 3\n00000 line 4\n");
    EXPECT_TRUE(monitor_.IsSelected(0));
    EXPECT_EQ(monitor_.ActiveRow(), -1);
    Show("one more");
    Show("and another");
    EXPECT_EQ(monitor_.SelectedText(), "00000 line 4\n");
    Show("gone");
    EXPECT_FALSE(monitor_.HasSelection());
    EXPECT_EQ(monitor_.SelectedText(), "");

    monitor_.SelectAll();
    const std::string all = monitor_.AllText();
    EXPECT_EQ(monitor_.SelectedText(), all);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), MessageMonitor::kCapacity);
    EXPECT_EQ(all.substr(all.size() - 11), "00000 gone\n");
    monitor_.ClearMonitor();
    EXPECT_FALSE(monitor_.HasSelection());
    EXPECT_EQ(monitor_.AllText(), "");
}

TEST_F(MessageMonitorTest, AFailedChecksumIsMarkedWhereItsStarStandsAndSaysWhatWasExpected) {
    monitor_.SetOption(&MonitorOptions::msgMonTime, true);
    Show("$GPGGA,1*00", MessageCategory::kNonNmea);
    const char expected = 'G' ^ 'P' ^ 'G' ^ 'G' ^ 'A' ^ ',' ^ '1';
    char suffix[4];
    std::snprintf(suffix, sizeof suffix, "*%02X", static_cast<unsigned char>(expected));
    EXPECT_EQ(Last().category, MessageCategory::kNonNmea);  // its colour as before
    EXPECT_EQ(Last().faultAt, 9 + 8 + 1);                   // after "hh:mm:ss "
    EXPECT_EQ(monitor_.Line(0).substr(Last().faultAt - 1), "*00");
    EXPECT_EQ(monitor_.LineHint(0),
              std::string("Checksum error: the line carries *00, its characters give ") + suffix);

    // Not one: a right checksum, no checksum, text without
    // "$", and the too-long line's stand-in.
    Show(std::string("$GPGGA,1") + suffix, MessageCategory::kDgps);
    Show("$GPGGA,1", MessageCategory::kDgps);
    Show("GPGGA,1*00", MessageCategory::kNonNmea);
    Show("$" + std::string(600, 'a') + "*00", MessageCategory::kNonNmea);
    for (int i = 1; i < monitor_.LineCount(); ++i) {
        EXPECT_EQ(monitor_.LineAttributes(i).faultAt, 0) << monitor_.Line(i);
        EXPECT_EQ(monitor_.LineHint(i), "");
    }
    // A lower-case checksum that is right is no fault; one that is cut short is.
    Show("$GPGGA,1*" + std::string(1, "0123456789abcdef"[(expected >> 4) & 15]) +
             "0123456789abcdef"[expected & 15],
         MessageCategory::kDgps);
    EXPECT_EQ(Last().faultAt, 0);
    Show("$GPGGA,1*5", MessageCategory::kNonNmea);
    EXPECT_NE(Last().faultAt, 0);
}

TEST_F(MessageMonitorTest, ShownLinesAreSavedWhereTheUserSaysAndAFailureIsSaid) {
    TempDir folder;
    Show("$GPGGA,1");
    Show("raw line", MessageCategory::kNonNmea);
    monitor_.SaveShownLines();  // cancelled: nothing written, nothing said
    ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs_.fileRequests[0].caption, "Save Shown Lines As");
    EXPECT_TRUE(dialogs_.warnings.empty());

    dialogs_.fileChoice = folder.File("shown.txt");
    monitor_.SaveShownLines();
    EXPECT_EQ(TempDir::Read(folder.File("shown.txt")), "$GPGGA,1\nraw line\n");

    dialogs_.fileChoice = folder.File("no such folder/shown.txt");
    monitor_.SaveShownLines();
    EXPECT_EQ(dialogs_.fileRequests[2].folder, folder.Path());  // where it saved last
    ASSERT_EQ(dialogs_.warnings.size(), 1u);
    EXPECT_NE(dialogs_.warnings[0].find("Lines Not Saved: The shown lines could not be written"),
              std::string::npos);
}

}  // namespace
}  // namespace zelsim
