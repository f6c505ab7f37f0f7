// Protects INITAK and KMAIN: equation count, band width, the band layout of
// the assembled matrix, shared codes, and the refusals (too large, zero length).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/element_stiffness.h"
#include "analysis/stiffness_assembly.h"
#include "support/recording_host.h"

namespace tarvel {
namespace {

// A frame model built directly: C30 (Ec = 3.0E7), section 1 of 0.4 × 0.4.
struct ModelBuilder {
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
    ModelBuilder() {
        FrameModel& m = s->model;
        m.KW = 0;
        m.NSEC = 1;
        m.SEC(1, 1) = 0.4f;
        m.SEC(2, 1) = 0.4f;
        m.SEC(3, 1) = 0.16f;
        m.SEC(4, 1) = 0.4f * 0.4f * 0.16f / 12.0f;
        m.NCON = 1;
        m.EC(1) = 3.0E7f;
    }
    ModelBuilder& node(int n, int ix, int iy, int ifi, float x, float y) {
        FrameModel& m = s->model;
        m.JD(1, n) = static_cast<float>(ix);
        m.JD(2, n) = static_cast<float>(iy);
        m.JD(3, n) = static_cast<float>(ifi);
        m.XY(1, n) = x;
        m.XY(2, n) = y;
        if (n > m.NJ) m.NJ = static_cast<std::int16_t>(n);
        return *this;
    }
    // Members are added as beams first, then columns.
    ModelBuilder& member(int i, int j, bool column) {
        FrameModel& m = s->model;
        const int e = ++m.NE;
        m.MEM(1, e) = static_cast<float>(i);
        m.MEM(2, e) = static_cast<float>(j);
        m.MEM(3, e) = 1.0f;
        m.MEM(4, e) = 1.0f;
        if (column) {
            ++m.NC;
        } else {
            m.NB = m.NE;
        }
        return *this;
    }
};

TEST(StiffnessAssembly, CantileverColumnByHand) {
    ModelBuilder b;
    b.node(1, 0, 0, 0, 0.0f, 0.0f).node(2, 1, 2, 3, 0.0f, 4.0f).member(1, 2, true);
    RecordingHost host;
    AnalysisState& s = *b.s;
    ASSERT_TRUE(INITAK(s, host));
    EXPECT_EQ(s.NDOF, 3);
    EXPECT_EQ(s.MBAND, 4.0f);  // codes 0..3
    ASSERT_TRUE(KMAIN(s, host));
    // 0.4 × 0.4, h = 4: 12EI/h³ = 12000, EA/h = 1.2E6, 4EI/h = 64000, 6EI/h² = 24000.
    EXPECT_NEAR(s.SK(4), 12000.0, 0.01);    // (1,1): sway
    EXPECT_NEAR(s.SK(8), 1.2E6, 0.1);       // (2,2): axial
    EXPECT_EQ(s.SK(7), 0.0f);               // (2,1)
    EXPECT_NEAR(s.SK(12), 64000.0, 0.01);   // (3,3)
    EXPECT_NEAR(s.SK(10), -24000.0, 0.01);  // (3,1): X is local −v, so the sign turns
    EXPECT_EQ(s.SK(11), 0.0f);              // (3,2)
    // Band columns before matrix column 1 stay empty.
    for (int e : {1, 2, 3, 5, 6, 9}) EXPECT_EQ(s.SK(e), 0.0f) << e;
    EXPECT_TRUE(host.messages.empty());
}

TEST(StiffnessAssembly, LowerBandTakesTheTransposedEntryOfTheMemberMatrix) {
    // An inclined member (3 : 4): in single precision Tᵀ·(k·T) is not exactly
    // symmetric, so the orientation shows: the band entry of row r, column
    // t ≤ r receives k(t, r) of the member matrix.
    ModelBuilder b;
    b.node(1, 1, 2, 3, 0, 0).node(2, 4, 5, 6, 1.5f, 2.0f).member(1, 2, false);
    RecordingHost host;
    AnalysisState& s = *b.s;
    ASSERT_TRUE(INITAK(s, host));
    ASSERT_TRUE(KMAIN(s, host));
    const int MBAND = s.band();
    ASSERT_EQ(MBAND, 6);  // codes 1..6
    const MemberGeometry g = memberGeometry(s.model, 1);
    const MemberStiffness e = memberStiffness(s.model, 1);
    Mat6 k;
    KE(k, e.E, e.I, e.A, g.L, g.c, g.s);
    int asymmetric = 0;
    for (int r = 1; r <= 6; ++r) {
        for (int t = 1; t <= r; ++t) {
            EXPECT_EQ(s.SK(r * MBAND - (r - t)), k(t, r)) << r << "," << t;
            if (k(t, r) != k(r, t)) ++asymmetric;
        }
    }
    EXPECT_GT(asymmetric, 0);
}

TEST(StiffnessAssembly, BandWidthSpansTheCodesOfNodesFromNodeOne) {
    // Node 1 restrained: the smallest code is 0, so MBAND = NDOF + 1.
    ModelBuilder a;
    a.node(1, 0, 0, 0, 0, 0).node(2, 1, 2, 3, 0, 3).node(3, 4, 5, 6, 5, 3);
    a.member(2, 3, false).member(1, 2, true);
    RecordingHost host;
    ASSERT_TRUE(INITAK(*a.s, host));
    EXPECT_EQ(a.s->NDOF, 6);
    EXPECT_EQ(a.s->MBAND, 7.0f);

    // Every node coded from 1 up: the band is hi − lo + 1 = 6 − 1 + 1.
    ModelBuilder b;
    b.node(1, 1, 2, 3, 0, 0).node(2, 4, 5, 6, 5, 0).member(1, 2, false);
    ASSERT_TRUE(INITAK(*b.s, host));
    EXPECT_EQ(b.s->NDOF, 6);
    EXPECT_EQ(b.s->MBAND, 6.0f);
}

TEST(StiffnessAssembly, SharedCodesReceiveEveryContribution) {
    // Two cantilever columns whose tops share the sway code 1, joined by a
    // beam whose two ends carry that same code: the beam's axial terms
    // (EA/L − EA/L − EA/L + EA/L) cancel exactly.
    ModelBuilder b;
    b.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 6, 0).node(3, 1, 2, 3, 0, 4).node(4, 1, 4, 5, 6, 4);
    b.member(3, 4, false).member(1, 3, true).member(2, 4, true);
    RecordingHost host;
    AnalysisState& s = *b.s;
    ASSERT_TRUE(INITAK(s, host));
    ASSERT_TRUE(KMAIN(s, host));
    const int MBAND = s.band();
    EXPECT_NEAR(s.SK(1 * MBAND), 2 * 12000.0, 0.02);  // sway of both columns
}

TEST(StiffnessAssembly, FrameBeyondTheStiffnessTableIsRefused) {
    // A chain of 61 free nodes: 183 equations, band 184.
    ModelBuilder b;
    b.node(1, 0, 0, 0, 0, 0);
    for (int n = 2; n <= 62; ++n) {
        b.node(n, 3 * n - 5, 3 * n - 4, 3 * n - 3, static_cast<float>(n - 1), 0);
        b.member(n - 1, n, false);
    }
    RecordingHost host;
    EXPECT_FALSE(INITAK(*b.s, host));
    EXPECT_EQ(b.s->NDOF, 183);
    const std::string text =
        "超出结构分析极限，请重新调整数据或更新分析程序！！！ 刚度矩阵：NDOF×MBAND = "
        "33672（最多32767）。";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, text);
    EXPECT_EQ(host.messages[0].title, "提示！");
    EXPECT_EQ(host.messages[0].icon, Icon::None);
    ASSERT_EQ(host.logLines.size(), 1u);
    EXPECT_EQ(host.logLines[0], text);
}

TEST(StiffnessAssembly, LargestStorableFramePasses) {
    // 60 free nodes: 180 equations, 180 · 181 = 32580 entries.
    ModelBuilder b;
    b.node(1, 0, 0, 0, 0, 0);
    for (int n = 2; n <= 61; ++n) {
        b.node(n, 3 * n - 5, 3 * n - 4, 3 * n - 3, static_cast<float>(n - 1), 0);
        b.member(n - 1, n, false);
    }
    RecordingHost host;
    EXPECT_TRUE(INITAK(*b.s, host));
    EXPECT_EQ(b.s->NDOF * b.s->band(), 32580);
    EXPECT_TRUE(host.messages.empty());
}

TEST(StiffnessAssembly, MemberOfZeroLengthStopsTheAssembly) {
    ModelBuilder b;
    b.node(1, 0, 0, 0, 0, 0).node(2, 1, 2, 3, 0, 4).node(3, 4, 5, 6, 0, 4);
    b.member(2, 3, false).member(1, 2, true);
    RecordingHost host;
    ASSERT_TRUE(INITAK(*b.s, host));
    EXPECT_FALSE(KMAIN(*b.s, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Length of bar(AL=0),计算终止！");
    EXPECT_EQ(host.messages[0].title, "提示！");
    EXPECT_EQ(host.messages[0].icon, Icon::Information);
    // The log names the member (the beam, member 1) and its nodes.
    EXPECT_EQ(host.logLines,
              std::vector<std::string>{
                  "Length of bar(AL=0),计算终止！杆件 1 (梁 1): 节点 2-3 的坐标相同。"});
}

}  // namespace
}  // namespace tarvel
