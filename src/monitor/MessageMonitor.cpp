#include "monitor/MessageMonitor.h"

#include <algorithm>
#include <cstdio>

#include "monitor/MessageClassifier.h"

namespace {

constexpr unsigned char kDegree = 176;
constexpr char kUnprintableMark = '~';

bool IsPrintable(unsigned char c) {
    return c >= 32 && c <= 126;
}

}  // namespace

std::tm MessageMonitor::SystemLocalTime() {
    // Converting to local time costs microseconds, far more than the rest of
    // a line; the answer changes once a second.
    static std::time_t convertedSecond = -1;
    static std::tm converted{};
    const std::time_t now = std::time(nullptr);
    if (now != convertedSecond) {
        convertedSecond = now;
        converted = *std::localtime(&now);
    }
    return converted;
}

MessageMonitor::MessageMonitor(LocalTimeSource localTime) : localTime_(std::move(localTime)) {}

bool MessageMonitor::Passes(uint32_t category) const {
    switch (category) {
        case MessageCategory::kOutGoing:
            return options.msgMonOutGoingMessages;
        case MessageCategory::kOutZel:
            return options.msgMonOutGoingMessages && options.msgMonZelMessages;
        case MessageCategory::kZel:
            return options.msgMonZelMessages;
        case MessageCategory::kDgps:
            return options.msgMonDgpsMessages;
        case MessageCategory::kLightBar:
            return options.msgMonLbMessages;
        case MessageCategory::kDormalyn:
            return options.msgMonDormalynMessages;
        case MessageCategory::kOther:
            return options.msgMonOtherMessages;
        case MessageCategory::kNonNmea:
            return options.msgMonNonNmeaMessages;
        default:
            return false;
    }
}

void MessageMonitor::ShowLine(std::string_view text, uint32_t category, uint32_t lineTime) {
    if (category == MessageCategory::kOutGoing)
        category = MessageClassifier::ClassifyOutgoing(text);
    if (!Passes(category)) return;

    if (paused_) {
        if (count_ > 0) {
            bool& gapAfter = slots_[SlotOf(count_ - 1)].attributes.gapAfter;
            if (!gapAfter) ++revision_;
            gapAfter = true;
        }
        gapMark_ = true;
        return;
    }

    int index = count_;
    if (count_ >= kCapacity) {
        first_ = (first_ + 1) % kCapacity;
        index = kCapacity - 1;
    } else {
        ++count_;
    }
    Slot& slot = slots_[SlotOf(index)];
    BuildDisplayLine(text, lineTime, slot.text);
    slot.attributes.category = category;
    slot.attributes.timeShown = options.msgMonTime;
    slot.attributes.tickShown = options.msgMonTickCount;
    slot.attributes.gapAfter = false;
    slot.attributes.gapBefore = gapMark_;
    gapMark_ = false;

    topIndex_ = std::max(0, count_ - kViewRows);
    ++appendCount_;
    ++revision_;
}

void MessageMonitor::BuildDisplayLine(std::string_view text, uint32_t lineTime,
                                      std::string& out) const {
    // Reuses the slot's storage: once the ring has warmed up a line costs no
    // allocation.
    out.clear();
    char prefix[32];
    if (options.msgMonTime) {
        const std::tm t = localTime_();
        std::snprintf(prefix, sizeof prefix, "%02d:%02d:%02d ", t.tm_hour, t.tm_min, t.tm_sec);
        out += prefix;
    }
    if (options.msgMonTickCount) {
        std::snprintf(prefix, sizeof prefix, "%05lu ",
                      static_cast<unsigned long>(lineTime % kTickModulus));
        out += prefix;
    }
    if (text.size() > kTextLimit)
        out += kTooLongText;
    else
        out += text;

    // Every unprintable character shows as "~", the text's last one included,
    // so a row never draws a control character.
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (!IsPrintable(u) && u != kDegree) c = kUnprintableMark;
    }
}

void MessageMonitor::ClearMonitor() {
    for (Slot& slot : slots_) {
        slot.text.clear();
        slot.attributes = Attributes{};
    }
    first_ = 0;
    count_ = 0;
    topIndex_ = 0;
    ++revision_;
}

void MessageMonitor::TogglePause() {
    paused_ = !paused_;
    ++revision_;
}

void MessageMonitor::Resume() {
    if (paused_) TogglePause();
}
