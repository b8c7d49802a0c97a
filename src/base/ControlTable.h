#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/ControlState.h"

namespace zelsim {

// The control state of the windows, keyed by the controls' names. Setters
// record a change only when the value differs, so applying the table after
// every tick costs nothing while nothing moves.
class ControlTable {
  public:
    ControlTable() = default;
    // The change list points into the table: a copy would point into the
    // original. Moving keeps the entries where they are.
    ControlTable(const ControlTable&) = delete;
    ControlTable& operator=(const ControlTable&) = delete;
    ControlTable(ControlTable&&) = default;
    ControlTable& operator=(ControlTable&&) = default;

    void SetText(std::string_view name, std::string_view text);
    void SetVisible(std::string_view name, bool visible);
    void SetEnabled(std::string_view name, bool enabled);
    void SetChecked(std::string_view name, bool checked);
    void SetPos(std::string_view name, int left, int top);
    void SetSize(std::string_view name, int width, int height);
    // The smallest size the user may give a resizable window's client area.
    void SetMinimumSize(std::string_view name, int width, int height);
    void SetBar(std::string_view name, int position, int maximum);
    void SetItems(std::string_view name, const std::vector<std::string>& items);
    void SetHint(std::string_view name, std::string_view hint);
    void SetSelected(std::string_view name, bool selected);
    void SetAlert(std::string_view name, bool alert);
    void SetColour(std::string_view name, Colour background);

    // The entry, or one with every default when core never set it.
    const ControlState& Get(std::string_view name) const;
    bool Has(std::string_view name) const { return controls_.find(name) != controls_.end(); }

    uint64_t Revision() const { return revision_; }
    // Calls `apply` for every entry changed after revision `since`; 0 gives all.
    void ForEachChangedSince(
        uint64_t since,
        const std::function<void(const std::string&, const ControlState&)>& apply) const;

  private:
    // The entry to change, its field marked set and its revision new.
    ControlState& Change(std::string_view name, ControlState::Field field);
    const ControlState* Find(std::string_view name) const;

    using Controls = std::map<std::string, ControlState, std::less<>>;
    Controls controls_;
    uint64_t revision_ = 0;
    // Every change in the order made, so that a window applying ten times
    // a second visits the few entries that changed, not the whole table.
    // An entry changed again is listed again; its older mentions are
    // passed over, and dropped once they outnumber the entries.
    std::vector<std::pair<uint64_t, const Controls::value_type*>> changes_;
};

}  // namespace zelsim
