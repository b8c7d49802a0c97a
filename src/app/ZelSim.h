#pragma once
#include <memory>

#include "app/KeyHook.h"
#include "app/MainFrame.h"
#include "app/Station.h"
#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/LocalTime.h"
#include "graph/DiagnosticGraph.h"
#include "monitor/MessageLog.h"
#include "monitor/MessageMonitor.h"
#include "panel/PanelKeys.h"
#include "panel/PanelScreen.h"
#include "panel/ReceiverAcquisition.h"
#include "protocol/QueryResponder.h"
#include "protocol/SendBox.h"
#include "scripts/FileSender.h"
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
// main cycle, wired to each other, and the station that runs them. The
// window binds its controls to Controls() and forwards its events to the
// parts.
class ZelSim {
  public:
    static constexpr const char* kSettingsNotSaved = "Settings Not Saved";

    // `config` is the run's configuration file: read by LoadSettings, written
    // by Shutdown. `dialogs` tells the user what went wrong. Sequenced log
    // names go to `startDirectory`.
    ZelSim(TickClock& clock, std::unique_ptr<SerialDevice> device, PortMap& portMap,
           ConfigFile& config, UserDialogs& dialogs, LocalTimeSource localTime = SystemLocalTime,
           std::string startDirectory = ".");

    // Start-up: every part's keys, then the window's state follows.
    void LoadSettings();
    // Once the window shows: what would go wrong later, said now.
    void SayStartProblems();
    // T10msTick
    void Tick() { station_.Tick(); }
    // bClickComOpenClose: acquisition stops; the port opens or closes; a
    // port just opened starts from a blank screen at the first contrast.
    void ComOpenClose();
    // The application key hook; true when the key was consumed.
    bool HandleKey(KeyHook::Key key, bool down, bool autoRepeat);
    // Closing the window: the port closes, the configuration is written, and
    // a failed save is said on the error output and, when a user is there to
    // read it, in a message box.
    ConfigFile::SaveResult Shutdown(bool userPresent);

    ControlTable& Controls() { return controls_; }
    Station& Cycle() { return station_; }
    Connection& Line() { return connection_; }
    RxTxIndicator& Indicator() { return indicator_; }
    MessageLog& Log() { return log_; }
    MessageMonitor& Monitor() { return monitor_; }
    SendBox& Sender() { return sendBox_; }
    UserButtons& Buttons() { return buttons_; }
    ScriptInterpreter& Interpreter() { return interpreter_; }
    FileSender& Files() { return fileSender_; }
    QueryResponder& Responder() { return responder_; }
    DiagnosticGraph& Graph() { return graph_; }
    PanelScreen& Screen() { return screen_; }
    PanelKeys& Keypad() { return keypad_; }
    ReceiverAcquisition& Acquisition() { return acquisition_; }
    MainFrame& Frame() { return frame_; }
    KeyHook& Keys() { return keyHook_; }

  private:
    ConfigFile& config_;
    UserDialogs& dialogs_;
    ControlTable controls_;
    Connection connection_;
    RxTxIndicator indicator_;
    MessageLog log_;
    MessageMonitor monitor_;
    SendBox sendBox_;
    UserButtons buttons_;
    FileSender fileSender_;
    ScriptInterpreter interpreter_;
    DiagnosticGraph graph_;
    QueryResponder responder_;
    PanelScreen screen_;
    PanelKeys keypad_;
    ReceiverAcquisition acquisition_;
    MainFrame frame_;
    KeyHook keyHook_;
    Station station_;
};

}  // namespace zelsim
