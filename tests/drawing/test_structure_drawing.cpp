// Protects the structure diagram: members, supports, section and node labels, dimension chains,
// title, reader limits.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "drawing/drawing_fixture.h"

namespace tarvel {
namespace {

using testing::DrawingTest;
using testing::ProbeEntity;

constexpr double kTol = 1e-4;  // drawing units; model metres over a single-precision scale

bool near(double a, double b) { return std::fabs(a - b) < kTol; }

class StructureDrawingTest : public DrawingTest {};

TEST_F(StructureDrawingTest, TwoBayFrameReadsBackWithAllItsParts) {
    write("FRAME.TVL", testing::twoBayFrameFile());
    window.TxtName = "FRAME.TVL";
    ASSERT_TRUE(window.drawStructure());
    EXPECT_EQ(window.dxf.DXFFILE, "FRAME.DXF");
    EXPECT_EQ(host.logClears, 1);
    const std::vector<std::string> log = {"图形交互程序运行过程：",
                                          "1,WEIGHT",
                                          "系统提示：没找到 'WEIGHT' 数据段！",
                                          "图形交互文件名： FRAME.DXF",
                                          "1,LLOAD",
                                          "系统提示：没找到 'LLOAD' 数据段！",
                                          "1,WLOAD",
                                          "系统提示：没找到 'WLOAD' 数据段！"};
    EXPECT_EQ(host.logLines, log);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "图形交互文件建立完毕！");
    EXPECT_EQ(host.messages[0].title, "提示！");
    EXPECT_EQ(host.messages[0].icon, Icon::Information);

    PROBE_DXF(probe, dir.file("FRAME.DXF"));
    // Ten member axes; a fixed bar, a pinned base and the title line are the heavy ones.
    EXPECT_EQ(probe.polylines("0", 0.25), 10);
    EXPECT_EQ(probe.polylines("0", 0.5), 3);
    EXPECT_EQ(probe.count("LINE", "0"), 2);    // the pinned support's triangle
    EXPECT_EQ(probe.count("CIRCLE", "0"), 1);  // its hinge

    std::vector<std::string> nodes = probe.texts("P-TEXT");
    const std::vector<std::string> expectedNodes = {"1(0,0,0)",    "2(0,0,1)",    "3(0,2,0)",
                                                    "4(3,4,5)",    "5(3,6,7)",    "6(3,8,9)",
                                                    "7(10,11,12)", "8(10,13,14)", "9(10,15,16)"};
    EXPECT_EQ(nodes, expectedNodes);
    const ProbeEntity* node6 = probe.text("6(3,8,9)");
    EXPECT_TRUE(near(node6->v[4], 106.0) && near(node6->v[5], 43.0));  // (X + S, Y + S)
    EXPECT_EQ(node6->v[2], 0);                                         // left aligned

    const auto sections = probe.all("TEXT", "SEC-TEXT");
    ASSERT_EQ(sections.size(), 10u);
    for (int m = 0; m < 4; ++m) {
        EXPECT_EQ(sections[m]->text, "0.25X0.5");
        EXPECT_EQ(sections[m]->v[1], 0.0);
    }
    for (int m = 4; m < 10; ++m) {
        EXPECT_EQ(sections[m]->text, "0.4X0.4");
        EXPECT_NEAR(sections[m]->v[1], 89.36, 0.005);
    }
    // Below the middle of beam 1, centred on it and hanging from the line.
    EXPECT_TRUE(near(sections[0]->v[6], 30.0) && near(sections[0]->v[7], 41.0));
    EXPECT_EQ(sections[0]->v[2], 1);
    EXPECT_EQ(sections[0]->v[3], 3);

    // Dimension chains: three ticks each, spans 6, 4.5 and 4.2, 3.3.
    const std::vector<std::string> dims = {"6", "4.5", "4.2", "3.3", "结构简图"};
    EXPECT_EQ(probe.texts("P-DIM"), dims);
    EXPECT_EQ(probe.polylines("P-DIM", 0.5), 6);
    EXPECT_EQ(probe.count("LINE", "P-DIM"), 8);
    const ProbeEntity* six = probe.text("6", "P-DIM");
    EXPECT_TRUE(near(six->v[4], 30.0) &&
                near(six->v[5], -8.0));  // above the chain 9 units below the frame
    const ProbeEntity* storey = probe.text("4.2", "P-DIM");
    EXPECT_TRUE(near(storey->v[4], -10.0) && near(storey->v[5], 21.0));
    EXPECT_EQ(storey->v[1], 90.0);

    const ProbeEntity* title = probe.text("结构简图", "P-DIM");
    EXPECT_EQ(title->style, "HZTXT");
    EXPECT_TRUE(near(title->v[4], 52.5) && near(title->v[5], -16.0));
    const ProbeEntity* name = probe.text("文件名：FRAME.TVL", "0");
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(near(name->v[4], 52.5) && near(name->v[5], -22.0));
    EXPECT_EQ(name->v[0], 3.5);

    EXPECT_EQ(probe.texts("DLOAD"), (std::vector<std::string>{" ", "20"}));
    EXPECT_EQ(probe.count("TEXT", "LLOAD"), 0);
}

TEST_F(StructureDrawingTest, SupportSymbolsFollowTheRestrainedDisplacements) {
    // Nodes 3..6 carry one support each; node 1 and 2 are free.
    write("S.TVL",
          testing::sectionsAndConcrete() +
              "POINT\r\n 1 1 2 3 0 5 \r\n 2 1 4 6 10 5 \r\n"
              " 3 0 0 0 0 0 \r\n 4 0 0 7 10 0 \r\n 5 0 8 9 20 0 \r\n 6 10 0 11 30 0 \r\n\r\n"
              "BEAM\r\n 1 2 1 1 \r\n\r\nCOLUMN\r\n 3 1 2 1 0 \r\n 4 2 2 1 0 \r\n\r\n");
    window.TxtName = "S.TVL";
    window.CboScale = "1000";  // 1:1000, SCALE = 1: drawing units are metres here
    ASSERT_TRUE(window.Drawfm());
    PROBE_DXF(probe, dir.file("S.DXF"));

    std::vector<const ProbeEntity*> heavy;
    for (const ProbeEntity* p : probe.all("POLYLINE", "0")) {
        if (p->v[0] == 0.5) heavy.push_back(p);
    }
    ASSERT_EQ(heavy.size(), 5u);  // fixed, pinned, two links, title line
    const std::vector<double> fixed = {0.5, 2, -2, 0, 2, 0};  // 4-unit bar through the node
    const std::vector<double> pinnedBase = {0.5, 2, 8, -2, 12, -2};
    const std::vector<double> wall = {0.5, 2,  15,
                                      -2,  15, 2};  // horizontal link to a wall on the left
    const std::vector<double> ground = {0.5, 2, 28, -5, 32, -5};  // vertical link to the ground
    EXPECT_EQ(heavy[0]->v, fixed);
    EXPECT_EQ(heavy[1]->v, pinnedBase);
    EXPECT_EQ(heavy[2]->v, wall);
    EXPECT_EQ(heavy[3]->v, ground);

    const auto lines = probe.all("LINE", "0");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]->v, (std::vector<double>{9, -2, 10, 0}));
    EXPECT_EQ(lines[1]->v, (std::vector<double>{10, 0, 11, -2}));
    EXPECT_EQ(lines[2]->v, (std::vector<double>{16, 0, 19.5, 0}));
    EXPECT_EQ(lines[3]->v, (std::vector<double>{30, -0.5, 30, -4}));
    const auto circles = probe.all("CIRCLE", "0");
    ASSERT_EQ(circles.size(), 5u);
    EXPECT_EQ(circles[0]->v, (std::vector<double>{10, 0, 0.5}));
    EXPECT_EQ(circles[1]->v, (std::vector<double>{20, 0, 0.5}));
    EXPECT_EQ(circles[2]->v, (std::vector<double>{15.5, 0, 0.5}));
    EXPECT_EQ(circles[4]->v, (std::vector<double>{30, -4.5, 0.5}));
}

TEST_F(StructureDrawingTest, MissingMandatorySegmentStopsBeforeDrawing) {
    write("NOCOL.TVL", testing::sectionsAndConcrete() +
                           "POINT\r\n 1 0 0 0 0 0 \r\n 2 1 2 3 0 3 \r\n\r\n"
                           "BEAM\r\n 1 2 1 1 \r\n\r\n");
    window.TxtName = "NOCOL.TVL";
    EXPECT_FALSE(window.Drawfm());
    ASSERT_GE(host.logLines.size(), 3u);
    EXPECT_EQ(host.logLines[host.logLines.size() - 3], "1,COLUMN");
    EXPECT_EQ(host.logLines[host.logLines.size() - 2], "致命的错误：找不到 'COLUMN' 数据段！");
    EXPECT_EQ(host.logLines.back(),
              "错误信息:数据文件 '" + dir.file("NOCOL.TVL") + "' 读入有错,计算简图没有画出！");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(exists("NOCOL.DXF"));
    EXPECT_EQ(fileCount(), 1);
}

TEST_F(StructureDrawingTest, MissingDataFileIsReported) {
    window.TxtName = "NONE.TVL";
    EXPECT_FALSE(window.Drawfm());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "错误信息提示！");
    EXPECT_EQ(fileCount(), 0);
}

TEST_F(StructureDrawingTest, HighGradeIsUnknownToThisWindowButDrawn) {
    std::string file = testing::portalFile("");
    file.replace(file.find(" 30 "), 4, " 70 ");
    write("C70.TVL", file);
    window.TxtName = "C70.TVL";
    ASSERT_TRUE(window.Drawfm());
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text.rfind("错误信息:没有找到混凝土强度等级 C70('CONCRATE' 数据段第 1 条记录", 0),
              0u);
    EXPECT_EQ(host.messages[0].title, "错误信息提示！");
    EXPECT_EQ(host.messages[1].text, "图形交互文件建立完毕！");
    PROBE_DXF(probe, dir.file("C70.DXF"));
    EXPECT_EQ(probe.polylines("0", 0.25), 3);
}

TEST_F(StructureDrawingTest, MoreThanSeventyDistinctXIsRefusedBeforeDrawing) {
    std::string points = "POINT\r\n";
    for (int n = 1; n <= 71; ++n)
        points += " " + std::to_string(n) + " 0 0 0 " + std::to_string(n) + " 0 \r\n";
    points += " 72 1 2 3 1 3 \r\n\r\n";
    write("WIDE.TVL", testing::sectionsAndConcrete() + points +
                          "BEAM\r\n 1 2 1 1 \r\n\r\nCOLUMN\r\n 1 72 2 1 0 \r\n\r\n");
    window.TxtName = "WIDE.TVL";
    EXPECT_FALSE(window.Drawfm());
    const std::string text =
        "超出图形交互程序极限，请重新调整数据！！！ 不同的节点X坐标：71个（最多70个）。";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, text);
    EXPECT_EQ(host.logLines.back(), text);
    EXPECT_EQ(fileCount(), 1);

    // Seventy are drawn.
    points = "POINT\r\n";
    for (int n = 1; n <= 70; ++n)
        points += " " + std::to_string(n) + " 0 0 0 " + std::to_string(n) + " 0 \r\n";
    points += " 71 1 2 3 1 3 \r\n\r\n";
    write("WIDE.TVL", testing::sectionsAndConcrete() + points +
                          "BEAM\r\n 1 2 1 1 \r\n\r\nCOLUMN\r\n 1 71 2 1 0 \r\n\r\n");
    ASSERT_TRUE(window.Drawfm());
    PROBE_DXF(probe, dir.file("WIDE.DXF"));
    EXPECT_EQ(probe.polylines("P-DIM", 0.5), 70 + 2);  // 69 spans across, one up
}

TEST_F(StructureDrawingTest, NodesOutOfOrderAndGapsAreAllLabelled) {
    write("GAP.TVL", testing::sectionsAndConcrete() +
                         "POINT\r\n 4 1 2 3 0 3 \r\n 1 0 0 0 0 0 \r\n\r\n"
                         "BEAM\r\n\r\nCOLUMN\r\n 1 4 2 1 0 \r\n\r\n");
    window.TxtName = "GAP.TVL";
    ASSERT_TRUE(window.Drawfm());
    PROBE_DXF(probe, dir.file("GAP.DXF"));
    EXPECT_EQ(probe.texts("P-TEXT"),
              (std::vector<std::string>{"1(0,0,0)", "2(0,0,0)", "3(0,0,0)", "4(1,2,3)"}));
    // A single X value: no horizontal chain; the vertical one has the span 3.
    EXPECT_EQ(probe.texts("P-DIM"), (std::vector<std::string>{"3", "结构简图"}));
    EXPECT_EQ(probe.polylines("P-DIM", 0.5), 2);
}

// At 1:1000 (S = 1) a label is estimated (2·max(3, ln(1000·s)) + 1) units
// wide: 14.8 for a span of 1, 20.8 for a span of 20 (ln 20000 = 9.90). The
// even-numbered spans narrower than that drop 3 units below (or right of)
// the chain; the others stand 1 unit above (or left of) it.
TEST_F(StructureDrawingTest, CrowdedDimensionLabelsAlternate) {
    write("DIM.TVL", testing::sectionsAndConcrete() +
                         "POINT\r\n 1 0 0 0 0 0 \r\n 2 1 2 3 1 0 \r\n 3 4 5 6 21 0 \r\n"
                         " 4 7 8 9 22 0 \r\n 5 10 11 12 0 1 \r\n 6 13 14 15 0 2 \r\n\r\n"
                         "BEAM\r\n 1 2 1 1 \r\n 2 3 1 1 \r\n 3 4 1 1 \r\n\r\n"
                         "COLUMN\r\n 1 5 2 1 0 \r\n 5 6 2 1 0 \r\n\r\n");
    window.TxtName = "DIM.TVL";
    window.CboScale = "1000";
    ASSERT_TRUE(window.Drawfm());
    PROBE_DXF(probe, dir.file("DIM.DXF"));
    const auto labels = probe.all("TEXT", "P-DIM");
    ASSERT_EQ(labels.size(), 6u);
    // Horizontal chain on y = -9: spans 1, 20, 1.
    const double horizontal[3][3] = {{1, 0.5, -8}, {20, 11, -12}, {1, 21.5, -8}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(labels[i]->text, horizontal[i][0] == 1 ? "1" : "20");
        EXPECT_EQ(labels[i]->v[4], horizontal[i][1]) << i;
        EXPECT_EQ(labels[i]->v[5], horizontal[i][2]) << i;
        EXPECT_EQ(labels[i]->v[1], 0.0);
    }
    // Vertical chain on x = -9: spans 1, 1.
    EXPECT_EQ(labels[3]->v[4], -10.0);
    EXPECT_EQ(labels[3]->v[5], 0.5);
    EXPECT_EQ(labels[4]->v[4], -6.0);
    EXPECT_EQ(labels[4]->v[5], 1.5);
    EXPECT_EQ(labels[4]->v[1], 90.0);
}

TEST_F(StructureDrawingTest, ScaleBoxSetsTheDrawingScale) {
    write("P.TVL", testing::portalFile(""));
    window.TxtName = "P.TVL";
    window.CboScale = "50";
    ASSERT_TRUE(window.Drawfm());
    EXPECT_FLOAT_EQ(window.dxf.SCALE, 0.05f);
    PROBE_DXF(probe, dir.file("P.DXF"));
    const ProbeEntity* node2 = probe.text("2(1,4,5)");
    ASSERT_NE(node2, nullptr);
    EXPECT_TRUE(near(node2->v[4], 121.0) && near(node2->v[5], 61.0));
}

// One load case alone: its own drawing named after the case, with that
// case's layer only; all three stay the default.
TEST_F(StructureDrawingTest, OneLoadCaseAlone) {
    write("FRAME.TVL", testing::twoBayFrameFile() +
                           "LLOAD\r\n 2  2  8  0 -1 \r\n\r\nWLOAD\r\n 5  1  3.5  2  0 \r\n\r\n");
    window.TxtName = "FRAME.TVL";
    window.frameCase = 2;
    ASSERT_TRUE(window.drawStructure());
    EXPECT_EQ(window.dxf.DXFFILE, "FRAME_LLOAD.DXF");
    PROBE_DXF(live, dir.file("FRAME_LLOAD.DXF"));
    EXPECT_EQ(live.texts("LLOAD"), (std::vector<std::string>{" ", "8"}));
    EXPECT_EQ(live.layer("DLOAD"), nullptr);
    EXPECT_EQ(live.layer("WLOAD"), nullptr);
    EXPECT_FALSE(exists("FRAME.DXF"));

    window.frameCase = 0;
    ASSERT_TRUE(window.drawStructure());
    PROBE_DXF(all, dir.file("FRAME.DXF"));
    EXPECT_EQ(all.texts("DLOAD"), (std::vector<std::string>{" ", "20"}));
    EXPECT_EQ(all.texts("LLOAD"), (std::vector<std::string>{" ", "8"}));
    EXPECT_EQ(all.texts("WLOAD"), (std::vector<std::string>{" ", "3.5"}));
}

}  // namespace
}  // namespace tarvel
