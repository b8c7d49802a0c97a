#include "graph/RecordRing.h"

#include <cstring>

namespace zelsim {

RecordRing::RecordRing() : records_(std::make_unique<std::array<DiagnosticRecord, kCapacity>>()) {
    Clear();
}

DiagnosticRecord& RecordRing::Append(const DiagnosticRecord& record) {
    DiagnosticRecord& stored = (*records_)[head_];
    stored = record;
    head_ = Wrap(head_ + 1);
    if (count_ < kCapacity) ++count_;
    return stored;
}

void RecordRing::Clear() {
    // Every byte, padding included: nothing of the records before survives.
    std::memset(static_cast<void*>(records_->data()), 0, sizeof(*records_));
    head_ = 0;
    count_ = 0;
    autoSaveMark_ = 0;
}

}  // namespace zelsim
