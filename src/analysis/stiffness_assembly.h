#pragma once
// The global stiffness matrix: equation count, band width and assembly.

#include "analysis/analysis_state.h"
#include "common/host.h"

namespace tarvel {

// `INITAK`: NDOF = the largest displacement code; MBAND = the widest span of
// codes over the nodes 1..max(I, J) of any member (so normally NDOF + 1, the
// whole lower triangle plus one unused leading column per row); sizes SK to
// NDOF·MBAND entries, all zero.
// A frame whose NDOF·MBAND exceeds the 32767 entries of SK is refused with a
// message naming the value; false then.
bool INITAK(AnalysisState& s, Host& host);

// `KMAIN`: adds every member's global stiffness into SK and, when KW ≠ 0,
// its self-weight into P. A member of zero length stops the assembly with its
// message; false then.
bool KMAIN(AnalysisState& s, Host& host);

}  // namespace tarvel
