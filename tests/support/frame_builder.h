#pragma once
// Small frame data files for the analysis tests, the static steps run one by
// one (so FMQN and P can be looked at before a case clears them), and the
// support reactions and applied loads of a load case for equilibrium checks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/band_solver.h"
#include "analysis/element_stiffness.h"
#include "analysis/load_vectors.h"
#include "analysis/member_forces.h"
#include "analysis/stiffness_assembly.h"
#include "model/data_file.h"
#include "model/frame_reader.h"
#include "run/run_driver.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel::testing {

// Reports of test runs carry this time stamp instead of the local time.
inline constexpr const char* kFixedTimeStamp = "2026 - 12 - 08   10:00:00";

// A number as a data file carries it.
inline std::string num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

// Writes a frame data file segment by segment, one record per line.
class FrameBuilder {
  public:
    FrameBuilder& weight(double k) {
        weight_ = "WEIGHT\r\n " + num(k) + " \r\n\r\n";
        return *this;
    }
    FrameBuilder& noWeightSegment() {
        weight_.clear();
        return *this;
    }
    FrameBuilder& section(double b, double h) {
        sections_ += " " + num(b) + "  " + num(h) + " \r\n";
        return *this;
    }
    FrameBuilder& concrete(int grade) {
        concretes_ += " " + std::to_string(grade) + " \r\n";
        return *this;
    }
    FrameBuilder& node(int n, int ix, int iy, int ifi, double x, double y) {
        points_ += " " + std::to_string(n) + "  " + std::to_string(ix) + "  " + std::to_string(iy) +
                   "  " + std::to_string(ifi) + "  " + num(x) + "  " + num(y) + " \r\n";
        return *this;
    }
    FrameBuilder& beam(int i, int j, int sec = 1, int con = 1) {
        beams_ += " " + std::to_string(i) + "  " + std::to_string(j) + "  " + std::to_string(sec) +
                  "  " + std::to_string(con) + " \r\n";
        return *this;
    }
    FrameBuilder& column(int i, int j, int sec = 1, int con = 1) {
        columns_ += " " + std::to_string(i) + "  " + std::to_string(j) + "  " +
                    std::to_string(sec) + "  " + std::to_string(con) + "  0 \r\n";
        return *this;
    }
    // A load record of case 1 (DLOAD), 2 (LLOAD) or 3 (WLOAD).
    FrameBuilder& load(int lc, int member, int type, double q, double a, double b = 0.0) {
        loads_[lc] += " " + std::to_string(member) + "  " + std::to_string(type) + "  " + num(q) +
                      "  " + num(a) + "  " + num(b) + " \r\n";
        present_[lc] = true;
        return *this;
    }
    FrameBuilder& dead(int m, int type, double q, double a, double b = 0.0) {
        return load(1, m, type, q, a, b);
    }
    FrameBuilder& live(int m, int type, double q, double a, double b = 0.0) {
        return load(2, m, type, q, a, b);
    }
    FrameBuilder& wind(int m, int type, double q, double a, double b = 0.0) {
        return load(3, m, type, q, a, b);
    }
    // Writes the segment even when it holds no record.
    FrameBuilder& emptyLoads(int lc) {
        present_[lc] = true;
        return *this;
    }
    FrameBuilder& withoutDeadLoads() {
        present_[1] = false;
        return *this;
    }

    std::string text() const {
        std::string t = weight_;
        t += "BAR-SEC\r\n" + sections_ + "\r\n";
        t += "CONCRATE\r\n" + concretes_ + "\r\n";
        t += "POINT\r\n" + points_ + "\r\n";
        t += "BEAM\r\n" + beams_ + "\r\n";
        t += "COLUMN\r\n" + columns_ + "\r\n";
        const char* names[4] = {"", "DLOAD", "LLOAD", "WLOAD"};
        for (int lc = 1; lc <= 3; ++lc) {
            if (present_[lc]) t += std::string(names[lc]) + "\r\n" + loads_[lc] + "\r\n";
        }
        return t;
    }

  private:
    std::string weight_ = "WEIGHT\r\n 0 \r\n\r\n";
    std::string sections_, concretes_, points_, beams_, columns_;
    std::string loads_[4];
    bool present_[4] = {false, true, false, false};
};

// Three bays of 6, 2.7 and 6 m, four storeys, every floor sharing its sway
// code, with dead, live and wind loads of several types.
inline FrameBuilder officeFrame() {
    FrameBuilder f;
    f.weight(1);
    f.section(0.25, 0.6)
        .section(0.25, 0.45)
        .section(0.5, 0.5)
        .section(0.45, 0.45)
        .concrete(30)
        .concrete(25);
    const double x[4] = {0, 6, 8.7, 14.7};
    for (int c = 0; c < 4; ++c) f.node(c + 1, 0, 0, 0, x[c], 0);
    int code = 0;
    for (int floor = 1; floor <= 4; ++floor) {
        const int sway = ++code;
        for (int c = 0; c < 4; ++c) {
            const int v = ++code;
            const int t = ++code;
            f.node(4 * floor + c + 1, sway, v, t, x[c], 0.9 + 3.6 * floor);
        }
    }
    for (int floor = 1; floor <= 4; ++floor) {
        for (int c = 0; c < 3; ++c) f.beam(4 * floor + c + 1, 4 * floor + c + 2, c == 1 ? 2 : 1, 2);
    }
    for (int floor = 1; floor <= 4; ++floor) {
        for (int c = 0; c < 4; ++c)
            f.column(4 * (floor - 1) + c + 1, 4 * floor + c + 1, floor <= 2 ? 3 : 4, 1);
    }
    for (int b = 1; b <= 12; ++b) {
        f.dead(b, 2, b % 3 == 2 ? 11.5 : 22.5, 0, -1);
        if (b % 3 != 2) f.dead(b, 1, 36, 3);
        f.live(b, 2, b % 3 == 2 ? 5.4 : 7.2, 0, -1);
    }
    f.dead(5, 3, 4.5, 0, 3).dead(5, 4, 4.5, 3, 6).dead(13, 5, -12.5, 2.25);
    f.live(2, 2, 2.5, 0.5, 2.2);
    for (int floor = 1; floor <= 4; ++floor) {
        f.wind(12 + 4 * (floor - 1) + 1, 2, 2.1 + 0.3 * floor, 0, -1);
        f.wind(12 + 4 * (floor - 1) + 4, 2, 1.2 + 0.2 * floor, 0, -1);
    }
    f.wind(25, 3, 0.8, 0, 3.6).wind(28, 1, 4.5, 3.6);
    return f;
}

// A whole run through the driver, on a file in a fresh folder.
struct RunFixture {
    TempDir dir;
    RecordingHost host;
    std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
    RunResult result;

    RunResult run(const std::string& text, const std::string& name = "FRAME.TVL", int mainGrade = 2,
                  int stirrupGrade = 1) {
        const std::string path = dir.write(name, text);
        result = Frame5(RunRequest{path, mainGrade, stirrupGrade, kFixedTimeStamp}, host, *state);
        return result;
    }
    bool exists(const std::string& name) const {
        return std::filesystem::exists(dir.path() / name);
    }
    std::string read(const std::string& name) const { return TempDir::read(dir.file(name)); }
};

// The static steps one by one: read, assemble, factorise; then one case at a
// time with FMQN and P (the displacements) left for the test to read.
struct StaticSolver {
    TempDir dir;
    RecordingHost host;
    std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
    std::unique_ptr<DataFile> file;

    // False (with a test failure) when any step refuses the frame.
    bool prepare(const std::string& text) {
        AnalysisState& s = *state;
        s.reset();
        s.dataPath = dir.write("FRAME.TVL", text);
        file = std::make_unique<DataFile>(host, s.dataPath);
        EXPECT_TRUE(file->load());
        if (INDATA(*file, s.model, host, ReaderOptions::analysis()) != ReadStatus::Ok) {
            ADD_FAILURE() << "frame not read";
            return false;
        }
        if (!readLoadSegments(s, *file, host) || !INITAK(s, host) || !KMAIN(s, host)) {
            ADD_FAILURE() << "frame not assembled";
            return false;
        }
        if (LI(s.SK, s.NDOF, s.band(), kPivotEpsilon) != 0) {
            ADD_FAILURE() << "stiffness matrix singular";
            return false;
        }
        return true;
    }
    // Loads of case LC into P and FMQN, then the solution: FMQN holds the
    // member forces and P the displacements.
    void solve(int LC) {
        ASSERT_TRUE(BLOAD(*state, *file, kLoadSegmentNames[LC], LC));
        BFORCE(*state);
    }
    float M(int s, int m) const { return state->FMQN(1, s, m); }
    float V(int s, int m) const { return state->FMQN(2, s, m); }
    float N(int s, int m) const { return state->FMQN(3, s, m); }
    // Displacement of node n in direction k (1 X, 2 Y, 3 rotation, clockwise).
    float displacement(int k, int n) const {
        const int code = state->model.code(k, n);
        return code == 0 ? 0.0f : state->P(code);
    }
};

// Resultant of forces in X and Y and their moment about the origin,
// clockwise positive like the program's rotations.
struct Resultant {
    double X = 0.0;
    double Y = 0.0;
    double M = 0.0;
    void addForce(double fx, double fy, double x, double y) {
        X += fx;
        Y += fy;
        M += y * fx - x * fy;
    }
};

// Member end forces of m in global directions (X, Y, moment at I, then J), the
// forces the nodes exert on the member, recovered from the section forces:
// (N, V, M) at section 1 and −(N, V, M) at section 9 in member directions.
inline void globalEndForces(const AnalysisState& s, int m, double out[7]) {
    const FrameModel& md = s.model;
    const int i = md.startNode(m);
    const int j = md.endNode(m);
    const double dx = md.XY(1, j) - md.XY(1, i);
    const double dy = md.XY(2, j) - md.XY(2, i);
    const double L = std::hypot(dx, dy);
    const double c = dx / L;
    const double sn = dy / L;
    const double local[7] = {0,
                             s.FMQN(3, 1, m),
                             s.FMQN(2, 1, m),
                             s.FMQN(1, 1, m),
                             -s.FMQN(3, 9, m),
                             -s.FMQN(2, 9, m),
                             -s.FMQN(1, 9, m)};
    for (int e = 0; e <= 3; e += 3) {
        out[e + 1] = c * local[e + 1] - sn * local[e + 2];
        out[e + 2] = sn * local[e + 1] + c * local[e + 2];
        out[e + 3] = local[e + 3];
    }
}

// Support reactions: the member end forces at every restrained component.
inline Resultant reactions(const AnalysisState& s) {
    const FrameModel& md = s.model;
    Resultant r;
    for (int m = 1; m <= md.NE; ++m) {
        double f[7];
        globalEndForces(s, m, f);
        const int nodes[2] = {md.startNode(m), md.endNode(m)};
        for (int e = 0; e < 2; ++e) {
            const int n = nodes[e];
            const double x = md.XY(1, n);
            const double y = md.XY(2, n);
            if (md.code(1, n) == 0) r.addForce(f[3 * e + 1], 0.0, x, y);
            if (md.code(2, n) == 0) r.addForce(0.0, f[3 * e + 2], x, y);
            if (md.code(3, n) == 0) r.M += f[3 * e + 3];
        }
    }
    return r;
}

// The loads of case LC (and the self-weight when asked) as forces at their
// points of application, from the load records and the frame geometry.
inline Resultant appliedLoads(const AnalysisState& s, int LC, bool withSelfWeight) {
    const FrameModel& md = s.model;
    Resultant r;
    auto geometry = [&](int m, double& xi, double& yi, double& L, double& c, double& sn) {
        xi = md.XY(1, md.startNode(m));
        yi = md.XY(2, md.startNode(m));
        const double dx = md.XY(1, md.endNode(m)) - xi;
        const double dy = md.XY(2, md.endNode(m)) - yi;
        L = std::hypot(dx, dy);
        c = dx / L;
        sn = dy / L;
    };
    for (const LoadRecord& rec : s.loads[LC].records) {
        double xi, yi, L, c, sn;
        geometry(rec.IBAR, xi, yi, L, c, sn);
        const double q = rec.Q;
        double a = rec.A;
        double b = rec.B;
        auto at = [&](double d, double fx, double fy) {
            r.addForce(fx, fy, xi + d * c, yi + d * sn);
        };
        // Transverse loads push towards the member's right-hand side (sn, −c).
        switch (rec.IC) {
            case 1:
                at(a < 0 ? L : a, q * sn, -q * c);
                break;
            case 2:
            case 3:
            case 4: {
                if (a < 0) a = 0;
                if (b > L || b < 0) b = L;
                if (b <= a) break;
                const double w = rec.IC == 2 ? q * (b - a) : q * (b - a) / 2;
                const double d = rec.IC == 2   ? (a + b) / 2
                                 : rec.IC == 3 ? a + 2 * (b - a) / 3
                                               : a + (b - a) / 3;
                at(d, w * sn, -w * c);
                break;
            }
            case 5:
                at(a < 0 ? L : a, q * c, q * sn);
                break;
            case 6:
                r.M += q;
                break;
            default:
                break;
        }
    }
    if (withSelfWeight && md.KW != 0) {
        for (int m = 1; m <= md.NE; ++m) {
            double xi, yi, L, c, sn;
            geometry(m, xi, yi, L, c, sn);
            const double w = 25.0 * md.SEC(3, md.sectionOf(m)) * L;
            r.addForce(0.0, -w, xi + L / 2 * c, yi + L / 2 * sn);
        }
    }
    return r;
}

// Reactions and loads balance in X, Y and moment, to `relative` of the loads
// (moments against the loads times the size of the frame).
inline void expectEquilibrium(const AnalysisState& s, int LC, bool withSelfWeight,
                              double relative = 2e-5) {
    const Resultant load = appliedLoads(s, LC, withSelfWeight);
    const Resultant support = reactions(s);
    double extent = 1.0;
    for (int n = 1; n <= s.model.NJ; ++n) {
        extent = std::max(
            {extent, std::fabs(double(s.model.XY(1, n))), std::fabs(double(s.model.XY(2, n)))});
    }
    const double force = std::max({std::fabs(load.X), std::fabs(load.Y), 1.0});
    const double moment = force * extent + std::fabs(load.M);
    EXPECT_NEAR(support.X + load.X, 0.0, relative * force) << "horizontal";
    EXPECT_NEAR(support.Y + load.Y, 0.0, relative * force) << "vertical";
    EXPECT_NEAR(support.M + load.M, 0.0, relative * moment) << "moment";
}

}  // namespace tarvel::testing
