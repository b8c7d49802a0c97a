#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SimMessage.h"

namespace zelsim {

class TickClock;

// The controller's bootloader: tells its version when asked with the plain
// line "$PKVTQ,DID" and takes a firmware file line by line, acknowledging
// each Intel HEX record once it has been written.
//
// It comes up at the controller's rate. Version 1.3 loads faster: once it
// has told its version it listens at 115200 only, and the program follows it
// there; 1.2 stays where it came up. What arrives at any other rate is noise
// to it, answered by nothing.
//
// Brought up by a power cycle, it hands back to the controller's firmware
// once a whole end-of-file record has been written, or when the program
// has left it alone for a while (the firmware is then as it was).
class SimBootloader {
  public:
    enum class Version { k12, k13 };

    // What it heard of hex records, whatever became of them.
    struct Counts {
        uint32_t received = 0;   // every record line, at any rate
        uint32_t whole = 0;      // of those at its rate, the well-formed ones
        uint32_t accepted = 0;   // answered "[Ok]"
        uint32_t rejected = 0;   // answered "[Err]", or lost to a full buffer
        uint32_t wrongRate = 0;  // at a rate it does not listen at: never understood

        Counts& operator+=(const Counts& other);
    };

    static constexpr uint32_t kProcessingMs = 15;
    // Its buffer: records beyond it are lost, unanswered, and count as rejected.
    static constexpr size_t kPendingLimit = 1024;
    static constexpr const char* kName = "Bootloader";
    static constexpr uint32_t kBootRate = 38400;  // the controller's own
    static constexpr uint32_t kFastRate = 115200;
    // Nothing understood for this long: nobody is updating, the controller starts.
    static constexpr uint32_t kIdleMs = 5000;
    // From the end-of-file record's acknowledgement to the controller's start.
    static constexpr uint32_t kRestartMs = 1000;
    static constexpr uint8_t kDataRecord = 0x00;
    static constexpr uint8_t kEndOfFileRecord = 0x01;
    static constexpr uint8_t kExtendedLinearAddressRecord = 0x04;

    // `stallAfter`: it hangs after that many records at its rate, answering
    // nothing more and never handing back to the controller.
    SimBootloader(const TickClock& clock, Version version,
                  std::optional<uint32_t> stallAfter = std::nullopt);

    static bool IsHexRecord(std::string_view line) { return !line.empty() && line.front() == ':'; }
    // Well formed: ":" then pairs of hex digits, a length byte that matches,
    // and all bytes summing to 0 modulo 256.
    static bool RecordValid(std::string_view line);
    // The record's bytes (length, address, type, data, checksum); empty
    // unless it is well formed.
    static std::vector<uint8_t> RecordBytes(std::string_view line);

    // The rate the line runs at now.
    void SetLineRate(uint32_t rate) { lineRate_ = rate; }
    uint32_t ListenRate() const { return listenRate_; }
    bool Hears() const { return lineRate_ == listenRate_; }

    // True when the message was a hex record, taken whether understood or not.
    bool Hear(const SimMessage& message, std::vector<std::string>& out);
    // Sends the acknowledgements whose processing time has passed.
    void Tick(std::vector<std::string>& out);
    // When Tick next has an acknowledgement to send; none while none waits.
    std::optional<uint32_t> AnswerDue() const {
        return pending_.empty() ? std::nullopt : std::optional<uint32_t>(pending_.front().due);
    }
    // When RestartDue turns true if nothing more is heard; none while it
    // cannot (answers still wait, or it hangs).
    std::optional<uint32_t> RestartAt() const;
    // Time to start the controller's firmware: every record answered, and
    // either the update is complete or the program has gone quiet.
    bool RestartDue() const;
    bool Hung() const { return stallAfter_ && counts_.received - counts_.wrongRate > *stallAfter_; }

    uint32_t Accepted() const { return counts_.accepted; }
    uint32_t Rejected() const { return counts_.rejected; }
    const Counts& Tally() const { return counts_; }

  private:
    struct Pending {
        uint32_t due;
        bool ok;
        bool end;  // a whole end-of-file record: the update is complete once it is written
    };

    const TickClock& clock_;
    const Version version_;
    const std::optional<uint32_t> stallAfter_;
    std::deque<Pending> pending_;
    Counts counts_;
    uint32_t lineRate_ = 0;
    uint32_t listenRate_ = kBootRate;
    uint32_t lastActivity_;  // heard something it understood, or answered
    bool complete_ = false;
    uint32_t completeAt_ = 0;
};

}  // namespace zelsim
