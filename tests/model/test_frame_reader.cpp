// Protects INDATA, FCME and FINDP: the frame model read from a data file,
// its defaults and derived values, and the rejection of bad or oversized files.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/data_file.h"
#include "model/frame_reader.h"
#include "model/frame_text.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using testing::portalSegments;
using testing::TempDir;

struct ReadResult {
    ReadStatus status;
    FrameModel model;
    RecordingHost host;
};

std::unique_ptr<ReadResult> readText(const std::string& text,
                                     const ReaderOptions& options = ReaderOptions::analysis()) {
    TempDir dir;
    auto r = std::make_unique<ReadResult>();
    DataFile f(r->host, dir.write("frame.TVL", text));
    r->status = INDATA(f, r->model, r->host, options);
    return r;
}

template <typename T, int... U>
bool sameTable(const Table<T, U...>& a, const Table<T, U...>& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameModel(const FrameModel& a, const FrameModel& b) {
    return a.NJ == b.NJ && a.NB == b.NB && a.NC == b.NC && a.NE == b.NE && a.NSEC == b.NSEC &&
           a.NCON == b.NCON && a.KW == b.KW && a.NLEV == b.NLEV && a.ALFI == b.ALFI &&
           a.ALFF == b.ALFF && a.FT == b.FT && sameTable(a.XY, b.XY) && sameTable(a.JD, b.JD) &&
           sameTable(a.SEC, b.SEC) && sameTable(a.GRADE, b.GRADE) && sameTable(a.FC, b.FC) &&
           sameTable(a.FCM, b.FCM) && sameTable(a.EC, b.EC) && sameTable(a.MEM, b.MEM) &&
           sameTable(a.ALFC, b.ALFC) && sameTable(a.LEVN, b.LEVN) && sameTable(a.LEVY, b.LEVY);
}

TEST(ReadFrame, PortalModel) {
    auto r = readText(portalSegments());
    ASSERT_EQ(r->status, ReadStatus::Ok);
    const FrameModel& m = r->model;
    EXPECT_EQ(m.NJ, 4);
    EXPECT_EQ(m.NB, 1);
    EXPECT_EQ(m.NC, 2);
    EXPECT_EQ(m.NE, 3);
    EXPECT_EQ(m.NSEC, 2);
    EXPECT_EQ(m.NCON, 1);
    // 0.25 x 0.5: A = 0.125 m², I = 0.5² · 0.125 / 12 = 0.0026041667 m⁴.
    EXPECT_EQ(m.SEC(3, 1), 0.125f);
    EXPECT_EQ(m.SEC(4, 1), 0.0026041667f);
    EXPECT_EQ(m.SEC(3, 2), 0.4f * 0.4f);
    // C30: fc = fcm = 14.3, Ec = 3.0E7, ft = 1.43.
    EXPECT_EQ(m.GRADE(1), 30.0f);
    EXPECT_EQ(m.FC(1), 14.3f);
    EXPECT_EQ(m.FCM(1), 14.3f);
    EXPECT_EQ(m.EC(1), 3.0E7f);
    EXPECT_EQ(m.FT, 1.43f);
    EXPECT_EQ(m.MEM(1, 2), 1.0f);
    EXPECT_EQ(m.MEM(2, 3), 4.0f);
    EXPECT_EQ(m.JD(3, 4), 5.0f);
    EXPECT_EQ(m.XY(1, 4), 6.0f);
    EXPECT_EQ(m.XY(2, 3), 3.6f);
}

TEST(ReadFrame, DefaultsWithoutWeightAndStiffness) {
    auto r = readText(portalSegments());
    ASSERT_EQ(r->status, ReadStatus::Ok);
    EXPECT_EQ(r->model.KW, 1);
    EXPECT_EQ(r->model.ALFI, 1.0f);
    EXPECT_EQ(r->model.ALFF, 1.0f);
    // WEIGHT gives a notice; STIFFNESS is silent.
    const std::vector<std::string> expected{"1,WEIGHT", "系统提示：没找到 'WEIGHT' 数据段！"};
    EXPECT_EQ(r->host.logLines, expected);
}

TEST(ReadFrame, WeightSwitchRoundsHalfToEven) {
    const std::pair<const char*, int> cases[] = {{"0", 0}, {".4", 0}, {".6", 1}, {"2.5", 2}, {"3.5", 4}};
    for (const auto& [text, kw] : cases) {
        auto r = readText("WEIGHT\r\n " + std::string(text) + " \r\n\r\n" + portalSegments());
        ASSERT_EQ(r->status, ReadStatus::Ok) << text;
        EXPECT_EQ(r->model.KW, kw) << text;
        // Anything but 0 or 1 is flagged once: the weight is always 25 kN/m³.
        if (kw == 0 && std::string(text) == "0") {
            EXPECT_TRUE(r->host.logLines.empty());
        } else {
            ASSERT_EQ(r->host.logLines.size(), 1u) << text;
            EXPECT_EQ(r->host.logLines[0].rfind("系统提示：'WEIGHT' 数据段的自重开关为", 0), 0u) << text;
            EXPECT_NE(r->host.logLines[0].find(kw == 0 ? "不计自重" : "25 kN/m³"), std::string::npos) << text;
        }
    }
}

TEST(ReadFrame, StiffnessFactorsAreKept) {
    auto r = readText("STIFFNESS\r\n .85  .7 \r\n\r\n" + portalSegments());
    ASSERT_EQ(r->status, ReadStatus::Ok);
    EXPECT_EQ(r->model.ALFI, 0.85f);
    EXPECT_EQ(r->model.ALFF, 0.7f);
}

TEST(ReadFrame, SegmentOrderDoesNotMatter) {
    const std::string ordered = "WEIGHT\r\n 0 \r\n\r\n" + portalSegments();
    const std::string shuffled =
        "DLOAD\r\n 1  2  20  0 -1 \r\n\r\n"
        "COLUMN\r\n 1  3  2  1  0 \r\n 2  4  2  1  0 \r\n\r\n"
        "POINT\r\n 3  1  2  3  0  3.6 \r\n 1  0  0  0  0  0 \r\n 4  1  4  5  6  3.6 \r\n"
        " 2  0  0  0  6  0 \r\n\r\n"
        "  concrate\r\n 30 \r\n\r\n"
        "BEAM\r\n 3  4  1  1 \r\n\r\n"
        "Weight\r\n 0 \r\n\r\n"
        "BAR-SEC\r\n .25  .5 \r\n .4  .4 \r\n\r\n";
    auto a = readText(ordered);
    auto b = readText(shuffled);
    ASSERT_EQ(a->status, ReadStatus::Ok);
    ASSERT_EQ(b->status, ReadStatus::Ok);
    EXPECT_TRUE(sameModel(a->model, b->model));
}

TEST(ReadFrame, LineEndsOfAnyPlatformReadAlike) {
    const std::string crlf = portalSegments();
    std::string lf;
    std::string cr;
    for (std::size_t i = 0; i < crlf.size(); ++i) {
        if (crlf[i] == '\r') continue;
        lf += crlf[i];
        cr += crlf[i] == '\n' ? '\r' : crlf[i];
    }
    auto a = readText(crlf);
    auto b = readText(lf);
    auto c = readText(cr);
    ASSERT_EQ(a->status, ReadStatus::Ok);
    ASSERT_EQ(b->status, ReadStatus::Ok);
    ASSERT_EQ(c->status, ReadStatus::Ok);
    EXPECT_TRUE(sameModel(a->model, b->model));
    EXPECT_TRUE(sameModel(a->model, c->model));
}

TEST(ReadFrame, EffectiveLengthFactorRule) {
    // Two storeys: the ground column gets 1.0, the upper one 1.25, an explicit 1.5 stays.
    const std::string text =
        "BAR-SEC\r\n .4  .4 \r\n\r\nCONCRATE\r\n 30 \r\n\r\n"
        "POINT\r\n 1  0  0  0  0  0 \r\n 2  1  2  3  0  3 \r\n 3  1  4  5  0  6 \r\n"
        " 4  0  0  0  5  0 \r\n 5  1  6  7  5  3 \r\n\r\n"
        "BEAM\r\n 2  5  1  1 \r\n\r\n"
        "COLUMN\r\n 1  2  1  1  0 \r\n 2  3  1  1  0 \r\n 4  5  1  1  1.5 \r\n\r\n";
    auto r = readText(text);
    ASSERT_EQ(r->status, ReadStatus::Ok);
    EXPECT_EQ(r->model.ALFC(1), 1.0f);
    EXPECT_EQ(r->model.ALFC(2), 1.25f);
    EXPECT_EQ(r->model.ALFC(3), 1.5f);
}

TEST(ReadFrame, NodeNumberGapsAreRestrainedNodesAtTheOrigin) {
    // Nodes 1, 2, 5 given; 3 and 4 exist at (0, 0) with codes 0 and take part in the lowest-Y search.
    const std::string text =
        "BAR-SEC\r\n .4  .4 \r\n\r\nCONCRATE\r\n 30 \r\n\r\n"
        "POINT\r\n 5  1  2  3  4  9 \r\n 1  0  0  0  0  2 \r\n 2  0  0  0  4  2 \r\n\r\n"
        "BEAM\r\n 1  2  1  1 \r\n\r\nCOLUMN\r\n 2  5  1  1  0 \r\n\r\n";
    auto r = readText(text);
    ASSERT_EQ(r->status, ReadStatus::Ok);
    EXPECT_EQ(r->model.NJ, 5);
    EXPECT_EQ(r->model.XY(1, 3), 0.0f);
    EXPECT_EQ(r->model.JD(1, 4), 0.0f);
    EXPECT_EQ(r->model.LEVY(0), 0.0f);
    EXPECT_EQ(r->model.NLEV, 1);
    EXPECT_EQ(r->model.LEVN(1), 5.0f);
    EXPECT_EQ(r->model.LEVY(1), 9.0f);
}

TEST(ReadFrame, LevelsInOrderOfTheirFirstNodes) {
    // Nodes with free horizontal codes at Y = 3.0 (nodes 3, 4) and 6.0 (node 2): levels [2 at 6, 3 at 3].
    const std::string text =
        "BAR-SEC\r\n .4  .4 \r\n\r\nCONCRATE\r\n 30 \r\n\r\n"
        "POINT\r\n 1  0  0  0  0  0 \r\n 2  2  3  4  0  6 \r\n 3  1  5  6  0  3 \r\n"
        " 4  1  7  8  4  3 \r\n\r\n"
        "BEAM\r\n 3  4  1  1 \r\n\r\nCOLUMN\r\n 1  3  1  1  0 \r\n 3  2  1  1  0 \r\n\r\n";
    auto r = readText(text);
    ASSERT_EQ(r->status, ReadStatus::Ok);
    ASSERT_EQ(r->model.NLEV, 2);
    EXPECT_EQ(r->model.LEVN(1), 2.0f);
    EXPECT_EQ(r->model.LEVY(1), 6.0f);
    EXPECT_EQ(r->model.LEVN(2), 3.0f);
    EXPECT_EQ(r->model.LEVY(2), 3.0f);
    EXPECT_EQ(r->model.LEVY(0), 0.0f);
}

TEST(ReadFrame, UnknownGradeGivesMessageAndGoesOn) {
    std::string text = portalSegments();
    text.replace(text.find("CONCRATE\r\n 30 \r\n"), 16, "CONCRATE\r\n 33 \r\n 25 \r\n");
    auto r = readText(text);
    ASSERT_EQ(r->status, ReadStatus::Ok);
    ASSERT_EQ(r->host.messages.size(), 1u);
    // The grade and the record (line 6 of the file) are named.
    EXPECT_EQ(r->host.messages[0].text,
              "错误信息:没有找到混凝土强度等级 C33('CONCRATE' 数据段第 1 条记录,第 6 行),请检查'TVL'文件！");
    EXPECT_EQ(r->host.messages[0].title, "错误信息提示！");
    EXPECT_EQ(r->host.messages[0].icon, Icon::Information);
    EXPECT_EQ(r->model.NCON, 2);
    EXPECT_EQ(r->model.EC(1), 0.0f);
    EXPECT_EQ(r->model.FC(1), 0.0f);  // the first concrete has no predecessor
    EXPECT_EQ(r->model.FC(2), 11.9f);
    EXPECT_EQ(r->model.FT, 1.27f);
}

TEST(ReadFrame, UnknownGradeRepeatsThePreviousStrengths) {
    std::string text = portalSegments();
    text.replace(text.find("CONCRATE\r\n 30 \r\n"), 16, "CONCRATE\r\n 30 \r\n 85 \r\n");
    auto r = readText(text);
    ASSERT_EQ(r->status, ReadStatus::Ok);
    EXPECT_EQ(r->model.FC(2), 14.3f);
    EXPECT_EQ(r->model.FCM(2), 14.3f);
    EXPECT_EQ(r->model.EC(2), 0.0f);
}

TEST(ReadFrame, DrawingReaderKnowsOnlyGradesUpToC60) {
    std::string text = portalSegments();
    text.replace(text.find("CONCRATE\r\n 30 \r\n"), 16, "CONCRATE\r\n 70 \r\n 60 \r\n");
    auto analysis = readText(text);
    EXPECT_TRUE(analysis->host.messages.empty());
    auto drawing = readText(text, ReaderOptions::drawing());
    ASSERT_EQ(drawing->status, ReadStatus::Ok);
    ASSERT_EQ(drawing->host.messages.size(), 1u);
    EXPECT_EQ(drawing->host.messages[0].text,
              "错误信息:没有找到混凝土强度等级 C70('CONCRATE' 数据段第 1 条记录,第 6 行),请检查'TVL'文件！");
}

TEST(ReadFrame, MissingMandatorySegmentStops) {
    std::string text = portalSegments();
    text.erase(text.find("BEAM"), std::string("BEAM\r\n 3  4  1  1 \r\n\r\n").size());
    auto r = readText(text);
    EXPECT_EQ(r->status, ReadStatus::MissingSegment);
    ASSERT_GE(r->host.logLines.size(), 2u);
    EXPECT_EQ(r->host.logLines[r->host.logLines.size() - 2], "1,BEAM");
    EXPECT_EQ(r->host.logLines.back(), "致命的错误：找不到 'BEAM' 数据段！");
}

TEST(ReadFrame, EmptyFileStopsAtTheFirstMandatorySegment) {
    auto r = readText("");
    EXPECT_EQ(r->status, ReadStatus::MissingSegment);
    const std::vector<std::string> expected{"1,WEIGHT", "系统提示：没找到 'WEIGHT' 数据段！", "1,BAR-SEC",
                                            "致命的错误：找不到 'BAR-SEC' 数据段！"};
    EXPECT_EQ(r->host.logLines, expected);
}

TEST(ReadFrame, LetterInANumberIsReported) {
    std::string text = portalSegments();
    text.replace(text.find(" 3  1  2  3  0  3.6 "), 20, " 3  1  2  x  0  3.6 ");
    auto r = readText(text);
    EXPECT_EQ(r->status, ReadStatus::BadData);
    ASSERT_EQ(r->host.messages.size(), 1u);
    // POINT record of node 3 is on line 11 of the file.
    EXPECT_EQ(r->host.messages[0].text,
              "错误信息:'POINT' 数据段第 11 行的 'x' 不是数值,请检查'TVL'文件！");
    EXPECT_EQ(r->host.messages[0].title, "错误信息提示！");
    EXPECT_EQ(r->host.logLines.back(), r->host.messages[0].text);
}

TEST(ReadFrame, SegmentCutOffByTheEndOfTheFile) {
    auto r = readText("BAR-SEC\r\n .25  .5 \r\n");
    EXPECT_EQ(r->status, ReadStatus::BadData);
    ASSERT_EQ(r->host.messages.size(), 1u);
    EXPECT_EQ(r->host.messages[0].text,
              "错误信息:'BAR-SEC' 数据段没有结束记录(读到文件末尾),请检查'TVL'文件！");
}

TEST(ReadFrame, IntegerOverflowIsReported) {
    std::string text = portalSegments();
    text.replace(text.find(" 3  4  1  1 "), 12, " 3  40000  1  1 ");
    auto r = readText(text);
    EXPECT_EQ(r->status, ReadStatus::BadData);
    ASSERT_EQ(r->host.messages.size(), 1u);
    EXPECT_NE(r->host.messages[0].text.find("'40000' 超出整数范围"), std::string::npos);
}

TEST(ReadFrame, MemberReferencesMustExist) {
    struct Case {
        const char* beam;
        const char* expected;
    };
    const Case cases[] = {
        {" 3  9  1  1 ", "错误信息:'BEAM' 数据段第 1 条记录的末端节点号 9 不存在(应为 1～4),请检查'TVL'文件！"},
        {" 3  4  3  1 ", "错误信息:'BEAM' 数据段第 1 条记录的截面号 3 不存在(应为 1～2),请检查'TVL'文件！"},
        {" 3  4  1  0 ", "错误信息:'BEAM' 数据段第 1 条记录的混凝土号 0 不存在(应为 1～1),请检查'TVL'文件！"},
        {"-3  4  1  1 ", "错误信息:'BEAM' 数据段第 1 条记录的始端节点号 -3 不存在(应为 1～4),请检查'TVL'文件！"},
    };
    for (const Case& c : cases) {
        std::string text = portalSegments();
        text.replace(text.find(" 3  4  1  1 "), 12, c.beam);
        auto r = readText(text);
        EXPECT_EQ(r->status, ReadStatus::BadData) << c.beam;
        ASSERT_EQ(r->host.messages.size(), 1u) << c.beam;
        EXPECT_EQ(r->host.messages[0].text, c.expected);
    }
}

// A frame text with `sections` sections, `beams` beams and `columns` columns
// between two nodes (geometry does not matter to the reader's limits).
std::string sizedFrame(int sections, int beams, int columns) {
    std::string t = "BAR-SEC\r\n";
    for (int i = 0; i < sections; ++i) t += " .3  .5 \r\n";
    t += "\r\nCONCRATE\r\n 30 \r\n\r\nPOINT\r\n 1  0  0  0  0  0 \r\n 2  1  2  3  6  0 \r\n\r\nBEAM\r\n";
    for (int i = 0; i < beams; ++i) t += " 1  2  1  1 \r\n";
    t += "\r\nCOLUMN\r\n";
    for (int i = 0; i < columns; ++i) t += " 1  2  1  1  0 \r\n";
    return t + "\r\n";
}

TEST(ReadFrameLimits, TablesAtTheirLimitsAreRead) {
    auto r = readText(sizedFrame(64, 190, 10));
    EXPECT_EQ(r->status, ReadStatus::Ok);
    EXPECT_EQ(r->model.NSEC, 64);
    EXPECT_EQ(r->model.NE, 200);
}

TEST(ReadFrameLimits, EachLimitNamesItselfAndTheValueFound) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const std::string head = "超出结构分析极限，请重新调整数据或更新分析程序！！！ ";
    const Case cases[] = {
        {sizedFrame(65, 1, 1), head + "截面：65个（最多64个）。"},
        {sizedFrame(1, 191, 1), head + "梁：191个（最多190个）。"},
        {sizedFrame(1, 1, 211), head + "柱：211个（最多210个）。"},
        {sizedFrame(1, 150, 51), head + "杆件：201个（最多200个）。"},
    };
    for (const Case& c : cases) {
        auto r = readText(c.text);
        EXPECT_EQ(r->status, ReadStatus::OverLimit);
        ASSERT_EQ(r->host.messages.size(), 1u);
        EXPECT_EQ(r->host.messages[0].text, c.expected);
        EXPECT_EQ(r->host.messages[0].title, "提示！");
    }
}

TEST(ReadFrameLimits, NodeCodeConcreteAndLevelLimits) {
    const std::string head = "超出结构分析极限，请重新调整数据或更新分析程序！！！ ";
    std::string node = portalSegments();
    node.replace(node.find(" 4  1  4  5  6  3.6 "), 20, " 221  1  4  5  6  3.6 ");
    std::string code = portalSegments();
    code.replace(code.find(" 4  1  4  5  6  3.6 "), 20, " 4  1  4  1001  6  3.6 ");
    std::string concretes = portalSegments();
    concretes.replace(concretes.find("CONCRATE\r\n 30 \r\n"), 16,
                      "CONCRATE\r\n" + [] {
                          std::string s;
                          for (int i = 0; i < 11; ++i) s += " 30 \r\n";
                          return s;
                      }());
    std::string levels = "BAR-SEC\r\n .4  .4 \r\n\r\nCONCRATE\r\n 30 \r\n\r\nPOINT\r\n 1  0  0  0  0  0 \r\n";
    for (int n = 2; n <= 32; ++n) {
        levels += " " + std::to_string(n) + "  1  " + std::to_string(n) + "  0  0  " + std::to_string(n) + " \r\n";
    }
    levels += "\r\nBEAM\r\n 1  2  1  1 \r\n\r\nCOLUMN\r\n 1  2  1  1  0 \r\n\r\n";

    const std::pair<std::string, std::string> cases[] = {
        {node, head + "节点号：221（最大220）。"},
        {code, head + "位移编码：1001（最大1000）。"},
        {concretes, head + "混凝土种类：11个（最多10个）。"},
        {levels, head + "楼层：31个以上（最多30个）。"},
    };
    for (const auto& [text, expected] : cases) {
        auto r = readText(text);
        EXPECT_EQ(r->status, ReadStatus::OverLimit) << expected;
        ASSERT_EQ(r->host.messages.size(), 1u) << expected;
        EXPECT_EQ(r->host.messages[0].text, expected);
    }
}

TEST(ReadFrameLimits, DrawingReaderHasSmallerTables) {
    auto r = readText(sizedFrame(33, 1, 1), ReaderOptions::drawing());
    EXPECT_EQ(r->status, ReadStatus::OverLimit);
    ASSERT_EQ(r->host.messages.size(), 1u);
    EXPECT_EQ(r->host.messages[0].text, "超出图形交互程序极限，请重新调整数据！！！ 截面：33个（最多32个）。");
    auto ok = readText(sizedFrame(32, 100, 100), ReaderOptions::drawing());
    EXPECT_EQ(ok->status, ReadStatus::Ok);
}

TEST(ReadFrameLimits, DrawingReaderTakesAnyMixOfItsTwoHundredMemberRecords) {
    // The drawing keeps no beam results, so 195 beams fit its member table.
    auto ok = readText(sizedFrame(1, 195, 5), ReaderOptions::drawing());
    ASSERT_EQ(ok->status, ReadStatus::Ok);
    EXPECT_EQ(ok->model.NB, 195);
    EXPECT_EQ(ok->model.NE, 200);
    auto full = readText(sizedFrame(1, 196, 5), ReaderOptions::drawing());
    EXPECT_EQ(full->status, ReadStatus::OverLimit);
    ASSERT_EQ(full->host.messages.size(), 1u);
    EXPECT_EQ(full->host.messages[0].text, "超出图形交互程序极限，请重新调整数据！！！ 杆件：201个（最多200个）。");
}

}  // namespace
}  // namespace tarvel
