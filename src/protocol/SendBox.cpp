#include "protocol/SendBox.h"

#include <algorithm>
#include <cstdio>

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/NmeaChecksum.h"
#include "base/Text.h"

namespace zelsim {

namespace {
constexpr const char* kHistorySection = "MessageDropDownLines";
constexpr const char* kUpperCaseKey = "MessageMonitorUpperCase";

std::string HistoryKey(size_t number) {
    char key[32];
    std::snprintf(key, sizeof key, "Line%02zu", number);
    return key;
}
}  // namespace

SendBox::SendBox(ControlTable& controls, std::function<void(const std::string&)> send)
    : controls_(controls), send_(std::move(send)) {
    controls_.SetText(main_window::cbSendData, text_);
    controls_.SetHint(main_window::cbSendData, "");
    controls_.SetChecked(main_window::mMsgMonUpperCase, upperCase_);
    ShowHistory();
}

void SendBox::LoadSettings(ConfigFile& file) {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    SetUpperCase(file.ReadFlag(kUpperCaseKey, upperCase_));
    const ConfigFile::SectionScope history(file, kHistorySection);
    for (size_t number = 1; number <= kHistoryLimit; ++number)
        AddToHistory(file.ReadText(HistoryKey(number), ""));
    ShowHistory();
}

void SendBox::SaveSettings(ConfigFile& file) const {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    file.WriteFlag(kUpperCaseKey, upperCase_);
    const ConfigFile::SectionScope history(file, kHistorySection);
    // Each line in its place, so an unchanged list leaves the file as it is;
    // never beyond Line20: higher keys belong to someone else and are kept.
    for (size_t number = 1; number <= kHistoryLimit; ++number) {
        if (number <= history_.size())
            file.WriteText(HistoryKey(number), history_[number - 1]);
        else
            file.DeleteKey(HistoryKey(number));
    }
}

void SendBox::SetText(std::string text) {
    text_ = std::move(text);
    ShowText(false);
}

void SendBox::ShowText(bool selected) {
    controls_.SetText(main_window::cbSendData, text_);
    controls_.SetSelected(main_window::cbSendData, selected);
}

void SendBox::SetUpperCase(bool on) {
    upperCase_ = on;
    controls_.SetChecked(main_window::mMsgMonUpperCase, on);
}

void SendBox::AddToHistory(const std::string& line) {
    if (history_.size() >= kHistoryLimit || line.empty()) return;
    const bool held = std::any_of(history_.begin(), history_.end(),
                                  [&](const std::string& h) { return EqualNoCase(h, line); });
    if (!held) history_.push_back(line);
}

void SendBox::ShowHistory() {
    controls_.SetItems(main_window::cbSendData, history_);
}

void SendBox::Send() {
    if (onSendPressed) onSendPressed();
    const std::string text = std::move(text_);
    SetText({});
    if (!text.empty()) {
        send_(text);
        RememberSent(text);
        text_ = history_.front();  // ready to be sent again
        ShowText(true);
    }
}

void SendBox::RememberSent(const std::string& text) {
    auto held = std::find_if(history_.begin(), history_.end(),
                             [&](const std::string& h) { return EqualNoCase(h, text); });
    if (held != history_.end())
        history_.erase(held);
    else if (history_.size() >= kHistoryLimit)
        history_.pop_back();
    history_.insert(history_.begin(), text);
    ShowHistory();
}

void SendBox::AddChecksum() {
    if (text_.find('*') != std::string::npos) return;
    SetText(text_ + ChecksumSuffix(TextChecksum(text_)));
}

std::optional<char> SendBox::KeyPress(char c) {
    switch (c) {
        case kEnter:
            Send();
            return std::nullopt;
        case kEscape:
            if (!onEscapeToScript || !onEscapeToScript()) SetText({});
            return std::nullopt;
        case kCtrlX:
        case kCtrlC:
        case kCtrlV:
        case kBackspace:
            return c;
        default:
            break;
    }
    if (upperCase_) c = UpperAscii(c);
    if (IsPrintable(static_cast<unsigned char>(c))) return c;
    return std::nullopt;
}

void SendBox::FocusIn() {
    hintShown_ = true;
    controls_.SetHint(main_window::cbSendData, kHint);
    if (onKeyboardToPanel) onKeyboardToPanel(false);
}

void SendBox::FocusOut() {
    hintShown_ = false;
    controls_.SetHint(main_window::cbSendData, "");
    if (onKeyboardToPanel) onKeyboardToPanel(true);
}

void SendBox::ContextMenu() {
    if (onContextMenu) onContextMenu();
}

}  // namespace zelsim
