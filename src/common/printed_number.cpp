#include "printed_number.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "basic_convert.h"
#include "decimal_digits.h"

namespace tarvel {

namespace {

using decimal::eightDigitValues;
using decimal::kAsciiZeros;
using decimal::kMaxPower5;
using decimal::kPower5;
using decimal::storeBytes;
using decimal::writeFixedDigits;

constexpr int kSingleDigits = 7;
constexpr int kDoubleDigits = 15;
// Most significant digits roundToDigits gives: 17 tell every double apart.
constexpr int kMaxDigits = 17;

// The exponent form is used below 1E-04: ".0001" but "1E-05".
constexpr int kSmallestFixedExponent = -4;

// Bodies of the values the runtime cannot print as digits.
constexpr std::string_view kInfinityBody = "1.#INF";
constexpr std::string_view kNanBody = "1.#QNAN";

// Significand digits (exactly as many as asked) and decimal exponent of a
// rounded magnitude.
struct ScientificText {
    char digits[kMaxDigits + 2];
    int count = 0;
    int exponent = 0;
};

// A positive finite nonzero x as f * 2^q with an integer 2^52 <= f < 2^53.
struct BinaryValue {
    std::uint64_t f = 0;
    int q = 0;
};

BinaryValue binaryValue(double x) {
    constexpr int kFractionBits = 52;
    constexpr int kExponentBias = 1023;
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const int biased = static_cast<int>(bits >> kFractionBits) & 0x7FF;
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << kFractionBits) - 1);
    if (biased != 0) {
        return {fraction | (std::uint64_t{1} << kFractionBits),
                biased - kExponentBias - kFractionBits};
    }
    // Subnormal: shift the leading one up to bit 52.
    const int shift = std::countl_zero(fraction) - (63 - kFractionBits);
    return {fraction << shift, 1 - kExponentBias - kFractionBits - shift};
}

constexpr auto kPower10 = [] {
    std::array<std::uint64_t, kMaxDigits + 1> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

// Common magnitudes, rounded exactly in integer arithmetic: x * 10^k =
// f * 5^k * 2^(q+k) is formed in 128 bits for 0 <= k <= 27 and shifted to an
// integer, a dropped half rounding away from zero. False when the scale
// needed lies outside that range (very large or very small magnitudes).
bool roundByIntegers(double magnitude, int digits, ScientificText& text) {
    using Wide = unsigned __int128;
    const BinaryValue v = binaryValue(magnitude);

    const auto scaled = [&](int k) -> std::uint64_t {
        const Wide m = static_cast<Wide>(v.f) * kPower5[static_cast<std::size_t>(k)];
        const int shift = v.q + k;
        // The exponent estimate keeps x * 10^k below 10^(digits+1), so the
        // result has at most 18 digits and m is at least 2^52.
        if (shift >= 0) return static_cast<std::uint64_t>(m << shift);
        const int drop = -shift;
        const Wide kept = m >> drop;
        const Wide half = (m >> (drop - 1)) & 1u;
        return static_cast<std::uint64_t>(kept + half);
    };

    // With 2^b <= x < 2^(b+1), b = q + 52, the decimal exponent is
    // floor(b * log10 2) or one more; 78913 / 2^18 is log10 2 closely enough
    // for any double.
    int exponent = ((v.q + 52) * 78913) >> 18;
    int k = digits - 1 - exponent;
    if (k < 1 || k > kMaxPower5) return false;
    std::uint64_t n = scaled(k);
    const std::uint64_t limit = kPower10[static_cast<std::size_t>(digits)];
    if (n >= limit) {
        // Either the exponent is one more, or x rounds up to the next power
        // of ten; both are settled on the next coarser grid.
        ++exponent;
        n = scaled(--k);
        if (n >= limit) {
            n = kPower10[static_cast<std::size_t>(digits - 1)];
            ++exponent;
        }
    }
    const auto result = std::to_chars(text.digits, text.digits + sizeof text.digits, n);
    text.count = static_cast<int>(result.ptr - text.digits);
    text.exponent = exponent;
    return true;
}

ScientificText scientific(double magnitude, int digits) {
    char buf[64];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, digits - 1);
    ScientificText text;
    const char* p = buf;
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p != '.') text.digits[text.count++] = *p;
    }
    // p is at 'e': a sign, then two or three digits.
    ++p;
    const bool negativeExponent = (*p == '-');
    int exponent = 0;
    for (++p; p != result.ptr; ++p) exponent = exponent * 10 + (*p - '0');
    text.exponent = negativeExponent ? -exponent : exponent;
    return text;
}

// True when a positive finite x lies exactly halfway between two neighbours
// on the grid of `digits` significant digits whose first digit has decimal
// exponent `exponent`, i.e. when 2 * x * 10^k is an odd integer with
// k = digits - 1 - exponent. With x = f * 2^q, f odd, that is decided on the
// binary exponent and, for k < 0, on the divisibility of f by 5^-k.
bool isExactTie(double x, int exponent, int digits) {
    const BinaryValue v = binaryValue(x);
    const int zeros = std::countr_zero(v.f);
    const std::uint64_t f = v.f >> zeros;
    const int q = v.q + zeros;

    const int k = digits - 1 - exponent;
    if (k >= 0) return q + 1 + k == 0;  // f * 5^k is odd, so only the power of two matters
    const int j = -k;
    // 5^23 exceeds any 53-bit significand, so no tie exists beyond j = 22.
    if (q + 1 != j || j > 22) return false;
    return f % kPower5[static_cast<std::size_t>(j)] == 0;
}

// The remaining magnitudes: to_chars rounds the exact binary value correctly,
// ties to even. Only an exact tie can differ from rounding away from zero; it
// is detected from the binary value and then printed with one digit more,
// which shows it exactly as n5, and n is rounded up.
ScientificText roundByText(double magnitude, int digits) {
    ScientificText text = scientific(magnitude, digits);
    if (!isExactTie(magnitude, text.exponent, digits)) return text;
    text = scientific(magnitude, digits + 1);
    text.count = digits;
    int i = digits - 1;
    while (i >= 0 && text.digits[i] == '9') text.digits[i--] = '0';
    if (i >= 0) {
        ++text.digits[i];
    } else {
        text.digits[0] = '1';  // 99..9 + 1: one more decimal place
        ++text.exponent;
    }
    return text;
}

// Significant digits of a Single as an integer of exactly seven digits,
// trailing zeros included; x ~ 0.d1d2...d7 * 10^(exponent+1).
struct SingleDigits {
    std::uint32_t value = 0;
    int exponent = 0;
};

// Single values from 1E-11 to below 1E+07, nearly every value printed: with
// x = m * 2^e (2^23 <= m < 2^24), x * 10^k = m * 5^k * 2^(e+k) is formed
// exactly in 64 bits for 0 <= k <= 17 (m * 5^17 < 2^64) and shifted to an
// integer, a dropped half rounding away from zero; the digits are the same
// as roundByIntegers gives. False for other magnitudes and for subnormals.
bool roundSingle(float magnitude, SingleDigits& out) {
    constexpr int kFractionBits = 23;
    constexpr int kExponentBias = 127;
    constexpr int kMaxSingleScale = 17;
    const auto bits = std::bit_cast<std::uint32_t>(magnitude);
    const int biased = static_cast<int>(bits >> kFractionBits);
    if (biased == 0) return false;
    const std::uint64_t m = (bits & ((std::uint32_t{1} << kFractionBits) - 1)) | (std::uint32_t{1} << kFractionBits);
    const int e = biased - kExponentBias - kFractionBits;

    const auto scaled = [&](int k) -> std::uint64_t {
        const std::uint64_t v = m * kPower5[static_cast<std::size_t>(k)];
        const int shift = e + k;
        // x * 10^k stays below 10^(kSingleDigits+1), so neither shift loses
        // a bit that matters or overflows.
        if (shift >= 0) return v << shift;
        const int drop = -shift;
        return (v >> drop) + ((v >> (drop - 1)) & 1);
    };

    // floor(log10 2^(e+23)) is the decimal exponent or one less.
    int exponent = ((e + kFractionBits) * 78913) >> 18;
    int k = kSingleDigits - 1 - exponent;
    if (k < 0 || k > kMaxSingleScale) return false;
    std::uint64_t n = scaled(k);
    constexpr std::uint64_t kLimit = kPower10[kSingleDigits];
    if (n >= kLimit) {
        if (k == 0) return false;
        ++exponent;
        n = scaled(--k);
        if (n >= kLimit) {
            n = kPower10[kSingleDigits - 1];
            ++exponent;
        }
    }
    out.value = static_cast<std::uint32_t>(n);
    out.exponent = exponent;
    return true;
}

constexpr std::size_t kItemRoom = kPrintedItemRoom;

char* writeDigits(char* p, const char* digits, int count) {
    for (int i = 0; i < count; ++i) *p++ = digits[i];
    return p;
}

char* writeExponent(char* p, int exponent) {
    *p++ = 'E';
    *p++ = exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) *p++ = '0';
    return std::to_chars(p, p + 8, magnitude).ptr;
}

// Digits without sign: fixed form unless the exponent lies outside
// kSmallestFixedExponent .. precision-1. The zero before the point is kept
// only for the plain string conversion.
char* writeBody(char* p, const char* s, int count, int exponent, int precision, bool zeroBeforePoint) {
    if (exponent < kSmallestFixedExponent || exponent >= precision) {
        *p++ = s[0];
        if (count > 1) {
            *p++ = '.';
            p = writeDigits(p, s + 1, count - 1);
        }
        return writeExponent(p, exponent);
    }
    if (exponent >= 0) {
        const int integerDigits = exponent + 1;
        if (count <= integerDigits) {
            p = writeDigits(p, s, count);
            for (int i = count; i < integerDigits; ++i) *p++ = '0';
        } else {
            p = writeDigits(p, s, integerDigits);
            *p++ = '.';
            p = writeDigits(p, s + integerDigits, count - integerDigits);
        }
        return p;
    }
    if (zeroBeforePoint) *p++ = '0';
    *p++ = '.';
    for (int i = 0; i < -exponent - 1; ++i) *p++ = '0';
    return writeDigits(p, s, count);
}

char* writeNonFinite(char* p, double x) {
    std::string_view body = kNanBody;
    if (!std::isnan(x)) {
        if (x < 0) *p++ = '-';
        body = kInfinityBody;
    }
    return writeDigits(p, body.data(), static_cast<int>(body.size()));
}

// The rounded significand of a finite nonzero magnitude, trailing zeros removed.
ScientificText significand(double magnitude, int digits) {
    ScientificText text;
    if (!roundByIntegers(magnitude, digits, text)) text = roundByText(magnitude, digits);
    while (text.count > 1 && text.digits[text.count - 1] == '0') --text.count;
    return text;
}

// A numeric item with its sign position: " " for zero and positive values.
char* writeSigned(char* p, double x, int precision) {
    if (!std::isfinite(x)) {
        if (!(x < 0)) *p++ = ' ';
        return writeNonFinite(p, x);
    }
    if (x == 0.0) {
        *p++ = ' ';
        *p++ = '0';
        return p;
    }
    *p++ = x < 0 ? '-' : ' ';
    const ScientificText text = significand(std::fabs(x), std::clamp(precision, 1, kMaxDigits));
    return writeBody(p, text.digits, text.count, text.exponent, precision, false);
}

// A Single item with its sign position.
char* writeSingleSigned(char* p, float x) {
    const float magnitude = std::fabs(x);
    SingleDigits digits;
    if (!(magnitude > 0.0f) || !roundSingle(magnitude, digits)) {
        return writeSigned(p, static_cast<double>(x), kSingleDigits);
    }
    *p++ = x < 0 ? '-' : ' ';
    // The forms of writeBody, written from the seven digits at once: their
    // values in bytes 0..6 (first digit lowest), byte 7 zero. The digits
    // beyond the last nonzero one are the zero bytes at the top; every form
    // stores eight bytes and keeps only the ones it needs.
    const std::uint64_t values = eightDigitValues(digits.value) >> 8;
    const int count = 8 - std::countl_zero(values) / 8;
    const std::uint64_t text = values + kAsciiZeros;
    const int exponent = digits.exponent;
    if (exponent < kSmallestFixedExponent || exponent >= kSingleDigits) {
        *p++ = static_cast<char>(text);
        if (count > 1) {
            *p++ = '.';
            storeBytes(p, text >> 8);
            p += count - 1;
        }
        return writeExponent(p, exponent);
    }
    if (exponent < 0) {
        *p++ = '.';
        storeBytes(p, kAsciiZeros);  // the zeros after the point, up to three
        p += -exponent - 1;
        storeBytes(p, text);
        return p + count;
    }
    // The integer part is the first exponent + 1 digits, zeros included.
    const int integerDigits = exponent + 1;
    storeBytes(p, text);
    if (count <= integerDigits) return p + integerDigits;
    p += integerDigits;
    *p++ = '.';
    storeBytes(p, text >> (8 * integerDigits));
    return p + (count - integerDigits);
}

std::string signedText(double x, int precision) {
    char buf[kItemRoom];
    return std::string(buf, writeSigned(buf, x, precision));
}

}  // namespace

DecimalDigits roundToDigits(double x, int digits) {
    DecimalDigits result;
    if (!std::isfinite(x)) return result;  // no digits to give
    if (x == 0.0) {
        result.digits = "0";
        return result;
    }
    result.negative = x < 0;
    const ScientificText text = significand(std::fabs(x), std::clamp(digits, 1, kMaxDigits));
    result.digits.assign(text.digits, static_cast<std::size_t>(text.count));
    result.exponent = text.exponent;
    return result;
}

std::string strSingle(float x) {
    char buf[kItemRoom];
    return std::string(buf, writeSingleSigned(buf, x));
}

std::string strDouble(double x) { return signedText(x, kDoubleDigits); }

std::string strInteger(long long v) {
    char buf[24];
    buf[0] = ' ';
    const auto result = std::to_chars(buf + 1, buf + sizeof buf, v);
    // A negative value brings its own "-", which takes the sign position.
    char* first = v < 0 ? buf + 1 : buf;
    return std::string(first, result.ptr);
}

std::string printSingle(float x) {
    char buf[kPrintedItemRoom];
    return std::string(buf, writeSingle(buf, x));
}

std::string printDouble(double x) {
    char buf[kPrintedItemRoom];
    return std::string(buf, writeDouble(buf, x));
}

std::string printInteger(long long v) {
    char buf[kPrintedItemRoom];
    return std::string(buf, writeInteger(buf, v));
}

char* writeSingle(char* p, float x) {
    p = writeSingleSigned(p, x);
    *p++ = ' ';
    return p;
}

char* writeDouble(char* p, double x) {
    p = writeSigned(p, x, kDoubleDigits);
    *p++ = ' ';
    return p;
}

char* writeInteger(char* p, long long v) {
    // A negative value brings its own "-", which takes the sign position.
    if (v >= 0) *p++ = ' ';
    p = std::to_chars(p, p + 24, v).ptr;
    *p++ = ' ';
    return p;
}

char* writeTruncated(char* p, float x) { return writeSingle(p, std::trunc(x)); }

char* writeFourDecimals(char* p, double x) {
    constexpr int kDecimals = 4;
    constexpr unsigned long long kUnitsPerWhole = 10000;
    constexpr double kScale = static_cast<double>(kUnitsPerWhole);
    // The fixed-point value is a 64-bit count of 1/10000; beyond its range
    // (and for NaN or infinity) the value is printed as a Double instead.
    constexpr double kUnitLimit = 0x1p63;

    // For a Single argument the product is exact in double arithmetic.
    const double product = x * kScale;

    // Below 10^8 units (|x| < 10^4, nearly every value) the count is rounded
    // by the addition of 2^52 itself, half to even, and its eight digits are
    // formed at once: four of the whole part, four decimals.
    constexpr double kRoundingOffset = 0x1p52;
    constexpr double kEightDigitUnits = 99999999.0;
    constexpr int kWholeDigits = 4;
    const double productMagnitude = std::fabs(product);
    if (productMagnitude < kEightDigitUnits) {
        const auto units = static_cast<std::uint32_t>((productMagnitude + kRoundingOffset) - kRoundingOffset);
        const std::uint64_t values = eightDigitValues(units);
        const std::uint64_t text = values + kAsciiZeros;
        const auto wholeValues = static_cast<std::uint32_t>(values);
        const auto decimalValues = static_cast<std::uint32_t>(values >> 32);
        *p++ = x < 0 && units != 0 ? '-' : ' ';
        if (wholeValues != 0 || decimalValues == 0) {
            // The leading zero digits are the zero bytes at the bottom; a
            // whole part of zero keeps its last digit.
            const int skipped = wholeValues == 0 ? 3 : std::countr_zero(wholeValues) / 8;
            storeBytes(p, text >> (8 * skipped));
            p += kWholeDigits - skipped;
        }
        if (decimalValues != 0) {
            *p++ = '.';
            storeBytes(p, text >> 32);
            p += kDecimals - std::countl_zero(decimalValues) / 8;
        }
        *p++ = ' ';
        return p;
    }

    const double scaled = roundHalfEven(product);
    if (!(std::fabs(scaled) < kUnitLimit)) return writeDouble(p, x);
    const long long units = static_cast<long long>(scaled);
    const unsigned long long magnitude = units < 0 ? 0ULL - static_cast<unsigned long long>(units)
                                                   : static_cast<unsigned long long>(units);
    const unsigned long long whole = magnitude / kUnitsPerWhole;
    auto fraction = static_cast<std::uint32_t>(magnitude % kUnitsPerWhole);

    *p++ = units < 0 ? '-' : ' ';
    if (whole != 0 || fraction == 0) p = std::to_chars(p, p + 24, whole).ptr;
    if (fraction != 0) {
        int count = kDecimals;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --count;
        }
        *p++ = '.';
        p = writeFixedDigits(p, fraction, count);
    }
    *p++ = ' ';
    return p;
}

void appendSingle(std::string& out, float x) {
    char buf[kPrintedItemRoom];
    out.append(buf, writeSingle(buf, x));
}

void appendDouble(std::string& out, double x) {
    char buf[kPrintedItemRoom];
    out.append(buf, writeDouble(buf, x));
}

void appendInteger(std::string& out, long long v) {
    char buf[kPrintedItemRoom];
    out.append(buf, writeInteger(buf, v));
}

void appendTruncated(std::string& out, float x) {
    char buf[kPrintedItemRoom];
    out.append(buf, writeTruncated(buf, x));
}

std::string printFourDecimals(double x) {
    char buf[kPrintedItemRoom];
    return std::string(buf, writeFourDecimals(buf, x));
}

void appendFourDecimals(std::string& out, double x) {
    char buf[kPrintedItemRoom];
    out.append(buf, writeFourDecimals(buf, x));
}

std::string printWithDigits(double x, int digits) {
    char buf[kPrintedItemRoom];
    char* p = writeSigned(buf, x, digits);
    *p++ = ' ';
    return std::string(buf, p);
}

std::string printTruncated(float x) { return printSingle(std::trunc(x)); }

std::string plainDouble(double x) {
    char buf[kItemRoom];
    char* p = buf;
    if (!std::isfinite(x)) {
        p = writeNonFinite(p, x);
    } else if (x == 0.0) {
        *p++ = '0';
    } else {
        if (x < 0) *p++ = '-';
        const ScientificText text = significand(std::fabs(x), kDoubleDigits);
        p = writeBody(p, text.digits, text.count, text.exponent, kDoubleDigits, true);
    }
    return std::string(buf, p);
}

std::string roundedText3(double r) { return plainDouble(std::floor(r * 1000.0 + 0.5) / 1000.0); }

}  // namespace tarvel
