#pragma once
#include <string>

namespace zelsim {

class ConfigFile;
class MessageLog;
class SimulatorProcess;

// What Help > About says: the version, and which files and which line this
// run uses, so that a user who reports a problem can say where to look.
class AboutZelSim {
  public:
    static constexpr const char* kCaption = "About ZelSim";
    static constexpr const char* kNotRunning = "not running";

    AboutZelSim(const ConfigFile& config, const MessageLog& log) : config_(config), log_(log) {}

    // --demo: the simulated devices, reached as COM `comPort`.
    void SetDemo(SimulatorProcess& simulator, int comPort);

    // One fact a line, as "Settings file: /home/ann/ZelSim.ini".
    std::string Text() const;

    std::string SettingsFile() const;
    std::string LogFile() const;
    std::string DemoSimulator() const;

    // `path` as the program opens it: relative to the folder it runs in.
    static std::string Absolute(const std::string& path);

  private:
    const ConfigFile& config_;
    const MessageLog& log_;
    SimulatorProcess* simulator_ = nullptr;
    int demoComPort_ = 0;
};

}  // namespace zelsim
