// Any button script run against a device that answers any text. The script
// is the input's lines up to a line "==", the device's lines follow; the
// device sends one of them each cycle and answers every file line with
// "[Ok]". The first byte chooses the options (details shown, port open, a
// line delay, the answers to the boxes, the bootloader's version). Files are
// taken from a scratch directory of the target's own, never from elsewhere.
// The run is bounded: the Cancel Button is pressed every 150 cycles,
// so a wait without a time-out ends too. Nothing may crash, and after every
// cycle the busy state must agree with what runs, the indexes and texts stay
// in range, and the rates asked for are the port's.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "ScratchDirectory.h"
#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/TickClock.h"
#include "base/UserDialogs.h"
#include "scripts/DiskFileSource.h"
#include "scripts/FileSender.h"
#include "scripts/ScriptHost.h"
#include "scripts/ScriptInterpreter.h"
#include "scripts/ScriptLine.h"
#include "scripts/UserButtons.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/SentenceFramer.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {

namespace mw = main_window;

constexpr uint32_t kStartTick = 0xFFFFF000u;  // the tick wraps during the run
constexpr int kCycles = 1500;
constexpr int kCancelEvery = 150;
constexpr int kRuns = 2;
constexpr size_t kScriptLines = 200;
constexpr std::string_view kSeparator = "==";

class FuzzClock final : public TickClock {
  public:
    uint32_t TickNow() const override { return now; }
    void TickDelay(uint16_t period) override { now += period + 1u; }
    uint32_t now = kStartTick;
};

class ScriptedDialogs final : public UserDialogs {
  public:
    void Warn(std::string_view, std::string_view) override {}
    bool Ask(std::string_view, std::string_view) override { return answer; }
    std::optional<std::string> AskFileToWrite(FileRequest&) override { return std::nullopt; }
    std::optional<std::string> AskFileToOpen(FileRequest&) override { return choice; }
    bool Confirm(std::string_view, std::string_view) override { return answer; }
    bool OpenInViewer(const std::string&) override { return false; }

    bool answer = true;
    std::optional<std::string> choice;
};

void WriteFiles(const ScratchDirectory& scratch) {
    std::ofstream(scratch.File("fw.hex"), std::ios::binary)
        << ":10010000214601360121470136007EFE09D2190140\n:00000001FF\n";
    std::ofstream(scratch.File("empty.txt"), std::ios::binary);
    std::string big;
    for (int i = 0; i < 300; ++i) big += "$PKVTQ,DID line " + std::to_string(i) + "\r\n";
    std::ofstream(scratch.File("big.txt"), std::ios::binary) << big;
}

const ScratchDirectory& Scratch() {
    static const ScratchDirectory scratch;
    static const bool written = (WriteFiles(scratch), true);
    (void)written;
    return scratch;
}

// Only the scratch directory's own files: a script may name any path.
std::unique_ptr<FileSource> OpenScratchFile(const std::string& path, std::string& why) {
    const std::string folder = Scratch().File("");
    if (path.rfind(folder, 0) != 0 || path.find("..") != std::string::npos) {
        why = "outside the scratch directory";
        return nullptr;
    }
    return DiskFileSource::Open(path, why);
}

// The line and the responder as a script sees them. A change of rate the
// device does not follow, when chosen, drops the line.
class FuzzHost final : public ScriptHost {
  public:
    FuzzHost(SerialPort& port, bool rateChangeDrops, bool is13)
        : port_(port), rateChangeDrops_(rateChangeDrops), is13_(is13) {}
    bool SendLine(std::string_view text) override {
        Require(text.size() <= ScriptInterpreter::kLineLimit, "a line longer than 599 was sent");
        return port_.IsOpen();
    }
    void SelectBaud(uint32_t rate) override {
        Require(SerialPort::IndexOfRate(rate) >= 0, "a rate the port does not have was chosen");
        if (rateChangeDrops_) port_.Close();
    }
    void SetRts(bool) override {}
    void ArmBootloaderCapture() override {}
    void DisarmBootloaderCapture() override {}
    bool BootloaderIs13() const override { return is13_; }

  private:
    SerialPort& port_;
    const bool rateChangeDrops_;
    const bool is13_;
};

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zelsim;
    if (size == 0) return 0;
    const uint8_t mode = data[0];
    const std::vector<std::string> lines =
        SplitLines({reinterpret_cast<const char*>(data) + 1, size - 1});
    std::vector<std::string> script;
    std::vector<std::string> peer;
    bool inScript = true;
    for (const std::string& line : lines) {
        if (inScript && line == kSeparator)
            inScript = false;
        else if (inScript && script.size() < kScriptLines)
            script.push_back(line);
        else if (!inScript)
            peer.push_back(line);
    }

    FuzzClock clock;
    ControlTable controls;
    ScriptedDialogs dialogs;
    dialogs.answer = (mode & 0x08) != 0;
    if (mode & 0x20) dialogs.choice = Scratch().File("fw.hex");
    ConfigFile config(Scratch().File("ZelSim.ini"));
    UserButtons buttons(controls);
    auto line = std::make_shared<MemorySerialDevice>();
    PortMap ports;
    ports.SetExplicit(1, "/dev/fuzz");
    SerialPort port(MemorySerialDevice::Plug(line), ports);
    if (mode & 0x02) port.Open(1, 38400);
    // A far end that reads slowly: the port's queue fills and takes part.
    if (mode & 0x80) line->LimitUnread(FileSender::kChunkSize / 2);
    FileSender sender(controls, dialogs, buttons, config, clock, port, OpenScratchFile,
                      [](std::string_view) {});
    FuzzHost host(port, (mode & 0x40) != 0, (mode & 0x10) != 0);
    ScriptInterpreter interpreter(controls, dialogs, buttons, sender, clock, host,
                                  Scratch().File(""));
    if (mode & 0x04) sender.SetLineDelay(50);
    buttons.SetShowScriptDetails((mode & 0x01) != 0);

    ConfigFile group(Scratch().File("group.ini"));
    group.SetSection(ButtonTable::kSection);
    group.WriteInt("ButtonGroup", 1);
    buttons.LoadSettings(group);
    buttons.Table().Define(0, "Fuzz", script);
    const size_t count = buttons.Table().At(0).script.size();

    SentenceFramer framer;
    char raw[SentenceFramer::kBufferSize + 1];
    size_t nextPeer = 0;
    int runs = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        if (!interpreter.Running() && !sender.Sending()) {
            if (runs == kRuns) break;
            Require(interpreter.PressButton(0), "an idle button was refused");
            ++runs;
        }
        if (cycle % kCancelEvery == kCancelEvery - 1) {
            interpreter.CancelButtonScript();
            Require(!sender.Sending(), "Cancel left the file being sent");
        }
        clock.now += 10;
        const uint32_t now = clock.now;
        interpreter.BeforeRead(now);

        port.Drain();
        std::vector<std::string> received;
        for (char c : line->TakeWritten())
            if (c == '\n') received.emplace_back("[Ok]");
        if (!peer.empty()) received.push_back(peer[nextPeer++ % peer.size()]);
        for (const std::string& text : received) {
            const uint8_t state = framer.ParseText(text);
            if (state == SentenceFramer::kSentenceReady) {
                sender.SentenceFramed(framer, now);
            } else if (state == SentenceFramer::kLineReady) {
                size_t length = 0;
                framer.CopyOut(raw, length);
                const std::string_view line(raw, length);
                sender.HidesReceivedLine(line);
                sender.RawLineFramed(line, now);
                interpreter.RawLineFramed(line, now);
            }
        }
        interpreter.AfterRead(now);
        sender.AfterRead(now);

        Require(buttons.Busy() == (interpreter.Running() || sender.Sending()),
                "the busy state disagrees with what runs");
        Require(controls.Get(mw::bCancelButtonScript).visible == buttons.Busy(),
                "the Cancel Button disagrees with the busy state");
        Require(controls.Get(mw::pFileSendPanel).visible == sender.Sending(),
                "the file panel disagrees with the transfer");
        Require(!interpreter.Running() || (interpreter.LineIndex() >= 0 &&
                                           static_cast<size_t>(interpreter.LineIndex()) < count),
                "a running script points past its lines");
        Require(interpreter.WaitText().size() <= ScriptLine::kWaitTextLimit,
                "a wait text longer than 49");
        Require(sender.Awaiting() >= 0 && sender.Awaiting() <= FileSender::kMaxAwaiting + 200,
                "lines awaiting an answer out of range");
        const int progress = controls.Get(mw::pbSendFile).position;
        Require(progress >= 0 && progress <= 100, "progress beyond 0..100");
        Require(sender.CurrentPath().size() <= FileSender::kPathLimit, "a path longer than 299");
        Require(controls.Get(mw::lScriptLineReport).text.size() <= ScriptInterpreter::kLineLimit,
                "a line report longer than 599");
    }
    return 0;
}
