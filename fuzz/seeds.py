#!/usr/bin/env python3
"""Writes the seed inputs of every fuzzing target into OUT/<target>/.

    seeds.py OUT [RESULTS]

The seeds are the bundled example, small hand-made frames and edge cases of
each file kind; RESULTS is a folder holding the result files and drawings of
a run on the example (DLOAD.fkn, AS.ags, AS.DXF, ...), whose beginnings
become seeds of the drawing and DXF targets. The campaign merges the seeds
into the checked-in corpora, keeping only those that add coverage.
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

PORTAL = (
    "WEIGHT\r\n 1 \r\n\r\n"
    "BAR-SEC\r\n .3  .6 \r\n .4  .4 \r\n\r\n"
    "CONCRATE\r\n 30 \r\n\r\n"
    "POINT\r\n 1  0  0  0  0  0 \r\n 2  0  0  0  6  0 \r\n"
    " 3  1  2  3  0  3.5 \r\n 4  1  4  5  6  3.5 \r\n\r\n"
    "BEAM\r\n 3  4  1  1 \r\n\r\n"
    "COLUMN\r\n 1  3  2  1  0 \r\n 2  4  2  1  0 \r\n\r\n"
    "DLOAD\r\n 1  2  20  0 -1 \r\n 1  1  30  3  0 \r\n\r\n"
    "LLOAD\r\n 1  2  8  0 -1 \r\n\r\n"
    "WLOAD\r\n 3  4  2.5  0  0 \r\n\r\n"
    "SEISMIC\r\n 2  8  .35  .5  .85  3  1 \r\n 2  3  4  120 \r\n 0  0 \r\n"
)

FRM = (
    "WEIGHT\r\n1\r\n"
    "BAR-SEC\r\n.3,.6,\r\n.25,.5,\r\n"
    "CONCRATE\r\n30,\r\n"
    "POINT\r\n1,0,0,0,0,0,\r\n2,0,0,0,6,0,\r\n3,1,2,3,0,3.5,\r\n4,1,4,5,6,3.5,\r\n"
    "BEAM\r\n3,4,1,1,\r\n"
    "COLUMN\r\n1,3,2,1,\r\n2,4,2,1,1.25,\r\n"
)

DXF_SMALL = "\r\n".join([
    "0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1009", "9", "$DWGCODEPAGE", "3", "ANSI_936",
    "0", "ENDSEC",
    "0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER", "70", "2",
    "0", "LAYER", "2", "M", "70", "0", "62", "1", "6", "CONTINUOUS",
    "0", "LAYER", "2", "OFF", "70", "0", "62", "-3", "6", "CONTINUOUS",
    "0", "ENDTAB", "0", "ENDSEC",
    "0", "SECTION", "2", "BLOCKS",
    "0", "BLOCK", "8", "0", "2", "B1", "70", "0", "10", "0", "20", "0",
    "0", "LINE", "8", "0", "10", "0", "20", "0", "11", "1", "21", "1",
    "0", "ENDBLK",
    "0", "ENDSEC",
    "0", "SECTION", "2", "ENTITIES",
    "0", "LINE", "8", "M", "62", "3", "10", "0.0", "20", "0.0", "11", "100.5", "21", "-2E1",
    "0", "CIRCLE", "8", "0", "10", "5", "20", "5", "40", "2.5",
    "0", "ARC", "8", "0", "10", "5", "20", "5", "40", "2.5", "50", "30", "51", "270",
    "0", "LWPOLYLINE", "8", "0", "90", "3", "70", "1", "43", "0.5",
    "10", "0", "20", "0", "10", "4", "20", "0", "10", "4", "20", "3",
    "0", "POLYLINE", "8", "0", "66", "1", "70", "0",
    "0", "VERTEX", "8", "0", "10", "1", "20", "1",
    "0", "VERTEX", "8", "0", "10", "2", "20", "3",
    "0", "SEQEND",
    "0", "TEXT", "8", "0", "10", "1", "20", "2", "40", "3.5", "1", "M=12.5", "50", "90",
    "41", "0.7", "72", "1", "73", "2", "11", "4", "21", "2", "7", "HZTXT",
    "0", "MTEXT", "8", "0", "10", "1", "20", "2", "40", "2.5", "1", "\\P{\\fSimSun;line}\\Ptwo",
    "0", "INSERT", "8", "0", "2", "B1", "10", "10", "20", "10", "41", "2", "42", "2", "50", "45",
    "0", "ENDSEC", "0", "EOF", ""])


def write(out, target, name, data):
    folder = out / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode("utf-8"))


def compact(text):
    """One blank between values, LF line ends: the same frame in fewer bytes."""
    lines = [" ".join(line.split()) for line in text.replace("\r\n", "\n").split("\n")]
    return "\n".join(lines)


def tvl_seeds():
    example = (ROOT / "examples" / "FRAME3X4.TVL").read_bytes()
    text = example.decode("ascii")
    return {
        "example.tvl": example,
        "example_compact.tvl": compact(text),
        "portal_compact.tvl": compact(PORTAL),
        "portal.tvl": PORTAL,
        "portal_lf.tvl": PORTAL.replace("\r\n", "\n"),
        "portal_cr.tvl": PORTAL.replace("\r\n", "\r"),
        "portal_commas.tvl": PORTAL.replace("  ", ",").replace(" \r\n", ",\r\n"),
        "portal_lower.tvl": PORTAL.replace("POINT", "point").replace("DLOAD", "DLAOD"),
        "numbers.tvl": PORTAL.replace(" 20 ", " 2.0E+01 ").replace(" 30 ", " 3D1 ")
                             .replace(" 6  0 ", " +6.  -0 ").replace(" .3 ", " 3E-1 "),
        "extremes.tvl": PORTAL.replace(" 20 ", " 3.4E38 ").replace(" 6  0 ", " 1E-45  0 ")
                              .replace(" 3  4  1  1 ", " 32767  4  1  1 "),
        "overflow.tvl": PORTAL.replace(" 3  4  1  1 ", " 32768  4  1  1 ").replace(" 30 ", " 1E39 "),
        "negative.tvl": PORTAL.replace(" .3  .6 ", " -.3  0 ").replace(" 1  3  2  1  0 ", " 1  1  2  1  0 "),
        "gbk.tvl": PORTAL.encode("ascii").replace(b"WEIGHT", b"\xd6\xd8\xc1\xbf\r\nWEIGHT"),
        "no_seismic.tvl": PORTAL.split("SEISMIC")[0],
        "markers.tvl": "\r\n".join(["WEIGHT", "STIFFNESS", "BAR-SEC", "CONCRATE", "POINT", "BEAM",
                                    "COLUMN", "DLOAD", "LLOAD", "WLOAD", "SEISMIC", ""]),
        "stray.tvl": PORTAL.replace("BEAM\r\n 3  4  1  1 \r\n\r\n", "BEAM\r\n 3  4  1  1 \r\n 0 \r\n 7 \r\n"),
        "truncated.tvl": text[: len(text) // 2],
        "empty.tvl": "",
    }


def main():
    out = pathlib.Path(sys.argv[1])
    results = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else None
    for target in ("run_input", "run", "data_file_check", "job_import"):
        for name, data in tvl_seeds().items():
            write(out, target, name, data)
    frm = {
        "structure.frm": FRM,
        "loads.frm": FRM + "DLOAD\r\n1,1,10.5,2,\r\n1,2,20,0,-1,\r\nWLOAD\r\n2,2,1.5,0,\r\n",
        "seismic.frm": FRM + "DLOAD\r\n1,2,20,0,-1,\r\nSEISMIC\r\n2.5,8,.35,.5,.85,3,1\r\n3,120,\r\n3,4,80,\r\n4,60\r\n",
        "after_end.frm": FRM.replace("BEAM\r\n3,4,1,1,\r\n", "BEAM\r\n3,4,1,1,\r\n\r\n5,6,1,1\r\n"),
        "example.frm": (ROOT / "examples" / "FRAME3X4.TVL").read_bytes(),
        "empty.frm": "",
    }
    for name, data in frm.items():
        write(out, "frm_conversion", name, data)
    write(out, "force_drawing", "one_member.fkn",
          " 1  100  50  20 \r\n 0  0  6  0 \r\n" + "".join(f"{-90 + 20 * s}  {40 - 10 * s}  {s} \r\n" for s in range(9)))
    write(out, "force_drawing", "zero.fkn", " 0  0  0  0 \r\n")
    write(out, "force_drawing", "negative.fkn", "-1  1  1  1 \r\n")
    write(out, "reinforcement_drawing", "zero.ags", " 0  0 \r\n")
    write(out, "reinforcement_drawing", "negative.ags", "-1  0 \r\n")
    write(out, "dxf_reader", "small.dxf", DXF_SMALL)
    write(out, "dxf_reader", "small_lf.dxf", DXF_SMALL.replace("\r\n", "\n"))
    write(out, "dxf_reader", "r2007.dxf", DXF_SMALL.replace("AC1009", "AC1021").replace("M=12.5", "弯矩"))
    write(out, "dxf_reader", "gbk.dxf", DXF_SMALL.encode("ascii").replace(b"M=12.5", "弯矩".encode("gbk")))
    write(out, "dxf_reader", "empty.dxf", "0\r\nEOF\r\n")
    if results:
        for fkn in sorted(results.glob("*.fkn")):
            data = fkn.read_bytes()
            lines = data.split(b"\r\n")
            write(out, "force_drawing", fkn.name, data)
            write(out, "force_drawing", "head_" + fkn.name, b"\r\n".join([b" 2" + lines[0][3:]] + lines[1:21]) + b"\r\n")
        ags = results / "AS.ags"
        if ags.exists():
            data = ags.read_bytes()
            lines = data.split(b"\r\n")
            write(out, "reinforcement_drawing", "AS.ags", data)
            write(out, "reinforcement_drawing", "head.ags", b"\r\n".join([b" 1  1"] + lines[1:9]) + b"\r\n")
        for dxf in sorted(results.glob("*.DXF")):
            data = dxf.read_bytes()
            # The header, the tables and the first entities, closed properly.
            cut = data.find(b"ENTITIES")
            if cut < 0:
                continue
            body = data[: cut + 4000]
            body = body[: body.rfind(b"\r\n0\r\n") + 2]
            write(out, "dxf_reader", "head_" + dxf.name, body + b"0\r\nENDSEC\r\n0\r\nEOF\r\n")


if __name__ == "__main__":
    main()
