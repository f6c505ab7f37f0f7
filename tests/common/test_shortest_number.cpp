// The shortest text of a float or double must be byte for byte the text of
// std::to_chars, which the --json files have always carried: compared over
// millions of values, every binary exponent and the awkward cases.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "common/shortest_number.h"

namespace tarvel {
namespace {

template <typename F>
std::string ours(F x) {
    char buf[kShortestRoom];
    return std::string(buf, writeShortest(buf, x));
}

template <typename F>
std::string library(F x) {
    char buf[64];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
}

// Counts the values whose texts differ; the first few are reported.
template <typename F>
class Comparison {
public:
    void check(F x) {
        ++checked_;
        const std::string a = ours(x);
        const std::string b = library(x);
        if (a != b && ++differing_ <= 10) {
            ADD_FAILURE() << "bits " << std::bit_cast<std::conditional_t<sizeof(F) == 4, std::uint32_t, std::uint64_t>>(x)
                          << ": '" << a << "' instead of '" << b << "'";
        }
    }
    void checkBoth(F x) {
        check(x);
        check(-x);
    }
    long checked() const { return checked_; }
    long differing() const { return differing_; }

private:
    long checked_ = 0;
    long differing_ = 0;
};

TEST(ShortestNumber, ExamplesInBothForms) {
    EXPECT_EQ(ours(0.0f), "0");
    EXPECT_EQ(ours(-0.0f), "-0");
    EXPECT_EQ(ours(0.1f), "0.1");
    EXPECT_EQ(ours(-459.65f), "-459.65");
    EXPECT_EQ(ours(12500.0f), "12500");
    EXPECT_EQ(ours(1e-5f), "1e-05");
    EXPECT_EQ(ours(0.001f), "0.001");
    EXPECT_EQ(ours(0.0001f), "1e-04");  // shorter than "0.0001"
    EXPECT_EQ(ours(1.25e-7f), "1.25e-07");
    EXPECT_EQ(ours(1e20f), "1e+20");
    EXPECT_EQ(ours(2.0f / 3.0f), "0.6666667");
    EXPECT_EQ(ours(0.3), "0.3");
    EXPECT_EQ(ours(1.0 / 3.0), "0.3333333333333333");
    EXPECT_EQ(ours(std::numeric_limits<float>::infinity()), "inf");
}

TEST(ShortestNumber, FloatsSpreadOverEveryBitPattern) {
    Comparison<float> c;
    // A stride prime to every power of two visits every exponent and every
    // low-bit pattern of the significand.
    constexpr std::uint64_t kStride = 4093;
    for (std::uint64_t bits = 0; bits < (std::uint64_t{1} << 32); bits += kStride) {
        c.check(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    }
    EXPECT_EQ(c.differing(), 0) << "of " << c.checked();
}

TEST(ShortestNumber, EveryFloatOfTwoBinades) {
    // [0.5, 2): the magnitudes of most table entries, each value once.
    Comparison<float> c;
    for (std::uint32_t bits = std::bit_cast<std::uint32_t>(0.5f); bits < std::bit_cast<std::uint32_t>(2.0f); bits += 3) {
        c.check(std::bit_cast<float>(bits));
    }
    EXPECT_EQ(c.differing(), 0) << "of " << c.checked();
}

TEST(ShortestNumber, BoundariesOfTheIntervalAndTheForms) {
    Comparison<float> f;
    Comparison<double> d;
    // Powers of two (the lower neighbour is closer) and their neighbours.
    for (int e = -149; e <= 127; ++e) {
        const float x = std::ldexp(1.0f, e);
        f.checkBoth(x);
        f.checkBoth(std::nextafter(x, 0.0f));
        f.checkBoth(std::nextafter(x, std::numeric_limits<float>::infinity()));
    }
    for (int e = -1074; e <= 1023; ++e) {
        const double x = std::ldexp(1.0, e);
        d.checkBoth(x);
        d.checkBoth(std::nextafter(x, 0.0));
        d.checkBoth(std::nextafter(x, std::numeric_limits<double>::infinity()));
    }
    // Powers of ten, where the form and the digit count change, and values
    // with a 5 after the shortest digits (ties of the nearest choice).
    for (int e = -45; e <= 38; ++e) {
        for (const double m : {1.0, 5.0, 9.5, 9.999999, 1.5, 2.5, 0.5}) {
            const double x = m * std::pow(10.0, e);
            f.checkBoth(static_cast<float>(x));
            f.checkBoth(std::nextafter(static_cast<float>(x), 0.0f));
            d.checkBoth(x);
            d.checkBoth(std::nextafter(x, 0.0));
        }
    }
    for (std::uint32_t small = 1; small < 5000; ++small) f.check(std::bit_cast<float>(small));  // subnormal
    f.checkBoth(std::numeric_limits<float>::max());
    d.checkBoth(std::numeric_limits<double>::max());
    d.checkBoth(std::numeric_limits<double>::denorm_min());
    // Integers and short decimals as an engineer types them.
    for (int i = -100000; i <= 100000; i += 7) {
        f.check(static_cast<float>(i));
        f.check(static_cast<float>(i) / 100.0f);
        d.check(static_cast<double>(i) / 1000.0);
    }
    EXPECT_EQ(f.differing(), 0) << "of " << f.checked();
    EXPECT_EQ(d.differing(), 0) << "of " << d.checked();
}

TEST(ShortestNumber, RandomDoubles) {
    Comparison<double> c;
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> decade(-14.0, 17.0);
    for (int i = 0; i < 300000; ++i) {
        c.check(std::bit_cast<double>(random()));  // every exponent
        c.checkBoth(std::pow(10.0, decade(random)));  // the magnitudes of results
    }
    EXPECT_EQ(c.differing(), 0) << "of " << c.checked();
}

}  // namespace
}  // namespace tarvel
