#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "graph/DiagnosticRecord.h"

namespace zelsim {

// The last 4000 samples, about seven minutes at the sampling rate. One block
// allocated with the ring; appending copies one record into it and never
// allocates. Indices are ring slots, 0 to 3999; `head` is the slot of the
// next write, so the oldest record is at head - count.
class RecordRing {
  public:
    static constexpr int16_t kCapacity = 4000;

    RecordRing();

    // Overwrites the oldest record once the ring is full. Returns the stored
    // copy.
    DiagnosticRecord& Append(const DiagnosticRecord& record);
    // Every record zeroed, head, count and the auto-save mark 0.
    void Clear();

    int16_t Head() const { return head_; }
    int16_t Count() const { return count_; }
    int16_t OldestIndex() const { return Wrap(head_ - count_); }
    int16_t NewestIndex() const { return Wrap(head_ - 1); }
    // Any index, negative or past the end, taken modulo the capacity.
    const DiagnosticRecord& At(int index) const { return (*records_)[Wrap(index)]; }
    // `age` 0 is the oldest record held, Count() - 1 the newest.
    const DiagnosticRecord& FromOldest(int age) const { return At(OldestIndex() + age); }
    DiagnosticRecord& FromOldest(int age) { return (*records_)[Wrap(OldestIndex() + age)]; }

    // Where the last automatic save ended; with head it tells how many
    // records came since.
    int16_t AutoSaveMark() const { return autoSaveMark_; }
    void SetAutoSaveMark(int16_t mark) { autoSaveMark_ = Wrap(mark); }
    int16_t AppendedSinceMark() const { return Wrap(head_ - autoSaveMark_); }

    static constexpr int16_t Wrap(int index) {
        const int r = index % kCapacity;
        return static_cast<int16_t>(r < 0 ? r + kCapacity : r);
    }

  private:
    std::unique_ptr<std::array<DiagnosticRecord, kCapacity>> records_;
    int16_t head_ = 0;
    int16_t count_ = 0;
    int16_t autoSaveMark_ = 0;
};

}  // namespace zelsim
