// Protects printed numbers: sign position, 7/15 digits, exponent form, ties away from zero.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "common/basic_convert.h"
#include "common/printed_number.h"

namespace tarvel {
namespace {

// --- Single items: 7 significant digits -------------------------------------

TEST(PrintedNumber, SingleSignPositionAndTrailingBlank) {
    EXPECT_EQ(printSingle(12.5f), " 12.5 ");
    EXPECT_EQ(printSingle(1.0f), " 1 ");
    EXPECT_EQ(printSingle(0.0f), " 0 ");
    EXPECT_EQ(printSingle(-0.0f), " 0 ");
    EXPECT_EQ(printSingle(-3.0f), "-3 ");
    EXPECT_EQ(strSingle(12.5f), " 12.5");
    EXPECT_EQ(strSingle(-459.65f), "-459.65");
}

TEST(PrintedNumber, SingleHasNoZeroBeforeThePoint) {
    EXPECT_EQ(printSingle(0.5f), " .5 ");
    EXPECT_EQ(printSingle(-0.5f), "-.5 ");
    EXPECT_EQ(printSingle(0.25f), " .25 ");
    // 2/3 in Single is .666666686...: seven digits, the last rounded up.
    EXPECT_EQ(printSingle(2.0f / 3.0f), " .6666667 ");
    EXPECT_EQ(printSingle(10.0f / 3.0f), " 3.333333 ");
}

TEST(PrintedNumber, SingleExponentFormBeyondSevenDigits) {
    EXPECT_EQ(printSingle(1234567.0f), " 1234567 ");
    EXPECT_EQ(printSingle(9999999.0f), " 9999999 ");
    EXPECT_EQ(printSingle(12345678.0f), " 1.234568E+07 ");
    EXPECT_EQ(printSingle(1E7f), " 1E+07 ");
    EXPECT_EQ(printSingle(-12345678.0f), "-1.234568E+07 ");
}

TEST(PrintedNumber, SingleExponentFormBelowOneTenThousandth) {
    // 0.0001f is 9.99999974737875E-05; rounded to 7 digits its exponent is -4.
    EXPECT_EQ(printSingle(0.0001f), " .0001 ");
    EXPECT_EQ(printSingle(0.00012345f), " .00012345 ");
    EXPECT_EQ(printSingle(0.00001f), " 1E-05 ");
    EXPECT_EQ(printSingle(0.000012345f), " 1.2345E-05 ");
    EXPECT_EQ(printSingle(1.1E-6f), " 1.1E-06 ");
    EXPECT_EQ(printSingle(-2.5E-7f), "-2.5E-07 ");
}

TEST(PrintedNumber, SingleRangeEnds) {
    EXPECT_EQ(printSingle(3.402823E38f), " 3.402823E+38 ");
    EXPECT_EQ(printSingle(std::numeric_limits<float>::max()), " 3.402823E+38 ");
    // The smallest subnormal, 1.40129846...E-45.
    EXPECT_EQ(printSingle(std::numeric_limits<float>::denorm_min()), " 1.401298E-45 ");
}

TEST(PrintedNumber, SingleExactTieRoundsAwayFromZero) {
    // Each value is exact in Single and ends in 5 at the eighth digit.
    EXPECT_EQ(printSingle(654322.25f), " 654322.3 ");
    EXPECT_EQ(printSingle(-654322.25f), "-654322.3 ");
    EXPECT_EQ(printSingle(123456.25f), " 123456.3 ");
    EXPECT_EQ(printSingle(1234.5625f), " 1234.563 ");
    // The literal 9999999.5f is not a Single: it rounds to 1E7 already.
    EXPECT_EQ(printSingle(9999999.5f), " 1E+07 ");
}

TEST(PrintedNumber, NonFiniteValuesDoNotStopThePrint) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(printSingle(inf), " 1.#INF ");
    EXPECT_EQ(printSingle(-inf), "-1.#INF ");
    EXPECT_EQ(printSingle(std::numeric_limits<float>::quiet_NaN()), " 1.#QNAN ");
    EXPECT_EQ(printDouble(-std::numeric_limits<double>::infinity()), "-1.#INF ");
    EXPECT_EQ(plainDouble(std::numeric_limits<double>::infinity()), "1.#INF");
}

// --- Double items: 15 significant digits ------------------------------------

TEST(PrintedNumber, DoubleFifteenDigits) {
    EXPECT_EQ(printDouble(1.0 / 3.0), " .333333333333333 ");
    EXPECT_EQ(printDouble(0.1 + 0.2), " .3 ");
    EXPECT_EQ(printDouble(123456789012345.0), " 123456789012345 ");
    EXPECT_EQ(printDouble(1E15), " 1E+15 ");
    EXPECT_EQ(printDouble(1E-05), " 1E-05 ");
    EXPECT_EQ(printDouble(-2.5E-7), "-2.5E-07 ");
    // A Single widened to Double shows its binary value: 0.1f * 2.5 is
    // .2500000037252902984...
    EXPECT_EQ(printDouble(static_cast<double>(0.1f) * 2.5), " .25000000372529 ");
}

TEST(PrintedNumber, DoubleThreeExponentDigits) {
    EXPECT_EQ(printDouble(1E100), " 1E+100 ");
    EXPECT_EQ(printDouble(std::numeric_limits<double>::denorm_min()), " 4.94065645841247E-324 ");
}

TEST(PrintedNumber, DoubleExactTieRoundsAwayFromZero) {
    // 1000000000000005 is exact; to even it would give 1E+15.
    EXPECT_EQ(printDouble(1000000000000005.0), " 1.00000000000001E+15 ");
    EXPECT_EQ(printDouble(-1000000000000005.0), "-1.00000000000001E+15 ");
    // The tie carries into a new decimal place.
    EXPECT_EQ(printDouble(999999999999999.5), " 1E+15 ");
}

TEST(PrintedNumber, IntegerItems) {
    EXPECT_EQ(strInteger(459), " 459");
    EXPECT_EQ(strInteger(-459), "-459");
    EXPECT_EQ(printInteger(0), " 0 ");
    EXPECT_EQ(printInteger(-32768), "-32768 ");
    EXPECT_EQ(printInteger(std::numeric_limits<long long>::min()), "-9223372036854775808 ");
}

// --- Four-decimal and truncated items ----------------------------------------

TEST(PrintedNumber, FourDecimalsHalfToEvenOnTheBinaryValue) {
    EXPECT_EQ(printFourDecimals(0.03125f), " .0312 ");  // 312.5 -> 312
    EXPECT_EQ(printFourDecimals(-0.03125f), "-.0312 ");
    EXPECT_EQ(printFourDecimals(0.09375f), " .0938 ");  // 937.5 -> 938
    // 1.23455f is 1.2345499992...; a Single product would round to 12345.5.
    EXPECT_EQ(printFourDecimals(1.23455f), " 1.2345 ");
    // 12345.67f is 12345.669921875.
    EXPECT_EQ(printFourDecimals(12345.67f), " 12345.6699 ");
}

TEST(PrintedNumber, FourDecimalsWithoutTrailingZerosOrExponent) {
    EXPECT_EQ(printFourDecimals(-0.00004), " 0 ");
    EXPECT_EQ(printFourDecimals(3.0), " 3 ");
    EXPECT_EQ(printFourDecimals(1.5), " 1.5 ");
    EXPECT_EQ(printFourDecimals(-1.5), "-1.5 ");
    EXPECT_EQ(printFourDecimals(0.0001f), " .0001 ");
    EXPECT_EQ(printFourDecimals(12345678.0), " 12345678 ");
    EXPECT_EQ(printFourDecimals(100.0), " 100 ");
}

TEST(PrintedNumber, FourDecimalsOutsideTheFixedPointRangeFallBackToDouble) {
    EXPECT_EQ(printFourDecimals(1E20), " 1E+20 ");
    EXPECT_EQ(printFourDecimals(std::numeric_limits<double>::quiet_NaN()), " 1.#QNAN ");
}

TEST(PrintedNumber, TruncatedItemKeepsTheSingleFormat) {
    EXPECT_EQ(printTruncated(349.7f), " 349 ");
    EXPECT_EQ(printTruncated(-2.9f), "-2 ");
    EXPECT_EQ(printTruncated(-0.5f), " 0 ");
    // 12345678.9f is 12345679; its integer part still prints as a Single.
    EXPECT_EQ(printTruncated(12345678.9f), " 1.234568E+07 ");
}

// --- Plain text of a Double and drawing numbers ------------------------------

TEST(PrintedNumber, PlainDoubleKeepsTheZeroAndHasNoSignPosition) {
    EXPECT_EQ(plainDouble(0.5), "0.5");
    EXPECT_EQ(plainDouble(-0.5), "-0.5");
    EXPECT_EQ(plainDouble(25.0), "25");
    EXPECT_EQ(plainDouble(-0.0), "0");
    EXPECT_EQ(plainDouble(0.0001), "0.0001");
    EXPECT_EQ(plainDouble(1E-08), "1E-08");
    EXPECT_EQ(plainDouble(1E15), "1E+15");
    EXPECT_EQ(plainDouble(1.0 / 3.0), "0.333333333333333");
}

TEST(PrintedNumber, RoundedText3RoundsHalfUpAtTheThirdDecimal) {
    EXPECT_EQ(roundedText3(12.3456), "12.346");
    EXPECT_EQ(roundedText3(-12.3456), "-12.346");
    EXPECT_EQ(roundedText3(2.5), "2.5");
    EXPECT_EQ(roundedText3(-0.0004), "0");
    EXPECT_EQ(roundedText3(0.5), "0.5");
    EXPECT_EQ(roundedText3(0.0), "0");
    // 0.0625 * 1000 = 62.5 exactly: up for both signs.
    EXPECT_EQ(roundedText3(0.0625), "0.063");
    EXPECT_EQ(roundedText3(-0.0625), "-0.062");
}

// --- Significant-digit rounding ----------------------------------------------

void expectDigits(double x, int digits, const std::string& expected, int exponent, bool negative) {
    const DecimalDigits d = roundToDigits(x, digits);
    EXPECT_EQ(d.digits, expected) << x << " to " << digits;
    EXPECT_EQ(d.exponent, exponent) << x << " to " << digits;
    EXPECT_EQ(d.negative, negative) << x << " to " << digits;
}

TEST(RoundToDigits, ExactTiesGoAwayFromZero) {
    expectDigits(0.125, 2, "13", -1, false);
    expectDigits(-0.125, 2, "13", -1, true);
    expectDigits(2.5, 1, "3", 0, false);
    expectDigits(4.5, 1, "5", 0, false);
    expectDigits(-4.5, 1, "5", 0, true);
    // Ties above the digit grid: 125 and 145 to two digits.
    expectDigits(125.0, 2, "13", 2, false);
    expectDigits(145.0, 2, "15", 2, false);
    expectDigits(1000000000000005.0, 15, "100000000000001", 15, false);
    // 9999999.5 (a Double) to 7 digits carries into the next decade.
    expectDigits(9999999.5, 7, "1", 7, false);
}

TEST(RoundToDigits, NearTiesFollowTheBinaryValue) {
    // 0.15 is 0.14999999999999999445..., 0.35 is 0.34999999999999997779...,
    // 0.45 is 0.45000000000000001110...
    expectDigits(0.15, 1, "1", -1, false);
    expectDigits(0.35, 1, "3", -1, false);
    expectDigits(0.45, 1, "5", -1, false);
    // 250 is on the two-digit grid already.
    expectDigits(250.0, 2, "25", 2, false);
}

TEST(RoundToDigits, ZeroAndNonFinite) {
    expectDigits(0.0, 7, "0", 0, false);
    expectDigits(-0.0, 7, "0", 0, false);
    EXPECT_TRUE(roundToDigits(std::numeric_limits<double>::quiet_NaN(), 7).digits.empty());
}

// Second method: round the exact decimal expansion of x half away from zero
// by hand. No double has more than 767 significant digits, so 800 are exact.
DecimalDigits referenceDigits(double x, int digits) {
    static char buf[900];
    const double magnitude = std::fabs(x);
    const auto end =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 800).ptr;
    std::string all;
    char* p = buf;
    for (; *p != 'e'; ++p) {
        if (*p != '.') all += *p;
    }
    int exponent = std::stoi(std::string(p + 1, end));
    std::string kept = all.substr(0, static_cast<std::size_t>(digits));
    if (all[static_cast<std::size_t>(digits)] >= '5') {
        int i = digits - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
            kept[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++kept[static_cast<std::size_t>(i)];
        } else {
            kept.insert(kept.begin(), '1');
            ++exponent;
        }
    }
    while (kept.size() > 1 && kept.back() == '0') kept.pop_back();
    return {kept, exponent, x < 0};
}

TEST(RoundToDigits, AgreesWithTheExactExpansion) {
    std::mt19937_64 random(20240305);
    for (int n = 0; n < 5000; ++n) {
        // Random Single bit patterns, finite and nonzero.
        const auto bits = static_cast<std::uint32_t>(random());
        float f;
        std::memcpy(&f, &bits, sizeof f);
        if (!std::isfinite(f) || f == 0.0f) continue;
        const double x = static_cast<double>(f);
        const DecimalDigits expected = referenceDigits(x, 7);
        const DecimalDigits got = roundToDigits(x, 7);
        ASSERT_EQ(got.digits, expected.digits) << x;
        ASSERT_EQ(got.exponent, expected.exponent) << x;
    }
    for (int n = 0; n < 5000; ++n) {
        // Ties of Single type: multiples of 1/16 with six or seven digits
        // before the point, and random Double values.
        const double tie = static_cast<double>(random() % 16000000) / 16.0;
        std::uniform_real_distribution<double> mantissa(1.0, 10.0);
        const double x = std::ldexp(mantissa(random), static_cast<int>(random() % 200) - 100);
        for (const double v : {tie, -tie, x}) {
            if (v == 0.0) continue;
            for (const int digits : {7, 15}) {
                const DecimalDigits expected = referenceDigits(v, digits);
                const DecimalDigits got = roundToDigits(v, digits);
                ASSERT_EQ(got.digits, expected.digits) << v << " to " << digits;
                ASSERT_EQ(got.exponent, expected.exponent) << v << " to " << digits;
                ASSERT_EQ(got.negative, expected.negative) << v;
            }
        }
    }
}


// --- Single items by the fast route against the general rounding ----------
// printSingle settles nearly every value in 64-bit integer arithmetic;
// printWithDigits(x, 7) goes the general way that every precision takes.
// Both must give the same bytes.

class SingleComparison {
public:
    void check(float x) {
        ++checked_;
        const std::string fast = printSingle(x);
        const std::string general = printWithDigits(static_cast<double>(x), 7);
        if (fast != general && ++differing_ <= 10) {
            ADD_FAILURE() << "bits " << std::bit_cast<std::uint32_t>(x) << ": '" << fast << "' instead of '"
                          << general << "'";
        }
    }
    long checked() const { return checked_; }
    long differing() const { return differing_; }

private:
    long checked_ = 0;
    long differing_ = 0;
};

TEST(PrintedSingle, SpreadOverEveryBitPattern) {
    SingleComparison c;
    constexpr std::uint64_t kStride = 1021;  // prime: every exponent, every low-bit pattern
    for (std::uint64_t bits = 0; bits < (std::uint64_t{1} << 32); bits += kStride) {
        c.check(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    }
    EXPECT_EQ(c.differing(), 0) << "of " << c.checked();
}

TEST(PrintedSingle, EveryFloatOfTheCommonBinades) {
    // [1, 16) each value in turn (stride 5), where most lengths, ordinates
    // and forces of a frame lie once scaled.
    SingleComparison c;
    for (std::uint32_t bits = std::bit_cast<std::uint32_t>(1.0f); bits < std::bit_cast<std::uint32_t>(16.0f); bits += 5) {
        c.check(std::bit_cast<float>(bits));
    }
    EXPECT_EQ(c.differing(), 0) << "of " << c.checked();
}

TEST(PrintedSingle, TiesPowersOfTenAndTheEndsOfTheIntegerRange) {
    SingleComparison c;
    // Exact ties at the seventh digit: n + 1/2 for n of seven digits, n + 1/4
    // and n + 3/4 of six digits, and the same scaled by powers of two.
    for (int n = 1000000; n < 10000000; n += 37) {
        for (int scale = -30; scale <= 10; scale += 4) {
            c.check(std::ldexp(static_cast<float>(n) + 0.5f, scale));
            c.check(-std::ldexp(static_cast<float>(n) + 0.5f, scale));
        }
    }
    for (int n = 100000; n < 1000000; n += 11) {
        c.check(static_cast<float>(n) + 0.25f);
        c.check(static_cast<float>(n) + 0.75f);
    }
    // Powers of ten and their neighbours: the exponent form begins below
    // 1E-04 and at 1E+07, and 9999999.5 rounds up to the next decade.
    for (int e = -45; e <= 38; ++e) {
        const float x = static_cast<float>(std::pow(10.0, e));
        for (const float y : {x, std::nextafter(x, 0.0f), std::nextafter(x, 1e38f), 9.9999995f * x, 9.999999f * x}) {
            c.check(y);
            c.check(-y);
        }
    }
    for (const float x : {9999999.0f, 9999999.5f, 10000000.0f, 10000001.0f, 16777216.0f, 1e-11f, 9.99999e-12f,
                          1.1754944e-38f, 1e-45f, 3.4028235e38f}) {
        c.check(x);
        c.check(-x);
    }
    EXPECT_EQ(c.differing(), 0) << "of " << c.checked();
}

// A four-decimal item by its rule: the count of 1/10000 rounded half to even,
// written as whole units, a point and the decimals without trailing zeros.
std::string fourDecimalsByCount(double x) {
    const double units = roundHalfEven(x * 10000.0);
    const auto count = static_cast<unsigned long long>(std::fabs(units));
    std::string expected = units < 0 ? "-" : " ";
    if (count / 10000 != 0 || count % 10000 == 0) expected += std::to_string(count / 10000);
    if (count % 10000 != 0) {
        std::string decimals = std::to_string(10000 + count % 10000).substr(1);
        while (decimals.back() == '0') decimals.pop_back();
        expected += "." + decimals;
    }
    return expected + " ";
}

TEST(PrintedNumber, FourDecimalsAgreeWithTheRoundedCount) {
    // The item is the count of 1/10000 rounded half to even, written as
    // whole units, a point and the decimals without trailing zeros.
    std::mt19937 random(17);
    std::uniform_real_distribution<float> value(-2000.0f, 2000.0f);
    for (int i = 0; i < 200000; ++i) {
        const float x = i < 40000 ? static_cast<float>(i - 20000) / 8.0f : value(random);
        ASSERT_EQ(printFourDecimals(x), fourDecimalsByCount(static_cast<double>(x))) << x;
    }
}

// Double arguments, the multiples of 1/32 (every fourth an exact tie at the
// last decimal) up to beyond 10^4 units of the whole part, and the values
// around the largest count of eight digits: the same rule as the
// rounded count written digit by digit.
TEST(PrintedNumber, FourDecimalsOfDoublesAcrossTheWholeRange) {
    const auto expectedText = fourDecimalsByCount;
    std::vector<double> values;
    for (int i = -400000; i <= 400000; i += 7) values.push_back(i / 32.0);
    for (int i = -2000; i <= 2000; ++i) {
        values.push_back(9999.99995 + i * 1e-9);
        values.push_back(10000.0 + i * 1e-5);
        values.push_back(i * 1e-7);
        values.push_back(123456.78 + i * 0.33);
    }
    values.push_back(-0.00004);
    values.push_back(9999.99994999);
    for (const double x : values) {
        ASSERT_EQ(printFourDecimals(x), expectedText(x)) << x;
        ASSERT_EQ(printFourDecimals(-x), expectedText(-x)) << -x;
    }
}

}  // namespace
}  // namespace tarvel
