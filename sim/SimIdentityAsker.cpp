#include "SimIdentityAsker.h"

#include "SimSentence.h"
#include "base/TickClock.h"

namespace zelsim {

namespace {
// Versions are short; a runaway field must not grow the report.
constexpr size_t kVersionLimit = 32;
}  // namespace

SimIdentityAsker::SimIdentityAsker(const TickClock& clock, uint32_t periodMs)
    : clock_(clock), queries_(clock.TickNow(), periodMs) {}

// Other devices answer the same query form with their own names (the
// controller and its lightbar, the bootloader): only the program's counts.
void SimIdentityAsker::Hear(const SimMessage& message) {
    if (!message.FieldIs(0, "PKVTR") || !message.FieldIs(1, "DID") ||
        !message.FieldIs(2, kProgramName))
        return;
    ++answered_;
    answerVersion_ = std::string(message.Field(3).substr(0, kVersionLimit));
}

void SimIdentityAsker::Tick(std::vector<std::string>& out) {
    if (!queries_.Take(clock_.TickNow())) return;
    out.push_back(SimSentence(kQuery));
    ++asked_;
}

}  // namespace zelsim
