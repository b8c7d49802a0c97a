#pragma once
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "scripts/FileSender.h"
#include "scripts/MemoryFileSource.h"
#include "scripts/ScriptHost.h"
#include "scripts/ScriptInterpreter.h"
#include "scripts/UserButtons.h"
#include "serial/Connection.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/SentenceFramer.h"
#include "support/FakeTickClock.h"
#include "support/RecordingDialogs.h"
#include "support/TempDir.h"

namespace zelsim {

// The buttons, the interpreter and the file sender on an in-memory line,
// wired and called the way the main cycle calls its parts: each cycle is
// 10 ms later, runs the time-out check, takes the lines the peer sent (a
// valid sentence as a sentence, anything else as a raw line, which the
// file sender may keep off the monitor), then the script's step and the
// sender's. Files come from memory, under names in the start directory.
class ScriptStation : public ScriptHost {
  public:
    static constexpr uint32_t kCycleMs = 10;

    struct MemoryFile {
        std::string bytes;
        uint64_t failAfter = MemoryFileSource::kNeverFails;
    };

    ScriptStation()
        : config(dir.File("ZelSim.ini")),
          connection(controls, clock, MemorySerialDevice::Plug(line), portMap),
          buttons(controls),
          sender(
              controls, dialogs, buttons, config, clock, connection.Port(),
              [this](const std::string& path, std::string& why) { return OpenFile(path, why); },
              [this](std::string_view line) { reports.emplace_back(line); }),
          interpreter(controls, dialogs, buttons, sender, clock, *this, dir.Path()) {
        portMap.SetExplicit(1, "/dev/memory");
    }

    // What the program gives a running script: lines are kept in sentLines,
    // the capture is a pair of flags a test sets.
    ScriptHost& Host() { return *this; }
    bool SendLine(std::string_view text) override {
        if (!Port().IsOpen()) return false;
        sentLines.emplace_back(text);
        return true;
    }
    void SelectBaud(uint32_t rate) override { connection.SelectBaud(rate); }
    void SetRts(bool raised) override { raised ? Port().SetRts() : Port().ClearRts(); }
    void ArmBootloaderCapture() override {
        captureArmed = true;
        bootloaderIs13 = false;
    }
    void DisarmBootloaderCapture() override { captureArmed = false; }
    bool BootloaderIs13() const override { return bootloaderIs13; }

    SerialPort& Port() { return connection.Port(); }
    void Connect() {
        if (!Port().IsOpen()) connection.ComOpenClose();
    }
    void Disconnect() {
        if (Port().IsOpen()) connection.ComOpenClose();
    }

    // A file in the start directory, or at an absolute path.
    std::string AddFile(const std::string& name, std::string bytes,
                        uint64_t failAfter = MemoryFileSource::kNeverFails) {
        const std::string path = name.starts_with("/") ? name : dir.File(name);
        files_[path] = MemoryFile{std::move(bytes), failAfter};
        return path;
    }

    // Group `group` shown, as the configuration chooses it at start-up;
    // every definition is read again, so define scripts afterwards.
    void ShowGroup(int group) {
        ConfigFile file(dir.File("group.ini"));
        file.SetSection(ButtonTable::kSection);
        file.WriteInt("ButtonGroup", group);
        buttons.LoadSettings(file);
    }
    // The script of definition `index` (group 1 holds 0..7).
    void Define(int index, const std::vector<std::string>& lines) {
        buttons.Table().Define(index, "Button", lines);
    }
    // Group 1 shown, `lines` on its first button, pressed.
    bool Run(const std::vector<std::string>& lines) {
        ShowGroup(1);
        Define(0, lines);
        return interpreter.PressButton(0);
    }

    // One main cycle in which the peer's `received` lines arrive.
    void Cycle(const std::vector<std::string>& received = {}) {
        clock.Advance(kCycleMs);
        const uint32_t now = clock.TickNow();
        interpreter.BeforeRead(now);
        for (const std::string& text : received) Receive(text, now);
        interpreter.AfterRead(now);
        sender.AfterRead(now);
    }
    // Cycles until `done` holds or `limit` cycles passed; the count run.
    template <typename Done>
    int CycleUntil(Done&& done, int limit = 1000) {
        int cycles = 0;
        while (!done() && cycles < limit) {
            Cycle();
            ++cycles;
        }
        return cycles;
    }
    // Cycles until the script ends.
    void Finish(int limit = 1000) {
        CycleUntil([this] { return !interpreter.Running(); }, limit);
    }

    const ControlState& Control(std::string_view name) const { return controls.Get(name); }
    std::string Wire() { return line->TakeWritten(); }

    TempDir dir;
    FakeTickClock clock;
    ControlTable controls;
    RecordingDialogs dialogs;
    std::shared_ptr<MemorySerialDevice> line = std::make_shared<MemorySerialDevice>();
    ConfigFile config;
    PortMap portMap;
    Connection connection;
    UserButtons buttons;
    FileSender sender;
    ScriptInterpreter interpreter;

    std::vector<std::string> sentLines;  // the script's plain lines, as SendLine got them
    std::vector<std::string> shown;      // received lines the monitor shows
    std::vector<std::string> reports;    // the sender's lines on how a transfer ended
    std::vector<std::string> opened;     // every path a file was opened under
    bool captureArmed = false;
    bool bootloaderIs13 = false;

  private:
    void Receive(const std::string& text, uint32_t now) {
        const uint8_t state = framer_.ParseText(text);
        if (state == SentenceFramer::kSentenceReady) {
            shown.push_back(text);
            sender.SentenceFramed(framer_, now);
            return;
        }
        if (state != SentenceFramer::kLineReady) return;
        char buffer[SentenceFramer::kBufferSize + 1];
        size_t length = 0;
        framer_.CopyOut(buffer, length);
        const std::string_view raw(buffer, length);
        if (!sender.HidesReceivedLine(raw)) shown.emplace_back(raw);
        sender.RawLineFramed(raw, now);
        interpreter.RawLineFramed(raw, now);
    }

    std::unique_ptr<FileSource> OpenFile(const std::string& path, std::string& why) {
        const auto it = files_.find(path);
        if (it == files_.end()) {
            why = "No such file or directory";
            return nullptr;
        }
        opened.push_back(path);
        return std::make_unique<MemoryFileSource>(it->second.bytes, "Sat Mar  2 10:04:05 2024\n",
                                                  it->second.failAfter);
    }

    SentenceFramer framer_;
    std::map<std::string, MemoryFile> files_;
};

}  // namespace zelsim
