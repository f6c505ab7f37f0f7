// Bending-moment, shear-force and axial-force diagrams of one load case from
// its internal-force file (.fkn): header NE, max |M|, max |V|, max |N|; per
// member the end coordinates X(I) Y(I) X(J) Y(J), then M V N at the nine
// sections. The geometry comes from the file itself.

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/list_input.h"
#include "drawing/drawing_window.h"
#include "drawing/title_block.h"
#include "drawing/result_file_text.h"

namespace tarvel {

namespace {

constexpr float kAxisWidth = 0.25f;
constexpr float kLabelHeight = 2.0f;
constexpr int kSections = 9;

constexpr const char* kPrefixes[] = {"", "DLOAD", "LLOAD", "WLOAD"};

struct DiagramKind {
    const char* letter;     // layer, and the drawing name's suffix
    const char* titles[3];  // for load types 1, 2, 3
    const char* units;
};
constexpr DiagramKind kDiagrams[] = {
    {"M", {"恒载弯矩图", "活载弯矩图", "风载弯矩图"}, "单位：KN-m"},
    {"V", {"恒载剪力图", "活载剪力图", "风载剪力图"}, "单位：KN"},
    {"N", {"恒载轴力图", "活载轴力图", "风载轴力图"}, "单位：KN"},
};

// The Y values of the member ends of an internal-force file; as many as can
// be read (the drawing itself reports a file that cannot be read).
std::vector<float> memberLevels(const std::string& bytes) {
    std::vector<float> levels;
    ListReader in(bytes);
    try {
        const int NE = in.readInteger();
        for (int k = 0; k < 3; ++k) in.readSingle();
        for (int m = 1; m <= NE; ++m) {
            in.readSingle();
            levels.push_back(in.readSingle());
            in.readSingle();
            levels.push_back(in.readSingle());
            for (int k = 0; k < 27; ++k) in.readSingle();
        }
    } catch (const ListInputError&) {
    }
    return levels;
}

}  // namespace

bool DrawingWindow::Drawfc() {
    host_.clearLog();
    DrawingExtents extents;
    const bool knownType = loadType >= 1 && loadType <= 3;
    const std::string prefix = knownType ? kPrefixes[loadType] : "";
    const std::string input = !TxtName.empty() ? TxtName : prefix + ".fkn";

    const std::optional<std::string> bytes = readWholeFile(dxf.WORKDIR + input);
    if (!bytes) {
        untickDiagramBoxes();
        return unreadableResultFile(dxf.WORKDIR + input);
    }
    ListReader in(*bytes);
    const bool chosen[3] = {drawMoments, drawShears, drawAxialForces};
    try {
        const int NE = in.readInteger();
        const float RM = in.readSingle();
        const float RV = in.readSingle();
        const float RN = in.readSingle();
        if (NE < 0) {
            untickDiagramBoxes();
            return resultFileFailure(invalidCountText(input, "杆件数", NE));
        }

        std::string output = prefix + "MVN.fkn";
        for (const DiagramKind& k : kDiagrams) {
            if (chosen[&k - kDiagrams]) {
                output = prefix + "_" + k.letter + ".fkn";
                break;
            }
        }

        dxf.SCALE = scaleFromBox();
        const float H = CboAlf == drawing_text::kByStorey ? heightByStorey(memberLevels(*bytes), dxf.SCALE)
                                                          : heightFromBox();
        // The reference magnitude of each diagram is drawn H drawing units
        // from the axis; moments on the other side from shear and axial force.
        const float ALFM = RM != 0.0f ? -H * dxf.SCALE / RM : 1.0f;
        const float ALFV = RV != 0.0f ? H * dxf.SCALE / RV : 1.0f;
        const float ALFN = RN != 0.0f ? H * dxf.SCALE / RN : 0.0f;

        dxf.PLOTST0("PLOT.DXF", 2, output);
        for (int m = 1; m <= NE; ++m) {
            const float X1 = in.readSingle();
            const float Y1 = in.readSingle();
            const float X2 = in.readSingle();
            const float Y2 = in.readSingle();
            for (int s = 1; s <= kSections; ++s) {
                for (int k = 1; k <= 3; ++k) F(k, s) = in.readSingle();
            }
            extents.add(X1, Y1);
            extents.add(X2, Y2);
            dxf.setLayer("0");
            dxf.PLINE2(X1, Y1, X2 - X1, Y2 - Y1, kAxisWidth);
            FCBAR(X1, Y1, X2, Y2, ALFM, ALFV, ALFN);
        }
    } catch (const ListInputError& e) {
        untickDiagramBoxes();
        return resultFileFailure(readErrorText(e, input));
    }

    TitleBlock block(dxf, extents);
    block.rule(19, 40);
    block.fileName(input);
    for (const DiagramKind& k : kDiagrams) {
        if (!chosen[&k - kDiagrams]) continue;
        dxf.setLayer(k.letter);
        block.title(knownType ? k.titles[loadType - 1] : " ");
        block.units(k.units);
    }

    std::string error;
    if (!dxf.PLOTEND(&error)) {
        untickDiagramBoxes();
        return resultFileFailure("错误信息:无法写入图形文件：" + error);
    }
    host_.message(drawing_text::kDone, drawing_text::kDoneTitle, Icon::Information);
    host_.log(drawing_text::kRunLog);
    host_.log("图形交互文件名： " + dxf.DXFFILE);

    // The next drawing starts with no diagram type chosen.
    drawMoments = drawShears = drawAxialForces = false;
    Check1 = Check2 = Check3 = CheckBox{};
    return true;
}

// Diagrams of one member: ordinates F·factor at the nine sections on the
// member's left-hand side (v axis), outline, and labels of the absolute
// values at both ends (and at the middle of the moment diagram, outside it).
void DrawingWindow::FCBAR(float X1, float Y1, float X2, float Y2, float ALFM, float ALFV,
                          float ALFN) {
    const float S = dxf.SCALE;
    const Direction d = directionOf(X1, Y1, X2, Y2);
    const float stepX = (X2 - X1) / 8;
    const float stepY = (Y2 - Y1) / 8;
    const float factors[3] = {ALFM, ALFV, ALFN};
    const bool chosen[3] = {drawMoments, drawShears, drawAxialForces};

    for (int k = 1; k <= 3; ++k) {
        const DiagramKind& kind = kDiagrams[k - 1];
        if (!chosen[k - 1]) continue;
        dxf.setLayer(kind.letter);
        const float factor = factors[k - 1];
        auto axisPoint = [&](int s) {
            return Point{X1 + static_cast<float>(s - 1) * stepX,
                         Y1 + static_cast<float>(s - 1) * stepY};
        };
        auto ordinateEnd = [&](int s) { return d.local(axisPoint(s), 0.0f, F(k, s) * factor); };

        Point a = axisPoint(1);
        Point p = ordinateEnd(1);
        dxf.LINE0(a.x, a.y, p.x, p.y);
        Point label = d.local(p, S, S);
        dxf.TEXTR(label.x, label.y, kLabelHeight, d.ANG, "L", std::fabs(F(k, 1)));
        for (int s = 2; s <= kSections; ++s) {
            const Point previous = p;
            a = axisPoint(s);
            p = ordinateEnd(s);
            dxf.LINE0(a.x, a.y, p.x, p.y);
            dxf.LINE0(previous.x, previous.y, p.x, p.y);
            if (k == 1 && s == 5) {
                label = d.local(p, 0.0f, F(1, 5) >= 0.0f ? -3 * S : S);
                dxf.TEXTR(label.x, label.y, kLabelHeight, d.ANG, "C", std::fabs(F(1, 5)));
            }
        }
        label = d.local(p, -S, S);
        dxf.TEXTR(label.x, label.y, kLabelHeight, d.ANG, "R", std::fabs(F(k, kSections)));
    }
}

}  // namespace tarvel
