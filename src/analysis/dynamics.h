#pragma once
// `DYNAMICS`: natural periods and mode shapes of the frame as a lumped-mass
// model with one horizontal degree of freedom per mass. Reads the SEISMIC
// segment (parameters and mass records), lumps each mass from the kept dead
// and live nodal loads, builds the lateral flexibility at the mass unknowns by
// unit loads with the factorised stiffness matrix, and solves the symmetric
// eigenproblem W·F·W (W = diag √m) with `JCB2`.
// Reads: model.JD, NDOF, MBAND, SK (factorised), PLOAD. Writes: dyn (all of
// it afresh, whatever an earlier run left), LCF(4), P.

#include "analysis/analysis_state.h"
#include "analysis/eigen_solver.h"
#include "common/host.h"
#include "model/data_file.h"

namespace tarvel {

// Gravity constant that turns weights in kN into masses in t.
inline constexpr double kGravity = 9.8;
// Period factor: 2π taken as 6.28, 0.05 % short, so the periods are 0.05 %
// short of T = 2π/ω; the seismic coefficients and the result files use them.
inline constexpr double kTwoPi = 6.28;

enum class DynamicsStatus {
    Ok,           // periods and modes found, or no SEISMIC segment (LCF(4) = 0)
    EigenFailed,  // no convergence (dyn.IERR != 0): reported; the run goes on and
                  // SEISMIC skips the modes
    Stopped,      // bad seismic data: reported; the run stops and writes no further result file
};

// The eigen-solver used; tests may put a failing one in its place.
using EigenSolverFunction = int (*)(int n, const EigenMatrix& A, EigenVector& D, EigenMatrix& Z);

// Texts of the dynamic step.
namespace dynamics_text {
inline constexpr const char* kSegment = "SEISMIC";
inline constexpr const char* kNoHorizontalCode = "None X-displacement of point：";
inline constexpr const char* kEigenFailedLog = "The calculation of dynamic Properties fails";
inline constexpr const char* kEigenFailedMessage =
    "错误信息：水平定位向量为'0'，集中质点的水平位移不存！";
}  // namespace dynamics_text

// Steps 1 to 3 of `DYNAMICS` without the eigen-solution: the SEISMIC segment
// found with the finder mode `mode`, its parameters and mass records read and
// checked, the weights lumped from PLOAD and checked. Ok (also without the
// segment, LCF(4) = 0) or Stopped (reported).
DynamicsStatus readSeismicSegment(AnalysisState& st, DataFile& file, Host& host, int mode);

DynamicsStatus DYNAMICS(AnalysisState& st, DataFile& file, Host& host,
                        EigenSolverFunction solve = JCB2);

}  // namespace tarvel
