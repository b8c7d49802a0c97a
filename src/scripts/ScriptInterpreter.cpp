#include "scripts/ScriptInterpreter.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/TickClock.h"
#include "base/UserDialogs.h"
#include "scripts/FileSender.h"
#include "scripts/ScriptHost.h"
#include "scripts/ScriptLine.h"
#include "scripts/UserButtons.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
namespace mw = main_window;

std::string DelayText(int32_t length) {
    char text[24];
    std::snprintf(text, sizeof text, "%4dms", static_cast<int>(length));
    return text;
}

uint32_t Period(int32_t ms) {
    // A negative period has passed at once, as the signed comparison says.
    return static_cast<uint32_t>(ms);
}
}  // namespace

ScriptInterpreter::ScriptInterpreter(ControlTable& controls, UserDialogs& dialogs,
                                     UserButtons& buttons, FileSender& sender,
                                     const TickClock& clock, ScriptHost& host,
                                     std::string startDirectory)
    : controls_(controls),
      dialogs_(dialogs),
      buttons_(buttons),
      sender_(sender),
      clock_(clock),
      host_(host),
      startDirectory_(std::move(startDirectory)) {}

bool ScriptInterpreter::PressButton(int position) {
    if (sender_.Sending() || running_) return false;
    const int index = buttons_.IndexAt(position);
    if (index < 0) return false;
    Start(buttons_.Table().At(index).script, position);
    controls_.SetColour(mw::kUserButtonTags[position], UserButtons::kTagRunning);
    controls_.SetEnabled(mw::bSendFile, false);
    buttons_.EnterBusy(UserButtons::kScriptRunning);
    return true;
}

void ScriptInterpreter::Start(std::vector<std::string> lines, int position) {
    script_ = std::move(lines);
    running_ = true;
    HideDelay();
    cancelRequest_ = false;
    lineIndex_ = 0;
    position_ = std::clamp(position, 0, static_cast<int>(std::size(mw::kUserButtonTags)) - 1);
    lastLineTime_ = clock_.TickNow();
    fileStarted_ = false;
    notSent_.clear();
    // A wait on the last line of the script before ended that script at
    // once; left standing it would hold this one up.
    ClearWait();
}

void ScriptInterpreter::CancelButtonScript() {
    if (running_) cancelRequest_ = true;
    if (sender_.Sending()) sender_.Cancel();
}

bool ScriptInterpreter::AskToStop() {
    if (running_) cancelRequest_ = true;
    return running_;
}

void ScriptInterpreter::StopScript() {
    if (!running_) return;
    if (sender_.Sending()) sender_.Cancel();
    fileStarted_ = false;
    cancelRequest_ = false;
    HideDelay();
    ClearWait();
    lineIndex_ = LineCount();
    End();
}

void ScriptInterpreter::CheckTimeOut(uint32_t now) {
    if (timed_ && !timedOut_ && TickClock::Elapsed(now, timeOutStart_, Period(timeOutLength_)))
        timedOut_ = true;
}

void ScriptInterpreter::LineReceived(std::string_view line) {
    if (waiting_ && !matched_ && !timedOut_ && line.ends_with(waitText_)) matched_ = true;
}

void ScriptInterpreter::Step(uint32_t now) {
    // Cancel during a wait ends the wait as if the text had come.
    if (waiting_ && cancelRequest_) {
        cancelRequest_ = false;
        matched_ = true;
    }
    if (waiting_ || timed_) {
        if (matched_ && waiting_) {
            // A timed wait that was answered skips the line after it.
            if (timed_) ++lineIndex_;
            ClearWait();
        } else if (timed_ && timedOut_) {
            ClearWait();
        }
    }
    // The script resumes after its file.
    if (sender_.Sending()) return;
    if (fileStarted_) {
        fileStarted_ = false;
        // A file that could not be read to its end, or that the device
        // stopped taking, was not sent: the script ends as when the file
        // would not open, before it acts on a device that holds half a file.
        const FileSender::Outcome outcome = sender_.LastOutcome();
        if (running_ && (outcome == FileSender::Outcome::kReadFailed ||
                         outcome == FileSender::Outcome::kStalled))
            lineIndex_ = LineCount();
    }
    if (waiting_ && !matched_) return;
    if (!running_) return;

    if (cancelRequest_) {
        cancelRequest_ = false;
        HideDelay();
        ClearWait();
        lineIndex_ = LineCount();
    } else if (delayActive_) {
        StepDelay(now);
        return;
    }

    if (lineIndex_ < LineCount() && TickClock::Elapsed(now, lastLineTime_, kLineSpacingMs)) {
        lastLineTime_ = now;
        ClearWait();
        lineBuffer_ = script_[static_cast<size_t>(lineIndex_)].substr(0, kLineLimit);
        if (buttons_.ShowScriptDetails()) controls_.SetText(mw::lScriptLineReport, lineBuffer_);
        if (!Execute(ScriptLine::Parse(lineBuffer_), now)) ++lineIndex_;
    }
    if (lineIndex_ >= LineCount()) End();
}

bool ScriptInterpreter::Execute(const ScriptLine& line, uint32_t now) {
    using K = ScriptLine::Kind;
    switch (line.kind) {
        case K::kSend:
            Send(line.text);
            return false;
        case K::kDelay:
            if (line.number != 0) StartDelay(line.number, now);
            return false;
        case K::kWaitForTime:
            timeOutLength_ = line.number;
            waitText_ = line.text;
            timeOutStart_ = now;
            waiting_ = true;
            timed_ = true;
            matched_ = false;
            timedOut_ = false;
            return false;
        case K::kWaitFor:
            waitText_ = line.text;
            waiting_ = true;
            timed_ = false;
            matched_ = false;
            return false;
        case K::kGetDmBlVer:
            host_.ArmBootloaderCapture();
            Send(kBootloaderQuery);
            return false;
        case K::kSetDmBlBaud:
            host_.DisarmBootloaderCapture();
            SelectBaud(host_.BootloaderIs13() ? kBootloader13Rate : kBootloaderRate);
            return false;
        case K::kSendHexFile: {
            UserDialogs::FileRequest request;
            request.caption = "Select Hex File";
            request.folder = startDirectory_;
            request.filters = {"Binary Files (*.a90 *.hex)"};
            const std::optional<std::string> chosen = dialogs_.AskFileToOpen(request);
            if (!chosen || chosen->empty() || SendFile(*chosen)) return false;
            lineIndex_ = LineCount();
            return true;
        }
        case K::kMessageLabel:
            controls_.SetText(mw::lScriptMessageReport, line.text);
            return false;
        case K::kNewLine:
            Send("");
            return false;
        case K::kBaud:
            SelectBaud(static_cast<uint32_t>(line.number));
            return false;
        case K::kSendFile:
            if (SendFile(line.text)) return false;
            lineIndex_ = LineCount();
            return true;
        case K::kTestFile:
            return TestFile(line.text);
        case K::kJump: {
            const int lines = line.number == 0 ? 1 : line.number;
            lineIndex_ = std::clamp(lineIndex_ + lines, 0, LineCount());
            return true;
        }
        case K::kMessage:
            return Message(line.text);
        case K::kEnd:
            lineIndex_ = LineCount();
            return true;
        case K::kRtsOn:
            host_.SetRts(true);
            return false;
        case K::kRtsOff:
            host_.SetRts(false);
            return false;
        case K::kComment:
        case K::kIgnored:
            return false;
    }
    return false;
}

std::string ScriptInterpreter::ResolveFileName(std::string_view name) const {
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    // A relative name, with or without folders, is taken from where the
    // program started: the scripts of a rig's settings file name its files
    // from there. A drive name from an older file means nothing here and is
    // left for the open to refuse.
    if (path.empty() || path.front() == '/' || path.find(':') != std::string::npos ||
        startDirectory_.empty())
        return path;
    if (startDirectory_.back() == '/') return startDirectory_ + path;
    return startDirectory_ + "/" + path;
}

bool ScriptInterpreter::SendFile(std::string_view name) {
    const std::string path = ResolveFileName(name);
    sender_.SetCurrentPath(path);
    std::string why;
    std::unique_ptr<FileSource> file = sender_.Open(path, why);
    if (!file) {
        dialogs_.Warn(kOpenErrorCaption, FileSender::UnableToOpen(sender_.CurrentPath(), why));
        return false;
    }
    sender_.Start(std::move(file));
    fileStarted_ = true;
    return true;
}

bool ScriptInterpreter::TestFile(std::string_view name) {
    const std::string path = ResolveFileName(name);
    sender_.SetCurrentPath(path);
    std::string why;
    if (sender_.Open(path, why)) {
        lineIndex_ += 2;
        return true;
    }
    dialogs_.Warn(kOpenErrorCaption,
                  "Invalid Filename - " + sender_.CurrentPath() + (why.empty() ? "" : ": " + why));
    return false;
}

void ScriptInterpreter::Send(std::string_view text) {
    if (host_.SendLine(text)) return;
    // Said where the script's messages go, and kept there after the script
    // ends: a line that vanished without a word left the user guessing why
    // the device did nothing.
    notSent_ = std::string(kNotSentPrefix) + std::string(text);
    controls_.SetText(mw::lScriptMessageReport, notSent_);
}

bool ScriptInterpreter::Message(std::string_view text) {
    const size_t percent = text.find('%');
    if (percent == std::string_view::npos || percent + 1 >= text.size() ||
        text[percent + 1] != 'f') {
        dialogs_.Warn(kApplicationTitle, text);
        return false;
    }
    const std::string shown = std::string(text.substr(0, percent)) + sender_.CurrentPath() +
                              std::string(text.substr(percent + 2));
    if (dialogs_.Confirm(kApplicationTitle, shown)) return false;
    lineIndex_ = LineCount();
    return true;
}

void ScriptInterpreter::SelectBaud(uint32_t rate) {
    if (SerialPort::IndexOfRate(rate) < 0) return;
    host_.SelectBaud(rate);
}

void ScriptInterpreter::StartDelay(int32_t length, uint32_t now) {
    delayActive_ = true;
    delayStart_ = now;
    delayLength_ = length;
    if (!buttons_.ShowScriptDetails()) return;
    lastDetailsRefresh_ = now;
    controls_.SetText(mw::lScriptDelayReport, DelayText(length));
    controls_.SetBar(mw::pbScriptDelayReport, 0, length);
    controls_.SetVisible(mw::pbScriptDelayReport, true);
}

void ScriptInterpreter::StepDelay(uint32_t now) {
    if (TickClock::Elapsed(now, delayStart_, Period(delayLength_))) {
        HideDelay();
        return;
    }
    if (!buttons_.ShowScriptDetails() ||
        !TickClock::Elapsed(now, lastDetailsRefresh_, kDetailsRefreshMs))
        return;
    lastDetailsRefresh_ = now;
    controls_.SetText(mw::lScriptDelayReport, DelayText(delayLength_));
    controls_.SetBar(mw::pbScriptDelayReport, static_cast<int>(now - delayStart_), delayLength_);
}

void ScriptInterpreter::HideDelay() {
    delayActive_ = false;
    controls_.SetText(mw::lScriptDelayReport, "");
    controls_.SetVisible(mw::pbScriptDelayReport, false);
}

void ScriptInterpreter::ClearWait() {
    waiting_ = false;
    matched_ = false;
    timed_ = false;
    timedOut_ = false;
}

void ScriptInterpreter::End() {
    controls_.SetColour(mw::kUserButtonTags[position_], UserButtons::kTagIdle);
    running_ = false;
    controls_.SetEnabled(mw::bSendFile, true);
    buttons_.LeaveBusy(UserButtons::kScriptRunning);
    if (!notSent_.empty()) controls_.SetText(mw::lScriptMessageReport, notSent_);
}

}  // namespace zelsim
