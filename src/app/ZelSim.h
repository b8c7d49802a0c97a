#pragma once
#include <functional>
#include <memory>

#include "app/AboutZelSim.h"
#include "app/KeyHook.h"
#include "app/MainCycle.h"
#include "app/MainWindowState.h"
#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/LocalTime.h"
#include "gnss/GnssDecoder.h"
#include "gps/CourseDisplay.h"
#include "gps/GpsWindows.h"
#include "graph/GraphicDisplay.h"
#include "graph/RecordSampler.h"
#include "monitor/LineCounts.h"
#include "monitor/MessageLog.h"
#include "monitor/MessageMonitor.h"
#include "panel/PanelKeys.h"
#include "panel/PanelScreen.h"
#include "panel/ReceiverAcquisition.h"
#include "protocol/QueryResponder.h"
#include "protocol/SendBox.h"
#include "scripts/FileSender.h"
#include "scripts/ScriptHost.h"
#include "scripts/ScriptInterpreter.h"
#include "scripts/UserButtons.h"
#include "serial/Connection.h"
#include "serial/RxTxIndicator.h"

namespace zelsim {

class PortMap;
class SerialDevice;
class TickClock;
class UserDialogs;

// Everything the main window does that is not a pixel: the parts of the
// main cycle, wired to each other, and the cycle that runs them. The
// window binds its controls to Controls() and forwards its events to the
// parts.
class ZelSim : private ScriptHost {
  public:
    static constexpr const char* kSettingsNotSaved = "Settings Not Saved";

    // `config` is the run's configuration file: read by LoadSettings, written
    // by Shutdown. `dialogs` tells the user what went wrong. Sequenced log
    // names and data files go to `startDirectory`.
    ZelSim(TickClock& clock, std::unique_ptr<SerialDevice> device, PortMap& portMap,
           ConfigFile& config, UserDialogs& dialogs, LocalTimeSource localTime = SystemLocalTime,
           std::string startDirectory = ".");

    // Start-up: every part's keys, then the window's state follows.
    void LoadSettings();
    // Once the window shows: what would go wrong later, said now.
    void SayStartProblems();
    // T10msTick
    void Tick() { mainCycle_.Tick(); }
    // Whether an arrow lit after `shown` goes out within `withinMs`: lit for
    // the last milliseconds of its period, it would never be seen unless
    // shown before.
    bool ArrowGoesOutUnseen(zelsim::RxTxIndicator::Arrows shown, uint32_t withinMs) const;
    // Something happened between two cycles that the cycle must follow: a
    // line went out, a key started a script. A window that lets the cycle
    // sleep while nothing is due wakes it here.
    std::function<void()> onWake;
    // bClickComOpenClose: acquisition stops; the port opens or closes; a
    // port just opened starts from a blank screen at the first contrast.
    void ComOpenClose();
    // The application key hook; true when the key was consumed.
    bool HandleKey(zelsim::KeyHook::Key key, bool down, bool autoRepeat);
    // Closing the window: the port closes, the configuration is written, and
    // a failed save is said on the error output and, when a user is there to
    // read it, in a message box.
    ConfigFile::SaveResult Shutdown(bool userPresent);

    // Each part by the name of what it is. The members below name their
    // types in full: inside the class the plain names are these accessors.
    zelsim::ControlTable& Controls() { return controls_; }
    zelsim::MainCycle& Cycle() { return mainCycle_; }
    zelsim::Connection& Connection() { return connection_; }
    zelsim::RxTxIndicator& RxTxIndicator() { return indicator_; }
    zelsim::MessageLog& MessageLog() { return log_; }
    zelsim::MessageMonitor& MessageMonitor() { return monitor_; }
    zelsim::LineCounts& LineCounts() { return lineCounts_; }
    zelsim::SendBox& SendBox() { return sendBox_; }
    zelsim::UserButtons& UserButtons() { return buttons_; }
    zelsim::ScriptInterpreter& ScriptInterpreter() { return interpreter_; }
    zelsim::FileSender& FileSender() { return fileSender_; }
    zelsim::QueryResponder& QueryResponder() { return responder_; }
    zelsim::RecordSampler& RecordSampler() { return recordSampler_; }
    zelsim::GraphicDisplay& GraphicDisplay() { return graphicDisplay_; }
    zelsim::CourseDisplay& CourseDisplay() { return courseDisplay_; }
    zelsim::GnssDecoder& GnssDecoder() { return gnssDecoder_; }
    zelsim::GpsWindows& GpsWindows() { return gpsWindows_; }
    zelsim::PanelScreen& PanelScreen() { return screen_; }
    zelsim::PanelKeys& PanelKeys() { return keypad_; }
    zelsim::ReceiverAcquisition& ReceiverAcquisition() { return acquisition_; }
    zelsim::MainWindowState& MainWindowState() { return windowState_; }
    zelsim::KeyHook& KeyHook() { return keyHook_; }
    zelsim::AboutZelSim& About() { return about_; }

  private:
    // What a running script reaches of the line and the responder.
    bool SendLine(std::string_view text) override;
    void SelectBaud(uint32_t rate) override;
    void SetRts(bool raised) override;
    void ArmBootloaderCapture() override;
    void DisarmBootloaderCapture() override;
    bool BootloaderIs13() const override;

    TickClock& clock_;
    ConfigFile& config_;
    UserDialogs& dialogs_;
    zelsim::ControlTable controls_;
    zelsim::Connection connection_;
    zelsim::RxTxIndicator indicator_;
    zelsim::MessageLog log_;
    zelsim::MessageMonitor monitor_;
    zelsim::LineCounts lineCounts_;
    zelsim::SendBox sendBox_;
    zelsim::UserButtons buttons_;
    zelsim::FileSender fileSender_;
    zelsim::ScriptInterpreter interpreter_;
    zelsim::RecordSampler recordSampler_;
    zelsim::CourseDisplay courseDisplay_;
    zelsim::GraphicDisplay graphicDisplay_;
    zelsim::GnssDecoder gnssDecoder_;
    zelsim::GpsWindows gpsWindows_;
    zelsim::PanelScreen screen_;
    zelsim::QueryResponder responder_;
    zelsim::PanelKeys keypad_;
    zelsim::ReceiverAcquisition acquisition_;
    zelsim::MainWindowState windowState_;
    zelsim::KeyHook keyHook_;
    zelsim::MainCycle mainCycle_;
    zelsim::AboutZelSim about_;
};

}  // namespace zelsim
