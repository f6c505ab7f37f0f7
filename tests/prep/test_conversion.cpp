// Protects the conversion of legacy .FRM files: the record copiers, the
// seismic groups, the closing load line, the target name, the refusals and
// the error path, in both windows' variants.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/list_input.h"
#include "model/data_file.h"
#include "run/data_file_check.h"
#include "prep/frm_conversion.h"
#include "prep_test_support.h"
#include "support/recording_host.h"

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
    // "point" is found as POINT, but does not end BAR-SEC: it is a value of
    // BAR-SEC there, text where the reader takes numbers, so refused.
    EXPECT_EQ(convert("BAR-SEC\r\n.3,.6,\r\npoint\r\n1,0,0,0,0,0,\r\nCONCRATE\r\n30,\r\n"),
              PrepOutcome::Refused);
    EXPECT_EQ(host.messages.back().text, "源文件 'BAR-SEC' 数据段格式有错，请检查核对数据后重试！");

    // At the top of the file it belongs to no other segment.
    host = RecordingHost();
    EXPECT_EQ(convert("point\r\n1,0,0,0,0,0,\r\nBAR-SEC\r\n.3,.6,\r\nCONCRATE\r\n30,\r\n"),
              PrepOutcome::Done);
    EXPECT_EQ(test::readFile(target()),
              "BAR-SEC\r\n .3  .6 \r\n\r\n"
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

// Text in a segment whose records the data file's reader takes as numbers
// would make the target unreadable. The first source was found by fuzzing:
// as a data file it reads (the blank line after node 1 ends POINT before the
// NUL), but converted, the NUL stood on the line after node 1, where the
// reader expects the next node.
TEST_F(Conversion, TextWhereTheReaderTakesNumbersIsRefused) {
    const std::string found("BEAM\r\rCOLUMN\n\nBAR-SEC\n\nCONCRATE\r\rPOINT\r1 0 0 0 7 0\r\r\0", 53);
    ASSERT_EQ(found.back(), '\0');
    test::writeFile(folder.path("FOUND.TVL"), found);
    EXPECT_EQ(test::readModel(folder.path("FOUND.TVL")).NJ, 1);

    const std::string letter = kStructure.substr(0, kStructure.find("BEAM")) + "x,\r\n" +
                               kStructure.substr(kStructure.find("BEAM"));
    for (const std::string& text : {found, letter}) {
        EXPECT_EQ(convert(text), PrepOutcome::Refused);
        EXPECT_EQ(host.messages.back().text, "源文件 'POINT' 数据段格式有错，请检查核对数据后重试！");
        EXPECT_FALSE(std::filesystem::exists(target()));
    }
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

// The non-zero values that follow the closing 0 of each segment a data-file
// reader ends at a 0 (read record by record, a blank line as 0), up to the
// next segment name, the rest of the closing record included.
std::vector<std::string> nonZeroAfterClosingRecords(const std::string& path) {
    static const std::pair<const char*, int> kSegments[] = {
        {"BAR-SEC", 2}, {"CONCRATE", 1}, {"POINT", 6}, {"BEAM", 4},
        {"COLUMN", 5},  {"DLOAD", 5},    {"LLOAD", 5}, {"WLOAD", 5}};
    static const std::vector<std::string> kNames = {"WEIGHT", "STIFFNESS", "BAR-SEC", "CONCRATE",
                                                    "POINT",  "BEAM",      "COLUMN",  "DLOAD",
                                                    "LLOAD",  "WLOAD",     "SEISMIC"};
    std::vector<std::string> found;
    RecordingHost host;
    DataFile file(host, path);
    EXPECT_TRUE(file.load());
    for (const auto& [segment, fields] : kSegments) {
        if (file.FINDSEG(segment, kSilent) != 0) continue;
        ListReader& in = file.in();
        while (in.readSingle() != 0.0f) {
            for (int f = 1; f < fields; ++f) in.readSingle();
        }
        while (!in.atEnd()) {
            const ListReader::Item item = in.nextNumberItem();
            if (std::find(kNames.begin(), kNames.end(), item.text) != kNames.end()) break;
            double value = 0.0;
            if (parseNumber(item.text, value) && value != 0.0) {
                found.push_back(std::string(segment) + ":" + item.text);
            }
        }
    }
    return found;
}

// Layouts the converter meets: two sections joined in one record, a blank
// line after the records, an explicit closing record, a last record ended by
// the next segment name instead of an empty item, a closing record joined to
// a beam, blank lines before the next segment. By hand: each source record
// becomes one line, each empty item an empty line, and the last record of
// POINT is closed by the name BEAM, so the empty line of the segment still
// ends it.
TEST_F(Conversion, EveryLayoutGivesAStreamWithNothingButZerosAfterAClosingRecord) {
    const std::string frm =
        "WEIGHT\r\n1\r\n"
        "BAR-SEC\r\n.3,.6,.25,.5,\r\n\r\n"
        "CONCRATE\r\n30,\r\n0,\r\n"
        "POINT\r\n1,0,0,0,0,0,\r\n2,0,0,0,6,0,\r\n3,1,2,3,0,3.5,\r\n4,1,4,5,6,3.5\r\n"
        "BEAM\r\n3,4,1,1,0,0,0,0,\r\n"
        "COLUMN\r\n1,3,2,1,\r\n2,4,2,1,1.25,\r\n0,0,0,0,\r\n"
        "DLOAD\r\n1,2,20,0,-1,\r\n\r\n"
        "SEISMIC\r\n2,8,.35,.5,.85,1,1\r\n3,4,40,\r\n";
    EXPECT_EQ(convert(frm), PrepOutcome::Done);
    EXPECT_EQ(test::readFile(target()),
              "WEIGHT\r\n 1 \r\n\r\n"
              "BAR-SEC\r\n .3  .6  .25  .5 \r\n\r\n\r\n"
              "CONCRATE\r\n 30 \r\n 0 \r\n\r\n"
              "POINT\r\n 1  0  0  0  0  0 \r\n 2  0  0  0  6  0 \r\n 3  1  2  3  0  3.5 \r\n"
              " 4  1  4  5  6  3.5 \r\n\r\n"
              "BEAM\r\n 3  4  1  1  0  0  0  0 \r\n\r\n"
              "COLUMN\r\n 1  3  2  1  0 \r\n 2  4  2  1  1.25 \r\n 0  0  0  0  0 \r\n\r\n"
              "DLOAD\r\n 1  2  20  0 -1 \r\n\r\n\r\n"
              "SEISMIC\r\n 2  8  .35  .5  .85  1  1 \r\n 3  3  4  40 \r\n\r\n");
    EXPECT_TRUE(nonZeroAfterClosingRecords(target()).empty());

    // The check reads the file with the reader's rules and passes it; the
    // frame has both sections and all four nodes.
    RecordingHost checkHost;
    EXPECT_EQ(CmdWjjy(target(), checkHost), PrepOutcome::Done);
    const FrameModel m = test::readModel(target());
    EXPECT_EQ(m.NSEC, 2);
    EXPECT_EQ(m.NJ, 4);
    EXPECT_EQ(m.XY(1, 4), 6.0f);
    EXPECT_EQ(m.NB, 1);
    EXPECT_EQ(m.NC, 2);

    // The finder guards itself: a stream with a value after a blank line is seen.
    test::writeFile(folder.path("PLANTED.TVL"),
                    "DLOAD\r\n 1  2  20  0 -1 \r\n\r\n 2  2  5  0 -1 \r\n");
    EXPECT_EQ(nonZeroAfterClosingRecords(folder.path("PLANTED.TVL")),
              (std::vector<std::string>{"DLOAD:2", "DLOAD:2", "DLOAD:5", "DLOAD:-1"}));
}

// Records after the end of a segment (a blank line, a record whose first
// value is 0, an empty mass group) would be lost when the converted file is
// read: the conversion is refused, naming the segment and both lines, and
// nothing is written.
TEST_F(Conversion, DataAfterTheEndOfASegmentIsRefused) {
    struct Case {
        std::string tail;
        std::string text;
    };
    const Case cases[] = {
        {"DLOAD\r\n1,2,20,0,-1,\r\n\r\n1,1,36,3,\r\n",
         "源文件 'DLOAD' 数据段第 21 行的数值 1 在第 20 行的空行之后,转换后读入时会被丢掉,"
         "请检查核对数据后重试！"},
        {"DLOAD\r\n1,2,20,0,-1,\r\n0,0,0,0,0,\r\n2,2,20,0,-1,\r\n",
         "源文件 'DLOAD' 数据段第 21 行的数值 2 在第 20 行的结束记录(首个数值为 0)之后,"
         "转换后读入时会被丢掉,请检查核对数据后重试！"},
        // Joined on one line, the closing record is the second of the line.
        {"DLOAD\r\n1,2,20,0,-1,0,0,0,0,0,1,1,5,2,0,\r\n",
         "源文件 'DLOAD' 数据段第 19 行的数值 1 在第 19 行的结束记录(首个数值为 0)之后,"
         "转换后读入时会被丢掉,请检查核对数据后重试！"},
        {"DLOAD\r\n1,2,20,0,\r\n1,1,5,\r\n",
         "源文件 'DLOAD' 数据段的数值个数不是每条记录 5 个数值的整数倍,转换后读入时各条记录会错位,"
         "请检查核对数据后重试！"},
        {"SEISMIC\r\n2,8,.35,.5,.85,1,1,\r\n3,3,4,40,\r\n",
         "源文件 'SEISMIC' 数据段第 20 行的质点数据在第 19 行的空质点记录(数据个数为 0)之后,"
         "转换后读入时会被丢掉,请检查核对数据后重试！"},
    };
    for (const Case& c : cases) {
        RecordingHost refused;
        test::writeFile(source(), kStructure + c.tail);
        EXPECT_EQ(CmdWjzh(source(), refused), PrepOutcome::Refused) << c.tail;
        ASSERT_EQ(refused.messages.size(), 1u) << c.tail;
        EXPECT_EQ(refused.messages[0].text, c.text);
        EXPECT_EQ(refused.messages[0].title, "提示！");
        EXPECT_FALSE(std::filesystem::exists(target()));
    }
}

TEST_F(Conversion, TextAfterAClosingRecordReadsAsTheSameItems) {
    // After the closing 0 of POINT the reader passes over text, line by
    // line; a string running over a line end or holding a comma or blank
    // would give the number 6 there once its quotes were gone, and "d 7 e"
    // written straight after ab would no longer open a string.
    const std::string source =
        "BAR-SEC\r\n.3 .6\r\n\r\nCONCRATE\r\n30\r\n\r\n"
        "POINT\r\n1 0 0 0 0 0\r\n2 0 0 0 6 0\r\n3 1 2 3 0 3.5\r\n4 1 4 5 6 3.5\r\n"
        "0 \"a\r\n6 19\" \"b,6\" \"c 6\" \"plain\" ab \"d 7 e\"\r\n\r\n"
        "BEAM\r\n3 4 1 1\r\n\r\nCOLUMN\r\n1 3 1 1 0\r\n2 4 1 1 0\r\n\r\n";
    test::writeFile(folder.path("SOURCE.TVL"), source);
    const FrameModel asSource = test::readModel(folder.path("SOURCE.TVL"));
    ASSERT_EQ(asSource.NJ, 4);

    ASSERT_EQ(convert(source), PrepOutcome::Done);
    const std::string converted = test::readFile(target());
    EXPECT_NE(converted.find(" 0 \r\n\"a\r\n6 19\"\r\n\"b,6\"\r\n\"c 6\"\r\nplain\r\nab\r\n\"d 7 e\"\r\n"),
              std::string::npos)
        << converted;
    const FrameModel asTarget = test::readModel(target());
    EXPECT_EQ(asTarget.NJ, 4);
    EXPECT_EQ(asTarget.XY(2, 4), asSource.XY(2, 4));
    EXPECT_EQ(asTarget.NB, asSource.NB);
}

TEST_F(Conversion, ASegmentNameAfterAClosingRecordIsRefused) {
    // The search of the source finds COLUMN first where it stands; in the
    // target, "column" copied after the closing record of POINT would be
    // found ahead of the COLUMN segment, quoted or not.
    for (const std::string name : {"\"column\"", "Column"}) {
        host = RecordingHost();
        const std::string source =
            "BAR-SEC\r\n.3 .6\r\n\r\nCONCRATE\r\n30\r\n\r\nCOLUMN\r\n1 3 1 1 0\r\n2 4 1 1 0\r\n\r\n"
            "BEAM\r\n3 4 1 1\r\n\r\nPOINT\r\n1 0 0 0 0 0\r\n2 0 0 0 6 0\r\n3 1 2 3 0 3.5\r\n"
            "4 1 4 5 6 3.5\r\n0\r\n" + name + "\r\n";
        EXPECT_EQ(convert(source), PrepOutcome::Refused) << name;
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back().text,
                  "源文件 'POINT' 数据段第 20 行的 " + name +
                      " 在第 19 行的结束记录之后,转换后读入时会被当作数据段名,请检查核对数据后重试！");
        EXPECT_FALSE(std::filesystem::exists(target()));
    }
}

TEST_F(Conversion, ASegmentNameAmongTheTextsOfStiffnessIsRefused) {
    // STIFFNESS stands after POINT in the source but ahead of it in the
    // target, where the segment search would meet the copied name first:
    // a string holding it between blanks and tabs, or two texts of the
    // source that the target writes side by side as one item.
    const std::string stiffness = kStructure + "STIFFNESS\r\n1,1,\r\n";
    for (const auto& [texts, shown] :
         {std::pair<std::string, std::string>{"\"\t\t POINT \"\r\n", "第 20 行的 \"\t\t POINT \""},
          {"poi\r\nnt\r\n", "第 21 行的 point"}}) {
        host = RecordingHost();
        EXPECT_EQ(convert(stiffness + texts), PrepOutcome::Refused) << texts;
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back().text,
                  "源文件 'STIFFNESS' 数据段" + shown + ",转换后读入时会被当作数据段名,请检查核对数据后重试！");
        EXPECT_FALSE(std::filesystem::exists(target()));
    }
    // Texts that spell no segment's name are copied as before.
    host = RecordingHost();
    ASSERT_EQ(convert(stiffness + "poi\r\nnts\r\n"), PrepOutcome::Done);
    EXPECT_EQ(test::readModel(target()).NJ, 4);
}

TEST_F(Conversion, AStringAfterATextInStiffnessStillOpensAnItem) {
    // Joined to x, the string's closing quote would open a string running
    // over BAR-SEC and every segment after it.
    ASSERT_EQ(convert("STIFFNESS\r\n1,1,\r\nx\r\n\"a b\r\n\"\r\n" + kStructure), PrepOutcome::Done);
    EXPECT_NE(test::readFile(target()).find("STIFFNESS\r\n 1  1 \r\nx\r\n\"a b\r\n\"\r\n"), std::string::npos);
    const FrameModel m = test::readModel(target());
    EXPECT_EQ(m.NJ, 4);
    EXPECT_EQ(m.NC, 2);
}

TEST_F(Conversion, AStringOfNumbersAfterAClosingRecordCountsAsThoseNumbers) {
    // In the source the string stands inside a line of text; written on a
    // line of its own it would be a stray value 7 after POINT's closing 0.
    const std::string points =
        "BAR-SEC\r\n.3 .6\r\n\r\nCONCRATE\r\n30\r\n\r\nPOINT\r\n1 0 0 0 0 0\r\n2 0 0 0 6 0\r\n"
        "3 1 2 3 0 3.5\r\n4 1 4 5 6 3.5\r\n0\r\nnote\t";
    const std::string rest = "\r\n\r\nBEAM\r\n3 4 1 1\r\n\r\nCOLUMN\r\n1 3 1 1 0\r\n2 4 1 1 0\r\n\r\n";
    EXPECT_EQ(convert(points + "\"7\"" + rest), PrepOutcome::Refused);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text,
              "源文件 'POINT' 数据段第 13 行的数值 \"7\" 在第 12 行的结束记录(首个数值为 0)之后,"
              "转换后读入时会被丢掉,请检查核对数据后重试！");
    host = RecordingHost();
    EXPECT_EQ(convert(points + "\"0\"" + rest), PrepOutcome::Done);
    // A string of words that are all numbers keeps its quotes on its line,
    // and the reader takes each word for a value there: a tab after the
    // number, or a 0 before it, hides nothing.
    for (const std::string string : {"\"1E-38\t\"", "\"0 2\""}) {
        host = RecordingHost();
        EXPECT_EQ(convert(points + string + rest), PrepOutcome::Refused) << string;
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back().text, "源文件 'POINT' 数据段第 13 行的数值 " + string +
                                                 " 在第 12 行的结束记录(首个数值为 0)之后,"
                                                 "转换后读入时会被丢掉,请检查核对数据后重试！");
    }
    host = RecordingHost();
    EXPECT_EQ(convert(points + "\"0 0\t\"" + rest), PrepOutcome::Done);
}

TEST_F(Conversion, StiffnessKeepsTheLegacyRecordsWhereADataFileWouldReadAZero) {
    // One value per record, as CONCRATE's are written: ALFF is the second
    // record, although the source read as a data file would take the empty
    // item after ALFI as ALFF = 0.
    ASSERT_EQ(convert("STIFFNESS\r\n1,\r\n.8,\r\n" + kStructure), PrepOutcome::Done);
    const std::string weight = "WEIGHT\r\n 1 \r\n\r\n";
    EXPECT_EQ(test::readFile(target()), weight + "STIFFNESS\r\n 1 \r\n .8 \r\n\r\n" +
                                            kConvertedStructure.substr(weight.size()));
    const FrameModel m = test::readModel(target());
    EXPECT_EQ(m.ALFI, 1.0f);
    EXPECT_EQ(m.ALFF, 0.8f);
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
