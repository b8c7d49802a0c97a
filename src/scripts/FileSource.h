#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zelsim {

// A file opened for the file sender, read from the front in pieces. The
// sender does no input or output of its own: the program hands it files from
// the disk, tests from memory.
class FileSource {
  public:
    virtual ~FileSource() = default;

    // Bytes in the file when it was opened.
    virtual uint64_t Size() const = 0;
    // When it was last changed, in the C library's calendar text, ended by
    // a line feed: "Wed Jun 30 21:49:08 1993\n".
    virtual std::string ModifiedText() const = 0;
    // Reads up to `count` bytes into `buffer`: how many came, 0 at the end,
    // -1 when reading failed (Error says why).
    virtual long Read(uint8_t* buffer, size_t count) = 0;
    virtual std::string Error() const = 0;
};

// Opens `path` for reading; nothing when it cannot be, and `why` says why.
using FileOpener =
    std::function<std::unique_ptr<FileSource>(const std::string& path, std::string& why)>;

}  // namespace zelsim
