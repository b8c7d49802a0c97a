#include "app/MainWindowState.h"

#include <algorithm>
#include <cstdio>

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "monitor/MessageMonitor.h"
#include "monitor/MonitorLayout.h"
#include "scripts/UserButtons.h"
#include "serial/Connection.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr const char* kWindowLeftKey = "ZelSimWindowLeft";
constexpr const char* kWindowTopKey = "ZelSimWindowTop";
constexpr const char* kWindowWidthKey = "ZelSimWindowWidth";
constexpr const char* kWindowHeightKey = "ZelSimWindowHeight";
constexpr const char* kZelTypeKey = "ZelType";

struct ZelTypeItem {
    ZelType type;
    std::string_view menuItem;
    const char* text;  // as stored
};
constexpr ZelTypeItem kZelTypes[] = {
    {ZelType::Off, mw::mZelOptOff, "Off"},
    {ZelType::Dormalyn, mw::mZelOptDormalyn, "Dormalyn"},
    {ZelType::Corvane, mw::mZelOptCorvane, "Corvane"},
};

void Apply(ControlTable& controls, std::span<const MainLayout::Place> places) {
    for (const MainLayout::Place& p : places) {
        controls.SetPos(p.name, p.left, p.top);
        if (p.width != MainLayout::kKeepSize) controls.SetSize(p.name, p.width, p.height);
    }
}
}  // namespace

MainWindowState::MainWindowState(ControlTable& controls, const Connection& connection,
                                 const UserButtons& buttons, MessageMonitor& monitor)
    : controls_(controls), connection_(connection), buttons_(buttons), monitor_(monitor) {
    Apply(controls_, MainLayout::Design());
    SelectZelType(zelType_);
}

const char* MainWindowState::ZelTypeText(ZelType type) {
    for (const ZelTypeItem& item : kZelTypes)
        if (item.type == type) return item.text;
    return kZelTypes[0].text;
}

void MainWindowState::LoadSettings(ConfigFile& file) {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    SetWindowPosition(file.ReadInt(kWindowLeftKey, windowLeft_),
                      file.ReadInt(kWindowTopKey, windowTop_));
    // Read after the monitor's options, which decide the smallest size.
    ClientResized(file.ReadInt(kWindowWidthKey, ClientWidth()),
                  file.ReadInt(kWindowHeightKey, ClientHeight()));
    // Any other text leaves the type as it was.
    const std::string text = file.ReadText(kZelTypeKey, ZelTypeText(zelType_));
    for (const ZelTypeItem& item : kZelTypes)
        if (text == item.text) SelectZelType(item.type);
}

void MainWindowState::SaveSettings(ConfigFile& file) const {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    file.WriteInt(kWindowLeftKey, windowLeft_);
    file.WriteInt(kWindowTopKey, windowTop_);
    file.WriteInt(kWindowWidthKey, ClientWidth());
    file.WriteInt(kWindowHeightKey, ClientHeight());
    file.WriteText(kZelTypeKey, ZelTypeText(zelType_));
}

void MainWindowState::SelectZelType(ZelType type) {
    zelType_ = type;
    for (const ZelTypeItem& item : kZelTypes)
        controls_.SetChecked(item.menuItem, item.type == type);
    RefreshStatus();
}

MainLayout::Minimum MainWindowState::Minimum() const {
    const MonitorOptions& options = monitor_.Options();
    return MainLayout::MinimumClient(zelType_ == ZelType::Off, !options.hideMessageMonitor,
                                     MonitorLayout::PanelHeight(options.messageMonitorBig),
                                     MonitorLayout::ShortestPanel(), screenRoom_);
}

int MainWindowState::ClientWidth() const {
    return Minimum().width + extraWidth_;
}

int MainWindowState::ClientHeight() const {
    return Minimum().height + extraHeight_;
}

void MainWindowState::ClientResized(int width, int height) {
    const MainLayout::Minimum minimum = Minimum();
    extraWidth_ = std::max(0, width - minimum.width);
    extraHeight_ = std::max(0, height - minimum.height);
    ApplyLayout();
}

void MainWindowState::SetScreenRoom(int height) {
    if (height == screenRoom_) return;
    screenRoom_ = height;
    ApplyLayout();
}

void MainWindowState::SetWindowPosition(int left, int top) {
    windowLeft_ = left;
    windowTop_ = top;
    controls_.SetPos(mw::fZelSim, left, top);
}

void MainWindowState::RefreshStatus() {
    char group[80];
    if (buttons_.Group() == UserButtons::kHiddenGroup)
        std::snprintf(group, sizeof group, " - ");
    else
        std::snprintf(group, sizeof group, " - Button Group #%d - ", buttons_.Group());

    const SerialPort& port = connection_.Port();
    char caption[400];
    if (port.IsOpen())
        std::snprintf(caption, sizeof caption, "ZEL Sim v%s%s%s at %ld BAUD is connected",
                      versionText_.c_str(), group, port.DeviceName().c_str(),
                      static_cast<long>(port.Rate()));
    else
        std::snprintf(caption, sizeof caption, "ZEL Sim v%s%sCOM%d at %ld BAUD is not connected",
                      versionText_.c_str(), group, connection_.SelectedPort(),
                      static_cast<long>(connection_.SelectedBaud()));
    controls_.SetText(mw::fZelSim, caption);
    if (onRefreshed) onRefreshed(zelType_);
    ApplyLayout();
}

void MainWindowState::MonitorLayoutChanged() {
    ApplyLayout();
}

void MainWindowState::ApplyLayout() {
    const bool compact = zelType_ == ZelType::Off;
    if (compact != compactShown_) {
        compactShown_ = compact;
        Apply(controls_, compact ? MainLayout::Compact() : MainLayout::Design());
    }
    controls_.SetVisible(mw::bGraphicDisplay, !compact);
    const MainLayout::Minimum minimum = Minimum();
    controls_.SetMinimumSize(mw::fZelSim, minimum.width, minimum.height);
    controls_.SetSize(mw::fZelSim, minimum.width + extraWidth_, minimum.height + extraHeight_);
    monitor_.SetRoom({extraWidth_, extraHeight_ - minimum.monitorShortfall});
}

}  // namespace zelsim
