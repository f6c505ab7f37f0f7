#pragma once
// Seismic data of one run: the parameters of the SEISMIC segment, the lumped
// masses, the natural periods and mode shapes (`DYNAMICS`), and the design
// constants of the seismic action (`SEISMIC`). Weights in kN, periods in s.
// A run without a SEISMIC segment leaves everything zero except the constants,
// which are then formed from the zero parameters.

#include <cstdint>

#include "common/limits.h"
#include "common/table.h"

namespace tarvel {

// The first record of the SEISMIC segment, in file order.
struct SeismicParameters {
    float KCLASS = 0.0f;  // anti-seismic grade of the structure, 1..4
    float K0 = 0.0f;      // fortification intensity, degrees (6..9)
    float TG = 0.0f;      // characteristic period of the site, s
    float ALF1 = 0.0f;    // fraction of the live load lumped into the masses (0.5 = 50 %)
    float ALF2 = 0.0f;    // period factor for infill walls, multiplies every period
    float NN = 0.0f;      // number of modes to combine
    float ADJUST = 0.0f;  // multiplier of the three seismic adjustment factors
};

// Design constants that depend on the grade and the intensity.
struct SeismicConstants {
    float XIMAXE = 0.0f;  // limit of the relative compression-zone depth of beams, seismic
    float ETAVB = 0.0f;   // beam shear adjustment factor
    float ETAVC = 0.0f;   // column shear adjustment factor
    float ETAMC = 0.0f;   // column moment adjustment factor
    float ALFMAX = 0.0f;  // maximum seismic influence coefficient
};

struct DynamicResults {
    // Working set: NN reduced to NMASS. The design routines may use ALF1 and
    // ALF2 of this set as scratch, so the report takes them from `raw`.
    SeismicParameters par;
    SeismicParameters raw;  // the first record exactly as read

    std::int16_t NMASS = 0;                    // mass records read
    Table<float, limits::kMaxMasses> MNODE;    // representative node; JD(1, MNODE(j)) its unknown
    Table<float, limits::kMaxMasses> WD;       // dead-load weight, kN
    Table<float, limits::kMaxMasses> WL;       // live-load weight, full value, kN
    Table<float, limits::kMaxMasses> WA;       // additional weight, kN
    Table<float, limits::kMaxMasses> WG;       // WD + WA + ALF1·WL, kN; the mass is WG / 9.8 t
    Table<double, limits::kMaxMasses> PERIOD;  // period of mode j, s, longest first
    // PHI(i,j): amplitude of mass i in mode j; every column has unit length.
    Table<double, limits::kMaxMasses, limits::kMaxMasses> PHI;
    int IERR = 0;  // 0, or the eigenvalue on which the eigen-solution gave up

    SeismicConstants con;  // formed by SEISMIC
};

}  // namespace tarvel
