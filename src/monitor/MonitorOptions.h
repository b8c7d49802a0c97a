#pragma once

// The monitor's options: each mirrors a check mark of the "Message Monitor
// Options" menu and is kept in the configuration under the same name.
struct MonitorOptions {
    bool hideMessageMonitor = false;
    bool messageMonitorBig = false;
    bool messageMonitorUpperCase = true;  // read by the send box
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
