#include "monitor/MessageMonitor.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/Text.h"
#include "base/UserDialogs.h"
#include "monitor/ChecksumFault.h"
#include "monitor/MonitorLayout.h"

namespace zelsim {

namespace {
constexpr char kUnprintableMark = '~';
constexpr const char* kLegendLeftKey = "MsgMonColorsWindowLeft";
constexpr const char* kLegendTopKey = "MsgMonColorsWindowTop";
}  // namespace

MessageMonitor::MessageMonitor(ControlTable& controls, UserDialogs& dialogs,
                               LocalTimeSource localTime)
    : controls_(controls), dialogs_(dialogs), localTime_(std::move(localTime)) {
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

void MessageMonitor::SetRoom(MonitorLayout::Room room) {
    if (room == room_) return;
    room_ = room;
    Relayout();
}

void MessageMonitor::Relayout() {
    const bool big = options_.messageMonitorBig;
    controls_.SetVisible(main_window::pMessageMonitorPanel, !options_.hideMessageMonitor);
    const MonitorLayout::Rect panel = MonitorLayout::Panel(big, room_);
    controls_.SetSize(main_window::pMessageMonitorPanel, panel.width, panel.height);
    const MonitorLayout::Rect list = MonitorLayout::List(big, room_);
    controls_.SetPos(main_window::lbMessageMonitor, list.left, list.top);
    controls_.SetSize(main_window::lbMessageMonitor, list.width, list.height);
    for (const MonitorLayout::RowPlace& place : MonitorLayout::kSendRow) {
        const MonitorLayout::Rect r = MonitorLayout::SendRowControl(place, big, room_);
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
    slot.attributes.faultAt = 0;
    if (text.size() <= kTextLimit) {
        if (const auto fault = ChecksumFault::Of(text)) {
            const size_t prefix = slot.text.size() - text.size();
            slot.attributes.faultAt = static_cast<uint16_t>(prefix + fault->star + 1);
            slot.attributes.expectedChecksum = fault->expected;
        }
    }

    ++appendCount_;
    ++revision_;
}

void MessageMonitor::BuildDisplayLine(std::string_view text, uint32_t lineTime,
                                      std::string& out) const {
    // Reuses the slot's storage: once the ring has warmed up a line costs no
    // allocation.
    out.clear();
    // The prefixes are exactly MonitorLayout's kTimeChars and kTickChars wide.
    if (options_.msgMonTime) {
        const std::tm t = localTime_();
        AppendTwoDigitTriple(out, t.tm_hour, t.tm_min, t.tm_sec, ':');
        out += ' ';
    }
    if (options_.msgMonTickCount) {
        AppendDecimal(out, lineTime % kTickModulus, kTickDigits);
        out += ' ';
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

std::string MessageMonitor::LineHint(int index) const {
    if (index < 0 || index >= count_) return {};
    const Attributes& a = LineAttributes(index);
    if (a.faultAt == 0) return {};
    return ChecksumFault::Text(std::string_view(Line(index)).substr(a.faultAt), a.expectedChecksum);
}

void MessageMonitor::SelectRow(int index, bool extend) {
    if (count_ == 0) return;
    const uint64_t serial = SerialOf(std::clamp(index, 0, count_ - 1));
    if (!extend || !HasSelection()) anchor_ = serial;
    active_ = serial;
    selecting_ = true;
    ++revision_;
}

void MessageMonitor::ExtendSelection(int rows) {
    if (count_ == 0) return;
    if (!HasSelection()) {
        SelectRow(rows < 0 ? count_ - 1 : 0, false);
        return;
    }
    // An end that scrolled out moves on from the oldest line held.
    SelectRow(std::max(ActiveRow(), 0) + rows, true);
}

void MessageMonitor::SelectAll() {
    if (count_ == 0) return;
    anchor_ = SerialOf(0);
    active_ = SerialOf(count_ - 1);
    selecting_ = true;
    ++revision_;
}

bool MessageMonitor::HasSelection() const {
    // The whole selection may have scrolled out.
    return selecting_ && count_ > 0 && std::max(anchor_, active_) >= SerialOf(0);
}

int MessageMonitor::ActiveRow() const {
    if (!HasSelection() || active_ < SerialOf(0)) return -1;
    return static_cast<int>(active_ - SerialOf(0));
}

bool MessageMonitor::IsSelected(int index) const {
    if (!selecting_) return false;
    const uint64_t serial = SerialOf(index);
    return serial >= std::min(anchor_, active_) && serial <= std::max(anchor_, active_);
}

std::string MessageMonitor::TextOf(int first, int last) const {
    std::string text;
    for (int i = first; i <= last; ++i) {
        text += Line(i);
        text += '\n';
    }
    return text;
}

std::string MessageMonitor::SelectedText() const {
    if (!HasSelection()) return {};
    const uint64_t oldest = SerialOf(0);
    const auto first = static_cast<int>(std::max(std::min(anchor_, active_), oldest) - oldest);
    const auto last = static_cast<int>(std::max(anchor_, active_) - oldest);
    return TextOf(first, last);
}

std::string MessageMonitor::AllText() const {
    return TextOf(0, count_ - 1);
}

void MessageMonitor::SaveShownLines() {
    UserDialogs::FileRequest request;
    request.caption = kSaveCaption;
    request.folder = saveFolder_;
    request.fileName = "ZelSimMonitor.txt";
    request.filters = {"Text files (*.txt)", "All files (*)"};
    // Taken now: the lines go on arriving while the dialog is open.
    const std::string text = AllText();
    const std::optional<std::string> path = dialogs_.AskFileToWrite(request);
    if (!path) return;
    const size_t slash = path->rfind('/');
    if (slash != std::string::npos) saveFolder_ = path->substr(0, slash);
    std::ofstream file(*path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file)
        dialogs_.Warn(kNotSavedCaption, "The shown lines could not be written to " + *path +
                                            ". Pick a folder you may write to, on a disk "
                                            "with room.");
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
