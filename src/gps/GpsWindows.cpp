#include "gps/GpsWindows.h"

#include "base/MainWindowControls.h"
#include "base/TickClock.h"
#include "gnss/GnssDecoder.h"
#include "gps/GpsWindowControls.h"
#include "gps/SatelliteList.h"

namespace zelsim {

namespace mw = main_window;

GpsWindows::GpsWindows(ControlTable& mainControls, GnssDecoder& decoder)
    : mainControls_(mainControls),
      decoder_(decoder),
      simulator_(gps_simulator_window::fGpsSimulator, "GpsSimulator", kSimulatorCaption,
                 kSimulatorWidth, kSimulatorHeight) {
    decoder_.onFix = [this](const GnssFix& fix) { deviation_.Fix(fix); };
    for (std::string_view item : {mw::mPositionDeviation, mw::mSvStatus, mw::mSkyView, mw::mGpsSim})
        mainControls_.SetChecked(item, false);
}

void GpsWindows::ClickPositionDeviation() {
    // The mark follows the window, then turns: a click while the window is
    // open only clears it.
    const bool checked = !deviation_.Window().Visible();
    mainControls_.SetChecked(mw::mPositionDeviation, checked);
    if (checked) deviation_.Window().Open();
}

void GpsWindows::ClickSvStatus() {
    ToolWindow& window = svStatus_.Window();
    if (!window.Visible()) {
        window.Open();
        ShowSatellites();
    } else {
        window.Close();
    }
    mainControls_.SetChecked(mw::mSvStatus, window.Visible());
}

void GpsWindows::ClickSkyView() {
    // Only the menu turns the mark: a window closed with its close box
    // keeps it, and the next click only clears it.
    skyViewChecked_ = !skyViewChecked_;
    mainControls_.SetChecked(mw::mSkyView, skyViewChecked_);
    if (skyViewChecked_) {
        skyView_.Window().Open();
        ShowSatellites();
    }
}

void GpsWindows::ClickGpsSimulator() {
    simulatorChecked_ = !simulatorChecked_;
    mainControls_.SetChecked(mw::mGpsSim, simulatorChecked_);
    if (simulatorChecked_) simulator_.Open();
}

void GpsWindows::ShowSatellites() {
    if (!svStatus_.Window().Visible() && !skyView_.Window().Visible()) return;
    const std::vector<SatelliteList::Entry> satellites = SatelliteList::From(decoder_);
    if (svStatus_.Window().Visible()) svStatus_.Show(satellites);
    if (skyView_.Window().Visible()) skyView_.Show(satellites);
}

void GpsWindows::AfterRead(uint32_t now) {
    if (decoder_.Revision() == revisionSeen_) return;
    // A new cycle shows the one before it whole; a receiver that sends no
    // fix sentences is followed at a steady pace.
    const bool newCycle = decoder_.Epoch() != epochSeen_;
    if (!newCycle && !TickClock::Elapsed(now, shownAt_, kUntimedRefreshMs)) return;
    epochSeen_ = decoder_.Epoch();
    revisionSeen_ = decoder_.Revision();
    shownAt_ = now;
    ShowSatellites();
}

void GpsWindows::LoadSettings(ConfigFile& file) {
    deviation_.Window().LoadSettings(file);
    svStatus_.Window().LoadSettings(file);
    skyView_.Window().LoadSettings(file);
    simulator_.LoadSettings(file);
}

void GpsWindows::SaveSettings(ConfigFile& file) const {
    deviation_.Window().SaveSettings(file);
    svStatus_.Window().SaveSettings(file);
    skyView_.Window().SaveSettings(file);
    simulator_.SaveSettings(file);
}

}  // namespace zelsim
