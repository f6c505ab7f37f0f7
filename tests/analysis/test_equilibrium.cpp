// Protects the static analysis by statics: the support reactions recovered
// from the member end forces balance the applied loads of every load type and
// of a multi-storey frame; a symmetric frame answers symmetrically; shared
// codes force equal displacements.

#include <gtest/gtest.h>

#include <cmath>

#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::RunFixture;
using testing::StaticSolver;

// A gable frame: a fixed and a pinned base, two inclined rafters (the second
// drawn from right to left), nodes with their own codes.
FrameBuilder gable() {
    FrameBuilder f;
    f.section(0.3, 0.6).section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 1, 10, 0);
    f.node(3, 2, 3, 4, 0, 4).node(4, 5, 6, 7, 5, 6).node(5, 8, 9, 10, 10, 4);
    f.beam(3, 4, 1).beam(5, 4, 1).column(1, 3, 2).column(2, 5, 2);
    return f;
}

TEST(Equilibrium, EveryLoadTypeOnInclinedAndVerticalMembers) {
    struct Load {
        int member, type;
        double q, a, b;
    };
    const Load loads[] = {
        {1, 1, 12, 2.0, 0}, {2, 1, -7, 1.0, 0},  {3, 1, 9, 1.5, 0},   {1, 2, 4, 0.5, 4.0},
        {2, 2, 3, 0, -1},   {4, 2, 2.5, 1, 3},   {1, 3, 6, 1.0, 5.0}, {2, 3, 5, 0, 5.3},
        {3, 3, 4, 0, 4},    {1, 4, 6, 0.0, 3.0}, {2, 4, 5, 2, 5},     {4, 4, 4, 0.5, 4},
        {1, 5, 15, 2.5, 0}, {3, 5, -20, 1, 0},   {1, 6, 11, 1.7, 0},  {4, 6, -8, 3, 0},
    };
    for (const Load& l : loads) {
        SCOPED_TRACE("member " + std::to_string(l.member) + " type " + std::to_string(l.type));
        StaticSolver run;
        ASSERT_TRUE(run.prepare(gable().dead(l.member, l.type, l.q, l.a, l.b).text()));
        run.solve(1);
        testing::expectEquilibrium(*run.state, 1, false);
        // The load is really there.
        const testing::Resultant load = testing::appliedLoads(*run.state, 1, false);
        EXPECT_GT(std::fabs(load.X) + std::fabs(load.Y) + std::fabs(load.M), 1.0);
    }
}

TEST(Equilibrium, SelfWeight) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(gable().weight(1).text()));
    run.solve(1);
    testing::expectEquilibrium(*run.state, 1, true);
    // 0.3 × 0.6 rafters of 2 · √29 m and 0.4 × 0.4 columns of 2 · 4 m.
    const double weight = 25 * (0.18 * 2 * std::sqrt(29.0) + 0.16 * 8);
    EXPECT_NEAR(testing::reactions(*run.state).Y, weight, 1e-4 * weight);
}

TEST(Equilibrium, MultiStoreyFrameInEveryCase) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(testing::officeFrame().text()));
    for (int lc = 1; lc <= 3; ++lc) {
        SCOPED_TRACE("case " + std::to_string(lc));
        run.solve(lc);
        testing::expectEquilibrium(*run.state, lc, lc == 1);
        clearLoadVector(*run.state);
    }
}

TEST(Equilibrium, SymmetricFrameAnswersSymmetrically) {
    // Two equal bays, two storeys, equal gravity loads on mirrored beams.
    FrameBuilder f;
    f.weight(1).section(0.3, 0.6).section(0.4, 0.4).concrete(30);
    for (int c = 0; c < 3; ++c) f.node(c + 1, 0, 0, 0, 6.0 * c, 0);
    for (int floor = 1; floor <= 2; ++floor) {
        const int base = 3 * floor;
        const int sway = 7 * (floor - 1) + 1;
        for (int c = 0; c < 3; ++c)
            f.node(base + c + 1, sway, sway + 2 * c + 1, sway + 2 * c + 2, 6.0 * c, 3.6 * floor);
    }
    f.beam(4, 5).beam(5, 6).beam(7, 8).beam(8, 9);
    for (int c = 0; c < 3; ++c) f.column(c + 1, c + 4, 2);
    for (int c = 0; c < 3; ++c) f.column(c + 4, c + 7, 2);
    // Mirrored beam pairs: (1, 2) and (3, 4); a load at a from the left on
    // beam 1 mirrors to L − a on beam 2.
    f.dead(1, 2, 20, 0, -1).dead(2, 2, 20, 0, -1).dead(1, 1, 30, 2).dead(2, 1, 30, 4);
    f.dead(3, 3, 12, 1, 4).dead(4, 4, 12, 2, 5);
    RunFixture run;
    ASSERT_EQ(run.run(f.text()).outcome, RunOutcome::Finished);
    const AnalysisState& s = *run.state;
    const double tol = 1e-4 * 100;
    for (int pair : {1, 3}) {
        for (int sec = 1; sec <= 9; ++sec) {
            EXPECT_NEAR(s.BM(sec, pair, 1), s.BM(10 - sec, pair + 1, 1), tol) << pair << " " << sec;
        }
        EXPECT_NEAR(s.BV(1, pair, 1), -s.BV(2, pair + 1, 1), tol);
    }
    // Outer columns 1, 3 (and 4, 6) mirror each other: moments and shears turn
    // sign, axial forces are equal; the middle columns carry no moment.
    for (const auto& [left, right] : {std::pair{1, 3}, std::pair{4, 6}}) {
        for (int k : {5, 6, 9, 10}) EXPECT_NEAR(s.CF(k, left, 1), -s.CF(k, right, 1), tol) << k;
        for (int k : {7, 11}) EXPECT_NEAR(s.CF(k, left, 1), s.CF(k, right, 1), tol) << k;
    }
    for (int middle : {2, 5}) {
        EXPECT_NEAR(s.CF(5, middle, 1), 0.0, tol);
        EXPECT_NEAR(s.CF(9, middle, 1), 0.0, tol);
    }
}

TEST(Equilibrium, SharedCodeMakesTwoColumnsMoveAsOne) {
    // Two cantilever columns, 0.3 and 0.4 square, 4 m, whose tops share the
    // sway code 1 and are joined by nothing else; 12 kN pushes the first one.
    FrameBuilder f;
    f.section(0.3, 0.3).section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 5, 0);
    f.node(3, 1, 2, 3, 0, 4).node(4, 1, 4, 5, 5, 4);
    f.column(1, 3, 1).column(2, 4, 2);
    f.wind(1, 1, 12, 4);
    RunFixture run;
    ASSERT_EQ(run.run(f.text()).outcome, RunOutcome::Finished);
    const AnalysisState& s = *run.state;
    const double I1 = 0.3 * 0.027 / 12;
    const double I2 = 0.4 * 0.064 / 12;
    // The shear splits in proportion to the stiffness 3EI/h³ of each column.
    EXPECT_NEAR(s.CF(6, 1, 3), 12 * I1 / (I1 + I2), 1e-4);
    EXPECT_NEAR(s.CF(6, 2, 3), 12 * I2 / (I1 + I2), 1e-4);
    EXPECT_NEAR(s.UD(1, 1), 12 * 64 / (3 * 3.0E7 * (I1 + I2)), 1e-9);
}

}  // namespace
}  // namespace tarvel
