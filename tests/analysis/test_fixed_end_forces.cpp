// Protects MQN0, MQN and MQNXY: the clamped-member section forces of all six
// load types against closed forms, the parameter clean-up and end-node loads.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

#include "analysis/fixed_end_forces.h"
#include "clamped_beam.h"

namespace tarvel {
namespace {

constexpr double kL = 6.0;

using testing::ClampedBeam;

double sectionX(int s) { return (s - 1) * kL / 8.0; }

ClampedBeam distributed(std::function<double(double)> q, double from, double to) {
    ClampedBeam beam;
    beam.density = std::move(q);
    beam.from = from;
    beam.to = to;
    return beam;
}

void expectSections(const SectionForces& F, const ClampedBeam& ref, double scale) {
    for (int s = 1; s <= 9; ++s) {
        EXPECT_NEAR(F(1, s), ref.M(sectionX(s)), 2e-6 * scale) << "M at section " << s;
        EXPECT_NEAR(F(2, s), ref.V(sectionX(s)), 2e-6 * scale) << "V at section " << s;
        EXPECT_EQ(F(3, s), 0.0f) << "N at section " << s;
    }
}

TEST(FixedEndForces, PointForceAtMidSpanByHand) {
    SectionForces F;
    MQN0(1, LoadParameters{10.0f, 6.0f, 3.0f, 0.0f}, F);
    const float M[10] = {0, -7.5f, -3.75f, 0, 3.75f, 7.5f, 3.75f, 0, -3.75f, -7.5f};
    for (int s = 1; s <= 9; ++s) {
        EXPECT_EQ(F(1, s), M[s]) << s;
        EXPECT_EQ(F(2, s), s <= 5 ? 5.0f : -5.0f) << s;
        EXPECT_EQ(F(3, s), 0.0f);
    }
}

TEST(FixedEndForces, PointForceOffCentre) {
    SectionForces F;
    MQN0(1, LoadParameters{12.0f, 6.0f, 2.0f, 0.0f}, F);
    ClampedBeam ref;
    ref.pointForce = 12.0;
    ref.pointAt = 2.0;
    EXPECT_NEAR(ref.MA(), -12.0 * 2 * 16 / 36, 1e-9);  // −Pab²/L²
    expectSections(F, ref, 20.0);
}

TEST(FixedEndForces, UniformOverPartOfTheMember) {
    SectionForces F;
    MQN0(2, LoadParameters{3.0f, 6.0f, 1.0f, 4.5f}, F);
    expectSections(F, distributed([](double) { return 3.0; }, 1.0, 4.5), 10.0);
}

TEST(FixedEndForces, RisingTriangle) {
    SectionForces F;
    MQN0(3, LoadParameters{6.0f, 6.0f, 0.0f, 6.0f}, F);
    // Full length: V_A = 3qL/20, M_A = −qL²/30, M_B = −qL²/20.
    EXPECT_NEAR(F(2, 1), 3 * 6.0 * 6 / 20, 1e-5);
    EXPECT_NEAR(F(1, 1), -6.0 * 36 / 30, 1e-5);
    EXPECT_NEAR(F(1, 9), -6.0 * 36 / 20, 1e-5);
    expectSections(F, distributed([](double x) { return 6.0 * x / 6.0; }, 0.0, 6.0), 12.0);

    MQN0(3, LoadParameters{6.0f, 6.0f, 1.5f, 5.0f}, F);
    expectSections(F, distributed([](double x) { return 6.0 * (x - 1.5) / 3.5; }, 1.5, 5.0), 12.0);
}

TEST(FixedEndForces, FallingTriangle) {
    SectionForces F;
    MQN0(4, LoadParameters{6.0f, 6.0f, 0.0f, 6.0f}, F);
    // Full length: V_A = 7qL/20, M_A = −qL²/20, M_B = −qL²/30.
    EXPECT_NEAR(F(2, 1), 7 * 6.0 * 6 / 20, 1e-5);
    EXPECT_NEAR(F(1, 1), -6.0 * 36 / 20, 1e-5);
    EXPECT_NEAR(F(1, 9), -6.0 * 36 / 30, 1e-5);
    expectSections(F, distributed([](double x) { return 6.0 * (6.0 - x) / 6.0; }, 0.0, 6.0), 15.0);

    MQN0(4, LoadParameters{5.0f, 6.0f, 0.75f, 3.75f}, F);
    expectSections(F, distributed([](double x) { return 5.0 * (3.75 - x) / 3.0; }, 0.75, 3.75),
                   8.0);
}

TEST(FixedEndForces, AxialForceAtTheQuarterPoint) {
    SectionForces F;
    MQN0(5, LoadParameters{10.0f, 6.0f, 1.5f, 0.0f}, F);
    for (int s = 1; s <= 9; ++s) {
        EXPECT_EQ(F(3, s), s <= 3 ? -7.5f : 2.5f) << s;
        EXPECT_EQ(F(1, s), 0.0f);
        EXPECT_EQ(F(2, s), 0.0f);
    }
}

TEST(FixedEndForces, PositionFarBeyondTheEndLiesAfterEverySection) {
    // 8a/L is far beyond any integer: every section lies at or before the
    // load, so all carry (a/L − 1)·Q = (5E37 − 1)·5 = 2.5E38, not Q·a/L,
    // which overflows.
    SectionForces F;
    MQN0(5, LoadParameters{5.0f, 6.0f, 3.0E38f, 0.0f}, F);
    for (int s = 1; s <= 9; ++s) {
        EXPECT_FLOAT_EQ(F(3, s), 2.5E38f) << s;
        EXPECT_EQ(F(1, s), 0.0f);
    }
    // Just beyond the end node (8a/L = 9.6): still before the load everywhere.
    MQN0(5, LoadParameters{10.0f, 5.0f, 6.0f, 0.0f}, F);
    for (int s = 1; s <= 9; ++s) EXPECT_FLOAT_EQ(F(3, s), 2.0f) << s;  // (6/5 − 1)·10
}

TEST(FixedEndForces, ConcentratedMoment) {
    SectionForces F;
    const double Q = 9.0;
    const double a = 2.0;
    const double b = kL - a;
    MQN0(6, LoadParameters{9.0f, 6.0f, 2.0f, 0.0f}, F);
    const double MA = Q * b * (2 * a - b) / (kL * kL);
    const double VA = -6 * Q * a * b / (kL * kL * kL);
    for (int s = 1; s <= 9; ++s) {
        const double x = sectionX(s);
        const double M = MA + VA * x + (x > a ? Q : 0.0);  // a clockwise couple lifts M by Q
        EXPECT_NEAR(F(1, s), M, 1e-5) << s;
        EXPECT_NEAR(F(2, s), VA, 1e-6) << s;
    }
    // The couple makes both ends turn: M_B = −Q·a(2b − a)/L².
    EXPECT_NEAR(F(1, 9), -Q * a * (2 * b - a) / (kL * kL), 1e-5);
}

TEST(FixedEndForces, EndForcesFromTheSectionForces) {
    SectionForces F;
    Vec6 FE;
    MQN(1, LoadParameters{10.0f, 6.0f, 3.0f, 0.0f}, F, FE);
    const float expected[7] = {0, 0, 5.0f, -7.5f, 0, 5.0f, 7.5f};
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(FE(k), expected[k]) << k;
    EXPECT_EQ(F(1, 5), 7.5f);
}

TEST(FixedEndForces, LoadsAtAMemberEndGoToTheNode) {
    SectionForces F;
    Vec6 FE;
    struct Case {
        int type;
        float a;
        int entry;
        float value;
    };
    const Case cases[] = {
        {1, 0.0005f, 2, 10.0f}, {1, 5.9995f, 5, 10.0f}, {1, -1.0f, 5, 10.0f}, {5, 0.0f, 1, -10.0f},
        {5, 6.0f, 4, -10.0f},   {6, 0.0009f, 3, -10.0f}, {6, 6.0f, 6, -10.0f},
    };
    for (const Case& c : cases) {
        MQN(c.type, LoadParameters{10.0f, 6.0f, c.a, 0.0f}, F, FE);
        for (int k = 1; k <= 6; ++k) {
            EXPECT_EQ(FE(k), k == c.entry ? c.value : 0.0f) << "type " << c.type << " at " << c.a;
        }
        for (int s = 1; s <= 9; ++s) {
            for (int k = 1; k <= 3; ++k) EXPECT_EQ(F(k, s), 0.0f);
        }
    }
}

TEST(FixedEndForces, PositionReadAsOneMillimetreLiesInsideTheSpan) {
    // 0.001 read into a float is 0.00100000005 > 0.001: the load is not on
    // the node, so the clamped member carries it. A moment of 10 at a = 0.001
    // on 6 m: M_A = (2 - 3b/L)·b·Q/L with b = 5.999 gives about -10.0.
    SectionForces F;
    Vec6 FE;
    MQN(6, LoadParameters{10.0f, 6.0f, 0.001f, 0.0f}, F, FE);
    EXPECT_NE(F(1, 1), 0.0f);
    EXPECT_NEAR(F(1, 1), -9.99, 0.02);
    // Just under the tolerance the moment goes to the node and F stays empty.
    MQN(6, LoadParameters{10.0f, 6.0f, 0.000999f, 0.0f}, F, FE);
    EXPECT_EQ(F(1, 1), 0.0f);
    EXPECT_EQ(FE(3), -10.0f);
}

TEST(FixedEndForces, DistributedLoadLimitsAreCleanedUp) {
    SectionForces F;
    SectionForces reference;
    Vec6 FE;
    MQN0(2, LoadParameters{3.0f, 6.0f, 0.0f, 6.0f}, reference);
    // A negative start reads as 0; an end beyond the member or negative as L.
    for (const auto& [a, b] :
         {std::pair{-1.0f, 6.0f}, std::pair{0.0f, -1.0f}, std::pair{0.0f, 9.0f}}) {
        MQN(2, LoadParameters{3.0f, 6.0f, a, b}, F, FE);
        for (int s = 1; s <= 9; ++s) {
            EXPECT_EQ(F(1, s), reference(1, s)) << a << " " << b;
            EXPECT_EQ(F(2, s), reference(2, s)) << a << " " << b;
        }
    }
    // An end at or before the start carries nothing.
    for (const auto& [a, b] : {std::pair{4.0f, 3.0f}, std::pair{0.0f, 0.0f}}) {
        MQN(2, LoadParameters{3.0f, 6.0f, a, b}, F, FE);
        for (int k = 1; k <= 6; ++k) EXPECT_EQ(FE(k), 0.0f);
        for (int s = 1; s <= 9; ++s) EXPECT_EQ(F(1, s), 0.0f);
    }
}

TEST(FixedEndForces, UnknownTypesCarryNothing) {
    SectionForces F;
    Vec6 FE;
    for (int type : {0, -1, 7, 12}) {
        MQN(type, LoadParameters{10.0f, 6.0f, 3.0f, 5.0f}, F, FE);
        for (int k = 1; k <= 6; ++k) EXPECT_EQ(FE(k), 0.0f) << type;
        for (int s = 1; s <= 9; ++s) EXPECT_EQ(F(1, s), 0.0f) << type;
    }
}

TEST(FixedEndForces, GlobalDirectionsOfAColumnLoad) {
    // A column drawn upwards (c = 0, s = 1): its right-hand side is +X.
    SectionForces F;
    Vec6 FE;
    MQNXY(1, LoadParameters{8.0f, 4.0f, 2.0f, 0.0f}, 0.0f, 1.0f, FE, F);
    EXPECT_EQ(FE(1), -4.0f);  // the support force against a load towards +X
    EXPECT_EQ(FE(2), 0.0f);
    EXPECT_EQ(FE(3), -4.0f);  // M_A = −PL/8
    EXPECT_EQ(FE(4), -4.0f);
    EXPECT_EQ(FE(5), 0.0f);
    EXPECT_EQ(FE(6), 4.0f);
    // On an inclined member the end forces keep their magnitude.
    MQNXY(1, LoadParameters{8.0f, 5.0f, 2.5f, 0.0f}, 0.6f, 0.8f, FE, F);
    EXPECT_NEAR(std::hypot(FE(1), FE(2)), 4.0, 1e-6);
    EXPECT_NEAR(FE(1), 0.8 * -4.0, 1e-6);  // −s·V
    EXPECT_NEAR(FE(2), 0.6 * 4.0, 1e-6);   // c·V
}

}  // namespace
}  // namespace tarvel
