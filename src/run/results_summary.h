#pragma once
// What an engineer looks at first after a run: the periods, the largest
// storey drift ratios, the support reactions and base shears of the load
// cases, and the members whose design failed. Read from the tables of the
// run, never from the windows; the desktop program shows it beside the log.

#include <string>
#include <string_view>
#include <vector>

#include "analysis/analysis_state.h"

namespace tarvel {

// Sums of the support reactions of one static case, global directions, kN:
// x to the right, y upward. They balance the applied loads of the case.
struct SupportReactions {
    double horizontal = 0.0;  // ΣRx over the restrained horizontal codes
    double vertical = 0.0;    // ΣRy over the restrained vertical codes
};

// Largest storey drift of one action as the ratio d/h (drift over storey
// height) and the storey level where it occurs; level 0 when no storey moves.
struct DriftRatio {
    double ratio = 0.0;
    int level = 0;
};

// A member whose design left a failure marker: 99 (section too small for
// the shear) or −1 (a column combination that cannot be designed).
struct FailedMember {
    enum class Kind { Beam, Column };
    Kind kind = Kind::Beam;
    int number = 0;          // beam b (member b) or column i (member NB + i)
    std::string reason;      // what failed, in the engineer's words
};

struct ResultsSummary {
    std::vector<double> periods;       // s, longest first (empty without masses)
    bool hasWind = false;
    bool hasSeismic = false;
    DriftRatio windDrift;
    DriftRatio seismicDrift;
    SupportReactions dead;             // case 1, self-weight included
    SupportReactions live;             // case 2
    SupportReactions wind;             // case 3
    double seismicBaseShear = 0.0;     // kN: modal storey forces summed per mode, SRSS over the modes
    std::vector<FailedMember> failed;  // beams first, then columns, by number
};

// Reactions of load case c (1..3) from the column end forces CF at restrained
// nodes, turned from member directions (N along the member, compression
// positive; V across it) into global x and y. Loads are carried by members
// only, so every support force passes through a column end.
SupportReactions supportReactions(const AnalysisState& st, int c);

// The summary of the last run held in `st`.
ResultsSummary summarise(const AnalysisState& st);

// 1-based line of the report "TARVEL1.wri" (decoded text) where the
// reinforcement of the failed member is listed; 0 when it is not found.
int reportLineOf(std::string_view reportText, const FailedMember& member);

}  // namespace tarvel
