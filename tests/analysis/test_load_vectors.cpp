// Protects the load segments (checking, BLOAD, LLOAD), LOAD into P and FMQN,
// and the self-weight of KMAIN.

#include <gtest/gtest.h>

#include "analysis/load_vectors.h"
#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::StaticSolver;

// A 6 m beam on two columns of 4 m, all nodes free except the bases.
FrameBuilder portal() {
    FrameBuilder f;
    f.section(0.25, 0.5).section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 6, 0);
    f.node(3, 1, 2, 3, 0, 4).node(4, 4, 5, 6, 6, 4);
    f.beam(3, 4, 1).column(1, 3, 2).column(2, 4, 2);
    return f;
}

TEST(LoadVectors, PointForceAtTheStartNodeGoesStraightIntoP) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(portal().text()));
    AnalysisState& s = *run.state;
    LOAD(s, 1, 1, LoadParameters{10.0f, 6.0f, 0.0005f, 0.0f}, 1.0f, 0.0f);
    EXPECT_EQ(s.P(2), -10.0f);  // vertical code of node 3
    for (int code : {1, 3, 4, 5, 6}) EXPECT_EQ(s.P(code), 0.0f) << code;
    for (int sec = 1; sec <= 9; ++sec) {
        for (int k = 1; k <= 3; ++k) EXPECT_EQ(s.FMQN(k, sec, 1), 0.0f);
    }
}

TEST(LoadVectors, MidSpanForceGivesHalfToEachEndAndTheFixedEndMoments) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(portal().text()));
    AnalysisState& s = *run.state;
    LOAD(s, 1, 1, LoadParameters{10.0f, 6.0f, 3.0f, 0.0f}, 1.0f, 0.0f);
    EXPECT_EQ(s.P(2), -5.0f);
    EXPECT_EQ(s.P(5), -5.0f);
    EXPECT_EQ(s.P(3), 7.5f);   // clockwise at the left end
    EXPECT_EQ(s.P(6), -7.5f);  // anticlockwise at the right end
    EXPECT_EQ(s.FMQN(1, 5, 1), 7.5f);
    // A second load adds to the same tables.
    LOAD(s, 1, 1, LoadParameters{10.0f, 6.0f, 3.0f, 0.0f}, 1.0f, 0.0f);
    EXPECT_EQ(s.P(2), -10.0f);
    EXPECT_EQ(s.FMQN(1, 5, 1), 15.0f);
}

TEST(LoadVectors, SelfWeightOfABeamAndAColumn) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(portal().weight(1).text()));
    const AnalysisState& s = *run.state;
    // Beam 0.25 × 0.5: q = 3.125 kN/m, half of 18.75 kN to each end node.
    EXPECT_NEAR(s.FMQN(1, 1, 1), -3.125 * 36 / 12, 1e-5);
    EXPECT_NEAR(s.FMQN(2, 1, 1), 3.125 * 3, 1e-5);
    // Column 0.4 × 0.4 × 4 m: 16 kN along the member at mid-height, no
    // transverse part; the lower half is compressed by 8 kN, the upper half
    // pulled by 8 kN.
    for (int sec = 1; sec <= 9; ++sec) {
        EXPECT_EQ(s.FMQN(1, sec, 2), 0.0f);
        EXPECT_EQ(s.FMQN(2, sec, 2), 0.0f);
        EXPECT_NEAR(s.FMQN(3, sec, 2), sec <= 5 ? 8.0 : -8.0, 1e-5) << sec;
    }
    // Node 3 carries half the beam and the upper half of the column.
    EXPECT_NEAR(s.P(2), -(9.375 + 8.0), 1e-4);
    EXPECT_NEAR(s.P(1), 0.0, 1e-6);
}

TEST(LoadVectors, SegmentsAreReadAndFlagged) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(portal().dead(1, 2, 10, 0, -1).wind(2, 1, 5, 2).text()));
    AnalysisState& s = *run.state;
    ASSERT_EQ(s.loads[1].records.size(), 1u);
    EXPECT_TRUE(s.loads[1].found);
    EXPECT_FALSE(s.loads[2].found);
    EXPECT_TRUE(s.loads[3].found);
    EXPECT_EQ(s.loads[3].records[0].IBAR, 2);
    EXPECT_EQ(s.loads[3].records[0].Q, 5.0f);

    run.host.logLines.clear();
    EXPECT_TRUE(BLOAD(s, *run.file, "LLOAD", 2));
    EXPECT_EQ(s.LCF(2), 0.0f);
    EXPECT_EQ(run.host.logLines,
              (std::vector<std::string>{"1,LLOAD", "系统提示：没找到 'LLOAD' 数据段！"}));
    EXPECT_TRUE(BLOAD(s, *run.file, "WLOAD", 3));
    EXPECT_EQ(s.LCF(3), 1.0f);
    EXPECT_TRUE(BLOAD(s, *run.file, "DLOAD", 1));
    EXPECT_EQ(s.LCF(1), 1.0f);
    EXPECT_EQ(run.host.logLines.size(), 2u);
}

TEST(LoadVectors, MissingDeadLoadSegmentIsFatal) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(portal().withoutDeadLoads().text()));
    run.host.logLines.clear();
    EXPECT_FALSE(BLOAD(*run.state, *run.file, "DLOAD", 1));
    EXPECT_EQ(run.host.logLines,
              (std::vector<std::string>{"1,DLOAD", "致命的错误：找不到 'DLOAD' 数据段！"}));
}

TEST(LoadVectors, LoadOnAMemberThatDoesNotExistIsRefused) {
    for (int member : {4, -2, 250}) {
        StaticSolver run;
        const std::string text =
            portal().dead(1, 2, 10, 0, -1).live(2, 1, 5, 2).live(member, 1, 5, 2).text();
        run.state->reset();
        run.state->dataPath = run.dir.write("FRAME.TVL", text);
        DataFile file(run.host, run.state->dataPath);
        ASSERT_TRUE(file.load());
        ASSERT_EQ(INDATA(file, run.state->model, run.host, ReaderOptions::analysis()),
                  ReadStatus::Ok);
        EXPECT_FALSE(readLoadSegments(*run.state, file, run.host));
        const std::string text2 = "错误信息:'LLOAD' 数据段第 2 条记录的杆件号 " +
                                  std::to_string(member) + " 不存在(应为 1～3),请检查'TVL'文件！";
        ASSERT_EQ(run.host.messages.size(), 1u) << member;
        EXPECT_EQ(run.host.messages[0].text, text2);
        EXPECT_EQ(run.host.messages[0].title, "错误信息提示！");
        EXPECT_EQ(run.host.messages[0].icon, Icon::Information);
        EXPECT_EQ(run.host.logLines.back(), text2);
    }
}

TEST(LoadVectors, ValueThatIsNotANumberIsRefused) {
    StaticSolver run;
    std::string text = portal().dead(1, 2, 10, 0, -1).text() + "WLOAD\r\n 2  1  x  2  0 \r\n\r\n";
    run.state->dataPath = run.dir.write("FRAME.TVL", text);
    DataFile file(run.host, run.state->dataPath);
    ASSERT_TRUE(file.load());
    ASSERT_EQ(INDATA(file, run.state->model, run.host, ReaderOptions::analysis()), ReadStatus::Ok);
    EXPECT_FALSE(readLoadSegments(*run.state, file, run.host));
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_NE(run.host.messages[0].text.find("'WLOAD' 数据段"), std::string::npos)
        << run.host.messages[0].text;
    EXPECT_NE(run.host.messages[0].text.find("'x'"), std::string::npos);
}

TEST(LoadVectors, LiveLoadsOfOneMemberOnlyAndTypeZeroSkipped) {
    StaticSolver run;
    ASSERT_TRUE(run.prepare(
        portal().live(1, 1, 10, 3).live(2, 1, 4, 2).live(1, 0, 99, 1).live(1, 1, 10, 1.5).text()));
    AnalysisState& s = *run.state;
    EXPECT_EQ(LLOAD(s, "LLOAD", 3), 0);
    EXPECT_EQ(s.P(1), 0.0f);
    // Member 1: the record after the type-0 record still counts.
    EXPECT_EQ(LLOAD(s, "LLOAD", 1), 2);
    EXPECT_EQ(s.P(2) + s.P(5), -20.0f);
    EXPECT_EQ(s.FMQN(1, 1, 2), 0.0f);
    EXPECT_EQ(LLOAD(s, "WLOAD", 1), 0);
}

}  // namespace
}  // namespace tarvel
