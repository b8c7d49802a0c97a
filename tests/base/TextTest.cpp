#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/Text.h"

namespace zelsim {

namespace {

std::string Decimal(unsigned long value, int width) {
    std::string out = "|";
    AppendDecimal(out, value, width);
    return out;
}

// The stamps of the monitor and the log are written digit by digit; they
// must read as printf's "%0*lu" would write them.
TEST(Text, DecimalsAreWrittenAsPrintfWouldWithLeadingZeros) {
    EXPECT_EQ(Decimal(0, 1), "|0");
    EXPECT_EQ(Decimal(0, 2), "|00");
    EXPECT_EQ(Decimal(7, 2), "|07");
    EXPECT_EQ(Decimal(59, 2), "|59");
    EXPECT_EQ(Decimal(123, 2), "|123") << "a wider number is never cut";
    EXPECT_EQ(Decimal(4565120, 1), "|4565120");
    EXPECT_EQ(Decimal(120, 5), "|00120");
    EXPECT_EQ(Decimal(ULONG_MAX, 1), "|" + std::to_string(ULONG_MAX));
}

TEST(Text, TwoDigitTriplesReadAsAStampOfTheDay) {
    std::string out = "|";
    AppendTwoDigitTriple(out, 7, 0, 59, ':');
    EXPECT_EQ(out, "|07:00:59");
    AppendTwoDigitTriple(out, 12, 31, 126 % 100, '/');
    EXPECT_EQ(out, "|07:00:5912/31/26");
}

}  // namespace

}  // namespace zelsim
