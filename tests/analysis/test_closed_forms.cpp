// Protects the static analysis as a whole against closed forms: a clamped beam
// under each load type, a propped cantilever, a portal frame under gravity and
// under a lateral load, and a cantilever column.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "clamped_beam.h"
#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::ClampedBeam;
using testing::FrameBuilder;
using testing::RunFixture;
using testing::StaticSolver;

constexpr double kE = 3.0E7;  // C30, kN/m²

double secondMoment(double b, double h) { return b * h * h * h / 12.0; }

// A 6 m beam clamped at both ends, built of two 3 m members with a free
// middle node, so every load passes through the assembly and the solution.
FrameBuilder clampedBeam() {
    FrameBuilder f;
    f.section(0.3, 0.6).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 1, 2, 3, 3, 0).node(3, 0, 0, 0, 6, 0);
    f.beam(1, 2).beam(2, 3);
    return f;
}

// FMQN of both members against the clamped 6 m beam.
void expectClampedBeam(const StaticSolver& run, const ClampedBeam& ref, double scale) {
    for (int m = 1; m <= 2; ++m) {
        for (int s = 1; s <= 9; ++s) {
            const double x = (m - 1) * 3.0 + (s - 1) * 3.0 / 8.0;
            const double left = x - 1e-9;  // at a point force the section takes the left side
            EXPECT_NEAR(run.M(s, m), ref.M(x), 2e-5 * scale)
                << "M member " << m << " section " << s;
            EXPECT_NEAR(run.V(s, m), ref.V(s == 1 ? x + 1e-9 : left), 2e-5 * scale)
                << "V member " << m << " section " << s;
        }
    }
}

TEST(ClosedForms, ClampedBeamUnderUniformLoadDeflectsByqL4Over384EI) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(clampedBeam().dead(1, 2, 10, 0, -1).dead(2, 2, 10, 0, -1).text()));
    run.solve(1);
    const double I = secondMoment(0.3, 0.6);
    EXPECT_NEAR(run.displacement(2, 2), -10.0 * 1296 / (384 * kE * I),
                1e-5 * 10.0 * 1296 / (384 * kE * I));
    EXPECT_NEAR(run.displacement(3, 2), 0.0, 1e-9);
    EXPECT_NEAR(run.M(1, 1), -30.0, 1e-4);  // −qL²/12
    EXPECT_NEAR(run.M(9, 1), 15.0, 1e-4);   // +qL²/24 at mid-span
    EXPECT_NEAR(run.M(9, 2), -30.0, 1e-4);
    EXPECT_NEAR(run.V(1, 1), 30.0, 1e-4);
}

TEST(ClosedForms, ClampedBeamUnderEachLoadType) {
    struct Case {
        const char* name;
        int type;
        double q, a, b;
        ClampedBeam ref;
    };
    auto point = [](double p, double at) {
        ClampedBeam r;
        r.pointForce = p;
        r.pointAt = at;
        return r;
    };
    auto spread = [](std::function<double(double)> q, double from, double to) {
        ClampedBeam r;
        r.density = std::move(q);
        r.from = from;
        r.to = to;
        return r;
    };
    ClampedBeam couple;
    couple.couple = 9.0;
    couple.coupleAt = 1.2;
    const Case cases[] = {
        {"point", 1, 12, 1.0, 0, point(12, 1.0)},
        {"uniform", 2, 5, 0.6, 2.4, spread([](double) { return 5.0; }, 0.6, 2.4)},
        {"rising", 3, 8, 0.0, 3.0, spread([](double x) { return 8.0 * x / 3.0; }, 0.0, 3.0)},
        {"falling", 4, 8, 0.75, 3.0,
         spread([](double x) { return 8.0 * (3.0 - x) / 2.25; }, 0.75, 3.0)},
        {"moment", 6, 9, 1.2, 0, couple},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StaticSolver run;
        ASSERT_TRUE(run.prepare(clampedBeam().dead(1, c.type, c.q, c.a, c.b).text()));
        run.solve(1);
        expectClampedBeam(run, c.ref, 20.0);
    }
}

TEST(ClosedForms, ClampedBeamUnderAnAxialForce) {
    // 10 kN along the beam at 1.5 m of 6 m: the clamped ends share it
    // 4.5 : 1.5, so 7.5 kN tension before the load and 2.5 kN compression after.
    StaticSolver run;
    ASSERT_TRUE(run.prepare(clampedBeam().dead(1, 5, 10, 1.5).text()));
    run.solve(1);
    for (int s = 1; s <= 9; ++s) {
        EXPECT_NEAR(run.N(s, 1), s <= 5 ? -7.5 : 2.5, 1e-5) << s;  // section 5 is at the load
        EXPECT_NEAR(run.N(s, 2), 2.5, 1e-5) << s;
        EXPECT_NEAR(run.M(s, 1), 0.0, 1e-6);
    }
}

TEST(ClosedForms, ProppedCantilever) {
    // 8 m, clamped at the left, pinned at the right.
    FrameBuilder f;
    f.section(0.3, 0.6).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 1, 8, 0).beam(1, 2);
    f.dead(1, 2, 10, 0, -1).live(1, 1, 16, 4);
    StaticSolver run;
    ASSERT_TRUE(run.prepare(f.text()));
    run.solve(1);
    EXPECT_NEAR(run.M(1, 1), -80.0, 1e-3);  // −qL²/8
    EXPECT_NEAR(run.M(6, 1), 45.0, 1e-3);   // 9qL²/128 at 5L/8
    EXPECT_NEAR(run.M(9, 1), 0.0, 1e-3);
    EXPECT_NEAR(run.V(1, 1), 50.0, 1e-4);   // 5qL/8
    EXPECT_NEAR(run.V(9, 1), -30.0, 1e-4);  // the prop takes 3qL/8
    clearLoadVector(*run.state);
    run.solve(2);
    EXPECT_NEAR(run.M(1, 1), -24.0, 1e-3);  // −3PL/16
    EXPECT_NEAR(run.M(5, 1), 20.0, 1e-3);   // 5PL/32
    EXPECT_NEAR(run.V(9, 1), -5.0, 1e-4);   // 5P/16 at the prop
}

// A fixed-base portal, span 6, height 4. The corners share the sway code
// and have their vertical displacement restrained, so members keep their
// length and slope-deflection gives the exact answer.
FrameBuilder portal() {
    FrameBuilder f;
    f.section(0.3, 0.6).section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 6, 0);
    f.node(3, 1, 0, 2, 0, 4).node(4, 1, 0, 3, 6, 4);
    f.beam(3, 4, 1).column(1, 3, 2).column(2, 4, 2);
    return f;
}
const double kKc = kE * secondMoment(0.4, 0.4) / 4.0;  // EI/h of a column
const double kKb = kE * secondMoment(0.3, 0.6) / 6.0;  // EI/L of the beam

TEST(ClosedForms, PortalUnderGravity) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(portal().dead(1, 2, 20, 0, -1).text()));
    run.solve(1);
    // Joint rotation θ = (wL²/12)/(4kc + 2kb); corner moment 4kc·θ, base 2kc·θ.
    const double theta = 60.0 / (4 * kKc + 2 * kKb);
    const double corner = 4 * kKc * theta;
    EXPECT_NEAR(run.M(1, 1), -corner, 1e-4 * corner);
    EXPECT_NEAR(run.M(9, 1), -corner, 1e-4 * corner);
    EXPECT_NEAR(run.M(5, 1), 90.0 - corner, 1e-4 * corner);  // wL²/8 − corner
    EXPECT_NEAR(std::fabs(run.M(9, 2)), corner, 1e-4 * corner);
    EXPECT_NEAR(std::fabs(run.M(1, 2)), corner / 2, 1e-4 * corner);
    // Symmetry: the right column mirrors the left one.
    EXPECT_NEAR(run.M(1, 3), -run.M(1, 2), 1e-4 * corner);
    EXPECT_NEAR(run.V(1, 3), -run.V(1, 2), 1e-4 * corner);
    EXPECT_NEAR(std::fabs(run.V(1, 2)), 1.5 * corner / 4.0, 1e-4 * corner);
}

TEST(ClosedForms, PortalUnderLateralLoad) {
    // 10 kN towards +X at the top of the left column (a load at the member end).
    RunFixture run;
    ASSERT_EQ(run.run(portal().wind(2, 1, 10, 4).text()).outcome, RunOutcome::Finished);
    const AnalysisState& s = *run.state;
    const double H = 10.0;
    const double h = 4.0;
    const double k = kKb / kKc;
    const double base = H * h * (1 + 3 * k) / (2 * (1 + 6 * k));
    const double top = 3 * k * H * h / (2 * (1 + 6 * k));
    const double drift = H * h * h * (2 + 3 * k) / (12 * kKc * (1 + 6 * k));
    EXPECT_NEAR(s.UD(1, 1), drift, 1e-5 * drift);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_NEAR(std::fabs(s.CF(5, i, 3)), base, 1e-4 * base) << i;
        EXPECT_NEAR(std::fabs(s.CF(9, i, 3)), top, 1e-4 * base) << i;
        EXPECT_NEAR(std::fabs(s.CF(6, i, 3)), H / 2, 1e-5 * H) << i;
    }
    // Both columns bend the same way; the beam is bent antisymmetrically.
    EXPECT_NEAR(s.CF(5, 1, 3), s.CF(5, 2, 3), 1e-4 * base);
    EXPECT_NEAR(s.BM(1, 1, 3), -s.BM(9, 1, 3), 1e-4 * base);
    EXPECT_NEAR(std::fabs(s.BM(1, 1, 3)), top, 1e-4 * base);
    EXPECT_NEAR(s.BM(5, 1, 3), 0.0, 1e-4 * base);
}

TEST(ClosedForms, CantileverColumn) {
    // 0.4 × 0.4, 5 m, fixed at the base: 10 kN at the top, or 3 kN/m up its height.
    FrameBuilder f;
    f.section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 1, 2, 3, 0, 5).column(1, 2);
    const double EI = kE * secondMoment(0.4, 0.4);
    {
        RunFixture run;
        ASSERT_EQ(run.run(FrameBuilder(f).wind(1, 1, 10, 5).text()).outcome,
                  RunOutcome::Finished);
        const AnalysisState& s = *run.state;
        EXPECT_NEAR(s.UD(1, 1), 10.0 * 125 / (3 * EI), 1e-5 * 10.0 * 125 / (3 * EI));  // PL³/3EI
        EXPECT_NEAR(s.CF(5, 1, 3), -50.0, 1e-4);  // the load side is the compressed side
        EXPECT_NEAR(s.CF(6, 1, 3), 10.0, 1e-5);
        EXPECT_NEAR(s.CF(9, 1, 3), 0.0, 1e-4);
    }
    {
        RunFixture run;
        ASSERT_EQ(run.run(FrameBuilder(f).wind(1, 2, 3, 0, -1).text()).outcome,
                  RunOutcome::Finished);
        const AnalysisState& s = *run.state;
        EXPECT_NEAR(s.UD(1, 1), 3.0 * 625 / (8 * EI), 1e-5 * 3.0 * 625 / (8 * EI));  // qL⁴/8EI
        EXPECT_NEAR(s.CF(5, 1, 3), -37.5, 1e-4);                                     // −qL²/2
        EXPECT_NEAR(s.CF(6, 1, 3), 15.0, 1e-5);
        EXPECT_NEAR(s.CF(9, 1, 3), 0.0, 1e-4);
        EXPECT_NEAR(s.CF(10, 1, 3), 0.0, 1e-5);
    }
}

}  // namespace
}  // namespace tarvel
