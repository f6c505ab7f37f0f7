#pragma once
// A one-bay, one-storey portal frame, 6 m wide and 4 m high, and a design of
// it, for the files written from the design results:
//   node 1 (0, 0) fixed, node 4 (6, 0) fixed, node 2 (0, 4) free,
//   node 3 (6, 4) free except its horizontal movement (a lateral support).
//   beam 1: 2 -> 3, 250 x 500; column 1: 1 -> 2, column 2: 4 -> 3, 400 x 400; all C30.
// One storey level at node 2, 4 m above the lowest node.

#include "analysis/design_results.h"
#include "model/frame_model.h"

namespace tarvel::testing {

inline void portalFrame(FrameModel& md) {
    md.NJ = 4;
    md.NB = 1;
    md.NC = 2;
    md.NE = 3;
    const float xy[5][2] = {{0, 0}, {0, 0}, {0, 4}, {6, 4}, {6, 0}};
    const float jd[5][3] = {{0, 0, 0}, {0, 0, 0}, {1, 2, 3}, {0, 4, 5}, {0, 0, 0}};
    for (int n = 1; n <= 4; ++n) {
        md.XY(1, n) = xy[n][0];
        md.XY(2, n) = xy[n][1];
        for (int k = 1; k <= 3; ++k) md.JD(k, n) = jd[n][k - 1];
    }
    const float mem[4][4] = {{0, 0, 0, 0}, {2, 3, 1, 1}, {1, 2, 2, 1}, {4, 3, 2, 1}};
    for (int m = 1; m <= 3; ++m) {
        for (int k = 1; k <= 4; ++k) md.MEM(k, m) = mem[m][k - 1];
    }
    md.NSEC = 2;
    md.SEC(1, 1) = 0.25f;
    md.SEC(2, 1) = 0.5f;
    md.SEC(1, 2) = 0.4f;
    md.SEC(2, 2) = 0.4f;
    md.NCON = 1;
    md.GRADE(1) = 30.0f;
    md.ALFC(1) = 1.25f;
    md.ALFC(2) = 1.0f;
    md.NLEV = 1;
    md.LEVN(1) = 2.0f;
    md.LEVY(1) = 4.0f;
    md.LEVY(0) = 0.0f;
}

// Beam steel at every section with the governing combinations, column steel,
// ratios and stirrups; column 2 carries the markers of a section that could
// not be designed.
inline void portalDesign(DesignResults& des) {
    const float top[10] = {0, 612.9f, 405.0f, 0, 0, 0, 0, 0, 405.0f, 612.9f};
    const float topNo[10] = {0, 3, 3, 1, 1, 1, 1, 1, 5, 5};
    const float bottom[10] = {0, 0, 0, 305.6f, 410.0f, 455.5f, 410.0f, 305.6f, 0, 0};
    const float bottomNo[10] = {0, 1, 1, 5, 5, 17, 5, 5, 1, 1};
    for (int s = 1; s <= 9; ++s) {
        des.BAS(s, 1, 1) = top[s];
        des.BASC(s, 1, 1) = topNo[s];
        des.BAS(s, 1, 2) = bottom[s];
        des.BASC(s, 1, 2) = bottomNo[s];
    }
    des.BASV(1, 1) = 99.0f;  // section too small for the shear
    des.BASVC(1, 1) = 14.0f;
    des.BASV(2, 1) = 0.375f;
    des.BASVC(2, 1) = 9.0f;

    des.CAS(1, 1) = 1256.6f;
    des.CASC(1, 1) = 3.0f;
    des.CAS(2, 1) = 980.2f;
    des.CASC(2, 1) = 12.0f;
    des.CRHO(1, 1) = 0.0125f;  // the bottom end governs: strictly larger
    des.CRHO(2, 1) = 0.0098f;
    des.CASV(1, 1) = 0.4f;
    des.CASVC(1, 1) = 2.0f;
    des.CASV(2, 1) = 99.0f;
    des.CASVC(2, 1) = 9.0f;
    des.CNR(1, 1) = 0.3456f;
    des.CNR(2, 1) = 0.4321f;

    // Column 2 could not be designed at either end.
    for (int e = 1; e <= 2; ++e) {
        des.CAS(e, 2) = -1.0f;
        des.CRHO(e, 2) = -0.01f;
        des.CASVC(e, 2) = 1.0f;
        des.CNR(e, 2) = 0.125f;
    }
    des.CASC(1, 2) = 7.0f;
    des.CASC(2, 2) = 4.0f;
}

}  // namespace tarvel::testing
