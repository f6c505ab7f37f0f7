#pragma once
// Results of the beam and column design of one run, read by the report and
// the reinforcement file. Steel in mm², stirrups as Asv/s in mm²/mm;
// combination numbers are those of the lists in load_combinations.h, held as
// floats like the other result tables.

#include "common/limits.h"
#include "common/table.h"

namespace tarvel {

struct DesignResults {
    // Beams b = 1..NB.
    Table<float, 9, limits::kMaxBeams, 2> BAS;   // BAS(s,b,j): section s, j = 1 top, 2 bottom steel
    Table<float, 9, limits::kMaxBeams, 2> BASC;  // list A number governing BAS(s,b,j)
    Table<float, 2, limits::kMaxBeams>
        BASV;  // BASV(e,b): stirrups at end e (1 = section 1,
               // 2 = section 9); 99 = section too small for the shear
    Table<float, 2, limits::kMaxBeams> BASVC;  // list B number governing BASV(e,b)

    // Columns i = 1..NC (member NB + i), end e = 1 bottom (section 1), 2 top (section 9).
    Table<float, 2, limits::kMaxColumns> CAS;    // steel per side for bending with axial force;
                                                 // -1 when a combination could not be designed
    Table<float, 2, limits::kMaxColumns> CASC;   // list C number governing CAS
    Table<float, 2, limits::kMaxColumns> CAS0;   // steel per side for axial compression
    Table<float, 2, limits::kMaxColumns> CRHO;   // CAS / (b h); -0.01 together with CAS = -1
    Table<float, 2, limits::kMaxColumns> CRHO0;  // CAS0 / (b h)
    Table<float, 2, limits::kMaxColumns> CNR;    // largest axial-compression ratio N / (fc b h)
    Table<float, 2, limits::kMaxColumns>
        CASV;  // stirrups Asv/s; 99 = section too small for the shear
    Table<float, 2, limits::kMaxColumns> CASVC;  // list D number governing CASV

    void clearBeams() {
        BAS.clear();
        BASC.clear();
        BASV.clear();
        BASVC.clear();
    }
    void clearColumns() {
        CAS.clear();
        CASC.clear();
        CAS0.clear();
        CRHO.clear();
        CRHO0.clear();
        CNR.clear();
        CASV.clear();
        CASVC.clear();
    }
};

}  // namespace tarvel
