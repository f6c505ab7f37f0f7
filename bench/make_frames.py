#!/usr/bin/env python3
"""Writes the two frames of the whole-process benchmark as .TVL data files.

FRAME5X10.TVL  5 bays of 6 m, 10 storeys (4.5 m, then 3.6 m): 50 beams and
               60 columns (110 members); every free node has its own sway,
               vertical and rotation unknown (180 equations) and its own
               lumped mass (60 masses); 3 modes combined.
LARGEST.TVL    12 bays of 6 m, 8 storeys: 96 beams and 104 columns (200
               members, the most the force tables take); one sway unknown
               per floor, the vertical displacement of the interior column
               lines 2, 4, .., 10 restrained, 176 equations with a stored band
               of 177 (31152 of the 32767 stiffness entries); one mass per
               floor, 3 modes combined.

Both carry dead and live load on every beam and wind on the outer columns.
Run without arguments to rewrite the files beside this script; with a folder
argument to write them there.
"""

import os
import sys


def num(v):
    return f"{v:g}"


def line(*values):
    # " a  b  c \r\n": values two spaces apart, as in the example files
    return " " + "  ".join(num(v) for v in values) + " \r\n"


def header(concretes):
    t = "WEIGHT\r\n 1 \r\n\r\n"
    t += "BAR-SEC\r\n" + line(.3, .7) + line(.6, .6) + line(.5, .5) + "\r\n"
    t += "CONCRATE\r\n" + "".join(line(c) for c in concretes) + "\r\n"
    return t


def members(storeys, bays, node, column_section):
    t = "BEAM\r\n"
    for floor in range(1, storeys + 1):
        for bay in range(bays):
            t += line(node(floor, bay), node(floor, bay + 1), 1, 1)
    t += "\r\nCOLUMN\r\n"
    for floor in range(1, storeys + 1):
        for col in range(bays + 1):
            t += line(node(floor - 1, col), node(floor, col), column_section(floor), 1, 0)
    return t + "\r\n"


def loads(storeys, bays):
    beams = storeys * bays
    t = "DLOAD\r\n"
    for b in range(1, beams + 1):
        t += line(b, 2, 25, 0, -1) + line(b, 1, 40, 3, 0)
    t += "\r\nLLOAD\r\n"
    for b in range(1, beams + 1):
        t += line(b, 2, 10, 0, -1)
    t += "\r\nWLOAD\r\n"
    for floor in range(1, storeys + 1):
        left = beams + (floor - 1) * (bays + 1) + 1
        t += line(left, 2, 3, 0, -1) + line(left + bays, 2, 2, 0, -1)
    return t + "\r\n"


def level(floor):
    return round(4.5 + 3.6 * (floor - 1), 6)


def frame_5x10():
    storeys, bays = 10, 5
    lines = bays + 1

    def node(floor, col):
        return floor * lines + col + 1

    t = header([30, 25]) + "POINT\r\n"
    for col in range(lines):
        t += line(node(0, col), 0, 0, 0, 6 * col, 0)
    code = 0
    for floor in range(1, storeys + 1):
        for col in range(lines):
            t += line(node(floor, col), code + 1, code + 2, code + 3, 6 * col, level(floor))
            code += 3
    t += "\r\n" + members(storeys, bays, node, lambda f: 2 if f <= 5 else 3)
    t += loads(storeys, bays)
    t += "SEISMIC\r\n" + line(2, 8, .35, .5, .85, 3, 1)
    for floor in range(1, storeys + 1):
        for col in range(lines):
            t += line(2, node(floor, col), 20 if floor < storeys else 10)
    return t + line(0, 0) + "\r\n"


def frame_largest():
    storeys, bays = 8, 12
    lines = bays + 1

    def node(floor, col):
        return floor * lines + col + 1

    def vertical_free(col):
        return col % 2 == 1 or col == 0 or col == bays

    t = header([30]) + "POINT\r\n"
    for col in range(lines):
        t += line(node(0, col), 0, 0, 0, 6 * col, 0)
    code = 0
    for floor in range(1, storeys + 1):
        code += 1
        sway = code
        for col in range(lines):
            v = 0
            if vertical_free(col):
                code += 1
                v = code
            code += 1
            t += line(node(floor, col), sway, v, code, 6 * col, level(floor))
    t += "\r\n" + members(storeys, bays, node, lambda f: 2 if f <= 4 else 3)
    t += loads(storeys, bays)
    t += "SEISMIC\r\n" + line(2, 8, .35, .5, .85, 3, 1)
    for floor in range(1, storeys + 1):
        nodes = [node(floor, col) for col in range(lines)]
        t += line(len(nodes) + 1, *nodes, 100 if floor < storeys else 50)
    return t + line(0, 0) + "\r\n"


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "frames")
    os.makedirs(folder, exist_ok=True)
    for name, text in (("FRAME5X10.TVL", frame_5x10()), ("LARGEST.TVL", frame_largest())):
        with open(os.path.join(folder, name), "w", newline="", encoding="ascii") as f:
            f.write(text)


if __name__ == "__main__":
    main()
