#include "printed_number.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "basic_convert.h"

namespace tarvel {

namespace {

constexpr int kSingleDigits = 7;
constexpr int kDoubleDigits = 15;
// Enough significant digits to show any double exactly at the tie position;
// more would only pad the shortest round-trip text with noise.
constexpr int kMaxDigits = 17;

// The exponent form is used below 1E-04: ".0001" but "1E-05".
constexpr int kSmallestFixedExponent = -4;

// Bodies of the values the runtime cannot print as digits.
constexpr std::string_view kInfinityBody = "1.#INF";
constexpr std::string_view kNanBody = "1.#QNAN";

// Significand digits and decimal exponent of a text "d.ddde+XX" from to_chars.
struct ScientificText {
    char digits[kMaxDigits + 2];
    int count = 0;
    int exponent = 0;
};

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
    int binaryExponent = 0;
    const double fraction = std::frexp(x, &binaryExponent);  // x = fraction * 2^binaryExponent
    std::uint64_t f = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    int q = binaryExponent - 53;
    const int zeros = std::countr_zero(f);
    f >>= zeros;
    q += zeros;

    const int k = digits - 1 - exponent;
    if (k >= 0) return q + 1 + k == 0;  // f * 5^k is odd, so only the power of two matters
    const int j = -k;
    // 5^23 exceeds any 53-bit significand, so no tie exists beyond j = 22.
    if (q + 1 != j || j > 22) return false;
    std::uint64_t power5 = 1;
    for (int i = 0; i < j; ++i) power5 *= 5;
    return f % power5 == 0;
}

void appendExponent(std::string& out, int exponent) {
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) out += '0';
    char buf[8];
    const auto result = std::to_chars(buf, buf + sizeof buf, magnitude);
    out.append(buf, result.ptr);
}

// Digits without sign: fixed form unless the exponent lies outside
// kSmallestFixedExponent .. precision-1. The zero before the point is kept
// only for the plain string conversion.
void appendBody(std::string& out, const DecimalDigits& d, int precision, bool zeroBeforePoint) {
    const std::string& s = d.digits;
    if (d.exponent < kSmallestFixedExponent || d.exponent >= precision) {
        out += s[0];
        if (s.size() > 1) {
            out += '.';
            out.append(s, 1);
        }
        appendExponent(out, d.exponent);
        return;
    }
    if (d.exponent >= 0) {
        const std::size_t integerDigits = static_cast<std::size_t>(d.exponent) + 1;
        if (s.size() <= integerDigits) {
            out += s;
            out.append(integerDigits - s.size(), '0');
        } else {
            out.append(s, 0, integerDigits);
            out += '.';
            out.append(s, integerDigits);
        }
        return;
    }
    if (zeroBeforePoint) out += '0';
    out += '.';
    out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    out += s;
}

void appendNonFinite(std::string& out, double x) {
    if (std::isnan(x)) {
        out += kNanBody;
    } else {
        if (x < 0) out += '-';
        out += kInfinityBody;
    }
}

// A numeric item with its sign position: " " for zero and positive values.
std::string signedText(double x, int precision) {
    std::string out;
    out.reserve(24);
    if (!std::isfinite(x)) {
        if (!(x < 0)) out += ' ';
        appendNonFinite(out, x);
        return out;
    }
    const DecimalDigits d = roundToDigits(x, precision);
    out += d.negative ? '-' : ' ';
    appendBody(out, d, precision, false);
    return out;
}

std::string withTrailingBlank(std::string s) {
    s += ' ';
    return s;
}

}  // namespace

DecimalDigits roundToDigits(double x, int digits) {
    DecimalDigits result;
    if (!std::isfinite(x)) return result;  // no digits to give
    if (x == 0.0) {
        result.digits = "0";
        return result;
    }
    digits = std::clamp(digits, 1, kMaxDigits);
    result.negative = x < 0;
    const double magnitude = std::fabs(x);

    // to_chars rounds the exact binary value correctly, ties to even. Only an
    // exact tie can differ from rounding away from zero; it is rare, so it is
    // detected from the binary value and then taken with one digit more, which
    // shows it exactly as n5, and n is rounded up.
    ScientificText text = scientific(magnitude, digits);
    if (isExactTie(magnitude, text.exponent, digits)) {
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
    }

    int count = text.count;
    while (count > 1 && text.digits[count - 1] == '0') --count;
    result.digits.assign(text.digits, static_cast<std::size_t>(count));
    result.exponent = text.exponent;
    return result;
}

std::string strSingle(float x) { return signedText(static_cast<double>(x), kSingleDigits); }

std::string strDouble(double x) { return signedText(x, kDoubleDigits); }

std::string strInteger(long long v) {
    char buf[24];
    buf[0] = ' ';
    const auto result = std::to_chars(buf + 1, buf + sizeof buf, v);
    // A negative value brings its own "-", which takes the sign position.
    char* first = v < 0 ? buf + 1 : buf;
    return std::string(first, result.ptr);
}

std::string printSingle(float x) { return withTrailingBlank(strSingle(x)); }

std::string printDouble(double x) { return withTrailingBlank(strDouble(x)); }

std::string printInteger(long long v) { return withTrailingBlank(strInteger(v)); }

std::string printFourDecimals(double x) {
    constexpr double kScale = 10000.0;
    constexpr int kDecimals = 4;
    // The fixed-point value is a 64-bit count of 1/10000; beyond its range
    // (and for NaN or infinity) the value is printed as a Double instead.
    constexpr double kUnitLimit = 0x1p63;

    // For a Single argument the product is exact in double arithmetic.
    const double scaled = roundHalfEven(x * kScale);
    if (!(std::fabs(scaled) < kUnitLimit)) return printDouble(x);
    const long long units = static_cast<long long>(scaled);
    const unsigned long long magnitude =
        units < 0 ? 0ULL - static_cast<unsigned long long>(units) : static_cast<unsigned long long>(units);
    const unsigned long long whole = magnitude / 10000;
    unsigned long long fraction = magnitude % 10000;

    std::string out;
    out.reserve(24);
    out += units < 0 ? '-' : ' ';
    char buf[24];
    if (whole != 0 || fraction == 0) {
        const auto result = std::to_chars(buf, buf + sizeof buf, whole);
        out.append(buf, result.ptr);
    }
    if (fraction != 0) {
        char decimals[kDecimals];
        for (int i = kDecimals - 1; i >= 0; --i) {
            decimals[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        int count = kDecimals;
        while (decimals[count - 1] == '0') --count;
        out += '.';
        out.append(decimals, static_cast<std::size_t>(count));
    }
    out += ' ';
    return out;
}

std::string printTruncated(float x) { return printSingle(std::trunc(x)); }

std::string plainDouble(double x) {
    std::string out;
    out.reserve(24);
    if (!std::isfinite(x)) {
        appendNonFinite(out, x);
        return out;
    }
    const DecimalDigits d = roundToDigits(x, kDoubleDigits);
    if (d.negative) out += '-';
    appendBody(out, d, kDoubleDigits, true);
    return out;
}

std::string roundedText3(double r) { return plainDouble(std::floor(r * 1000.0 + 0.5) / 1000.0); }

}  // namespace tarvel
