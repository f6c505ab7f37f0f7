#include "analysis/band_solver.h"

#include <algorithm>
#include <cstddef>

#include "analysis/band_factor.h"

namespace tarvel {

int LI(StiffnessStore& SK, int NDOF, int MBAND, float eps) {
    const auto positive = [eps](int, float d, float) { return d >= eps; };
    return band::factor(&SK(0), NDOF, MBAND, positive) == 0 ? 0 : 1;
}

void MLI(const StiffnessStore& SK, int NDOF, int MBAND, LoadVector& P) {
    const float* const sk = &SK(0);
    float* const p = &P(0);
    for (int i = 1; i <= NDOF; ++i) {
        const float* row = sk + (i - 1) * MBAND;
        const int m0 = std::max(1, MBAND - i + 1);
        float s = 0.0f;
        for (int k = m0; k <= MBAND - 1; ++k) s += row[k] * p[i + k - MBAND];
        p[i] = (p[i] - s) / row[MBAND];
    }
    for (int i = NDOF; i >= 1; --i) {
        const int kmax = std::min(i + MBAND - 1, NDOF);
        float s = 0.0f;
        // L(k, MBAND + i − k) lies at (k − 1)·MBAND + MBAND + i − k = k·(MBAND − 1) + i.
        for (int k = i + 1; k <= kmax; ++k) s += sk[k * (MBAND - 1) + i] * p[k];
        p[i] = (p[i] - s) / sk[i * MBAND];
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

}  // namespace

void solveMany(const StiffnessStore& SK, int NDOF, int MBAND, float* rhs, int count) {
    if (count <= 0) return;
    const float* const sk = &SK(0);
    const auto n = static_cast<std::size_t>(count);
    for (int i = 1; i <= NDOF; ++i) {
        const float* row = sk + (i - 1) * MBAND;
        const int m0 = std::max(1, MBAND - i + 1);
        substituteRow(rhs, n, i, row[MBAND], [&](auto&& term) {
            for (int k = m0; k <= MBAND - 1; ++k) term(row[k], i + k - MBAND);
        });
    }
    for (int i = NDOF; i >= 1; --i) {
        const int kmax = std::min(i + MBAND - 1, NDOF);
        substituteRow(rhs, n, i, sk[i * MBAND], [&](auto&& term) {
            for (int k = i + 1; k <= kmax; ++k) term(sk[k * (MBAND - 1) + i], k);
        });
    }
}

}  // namespace tarvel
