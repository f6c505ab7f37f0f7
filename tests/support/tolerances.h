#pragma once
// Comparison of single-precision results with values worked out by hand.

#include <gtest/gtest.h>

#include <cmath>

namespace tarvel::testing {

// Relative to the expected value, with an absolute floor of 1e-4 for values
// at or near zero.
inline void expectClose(float actual, double expected, double rel = 2e-5) {
    EXPECT_NEAR(actual, expected, rel * std::fabs(expected) + 1e-4) << "expected " << expected;
}

}  // namespace tarvel::testing
