#include "gps/TfGpsSimulator.h"

#include "gps/GpsWindowControls.h"

namespace zelsim {

TfGpsSimulator::TfGpsSimulator(ToolWindow& window, QWidget* parent)
    : ToolWindowView(window, gps_simulator_window::fGpsSimulator, parent) {
    Bind();
}

}  // namespace zelsim
