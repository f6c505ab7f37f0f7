#include "drawing/member_direction.h"

#include <cmath>

#include "drawing/dxf_writer.h"

namespace tarvel {

namespace {
constexpr double kDegreesPerRadian = 57.295779;
// Stands in for S/C of a vertical member.
constexpr double kVerticalSlope = 90.0;
}  // namespace

Point Direction::local(Point origin, float u, float v) const {
    Point p;
    XYTOXY(origin.x, origin.y, u, v, C, S, p.x, p.y);
    return p;
}

float textAngle(float C, float S) {
    const double slope = (C == 0.0f) ? kVerticalSlope : static_cast<double>(S / C);
    return static_cast<float>(std::atan(slope) * kDegreesPerRadian);
}

Direction directionOf(float X1, float Y1, float X2, float Y2) {
    const float dx = X2 - X1;
    const float dy = Y2 - Y1;
    Direction d;
    d.L = static_cast<float>(std::sqrt(static_cast<double>(dx) * static_cast<double>(dx) +
                                       static_cast<double>(dy) * static_cast<double>(dy)));
    if (d.L > 0.0f) {
        d.C = dx / d.L;
        d.S = dy / d.L;
    }
    d.ANG = textAngle(d.C, d.S);
    return d;
}

}  // namespace tarvel
