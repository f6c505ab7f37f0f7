// Protects the internal-force diagrams: names, ordinate factors and sides, labels, titles,
// failures, flag reset.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "drawing/drawing_fixture.h"

namespace tarvel {
namespace {

using testing::DrawingTest;
using testing::ProbeEntity;
using testing::ProbeResult;

// Two members written by hand: a beam from (0, 3) to (8, 3) with a hogging
// end moment of 30, a sagging 40 at mid-span and a shear of 20 at its ends;
// a column from (0, 0) to (0, 3) with an axial force of -50 (compression).
const std::string kForces =
    " 2  40  20  50 \r\n"
    " 0  3  8  3 \r\n"
    "-30  20  2 \r\n-5  15  2 \r\n 10  10  2 \r\n 20  5  2 \r\n 40  0  2 \r\n"
    " 20 -5  2 \r\n 10 -10  2 \r\n-5 -15  2 \r\n-30 -20  2 \r\n"
    " 0  0  0  3 \r\n"
    " 10  4 -50 \r\n 8.75  4 -50 \r\n 7.5  4 -50 \r\n 6.25  4 -50 \r\n 5  4 -50 \r\n"
    " 3.75  4 -50 \r\n 2.5  4 -50 \r\n 1.25  4 -50 \r\n 0  4 -50 \r\n";

bool near(double a, double b, double tol = 1e-4) { return std::fabs(a - b) < tol; }

const ProbeEntity* lineFrom(const ProbeResult& p, const std::string& layer, double x, double y) {
    for (const ProbeEntity* e : p.all("LINE", layer)) {
        if (near(e->v[0], x) && near(e->v[1], y)) return e;
    }
    return nullptr;
}

class ForceDrawingTest : public DrawingTest {
  protected:
    void choose(const char* loadType, int box) {
        window.selectLoadType(loadType);
        if (box == 1) window.setDrawMoments(true);
        if (box == 2) window.setDrawShears(true);
        if (box == 3) window.setDrawAxialForces(true);
    }
};

// At 1:1000 the drawing units are metres: the largest moment (40) is drawn
// exactly H = 20 units from the axis, below the beam; the shear of +20 above it.
TEST_F(ForceDrawingTest, LargestMomentIsHUnitsBelowTheBeam) {
    write("DLOAD.fkn", kForces);
    window.CboScale = "1000";
    choose("恒载", 1);
    ASSERT_TRUE(window.drawForceDiagrams());
    EXPECT_EQ(window.dxf.DXFFILE, "DLOAD_M.DXF");
    EXPECT_EQ(host.logLines,
              (std::vector<std::string>{"图形交互程序运行过程：", "图形交互文件名： DLOAD_M.DXF"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "图形交互文件建立完毕！");
    EXPECT_EQ(host.messages[0].title, "提示！");

    PROBE_DXF(p, dir.file("DLOAD_M.DXF"));
    const ProbeEntity* mid = lineFrom(p, "M", 4, 3);
    ASSERT_NE(mid, nullptr);
    EXPECT_EQ(mid->v, (std::vector<double>{4, 3, 4, -17}));
    EXPECT_EQ(lineFrom(p, "M", 0, 3)->v, (std::vector<double>{0, 3, 0, 18}));  // hogging end above
    EXPECT_EQ(p.count("LINE", "M"), 2 * (9 + 8));
    EXPECT_EQ(p.count("LINE", "V"), 0);
    // Labels of absolute values: ends and, outside the diagram, the middle.
    const auto labels = p.all("TEXT", "M");
    ASSERT_EQ(labels.size(), 8u);
    EXPECT_EQ(labels[0]->text, "30");
    EXPECT_TRUE(near(labels[0]->v[4], 1) && near(labels[0]->v[5], 19));
    EXPECT_EQ(labels[1]->text, "40");
    EXPECT_TRUE(near(labels[1]->v[6], 4) && near(labels[1]->v[7], -20));
    EXPECT_EQ(labels[2]->text, "30");
    EXPECT_TRUE(near(labels[2]->v[6], 7) && near(labels[2]->v[7], 19));
    EXPECT_EQ(labels[2]->v[2], 2);
    // The column's labels stand at 89.36°, not 90°.
    for (int i = 3; i < 6; ++i) EXPECT_NEAR(labels[i]->v[1], 89.36, 0.005) << labels[i]->text;
    EXPECT_EQ(labels[3]->text, "10");
    EXPECT_EQ(labels[5]->text, "0");
    EXPECT_EQ(labels[6]->text, "恒载弯矩图");
    EXPECT_EQ(labels[7]->text, "单位：KN-m");
}

TEST_F(ForceDrawingTest, PositiveShearIsAboveTheBeam) {
    write("DLOAD.fkn", kForces);
    window.CboScale = "1000";
    window.CboAlf = "10";
    choose("恒载", 2);
    ASSERT_TRUE(window.Drawfc());
    PROBE_DXF(p, dir.file("DLOAD_V.DXF"));
    EXPECT_EQ(lineFrom(p, "V", 0, 3)->v, (std::vector<double>{0, 3, 0, 13}));
    EXPECT_EQ(lineFrom(p, "V", 8, 3)->v, (std::vector<double>{8, 3, 8, -7}));
    // Column shear 4 of 20: 2 units on its left-hand side (towards -X).
    EXPECT_EQ(lineFrom(p, "V", 0, 0)->v, (std::vector<double>{0, 0, -2, 0}));
    EXPECT_EQ(p.text("恒载剪力图", "V")->style, "HZTXT");
}

// At the default 1:100 the scale is the single value 0.1: the ordinate of the
// largest moment is H = 20 units to single precision.
TEST_F(ForceDrawingTest, EmptyBoxesGiveOneToHundredAndTwenty) {
    write("LLOAD.fkn", kForces);
    choose("活载", 1);
    ASSERT_TRUE(window.Drawfc());
    EXPECT_FLOAT_EQ(window.dxf.SCALE, 0.1f);
    EXPECT_EQ(window.dxf.DXFFILE, "LLOAD_M.DXF");
    PROBE_DXF(p, dir.file("LLOAD_M.DXF"));
    const ProbeEntity* mid = lineFrom(p, "M", 40, 30);
    ASSERT_NE(mid, nullptr);
    EXPECT_NEAR(mid->v[1] - mid->v[3], 20.0, 1e-5);
    EXPECT_NE(p.text("文件名：LLOAD.fkn", "0"), nullptr);
    EXPECT_NE(p.text("活载弯矩图", "M"), nullptr);
}

TEST_F(ForceDrawingTest, WindAxialForceTitleOnLayerN) {
    write("WLOAD.fkn", kForces);
    choose("风载", 3);
    ASSERT_TRUE(window.drawForceDiagrams());
    PROBE_DXF(p, dir.file("WLOAD_N.DXF"));
    const ProbeEntity* title = p.text("风载轴力图", "N");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->v[0], 4.5);
    EXPECT_EQ(title->style, "HZTXT");
    // Centred under the frame, 12 units below its lowest point.
    EXPECT_TRUE(near(title->v[6], 40) && near(title->v[7], -12));
    const ProbeEntity* units = p.text("单位：KN", "N");
    ASSERT_NE(units, nullptr);
    EXPECT_TRUE(near(units->v[7], -16));
    const ProbeEntity* name = p.text("文件名：WLOAD.fkn", "0");
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(near(name->v[7], -22));
    // Axis lines and the title line on layer 0.
    EXPECT_EQ(p.polylines("0", 0.25), 2);
    EXPECT_EQ(p.polylines("0", 0.5), 1);
    // Compression of 50 in the column is the largest axial force: 20 units to its right.
    const ProbeEntity* n1 = lineFrom(p, "N", 0, 0);
    ASSERT_NE(n1, nullptr);
    EXPECT_NEAR(n1->v[2], 20.0, 1e-4);
    EXPECT_NEAR(n1->v[3], 0.0, 1e-4);
}

TEST_F(ForceDrawingTest, NoDiagramChosenGivesAxesAndFileNameOnly) {
    write("F.fkn", kForces);
    window.TxtName = "F.fkn";
    choose("风载", 0);
    ASSERT_TRUE(window.Drawfc());
    EXPECT_EQ(window.dxf.DXFFILE, "WLOADMVN.DXF");
    PROBE_DXF(p, dir.file("WLOADMVN.DXF"));
    EXPECT_EQ(p.entities.size(), 4u);
    EXPECT_EQ(p.polylines("0", 0.25), 2);
    EXPECT_EQ(p.polylines("0", 0.5), 1);
    EXPECT_EQ(p.texts(), std::vector<std::string>{"文件名：F.fkn"});
}

TEST_F(ForceDrawingTest, TwelveDrawingNames) {
    write("F.fkn", kForces);
    window.TxtName = "F.fkn";
    const char* types[] = {"恒载", "活载", "风载"};
    std::vector<std::string> names;
    for (const char* type : types) {
        for (int box = 1; box <= 4; ++box) {
            choose(type, box);
            ASSERT_TRUE(window.Drawfc());
            names.push_back(window.dxf.DXFFILE);
            PROBE_DXF(p, dir.file(window.dxf.DXFFILE));
            // Two labels per member (three on a moment diagram), title and units.
            const char* layer = box == 1 ? "M" : box == 2 ? "V" : "N";
            EXPECT_EQ(p.count("TEXT", layer), box == 4 ? 0 : box == 1 ? 8 : 6);
        }
    }
    const std::vector<std::string> expected = {"DLOAD_M.DXF",  "DLOAD_V.DXF",  "DLOAD_N.DXF",
                                               "DLOADMVN.DXF", "LLOAD_M.DXF",  "LLOAD_V.DXF",
                                               "LLOAD_N.DXF",  "LLOADMVN.DXF", "WLOAD_M.DXF",
                                               "WLOAD_V.DXF",  "WLOAD_N.DXF",  "WLOADMVN.DXF"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(fileCount(), 13);
}

TEST_F(ForceDrawingTest, DiagramChoiceIsClearedAfterADrawing) {
    write("DLOAD.fkn", kForces);
    choose("恒载", 2);
    EXPECT_TRUE(window.drawShears);
    EXPECT_FALSE(window.Check1.enabled);
    ASSERT_TRUE(window.Drawfc());
    PROBE_DXF(shear, dir.file("DLOAD_V.DXF"));
    EXPECT_EQ(shear.count("LINE", "V"), 2 * (9 + 8));
    EXPECT_FALSE(window.drawMoments);
    EXPECT_FALSE(window.drawShears);
    EXPECT_FALSE(window.drawAxialForces);
    for (const auto* box : {&window.Check1, &window.Check2, &window.Check3}) {
        EXPECT_FALSE(box->ticked);
        EXPECT_TRUE(box->enabled);
    }
    // The next drawing therefore has no diagram.
    ASSERT_TRUE(window.Drawfc());
    EXPECT_EQ(window.dxf.DXFFILE, "DLOADMVN.DXF");
    PROBE_DXF(axes, dir.file("DLOADMVN.DXF"));
    EXPECT_EQ(axes.count("LINE"), 0);
}

TEST_F(ForceDrawingTest, FileWithFewerMembersThanItsHeaderIsRefused) {
    std::string truncated = kForces;
    truncated.replace(0, 3, " 3 ");
    write("DLOAD.fkn", truncated);
    choose("恒载", 1);
    EXPECT_FALSE(window.Drawfc());
    // The file exists: the log and the message say what is wrong with it.
    const std::string text = "错误信息:'DLOAD.fkn' 中的数值少于文件头所示的数目(读到文件末尾)！";
    EXPECT_EQ(host.logLines, std::vector<std::string>{text});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, text);
    EXPECT_EQ(host.messages[0].title, "提示");
    EXPECT_EQ(host.messages[0].icon, Icon::Information);
    EXPECT_FALSE(exists("DLOAD_M.DXF"));
    EXPECT_EQ(fileCount(), 1);
    EXPECT_FALSE(window.Check1.ticked);
    EXPECT_FALSE(window.drawMoments);
}

TEST_F(ForceDrawingTest, MissingFileIsRefused) {
    // The file the load type stands for is named, with its folder.
    choose("风载", 0);
    EXPECT_FALSE(window.Drawfc());
    const std::string path = dir.file("WLOAD.fkn");
    EXPECT_EQ(host.logLines,
              std::vector<std::string>{"找不到指定的文件 '" + path +
                                       "',请检查工作路径是否正确,或尝试改用手动指定文件。"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "找不到指定的文件 '" + path + "',请检查工作路径是否正确！");
    EXPECT_EQ(fileCount(), 0);

    // A folder standing at the name is not reported as missing.
    std::filesystem::create_directory(path);
    EXPECT_FALSE(window.Drawfc());
    EXPECT_EQ(host.messages.back().text, "错误信息:'" + path + "' 是文件夹,不是结果文件！");
}

TEST_F(ForceDrawingTest, TextInPlaceOfANumberIsRefused) {
    std::string bad = kForces;
    bad.replace(bad.find("-50 \r\n 0 "), 3, "x50");
    write("DLOAD.fkn", bad);
    choose("恒载", 3);
    EXPECT_FALSE(window.Drawfc());
    EXPECT_EQ(host.logLines,
              std::vector<std::string>{"错误信息:'DLOAD.fkn' 第 20 行的 'x50' 不是数值！"});
    EXPECT_EQ(host.messages.back().text, "错误信息:'DLOAD.fkn' 第 20 行的 'x50' 不是数值！");
    EXPECT_EQ(fileCount(), 1);
}

// Values out of all proportion (a damaged or hand-edited file) would put
// coordinates that are not numbers, or beyond any drawing, into the DXF: the
// command refuses and writes nothing, and the next sound file draws again.
TEST_F(ForceDrawingTest, ValuesOutOfAllProportionDrawNothing) {
    std::string sections;
    for (int s = 1; s <= 9; ++s) sections += " 3E38 -3E38  1E30 \r\n";
    const std::string text = "错误信息:无法写入图形文件：图形中有超出范围的坐标或尺寸(结果文件中的数值可能有误),没有写入图形文件";
    for (const char* header : {" 1  1E-30  1E-30  1E-30 \r\n", " 1  1  1  1 \r\n"}) {
        write("DLOAD.fkn", std::string(header) + " 0  0  6  0 \r\n" + sections);
        choose("恒载", 1);
        EXPECT_FALSE(window.Drawfc()) << header;
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back().text, text);
        EXPECT_EQ(host.logLines.back(), text);
        EXPECT_EQ(fileCount(), 1);
    }
    write("DLOAD.fkn", kForces);
    choose("恒载", 1);
    EXPECT_TRUE(window.Drawfc());
    EXPECT_TRUE(exists("DLOAD_M.DXF"));
}

TEST_F(ForceDrawingTest, NoLoadTypeChosenDrawsNothing) {
    write("DLOAD.fkn", kForces);
    EXPECT_FALSE(window.drawForceDiagrams());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "还未选择'荷载类型'！");
    EXPECT_EQ(host.messages[0].title, "提示");
    EXPECT_EQ(fileCount(), 1);
}

// By storey, the largest ordinate is half the smallest storey less the
// 3 units of the labels: the portal's one storey of 3 m at 1:100 gives
// 3 / 2 / 0.1 - 3 = 12 units, so the largest moment (40) reaches 1.2 m below
// the beam, well clear of the storey's mid-height.
TEST_F(ForceDrawingTest, OrdinateHeightByStoreyKeepsDiagramsInsideHalfTheStorey) {
    write("DLOAD.fkn", kForces);
    window.CboScale = "100";
    window.CboAlf = drawing_text::kByStorey;
    choose("恒载", 1);
    ASSERT_TRUE(window.drawForceDiagrams());
    PROBE_DXF(p, dir.file("DLOAD_M.DXF"));
    const ProbeEntity* mid = lineFrom(p, "M", 40, 30);
    ASSERT_NE(mid, nullptr);
    EXPECT_NEAR(mid->v[3], 18.0, 1e-4);

    // Storeys of 4.2 m and 3.3 m: 3.3 / 2 / 0.1 - 3 = 13.5; levels closer
    // than a millimetre are one level; no storey at all keeps the default 20.
    EXPECT_NEAR(DrawingWindow::heightByStorey({7.5f, 0.0f, 4.2f, 4.2f, 0.0f, 7.5004f}, 0.1f),
                13.5f, 1e-4);
    EXPECT_EQ(DrawingWindow::heightByStorey({3.0f, 3.0f}, 0.1f), 20.0f);
    EXPECT_EQ(DrawingWindow::heightByStorey({0.0f, 3.0f}, 1.0f), 1.0f);  // never below 1 unit
}

}  // namespace
}  // namespace tarvel
