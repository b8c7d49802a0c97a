#include "graph/GraphFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "graph/DataFile.h"

namespace zelsim {

namespace {

std::string Numbered(const char* format, int index) {
    char name[32];
    std::snprintf(name, sizeof name, format, index);
    return name;
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

}  // namespace

std::string GraphFiles::DataPath(int index) const {
    const std::string name = Numbered("ZelSim%03d.txt", index);
    return folder_.empty() ? name : folder_ + "/" + name;
}

std::string GraphFiles::Records(int count) {
    return std::to_string(count) + (count == 1 ? " record" : " records");
}

std::string GraphFiles::PicturePath(int index) {
    return Numbered("ZelSim%03d.bmp", index);
}

GraphFiles::Outcome GraphFiles::SaveRecords(const RecordRing& ring, int end, int count,
                                            const DeviceIdentities::Slots& displayed,
                                            std::string_view version, int& index) const {
    Outcome outcome;
    const int firstTried = index;
    bool free = false;
    for (int tries = 0; tries < kNameTries && !free; ++tries) {
        outcome.path = DataPath(index++);
        std::error_code error;
        free = !std::filesystem::exists(outcome.path, error) && !error;
    }
    if (!free) {
        outcome.path.clear();
        outcome.text = "Data not saved: " + DataPath(firstTried) + " to " + DataPath(index - 1) +
                       " all exist. Move some of them away, then save again.";
        return outcome;
    }
    std::string text;
    data_file::Write(text, ring, end, count, displayed, version);
    std::FILE* file = std::fopen(outcome.path.c_str(), "ab");
    if (file == nullptr) {
        outcome.text =
            "Data not saved: " + outcome.path + " could not be created (" + ErrorText(errno) + ").";
        return outcome;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        outcome.text = "Data not saved whole: writing " + outcome.path + " failed (" +
                       ErrorText(written ? errno : writeError) + "); the file is incomplete.";
        return outcome;
    }
    outcome.ok = true;
    outcome.text = "Saved " + Records(count) + " to " + outcome.path;
    return outcome;
}

GraphFiles::Outcome GraphFiles::Read(const std::string& path, std::string& text) {
    Outcome outcome;
    outcome.path = path;
    text.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        outcome.text = ErrorText(errno);
        return outcome;
    }
    char buffer[1 << 16];
    size_t got = 0;
    while (text.size() < kReadLimit &&
           (got = std::fread(buffer, 1, std::min(sizeof buffer, kReadLimit - text.size()), file)) >
               0)
        text.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        outcome.text = ErrorText(error);
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

}  // namespace zelsim
