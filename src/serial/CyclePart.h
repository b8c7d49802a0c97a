#pragma once
#include <cstdint>
#include <string_view>

namespace zelsim {

class ConfigFile;
class SentenceFramer;

// Which way a line passed. A note is a line of the program's own about the
// traffic (how a transfer ended, a bootloader's version): shown and logged
// as a received line is, though nothing came.
enum class LineDirection : uint8_t { kReceived, kSent, kNote };

// One line that passed the line in either direction, as it is shown.
struct TrafficLine {
    // A received sentence rebuilt without its checksum, a raw line, or what
    // the program sent.
    std::string_view text;
    uint8_t category;  // MessageCategory::Code
    uint32_t time;     // the cycle's last line time
    LineDirection direction = LineDirection::kReceived;
};

// A subsystem in the main cycle. The station calls every part, in the
// cycle's fixed order, at each step; a part acts on the steps it needs and
// owns its state, its control-state entries and its configuration keys.
class CyclePart {
  public:
    // No step of its own is due: the part acts only on what the line or
    // the user brings.
    static constexpr uint32_t kNoStep = UINT32_MAX;

    virtual ~CyclePart() = default;

    // How many milliseconds from `now` until the part needs a cycle of its
    // own (0: the next one), so that the program can sleep while nothing is
    // due and nothing arrives. A part with timed work keeps the cycle going
    // while that work runs.
    virtual uint32_t NextStepIn(uint32_t /*now*/) const { return kNoStep; }

    // Before the line is read: the arrows' and the timers' checks.
    virtual void BeforeRead(uint32_t /*now*/) {}
    // A line was shown: received (unless withheld as noise) or sent.
    virtual void LineShown(const TrafficLine& /*line*/) {}
    // A received line the framer took for no sentence (a text line, or a
    // "$" line whose checksum failed), without CR LF, after the decision to
    // show it: also when it was withheld as noise or hidden.
    virtual void RawLineFramed(std::string_view /*line*/, uint32_t /*now*/) {}
    // A received raw line is about to be shown and logged: true keeps it out
    // of both (a transfer's acknowledgements).
    virtual bool HidesReceivedLine(std::string_view /*line*/) const { return false; }
    // A valid sentence was framed: its fields are readable by index until
    // the next byte is fed.
    virtual void SentenceFramed(SentenceFramer& /*sentence*/, uint32_t /*now*/) {}
    // After the received bytes: one step of the part's timed work.
    virtual void AfterRead(uint32_t /*now*/) {}

    // Start-up: the part's keys from the configuration.
    virtual void LoadSettings(ConfigFile& /*file*/) {}
    // Shutdown: the part's keys into the configuration.
    virtual void SaveSettings(ConfigFile& /*file*/) const {}
};

}  // namespace zelsim
