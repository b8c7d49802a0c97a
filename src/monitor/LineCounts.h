#pragma once
#include <cstdint>
#include <string>

#include "serial/CyclePart.h"

namespace zelsim {

class ControlTable;

// The received lines of the session in figures, at the foot of the main
// window: lines, valid sentences, checksum failures and the lines of the
// last second. Said once a second, so a busy line costs no text per line.
class LineCounts : public CyclePart {
  public:
    static constexpr uint32_t kUpdateMs = 1000;

    explicit LineCounts(ControlTable& controls);

    void RawLineFramed(std::string_view line, uint32_t now) override;
    void SentenceFramed(SentenceFramer& sentence, uint32_t now) override;
    void AfterRead(uint32_t now) override;
    // Once a second while lines come, and once more when they stop.
    uint32_t NextStepIn(uint32_t now) const override;

    uint64_t Lines() const { return lines_; }
    uint64_t Sentences() const { return sentences_; }
    uint64_t ChecksumFailures() const { return failures_; }

    // "Received 1234 lines, 1200 sentences, 3 checksum errors; 12 lines/s"
    static std::string Text(uint64_t lines, uint64_t sentences, uint64_t failures,
                            uint32_t linesPerSecond);

  private:
    ControlTable& controls_;
    uint64_t lines_ = 0;
    uint64_t sentences_ = 0;
    uint64_t failures_ = 0;
    uint64_t linesAtUpdate_ = 0;
    uint32_t updatedAt_ = 0;
    bool started_ = false;
    bool rateShown_ = false;  // the last second had lines
};

}  // namespace zelsim
