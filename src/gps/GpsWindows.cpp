#include "gps/GpsWindows.h"

#include <algorithm>

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
    const uint32_t epoch = decoder_.Epoch();
    const bool unseen = decoder_.Revision() != revisionSeen_;
    if (epoch != epochSeen_) {
        const uint32_t ended = epochSeen_;
        epochSeen_ = epoch;
        epochAt_ = now;
        // The cycle that ended was never shown: its sky came last in it.
        if (unseen && shownEpoch_ != ended) return ShowCycle(ended, now);
    }
    if (!unseen) return;
    // Once the receiver has moved on from its sky, the cycle is whole.
    const bool skyWhole = decoder_.CyclesPublished() != cyclesSeen_ && !decoder_.SkyArriving() &&
                          decoder_.SentencesAfterSky() > 0;
    if (skyWhole && shownEpoch_ != epoch) return ShowCycle(epoch, now);
    // A receiver that sends no fix sentences has no cycles to go by.
    if (TickClock::Elapsed(now, epochAt_, kUntimedRefreshMs) &&
        TickClock::Elapsed(now, shownAt_, kUntimedRefreshMs))
        ShowCycle(epoch, now);
}

uint32_t GpsWindows::NextStepIn(uint32_t now) const {
    if (decoder_.Revision() == revisionSeen_) return kNoStep;
    return std::max(TickClock::Remaining(now, epochAt_, kUntimedRefreshMs),
                    TickClock::Remaining(now, shownAt_, kUntimedRefreshMs));
}

void GpsWindows::ShowCycle(uint32_t epoch, uint32_t now) {
    shownEpoch_ = epoch;
    shownAt_ = now;
    revisionSeen_ = decoder_.Revision();
    cyclesSeen_ = decoder_.CyclesPublished();
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
