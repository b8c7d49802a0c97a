#include <gtest/gtest.h>

#include "base/NmeaChecksum.h"

namespace zelsim {

TEST(NmeaChecksum, TextChecksumSumsWhatFollowsTheLastDollar) {
    EXPECT_EQ(ChecksumSuffix(TextChecksum("$PKVTQ,DML,SET1")), "*7E");
    EXPECT_EQ(ChecksumSuffix(TextChecksum("$GPVTG,,T,,M")), "*4B");
    EXPECT_EQ(ChecksumSuffix(TextChecksum("noise $X$AB")), "*03");
    EXPECT_EQ(ChecksumSuffix(TextChecksum("$PKVTK,0")), "*4E");
    EXPECT_EQ(ChecksumSuffix(TextChecksum("$")), "*00");
    EXPECT_EQ(ChecksumSuffix(TextChecksum("AB")), "*03") << "without a dollar the whole text";
    EXPECT_EQ(ChecksumSuffix(TextChecksum("")), "*00");
}

TEST(NmeaChecksum, HexDigitsOfEitherCase) {
    const char* digits = "0123456789abcdefABCDEF";
    const uint8_t values[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                              11, 12, 13, 14, 15, 10, 11, 12, 13, 14, 15};
    for (size_t i = 0; digits[i]; ++i) {
        EXPECT_TRUE(IsHexDigit(digits[i])) << digits[i];
        EXPECT_EQ(HexValue(digits[i]), values[i]) << digits[i];
    }
    for (char c : {'g', 'G', '/', ':', '@', '`', ' '}) EXPECT_FALSE(IsHexDigit(c)) << c;
}

}  // namespace zelsim
