#include <gtest/gtest.h>

#include "base/SteadyTickClock.h"
#include "support/FakeTickClock.h"

namespace zelsim {

TEST(TickClock, ElapsedIsStrictAndSurvivesTheWrap) {
    FakeTickClock clock(0xFFFFFFF0u);
    const uint32_t start = clock.TickNow();
    clock.Advance(125);  // across the 32-bit wrap
    EXPECT_FALSE(clock.TickElapsed(start, 125));
    EXPECT_FALSE(TickClock::Elapsed(clock.TickNow(), start, 125));
    clock.Advance(1);
    EXPECT_TRUE(clock.TickElapsed(start, 125));
    EXPECT_TRUE(TickClock::Elapsed(clock.TickNow(), start, 125));
}

// The real clock's wait ends only once its own test says the period is over.
TEST(TickClock, SteadyDelayOutlastsThePeriod) {
    SteadyTickClock clock;
    const uint32_t start = clock.TickNow();
    clock.TickDelay(20);
    EXPECT_TRUE(clock.TickElapsed(start, 20));
}

}  // namespace zelsim
