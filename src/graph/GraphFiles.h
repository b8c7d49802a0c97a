#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "graph/DeviceIdentities.h"

namespace zelsim {

class RecordRing;

// The graph's files on disk: data files numbered in the start folder, chart
// pictures numbered in the current folder, and reading a data file back.
// Every outcome comes with a sentence the window shows.
class GraphFiles {
  public:
    // Names tried for a data file before giving up.
    static constexpr int kNameTries = 900;
    // A data file holds at most 4000 lines of a few hundred characters; a
    // file read stops here, far past any real one.
    static constexpr size_t kReadLimit = size_t{16} << 20;

    struct Outcome {
        bool ok = false;
        std::string path;  // the file written or read, when a name was found
        std::string text;  // what happened, for the user
    };

    // Data files go to `folder`, the folder the program started in.
    explicit GraphFiles(std::string folder) : folder_(std::move(folder)) {}

    const std::string& Folder() const { return folder_; }

    // "<folder>/ZelSim%03d.txt"
    std::string DataPath(int index) const;
    // "1 record", "4000 records".
    static std::string Records(int count);
    // "ZelSim%03d.bmp", in the current folder.
    static std::string PicturePath(int index);

    // saveRecords: `count` records ending before ring index `end` into the
    // first data file name from `index` on that does not exist; `index` is
    // advanced past every name tried.
    Outcome SaveRecords(const RecordRing& ring, int end, int count,
                        const DeviceIdentities::Slots& displayed, std::string_view version,
                        int& index) const;
    // The first kReadLimit bytes of `path` into `text`.
    static Outcome Read(const std::string& path, std::string& text);

  private:
    std::string folder_;
};

}  // namespace zelsim
