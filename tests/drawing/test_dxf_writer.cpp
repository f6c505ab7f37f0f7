// Protects the DXF writer: exact bytes of every entity, number format, text alignment, GBK texts,
// file names.

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "drawing/dxf_probe.h"
#include "drawing/dxf_writer.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using testing::ProbeEntity;
using testing::TempDir;

// Lines joined the way the writer ends them.
std::string crlf(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) {
        s += l;
        s += "\r\n";
    }
    return s;
}

const std::string kHead = crlf({"0", "SECTION", "2", "ENTITIES"});
const std::string kTail = crlf({"0", "ENDSEC", "0", "EOF"});

// What precedes the entities of a drawing without entities: the release, the
// GBK code page, extents at the origin, the line type, layer 0 in colour 7
// and the Chinese text style.
const std::string kEmptyHeaderAndTables =
    crlf({"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1009", "9", "$DWGCODEPAGE", "3",
          "ANSI_936", "9", "$EXTMIN", "10", " 0 ", "20", " 0 ", "30", " 0 ", "9", "$EXTMAX", "10",
          " 0 ", "20", " 0 ", "30", " 0 ", "0", "ENDSEC"}) +
    crlf({"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LTYPE", "70", " 1 ", "0", "LTYPE",
          "2", "CONTINUOUS", "70", " 0 ", "3", "Solid line", "72", " 65 ", "73", " 0 ", "40",
          " 0 ", "0", "ENDTAB"}) +
    crlf({"0", "TABLE", "2", "LAYER", "70", " 1 ", "0", "LAYER", "2", "0", "70", " 0 ", "62",
          " 7 ", "6", "CONTINUOUS", "0", "ENDTAB"}) +
    crlf({"0", "TABLE", "2", "STYLE", "70", " 1 ", "0", "STYLE", "2", "HZTXT", "70", " 0 ", "40",
          " 0 ", "41", " 1 ", "50", " 0 ", "71", " 0 ", "42", " 2.5 ", "3", "simsun.ttf", "4",
          "gbcbig.shx", "0", "ENDTAB", "0", "ENDSEC"});

class DxfWriterTest : public ::testing::Test {
  protected:
    void open(float scale, const char* name = "T.DXF") {
        w.WORKDIR = dir.path().string() + "/";
        w.SCALE = scale;
        w.PLOTST0("PLOT.DXF", 2, name);
    }
    // The entities written since the drawing was opened.
    std::string entities() const { return w.bytes().substr(kHead.size()); }

    TempDir dir;
    DxfWriter w;
};

TEST_F(DxfWriterTest, EmptyDrawingIsEightLines) {
    open(1.0f, "EMPTY.DXF");
    ASSERT_TRUE(w.PLOTEND());
    const std::string bytes = TempDir::read(dir.file("EMPTY.DXF"));
    EXPECT_EQ(bytes, kEmptyHeaderAndTables +
                         "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
    PROBE_DXF(probe, dir.file("EMPTY.DXF"));
    EXPECT_TRUE(probe.entities.empty());
}

TEST_F(DxfWriterTest, LineCoordinatesAreDividedByTheScale) {
    open(100.0f);
    w.LINE0(0, 0, 600, 300);
    EXPECT_EQ(entities(),
              crlf({"0", "LINE", "8", "0", "10", " 0 ", "20", " 0 ", "11", " 6 ", "21", " 3 "}));
}

TEST_F(DxfWriterTest, TextHeightIsNotDividedByTheScale) {
    open(100.0f);
    w.LAYER = "P-TEXT";
    EXPECT_EQ(w.TEXTC(600, 300, 3.5, 0, "L", "A1"), 2);
    EXPECT_EQ(entities(), crlf({"0", "TEXT", "8", "P-TEXT", "10", " 6 ", "20", " 3 ", "40", " 3.5 ",
                                "1", "A1"}));
}

TEST_F(DxfWriterTest, CircleRadiusIsDividedByTheScale) {
    open(10.0f);
    w.CIRCLE0(5, 10, 2.5);
    EXPECT_EQ(entities(),
              crlf({"0", "CIRCLE", "8", "0", "10", " .5 ", "20", " 1 ", "40", " .25 "}));
}

TEST_F(DxfWriterTest, NegativeValuesTakeTheSignPosition) {
    open(1.0f);
    w.LINE0(-0.5, -12, 1E-8, 123456789012.5);
    EXPECT_EQ(entities(), crlf({"0", "LINE", "8", "0", "10", "-.5 ", "20", "-12 ", "11", " 1E-08 ",
                                "21", " 123456789012.5 "}));
}

// Coordinates are double values: a model length in metres over a scale held
// in single precision (0.1 is 0.100000001490116) shows its 15 digits, while a
// polyline vertex is a single value and rounds back to 60.
TEST_F(DxfWriterTest, LineIsDoublePolylineIsSingle) {
    open(0.1f);
    w.LINE0(0, 0, 6, 0);
    w.PLINE2(0, 0, 6, 0, 0.25f);
    const std::string e = entities();
    EXPECT_NE(e.find("11\r\n 59.9999991059303 \r\n"), std::string::npos) << e;
    EXPECT_NE(e.find("VERTEX\r\n8\r\n0\r\n10\r\n 60 \r\n20\r\n 0 \r\n"), std::string::npos) << e;
    EXPECT_NE(e.find("40\r\n .25 \r\n41\r\n .25 \r\n"), std::string::npos) << e;
}

struct AlignmentCase {
    const char* code;
    const char* groups;  // what follows the text line
};

class TextAlignmentTest : public DxfWriterTest,
                          public ::testing::WithParamInterface<AlignmentCase> {};

TEST_P(TextAlignmentTest, GroupsOfTheJustificationCode) {
    open(1.0f);
    w.TEXTC(5, 2, 2, 0, GetParam().code, "X");
    const std::string head =
        crlf({"0", "TEXT", "8", "0", "10", " 5 ", "20", " 2 ", "40", " 2 ", "1", "X"});
    EXPECT_EQ(entities(), head + GetParam().groups) << "code '" << GetParam().code << "'";
}

INSTANTIATE_TEST_SUITE_P(
    AllCodes, TextAlignmentTest,
    ::testing::Values(AlignmentCase{" ", ""}, AlignmentCase{"L", ""},
                      AlignmentCase{"C", "72\r\n 1 \r\n11\r\n 5 \r\n21\r\n 2 \r\n"},
                      AlignmentCase{"R", "72\r\n 2 \r\n11\r\n 5 \r\n21\r\n 2 \r\n"},
                      AlignmentCase{"BL", "11\r\n 5 \r\n21\r\n 2 \r\n73\r\n 1 \r\n"},
                      AlignmentCase{"BC", "72\r\n 1 \r\n11\r\n 5 \r\n21\r\n 2 \r\n73\r\n 1 \r\n"},
                      AlignmentCase{"BR", "72\r\n 2 \r\n11\r\n 5 \r\n21\r\n 2 \r\n73\r\n 1 \r\n"},
                      AlignmentCase{"ML", "11\r\n 5 \r\n21\r\n 2 \r\n73\r\n 2 \r\n"},
                      AlignmentCase{"MC", "72\r\n 1 \r\n11\r\n 5 \r\n21\r\n 2 \r\n73\r\n 2 \r\n"},
                      AlignmentCase{"MR", "72\r\n 2 \r\n11\r\n 5 \r\n21\r\n 2 \r\n73\r\n 2 \r\n"},
                      AlignmentCase{"TL", "11\r\n 5 \r\n21\r\n 2 \r\n73\r\n 3 \r\n"},
                      AlignmentCase{"TC", "72\r\n 1 \r\n11\r\n 5 \r\n21\r\n 2 \r\n73\r\n 3 \r\n"},
                      AlignmentCase{"TR", "72\r\n 2 \r\n11\r\n 5 \r\n21\r\n 2 \r\n73\r\n 3 \r\n"},
                      AlignmentCase{"B", ""}, AlignmentCase{"M", ""}, AlignmentCase{"T", ""},
                      AlignmentCase{"XY", ""}, AlignmentCase{"TCR", ""}),
    [](const ::testing::TestParamInfo<AlignmentCase>& info) {
        // Test names must be alphanumeric: " " becomes "Blank".
        const std::string code = info.param.code;
        return code == " " ? std::string("Blank") : code;
    });

TEST_F(DxfWriterTest, StyleAndAngleGroupsOnlyWhenNotDefault) {
    open(1.0f);
    w.HZTEXTC(0, 0, 2, 90, "L", "A", "HZTXT");
    w.HZTEXTC(0, 0, 2, 0, "L", "B", "TXT");
    EXPECT_EQ(entities(),
              crlf({"0",  "TEXT", "8",  "0",     "10", " 0 ",  "20", " 0 ",  "40", " 2 ",
                    "1",  "A",    "7",  "HZTXT", "50", " 90 ", "0",  "TEXT", "8",  "0",
                    "10", " 0 ",  "20", " 0 ",   "40", " 2 ",  "1",  "B"}));
}

// 结 BDE1, 构 B9B9, 简 BCF2, 图 CDBC in code page 936.
TEST_F(DxfWriterTest, ChineseTitleIsWrittenInGbk) {
    open(1.0f);
    EXPECT_EQ(w.HZTEXTC(0, 0, 3.5, 0, "L", "结构简图", "HZTXT"), 4);
    EXPECT_EQ(entities(),
              "0\r\nTEXT\r\n8\r\n0\r\n10\r\n 0 \r\n20\r\n 0 \r\n40\r\n 3.5 \r\n1\r\n"
              "\xBD\xE1\xB9\xB9\xBC\xF2\xCD\xBC\r\n7\r\nHZTXT\r\n");
}

TEST_F(DxfWriterTest, PolylineOfWidthZero) {
    open(100.0f);
    w.PLINE2(100, 200, 300, -200, 0.0f);
    EXPECT_EQ(entities(),
              crlf({"0",   "POLYLINE", "8",   "0",   "66",     "1",      "10",     "0.0", "20",
                    "0.0", "40",       " 0 ", "41",  " 0 ",    "0",      "VERTEX", "8",   "0",
                    "10",  " 1 ",      "20",  " 2 ", "0",      "VERTEX", "8",      "0",   "10",
                    " 4 ", "20",       " 0 ", "0",   "SEQEND", "8",      "0"}));
}

TEST_F(DxfWriterTest, PolylineOfThreeVertices) {
    open(2.0f);
    const float x[] = {0, 2, 4};
    const float y[] = {1, 3, 1};
    w.LAYER = "M";
    w.PLINE(3, x, y, 0.5f);
    EXPECT_EQ(entities(),
              crlf({"0",  "POLYLINE", "8",  "M",      "66", "1",      "10", "0.0",  "20", "0.0",
                    "40", " .5 ",     "41", " .5 ",   "0",  "VERTEX", "8",  "M",    "10", " 0 ",
                    "20", " .5 ",     "0",  "VERTEX", "8",  "M",      "10", " 1 ",  "20", " 1.5 ",
                    "0",  "VERTEX",   "8",  "M",      "10", " 2 ",    "20", " .5 ", "0",  "SEQEND",
                    "8",  "M"}));
}

TEST_F(DxfWriterTest, NumberTextsRoundHalfUpAtTheThirdDecimal) {
    open(1.0f);
    w.TEXTR(0, 0, 2, 0, "L", -0.0004);
    w.TEXTR(0, 0, 2, 0, "L", 12.3456);
    w.TEXTR(0, 0, 2, 0, "L", 2.5);
    w.TEXTR(0, 0, 2, 0, "L", 0.5);
    w.TEXTR(0, 0, 2, 0, "L", 0.0625);  // 62.5 + 0.5 = 63 -> .063, half up
    const std::string text =
        crlf({"0", "TEXT", "8", "0", "10", " 0 ", "20", " 0 ", "40", " 2 ", "1"});
    EXPECT_EQ(entities(), text + "0\r\n" + text + "12.346\r\n" + text + "2.5\r\n" + text +
                              "0.5\r\n" + text + "0.063\r\n");
}

TEST_F(DxfWriterTest, NumberTextInFileFormatLosesItsSignBlank) {
    open(1.0f);
    EXPECT_EQ(w.TEXTN(0, 0, 2, 0, "L", 0.5f), 2);
    EXPECT_EQ(w.TEXTN(0, 0, 2, 0, "L", -3.0f), 2);
    const std::string text =
        crlf({"0", "TEXT", "8", "0", "10", " 0 ", "20", " 0 ", "40", " 2 ", "1"});
    EXPECT_EQ(entities(), text + ".5\r\n" + text + "-3\r\n");
}

TEST(DxfFileName, LastFourCharactersBecomeDxf) {
    EXPECT_EQ(dxfFileName("DLOAD_M.fkn"), "DLOAD_M.DXF");
    EXPECT_EQ(dxfFileName("WLOADMVN.fkn"), "WLOADMVN.DXF");
    EXPECT_EQ(dxfFileName("PLOT.DXF"), "PLOT.DXF");
    EXPECT_EQ(dxfFileName("EX1.TVL"), "EX1.DXF");
    EXPECT_EQ(dxfFileName("框架一.TVL"), "框架一.DXF");  // characters, not bytes
    EXPECT_EQ(dxfFileName("AB"), ".DXF");
    EXPECT_EQ(replaceLastFour("AS.ags", ".ags"), "AS.ags");
}

TEST_F(DxfWriterTest, OpeningNamesTheDrawingAndLogsIt) {
    RecordingHost host;
    w.WORKDIR = dir.path().string() + "/";
    w.SCALE = 0.0f;
    w.LAYER = "M";
    w.PLOTST("PLOT.DXF", 2, "EX1.TVL", host);
    EXPECT_EQ(w.DXFFILE, "EX1.DXF");
    EXPECT_EQ(w.SCALE, 1.0f);
    EXPECT_EQ(w.LAYER, "0");
    ASSERT_EQ(host.logLines.size(), 1u);
    EXPECT_EQ(host.logLines[0], "图形交互文件名： EX1.DXF");
    ASSERT_TRUE(w.PLOTEND());
    PROBE_DXF(probe, dir.file("EX1.DXF"));
    EXPECT_TRUE(probe.entities.empty());
}

TEST_F(DxfWriterTest, OpeningAgainReplacesTheOldDrawing) {
    open(1.0f, "A.DXF");
    w.LINE0(0, 0, 1, 1);
    ASSERT_TRUE(w.PLOTEND());
    open(1.0f, "A.DXF");
    ASSERT_TRUE(w.PLOTEND());
    EXPECT_EQ(TempDir::read(dir.file("A.DXF")), kEmptyHeaderAndTables + kHead + kTail);
    PROBE_DXF(probe, dir.file("A.DXF"));
    EXPECT_TRUE(probe.entities.empty());
}

// Polyline vertices and widths are written as printed Singles; one beyond
// what a reader takes (a coordinate of 1.2E+30 from a damaged AS.ags, found
// by fuzzing) keeps the drawing from being written, like any other number.
TEST_F(DxfWriterTest, PolylineBeyondTheReadableRangeIsNotWritten) {
    const float huge[] = {1.25e30f, 1.0f};
    const float small[] = {0.0f, 1.0f};
    for (int kind = 0; kind < 3; ++kind) {
        open(1.0f);
        if (kind == 0) w.PLINE(2, small, huge, 0.5f);
        if (kind == 1) w.PLINE(2, huge, small, 0.5f);
        if (kind == 2) w.PLINE(2, small, small, 2e30f);
        std::string error;
        EXPECT_FALSE(w.PLOTEND(&error)) << kind;
        EXPECT_EQ(error, "图形中有超出范围的坐标或尺寸(结果文件中的数值可能有误),没有写入图形文件");
        EXPECT_FALSE(std::filesystem::exists(dir.file("T.DXF"))) << kind;
    }
    open(1.0f);
    w.PLINE(2, small, small, 0.5f);
    EXPECT_TRUE(w.PLOTEND());
}

TEST_F(DxfWriterTest, FailedWriteLeavesNoFile) {
    w.WORKDIR = dir.path().string() + "/missing/";
    w.SCALE = 1.0f;
    w.PLOTST0("PLOT.DXF", 2, "X.DXF");
    w.LINE0(0, 0, 1, 1);
    std::string error;
    EXPECT_FALSE(w.PLOTEND(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing/X.DXF")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(DxfHelpers, PackcharTrimsBlanksAndCountsCharacters) {
    std::string s = "  12.5 ";
    EXPECT_EQ(PACKCHAR(s), 4);
    EXPECT_EQ(s, "12.5");
    std::string c = " 结构 ";
    EXPECT_EQ(PACKCHAR(c), 2);
    EXPECT_EQ(c, "结构");
    std::string blank = "   ";
    EXPECT_EQ(PACKCHAR(blank), 0);
    EXPECT_EQ(blank, "");
}

TEST(DxfHelpers, LocalPointTurnsWithTheAxis) {
    float x = 0.0f;
    float y = 0.0f;
    XYTOXY(1, 2, 3, 4, 0, 1, x, y);  // u upwards, v to the left
    EXPECT_EQ(x, -3.0f);
    EXPECT_EQ(y, 5.0f);
    XYTOXY(1, 2, 3, 4, 1, 0, x, y);  // u to the right, v upwards
    EXPECT_EQ(x, 4.0f);
    EXPECT_EQ(y, 6.0f);
}

TEST(DxfHelpers, ExchangeSortAscending) {
    Table<float, 70> a;
    const float values[] = {3.5f, -1.0f, 2.0f, -1.0f, 0.0f};
    for (int i = 1; i <= 5; ++i) a(i) = values[i - 1];
    a(6) = -99.0f;  // beyond N: untouched
    CHANGE(a, 5);
    EXPECT_EQ(a(1), -1.0f);
    EXPECT_EQ(a(2), -1.0f);
    EXPECT_EQ(a(3), 0.0f);
    EXPECT_EQ(a(4), 2.0f);
    EXPECT_EQ(a(5), 3.5f);
    EXPECT_EQ(a(6), -99.0f);
}

// The arrow head is 1.2 drawing units wide at any scale and 0.3 (thin) or
// 0.35 (wide) of the arrow long; the shaft lies on the local v axis.
TEST_F(DxfWriterTest, ArrowsReadBackWithTheirGeometry) {
    open(0.5f, "ARROW.DXF");
    w.ARROR(1, 1, 1, 0, 2);   // tip (2,2) drawing units, shaft up to (2,6)
    w.ARROR1(0, 0, 0, 1, 4);  // u up, so the shaft points to the left: to (-8,0)
    ASSERT_TRUE(w.PLOTEND());
    PROBE_DXF(probe, dir.file("ARROW.DXF"));
    const auto lines = probe.all("LINE");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_DOUBLE_EQ(lines[0]->v[2], 2.0);
    EXPECT_DOUBLE_EQ(lines[0]->v[3], 6.0);
    EXPECT_NEAR(lines[1]->v[2], 2.6, 1e-6);
    EXPECT_NEAR(lines[1]->v[3], 3.2, 1e-6);
    EXPECT_NEAR(lines[2]->v[2], 1.4, 1e-6);
    EXPECT_NEAR(lines[2]->v[3], 3.2, 1e-6);
    EXPECT_EQ(probe.polylines("0", 0.5), 1);
    EXPECT_EQ(probe.polylines("0", 0.3), 2);
    const auto wide = probe.all("POLYLINE");
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_NEAR(wide[0]->v[4], -8.0, 1e-6);  // shaft end x
    EXPECT_NEAR(wide[1]->v[4], -2.8, 1e-6);  // barb at 0.35·8 along v
    EXPECT_NEAR(wide[1]->v[5], 0.6, 1e-6);
    EXPECT_NEAR(wide[2]->v[5], -0.6, 1e-6);
}

TEST_F(DxfWriterTest, EveryEntityReadsBackThroughAnIndependentReader) {
    open(10.0f, "ALL.DXF");
    w.LAYER = "P-DIM";
    w.LINE0(0, 0, 60, 30);
    w.CIRCLE0(10, 10, 5);
    w.HZTEXTC(50, 20, 3.5, 0, "C", "结构简图", "HZTXT");
    w.TEXTC(50, 20, 2, 89.36, "TR", "0.25X0.5");
    w.TEXTR(0, 0, 2, 0, "BL", 4.5);
    w.LAYER = "0";
    w.PLINE2(0, 0, 40, 0, 0.5f);
    ASSERT_TRUE(w.PLOTEND());

    PROBE_DXF(probe, dir.file("ALL.DXF"));
    ASSERT_EQ(probe.entities.size(), 6u);
    EXPECT_EQ(probe.count("LINE", "P-DIM"), 1);
    EXPECT_EQ(probe.count("CIRCLE", "P-DIM"), 1);
    EXPECT_EQ(probe.count("TEXT", "P-DIM"), 3);
    EXPECT_EQ(probe.polylines("0", 0.5), 1);
    const ProbeEntity* title = probe.text("结构简图", "P-DIM");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->style, "HZTXT");
    EXPECT_DOUBLE_EQ(title->v[0], 3.5);  // height
    EXPECT_EQ(title->v[2], 1);           // centred
    EXPECT_DOUBLE_EQ(title->v[4], 5.0);
    EXPECT_DOUBLE_EQ(title->v[5], 2.0);
    const ProbeEntity* section = probe.text("0.25X0.5");
    ASSERT_NE(section, nullptr);
    EXPECT_DOUBLE_EQ(section->v[1], 89.36);
    EXPECT_EQ(section->v[2], 2);
    EXPECT_EQ(section->v[3], 3);
    ASSERT_NE(probe.text("4.5"), nullptr);
    EXPECT_EQ(probe.text("4.5")->v[3], 1);

    // Declared without hints: GBK code page, the two layers used (in the
    // order of first use after layer 0) with their colours, the Chinese
    // style, and extents over the line (0,0)-(6,3), the circle (1,1) r .5,
    // the texts at (5,2) and (0,0) and the polyline (0,0)-(4,0).
    ASSERT_EQ(probe.header.size(), 7u);
    EXPECT_EQ(probe.header[0], "AC1009");
    EXPECT_EQ(probe.header[1], "ANSI_936");
    EXPECT_EQ(probe.header[2], "gbk");
    EXPECT_DOUBLE_EQ(std::stod(probe.header[3]), 0.0);
    EXPECT_DOUBLE_EQ(std::stod(probe.header[4]), 0.0);
    EXPECT_DOUBLE_EQ(std::stod(probe.header[5]), 6.0);
    EXPECT_DOUBLE_EQ(std::stod(probe.header[6]), 3.0);
    ASSERT_GE(probe.layers.size(), 2u);
    EXPECT_EQ(probe.layers[0].name, "0");
    EXPECT_EQ(probe.layers[1].name, "P-DIM");
    EXPECT_EQ(probe.layers[1].colour, 8);
    EXPECT_EQ(probe.layers[1].linetype, "CONTINUOUS");
    ASSERT_FALSE(probe.styles.empty());
    EXPECT_EQ(probe.styles[0], (std::vector<std::string>{"HZTXT", "simsun.ttf", "gbcbig.shx"}));
}

}  // namespace
}  // namespace tarvel
