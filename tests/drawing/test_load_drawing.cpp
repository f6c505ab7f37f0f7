// Protects the load diagrams on the structure drawing: every load type, stacking, clean-up as the
// analysis applies it.

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

constexpr double kTol = 1e-3;  // drawing units

bool near(double a, double b, double tol = kTol) { return std::fabs(a - b) < tol; }

bool hasLine(const ProbeResult& p, const std::string& layer, double x1, double y1, double x2,
             double y2, double tol = kTol) {
    for (const ProbeEntity* e : p.all("LINE", layer)) {
        if (near(e->v[0], x1, tol) && near(e->v[1], y1, tol) && near(e->v[2], x2, tol) &&
            near(e->v[3], y2, tol)) {
            return true;
        }
    }
    return false;
}

// Vertical lines standing on y0 and reaching `length` up: arrow shafts.
std::vector<double> shaftsOn(const ProbeResult& p, const std::string& layer, double y0) {
    std::vector<double> lengths;
    for (const ProbeEntity* e : p.all("LINE", layer)) {
        if (near(e->v[0], e->v[2]) && near(e->v[1], y0) && e->v[3] >= e->v[1] - kTol) {
            lengths.push_back(e->v[3] - e->v[1]);
        }
    }
    return lengths;
}

class LoadDrawingTest : public DrawingTest {
  protected:
    ProbeResult drawPortal(const std::string& loads) {
        write("P.TVL", testing::portalFile(loads));
        window.TxtName = "P.TVL";
        EXPECT_TRUE(window.Drawfm());
        return testing::probeDxf(dir.file("P.DXF"));
    }
};

// Beam 1 runs from (0, 3) to (6, 3): at 1:100 from (0, 30) to (60, 30) drawing units.
TEST_F(LoadDrawingTest, DistributedLoadsStackAboveTheBeamForcesStayOnIt) {
    const ProbeResult p =
        drawPortal("DLOAD\r\n 1 2 20 0 -1 \r\n 1 2 10 0 3 \r\n 1 1 50 3 0 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    // First uniform load on the beam, 3 units deep, 21 arrows of three lines.
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 30, 60, 30));
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 33, 60, 33));
    EXPECT_EQ(shaftsOn(p, "DLOAD", 30).size(), 21u);
    // The second on a base line 9 units above, over its 3 m.
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 39, 30, 39));
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 42, 30, 42));
    EXPECT_EQ(shaftsOn(p, "DLOAD", 39).size(), 11u);
    EXPECT_EQ(p.count("LINE", "DLOAD"), 2 + 21 * 3 + 2 + 11 * 3);
    // The concentrated force on the beam itself: a wide arrow 5.5 units long.
    ASSERT_EQ(p.polylines("DLOAD", 0.5), 1);
    for (const ProbeEntity* e : p.all("POLYLINE", "DLOAD")) {
        if (e->v[0] != 0.5) continue;
        EXPECT_TRUE(near(e->v[2], 30) && near(e->v[3], 30) && near(e->v[4], 30) &&
                    near(e->v[5], 35.5));
    }
    EXPECT_EQ(p.polylines("DLOAD", 0.3), 2);
    EXPECT_EQ(p.texts("DLOAD"), (std::vector<std::string>{" ", "20", "10", "50"}));
    const ProbeEntity* q20 = p.text("20", "DLOAD");
    EXPECT_TRUE(near(q20->v[6], 30) && near(q20->v[7], 34));
    EXPECT_EQ(q20->v[2], 1);
    const ProbeEntity* q10 = p.text("10", "DLOAD");
    EXPECT_TRUE(near(q10->v[6], 15) && near(q10->v[7], 43));
    const ProbeEntity* q50 = p.text("50", "DLOAD");
    EXPECT_TRUE(near(q50->v[6], 30) && near(q50->v[7], 36));
}

// 3 m at 1:100: ⌊3 / 0.3⌋ = 10 intervals, 11 arrows 3 units long, 3 units apart.
TEST_F(LoadDrawingTest, ThreeMetreLoadAtOneToHundredHasElevenArrows) {
    const ProbeResult p = drawPortal("DLOAD\r\n 1 2 5 1.5 4.5 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    const std::vector<double> shafts = shaftsOn(p, "DLOAD", 30);
    ASSERT_EQ(shafts.size(), 11u);
    for (double s : shafts) EXPECT_NEAR(s, 3.0, kTol);
    for (int i = 0; i <= 10; ++i)
        EXPECT_TRUE(hasLine(p, "DLOAD", 15 + 3 * i, 30, 15 + 3 * i, 33)) << i;
    // Barbs 1.2 units wide, 0.9 long.
    EXPECT_TRUE(hasLine(p, "DLOAD", 15, 30, 15.6, 30.9));
    EXPECT_TRUE(hasLine(p, "DLOAD", 15, 30, 14.4, 30.9));
}

// The analysis ignores a distributed load whose end does not lie after its
// start (an end of 0 stays 0), so nothing is drawn for it.
TEST_F(LoadDrawingTest, LoadTheAnalysisIgnoresIsNotDrawn) {
    const ProbeResult p =
        drawPortal("DLOAD\r\n 1 2 20 1 0 \r\n 1 2 20 0 0 \r\n 1 3 20 5 2 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.count("LINE", "DLOAD"), 0);
    EXPECT_EQ(p.texts("DLOAD"), std::vector<std::string>{" "});
}

// The outline of a load from 0.15 to 0.8 ends at the point of 0.8 itself: at
// 1:100 that is 0.8f / 0.1f = 8 exactly (both are 13421773 units of a power
// of two), where 0.15 + (0.8 - 0.15) in single precision is one unit short
// (0.79999995, 7.9999994 drawing units).
TEST_F(LoadDrawingTest, OutlineEndsAtTheEndOfTheLoad) {
    const ProbeResult p = drawPortal("DLOAD\r\n 1 2 20 .15 .8 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    int endingAtEight = 0;
    for (const ProbeEntity* e : p.all("LINE", "DLOAD")) {
        if (e->v[2] == 8.0) ++endingAtEight;
    }
    EXPECT_EQ(endingAtEight, 2);  // the base line and the top line
}

// The label of a uniform load stands at local (D/2, 4S) from the start of the
// load, summed as a local offset is: on a beam starting at x = 1.3 a load from
// 0.1 to 0.5 has its label at (1.3 + 0.1) + 0.2 = 1.6f in single precision,
// 16 drawing units exactly, not at 1.3 + (0.1 + 0.2) = 1.5999999.
TEST_F(LoadDrawingTest, UniformLoadLabelIsALocalOffsetFromTheLoadStart) {
    std::string file = testing::portalFile("DLOAD\r\n 1 2 20 .1 .5 \r\n\r\n");
    file.replace(file.find(" 1  1  2  3  0  3 "), 18, " 1  1  2  3  1.3  3 ");
    write("P.TVL", file);
    window.TxtName = "P.TVL";
    ASSERT_TRUE(window.Drawfm());
    PROBE_DXF(p, dir.file("P.DXF"));
    const ProbeEntity* label = p.text("20", "DLOAD");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->v[4], 16.0);
    EXPECT_EQ(label->v[6], 16.0);
}

// The analysis applies a distributed load with a negative start from the start node.
TEST_F(LoadDrawingTest, NegativeStartOfADistributedLoadIsTheStartNode) {
    const ProbeResult p = drawPortal("DLOAD\r\n 1 2 20 -1 2 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 30, 20, 30));
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 33, 20, 33));
    const ProbeEntity* label = p.text("20", "DLOAD");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(near(label->v[6], 10) && near(label->v[7], 34));
}

TEST_F(LoadDrawingTest, ForceBeyondTheMemberOrWithNegativeStartSitsAtTheEndNode) {
    const ProbeResult p = drawPortal("DLOAD\r\n 1 1 50 8 0 \r\n 1 1 30 -2 0 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    int shafts = 0;
    for (const ProbeEntity* e : p.all("POLYLINE", "DLOAD")) {
        if (e->v[0] != 0.5) continue;
        ++shafts;
        EXPECT_TRUE(near(e->v[2], 60) && near(e->v[3], 30) && near(e->v[5], 35.5));
    }
    EXPECT_EQ(shafts, 2);
}

// Beam 1 is 6 m long. A force, axial force or moment beyond it is still drawn at the end node,
// and the log names the record the analysis will refuse; one within 0.001 m of the end, a
// negative position (the end node) and a distributed load running past the end are not named.
TEST_F(LoadDrawingTest, PointLoadBeyondItsMemberIsNamedInTheLog) {
    const ProbeResult p = drawPortal(
        "DLOAD\r\n 1 1 50 8 0 \r\n 1 5 10 -2 0 \r\n 1 6 5 6.0005 0 \r\n 1 2 20 1 9 \r\n\r\n"
        "WLOAD\r\n 2 6 5 2.5 0 \r\n 1 5 7 6.01 0 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    const std::vector<std::string> expected = {
        "系统提示：'DLOAD' 数据段第 1 条记录的荷载位置 A= 8 超出杆件 1 的长度 L= 6,"
        "该荷载画在杆件末端,分析程序将拒绝该荷载！",
        "系统提示：'WLOAD' 数据段第 2 条记录的荷载位置 A= 6.01 超出杆件 1 的长度 L= 6,"
        "该荷载画在杆件末端,分析程序将拒绝该荷载！",
    };
    std::vector<std::string> beyond;
    for (const std::string& line : host.logLines) {
        if (line.find("超出杆件") != std::string::npos) beyond.push_back(line);
    }
    EXPECT_EQ(beyond, expected);
    // Still drawn as before: the force arrow's shaft at the end node (60, 30).
    int shafts = 0;
    for (const ProbeEntity* e : p.all("POLYLINE", "DLOAD")) {
        if (e->v[0] == 0.5 && near(e->v[2], 60) && near(e->v[3], 30)) ++shafts;
    }
    EXPECT_GE(shafts, 1);
}

// Column 2 runs up from (0, 0) to (0, 3): an axial force at 1 m points along it, towards its top.
TEST_F(LoadDrawingTest, AxialForceArrowLiesOnTheMemberBehindThePoint) {
    const ProbeResult p = drawPortal("DLOAD\r\n 2 5 40 1 0 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    const auto arrows = p.all("POLYLINE", "DLOAD");
    ASSERT_EQ(arrows.size(), 3u);
    EXPECT_TRUE(near(arrows[0]->v[2], 0) && near(arrows[0]->v[3], 10));
    EXPECT_TRUE(near(arrows[0]->v[4], 0) && near(arrows[0]->v[5], 4.5));
    const ProbeEntity* label = p.text("40", "DLOAD");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(near(label->v[6], 3) && near(label->v[7], 10));
    EXPECT_EQ(label->v[2], 2);
    EXPECT_NEAR(label->v[1], 89.36, 0.005);
}

TEST_F(LoadDrawingTest, MomentIsAStrokeWithTwoArrows) {
    const ProbeResult p = drawPortal("DLOAD\r\n 1 6 -25 3 0 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.polylines("DLOAD", 0.3), 1 + 4);
    EXPECT_EQ(p.polylines("DLOAD", 0.5), 2);
    const auto all = p.all("POLYLINE", "DLOAD");
    // Stroke from upper left to lower right of the load point (30, 30).
    EXPECT_TRUE(near(all[0]->v[2], 28) && near(all[0]->v[3], 32) && near(all[0]->v[4], 32) &&
                near(all[0]->v[5], 28));
    // Shafts from above and below the point end at the stroke's ends.
    EXPECT_TRUE(near(all[1]->v[2], 30) && near(all[1]->v[3], 34));
    EXPECT_TRUE(near(all[1]->v[4], 28, 1e-2) && near(all[1]->v[5], 32, 1e-2));
    EXPECT_TRUE(near(all[4]->v[2], 30) && near(all[4]->v[3], 26));
    EXPECT_TRUE(near(all[4]->v[4], 32, 1e-2) && near(all[4]->v[5], 28, 1e-2));
    const ProbeEntity* label = p.text("-25", "DLOAD");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(near(label->v[4], 31) && near(label->v[5], 33));
}

TEST_F(LoadDrawingTest, TriangularLoadsRiseAndFall) {
    const ProbeResult p = drawPortal("DLOAD\r\n 1 3 12 0 -1 \r\n 1 4 8 0 -1 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    // Rising: outline from the start to 3 units above the end; arrows grow 0 .. 3.
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 30, 60, 33));
    for (int i = 0; i <= 20; ++i)
        EXPECT_TRUE(hasLine(p, "DLOAD", 3 * i, 30, 3 * i, 30 + 0.15 * i)) << i;
    const ProbeEntity* rising = p.text("12", "DLOAD");
    EXPECT_TRUE(near(rising->v[6], 60) && near(rising->v[7], 34));
    EXPECT_EQ(rising->v[2], 2);
    // Falling, on the next base line: from 3 units above the start down to the end.
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 42, 60, 39));
    for (int i = 0; i <= 20; ++i)
        EXPECT_TRUE(hasLine(p, "DLOAD", 3 * i, 39, 3 * i, 42 - 0.15 * i)) << i;
    const ProbeEntity* falling = p.text("8", "DLOAD");
    EXPECT_TRUE(near(falling->v[4], 0) && near(falling->v[5], 43));
    EXPECT_EQ(falling->v[2], 0);
}

// A sloping beam from (0, 3) to (8, 9): positions of the vertical loads are
// measured horizontally, the arrows stand vertical.
TEST_F(LoadDrawingTest, VerticalLoadTypesOnASlopingBeam) {
    std::string file =
        testing::portalFile("DLOAD\r\n 1 -2 10 0 -1 \r\n 1 -1 7 2 0 \r\n 2 -2 5 0 -1 \r\n\r\n");
    file.replace(file.find(" 2  1  4  5  6  3 "), 18, " 2  1  4  5  8  9 ");
    file.replace(file.find(" 4  0  0  0  6  0 "), 18, " 4  0  0  0  8  0 ");
    write("P.TVL", file);
    window.TxtName = "P.TVL";
    ASSERT_TRUE(window.Drawfm());
    PROBE_DXF(p, dir.file("P.DXF"));
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 30, 80, 90));
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 33, 80, 93));
    // ⌊8 / 0.3⌋ = 26 intervals: 27 vertical arrows 3 units long, on the beam.
    int vertical = 0;
    for (const ProbeEntity* e : p.all("LINE", "DLOAD")) {
        if (near(e->v[0], e->v[2]) && near(e->v[3] - e->v[1], 3.0) &&
            near(e->v[1], 30 + 0.75 * e->v[0]))
            ++vertical;
    }
    EXPECT_EQ(vertical, 27);
    const ProbeEntity* q = p.text("10", "DLOAD");
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(near(q->v[6], 40) && near(q->v[7], 64));
    // Only types 1, 5 and 6 stay on the member: the vertical force stacks on
    // the next base line, 9 units off the beam at (-5.4, 37.2), and stands 2 m
    // further along it horizontally, its shaft pointing up.
    const auto wide = p.all("POLYLINE", "DLOAD");
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_TRUE(near(wide[0]->v[2], 14.6) && near(wide[0]->v[3], 52.2) &&
                near(wide[0]->v[4], 14.6) && near(wide[0]->v[5], 57.7));
    // Column 2 is vertical: it has no horizontal length for a vertical load.
    EXPECT_EQ(p.texts("DLOAD"), (std::vector<std::string>{" ", "10", "7"}));
}

TEST_F(LoadDrawingTest, EachCaseOnItsOwnLayerAtTheSamePlaces) {
    const ProbeResult p = drawPortal(
        "DLOAD\r\n 1 2 20 0 -1 \r\n\r\nLLOAD\r\n 1 2 8 0 -1 \r\n\r\n"
        "WLOAD\r\n 1 2 3 0 -1 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    const auto dead = p.all("LINE", "DLOAD");
    const auto live = p.all("LINE", "LLOAD");
    const auto wind = p.all("LINE", "WLOAD");
    ASSERT_EQ(dead.size(), 65u);
    ASSERT_EQ(live.size(), dead.size());
    ASSERT_EQ(wind.size(), dead.size());
    for (std::size_t i = 0; i < dead.size(); ++i) {
        EXPECT_EQ(dead[i]->v, live[i]->v);
        EXPECT_EQ(dead[i]->v, wind[i]->v);
    }
    EXPECT_EQ(p.texts("LLOAD"), (std::vector<std::string>{" ", "8"}));
    EXPECT_EQ(p.texts("WLOAD"), (std::vector<std::string>{" ", "3"}));
    EXPECT_FALSE(logged("1,LLOAD"));
}

TEST_F(LoadDrawingTest, UnknownMemberIsNotedAndSkipped) {
    const ProbeResult p = drawPortal("DLOAD\r\n 9 2 10 0 -1 \r\n 1 2 20 0 -1 \r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(logged("系统提示：'DLOAD' 数据段第 1 条记录的杆件号 9 不存在,该荷载未画出！"));
    EXPECT_EQ(p.texts("DLOAD"), (std::vector<std::string>{" ", "20"}));
    EXPECT_TRUE(hasLine(p, "DLOAD", 0, 30, 60, 30));
}

TEST_F(LoadDrawingTest, UnreadableLoadRecordLeavesNoDrawing) {
    write("P.TVL", testing::portalFile("DLOAD\r\n 1 2 abc 0 -1 \r\n\r\n"));
    window.TxtName = "P.TVL";
    EXPECT_FALSE(window.Drawfm());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "错误信息提示！");
    EXPECT_EQ(host.messages[0].text.rfind("错误信息:'DLOAD' 数据段", 0), 0u)
        << host.messages[0].text;
    EXPECT_EQ(host.logLines.back(), host.messages[0].text);
    EXPECT_EQ(fileCount(), 1);

    // A segment that runs into the end of the file without its closing record.
    write("P.TVL", testing::portalFile("WLOAD\r\n 1 2 3 0 -1 \r\n"));
    EXPECT_FALSE(window.Drawfm());
    EXPECT_EQ(host.messages.back().text,
              "错误信息:'WLOAD' 数据段没有结束记录(读到文件末尾),请检查'TVL'文件！(数据文件 '" +
                  dir.file("P.TVL") + "')");
    EXPECT_EQ(fileCount(), 1);
}

}  // namespace
}  // namespace tarvel
