// Protects the guards of a run: what would analyse into nonsense is refused
// before anything is written, what the rules make vanish is flagged once per
// record and changes nothing, and a stopped run leaves the previous result
// set byte for byte as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::RunFixture;

const char* const kResultFiles[] = {"DLOAD.fkn", "LLOAD.fkn", "WLOAD.fkn", "TARVEL1.wri", "TARVEL2.wri", "AS.ags"};
const char* const kNothingChanged = "计算终止,所有结果文件均未改动。";

// A portal of 6 m × 3.6 m on fixed bases, the beam loaded.
FrameBuilder portal() {
    FrameBuilder f;
    f.section(0.25, 0.5).section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 6, 0).node(3, 1, 2, 3, 0, 3.6).node(4, 1, 4, 5, 6, 3.6);
    f.beam(3, 4).column(1, 3, 2).column(2, 4, 2);
    f.dead(1, 2, 20, 0, -1).live(1, 2, 8, 0, -1).wind(2, 1, 10, 3.6);
    return f;
}

const std::string kSeismic = "SEISMIC\r\n 2  8  .35  .5  .85  1  1 \r\n 2  3  120 \r\n 0  0 \r\n";

std::map<std::string, std::string> resultSet(const RunFixture& run) {
    std::map<std::string, std::string> files;
    for (const char* name : kResultFiles) files[name] = run.exists(name) ? run.read(name) : "";
    return files;
}

int entriesIn(const RunFixture& run) {
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(run.dir.path())) ++entries;
    return entries;
}

// Runs a good frame, then `text` in the same folder: the second run must stop
// with `refusal` (the opening of its message) and change no result file.
void expectRefusedLeavingTheResults(const std::string& text, const std::string& refusal, RunStep step) {
    RunFixture run;
    ASSERT_EQ(run.run(portal().text() + kSeismic).outcome, RunOutcome::Finished);
    const auto before = resultSet(run);
    const std::size_t messagesBefore = run.host.messages.size();
    const RunResult result = run.run(text);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped) << refusal;
    EXPECT_EQ(result.lastStep, step) << refusal;
    EXPECT_TRUE(result.filesWritten.empty());
    ASSERT_EQ(run.host.messages.size(), messagesBefore + 1) << refusal;
    const std::string& shown = run.host.messages.back().text;
    EXPECT_EQ(shown.rfind(refusal, 0), 0u) << shown;
    EXPECT_EQ(run.host.messages.back().title, "错误信息提示！");
    ASSERT_GE(run.host.logLines.size(), 2u);
    EXPECT_EQ(*(run.host.logLines.end() - 2), shown);
    EXPECT_EQ(run.host.logLines.back(), kNothingChanged);
    EXPECT_EQ(resultSet(run), before) << refusal;
    EXPECT_EQ(entriesIn(run), 7) << refusal;  // the data file and the six results, no temporary
}

TEST(RunGuards, ValuesLeftAfterAClosingRecordAreRefused) {
    // One extra 0 at the end of the first dead-load line ends the segment
    // there: the second dead load would silently be dropped.
    std::string text = portal().dead(1, 1, 30, 3).text();
    const std::string first = " 1  2  20  0  -1 \r\n";
    text.replace(text.find(first), first.size(), " 1  2  20  0  -1  0 \r\n");
    // Line 25 holds the first dead load, line 26 the one that would be lost.
    expectRefusedLeavingTheResults(text, "错误信息:'DLOAD' 数据段在结束记录(0 或空行)之后,第 26 行还有数值 '1'",
                                   RunStep::ReadLoads);
    // A stray section after BAR-SEC's closing blank line, before CONCRATE.
    std::string sections = portal().text();
    sections.replace(sections.find("CONCRATE"), 0, " .3  .3 \r\n");
    expectRefusedLeavingTheResults(sections, "错误信息:'BAR-SEC' 数据段在结束记录(0 或空行)之后,第 8 行还有数值 '.3'",
                                   RunStep::ReadFrame);
}

TEST(RunGuards, ConcentratedLoadsBeyondTheirMemberAreRefused) {
    // Types 1, 5 and 6 at 9 m on the 6 m beam; 6.0005 m is still its end node.
    const int types[] = {1, 5, 6};
    for (int type : types) {
        FrameBuilder f = portal();
        f.dead(1, type, 10, 9);
        expectRefusedLeavingTheResults(f.text(),
                                       "错误信息:'DLOAD' 数据段第 2 条记录(第 26 行)的荷载位置 A= 9 超出杆件 1 的长度 L= 6",
                                       RunStep::ReadLoads);
    }
    RunFixture run;
    EXPECT_EQ(run.run(portal().dead(1, 1, 10, 6.0005).text()).outcome, RunOutcome::Finished);
}

TEST(RunGuards, SectionsWithoutAPositiveSizeAreRefused) {
    std::string text = portal().text();
    text.replace(text.find(" 0.25  0.5 "), 11, " 0.25  0 ");
    expectRefusedLeavingTheResults(text, "错误信息:'BAR-SEC' 数据段第 1 条记录(第 5 行)的截面高度 H= 0 不是正数",
                                   RunStep::ReadFrame);
    text = portal().text();
    text.replace(text.find(" 0.4  0.4 "), 10, "-0.4  0.4 ");
    expectRefusedLeavingTheResults(text, "错误信息:'BAR-SEC' 数据段第 2 条记录(第 6 行)的截面宽度 B=-.4 不是正数",
                                   RunStep::ReadFrame);
}

TEST(RunGuards, SeismicParametersOfZeroOrBelowAreRefused) {
    expectRefusedLeavingTheResults(portal().text() + "SEISMIC\r\n 2  8  .35  .5  0  1  1 \r\n 2  3  120 \r\n 0  0 \r\n",
                                   "错误信息:'SEISMIC' 数据段第 1 条记录的周期折减系数 ALF2= 0 不是正数",
                                   RunStep::Dynamics);
    expectRefusedLeavingTheResults(portal().text() + "SEISMIC\r\n 2  8  .35  .5  .85  1 -1 \r\n 2  3  120 \r\n 0  0 \r\n",
                                   "错误信息:'SEISMIC' 数据段第 1 条记录的调整系数 ADJUST=-1 不是正数",
                                   RunStep::Dynamics);
}

TEST(RunGuards, AStopInTheDynamicsChangesNoResultFile) {
    // The mass stands on a base node without a horizontal code.
    RunFixture run;
    ASSERT_EQ(run.run(portal().text() + kSeismic).outcome, RunOutcome::Finished);
    const auto before = resultSet(run);
    const RunResult result = run.run(portal().text() + "SEISMIC\r\n 2  8  .35  .5  .85  1  1 \r\n 2  1  120 \r\n 0  0 \r\n");
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::Dynamics);
    EXPECT_EQ(*(run.host.logLines.end() - 2), "None X-displacement of point： 1");
    EXPECT_EQ(run.host.logLines.back(), kNothingChanged);
    EXPECT_EQ(resultSet(run), before);
    EXPECT_EQ(entriesIn(run), 7);
}

TEST(RunGuards, ResultsThatAreNotFiniteAreRefusedNamingTheCase) {
    // 1E+38 kN overflows the single-precision solution of the wind case.
    FrameBuilder f = portal();
    f.wind(2, 1, 1E38, 1.8).wind(3, 1, 1E38, 1.8);
    expectRefusedLeavingTheResults(f.text(), "错误信息:'WLOAD' 荷载工况的计算结果不是有限数值", RunStep::WindCase);
}

TEST(RunGuards, NumbersBeyondASingleAreRefusedBeforeTheAnalysisNamingThePlace) {
    // A node 1E+38 m up: the column's length overflows.
    FrameBuilder far;
    far.section(0.25, 0.5).section(0.4, 0.4).concrete(30);
    far.node(1, 0, 0, 0, 0, 1E38).node(2, 0, 0, 0, 6, 0).node(3, 1, 2, 3, 0, 3.6).node(4, 1, 4, 5, 6, 3.6);
    far.beam(3, 4).column(1, 3, 2).column(2, 4, 2).dead(1, 2, 20, 0, -1);
    expectRefusedLeavingTheResults(
        far.text(), "错误信息:杆件 2 (柱 1) 的长度超出数值范围:节点 1-3 的坐标相距过远,请检查'POINT'数据段！",
        RunStep::Assembly);

    // A column section of 1E+20 m × 1E+20 m: its area overflows.
    FrameBuilder wide;
    wide.section(0.25, 0.5).section(1E20, 1E20).concrete(30);
    wide.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 6, 0).node(3, 1, 2, 3, 0, 3.6).node(4, 1, 4, 5, 6, 3.6);
    wide.beam(3, 4).column(1, 3, 2).column(2, 4, 2).dead(1, 2, 20, 0, -1);
    expectRefusedLeavingTheResults(wide.text(), "错误信息:杆件 2 (柱 1) 的刚度或自重的计算结果不是有限数值(溢出)",
                                   RunStep::Assembly);

    // 1E+38 kN/m over 6 m: the dead load vector overflows before any solution.
    FrameBuilder heavy = portal();
    heavy.dead(1, 2, 1E38, 0, -1);
    expectRefusedLeavingTheResults(heavy.text(), "错误信息:'DLOAD' 荷载工况的计算结果不是有限数值(溢出)",
                                   RunStep::Assembly);
}

TEST(RunGuards, WarningsAreGivenOncePerRecordAndChangeNoResult) {
    RunFixture plain;
    ASSERT_EQ(plain.run(portal().text() + kSeismic).outcome, RunOutcome::Finished);

    // A type 22 load, a type −1 load, a distributed load from 4 m to 3 m, a
    // misspelled segment name, a density typed for the switch, stiffness
    // factors and an intensity of 5 (taken as 6, as the plain run's 8 is not:
    // so K0 stays 8 and the intensity warning is checked on its own below).
    std::string text = portal().dead(1, 22, 5, 0, -1).dead(1, -1, 5, 0, -1).dead(1, 2, 5, 4, 3).text();
    text = "STIFFNESS\r\n .85  1 \r\n\r\n" + text + "LOAD\r\n 1  2  5  0  -1 \r\n\r\n" + kSeismic;
    RunFixture warned;
    const RunResult result = warned.run(text);
    ASSERT_EQ(result.outcome, RunOutcome::Finished);
    const std::vector<std::string> expected = {
        "系统提示：'STIFFNESS' 数据段的刚度系数 ALFI= .85,ALFF= 1 不等于 1:程序读入但不采用,刚度按截面尺寸计算",
        "系统提示：第 39 行的 'LOAD' 像是数据段名,但不是(是否应为 'DLOAD'?),该行及其后的数据不会作为该数据段读入",
        "系统提示：'DLOAD' 数据段第 2 条记录(第 29 行)的荷载类型 22 不是 1～6,该荷载不参与计算",
        "系统提示：'DLOAD' 数据段第 3 条记录(第 30 行)的荷载类型 -1 不是 1～6,该荷载不参与计算(负类型只画在结构图上)",
        "系统提示：'DLOAD' 数据段第 4 条记录(第 31 行)的分布荷载起点 A= 4 不小于终点 B= 3(杆件 1 长 L= 6),该荷载不参与计算",
    };
    EXPECT_EQ(result.warnings, expected);
    for (const std::string& w : expected) {
        EXPECT_EQ(std::count(warned.host.logLines.begin(), warned.host.logLines.end(), w), 1) << w;
    }
    for (const char* name : kResultFiles) {
        if (std::string(name) == "TARVEL1.wri") continue;  // the report lists the input loads
        EXPECT_EQ(warned.read(name), plain.read(name)) << name;
    }

    RunFixture intensity;
    std::string five = portal().weight(25).text() + "SEISMIC\r\n 2  5  .35  .5  .85  1  1 \r\n 2  3  120 \r\n 0  0 \r\n";
    const RunResult r5 = intensity.run(five);
    ASSERT_EQ(r5.outcome, RunOutcome::Finished);
    ASSERT_EQ(r5.warnings.size(), 2u);
    EXPECT_EQ(r5.warnings[0],
              "系统提示：'WEIGHT' 数据段的自重开关为 25(应为 0 或 1):按计入自重处理,容重一律取 25 kN/m³,不采用该数值");
    EXPECT_EQ(r5.warnings[1], "系统提示：'SEISMIC' 数据段第 1 条记录的设防烈度 K0= 5 不在 6～9 之间,按 6 度计算(αmax=0.04)");
    EXPECT_EQ(intensity.state->dyn.con.ALFMAX, 0.04f);
}

TEST(RunGuards, RecordsWrappedOrJoinedReadAsBefore) {
    RunFixture plain;
    ASSERT_EQ(plain.run(portal().dead(1, 1, 30, 3).text() + kSeismic).outcome, RunOutcome::Finished);
    // The dead loads on one line, separated by commas, the first record
    // wrapped over two lines; the closing record written in full.
    std::string text = portal().dead(1, 1, 30, 3).text() + kSeismic;
    const std::size_t from = text.find("DLOAD\r\n");
    const std::size_t to = text.find("LLOAD\r\n");
    text.replace(from, to - from, "DLOAD\r\n 1  2  20\r\n 0  -1, 1  1  30  3  0, 0  0  0  0  0\r\n\r\n");
    RunFixture joined;
    ASSERT_EQ(joined.run(text).outcome, RunOutcome::Finished) << joined.host.logLines.back();
    EXPECT_TRUE(joined.result.warnings.empty());
    for (const char* name : kResultFiles) {
        if (std::string(name) == "TARVEL1.wri") continue;  // the report shows the data file's lines
        EXPECT_EQ(joined.read(name), plain.read(name)) << name;
    }
}

int failingSolver(int, const EigenMatrix&, EigenVector&, EigenMatrix&) { return 1; }

TEST(RunGuards, AFailedEigenSolutionWritesTheFilesAndSaysSo) {
    RunFixture run;
    const std::string path = run.dir.write("FRAME.TVL", portal().text() + kSeismic);
    RunRequest request{path, 2, 1, testing::kFixedTimeStamp, failingSolver};
    const RunResult result = Frame5(request, run.host, *run.state);
    EXPECT_EQ(result.outcome, RunOutcome::FinishedWithoutSeismic);
    EXPECT_EQ(result.filesWritten.size(), 6u);
    for (const char* name : kResultFiles) EXPECT_TRUE(run.exists(name)) << name;
    const std::string end = "结构分析程序结束,但动力特性计算失败,地震作用未计算(结果文件中不含地震作用)！";
    EXPECT_EQ(run.host.logLines.back(), end);
    ASSERT_FALSE(run.host.messages.empty());
    EXPECT_EQ(run.host.messages.back().text, end);
}

}  // namespace
}  // namespace tarvel
