// Protects SEISMIC: the design constants by grade and intensity, the response
// spectrum, modal forces against hand-worked base shears, the SRSS tables and
// the column-end correlation coefficients, and zero effects without modes.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/dynamics.h"
#include "analysis/seismic_action.h"
#include "test_dynamics_frames.h"

namespace tarvel {
namespace {

using testing::factorise;
using testing::FactorisedFrame;
using testing::portal;
using testing::shearBuilding;

SeismicParameters grade(float KCLASS, float ADJUST, float K0 = 8.0f) {
    SeismicParameters p;
    p.KCLASS = KCLASS;
    p.ADJUST = ADJUST;
    p.K0 = K0;
    return p;
}

TEST(SeismicConstants, ByAntiSeismicGrade) {
    struct Row {
        float KCLASS, ETAVB, ETAVC, ETAMC, XIMAXE;
    };
    const Row rows[] = {{1.0f, 1.05f, 1.1f, 1.21f, 0.25f},
                        {2.0f, 1.05f, 1.1f, 1.1f, 0.35f},
                        {3.0f, 1.0f, 1.0f, 1.0f, 0.35f},
                        {4.0f, 1.0f, 1.0f, 1.0f, 1.0f}};
    for (const Row& r : rows) {
        const SeismicConstants c = seismicConstants(grade(r.KCLASS, 1.0f));
        EXPECT_EQ(c.ETAVB, r.ETAVB) << "KCLASS " << r.KCLASS;
        EXPECT_EQ(c.ETAVC, r.ETAVC) << "KCLASS " << r.KCLASS;
        EXPECT_EQ(c.ETAMC, r.ETAMC) << "KCLASS " << r.KCLASS;
        EXPECT_EQ(c.XIMAXE, r.XIMAXE) << "KCLASS " << r.KCLASS;
    }
}

TEST(SeismicConstants, AdjustAndGradesBetweenWholeNumbers) {
    const SeismicConstants c3 = seismicConstants(grade(3.0f, 1.2f));
    EXPECT_EQ(c3.ETAVB, 1.2f);
    EXPECT_EQ(c3.ETAVC, 1.2f);
    EXPECT_EQ(c3.ETAMC, 1.2f);
    EXPECT_EQ(c3.XIMAXE, 0.35f);  // the ξ limit is not adjusted
    EXPECT_FLOAT_EQ(seismicConstants(grade(1.0f, 1.2f)).ETAMC, 1.452f);
    // 1.5 is above 1 (no 1.21, ξ limit 0.35) but not above 2 (1.05, 1.1, 1.1).
    const SeismicConstants c = seismicConstants(grade(1.5f, 1.0f));
    EXPECT_EQ(c.XIMAXE, 0.35f);
    EXPECT_EQ(c.ETAVB, 1.05f);
    EXPECT_EQ(c.ETAMC, 1.1f);
}

TEST(SeismicConstants, MaximumInfluenceByIntensity) {
    EXPECT_EQ(seismicConstants(grade(2.0f, 1.0f, 6.0f)).ALFMAX, 0.04f);
    EXPECT_EQ(seismicConstants(grade(2.0f, 1.0f, 7.0f)).ALFMAX, 0.08f);
    EXPECT_EQ(seismicConstants(grade(2.0f, 1.0f, 8.0f)).ALFMAX, 0.16f);
    EXPECT_EQ(seismicConstants(grade(2.0f, 1.0f, 9.0f)).ALFMAX, 0.32f);
    EXPECT_EQ(seismicConstants(grade(2.0f, 1.0f, 10.0f)).ALFMAX, 0.04f);
}

TEST(SeismicConstants, ZeroParametersOfAFrameWithoutSeismicData) {
    const SeismicConstants c = seismicConstants(SeismicParameters{});
    EXPECT_EQ(c.XIMAXE, 0.25f);
    EXPECT_EQ(c.ETAVB, 0.0f);
    EXPECT_EQ(c.ETAVC, 0.0f);
    EXPECT_EQ(c.ETAMC, 0.0f);
    EXPECT_EQ(c.ALFMAX, 0.04f);
}

TEST(ResponseSpectrum, BranchesAtTheStatedPeriods) {
    const float amax = 0.16f;
    // Rising branch: 5.5·0.05 + 0.45 = 0.725.
    EXPECT_NEAR(seismicInfluence(0.05f, 0.35f, amax), 0.725 * 0.16, 1e-7);
    EXPECT_NEAR(seismicInfluence(0.0f, 0.35f, amax), 0.45 * 0.16, 1e-7);
    // Plateau from 0.1 s (the rising branch would give 1.0000000082·ALFMAX there) to TG.
    EXPECT_EQ(seismicInfluence(0.1f, 0.35f, amax), amax);
    EXPECT_EQ(seismicInfluence(0.2f, 0.35f, amax), amax);
    EXPECT_EQ(seismicInfluence(0.35f, 0.35f, amax), amax);
    // Falling branch: T = 2·TG gives 2^-0.9 = 0.5358867.
    EXPECT_NEAR(seismicInfluence(0.7f, 0.35f, amax), 0.5358867 * 0.16, 1e-7);
}

TEST(ResponseSpectrum, LowerBoundIsAFifthOfTheMaximum) {
    // (0.35/5)^0.9 = 0.0913 is below 0.2: the bound 0.2·ALFMAX holds.
    EXPECT_NEAR(seismicInfluence(5.0f, 0.35f, 0.08f), 0.2 * 0.08, 1e-8);
    EXPECT_NEAR(seismicInfluence(50.0f, 0.35f, 0.08f), 0.2 * 0.08, 1e-8);
    // Just above the bound it is not applied: (0.35/1.9)^0.9 = 0.2184.
    EXPECT_NEAR(seismicInfluence(1.9f, 0.35f, 0.08f), std::pow(0.35 / 1.9, 0.9) * 0.08, 1e-7);
}

TEST(ResponseSpectrum, FallingBranchOverridesTheRisingOneBelowAShortTg) {
    // TG = 0.05 s: T = 0.08 s takes (0.05/0.08)^0.9 = 0.6552, not 5.5·0.08 + 0.45.
    EXPECT_NEAR(seismicInfluence(0.08f, 0.05f, 0.32f), std::pow(0.625, 0.9) * 0.32, 1e-7);
}

// One mass of 100 kN on the portal's top floor, KCLASS 2, K0 8, TG 0.35 s.
const char* const kOneMassPortal =
    "SEISMIC\r\n 2, 8, .35, .5, 1, 1, 1 \r\n 2, 3, 100 \r\n 0, 0 \r\n";

// A frame after DYNAMICS, ready for SEISMIC.
std::unique_ptr<FactorisedFrame> afterDynamics(const std::string& text) {
    auto f = factorise(text);
    EXPECT_NE(f, nullptr);
    if (f == nullptr) return nullptr;
    EXPECT_EQ(DYNAMICS(*f->st, *f->file, f->host), DynamicsStatus::Ok);
    return f;
}

TEST(SeismicAction, OneMassBaseShearIsAlphaTimesWeight) {
    // One mass: γ = ΣWφ/ΣWφ² = 1/φ, so the force is α·WG whatever φ is.
    auto f = afterDynamics(portal(kOneMassPortal));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    SEISMIC(st);
    const float alfa = seismicInfluence(static_cast<float>(st.dyn.PERIOD(1)), 0.35f, 0.16f);
    const double force = static_cast<double>(alfa) * 100.0;
    const double baseShear = st.CF(6, 1, 4) + st.CF(6, 2, 4);
    EXPECT_NEAR(baseShear, force, 1e-5 * force);
    // Storey 1: displacement and drift are one and the same.
    const double sway = force * testing::unitDisplacement(st, 1);
    EXPECT_NEAR(st.UD(2, 1), sway, 1e-5 * sway);
    EXPECT_EQ(st.UD(3, 1), st.UD(2, 1));
    // Every effect is a magnitude.
    for (int s = 1; s <= 9; ++s) EXPECT_GE(st.BM(s, 1, 4), 0.0f);
    EXPECT_GT(st.BM(1, 1, 4), 0.0f);
    EXPECT_GT(st.BV(1, 1, 4), 0.0f);
    EXPECT_EQ(st.dyn.con.ETAVB, 1.05f);
    EXPECT_EQ(st.dyn.con.ALFMAX, 0.16f);
}

TEST(SeismicAction, OneModeGivesCorrelationsOfExactlyPlusOrMinusOne) {
    auto f = afterDynamics(portal(kOneMassPortal));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    SEISMIC(st);
    int checked = 0;
    for (int i = 1; i <= 2; ++i) {
        for (int e = 1; e <= 2; ++e) {
            const int k = e == 1 ? 5 : 9;
            const float M = st.CF(k, i, 4);
            const float V = st.CF(k + 1, i, 4);
            const float N = st.CF(k + 2, i, 4);
            ASSERT_GT(M, 0.0f);
            ASSERT_GT(V, 0.0f);
            ASSERT_GT(N, 0.0f);  // the sway couple loads the columns axially
            EXPECT_EQ(std::fabs(st.RMN(e, i)), 1.0f) << "column " << i << " end " << e;
            EXPECT_EQ(std::fabs(st.RVM(e, i)), 1.0f) << "column " << i << " end " << e;
            EXPECT_EQ(std::fabs(st.RVN(e, i)), 1.0f) << "column " << i << " end " << e;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 4);
    // Sway to one side: one column is pulled, the other pushed.
    EXPECT_EQ(st.RVN(1, 1), -st.RVN(1, 2));
}

// Base shear of the two-mass shear building, equal weights W, from the
// closed-form modes (1, r), r = (1 ± √5)/2: V = α·W·(1 + r)²/(1 + r²) per mode.
double modalBaseShear(double alfa, double W, double r) {
    return alfa * W * (1.0 + r) * (1.0 + r) / (1.0 + r * r);
}

TEST(SeismicAction, TwoModeShearBuildingAgainstTheClosedForm) {
    auto f =
        afterDynamics(shearBuilding("SEISMIC\r\n 2, 8, .35, .5, 1, 2, 1 \r\n"
                                    " 2, 2, 98 \r\n 2, 3, 98 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    SEISMIC(st);

    // T1 = 0.2504 s lies on the plateau, T2 = 0.0957 s on the rising branch.
    const double k = testing::kFixedColumnStiffness;
    const double root5 = std::sqrt(5.0);
    const double T2 = 6.28 / std::sqrt(k / 10.0 * (3.0 + root5) / 2.0);
    const double alfa1 = 0.16;
    const double alfa2 = 0.16 * (5.5 * T2 + 0.45);
    const double r1 = (1.0 + root5) / 2.0;
    const double r2 = (1.0 - root5) / 2.0;
    const double V1 = modalBaseShear(alfa1, 98.0, r1);
    const double V2 = modalBaseShear(alfa2, 98.0, r2);
    const double baseShear = std::sqrt(V1 * V1 + V2 * V2);
    EXPECT_NEAR(st.CF(6, 1, 4), baseShear, 1e-4 * baseShear);

    // Top storey: its shear is the top force α·γ·W·r; the drift is shear / k.
    auto topForce = [&](double alfa, double r) {
        return alfa * 98.0 * (1.0 + r) / (1.0 + r * r) * r;
    };
    const double d1 = topForce(alfa1, r1) / k;
    const double d2 = topForce(alfa2, r2) / k;
    const double drift = std::sqrt(d1 * d1 + d2 * d2);
    EXPECT_NEAR(st.UD(3, 2), drift, 1e-4 * drift);
    EXPECT_EQ(st.UD(3, 1), st.UD(2, 1));
    EXPECT_GT(st.UD(2, 2), st.UD(2, 1));
}

TEST(SeismicAction, UnequalWeightsEnterTheParticipation) {
    // W = (196, 98), modes (1, ±√2), both periods on the plateau (α = 0.16):
    // V = α·(ΣWφ)²/ΣWφ² = 0.16·(196 ± 98√2)²/392 per mode.
    auto f =
        afterDynamics(shearBuilding("SEISMIC\r\n 2, 8, .35, .5, 1, 2, 1 \r\n"
                                    " 2, 2, 196 \r\n 2, 3, 98 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    SEISMIC(st);
    const double root2 = std::sqrt(2.0);
    const double V1 = 0.16 * (196.0 + 98.0 * root2) * (196.0 + 98.0 * root2) / 392.0;
    const double V2 = 0.16 * (196.0 - 98.0 * root2) * (196.0 - 98.0 * root2) / 392.0;
    const double baseShear = std::sqrt(V1 * V1 + V2 * V2);
    EXPECT_NEAR(st.CF(6, 1, 4), baseShear, 1e-5 * baseShear);
    EXPECT_NEAR(st.CF(10, 1, 4), baseShear, 1e-5 * baseShear);  // same shear at the column top
}

TEST(SeismicAction, ModeCountRoundsHalfToEven) {
    const std::string head = "SEISMIC\r\n 2, 8, .35, .5, 1, ";
    const std::string masses = ", 1 \r\n 2, 2, 98 \r\n 2, 3, 98 \r\n 0, 0 \r\n";
    auto half = afterDynamics(shearBuilding(head + ".5" + masses));
    auto oneAndHalf = afterDynamics(shearBuilding(head + "1.5" + masses));
    auto two = afterDynamics(shearBuilding(head + "2" + masses));
    ASSERT_TRUE(half && oneAndHalf && two);
    SEISMIC(*half->st);
    SEISMIC(*oneAndHalf->st);
    SEISMIC(*two->st);
    EXPECT_EQ(half->st->CF(6, 1, 4), 0.0f);  // CInt(0.5) = 0 modes
    EXPECT_GT(oneAndHalf->st->CF(6, 1, 4), 0.0f);
    EXPECT_EQ(oneAndHalf->st->CF(6, 1, 4), two->st->CF(6, 1, 4));  // CInt(1.5) = 2
}

// Fills every seismic accumulator with junk an earlier run could have left.
void dirty(AnalysisState& st) {
    st.UD(1, 1) = 0.01f;
    st.UD(2, 1) = 5.0f;
    st.UD(3, 1) = 5.0f;
    st.BM(5, 1, 4) = 7.0f;
    st.BV(2, 1, 4) = 7.0f;
    st.CF(9, 2, 4) = 7.0f;
    st.RMN(1, 1) = 3.0f;
    st.RVM(2, 2) = 3.0f;
    st.RVN(1, 2) = 3.0f;
}

void expectNoSeismicEffect(const AnalysisState& st) {
    for (int l = 0; l <= limits::kMaxLevels; ++l) {
        EXPECT_EQ(st.UD(2, l), 0.0f);
        EXPECT_EQ(st.UD(3, l), 0.0f);
    }
    for (int b = 0; b <= limits::kMaxBeams; ++b) {
        for (int s = 0; s <= 9; ++s) EXPECT_EQ(st.BM(s, b, 4), 0.0f);
        for (int e = 0; e <= 2; ++e) EXPECT_EQ(st.BV(e, b, 4), 0.0f);
    }
    for (int i = 0; i <= limits::kMaxColumns; ++i) {
        for (int k = 0; k <= 11; ++k) EXPECT_EQ(st.CF(k, i, 4), 0.0f);
        for (int e = 0; e <= 2; ++e) {
            EXPECT_EQ(st.RMN(e, i), 0.0f);
            EXPECT_EQ(st.RVM(e, i), 0.0f);
            EXPECT_EQ(st.RVN(e, i), 0.0f);
        }
    }
}

TEST(SeismicAction, FrameWithoutSeismicDataHasNoSeismicEffect) {
    auto f = afterDynamics(portal(""));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    dirty(st);
    SEISMIC(st);
    expectNoSeismicEffect(st);
    EXPECT_EQ(st.UD(1, 1), 0.01f);  // the wind displacement is not touched
    EXPECT_EQ(st.dyn.con.XIMAXE, 0.25f);
    EXPECT_EQ(st.dyn.con.ETAVB, 0.0f);
    EXPECT_EQ(st.dyn.con.ETAVC, 0.0f);
    EXPECT_EQ(st.dyn.con.ETAMC, 0.0f);
    EXPECT_EQ(st.dyn.con.ALFMAX, 0.04f);
}

int failingSolver(int, const EigenMatrix&, EigenVector&, EigenMatrix&) { return 2; }

TEST(SeismicAction, FailedEigenSolutionSkipsTheModes) {
    auto f = factorise(portal("SEISMIC\r\n 1, 9, .35, .5, 1, 1, 1 \r\n 2, 3, 100 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    ASSERT_EQ(DYNAMICS(st, *f->file, f->host, failingSolver), DynamicsStatus::EigenFailed);
    dirty(st);
    SEISMIC(st);
    expectNoSeismicEffect(st);
    EXPECT_EQ(st.dyn.con.ETAMC, 1.21f);
    EXPECT_EQ(st.dyn.con.ALFMAX, 0.32f);
}

}  // namespace
}  // namespace tarvel
