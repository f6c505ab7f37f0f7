#pragma once
// Fixed-end state of one member load: the section forces of the member
// clamped at both ends, and the forces its ends exert on the nodes.
//
// Load types (Q, A, B as in the load segments, distances from the start node):
//   1 force Q perpendicular to the member at A (kN)
//   2 uniform Q over [A, B] perpendicular to the member (kN/m)
//   3 triangle perpendicular, 0 at A rising to Q at B (kN/m)
//   4 triangle perpendicular, Q at A falling to 0 at B (kN/m)
//   5 force Q along the member at A, positive from start to end node (kN)
//   6 moment Q at A, clockwise positive (kN·m)
// Positive transverse loads act towards the member's right-hand side seen
// from its start node (downward on a beam drawn from left to right).
// Any other type carries nothing.

#include "analysis/element_stiffness.h"
#include "common/table.h"

namespace tarvel {

using SectionForces = Table<float, 3, 9>;  // F(k, s): k 1 M, 2 V, 3 N at section s = 1..9

// `MQN0`: closed-form section forces of the clamped member (types 1..6).
void MQN0(int type, const LoadParameters& R, SectionForces& F);

// `MQN`: parameter clean-up, loads at a member end, else `MQN0`; FE gets the
// fixed-end forces in member directions (N, V, M at the start, then the end).
void MQN(int type, const LoadParameters& R, SectionForces& F, Vec6& FE);

// `MQNXY`: as `MQN`, with FE turned into global directions (X, Y, moment).
void MQNXY(int type, const LoadParameters& R, float c, float s, Vec6& FE, SectionForces& F);

}  // namespace tarvel
