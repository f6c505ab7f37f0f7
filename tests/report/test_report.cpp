// Protects the report files "TARVEL1.wri", "TARVEL2.wri": lines, Tab columns, zones, numbers.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/design_results.h"
#include "common/print_buffer.h"
#include "report/report.h"
#include "report/report_common.h"
#include "report/report_table_one.h"
#include "report/report_table_two.h"
#include "support/portal_frame.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using testing::portalDesign;
using testing::portalFrame;

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// The lines of a report text; every line must end with CR LF.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text does not end with CR LF";
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare line feed in: " << line;
        EXPECT_EQ(line.find('\r'), std::string::npos) << "bare carriage return in: " << line;
    }
    return lines;
}

// Index of the line equal to `line`, or -1.
int lineIndex(const std::vector<std::string>& lines, const std::string& line) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == line) return static_cast<int>(i);
    }
    return -1;
}

constexpr const char* kStamp = "2026 - 12 - 08   10:00:00";

// The portal frame and design of support/portal_frame.h. Dead, live and wind
// present, no seismic data unless a test adds it.
class CalculationReport : public ::testing::Test {
  protected:
    void SetUp() override {
        portalFrame(st->model);

        st->LCF(1) = st->LCF(2) = st->LCF(3) = 1.0f;
        st->UD(1, 1) = 0.00390625f;  // 2^-8 m: ".0039", and H/D = h/d = 4 / 2^-8 = 1024

        request.dataFileName = "PORTAL.TVL";
        request.mainGrade = 2;
        request.stirrupGrade = 1;
        request.fy = 300.0f;
        request.fyv = 210.0f;
        request.timeStamp = kStamp;

        portalDesign(des);
        fillColumnEndForces();
    }

    // Column 1 bottom: M D 10, L 5, W 2; V D -3, L -1, W 4; N D 200, L 60, W -10.
    // Column 2 top: dead load only, M -8, V 2, N 50. Everything else 0.
    void fillColumnEndForces() {
        const float M[4] = {10, 5, 2, 0}, V[4] = {-3, -1, 4, 0}, N[4] = {200, 60, -10, 0};
        for (int c = 1; c <= 3; ++c) {
            st->CF(5, 1, c) = M[c - 1];
            st->CF(6, 1, c) = V[c - 1];
            st->CF(7, 1, c) = N[c - 1];
        }
        st->CF(9, 2, 1) = -8.0f;
        st->CF(10, 2, 1) = 2.0f;
        st->CF(11, 2, 1) = 50.0f;
    }

    // Seismic data: grade 2, intensity 8, one mass at node 2, one mode.
    void addSeismic() {
        st->LCF(4) = 1.0f;
        DynamicResults& dyn = st->dyn;
        dyn.par.KCLASS = 2.0f;
        dyn.par.K0 = 8.0f;
        dyn.par.TG = 0.4f;
        dyn.par.NN = 1.0f;
        dyn.par.ALF1 = 7.0f;  // scratch of the design steps: never printed
        dyn.par.ALF2 = 9.0f;
        dyn.raw = dyn.par;
        dyn.raw.NN = 3.0f;
        dyn.raw.ALF1 = 0.5f;
        dyn.raw.ALF2 = 0.8f;
        dyn.con.ETAVB = 1.05f;
        dyn.con.ETAVC = 1.1f;
        dyn.con.ETAMC = 1.1f;
        dyn.NMASS = 1;
        dyn.MNODE(1) = 2.0f;
        dyn.WD(1) = 120.5f;
        dyn.WL(1) = 40.0f;
        dyn.WA(1) = 10.0f;
        dyn.WG(1) = 150.5f;  // 120.5 + 10 + 0.5 · 40
        dyn.PERIOD(1) = 0.31234567;
        dyn.PHI(1, 1) = 1.0;
        st->UD(2, 1) = 0.0078125f;  // 2^-7 m: ".0078", ratio 512
        st->UD(3, 1) = 0.0078125f;
        // Column 1 bottom: seismic M 6, V 2, N 30 with RMN .5, RVM -.5, RVN .25.
        st->CF(5, 1, 4) = 6.0f;
        st->CF(6, 1, 4) = 2.0f;
        st->CF(7, 1, 4) = 30.0f;
        st->RMN(1, 1) = 0.5f;
        st->RVM(1, 1) = -0.5f;
        st->RVN(1, 1) = 0.25f;
        st->RMN(2, 1) = -0.125f;
        st->RVN(2, 1) = 1.0f;
        for (int s = 1; s <= 9; ++s) st->BM(s, 1, 4) = 2.5f;
        st->BV(1, 1, 4) = 0.75f;
        st->BV(2, 1, 4) = 0.75f;
    }

    std::string tableOne() { return tableOneText(*st, des, request); }
    std::string tableTwo() { return tableTwoText(*st, request); }

    std::unique_ptr<AnalysisState> st = std::make_unique<AnalysisState>();
    DesignResults des;
    ReportRequest request;
};

// Storey table header: columns 1, 8, 14, 22, 30, 38, 44, 54, 62 counted in characters.
const std::string kStoreyHeader = "侧移编号" + sp(3) + "节点号" + sp(3) + "标高(m)" + sp(3) +
                                  "高度H(m)" + sp(2) + "位移D(m)" + sp(2) + "H/D" + sp(3) +
                                  "层高h(m)" + sp(4) + "层间位移d" + sp(3) + "h/d";

TEST_F(CalculationReport, TableOneWithWindAndWithoutSeismicLineByLine) {
    const std::vector<std::string> expected = {
        sp(29) + "平面框架结构分析计算书",
        sp(37) + "(表一)",
        sp(29) + "原始数据文件名：PORTAL.TVL",
        sp(24) + "计算时间:2026 - 12 - 08   10:00:00",
        "",
        sp(29) + "风载作用下的水平位移",
        kStoreyHeader,
        // l at 1, node at 12, elevation at 20, H at 30, D at 40, H/D at 50, h at 58, d at 68, h/d
        // at 80
        " 1 " + sp(8) + " 2 " + sp(5) + " 4 " + sp(7) + " 4 " + sp(7) + " .0039 " + sp(3) +
            " 1024 " + sp(2) + " 4 " + sp(7) + " .0039 " + sp(5) + " 1024 ",
        "",
        "不考虑地震作用",
        "",
        sp(19) + "----梁的钢筋面积(mm2)及梁端单位长度的箍筋面积(mm2/mm)----",
        sp(14) + "注：[梁的纵筋级别: 2 ,FY= 300 (N/mm2);梁的箍筋级别: 1 ,FY= 210 (N/mm2)]",
        sp(29) + "----[注:括号内的数字为最不利组合号]----",
        " 1 梁( 2 , 3 ),C 30 ,B= 250 ,H= 500 ",
        // sections at columns 6, 18, 30, ..., 102
        "上部钢筋: 612 ( 3 )" + sp(2) + " 405 ( 3 )" + sp(2) + " 0 ( 1 )" + sp(4) + " 0 ( 1 )" +
            sp(4) + " 0 ( 1 )" + sp(4) + " 0 ( 1 )" + sp(4) + " 0 ( 1 )" + sp(4) + " 405 ( 5 )" +
            sp(2) + " 612 ( 5 )",
        "下部钢筋: 0 ( 1 )" + sp(4) + " 0 ( 1 )" + sp(4) + " 305 ( 5 )" + sp(2) + " 410 ( 5 )" +
            sp(2) + " 455 ( 17 )" + sp(1) + " 410 ( 5 )" + sp(2) + " 305 ( 5 )" + sp(2) +
            " 0 ( 1 )" + sp(4) + " 0 ( 1 )",
        "箍筋面积: Asv/S= 99 ( 14 )" + sp(79) + " .375 ( 9 )",
        "",
        sp(24) + "----柱钢筋面积(mm2)及箍筋(ASV/S,mm2/mm)等----",
        sp(14) + "注：[柱的纵筋级别: 2 ,FY= 300 (N/mm2);柱的箍筋级别: 1 ,FY= 210 (N/mm2)]",
        "柱编号" + sp(4) + "杆端编号" + sp(2) + "混凝土" + sp(1) + "截面尺寸" + sp(5) +
            "弯压钢筋及最" + sp(16) + "配筋率" + sp(9) + "轴压钢筋" + sp(7) + "配筋率" + sp(13) +
            "箍筋及最不" + sp(7) + "轴压比" + sp(2) + "计算长",
        sp(21) + "等级" + sp(4) + "(b*h)" + sp(7) + "不利组合号" + sp(67) + "利组合号" + sp(16) +
            "度系数",
        // i at 1, nodes at 9, grade at 22, ratio at 67, axial steel at 78 and 89, its ratio at 101,
        // stirrups at 112 and 123, axial-compression ratio and effective-length factor at 135
        " 1 " + sp(5) + "( 1 , 2 )" + sp(4) + "C 30  400  400  1256 ( 3 ) 980 ( 12 )" + sp(8) +
            " 1.25 %" + sp(4) + " 0 " + sp(8) + " 0 " + sp(9) + " 0 %" + sp(7) + " .4 ( 2 )" +
            sp(2) + " 99 ( 9 )" + sp(3) + " .4321  1.25 ",
        " 2 " + sp(5) + "( 4 , 3 )" + sp(4) + "C 30  400  400 -1 ( 7 )-1 ( 4 )" + sp(14) + "-1 %" +
            sp(7) + " 0 " + sp(8) + " 0 " + sp(9) + " 0 %" + sp(7) + " 0 ( 1 )" + sp(3) +
            " 0 ( 1 )" + sp(4) + " .125  1 ",
        "",
        sp(4) + "----支座处杆端组合内力[组合号7至10为与地震作用效应组合]----",
        sp(50) + "弯矩(KN-M)" + sp(5) + "剪力" + sp(11) + "轴力(KN)" + sp(6) + "组合号",
        // Column 1, bottom node 1. Combinations (M; V; N):
        // 1  17; -4.4; 284          2  19; -5; 324
        // 3  18.33; .57; 259.5      4  13.57; -8.95; 283.3
        // 5  20.33; -.03; 299.5     6  15.57; -9.55; 323.3
        "(  1  ,  2  )  杆    1    端内力   最大弯矩" + sp(6) + " 20.33 " + sp(8) + "-.03 " +
            sp(10) + " 299.5 " + sp(8) + "( 5 )",
        sp(35) + "最小弯矩" + sp(6) + " 13.57 " + sp(8) + "-8.95 " + sp(9) + " 283.3 " + sp(8) +
            "( 4 )",
        sp(35) + "最大轴力" + sp(6) + " 19 " + sp(11) + "-5 " + sp(12) + " 324 " + sp(10) + "( 2 )",
        sp(35) + "最小轴力" + sp(6) + " 18.33 " + sp(8) + " .57 " + sp(10) + " 259.5 " + sp(8) +
            "( 3 )",
        // Column 2, bottom node 4: no forces, so every choice stays at combination 1.
        "(  4  ,  3  )  杆    4    端内力   最大弯矩" + sp(6) + " 0 " + sp(12) + " 0 " + sp(12) +
            " 0 " + sp(12) + "( 1 )",
        sp(35) + "最小弯矩" + sp(6) + " 0 " + sp(12) + " 0 " + sp(12) + " 0 " + sp(12) + "( 1 )",
        sp(35) + "最大轴力" + sp(6) + " 0 " + sp(12) + " 0 " + sp(12) + " 0 " + sp(12) + "( 1 )",
        sp(35) + "最小轴力" + sp(6) + " 0 " + sp(12) + " 0 " + sp(12) + " 0 " + sp(12) + "( 1 )",
        // Column 2, top node 3 (horizontally supported). Dead load only: M -8, -9.6, -8, -8, -9.6,
        // -9.6; the lowest number wins each tie.
        "(  4  ,  3  )  杆    3    端内力   最大弯矩" + sp(6) + "-8 " + sp(12) + " 2 " + sp(12) +
            " 50 " + sp(11) + "( 1 )",
        sp(35) + "最小弯矩" + sp(6) + "-9.6 " + sp(10) + " 2.4 " + sp(10) + " 60 " + sp(11) +
            "( 2 )",
        sp(35) + "最大轴力" + sp(6) + "-9.6 " + sp(10) + " 2.4 " + sp(10) + " 60 " + sp(11) +
            "( 2 )",
        sp(35) + "最小轴力" + sp(6) + "-8 " + sp(12) + " 2 " + sp(12) + " 50 " + sp(11) + "( 1 )",
    };
    const std::vector<std::string> lines = linesOf(tableOne());
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

TEST_F(CalculationReport, MissingDeadAndLiveLoadAndNoWindAreNamed) {
    st->LCF(1) = 0.0f;
    st->LCF(2) = 0.0f;
    st->LCF(3) = 0.0f;
    const std::vector<std::string> lines = linesOf(tableOne());
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[5], "无恒荷载");
    EXPECT_EQ(lines[6], "无活荷载");
    EXPECT_EQ(lines[7], "无风荷载");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "不考虑地震作用");
    EXPECT_EQ(lineIndex(lines, sp(29) + "风载作用下的水平位移"), -1);
    EXPECT_EQ(lineIndex(lines, kStoreyHeader), -1);
}

// Level 2 at 7.5 m moves 3 · 2^-8 m: H/D = 7.5 / .01171875 = 640; the drift
// to level 1 is 2^-7 m, so h/d = 3.5 / .0078125 = 448.
TEST_F(CalculationReport, WindDriftIsTakenToTheLevelBelow) {
    st->model.NLEV = 2;
    st->model.LEVN(2) = 5.0f;
    st->model.LEVY(2) = 7.5f;
    st->UD(1, 2) = 0.01171875f;
    const std::vector<std::string> lines = linesOf(tableOne());
    ASSERT_GT(lines.size(), 9u);
    EXPECT_EQ(lines[8], " 2 " + sp(8) + " 5 " + sp(5) + " 7.5 " + sp(5) + " 7.5 " + sp(5) +
                            " .0117 " + sp(3) + " 640 " + sp(3) + " 3.5 " + sp(5) + " .0078 " +
                            sp(5) + " 448 ");
    EXPECT_EQ(lines[9], "");
}

TEST_F(CalculationReport, ALevelThatDoesNotMoveHasNoRatios) {
    st->UD(1, 1) = 0.0f;
    const std::vector<std::string> lines = linesOf(tableOne());
    ASSERT_GT(lines.size(), 7u);
    EXPECT_EQ(lines[7], " 1 " + sp(8) + " 2 " + sp(5) + " 4 " + sp(7) + " 4 " + sp(7) + " 0 " +
                            sp(15) + " 4 " + sp(7) + " 0 ");
}

TEST_F(CalculationReport, WithoutSeismicDataNoSeismicPartAnywhere) {
    const std::string one = tableOne();
    const std::string two = tableTwo();
    for (const char* seismic :
         {"地震作用结果", "地震作用下的水平位移", "固有周期", "振型:", "恒载质量"}) {
        EXPECT_EQ(one.find(seismic), std::string::npos) << seismic;
    }
    EXPECT_EQ(one.find("\r\n与地震作用效应组合"), std::string::npos);
    EXPECT_EQ(two.find("地 震 作 用 效 应"), std::string::npos);
    EXPECT_EQ(two.find("R_MN="), std::string::npos);
}

TEST_F(CalculationReport, SeismicResultsBlockLineByLine) {
    addSeismic();
    const std::vector<std::string> lines = linesOf(tableOne());
    const int first = lineIndex(lines, sp(29) + "地震作用结果");
    ASSERT_EQ(first, 9);  // after the wind table and its blank line
    const std::vector<std::string> expected = {
        sp(29) + "地震作用结果",
        " 2 级抗震结构 8 度设防,特征周期为 .4 考虑 1 振形",
        // ALF1 and ALF2 as read, not the working copies
        " 50 %的活荷载作用为集中质量,填充墙周期调整系数为 .8 ",
        "梁剪力调整系数: 1.05 ,柱剪力调整系数: 1.1 ,柱弯矩调整系数: 1.1 ",
        "",
        "侧移编号" + sp(5) + "节点编号" + sp(8) + "标高" + sp(10) + "恒载质量(KN)" + sp(1) +
            "活载质量(KN)" + sp(3) + "附加质量(KN)" + sp(2) + "总质量(KN)",
        // print zones at 1, 15, 29, 43, 57, 71, 85
        " 1 " + sp(11) + " 2 " + sp(11) + " 4 " + sp(11) + " 120.5 " + sp(7) + " 40 " + sp(10) +
            " 10 " + sp(10) + " 150.5 ",
        "",
        sp(4) + "--------------------固有周期(秒)--------------------",
        // two periods always: the second of a one-mass frame is 0
        " .3123 " + sp(7) + " 0 ",
        "",
        "",
        sp(4) + "--------------------振        型--------------------",
        "第 1 振型: 1  0 ",
        "第 2 振型: 0  0 ",
        "",
        sp(29) + "地震作用下的水平位移",
        kStoreyHeader,
        " 1 " + sp(8) + " 2 " + sp(5) + " 4 " + sp(7) + " 4 " + sp(7) + " .0078 " + sp(3) +
            " 512 " + sp(3) + " 4 " + sp(7) + " .0078 " + sp(5) + " 512 ",
        "",
        sp(19) + "----梁的钢筋面积(mm2)及梁端单位长度的箍筋面积(mm2/mm)----",
    };
    ASSERT_GE(lines.size(), static_cast<std::size_t>(first) + expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(first) + i], expected[i])
            << "line " << first + 1 + i;
    }
}

TEST_F(CalculationReport, TwoPeriodsAndTwoModesWhateverTheNumberOfMasses) {
    addSeismic();
    DynamicResults& dyn = st->dyn;
    dyn.NMASS = 3;
    dyn.par.NN = 3.0f;
    for (int j = 2; j <= 3; ++j) dyn.MNODE(j) = 2.0f;
    dyn.PERIOD(1) = 0.5;
    dyn.PERIOD(2) = 0.123456;  // ".1235": 1234.56 rounds up
    dyn.PERIOD(3) = 0.1;       // never printed
    dyn.PHI(1, 1) = 0.6;
    dyn.PHI(2, 1) = 0.8;
    dyn.PHI(1, 2) = -0.7071067811865476;
    dyn.PHI(2, 2) = 0.00004;  // rounds to 0
    dyn.PHI(3, 2) = 0.7071;   // third component: never printed
    const std::vector<std::string> lines = linesOf(tableOne());
    const int periods =
        lineIndex(lines, sp(4) + "--------------------固有周期(秒)--------------------");
    ASSERT_GT(periods, 0);
    EXPECT_EQ(lines[static_cast<std::size_t>(periods) + 1], " .5 " + sp(10) + " .1235 ");
    const int modes =
        lineIndex(lines, sp(4) + "--------------------振        型--------------------");
    ASSERT_EQ(modes, periods + 4);
    EXPECT_EQ(lines[static_cast<std::size_t>(modes) + 1], "第 1 振型: .6  .8 ");
    EXPECT_EQ(lines[static_cast<std::size_t>(modes) + 2], "第 2 振型:-.7071  0 ");
    EXPECT_EQ(lines[static_cast<std::size_t>(modes) + 3], "");
    EXPECT_EQ(lines[static_cast<std::size_t>(modes) + 4], sp(29) + "地震作用下的水平位移");
}

TEST_F(CalculationReport, SupportTableAddsTheSeismicCombinations) {
    addSeismic();
    const std::vector<std::string> lines = linesOf(tableOne());
    const int bottom =
        lineIndex(lines, "(  1  ,  2  )  杆    1    端内力   最大弯矩" + sp(6) + " 20.33 " + sp(8) +
                             "-.03 " + sp(10) + " 299.5 " + sp(8) + "( 5 )");
    ASSERT_GT(bottom, 0);
    // gravity share 1.2 (.5 L + D): M 15, V -4.2, N 276; then ± 1.3 E:
    // 7  M 15 + 7.8, V -4.2 + 1.3 (-.5) 2, N 276 + 1.3 (.5) 30   = 22.8; -5.5; 295.5
    // 8  7.2; -2.9; 256.5
    // 9  M 15 + 1.3 (.5) 6, V -4.2 + 1.3 (.25) 2, N 276 + 39     = 18.9; -3.55; 315
    // 10 11.1; -4.85; 237
    const std::vector<std::string> expected = {
        "",
        "与地震作用效应组合" + sp(17) + "最大弯矩" + sp(6) + " 22.8 " + sp(9) + "-5.5 " + sp(10) +
            " 295.5 " + sp(8) + "( 7 )",
        sp(35) + "最小弯矩" + sp(6) + " 7.2 " + sp(10) + "-2.9 " + sp(10) + " 256.5 " + sp(8) +
            "( 8 )",
        sp(35) + "最大轴力" + sp(6) + " 18.9 " + sp(9) + "-3.55 " + sp(9) + " 315 " + sp(10) +
            "( 9 )",
        sp(35) + "最小轴力" + sp(6) + " 11.1 " + sp(9) + "-4.85 " + sp(9) + " 237 " + sp(10) +
            "( 10 )",
        "(  4  ,  3  )  杆    4    端内力   最大弯矩" + sp(6) + " 0 " + sp(12) + " 0 " + sp(12) +
            " 0 " + sp(12) + "( 1 )",
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(bottom) + 4 + i], expected[i]) << "line " << i;
    }
    // Every supported end gets its seismic part: three ends, three seismic headings.
    int seismicParts = 0;
    for (const std::string& line : lines) seismicParts += line.rfind("与地震作用效应组合", 0) == 0;
    EXPECT_EQ(seismicParts, 3);
}

TEST_F(CalculationReport, NoSupportTableWithoutRestrainedColumnEnd) {
    for (int n = 1; n <= 4; ++n) {
        for (int k = 1; k <= 3; ++k) st->model.JD(k, n) = static_cast<float>(3 * (n - 1) + k);
    }
    PrintBuffer out;
    FIX0(out, *st);
    EXPECT_EQ(out.str(), "");
    const std::string one = tableOne();
    EXPECT_EQ(one.find("支座处杆端组合内力"), std::string::npos);
    const std::string lastRow = sp(4) + " .125  1 \r\n";
    EXPECT_EQ(one.compare(one.size() - lastRow.size(), lastRow.size(), lastRow), 0);
}

TEST_F(CalculationReport, TableTwoDeadLoadOnlyLineByLine) {
    st->LCF(2) = 0.0f;
    st->LCF(3) = 0.0f;
    const float moments[10] = {0, -30.5f, 999, 5, 999, 22.25f, 999, 5, 999, -30.5f};
    for (int s = 1; s <= 9; ++s) {
        st->BM(s, 1, 1) = moments[s];
        st->BM(s, 1, 2) = 777.0f;  // the live case is skipped
    }
    st->BV(1, 1, 1) = 30.0f;
    st->BV(2, 1, 1) = -30.0f;
    st->CF(9, 1, 1) = -20.0f;
    st->CF(10, 1, 1) = -3.0f;
    st->CF(11, 1, 1) = 190.0f;
    const float negative[10] = {0, -12, 0, -2, 0, 0, 0, -2, 0, -12};
    const float positive[10] = {0, 0, 0, 3.5f, 0, 9, 0, 3.5f, 0, 0};
    for (int s = 1; s <= 9; ++s) {
        st->BML(s, 1, 1) = negative[s];
        st->BML(s, 1, 2) = positive[s];
    }
    st->BVL(1, 1, 1) = 10.0f;
    st->BVL(2, 1, 1) = -10.0f;
    st->BVL(1, 1, 2) = 2.0f;
    st->BVL(2, 1, 2) = -2.0f;

    const std::string columnHeader = sp(5) + "左端,M" + sp(11) + "V" + sp(14) + "N" + sp(14) +
                                     "右端,M" + sp(11) + "V" + sp(14) + "N";
    const std::vector<std::string> expected = {
        sp(29) + "平面框架结构分析计算书",
        sp(37) + "(表二)",
        sp(29) + "原始数据文件名:PORTAL.TVL",
        sp(29) + "计算时间:2026 - 12 - 08   10:00:00",
        "",
        sp(29) + "--------恒 载 内 力--------",
        sp(38) + "梁  内  力",
        // sections 1, 3, 5, 7, 9 at columns 10, 27, 44, 61, 78
        " 1 : M=  -30.5 " + sp(11) + " 5 " + sp(14) + " 22.25 " + sp(10) + " 5 " + sp(14) +
            "-30.5 ",
        sp(5) + "V=   30 " + sp(64) + "-30 ",
        sp(38) + "柱  内  力",
        columnHeader,
        // bottom M, V, N at 6, 21, 36; top at 51, 66, 81
        " 1 :  10 " + sp(11) + "-3 " + sp(12) + " 200 " + sp(10) + "-20 " + sp(11) + "-3 " +
            sp(12) + " 190 ",
        " 2 :  0 " + sp(12) + " 0 " + sp(12) + " 0 " + sp(12) + "-8 " + sp(12) + " 2 " + sp(12) +
            " 50 ",
        sp(29) + "--------梁 活 荷 载 组 合 内 力--------",
        " 1 : M=  -12 " + sp(13) + "-2 " + sp(14) + " 0 " + sp(14) + "-2 " + sp(14) + "-12 ",
        sp(5) + "M=   0 " + sp(14) + " 3.5 " + sp(12) + " 9 " + sp(14) + " 3.5 " + sp(12) + " 0 ",
        sp(5) + "V=   10 " + sp(64) + "-10 ",
        sp(5) + "V=   2 " + sp(65) + "-2 ",
    };
    const std::vector<std::string> lines = linesOf(tableTwo());
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

TEST_F(CalculationReport, TableTwoSeismicSectionFollowsTheStaticCases) {
    addSeismic();
    const std::vector<std::string> lines = linesOf(tableTwo());
    const int wind = lineIndex(lines, sp(29) + "--------风 载 内 力--------");
    const int quake = lineIndex(lines, sp(29) + "--------地 震 作 用 效 应--------");
    const int live = lineIndex(lines, sp(29) + "--------梁 活 荷 载 组 合 内 力--------");
    ASSERT_GT(wind, 0);
    EXPECT_EQ(lineIndex(lines, sp(29) + "--------恒 载 内 力--------"), 5);
    // each static case: heading, beam heading, 2 beam lines, column heading, header, 2 columns
    EXPECT_EQ(wind, 5 + 2 * 8);
    ASSERT_EQ(quake, wind + 8);
    const std::vector<std::string> expected = {
        sp(29) + "--------地 震 作 用 效 应--------",
        sp(41) + "梁  内  力",
        " 1 : M=   2.5 " + sp(12) + " 2.5 " + sp(12) + " 2.5 " + sp(12) + " 2.5 " + sp(12) +
            " 2.5 ",
        sp(5) + "V=   .75 " + sp(63) + " .75 ",
        sp(41) + "柱  内  力",
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(quake) + i], expected[i]) << "line " << i;
    }
    EXPECT_EQ(lines[static_cast<std::size_t>(quake) + 6], " 1 :  6 " + sp(12) + " 2 " + sp(12) +
                                                              " 30 " + sp(11) + " 0 " + sp(12) +
                                                              " 0 " + sp(12) + " 0 ");
    // correlation coefficients of the two ends at columns 6 and 60
    EXPECT_EQ(lines[static_cast<std::size_t>(quake) + 7],
              sp(5) + "R_MN= .5 ,R_VN= .25 " + sp(34) + "R_MN=-.125 ,R_VN= 1 ");
    EXPECT_EQ(lines[static_cast<std::size_t>(quake) + 9],
              sp(5) + "R_MN= 0 ,R_VN= 0 " + sp(37) + "R_MN= 0 ,R_VN= 0 ");
    EXPECT_EQ(live, quake + 10);
}

TEST(ReportTimeStamp, FormatsDateAndTimeWithLiteralSeparators) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;  // March
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 3;
    t.tm_sec = 9;
    EXPECT_EQ(formatTimeStamp(t), "2024 - 03 - 05   14:03:09");
    t.tm_hour = 0;
    t.tm_min = 0;
    t.tm_sec = 0;
    EXPECT_EQ(formatTimeStamp(t), "2024 - 03 - 05   00:00:00");
    EXPECT_TRUE(isTimeStamp(currentTimeStamp()));
}

TEST(ReportTimeStamp, RecognisesOnlyTheExactForm) {
    EXPECT_TRUE(isTimeStamp("2026 - 12 - 08   10:00:00"));
    EXPECT_TRUE(isTimeStamp("1999 - 01 - 31   23:59:59"));
    EXPECT_FALSE(isTimeStamp("2026-12-08 10:00:00"));
    EXPECT_FALSE(isTimeStamp("2026 - 12 - 08  10:00:00"));
    EXPECT_FALSE(isTimeStamp("2026 - 13 - 08   10:00:00"));
    EXPECT_FALSE(isTimeStamp("2026 - 12 - 00   10:00:00"));
    EXPECT_FALSE(isTimeStamp("2026 - 12 - 08   24:00:00"));
    EXPECT_FALSE(isTimeStamp("2026 - 12 - 08   10:60:00"));
    EXPECT_FALSE(isTimeStamp("2026 - 1a - 08   10:00:00"));
    EXPECT_FALSE(isTimeStamp(""));
}

TEST(ReportRequestOfARun, TakesNameGradesAndStrengthsFromTheState) {
    auto st = std::make_unique<AnalysisState>();
    st->dataPath = "/jobs/hall/PORTAL.TVL";
    st->mainGrade = 3;
    st->stirrupGrade = 2;
    const ReportRequest r = reportRequestFor(*st, kStamp);
    EXPECT_EQ(r.dataFileName, "PORTAL.TVL");
    EXPECT_EQ(r.mainGrade, 3);
    EXPECT_EQ(r.stirrupGrade, 2);
    EXPECT_EQ(r.fy, 360.0f);
    EXPECT_EQ(r.fyv, 300.0f);
    EXPECT_EQ(r.timeStamp, kStamp);
}

TEST_F(CalculationReport, OutfWritesBothTablesBesideTheDataFile) {
    testing::TempDir dir;
    st->dataPath = dir.file("PORTAL.TVL");
    RecordingHost host;
    ASSERT_TRUE(OUTF(*st, des, request, host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(testing::TempDir::read(dir.file("TARVEL1.wri")), tableOne());
    EXPECT_EQ(testing::TempDir::read(dir.file("TARVEL2.wri")), tableTwo());
}

TEST_F(CalculationReport, OutfWithoutFixedStampUsesTheSameLocalTimeInBothFiles) {
    testing::TempDir dir;
    st->dataPath = dir.file("PORTAL.TVL");
    request.timeStamp.clear();
    RecordingHost host;
    ASSERT_TRUE(OUTF(*st, des, request, host));
    const std::vector<std::string> one = linesOf(testing::TempDir::read(dir.file("TARVEL1.wri")));
    const std::vector<std::string> two = linesOf(testing::TempDir::read(dir.file("TARVEL2.wri")));
    ASSERT_GT(one.size(), 4u);
    ASSERT_GT(two.size(), 4u);
    const std::string label = "计算时间:";
    const std::string stampOne = one[3].substr(24 + label.size());
    EXPECT_TRUE(isTimeStamp(stampOne)) << stampOne;
    EXPECT_EQ(two[3], sp(29) + label + stampOne);
}

TEST_F(CalculationReport, AFailedReportLeavesTheOldFilesWhole) {
    testing::TempDir dir;
    st->dataPath = dir.file("PORTAL.TVL");
    dir.write("TARVEL2.wri", "old listing\r\n");
    // A folder in the place of table one: it cannot be replaced by a file.
    std::filesystem::create_directory(dir.file("TARVEL1.wri"));
    RecordingHost host;
    EXPECT_FALSE(OUTF(*st, des, request, host));
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string path = dir.file("TARVEL1.wri");
    EXPECT_EQ(host.messages[0].text.rfind("错误信息:结果文件 '" + path + "' 无法写入(", 0), 0u)
        << host.messages[0].text;
    EXPECT_EQ(host.messages[0].title, "错误信息提示！");
    EXPECT_EQ(host.messages[0].icon, Icon::Information);
    ASSERT_EQ(host.logLines.size(), 1u);
    EXPECT_EQ(host.logLines[0], host.messages[0].text);
    // Table two is not written after table one failed; nothing else is left behind.
    EXPECT_EQ(testing::TempDir::read(dir.file("TARVEL2.wri")), "old listing\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "TARVEL1.wri" || name == "TARVEL2.wri") << "left behind: " << name;
    }
}

}  // namespace
}  // namespace tarvel
