#include "basic_convert.h"

#include <cmath>
#include <limits>

namespace tarvel {

namespace {

// x rounded half to even when the result fits Int, else nullopt (NaN too).
template <typename Int>
std::optional<Int> toIntegral(double x) {
    const double r = roundHalfEven(x);
    constexpr double kLowest = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double kHighest = static_cast<double>(std::numeric_limits<Int>::max());
    if (!(r >= kLowest && r <= kHighest)) return std::nullopt;
    return static_cast<Int>(r);
}

}  // namespace

double roundHalfEven(double x) {
    const double nearest = std::round(x);  // halves away from zero
    if (std::fabs(x - std::trunc(x)) != 0.5) return nearest;
    return 2.0 * std::round(x / 2.0);
}

std::optional<std::int16_t> toInteger(double x) { return toIntegral<std::int16_t>(x); }

std::optional<std::int32_t> toLong(double x) { return toIntegral<std::int32_t>(x); }

}  // namespace tarvel
