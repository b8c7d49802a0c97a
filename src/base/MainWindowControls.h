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
inline constexpr std::string_view bGraphicDisplay = "bGraphicDisplay";
inline constexpr std::string_view lLogMessagesStatus = "lLogMessagesStatus";
// Why the port is not open, or what became of it, in words a user can act on.
inline constexpr std::string_view lPortMessage = "lPortMessage";
// The received lines of the session in figures, at the window's foot.
inline constexpr std::string_view lLineCounts = "lLineCounts";
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
inline constexpr std::string_view mLogDirection = "mLogDirection";
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

// User buttons, scripts and file sending: the eight buttons of the group
// shown with their F-key tags on pButtonPanel, the script's Cancel Button and
// reports on pAuxPanel, and the file transfer's panel under the monitor.
inline constexpr std::string_view bButton1 = "bButton1";
inline constexpr std::string_view bButton2 = "bButton2";
inline constexpr std::string_view bButton3 = "bButton3";
inline constexpr std::string_view bButton4 = "bButton4";
inline constexpr std::string_view bButton5 = "bButton5";
inline constexpr std::string_view bButton6 = "bButton6";
inline constexpr std::string_view bButton7 = "bButton7";
inline constexpr std::string_view bButton8 = "bButton8";
inline constexpr std::string_view lButton1Tag = "lButton1Tag";
inline constexpr std::string_view lButton2Tag = "lButton2Tag";
inline constexpr std::string_view lButton3Tag = "lButton3Tag";
inline constexpr std::string_view lButton4Tag = "lButton4Tag";
inline constexpr std::string_view lButton5Tag = "lButton5Tag";
inline constexpr std::string_view lButton6Tag = "lButton6Tag";
inline constexpr std::string_view lButton7Tag = "lButton7Tag";
inline constexpr std::string_view lButton8Tag = "lButton8Tag";
// Position k (0..7, F1..F8) reaches its button and its tag by index.
inline constexpr std::string_view kUserButtons[] = {bButton1, bButton2, bButton3, bButton4,
                                                    bButton5, bButton6, bButton7, bButton8};
inline constexpr std::string_view kUserButtonTags[] = {lButton1Tag, lButton2Tag, lButton3Tag,
                                                       lButton4Tag, lButton5Tag, lButton6Tag,
                                                       lButton7Tag, lButton8Tag};
inline constexpr std::string_view bCancelButtonScript = "bCancelButtonScript";
inline constexpr std::string_view lScriptDelayReport = "lScriptDelayReport";
inline constexpr std::string_view pbScriptDelayReport = "pbScriptDelayReport";
inline constexpr std::string_view lScriptLineReport = "lScriptLineReport";
inline constexpr std::string_view lScriptMessageReport = "lScriptMessageReport";
inline constexpr std::string_view pFileSendPanel = "pFileSendPanel";
inline constexpr std::string_view bCancelFile = "bCancelFile";
inline constexpr std::string_view lSendFilePB = "lSendFilePB";
inline constexpr std::string_view pbSendFile = "pbSendFile";
inline constexpr std::string_view lSendFileInfoPB = "lSendFileInfoPB";

// "Button Options": hide the buttons or show one of the four groups (one
// radio group of five), and whether a running script shows its details.
inline constexpr std::string_view mButtonOptions = "mButtonOptions";
inline constexpr std::string_view mHideButtons = "mHideButtons";
inline constexpr std::string_view mButtonGroup1 = "mButtonGroup1";
inline constexpr std::string_view mButtonGroup2 = "mButtonGroup2";
inline constexpr std::string_view mButtonGroup3 = "mButtonGroup3";
inline constexpr std::string_view mButtonGroup4 = "mButtonGroup4";
// Group g (1..4) is item g - 1.
inline constexpr std::string_view kButtonGroupItems[] = {mButtonGroup1, mButtonGroup2,
                                                         mButtonGroup3, mButtonGroup4};
inline constexpr std::string_view mShowScriptDetails = "mShowScriptDetails";

// "more": the GPS windows, each item checked by rules of its own.
inline constexpr std::string_view mMore = "mMore";
inline constexpr std::string_view mPositionDeviation = "mPositionDeviation";
inline constexpr std::string_view mSvStatus = "mSvStatus";
inline constexpr std::string_view mSkyView = "mSkyView";
inline constexpr std::string_view mGpsSim = "mGpsSim";

// "Help", the last menu, and the window's own Quit (Ctrl+Q).
inline constexpr std::string_view mHelp = "mHelp";
inline constexpr std::string_view mAbout = "mAbout";
inline constexpr std::string_view mKeyboardShortcuts = "mKeyboardShortcuts";
inline constexpr std::string_view mQuit = "mQuit";

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
