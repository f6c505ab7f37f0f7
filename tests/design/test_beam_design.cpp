// Protects the beam design: flexural steel (ASB0, ASBMAX), stirrups (VASB0, VASBMAX) and ASBALL.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "analysis/analysis_state.h"
#include "analysis/design_results.h"
#include "design/beam_design.h"
#include "design/steel_grades.h"
#include "support/tolerances.h"

namespace tarvel {
namespace {

using testing::expectClose;

// 250 × 500 beam of C30: fc = fcm = 14.3, ft = 1.43, h0 = 465, α1 fcm b = 3575 N/mm.
RcSection c30Beam() {
    RcSection s;
    s.b = 250.0f;
    s.h = 500.0f;
    s.fc = 14.3f;
    s.fcm = 14.3f;
    s.ft = 1.43f;
    return s;
}

// fy 300: Es 200000, ξb = 0.8 / (1 + 300/660) = 0.55;
// Mb = 3575 · 255.75 · (465 − 127.875) = 308 235 494.5 N·mm.

TEST(BeamDesign, SinglyReinforcedSection) {
    // M = 100 kN·m: x = 465 − √(465² − 2·10⁸/3575) = 465 − √160 280.94 = 64.649;
    // As = 3575 · 64.649 / 300 = 770.40; ξ = 0.13903; ratio 770.40 / (465·250) = 0.0066271.
    const FlexureSteel r = ASB0(100.0e6f, c30Beam(), 300.0f, 1.0f);
    expectClose(r.bottom, 770.4003);
    EXPECT_EQ(r.top, 0.0f);
    expectClose(r.xi, 0.1390301);
    expectClose(r.ratio, 0.0066271);
}

TEST(BeamDesign, DoublyReinforcedSectionWithCompressionCover35) {
    // M = 400 kN·m > Mb: As' = (4·10⁸ − 308 235 494.5) / ((465 − 35) · 300) = 711.35;
    // As = 0.55 · 3575 · 465 / 300 + 711.35 = 3047.69 + 711.35 = 3759.04; ξ = ξb.
    const FlexureSteel r = ASB0(400.0e6f, c30Beam(), 300.0f, 1.0f);
    expectClose(r.bottom, 3759.040);
    expectClose(r.top, 711.3528);
    expectClose(r.xi, 0.55);
}

TEST(BeamDesign, CompressionSteelSquaresH0FirstInSinglePrecision) {
    // 350 × 600, fcm 16.7, fy 300, M = 1260 kN·m: h0 = 565, ξb = 0.55,
    // As' = (1.26·10⁹ − 5845 · 319 225 · 0.55 · 0.725) / (530 · 300) = 3245.184.
    // In single precision h0² is formed before it multiplies α1 fcm b; the
    // cancellation in As' shows the other order in the 7th digit.
    RcSection s = c30Beam();
    s.b = 350.0f;
    s.h = 600.0f;
    s.fcm = 16.7f;
    const float xib = 0.8f / (1.0f + 300.0f / (0.0033f * 200000.0f));
    const float h0 = 565.0f;
    const float top = (1260.0e6f - 16.7f * 350.0f * (h0 * h0) * xib * (1.0f - 0.5f * xib)) /
                      ((h0 - 35.0f) * 300.0f);
    const FlexureSteel r = ASB0(1260.0e6f, s, 300.0f, 1.0f);
    EXPECT_EQ(r.top, top);
    expectClose(r.top, 3245.184, 1e-5);
}

TEST(BeamDesign, BalancedSteelRunsFromTheLeftInSinglePrecision) {
    // C60 (α1 0.98, fcm 27.5), 250 × 400, fy 360, M = 550 kN·m: h0 = 365,
    // ξb = 0.8 / (1 + 360/660) = 0.517647, α1 fcm b = 6737.5,
    // As' = (5.5·10⁸ − 6737.5 · 133 225 · 0.517647 · 0.741176) / (330 · 360) = 1730.795,
    // As = ξb α1 fcm b h0 / fy + As' = 3536.087 + 1730.795 = 5266.882; the
    // product is taken from the left, ξb · α1 first.
    RcSection s = c30Beam();
    s.h = 400.0f;
    s.fcm = 27.5f;
    s.alpha1 = 0.98f;
    const float xib = 0.8f / (1.0f + 360.0f / (0.0033f * 200000.0f));
    const FlexureSteel r = ASB0(550.0e6f, s, 360.0f, 1.0f);
    EXPECT_EQ(r.bottom, xib * 0.98f * 27.5f * 250.0f * 365.0f / 360.0f + r.top);
    expectClose(r.top, 1730.795, 1e-5);
    expectClose(r.bottom, 5266.882, 1e-5);
}

TEST(BeamDesign, NegativeMomentPutsTensionSteelOnTop) {
    const FlexureSteel r = ASB0(-100.0e6f, c30Beam(), 300.0f, 1.0f);
    expectClose(r.top, 770.4003);
    EXPECT_EQ(r.bottom, 0.0f);
    const FlexureSteel d = ASB0(-400.0e6f, c30Beam(), 300.0f, 1.0f);
    expectClose(d.top, 3759.040);
    expectClose(d.bottom, 711.3528);
}

TEST(BeamDesign, ZeroMomentGivesMinimumSteelAtTheBottom) {
    // ρmin = 0.0015 for fcm 14.3: 0.0015 · 250 · 465 = 174.375.
    const FlexureSteel r = ASB0(0.0f, c30Beam(), 300.0f, 1.0f);
    expectClose(r.bottom, 174.375);
    EXPECT_EQ(r.top, 0.0f);
    expectClose(r.ratio, 0.0015);
}

TEST(BeamDesign, MinimumRatioSwitchesAboveFcm16_7) {
    RcSection s = c30Beam();
    s.fcm = 16.7f;  // exactly at the limit: still 0.15 %
    expectClose(ASB0(0.0f, s, 300.0f, 1.0f).bottom, 174.375);
    s.fcm = 16.8f;  // 0.002 · 250 · 465 = 232.5
    expectClose(ASB0(0.0f, s, 300.0f, 1.0f).bottom, 232.5);
}

TEST(BeamDesign, BalancedDepthFromSteelStrength) {
    // Doubly reinforced designs return ξ = ξb.
    // fy 210: Es 210000, ξb = 0.8 / (1 + 210/693) = 0.613953.
    expectClose(ASB0(500.0e6f, c30Beam(), 210.0f, 1.0f).xi, 0.6139535);
    // fy 360: ξb = 0.8 / (1 + 360/660) = 0.517647.
    expectClose(ASB0(500.0e6f, c30Beam(), 360.0f, 1.0f).xi, 0.5176471);
    // fy 300 with a limit above 0.55 keeps 0.55.
    expectClose(ASB0(500.0e6f, c30Beam(), 300.0f, 0.6f).xi, 0.55);
}

TEST(BeamDesign, SeismicLimitForcesCompressionSteelEarlier) {
    // M = 200 kN·m. Without limit Mb = 308.2 kN·m: tension steel only,
    // x = 465 − √(216 225 − 111 888.11) = 141.988, As = 3575 · 141.988 / 300 = 1692.02.
    const FlexureSteel plain = ASB0(200.0e6f, c30Beam(), 300.0f, 1.0f);
    expectClose(plain.bottom, 1692.021);
    EXPECT_EQ(plain.top, 0.0f);
    // ξ ≤ 0.25: xb = 116.25, Mb = 3575 · 116.25 · 406.875 = 169 094 707;
    // As' = (2·10⁸ − 169 094 707) / 129 000 = 239.576;
    // As = 0.25 · 3575 · 465 / 300 + 239.576 = 1385.313 + 239.576 = 1624.888.
    const FlexureSteel quake = ASB0(200.0e6f, c30Beam(), 300.0f, 0.25f);
    expectClose(quake.top, 239.5759);
    expectClose(quake.bottom, 1624.888);
    expectClose(quake.xi, 0.25);
}

TEST(BeamDesign, ConcreteGradeFactors) {
    EXPECT_EQ(concreteFactors(30.0f).alpha1, 1.0f);
    EXPECT_EQ(concreteFactors(50.0f).betaC, 1.0f);
    expectClose(concreteFactors(65.0f).alpha1, 0.97);  // 1 − 0.06 · 15/30
    expectClose(concreteFactors(65.0f).betaC, 0.9);    // 1 − 0.2 · 15/30
    expectClose(concreteFactors(80.0f).alpha1, 0.94);
    expectClose(concreteFactors(80.0f).betaC, 0.8);
}

// Stirrups: fyv 210, 1.25 fyv h0 = 122 062.5; ft b h0 = 1.43 · 116 250 = 166 237.5.

TEST(BeamDesign, ShearNonSeismic) {
    // r = 465/250 ≤ 4: k = 0.25, limit 0.25 · 14.3 · 116 250 = 415 593.75 N.
    EXPECT_EQ(VASB0(416.0e3f, c30Beam(), 210.0f, 5.0f), 99.0f);
    // (400 000 − 0.7 · 166 237.5) / 122 062.5 = 283 633.75 / 122 062.5 = 2.323676.
    expectClose(VASB0(400.0e3f, c30Beam(), 210.0f, 5.0f), 2.323676);
    expectClose(VASB0(-400.0e3f, c30Beam(), 210.0f, 5.0f), 2.323676);
}

TEST(BeamDesign, ShearSeismic) {
    // limit 0.2 · 14.3 · 116 250 = 332 475 N: 400 kN is too much for a seismic design.
    EXPECT_EQ(VASB0(400.0e3f, c30Beam(), 210.0f, 2.0f), 99.0f);
    // (300 000 − 0.42 · 166 237.5) / 122 062.5 = 230 180.25 / 122 062.5 = 1.885757.
    expectClose(VASB0(300.0e3f, c30Beam(), 210.0f, 2.0f), 1.885757);
    // Grade 4 is still seismic for beams.
    expectClose(VASB0(300.0e3f, c30Beam(), 210.0f, 4.0f), 1.885757);
}

TEST(BeamDesign, ConcreteAloneCarriesTheShear) {
    // 100 kN < 0.7 · 166 237.5 = 116 366 N: no stirrups, never a negative value.
    EXPECT_EQ(VASB0(100.0e3f, c30Beam(), 210.0f, 5.0f), 0.0f);
}

TEST(BeamDesign, ShearLimitFactorOfDeepNarrowSections) {
    RcSection s = c30Beam();
    s.b = 100.0f;
    s.h =
        535.0f;  // h0/b = 5: k = 0.35 − 0.025 · 5 = 0.225, limit 0.225 · 14.3 · 100 · 500 = 160 875
    EXPECT_EQ(VASB0(161.0e3f, s, 210.0f, 5.0f), 99.0f);
    EXPECT_NE(VASB0(160.0e3f, s, 210.0f, 5.0f), 99.0f);
    s.b = 80.0f;
    s.h = 515.0f;  // h0/b = 6: k = 0.2, limit 0.2 · 14.3 · 80 · 480 = 109 824
    EXPECT_EQ(VASB0(110.0e3f, s, 210.0f, 5.0f), 99.0f);
    EXPECT_NE(VASB0(109.0e3f, s, 210.0f, 5.0f), 99.0f);
    s.b = 60.0f;  // h0/b = 8: still 0.2, limit 0.2 · 14.3 · 60 · 480 = 82 368
    EXPECT_EQ(VASB0(83.0e3f, s, 210.0f, 5.0f), 99.0f);
    EXPECT_NE(VASB0(82.0e3f, s, 210.0f, 5.0f), 99.0f);
}

TEST(BeamDesign, MomentListDesignsFourCombinationsWithSeismicLimit) {
    // Seismic moment alone: 1..13 are all 0; 14 is the largest (0.975 E = 200 kN·m),
    // 18 the smallest (−200 kN·m). Design order 1, 1, 14, 18.
    SeismicDesignConstants sc;
    sc.XIMAXE = 0.25f;
    const BeamCaseValues m{0.0f, 0.0f, 0.0f, 0.0f, 200.0e6f / 0.975f};
    const BeamMomentDesign r = ASBMAX(m, c30Beam(), 300.0f, sc);
    // Bottom: 174.375 (1), then 1624.888 (14), then As' 239.576 (18) does not replace.
    expectClose(r.bottom, 1624.888, 1e-4);
    EXPECT_EQ(r.bottomCombination, 14);
    // Top: 0 (1), 239.576 (14), 1624.888 (18).
    expectClose(r.top, 1624.888, 1e-4);
    EXPECT_EQ(r.topCombination, 18);
    expectClose(r.xi, 0.25);  // of the last design

    sc.XIMAXE = 1.0f;  // grade 4: no limit, 1692.02 on either face, no compression steel
    const BeamMomentDesign free = ASBMAX(m, c30Beam(), 300.0f, sc);
    expectClose(free.bottom, 1692.021, 1e-4);
    expectClose(free.top, 1692.021, 1e-4);
}

TEST(BeamDesign, ZeroMomentsKeepCombinationOne) {
    const BeamMomentDesign r = ASBMAX({}, c30Beam(), 300.0f, SeismicDesignConstants{});
    expectClose(r.bottom, 174.375);
    EXPECT_EQ(r.top, 0.0f);
    EXPECT_EQ(r.bottomCombination, 1);
    EXPECT_EQ(r.topCombination, 1);
}

TEST(BeamDesign, EqualStirrupsReportTheSeismicNumber) {
    SeismicDesignConstants sc;
    sc.ETAVB = 1.0f;
    sc.KCLASS = 2.0f;
    // D = 10 kN: both designs need no stirrups; the seismic choice (15 = 0.85·12) is kept.
    const StirrupDesign none = VASBMAX({10.0e3f, 0, 0, 0, 0}, c30Beam(), 210.0f, sc);
    EXPECT_EQ(none.asv, 0.0f);
    EXPECT_EQ(none.combination, 15);
    // D = 1000 kN: both 99, again the seismic number.
    const StirrupDesign big = VASBMAX({1000.0e3f, 0, 0, 0, 0}, c30Beam(), 210.0f, sc);
    EXPECT_EQ(big.asv, 99.0f);
    EXPECT_EQ(big.combination, 15);
}

TEST(BeamDesign, LargerNonSeismicStirrupsWin) {
    SeismicDesignConstants sc;
    sc.ETAVB = 1.0f;
    sc.KCLASS = 2.0f;
    // L1 = 250 kN: non-seismic 2 = 1.4 · 250 = 350 kN (3 repeats it and loses the tie),
    // (350 000 − 116 366.25) / 122 062.5 = 1.914050.
    // Seismic: with ALF1 = 0 and D = 0 every one of 14..21 is 0, no stirrups.
    const StirrupDesign r = VASBMAX({0.0f, 250.0e3f, 0, 0, 0}, c30Beam(), 210.0f, sc);
    expectClose(r.asv, 1.914050);
    EXPECT_EQ(r.combination, 2);
}

TEST(BeamDesign, SteelGrades) {
    EXPECT_EQ(mainBarStrength(1), 210.0f);
    EXPECT_EQ(stirrupStrength(2), 300.0f);
    EXPECT_EQ(mainBarStrength(3), 360.0f);
    EXPECT_EQ(stirrupStrength(4), 360.0f);
    EXPECT_EQ(mainBarStrength(7), 300.0f);  // unknown grades fall back to 300 and 210
    EXPECT_EQ(stirrupStrength(0), 210.0f);
    auto state = std::make_unique<AnalysisState>();
    state->mainGrade = 4;
    state->stirrupGrade = 3;
    float fy = 0.0f;
    float fyv = 0.0f;
    Gjjbxz(*state, fy, fyv);
    EXPECT_EQ(fy, 360.0f);
    EXPECT_EQ(fyv, 360.0f);
}

TEST(BeamDesign, SeismicConstantsTakeTheRawAlf1) {
    auto state = std::make_unique<AnalysisState>();
    state->dyn.raw.ALF1 = 0.5f;
    state->dyn.par.ALF1 = 0.9f;  // the working copy may have been used as scratch
    state->dyn.par.KCLASS = 2.0f;
    state->dyn.con.XIMAXE = 0.35f;
    state->dyn.con.ETAVB = 1.05f;
    state->dyn.con.ETAVC = 1.1f;
    state->dyn.con.ETAMC = 1.21f;
    const SeismicDesignConstants c = seismicDesignConstants(*state);
    EXPECT_EQ(c.ALF1, 0.5f);
    EXPECT_EQ(c.KCLASS, 2.0f);
    EXPECT_EQ(c.XIMAXE, 0.35f);
    EXPECT_EQ(c.ETAVB, 1.05f);
    EXPECT_EQ(c.ETAVC, 1.1f);
    EXPECT_EQ(c.ETAMC, 1.21f);
}

// One beam of 0.25 × 0.5 m in C30 with dead load only.
TEST(BeamDesign, AsballReadsTheTablesInKilonewtons) {
    auto state = std::make_unique<AnalysisState>();
    FrameModel& fm = state->model;
    fm.NB = 1;
    fm.NE = 1;
    fm.SEC(1, 1) = 0.25f;
    fm.SEC(2, 1) = 0.5f;
    fm.MEM(1, 1) = 1;
    fm.MEM(2, 1) = 2;
    fm.MEM(3, 1) = 1;
    fm.MEM(4, 1) = 1;
    fm.FC(1) = 14.3f;
    fm.FCM(1) = 14.3f;
    fm.GRADE(1) = 30.0f;
    fm.FT = 1.43f;
    state->mainGrade = 2;
    state->stirrupGrade = 1;
    state->BM(5, 1, kDeadCase) = 50.0f;
    state->BV(1, 1, kDeadCase) = 100.0f;
    state->BML(3, 1, 1) = -30.0f;  // live arrangement: negative and positive sums
    state->BML(3, 1, 2) = 20.0f;
    SeismicDesignConstants sc;
    sc.KCLASS = 2.0f;
    sc.ETAVB = 1.05f;
    auto design = std::make_unique<DesignResults>();
    design->BAS(9, 2, 1) = 7.0f;  // a stale value of an earlier run outside the frame

    ASBALL(*state, sc, *design);

    // Section 5: 1.2 · 50 = 60 kN·m governs (combination 1):
    // x = 465 − √(216 225 − 1.2·10⁸/3575) = 37.614, As = 3575 · 37.614 / 300 = 448.24.
    expectClose(design->BAS(5, 1, 2), 448.2367);
    EXPECT_EQ(design->BASC(5, 1, 2), 1.0f);
    EXPECT_EQ(design->BAS(5, 1, 1), 0.0f);
    EXPECT_EQ(design->BASC(5, 1, 1), 1.0f);
    // Section 3, live load only: 2 = 1.4 · (−30) = −42 kN·m is the smallest,
    // 4 = 1.4 · 20 = 28 kN·m the largest (3 and 5 repeat them).
    // Top: x = 465 − √(216 225 − 8.4·10⁷/3575) = 25.991, As = 309.73;
    // bottom: x = 465 − √(216 225 − 5.6·10⁷/3575) = 17.160, As = 204.49.
    expectClose(design->BAS(3, 1, 1), 309.7316, 1e-4);
    EXPECT_EQ(design->BASC(3, 1, 1), 2.0f);
    expectClose(design->BAS(3, 1, 2), 204.4900, 1e-4);
    EXPECT_EQ(design->BASC(3, 1, 2), 4.0f);
    // Section 1 has no moment: minimum steel at the bottom.
    expectClose(design->BAS(1, 1, 2), 174.375);
    // End 1: non-seismic 1.2 · 100 = 120 kN → (120 000 − 116 366.25) / 122 062.5 = 0.029770;
    // seismic 15: 1.05 · 0.85 · 1.2 · 100 = 107.1 kN → (107 100 − 69 819.75) / 122 062.5 =
    // 0.305419.
    expectClose(design->BASV(1, 1), 0.3054194);
    EXPECT_EQ(design->BASVC(1, 1), 15.0f);
    EXPECT_EQ(design->BASV(2, 1), 0.0f);
    EXPECT_EQ(design->BAS(9, 2, 1), 0.0f);  // tables are cleared by each run
}

}  // namespace
}  // namespace tarvel
