// Protects LI and MLI: banded storage, the Cholesky recurrence in its exact
// order, the pivot test, and the many-right-hand-side solution.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "analysis/band_factor.h"
#include "analysis/band_solver.h"

namespace tarvel {
namespace {

// Band entry (r, c) of a matrix stored with width MBAND: SK((r−1)·MBAND + MBAND − (r − c)).
float& at(StiffnessStore& SK, int MBAND, int r, int c) {
    return SK((r - 1) * MBAND + MBAND - (r - c));
}

TEST(BandSolver, FactorAndSolveAThreeByThreeByHand) {
    auto SK = std::make_unique<StiffnessStore>();
    const int MBAND = 4;  // NDOF + 1, as the assembly lays the band out
    SK->resize(3 * MBAND);
    // A = [[4, 2, 2], [2, 5, 3], [2, 3, 6]] = L·Lᵀ with L = [[2], [1, 2], [1, 1, 2]]
    at(*SK, MBAND, 1, 1) = 4;
    at(*SK, MBAND, 2, 1) = 2;
    at(*SK, MBAND, 2, 2) = 5;
    at(*SK, MBAND, 3, 1) = 2;
    at(*SK, MBAND, 3, 2) = 3;
    at(*SK, MBAND, 3, 3) = 6;
    ASSERT_EQ(LI(*SK, 3, MBAND, kPivotEpsilon), 0);
    EXPECT_EQ((*SK)(4), 2.0f);
    EXPECT_EQ((*SK)(7), 1.0f);
    EXPECT_EQ((*SK)(8), 2.0f);
    EXPECT_EQ((*SK)(10), 1.0f);
    EXPECT_EQ((*SK)(11), 1.0f);
    EXPECT_EQ((*SK)(12), 2.0f);
    // The leading band columns before matrix column 1 stay 0.
    EXPECT_EQ((*SK)(1), 0.0f);
    EXPECT_EQ((*SK)(5), 0.0f);

    auto P = std::make_unique<LoadVector>();
    (*P)(1) = 6;  // A·(1, −1, 2)
    (*P)(2) = 3;
    (*P)(3) = 11;
    MLI(*SK, 3, MBAND, *P);
    EXPECT_EQ((*P)(1), 1.0f);
    EXPECT_EQ((*P)(2), -1.0f);
    EXPECT_EQ((*P)(3), 2.0f);
}

TEST(BandSolver, NarrowBandOfATridiagonalMatrix) {
    auto SK = std::make_unique<StiffnessStore>();
    const int n = 5;
    const int MBAND = 2;
    SK->resize(n * MBAND);
    for (int r = 1; r <= n; ++r) {
        at(*SK, MBAND, r, r) = 2;
        if (r > 1) at(*SK, MBAND, r, r - 1) = -1;
    }
    ASSERT_EQ(LI(*SK, n, MBAND, kPivotEpsilon), 0);
    auto P = std::make_unique<LoadVector>();
    for (int r = 1; r <= n; ++r) (*P)(r) = 1;
    MLI(*SK, n, MBAND, *P);
    // Solution of the discrete string under unit loads: x_r = r·(n + 1 − r)/2.
    for (int r = 1; r <= n; ++r) EXPECT_NEAR((*P)(r), r * (n + 1 - r) / 2.0, 1e-5) << r;
}

TEST(BandSolver, PivotThatIsNotPositiveGivesIerr) {
    auto zero = std::make_unique<StiffnessStore>();
    zero->resize(2 * 3);
    at(*zero, 3, 1, 1) = 1;
    at(*zero, 3, 2, 1) = 1;
    at(*zero, 3, 2, 2) = 1;  // [[1, 1], [1, 1]] is singular
    EXPECT_EQ(LI(*zero, 2, 3, kPivotEpsilon), 1);

    auto negative = std::make_unique<StiffnessStore>();
    negative->resize(1 * 2);
    at(*negative, 2, 1, 1) = -4;
    EXPECT_EQ(LI(*negative, 1, 2, kPivotEpsilon), 1);

    auto tiny = std::make_unique<StiffnessStore>();
    tiny->resize(1 * 2);
    at(*tiny, 2, 1, 1) = 1.0E-33f;  // positive, but below eps
    EXPECT_EQ(LI(*tiny, 1, 2, kPivotEpsilon), 1);
}

// The recurrences written out plainly, one term after the other.
int plainLI(std::vector<float>& sk, int NDOF, int MBAND, float eps) {
    for (int i = 1; i <= NDOF; ++i) {
        const int row = (i - 1) * MBAND;
        const int m0 = std::max(1, MBAND - i + 1);
        for (int j = m0; j <= MBAND - 1; ++j) {
            const int partner = (i - MBAND + j - 1) * MBAND;
            float s = 0.0f;
            for (int k = m0; k <= j - 1; ++k) s += sk[row + k] * sk[partner + MBAND + k - j];
            sk[row + j] = (sk[row + j] - s) / sk[partner + MBAND];
        }
        float s = 0.0f;
        for (int k = m0; k <= MBAND - 1; ++k) s += sk[row + k] * sk[row + k];
        const float d = sk[row + MBAND] - s;
        if (!(d >= eps)) return 1;
        sk[row + MBAND] = std::sqrt(d);
    }
    return 0;
}

// A random symmetric, diagonally dominant band matrix in band storage, with
// entry (r, c), c < r, set where `coupled` says so (within the band).
template <typename Coupled>
std::unique_ptr<StiffnessStore> dominantBand(int n, int MBAND, std::mt19937& rng, Coupled coupled) {
    std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
    auto SK = std::make_unique<StiffnessStore>();
    SK->resize(n * MBAND);
    std::vector<float> rowSum(static_cast<std::size_t>(n) + 1, 0.0f);
    for (int r = 1; r <= n; ++r) {
        for (int c = std::max(1, r - MBAND + 1); c < r; ++c) {
            if (!coupled(r, c)) continue;
            const float v = value(rng);
            at(*SK, MBAND, r, c) = v;
            rowSum[static_cast<std::size_t>(r)] += std::fabs(v);
            rowSum[static_cast<std::size_t>(c)] += std::fabs(v);
        }
    }
    for (int r = 1; r <= n; ++r) at(*SK, MBAND, r, r) = rowSum[static_cast<std::size_t>(r)] + 10.0f;
    return SK;
}

std::unique_ptr<StiffnessStore> randomBand(int n, int MBAND, unsigned seed) {
    std::mt19937 rng(seed);
    return dominantBand(n, MBAND, rng, [](int, int) { return true; });
}

TEST(BandSolver, GroupedFactorisationEqualsThePlainRecurrenceBitForBit) {
    struct Shape {
        int n;
        int MBAND;
    };
    for (const Shape shape :
         {Shape{40, 41}, Shape{57, 58}, Shape{60, 13}, Shape{9, 10}, Shape{30, 2}}) {
        auto SK = randomBand(shape.n, shape.MBAND, 7u + static_cast<unsigned>(shape.n));
        std::vector<float> plain(&(*SK)(0), &(*SK)(0) + shape.n * shape.MBAND + 1);
        ASSERT_EQ(plainLI(plain, shape.n, shape.MBAND, kPivotEpsilon), 0);
        ASSERT_EQ(LI(*SK, shape.n, shape.MBAND, kPivotEpsilon), 0);
        for (int e = 1; e <= shape.n * shape.MBAND; ++e) {
            ASSERT_EQ((*SK)(e), plain[static_cast<std::size_t>(e)])
                << "entry " << e << " of n " << shape.n << ", band " << shape.MBAND;
        }
    }
}

TEST(BandSolver, ManyRightHandSidesSolveExactlyAsOneByOne) {
    const int n = 45;
    for (const int MBAND : {46, 11}) {
        auto SK = randomBand(n, MBAND, 99u);
        ASSERT_EQ(LI(*SK, n, MBAND, kPivotEpsilon), 0);
        // A few cases, and more than two blocks of the grouped solution with a remainder.
        for (const int count : {5, 37}) {
            std::mt19937 rng(3);
            std::uniform_real_distribution<float> value(-50.0f, 50.0f);
            std::vector<float> many(static_cast<std::size_t>(n * count));
            std::vector<std::unique_ptr<LoadVector>> single;
            for (int r = 0; r < count; ++r) {
                single.push_back(std::make_unique<LoadVector>());
                for (int i = 1; i <= n; ++i) {
                    const float v = value(rng);
                    (*single.back())(i) = v;
                    many[static_cast<std::size_t>((i - 1) * count + r)] = v;
                }
                MLI(*SK, n, MBAND, *single.back());
            }
            solveMany(*SK, n, MBAND, many.data(), count);
            for (int r = 0; r < count; ++r) {
                for (int i = 1; i <= n; ++i) {
                    ASSERT_EQ(many[static_cast<std::size_t>((i - 1) * count + r)],
                              (*single[static_cast<std::size_t>(r)])(i))
                        << "entry " << i << " of case " << r << " of " << count;
                }
            }
        }
    }
}

// MLI written out plainly: every term of the full band, in order.
void plainMLI(const std::vector<float>& sk, int NDOF, int MBAND, std::vector<float>& p) {
    for (int i = 1; i <= NDOF; ++i) {
        const int row = (i - 1) * MBAND;
        float s = 0.0f;
        for (int k = std::max(1, MBAND - i + 1); k <= MBAND - 1; ++k) s += sk[row + k] * p[i + k - MBAND];
        p[i] = (p[i] - s) / sk[row + MBAND];
    }
    for (int i = NDOF; i >= 1; --i) {
        float s = 0.0f;
        for (int k = i + 1; k <= std::min(i + MBAND - 1, NDOF); ++k) s += sk[k * (MBAND - 1) + i] * p[k];
        p[i] = (p[i] - s) / sk[i * MBAND];
    }
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A frame-like matrix: stored with a band as wide as the matrix (as the
// assembly lays it out when the codes of the lowest nodes are 0), but each
// row coupled only to the few rows before it, at a reach that varies from row
// to row, with now and then a gap of zeros inside the reach. The rows of the
// second half are not coupled to those of the first, so a value that is not
// finite in the first half stays there in a sound solution.
std::unique_ptr<StiffnessStore> profileBand(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> reachOf(0, 9);
    std::vector<int> reach(static_cast<std::size_t>(n) + 1);
    for (int& r : reach) r = reachOf(rng);
    return dominantBand(n, n + 1, rng, [&](int r, int c) {
        const int lowest = r > n / 2 ? n / 2 + 1 : 1;
        return c >= std::max(lowest, r - reach[static_cast<std::size_t>(r)]) && c % 7 != 3;
    });
}

// The zeros ahead of each row's first coupled column are passed over; the
// factor and the solutions must stay those of the full band, bit for bit, also
// where a solution overflows and the full sums would meet 0·∞.
TEST(BandSolver, ZerosBeforeEachRowsReachChangeNoBit) {
    const int n = 70;
    const int MBAND = n + 1;
    auto SK = profileBand(n, 5u);
    std::vector<float> plain(&(*SK)(0), &(*SK)(0) + n * MBAND + 1);
    ASSERT_EQ(plainLI(plain, n, MBAND, kPivotEpsilon), 0);
    ASSERT_EQ(LI(*SK, n, MBAND, kPivotEpsilon), 0);
    for (int e = 1; e <= n * MBAND; ++e) ASSERT_TRUE(sameBits((*SK)(e), plain[static_cast<std::size_t>(e)])) << e;

    const float huge = std::numeric_limits<float>::max();
    struct Load {
        const char* what;
        float scale;
        int at;  // an entry set to `big`, 0 for none
        float big;
    };
    for (const Load load : {Load{"ordinary", 50.0f, 0, 0.0f}, Load{"overflowing", huge, 0, 0.0f},
                            Load{"one infinite", 50.0f, 31, std::numeric_limits<float>::infinity()},
                            Load{"one NaN", 50.0f, 12, std::numeric_limits<float>::quiet_NaN()}}) {
        std::mt19937 rng(11);
        std::uniform_real_distribution<float> value(-1.0f, 1.0f);
        const int count = 19;
        std::vector<float> many(static_cast<std::size_t>(n * count));
        std::vector<std::vector<float>> expected;
        for (int r = 0; r < count; ++r) {
            std::vector<float> p(static_cast<std::size_t>(n) + 1, 0.0f);
            for (int i = 1; i <= n; ++i) p[static_cast<std::size_t>(i)] = value(rng) * load.scale;
            if (load.at != 0 && r % 3 == 0) p[static_cast<std::size_t>(load.at)] = load.big;
            for (int i = 1; i <= n; ++i) many[static_cast<std::size_t>((i - 1) * count + r)] = p[static_cast<std::size_t>(i)];
            auto P = std::make_unique<LoadVector>();
            for (int i = 1; i <= n; ++i) (*P)(i) = p[static_cast<std::size_t>(i)];
            plainMLI(plain, n, MBAND, p);
            MLI(*SK, n, MBAND, *P);
            for (int i = 1; i <= n; ++i) {
                ASSERT_TRUE(sameBits((*P)(i), p[static_cast<std::size_t>(i)]))
                    << load.what << ": entry " << i << " of case " << r << ": " << (*P)(i) << " against "
                    << p[static_cast<std::size_t>(i)];
            }
            expected.push_back(p);
        }
        solveMany(*SK, n, MBAND, many.data(), count);
        bool anyNotFinite = false;
        for (int r = 0; r < count; ++r) {
            for (int i = 1; i <= n; ++i) {
                const float x = many[static_cast<std::size_t>((i - 1) * count + r)];
                anyNotFinite = anyNotFinite || !std::isfinite(x);
                ASSERT_TRUE(sameBits(x, expected[static_cast<std::size_t>(r)][static_cast<std::size_t>(i)]))
                    << load.what << ": entry " << i << " of case " << r << " solved together";
            }
        }
        EXPECT_EQ(anyNotFinite, load.scale == huge || load.at != 0) << load.what;
    }
}

// A factorisation that accepts a pivot which is not positive goes on with the
// full recurrence from there, so even its NaNs stay those of the plain one.
TEST(BandSolver, FactorAfterAPivotThatIsNotPositiveFollowsThePlainRecurrence) {
    const int n = 40;
    const int MBAND = n + 1;
    auto SK = profileBand(n, 8u);
    at(*SK, MBAND, 9, 9) = -at(*SK, MBAND, 9, 9);  // accepted below, sqrt gives NaN
    std::vector<float> plain(&(*SK)(0), &(*SK)(0) + n * MBAND + 1);
    const auto anything = [](int, float, float) { return true; };
    for (int i = 1; i <= n; ++i) {
        const int row = (i - 1) * MBAND;
        const int m0 = std::max(1, MBAND - i + 1);
        for (int j = m0; j <= MBAND - 1; ++j) {
            const int partner = (i - MBAND + j - 1) * MBAND;
            float s = 0.0f;
            for (int k = m0; k <= j - 1; ++k) s += plain[static_cast<std::size_t>(row + k)] * plain[static_cast<std::size_t>(partner + MBAND + k - j)];
            plain[static_cast<std::size_t>(row + j)] = (plain[static_cast<std::size_t>(row + j)] - s) / plain[static_cast<std::size_t>(partner + MBAND)];
        }
        float s = 0.0f;
        for (int k = m0; k <= MBAND - 1; ++k) s += plain[static_cast<std::size_t>(row + k)] * plain[static_cast<std::size_t>(row + k)];
        plain[static_cast<std::size_t>(row + MBAND)] = std::sqrt(plain[static_cast<std::size_t>(row + MBAND)] - s);
    }
    ASSERT_EQ(band::factor(&(*SK)(0), n, MBAND, anything), 0);
    int notFinite = 0;
    for (int e = 1; e <= n * MBAND; ++e) {
        notFinite += std::isfinite((*SK)(e)) ? 0 : 1;
        ASSERT_TRUE(sameBits((*SK)(e), plain[static_cast<std::size_t>(e)])) << e;
    }
    EXPECT_GT(notFinite, 0);
}

}  // namespace
}  // namespace tarvel
