// Protects the generation of the .TVL data file from the job tables: its exact
// bytes, the status texts and messages, the refusals, and that what it writes
// reads back as the frame it describes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/data_file_check.h"
#include "prep/data_file_generation.h"
#include "prep_test_support.h"
#include "support/recording_host.h"

namespace tarvel {
namespace {

using test::kEmpty;

const std::string kBlank = "\r\n";
// Segments 1-5 without rows: one empty line each.
const std::string kFiveEmpty = kBlank + kBlank + kBlank + kBlank + kBlank;
// BEAM, COLUMN and DLOAD without rows keep their headers (a run needs the
// three segments, a frame may have no records in them): the header, its empty
// line, and the empty line that follows every segment.
const std::string kEmptyBeam = "BEAM\r\n\r\n\r\n";
const std::string kSixEmpty = kFiveEmpty + kEmptyBeam;
const std::string kEmptyColumn = "COLUMN\r\n\r\n\r\n";
const std::string kEmptyDeadLoads = "DLOAD\r\n\r\n\r\n";
// Written when the last segment header was a load segment's.
const std::string kClosingLoadLine = " 0  0  0  0  0 \r\n";

class Generation : public ::testing::Test {
  protected:
    void SetUp() override { db = test::newJob(folder); }

    PrepOutcome generate() { return CmdWjsc(db, target(), host); }
    std::string target() const { return folder.path("OUT.TVL"); }
    std::string written() const { return test::readFile(target()); }

    test::ScratchFolder folder;
    JobDatabase db;
    RecordingHost host;
};

TEST_F(Generation, AllTablesEmpty) {
    EXPECT_EQ(generate(), PrepOutcome::Done);
    // Segments 1-5, BEAM, COLUMN and DLOAD headers, LLOAD and WLOAD, no
    // seismic data, so the DLOAD header is the last one: the closing load
    // line and its empty line; then the final empty line.
    EXPECT_EQ(written(), kSixEmpty + kEmptyColumn + kEmptyDeadLoads + kBlank + kBlank +
                             kClosingLoadLine + kBlank + kBlank);

    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, "您是否真的要生成（TVL）数据文件吗？");
    EXPECT_EQ(host.questions[0].title, "提示");
    const std::vector<std::string> statuses = {"文件等待转换,请您选择！",
                                               "文件正在生成,请您稍侯！",
                                               "WEIGHT",
                                               "WETGHT 数据段无数据记录！",
                                               "STIFFNESS",
                                               "STIFFNESS 数据段无数据记录！",
                                               "BAR-SEC",
                                               "BAR-SEC 数据段无数据记录！",
                                               "CONCRATE",
                                               "CONCRATE 数据段无数据记录！",
                                               "POINT",
                                               "POINT 数据段无数据记录！",
                                               "BEAM",
                                               "BEAM 数据段无数据记录！",
                                               "COLUMN",
                                               "COLUMN 数据段无数据记录！",
                                               "DLOAD",
                                               "DLOAD 数据段无数据记录！",
                                               "LLOAD",
                                               "LLOAD 数据段无数据记录！",
                                               "WLOAD",
                                               "WLOAD 数据段无数据记录！",
                                               "SEISMIC",
                                               "SEISMIC 数据段无数据记录！",
                                               "SEISMIC 数据段无数据记录！",
                                               "文件生成结束！"};
    EXPECT_EQ(host.statusTexts, statuses);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "（TVL）文件生成完毕！");
    EXPECT_EQ(host.messages[0].title, "TVL文件生成");
    EXPECT_EQ(host.messages[0].icon, Icon::Information);
}

TEST_F(Generation, OnlyDeadLoadsFilledEndsWithTheClosingLoadLine) {
    test::fill(db, "DLOAD", {{1, 2, 22.5, 0, -1}, {3, 1, 36, 3, 0}});
    EXPECT_EQ(generate(), PrepOutcome::Done);
    EXPECT_EQ(written(), kSixEmpty + kEmptyColumn +
                             "DLOAD\r\n"
                             " 1  2  22.5  0 -1 \r\n"
                             " 3  1  36  3  0 \r\n"
                             "\r\n"
                             "\r\n"                 // LLOAD
                             "\r\n"                 // WLOAD
                             " 0  0  0  0  0 \r\n"  // closing load line
                             "\r\n"
                             "\r\n");  // final empty line
}

TEST_F(Generation, WholeColumnsRoundHalfToEvenAndRealsLoseTheLeadingZero) {
    test::fill(db, "WEIGHT", {{25.5}});
    test::fill(db, "BARSEC", {{0.3, 0.55}, {0.25, 1.2}});
    test::fill(db, "CONCRATE", {{2.5}});
    EXPECT_EQ(generate(), PrepOutcome::Done);
    EXPECT_EQ(written(),
              "WEIGHT\r\n 26 \r\n\r\n"
              "\r\n"  // STIFFNESS
              "BAR-SEC\r\n .3  .55 \r\n .25  1.2 \r\n\r\n"
              "CONCRATE\r\n 2 \r\n\r\n"
              "\r\n" +  // POINT
                  kEmptyBeam + kEmptyColumn + kEmptyDeadLoads + "\r\n\r\n" + kClosingLoadLine + kBlank +
                  kBlank);
}

TEST_F(Generation, SeismicParametersAndAMassRow) {
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 3, 1}});
    test::fill(db, "SEISMIC2", {{2, 7, 150.5}});
    EXPECT_EQ(generate(), PrepOutcome::Done);
    EXPECT_EQ(written(), kSixEmpty + kEmptyColumn + kEmptyDeadLoads + "\r\n\r\n" +
                             "SEISMIC\r\n"
                             " 2  8  .35  .5  .85  3  1 \r\n"
                             " 2  7  150.5 \r\n"
                             " 0  0 \r\n"
                             "\r\n");
}

TEST_F(Generation, AMassSpreadOverRowsRunsOnOneLine) {
    test::fill(db, "SEISMIC1", {{1, 7, 0.4, 0.5, 1, 2, 1.1}});
    test::fill(db, "SEISMIC2",
               {{4, 9, kEmpty}, {kEmpty, 10, kEmpty}, {kEmpty, 11, 250}, {2, 12, 60}});
    EXPECT_EQ(generate(), PrepOutcome::Done);
    EXPECT_EQ(written(), kSixEmpty + kEmptyColumn + kEmptyDeadLoads + "\r\n\r\n" +
                             "SEISMIC\r\n"
                             " 1  7  .4  .5  1  2  1.1 \r\n"
                             " 4  9  10  11  250 \r\n"
                             " 2  12  60 \r\n"
                             " 0  0 \r\n"
                             "\r\n");
}

TEST_F(Generation, LoadsFollowedBySeismicDataNeedNoClosingLoadLine) {
    test::fill(db, "WLOAD", {{5, 2, 1.5, 0, -1}});
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{2, 7, 100}});
    EXPECT_EQ(generate(), PrepOutcome::Done);
    // The SEISMIC header written after WLOAD clears the load flag.
    EXPECT_EQ(written(), kSixEmpty + kEmptyColumn + kEmptyDeadLoads + "\r\n" +
                             "WLOAD\r\n 5  2  1.5  0 -1 \r\n\r\n"
                             "SEISMIC\r\n"
                             " 2  8  .35  .5  .85  1  1 \r\n"
                             " 2  7  100 \r\n"
                             " 0  0 \r\n"
                             "\r\n");
}

// A continuation row whose count cell is filled: the cell is written where it
// stands, as one more value of the open record, and counts as one. NRN 4
// announces four values; the rows hold 9 | 5, 10 | 250, which read back as
// nodes 9, 5, 10 and the additional weight 250.
TEST_F(Generation, AContinuationRowWithItsCountCellFilledWritesThatValueInTheRecord) {
    test::fill(db, "SEISMIC1", {{1, 7, 0.4, 0.5, 1, 2, 1.1}});
    test::fill(db, "SEISMIC2",
               {{4, 9, kEmpty}, {5, 10, kEmpty}, {kEmpty, kEmpty, 250}, {2, 12, 60}});
    EXPECT_EQ(generate(), PrepOutcome::Done);
    EXPECT_EQ(written(), kSixEmpty + kEmptyColumn + kEmptyDeadLoads + "\r\n\r\n" +
                             "SEISMIC\r\n"
                             " 1  7  .4  .5  1  2  1.1 \r\n"
                             " 4  9  5  10  250 \r\n"
                             " 2  12  60 \r\n"
                             " 0  0 \r\n"
                             "\r\n");
}

TEST_F(Generation, EveryTableFilledGivesTheWholeFile) {
    test::fill(db, "WEIGHT", {{1}});
    test::fill(db, "STIFFNESS", {{1, 0.85}});
    test::fill(db, "BARSEC", {{0.25, 0.5}});
    test::fill(db, "CONCRATE", {{30}});
    test::fill(db, "POINT", {{1, 0, 0, 0, 0, 0}, {2, 1, 2, 3, 0, 3.6}});
    test::fill(db, "BEAM", {{1, 2, 1, 1}});
    test::fill(db, "COLUMN", {{1, 2, 1, 1, 0}});
    test::fill(db, "DLOAD", {{1, 2, -12.5, 0, -1}});
    test::fill(db, "LLOAD", {{1, 2, 6, 0, -1}});
    test::fill(db, "SEISMIC1", {{2, 8, 0.16, 0.08, 0.9, 1, 1}});
    test::fill(db, "SEISMIC2", {{2, 2, 1234567.8}});
    EXPECT_EQ(generate(), PrepOutcome::Done);
    // WLOAD has no rows: only its empty line. The seismic header written after
    // the loads clears the load flag, so no closing load line; 1234567.8 as a
    // Single is 1234567.75, seven digits 1234568.
    EXPECT_EQ(written(),
              "WEIGHT\r\n 1 \r\n\r\n"
              "STIFFNESS\r\n 1  .85 \r\n\r\n"
              "BAR-SEC\r\n .25  .5 \r\n\r\n"
              "CONCRATE\r\n 30 \r\n\r\n"
              "POINT\r\n 1  0  0  0  0  0 \r\n 2  1  2  3  0  3.6 \r\n\r\n"
              "BEAM\r\n 1  2  1  1 \r\n\r\n"
              "COLUMN\r\n 1  2  1  1  0 \r\n\r\n"
              "DLOAD\r\n 1  2 -12.5  0 -1 \r\n\r\n"
              "LLOAD\r\n 1  2  6  0 -1 \r\n\r\n"
              "\r\n"
              "SEISMIC\r\n 2  8  .16  .08  .9  1  1 \r\n"
              " 2  2  1234568 \r\n"
              " 0  0 \r\n"
              "\r\n");
    const std::vector<std::string> tail(host.statusTexts.end() - 5, host.statusTexts.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"LLOAD", "WLOAD", "WLOAD 数据段无数据记录！",
                                              "SEISMIC", "文件生成结束！"}));
}

TEST_F(Generation, AnEmptyWindLoadTableKeepsTheLoadFlagOfTheLiveLoads) {
    test::fill(db, "LLOAD", {{2, 1, 8, 1.5, 0}});
    EXPECT_EQ(generate(), PrepOutcome::Done);
    EXPECT_EQ(written(), kSixEmpty + kEmptyColumn + kEmptyDeadLoads +
                             "LLOAD\r\n 2  1  8  1.5  0 \r\n\r\n"
                             "\r\n"                 // WLOAD
                             " 0  0  0  0  0 \r\n"  // the last header written was LLOAD
                             "\r\n"
                             "\r\n");
}

class GenerationRefusal : public Generation {
  protected:
    void expectRefused(const std::string& text) {
        test::writeFile(target(), "earlier file");
        EXPECT_EQ(generate(), PrepOutcome::Refused);
        EXPECT_EQ(written(), "earlier file");
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, text);
        EXPECT_EQ(host.messages[0].title, "提示！");
        EXPECT_EQ(host.statusTexts.back(), text);
    }
};

TEST_F(GenerationRefusal, AnEmptyCellNamesTheTableAndTheRow) {
    test::fill(db, "POINT", {{1, 0, 0, 0, 0, 0}, {2, 1, 2, 3, 6, kEmpty}});
    expectRefused("错误信息:'POINT' 表第 2 条记录的 'Yi' 为空,（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, AnEmptySeismicParameterIsRefusedToo) {
    test::fill(db, "SEISMIC1", {{2, 8, kEmpty, 0.5, 0.85, 3, 1}});
    expectRefused("错误信息:'SEISMIC1' 表第 1 条记录的 'TG' 为空,（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, TextWhereANumberBelongs) {
    test::fill(db, "BEAM", {{5, 6, 1, 2}});
    db.updateCell(jobTable("BEAM"), db.rows(jobTable("BEAM"))[0].key, "KCi", Cell::ofText("C30"));
    expectRefused("错误信息:'BEAM' 表第 1 条记录的 'KCi' 不是数值(C30),（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, AWholeValueBeyondTheIntegerRange) {
    test::fill(db, "CONCRATE", {{30}, {40000}});
    expectRefused("错误信息:'CONCRATE' 表第 2 条记录的 'ICi' 超出整数范围,（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, AMassRecordHoldingMoreValuesThanItsCount) {
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{2, 7, 150}, {3, 5, kEmpty}, {kEmpty, 6, kEmpty}, {kEmpty, 8, 90}});
    expectRefused(
        "错误信息:'SEISMIC2' 表第 2 至 4 条记录的质点记录有 4 个数据,与 'NRN' 给定的 3 个不符,"
        "（TVL）文件没有生成！");
}

// The count is exceeded before any weight closes the record: refused at the
// row where it happens, not reported as a record left open.
TEST_F(GenerationRefusal, AMassRecordOverflowingItsCountBeforeItsWeight) {
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{2, 7, kEmpty}, {kEmpty, 8, kEmpty}, {kEmpty, 9, kEmpty}});
    expectRefused(
        "错误信息:'SEISMIC2' 表第 1 至 3 条记录的质点记录有 3 个数据,与 'NRN' 给定的 2 个不符,"
        "（TVL）文件没有生成！");
}

// A filled count cell on a continuation row is a value of the open record:
// 7, 3, 8 and 100 are four values where NRN announced two.
TEST_F(GenerationRefusal, AContinuationCountCellIsCountedAsAValue) {
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{2, 7, kEmpty}, {3, 8, 100}});
    expectRefused(
        "错误信息:'SEISMIC2' 表第 1 至 2 条记录的质点记录有 4 个数据,与 'NRN' 给定的 2 个不符,"
        "（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, AMassRecordHoldingFewerValuesThanItsCount) {
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{3, kEmpty, 150}});
    expectRefused(
        "错误信息:'SEISMIC2' 表第 1 条记录的质点记录有 1 个数据,与 'NRN' 给定的 3 个不符,"
        "（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, AMassRecordNotClosedByAWeight) {
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{2, 7, 150}, {2, 8, kEmpty}});
    expectRefused(
        "错误信息:'SEISMIC2' 表第 2 条记录的质点记录没有以附加重量 'AWi' "
        "结束,（TVL）文件没有生成！");
}

// A first value of 0 is the closing record of its segment: every row after
// it would be lost. The value tested is the one written (0.4 rounds to 0).
TEST_F(GenerationRefusal, ARowWhoseFirstValueIsZero) {
    test::fill(db, "POINT", {{1, 0, 0, 0, 0, 0}, {0.4, 1, 2, 3, 0, 3.6}, {3, 4, 5, 6, 6, 3.6}});
    expectRefused(
        "错误信息:'POINT' 表第 2 条记录的 'IPi' 为 0,读入时该数据段在此结束,其后的记录都会丢失,"
        "（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, AZeroMemberNumberOrWidthIsRefusedInEveryClosedSegment) {
    struct Case {
        const char* table;
        std::initializer_list<double> row;
        const char* column;
    };
    const Case cases[] = {{"BARSEC", {0, 0.5}, "Bi"},
                          {"CONCRATE", {0}, "ICi"},
                          {"BEAM", {0, 2, 1, 1}, "Ii"},
                          {"COLUMN", {0, 2, 1, 1, 0}, "Ii"},
                          {"DLOAD", {0, 2, 10, 0, -1}, "IBARi"},
                          {"LLOAD", {0, 2, 10, 0, -1}, "IBARi"},
                          {"WLOAD", {0, 2, 10, 0, -1}, "IBARi"}};
    for (const Case& c : cases) {
        JobDatabase job = test::newJob(folder, std::string(c.table) + ".mdb");
        test::fill(job, c.table, {c.row});
        RecordingHost refused;
        const std::string out = folder.path(std::string(c.table) + ".TVL");
        EXPECT_EQ(CmdWjsc(job, out, refused), PrepOutcome::Refused) << c.table;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.table;
        ASSERT_EQ(refused.messages.size(), 1u) << c.table;
        EXPECT_EQ(refused.messages[0].text,
                  "错误信息:'" + std::string(c.table) + "' 表第 1 条记录的 '" + c.column +
                      "' 为 0,读入时该数据段在此结束,其后的记录都会丢失,（TVL）文件没有生成！");
    }
    // A WEIGHT of 0 (no self-weight) and a STIFFNESS factor of 0 close nothing.
    test::fill(db, "WEIGHT", {{0}});
    test::fill(db, "STIFFNESS", {{0, 0}});
    EXPECT_EQ(generate(), PrepOutcome::Done);
}

TEST_F(GenerationRefusal, AMassCountOfZeroWouldEndTheMassRecords) {
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{2, 7, 100}, {0, 8, 100}, {2, 9, 100}});
    expectRefused(
        "错误信息:'SEISMIC2' 表第 2 条记录的 'NRN' 为 0,读入时该数据段在此结束,其后的记录都会丢失,"
        "（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, ASecondSeismicParameterRow) {
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}, {2, 7, 0.3, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{2, 7, 100}});
    expectRefused(
        "错误信息:'SEISMIC1' 表第 2 条记录多余:地震参数只能有一条记录,否则会被当作质点记录读入,"
        "（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, MassRowsWithoutSeismicParameters) {
    test::fill(db, "WLOAD", {{5, 2, 1.5, 0, -1}});
    test::fill(db, "SEISMIC2", {{kEmpty, kEmpty, kEmpty}, {2, 7, 100}});
    expectRefused(
        "错误信息:'SEISMIC2' 表第 2 条记录是质点记录,但 'SEISMIC1' 表没有地震参数(KCLASS、K0、TG、"
        "ALF1、ALF2、NN、ADJUST),质点记录不会被读入,（TVL）文件没有生成！");
}

TEST_F(GenerationRefusal, AMassRecordWithoutItsCount) {
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{kEmpty, 7, 150}});
    expectRefused(
        "错误信息:'SEISMIC2' 表第 1 条记录开始一个质点记录,但 'NRN' 为空,（TVL）文件没有生成！");
}

TEST_F(Generation, NoOrCancelLeavesTheChosenFileUntouched) {
    test::writeFile(target(), "keep me");
    host.answers = {Answer::No, Answer::Cancel};
    EXPECT_EQ(generate(), PrepOutcome::Declined);
    EXPECT_EQ(generate(), PrepOutcome::Declined);
    EXPECT_EQ(written(), "keep me");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.statusTexts,
              (std::vector<std::string>{"文件等待转换,请您选择！", "文件等待转换,请您选择！"}));

    const std::string fresh = folder.path("NEW.TVL");
    host.answers = {Answer::No};
    EXPECT_EQ(CmdWjsc(db, fresh, host), PrepOutcome::Declined);
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST_F(Generation, ACancelledFileChoiceDoesNothing) {
    EXPECT_EQ(CmdWjsc(db, "", host), PrepOutcome::NoFile);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_TRUE(host.statusTexts.empty());
}

// A portal frame of one bay and one storey with its loads and one mass.
void fillPortal(JobDatabase& db) {
    test::fill(db, "WEIGHT", {{1}});
    test::fill(db, "BARSEC", {{0.25, 0.5}, {0.4, 0.4}});
    test::fill(db, "CONCRATE", {{30}});
    test::fill(
        db, "POINT",
        {{1, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 6, 0}, {3, 1, 2, 3, 0, 3.6}, {4, 1, 4, 5, 6, 3.6}});
    test::fill(db, "BEAM", {{3, 4, 1, 1}});
    test::fill(db, "COLUMN", {{1, 3, 2, 1, 0}, {2, 4, 2, 1, 1.5}});
    test::fill(db, "DLOAD", {{1, 2, 20, 0, -1}});
    test::fill(db, "WLOAD", {{2, 2, 1.8, 0, -1}});
    test::fill(db, "SEISMIC1", {{2, 8, 0.35, 0.5, 0.85, 1, 1}});
    test::fill(db, "SEISMIC2", {{3, 3, kEmpty}, {kEmpty, 4, 40}});
}

TEST_F(Generation, TheGeneratedFilePassesTheCheckAndReadsAsTheFrame) {
    fillPortal(db);
    EXPECT_EQ(generate(), PrepOutcome::Done);

    RecordingHost checkHost;
    EXPECT_EQ(CmdWjjy(target(), checkHost), PrepOutcome::Done);
    EXPECT_EQ(checkHost.viewTexts, std::vector<std::string>{written()});

    const FrameModel m = test::readModel(target());
    EXPECT_EQ(m.NJ, 4);
    EXPECT_EQ(m.NB, 1);
    EXPECT_EQ(m.NC, 2);
    EXPECT_EQ(m.NSEC, 2);
    EXPECT_EQ(m.KW, 1);
    EXPECT_EQ(m.SEC(3, 1), 0.25f * 0.5f);
    EXPECT_EQ(m.XY(2, 4), 3.6f);
    EXPECT_EQ(m.MEM(1, 2), 1.0f);  // the first column, member NB + 1, starts at node 1
    EXPECT_EQ(m.ALFC(1), 1.0f);    // factor 0 on a column standing on a fixed node: derived
    EXPECT_EQ(m.ALFC(2), 1.5f);
    EXPECT_EQ(m.NLEV, 1);

    // The same frame written by hand, in another layout, reads the same.
    const std::string byHand = folder.path("HAND.TVL");
    test::writeFile(byHand,
                    "BAR-SEC\n.25,.5\n.4,.4\n\nCONCRATE\n30\n\n"
                    "POINT\n1,0,0,0,0,0\n2,0,0,0,6,0\n3,1,2,3,0,3.6\n4,1,4,5,6,3.6\n\n"
                    "BEAM\n3,4,1,1\n\nCOLUMN\n1,3,2,1,0\n2,4,2,1,1.5\n\nWEIGHT\n1\n");
    test::expectSameModel(test::readModel(byHand), m);
}

}  // namespace
}  // namespace tarvel
