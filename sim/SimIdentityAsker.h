#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "SimCadence.h"
#include "SimMessage.h"

namespace zelsim {

class TickClock;

// A device on the line that wants to know who else is there: it asks the
// program for its identity at a fixed period and counts the answers, so a
// run can show the program answered.
class SimIdentityAsker {
  public:
    static constexpr const char* kQuery = "$PKVTQ,DID";
    // What the program calls itself in its answer.
    static constexpr const char* kProgramName = "ZEL Simulator";

    SimIdentityAsker(const TickClock& clock, uint32_t periodMs);

    void Hear(const SimMessage& message);
    void Tick(std::vector<std::string>& out);
    uint32_t Due() const { return queries_.Due(); }

    uint64_t Asked() const { return asked_; }
    uint64_t Answered() const { return answered_; }
    // The version field of the latest answer ("v1.0.0"); empty before one.
    const std::string& AnswerVersion() const { return answerVersion_; }

  private:
    const TickClock& clock_;
    SimCadence queries_;
    uint64_t asked_ = 0;
    uint64_t answered_ = 0;
    std::string answerVersion_;
};

}  // namespace zelsim
