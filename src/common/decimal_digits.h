#pragma once

// Integer building blocks shared by the printed numbers of the result files
// and the shortest numbers of the summaries: exact powers of five and the
// decimal digits of an integer written two at a time.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

// The eight decimal digits of v < 10^8, leading zeros included, as the
// values 0..9 in the eight bytes of the result, the first digit in the lowest
// byte: stored little-endian, after adding '0' to every byte, they read as
// the text. Formed without a loop, all lanes at once: v splits into two
// halves of four digits (32-bit lanes), each half into two pairs (16-bit
// lanes), each pair into two digits (bytes); x / 100 = x * 5243 >> 19 for
// x < 10^4 and x / 10 = x * 103 >> 10 for x < 100, and no product leaves its
// lane.
inline std::uint64_t eightDigitValues(std::uint32_t v) {
    const std::uint64_t halves = (v / 10000) | (std::uint64_t{v % 10000} << 32);
    const std::uint64_t hundreds = ((halves * 5243) >> 19) & 0x0000007F0000007Fu;
    const std::uint64_t pairs = hundreds | ((halves - hundreds * 100) << 16);
    const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000Fu;
    return tens | ((pairs - tens * 10) << 8);
}

inline constexpr std::uint64_t kAsciiZeros = 0x3030303030303030u;

// Eight bytes written at p (which has room for them) from a word whose
// lowest byte comes first.
static_assert(std::endian::native == std::endian::little);
inline void storeBytes(char* p, std::uint64_t bytes) { std::memcpy(p, &bytes, sizeof bytes); }

}  // namespace tarvel::decimal
