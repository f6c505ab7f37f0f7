// Protects the reinforcement file "AS.ags": exact lines, markers, value-for-value read-back.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "analysis/analysis_state.h"
#include "analysis/design_results.h"
#include "common/list_input.h"
#include "report/reinforcement_file.h"
#include "support/portal_frame.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using testing::portalDesign;
using testing::portalFrame;

// The portal frame and design of support/portal_frame.h: beam 1 from node 2
// (0, 4) to node 3 (6, 4), 250 x 500; column 1 from node 1 (0, 0) to node 2,
// column 2 from node 4 (6, 0) to node 3, both 400 x 400; concrete C30. Even
// beam sections carry steel too, so a file that wrote them would show it.
class ReinforcementFile : public ::testing::Test {
  protected:
    void SetUp() override {
        portalFrame(st->model);
        portalDesign(des);
    }

    std::unique_ptr<AnalysisState> st = std::make_unique<AnalysisState>();
    DesignResults des;
};

TEST_F(ReinforcementFile, PortalFrameLineByLine) {
    const std::string expected =
        " 1  2 \r\n"
        // beam: B, H, grade, XI, YI, XJ, YJ; top and bottom steel at sections 1, 3, 5, 7, 9;
        // stirrups
        " .25  .5  30  0  4  6  4 \r\n"
        " 612.9  0  0  0  612.9 \r\n"
        " 0  305.6  455.5  305.6  0 \r\n"
        " 99  .375 \r\n"
        // column 1: steel per side at both ends, stirrups at both ends; larger ratio, larger N/(fc
        // b h)
        " .4  .4  30  0  0  0  4 \r\n"
        " 1256.6  980.2  .4  99 \r\n"
        " .0125  .4321 \r\n"
        // column 2: the markers of a section that cannot be designed
        " .4  .4  30  6  0  6  4 \r\n"
        "-1 -1  0  0 \r\n"
        "-.01  .125 \r\n";
    EXPECT_EQ(reinforcementFileText(st->model, des), expected);
}

TEST_F(ReinforcementFile, FrameWithoutColumnsHasNoColumnRecords) {
    st->model.NC = 0;
    st->model.NE = 1;
    const std::string expected =
        " 1  0 \r\n"
        " .25  .5  30  0  4  6  4 \r\n"
        " 612.9  0  0  0  612.9 \r\n"
        " 0  305.6  455.5  305.6  0 \r\n"
        " 99  .375 \r\n";
    EXPECT_EQ(reinforcementFileText(st->model, des), expected);
}

TEST_F(ReinforcementFile, GradeNumberIsRoundedHalfToEven) {
    st->model.NC = 0;
    st->model.GRADE(1) = 22.5f;
    EXPECT_EQ(reinforcementFileText(st->model, des).substr(8, 25), " .25  .5  22  0  4  6  4 ");
    st->model.GRADE(1) = 23.5f;
    EXPECT_EQ(reinforcementFileText(st->model, des).substr(8, 25), " .25  .5  24  0  4  6  4 ");
}

TEST_F(ReinforcementFile, TopEndGovernsOnATie) {
    des.CRHO(1, 1) = 0.02f;
    des.CRHO(2, 1) = 0.02f;
    des.CNR(1, 1) = 0.5f;
    des.CNR(2, 1) = 0.75f;
    const std::string text = reinforcementFileText(st->model, des);
    EXPECT_NE(text.find("\r\n .02  .75 \r\n"), std::string::npos) << text;
}

// Every value read back as a stream of numbers equals the single-precision
// value written; values with more than seven significant digits come back as
// their seven-digit rounding, the precision of the file.
TEST_F(ReinforcementFile, ReadsBackValueForValue) {
    des.BAS(3, 1, 1) = 1234.567f;
    des.BAS(5, 1, 2) = 1.0f / 3.0f;  // written ".3333333"
    des.BASV(2, 1) = 0.00001f;       // written "1E-05"
    des.CASV(1, 2) = 2.5e7f;         // written "2.5E+07"
    st->model.XY(1, 3) = 6.35f;

    ListReader in(reinforcementFileText(st->model, des));
    const FrameModel& md = st->model;
    EXPECT_EQ(in.readInteger(), 1);
    EXPECT_EQ(in.readInteger(), 2);
    const auto expectMember = [&](int m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(in.readSingle(), md.SEC(1, md.sectionOf(m)));
        EXPECT_EQ(in.readSingle(), md.SEC(2, md.sectionOf(m)));
        EXPECT_EQ(in.readInteger(), 30);
        EXPECT_EQ(in.readSingle(), md.XY(1, md.startNode(m)));
        EXPECT_EQ(in.readSingle(), md.XY(2, md.startNode(m)));
        EXPECT_EQ(in.readSingle(), md.XY(1, md.endNode(m)));
        EXPECT_EQ(in.readSingle(), md.XY(2, md.endNode(m)));
    };
    expectMember(1);
    EXPECT_EQ(in.readSingle(), 612.9f);
    EXPECT_EQ(in.readSingle(), 1234.567f);
    for (int k = 0; k < 2; ++k) EXPECT_EQ(in.readSingle(), 0.0f);
    EXPECT_EQ(in.readSingle(), 612.9f);
    EXPECT_EQ(in.readSingle(), 0.0f);
    EXPECT_EQ(in.readSingle(), 305.6f);
    EXPECT_EQ(in.readSingle(), 0.3333333f);
    EXPECT_EQ(in.readSingle(), 305.6f);
    EXPECT_EQ(in.readSingle(), 0.0f);
    EXPECT_EQ(in.readSingle(), 99.0f);
    EXPECT_EQ(in.readSingle(), 0.00001f);
    expectMember(2);
    for (const float v : {1256.6f, 980.2f, 0.4f, 99.0f, 0.0125f, 0.4321f})
        EXPECT_EQ(in.readSingle(), v);
    expectMember(3);
    for (const float v : {-1.0f, -1.0f, 2.5e7f, 0.0f, -0.01f, 0.125f})
        EXPECT_EQ(in.readSingle(), v);
    EXPECT_TRUE(in.atEnd());
}

TEST_F(ReinforcementFile, OutasWritesBesideTheDataFile) {
    testing::TempDir dir;
    st->dataPath = dir.file("PORTAL.TVL");
    RecordingHost host;
    ASSERT_TRUE(OUTAS(*st, des, host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(testing::TempDir::read(dir.file("AS.ags")), reinforcementFileText(st->model, des));
}

TEST_F(ReinforcementFile, OutasReportsAFileThatCannotBeWrittenAndKeepsTheOldOne) {
    testing::TempDir dir;
    st->dataPath = dir.file("PORTAL.TVL");
    std::filesystem::create_directory(
        dir.file("AS.ags"));  // a folder cannot be replaced by the file
    RecordingHost host;
    EXPECT_FALSE(OUTAS(*st, des, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0].text.rfind("错误信息:结果文件 '" + dir.file("AS.ags") + "' 无法写入(", 0),
        0u)
        << host.messages[0].text;
    EXPECT_EQ(host.messages[0].title, "错误信息提示！");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("AS.ags")));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "a temporary file was left behind";
}

}  // namespace
}  // namespace tarvel
