// Any bytes as the configuration file the whole program starts on. Every
// part reads what it understands and writes its keys back at shutdown; a
// second start on what the first one saved must find nothing to change:
// settings that drift with every run would rewrite a user's file forever.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "ScratchDirectory.h"
#include "app/ZelSim.h"
#include "base/ConfigFile.h"
#include "base/TickClock.h"
#include "base/UserDialogs.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"

namespace zelsim {

namespace {

using Status = ConfigFile::SaveResult::Status;

// Shutdown waits for the line to drain; a run must not.
class StillClock final : public TickClock {
  public:
    uint32_t TickNow() const override { return now_; }
    void TickDelay(uint16_t period) override { now_ += period + 1u; }

  private:
    uint32_t now_ = 1000;
};

// A failed save would say so here; the runs below must never see one.
class RecordingDialogs final : public UserDialogs {
  public:
    void Warn(std::string_view caption, std::string_view text) override {
        warnings.push_back(std::string(caption) + ": " + std::string(text));
    }
    bool Ask(std::string_view, std::string_view) override { return false; }
    std::optional<std::string> AskFileToWrite(FileRequest&) override { return std::nullopt; }
    bool OpenInViewer(const std::string&) override { return false; }
    std::vector<std::string> warnings;
};

std::tm FixedTime() {
    return std::tm{};
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One run of the program on the file at `path`, from start-up to shutdown.
Status StartAndClose(const std::string& path) {
    StillClock clock;
    PortMap ports;
    ports.SetExplicit(1, "/dev/ttyFUZZ1");
    RecordingDialogs dialogs;
    ConfigFile config(path);
    ZelSim program(clock, MemorySerialDevice::Plug(std::make_shared<MemorySerialDevice>()), ports,
                   config, dialogs, FixedTime);
    program.LoadSettings();
    const ConfigFile::SaveResult saved = program.Shutdown(true);
    Require(saved.Saved(), "the settings were not saved");
    for (const std::string& warning : dialogs.warnings)
        std::fprintf(stderr, "  warned: %s\n", warning.c_str());
    Require(dialogs.warnings.empty(), "a saved file was reported as a failure");
    return saved.status;
}

void StartTwice(const uint8_t* data, size_t size) {
    static const ScratchDirectory scratch;
    const std::string path = scratch.File("ZelSim.ini");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Require(out.good(), "cannot write the scratch file");
    }
    StartAndClose(path);
    const std::string first = ReadAll(path);
    Require(StartAndClose(path) == Status::Unchanged, "a second run found something to save");
    Require(ReadAll(path) == first, "a second run changed the file");
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zelsim::StartTwice(data, size);
    return 0;
}
