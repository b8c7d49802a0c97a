#include "protocol/SendBox.h"

#include <algorithm>
#include <cstdio>

#include "monitor/MessageMonitor.h"

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
               };
               return lower(x) == lower(y);
           });
}

}  // namespace

SendBox::SendBox(MessageMonitor& monitor, std::function<void(const std::string&)> send)
    : monitor_(monitor), send_(std::move(send)) {}

void SendBox::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    ++revision_;
}

void SendBox::LoadHistory(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (history_.size() >= kHistoryLimit) break;
        if (line.empty()) continue;
        const bool held = std::any_of(history_.begin(), history_.end(), [&](const std::string& h) {
            return EqualIgnoringCase(h, line);
        });
        if (!held) history_.push_back(line);
    }
    ++revision_;
}

void SendBox::Send() {
    monitor_.Resume();
    const std::string text = std::move(text_);
    text_.clear();
    ++revision_;
    if (text.empty()) return;
    if (send_) send_(text);
    RememberSent(text);
    text_ = history_.front();  // ready to be sent again
}

void SendBox::RememberSent(const std::string& text) {
    auto held = std::find_if(history_.begin(), history_.end(),
                             [&](const std::string& h) { return EqualIgnoringCase(h, text); });
    if (held != history_.end())
        history_.erase(held);
    else if (history_.size() >= kHistoryLimit)
        history_.pop_back();
    history_.insert(history_.begin(), text);
}

void SendBox::AddChecksum() {
    if (text_.find('*') != std::string::npos) return;
    // A "$" restarts the sum, so only the last sentence on the line counts.
    uint8_t sum = 0;
    for (char c : text_) sum = (c == '$') ? 0 : static_cast<uint8_t>(sum ^ static_cast<uint8_t>(c));
    char suffix[4];
    std::snprintf(suffix, sizeof suffix, "*%02X", sum);
    text_ += suffix;
    ++revision_;
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
    if (c >= 'a' && c <= 'z' && monitor_.options.messageMonitorUpperCase) return char(c - ('a' - 'A'));
    if (c >= 32 && c <= 126) return c;
    return std::nullopt;
}

void SendBox::FocusIn() {
    hintShown_ = true;
    ++revision_;
    if (onKeyboardToPanel) onKeyboardToPanel(false);
}

void SendBox::FocusOut() {
    hintShown_ = false;
    ++revision_;
    if (onKeyboardToPanel) onKeyboardToPanel(true);
}

void SendBox::ContextMenu() {
    if (onContextMenu) onContextMenu();
}
