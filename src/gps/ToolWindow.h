#pragma once
#include <string_view>

#include "base/ControlTable.h"

namespace zelsim {

class ConfigFile;

// One small window of the GPS side in figures: its own control table, the
// visible flag its show and hide events keep, and the place it opens at,
// stored under "<key>Left" and "<key>Top" of the configuration.
class ToolWindow {
  public:
    // `name` is the window's own entry; `keyStem` names its two keys.
    ToolWindow(std::string_view name, std::string_view keyStem, std::string_view caption,
               int clientWidth, int clientHeight);

    ControlTable& Controls() { return controls_; }
    const ControlTable& Controls() const { return controls_; }

    // Placed at its stored place and shown.
    void Open();
    void Close();
    // Its show and hide events: the close box hides it without the part.
    void OnShow() { visible_ = true; }
    void OnHide();
    bool Visible() const { return visible_; }

    // Where the user moved it, kept for the next time it opens and for the
    // configuration: a window is expected back where it was left.
    void Moved(int left, int top);
    int Left() const { return left_; }
    int Top() const { return top_; }

    void LoadSettings(ConfigFile& file);
    void SaveSettings(ConfigFile& file) const;

  private:
    ControlTable controls_;
    std::string_view name_;
    std::string_view keyStem_;
    int left_ = 0;
    int top_ = 0;
    bool visible_ = false;
};

}  // namespace zelsim
