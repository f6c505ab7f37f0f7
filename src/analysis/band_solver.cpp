#include "analysis/band_solver.h"

#include <algorithm>
#include <vector>

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

void solveMany(const StiffnessStore& SK, int NDOF, int MBAND, float* rhs, int count) {
    if (count <= 0) return;
    const float* const sk = &SK(0);
    const auto n = static_cast<std::size_t>(count);
    auto entry = [&](int i) { return rhs + static_cast<std::size_t>(i - 1) * n; };
    std::vector<float> sum(n);
    for (int i = 1; i <= NDOF; ++i) {
        const float* row = sk + (i - 1) * MBAND;
        const int m0 = std::max(1, MBAND - i + 1);
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (int k = m0; k <= MBAND - 1; ++k) {
            const float l = row[k];
            const float* x = entry(i + k - MBAND);
            for (std::size_t r = 0; r < n; ++r) sum[r] += l * x[r];
        }
        float* x = entry(i);
        const float pivot = row[MBAND];
        for (std::size_t r = 0; r < n; ++r) x[r] = (x[r] - sum[r]) / pivot;
    }
    for (int i = NDOF; i >= 1; --i) {
        const int kmax = std::min(i + MBAND - 1, NDOF);
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (int k = i + 1; k <= kmax; ++k) {
            const float l = sk[k * (MBAND - 1) + i];
            const float* x = entry(k);
            for (std::size_t r = 0; r < n; ++r) sum[r] += l * x[r];
        }
        float* x = entry(i);
        const float pivot = sk[i * MBAND];
        for (std::size_t r = 0; r < n; ++r) x[r] = (x[r] - sum[r]) / pivot;
    }
}

}  // namespace tarvel
