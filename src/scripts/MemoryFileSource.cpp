#include "scripts/MemoryFileSource.h"

#include <algorithm>
#include <cstring>

namespace zelsim {

MemoryFileSource::MemoryFileSource(std::string bytes, std::string modified, uint64_t failAfter)
    : bytes_(std::move(bytes)), modified_(std::move(modified)), failAfter_(failAfter) {}

long MemoryFileSource::Read(uint8_t* buffer, size_t count) {
    if (at_ >= failAfter_) {
        error_ = "Input/output error";
        return -1;
    }
    const uint64_t left = std::min<uint64_t>(bytes_.size() - at_, failAfter_ - at_);
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count, left));
    if (n > 0) std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return static_cast<long>(n);
}

}  // namespace zelsim
