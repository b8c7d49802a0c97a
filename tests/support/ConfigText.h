#pragma once
#include <string>

#include "base/ConfigFile.h"
#include "support/TempDir.h"

namespace zelsim {

// A configuration file in `dir` that holds `content`, read as the program
// reads it at start-up.
inline ConfigFile ConfigWith(const TempDir& dir, const std::string& content) {
    const std::string path = dir.File("ZelSim.ini");
    TempDir::Write(path, content);
    return ConfigFile(path);
}

// What `save` writes into a fresh configuration file.
template <typename Save>
std::string SavedConfig(const TempDir& dir, Save&& save) {
    const std::string path = dir.File("saved.ini");
    ConfigFile file(path);
    save(file);
    file.Save();
    return TempDir::Read(path);
}

}  // namespace zelsim
