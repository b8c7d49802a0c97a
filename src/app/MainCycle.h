#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "serial/CyclePart.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

class ConfigFile;
class SerialPort;
class TickClock;

// The main cycle: one call of Tick every 10 ms reads the line, frames what
// came into sentences and lines, classifies each once and hands it to the
// parts, which it calls in the cycle's fixed order at every step. It also
// sends: everything the program writes goes through SendSentence and
// SendLine, and is shown like a received line.
class MainCycle {
  public:
    static constexpr size_t kReceiveBufferSize = 8095;  // one poll reads at most 8,094
    static constexpr size_t kLineBufferSize = SentenceFramer::kBufferSize + 1;
    static constexpr uint32_t kGarbageLinesShown = 4;  // the fifth in a row is withheld

    // `parts` in the order the cycle calls them; they outlive the cycle.
    MainCycle(TickClock& clock, SerialPort& port, std::vector<CyclePart*> parts);

    // T10msTick: one main cycle.
    void Tick();
    // How long from now until a part needs a cycle of its own
    // (CyclePart::kNoStep: none is due).
    uint32_t NextStepIn() const;
    // Something went out, or the program noted something: a sleeping
    // window must follow.
    std::function<void()> onActivity;

    // "$" text without "*" gets its checksum; shown as out-going. False
    // when it did not go out (a closed port, or dropped: see SerialPort).
    bool SendSentence(std::string_view text);
    // Plain text and CR LF; a trailing "~" sends it without the line end.
    bool SendLine(std::string_view text);
    // A line of the program's own making that reports something received:
    // logged and shown as if it had come in, and marked a note where the
    // log says which way a line went.
    void ShowNote(std::string_view text);

    // Start-up and shutdown: every part's keys, in the parts' order.
    void LoadSettings(ConfigFile& file);
    void SaveSettings(ConfigFile& file) const;

    uint32_t LastLineTime() const { return lastLineTime_; }
    bool CycleBusy() const { return cycleBusy_; }
    const SentenceFramer& Framer() const { return framer_; }

  private:
    void ReadLine(uint32_t now);
    bool Withheld() const;
    void OnRawLine(uint32_t now);
    void OnSentence(uint32_t now);
    void Show(std::string_view text, uint8_t category, LineDirection direction);

    TickClock& clock_;
    SerialPort& port_;
    const std::vector<CyclePart*> parts_;
    SentenceFramer framer_;
    std::array<uint8_t, kReceiveBufferSize> receiveBuffer_{};
    char lineBuffer_[kLineBufferSize] = {};
    bool cycleBusy_ = false;
    uint32_t lastLineTime_;
};

}  // namespace zelsim
