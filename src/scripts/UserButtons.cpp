#include "scripts/UserButtons.h"

#include <string>
#include <vector>

#include "base/ConfigFile.h"
#include "base/MainWindowControls.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr const char* kShowScriptDetailsKey = "ShowScriptDetails";
constexpr const char* kButtonGroupKey = "ButtonGroup";
constexpr const char* kDefineLeftKey = "DefineButtonWindowLeft";
constexpr const char* kDefineTopKey = "DefineButtonWindowTop";

bool IsGroup(int group) {
    return group >= 1 && group <= ButtonTable::kGroupCount;
}

std::vector<std::string> MemoLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}
}  // namespace

UserButtons::UserButtons(ControlTable& controls) : controls_(controls) {
    for (int k = 0; k < ButtonTable::kGroupSize; ++k) {
        controls_.SetText(mw::kUserButtonTags[k], "F" + std::to_string(k + 1));
        controls_.SetColour(mw::kUserButtonTags[k], kTagIdle);
    }
    controls_.SetHint(mw::bButton1, kFirstButtonHint);
    controls_.SetHint(mw::bButton2, kSecondButtonHint);
    controls_.SetText(mw::bCancelButtonScript, kCancelCaption);
    controls_.SetChecked(mw::mShowScriptDetails, showScriptDetails_);
    HideButtons();
}

void UserButtons::LoadSettings(ConfigFile& file) {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    SetDefineButtonPlace(file.ReadInt(kDefineLeftKey, defineLeft_),
                         file.ReadInt(kDefineTopKey, defineTop_));
    const ConfigFile::SectionScope buttons(file, ButtonTable::kSection);
    SetShowScriptDetails(file.ReadFlag(kShowScriptDetailsKey, showScriptDetails_));
    const int group = file.ReadInt(kButtonGroupKey, group_);
    table_.Load(file);
    // Any number of no group hides the buttons.
    if (IsGroup(group))
        SelectGroup(group);
    else
        HideButtons();
}

void UserButtons::SaveSettings(ConfigFile& file) const {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    file.WriteInt(kDefineLeftKey, defineLeft_);
    file.WriteInt(kDefineTopKey, defineTop_);
    const ConfigFile::SectionScope buttons(file, ButtonTable::kSection);
    file.WriteFlag(kShowScriptDetailsKey, showScriptDetails_);
    file.WriteInt(kButtonGroupKey, group_);
    table_.Save(file);
}

int UserButtons::IndexAt(int position) const {
    if (group_ == kHiddenGroup || position < 0 || position >= ButtonTable::kGroupSize) return -1;
    return (group_ - 1) * ButtonTable::kGroupSize + position;
}

void UserButtons::HideButtons() {
    group_ = kHiddenGroup;
    CheckGroupItem();
    controls_.SetVisible(mw::pButtonPanel, false);
    controls_.SetVisible(mw::bCancelButtonScript, false);
    TellWindow();
}

void UserButtons::SelectGroup(int group) {
    if (!IsGroup(group)) {
        HideButtons();
        return;
    }
    group_ = group;
    CheckGroupItem();
    ShowGroup();
    TellWindow();
}

void UserButtons::ShowGroup() {
    controls_.SetVisible(mw::bCancelButtonScript, false);
    controls_.SetVisible(mw::pButtonPanel, true);
    for (int k = 0; k < ButtonTable::kGroupSize; ++k)
        controls_.SetText(mw::kUserButtons[k], table_.At(IndexAt(k)).caption);
}

void UserButtons::CheckGroupItem() {
    controls_.SetChecked(mw::mHideButtons, group_ == kHiddenGroup);
    for (int g = 1; g <= ButtonTable::kGroupCount; ++g)
        controls_.SetChecked(mw::kButtonGroupItems[g - 1], g == group_);
}

void UserButtons::TellWindow() {
    if (onGroupChanged) onGroupChanged();
}

const ButtonDefinition* UserButtons::DefinitionAt(int position) const {
    const int index = IndexAt(position);
    return index < 0 ? nullptr : &table_.At(index);
}

bool UserButtons::DefineButton(int position, std::string caption, std::string_view memoText) {
    const int index = IndexAt(position);
    if (index < 0) return false;
    table_.Define(index, std::move(caption), MemoLines(memoText));
    controls_.SetText(mw::kUserButtons[position], table_.At(index).caption);
    return true;
}

void UserButtons::SetShowScriptDetails(bool on) {
    showScriptDetails_ = on;
    controls_.SetChecked(mw::mShowScriptDetails, on);
    if (on) return;
    controls_.SetText(mw::lScriptDelayReport, "");
    controls_.SetVisible(mw::pbScriptDelayReport, false);
    controls_.SetText(mw::lScriptLineReport, "");
}

void UserButtons::EnterBusy(BusyReason reason) {
    busy_ |= reason;
    for (std::string_view button : mw::kUserButtons) controls_.SetEnabled(button, false);
    controls_.SetVisible(mw::bCancelButtonScript, true);
    controls_.SetText(mw::lScriptDelayReport, "");
    controls_.SetVisible(mw::pbScriptDelayReport, false);
    if (!BusyWith(kScriptRunning)) {
        controls_.SetText(mw::lScriptLineReport, "");
        controls_.SetText(mw::lScriptMessageReport, "");
    }
}

void UserButtons::LeaveBusy(BusyReason reason) {
    busy_ &= static_cast<uint8_t>(~reason);
    if (Busy()) return;
    controls_.SetVisible(mw::bCancelButtonScript, false);
    for (std::string_view button : mw::kUserButtons) controls_.SetEnabled(button, true);
    controls_.SetText(mw::lScriptDelayReport, "");
    controls_.SetVisible(mw::pbScriptDelayReport, false);
    controls_.SetText(mw::lScriptLineReport, "");
    controls_.SetText(mw::lScriptMessageReport, "");
}

}  // namespace zelsim
