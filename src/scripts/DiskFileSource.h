#pragma once
#include <memory>
#include <string>

#include "scripts/FileSource.h"

namespace zelsim {

// A file on the disk, read as it is, byte for byte.
class DiskFileSource final : public FileSource {
  public:
    // Only regular files: a folder reads nothing, and a pipe or a device
    // would block the main cycle or never end.
    static std::unique_ptr<FileSource> Open(const std::string& path, std::string& why);

    ~DiskFileSource() override;
    DiskFileSource(const DiskFileSource&) = delete;
    DiskFileSource& operator=(const DiskFileSource&) = delete;

    uint64_t Size() const override { return size_; }
    std::string ModifiedText() const override { return modified_; }
    long Read(uint8_t* buffer, size_t count) override;
    std::string Error() const override { return error_; }

  private:
    DiskFileSource(int descriptor, uint64_t size, std::string modified);

    int descriptor_;
    uint64_t size_;
    std::string modified_;
    std::string error_;
};

}  // namespace zelsim
