#pragma once
#include "gps/PositionDeviation.h"
#include "gps/ToolWindow.h"

namespace zelsim {

struct GnssFix;

// "Static Position Deviation": the receiver's fixes gathered while the
// window is open and running, the reference, the latest fix, the count and
// the horizontal RMS error in its value fields.
class DeviationWindow {
  public:
    static constexpr std::string_view kCaption = "Deviation from Static Position";
    static constexpr int kClientWidth = 492;
    static constexpr int kClientHeight = 172;

    DeviationWindow();

    ToolWindow& Window() { return window_; }
    const ToolWindow& Window() const { return window_; }
    const PositionDeviation& Deviation() const { return deviation_; }

    // A fix from the line: counted while the window is shown and running.
    void Fix(const GnssFix& fix);
    // bStopRun: "Stop" pauses the sampling, "Run" goes on with it.
    void StopRun();
    bool Running() const { return running_; }
    // bReset: a new reference from the next fix.
    void Reset();
    // bClose, as the close box.
    void Close();

  private:
    void ShowValues();

    ToolWindow window_;
    PositionDeviation deviation_;
    bool running_ = true;
};

}  // namespace zelsim
