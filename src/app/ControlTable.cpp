#include "app/ControlTable.h"

ControlState& ControlTable::Touch(const std::string& name) {
    ControlState& c = controls_[name];
    c.revision = ++revision_;
    return c;
}

const ControlState& ControlTable::Get(const std::string& name) { return controls_[name]; }

void ControlTable::SetText(const std::string& name, const std::string& text) {
    auto it = controls_.find(name);
    if (it != controls_.end() && it->second.text == text) return;
    Touch(name).text = text;
}

void ControlTable::SetVisible(const std::string& name, bool visible) {
    auto it = controls_.find(name);
    if (it != controls_.end() && it->second.visible == visible) return;
    Touch(name).visible = visible;
}

void ControlTable::SetEnabled(const std::string& name, bool enabled) {
    auto it = controls_.find(name);
    if (it != controls_.end() && it->second.enabled == enabled) return;
    Touch(name).enabled = enabled;
}

void ControlTable::SetChecked(const std::string& name, bool checked) {
    auto it = controls_.find(name);
    if (it != controls_.end() && it->second.checked == checked) return;
    Touch(name).checked = checked;
}

void ControlTable::SetPos(const std::string& name, int left, int top) {
    auto it = controls_.find(name);
    if (it != controls_.end() && it->second.left == left && it->second.top == top) return;
    ControlState& c = Touch(name);
    c.left = left;
    c.top = top;
}

void ControlTable::SetSize(const std::string& name, int width, int height) {
    auto it = controls_.find(name);
    if (it != controls_.end() && it->second.width == width && it->second.height == height) return;
    ControlState& c = Touch(name);
    c.width = width;
    c.height = height;
}

void ControlTable::SetBar(const std::string& name, int position, int maximum) {
    auto it = controls_.find(name);
    if (it != controls_.end() && it->second.position == position && it->second.maximum == maximum)
        return;
    ControlState& c = Touch(name);
    c.position = position;
    c.maximum = maximum;
}

void ControlTable::ForEachChangedSince(
    uint64_t since, const std::function<void(const std::string&, const ControlState&)>& apply) const {
    if (revision_ <= since) return;
    for (const auto& [name, state] : controls_)
        if (state.revision > since) apply(name, state);
}
