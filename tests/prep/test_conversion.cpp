// Protects the conversion of legacy .FRM files: the record copiers, the
// seismic groups, the closing load line, the target name, the refusals and
// the error path, in both windows' variants.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/recording_host.h"
#include "prep/data_file_check.h"
#include "prep/frm_conversion.h"
#include "prep_test_support.h"

namespace tarvel {
namespace {

// Records closed by an empty item (a comma before the line end).
const std::string kStructure =
    "WEIGHT\r\n1\r\n"
    "BAR-SEC\r\n.3,.6,\r\n.25,.5,\r\n"
    "CONCRATE\r\n30,\r\n"
    "POINT\r\n1,0,0,0,0,0,\r\n2,0,0,0,6,0,\r\n3,1,2,3,0,3.5,\r\n4,1,4,5,6,3.5,\r\n"
    "BEAM\r\n3,4,1,1,\r\n"
    "COLUMN\r\n1,3,2,1,\r\n2,4,2,1,1.25,\r\n";

const std::string kConvertedStructure =
    "WEIGHT\r\n 1 \r\n\r\n"
    "BAR-SEC\r\n .3  .6 \r\n .25  .5 \r\n\r\n"
    "CONCRATE\r\n 30 \r\n\r\n"
    "POINT\r\n 1  0  0  0  0  0 \r\n 2  0  0  0  6  0 \r\n 3  1  2  3  0  3.5 \r\n"
    " 4  1  4  5  6  3.5 \r\n\r\n"
    "BEAM\r\n 3  4  1  1 \r\n\r\n"                              // four values, nothing added
    "COLUMN\r\n 1  3  2  1  0 \r\n 2  4  2  1  1.25 \r\n\r\n";  // the fifth value supplied

class Conversion : public ::testing::Test {
  protected:
    std::string source() const { return folder.path("JOB1.FRM"); }
    std::string target() const { return folder.path("JOB1.TVL"); }
    PrepOutcome convert(const std::string& text, PrepWindow window = PrepWindow::DataPreparation) {
        test::writeFile(source(), text);
        return convertFrmFile(source(), window, host);
    }

    test::ScratchFolder folder;
    RecordingHost host;
};

TEST_F(Conversion, StructureWithoutLoadsEndsWithTheLastSegmentsEmptyLine) {
    EXPECT_EQ(convert(kStructure), PrepOutcome::Done);
    EXPECT_EQ(test::readFile(target()), kConvertedStructure);

    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, "您是否真的要把（FRM）数据文件转换成（TVL）数据文件吗？");
    EXPECT_EQ(host.questions[0].title, "提示！");
    EXPECT_EQ(
        host.statusTexts,
        (std::vector<std::string>{"文件等待转换,请您选择！", "系统提示：没找到 'SEISMIC' 数据段！",
                                  "文件转换结束，请检查（TVL）文件格式是否正确！"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "（FRM）文件转换结束，请检查（TVL）文件格式是否正确！");
    EXPECT_EQ(host.messages[0].title, "（FRM）文件转换");
    EXPECT_TRUE(host.logLines.empty());
}

TEST_F(Conversion, LoadRecordsOfFourValuesGetAFifthZeroAndTheClosingLine) {
    EXPECT_EQ(
        convert(kStructure + "DLOAD\r\n1,1,10.5,2,\r\n1,2,20,0,-1,\r\nWLOAD\r\n2,2,1.5,0,\r\n"),
        PrepOutcome::Done);
    EXPECT_EQ(test::readFile(target()),
              kConvertedStructure +
                  "DLOAD\r\n 1  1  10.5  2  0 \r\n 1  2  20  0 -1 \r\n\r\n"
                  "WLOAD\r\n 2  2  1.5  0  0 \r\n\r\n"
                  " 0  0  0  0  0 \r\n\r\n");
}

TEST_F(Conversion, SeismicGroupsBecomeCountedLinesAndAnUnclosedLastGroupIsLost) {
    EXPECT_EQ(
        convert(kStructure + "DLOAD\r\n1,2,20,0,-1,\r\n"
                             "SEISMIC\r\n2.5,8,.35,.5,.85,3,1\r\n3,120,\r\n3,4,80,\r\n4,60\r\n"),
        PrepOutcome::Done);
    // KCLASS 2.5 is read as a whole number: half to even gives 2.
    EXPECT_EQ(test::readFile(target()), kConvertedStructure +
                                            "DLOAD\r\n 1  2  20  0 -1 \r\n\r\n"
                                            "SEISMIC\r\n 2  8  .35  .5  .85  3  1 \r\n"
                                            " 2  3  120 \r\n"
                                            " 3  3  4  80 \r\n"
                                            "\r\n");
}

TEST_F(Conversion, TheAnalysisWindowKeepsTheSeismicParametersAsRealsAndLogsItsNotices) {
    EXPECT_EQ(convert(kStructure + "SEISMIC\r\n2.5,8,.35,.5,.85,3.5,1\r\n3,120,\r\n",
                      PrepWindow::Analysis),
              PrepOutcome::Done);
    EXPECT_EQ(test::readFile(target()), kConvertedStructure +
                                            "SEISMIC\r\n 2.5  8  .35  .5  .85  3.5  1 \r\n"
                                            " 2  3  120 \r\n\r\n");
    EXPECT_TRUE(host.statusTexts.empty());
    EXPECT_EQ(host.viewTexts,
              (std::vector<std::string>{"文件等待转换,请您选择！",
                                        "文件转换结束，请检查（TVL）文件格式是否正确！"}));
    EXPECT_TRUE(host.logLines.empty());  // every segment it searches for is there

    RecordingHost other;
    test::writeFile(source(), "BAR-SEC\r\n.3,.6,\r\n");
    EXPECT_EQ(Wjzh(source(), other), PrepOutcome::Done);
    EXPECT_EQ(other.logLines[0], "1,WEIGHT");
    EXPECT_EQ(other.logLines[1], "系统提示：没找到 'WEIGHT' 数据段！");
    EXPECT_EQ(other.logLines[2], "1,CONCRATE");
    EXPECT_EQ(other.logLines[3], "致命的错误：找不到 'CONCRATE' 数据段！");
}

TEST_F(Conversion, TheFinderIgnoresCaseButTheStopListDoesNot) {
    // "point" is found as POINT, but does not end BAR-SEC: it is copied there
    // as text, and the point record with it.
    EXPECT_EQ(convert("BAR-SEC\r\n.3,.6,\r\npoint\r\n1,0,0,0,0,0,\r\nCONCRATE\r\n30,\r\n"),
              PrepOutcome::Done);
    EXPECT_EQ(test::readFile(target()),
              "BAR-SEC\r\n .3  .6 \r\npoint 1  0  0  0  0  0 \r\n\r\n"
              "CONCRATE\r\n 30 \r\n\r\n"
              "POINT\r\n 1  0  0  0  0  0 \r\n\r\n");
    EXPECT_EQ(host.statusTexts,
              (std::vector<std::string>{"文件等待转换,请您选择！", "系统提示：没找到 'WEIGHT' 数据段！",
                                        "致命的错误：找不到 'BEAM' 数据段！",
                                        "致命的错误：找不到 'COLUMN' 数据段！",
                                        "系统提示：没找到 'SEISMIC' 数据段！",
                                        "文件转换结束，请检查（TVL）文件格式是否正确！"}));
}

TEST_F(Conversion, TargetNameReplacesTheLastFourCharacters) {
    EXPECT_EQ(frmTargetPath("/jobs/JOB1.FRM"), "/jobs/JOB1.TVL");
    EXPECT_EQ(frmTargetPath("/jobs/JOB1.DAT"), "/jobs/JOB1.TVL");
    EXPECT_EQ(frmTargetPath("/工程/框架.FRM"), "/工程/框架.TVL");
    EXPECT_EQ(frmTargetPath("框架一二三"), "框.TVL");  // characters, not bytes
    EXPECT_EQ(frmTargetPath("A.FRM"), "A.TVL");
    EXPECT_EQ(frmTargetPath("/jobs/.FRM"), std::nullopt);
    EXPECT_EQ(frmTargetPath("/jobs.d/FRM"), std::nullopt);
}

TEST_F(Conversion, ASourceThatWouldBeItsOwnTargetIsRefused) {
    for (const std::string name : {"JOB2.TVL", "job2.tvl"}) {
        RecordingHost refused;
        const std::string tvl = folder.path(name);
        test::writeFile(tvl, "WEIGHT\r\n 1 \r\n\r\n");
        EXPECT_EQ(CmdWjzh(tvl, refused), PrepOutcome::Refused);
        EXPECT_EQ(test::readFile(tvl), "WEIGHT\r\n 1 \r\n\r\n");
        EXPECT_TRUE(refused.questions.empty());
        ASSERT_EQ(refused.messages.size(), 1u);
        EXPECT_EQ(refused.messages[0].text,
                  "源文件 '" + tvl + "' 与目标文件同名,转换会毁掉源文件,请选择（FRM）数据文件！");
    }
}

TEST_F(Conversion, ASourceNameTooShortForAnExtensionIsRefused) {
    const std::string shortName = folder.path(".FRM");
    test::writeFile(shortName, kStructure);
    EXPECT_EQ(CmdWjzh(shortName, host), PrepOutcome::Refused);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "文件名 '.FRM' 太短,没有扩展名,不能转换成（TVL）数据文件！");
    EXPECT_FALSE(std::filesystem::exists(folder.path(".TVL")));
}

TEST_F(Conversion, NoOrCancelLeavesTheTargetUntouched) {
    test::writeFile(target(), "earlier conversion");
    host.answers = {Answer::No};
    EXPECT_EQ(convert(kStructure), PrepOutcome::Declined);
    host.answers = {Answer::Cancel};
    EXPECT_EQ(convert(kStructure), PrepOutcome::Declined);
    EXPECT_EQ(test::readFile(target()), "earlier conversion");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(CmdWjzh("", host), PrepOutcome::NoFile);
}

TEST_F(Conversion, AValueThatDoesNotReadNamesItsSegmentAndWritesNothing) {
    test::writeFile(target(), "earlier conversion");
    EXPECT_EQ(convert("WEIGHT\r\nX\r\n" + kStructure.substr(11)), PrepOutcome::Refused);
    const std::string text = "源文件 'WEIGHT' 数据段格式有错，请检查核对数据后重试！";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, text);
    EXPECT_EQ(host.messages[0].title, "提示！");
    EXPECT_EQ(host.statusTexts.back(), text);
    EXPECT_EQ(test::readFile(target()), "earlier conversion");
}

TEST_F(Conversion, ASeismicGroupWithALetterOrTooManyValuesNamesSeismic) {
    const std::string text = "源文件 'SEISMIC' 数据段格式有错，请检查核对数据后重试！";
    EXPECT_EQ(convert(kStructure + "SEISMIC\r\n2,8,.35,.5,.85,3,1\r\n3,1O0,\r\n"),
              PrepOutcome::Refused);
    EXPECT_EQ(host.messages.back().text, text);

    std::string group;
    for (int i = 0; i < 1001; ++i) group += "1,";
    EXPECT_EQ(convert(kStructure + "SEISMIC\r\n2,8,.35,.5,.85,3,1\r\n" + group + "\r\n"),
              PrepOutcome::Refused);
    EXPECT_EQ(host.messages.back().text, text);
    EXPECT_FALSE(std::filesystem::exists(target()));
}

TEST_F(Conversion, AConvertedFilePassesTheCheckAndReadsAsTheFrame) {
    EXPECT_EQ(convert(kStructure + "DLOAD\r\n1,2,20,0,-1,\r\n"
                                   "SEISMIC\r\n2,8,.35,.5,.85,1,1\r\n3,4,240,\r\n"),
              PrepOutcome::Done);
    RecordingHost checkHost;
    EXPECT_EQ(CmdWjjy(target(), checkHost), PrepOutcome::Done)
        << (checkHost.messages.empty() ? "" : checkHost.messages.back().text);
    const FrameModel m = test::readModel(target());
    EXPECT_EQ(m.NJ, 4);
    EXPECT_EQ(m.NB, 1);
    EXPECT_EQ(m.NC, 2);
    EXPECT_EQ(m.SEC(1, 1), 0.3f);
    EXPECT_EQ(m.ALFC(1), 1.0f);  // the supplied 0: derived, the column stands on a fixed node
    EXPECT_EQ(m.ALFC(2), 1.25f);
    EXPECT_EQ(m.XY(2, 3), 3.5f);
}

}  // namespace
}  // namespace tarvel
