#include <gtest/gtest.h>

#include "scripts/UserButtons.h"
#include "support/ConfigText.h"

namespace zelsim {

namespace {

TEST(UserButtons, OnlyTheFourGroupsShowButtonsAndTheSectionComesBack) {
    TempDir dir;
    for (const auto& [stored, group] :
         {std::pair{"7", 0}, std::pair{"-1", 0}, std::pair{"x", 0}, std::pair{"4", 4}}) {
        ConfigFile file = ConfigWith(dir, std::string("[UserButtons]\nButtonGroup=") + stored +
                                              "\nShowScriptDetails=1\nButton9Caption=Ninth\n");
        UserButtons buttons;
        buttons.LoadSettings(file);
        EXPECT_EQ(buttons.Group(), group) << stored;
        EXPECT_TRUE(buttons.ShowScriptDetails());
        EXPECT_EQ(buttons.Table().At(8).caption, "Ninth");
    }

    ConfigFile file = ConfigWith(dir, "[UserButtons]\nButtonGroup=3\n");
    UserButtons buttons;
    buttons.LoadSettings(file);
    const std::string saved = SavedConfig(dir, [&](ConfigFile& out) { buttons.SaveSettings(out); });
    EXPECT_EQ(
        saved.rfind("[UserButtons]\nShowScriptDetails=0\nButtonGroup=3\nButton1Caption=Button 1\n",
                    0),
        0u)
        << saved;
}

}  // namespace

}  // namespace zelsim
