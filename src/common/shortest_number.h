#pragma once
// The shortest decimal text that reads back to the same value, exactly the
// text std::to_chars(first, last, x) writes without a format: the fewest
// significant digits that identify x, the closest of them to x (ties to an
// even last digit), in fixed form ("0.0125", "12500") or in exponent form
// ("1.25e-07", "1e+20"), whichever is shorter, fixed form on a tie.
// The common magnitudes are settled in integer arithmetic; the rest is left
// to std::to_chars.

namespace tarvel {

// Room one value needs, sign included.
inline constexpr int kShortestRoom = 32;

// Writes the text of x at p (at least kShortestRoom chars) and returns its end.
char* writeShortest(char* p, float x);
char* writeShortest(char* p, double x);

}  // namespace tarvel
