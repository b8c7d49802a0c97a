#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "SimMessage.h"

namespace zelsim {

class TickClock;

// The controller's bootloader: tells its version when asked with the plain
// line "$PKVTQ,DID" and takes a firmware file line by line, acknowledging
// each Intel HEX record once it has been written.
class SimBootloader {
  public:
    enum class Version { k12, k13 };

    static constexpr uint32_t kProcessingMs = 15;
    // Its buffer: records beyond it are lost, unanswered, and count as rejected.
    static constexpr size_t kPendingLimit = 1024;
    static constexpr const char* kName = "Bootloader";

    SimBootloader(const TickClock& clock, Version version);

    static bool IsHexRecord(std::string_view line) { return !line.empty() && line.front() == ':'; }
    // Well formed: ":" then pairs of hex digits, a length byte that matches,
    // and all bytes summing to 0 modulo 256.
    static bool RecordValid(std::string_view line);

    // True when the message was a hex record, taken whether valid or not.
    bool Hear(const SimMessage& message, std::vector<std::string>& out);
    // Sends the acknowledgements whose processing time has passed.
    void Tick(std::vector<std::string>& out);

    uint32_t Accepted() const { return accepted_; }
    uint32_t Rejected() const { return rejected_; }

  private:
    struct Pending {
        uint32_t due;
        bool ok;
    };

    const TickClock& clock_;
    const Version version_;
    std::deque<Pending> pending_;
    uint32_t accepted_ = 0;
    uint32_t rejected_ = 0;
};

}  // namespace zelsim
