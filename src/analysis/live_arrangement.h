#pragma once
// The unfavourable live-load arrangement of the beams.

#include <string_view>

#include "analysis/analysis_state.h"

namespace tarvel {

// `LIVEFORC`: the live loads of segment `name` member by member: for every
// member k that carries live load, the frame is solved under that member's
// loads alone, and each beam section's moment is added to BML(s, b, 1) when
// negative or BML(s, b, 2) when positive; the end shears likewise to BVL.
// BML and BVL start from zero. Columns use the full live-load case instead.
// FMQN and P are left cleared.
void LIVEFORC(AnalysisState& s, std::string_view name);

}  // namespace tarvel
