#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ProprietarySentences.h"
#include "serial/CyclePart.h"

namespace zelsim {

class ControlTable;
class FileSender;
class ScriptHost;
class TickClock;
class UserButtons;
class UserDialogs;
struct ScriptLine;

// Runs a user button's script, at most one line per cycle and never two
// lines within 20 ms: plain lines go out as typed, "~" lines pause, wait for
// a received text line, change the rate or RTS, send a file, show a message,
// jump or end. A script pauses while its file is sent. Waits see only
// received text lines (and sentences whose checksum failed): a valid
// sentence never satisfies one.
class ScriptInterpreter : public CyclePart {
  public:
    static constexpr uint32_t kLineSpacingMs = 20;
    static constexpr uint32_t kDetailsRefreshMs = 300;
    static constexpr size_t kLineLimit = 599;
    static constexpr const char* kApplicationTitle = "ZelSim";
    static constexpr const char* kOpenErrorCaption = "File Open Error";
    static constexpr std::string_view kNotSentPrefix = "Not sent, the port is closed: ";
    // Asked as a plain line: the bootloader takes no checksum.
    static constexpr std::string_view kBootloaderQuery = proprietary::kDeviceIdQuery;
    static constexpr uint32_t kBootloader13Rate = 115200;
    static constexpr uint32_t kBootloaderRate = 38400;

    // File names without a folder are taken from `startDirectory`, the
    // folder the program started in (empty when it could not be read); the
    // script's lines, rates and the bootloader's version go through `host`.
    ScriptInterpreter(ControlTable& controls, UserDialogs& dialogs, UserButtons& buttons,
                      FileSender& sender, const TickClock& clock, ScriptHost& host,
                      std::string startDirectory);

    // bClickButton1..8 and F1..F8: position 0..7 of the group shown. Refused
    // (false) while a script runs or a file is sent, and with the buttons
    // hidden.
    bool PressButton(int position);
    // Runs `lines` from the first; `position` is the button whose tag shows
    // the run.
    void Start(std::vector<std::string> lines, int position);
    // bClickCancelButtonScript: a wait ends as if its text had come and the
    // script goes on; anything else ends the script. A file being sent is
    // cancelled at once.
    void CancelButtonScript();
    // Esc in the main window: asks a running script to stop, as the Cancel
    // Button does; false when none runs.
    bool AskToStop();
    // "Stop Script" (the Cancel Button's menu, Shift+Esc): ends the script
    // at once, wherever it is, its file with it. Cancel only ends a wait,
    // and a script that jumps back into its wait would never end.
    void StopScript();

    void BeforeRead(uint32_t now) override { CheckTimeOut(now); }
    // Every received line the framer took for no sentence, shown or withheld.
    void RawLineFramed(std::string_view line, uint32_t /*now*/) override { LineReceived(line); }
    void AfterRead(uint32_t now) override { Step(now); }
    // Every cycle while a script runs.
    uint32_t NextStepIn(uint32_t /*now*/) const override { return running_ ? 0 : kNoStep; }

    // A timed wait whose time is up ends at the next step.
    void CheckTimeOut(uint32_t now);
    // The received line check: a line that ends with the awaited text.
    void LineReceived(std::string_view line);
    void Step(uint32_t now);

    // A name without a folder lies in the start directory; "\" separates
    // folders as "/" does, for scripts written on other systems.
    std::string ResolveFileName(std::string_view name) const;

    bool Running() const { return running_; }
    int LineIndex() const { return lineIndex_; }
    bool Waiting() const { return waiting_; }
    bool Timed() const { return timed_; }
    bool DelayActive() const { return delayActive_; }
    const std::string& WaitText() const { return waitText_; }

  private:
    int LineCount() const { return static_cast<int>(script_.size()); }
    // True when the line set the line index itself.
    bool Execute(const ScriptLine& line, uint32_t now);
    bool SendFile(std::string_view name);
    bool TestFile(std::string_view name);
    bool Message(std::string_view text);
    // A line for the line: said in the script's report when it did not go out.
    void Send(std::string_view text);
    void SelectBaud(uint32_t rate);
    void StartDelay(int32_t length, uint32_t now);
    void StepDelay(uint32_t now);
    void HideDelay();
    void ClearWait();
    void End();

    ControlTable& controls_;
    UserDialogs& dialogs_;
    UserButtons& buttons_;
    FileSender& sender_;
    const TickClock& clock_;
    ScriptHost& host_;
    const std::string startDirectory_;

    bool running_ = false;
    std::vector<std::string> script_;
    int lineIndex_ = 0;
    int position_ = 0;
    uint32_t lastLineTime_ = 0;
    bool cancelRequest_ = false;
    // The file this script handed to the sender, until its end is seen.
    bool fileStarted_ = false;

    bool delayActive_ = false;
    uint32_t delayStart_ = 0;
    int32_t delayLength_ = 0;
    uint32_t lastDetailsRefresh_ = 0;

    bool waiting_ = false;
    bool matched_ = false;
    bool timed_ = false;
    bool timedOut_ = false;
    std::string waitText_;
    uint32_t timeOutStart_ = 0;
    int32_t timeOutLength_ = 0;

    std::string lineBuffer_;
    std::string notSent_;  // the last line of this run that met a closed port
};

}  // namespace zelsim
