"""Reads a DXF drawing with ezdxf and lists its entities, one per line, tab-separated:

LINE      layer x1 y1 x2 y2
CIRCLE    layer x y r
TEXT      layer style height rotation halign valign x y ax ay text
POLYLINE  layer width n x1 y1 ... xn yn

Numbers are written with repr() so they read back exactly. The drawing has no
header, so its code page is given: texts are GBK.
"""
import sys

import ezdxf


def main(path):
    doc = ezdxf.readfile(path, encoding="gbk")
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
    for row in out:
        sys.stdout.write("\t".join(repr(x) if isinstance(x, float) else str(x) for x in row) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
