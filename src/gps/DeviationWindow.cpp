#include "gps/DeviationWindow.h"

#include <string>

#include "gnss/GnssDecoder.h"
#include "gps/GpsWindowControls.h"

namespace zelsim {

namespace dw = deviation_window;

DeviationWindow::DeviationWindow()
    : window_(dw::fPositionDeviation, "PositionDeviation", kCaption, kClientWidth, kClientHeight) {
    window_.Controls().SetText(dw::lSampleTarget, std::to_string(PositionDeviation::kSampleTarget));
    window_.Controls().SetText(dw::bStopRun, "&Stop");
    ShowValues();
}

void DeviationWindow::Fix(const GnssFix& fix) {
    if (!running_ || !window_.Visible() || !fix.latitude || !fix.longitude) return;
    deviation_.AddFix(*fix.latitude, *fix.longitude);
    ShowValues();
}

void DeviationWindow::StopRun() {
    running_ = !running_;
    window_.Controls().SetText(dw::bStopRun, running_ ? "&Stop" : "&Run");
}

void DeviationWindow::Reset() {
    deviation_.Reset();
    ShowValues();
}

void DeviationWindow::Close() {
    window_.Close();
}

void DeviationWindow::ShowValues() {
    ControlTable& c = window_.Controls();
    const auto reference = deviation_.Reference();
    const auto current = deviation_.Current();
    const auto rms = deviation_.RmsError();
    c.SetText(dw::lReferencePositionLat,
              reference ? PositionDeviation::LatitudeText(reference->latitude) : "");
    c.SetText(dw::lReferencePositionLon,
              reference ? PositionDeviation::LongitudeText(reference->longitude) : "");
    c.SetText(dw::lCurrentPositionLat,
              current ? PositionDeviation::LatitudeText(current->latitude) : "");
    c.SetText(dw::lCurrentPositionLon,
              current ? PositionDeviation::LongitudeText(current->longitude) : "");
    c.SetText(dw::lSampleCount, std::to_string(deviation_.Count()));
    c.SetText(dw::lDeviation, rms ? PositionDeviation::MetresText(*rms) : "");
}

}  // namespace zelsim
