#include "app/ZelSim.h"

#include <cstdio>

#include "base/TickClock.h"
#include "base/UserDialogs.h"
#include "scripts/DiskFileSource.h"

namespace zelsim {

ZelSim::ZelSim(TickClock& clock, std::unique_ptr<SerialDevice> device, PortMap& portMap,
               ConfigFile& config, UserDialogs& dialogs, LocalTimeSource localTime,
               std::string startDirectory)
    : clock_(clock),
      config_(config),
      dialogs_(dialogs),
      connection_(controls_, clock, std::move(device), portMap),
      indicator_(controls_, connection_.Port(), clock.TickNow()),
      log_(controls_, dialogs, config, connection_.Port(), startDirectory, localTime),
      monitor_(controls_, dialogs, localTime),
      lineCounts_(controls_),
      sendBox_(controls_, [this](const std::string& text) { mainCycle_.SendSentence(text); }),
      buttons_(controls_),
      fileSender_(controls_, dialogs, buttons_, config, clock, connection_.Port(),
                  DiskFileSource::Open,
                  [this](std::string_view line) { mainCycle_.ShowNote(line); }),
      interpreter_(controls_, dialogs, buttons_, fileSender_, clock, *this, startDirectory),
      recordSampler_(std::move(localTime)),
      graphicDisplay_(controls_, recordSampler_, courseDisplay_, connection_.Port(), dialogs,
                      std::move(startDirectory), ZELSIM_VERSION_TEXT),
      gpsWindows_(controls_, gnssDecoder_),
      screen_(controls_),
      // While a script or a file has the line, the settings queries keep off.
      responder_(
          recordSampler_, screen_, [this](std::string_view text) { mainCycle_.SendSentence(text); },
          [this](std::string_view line) { mainCycle_.ShowNote(line); },
          [this] { return interpreter_.Running() || fileSender_.Sending(); }, ZELSIM_VERSION_TEXT,
          clock.TickNow()),
      keypad_(
          controls_, [this](std::string_view text) { mainCycle_.SendSentence(text); },
          [this] { return connection_.Port().IsOpen(); }),
      // The machine steps the port's rate itself: the menu keeps the user's
      // choice, and a refresh in mid-sequence would hide Cancel.
      acquisition_(
          controls_, clock, responder_.ReceiverReply(),
          [this](std::string_view text) { mainCycle_.SendSentence(text); },
          [this](uint32_t rate) { connection_.Port().SetRate(rate); },
          [this] { return buttons_.Busy(); }, [this] { screen_.Clear(); }),
      windowState_(controls_, connection_, buttons_, monitor_),
      // The cycle's order: the arrows' checks and the settings query before
      // the read; the line's loss after it; each line logged, then shown,
      // then answered; after the read, acquisition (which sees a reply of
      // this cycle), the scripts, the discovery step, and last the graph's
      // sample of everything that changed the record, its redraw, and the
      // graph window's settings once it has closed; the receiver's own
      // sentences are read beside the responder and shown in the GPS
      // windows once per receiver cycle.
      mainCycle_(clock, connection_.Port(),
                 {&indicator_, &connection_, &log_, &monitor_, &lineCounts_, &sendBox_,
                  &acquisition_, &buttons_, &interpreter_, &fileSender_, &responder_, &gnssDecoder_,
                  &recordSampler_, &graphicDisplay_, &gpsWindows_, &windowState_}),
      about_(config, log_) {
    mainCycle_.onActivity = [this] {
        if (onWake) onWake();
    };
    sendBox_.onEscapeToScript = [this] { return interpreter_.AskToStop(); };
    windowState_.onRefreshed = [this](ZelType type) {
        const SerialPort& port = connection_.Port();
        screen_.ShowForZelType(type);
        screen_.SetLineOpen(port.IsOpen());
        keypad_.ApplyZelType(type);
        acquisition_.RefreshVisibility(port.IsOpen(), port.Rate(), type);
        log_.RefreshLogControls();
    };
    connection_.onStatusChanged = [this] { windowState_.RefreshStatus(); };
    // An unattended capture outlives a glitch of the adapter.
    connection_.onDeviceLost = [this](const std::string& device, bool reconnecting, uint32_t now) {
        log_.LineLost(device, reconnecting, now);
    };
    connection_.onReconnected = [this](const std::string& device, uint32_t now) {
        log_.LineBack(device, now);
    };
    monitor_.onLayoutChanged = [this] { windowState_.MonitorLayoutChanged(); };
    // The caption names the group, and the layout follows the buttons.
    buttons_.onGroupChanged = [this] { windowState_.RefreshStatus(); };
    sendBox_.onSendPressed = [this] { monitor_.Resume(); };
    // While the send box has the focus the arrow keys edit its text.
    sendBox_.onKeyboardToPanel = [this](bool toPanel) { keyHook_.SetSendBoxFocused(!toPanel); };
    sendBox_.onContextMenu = [this] { indicator_.Reset(); };
}

namespace {
std::string PlaceAdvice(const std::string& problem) {
    return "Settings will not be saved: " + problem +
           ". Start ZelSim with --config naming a file in a folder that exists.";
}
}  // namespace

void ZelSim::LoadSettings() {
    mainCycle_.LoadSettings(config_);
    windowState_.RefreshStatus();
}

void ZelSim::SayStartProblems() {
    // Said at once: the whole session's settings would be lost at the end.
    const std::string problem = config_.PlaceProblem();
    if (!problem.empty()) dialogs_.Warn(kSettingsNotSaved, PlaceAdvice(problem));
}

bool ZelSim::ArrowGoesOutUnseen(zelsim::RxTxIndicator::Arrows shown, uint32_t withinMs) const {
    return zelsim::RxTxIndicator::LightsMore(indicator_.State(), shown) &&
           indicator_.NextStepIn(clock_.TickNow()) <= withinMs;
}

void ZelSim::ComOpenClose() {
    acquisition_.Reset();
    log_.ForgetResume();
    connection_.ComOpenClose();
    if (connection_.Port().IsOpen()) screen_.ConnectReset();
}

bool ZelSim::HandleKey(zelsim::KeyHook::Key key, bool down, bool autoRepeat) {
    const zelsim::KeyHook::Action action =
        keyHook_.Decide(key, down, autoRepeat, windowState_.SelectedZelType());
    switch (action.kind) {
        case zelsim::KeyHook::Action::Kind::PanelPress:
            keypad_.PressKeys(action.value, true);
            break;
        case zelsim::KeyHook::Action::Kind::PanelRelease:
            keypad_.PressKeys(action.value, false);
            break;
        case zelsim::KeyHook::Action::Kind::UserButton:
            interpreter_.PressButton(action.value - 1);
            break;
        default:
            break;
    }
    if (action.Consumed() && onWake) onWake();
    return action.Consumed();
}

ConfigFile::SaveResult ZelSim::Shutdown(bool userPresent) {
    connection_.Shutdown();
    mainCycle_.SaveSettings(config_);
    const ConfigFile::SaveResult saved = config_.Save();
    if (saved.Saved() || saved.message.empty()) return saved;
    const std::string problem = config_.PlaceProblem();
    const std::string message = problem.empty() ? saved.message : PlaceAdvice(problem);
    std::fprintf(stderr, "zelsim: %s\n", message.c_str());
    // A read-only or unreadable file is left alone on purpose; a failed
    // write, or a place no file can be, loses the session's settings and
    // must be seen.
    if (userPresent && (saved.status == ConfigFile::SaveResult::Status::Failed || !problem.empty()))
        dialogs_.Warn(kSettingsNotSaved, message);
    return saved;
}

// A line dropped for a far end that does not read is said by the
// connection; the script says one that met a closed port.
bool ZelSim::SendLine(std::string_view text) {
    return mainCycle_.SendLine(text) || connection_.Port().IsOpen();
}

void ZelSim::SelectBaud(uint32_t rate) {
    connection_.SelectBaud(rate);
}

void ZelSim::SetRts(bool raised) {
    if (raised)
        connection_.Port().SetRts();
    else
        connection_.Port().ClearRts();
}

void ZelSim::ArmBootloaderCapture() {
    responder_.ArmBootloaderCapture();
}

void ZelSim::DisarmBootloaderCapture() {
    responder_.DisarmBootloaderCapture();
}

bool ZelSim::BootloaderIs13() const {
    return responder_.BootloaderIs13();
}

}  // namespace zelsim
