#pragma once
// Numbers as the program prints them into every text file it writes:
// a sign position (blank or "-"), the digits, and one trailing blank.
// Single values carry at most 7 significant digits, Double values 15,
// Integer values plain digits; no trailing zeros, no zero before the point
// (".5", "-.5"), exponent form "1E-05", "1.234568E+07" when the decimal
// exponent is below -4 or not below the digit count. A tie at the last digit
// rounds away from zero. Locale-independent.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvel {

// Body and sign position without the trailing blank (" 12.5", "-.5", " 0").
std::string strSingle(float x);
std::string strDouble(double x);
std::string strInteger(long long v);

// A numeric item as a print statement writes it: the above plus one blank.
std::string printSingle(float x);
std::string printDouble(double x);
std::string printInteger(long long v);

// Longest text one numeric item needs: sign, 17 digits, point, leading
// zeros, exponent, trailing blank.
inline constexpr std::size_t kPrintedItemRoom = 48;

// The same items written at p, which has room for kPrintedItemRoom
// characters; the end of the item is returned.
char* writeSingle(char* p, float x);
char* writeDouble(char* p, double x);
char* writeInteger(char* p, long long v);
char* writeFourDecimals(char* p, double x);
char* writeTruncated(char* p, float x);

// The same items appended to `out`, for long texts written item by item.
void appendSingle(std::string& out, float x);
void appendDouble(std::string& out, double x);
void appendInteger(std::string& out, long long v);
void appendFourDecimals(std::string& out, double x);
void appendTruncated(std::string& out, float x);

// A four-decimal item of the report: x scaled to 1/10000 and rounded half to
// even on its binary value, printed with at most four decimals, no trailing
// zeros and never in exponent form, with sign position and trailing blank
// (" .0312 ", "-1.5 ", " 0 ").
std::string printFourDecimals(double x);

// A truncated item of the report: the integer part (toward zero) of a Single,
// printed as a Single (" 349 ").
std::string printTruncated(float x);

// A numeric item of `digits` significant digits (1..17), by the general
// rounding that serves every precision; printSingle(x) is
// printWithDigits(x, 7) and printDouble(x) printWithDigits(x, 15).
std::string printWithDigits(double x, int digits);

// Plain decimal text of a Double as a string conversion gives it: 15
// significant digits, no sign position, the zero before the point kept
// ("0.5", "-12.346", "1E-08").
std::string plainDouble(double x);

// Text of a drawing number: r rounded half up at the third decimal,
// floor(r*1000 + 0.5)/1000, as plain decimal text (12.3456 -> "12.346",
// 2.5 -> "2.5", -0.0004 -> "0").
std::string roundedText3(double r);

// Decimal significand digits and exponent of x rounded to `digits`
// significant digits, ties away from zero: x ~ 0.d1d2d3... * 10^(exponent+1).
// Trailing zeros are removed; zero gives digits "0" and exponent 0.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
    bool negative = false;
};
DecimalDigits roundToDigits(double x, int digits);

}  // namespace tarvel
