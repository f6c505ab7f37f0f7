#pragma once
// Everything one analysis run works on: the frame model as read, the banded
// stiffness matrix and its factor, the load vector of the current case, the
// fixed-end and member-force work table, and the results by load case that
// the later steps (dynamics, combinations, design, report) read.
// The object is large (about 330 KB); callers keep it on the heap. Every run
// starts by resetting it, so a second run gives the same results as the first.
// The stiffness band is sized to the frame and keeps its memory from one run
// to the next.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/design_results.h"
#include "analysis/dynamic_results.h"
#include "common/limits.h"
#include "common/table.h"
#include "model/frame_model.h"

namespace tarvel {

// Load cases by number; the seismic case is filled by the dynamic steps.
enum LoadCase : int { kDeadCase = 1, kLiveCase = 2, kWindCase = 3, kSeismicCase = 4 };

// One record of a load segment: member, load type and its three values.
struct LoadRecord {
    int record = 0;         // 1-based position in its segment, for messages
    std::int16_t IBAR = 0;  // member loaded
    std::int16_t IC = 0;    // load type 1..6; any other type carries nothing
    float Q = 0.0f;         // intensity: kN, kN/m or kN·m
    float A = 0.0f;         // start or position, m from the start node
    float B = 0.0f;         // end, m from the start node
};

// The records of one load segment, read and checked before the analysis.
struct LoadSegment {
    bool found = false;
    std::vector<LoadRecord> records;
};

using StiffnessStore = SizedTable<float, limits::kMaxStiffnessEntries>;  // SK(1..NDOF·MBAND)
using LoadVector = Table<float, limits::kMaxCode>;                  // P(1..NDOF)
using ForceTable = Table<float, 3, 9, limits::kMaxForceMembers>;    // FMQN(k, s, m)

struct AnalysisState {
    // The run's request.
    std::string dataPath;  // data file as given; result files go beside it
    int mainGrade = 2;     // steel grade of the main bars, 1..4
    int stirrupGrade = 1;  // steel grade of the stirrups, 1..4

    FrameModel model;

    // Stiffness method.
    std::int16_t NDOF = 0;  // number of equations: the largest displacement code
    float MBAND = 0.0f;     // stored band width of each row, diagonal included
    StiffnessStore SK;      // lower band of the stiffness matrix, then its Cholesky factor
    LoadVector P;           // load vector (kN, kN·m), after the solution displacements (m, rad)

    // Load segments DLOAD, LLOAD, WLOAD by case number 1..3.
    LoadSegment loads[4];

    // Current load vector: fixed-end state plus displacement part, nine sections
    // per member; k = 1 M (kN·m), 2 V (kN), 3 N (kN, compression positive).
    ForceTable FMQN;

    // Results by load case c = 1 dead, 2 live, 3 wind, 4 seismic.
    Table<float, 2, limits::kMaxCode> PLOAD;   // kept dead and live load vectors, kN
    Table<float, 9, limits::kMaxBeams, 4> BM;  // beam moments at sections 1..9, kN·m
    Table<float, 2, limits::kMaxBeams, 4> BV;  // beam shears at section 1 and 9, kN
    // Column M, V, N: k = 5..7 at section 1 (bottom), 9..11 at section 9 (top).
    Table<float, 11, limits::kMaxColumns, 4> CF;
    // Live-load arrangement: k = 1 sum of the negative, 2 of the positive values.
    Table<float, 9, limits::kMaxBeams, 2> BML;  // beam moments
    Table<float, 2, limits::kMaxBeams, 2> BVL;  // beam end shears
    // Storey levels: 1 displacement under wind; 2, 3 seismic sums of squared
    // displacement and drift (m, m²).
    Table<float, 3, limits::kMaxLevels> UD;
    Table<float, 4> LCF;  // load case present: 1.0, else 0
    // Seismic sums at column ends (1 bottom, 2 top) of N·M, V·M and V·N.
    Table<float, 2, limits::kMaxColumns> RMN;
    Table<float, 2, limits::kMaxColumns> RVM;
    Table<float, 2, limits::kMaxColumns> RVN;

    // Seismic parameters, masses, periods, modes and seismic constants.
    DynamicResults dyn;
    DesignResults design;  // steel of the beam and column design

    // Warnings of the reading, once per record, in the order given: values
    // whose meaning the user may not expect, which the run goes on with.
    std::vector<std::string> warnings;

    // Back to the empty state of a new run.
    void reset();

    // The pre-read records of "DLOAD", "LLOAD" or "WLOAD"; nullptr for any other name.
    const LoadSegment* loadSegment(std::string_view name) const;
    LoadSegment* loadSegment(std::string_view name);

    int band() const { return static_cast<int>(MBAND); }
};

// Load segment names by case number 1..3.
inline constexpr const char* kLoadSegmentNames[4] = {"", "DLOAD", "LLOAD", "WLOAD"};

}  // namespace tarvel
