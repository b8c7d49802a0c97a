#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "app/ControlState.h"

// The control state of the windows, keyed by the controls' names. Setters
// record a change only when the value differs, so applying the table after
// every tick costs nothing while nothing moves.
class ControlTable {
public:
    void SetText(const std::string& name, const std::string& text);
    void SetVisible(const std::string& name, bool visible);
    void SetEnabled(const std::string& name, bool enabled);
    void SetChecked(const std::string& name, bool checked);
    void SetPos(const std::string& name, int left, int top);
    void SetSize(const std::string& name, int width, int height);
    void SetBar(const std::string& name, int position, int maximum);

    // The entry, created with its defaults when first asked for.
    const ControlState& Get(const std::string& name);
    bool Has(const std::string& name) const { return controls_.count(name) != 0; }

    uint64_t Revision() const { return revision_; }
    // Calls `apply` for every entry changed after revision `since`.
    void ForEachChangedSince(uint64_t since,
                             const std::function<void(const std::string&, const ControlState&)>& apply) const;

private:
    ControlState& Touch(const std::string& name);

    std::map<std::string, ControlState> controls_;
    uint64_t revision_ = 0;
};
