#include <gtest/gtest.h>

#include "base/MainWindowControls.h"
#include "scripts/UserButtons.h"
#include "support/ConfigText.h"

namespace zelsim {

namespace {
namespace mw = main_window;

class UserButtonsTest : public ::testing::Test {
  protected:
    UserButtonsTest() {
        buttons.onGroupChanged = [this] { ++captions; };
    }

    void Load(const std::string& content) {
        ConfigFile file = ConfigWith(dir, content);
        buttons.LoadSettings(file);
    }
    const ControlState& Control(std::string_view name) const { return controls.Get(name); }
    std::vector<std::string> Captions() const {
        std::vector<std::string> shown;
        for (std::string_view button : mw::kUserButtons) shown.push_back(Control(button).text);
        return shown;
    }
    std::vector<bool> MenuChecks() const {
        std::vector<bool> checks{Control(mw::mHideButtons).checked};
        for (std::string_view item : mw::kButtonGroupItems) checks.push_back(Control(item).checked);
        return checks;
    }

    TempDir dir;
    ControlTable controls;
    UserButtons buttons{controls};
    int captions = 0;
};

TEST(UserButtons, OnlyTheFourGroupsShowButtonsAndTheSectionComesBack) {
    TempDir dir;
    for (const auto& [stored, group] :
         {std::pair{"7", 0}, std::pair{"-1", 0}, std::pair{"x", 0}, std::pair{"4", 4}}) {
        ConfigFile file = ConfigWith(dir, std::string("[UserButtons]\nButtonGroup=") + stored +
                                              "\nShowScriptDetails=1\nButton9Caption=Ninth\n");
        ControlTable controls;
        UserButtons buttons(controls);
        buttons.LoadSettings(file);
        EXPECT_EQ(buttons.Group(), group) << stored;
        EXPECT_TRUE(buttons.ShowScriptDetails());
        EXPECT_EQ(buttons.Table().At(8).caption, "Ninth");
    }

    ConfigFile file = ConfigWith(
        dir, "[Configuration]\nDefineButtonWindowLeft=-30\n[UserButtons]\nButtonGroup=3\n");
    ControlTable controls;
    UserButtons buttons(controls);
    buttons.LoadSettings(file);
    EXPECT_EQ(buttons.DefineButtonLeft(), -30);
    EXPECT_EQ(buttons.DefineButtonTop(), 0);
    buttons.SetDefineButtonPlace(120, 80);
    const std::string saved = SavedConfig(dir, [&](ConfigFile& out) { buttons.SaveSettings(out); });
    EXPECT_NE(saved.find("[Configuration]\nDefineButtonWindowLeft=120\nDefineButtonWindowTop=80\n"),
              std::string::npos)
        << saved;
    EXPECT_NE(
        saved.find("[UserButtons]\nShowScriptDetails=0\nButtonGroup=3\nButton1Caption=Button 1\n"),
        std::string::npos)
        << saved;
}

TEST_F(UserButtonsTest, StartUpShowsTheLoadedGroupOrHidesTheButtons) {
    EXPECT_EQ(MenuChecks(), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_FALSE(Control(mw::pButtonPanel).visible);

    Load("[UserButtons]\nButtonGroup=2\nButton10Caption=Tenth\n");
    EXPECT_EQ(MenuChecks(), (std::vector<bool>{false, false, true, false, false}));
    EXPECT_TRUE(Control(mw::pButtonPanel).visible);
    EXPECT_FALSE(Control(mw::bCancelButtonScript).visible);
    EXPECT_EQ(Captions(),
              (std::vector<std::string>{"Button 9", "Tenth", "Button 11", "Button 12", "Button 13",
                                        "Button 14", "Button 15", "Button 16"}));
    EXPECT_EQ(captions, 1) << "the caption names the group, and the layout follows";

    // A group no menu offers comes up as Hide Buttons.
    Load("[UserButtons]\nButtonGroup=7\n");
    EXPECT_EQ(buttons.Group(), UserButtons::kHiddenGroup);
    EXPECT_EQ(MenuChecks(), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_FALSE(Control(mw::pButtonPanel).visible);
    EXPECT_EQ(captions, 2);
}

TEST_F(UserButtonsTest, TheMenuSwitchesGroupsAndAGroupChosenMidScriptDropsTheCancelButton) {
    buttons.SelectGroup(1);
    EXPECT_EQ(Captions().front(), "Button 1");
    EXPECT_EQ(Captions().back(), "Button 8");
    EXPECT_EQ(Control(mw::bButton1).hint, UserButtons::kFirstButtonHint);
    EXPECT_EQ(Control(mw::bButton2).hint, UserButtons::kSecondButtonHint);

    buttons.EnterBusy(UserButtons::kScriptRunning);
    EXPECT_TRUE(Control(mw::bCancelButtonScript).visible);
    buttons.SelectGroup(4);
    EXPECT_FALSE(Control(mw::bCancelButtonScript).visible);
    EXPECT_TRUE(buttons.BusyWith(UserButtons::kScriptRunning)) << "the script goes on";
    EXPECT_EQ(Captions().front(), "Button 25");
    EXPECT_EQ(MenuChecks(), (std::vector<bool>{false, false, false, false, true}));

    buttons.HideButtons();
    EXPECT_EQ(buttons.Group(), UserButtons::kHiddenGroup);
    EXPECT_FALSE(Control(mw::pButtonPanel).visible);
    EXPECT_EQ(MenuChecks(), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(captions, 3);
}

TEST_F(UserButtonsTest, DefiningAButtonDropsBlankMemoLinesAndShowsItsCaption) {
    EXPECT_FALSE(buttons.DefineButton(0, "Hidden", "x")) << "no group, no button to define";
    EXPECT_EQ(buttons.DefinitionAt(0), nullptr);

    buttons.SelectGroup(2);
    const std::string longLine(650, 'L');
    ASSERT_TRUE(
        buttons.DefineButton(3, "Reset", "\n$PKVTQ,RID\r\n\r\n~d500\n\n" + longLine + "\n"));
    const ButtonDefinition& defined = buttons.Table().At(11);
    EXPECT_EQ(defined.caption, "Reset");
    EXPECT_EQ(defined.script,
              (std::vector<std::string>{"$PKVTQ,RID", "~d500", longLine.substr(0, 599)}));
    EXPECT_EQ(buttons.DefinitionAt(3), &defined);
    EXPECT_EQ(Control(mw::bButton4).text, "Reset");

    // A line of blanks is a line: it goes out as one.
    buttons.DefineButton(3, "", " ");
    EXPECT_EQ(buttons.Table().At(11).script, std::vector<std::string>{" "});
    EXPECT_EQ(Control(mw::bButton4).text, "");
}

TEST_F(UserButtonsTest, TurningScriptDetailsOffClearsAllButTheMessage) {
    buttons.ToggleShowScriptDetails();
    EXPECT_TRUE(Control(mw::mShowScriptDetails).checked);
    controls.SetText(mw::lScriptDelayReport, " 500ms");
    controls.SetVisible(mw::pbScriptDelayReport, true);
    controls.SetText(mw::lScriptLineReport, "~d500");
    controls.SetText(mw::lScriptMessageReport, "flashing");

    buttons.ToggleShowScriptDetails();
    EXPECT_FALSE(buttons.ShowScriptDetails());
    EXPECT_FALSE(Control(mw::mShowScriptDetails).checked);
    EXPECT_EQ(Control(mw::lScriptDelayReport).text, "");
    EXPECT_FALSE(Control(mw::pbScriptDelayReport).visible);
    EXPECT_EQ(Control(mw::lScriptLineReport).text, "");
    EXPECT_EQ(Control(mw::lScriptMessageReport).text, "flashing");
}

}  // namespace

}  // namespace zelsim
