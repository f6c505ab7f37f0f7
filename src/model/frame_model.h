#pragma once
// The frame model: the structural data of one ".TVL" data file as every
// analysis step reads it. Units: m, kN, kN/m, kN·m; Ec in kN/m²; concrete
// strengths in N/mm². Tables are numbered from 1 (slot 0 unused). Codes, node
// and section numbers share the single-precision tables of the coordinates:
// whole numbers well below 2^24, so a float holds them exactly.

#include <cstdint>

#include "common/limits.h"
#include "common/table.h"

namespace tarvel {

struct FrameModel {
    std::int16_t NJ = 0;    // nodes 1..NJ: the largest node number read
    std::int16_t NB = 0;    // beams, members 1..NB
    std::int16_t NC = 0;    // columns, members NB+1..NE
    std::int16_t NE = 0;    // members, NB + NC
    std::int16_t NSEC = 0;  // sections
    std::int16_t NCON = 0;  // concretes
    std::int16_t KW = 1;    // self-weight switch: 0 none, otherwise 25 kN/m³ in the dead case
    std::int16_t NLEV = 0;  // storey levels
    float ALFI = 1.0f;      // stiffness factors, read and kept
    float ALFF = 1.0f;
    float FT = 0.0f;        // design tensile strength ft of the last concrete read, N/mm²

    Table<float, 2, limits::kMaxNodes> XY;       // XY(1,n) = X, XY(2,n) = Y of node n, m
    Table<float, 3, limits::kMaxNodes> JD;       // JD(k,n): equation numbers of u, v, θ; 0 = restrained
    Table<float, 4, limits::kMaxSections> SEC;   // SEC(1..4,s): B, H (m), A = B·H (m²), I = B·H³/12 (m⁴)
    Table<float, limits::kMaxConcretes> GRADE;   // grade number of concrete c (C30 -> 30)
    Table<float, limits::kMaxConcretes> FC;      // design compressive strength fc, N/mm²
    Table<float, limits::kMaxConcretes> FCM;     // fcm, equal to fc
    Table<float, 20> EC;                         // elastic modulus Ec, kN/m²
    Table<float, 4, limits::kMaxMemberRecords> MEM;  // MEM(1..4,m): start node, end node, section, concrete
    Table<float, limits::kMaxColumns> ALFC;      // effective-length factor of column i (member NB+i)
    Table<float, limits::kMaxLevels> LEVN;       // representative node of storey level l
    Table<float, limits::kMaxLevels> LEVY;       // elevation of level l; LEVY(0) = lowest node Y

    int startNode(int m) const { return static_cast<int>(MEM(1, m)); }
    int endNode(int m) const { return static_cast<int>(MEM(2, m)); }
    int sectionOf(int m) const { return static_cast<int>(MEM(3, m)); }
    int concreteOf(int m) const { return static_cast<int>(MEM(4, m)); }
    int code(int k, int n) const { return static_cast<int>(JD(k, n)); }
};

}  // namespace tarvel
