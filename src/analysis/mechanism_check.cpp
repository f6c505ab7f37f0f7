#include "analysis/mechanism_check.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "analysis/band_factor.h"
#include "analysis/element_stiffness.h"

namespace tarvel {

namespace {

// The band of the stiffness matrix in double precision, laid out as SK. The
// member geometry is worked out in double from the node coordinates, so a
// rigid-body motion stays an exact null vector of every member's matrix.
std::vector<double> assembleInDouble(const AnalysisState& s) {
    const FrameModel& md = s.model;
    const int MBAND = s.band();
    std::vector<double> K(static_cast<std::size_t>(s.NDOF) * static_cast<std::size_t>(MBAND) + 1);
    Matrix6<double> k;
    int LV[7];
    for (int m = 1; m <= md.NE; ++m) {
        const int i = md.startNode(m);
        const int j = md.endNode(m);
        const double dx = static_cast<double>(md.XY(1, j)) - static_cast<double>(md.XY(1, i));
        const double dy = static_cast<double>(md.XY(2, j)) - static_cast<double>(md.XY(2, i));
        const double L = std::sqrt(dx * dx + dy * dy);
        const MemberStiffness e = memberStiffness(md, m);
        KE(k, static_cast<double>(e.E), static_cast<double>(e.I), static_cast<double>(e.A), L,
           dx / L, dy / L);
        codeVector(md, m, LV);
        for (int p = 1; p <= 6; ++p) {
            for (int q = 1; q <= 6; ++q) {
                const int r = LV[p];
                const int t = LV[q];
                if (r != 0 && t != 0 && r - t >= 0) {
                    K[static_cast<std::size_t>(r * MBAND - (r - t))] += k(q, p);
                }
            }
        }
    }
    return K;
}

// Stiffness of each row: the largest diagonal entry of the row and of every
// row it is coupled to by a non-zero entry of the matrix.
std::vector<double> rowStiffness(const std::vector<double>& K, int NDOF, int MBAND) {
    auto diagonal = [&](int r) { return K[static_cast<std::size_t>(r * MBAND)]; };
    std::vector<double> scale(static_cast<std::size_t>(NDOF) + 1);
    for (int r = 1; r <= NDOF; ++r) scale[static_cast<std::size_t>(r)] = diagonal(r);
    for (int r = 1; r <= NDOF; ++r) {
        for (int c = std::max(1, MBAND - r + 1); c <= MBAND - 1; ++c) {
            if (K[static_cast<std::size_t>((r - 1) * MBAND + c)] == 0.0) continue;
            const int column = r - MBAND + c;
            double& rowScale = scale[static_cast<std::size_t>(r)];
            double& columnScale = scale[static_cast<std::size_t>(column)];
            rowScale = std::max(rowScale, diagonal(column));
            columnScale = std::max(columnScale, diagonal(r));
        }
    }
    return scale;
}

}  // namespace

bool isMechanism(const AnalysisState& s) {
    const int NDOF = s.NDOF;
    const int MBAND = s.band();
    if (NDOF <= 0) return false;
    std::vector<double> K = assembleInDouble(s);
    const std::vector<double> scale = rowStiffness(K, NDOF, MBAND);
    const auto stiffEnough = [&scale](int i, double d, double) {
        return d > kMechanismPivotFraction * scale[static_cast<std::size_t>(i)];
    };
    return band::factor(K.data(), NDOF, MBAND, stiffEnough) != 0;
}

}  // namespace tarvel
