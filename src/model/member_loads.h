#pragma once
// The length of a member and where a load on it acts: the one rule the
// analysis computes a load by and the structure drawing draws it by.

#include "model/frame_model.h"

namespace tarvel {

// Length and direction of member m from its start node I to its end node J.
struct MemberGeometry {
    float DX = 0.0f;  // X(J) − X(I), m
    float DY = 0.0f;  // Y(J) − Y(I), m
    float L = 0.0f;   // length, m
    float c = 0.0f;   // DX / L (only when L ≠ 0)
    float s = 0.0f;   // DY / L
};
MemberGeometry memberGeometry(const FrameModel& model, int m);

// The load record R(1..4) handed to the load routines.
struct LoadParameters {
    float Q = 0.0f;  // R(1): intensity
    float L = 0.0f;  // R(2): member length, m
    float A = 0.0f;  // R(3): start or position, m
    float B = 0.0f;  // R(4): end, m
};

// A load this close to a member end (m) acts on the end node itself. The
// stored single-precision distance is compared exactly with 0.001: a
// position read as 0.001 (0.00100000005 as a float) lies just inside the span.
inline constexpr double kEndNodeTolerance = 0.001;

// Types 2, 3 and 4 are spread over [A, B]; 1, 5 and 6 act at the point A.
inline bool isDistributed(int type) { return type >= 2 && type <= 4; }

// What the parameter clean-up of the analysis makes of a load (r cleaned in
// place): a negative start of a distributed load becomes 0, an end beyond L
// or negative becomes L; a negative position of a concentrated load becomes L.
enum class LoadFate {
    NoLoad,     // a type other than 1..6: contributes nothing
    Vanishes,   // a distributed load whose start is at or beyond its end
    AtStart,    // a concentrated load within 0.001 of the start node
    AtEnd,      // a concentrated load within 0.001 of the end node
    OnMember,   // a load on the member, computed by `MQN0`
    BeyondEnd,  // a concentrated load beyond the end node (computed as on the member)
};
LoadFate cleanLoad(int type, LoadParameters& r);

}  // namespace tarvel
