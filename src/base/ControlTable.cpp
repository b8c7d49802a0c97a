#include "base/ControlTable.h"

#include <algorithm>

namespace zelsim {

namespace {
const ControlState kUnsetControl;
// Old mentions in the change list, per entry, before it is rebuilt.
constexpr size_t kChangesKeptPerEntry = 4;
}  // namespace

const ControlState* ControlTable::Find(std::string_view name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : &it->second;
}

const ControlState& ControlTable::Get(std::string_view name) const {
    const ControlState* found = Find(name);
    return found ? *found : kUnsetControl;
}

ControlState& ControlTable::Change(std::string_view name, ControlState::Field field) {
    auto it = controls_.find(name);
    if (it == controls_.end()) it = controls_.emplace(std::string(name), ControlState{}).first;
    ControlState& c = it->second;
    c.fields |= field;
    c.revision = ++revision_;
    if (changes_.size() >= kChangesKeptPerEntry * controls_.size()) {
        changes_.clear();
        for (const auto& entry : controls_) changes_.emplace_back(entry.second.revision, &entry);
        std::sort(changes_.begin(), changes_.end());
    } else {
        changes_.emplace_back(c.revision, &*it);
    }
    return c;
}

void ControlTable::SetText(std::string_view name, std::string_view text) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kText) && c->text == text) return;
    Change(name, ControlState::kText).text = text;
}

void ControlTable::SetVisible(std::string_view name, bool visible) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kVisible) && c->visible == visible) return;
    Change(name, ControlState::kVisible).visible = visible;
}

void ControlTable::SetEnabled(std::string_view name, bool enabled) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kEnabled) && c->enabled == enabled) return;
    Change(name, ControlState::kEnabled).enabled = enabled;
}

void ControlTable::SetChecked(std::string_view name, bool checked) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kChecked) && c->checked == checked) return;
    Change(name, ControlState::kChecked).checked = checked;
}

void ControlTable::SetPos(std::string_view name, int left, int top) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kPos) && c->left == left && c->top == top) return;
    ControlState& changed = Change(name, ControlState::kPos);
    changed.left = left;
    changed.top = top;
}

void ControlTable::SetSize(std::string_view name, int width, int height) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kSize) && c->width == width && c->height == height) return;
    ControlState& changed = Change(name, ControlState::kSize);
    changed.width = width;
    changed.height = height;
}

void ControlTable::SetMinimumSize(std::string_view name, int width, int height) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kMinimum) && c->minWidth == width && c->minHeight == height)
        return;
    ControlState& changed = Change(name, ControlState::kMinimum);
    changed.minWidth = width;
    changed.minHeight = height;
}

void ControlTable::SetBar(std::string_view name, int position, int maximum) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kBar) && c->position == position && c->maximum == maximum) return;
    ControlState& changed = Change(name, ControlState::kBar);
    changed.position = position;
    changed.maximum = maximum;
}

void ControlTable::SetItems(std::string_view name, const std::vector<std::string>& items) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kItems) && c->items == items) return;
    Change(name, ControlState::kItems).items = items;
}

void ControlTable::SetHint(std::string_view name, std::string_view hint) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kHint) && c->hint == hint) return;
    Change(name, ControlState::kHint).hint = hint;
}

void ControlTable::SetSelected(std::string_view name, bool selected) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kSelected) && c->selected == selected) return;
    Change(name, ControlState::kSelected).selected = selected;
}

void ControlTable::SetAlert(std::string_view name, bool alert) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kAlert) && c->alert == alert) return;
    Change(name, ControlState::kAlert).alert = alert;
}

void ControlTable::SetColour(std::string_view name, Colour background) {
    const ControlState* c = Find(name);
    if (c && c->Has(ControlState::kColour) && c->colour == background) return;
    Change(name, ControlState::kColour).colour = background;
}

void ControlTable::ForEachChangedSince(
    uint64_t since,
    const std::function<void(const std::string&, const ControlState&)>& apply) const {
    if (revision_ <= since) return;
    const auto first = std::upper_bound(
        changes_.begin(), changes_.end(), since,
        [](uint64_t revision, const auto& change) { return revision < change.first; });
    std::vector<const Controls::value_type*> changed;
    for (auto change = first; change != changes_.end(); ++change)
        if (change->second->second.revision == change->first) changed.push_back(change->second);
    // In the order of the names, as the whole table was applied.
    std::sort(changed.begin(), changed.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    for (const auto* entry : changed) apply(entry->first, entry->second);
}

}  // namespace zelsim
