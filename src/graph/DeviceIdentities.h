#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graph/DeviceIdentity.h"

namespace zelsim {

// The three devices whose identities the graph keeps, in the order the
// readout panel and the data files list them.
enum class DeviceSlot : uint8_t { kController, kLightbar, kReceiver };

// The identities heard on the line (live) and the ones shown and saved with
// the records (displayed). The live ones reach the display with the next
// record appended, so that a data file's identity line belongs to its
// records; while a loaded file is viewed its own identities stay shown.
class DeviceIdentities {
  public:
    static constexpr size_t kSlotCount = 3;
    using Slots = std::array<DeviceIdentity, kSlotCount>;

    const DeviceIdentity& Live(DeviceSlot slot) const { return live_[Index(slot)]; }
    const DeviceIdentity& Displayed(DeviceSlot slot) const { return displayed_[Index(slot)]; }
    const Slots& LiveSet() const { return live_; }
    const Slots& DisplayedSet() const { return displayed_; }
    // A live identity arrived since the display last took them.
    bool Changed() const { return changed_; }

    // A reply heard on the line.
    void SetLive(DeviceSlot slot, std::string_view name, std::string_view version,
                 std::string_view serialNumber) {
        live_[Index(slot)].Set(name, version, serialNumber);
        changed_ = true;
    }
    // A data file's identity line.
    void SetDisplayed(DeviceSlot slot, std::string_view name, std::string_view version,
                      std::string_view serialNumber) {
        displayed_[Index(slot)].Set(name, version, serialNumber);
    }
    void ClearDisplayed() { displayed_ = {}; }
    // Leaving Hold after a load: the live set is shown at once.
    void CopyLiveToDisplayed() { displayed_ = live_; }
    // The hand-over of an append.
    void TakeChanged() {
        changed_ = false;
        displayed_ = live_;
    }

  private:
    static constexpr size_t Index(DeviceSlot slot) { return static_cast<size_t>(slot); }

    Slots live_{};
    Slots displayed_{};
    bool changed_ = false;
};

}  // namespace zelsim
