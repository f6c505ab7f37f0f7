// Protects KE0, TT, KE and the matrix products: member stiffness values and signs.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/element_stiffness.h"

namespace tarvel {
namespace {

// 6 m member, C25 (Ec = 2.55E7 kN/m²), section 0.25 × 0.5.
constexpr float kE = 2.55E7f;
constexpr float kA = 0.125f;
constexpr float kI = 0.0026041667f;
constexpr float kL = 6.0f;

void expectRelative(float actual, double expected, double tolerance = 1e-6) {
    EXPECT_NEAR(actual, expected, std::fabs(expected) * tolerance);
}

TEST(ElementStiffness, LocalMatrixOfASixMetreBeam) {
    Mat6 k;
    KE0(k, kE, kI, kA, kL);
    // EA/L = 531250, 12EI/L³ = 3689.236, 6EI/L² = 11067.71, 4EI/L = 44270.83, 2EI/L = 22135.42
    expectRelative(k(1, 1), 531250.0);
    expectRelative(k(4, 4), 531250.0);
    expectRelative(k(1, 4), -531250.0);
    expectRelative(k(2, 2), 3689.2362);
    expectRelative(k(5, 5), 3689.2362);
    expectRelative(k(2, 5), -3689.2362);
    expectRelative(k(2, 3), -11067.709);
    expectRelative(k(2, 6), -11067.709);
    expectRelative(k(3, 5), 11067.709);
    expectRelative(k(5, 6), 11067.709);
    expectRelative(k(3, 3), 44270.834);
    expectRelative(k(6, 6), 44270.834);
    EXPECT_EQ(k(3, 6), k(3, 3) * 0.5f);
    for (int p = 1; p <= 6; ++p) {
        for (int q = 1; q <= 6; ++q) EXPECT_EQ(k(p, q), k(q, p)) << p << "," << q;
    }
    // Axial and bending terms do not couple.
    for (int p : {1, 4}) {
        for (int q : {2, 3, 5, 6}) EXPECT_EQ(k(p, q), 0.0f);
    }
}

TEST(ElementStiffness, TransformationIsTwoRotationBlocks) {
    Mat6 T;
    TT(T, 0.6f, 0.8f);
    for (int b : {0, 3}) {
        EXPECT_EQ(T(b + 1, b + 1), 0.6f);
        EXPECT_EQ(T(b + 1, b + 2), 0.8f);
        EXPECT_EQ(T(b + 2, b + 1), -0.8f);
        EXPECT_EQ(T(b + 2, b + 2), 0.6f);
        EXPECT_EQ(T(b + 3, b + 3), 1.0f);
    }
    EXPECT_EQ(T(1, 4), 0.0f);
    EXPECT_EQ(T(4, 1), 0.0f);
    EXPECT_EQ(T(3, 1), 0.0f);
}

TEST(ElementStiffness, VerticalMemberMapsGlobalXOntoLocalShear) {
    Mat6 local;
    Mat6 global;
    KE0(local, kE, kI, kA, kL);
    KE(global, kE, kI, kA, kL, 0.0f, 1.0f);
    EXPECT_EQ(global(1, 1), local(2, 2));
    EXPECT_EQ(global(2, 2), local(1, 1));
    EXPECT_EQ(global(3, 3), local(3, 3));
    // Global X is local −v: the sign of the coupling with the rotation turns.
    EXPECT_EQ(global(1, 3), -local(2, 3));
    EXPECT_EQ(global(1, 2), 0.0f);
}

TEST(ElementStiffness, InclinedMemberHasNoStiffnessAgainstRigidMotion) {
    const float dx = 3.0f;
    const float dy = 4.0f;
    const float L = 5.0f;
    Mat6 k;
    KE(k, kE, kI, kA, L, dx / L, dy / L);
    double scale = 0.0;
    for (int p = 1; p <= 6; ++p) {
        for (int q = 1; q <= 6; ++q) {
            EXPECT_NEAR(k(p, q), k(q, p), 1e-6 * std::fabs(k(p, q)) + 1e-3);
            scale = std::max(scale, double(std::fabs(k(p, q))));
        }
    }
    // Translation in X, translation in Y, and a clockwise rotation θ about I,
    // which moves J by θ·(dy, −dx).
    const double motions[3][7] = {
        {0, 1, 0, 0, 1, 0, 0}, {0, 0, 1, 0, 0, 1, 0}, {0, 0, 0, 1, dy, -dx, 1}};
    for (const auto& u : motions) {
        for (int p = 1; p <= 6; ++p) {
            double f = 0.0;
            for (int q = 1; q <= 6; ++q) f += k(p, q) * u[q];
            EXPECT_NEAR(f, 0.0, 1e-6 * scale * 5.0) << "row " << p;
        }
    }
}

}  // namespace
}  // namespace tarvel
