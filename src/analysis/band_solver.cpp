#include "analysis/band_solver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "analysis/band_factor.h"

namespace tarvel {

int LI(StiffnessStore& SK, int NDOF, int MBAND, float eps) {
    const auto positive = [eps](int, float d, float) { return d >= eps; };
    return band::factor(&SK(0), NDOF, MBAND, positive) == 0 ? 0 : 1;
}

namespace {

// Where the terms of each row of the factor that are not exact zeros lie:
// forward, band columns first[i] .. MBAND−1 of row i; backward, the entries
// L(k, i) of rows k = i+1 .. last[i]. The zeros outside add nothing to a sum
// as long as the values they multiply are finite (band_factor.h), so each
// substitution runs over these ranges until it meets a value that is not
// finite, and over the full ranges from there on.
struct FactorProfile {
    std::vector<int> first;
    std::vector<int> last;

    FactorProfile(const float* sk, int NDOF, int MBAND)
        : first(static_cast<std::size_t>(NDOF) + 1), last(static_cast<std::size_t>(NDOF) + 1) {
        // reach[k]: the first matrix column row k is coupled to; the lowest
        // reach of rows k..NDOF falls as k falls, so last[i], the last row
        // whose reach is at most i, is found in one pass from the bottom.
        std::vector<int> lowestReach(static_cast<std::size_t>(NDOF) + 2);
        lowestReach[static_cast<std::size_t>(NDOF) + 1] = NDOF + 1;
        for (int i = 1; i <= NDOF; ++i) {
            const int m0 = std::max(1, MBAND - i + 1);
            first[static_cast<std::size_t>(i)] = band::firstNonZero(sk + (i - 1) * MBAND, m0, MBAND);
        }
        for (int k = NDOF; k >= 1; --k) {
            const int reach = k - MBAND + first[static_cast<std::size_t>(k)];
            lowestReach[static_cast<std::size_t>(k)] =
                std::min(reach, lowestReach[static_cast<std::size_t>(k) + 1]);
        }
        int k = NDOF;
        for (int i = NDOF; i >= 1; --i) {
            while (k > i && lowestReach[static_cast<std::size_t>(k)] > i) --k;
            last[static_cast<std::size_t>(i)] = k;
        }
    }
    int from(int i) const { return first[static_cast<std::size_t>(i)]; }
    int to(int i) const { return last[static_cast<std::size_t>(i)]; }
};

}  // namespace

void MLI(const StiffnessStore& SK, int NDOF, int MBAND, LoadVector& P) {
    const float* const sk = &SK(0);
    float* const p = &P(0);
    const FactorProfile profile(sk, NDOF, MBAND);
    bool finite = true;
    for (int i = 1; i <= NDOF; ++i) {
        const float* row = sk + (i - 1) * MBAND;
        const int m0 = finite ? profile.from(i) : std::max(1, MBAND - i + 1);
        float s = 0.0f;
        for (int k = m0; k <= MBAND - 1; ++k) s += row[k] * p[i + k - MBAND];
        p[i] = (p[i] - s) / row[MBAND];
        finite = finite && std::isfinite(p[i]);
    }
    for (int i = NDOF; i >= 1; --i) {
        const int kmax = finite ? profile.to(i) : std::min(i + MBAND - 1, NDOF);
        float s = 0.0f;
        // L(k, MBAND + i − k) lies at (k − 1)·MBAND + MBAND + i − k = k·(MBAND − 1) + i.
        for (int k = i + 1; k <= kmax; ++k) s += sk[k * (MBAND - 1) + i] * p[k];
        p[i] = (p[i] - s) / sk[i * MBAND];
        finite = finite && std::isfinite(p[i]);
    }
}

namespace {

// One row of the substitution over a block of right-hand sides: for each
// entry j, sum = Σ L·x over the row's terms in order, then x = (x − sum) / pivot,
// the operations of `MLI` term after term. A full block keeps its sums in
// registers across the terms.
template <std::size_t Width, typename Terms>
void substituteBlock(float* x, std::size_t width, float pivot, Terms terms) {
    float sum[Width] = {};
    terms([&](float l, const float* y) {
        for (std::size_t j = 0; j < width; ++j) sum[j] += l * y[j];
    });
    for (std::size_t j = 0; j < width; ++j) x[j] = (x[j] - sum[j]) / pivot;
}

constexpr std::size_t kBlock = 16;

// Row i of a substitution for all count right-hand sides, block by block;
// rowTerms(f) calls f(L, k) for the row's terms in order, k the solved entry.
template <typename RowTerms>
void substituteRow(float* rhs, std::size_t n, int i, float pivot, RowTerms rowTerms) {
    auto entry = [&](int k) { return rhs + static_cast<std::size_t>(k - 1) * n; };
    for (std::size_t r0 = 0; r0 < n; r0 += kBlock) {
        auto terms = [&](auto&& add) { rowTerms([&](float l, int k) { add(l, entry(k) + r0); }); };
        if (n - r0 >= kBlock) {
            substituteBlock<kBlock>(entry(i) + r0, kBlock, pivot, terms);
        } else {
            substituteBlock<kBlock>(entry(i) + r0, n - r0, pivot, terms);
        }
    }
}

bool allFinite(const float* x, std::size_t n) {
    bool finite = true;
    for (std::size_t j = 0; j < n; ++j) finite = finite && std::isfinite(x[j]);
    return finite;
}

}  // namespace

void solveMany(const StiffnessStore& SK, int NDOF, int MBAND, float* rhs, int count) {
    if (count <= 0) return;
    const float* const sk = &SK(0);
    const auto n = static_cast<std::size_t>(count);
    const FactorProfile profile(sk, NDOF, MBAND);
    auto solved = [&](int i) { return rhs + static_cast<std::size_t>(i - 1) * n; };
    bool finite = true;
    for (int i = 1; i <= NDOF; ++i) {
        const float* row = sk + (i - 1) * MBAND;
        const int m0 = finite ? profile.from(i) : std::max(1, MBAND - i + 1);
        substituteRow(rhs, n, i, row[MBAND], [&](auto&& term) {
            for (int k = m0; k <= MBAND - 1; ++k) term(row[k], i + k - MBAND);
        });
        finite = finite && allFinite(solved(i), n);
    }
    for (int i = NDOF; i >= 1; --i) {
        const int kmax = finite ? profile.to(i) : std::min(i + MBAND - 1, NDOF);
        substituteRow(rhs, n, i, sk[i * MBAND], [&](auto&& term) {
            for (int k = i + 1; k <= kmax; ++k) term(sk[k * (MBAND - 1) + i], k);
        });
        finite = finite && allFinite(solved(i), n);
    }
}

}  // namespace tarvel
