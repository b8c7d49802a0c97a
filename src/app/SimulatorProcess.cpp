#include "app/SimulatorProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace {
constexpr size_t kErrorOutputLimit = 2000;
constexpr size_t kPathLimit = 4096;
constexpr int kReapStepMs = 5;

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}
}  // namespace

SimulatorProcess::~SimulatorProcess() {
    Stop();
}

bool SimulatorProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                             int timeoutMs) {
    Stop();
    devicePath_.clear();
    errorText_.clear();
    exitStatus_ = -1;

    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        Fail(program, std::string("cannot make a pipe: ") + std::strerror(errno), {});
        return false;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        Fail(program, std::string("cannot make a pipe: ") + std::strerror(errno), {});
        close(out[0]);
        close(out[1]);
        return false;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
    if (spawned != 0) {
        ClosePipes();
        Fail(program, std::string("cannot start it: ") + std::strerror(spawned), {});
        return false;
    }
    pid_ = pid;

    std::string line;
    std::string errorOutput;
    switch (ReadFirstLine(timeoutMs, line, errorOutput)) {
        case FirstLine::kRead:
            if (!line.empty()) {
                devicePath_ = line;
                return true;
            }
            Stop();
            Fail(program, "it named no device", errorOutput);
            return false;
        case FirstLine::kEnded:
            if (!Reap(kGraceMs)) Stop();
            Fail(program,
                 "it ended before naming its device (exit status " + std::to_string(exitStatus_) +
                     ")",
                 errorOutput);
            return false;
        case FirstLine::kTimedOut:
            Stop();
            Fail(program, "it did not name its device within " + std::to_string(timeoutMs) + " ms",
                 errorOutput);
            return false;
    }
    return false;
}

SimulatorProcess::FirstLine SimulatorProcess::ReadFirstLine(int timeoutMs, std::string& line,
                                                            std::string& errorOutput) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool outOpen = true;
    bool errOpen = true;
    std::string pending;
    while (outOpen) {
        pollfd fds[2] = {{outFd_, POLLIN, 0}, {errOpen ? errFd_ : -1, POLLIN, 0}};
        const int ready = poll(fds, 2, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return FirstLine::kTimedOut;
        char chunk[512];
        if (fds[1].revents) {
            const ssize_t got = read(errFd_, chunk, sizeof chunk);
            if (got > 0 && errorOutput.size() < kErrorOutputLimit)
                errorOutput.append(chunk, static_cast<size_t>(got));
            if (got == 0) errOpen = false;
        }
        if (fds[0].revents) {
            const ssize_t got = read(outFd_, chunk, sizeof chunk);
            if (got <= 0) {
                outOpen = false;
                break;
            }
            pending.append(chunk, static_cast<size_t>(got));
            const size_t end = pending.find('\n');
            if (end != std::string::npos) {
                line = Trimmed(pending.substr(0, end));
                return FirstLine::kRead;
            }
            if (pending.size() > kPathLimit) return FirstLine::kTimedOut;
        }
    }
    // Its last words, so the reason it ended can be told.
    while (errOpen) {
        pollfd entry{errFd_, POLLIN, 0};
        if (poll(&entry, 1, RemainingMs(deadline)) <= 0) break;
        char chunk[512];
        const ssize_t got = read(errFd_, chunk, sizeof chunk);
        if (got <= 0) break;
        if (errorOutput.size() < kErrorOutputLimit)
            errorOutput.append(chunk, static_cast<size_t>(got));
    }
    return FirstLine::kEnded;
}

bool SimulatorProcess::Reap(int waitMs) {
    if (pid_ <= 0) return true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno == ECHILD)) {
            if (done == pid_)
                exitStatus_ = WIFEXITED(status)     ? WEXITSTATUS(status)
                              : WIFSIGNALED(status) ? 128 + WTERMSIG(status)
                                                    : -1;
            pid_ = -1;
            return true;
        }
        if (RemainingMs(deadline) <= 0) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kReapStepMs));
    }
}

void SimulatorProcess::Stop(int graceMs) {
    if (pid_ > 0 && !Reap(0)) {
        kill(pid_, SIGTERM);
        if (!Reap(graceMs)) {
            kill(pid_, SIGKILL);
            int status = 0;
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            exitStatus_ = 128 + SIGKILL;
            pid_ = -1;
        }
    }
    ClosePipes();
}

void SimulatorProcess::ClosePipes() {
    if (outFd_ >= 0) close(outFd_);
    if (errFd_ >= 0) close(errFd_);
    outFd_ = errFd_ = -1;
}

void SimulatorProcess::Fail(const std::string& program, const std::string& why,
                            const std::string& errorOutput) {
    errorText_ = "The simulator " + program + " could not be used: " + why + ".";
    const std::string said = Trimmed(errorOutput);
    if (!said.empty()) errorText_ += "\n" + said;
}
