#pragma once

#include "scripts/ButtonTable.h"
#include "serial/CyclePart.h"

namespace zelsim {

// The user buttons: their 32 definitions, the group shown (1..4, or 0 with
// the buttons hidden) and whether a script's details are shown. Keys: the
// section "UserButtons".
class UserButtons : public CyclePart {
  public:
    static constexpr int kHiddenGroup = 0;

    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

    int Group() const { return group_; }
    bool ShowScriptDetails() const { return showScriptDetails_; }
    const ButtonTable& Table() const { return table_; }

  private:
    ButtonTable table_;
    int group_ = kHiddenGroup;
    bool showScriptDetails_ = false;
};

}  // namespace zelsim
