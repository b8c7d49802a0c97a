#include "monitor/MessageMonitor.h"

#include <algorithm>
#include <cstdio>

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/Text.h"
#include "monitor/MonitorLayout.h"

namespace zelsim {

namespace {
constexpr char kUnprintableMark = '~';
constexpr const char* kLegendLeftKey = "MsgMonColorsWindowLeft";
constexpr const char* kLegendTopKey = "MsgMonColorsWindowTop";
}  // namespace

MessageMonitor::MessageMonitor(ControlTable& controls, LocalTimeSource localTime)
    : controls_(controls), localTime_(std::move(localTime)) {
    controls_.SetText(main_window::bPause, kPauseCaption);
    ShowOptions();
    Relayout();
}

void MessageMonitor::LineShown(const TrafficLine& line) {
    ShowLine(line.text, line.category, line.time);
}

void MessageMonitor::LoadSettings(ConfigFile& file) {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    legendLeft_ = file.ReadInt(kLegendLeftKey, legendLeft_);
    legendTop_ = file.ReadInt(kLegendTopKey, legendTop_);
    for (const MonitorOptionItem& item : kMonitorOptionItems)
        options_.*item.flag = file.ReadFlag(item.key, options_.*item.flag);
    ShowOptions();
    Relayout();
}

void MessageMonitor::SaveSettings(ConfigFile& file) const {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    file.WriteInt(kLegendLeftKey, legendLeft_);
    file.WriteInt(kLegendTopKey, legendTop_);
    for (const MonitorOptionItem& item : kMonitorOptionItems)
        file.WriteFlag(item.key, options_.*item.flag);
}

void MessageMonitor::SetOption(bool MonitorOptions::*flag, bool on) {
    options_.*flag = on;
    ShowOptions();
    for (const MonitorOptionItem& item : kMonitorOptionItems)
        if (item.flag == flag && item.relayout) Relayout();
}

void MessageMonitor::ShowOptions() {
    for (const MonitorOptionItem& item : kMonitorOptionItems)
        controls_.SetChecked(item.menuItem, options_.*item.flag);
}

void MessageMonitor::Relayout() {
    const bool big = options_.messageMonitorBig;
    controls_.SetVisible(main_window::pMessageMonitorPanel, !options_.hideMessageMonitor);
    controls_.SetSize(main_window::pMessageMonitorPanel, MonitorLayout::kPanelWidth,
                      MonitorLayout::PanelHeight(big));
    const MonitorLayout::Rect list = MonitorLayout::List(big);
    controls_.SetPos(main_window::lbMessageMonitor, list.left, list.top);
    controls_.SetSize(main_window::lbMessageMonitor, list.width, list.height);
    for (const MonitorLayout::RowPlace& place : MonitorLayout::kSendRow) {
        const MonitorLayout::Rect r = MonitorLayout::SendRowControl(place, big);
        controls_.SetPos(place.name, r.left, r.top);
        controls_.SetSize(place.name, r.width, r.height);
    }
    if (onLayoutChanged) onLayoutChanged();
}

void MessageMonitor::SetLegendPosition(int left, int top) {
    legendLeft_ = left;
    legendTop_ = top;
}

bool MessageMonitor::Passes(uint32_t category) const {
    return PassesFilters(options_, kMonitorOptionItems, category);
}

void MessageMonitor::ShowLine(std::string_view text, uint32_t category, uint32_t lineTime) {
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
    slot.attributes.timeShown = options_.msgMonTime;
    slot.attributes.tickShown = options_.msgMonTickCount;
    slot.attributes.gapAfter = false;
    slot.attributes.gapBefore = gapMark_;
    gapMark_ = false;

    ++appendCount_;
    ++revision_;
}

void MessageMonitor::BuildDisplayLine(std::string_view text, uint32_t lineTime,
                                      std::string& out) const {
    // Reuses the slot's storage: once the ring has warmed up a line costs no
    // allocation.
    out.clear();
    // The prefixes are exactly MonitorLayout's kTimeChars and kTickChars wide.
    char prefix[32];
    if (options_.msgMonTime) {
        const std::tm t = localTime_();
        std::snprintf(prefix, sizeof prefix, "%02d:%02d:%02d ", t.tm_hour, t.tm_min, t.tm_sec);
        out += prefix;
    }
    if (options_.msgMonTickCount) {
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
    ++revision_;
}

void MessageMonitor::TogglePause() {
    paused_ = !paused_;
    controls_.SetText(main_window::bPause, paused_ ? kContinueCaption : kPauseCaption);
    ++revision_;
}

void MessageMonitor::Resume() {
    if (paused_) TogglePause();
}

}  // namespace zelsim
