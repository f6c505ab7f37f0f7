#pragma once
// Is the frame a mechanism? A mechanism (a column pinned at its base with a
// free top, a portal hinged at both bases and both beam ends, a node coded
// but reached by no member) has a singular stiffness matrix. In single
// precision its factorisation seldom meets an exact zero pivot: rounding
// leaves a residue that can reach 1E-4 of the row's stiffness, while genuine
// slender frames keep pivots of as little as 1E-7 of theirs, so no pivot
// threshold in single precision tells the two apart. The check therefore
// assembles and factorises the matrix a second time in double precision,
// where the residue of a mechanism stays below some 1E-11 of the row's
// stiffness and every frame that single precision can solve keeps more than
// 1E-8 (trials on some two thousand random frames and mechanisms).

#include "analysis/analysis_state.h"

namespace tarvel {

// A double-precision pivot below this fraction of its row's stiffness (the
// largest diagonal entry of the row itself and of the rows it is coupled to)
// marks a mechanism: a decade above the rounding residue of a mechanism and
// two decades below the smallest pivot of a solvable frame.
inline constexpr double kMechanismPivotFraction = 1.0E-10;

// True when the stiffness matrix of the frame in `s` (model, NDOF and MBAND
// as `INITAK` left them) is singular: the frame is a mechanism.
bool isMechanism(const AnalysisState& s);

}  // namespace tarvel
