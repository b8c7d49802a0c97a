#pragma once
#include <string_view>

#include "base/MainWindowControls.h"
#include "monitor/CategoryFilter.h"

namespace zelsim {

// The monitor's options: each mirrors a check mark of the "Message Monitor
// Options" menu and is kept in the configuration under its key.
struct MonitorOptions {
    bool hideMessageMonitor = false;
    bool messageMonitorBig = false;
    bool msgMonTime = true;
    bool msgMonTickCount = true;
    bool msgMonOutGoingMessages = true;
    bool msgMonZelMessages = true;
    bool msgMonDgpsMessages = true;
    bool msgMonLbMessages = true;
    bool msgMonDormalynMessages = true;
    bool msgMonNonNmeaMessages = true;
    bool msgMonOtherMessages = true;

    bool operator==(const MonitorOptions&) const = default;
};

// One option as the menu shows it and the configuration stores it.
struct MonitorOptionItem {
    std::string_view menuItem;
    const char* caption;
    const char* key;
    bool MonitorOptions::*flag;
    bool relayout;               // Hide and Big move the panels
    CategorySet categories = 0;  // what a filter lets into the monitor
};

// In the menu's order; the filters come first.
inline constexpr int kMonitorFilterItems = 7;
inline constexpr MonitorOptionItem kMonitorOptionItems[] = {
    // Older files spell the key "MsgMonOutGoingMessages"; keys match regardless of case.
    {main_window::mMsgMonOutGoingMessages, "Out-Going Messages", "MsgMonOutgoingMessages",
     &MonitorOptions::msgMonOutGoingMessages, false,
     CategoriesOf({MessageCategory::kOutGoing, MessageCategory::kOutZel})},
    {main_window::mMsgMonZelMessages, "ZEL Messages", "MsgMonZelMessages",
     &MonitorOptions::msgMonZelMessages, false,
     CategoriesOf({MessageCategory::kOutZel, MessageCategory::kZel})},
    {main_window::mMsgMonDgpsMessages, "DGPS Messages", "MsgMonDgpsMessages",
     &MonitorOptions::msgMonDgpsMessages, false, CategoriesOf({MessageCategory::kDgps})},
    {main_window::mMsgMonLbMessages, "Light Bar Messages", "MsgMonLbMessages",
     &MonitorOptions::msgMonLbMessages, false, CategoriesOf({MessageCategory::kLightBar})},
    {main_window::mMsgMonDormalynMessages, "Dormalyn Messages", "MsgMonDormalynMessages",
     &MonitorOptions::msgMonDormalynMessages, false, CategoriesOf({MessageCategory::kDormalyn})},
    {main_window::mMsgMonNonNmeaMessages, "Non-NMEA Messages", "MsgMonNonNmeaMessages",
     &MonitorOptions::msgMonNonNmeaMessages, false, CategoriesOf({MessageCategory::kNonNmea})},
    {main_window::mMsgMonOtherMessages, "Other Messages", "MsgMonOtherMessages",
     &MonitorOptions::msgMonOtherMessages, false, CategoriesOf({MessageCategory::kOther})},
    {main_window::mMsgMonHide, "Hide", "HideMessageMonitor", &MonitorOptions::hideMessageMonitor,
     true},
    {main_window::mMsgMonBig, "Big", "MessageMonitorBig", &MonitorOptions::messageMonitorBig, true},
    {main_window::mMsgMonTime, "Time", "MsgMonTime", &MonitorOptions::msgMonTime, false},
    {main_window::mMsgMonTickCount, "Tick Count (milliseconds)", "MsgMonTickCount",
     &MonitorOptions::msgMonTickCount, false},
};

}  // namespace zelsim
