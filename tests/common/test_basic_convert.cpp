// Protects real-to-Integer conversion: half to even on the binary value, overflow detection.
#include <gtest/gtest.h>

#include <cfenv>
#include <limits>

#include "common/basic_convert.h"

namespace tarvel {
namespace {

TEST(BasicConvert, IntegerRoundsHalfToEven) {
    EXPECT_EQ(toInteger(2.5), 2);
    EXPECT_EQ(toInteger(3.5), 4);
    EXPECT_EQ(toInteger(-2.5), -2);
    EXPECT_EQ(toInteger(-3.5), -4);
    EXPECT_EQ(toInteger(0.5), 0);
    EXPECT_EQ(toInteger(1.5), 2);
    EXPECT_EQ(toInteger(150.5), 150);
    EXPECT_EQ(toInteger(151.5), 152);
}

TEST(BasicConvert, IntegerRoundsTheBinaryValue) {
    // 2.5000002f is 2.50000023841857910156..., above the half.
    EXPECT_EQ(toInteger(static_cast<double>(2.5000002f)), 3);
    EXPECT_EQ(toInteger(2.4999999), 2);
    EXPECT_EQ(toInteger(-0.4), 0);
    EXPECT_EQ(toInteger(-0.6), -1);
}

TEST(BasicConvert, IntegerRangeEnds) {
    EXPECT_EQ(toInteger(-32768.5), -32768);
    EXPECT_EQ(toInteger(32767.4), 32767);
    EXPECT_EQ(toInteger(32767.5), std::nullopt);  // rounds to 32768
    EXPECT_EQ(toInteger(-32768.6), std::nullopt);
    EXPECT_EQ(toInteger(40000.0), std::nullopt);
    EXPECT_EQ(toInteger(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(toInteger(std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(BasicConvert, LongRangeEnds) {
    EXPECT_EQ(toLong(40000.0), 40000);
    EXPECT_EQ(toLong(2147483646.5), 2147483646);
    EXPECT_EQ(toLong(-2147483648.5), -2147483647 - 1);
    EXPECT_EQ(toLong(2147483647.5), std::nullopt);
    EXPECT_EQ(toLong(-3E9), std::nullopt);
}

TEST(BasicConvert, RoundHalfEvenIgnoresTheRoundingMode) {
    const int saved = std::fegetround();
    std::fesetround(FE_UPWARD);
    const double down = roundHalfEven(2.5);
    const double up = roundHalfEven(-3.5);
    const double plain = roundHalfEven(2.4);
    std::fesetround(saved);
    EXPECT_EQ(down, 2.0);
    EXPECT_EQ(up, -4.0);
    EXPECT_EQ(plain, 2.0);
}

}  // namespace
}  // namespace tarvel
