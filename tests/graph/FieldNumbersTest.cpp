#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "graph/FieldNumbers.h"

namespace zelsim {
namespace {

using namespace field_numbers;

TEST(FieldNumbers, DecimalFormsScaleTheSignedWholeAndIgnoreExtraDecimals) {
    EXPECT_EQ(Tenths("1.5"), 15);
    EXPECT_EQ(Tenths("-2.0"), -20);
    EXPECT_EQ(Tenths("+3"), 30);
    EXPECT_EQ(Tenths("12.39"), 123);
    EXPECT_EQ(Tenths("-.5"), -5);
    EXPECT_EQ(Tenths("7x.5"), 70);
    EXPECT_EQ(Tenths("1.x5"), 10);
    EXPECT_EQ(Tenths(""), 0);

    EXPECT_EQ(Hundredths("-0.25"), -25);
    EXPECT_EQ(Hundredths("0.1"), 10);
    EXPECT_EQ(Hundredths("3"), 300);
    EXPECT_EQ(Hundredths("1.239"), 123);
    EXPECT_EQ(Hundredths("+0.05"), 5);
}

TEST(FieldNumbers, IntegersStopAtTheFirstStrangerAndWrapInTheirWidth) {
    EXPECT_EQ(Integer16("+12"), 12);
    EXPECT_EQ(Integer16("-7 V"), -7);
    EXPECT_EQ(Integer16("12ab3"), 12);
    EXPECT_EQ(Integer16("40000"), -25536);
    EXPECT_EQ(Integer16("65536"), 0);

    // The settings forms know no '+'.
    EXPECT_EQ(Integer16Minus("+12"), 0);
    EXPECT_EQ(Integer16Minus("-32768"), -32768);
    EXPECT_EQ(Integer16Minus("32768"), -32768);
    EXPECT_EQ(Integer32Minus("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Integer32Minus("4294967296"), 0);
    EXPECT_EQ(Integer32Minus("+5"), 0);

    EXPECT_EQ(Unsigned32("4294967295"), 4294967295u);
    EXPECT_EQ(Unsigned32("-5"), 0u);
    EXPECT_EQ(Byte("255"), 255);
    EXPECT_EQ(Byte("300"), 44);
}

TEST(FieldNumbers, DegreesNeedAllTheirDigits) {
    EXPECT_EQ(Degrees2("4807.0385"), 48);
    EXPECT_EQ(Degrees2("4a07.0385"), 0);
    EXPECT_EQ(Degrees2("4"), 0);
    EXPECT_EQ(Degrees3("01131.000"), 11);
    EXPECT_EQ(Degrees3("0 131.000"), 0);
    EXPECT_EQ(Degrees3("12"), 0);
    EXPECT_EQ(Degrees3("300"), 44);
}

TEST(FieldNumbers, MinutesHaveSixDecimalsWhateverIsWritten) {
    EXPECT_EQ(Minutes("07.0385"), 7038500);
    EXPECT_EQ(Minutes("07.1"), 7100000);
    EXPECT_EQ(Minutes("07.12345678"), 7123456);
    EXPECT_EQ(Minutes("  59"), 59000000);
    EXPECT_EQ(Minutes(".5"), 500000);
    EXPECT_EQ(Minutes("x7.5"), 0);
    EXPECT_EQ(Minutes(""), 0);
}

}  // namespace
}  // namespace zelsim
