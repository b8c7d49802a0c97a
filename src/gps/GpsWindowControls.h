#pragma once
#include <string_view>

namespace zelsim {

// The named controls of the GPS windows, each window bound to a table of its
// own. A window's own entry carries its caption, its place, its client size
// and whether it is shown.

namespace deviation_window {
inline constexpr std::string_view fPositionDeviation = "fPositionDeviation";
inline constexpr std::string_view lReferencePositionLat = "lReferencePositionLat";
inline constexpr std::string_view lReferencePositionLon = "lReferencePositionLon";
inline constexpr std::string_view lCurrentPositionLat = "lCurrentPositionLat";
inline constexpr std::string_view lCurrentPositionLon = "lCurrentPositionLon";
inline constexpr std::string_view lSampleTarget = "lSampleTarget";
inline constexpr std::string_view lSampleCount = "lSampleCount";
inline constexpr std::string_view lDeviation = "lDeviation";
inline constexpr std::string_view bStopRun = "bStopRun";
inline constexpr std::string_view bReset = "bReset";
inline constexpr std::string_view bClose = "bClose";
}  // namespace deviation_window

namespace sv_status_window {
inline constexpr std::string_view fSvStatus = "fSvStatus";
// The satellites in view, one row each.
inline constexpr std::string_view gSatellites = "gSatellites";
// "no satellites in view", or how many there are.
inline constexpr std::string_view lSatelliteSummary = "lSatelliteSummary";
}  // namespace sv_status_window

namespace sky_view_window {
inline constexpr std::string_view fSkyView = "fSkyView";
inline constexpr std::string_view pbSkyView = "pbSkyView";
}  // namespace sky_view_window

namespace gps_simulator_window {
inline constexpr std::string_view fGpsSimulator = "fGpsSimulator";
}  // namespace gps_simulator_window

namespace cog_window {
inline constexpr std::string_view fCogDisplay = "fCogDisplay";
inline constexpr std::string_view pbCogDisplay = "pbCogDisplay";
}  // namespace cog_window

}  // namespace zelsim
