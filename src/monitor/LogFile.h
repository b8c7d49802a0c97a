#pragma once
#include <string>
#include <string_view>

namespace zelsim {

// The few things the message log does to files, each saying why it failed.
// A line is appended with the file opened and closed around it: nothing is
// held open between lines, so a crash of the program loses nothing written.
class LogFile {
  public:
    // Appends `bytes` as they are; false with `error` set when not all of
    // them reached the file.
    static bool Append(const std::string& path, std::string_view bytes, std::string& error);
    // Empties the file, creating it when missing.
    static bool Truncate(const std::string& path, std::string& error);

    static bool Exists(const std::string& path);
    // Readable and writable by this program.
    static bool Accessible(const std::string& path);
    static bool Remove(const std::string& path);
    static bool Rename(const std::string& from, const std::string& to);
};

}  // namespace zelsim
