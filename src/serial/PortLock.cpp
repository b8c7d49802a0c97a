#include "serial/PortLock.h"

#include <signal.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>

#include "base/Text.h"

namespace zelsim {

namespace {
constexpr std::string_view kDevFolder = "/dev/";
constexpr size_t kLockReadLimit = 64;  // the process number comes first

std::string FileStart(const std::string& path, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

bool Alive(long pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}
}  // namespace

std::vector<std::string> PortLock::Folders(const std::string& temporaryFolder) {
    return {"/var/lock",        "/run/lock",       "/etc/locks",
            "/var/spool/locks", "/var/spool/uucp", temporaryFolder};
}

std::string PortLock::LockName(const std::string& devicePath) {
    std::string name = devicePath;
    if (name.starts_with(kDevFolder)) name.erase(0, kDevFolder.size());
    for (char& c : name)
        if (c == '/') c = '_';
    return name;
}

std::string PortLock::Holder(const std::string& devicePath,
                             const std::vector<std::string>& folders) {
    const std::string file = "LCK.." + LockName(devicePath);
    for (const std::string& folder : folders) {
        const std::string content = FileStart(folder + "/" + file, kLockReadLimit);
        const std::string_view digits =
            TrimBlanks(std::string_view(content).substr(0, content.find('\n')));
        long pid = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), pid);
        if (error != std::errc() || end == digits.data() || !Alive(pid)) continue;
        std::string name = FileStart("/proc/" + std::to_string(pid) + "/comm", kLockReadLimit);
        while (!name.empty() && (name.back() == '\n' || name.back() == '\0')) name.pop_back();
        return (name.empty() ? "a program" : name) + ", process " + std::to_string(pid);
    }
    return {};
}

}  // namespace zelsim
