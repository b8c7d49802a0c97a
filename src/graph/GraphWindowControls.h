#pragma once
#include <array>
#include <string_view>

namespace zelsim {

// The named controls of the graph window, bound to its own control table.
namespace graph_window {

// The window itself: its caption, where it stands, its client area's size
// and whether it is shown.
inline constexpr std::string_view fGraphicDisplay = "fGraphicDisplay";

inline constexpr std::string_view pMainPanel = "pMainPanel";
inline constexpr std::string_view pbGraphicDisplay = "pbGraphicDisplay";
inline constexpr std::string_view pButtonPanel = "pButtonPanel";

inline constexpr std::string_view sbGraphTime = "sbGraphTime";
inline constexpr std::string_view spToFront = "spToFront";
inline constexpr std::string_view sbReverseFast = "sbReverseFast";
inline constexpr std::string_view sbReverse = "sbReverse";
inline constexpr std::string_view sbPause = "sbPause";
inline constexpr std::string_view sbForward = "sbForward";
inline constexpr std::string_view sbForwardFast = "sbForwardFast";
inline constexpr std::string_view sbToEnd = "sbToEnd";

inline constexpr std::string_view lPaused = "lPaused";
inline constexpr std::string_view lHolding = "lHolding";
inline constexpr std::string_view lAutoSave = "lAutoSave";
// What became of the last save or load, under the buttons.
inline constexpr std::string_view lFileReport = "lFileReport";

inline constexpr std::string_view bSaveGraph = "bSaveGraph";
inline constexpr std::string_view bPause = "bPause";
inline constexpr std::string_view bLoadData = "bLoadData";
inline constexpr std::string_view bSaveData = "bSaveData";
inline constexpr std::string_view bHold = "bHold";
inline constexpr std::string_view bAutoSave = "bAutoSave";
inline constexpr std::string_view bLogGridOnOff = "bLogGridOnOff";
inline constexpr std::string_view bLinearGridOnOff = "bLinearGridOnOff";
inline constexpr std::string_view bCogDisplay = "bCogDisplay";
inline constexpr std::string_view bClear = "bClear";
inline constexpr std::string_view bClose = "bClose";

// The group of five that plays the ring while holding, slowest backwards
// to fastest forwards; at most one is down.
inline constexpr std::array<std::string_view, 5> kPlayButtons = {sbReverseFast, sbReverse, sbPause,
                                                                 sbForward, sbForwardFast};

}  // namespace graph_window

}  // namespace zelsim
