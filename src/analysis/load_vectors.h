#pragma once
// Member loads of the static load cases: reading the load segments, the
// self-weight, and turning each load into its fixed-end state (into FMQN)
// and equivalent nodal loads (subtracted into P).

#include <string_view>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/element_stiffness.h"
#include "analysis/fixed_end_forces.h"
#include "common/host.h"
#include "model/data_file.h"

namespace tarvel {

// Unit weight of reinforced concrete for the self-weight, kN/m³.
inline constexpr float kConcreteUnitWeight = 25.0f;

// Reads DLOAD, LLOAD and WLOAD (silently; absent segments are reported by
// `BLOAD` in their turn) into s.loads and checks every record before the
// analysis starts: a value that cannot be read, or a member number outside
// 1..NE, is reported naming the segment and the record. False when rejected.
bool readLoadSegments(AnalysisState& s, DataFile& file, Host& host);

// Applies every record read for case LC through `LOAD`.
void applyLoadSegment(AnalysisState& s, int LC);

// The nodal-load part of `applyLoadSegment`: P changes exactly as there,
// FMQN not at all.
void applyNodalLoads(AnalysisState& s, int LC);

// `LOAD`: one load of type `type` on member m with direction cosines c, sn:
// FMQN(·, ·, m) += its fixed-end section forces, P −= its fixed-end forces at
// the free codes of the member's nodes.
void LOAD(AnalysisState& s, int m, int type, const LoadParameters& R, float c, float sn);

// Self-weight of member m into the dead-load vector: the part perpendicular
// to the member as a uniform load, the part along it as one force at mid-length.
void addSelfWeight(AnalysisState& s, int m, const MemberGeometry& g);

// `BLOAD`: applies every record of load segment `name` as case LC and sets its
// presence flag LCF(LC). DLOAD (LC = 1) is mandatory: false when it is absent
// (the segment finder has logged the fatal lines). LLOAD and WLOAD absent
// leave their case without loads, with a notice in the run log.
bool BLOAD(AnalysisState& s, DataFile& file, std::string_view name, int LC);

// `LLOAD`: applies only the records of member k from segment `name`; returns
// how many it applied. Records of type 0 carry no load and are skipped, so the
// live loads that follow them still count in the arrangement sums.
int LLOAD(AnalysisState& s, std::string_view name, int k);

// The members 1..NE, in order, for which `LLOAD` applies at least one record.
std::vector<int> membersLoadedBy(const AnalysisState& s, std::string_view name);

}  // namespace tarvel
