// Protects the ".fkn" internal-force files: exact bytes of a one-member case
// worked by hand, the files of absent cases, replacement, and write failures.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::RunFixture;

// A 4 m beam from (0.5, 3) to (4.5, 3), clamped at both ends (no equation),
// with 2 kN at mid-span: M_A = −Pab²/L² = −1, V_A = 1, M = −1 + x up to the
// load, 3 − x after it.
FrameBuilder oneMember() {
    FrameBuilder f;
    f.section(0.25, 0.5).concrete(30);
    f.node(1, 0, 0, 0, 0.5, 3).node(2, 0, 0, 0, 4.5, 3).beam(1, 2);
    f.dead(1, 1, 2, 2);
    return f;
}

// Header: NE, max |M|, max |V|, max |N|; the member's end coordinates; then
// M, V, N at the nine sections, x = 0, 0.5, ..., 4.
const std::string kDeadFile =
    " 1  1  1  0 \r\n"
    " .5  3  4.5  3 \r\n"
    "-1  1  0 \r\n"
    "-.5  1  0 \r\n"
    " 0  1  0 \r\n"
    " .5  1  0 \r\n"
    " 1  1  0 \r\n"
    " .5 -1  0 \r\n"
    " 0 -1  0 \r\n"
    "-.5 -1  0 \r\n"
    "-1 -1  0 \r\n";

TEST(ForceFile, OneMemberByHand) {
    RunFixture run;
    ASSERT_EQ(run.run(oneMember().text()).outcome, RunOutcome::Finished);
    EXPECT_EQ(run.read("DLOAD.fkn"), kDeadFile);
}

TEST(ForceFile, AbsentCasesStillWriteTheirFileWithZeroForces) {
    RunFixture run;
    ASSERT_EQ(run.run(oneMember().text()).outcome, RunOutcome::Finished);
    std::string expected = " 1  0  0  0 \r\n .5  3  4.5  3 \r\n";
    for (int s = 1; s <= 9; ++s) expected += " 0  0  0 \r\n";
    EXPECT_EQ(run.read("LLOAD.fkn"), expected);
    EXPECT_EQ(run.read("WLOAD.fkn"), expected);
    EXPECT_EQ(run.result.filesWritten,
              (std::vector<std::string>{run.dir.file("DLOAD.fkn"), run.dir.file("LLOAD.fkn"),
                                        run.dir.file("WLOAD.fkn"), run.dir.file("TARVEL1.wri"),
                                        run.dir.file("TARVEL2.wri"), run.dir.file("AS.ags")}));
}

TEST(ForceFile, HeaderHoldsTheLargestMagnitudes) {
    // Two members: the largest |M| and |V| come from the second, |N| from an axial load.
    FrameBuilder f;
    f.section(0.25, 0.5).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 4, 0).node(3, 0, 0, 0, 8, 0);
    f.beam(1, 2).beam(2, 3).dead(1, 5, -6, 2).dead(2, 1, 8, 2);
    RunFixture run;
    ASSERT_EQ(run.run(f.text()).outcome, RunOutcome::Finished);
    const std::string text = run.read("DLOAD.fkn");
    EXPECT_EQ(text.substr(0, text.find("\r\n")), " 2  4  4  3 ");
}

TEST(ForceFile, OldFileIsReplacedWhole) {
    RunFixture run;
    run.dir.write("DLOAD.fkn", std::string(5000, 'x'));
    ASSERT_EQ(run.run(oneMember().text()).outcome, RunOutcome::Finished);
    EXPECT_EQ(run.read("DLOAD.fkn"), kDeadFile);
}

TEST(ForceFile, FileThatCannotBeReplacedStopsTheRunAndChangesNoResultFile) {
    RunFixture run;
    ASSERT_EQ(run.run(oneMember().text()).outcome, RunOutcome::Finished);
    const char* const kOthers[] = {"DLOAD.fkn", "WLOAD.fkn", "TARVEL1.wri", "TARVEL2.wri", "AS.ags"};
    std::map<std::string, std::string> before;
    for (const char* name : kOthers) before[name] = run.read(name);
    // A folder in the way of one result file; the second run has other loads.
    std::filesystem::remove(run.dir.path() / "LLOAD.fkn");
    std::filesystem::create_directory(run.dir.path() / "LLOAD.fkn");
    FrameBuilder heavier = oneMember();
    heavier.dead(1, 1, 5, 1);
    const RunResult result = run.run(heavier.text());
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.lastStep, RunStep::WriteResults);
    EXPECT_TRUE(result.filesWritten.empty());
    ASSERT_EQ(run.host.messages.size(), 2u);  // the first run's end, then the refusal
    const std::string& text = run.host.messages[1].text;
    EXPECT_EQ(text.rfind("错误信息:结果文件 '" + run.dir.file("LLOAD.fkn") + "' 无法写入(", 0), 0u)
        << text;
    EXPECT_NE(text.find("),计算终止！所有结果文件均未改动。"), std::string::npos) << text;
    EXPECT_EQ(run.host.messages[1].title, "错误信息提示！");
    EXPECT_EQ(*(run.host.logLines.end() - 2), text);
    EXPECT_EQ(run.host.logLines.back(), "计算终止,所有结果文件均未改动。");
    // Every previous result file byte for byte, no temporary left behind.
    for (const char* name : kOthers) EXPECT_EQ(run.read(name), before[name]) << name;
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(run.dir.path()))
        ++entries;
    EXPECT_EQ(entries, 7);  // FRAME.TVL, the five files and the folder
}

}  // namespace
}  // namespace tarvel
