#pragma once
#include <string>
#include <vector>

namespace zelsim {

// Runs zelsim-sim beside the program (for --demo): starts it, takes the
// device path it prints as its first line, and stops it again, at the
// latest when this object goes.
class SimulatorProcess {
  public:
    static constexpr int kStartTimeoutMs = 3000;
    static constexpr int kGraceMs = 2000;  // after SIGTERM, before SIGKILL

    SimulatorProcess() = default;
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // Starts `program` with `arguments` and waits up to `timeoutMs` for the
    // device path. False, with ErrorText() saying why (and what the
    // simulator wrote to its error output), when it cannot.
    bool Start(const std::string& program, const std::vector<std::string>& arguments,
               int timeoutMs = kStartTimeoutMs);
    // SIGTERM, then SIGKILL when it has not ended within `graceMs`.
    void Stop(int graceMs = kGraceMs);

    bool IsRunning() const { return pid_ > 0; }
    // Looks again: a simulator that has ended by itself is reaped, with
    // its exit status, and no longer counts as running.
    bool StillRunning() { return !Reap(0); }
    int Pid() const { return pid_; }
    const std::string& DevicePath() const { return devicePath_; }
    const std::string& ErrorText() const { return errorText_; }
    // Of the last process that ended: its exit code, 128 + the signal that
    // ended it, or -1 when not known.
    int ExitStatus() const { return exitStatus_; }

  private:
    enum class FirstLine { kRead, kEnded, kTimedOut };

    FirstLine ReadFirstLine(int timeoutMs, std::string& line, std::string& errorOutput);
    bool Reap(int waitMs);
    void ClosePipes();
    void Fail(const std::string& program, const std::string& why, const std::string& errorOutput);

    int pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    int exitStatus_ = -1;
    std::string devicePath_;
    std::string errorText_;
};

}  // namespace zelsim
