#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "scripts/ButtonDefinition.h"

namespace zelsim {

class ConfigFile;

// The 32 user-button definitions: four groups of eight, stored in the
// "UserButtons" section as Button%dCaption and Button%dLine%d.
class ButtonTable {
  public:
    static constexpr int kButtonCount = 32;
    static constexpr int kGroupSize = 8;
    static constexpr int kGroupCount = kButtonCount / kGroupSize;
    static constexpr int kLinesRead = 100;  // a longer script is saved whole, read back cut
    static constexpr size_t kMaxLineLength = 599;
    static constexpr const char* kSection = "UserButtons";

    // Every caption "Button %d" with its number, every script empty.
    ButtonTable();

    static std::string DefaultCaption(int index);

    ButtonDefinition& At(int index) { return buttons_.at(static_cast<size_t>(index)); }
    const ButtonDefinition& At(int index) const { return buttons_.at(static_cast<size_t>(index)); }

    // The Define Button dialog's OK: blank memo lines are dropped, long ones cut.
    void Define(int index, std::string caption, const std::vector<std::string>& memoLines);

    // Lines close up over missing or empty numbers: a script with only a
    // line 2 loads as one line. Uses and leaves the section "UserButtons".
    void Load(ConfigFile& file);
    // Writes each button's lines from 1 up and deletes the numbers up to 100
    // that its script no longer reaches.
    void Save(ConfigFile& file) const;

    bool operator==(const ButtonTable&) const = default;

  private:
    static std::string CaptionKey(int index);
    static std::string LineKey(int index, int line);

    std::array<ButtonDefinition, kButtonCount> buttons_;
};

}  // namespace zelsim
