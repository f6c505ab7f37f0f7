#pragma once
// Reading ASCII DXF drawings: the program's own drawings and the common
// two-dimensional entities of other CAD programs (LINE, LWPOLYLINE,
// POLYLINE with its VERTEX records, ARC, CIRCLE, TEXT, MTEXT, and INSERT of
// blocks, expanded into their entities). Texts come out in UTF-8, decoded
// from the drawing's code page ($DWGCODEPAGE; GBK when a drawing names none
// and its texts are not valid UTF-8, UTF-8 from release AC1021 on).
//
// Damaged files are reported, never followed blindly: a group code that is
// not a number, a value that is not a number where one is needed, a file
// that ends inside a group or a section, a value or an expanded block beyond
// kMaxDxfMagnitude, blocks nested too deep or expanding to too many entities
// all end the reading with a DxfReadError naming the line.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

struct DxfPoint {
    double x = 0.0;
    double y = 0.0;
};

enum class DxfKind { Line, Polyline, Circle, Arc, Text };

// Colour numbers of the AutoCAD colour index; two have a meaning of their own.
constexpr int kColourByBlock = 0;
constexpr int kColourByLayer = 256;

struct DxfEntity {
    DxfKind kind = DxfKind::Line;
    std::string layer;
    int colour = kColourByLayer;
    // Line: its two ends. Polyline: its vertices. Circle, arc, text: one
    // point, the centre or the insertion point.
    std::vector<DxfPoint> points;
    bool closed = false;  // polyline
    double width = 0.0;   // polyline width, drawing units
    double radius = 0.0;  // circle, arc
    double startAngle = 0.0, endAngle = 360.0;  // arc, degrees counter-clockwise

    // Text (TEXT and MTEXT alike).
    std::string text;          // UTF-8; MTEXT formatting removed, "\n" between lines
    double height = 0.0;       // drawing units
    double angle = 0.0;        // degrees counter-clockwise
    double widthFactor = 1.0;  // relative character width
    int halign = 0;            // 0 left, 1 centre, 2 right (3 aligned, 4 middle, 5 fit)
    int valign = 0;            // 0 baseline, 1 bottom, 2 middle, 3 top
    DxfPoint alignPoint;       // TEXT: groups 11/21 when an alignment is given
    bool hasAlignPoint = false;
    std::string style;
    bool multiline = false;  // from MTEXT
};

struct DxfLayer {
    std::string name;
    int colour = 7;  // AutoCAD colour index, positive
    bool on = true;  // a negative colour in the table switches it off
};

struct DxfExtents {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    bool empty = true;
    void add(double x, double y);
};

struct DxfDrawing {
    std::vector<DxfEntity> entities;  // in file order, blocks expanded
    std::vector<DxfLayer> layers;     // as declared, then any used without a declaration
    std::string version;              // $ACADVER, "" when the drawing has no header
    std::string codePage;             // $DWGCODEPAGE as written
    std::string encoding;             // "GBK", "UTF-8" or "CP1252", as the texts were decoded

    const DxfLayer* layer(std::string_view name) const;
    // Colour of an entity: its own, or its layer's when it has none.
    int colourOf(const DxfEntity& e) const;
    // The points of every entity, with circles and arcs as their boxes and
    // texts at their insertion points.
    DxfExtents extents() const;
};

class DxfReadError : public std::runtime_error {
  public:
    DxfReadError(std::size_t line, const std::string& what);
    std::size_t line() const { return line_; }

  private:
    std::size_t line_;
};

// The whole file's bytes; throws DxfReadError.
DxfDrawing readDxf(std::string_view bytes);
// A file by path; on failure nothing and *error says why, naming the line.
std::optional<DxfDrawing> readDxfFile(const std::string& path, std::string* error);

// Limits that keep a damaged or hostile file from exhausting the machine.
constexpr std::size_t kMaxDxfEntities = 2'000'000;
constexpr int kMaxBlockNesting = 16;
// Largest magnitude of a value, and of a coordinate or size once blocks are
// expanded: beyond any drawing, well above the 1E+20 that CAD programs write
// for extents not yet known, and small enough that a centre plus a radius or
// the width of the extents stays a finite number.
constexpr double kMaxDxfMagnitude = 1e30;

}  // namespace tarvel
