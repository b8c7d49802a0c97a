#pragma once
#include <climits>
#include <cstdint>
#include <functional>
#include <string>

#include "app/MainLayout.h"
#include "base/ZelType.h"
#include "serial/CyclePart.h"

namespace zelsim {

class Connection;
class ControlTable;
class MessageMonitor;
class UserButtons;

// The main window's own state: the panel type of the "ZEL Options" menu,
// the caption, the compact layout while the type is Off, where the window
// stands and how large the user made it (the monitor takes what is more
// than the design). Keys "ZelSimWindowLeft", "ZelSimWindowTop",
// "ZelSimWindowWidth", "ZelSimWindowHeight" and "ZelType".
class MainWindowState : public CyclePart {
  public:
    MainWindowState(ControlTable& controls, const Connection& connection,
                    const UserButtons& buttons, MessageMonitor& monitor);

    // The end of every refresh: the panel, its keys, acquisition and the log
    // controls follow the type and the port.
    std::function<void(ZelType)> onRefreshed;

    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

    // mZelOptOffClick, mZelOptDormalynClick, mZelOptCorvaneClick
    void SelectZelType(ZelType type);
    ZelType SelectedZelType() const { return zelType_; }

    // The caption, the receiver panel and the layout follow the port, the
    // button group and the panel type.
    void RefreshStatus();
    // Hide or Big of the monitor changed.
    void MonitorLayoutChanged();

    // The client area as the user sized it.
    void ClientResized(int width, int height);
    // The height the screen has for the client area: a design that does
    // not fit is made to by shortening the monitor.
    void SetScreenRoom(int height);
    int ClientWidth() const;
    int ClientHeight() const;

    // Where the user left the window, stored at shutdown.
    void SetWindowPosition(int left, int top);
    int WindowLeft() const { return windowLeft_; }
    int WindowTop() const { return windowTop_; }

    static const char* ZelTypeText(ZelType type);

  private:
    void ApplyLayout();
    MainLayout::Minimum Minimum() const;

    ControlTable& controls_;
    const Connection& connection_;
    const UserButtons& buttons_;
    MessageMonitor& monitor_;
    std::string versionText_ = ZELSIM_VERSION_TEXT;
    ZelType zelType_ = ZelType::Corvane;
    bool compactShown_ = false;  // the Off layout is applied
    int windowLeft_ = 0;
    int windowTop_ = 0;
    // What the user added to the smallest client.
    int extraWidth_ = 0;
    int extraHeight_ = 0;
    int screenRoom_ = INT_MAX;
};

}  // namespace zelsim
