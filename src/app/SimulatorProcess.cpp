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

namespace zelsim {

namespace {
constexpr size_t kErrorOutputLimit = 2000;
constexpr size_t kPathLimit = 4096;
constexpr int kReapStepMs = 5;

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// A pipe whose ends are not 0, 1 or 2 (a program started without them
// would hand those out): the child's dup2 onto its standard output must move
// the end, or the close-on-exec flag stays and the output is lost.
bool MakePipe(int ends[2]) {
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    for (int i = 0; i < 2; ++i) {
        if (ends[i] > STDERR_FILENO) continue;
        const int moved = fcntl(ends[i], F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        const int saved = errno;
        close(ends[i]);
        ends[i] = moved;
        errno = saved;
    }
    if (ends[0] >= 0 && ends[1] >= 0) return true;
    for (int i = 0; i < 2; ++i)
        if (ends[i] >= 0) close(ends[i]);
    return false;
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
    if (!MakePipe(out)) {
        Fail(program, std::string("cannot make a pipe: ") + std::strerror(errno), {});
        return false;
    }
    if (!MakePipe(err)) {
        Fail(program, std::string("cannot make a pipe: ") + std::strerror(errno), {});
        close(out[0]);
        close(out[1]);
        return false;
    }

    // Signals as a fresh process has them: a program that blocks or ignores
    // SIGTERM for itself must not leave the simulator unable to stop cleanly.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    for (int signal : {SIGINT, SIGTERM, SIGPIPE}) sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

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
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
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

}  // namespace zelsim
