#pragma once
#include <cstdint>

#include "base/ControlTable.h"
#include "gps/DeviationWindow.h"
#include "gps/SkyViewWindow.h"
#include "gps/SvStatusWindow.h"
#include "gps/ToolWindow.h"
#include "serial/CyclePart.h"

namespace zelsim {

class GnssDecoder;

// The four windows of the main menu's "more": their items' check marks,
// each by a rule of its own, the places they open at, and the live ones
// fed from the receiver's sentences once per receiver cycle. Keys
// "PositionDeviationLeft", "PositionDeviationTop", "SvStatusLeft",
// "SvStatusTop", "SkyViewLeft", "SkyViewTop", "GpsSimulatorLeft" and
// "GpsSimulatorTop".
class GpsWindows : public CyclePart {
  public:
    static constexpr std::string_view kSimulatorCaption = "GPS Simulator";
    static constexpr int kSimulatorWidth = 358;
    static constexpr int kSimulatorHeight = 292;
    // Without fix sentences to mark the receiver's cycles, the windows
    // follow the satellites at this pace.
    static constexpr uint32_t kUntimedRefreshMs = 1000;

    // `mainControls` holds the menu items; `decoder` reads the line.
    GpsWindows(ControlTable& mainControls, GnssDecoder& decoder);

    zelsim::DeviationWindow& DeviationWindow() { return deviation_; }
    zelsim::SvStatusWindow& SvStatusWindow() { return svStatus_; }
    const zelsim::SvStatusWindow& SvStatusWindow() const { return svStatus_; }
    zelsim::SkyViewWindow& SkyViewWindow() { return skyView_; }
    ToolWindow& GpsSimulatorWindow() { return simulator_; }

    // The items of "more".
    void ClickPositionDeviation();
    void ClickSvStatus();
    void ClickSkyView();
    void ClickGpsSimulator();

    // The satellite windows follow the receiver once per cycle of its
    // sentences: as soon as the cycle's sky is whole (the receiver sent a
    // fix or GSA sentence after its last GSV), or when the next cycle
    // begins.
    void AfterRead(uint32_t now) override;
    // A sky not shown yet is shown within a second, cycles or not.
    uint32_t NextStepIn(uint32_t now) const override;
    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

  private:
    void ShowSatellites();
    // The windows show the sky as of receiver cycle `epoch`.
    void ShowCycle(uint32_t epoch, uint32_t now);

    ControlTable& mainControls_;
    GnssDecoder& decoder_;
    zelsim::DeviationWindow deviation_;
    zelsim::SvStatusWindow svStatus_;
    zelsim::SkyViewWindow skyView_;
    ToolWindow simulator_;
    // The marks that only the menu inverts.
    bool skyViewChecked_ = false;
    bool simulatorChecked_ = false;
    uint32_t epochSeen_ = 0;
    uint32_t epochAt_ = 0;
    uint32_t shownEpoch_ = UINT32_MAX;
    uint32_t revisionSeen_ = 0;
    uint32_t cyclesSeen_ = 0;
    uint32_t shownAt_ = 0;
};

}  // namespace zelsim
