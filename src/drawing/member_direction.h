#pragma once
// Direction of a member axis (or of a load's base line) as the drawings use
// it: direction cosines, length and the angle of the texts written along it.

namespace tarvel {

struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

struct Direction {
    float C = 1.0f;    // cos of the axis from its first point to its second
    float S = 0.0f;    // sin
    float L = 0.0f;    // length, model units
    float ANG = 0.0f;  // text angle, degrees, always between -90 and +90 so texts read upright

    // The point at local (u, v) from `origin`: u along the axis, v 90° counter-clockwise.
    Point local(Point origin, float u, float v) const;
    // The point at distance x along the axis from `origin`.
    Point along(Point origin, float x) const { return {origin.x + x * C, origin.y + x * S}; }
};

// arctan(S/C) in degrees; for C = 0 the arctangent of 90 is taken, so a
// vertical member's texts stand at 89.36°, not 90°.
float textAngle(float C, float S);

// The axis from (X1, Y1) to (X2, Y2). A line of zero length has no direction;
// it is taken as horizontal so that nothing divides by zero.
Direction directionOf(float X1, float Y1, float X2, float Y2);

}  // namespace tarvel
