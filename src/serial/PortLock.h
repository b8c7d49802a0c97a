#pragma once
#include <string>
#include <vector>

namespace zelsim {

// Programs that open a serial device leave a lock file "LCK..<device>" in a
// lock folder, the first thing in it the number of their process. It names
// who holds a busy device, so the window can say which program to close.
class PortLock {
  public:
    // Where serial programs put their lock files, the temporary folder last.
    static std::vector<std::string> Folders(const std::string& temporaryFolder);

    // "ttyUSB0" for /dev/ttyUSB0, "pts_3" for /dev/pts/3: the lock file's
    // part after "LCK..".
    static std::string LockName(const std::string& devicePath);

    // "minicom, process 1234" for the live program a lock file in `folders`
    // names; empty when there is none.
    static std::string Holder(const std::string& devicePath,
                              const std::vector<std::string>& folders);
};

}  // namespace zelsim
