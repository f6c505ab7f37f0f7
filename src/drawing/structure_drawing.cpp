// The computation diagram of a frame data file: members, supports, section
// and node labels, the two dimension chains and the title block; the loads
// are added by the load drawing.

#include <algorithm>
#include <cmath>
#include <string>

#include "common/list_input.h"
#include "common/messages.h"
#include "common/printed_number.h"
#include "drawing/drawing_window.h"
#include "drawing/title_block.h"
#include "model/frame_reader.h"

namespace tarvel {

namespace {

// Sizes in drawing units.
constexpr float kMemberWidth = 0.25f;
constexpr float kHeavyWidth = 0.5f;
constexpr float kLabelHeight = 2.0f;
constexpr float kCaptionHeight = 3.5f;  // "结构简图", as high as the file name
constexpr float kDimensionOffset = 9.0f;  // chains below and left of the frame
constexpr float kExtensionLength = 5.0f;
constexpr float kTickHalf = 0.6f;

// A single-precision value as its shortest text with a zero before the point
// (0.25 -> "0.25", 0.35 -> "0.35"): the 7-digit item text read back exactly.
std::string singleText(float x) {
    std::string text = strSingle(x);
    PACKCHAR(text);
    double value = 0.0;
    return parseNumber(text, value) ? plainDouble(value) : text;
}

// Node label "n(ix,iy,ir)".
std::string nodeLabel(const FrameModel& m, int n) {
    return std::to_string(n) + "(" + std::to_string(m.code(1, n)) + "," +
           std::to_string(m.code(2, n)) + "," + std::to_string(m.code(3, n)) + ")";
}

// Distinct values of one node coordinate, in node order, exact equality.
int distinctCount(const FrameModel& m, int k) {
    Table<float, limits::kMaxNodes> seen;
    int count = 0;
    for (int n = 1; n <= m.NJ; ++n) {
        bool known = false;
        for (int i = 1; i <= count && !known; ++i) known = (seen(i) == m.XY(k, n));
        if (!known) seen(++count) = m.XY(k, n);
    }
    return count;
}

// Estimated width of a dimension label, model units: about two drawing units
// per digit, at least three digits, plus one.
double labelWidth(float span, float S) {
    const double digits = std::max(3.0, std::log(1000.0 * std::fabs(static_cast<double>(span))));
    return (2.0 * digits + 1.0) * static_cast<double>(S);
}

}  // namespace

bool DrawingWindow::Drawfm() {
    host_.clearLog();
    host_.log(drawing_text::kRunLog);
    const std::string FNAME = TxtName;
    DataFile file(host_, dxf.WORKDIR + FNAME);
    // After a missing segment or a value that cannot be read the reader has
    // reported it; the command ends here, before anything is drawn, and the
    // log says which file it was.
    const ReadStatus read = INDATA(file, model, host_, ReaderOptions::drawing());
    if (read != ReadStatus::Ok) {
        if (read != ReadStatus::CannotOpen) {
            host_.log("错误信息:数据文件 '" + file.path() + "' 读入有错,计算简图没有画出！");
        }
        return false;
    }
    if (!distinctCoordinatesWithinLimit()) return false;

    dxf.SCALE = scaleFromBox();
    static constexpr const char* kCaseNames[] = {"", "_DLOAD.TVL", "_LLOAD.TVL", "_WLOAD.TVL"};
    const bool oneCase = frameCase >= 1 && frameCase <= 3;
    dxf.PLOTST("PLOT.DXF", 2, oneCase ? replaceLastFour(FNAME, kCaseNames[frameCase]) : FNAME,
               host_);
    DRAWFRM();
    float XMARK = 0.0f;
    float YMARK = 0.0f;
    DRAWDIM(FNAME, XMARK, YMARK);
    if (!DRAWLD(file, XMARK, YMARK)) {
        dxf.discard();
        return false;
    }
    std::string error;
    if (!dxf.PLOTEND(&error)) {
        const std::string text = "错误信息:无法写入图形文件：" + error;
        tellError(host_, text);
        return false;
    }
    host_.message(drawing_text::kDone, drawing_text::kDoneTitle, Icon::Information);
    return true;
}

// The dimension chains hold at most 70 distinct X and 70 distinct Y values.
bool DrawingWindow::distinctCoordinatesWithinLimit() {
    const std::string base = ReaderOptions::drawing().limitMessage;
    static constexpr const char* kWhat[] = {"", "不同的节点X坐标", "不同的节点Y坐标"};
    for (int k = 1; k <= 2; ++k) {
        const int count = distinctCount(model, k);
        if (count > kMaxDistinctCoordinates) {
            tell(host_, overLimitText(base, kWhat[k], count, kMaxDistinctCoordinates), read_text::kLimitTitle,
                 Icon::None);
            return false;
        }
    }
    return true;
}

void DrawingWindow::DRAWFRM() {
    const float S = dxf.SCALE;
    auto X = [&](int n) { return model.XY(1, n); };
    auto Y = [&](int n) { return model.XY(2, n); };

    dxf.setLayer("0");
    for (int m = 1; m <= model.NE; ++m) {
        const int I = model.startNode(m);
        const int J = model.endNode(m);
        dxf.PLINE2(X(I), Y(I), X(J) - X(I), Y(J) - Y(I), kMemberWidth);
    }

    // Support symbols by the restrained displacements (code 0).
    dxf.setLayer("0");
    for (int n = 1; n <= model.NJ; ++n) {
        const bool u = model.JD(1, n) != 0.0f;
        const bool v = model.JD(2, n) != 0.0f;
        const bool r = model.JD(3, n) != 0.0f;
        const float x = X(n);
        const float y = Y(n);
        if (!u && !v && !r) {  // fixed
            dxf.PLINE2(x - 2 * S, y, 4 * S, 0.0f, kHeavyWidth);
        } else if (!u && !v && r) {  // pinned
            dxf.PLINE2(x - 2 * S, y - 2 * S, 4 * S, 0.0f, kHeavyWidth);
            dxf.LINE0(x - S, y - 2 * S, x, y);
            dxf.LINE0(x, y, x + S, y - 2 * S);
            dxf.CIRCLE0(x, y, 0.5f * S);
        } else if (!u && v && r) {  // horizontal link to a wall
            dxf.LINE0(x - 4 * S, y, x - 0.5f * S, y);
            dxf.PLINE2(x - 5 * S, y - 2 * S, 0.0f, 4 * S, kHeavyWidth);
            dxf.CIRCLE0(x, y, 0.5f * S);
            dxf.CIRCLE0(x - 4.5f * S, y, 0.5f * S);
        } else if (u && !v && r) {  // vertical link to the ground
            dxf.LINE0(x, y - 0.5f * S, x, y - 4 * S);
            dxf.PLINE2(x - 2 * S, y - 5 * S, 4 * S, 0.0f, kHeavyWidth);
            dxf.CIRCLE0(x, y, 0.5f * S);
            dxf.CIRCLE0(x, y - 4.5f * S, 0.5f * S);
        }
    }

    // Section B X H below the middle of each member, along it.
    dxf.setLayer("SEC-TEXT");
    for (int m = 1; m <= model.NE; ++m) {
        const int I = model.startNode(m);
        const int J = model.endNode(m);
        const Direction d = directionOf(X(I), Y(I), X(J), Y(J));
        const Point middle{(X(I) + X(J)) / 2, (Y(I) + Y(J)) / 2};
        const Point at = d.local(middle, 0.0f, -S);
        const int sec = model.sectionOf(m);
        const std::string label =
            singleText(model.SEC(1, sec)) + "X" + singleText(model.SEC(2, sec));
        dxf.TEXTC(at.x, at.y, kLabelHeight, d.ANG, "TC", label);
    }

    dxf.setLayer("P-TEXT");
    for (int n = 1; n <= model.NJ; ++n) {
        dxf.TEXTC(X(n) + S, Y(n) + S, kLabelHeight, 0.0, "L", nodeLabel(model, n));
    }
}

void DrawingWindow::DRAWDIM(std::string_view FNAME, float& XMARK, float& YMARK) {
    const float S = dxf.SCALE;
    DrawingExtents extents(1E7f);
    dxf.setLayer("P-DIM");

    Table<float, kMaxDistinctCoordinates> XS;
    Table<float, kMaxDistinctCoordinates> YS;
    int NX = 0;
    int NY = 0;
    auto addDistinct = [](Table<float, kMaxDistinctCoordinates>& list, int& count, float value) {
        for (int i = 1; i <= count; ++i) {
            if (list(i) == value) return;
        }
        if (count < kMaxDistinctCoordinates) list(++count) = value;
    };
    for (int n = 1; n <= model.NJ; ++n) {
        const float x = model.XY(1, n);
        const float y = model.XY(2, n);
        extents.add(x, y);
        addDistinct(XS, NX, x);
        addDistinct(YS, NY, y);
    }

    // Sorted coordinates become the spans between them; the first stays as the origin.
    CHANGE(XS, NX);
    CHANGE(YS, NY);
    const float X0 = XS(1);
    const float Y0 = YS(1);
    for (int i = 1; i <= NX - 1; ++i) XS(i) = XS(i + 1) - XS(i);
    for (int i = 1; i <= NY - 1; ++i) YS(i) = YS(i + 1) - YS(i);
    RSIZEX(X0, Y0 - kDimensionOffset * S, XS, NX - 1, kExtensionLength);
    RSIZEY(X0 - kDimensionOffset * S, Y0, YS, NY - 1, kExtensionLength);

    XMARK = extents.middle();
    YMARK = extents.YMIN - 16 * S;
    TitleBlock block(dxf, extents);
    block.text(16, kCaptionHeight, "结构简图");
    block.rule(9, 20);
    block.fileName(FNAME);
}

// Horizontal dimension chain; labels of short even-numbered spans drop below
// the line so that neighbouring labels do not overlap.
void DrawingWindow::RSIZEX(float X0, float Y0, const Table<float, kMaxDistinctCoordinates>& SIZE,
                           int NN, float a) {
    if (NN < 1) return;
    const float S = dxf.SCALE;
    auto mark = [&](float x) {
        dxf.LINE0(x, Y0, x, Y0 + a * S);
        dxf.PLINE2(x - kTickHalf * S, Y0 - kTickHalf * S, 2 * kTickHalf * S, 2 * kTickHalf * S,
                   kHeavyWidth);
    };
    mark(X0);
    float XC = X0;
    for (int i = 1; i <= NN; ++i) {
        const float s = SIZE(i);
        const bool below = (i % 2 == 0) && labelWidth(s, S) > static_cast<double>(s);
        const float y = below ? Y0 - 3 * S : Y0 + S;
        dxf.TEXTR(XC + s / 2, y, kLabelHeight, 0.0, "C", s);
        XC = XC + s;
        mark(XC);
    }
    dxf.LINE0(X0, Y0, XC, Y0);
}

// Vertical dimension chain, the horizontal one turned by 90°.
void DrawingWindow::RSIZEY(float X0, float Y0, const Table<float, kMaxDistinctCoordinates>& SIZE,
                           int NN, float a) {
    if (NN < 1) return;
    const float S = dxf.SCALE;
    auto mark = [&](float y) {
        dxf.LINE0(X0, y, X0 + a * S, y);
        dxf.PLINE2(X0 + kTickHalf * S, y - kTickHalf * S, -2 * kTickHalf * S, 2 * kTickHalf * S,
                   kHeavyWidth);
    };
    mark(Y0);
    float YC = Y0;
    for (int i = 1; i <= NN; ++i) {
        const float s = SIZE(i);
        const bool right = (i % 2 == 0) && labelWidth(s, S) > static_cast<double>(s);
        const float x = right ? X0 + 3 * S : X0 - S;
        dxf.TEXTR(x, YC + s / 2, kLabelHeight, 90.0, "C", s);
        YC = YC + s;
        mark(YC);
    }
    dxf.LINE0(X0, Y0, X0, YC);
}

}  // namespace tarvel
