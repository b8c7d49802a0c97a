#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/Colour.h"
#include "base/ControlTable.h"
#include "scripts/ButtonTable.h"
#include "serial/CyclePart.h"

namespace zelsim {

// The user buttons: their 32 definitions, the group shown (1..4, or 0 with
// the buttons hidden), whether a script's details are shown, and the busy
// state that holds while a script runs or a file is sent. Keys: the section
// "UserButtons", and the Define Button dialog's place in "Configuration".
class UserButtons : public CyclePart {
  public:
    static constexpr int kHiddenGroup = 0;
    static constexpr Colour kTagIdle{255, 255, 255};  // white
    static constexpr Colour kTagRunning{0, 0, 128};   // navy
    static constexpr const char* kCancelCaption = "Cancel Button";
    static constexpr const char* kFirstButtonHint = "Right Click to Edit Buttons";
    static constexpr const char* kSecondButtonHint = "use F2 on the Keyboard";

    // What keeps the buttons busy. A script's file transfer holds both, and
    // the buttons stay busy until the last of them lets go: a script that
    // goes on after its file keeps its Cancel Button.
    enum BusyReason : uint8_t {
        kScriptRunning = 1 << 0,
        kFileSending = 1 << 1,
    };

    explicit UserButtons(ControlTable& controls);
    UserButtons(const UserButtons&) = delete;
    UserButtons& operator=(const UserButtons&) = delete;

    // The buttons come up as loaded: the group read is shown, and any value
    // that is no group hides them.
    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

    // The group changed or the buttons were hidden: the window's caption
    // names the group and its layout follows.
    std::function<void()> onGroupChanged;

    // mClickHideButtons: no group; the panel and the Cancel Button go.
    void HideButtons();
    // mClickButtonGroup1..4: the panel shows group `group`'s captions. The
    // Cancel Button goes even while a script runs, which goes on. Any
    // other number hides the buttons.
    void SelectGroup(int group);

    int Group() const { return group_; }
    // The definition index of on-screen position 0..7 in the group shown;
    // -1 with the buttons hidden or for another position.
    int IndexAt(int position) const;
    bool ShowScriptDetails() const { return showScriptDetails_; }
    // mClickShowScriptDetails: turned off, the delay and line reports go
    // (the message report stays).
    void ToggleShowScriptDetails() { SetShowScriptDetails(!showScriptDetails_); }
    void SetShowScriptDetails(bool on);
    const ButtonTable& Table() const { return table_; }
    ButtonTable& Table() { return table_; }

    // The Define Button dialog of on-screen position 0..7: what it shows,
    // and its OK. The memo's lines are split at line feeds (a CR before one
    // goes too); blank lines are dropped and long ones cut, and the button
    // shows its new caption at once. False, and nothing changes, with the
    // buttons hidden.
    const ButtonDefinition* DefinitionAt(int position) const;
    bool DefineButton(int position, std::string caption, std::string_view memoText);
    // Where the dialog stood when it last closed (DefineButtonWindowLeft/Top).
    int DefineButtonLeft() const { return defineLeft_; }
    int DefineButtonTop() const { return defineTop_; }
    void SetDefineButtonPlace(int left, int top) {
        defineLeft_ = left;
        defineTop_ = top;
    }

    // Entering disables the eight buttons and shows the Cancel Button; the
    // last reason to leave enables them again and empties the reports.
    void EnterBusy(BusyReason reason);
    void LeaveBusy(BusyReason reason);
    bool Busy() const { return busy_ != 0; }
    bool BusyWith(BusyReason reason) const { return (busy_ & reason) != 0; }

  private:
    // The group's captions on the eight buttons, the panel shown.
    void ShowGroup();
    void CheckGroupItem();
    void TellWindow();

    ControlTable& controls_;
    ButtonTable table_;
    int group_ = kHiddenGroup;
    bool showScriptDetails_ = false;
    uint8_t busy_ = 0;
    int defineLeft_ = 0;
    int defineTop_ = 0;
};

}  // namespace zelsim
