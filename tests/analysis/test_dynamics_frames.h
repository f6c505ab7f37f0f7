#pragma once
// Small frames for the dynamic and seismic tests, read and factorised up to
// the point where `DYNAMICS` takes over, and the closed forms they are checked
// against. Section 0.4 × 0.4 m of C30: E = 3.0E7 kN/m², I = 0.4⁴/12 m⁴.

#include <memory>
#include <string>

#include "analysis/analysis_state.h"
#include "analysis/band_solver.h"
#include "analysis/stiffness_assembly.h"
#include "model/data_file.h"
#include "model/frame_reader.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel::testing {

inline constexpr double kStoreyHeight = 3.6;                    // m
inline constexpr double kColumnEI = 3.0E7 * 0.0256 / 12.0;      // kN·m², 64000
// Sway stiffness of a column whose ends cannot turn: 12EI/h³, kN/m.
inline constexpr double kFixedColumnStiffness =
    12.0 * kColumnEI / (kStoreyHeight * kStoreyHeight * kStoreyHeight);
// Top deflection of a cantilever column under a unit force: h³/(3EI), m/kN.
inline constexpr double kCantileverFlexibility =
    kStoreyHeight * kStoreyHeight * kStoreyHeight / (3.0 * kColumnEI);

inline std::string frameHead() {
    return "WEIGHT\r\n 0 \r\n\r\n"
           "BAR-SEC\r\n .4  .4 \r\n .3  .6 \r\n\r\n"
           "CONCRATE\r\n 30 \r\n\r\n";
}

// One column of 3.6 m, fixed at node 1; node 2 on top is free (codes 1, 2, 3).
inline std::string cantilever(const std::string& seismic) {
    return frameHead() +
           "POINT\r\n 1  0  0  0  0  0 \r\n 2  1  2  3  0  3.6 \r\n\r\n"
           "BEAM\r\n\r\n"
           "COLUMN\r\n 1  2  1  1  0 \r\n\r\n"
           "DLOAD\r\n\r\n" + seismic;
}

// Two storeys of one column each; the nodes sway and settle but cannot turn,
// so every storey is a shear spring of 12EI/h³: a two-mass shear building.
inline std::string shearBuilding(const std::string& seismic) {
    return frameHead() +
           "POINT\r\n 1  0  0  0  0  0 \r\n 2  1  2  0  0  3.6 \r\n 3  3  4  0  0  7.2 \r\n\r\n"
           "BEAM\r\n\r\n"
           "COLUMN\r\n 1  2  1  1  0 \r\n 2  3  1  1  0 \r\n\r\n"
           "DLOAD\r\n\r\n" + seismic;
}

// A one-bay portal, 6 m × 3.6 m, fixed bases, beam 0.3 × 0.6; the two top
// nodes share the horizontal code 1.
inline std::string portal(const std::string& seismic) {
    return frameHead() +
           "POINT\r\n 1  0  0  0  0  0 \r\n 2  0  0  0  6  0 \r\n"
           " 3  1  2  3  0  3.6 \r\n 4  1  4  5  6  3.6 \r\n\r\n"
           "BEAM\r\n 3  4  2  1 \r\n\r\n"
           "COLUMN\r\n 1  3  1  1  0 \r\n 2  4  1  1  0 \r\n\r\n"
           "DLOAD\r\n\r\n" + seismic;
}

// A frame read, assembled and factorised; PLOAD is left for the test to fill.
struct FactorisedFrame {
    TempDir dir;
    RecordingHost host;
    std::unique_ptr<AnalysisState> st = std::make_unique<AnalysisState>();
    std::unique_ptr<DataFile> file;
};

inline std::unique_ptr<FactorisedFrame> factorise(const std::string& text) {
    auto f = std::make_unique<FactorisedFrame>();
    f->file = std::make_unique<DataFile>(f->host, f->dir.write("frame.TVL", text));
    AnalysisState& st = *f->st;
    st.reset();
    bool ok = f->file->load() &&
              INDATA(*f->file, st.model, f->host, ReaderOptions::analysis()) == ReadStatus::Ok &&
              INITAK(st, f->host) && KMAIN(st, f->host) &&
              LI(st.SK, st.NDOF, st.band(), kPivotEpsilon) == 0;
    if (!ok) return nullptr;
    f->host = RecordingHost{};  // tests look only at what the dynamic steps report
    return f;
}

// Horizontal displacement at unknown `code` under a unit force there, m/kN,
// solved with the factorised stiffness on its own.
inline float unitDisplacement(const AnalysisState& st, int code) {
    LoadVector P;
    P(code) = 1.0f;
    MLI(st.SK, st.NDOF, st.band(), P);
    return P(code);
}

}  // namespace tarvel::testing
