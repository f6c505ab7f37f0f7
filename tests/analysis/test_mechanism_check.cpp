// Protects the refusal of mechanisms: frames whose stiffness matrix is
// singular are stopped with the singular-matrix log line and message even
// when single-precision rounding leaves a positive pivot, and genuine frames
// with very stiff and very slender members side by side are analysed.

#include <gtest/gtest.h>

#include "analysis/mechanism_check.h"
#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::RunFixture;
using testing::StaticSolver;

const std::vector<std::string> kHeader = {
    "结构分析程序运行过程：",    "源数据文件名：FRAME.TVL",  "结构设计计算书：TARVEL1.wri",
    "结构内力文件：TARVEL2.wri", "配筋面积图文件：AS.ags",   "恒载内力图文件：DLOAD.fkn",
    "活载内力图文件：LLOAD.fkn", "风载内力图文件：WLOAD.fkn"};

void expectRefusedAsSingular(const std::string& text) {
    RunFixture run;
    const RunResult result = run.run(text);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::Factorisation);
    std::vector<std::string> log = kHeader;
    log.push_back("Stiffness Matrix (1,1) Is zero");
    log.push_back("计算终止,所有结果文件均未改动。");
    EXPECT_EQ(run.host.logLines, log);
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].text, "错误信息:刚度矩阵为奇异矩阵！");
    EXPECT_EQ(run.host.messages[0].title, "错误信息提示！");
    EXPECT_EQ(run.host.messages[0].icon, Icon::Information);
    for (const char* name : {"DLOAD.fkn", "LLOAD.fkn", "WLOAD.fkn"})
        EXPECT_FALSE(run.exists(name)) << name;
    EXPECT_TRUE(result.filesWritten.empty());
}

// Does the single-precision factorisation alone pass the frame?
bool singlePrecisionPasses(const std::string& text) {
    RecordingHost host;
    testing::TempDir dir;
    auto s = std::make_unique<AnalysisState>();
    DataFile file(host, dir.write("F.TVL", text));
    EXPECT_TRUE(file.load());
    EXPECT_EQ(INDATA(file, s->model, host, ReaderOptions::analysis()), ReadStatus::Ok);
    EXPECT_TRUE(INITAK(*s, host));
    EXPECT_TRUE(KMAIN(*s, host));
    return LI(s->SK, s->NDOF, s->band(), kPivotEpsilon) == 0;
}

TEST(MechanismCheck, ColumnPinnedAtItsBaseWithAFreeTop) {
    for (double lean : {0.0, 1.5}) {
        FrameBuilder f;
        f.section(0.4, 0.4).concrete(30);
        f.node(1, 0, 0, 1, 0, 0).node(2, 2, 3, 4, lean, 3.6).column(1, 2).dead(1, 1, 10, 1.8);
        expectRefusedAsSingular(f.text());
    }
}

// A portal hinged at both bases and at both beam ends: the beam-end nodes
// share the translations of the column tops and turn on their own.
FrameBuilder fourHingePortal(double span, double height, bool sharedSway) {
    FrameBuilder f;
    f.section(0.3, 0.6).section(0.4, 0.4).concrete(30);
    const int rightSway = sharedSway ? 3 : 6;
    f.node(1, 0, 0, 1, 0, 0).node(2, 0, 0, 2, span, 0);
    f.node(3, 3, 4, 5, 0, height).node(4, rightSway, 7, 8, span, height);
    f.node(5, 3, 4, 9, 0, height).node(6, rightSway, 7, 10, span, height);
    f.beam(5, 6, 1).column(1, 3, 2).column(2, 4, 2);
    f.dead(1, 2, 20, 0, -1);
    return f;
}

TEST(MechanismCheck, PortalHingedAtBothBasesAndBothBeamEnds) {
    // With its own sway codes the beam's axial stiffness leaves a positive
    // rounding residue that the single-precision pivot test lets through.
    const std::string residue = fourHingePortal(6, 3.6, false).text();
    EXPECT_TRUE(singlePrecisionPasses(residue));
    expectRefusedAsSingular(residue);
    expectRefusedAsSingular(fourHingePortal(12, 6, false).text());
    expectRefusedAsSingular(fourHingePortal(6, 3.6, true).text());
}

TEST(MechanismCheck, NodeThatNoMemberReaches) {
    FrameBuilder f;
    f.section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 1, 2, 3, 0, 3).node(3, 4, 5, 6, 5, 3).column(1, 2);
    expectRefusedAsSingular(f.text());
}

void expectAnalysed(const std::string& text) {
    RunFixture run;
    EXPECT_EQ(run.run(text).outcome, RunOutcome::Finished);
    for (const auto& m : run.host.messages) EXPECT_NE(m.title, "错误信息提示！") << m.text;
    ASSERT_FALSE(run.host.messages.empty());
    EXPECT_EQ(run.host.messages.back().text, "结构分析程序正常结束！");
    EXPECT_TRUE(run.exists("DLOAD.fkn"));
}

TEST(MechanismCheck, StiffAndSlenderMembersSideBySideAreAnalysed) {
    // 0.2 × 0.2 columns beside a 1.2 × 1.2 one, under 0.4 × 1.5 beams of 1.5
    // and 6 m, 6 m high, every node with its own codes.
    FrameBuilder f;
    f.section(0.2, 0.2).section(1.2, 1.2).section(0.4, 1.5).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 1.5, 0).node(3, 0, 0, 0, 7.5, 0);
    f.node(4, 1, 2, 3, 0, 6).node(5, 4, 5, 6, 1.5, 6).node(6, 7, 8, 9, 7.5, 6);
    f.beam(4, 5, 3).beam(5, 6, 3).column(1, 4, 1).column(2, 5, 2).column(3, 6, 1);
    f.dead(1, 2, 30, 0, -1).dead(2, 2, 30, 0, -1).wind(3, 2, 2, 0, -1);
    expectAnalysed(f.text());

    StaticSolver run;
    ASSERT_TRUE(run.prepare(f.text()));
    EXPECT_FALSE(isMechanism(*run.state));
    run.solve(3);
    testing::expectEquilibrium(*run.state, 3, false);
}

TEST(MechanismCheck, FramesWithSomeHingesAreAnalysed) {
    // Pinned bases, and a three-hinged portal (one hinge at a beam end).
    FrameBuilder pinned;
    pinned.section(0.3, 0.6).section(0.4, 0.4).concrete(30);
    pinned.node(1, 0, 0, 1, 0, 0)
        .node(2, 0, 0, 2, 6, 0)
        .node(3, 3, 4, 5, 0, 3.6)
        .node(4, 6, 7, 8, 6, 3.6);
    pinned.beam(3, 4, 1).column(1, 3, 2).column(2, 4, 2).dead(1, 2, 20, 0, -1).wind(2, 2, 3, 0, -1);
    expectAnalysed(pinned.text());

    FrameBuilder threeHingedFrame;
    threeHingedFrame.section(0.3, 0.6).section(0.4, 0.4).concrete(30);
    threeHingedFrame.node(1, 0, 0, 1, 0, 0).node(2, 0, 0, 2, 6, 0).node(3, 3, 4, 5, 0, 3.6);
    threeHingedFrame.node(4, 6, 7, 8, 6, 3.6).node(5, 3, 4, 9, 0, 3.6);
    threeHingedFrame.beam(5, 4, 1).column(1, 3, 2).column(2, 4, 2).dead(1, 2, 20, 0, -1);
    expectAnalysed(threeHingedFrame.text());
}

TEST(MechanismCheck, ThirtyStoreyFrameWithShortStiffBeamsIsAnalysed) {
    // 30 storeys of 3 m, 0.3 × 0.3 columns, 0.3 × 0.8 beams of 1.5 m, every
    // node with its own three codes: 180 equations, the top sway keeping only
    // about 1E-5 of its diagonal in single precision.
    FrameBuilder f;
    f.section(0.3, 0.3).section(0.3, 0.8).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 1.5, 0);
    int code = 0;
    for (int floor = 1; floor <= 30; ++floor) {
        for (int c = 0; c < 2; ++c) {
            f.node(2 * floor + 1 + c, code + 1, code + 2, code + 3, 1.5 * c, 3.0 * floor);
            code += 3;
        }
    }
    for (int floor = 1; floor <= 30; ++floor) f.beam(2 * floor + 1, 2 * floor + 2, 2);
    for (int floor = 1; floor <= 30; ++floor) {
        f.column(2 * floor - 1, 2 * floor + 1, 1).column(2 * floor, 2 * floor + 2, 1);
    }
    for (int b = 1; b <= 30; ++b) f.dead(b, 2, 10, 0, -1);
    f.wind(31, 2, 1.5, 0, -1);
    expectAnalysed(f.text());
}

}  // namespace
}  // namespace tarvel
