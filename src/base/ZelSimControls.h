#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zelsim {

// The named controls of the main window. Core parts write their state under
// these names; the window binds each to its widget or menu item by the same
// name, and a name no widget binds is an error its tests catch.
namespace main_window {

// The window itself: its caption, where it stands, and its client area's size.
inline constexpr std::string_view fZelSim = "fZelSim";

inline constexpr std::string_view pAuxPanel = "pAuxPanel";
inline constexpr std::string_view pDisplayPanel = "pDisplayPanel";
inline constexpr std::string_view pButtonPanel = "pButtonPanel";
inline constexpr std::string_view pMessageMonitorPanel = "pMessageMonitorPanel";

inline constexpr std::string_view bComOpenClose = "bComOpenClose";
inline constexpr std::string_view bLogMessages = "bLogMessages";
inline constexpr std::string_view lLogMessagesStatus = "lLogMessagesStatus";
// Why the port is not open, or what became of it, in words a user can act on.
inline constexpr std::string_view lPortMessage = "lPortMessage";
inline constexpr std::string_view iRxTxFrame = "iRxTxFrame";
inline constexpr std::string_view iTxArrow = "iTxArrow";
inline constexpr std::string_view iRxArrow = "iRxArrow";

inline constexpr std::string_view lbMessageMonitor = "lbMessageMonitor";
inline constexpr std::string_view cbSendData = "cbSendData";
inline constexpr std::string_view bSendData = "bSendData";
inline constexpr std::string_view bPause = "bPause";
inline constexpr std::string_view bClear = "bClear";
inline constexpr std::string_view bSendFile = "bSendFile";
inline constexpr std::string_view bAddCkSum = "bAddCkSum";

// The menus of the menu bar.
inline constexpr std::string_view mComPort = "mComPort";
inline constexpr std::string_view mBaud = "mBaud";
inline constexpr std::string_view mZelOptions = "mZelOptions";
inline constexpr std::string_view mMsgMonOptions = "mMsgMonOptions";
inline constexpr std::string_view mLoggingOptions = "mLoggingOptions";

// "Message Monitor Options"
inline constexpr std::string_view mMsgMonOutGoingMessages = "mMsgMonOutGoingMessages";
inline constexpr std::string_view mMsgMonZelMessages = "mMsgMonZelMessages";
inline constexpr std::string_view mMsgMonDgpsMessages = "mMsgMonDgpsMessages";
inline constexpr std::string_view mMsgMonLbMessages = "mMsgMonLbMessages";
inline constexpr std::string_view mMsgMonDormalynMessages = "mMsgMonDormalynMessages";
inline constexpr std::string_view mMsgMonNonNmeaMessages = "mMsgMonNonNmeaMessages";
inline constexpr std::string_view mMsgMonOtherMessages = "mMsgMonOtherMessages";
inline constexpr std::string_view mMsgMonHide = "mMsgMonHide";
inline constexpr std::string_view mMsgMonBig = "mMsgMonBig";
inline constexpr std::string_view mMsgMonUpperCase = "mMsgMonUpperCase";
inline constexpr std::string_view mnuMsgFlushSerial = "mnuMsgFlushSerial";
inline constexpr std::string_view mMsgMonTime = "mMsgMonTime";
inline constexpr std::string_view mMsgMonTickCount = "mMsgMonTickCount";

// "Logging Options"
inline constexpr std::string_view mLogDate = "mLogDate";
inline constexpr std::string_view mLogTime = "mLogTime";
inline constexpr std::string_view mLogMsTickCount = "mLogMsTickCount";
inline constexpr std::string_view mLogNmeaChecksum = "mLogNmeaChecksum";
inline constexpr std::string_view mLogZelMessages = "mLogZelMessages";
inline constexpr std::string_view mLogDgpsMessages = "mLogDgpsMessages";
inline constexpr std::string_view mLogLightBarMessages = "mLogLightBarMessages";
inline constexpr std::string_view mLogDormalynMessages = "mLogDormalynMessages";
inline constexpr std::string_view mLogNonNmeaMessages = "mLogNonNmeaMessages";
inline constexpr std::string_view mLogOtherMessages = "mLogOtherMessages";
inline constexpr std::string_view mLogAppendToExistFile = "mLogAppendToExistFile";
inline constexpr std::string_view mLogOverWriteFile = "mLogOverWriteFile";
inline constexpr std::string_view mLogPromptForFilename = "mLogPromptForFilename";
inline constexpr std::string_view mLogSequenceFilename = "mLogSequenceFilename";
inline constexpr std::string_view mLogEraseFile = "mLogEraseFile";
inline constexpr std::string_view mLogViewFile = "mLogViewFile";

// "ZEL Options"
inline constexpr std::string_view mZelOptOff = "mZelOptOff";
inline constexpr std::string_view mZelOptDormalyn = "mZelOptDormalyn";
inline constexpr std::string_view mZelOptCorvane = "mZelOptCorvane";

// The receiver's panel on pDisplayPanel: the unit's pictures, the LCD's
// back light and contrast, the four key areas and the two-key buttons.
inline constexpr std::string_view iCorvane = "iCorvane";
inline constexpr std::string_view iDormalyn = "iDormalyn";
inline constexpr std::string_view lBackLight = "lBackLight";
inline constexpr std::string_view lContrast = "lContrast";
inline constexpr std::string_view pbContrast = "pbContrast";
inline constexpr std::string_view sKeyNo1 = "sKeyNo1";
inline constexpr std::string_view sKeyNo2 = "sKeyNo2";
inline constexpr std::string_view sKeyNo3 = "sKeyNo3";
inline constexpr std::string_view sKeyNo4 = "sKeyNo4";
inline constexpr std::string_view bUpAndDownKeys = "bUpAndDownKeys";
inline constexpr std::string_view bCorvaneDiag = "bCorvaneDiag";

// Receiver acquisition on pAuxPanel.
inline constexpr std::string_view bAcquireCorvane = "bAcquireCorvane";
inline constexpr std::string_view lAcquireCorvaneStatus = "lAcquireCorvaneStatus";
inline constexpr std::string_view lCorvaneConnectionReport = "lCorvaneConnectionReport";

// "COM Port": after the COM items, the choice to reopen a lost device.
inline constexpr std::string_view mReconnectAutomatically = "mReconnectAutomatically";

// "COM Port" and "Baud Rate": one item per COM number and per rate.
inline std::string ComItem(int number) {
    return "mCom" + std::to_string(number) + "Select";
}
inline std::string BaudItem(uint32_t rate) {
    return "mBaud" + std::to_string(rate) + "Select";
}

}  // namespace main_window

}  // namespace zelsim
