#include "drawing/frame_preview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarvel {

namespace {

struct Painter {
    DxfDrawing& d;
    double size;  // symbol size, drawing units

    void line(const char* layer, DxfPoint a, DxfPoint b) {
        DxfEntity e;
        e.kind = DxfKind::Line;
        e.layer = layer;
        e.points = {a, b};
        d.entities.push_back(std::move(e));
    }
    void polyline(const char* layer, std::vector<DxfPoint> points, bool closed) {
        DxfEntity e;
        e.kind = DxfKind::Polyline;
        e.layer = layer;
        e.points = std::move(points);
        e.closed = closed;
        d.entities.push_back(std::move(e));
    }
    void circle(const char* layer, DxfPoint c, double radius) {
        DxfEntity e;
        e.kind = DxfKind::Circle;
        e.layer = layer;
        e.points = {c};
        e.radius = radius;
        d.entities.push_back(std::move(e));
    }
    void text(const char* layer, DxfPoint at, const std::string& s, double height, int halign = 0,
              int valign = 0) {
        DxfEntity e;
        e.kind = DxfKind::Text;
        e.layer = layer;
        e.points = {at};
        e.text = s;
        e.height = height;
        e.halign = halign;
        e.valign = valign;
        e.alignPoint = at;
        e.hasAlignPoint = halign != 0 || valign != 0;
        d.entities.push_back(std::move(e));
    }
    // An arrow from `from` with its head at `to`.
    void arrow(const char* layer, DxfPoint from, DxfPoint to) {
        line(layer, from, to);
        const double dx = to.x - from.x, dy = to.y - from.y;
        const double l = std::hypot(dx, dy);
        if (l <= 0) return;
        const double ux = dx / l, uy = dy / l, h = std::min(size * 0.3, l * 0.4);
        line(layer, to, {to.x - h * ux + h * 0.4 * uy, to.y - h * uy - h * 0.4 * ux});
        line(layer, to, {to.x - h * ux - h * 0.4 * uy, to.y - h * uy + h * 0.4 * ux});
    }
    void cross(const char* layer, DxfPoint c) {
        const double h = size * 0.5;
        line(layer, {c.x - h, c.y - h}, {c.x + h, c.y + h});
        line(layer, {c.x - h, c.y + h}, {c.x + h, c.y - h});
    }
};

std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

// Support symbol under a node by its restrained codes.
void support(Painter& p, const SketchNode& n) {
    const bool x = n.codes[0] == 0, y = n.codes[1] == 0, r = n.codes[2] == 0;
    if (!x && !y && !r) return;
    const char* L = preview_layer::kSupports;
    const double s = p.size;
    const DxfPoint c{n.x, n.y};
    if (x && y && r) {  // fixed: a ground line with hatching
        p.line(L, {c.x - s, c.y}, {c.x + s, c.y});
        for (int i = 0; i < 5; ++i) {
            const double hx = c.x - s + i * s * 0.5;
            p.line(L, {hx, c.y}, {hx - s * 0.35, c.y - s * 0.35});
        }
        return;
    }
    if (x && y) {  // pinned: a triangle on the ground
        p.polyline(L, {c, {c.x - s * 0.6, c.y - s}, {c.x + s * 0.6, c.y - s}}, true);
        p.line(L, {c.x - s, c.y - s}, {c.x + s, c.y - s});
        return;
    }
    if (y) {  // roller moving sideways
        p.polyline(L, {c, {c.x - s * 0.6, c.y - s * 0.8}, {c.x + s * 0.6, c.y - s * 0.8}}, true);
        p.line(L, {c.x - s, c.y - s}, {c.x + s, c.y - s});
        return;
    }
    if (x) {  // roller moving up and down, on a wall at the left
        p.polyline(L, {c, {c.x - s * 0.8, c.y - s * 0.6}, {c.x - s * 0.8, c.y + s * 0.6}}, true);
        p.line(L, {c.x - s, c.y - s}, {c.x - s, c.y + s});
        return;
    }
    // Rotation alone held: a small square.
    const double h = s * 0.3;
    p.polyline(L, {{c.x - h, c.y - h}, {c.x + h, c.y - h}, {c.x + h, c.y + h}, {c.x - h, c.y + h}},
               true);
}

// One member load drawn on the side its positive direction comes from.
void memberLoad(Painter& p, const SketchLoad& l, DxfPoint i, DxfPoint j, double qMax) {
    const char* L = preview_layer::kLoads;
    const double dx = j.x - i.x, dy = j.y - i.y;
    const double len = std::hypot(dx, dy);
    if (len <= 0) return;
    const double tx = dx / len, ty = dy / len;
    const double nx = ty, ny = -tx;  // positive transverse loads point this way
    auto at = [&](double s) { return DxfPoint{i.x + tx * s, i.y + ty * s}; };
    const double h = p.size * 1.5;
    const double th = p.size * 0.75;
    switch (l.type) {
        case 1: {
            const double a = std::clamp(l.a < 0 ? len : l.a, 0.0, len);
            const DxfPoint to = at(a);
            const double sign = l.q < 0 ? -1.0 : 1.0;
            // Longer than the distributed loads' arrows, so that it stands above them.
            const DxfPoint from{to.x - sign * nx * h * 1.8, to.y - sign * ny * h * 1.8};
            p.arrow(L, from, to);
            p.text(L, {from.x - sign * nx * th * 0.3, from.y - sign * ny * th * 0.3},
                   number(l.q), th, 1, 2);
            return;
        }
        case 2:
        case 3:
        case 4: {
            double a = std::max(l.a, 0.0), b = (l.b > len || l.b < 0) ? len : l.b;
            if (b <= a) return;
            const double scale = qMax > 0 ? h / qMax : 0.0;
            auto height = [&](double s) {
                const double f = l.type == 2 ? 1.0 : l.type == 3 ? (s - a) / (b - a) : (b - s) / (b - a);
                return l.q * f * scale;
            };
            std::vector<DxfPoint> outline;
            const int steps = std::max(2, static_cast<int>(std::ceil((b - a) / (p.size * 1.2))));
            for (int k = 0; k <= steps; ++k) {
                const double s = a + (b - a) * k / steps;
                const DxfPoint base = at(s);
                const double v = height(s);
                const DxfPoint top{base.x - nx * v, base.y - ny * v};
                outline.push_back(top);
                if (std::fabs(v) > p.size * 0.2) p.arrow(L, top, base);
            }
            p.polyline(L, outline, false);
            const double mid = l.type == 2 ? (a + b) / 2 : l.type == 3 ? b : a;
            const DxfPoint base = at(mid);
            const double v = height(mid) + (l.q < 0 ? -th * 0.3 : th * 0.3);
            p.text(L, {base.x - nx * v, base.y - ny * v}, number(l.q), th, 1, l.q < 0 ? 3 : 1);
            return;
        }
        case 5: {
            const double a = std::clamp(l.a < 0 ? len : l.a, 0.0, len);
            const DxfPoint c = at(a);
            const double sign = l.q < 0 ? -1.0 : 1.0;
            p.arrow(L, {c.x - sign * tx * h, c.y - sign * ty * h}, c);
            p.text(L, {c.x + nx * th, c.y + ny * th}, number(l.q), th, 1, 2);
            return;
        }
        case 6: {
            const double a = std::clamp(l.a < 0 ? len : l.a, 0.0, len);
            const DxfPoint c = at(a);
            DxfEntity arc;
            arc.kind = DxfKind::Arc;
            arc.layer = L;
            arc.points = {c};
            arc.radius = p.size * 0.6;
            arc.startAngle = 30;
            arc.endAngle = 300;
            p.d.entities.push_back(std::move(arc));
            p.text(L, {c.x, c.y + p.size * 0.8}, number(l.q), th, 1, 1);
            return;
        }
        default:
            return;
    }
}

}  // namespace

DxfDrawing framePreview(const FrameSketch& sketch, PreviewLoads loads) {
    DxfDrawing d;
    d.encoding = "UTF-8";
    namespace lay = preview_layer;
    d.layers = {{lay::kNodes, 5, true},   {lay::kBeams, 7, true},  {lay::kColumns, 7, true},
                {lay::kSupports, 8, true}, {lay::kLoads, 6, true}, {lay::kMasses, 30, true},
                {lay::kErrors, 1, true}};

    DxfExtents box;
    for (const SketchNode& n : sketch.nodes) box.add(n.x, n.y);
    const double extent = box.empty ? 1.0 : std::max({box.maxX - box.minX, box.maxY - box.minY, 1.0});
    Painter p{d, extent / 40.0};
    const double textHeight = p.size * 0.9;

    for (const SketchMember& m : sketch.members) {
        const SketchNode* i = m.startIndex >= 0 ? &sketch.nodes[static_cast<std::size_t>(m.startIndex)] : nullptr;
        const SketchNode* j = m.endIndex >= 0 ? &sketch.nodes[static_cast<std::size_t>(m.endIndex)] : nullptr;
        const char* layer = m.faulty() ? lay::kErrors : m.column ? lay::kColumns : lay::kBeams;
        if (i && j) {
            p.line(layer, {i->x, i->y}, {j->x, j->y});
        } else if (i || j) {
            // The end that has a node gets a cross: the member cannot be drawn.
            const SketchNode* known = i ? i : j;
            p.cross(lay::kErrors, {known->x, known->y});
        }
    }
    for (const SketchNode& n : sketch.nodes) {
        support(p, n);
        p.circle(lay::kNodes, {n.x, n.y}, p.size * 0.12);
        p.text(lay::kNodes, {n.x + p.size * 0.25, n.y + p.size * 0.25}, std::to_string(n.number),
               textHeight);
    }

    if (loads == PreviewLoads::Masses) {
        for (const SketchMass& m : sketch.masses) {
            const SketchNode* n = sketch.node(m.node);
            if (!n) continue;
            const char* layer = m.faulty ? lay::kErrors : lay::kMasses;
            p.circle(layer, {n->x, n->y}, p.size * 0.5);
            p.text(layer, {n->x - p.size * 0.7, n->y + p.size * 0.3}, number(m.weight), textHeight, 2, 1);
        }
    } else if (loads != PreviewLoads::None) {
        const SketchLoadCase wanted = loads == PreviewLoads::Dead   ? SketchLoadCase::Dead
                                      : loads == PreviewLoads::Live ? SketchLoadCase::Live
                                                                    : SketchLoadCase::Wind;
        double qMax = 0.0;
        for (const SketchLoad& l : sketch.loads) {
            if (l.loadCase == wanted && l.type >= 2 && l.type <= 4) qMax = std::max(qMax, std::fabs(l.q));
        }
        for (const SketchLoad& l : sketch.loads) {
            if (l.loadCase != wanted) continue;
            const SketchMember* m = sketch.member(l.member);
            if (!m || m->startIndex < 0 || m->endIndex < 0) continue;
            const SketchNode& i = sketch.nodes[static_cast<std::size_t>(m->startIndex)];
            const SketchNode& j = sketch.nodes[static_cast<std::size_t>(m->endIndex)];
            memberLoad(p, l, {i.x, i.y}, {j.x, j.y}, qMax);
        }
    }

    // The faults, listed under the frame.
    double y = (box.empty ? 0.0 : box.minY) - p.size * 2.5;
    for (const SketchProblem& problem : sketch.problems) {
        p.text(lay::kErrors, {box.empty ? 0.0 : box.minX, y}, problem.text, textHeight);
        y -= textHeight * 1.6;
    }
    return d;
}

}  // namespace tarvel
