#pragma once
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace zelsim {

// A directory of the fuzz target's own for the files it saves, on a memory
// file system when there is one: every save syncs, and a disk would make
// that the whole cost of a run. A run that ends in a finding never gets to
// remove its directory, so each start removes those of runs that are gone.
class ScratchDirectory {
  public:
    ScratchDirectory() {
        const char* tmp = std::getenv("TMPDIR");
        std::filesystem::path base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
        if (tmp == nullptr && std::filesystem::is_directory("/dev/shm")) base = "/dev/shm";
        RemoveLeftOvers(base);
        path_ = base / (kPrefix + std::to_string(::getpid()));
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        if (::mkdir(path_.c_str(), 0700) != 0) {
            std::perror(path_.c_str());
            std::abort();
        }
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string File(const char* name) const { return (path_ / name).string(); }

  private:
    static constexpr const char* kPrefix = "zelsim-fuzz-";

    static void RemoveLeftOvers(const std::filesystem::path& base) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(base, error)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(kPrefix, 0) != 0) continue;
            char* end = nullptr;
            const long pid = std::strtol(name.c_str() + std::string(kPrefix).size(), &end, 10);
            if (pid <= 0 || *end != '\0') continue;
            if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
                std::filesystem::remove_all(entry.path(), error);
        }
    }

    std::filesystem::path path_;
};

}  // namespace zelsim
