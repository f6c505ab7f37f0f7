#pragma once
// A regular frame in one step: equal storeys of columns on straight column
// lines, a beam over every bay of every floor. From the bays, the storeys,
// two sections and two concretes it fills the twelve job tables: numbered
// nodes with their equation codes, beams, columns, optional uniform loads on
// every beam and wind forces at the floors, ready to be edited further.
//
// Numbering. Node n = level·(bays+1) + line + 1, level 0 the base, line 0 the
// left column line. Beams first, floor by floor from the left; then the
// columns storey by storey from the left. Section 1 and concrete 1 are the
// columns', section 2 and concrete 2 the beams'. Equation codes run floor by
// floor: with rigid floors one horizontal code per floor, then vertical and
// rotation codes node by node; without, the three codes of each node in turn.

#include <string>
#include <vector>

#include "prep/job_database.h"

namespace tarvel {

struct RegularFrame {
    std::vector<double> spans;    // bay widths, left to right, m
    std::vector<double> heights;  // storey heights, bottom to top, m
    double columnB = 0.4, columnH = 0.4;  // m
    double beamB = 0.25, beamH = 0.5;     // m
    int columnGrade = 30, beamGrade = 30;  // C30 -> 30
    bool fixedBases = true;   // false: pinned bases (rotation free)
    bool rigidFloors = true;  // one horizontal unknown per floor
    bool selfWeight = true;   // WEIGHT K = 1
    double deadLoad = 0.0;    // uniform load on every beam, kN/m (downward positive)
    double liveLoad = 0.0;    // kN/m; 0 leaves LLOAD empty
    std::vector<double> windForces;  // horizontal force at each floor, kN, to the right; may be empty
};

// Why the frame cannot be built ("" when it can): no bay or storey, a span,
// height or section size not positive, a grade not in the concrete table,
// more wind forces than floors, or a frame beyond the program's node and
// member limits.
std::string regularFrameProblem(const RegularFrame& frame);

// The rows of all twelve tables. The frame must have no problem.
std::vector<JobDatabase::TableContent> regularFrameTables(const RegularFrame& frame);

// Replaces the whole job with the frame, in one transaction. Throws
// JobDatabaseError; std::invalid_argument when the frame has a problem.
void fillRegularFrame(JobDatabase& db, const RegularFrame& frame);

namespace regular_frame_text {
inline constexpr const char* kNoBay = "至少需要一跨。";
inline constexpr const char* kNoStorey = "至少需要一层。";
inline constexpr const char* kBadSpan = "跨度必须大于 0。";
inline constexpr const char* kBadHeight = "层高必须大于 0。";
inline constexpr const char* kBadSection = "截面尺寸必须大于 0。";
inline constexpr const char* kBadGrade = "混凝土强度等级应为 15～80 之间 5 的倍数。";
inline constexpr const char* kTooManyWinds = "风荷载的个数多于楼层数。";
inline constexpr const char* kTooLarge = "节点或杆件数超出程序的限制（节点不多于 220 个，杆件不多于 200 根）。";
}  // namespace regular_frame_text

}  // namespace tarvel
