#include "monitor/LineCounts.h"

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/TickClock.h"
#include "monitor/ChecksumFault.h"

namespace zelsim {

LineCounts::LineCounts(ControlTable& controls) : controls_(controls) {
    controls_.SetText(main_window::lLineCounts, Text(0, 0, 0, 0));
}

void LineCounts::RawLineFramed(std::string_view line, uint32_t /*now*/) {
    ++lines_;
    if (ChecksumFault::Of(line)) ++failures_;
}

void LineCounts::SentenceFramed(SentenceFramer& /*sentence*/, uint32_t /*now*/) {
    ++lines_;
    ++sentences_;
}

void LineCounts::AfterRead(uint32_t now) {
    if (!started_) {
        started_ = true;
        updatedAt_ = now;
        return;
    }
    if (!TickClock::Elapsed(now, updatedAt_, kUpdateMs - 1)) return;
    const uint32_t elapsed = now - updatedAt_;
    const auto rate =
        static_cast<uint32_t>((lines_ - linesAtUpdate_) * 1000 / (elapsed == 0 ? 1 : elapsed));
    controls_.SetText(main_window::lLineCounts, Text(lines_, sentences_, failures_, rate));
    rateShown_ = rate != 0;
    linesAtUpdate_ = lines_;
    updatedAt_ = now;
}

uint32_t LineCounts::NextStepIn(uint32_t now) const {
    if (!started_) return 0;
    if (lines_ == linesAtUpdate_ && !rateShown_) return kNoStep;
    return TickClock::Remaining(now, updatedAt_, kUpdateMs - 1);
}

std::string LineCounts::Text(uint64_t lines, uint64_t sentences, uint64_t failures,
                             uint32_t linesPerSecond) {
    return "Received " + std::to_string(lines) + (lines == 1 ? " line, " : " lines, ") +
           std::to_string(sentences) + (sentences == 1 ? " sentence, " : " sentences, ") +
           std::to_string(failures) + (failures == 1 ? " checksum error; " : " checksum errors; ") +
           std::to_string(linesPerSecond) + " lines/s";
}

}  // namespace zelsim
