#include "app/AboutZelSim.h"

#include <filesystem>

#include "app/SimulatorProcess.h"
#include "base/ConfigFile.h"
#include "monitor/MessageLog.h"

namespace zelsim {

void AboutZelSim::SetDemo(SimulatorProcess& simulator, int comPort) {
    simulator_ = &simulator;
    demoComPort_ = comPort;
}

std::string AboutZelSim::Absolute(const std::string& path) {
    if (path.empty()) return path;
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(path, error);
    return error ? path : whole.lexically_normal().string();
}

std::string AboutZelSim::Text() const {
    return std::string("ZelSim version ") + ZELSIM_VERSION_TEXT +
           "\n\nSettings file: " + SettingsFile() + "\nLog file: " + LogFile() +
           "\nDemo simulator: " + DemoSimulator();
}

std::string AboutZelSim::SettingsFile() const {
    std::string said = Absolute(config_.Path());
    // The one thing about the file a user could not guess: that this
    // session's changes will be lost.
    if (const std::string problem = config_.PlaceProblem(); !problem.empty())
        said += " (not saved: " + problem + ")";
    else if (!config_.Writable())
        said += " (read-only: not saved)";
    return said;
}

std::string AboutZelSim::LogFile() const {
    const std::string name = log_.FileName();
    const char* state = log_.Logging() ? " (logging)" : " (not logging)";
    if (name.empty()) return std::string("asked for when Log Messages is pressed") + state;
    return Absolute(name) + state;
}

std::string AboutZelSim::DemoSimulator() const {
    if (simulator_ == nullptr) return kNotRunning;
    // A simulator that ended by itself is looked at again, not taken for
    // running because it once started.
    if (simulator_->StillRunning())
        return "process " + std::to_string(simulator_->Pid()) + " on " + simulator_->DevicePath() +
               " (COM" + std::to_string(demoComPort_) + ")";
    if (!simulator_->ErrorText().empty())
        return std::string(kNotRunning) + ": " + simulator_->ErrorText();
    if (simulator_->ExitStatus() >= 0)
        return std::string(kNotRunning) + " (ended with status " +
               std::to_string(simulator_->ExitStatus()) + ")";
    return kNotRunning;
}

}  // namespace zelsim
