#include <gtest/gtest.h>

#include "base/ConfigFile.h"
#include "scripts/ButtonTable.h"
#include "support/TempDir.h"

namespace zelsim {

namespace {

class ButtonTableTest : public ::testing::Test {
  protected:
    ButtonTable LoadFrom(const std::string& content) {
        TempDir::Write(path_, content);
        ConfigFile file(path_);
        ButtonTable table;
        table.Load(file);
        return table;
    }

    void SaveTo(const ButtonTable& table) {
        ConfigFile file(path_);
        table.Save(file);
        ASSERT_TRUE(file.Save().Saved());
    }

    TempDir dir_;
    std::string path_ = dir_.File("ZelSim.ini");
};

TEST_F(ButtonTableTest, DefiningDropsBlankLinesAndCutsLongOnes) {
    ButtonTable table;
    const std::string longLine(700, 'L');
    table.Define(4, "Init", {"", "$PKVTQ,RID", "", "", longLine, ""});
    EXPECT_EQ(table.At(4).caption, "Init");
    ASSERT_EQ(table.At(4).script.size(), 2u);
    EXPECT_EQ(table.At(4).script[0], "$PKVTQ,RID");
    EXPECT_EQ(table.At(4).script[1], longLine.substr(0, ButtonTable::kMaxLineLength));
}

TEST_F(ButtonTableTest, ALongScriptIsSavedWholeButReadBackAsItsFirstHundredLines) {
    ButtonTable table;
    std::vector<std::string> lines;
    for (int i = 1; i <= 120; ++i) lines.push_back("line " + std::to_string(i));
    table.Define(0, "Long", lines);
    SaveTo(table);

    ConfigFile file(path_);
    file.SetSection("UserButtons");
    EXPECT_EQ(file.ReadText("Button1Line120", ""), "line 120");

    ButtonTable loaded;
    loaded.Load(file);
    ASSERT_EQ(loaded.At(0).script.size(), 100u);
    EXPECT_EQ(loaded.At(0).script.front(), "line 1");
    EXPECT_EQ(loaded.At(0).script.back(), "line 100");
}

TEST_F(ButtonTableTest, MissingLineNumbersCloseUp) {
    const ButtonTable table = LoadFrom(
        "[UserButtons]\nButton3Line2=only\nButton4Line1=a\nButton4Line2=\nButton4Line9=b\n");
    EXPECT_EQ(table.At(2).script, (std::vector<std::string>{"only"}));
    EXPECT_EQ(table.At(3).script, (std::vector<std::string>{"a", "b"}));

    SaveTo(table);
    ConfigFile file(path_);
    file.SetSection("UserButtons");
    EXPECT_EQ(file.ReadText("Button3Line1", ""), "only");
    EXPECT_EQ(file.ReadText("Button3Line2", "gone"), "gone");
    EXPECT_EQ(file.ReadText("Button4Line2", ""), "b");
    EXPECT_EQ(file.ReadText("Button4Line9", "gone"), "gone");
}

TEST_F(ButtonTableTest, StoredLinesAreCutAndCaptionsFallBackToTheirNumber) {
    const std::string longLine(1000, 'z');
    const ButtonTable table = LoadFrom(
        "[userbuttons]\nbutton32caption=Last\nButton2Caption=\n"
        "Button1Line1=" +
        longLine + "\n");
    EXPECT_EQ(table.At(31).caption, "Last");
    EXPECT_EQ(table.At(1).caption, "");  // present but empty is a caption too
    EXPECT_EQ(table.At(2).caption, "Button 3");
    ASSERT_EQ(table.At(0).script.size(), 1u);
    EXPECT_EQ(table.At(0).script[0].size(), ButtonTable::kMaxLineLength);
}

}  // namespace

}  // namespace zelsim
