"""Reads a DXF drawing with ezdxf and lists its entities, one per line, tab-separated:

LINE      layer x1 y1 x2 y2
CIRCLE    layer x y r
TEXT      layer style height rotation halign valign x y ax ay text
POLYLINE  layer width n x1 y1 ... xn yn

then what the drawing declares:

#LAYER    name colour linetype
#STYLE    name font bigfont
#HEADER   version codepage encoding xmin ymin xmax ymax

Numbers are written with repr() so they read back exactly. No encoding is
given: the drawing must name its own code page. An audit that finds errors or
makes fixes fails the probe (exit status 3), as does a file ezdxf cannot read.
"""
import sys

import ezdxf


def main(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.errors or auditor.fixes:
        for e in auditor.errors:
            sys.stderr.write("audit error: %s\n" % (e,))
        for f in auditor.fixes:
            sys.stderr.write("audit fix: %s\n" % (f,))
        sys.exit(3)
    out = []
    for e in doc.modelspace():
        kind = e.dxftype()
        layer = e.dxf.layer
        if kind == "LINE":
            s, t = e.dxf.start, e.dxf.end
            out.append(["LINE", layer, s.x, s.y, t.x, t.y])
        elif kind == "CIRCLE":
            c = e.dxf.center
            out.append(["CIRCLE", layer, c.x, c.y, e.dxf.radius])
        elif kind == "TEXT":
            p = e.dxf.insert
            a = e.dxf.get("align_point", p)
            out.append(["TEXT", layer, e.dxf.style, e.dxf.height, e.dxf.rotation,
                        e.dxf.halign, e.dxf.valign, p.x, p.y, a.x, a.y, e.dxf.text])
        elif kind == "POLYLINE":
            points = list(e.points())
            row = ["POLYLINE", layer, e.dxf.default_start_width, len(points)]
            for v in points:
                row += [v.x, v.y]
            out.append(row)
        else:
            out.append([kind, layer])
    for layer in doc.layers:
        out.append(["#LAYER", layer.dxf.name, layer.dxf.color, layer.dxf.linetype])
    for style in doc.styles:
        out.append(["#STYLE", style.dxf.name, style.dxf.get("font", ""),
                    style.dxf.get("bigfont", "")])
    h = doc.header
    lo = h.get("$EXTMIN", (0.0, 0.0, 0.0))
    hi = h.get("$EXTMAX", (0.0, 0.0, 0.0))
    out.append(["#HEADER", h.get("$ACADVER", ""), h.get("$DWGCODEPAGE", ""), doc.encoding,
                float(lo[0]), float(lo[1]), float(hi[0]), float(hi[1])])
    sys.stdout.write("".join("\t".join(repr(x) if isinstance(x, float) else str(x) for x in row)
                             + "\n" for row in out))


if __name__ == "__main__":
    main(sys.argv[1])
