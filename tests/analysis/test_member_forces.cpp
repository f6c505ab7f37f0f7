// Protects QMNDIS (distribution and its two roundings), BFORCE and SBFORCE.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "analysis/member_forces.h"
#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::StaticSolver;

TEST(MemberForces, DistributionOfEndForcesByHand) {
    Vec6 f;
    const float end[7] = {0, 5, 2, 4, -5, -2, 8};
    for (int k = 1; k <= 6; ++k) f(k) = end[k];
    SectionForces F;
    QMNDIS(f, F);
    const float M[10] = {0, 4, 2.5f, 1, -0.5f, -2, -3.5f, -5, -6.5f, -8};
    for (int s = 1; s <= 9; ++s) {
        EXPECT_EQ(F(1, s), M[s]) << s;
        EXPECT_EQ(F(2, s), 2.0f);
        EXPECT_EQ(F(3, s), 5.0f);
    }
}

Vec6 endForces(float N, float V, float MI, float MJ) {
    Vec6 f;
    f(1) = N;
    f(2) = V;
    f(3) = MI;
    f(4) = -N;
    f(5) = -V;
    f(6) = MJ;
    return f;
}

TEST(MemberForces, MomentAndShearRoundHalfUpToSevenDecimals) {
    SectionForces F;
    QMNDIS(endForces(0, -4e-8f, 3e-8f, -3e-8f), F);
    EXPECT_EQ(F(1, 1), 0.0f);  // 0.3 units of 1E-7 round to 0
    EXPECT_EQ(F(2, 1), 0.0f);  // −0.4 units round up to 0
    QMNDIS(endForces(0, -6e-8f, 6e-8f, -6e-8f), F);
    EXPECT_EQ(F(1, 5), static_cast<float>(1e-7));   // 0.6 units round to 1
    EXPECT_EQ(F(2, 5), static_cast<float>(-1e-7));  // −0.6 units round to −1
    QMNDIS(endForces(0, 0.123456789f, 0.12345672f, -0.12345672f), F);
    EXPECT_EQ(F(1, 3), static_cast<float>(0.1234567));
    EXPECT_EQ(F(2, 3), static_cast<float>(0.1234568));
}

TEST(MemberForces, AxialForceIsCutDownwardToSevenDecimals) {
    SectionForces F;
    QMNDIS(endForces(1e-12f, 0, 0, 0), F);
    EXPECT_EQ(F(3, 1), 0.0f);
    QMNDIS(endForces(-1e-12f, 0, 0, 0), F);
    EXPECT_EQ(F(3, 9), static_cast<float>(-1e-7));  // a tiny tension becomes −1E-7
    QMNDIS(endForces(0.12345678f, 0, 0, 0), F);
    EXPECT_EQ(F(3, 4), static_cast<float>(0.1234567));
}

TEST(MemberForces, RoundingsAgreeWithTheFormulaOverTheWholeRange) {
    // floor(1E7·x + 0.5)/1E7 and floor(1E7·x)/1E7 in double precision, taken
    // back to single precision, for values of every size.
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> mantissa(-1.0f, 1.0f);
    std::uniform_int_distribution<int> exponent(-30, 30);
    SectionForces F;
    for (int trial = 0; trial < 200000; ++trial) {
        float x = std::ldexp(mantissa(rng), exponent(rng));
        if (trial % 4 == 0)
            x = std::nextafter(trial % 8 == 0 ? 1.0f : 2.0f, 0.0f) *
                (trial % 3 == 0 ? -1.0f : 1.0f);
        if (trial == 1) x = -0.0f;
        QMNDIS(endForces(x, x, x, -x), F);
        const double y = 1.0E7 * static_cast<double>(x);
        const auto rounded = static_cast<float>(std::floor(y + 0.5) / 1.0E7);
        const auto cut = static_cast<float>(std::floor(y) / 1.0E7);
        ASSERT_EQ(F(1, 5), rounded) << x;
        ASSERT_EQ(F(2, 5), rounded) << x;
        ASSERT_EQ(F(3, 5), cut) << x;
        ASSERT_EQ(std::signbit(F(3, 5)), std::signbit(cut)) << x;
    }
}

// Two storeys, one bay, each floor sharing one sway code.
FrameBuilder twoStoreys() {
    FrameBuilder f;
    f.section(0.3, 0.6).section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 6, 0);
    f.node(3, 1, 2, 3, 0, 3.6).node(4, 1, 4, 5, 6, 3.6);
    f.node(5, 6, 7, 8, 0, 7.2).node(6, 6, 9, 10, 6, 7.2);
    f.beam(3, 4, 1).beam(5, 6, 1);
    f.column(1, 3, 2).column(2, 4, 2).column(3, 5, 2).column(4, 6, 2);
    return f;
}

TEST(MemberForces, SeismicModeAccumulatesSquaresAndProducts) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(twoStoreys().text()));
    AnalysisState& s = *run.state;
    ASSERT_EQ(s.model.NLEV, 2);

    // The mode's forces and displacements, as BFORCE gives them.
    s.P(1) = 30.0f;
    s.P(6) = 50.0f;
    BFORCE(s);
    const ForceTable forces = s.FMQN;
    const float d1 = s.P(1);
    const float d2 = s.P(6);
    clearLoadVector(s);

    for (int mode = 1; mode <= 2; ++mode) {
        s.P(1) = 30.0f;
        s.P(6) = 50.0f;
        SBFORCE(s);
        const float n = static_cast<float>(mode);
        EXPECT_FLOAT_EQ(s.UD(2, 1), n * d1 * d1);
        EXPECT_FLOAT_EQ(s.UD(2, 2), n * d2 * d2);
        EXPECT_FLOAT_EQ(s.UD(3, 1), n * d1 * d1);
        EXPECT_FLOAT_EQ(s.UD(3, 2), n * (d2 - d1) * (d2 - d1));
        for (int b = 1; b <= 2; ++b) {
            for (int sec = 1; sec <= 9; ++sec) {
                EXPECT_FLOAT_EQ(s.BM(sec, b, 4), n * forces(1, sec, b) * forces(1, sec, b));
            }
            EXPECT_FLOAT_EQ(s.BV(1, b, 4), n * forces(2, 1, b) * forces(2, 1, b));
            EXPECT_FLOAT_EQ(s.BV(2, b, 4), n * forces(2, 9, b) * forces(2, 9, b));
        }
        for (int i = 1; i <= 4; ++i) {
            const int m = 2 + i;
            for (int k = 1; k <= 3; ++k) {
                EXPECT_FLOAT_EQ(s.CF(4 + k, i, 4), n * forces(k, 1, m) * forces(k, 1, m));
                EXPECT_FLOAT_EQ(s.CF(8 + k, i, 4), n * forces(k, 9, m) * forces(k, 9, m));
            }
            for (int e = 1; e <= 2; ++e) {
                const int sec = e == 1 ? 1 : 9;
                const float M = forces(1, sec, m);
                const float V = forces(2, sec, m);
                const float N = forces(3, sec, m);
                EXPECT_FLOAT_EQ(s.RMN(e, i), n * N * M);
                EXPECT_FLOAT_EQ(s.RVM(e, i), n * V * M);
                EXPECT_FLOAT_EQ(s.RVN(e, i), n * V * N);
            }
        }
        // The work tables are left empty for the next mode.
        for (int code = 1; code <= s.NDOF; ++code) EXPECT_EQ(s.P(code), 0.0f);
        EXPECT_EQ(s.FMQN(1, 1, 3), 0.0f);
    }
    // The seismic case of the static tables is the only one touched.
    EXPECT_EQ(s.BM(1, 1, 1), 0.0f);
    EXPECT_EQ(s.CF(5, 1, 3), 0.0f);
}

// The moments and shears of many displacement vectors at once, against one
// vector at a time: every bit, for displacements from 1E-9 to 1E+3 (moments
// on both sides of 1, where the rounding to seven decimals starts to act),
// and through values that are not finite; for a beam and two columns, and
// for counts that leave remainders of every kind.
TEST(MemberForces, BendingOfManyVectorsEqualsOneByOneBitForBit) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(testing::officeFrame().text()));
    const AnalysisState& s = *run.state;
    const int NDOF = s.NDOF;
    std::mt19937 rng(21);
    std::uniform_real_distribution<float> mantissa(-1.0f, 1.0f);
    std::uniform_int_distribution<int> exponent(-9, 3);
    for (const int m : {1, static_cast<int>(s.model.NB) + 1, static_cast<int>(s.model.NE)}) {
        const MemberMatrices mm = memberMatrices(s.model, m);
        for (const int count : {1, 3, 4, 7, 64, 133}) {
            const auto n = static_cast<std::size_t>(count);
            std::vector<float> D(static_cast<std::size_t>(NDOF) * n);
            for (float& d : D) d = mantissa(rng) * std::pow(10.0f, static_cast<float>(exponent(rng)));
            if (count > 100) {
                D[5] = std::numeric_limits<float>::infinity();
                D[n + 9] = std::numeric_limits<float>::quiet_NaN();
            }
            std::vector<float> M(9 * n);
            std::vector<float> V(n);
            displacementBendingMany(mm, D.data(), n, M.data(), V.data());
            int rounded = 0;
            for (std::size_t r = 0; r < n; ++r) {
                BendingForces one;
                displacementBending(mm, D.data() + r, n, one);
                for (int sec = 1; sec <= 9; ++sec) {
                    const float many = M[static_cast<std::size_t>(sec - 1) * n + r];
                    rounded += std::fabs(many) < 1.0f && many != 0.0f ? 1 : 0;
                    ASSERT_EQ(std::memcmp(&many, &one.M[sec], sizeof many), 0)
                        << "member " << m << ", vector " << r << " of " << count << ", section " << sec << ": "
                        << many << " against " << one.M[sec];
                }
                ASSERT_EQ(std::memcmp(&V[r], &one.V, sizeof one.V), 0) << "member " << m << ", vector " << r;
            }
            if (count >= 64) {
                EXPECT_GT(rounded, 0) << "no moment below 1 for member " << m;
            }
        }
    }
}

}  // namespace
}  // namespace tarvel
