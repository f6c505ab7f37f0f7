// The reinforcement-area drawing from the reinforcement file (.ags): every
// member's axis with its section, longitudinal steel (cm²) and stirrups
// (Asv/s, mm²/mm) written beside it.

#include <cmath>
#include <optional>
#include <string>

#include "common/file_io.h"
#include "common/limits.h"
#include "common/list_input.h"
#include "common/printed_number.h"
#include "drawing/drawing_window.h"
#include "drawing/title_block.h"
#include "drawing/result_file_text.h"

namespace tarvel {

namespace {

constexpr float kAxisWidth = 0.25f;
constexpr float kTextHeight = 2.0f;
constexpr int kBeamAreas = 5;  // sections 1, 3, 5, 7, 9

// Offsets of the text lines from the axis, drawing units (v axis).
constexpr float kSectionLine = 4.0f;
constexpr float kFirstSteelLine = 1.0f;
constexpr float kSecondSteelLine = -3.0f;
constexpr float kStirrupLine = -6.0f;

// Products are formed in double precision from the stored single values and
// then cut: areas are shown truncated.
std::string wholeText(double x) { return plainDouble(std::floor(x)); }

// Section sizes in the whole millimetres nearest to the stored size: a width
// of 0.35 is 0.349999994 in single precision and must read 350, as in the
// report. The + 0.0 turns a rounded -0 into 0.
std::string millimetreText(float metres) {
    return plainDouble(std::nearbyint(static_cast<double>(metres) * 1000.0) + 0.0);
}

// Longitudinal steel in cm², cut to an integer.
std::string beamAreaText(float mm2) { return wholeText(static_cast<double>(mm2) / 100.0); }
// A column area of zero or less is a marker (-1: the column cannot be designed) and shown as it is.
std::string columnAreaText(float mm2) {
    return mm2 > 0.0f ? beamAreaText(mm2) : wholeText(static_cast<double>(mm2));
}
// Stirrups rounded half up to two decimals.
std::string stirrupText(float v) {
    return plainDouble(std::floor(100.0 * static_cast<double>(v) + 0.5) / 100.0);
}

struct MemberRecord {
    float B = 0.0f, H = 0.0f;
    int grade = 0;
    float X1 = 0.0f, Y1 = 0.0f, X2 = 0.0f, Y2 = 0.0f;
};

MemberRecord readMember(ListReader& in) {
    MemberRecord r;
    r.B = in.readSingle();
    r.H = in.readSingle();
    r.grade = in.readInteger();
    r.X1 = in.readSingle();
    r.Y1 = in.readSingle();
    r.X2 = in.readSingle();
    r.Y2 = in.readSingle();
    return r;
}

std::string sectionText(const MemberRecord& r) {
    return millimetreText(r.B) + "X" + millimetreText(r.H) + "_" + std::to_string(r.grade);
}

}  // namespace

bool DrawingWindow::Drawas() {
    host_.clearLog();
    host_.log(drawing_text::kRunLog);
    const std::string input = !TxtName.empty() ? TxtName : "AS.ags";
    const std::optional<std::string> bytes = readWholeFile(dxf.WORKDIR + input);
    if (!bytes) return unreadableResultFile(dxf.WORKDIR + input);
    ListReader in(*bytes);

    DrawingExtents extents;
    try {
        const int NB = in.readInteger();
        const int NC = in.readInteger();
        if (NB < 0) return resultFileFailure(invalidCountText(input, "梁数", NB));
        if (NC < 0) return resultFileFailure(invalidCountText(input, "柱数", NC));
        if (NB > limits::kMaxBeams) {
            return resultFileFailure(countOverLimitText(input, "梁数", NB, limits::kMaxBeams));
        }
        if (NC > limits::kMaxColumns) {
            return resultFileFailure(countOverLimitText(input, "柱数", NC, limits::kMaxColumns));
        }
        dxf.SCALE = scaleFromBox();
        dxf.PLOTST("PLOT.DXF", 2, replaceLastFour(input, ".ags"), host_);
        const float S = dxf.SCALE;  // as opened: a scale of 0 has become 1
        dxf.setLayer("0");

        for (int m = 1; m <= NB + NC; ++m) {
            const bool beam = m <= NB;
            const MemberRecord r = readMember(in);
            std::string steel1 = "As=";
            std::string steel2;
            std::string stirrups;
            if (beam) {
                steel2 = "As=";
                for (int s = 1; s <= kBeamAreas; ++s)
                    steel1 += (s > 1 ? "_" : "") + beamAreaText(in.readSingle());
                for (int s = 1; s <= kBeamAreas; ++s)
                    steel2 += (s > 1 ? "_" : "") + beamAreaText(in.readSingle());
                const float v1 = in.readSingle();
                const float v2 = in.readSingle();
                stirrups = "Asv/S=" + stirrupText(v1) + "_" + stirrupText(v2);
            } else {
                const float bottom = in.readSingle();
                const float top = in.readSingle();
                const float v1 = in.readSingle();
                const float v2 = in.readSingle();
                const float u = in.readSingle();
                const float n = in.readSingle();
                steel1 += columnAreaText(bottom) + "_" + columnAreaText(top);
                steel2 = "u=" + roundedText3(static_cast<double>(u) * 100.0) +
                         "%,n=" + roundedText3(static_cast<double>(n));
                stirrups = "Asv/s=" + stirrupText(v1) + "_" + stirrupText(v2);
            }

            extents.add(r.X1, r.Y1);
            extents.add(r.X2, r.Y2);
            dxf.PLINE2(r.X1, r.Y1, r.X2 - r.X1, r.Y2 - r.Y1, kAxisWidth);

            const Direction d = directionOf(r.X1, r.Y1, r.X2, r.Y2);
            const Point middle{(r.X1 + r.X2) / 2, (r.Y1 + r.Y2) / 2};
            auto line = [&](float offset, const std::string& text) {
                const Point p = d.local(middle, 0.0f, offset * S);
                dxf.TEXTC(p.x, p.y, kTextHeight, d.ANG, "C", text);
            };
            line(kSectionLine, sectionText(r));
            line(kFirstSteelLine, steel1);
            line(kSecondSteelLine, steel2);
            line(kStirrupLine, stirrups);
        }
    } catch (const ListInputError& e) {
        return resultFileFailure(readErrorText(e, input));
    }

    TitleBlock block(dxf, extents);
    block.rule(19, 40);
    block.title("钢筋面积图");
    block.units("单位-As：平方厘米，Asv/S：平方毫米/毫米");
    block.fileName(input);

    std::string error;
    if (!dxf.PLOTEND(&error)) return resultFileFailure("错误信息:无法写入图形文件：" + error);
    host_.message(drawing_text::kDone, drawing_text::kDoneTitle, Icon::Information);
    return true;
}

}  // namespace tarvel
