#include <gtest/gtest.h>

#include "support/FakeTickClock.h"

TEST(TickClock, ElapsedIsStrictAndSurvivesTheWrap) {
    FakeTickClock clock(0xFFFFFFF0u);
    const uint32_t start = clock.TickNow();
    clock.Advance(125);  // across the 32-bit wrap
    EXPECT_FALSE(clock.TickElapsed(start, 125));
    clock.Advance(1);
    EXPECT_TRUE(clock.TickElapsed(start, 125));
}

TEST(TickClock, DelayWaitsMoreThanThePeriod) {
    FakeTickClock clock;
    const uint32_t start = clock.TickNow();
    clock.TickDelay(100);
    EXPECT_TRUE(clock.TickElapsed(start, 100));
}
