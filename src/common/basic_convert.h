#pragma once
// Real-to-integer conversions with 16-bit Integer semantics.

#include <cstdint>
#include <optional>

namespace tarvel {

// x rounded to an integral value, an exact half to the even neighbour, in any
// floating-point rounding mode.
double roundHalfEven(double x);

// Rounds half to even, as an assignment of a real to an Integer does.
// nullopt when the result lies outside -32768..32767 (an overflow).
std::optional<std::int16_t> toInteger(double x);

// The same for the 32-bit Long range.
std::optional<std::int32_t> toLong(double x);

}  // namespace tarvel
