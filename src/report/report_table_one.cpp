#include "report/report_table_one.h"

#include <string_view>

#include "design/load_combinations.h"

namespace tarvel {

namespace {

// Storey table of one load case: horizontal displacement of each level and
// drift to the level below, m.
struct StoreyMotion {
    float D = 0.0f;
    float d = 0.0f;
};

StoreyMotion windMotion(const AnalysisState& st, int l) {
    const float below = l > 1 ? st.UD(1, l - 1) : 0.0f;
    return {st.UD(1, l), st.UD(1, l) - below};
}

StoreyMotion seismicMotion(const AnalysisState& st, int l) { return {st.UD(2, l), st.UD(3, l)}; }

// A height over a displacement at its column; a level that does not move has
// no ratio, so the item is left out (the next Tab keeps the later columns).
void ratioAt(PrintBuffer& out, int column, float height, float displacement) {
    if (displacement != 0.0f) out.tab(column).single(height / displacement);
}

template <typename Motion>
void displacementTable(PrintBuffer& out, const AnalysisState& st, std::string_view heading,
                       Motion motionOf) {
    const FrameModel& md = st.model;
    out.tab(30).text(heading).endLine();
    headingLine(out, {{1, "侧移编号"},
                      {8, "节点号"},
                      {14, "标高(m)"},
                      {22, "高度H(m)"},
                      {30, "位移D(m)"},
                      {38, "H/D"},
                      {44, "层高h(m)"},
                      {54, "层间位移d"},
                      {62, "h/d"}});
    for (int l = 1; l <= md.NLEV; ++l) {
        const StoreyMotion u = motionOf(st, l);
        const float H = md.LEVY(l) - md.LEVY(0);  // above the lowest node
        const float h = md.LEVY(l) - md.LEVY(l - 1);
        out.tab(1).integer(l).tab(12).single(md.LEVN(l)).tab(20).single(md.LEVY(l));
        out.tab(30).single(H).tab(40).fourDecimals(static_cast<double>(u.D));
        ratioAt(out, 50, H, u.D);
        out.tab(58).single(h).tab(68).fourDecimals(static_cast<double>(u.d));
        ratioAt(out, 80, h, u.d);
        out.endLine();
    }
}

void missingCases(PrintBuffer& out, const AnalysisState& st) {
    if (st.LCF(kDeadCase) == 0.0f) out.text("无恒荷载").endLine();
    if (st.LCF(kLiveCase) == 0.0f) out.text("无活荷载").endLine();
}

void windDisplacements(PrintBuffer& out, const AnalysisState& st) {
    if (st.LCF(kWindCase) != 0.0f) {
        displacementTable(out, st, "风载作用下的水平位移", windMotion);
    } else {
        out.text("无风荷载").endLine();
    }
    out.endLine();
}

float elevationOf(const FrameModel& md, float node) {
    const int n = static_cast<int>(node);
    return n >= 1 && n <= limits::kMaxNodes ? md.XY(2, n) : 0.0f;
}

void massTable(PrintBuffer& out, const AnalysisState& st) {
    const DynamicResults& dyn = st.dyn;
    headingLine(out, {{1, "侧移编号"},
                      {10, "节点编号"},
                      {22, "标高"},
                      {34, "恒载质量(KN)"},
                      {43, "活载质量(KN)"},
                      {54, "附加质量(KN)"},
                      {64, "总质量(KN)"}});
    for (int j = 1; j <= dyn.NMASS; ++j) {
        out.integer(j).zone().single(dyn.MNODE(j));
        out.zone().single(elevationOf(st.model, dyn.MNODE(j)));
        out.zone().fourDecimals(static_cast<double>(dyn.WD(j)));
        out.zone().fourDecimals(static_cast<double>(dyn.WL(j)));
        out.zone().fourDecimals(static_cast<double>(dyn.WA(j)));
        out.zone().fourDecimals(static_cast<double>(dyn.WG(j))).endLine();
    }
    out.endLine();
}

// The first two periods and modes are listed whatever the number of masses
// and modes: entries beyond NMASS print as 0.
void periodsAndModes(PrintBuffer& out, const DynamicResults& dyn) {
    out.tab(5).text("--------------------固有周期(秒)--------------------").endLine();
    out.fourDecimals(dyn.PERIOD(1)).zone().fourDecimals(dyn.PERIOD(2)).endLine();
    out.endLine().endLine();
    out.tab(5).text("--------------------振        型--------------------").endLine();
    for (int k = 1; k <= 2; ++k) {
        out.text("第").integer(k).text("振型:");
        out.fourDecimals(dyn.PHI(1, k)).fourDecimals(dyn.PHI(2, k)).endLine();
    }
    out.endLine();
}

void seismicResults(PrintBuffer& out, const AnalysisState& st) {
    if (st.LCF(kSeismicCase) == 0.0f) {
        out.text("不考虑地震作用").endLine().endLine();
        return;
    }
    const DynamicResults& dyn = st.dyn;
    out.tab(30).text("地震作用结果").endLine();
    out.single(dyn.par.KCLASS).text("级抗震结构").single(dyn.par.K0).text("度设防,特征周期为");
    out.single(dyn.par.TG).text("考虑").single(dyn.par.NN).text("振形").endLine();
    // ALF1 and ALF2 as read: the design steps reuse the working copies.
    out.single(dyn.raw.ALF1 * 100.0f).text("%").text("的活荷载作用为集中质量,填充墙周期调整系数为");
    out.single(dyn.raw.ALF2).endLine();
    out.text("梁剪力调整系数:").single(dyn.con.ETAVB);
    out.text(",柱剪力调整系数:").single(dyn.con.ETAVC);
    out.text(",柱弯矩调整系数:").single(dyn.con.ETAMC).endLine();
    out.endLine();
    massTable(out, st);
    periodsAndModes(out, dyn);
    displacementTable(out, st, "地震作用下的水平位移", seismicMotion);
    out.endLine();
}

void gradeNote(PrintBuffer& out, std::string_view mainLabel, std::string_view stirrupLabel,
               const ReportRequest& request) {
    out.tab(15).text(mainLabel).integer(request.mainGrade).text(",FY=").single(request.fy);
    out.text("(N/mm2);").text(stirrupLabel).integer(request.stirrupGrade).text(",FY=");
    out.single(request.fyv).text("(N/mm2)]").endLine();
}

// Section sizes in mm, cut to whole millimetres.
float millimetres(float metres) { return metres * 1000.0f; }

void beamReinforcement(PrintBuffer& out, const AnalysisState& st, const DesignResults& des,
                       const ReportRequest& request) {
    const FrameModel& md = st.model;
    out.tab(20).text("----梁的钢筋面积(mm2)及梁端单位长度的箍筋面积(mm2/mm)----").endLine();
    gradeNote(out, "注：[梁的纵筋级别:", "梁的箍筋级别:", request);
    out.tab(30).text("----[注:括号内的数字为最不利组合号]----").endLine();
    for (int b = 1; b <= md.NB; ++b) {
        const int sec = md.sectionOf(b);
        out.integer(b).text("梁(").single(md.MEM(1, b)).text(",").single(md.MEM(2, b)).text("),C");
        out.single(md.GRADE(md.concreteOf(b))).text(",B=").truncated(millimetres(md.SEC(1, sec)));
        out.text(",H=").truncated(millimetres(md.SEC(2, sec))).endLine();
        for (int j = 1; j <= 2; ++j) {
            out.tab(1).text(j == 1 ? "上部钢筋:" : "下部钢筋:");
            for (int s = 1; s <= 9; ++s) {
                out.tab(6 + 12 * (s - 1)).truncated(des.BAS(s, b, j));
                out.text("(").single(des.BASC(s, b, j)).text(")");
            }
            out.endLine();
        }
        out.tab(1).text("箍筋面积: Asv/S=").fourDecimals(static_cast<double>(des.BASV(1, b)));
        out.text("(").single(des.BASVC(1, b)).text(")");
        out.tab(102).fourDecimals(static_cast<double>(des.BASV(2, b)));
        out.text("(").single(des.BASVC(2, b)).text(")").endLine();
        out.endLine();
    }
}

// The value of the two column ends that the report shows: the bottom end's
// only when strictly larger.
template <typename T>
float largerEnd(const T& table, int i) {
    return table(1, i) > table(2, i) ? table(1, i) : table(2, i);
}

void columnReinforcement(PrintBuffer& out, const AnalysisState& st, const DesignResults& des,
                         const ReportRequest& request) {
    const FrameModel& md = st.model;
    out.tab(25).text("----柱钢筋面积(mm2)及箍筋(ASV/S,mm2/mm)等----").endLine();
    gradeNote(out, "注：[柱的纵筋级别:", "柱的箍筋级别:", request);
    headingLine(out, {{1, "柱编号"},
                      {8, "杆端编号"},
                      {14, "混凝土"},
                      {18, "截面尺寸"},
                      {27, "弯压钢筋及最"},
                      {49, "配筋率"},
                      {61, "轴压钢筋"},
                      {72, "配筋率"},
                      {88, "箍筋及最不"},
                      {100, "轴压比"},
                      {105, "计算长"}});
    headingLine(
        out, {{22, "等级"}, {28, "(b*h)"}, {40, "不利组合号"}, {112, "利组合号"}, {132, "度系数"}});
    for (int i = 1; i <= md.NC; ++i) {
        const int m = md.NB + i;
        const int sec = md.sectionOf(m);
        out.tab(1).integer(i).tab(9).text("(").single(md.MEM(1, m)).text(",").single(md.MEM(2, m));
        out.text(")").tab(22).text("C").single(md.GRADE(md.concreteOf(m)));
        out.truncated(millimetres(md.SEC(1, sec))).truncated(millimetres(md.SEC(2, sec)));
        for (int e = 1; e <= 2; ++e) {
            out.truncated(des.CAS(e, i)).text("(").single(des.CASC(e, i)).text(")");
        }
        out.tab(67).fourDecimals(static_cast<double>(largerEnd(des.CRHO, i) * 100.0f)).text("%");
        out.tab(78).truncated(des.CAS0(1, i)).tab(89).truncated(des.CAS0(2, i));
        out.tab(101).fourDecimals(static_cast<double>(largerEnd(des.CRHO0, i) * 100.0f)).text("%");
        for (int e = 1; e <= 2; ++e) {
            out.tab(e == 1 ? 112 : 123).fourDecimals(static_cast<double>(des.CASV(e, i)));
            out.text("(").single(des.CASVC(e, i)).text(")");
        }
        out.tab(135).fourDecimals(static_cast<double>(largerEnd(des.CNR, i))).single(md.ALFC(i));
        out.endLine();
    }
}

bool hasRestrainedCode(const FrameModel& md, int node) {
    return md.code(1, node) == 0 || md.code(2, node) == 0 || md.code(3, node) == 0;
}

bool anySupportedColumnEnd(const FrameModel& md) {
    for (int i = 1; i <= md.NC; ++i) {
        const int m = md.NB + i;
        if (hasRestrainedCode(md, md.startNode(m)) || hasRestrainedCode(md, md.endNode(m))) {
            return true;
        }
    }
    return false;
}

// M, V, N of one combination from `column` on, 15 columns apart, then its number.
void combinationForces(PrintBuffer& out, const SupportCombinations& c, int number, int column) {
    const EndForces& f = c[static_cast<std::size_t>(number)];
    out.tab(column).fourDecimals(static_cast<double>(f.M));
    out.tab(column + 15).fourDecimals(static_cast<double>(f.V));
    out.tab(column + 30).fourDecimals(static_cast<double>(f.N));
    out.tab(column + 45).text("(").integer(number).text(")").endLine();
}

// The three extremes after the first line of a group.
void otherExtremes(PrintBuffer& out, const SupportCombinations& c, const SupportExtremes& x) {
    out.tab(36).text("最小弯矩");
    combinationForces(out, c, x.smallestM, 46);
    out.tab(36).text("最大轴力");
    combinationForces(out, c, x.largestN, 46);
    out.tab(36).text("最小轴力");
    combinationForces(out, c, x.smallestN, 46);
}

// Forces of column end e for the four load cases: k = 5, 6, 7 at the bottom, 9, 10, 11 at the top.
CaseValues endForce(const AnalysisState& st, int k, int i) {
    return {st.CF(k, i, kDeadCase), st.CF(k, i, kLiveCase), st.CF(k, i, kWindCase),
            st.CF(k, i, kSeismicCase)};
}

}  // namespace

void FIX0(PrintBuffer& out, const AnalysisState& st) {
    const FrameModel& md = st.model;
    if (!anySupportedColumnEnd(md)) return;
    out.endLine();
    out.tab(5).text("----支座处杆端组合内力[组合号7至10为与地震作用效应组合]----").endLine();
    headingLine(out, {{51, "弯矩(KN-M)"}, {64, "剪力"}, {77, "轴力(KN)"}, {89, "组合号"}});
    const bool seismic = st.LCF(kSeismicCase) != 0.0f;
    for (int i = 1; i <= md.NC; ++i) {
        const int m = md.NB + i;
        for (int e = 1; e <= 2; ++e) {
            const float node = md.MEM(e, m);
            if (!hasRestrainedCode(md, static_cast<int>(node))) continue;
            const int k = e == 1 ? 5 : 9;
            const SupportCombinations c = supportCombinations(
                endForce(st, k, i), endForce(st, k + 1, i), endForce(st, k + 2, i), st.RMN(e, i),
                st.RVM(e, i), st.RVN(e, i), st.dyn.raw.ALF1);

            const SupportExtremes plain = supportExtremes(c, 1, kLastNonSeismicSupport);
            out.tab(1).text("(").tab(3).single(md.MEM(1, m)).tab(7).text(",").tab(9);
            out.single(md.MEM(2, m)).tab(13).text(")  杆").tab(20).single(node).tab(26);
            out.text("端内力").tab(32).text("最大弯矩");
            combinationForces(out, c, plain.largestM, 42);
            otherExtremes(out, c, plain);

            if (!seismic) continue;
            const SupportExtremes withQuake =
                supportExtremes(c, kLastNonSeismicSupport + 1, kSupportCombinations);
            out.endLine();
            out.tab(1).text("与地震作用效应组合").tab(27).text("最大弯矩");
            combinationForces(out, c, withQuake.largestM, 37);
            otherExtremes(out, c, withQuake);
        }
    }
}

void printTableOne(PrintBuffer& out, const AnalysisState& st, const DesignResults& des,
                   const ReportRequest& request) {
    titleBlock(out, ReportTable::One, request);
    missingCases(out, st);
    windDisplacements(out, st);
    seismicResults(out, st);
    beamReinforcement(out, st, des, request);
    columnReinforcement(out, st, des, request);
    FIX0(out, st);
}

std::string tableOneText(const AnalysisState& st, const DesignResults& des,
                         const ReportRequest& request) {
    PrintBuffer out;
    printTableOne(out, st, des, request);
    return out.take();
}

}  // namespace tarvel
