#pragma once
#include <cstdint>
#include <limits>
#include <string>

#include "scripts/FileSource.h"

namespace zelsim {

// A file held in memory, for tests and fuzzing of everything that sends
// files. It can be made to fail once a given number of bytes has been read,
// the way a file on a removed stick or a failing disk does.
class MemoryFileSource final : public FileSource {
  public:
    static constexpr uint64_t kNeverFails = std::numeric_limits<uint64_t>::max();

    explicit MemoryFileSource(std::string bytes,
                              std::string modified = "Thu Jan  1 00:00:00 1970\n",
                              uint64_t failAfter = kNeverFails);

    uint64_t Size() const override { return bytes_.size(); }
    std::string ModifiedText() const override { return modified_; }
    long Read(uint8_t* buffer, size_t count) override;
    std::string Error() const override { return error_; }

    uint64_t BytesRead() const { return at_; }

  private:
    std::string bytes_;
    std::string modified_;
    uint64_t failAfter_;
    uint64_t at_ = 0;
    std::string error_;
};

}  // namespace zelsim
