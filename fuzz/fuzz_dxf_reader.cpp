// The DXF reader of the drawing view. Rules: a damaged file ends in a
// DxfReadError and nothing else; a drawing that reads has finite
// coordinates, sizes and angles only; the same bytes read the same twice.

#include <cmath>
#include <cstring>

#include "drawing/dxf_reader.h"
#include "fuzz_support.h"

using namespace tarvel;

namespace {

void number(std::string& out, double v) {
    TARVEL_FUZZ_CHECK(std::isfinite(v));
    char bits[sizeof v];
    std::memcpy(bits, &v, sizeof v);
    out.append(bits, sizeof v);
}

// Everything the reader gives, as bytes.
std::string flatten(const DxfDrawing& d) {
    std::string out = d.version + '\0' + d.codePage + '\0' + d.encoding + '\0';
    for (const DxfLayer& l : d.layers) {
        out += l.name + '\0' + std::to_string(l.colour) + (l.on ? "+" : "-");
    }
    for (const DxfEntity& e : d.entities) {
        out += std::to_string(static_cast<int>(e.kind)) + e.layer + '\0' + std::to_string(e.colour) +
               std::to_string(d.colourOf(e)) + e.text + '\0' + e.style + '\0' +
               std::to_string(e.halign) + std::to_string(e.valign) + (e.closed ? "c" : "o") +
               (e.multiline ? "m" : "s") + (e.hasAlignPoint ? "a" : "-");
        for (const DxfPoint& p : e.points) {
            number(out, p.x);
            number(out, p.y);
        }
        for (const double v : {e.width, e.radius, e.startAngle, e.endAngle, e.height, e.angle,
                               e.widthFactor, e.alignPoint.x, e.alignPoint.y}) {
            number(out, v);
        }
    }
    const DxfExtents x = d.extents();
    for (const double v : {x.minX, x.minY, x.maxX, x.maxY}) number(out, v);
    return out;
}

std::string readOnce(std::string_view bytes) {
    try {
        const DxfDrawing d = readDxf(bytes);
        TARVEL_FUZZ_CHECK(d.entities.size() <= kMaxDxfEntities);
        return "drawing\n" + flatten(d);
    } catch (const DxfReadError& e) {
        return "refused " + std::to_string(e.line()) + " " + e.what();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string first = readOnce(bytes);
    if (fuzz::checkedTwice(bytes)) TARVEL_FUZZ_CHECK(readOnce(bytes) == first);
    return 0;
}
