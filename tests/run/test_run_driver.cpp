// Protects Frame5: the order of the steps, every log line and message of a
// run, the refusals before any result file is written, a second run equal to
// the first, and the steel strengths of the chosen grades.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "design/steel_grades.h"
#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::RunFixture;

const std::vector<std::string> kHeader = {
    "结构分析程序运行过程：",    "源数据文件名：FRAME.TVL",  "结构设计计算书：TARVEL1.wri",
    "结构内力文件：TARVEL2.wri", "配筋面积图文件：AS.ags",   "恒载内力图文件：DLOAD.fkn",
    "活载内力图文件：LLOAD.fkn", "风载内力图文件：WLOAD.fkn"};
const char* const kNormalEnd = "结构分析程序正常结束！";
// The last log line of every stopped run.
const char* const kNothingChanged = "计算终止,所有结果文件均未改动。";

std::vector<std::string> headerAnd(std::initializer_list<std::string> lines) {
    std::vector<std::string> log = kHeader;
    log.insert(log.end(), lines);
    return log;
}

// A 4 m beam on two pins: only its end rotations are unknown.
FrameBuilder simpleBeam() {
    FrameBuilder f;
    f.section(0.25, 0.5).concrete(30);
    f.node(1, 0, 0, 1, 0, 0).node(2, 0, 0, 2, 4, 0).beam(1, 2);
    return f;
}

void expectNoResultFiles(const RunFixture& run) {
    for (const char* name : {"DLOAD.fkn", "LLOAD.fkn", "WLOAD.fkn"})
        EXPECT_FALSE(run.exists(name)) << name;
}

TEST(RunDriver, WholeRunLogsItsStepsAndEndsNormally) {
    RunFixture run;
    const RunResult result = run.run(simpleBeam().dead(1, 1, 10, 2).text());
    EXPECT_EQ(result.outcome, RunOutcome::Finished);
    EXPECT_EQ(result.lastStep, RunStep::WriteResults);
    EXPECT_EQ(run.host.logClears, 1);
    EXPECT_EQ(run.host.logLines,
              headerAnd({"1,LLOAD", "系统提示：没找到 'LLOAD' 数据段！", "1,WLOAD",
                         "系统提示：没找到 'WLOAD' 数据段！", "1,SEISMIC",
                         "系统提示：没找到 'SEISMIC' 数据段！", kNormalEnd}));
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].text, kNormalEnd);
    EXPECT_EQ(run.host.messages[0].title, "提示！");
    for (const char* name :
         {"DLOAD.fkn", "LLOAD.fkn", "WLOAD.fkn", "TARVEL1.wri", "TARVEL2.wri", "AS.ags"})
        EXPECT_TRUE(run.exists(name)) << name;
}

TEST(RunDriver, MissingWeightSegmentIsNotedAndSelfWeightCounted) {
    RunFixture run;
    run.run(simpleBeam().noWeightSegment().emptyLoads(2).emptyLoads(3).text());
    EXPECT_EQ(run.host.logLines,
              headerAnd({"1,WEIGHT", "系统提示：没找到 'WEIGHT' 数据段！", "1,SEISMIC",
                         "系统提示：没找到 'SEISMIC' 数据段！", kNormalEnd}));
    EXPECT_EQ(run.state->model.KW, 1);
    // 0.25 × 0.5 × 25 = 3.125 kN/m: the pinned beam's end rotations carry its weight.
    EXPECT_NEAR(run.state->PLOAD(1, 1), 3.125 * 16 / 12, 1e-4);
    EXPECT_NEAR(run.state->BM(5, 1, 1), 3.125 * 16 / 8, 1e-4);
}

TEST(RunDriver, LoadVectorsAndCaseFlagsAreKept) {
    RunFixture run;
    run.run(simpleBeam().dead(1, 1, 10, 2).live(1, 2, 6, 0, -1).text());
    const AnalysisState& s = *run.state;
    // Equivalent end moments of the clamped member: ±PL/8 = ±5, ±qL²/12 = ±8.
    EXPECT_EQ(s.PLOAD(1, 1), 5.0f);
    EXPECT_EQ(s.PLOAD(1, 2), -5.0f);
    EXPECT_EQ(s.PLOAD(2, 1), 8.0f);
    EXPECT_EQ(s.PLOAD(2, 2), -8.0f);
    EXPECT_EQ(s.LCF(1), 1.0f);
    EXPECT_EQ(s.LCF(2), 1.0f);
    EXPECT_EQ(s.LCF(3), 0.0f);
    EXPECT_EQ(s.LCF(4), 0.0f);
    EXPECT_NEAR(s.BM(5, 1, 1), 10.0, 1e-5);  // PL/4 of the simple beam
    EXPECT_NEAR(s.BM(5, 1, 2), 12.0, 1e-5);  // qL²/8
    EXPECT_NEAR(s.BV(1, 1, 2), 12.0, 1e-5);
    EXPECT_NEAR(s.BV(2, 1, 2), -12.0, 1e-5);
}

TEST(RunDriver, SecondRunGivesTheSameResultsAsTheFirst) {
    RunFixture run;
    const std::string office = testing::officeFrame().text();
    ASSERT_EQ(run.run(office, "OFFICE.TVL").outcome, RunOutcome::Finished);
    const auto first = std::make_unique<AnalysisState>(*run.state);
    const std::string dead = run.read("DLOAD.fkn");
    const std::string live = run.read("LLOAD.fkn");
    // Another frame in between, then the first again with the same state.
    ASSERT_EQ(
        run.run(simpleBeam().dead(1, 1, 10, 2).live(1, 2, 6, 0, -1).text(), "OTHER.TVL").outcome,
        RunOutcome::Finished);
    ASSERT_EQ(run.run(office, "OFFICE.TVL").outcome, RunOutcome::Finished);
    const AnalysisState& again = *run.state;
    auto same = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    EXPECT_TRUE(same(again.BM, first->BM));
    EXPECT_TRUE(same(again.BV, first->BV));
    EXPECT_TRUE(same(again.CF, first->CF));
    EXPECT_TRUE(same(again.BML, first->BML));
    EXPECT_TRUE(same(again.BVL, first->BVL));
    EXPECT_TRUE(same(again.UD, first->UD));
    EXPECT_TRUE(same(again.PLOAD, first->PLOAD));
    EXPECT_TRUE(same(again.LCF, first->LCF));
    EXPECT_TRUE(again.SK == first->SK);
    EXPECT_EQ(run.read("DLOAD.fkn"), dead);
    EXPECT_EQ(run.read("LLOAD.fkn"), live);
}

TEST(RunDriver, FrameOverTheSizeLimitsStopsBeforeTheHeader) {
    FrameBuilder f;
    f.section(0.4, 0.4).concrete(30);
    for (int n = 1; n <= 221; ++n) f.node(n, 0, 0, 0, n, 0);
    f.column(1, 2);
    RunFixture run;
    const RunResult result = run.run(f.text());
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::SizeCheck);
    ASSERT_EQ(run.host.messages.size(), 2u);
    EXPECT_EQ(
        run.host.messages[0].text,
        "超出结构分析极限，请重新调整数据或更新分析程序！！！ 节点：221个； 梁：0条； 柱：1条。");
    EXPECT_EQ(run.host.messages[1].text, "结构分析程序分析超限终止！");
    EXPECT_EQ(run.host.messages[1].title, "提示！");
    EXPECT_EQ(run.host.messages[1].icon, Icon::Information);
    EXPECT_EQ(run.host.logLines, (std::vector<std::string>{"结构分析程序分析超限终止！", kNothingChanged}));
    EXPECT_EQ(run.host.logClears, 0);
    expectNoResultFiles(run);
}

TEST(RunDriver, TableOverflowInTheReaderEndsTheRunAsOverLimit) {
    FrameBuilder f;
    for (int k = 1; k <= 65; ++k) f.section(0.3, 0.3 + 0.01 * k);
    f.concrete(30).node(1, 0, 0, 0, 0, 0).node(2, 1, 2, 3, 0, 3).column(1, 2);
    RunFixture run;
    const RunResult result = run.run(f.text());
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::ReadFrame);
    ASSERT_GE(run.host.logLines.size(), 2u);
    EXPECT_EQ(*(run.host.logLines.end() - 2), "结构分析程序分析超限终止！");
    EXPECT_EQ(run.host.logLines.back(), kNothingChanged);
    ASSERT_FALSE(run.host.messages.empty());
    EXPECT_EQ(run.host.messages.back().text, "结构分析程序分析超限终止！");
    expectNoResultFiles(run);
}

TEST(RunDriver, StiffnessMatrixBeyondItsTableStopsTheRun) {
    // A continuous beam of 61 free nodes: 183 equations, 183 · 184 entries.
    FrameBuilder f;
    f.section(0.25, 0.5).concrete(30);
    f.node(1, 0, 0, 0, 0, 0);
    for (int n = 2; n <= 62; ++n) {
        f.node(n, 3 * n - 5, 3 * n - 4, 3 * n - 3, n - 1, 0);
        f.beam(n - 1, n);
    }
    RunFixture run;
    const RunResult result = run.run(f.text());
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::Equations);
    const std::string limit =
        "超出结构分析极限，请重新调整数据或更新分析程序！！！ 刚度矩阵：NDOF×MBAND = "
        "33672（最多32767）。";
    EXPECT_EQ(run.host.logLines, headerAnd({limit, "结构分析程序分析超限终止！", kNothingChanged}));
    ASSERT_EQ(run.host.messages.size(), 2u);
    EXPECT_EQ(run.host.messages[0].text, limit);
    EXPECT_EQ(run.host.messages[0].title, "提示！");
    EXPECT_EQ(run.host.messages[1].text, "结构分析程序分析超限终止！");
    expectNoResultFiles(run);
}

TEST(RunDriver, MemberOfZeroLengthStopsTheRun) {
    FrameBuilder f;
    f.section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 1, 2, 3, 0, 3).node(3, 4, 5, 6, 0, 3).beam(2, 3).column(1, 2);
    RunFixture run;
    const RunResult result = run.run(f.text());
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::Assembly);
    EXPECT_EQ(run.host.logLines,
              headerAnd({"Length of bar(AL=0),计算终止！杆件 1 (梁 1): 节点 2-3 的坐标相同。", kNothingChanged}));
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].text, "Length of bar(AL=0),计算终止！");
    EXPECT_EQ(run.host.messages[0].title, "提示！");
    EXPECT_EQ(run.host.messages[0].icon, Icon::Information);
    expectNoResultFiles(run);
}

TEST(RunDriver, MissingDeadLoadSegmentStopsTheRun) {
    RunFixture run;
    const RunResult result = run.run(simpleBeam().withoutDeadLoads().live(1, 2, 5, 0, -1).text());
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    // Refused with the other input, before the analysis.
    EXPECT_EQ(result.lastStep, RunStep::ReadLoads);
    EXPECT_EQ(run.host.logLines,
              headerAnd({"1,DLOAD", "致命的错误：找不到 'DLOAD' 数据段！", kNothingChanged}));
    EXPECT_TRUE(run.host.messages.empty());
    expectNoResultFiles(run);
}

TEST(RunDriver, MissingStructuralSegmentStopsTheRun) {
    RunFixture run;
    const std::string text =
        "BAR-SEC\r\n .3  .6 \r\n\r\nCONCRATE\r\n 30 \r\n\r\nPOINT\r\n 1  0  0  0  0  0 \r\n\r\n"
        "COLUMN\r\n\r\nDLOAD\r\n\r\n";
    const RunResult result = run.run(text);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::ReadFrame);
    ASSERT_GE(run.host.logLines.size(), 3u);
    EXPECT_EQ(*(run.host.logLines.end() - 3), "1,BEAM");
    EXPECT_EQ(*(run.host.logLines.end() - 2), "致命的错误：找不到 'BEAM' 数据段！");
    EXPECT_EQ(run.host.logLines.back(), kNothingChanged);
    expectNoResultFiles(run);
}

TEST(RunDriver, LoadOnAMissingMemberIsRefusedBeforeTheAnalysis) {
    RunFixture run;
    const RunResult result = run.run(simpleBeam().dead(1, 2, 5, 0, -1).wind(2, 1, 5, 2).text());
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::ReadLoads);
    const std::string text =
        "错误信息:'WLOAD' 数据段第 1 条记录的杆件号 2 不存在(应为 1～1),请检查'TVL'文件！";
    EXPECT_EQ(run.host.logLines, headerAnd({text, kNothingChanged}));
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].text, text);
    expectNoResultFiles(run);
}

TEST(RunDriver, DataFileThatCannotBeOpened) {
    testing::TempDir dir;
    RecordingHost host;
    auto state = std::make_unique<AnalysisState>();
    const std::string path = dir.file("MISSING.TVL");
    const RunResult result = Frame5(RunRequest{path, 2, 1, {}}, host, *state);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::OpenDataFile);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "错误信息:无法打开数据文件 '" + path + "'！");
    EXPECT_EQ(host.messages[0].title, "错误信息提示！");
}

TEST(RunDriver, ResultFilesGoBesideTheDataFile) {
    RunFixture run;
    std::filesystem::create_directory(run.dir.path() / "job");
    const std::string path = run.dir.write("job/BEAM.TVL", simpleBeam().dead(1, 1, 10, 2).text());
    const RunResult result = Frame5(RunRequest{path, 2, 1, {}}, run.host, *run.state);
    EXPECT_EQ(result.outcome, RunOutcome::Finished);
    EXPECT_EQ(run.host.logLines[1], "源数据文件名：BEAM.TVL");
    EXPECT_TRUE(run.exists("job/DLOAD.fkn"));
    EXPECT_FALSE(run.exists("DLOAD.fkn"));
}

// A harness keeps the result set in memory: it gets the six files the run
// would write, with the bytes the default writer puts on disk, and nothing is
// written beside the data file. A writer that refuses stops the run with its
// reason and the files it was given are not reported as written.
TEST(RunDriver, ResultSetGoesToTheWriterOfTheRequest) {
    RunFixture onDisk;
    const std::string text = simpleBeam().dead(1, 1, 10, 2).text();
    ASSERT_EQ(onDisk.run(text).outcome, RunOutcome::Finished);

    RunFixture inMemory;
    const std::string path = inMemory.dir.write("FRAME.TVL", text);
    std::vector<FileContent> kept;
    RunRequest request{path, 2, 1, testing::kFixedTimeStamp};
    request.writeResults = [&kept](const std::vector<FileContent>& files, std::string*, std::string*) {
        kept = files;
        return true;
    };
    const RunResult result = Frame5(request, inMemory.host, *inMemory.state);
    EXPECT_EQ(result.outcome, RunOutcome::Finished);
    ASSERT_EQ(kept.size(), 6u);
    ASSERT_EQ(result.filesWritten.size(), 6u);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(result.filesWritten[i], kept[i].path);
        const std::string name = std::filesystem::path(kept[i].path).filename().string();
        EXPECT_EQ(kept[i].path, inMemory.dir.file(name));
        EXPECT_EQ(kept[i].bytes, onDisk.read(name)) << name;
        EXPECT_FALSE(inMemory.exists(name)) << name;
    }
    EXPECT_EQ(inMemory.host.logLines, onDisk.host.logLines);

    RunFixture refused;
    request.dataFile = refused.dir.write("FRAME.TVL", text);
    request.writeResults = [](const std::vector<FileContent>& files, std::string* error, std::string* failed) {
        *error = "磁盘已满";
        *failed = files[4].path;
        return false;
    };
    const RunResult stopped = Frame5(request, refused.host, *refused.state);
    EXPECT_EQ(stopped.outcome, RunOutcome::Stopped);
    EXPECT_EQ(stopped.lastStep, RunStep::WriteResults);
    EXPECT_TRUE(stopped.filesWritten.empty());
    ASSERT_EQ(refused.host.messages.size(), 1u);
    EXPECT_NE(refused.host.messages[0].text.find(refused.dir.file("TARVEL2.wri")), std::string::npos);
    EXPECT_NE(refused.host.messages[0].text.find("磁盘已满"), std::string::npos);
    EXPECT_EQ(refused.host.logLines.back(), kNothingChanged);
    expectNoResultFiles(refused);
}

// The result files of the largest frame go to disk in pieces as they are
// formed: every file (each larger than one piece) holds exactly the bytes a
// harness gets whole, and no temporary is left beside them.
TEST(RunDriver, ResultFilesFormedInPiecesEqualTheWholeTexts) {
    const std::string text = testing::TempDir::read(std::string(TARVEL_SOURCE_DIR) + "/bench/frames/LARGEST.TVL");
    ASSERT_FALSE(text.empty());
    RunFixture onDisk;
    ASSERT_EQ(onDisk.run(text, "LARGEST.TVL").outcome, RunOutcome::Finished);

    RunFixture inMemory;
    RunRequest request{inMemory.dir.write("LARGEST.TVL", text), 2, 1, testing::kFixedTimeStamp};
    std::vector<FileContent> kept;
    request.writeResults = [&kept](const std::vector<FileContent>& files, std::string*, std::string*) {
        kept = files;
        return true;
    };
    ASSERT_EQ(Frame5(request, inMemory.host, *inMemory.state).outcome, RunOutcome::Finished);
    ASSERT_EQ(kept.size(), 6u);
    for (const FileContent& f : kept) {
        const std::string name = std::filesystem::path(f.path).filename().string();
        EXPECT_GT(f.bytes.size(), name == "AS.ags" ? 16384u : 40000u) << name;
        const std::string written = onDisk.read(name);
        EXPECT_EQ(written.size(), f.bytes.size()) << name;
        EXPECT_TRUE(written == f.bytes) << name;
    }
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(onDisk.dir.path())) ++entries;
    EXPECT_EQ(entries, 7);
}

TEST(RunDriver, SteelStrengthsOfTheChosenGrades) {
    RunFixture run;
    const float main[5] = {0, 210, 300, 360, 360};
    for (int grade = 1; grade <= 4; ++grade) {
        run.run(simpleBeam().dead(1, 1, 10, 2).text(), "FRAME.TVL", grade, grade);
        float fy = 0;
        float fyv = 0;
        Gjjbxz(*run.state, fy, fyv);
        EXPECT_EQ(fy, main[grade]);
        EXPECT_EQ(fyv, main[grade]);
    }
    EXPECT_EQ(mainBarStrength(0), 300.0f);
    EXPECT_EQ(mainBarStrength(5), 300.0f);
    EXPECT_EQ(stirrupStrength(0), 210.0f);
    EXPECT_EQ(stirrupStrength(7), 210.0f);
}

}  // namespace
}  // namespace tarvel
