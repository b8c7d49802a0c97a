#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "panel/PanelKeys.h"

namespace zelsim {

namespace {

namespace mw = main_window;
using Sent = std::vector<std::string>;

class PanelKeysTest : public ::testing::Test {
  protected:
    PanelKeysTest()
        : keys_(
              controls_, [this](std::string_view text) { sent_.emplace_back(text); },
              [this] { return portOpen_; }) {}

    // What was sent since the last call.
    Sent Take() {
        Sent taken;
        taken.swap(sent_);
        return taken;
    }

    ControlTable controls_;
    Sent sent_;
    bool portOpen_ = true;
    PanelKeys keys_;
};

TEST_F(PanelKeysTest, MouseButtonsSendTheMaskAtPressAndRelease) {
    keys_.KeyAreaPressed(3);
    keys_.KeyAreaReleased(3);
    EXPECT_EQ(Take(), (Sent{"$PKVTK,4", "$PKVTK,0"}));

    keys_.UpAndDownPressed();
    EXPECT_EQ(Take(), (Sent{"$PKVTK,2", "$PKVTK,6"})) << "Up reaches the receiver before Down";
    keys_.UpAndDownReleased();
    EXPECT_EQ(Take(), (Sent{"$PKVTK,0"}));

    keys_.DiagPressed();
    keys_.DiagReleased();
    EXPECT_EQ(Take(), (Sent{"$PKVTK,9", "$PKVTK,0"}));

    keys_.KeyAreaPressed(1);
    keys_.KeyAreaPressed(2);
    keys_.KeyAreaPressed(4);
    EXPECT_EQ(Take(), (Sent{"$PKVTK,1", "$PKVTK,3", "$PKVTK,B"})) << "one upper-case digit";
}

TEST_F(PanelKeysTest, MouseAndKeyboardShareOneMask) {
    keys_.KeyAreaPressed(1);
    keys_.PressKeys(8, true);  // Right arrow under Dormalyn
    keys_.PressKeys(8, false);
    EXPECT_EQ(Take(), (Sent{"$PKVTK,1", "$PKVTK,9", "$PKVTK,1"}));

    // Home from the keyboard over the Diag button held by the mouse: a
    // release takes away only its own keys.
    keys_.DiagPressed();
    keys_.PressKeys(6, true);
    keys_.DiagReleased();
    keys_.PressKeys(6, false);
    EXPECT_EQ(Take(), (Sent{"$PKVTK,9", "$PKVTK,F", "$PKVTK,6", "$PKVTK,0"}));

    // Nothing outside the four keys reaches the line or the mask.
    keys_.PressKeys(0xF0, true);
    keys_.KeyAreaPressed(5);
    EXPECT_EQ(keys_.Mask(), 0);
    EXPECT_EQ(Take(), (Sent{"$PKVTK,0", "$PKVTK,0"}));
}

TEST_F(PanelKeysTest, AClosedPortHearsNothingButTheMaskFollowsTheKeys) {
    portOpen_ = false;
    keys_.KeyAreaPressed(1);
    keys_.UpAndDownPressed();
    keys_.UpAndDownReleased();
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(keys_.Mask(), 1);

    portOpen_ = true;
    keys_.KeyAreaPressed(4);
    EXPECT_EQ(Take(), (Sent{"$PKVTK,9"})) << "the key still held goes with the first press";
}

// Each hint says which key the picture shows and which keyboard key does
// the same: the keyboard follows the arrows printed on the unit's caps.
TEST_F(PanelKeysTest, LabelsFollowTheUnitAndStayUnderOff) {
    const std::string_view areas[] = {mw::sKeyNo1, mw::sKeyNo2, mw::sKeyNo3, mw::sKeyNo4};

    keys_.ApplyZelType(ZelType::Dormalyn);
    const char* dormalyn[] = {"Left Arrow key: also use Keyboard Left Arrow",
                              "Up Arrow key: also use Keyboard Up Arrow",
                              "Down Arrow key: also use Keyboard Down Arrow",
                              "Right Arrow key: also use Keyboard Right Arrow"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(controls_.Get(areas[i]).hint, dormalyn[i]);
    EXPECT_EQ(controls_.Get(mw::bUpAndDownKeys).text, "Up and Down");
    EXPECT_EQ(controls_.Get(mw::bUpAndDownKeys).hint,
              "Up Arrow and Down Arrow keys together: also use Keyboard Home");
    EXPECT_FALSE(controls_.Get(mw::bCorvaneDiag).visible);

    keys_.ApplyZelType(ZelType::Corvane);
    const char* corvane[] = {"Right Arrow key: also use Keyboard Right Arrow",
                             "Down Arrow key: also use Keyboard Down Arrow",
                             "Up Arrow key: also use Keyboard Up Arrow",
                             "Enter key: also use Keyboard Left Arrow"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(controls_.Get(areas[i]).hint, corvane[i]);
    EXPECT_EQ(controls_.Get(mw::bUpAndDownKeys).text, "Home");
    EXPECT_EQ(controls_.Get(mw::bCorvaneDiag).hint, "Right Arrow and Enter keys together");
    EXPECT_TRUE(controls_.Get(mw::bCorvaneDiag).visible);

    const uint64_t revision = controls_.Revision();
    keys_.ApplyZelType(ZelType::Off);
    EXPECT_EQ(controls_.Revision(), revision);
    EXPECT_TRUE(sent_.empty()) << "a change of unit sends nothing";
}

}  // namespace

}  // namespace zelsim
