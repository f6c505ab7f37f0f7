#pragma once
// Member forces: solution of a load vector, end forces of every member in
// member directions, their distribution over the nine sections, and the
// filing of the results by load case.
// Section s = 1..9 lies at (s−1)·L/8 from the start node. N is positive in
// compression, M positive when it stretches the member's right-hand side
// seen from the start node (sagging in a beam drawn left to right), V = dM/dx.

#include <cstddef>
#include <string_view>

#include "analysis/analysis_state.h"
#include "analysis/element_stiffness.h"
#include "analysis/fixed_end_forces.h"
#include "common/host.h"
#include "common/print_buffer.h"
#include "model/data_file.h"

namespace tarvel {

// `QMNDIS`: distributes the local end forces f (N, V, M at the start, then
// the end) over the nine sections: M linear from f(3) to −f(6), V = f(2),
// N = f(1). M and V are rounded to 7 decimals (half upward), N is cut
// downward to 7 decimals.
void QMNDIS(const Vec6& f, SectionForces& F);

// What the displacement part of a member needs: its codes, its
// transformation T and its local stiffness matrix k (`TT`, `KE0`).
struct MemberMatrices {
    int LV[7] = {};
    Mat6 T;
    Mat6 k;
};
MemberMatrices memberMatrices(const FrameModel& model, int m);

// The displacement part of member m for the joint displacements D(code):
// u_local = T·u, f = k·u_local, distributed by `QMNDIS` and added to FMQN(·, ·, m).
void addDisplacementForces(AnalysisState& s, int m, const LoadVector& D);
void addDisplacementForces(AnalysisState& s, int m, const LoadVector& D, const MemberMatrices& mm);

// The bending part of what `addDisplacementForces` adds to a member: the
// moments at the nine sections and the shear, bit for bit as `QMNDIS` forms
// them, without the axial force. D holds the displacement of code c at
// D[(c − 1)·stride].
struct BendingForces {
    float M[10] = {};  // M[s], s = 1..9, kN·m
    float V = 0.0f;    // kN, the same at every section
};
void displacementBending(const MemberMatrices& mm, const float* D, std::size_t stride, BendingForces& out);

// `displacementBending` of one member for `count` displacement vectors at once,
// each bit for bit as alone: entry c of vector r at D[(c − 1)·count + r]; the
// moment at section s of vector r goes to M[(s − 1)·count + r], the shear to V[r].
void displacementBendingMany(const MemberMatrices& mm, const float* D, std::size_t count, float* M, float* V);

// `BFORCE`: solves P (P becomes the displacements) and adds the displacement
// part of every member to FMQN.
void BFORCE(AnalysisState& s);

// `LOADFORC`: one static load case LC (1 "DLOAD", 2 "LLOAD", 3 "WLOAD"): loads,
// PLOAD (cases 1, 2), solution, UD(1, ·) (wind), BM, BV, CF, the text of the
// case's ".fkn" file printed into `forceText` (the run puts its files in
// place together at its end), then FMQN and P cleared. False when DLOAD is
// absent or a displacement or force is not a finite number (both reported).
bool LOADFORC(AnalysisState& s, DataFile& file, Host& host, std::string_view name, int LC,
              PrintBuffer& forceText);

// True when P(1..NDOF) and FMQN of every member hold finite numbers only.
bool finiteSolution(const AnalysisState& s);

// `SBFORCE`: one seismic mode with its load vector in P: member forces, then
// the squares of the storey displacements and drifts (UD 2, 3), of the beam
// and column forces (case 4 of BM, BV, CF) and the products RMN, RVM, RVN are
// accumulated; FMQN and P are cleared.
void SBFORCE(AnalysisState& s);

// Clears FMQN of all members and P(1..NDOF) at the end of a load vector.
void clearLoadVector(AnalysisState& s);

}  // namespace tarvel
