#pragma once
#include <string>
#include <string_view>

namespace zelsim {

class ConfigFile;

// Where a file dialog stands on the screen, kept in the settings as
// "<prefix>Left", "<prefix>Top", "<prefix>Width" and "<prefix>Height" so that
// it opens where the user last left it.
struct DialogPlace {
    int left = 0, top = 0, width = 0, height = 0;

    // In the file's current section; a missing key keeps what is there.
    void Read(const ConfigFile& file, std::string_view prefix);
    void Write(ConfigFile& file, std::string_view prefix) const;
};

}  // namespace zelsim
