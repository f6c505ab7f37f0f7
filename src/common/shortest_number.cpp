#include "shortest_number.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "decimal_digits.h"

namespace tarvel {

namespace {

using decimal::kMaxPower5;
using decimal::kPower5;
using decimal::writeFixedDigits;

using Wide = unsigned __int128;

template <typename F>
struct BinaryFormat;
template <>
struct BinaryFormat<float> {
    using Bits = std::uint32_t;
    static constexpr int kFractionBits = 23;
    static constexpr int kExponentBias = 127;
};
template <>
struct BinaryFormat<double> {
    using Bits = std::uint64_t;
    static constexpr int kFractionBits = 52;
    static constexpr int kExponentBias = 1023;
};

// floor(log10(2^q)) and floor(log10(3/4 * 2^q)) for |q| up to well beyond
// the exponents of a double, in integer arithmetic.
int floorLog10Pow2(int q) { return (q * 315653) >> 20; }
int floorLog10ThreeQuartersPow2(int q) { return (q * 1262611 - 524031) >> 22; }

// A bound of the rounding interval in units of the decimal grid: its integer
// part and whether it is exactly that integer.
struct GridValue {
    std::uint64_t floor = 0;
    bool exact = false;
};

// The shortest decimal D * 10^E that reads back to the positive finite x,
// when it can be found in integer arithmetic: the rounding interval of x is
// [x - ulp/2, x + ulp/2] (the lower half ulp halved at a power of two), its
// ends included when the significand is even. With 10^k the largest power of
// ten not above the interval's width, at most one multiple of 10^(k+1) and at
// least one of 10^k lie in it; the one multiple of 10^(k+1) if there is one,
// else the multiple of 10^k nearest x (ties to even). D may end in zeros;
// the writer drops them.
template <typename F>
bool shortestDigits(F x, std::uint64_t& digits, int& exponent) {
    using Format = BinaryFormat<F>;
    using Bits = typename Format::Bits;
    constexpr int kFractionBits = Format::kFractionBits;
    const auto bits = std::bit_cast<Bits>(x);
    const int biased = static_cast<int>(bits >> kFractionBits);
    const std::uint64_t fraction = bits & ((Bits{1} << kFractionBits) - 1);
    if (biased == 0) return false;  // subnormal
    const std::uint64_t c = fraction | (std::uint64_t{1} << kFractionBits);
    const int q = biased - Format::kExponentBias - kFractionBits;  // x = c * 2^q
    const bool lowerCloser = fraction == 0 && biased > 1;
    const int k = lowerCloser ? floorLog10ThreeQuartersPow2(q) : floorLog10Pow2(q);
    // x / 10^k = 4c * 5^j * 2^-shift with j = -k: formed exactly in 128 bits
    // for the common magnitudes only.
    const int j = -k;
    const int shift = 2 - q - j;
    if (j < 0 || j > kMaxPower5 || shift < 1 || shift > 120) return false;

    const auto settle = [&](auto unit) {
        using Int = decltype(unit);
        const Int power = kPower5[static_cast<std::size_t>(j)];
        const Int mask = (Int{1} << shift) - 1;
        const auto grid = [&](std::uint64_t fourTimes) {
            const Int n = static_cast<Int>(fourTimes) * power;
            return GridValue{static_cast<std::uint64_t>(n >> shift), (n & mask) == 0};
        };
        const Int centre = static_cast<Int>(4 * c) * power;
        const auto s = static_cast<std::uint64_t>(centre >> shift);
        const GridValue lower = grid(lowerCloser ? 4 * c - 1 : 4 * c - 2);
        const GridValue upper = grid(4 * c + 2);
        const bool endsIncluded = c % 2 == 0;
        const auto inside = [&](std::uint64_t g) {
            const bool aboveLower = g > lower.floor || (endsIncluded && lower.exact && g == lower.floor);
            const bool belowUpper =
                g < upper.floor || (g == upper.floor && (endsIncluded || !upper.exact));
            return aboveLower && belowUpper;
        };

        const std::uint64_t coarse = s / 10 * 10;
        const bool coarseBelow = inside(coarse);
        const bool coarseAbove = inside(coarse + 10);
        if (coarseBelow != coarseAbove) {
            digits = s / 10 + (coarseAbove ? 1 : 0);
            exponent = k + 1;
            return;
        }
        const bool below = inside(s);
        const bool above = inside(s + 1);
        bool up = above;
        if (below && above) {
            const Int rest = centre & mask;
            const Int half = Int{1} << (shift - 1);
            up = rest > half || (rest == half && s % 2 == 1);
        }
        digits = s + (up ? 1 : 0);
        exponent = k;
    };
    // 4c * 5^j < 2^26 * 5^15 < 2^61 for a float: 64 bits suffice.
    constexpr int kNarrowPower5 = 15;
    if (kFractionBits + 3 <= 26 && j <= kNarrowPower5 && shift <= 63) {
        settle(std::uint64_t{});
    } else {
        settle(Wide{});
    }
    return true;
}

constexpr int kMaxDigits = 20;  // of a 64-bit unsigned value

constexpr auto kPower10 = [] {
    std::array<std::uint64_t, kMaxDigits> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

int digitCount(std::uint64_t v) {
    // 1233 / 4096 is just above log10 2: the estimate is the count or one less.
    const int estimate = ((64 - std::countl_zero(v | 1)) * 1233) >> 12;
    return estimate + (estimate < kMaxDigits && v >= kPower10[static_cast<std::size_t>(estimate)] ? 1 : 0);
}

char* fill(char* p, char c, int count) {
    for (int i = 0; i < count; ++i) *p++ = c;
    return p;
}

// Whether n digits times 10^exponent are no longer in the fixed form than in
// the exponent form (the shorter one is written, the fixed one on a tie).
bool fixedIsShorter(int n, int exponent) {
    const int scientificExponent = exponent + n - 1;
    const int magnitude = scientificExponent < 0 ? -scientificExponent : scientificExponent;
    const int scientificLength = n + (n > 1 ? 1 : 0) + 2 + (magnitude >= 100 ? 3 : 2);
    const int fixedLength = exponent >= 0 ? n + exponent : (-exponent < n ? n + 1 : 2 - exponent);
    return fixedLength <= scientificLength;
}

// "e", the sign and two or three digits of the exponent.
char* writeExponent(char* p, int scientificExponent) {
    const int magnitude = scientificExponent < 0 ? -scientificExponent : scientificExponent;
    *p++ = 'e';
    *p++ = scientificExponent < 0 ? '-' : '+';
    const int expDigits = magnitude >= 100 ? 3 : 2;
    writeFixedDigits(p, static_cast<std::uint32_t>(magnitude), expDigits);
    return p + expDigits;
}

// D * 10^E, D < 10^8 (every float, most doubles met), trailing zeros of D
// not yet removed, in the shorter of the fixed and the exponent form. The digits are formed at once in the bytes of
// one word and each form is written with whole-word stores, of which only
// the bytes it needs are kept: the shorter form never needs more than five
// zeros after the digits or four after the point.
char* writeEightDigitDecimal(char* p, std::uint32_t value, int exponent) {
    using decimal::eightDigitValues;
    using decimal::kAsciiZeros;
    using decimal::storeBytes;
    const std::uint64_t values = eightDigitValues(value);
    // The leading zeros are the zero bytes at the bottom, the trailing zeros
    // the zero bytes at the top; D is not zero.
    const int leading = std::countr_zero(values) / 8;
    const int trailing = std::countl_zero(values) / 8;
    const int n = 8 - leading - trailing;
    exponent += trailing;
    const std::uint64_t text = (values + kAsciiZeros) >> (8 * leading);
    if (fixedIsShorter(n, exponent)) {
        if (exponent >= 0) {
            storeBytes(p, text);
            storeBytes(p + n, kAsciiZeros);
            return p + n + exponent;
        }
        const int decimals = -exponent;
        if (decimals < n) {
            const int whole = n - decimals;
            storeBytes(p, text);
            p[whole] = '.';
            storeBytes(p + whole + 1, text >> (8 * whole));
            return p + n + 1;
        }
        *p++ = '0';
        *p++ = '.';
        storeBytes(p, kAsciiZeros);
        p += decimals - n;
        storeBytes(p, text);
        return p + n;
    }
    *p++ = static_cast<char>(text);
    if (n > 1) {
        *p++ = '.';
        storeBytes(p, text >> 8);
        p += n - 1;
    }
    return writeExponent(p, exponent + n - 1);
}

// D * 10^E, D not zero, in the shorter of the fixed and the exponent form.
char* writeDecimal(char* p, std::uint64_t value, int exponent) {
    constexpr std::uint64_t kEightDigitLimit = 100000000;
    if (value < kEightDigitLimit) return writeEightDigitDecimal(p, static_cast<std::uint32_t>(value), exponent);
    while (value % 10 == 0) {
        value /= 10;
        ++exponent;
    }
    if (value < kEightDigitLimit) return writeEightDigitDecimal(p, static_cast<std::uint32_t>(value), exponent);
    const int n = digitCount(value);
    if (fixedIsShorter(n, exponent)) {
        if (exponent >= 0) {
            writeFixedDigits(p, value, n);
            return fill(p + n, '0', exponent);
        }
        const int decimals = -exponent;
        if (decimals < n) {
            const int whole = n - decimals;
            const std::uint64_t unit = kPower10[static_cast<std::size_t>(decimals)];
            writeFixedDigits(p, value / unit, whole);
            p[whole] = '.';
            writeFixedDigits(p + whole + 1, value % unit, decimals);
            return p + n + 1;
        }
        *p++ = '0';
        *p++ = '.';
        p = fill(p, '0', decimals - n);
        writeFixedDigits(p, value, n);
        return p + n;
    }
    const std::uint64_t unit = kPower10[static_cast<std::size_t>(n - 1)];
    *p++ = static_cast<char>('0' + value / unit);
    if (n > 1) {
        *p++ = '.';
        writeFixedDigits(p, value % unit, n - 1);
        p += n - 1;
    }
    return writeExponent(p, exponent + n - 1);
}

template <typename F>
char* writeShortestOf(char* p, F x) {
    const bool negative = std::signbit(x);
    const F magnitude = negative ? -x : x;
    std::uint64_t digits = 0;
    int exponent = 0;
    if (magnitude > F{0} && magnitude <= std::numeric_limits<F>::max() &&
        shortestDigits(magnitude, digits, exponent)) {
        if (negative) *p++ = '-';
        return writeDecimal(p, digits, exponent);
    }
    return std::to_chars(p, p + kShortestRoom, x).ptr;
}

}  // namespace

char* writeShortest(char* p, float x) { return writeShortestOf(p, x); }

char* writeShortest(char* p, double x) { return writeShortestOf(p, x); }

}  // namespace tarvel
