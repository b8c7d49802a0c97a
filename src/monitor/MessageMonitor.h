#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/LocalTime.h"
#include "monitor/MessageCategory.h"
#include "monitor/MonitorLayout.h"
#include "monitor/MonitorOptions.h"
#include "serial/CyclePart.h"

namespace zelsim {

class ControlTable;
class UserDialogs;

// The message monitor: the last 200 lines that passed the line, each with
// the attributes it is drawn with, and the options, buttons and layout of
// its panel. Lines live in a ring, so adding one costs the same with 5 lines
// held as with 200; a view polls Revision() and repaints only when something
// changed.
class MessageMonitor : public CyclePart {
  public:
    static constexpr int kCapacity = 200;
    static constexpr size_t kTextLimit = 560;  // the 600-character line buffer less 40
    static constexpr const char* kTooLongText = "----- Error - Message is too long ----";
    static constexpr uint32_t kTickModulus = 100000;
    static constexpr int kTickDigits = 5;
    static constexpr const char* kPauseCaption = "Pause";
    static constexpr const char* kContinueCaption = "Continue";

    struct Attributes {
        uint32_t category = MessageCategory::kOther;
        bool timeShown = false;
        bool tickShown = false;
        bool gapBefore = false;  // green line at the top: lines were dropped before it
        bool gapAfter = false;   // red line at the bottom: lines were dropped after it
        // A "$" line whose checksum failed: where its "*" stands in the
        // shown line, plus one (0 for none), and the checksum it should carry.
        uint16_t faultAt = 0;
        uint8_t expectedChecksum = 0;
    };

    static constexpr const char* kSaveCaption = "Save Shown Lines As";
    static constexpr const char* kNotSavedCaption = "Lines Not Saved";

    // `dialogs` asks where shown lines are saved and says what failed.
    MessageMonitor(ControlTable& controls, UserDialogs& dialogs,
                   LocalTimeSource localTime = SystemLocalTime);

    // Hide or Big changed: the panels around the monitor follow.
    std::function<void()> onLayoutChanged;

    void LineShown(const TrafficLine& line) override;
    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

    // `category` as the main cycle classified the line, out-going text refined.
    void ShowLine(std::string_view text, uint32_t category, uint32_t lineTime);
    // Whether a line of this category would be shown.
    bool Passes(uint32_t category) const;

    const MonitorOptions& Options() const { return options_; }
    // A menu item's toggle handler: the flag follows its check mark.
    void SetOption(bool MonitorOptions::*flag, bool on);

    // The room the window gives the panel beyond its design size.
    void SetRoom(MonitorLayout::Room room);

    // bClickClear
    void ClearMonitor();
    // bClickPause
    void TogglePause();
    // A send from the send box resumes a paused monitor as the button would.
    void Resume();
    bool Paused() const { return paused_; }

    // The colour legend's place on the screen (MsgMonColorsWindowLeft/Top).
    int LegendLeft() const { return legendLeft_; }
    int LegendTop() const { return legendTop_; }
    void SetLegendPosition(int left, int top);

    int LineCount() const { return count_; }
    // `index` 0 is the oldest line held.
    const std::string& Line(int index) const { return slots_[SlotOf(index)].text; }
    const Attributes& LineAttributes(int index) const { return slots_[SlotOf(index)].attributes; }

    // What the row's tooltip says: why a line is marked, or nothing.
    std::string LineHint(int index) const;

    // Rows picked with the mouse and the keyboard, to copy. Lines go on
    // arriving: the selection stays with its lines, and a line that scrolls
    // out of the 200 leaves it.
    // A click (`extend` false) or a Shift+click or drag (true) on row `index`.
    void SelectRow(int index, bool extend);
    // Shift+Up and Shift+Down: the selection's moving end by `rows`.
    void ExtendSelection(int rows);
    void SelectAll();
    bool IsSelected(int index) const;
    // The row the selection's moving end is on; -1 for none.
    int ActiveRow() const;
    bool HasSelection() const;
    // The rows as shown, time and tick included, one a line.
    std::string SelectedText() const;
    std::string AllText() const;
    // "Save Shown Lines As...": every line held, as shown, into a file the
    // user picks.
    void SaveShownLines();

    // Changes whenever anything a view draws changed.
    uint64_t Revision() const { return revision_; }
    // Lines appended since construction; a view scrolls to the newest line
    // when this moves, and leaves the user's scroll position alone otherwise.
    uint64_t AppendCount() const { return appendCount_; }

  private:
    struct Slot {
        std::string text;
        Attributes attributes;
    };
    int SlotOf(int index) const { return (first_ + index) % kCapacity; }
    void BuildDisplayLine(std::string_view text, uint32_t lineTime, std::string& out) const;
    uint64_t SerialOf(int index) const { return appendCount_ - uint64_t(count_) + uint64_t(index); }
    std::string TextOf(int first, int last) const;
    void ShowOptions();
    void Relayout();

    ControlTable& controls_;
    UserDialogs& dialogs_;
    LocalTimeSource localTime_;
    MonitorOptions options_;
    std::array<Slot, kCapacity> slots_;
    int first_ = 0;
    int count_ = 0;
    bool paused_ = false;
    bool gapMark_ = true;  // the first line after start-up carries the green line
    uint64_t revision_ = 0;
    uint64_t appendCount_ = 0;
    int legendLeft_ = 0;
    int legendTop_ = 0;
    MonitorLayout::Room room_{};
    // The selection by the lines' numbers since start-up, which stay put
    // as the ring turns.
    bool selecting_ = false;
    uint64_t anchor_ = 0;
    uint64_t active_ = 0;
    std::string saveFolder_;
};

}  // namespace zelsim
