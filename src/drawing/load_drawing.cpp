// The static loads of the dead, live and wind cases on the structure drawing,
// one layer per case ("DLOAD", "LLOAD", "WLOAD"), read from the data file's
// load segments.

#include <algorithm>
#include <cmath>
#include <string>

#include "common/messages.h"
#include "common/printed_number.h"
#include "drawing/drawing_window.h"
#include "model/frame_reader.h"
#include "model/member_loads.h"

namespace tarvel {

namespace {

// Sizes in drawing units.
constexpr float kLabelHeight = 2.0f;
constexpr float kMarkHeight = 3.5f;
constexpr float kStackSpacing = 9.0f;  // between the base lines of stacked distributed loads
constexpr float kForceArrow = 5.5f;    // concentrated force or axial force
constexpr float kForceLabel = 6.0f;
constexpr float kLoadDepth = 3.0f;  // height of a distributed-load figure
constexpr float kLoadLabel = 4.0f;
constexpr float kAxialLabel = -3.0f;
constexpr float kArrowSpacing = 3.0f;   // at least this far apart
constexpr float kMomentArm = 2.0f;      // R, half the stroke of the moment symbol
constexpr float kMomentArrow = 2.828f;  // 2·R·√2: the arrow shaft ends at the stroke ends
constexpr float kMomentStroke = 0.3f;
constexpr float kDiagonal = 0.7071f;

// Where a load figure stands: positions measured from `start` by `at`, the
// figure raised along the unit normal `up`, arrows handed the direction
// cosines (arrowDX, arrowDY) so that their shafts point along `up`.
struct LoadFrame {
    Point start;
    float stepX, stepY;  // position change per unit of measured distance
    float upX, upY;
    float arrowDX, arrowDY;

    Point at(float x) const { return {start.x + x * stepX, start.y + x * stepY}; }
    Point raised(Point p, float h) const { return {p.x + h * upX, p.y + h * upY}; }
    // The point u further along and h up from p, summed in the order XYTOXY
    // sums a local offset, so a label lands on the same single value.
    Point offset(Point p, float u, float h) const {
        return {p.x + u * stepX + h * upX, p.y + u * stepY + h * upY};
    }
};

// Types 1 to 4 (and their vertical counterparts): a concentrated force at a,
// or a distributed load from a to b, D = b - a long; the drawing sizes are in
// model units. The outlines end at the point of b itself: a + D in single
// precision is not always b.
void drawTransverse(DxfWriter& dxf, const LoadFrame& f, int type, float a, float b, float D,
                    float q, float ANG) {
    const float S = dxf.SCALE;
    const Point pa = f.at(a);
    if (type == 1) {
        dxf.ARROR1(pa.x, pa.y, f.arrowDX, f.arrowDY, kForceArrow * S);
        const Point label = f.raised(pa, kForceLabel * S);
        dxf.TEXTR(label.x, label.y, kLabelHeight, ANG, "C", q);
        return;
    }
    const Point pb = f.at(b);
    const float depth = kLoadDepth * S;
    dxf.LINE0(pa.x, pa.y, pb.x, pb.y);
    // Top outline: parallel for a uniform load, rising or falling for a triangular one.
    const Point top1 = type == 3 ? pa : f.raised(pa, depth);
    const Point top2 = type == 4 ? pb : f.raised(pb, depth);
    dxf.LINE0(top1.x, top1.y, top2.x, top2.y);

    const int N = std::max(1, static_cast<int>(std::floor(D / (kArrowSpacing * S))));
    for (int i = 0; i <= N; ++i) {
        const Point p = f.at(a + static_cast<float>(i) * D / static_cast<float>(N));
        float length = kLoadDepth;
        if (type == 3) length = static_cast<float>(i) * kLoadDepth / static_cast<float>(N);
        if (type == 4)
            length = kLoadDepth - static_cast<float>(i) * kLoadDepth / static_cast<float>(N);
        dxf.ARROR(p.x, p.y, f.arrowDX, f.arrowDY, length * S);
    }

    const float labelRaise = kLoadLabel * S;
    if (type == 2) {
        const Point label = f.offset(pa, D / 2, labelRaise);
        dxf.TEXTR(label.x, label.y, kLabelHeight, ANG, "C", q);
    } else if (type == 3) {
        const Point label = f.offset(pa, D, labelRaise);
        dxf.TEXTR(label.x, label.y, kLabelHeight, ANG, "R", q);
    } else {
        const Point label = f.raised(pa, labelRaise);
        dxf.TEXTR(label.x, label.y, kLabelHeight, ANG, "L", q);
    }
}

// Start a and length D of a load after the clean-up the analysis applies:
// a distributed load with a negative start begins at the start node, an end
// beyond the member or negative is the member end, and a load whose end does
// not lie after its start applies nothing (D <= 0); a concentrated load with
// a negative start, or one beyond the member, sits at the end node.
void cleanUp(bool distributed, float L, float& a, float& b, float& D) {
    if (distributed) {
        if (a < 0.0f) a = 0.0f;
        if (a > L) a = L;
        if (b < 0.0f || b > L) b = L;
        D = b - a;
    } else {
        if (a < 0.0f || a > L) a = L;
        D = 0.0f;
    }
}

}  // namespace

bool DrawingWindow::DRAWLD(DataFile& file, float XMARK, float YMARK) {
    static constexpr const char* kSegments[] = {"DLOAD", "LLOAD", "WLOAD"};
    for (int c = 1; c <= 3; ++c) {
        const char* CSEG = kSegments[c - 1];
        if (frameCase != 0 && frameCase != c) continue;
        if (file.FINDSEG(CSEG, kOptional) != 0) continue;
        if (!DRAWLOAD(file, CSEG, XMARK, YMARK, " ")) return false;
    }
    return true;
}

bool DrawingWindow::DRAWLOAD(DataFile& file, std::string_view CSEG, float XMARK, float YMARK,
                             std::string_view MARK) {
    const float S = dxf.SCALE;
    dxf.setLayer(CSEG);
    dxf.HZTEXTC(XMARK, YMARK, kMarkHeight, 0.0, "C", MARK, drawing_text::kTextStyle);
    OFFS.clear();
    try {
        for (int record = 1;; ++record) {
            int IC = 0;
            Table<float, 4> Q;
            const int m = READLD(file, IC, Q);
            if (m == 0) break;
            if (m < 1 || m > model.NE) {
                host_.log("系统提示：'" + std::string(CSEG) + "' 数据段第 " +
                          std::to_string(record) + " 条记录的杆件号 " + std::to_string(m) +
                          " 不存在,该荷载未画出！");
                continue;
            }
            const int I = model.startNode(m);
            const int J = model.endNode(m);
            const Point pi{model.XY(1, I), model.XY(2, I)};
            const Point pj{model.XY(1, J), model.XY(2, J)};
            if (IC == 1 || IC == 5 || IC == 6) {
                // Drawn at the end node, as the clean-up puts it; the analysis refuses it.
                LoadParameters p{Q(1), memberGeometry(model, m).L, Q(3), Q(4)};
                if (cleanLoad(IC, p) == LoadFate::BeyondEnd) {
                    host_.log(std::string(read_text::kWarning) + "'" + std::string(CSEG) + "' 数据段第 " +
                              std::to_string(record) + " 条记录的荷载位置 A=" + strSingle(Q(3)) + " 超出杆件 " +
                              std::to_string(m) + " 的长度 L=" + strSingle(p.L) + ",该荷载画在杆件末端,分析程序将拒绝该荷载！");
                }
                DRLOAD(pi.x, pi.y, pj.x, pj.y, IC, Q);
                continue;
            }
            // Distributed loads stack on parallel base lines on the member's left-hand side.
            const Direction d = directionOf(pi.x, pi.y, pj.x, pj.y);
            const Point b1 = d.local(pi, 0.0f, OFFS(m));
            const Point b2 = d.local(pj, 0.0f, OFFS(m));
            OFFS(m) = OFFS(m) + kStackSpacing * S;
            DRLOAD(b1.x, b1.y, b2.x, b2.y, IC, Q);
        }
    } catch (const ListInputError& e) {
        const std::string text = listErrorText(e, CSEG) + "(数据文件 '" + file.path() + "')";
        tellError(host_, text);
        return false;
    }
    return true;
}

int DrawingWindow::READLD(DataFile& file, int& IC, Table<float, 4>& Q) {
    // The closing record is a blank line, which may be the last line of the
    // file: its member number of 0 ends the segment before more is read.
    ListReader& in = file.in();
    const int IBAR = in.readInteger();
    if (IBAR == 0) return 0;
    IC = in.readInteger();
    Q(1) = in.readSingle();
    Q(3) = in.readSingle();
    Q(4) = in.readSingle();
    return IBAR;
}

void DrawingWindow::DRLOAD(float X1, float Y1, float X2, float Y2, int IC, Table<float, 4>& Q) {
    const float S = dxf.SCALE;
    const Direction d = directionOf(X1, Y1, X2, Y2);
    Q(2) = d.L;
    const Point start{X1, Y1};
    float D = 0.0f;

    if (IC >= 1 && IC <= 6) {
        cleanUp(IC >= 2 && IC <= 4, d.L, Q(3), Q(4), D);
        const Point p = d.along(start, Q(3));
        if (IC == 5) {
            // Axial force: the arrow lies on the member behind the point and points towards J.
            dxf.ARROR1(p.x, p.y, -d.S, d.C, kForceArrow * S);
            const Point label = d.local(p, 0.0f, kAxialLabel * S);
            dxf.TEXTR(label.x, label.y, kLabelHeight, d.ANG, "R", Q(1));
        } else if (IC == 6) {
            // Moment: a stroke with an arrow at each end, the same whatever the sign.
            const float R = kMomentArm * S;
            dxf.PLINE2(p.x - R, p.y + R, 2 * R, -2 * R, kMomentStroke);
            dxf.TEXTR(p.x + S, p.y + 3 * S, kLabelHeight, d.ANG, "L", Q(1));
            dxf.ARROR1(p.x, p.y + 2 * R, -kDiagonal, kDiagonal, kMomentArrow * S);
            dxf.ARROR1(p.x, p.y - 2 * R, kDiagonal, -kDiagonal, kMomentArrow * S);
        } else if (IC == 1 || D > 0.0f) {
            const LoadFrame f{start, d.C, d.S, -d.S, d.C, d.C, d.S};
            drawTransverse(dxf, f, IC, Q(3), Q(4), D, Q(1), d.ANG);
        }
        return;
    }

    // Vertical loads: positions measured horizontally from the start node,
    // arrows vertical. A vertical member has no horizontal length to load.
    if (IC >= -4 && IC <= -1 && d.C != 0.0f) {
        const float horizontalLength = d.L * std::fabs(d.C);
        cleanUp(IC != -1, horizontalLength, Q(3), Q(4), D);
        if (IC != -1 && D <= 0.0f) return;
        const float stepX = d.C > 0.0f ? 1.0f : -1.0f;
        const LoadFrame f{start, stepX, d.S / std::fabs(d.C), 0.0f, 1.0f, 1.0f, 0.0f};
        drawTransverse(dxf, f, -IC, Q(3), Q(4), D, Q(1), d.ANG);
    }
}

}  // namespace tarvel
