#include "base/TickClock.h"

#include <chrono>
#include <thread>

namespace zelsim {

void TickClock::TickDelay(uint16_t period) {
    const uint32_t start = TickNow();
    while (!TickElapsed(start, period)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace zelsim
