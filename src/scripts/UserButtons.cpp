#include "scripts/UserButtons.h"

#include "base/ConfigFile.h"

namespace zelsim {

namespace {
constexpr const char* kShowScriptDetailsKey = "ShowScriptDetails";
constexpr const char* kButtonGroupKey = "ButtonGroup";
}  // namespace

void UserButtons::LoadSettings(ConfigFile& file) {
    file.SetSection(ButtonTable::kSection);
    showScriptDetails_ = file.ReadFlag(kShowScriptDetailsKey, showScriptDetails_);
    const int group = file.ReadInt(kButtonGroupKey, group_);
    // Any number of no group hides the buttons.
    group_ = (group >= 1 && group <= ButtonTable::kGroupCount) ? group : kHiddenGroup;
    table_.Load(file);
}

void UserButtons::SaveSettings(ConfigFile& file) const {
    file.SetSection(ButtonTable::kSection);
    file.WriteFlag(kShowScriptDetailsKey, showScriptDetails_);
    file.WriteInt(kButtonGroupKey, group_);
    table_.Save(file);
}

}  // namespace zelsim
