// Protects LIVEFORC: the unfavourable live-load sums worked by hand on a
// two-span beam, the type-0 record that no longer hides later loads, and the
// grouped solution against the member-by-member one.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/live_arrangement.h"
#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::RunFixture;
using testing::StaticSolver;

// Two spans of 4 m on three pinned supports; 12 kN/m of live load on each span.
// One span loaded: M_B = −qL²/16 = −12; on the loaded span R_A = 7qL/16 = 21,
// M(x) = 21x − 6x² (0, 9, 15, 18, 18, 15, 9, 0, −12 at the sections), V from
// 21 to −27; the other span runs linearly from −12 to 0 with V = ±3.
FrameBuilder twoSpans() {
    FrameBuilder f;
    f.section(0.25, 0.5).concrete(30);
    f.node(1, 0, 0, 1, 0, 0).node(2, 0, 0, 2, 4, 0).node(3, 0, 0, 3, 8, 0);
    f.beam(1, 2).beam(2, 3);
    return f;
}

void expectTwoSpanSums(const AnalysisState& s) {
    const double tol = 2e-4;
    const double negative1[10] = {0, 0, -1.5, -3, -4.5, -6, -7.5, -9, -10.5, -24};
    const double positive1[10] = {0, 0, 9, 15, 18, 18, 15, 9, 0, 0};
    for (int sec = 1; sec <= 9; ++sec) {
        EXPECT_NEAR(s.BML(sec, 1, 1), negative1[sec], tol) << sec;
        EXPECT_NEAR(s.BML(sec, 1, 2), positive1[sec], tol) << sec;
        // The second span mirrors the first.
        EXPECT_NEAR(s.BML(sec, 2, 1), negative1[10 - sec], tol) << sec;
        EXPECT_NEAR(s.BML(sec, 2, 2), positive1[10 - sec], tol) << sec;
    }
    EXPECT_NEAR(s.BVL(1, 1, 1), -3.0, tol);
    EXPECT_NEAR(s.BVL(1, 1, 2), 21.0, tol);
    EXPECT_NEAR(s.BVL(2, 1, 1), -30.0, tol);
    EXPECT_NEAR(s.BVL(2, 1, 2), 0.0, tol);
    EXPECT_NEAR(s.BVL(1, 2, 1), 0.0, tol);
    EXPECT_NEAR(s.BVL(1, 2, 2), 30.0, tol);
    EXPECT_NEAR(s.BVL(2, 2, 1), -21.0, tol);
    EXPECT_NEAR(s.BVL(2, 2, 2), 3.0, tol);
}

TEST(LiveArrangement, TwoSpanBeamByHand) {
    RunFixture run;
    ASSERT_EQ(run.run(twoSpans().live(1, 2, 12, 0, -1).live(2, 2, 12, 0, -1).text()).outcome,
              RunOutcome::Finished);
    expectTwoSpanSums(*run.state);
    // The full live case loads both spans at once: M_B = −qL²/8 = −24.
    EXPECT_NEAR(run.state->BM(9, 1, 2), -24.0, 2e-4);
}

TEST(LiveArrangement, RecordOfTypeZeroDoesNotHideLaterLiveLoads) {
    RunFixture run;
    ASSERT_EQ(
        run.run(twoSpans().live(1, 2, 12, 0, -1).live(2, 0, 0, 0, 0).live(2, 2, 12, 0, -1).text())
            .outcome,
        RunOutcome::Finished);
    expectTwoSpanSums(*run.state);
}

TEST(LiveArrangement, NoLiveLoadsLeaveTheSumsEmpty) {
    RunFixture run;
    ASSERT_EQ(run.run(twoSpans().dead(1, 2, 12, 0, -1).text()).outcome, RunOutcome::Finished);
    for (int sec = 1; sec <= 9; ++sec) {
        for (int k = 1; k <= 2; ++k) EXPECT_EQ(run.state->BML(sec, 1, k), 0.0f);
    }
}

TEST(LiveArrangement, GroupedSolutionEqualsMemberByMemberBitForBit) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(testing::officeFrame().live(14, 2, 3, 0, -1).text()));
    AnalysisState& s = *run.state;
    clearLoadVector(s);

    // The arrangement done plainly: one member's live loads, a
    // solution, member forces, the sums, and the tables cleared again.
    auto BML = std::make_unique<Table<float, 9, limits::kMaxBeams, 2>>();
    auto BVL = std::make_unique<Table<float, 2, limits::kMaxBeams, 2>>();
    auto add = [](float v, float& negative, float& positive) {
        if (v < 0) negative += v;
        if (v > 0) positive += v;
    };
    for (int k = 1; k <= s.model.NE; ++k) {
        if (LLOAD(s, "LLOAD", k) == 0) continue;
        BFORCE(s);
        for (int b = 1; b <= s.model.NB; ++b) {
            for (int sec = 1; sec <= 9; ++sec)
                add(s.FMQN(1, sec, b), (*BML)(sec, b, 1), (*BML)(sec, b, 2));
            add(s.FMQN(2, 1, b), (*BVL)(1, b, 1), (*BVL)(1, b, 2));
            add(s.FMQN(2, 9, b), (*BVL)(2, b, 1), (*BVL)(2, b, 2));
        }
        clearLoadVector(s);
    }

    LIVEFORC(s, "LLOAD");
    for (int b = 1; b <= s.model.NB; ++b) {
        for (int k = 1; k <= 2; ++k) {
            for (int sec = 1; sec <= 9; ++sec) ASSERT_EQ(s.BML(sec, b, k), (*BML)(sec, b, k)) << b;
            ASSERT_EQ(s.BVL(1, b, k), (*BVL)(1, b, k)) << b;
            ASSERT_EQ(s.BVL(2, b, k), (*BVL)(2, b, k)) << b;
        }
    }
    // A live load on a column (member 14) took part; the work tables are empty.
    EXPECT_NE(s.BML(1, 1, 1), 0.0f);
    for (int code = 1; code <= s.NDOF; ++code) ASSERT_EQ(s.P(code), 0.0f);
    for (int m = 1; m <= s.model.NE; ++m) {
        for (int k = 1; k <= 3; ++k) {
            for (int sec = 1; sec <= 9; ++sec) ASSERT_EQ(s.FMQN(k, sec, m), 0.0f) << m;
        }
    }
}

}  // namespace
}  // namespace tarvel
