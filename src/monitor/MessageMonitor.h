#pragma once
#include "monitor/MonitorOptions.h"
#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "monitor/MessageCategory.h"

// The model of the message monitor: the last 200 lines that passed the line,
// each with the attributes it is drawn with. Lines live in a ring, so adding
// one costs the same with 5 lines held as with 200; a view polls Revision()
// and repaints only when something changed.
class MessageMonitor {
  public:
    static constexpr int kCapacity = 200;
    static constexpr int kViewRows = 14;       // the newest line is kept within this many rows
    static constexpr size_t kTextLimit = 560;  // the 600-character line buffer less 40
    static constexpr const char* kTooLongText = "----- Error - Message is too long ----";
    static constexpr uint32_t kTickModulus = 100000;
    static constexpr const char* kPauseCaption = "Pause";
    static constexpr const char* kContinueCaption = "Continue";

    struct Attributes {
        uint32_t category = MessageCategory::kOther;
        bool timeShown = false;
        bool tickShown = false;
        bool gapBefore = false;  // green line at the top: lines were dropped before it
        bool gapAfter = false;   // red line at the bottom: lines were dropped after it
    };

    // The local wall-clock time for the time column; tests pass a fixed one.
    using LocalTimeSource = std::function<std::tm()>;
    static std::tm SystemLocalTime();

    explicit MessageMonitor(LocalTimeSource localTime = SystemLocalTime);

    MonitorOptions options;

    // `category` is kOutGoing for text the program sends, otherwise what
    // MessageClassifier::ClassifyText gave. `lineTime` is the tick of the line.
    void ShowLine(std::string_view text, uint32_t category, uint32_t lineTime);
    // Whether a line of this category would be shown (after refining sent text).
    bool Passes(uint32_t category) const;

    // bClickClear
    void ClearMonitor();
    // bClickPause
    void TogglePause();
    // A send from the send box resumes a paused monitor as the button would.
    void Resume();
    bool Paused() const { return paused_; }
    const char* PauseCaption() const { return paused_ ? kContinueCaption : kPauseCaption; }

    int LineCount() const { return count_; }
    // `index` 0 is the oldest line held.
    const std::string& Line(int index) const { return slots_[SlotOf(index)].text; }
    const Attributes& LineAttributes(int index) const { return slots_[SlotOf(index)].attributes; }
    // The list's top index after the last append: the newest line is in view.
    int TopIndex() const { return topIndex_; }

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

    LocalTimeSource localTime_;
    std::array<Slot, kCapacity> slots_;
    int first_ = 0;
    int count_ = 0;
    int topIndex_ = 0;
    bool paused_ = false;
    bool gapMark_ = true;  // the first line after start-up carries the green line
    uint64_t revision_ = 0;
    uint64_t appendCount_ = 0;
};
