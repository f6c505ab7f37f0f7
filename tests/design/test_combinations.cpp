// Protects the five load-combination lists and their selection rules (lowest number wins a tie).
#include <gtest/gtest.h>

#include <cmath>

#include "design/load_combinations.h"
#include "support/tolerances.h"

namespace tarvel {
namespace {

using testing::expectClose;

// Relative tolerance for single-precision sums of a few terms.
constexpr double kSumTolerance = 1e-5;

// D 10, L1 -4, L2 6, W 5, E 8, ALF1 0.5. Wind pairs use 1.4 × 0.85 = 1.19.
TEST(LoadCombinations, BeamMomentListAWorkedByHand) {
    const BeamCombinations c = beamMomentCombinations({10.0f, -4.0f, 6.0f, 5.0f, 8.0f}, 0.5f);
    const double expected[22] = {
        0,
        12.0,            // 1.2·10
        4.4,    6.4,     // 10 − 5.6, 12 − 5.6
        18.4,   20.4,    // 10 + 8.4, 12 + 8.4
        11.19,  13.19,   // 10 + 1.19·(−4 + 5), 12 + 1.19
        23.09,  25.09,   // 10 + 1.19·11, 12 + 13.09
        -0.71,  1.29,    // 10 + 1.19·(−9), 12 − 10.71
        11.19,  13.19,   // 10 + 1.19·(6 − 5)
        13.35,  14.85,   // 0.75·(10 + 1.3·(−2 + 8)), 0.75·(12 + 7.8)
        18.225, 19.725,  // 0.75·(10 + 1.3·(3 + 8)), 0.75·(12 + 14.3)
        -2.25,  -0.75,   // 0.75·(10 + 1.3·(−2 − 8)), 0.75·(12 − 13)
        2.625,  4.125,   // 0.75·(10 + 1.3·(3 − 8)), 0.75·(12 − 6.5)
    };
    for (int n = 1; n <= kBeamCombinations; ++n) {
        SCOPED_TRACE(n);
        expectClose(c[static_cast<std::size_t>(n)], expected[n], kSumTolerance);
    }
    EXPECT_EQ(largestOf(c, 1, 13), 9);
    EXPECT_EQ(smallestOf(c, 1, 13), 10);
    EXPECT_EQ(largestOf(c, 14, 21), 17);
    EXPECT_EQ(smallestOf(c, 14, 21), 18);
}

// Shear list: the seismic live share is not multiplied by 1.3.
// D 50, L1 10, L2 20, W 5, E 30, ALF1 0.5, ETAVB 1.05: ETAVB·0.85 = 0.8925.
TEST(LoadCombinations, BeamShearListBWorkedByHand) {
    const BeamCombinations c =
        beamShearCombinations({50.0f, 10.0f, 20.0f, 5.0f, 30.0f}, 0.5f, 1.05f);
    // clang-format off
    const double expected[22] = {
        0,
        60.0,                // 1.2·50
        64.0,    74.0,       // 50 + 14, 60 + 14
        78.0,    88.0,       // 50 + 28, 60 + 28
        67.85,   77.85,      // 50 + 1.19·15, 60 + 17.85
        79.75,   89.75,      // 50 + 1.19·25
        55.95,   65.95,      // 50 + 1.19·5
        67.85,   77.85,      // 50 + 1.19·15
        83.895,  93.7125,    // 0.8925·(5 + 50 + 39), 0.8925·(1.2·55 + 39)
        88.3575, 99.0675,    // 0.8925·(10 + 50 + 39), 0.8925·(1.2·60 + 39)
        14.28,   24.0975,    // 0.8925·(55 − 39), 0.8925·(66 − 39)
        18.7425, 29.4525,    // 0.8925·(60 − 39), 0.8925·(72 − 39)
    };
    // clang-format on
    for (int n = 1; n <= kBeamCombinations; ++n) {
        SCOPED_TRACE(n);
        expectClose(c[static_cast<std::size_t>(n)], expected[n], kSumTolerance);
    }
    EXPECT_EQ(largestMagnitudeOf(c, 1, 13), 9);
    EXPECT_EQ(largestMagnitudeOf(c, 14, 21), 17);
}

TEST(LoadCombinations, LargestMagnitudeCountsNegativeShears) {
    const BeamCombinations c = beamShearCombinations({-50.0f, 0.0f, 0.0f, 0.0f, 0.0f}, 0.5f, 1.0f);
    // 1.2·(−50) = −60 is the largest magnitude; 3, 5, ... repeat it and lose the tie.
    EXPECT_EQ(largestMagnitudeOf(c, 1, 13), 1);
}

// Dead load alone: every odd number of 1..13 gives 1.2 D, every even one D.
TEST(LoadCombinations, TiesReportTheLowerNumber) {
    const BeamCombinations c = beamMomentCombinations({10.0f, 0.0f, 0.0f, 0.0f, 0.0f}, 0.5f);
    EXPECT_EQ(largestOf(c, 1, 13), 1);     // 12 also at 3, 5, 7, ...
    EXPECT_EQ(smallestOf(c, 1, 13), 2);    // 10 also at 4, 6, ...
    EXPECT_EQ(largestOf(c, 14, 21), 15);   // 0.75·12 = 9 also at 17, 19, 21
    EXPECT_EQ(smallestOf(c, 14, 21), 14);  // 0.75·10 = 7.5 also at 16, 18, 20
}

// Without wind and seismic data the seismic combinations still exist: 0.75·(D + 1.3·ALF1·L).
TEST(LoadCombinations, SeismicCombinationsFormedWithoutSeismicData) {
    const BeamCombinations c = beamMomentCombinations({10.0f, 0.0f, 4.0f, 0.0f, 0.0f}, 0.0f);
    expectClose(c[16], 7.5, kSumTolerance);   // 0.75·(10 + 1.3·0·4)
    expectClose(c[17], 9.0, kSumTolerance);   // 0.75·12
    expectClose(c[8], 14.76, kSumTolerance);  // 10 + 1.19·4: repeats 4 with 1.19 instead of 1.4
}

// MD 100, ML 40, MW 30, ME 50; ND 1000, NL 300, NW 20, NE 60; RMN 0.5, ALF1 0.5,
// ETAMC 1.1 so ηM = 0.88.
TEST(LoadCombinations, ColumnMomentListCWorkedByHand) {
    const ColumnMomentCombinations c = columnMomentCombinations(
        {100.0f, 40.0f, 30.0f, 50.0f}, {1000.0f, 300.0f, 20.0f, 60.0f}, 0.5f, 0.5f, 1.1f);
    // clang-format off
    const double M[16] = {0, 120.0, 156.0, 176.0, 162.0, 78.0, 203.3, 131.9,
                          166.32, 183.92, 51.92, 69.52,   // 0.88·(124 ± 65), 0.88·(144 ± 65)
                          137.72, 155.32, 80.52, 98.12};  // ME by RMN: ± 1.3·50·0.5 = ± 32.5
    const double N[16] = {0, 1200.0, 1420.0, 1620.0, 1228.0, 1172.0, 1580.8, 1533.2,
                          975.2, 1135.2, 912.8, 1072.8,    // 0.8·(1180 ± 39), 0.8·(1380 ± 39)
                          1006.4, 1166.4, 881.6, 1041.6};  // NE in full: ± 1.3·60 = ± 78
    // clang-format on
    for (int n = 1; n <= kColumnMomentCombinations; ++n) {
        SCOPED_TRACE(n);
        expectClose(c[static_cast<std::size_t>(n)].M, M[n], kSumTolerance);
        expectClose(c[static_cast<std::size_t>(n)].N, N[n], kSumTolerance);
    }
}

// The correlation scales the factored seismic force, (1.3 × 28) × 0.58 in
// single precision; 1.3 × (28 × 0.58) rounds to another last digit.
TEST(LoadCombinations, ColumnCorrelationScalesTheFactoredSeismicForce) {
    const CaseValues force{1000.0f, 300.0f, 0.0f, 28.0f};
    const float RMN = 0.58f;
    const ColumnMomentCombinations c = columnMomentCombinations(force, force, RMN, 0.5f, 1.0f);
    const float gravity = 1.2f * 0.5f * 300.0f + 1000.0f;  // 1.2 ALF1 L + D = 1180
    const float scaled = 1.3f * 28.0f * RMN;
    const float full = 1.3f * 28.0f;
    EXPECT_EQ(c[8].N, 0.8f * (gravity + scaled));
    EXPECT_EQ(c[10].N, 0.8f * (gravity - scaled));
    EXPECT_EQ(c[12].M, 0.8f * (gravity + scaled));  // ηM = 0.8 × ETAMC = 0.8
    EXPECT_EQ(c[14].M, 0.8f * (gravity - scaled));
    // The unscaled partner of each pair keeps the full seismic force.
    EXPECT_EQ(c[8].M, 0.8f * (gravity + full));
    EXPECT_EQ(c[12].N, 0.8f * (gravity + full));
}

// VD 20, VL 8, VW 10, VE 15; ND 1000, NL 300, NW 20, NE′ 30 (already NE × RVN);
// ALF1 0.5, ETAVC 1.1 so ηV = 0.935.
TEST(LoadCombinations, ColumnShearListDWorkedByHand) {
    const ColumnShearCombinations c = columnShearCombinations(
        {20.0f, 8.0f, 10.0f, 15.0f}, {1000.0f, 300.0f, 20.0f, 30.0f}, 0.5f, 1.1f);
    // clang-format off
    const double V[12] = {0, 24.0, 31.2, 35.2, 41.42, 45.42, 17.62, 21.62,
                          // 0.935·(24.8 ± 19.5), 0.935·(28.8 ± 19.5)
                          41.4205, 45.1605, 4.9555, 8.6955};
    const double N[12] = {0, 1200.0, 1420.0, 1620.0, 1380.8, 1580.8, 1333.2, 1533.2,
                          1036.15, 1206.15, 969.85, 1139.85};  // 0.85·(1180 ± 39), 0.85·(1380 ± 39)
    // clang-format on
    for (int n = 1; n <= kColumnShearCombinations; ++n) {
        SCOPED_TRACE(n);
        expectClose(c[static_cast<std::size_t>(n)].V, V[n], kSumTolerance);
        expectClose(c[static_cast<std::size_t>(n)].N, N[n], kSumTolerance);
    }
}

// The forces of the list C case plus shears VD 20, VL 8, VW 10, VE 15;
// RMN 0.5, RVM 0.8, RVN −0.4, ALF1 0.5.
TEST(LoadCombinations, SupportListEWorkedByHand) {
    const SupportCombinations c =
        supportCombinations({100.0f, 40.0f, 30.0f, 50.0f}, {20.0f, 8.0f, 10.0f, 15.0f},
                            {1000.0f, 300.0f, 20.0f, 60.0f}, 0.5f, 0.8f, -0.4f, 0.5f);
    // clang-format off
    const double M[11] = {0, 156.0, 176.0, 183.3, 111.9, 203.3, 131.9,
                          209.0, 79.0,       // 1.2·(20 + 100) ± 65
                          176.5, 111.5};     // 144 ± 1.3·0.5·50
    const double V[11] = {0, 31.2, 35.2, 41.42, 17.62, 45.42, 21.62,
                          44.4, 13.2,        // 1.2·(4 + 20) ± 1.3·0.8·15
                          21.0, 36.6};       // 28.8 ± 1.3·(−0.4)·15
    const double N[11] = {0, 1420.0, 1620.0, 1380.8, 1333.2, 1580.8, 1533.2,
                          1419.0, 1341.0,    // 1.2·(150 + 1000) ± 1.3·0.5·60
                          1458.0, 1302.0};   // 1380 ± 1.3·60
    // clang-format on
    for (int n = 1; n <= kSupportCombinations; ++n) {
        SCOPED_TRACE(n);
        expectClose(c[static_cast<std::size_t>(n)].M, M[n], kSumTolerance);
        expectClose(c[static_cast<std::size_t>(n)].V, V[n], kSumTolerance);
        expectClose(c[static_cast<std::size_t>(n)].N, N[n], kSumTolerance);
    }
    const SupportExtremes plain = supportExtremes(c, 1, 6);
    EXPECT_EQ(plain.largestM, 5);
    EXPECT_EQ(plain.smallestM, 4);
    EXPECT_EQ(plain.largestN, 2);
    EXPECT_EQ(plain.smallestN, 4);
    const SupportExtremes quake = supportExtremes(c, 7, 10);
    EXPECT_EQ(quake.largestM, 7);
    EXPECT_EQ(quake.smallestM, 8);
    EXPECT_EQ(quake.largestN, 9);
    EXPECT_EQ(quake.smallestN, 10);
}

// Dead load alone: M is MD at 1, 3, 4 and 1.2 MD at 2, 5, 6.
TEST(LoadCombinations, SupportTiesReportTheLowerNumber) {
    const SupportCombinations c = supportCombinations({10.0f, 0, 0, 0}, {0, 0, 0, 0},
                                                      {-5.0f, 0, 0, 0}, 1.0f, 1.0f, 1.0f, 0.5f);
    const SupportExtremes x = supportExtremes(c, 1, 6);
    EXPECT_EQ(x.largestM, 2);
    EXPECT_EQ(x.smallestM, 1);
    EXPECT_EQ(x.largestN, 1);  // −5 beats −6
    EXPECT_EQ(x.smallestN, 2);
}

}  // namespace
}  // namespace tarvel
