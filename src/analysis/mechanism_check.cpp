#include "analysis/mechanism_check.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "analysis/band_factor.h"
#include "analysis/element_stiffness.h"

namespace tarvel {

namespace {

// The width of band the matrix needs: the widest span of equation numbers
// of one member. The stored band (MBAND) can be much wider, since it runs from
// the lowest code of all nodes numbered before a member's nodes; the entries
// beyond this width are zeros.
int coupledWidth(const AnalysisState& s) {
    const FrameModel& md = s.model;
    int width = 1;
    int LV[7];
    for (int m = 1; m <= md.NE; ++m) {
        codeVector(md, m, LV);
        int lo = 0;
        int hi = 0;
        for (int p = 1; p <= 6; ++p) {
            if (LV[p] == 0) continue;
            lo = lo == 0 ? LV[p] : std::min(lo, LV[p]);
            hi = std::max(hi, LV[p]);
        }
        if (hi != 0) width = std::max(width, hi - lo + 1);
    }
    return std::min(width, s.band());
}

// The band of the stiffness matrix in double precision, MBAND entries a row,
// laid out as SK. The member geometry is worked out in double from the node
// coordinates, so a rigid-body motion stays an exact null vector of every
// member's matrix.
std::vector<double> assembleInDouble(const AnalysisState& s, int MBAND) {
    const FrameModel& md = s.model;
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

bool positiveDiagonal(const std::vector<double>& K, int NDOF, int MBAND) {
    for (int r = 1; r <= NDOF; ++r) {
        const double d = K[static_cast<std::size_t>(r * MBAND)];
        if (!(d > 0.0 && std::isfinite(d))) return false;
    }
    return true;
}

}  // namespace

bool isMechanism(const AnalysisState& s) {
    const int NDOF = s.NDOF;
    if (NDOF <= 0) return false;
    // The band is laid out only as wide as the members couple the equations.
    // Factorised in that width, every entry and pivot is bit for bit the one
    // of the full stored width (the zeros left out add nothing to any sum,
    // band_factor.h), as long as every accepted pivot is positive and finite:
    // sure when every diagonal entry is, since a pivot is accepted only above
    // a positive fraction of them and never exceeds its own. Otherwise the
    // full stored width is factorised.
    int MBAND = coupledWidth(s);
    std::vector<double> K = assembleInDouble(s, MBAND);
    if (MBAND != s.band() && !positiveDiagonal(K, NDOF, MBAND)) {
        MBAND = s.band();
        K = assembleInDouble(s, MBAND);
    }
    const std::vector<double> scale = rowStiffness(K, NDOF, MBAND);
    const auto stiffEnough = [&scale](int i, double d, double) {
        return d > kMechanismPivotFraction * scale[static_cast<std::size_t>(i)];
    };
    return band::factor(K.data(), NDOF, MBAND, stiffEnough) != 0;
}

}  // namespace tarvel
