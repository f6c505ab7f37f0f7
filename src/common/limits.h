#pragma once
// Capacities of the frame model and the analysis tables. A data file that
// exceeds any of them is rejected before analysis with a message naming the
// limit and the value found; nothing is ever stored past a table's end.

namespace tarvel::limits {

constexpr int kMaxNodes = 220;           // node numbers 1..220
constexpr int kMaxBeams = 190;
constexpr int kMaxColumns = 210;
constexpr int kMaxMemberRecords = 400;   // beams + columns in the member table
constexpr int kMaxForceMembers = 200;    // members in the internal-force tables
constexpr int kMaxSections = 64;
constexpr int kMaxConcretes = 10;
constexpr int kMaxLevels = 30;
constexpr int kMaxCode = 1000;           // displacement (equation) numbers 1..1000
constexpr int kMaxStiffnessEntries = 32767;  // NDOF * MBAND, a 16-bit count
constexpr int kMaxMasses = 80;           // lumped masses of the seismic analysis
constexpr int kMaxMassValues = 300;      // values in one mass record

// The drawing window's own reader keeps smaller tables.
constexpr int kDrawMaxSections = 32;
constexpr int kDrawMaxMemberRecords = 200;

}  // namespace tarvel::limits
