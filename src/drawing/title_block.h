#pragma once
// The extents of a drawing and the title block centred below them: a rule
// 17 scale units below the lowest point, the title and units lines above it
// and the file name below it.

#include <string_view>

#include "drawing/dxf_writer.h"

namespace tarvel {

// Text heights of the title block, in drawing units.
inline constexpr float kTitleHeight = 4.5f;
inline constexpr float kUnitsHeight = 3.0f;
inline constexpr float kFileNameHeight = 3.5f;
inline constexpr float kTitleRuleWidth = 0.5f;

// Lowest point and horizontal span of what has been drawn. `far` is the
// starting value beyond any coordinate.
struct DrawingExtents {
    explicit DrawingExtents(float far = 1E10f) : XMIN(far), XMAX(-far), YMIN(far) {}
    void add(float x, float y) {
        if (x < XMIN) XMIN = x;
        if (x > XMAX) XMAX = x;
        if (y < YMIN) YMIN = y;
    }
    float middle() const { return (XMAX + XMIN) / 2; }

    float XMIN;
    float XMAX;
    float YMIN;
};

// Draws the parts of a title block in the order the caller gives them; every
// position is in scale units below the lowest point, centred on the span.
class TitleBlock {
public:
    TitleBlock(DxfWriter& dxf, const DrawingExtents& extents)
        : dxf_(dxf), XM(extents.middle()), YMIN(extents.YMIN) {}

    // The rule on layer 0, from `left` scale units left of the centre.
    void rule(float left, float length);
    // A centred line of text `below` scale units under the lowest point.
    void text(float below, float height, std::string_view text);
    void title(std::string_view text) { this->text(12, kTitleHeight, text); }
    void units(std::string_view text) { this->text(16, kUnitsHeight, text); }
    // "文件名：NAME" at the foot of the block.
    void fileName(std::string_view name);

private:
    DxfWriter& dxf_;
    float XM;
    float YMIN;
};

}  // namespace tarvel
