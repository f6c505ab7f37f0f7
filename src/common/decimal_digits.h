#pragma once

// Integer building blocks shared by the printed numbers of the result files
// and the shortest numbers of the summaries: exact powers of five and the
// decimal digits of an integer written two at a time.

#include <array>
#include <cstddef>
#include <cstdint>

namespace tarvel::decimal {

// Powers 5^0 .. 5^27, the largest that fits 63 bits.
inline constexpr int kMaxPower5 = 27;
inline constexpr auto kPower5 = [] {
    std::array<std::uint64_t, kMaxPower5 + 1> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
    return p;
}();

// "00", "01", ..., "99".
inline constexpr auto kDigitPairs = [] {
    std::array<char, 200> d{};
    for (int i = 0; i < 100; ++i) {
        d[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        d[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return d;
}();

// Writes the last `count` decimal digits of v, leading zeros included, and
// returns the end of them.
template <typename Unsigned>
char* writeFixedDigits(char* p, Unsigned v, int count) {
    char* const end = p + count;
    char* q = end;
    while (q - p >= 2) {
        const auto pair = static_cast<std::size_t>(v % 100) * 2;
        v /= 100;
        q -= 2;
        q[0] = kDigitPairs[pair];
        q[1] = kDigitPairs[pair + 1];
    }
    if (q != p) p[0] = static_cast<char>('0' + v % 10);
    return end;
}

}  // namespace tarvel::decimal
