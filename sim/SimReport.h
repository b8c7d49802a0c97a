#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "SimBootloader.h"
#include "SimMessage.h"
#include "SimNoise.h"

namespace zelsim {

// What the simulated devices heard, for the summary written at exit.
class SimReport {
  public:
    // Guards against a flood of made-up addresses or endless key presses.
    static constexpr size_t kKindLimit = 256;
    static constexpr size_t kMaskLimit = 100000;
    static constexpr const char* kOtherKinds = "(other)";

    void AddBytesReceived(size_t count) { bytesReceived_ += count; }
    void AddBytesSent(size_t count) { bytesSent_ += count; }
    // Counts a sentence by its kind; a key sentence also adds its mask.
    void AddSentence(const SimMessage& sentence);
    void AddUnknownLine() { ++unknownLines_; }
    // Over every bootloader of the run: the one it started in and those a
    // reset brought up.
    void SetHexRecords(const SimBootloader::Counts& records) { hexRecords_ = records; }
    void SetBootloaderRuns(uint32_t resets, uint32_t restarts) {
        resets_ = resets;
        restarts_ = restarts;
    }
    // The program's answers to our identity queries, apart from the
    // identities our own devices send.
    void SetIdentityQueries(uint64_t asked, uint64_t answered, std::string version) {
        identityAsked_ = asked;
        identityAnswered_ = answered;
        identityVersion_ = std::move(version);
    }
    void SetNoise(uint32_t seed, const std::array<uint64_t, SimNoise::kKindCount>& counts) {
        noiseSeed_ = seed;
        noiseCounts_ = counts;
    }

    // "PKVTQ,RID", "PKVTR,DML,PLT2", "PKVTK", "GPGGA": the address, with the
    // sub-type where this line's proprietary sentences have one.
    static std::string KindOf(const SimMessage& sentence);

    const std::map<std::string, uint64_t>& Sentences() const { return sentences_; }
    const std::vector<int>& KeyMasks() const { return keyMasks_; }
    uint64_t UnknownLines() const { return unknownLines_; }
    uint64_t BytesReceived() const { return bytesReceived_; }

    std::string ToJson() const;
    // Written whole or not at all: a temporary file renamed over `path`.
    bool WriteFile(const std::string& path, std::string& error) const;

  private:
    std::map<std::string, uint64_t> sentences_;
    std::vector<int> keyMasks_;
    uint64_t keyMasksDropped_ = 0;
    uint64_t unknownLines_ = 0;
    uint64_t bytesReceived_ = 0;
    uint64_t bytesSent_ = 0;
    SimBootloader::Counts hexRecords_;
    uint32_t resets_ = 0;
    uint32_t restarts_ = 0;
    uint64_t identityAsked_ = 0;
    uint64_t identityAnswered_ = 0;
    std::string identityVersion_;
    std::optional<uint32_t> noiseSeed_;  // none: a clean line
    std::array<uint64_t, SimNoise::kKindCount> noiseCounts_{};
};

}  // namespace zelsim
