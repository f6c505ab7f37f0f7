// Protects the reinforcement-area drawing: texts and number formats of every member, title block,
// limits and failures.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "drawing/drawing_fixture.h"

namespace tarvel {
namespace {

using testing::DrawingTest;
using testing::ProbeEntity;

// Two beams and two columns written by hand.
const std::string kAreas =
    " 2  2 \r\n"
    " .25  .6  30  0  3  6  3 \r\n"  // beam 1
    " 1234  980  0  980  1234 \r\n"
    " 500  600  700  600  500 \r\n"
    " .5  1.236 \r\n"
    " .35  .5  25  6  3  12  3 \r\n"  // beam 2: 0.35 is 0.349999994 in single precision, shown 350
    " 99  150  0  250  1999 \r\n"
    " 0  0  0  0  0 \r\n"
    " 99  .25 \r\n"
    " .4  .4  30  0  0  0  3 \r\n"  // column 1
    "-5  1520  .345  99 \r\n"
    " .012  .4567 \r\n"
    " .4  .4  30  12  0  12  3 \r\n"  // column 2: not designable
    "-1 -1  .2  .2 \r\n"
    "-.01  .8 \r\n";

bool near(double a, double b) { return std::fabs(a - b) < 1e-4; }

class ReinforcementDrawingTest : public DrawingTest {};

TEST_F(ReinforcementDrawingTest, TextsOfBeamsAndColumns) {
    write("AS.ags", kAreas);
    ASSERT_TRUE(window.drawReinforcement());
    EXPECT_EQ(window.dxf.DXFFILE, "AS.DXF");
    EXPECT_EQ(host.logLines,
              (std::vector<std::string>{"图形交互程序运行过程：", "图形交互文件名： AS.DXF"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "图形交互文件建立完毕！");

    PROBE_DXF(p, dir.file("AS.DXF"));
    const std::vector<std::string> texts = {
        "250X600_30",     "As=12_9_0_9_12", "As=5_6_7_6_5",
        "Asv/S=0.5_1.24", "350X500_25",     "As=0_1_0_2_19",
        "As=0_0_0_0_0",   "Asv/S=99_0.25",  "400X400_30",
        "As=-5_15",       "u=1.2%,n=0.457", "Asv/s=0.34_99",
        "400X400_30",     "As=-1_-1",       "u=-1%,n=0.8",
        "Asv/s=0.2_0.2",  "钢筋面积图",     "单位-As：平方厘米，Asv/S：平方毫米/毫米",
        "文件名：AS.ags"};
    EXPECT_EQ(p.texts("0"), texts);
    EXPECT_EQ(p.entities.size(), 4 + 1 + texts.size());
    EXPECT_EQ(p.polylines("0", 0.25), 4);
    EXPECT_EQ(p.polylines("0", 0.5), 1);

    // Beam 1 centred over its middle (30, 30): section 4 units above, steel 1
    // above, bottom steel 3 and stirrups 6 below.
    const auto all = p.all("TEXT", "0");
    const double beamOffsets[] = {34, 31, 27, 24};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(near(all[i]->v[6], 30) && near(all[i]->v[7], beamOffsets[i])) << all[i]->text;
        EXPECT_EQ(all[i]->v[1], 0.0);
        EXPECT_EQ(all[i]->v[0], 2.0);
        EXPECT_EQ(all[i]->v[2], 1);
    }
    // Column 1 runs up the Y axis: the texts stand at 89.36°, "above" is to its left.
    EXPECT_TRUE(near(all[8]->v[6], -4) && near(all[8]->v[7], 15));
    EXPECT_TRUE(near(all[11]->v[6], 6) && near(all[11]->v[7], 15));
    EXPECT_NEAR(all[8]->v[1], 89.36, 0.005);

    const ProbeEntity* title = p.text("钢筋面积图");
    EXPECT_TRUE(near(title->v[6], 60) && near(title->v[7], -12));
    EXPECT_EQ(title->v[0], 4.5);
    EXPECT_EQ(title->style, "HZTXT");
    EXPECT_TRUE(near(p.text("文件名：AS.ags")->v[7], -22));
    EXPECT_EQ(p.text("文件名：AS.ags")->v[0], 3.5);
}

TEST_F(ReinforcementDrawingTest, NoMembersGivesTheTitleBlockAtTheStartValues) {
    write("EMPTY.ags", " 0  0 \r\n");
    window.TxtName = "EMPTY.ags";
    ASSERT_TRUE(window.Drawas());
    EXPECT_EQ(window.dxf.DXFFILE, "EMPTY.DXF");
    PROBE_DXF(p, dir.file("EMPTY.DXF"));
    ASSERT_EQ(p.entities.size(), 4u);
    const ProbeEntity* title = p.text("钢筋面积图");
    EXPECT_EQ(title->v[6], 0.0);      // XM = (-1E10 + 1E10) / 2
    EXPECT_GT(title->v[7], 9.99e10);  // YMIN = 1E10 m at 1:100
}

TEST_F(ReinforcementDrawingTest, TooManyBeamsOrColumnsAreRefused) {
    write("AS.ags", " 191  0 \r\n");
    EXPECT_FALSE(window.Drawas());
    EXPECT_EQ(host.logLines, (std::vector<std::string>{
                                 "图形交互程序运行过程：",
                                 "错误信息:'AS.ags' 的梁数 191 超出图形交互程序极限(最多 190)！"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "错误信息:'AS.ags' 的梁数 191 超出图形交互程序极限(最多 190)！");
    EXPECT_EQ(host.messages[0].title, "提示");

    write("AS.ags", " 0  211 \r\n");
    EXPECT_FALSE(window.Drawas());
    EXPECT_EQ(host.logLines.back(),
              "错误信息:'AS.ags' 的柱数 211 超出图形交互程序极限(最多 210)！");
    EXPECT_EQ(fileCount(), 1);
}

TEST_F(ReinforcementDrawingTest, FileWithFewerMembersThanItsHeaderLeavesNoDrawing) {
    std::string truncated = kAreas;
    truncated.resize(truncated.find(" .4  .4  30  12"));  // the second column is missing
    write("AS.ags", truncated);
    EXPECT_FALSE(window.Drawas());
    EXPECT_EQ(host.logLines,
              (std::vector<std::string>{
                  "图形交互程序运行过程：", "图形交互文件名： AS.DXF",
                  "错误信息:'AS.ags' 中的数值少于文件头所示的数目(读到文件末尾)！"}));
    EXPECT_FALSE(exists("AS.DXF"));
    EXPECT_EQ(fileCount(), 1);
}

TEST_F(ReinforcementDrawingTest, MissingFileIsRefused) {
    EXPECT_FALSE(window.Drawas());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "找不到指定的文件 '" + dir.file("AS.ags") + "',请检查工作路径是否正确！");
    EXPECT_EQ(fileCount(), 0);
}

TEST_F(ReinforcementDrawingTest, NegativeCountIsRefused) {
    write("AS.ags", "-1  0 \r\n");
    EXPECT_FALSE(window.Drawas());
    EXPECT_EQ(host.logLines[1], "错误信息:'AS.ags' 的梁数 -1 无效！");
    EXPECT_EQ(fileCount(), 1);
}

}  // namespace
}  // namespace tarvel
