#include "base/SteadyTickClock.h"

#include <chrono>

namespace zelsim {

uint32_t SteadyTickClock::TickNow() const {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace zelsim
