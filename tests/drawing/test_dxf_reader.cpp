// Protects the DXF reader: the program's own drawings read back as an independent reader sees
// them, the common entities of other programs, code pages, and damaged files.

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "drawing/drawing_fixture.h"
#include "drawing/dxf_reader.h"

namespace tarvel {
namespace {

using testing::DrawingTest;
using testing::ProbeEntity;

std::string lines(std::initializer_list<const char*> ls) {
    std::string s;
    for (const char* l : ls) {
        s += l;
        s += "\r\n";
    }
    return s;
}

const char* kindName(DxfKind k) {
    switch (k) {
        case DxfKind::Line: return "LINE";
        case DxfKind::Polyline: return "POLYLINE";
        case DxfKind::Circle: return "CIRCLE";
        case DxfKind::Arc: return "ARC";
        case DxfKind::Text: return "TEXT";
    }
    return "";
}

// Every entity, layer, text and coordinate this reader finds is what ezdxf
// finds in the same file.
void expectSameAsProbe(const std::string& path) {
    PROBE_DXF(probe, path);
    std::string error;
    const std::optional<DxfDrawing> d = readDxfFile(path, &error);
    ASSERT_TRUE(d.has_value()) << error;
    EXPECT_EQ(d->encoding, "GBK");
    EXPECT_EQ(d->codePage, "ANSI_936");
    ASSERT_EQ(d->entities.size(), probe.entities.size()) << path;
    for (std::size_t k = 0; k < probe.entities.size(); ++k) {
        const ProbeEntity& p = probe.entities[k];
        const DxfEntity& e = d->entities[k];
        ASSERT_EQ(p.type, kindName(e.kind)) << "entity " << k;
        EXPECT_EQ(p.layer, e.layer) << "entity " << k;
        if (e.kind == DxfKind::Line) {
            EXPECT_DOUBLE_EQ(p.v[0], e.points[0].x);
            EXPECT_DOUBLE_EQ(p.v[3], e.points[1].y);
        } else if (e.kind == DxfKind::Circle) {
            EXPECT_DOUBLE_EQ(p.v[2], e.radius);
        } else if (e.kind == DxfKind::Text) {
            EXPECT_EQ(p.text, e.text) << "entity " << k;
            EXPECT_EQ(p.style == "Standard" ? "" : p.style, e.style);
            EXPECT_DOUBLE_EQ(p.v[0], e.height);
            EXPECT_DOUBLE_EQ(p.v[1], e.angle);
            EXPECT_EQ(p.v[2], e.halign);
            EXPECT_EQ(p.v[3], e.valign);
            EXPECT_DOUBLE_EQ(p.v[4], e.points[0].x);
        } else {
            EXPECT_DOUBLE_EQ(p.v[0], e.width);
            ASSERT_EQ(static_cast<std::size_t>(p.v[1]), e.points.size());
            for (std::size_t i = 0; i < e.points.size(); ++i) {
                EXPECT_DOUBLE_EQ(p.v[2 + 2 * i], e.points[i].x);
                EXPECT_DOUBLE_EQ(p.v[3 + 2 * i], e.points[i].y);
            }
        }
    }
    for (const testing::ProbeLayer& l : probe.layers) {
        if (l.name == "Defpoints") continue;  // ezdxf's own
        const DxfLayer* mine = d->layer(l.name);
        ASSERT_NE(mine, nullptr) << l.name;
        EXPECT_EQ(mine->colour, l.colour) << l.name;
    }
}

class DxfReaderTest : public DrawingTest {};

// The three kinds of drawing, with Chinese titles, loads on their layers,
// every alignment code and polylines of several widths.
TEST_F(DxfReaderTest, TheProgramsOwnDrawingsReadBackAsWritten) {
    write("FRAME.TVL", testing::twoBayFrameFile());
    window.selectFile("FRAME.TVL");
    ASSERT_TRUE(window.drawStructure());
    expectSameAsProbe(dir.file("FRAME.DXF"));

    write("WLOAD.fkn", " 1  40  20  50 \r\n 0  3  8  3 \r\n"
                       "-30  20  2 \r\n-5  15  2 \r\n 10  10  2 \r\n 20  5  2 \r\n 40  0  2 \r\n"
                       " 20 -5  2 \r\n 10 -10  2 \r\n-5 -15  2 \r\n-30 -20  2 \r\n");
    window.selectFile("");
    window.selectLoadType("风载");
    window.setDrawMoments(true);
    ASSERT_TRUE(window.drawForceDiagrams());
    expectSameAsProbe(dir.file("WLOAD_M.DXF"));
    const DxfDrawing m = *readDxfFile(dir.file("WLOAD_M.DXF"), nullptr);
    int onM = 0;
    for (const DxfEntity& e : m.entities) onM += e.layer == "M";
    EXPECT_EQ(onM, 9 + 8 + 3 + 2);  // ordinates, outline, three labels, title and units
    ASSERT_NE(m.layer("M"), nullptr);
    EXPECT_EQ(m.layer("M")->colour, 1);

    write("AS.ags", " 1  0 \r\n .25  .6  30  0  3  6  3 \r\n"
                    " 1234  980  0  980  1234 \r\n 500  600  700  600  500 \r\n .5  1.236 \r\n");
    ASSERT_TRUE(window.drawReinforcement());
    expectSameAsProbe(dir.file("AS.DXF"));
}

// A drawing as another CAD program of release 12 writes it: LWPOLYLINE,
// ARC, MTEXT with formatting, and a block inserted turned and scaled, whose
// layer-0 entities take the insert's layer and whose BYBLOCK colour its colour.
TEST(DxfReader, EntitiesOfOtherPrograms) {
    const std::string file =
        lines({"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER", "0", "LAYER", "2",
               "WALLS", "70", "0", "62", "-3", "6", "CONTINUOUS", "0", "ENDTAB", "0", "ENDSEC"}) +
        lines({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "8", "0", "2", "MARK", "70", "0", "10",
               "1", "20", "0", "0", "LINE", "8", "0", "62", "0", "10", "1", "20", "0", "11", "3",
               "21", "0", "0", "ENDBLK", "8", "0", "0", "ENDSEC"}) +
        lines({"0", "SECTION", "2", "ENTITIES", "0", "LWPOLYLINE", "8", "WALLS", "90", "3", "70",
               "1", "43", "0.5", "10", "0", "20", "0", "10", "4", "20", "0", "10", "4", "20", "3",
               "0", "ARC", "8", "WALLS", "10", "1", "20", "2", "40", "0.5", "50", "0", "51", "90",
               "0", "MTEXT", "8", "NOTES", "10", "5", "20", "6", "40", "2.5", "71", "5", "11",
               "0", "21", "1", "3", "{\\fArial|b0;first}\\P", "1", "second \\S1^2;", "0",
               "INSERT", "8", "MARKS", "62", "4", "2", "MARK", "10", "10", "20", "10", "41", "2",
               "42", "2", "50", "90", "0", "TEXT", "8", "NOTES", "10", "0", "20", "0", "40", "3",
               "1", "%%c20@200", "0", "ENDSEC", "0", "EOF"});
    const DxfDrawing d = readDxf(file);
    ASSERT_EQ(d.entities.size(), 5u);

    const DxfEntity& walls = d.entities[0];
    EXPECT_EQ(walls.kind, DxfKind::Polyline);
    EXPECT_TRUE(walls.closed);
    EXPECT_EQ(walls.points.size(), 3u);
    EXPECT_DOUBLE_EQ(walls.points[2].y, 3.0);
    EXPECT_DOUBLE_EQ(walls.width, 0.5);
    ASSERT_NE(d.layer("WALLS"), nullptr);
    EXPECT_FALSE(d.layer("WALLS")->on);  // negative colour: layer off
    EXPECT_EQ(d.colourOf(walls), 3);

    EXPECT_EQ(d.entities[1].kind, DxfKind::Arc);
    EXPECT_DOUBLE_EQ(d.entities[1].endAngle, 90.0);

    const DxfEntity& note = d.entities[2];
    EXPECT_TRUE(note.multiline);
    EXPECT_EQ(note.text, "first\nsecond 1/2");
    EXPECT_DOUBLE_EQ(note.angle, 90.0);  // direction (0, 1)
    EXPECT_EQ(note.halign, 1);           // attachment 5: middle centre
    EXPECT_EQ(note.valign, 2);

    // Block line (1,0)-(3,0) from base (1,0): (0,0)-(2,0), doubled, turned
    // by 90°, at (10,10): (10,10)-(10,14).
    const DxfEntity& mark = d.entities[3];
    EXPECT_EQ(mark.kind, DxfKind::Line);
    EXPECT_EQ(mark.layer, "MARKS");
    EXPECT_EQ(mark.colour, 4);
    EXPECT_NEAR(mark.points[0].x, 10.0, 1e-12);
    EXPECT_NEAR(mark.points[0].y, 10.0, 1e-12);
    EXPECT_NEAR(mark.points[1].x, 10.0, 1e-12);
    EXPECT_NEAR(mark.points[1].y, 14.0, 1e-12);

    EXPECT_EQ(d.entities[4].text, "\xC3\x98"
                                  "20@200");  // Ø20@200
    EXPECT_NE(d.layer("NOTES"), nullptr);     // used without a declaration
    EXPECT_EQ(d.encoding, "UTF-8");
}

// Chinese texts in the three ways drawings carry them: GBK with the code
// page, UTF-8 from release AC1021 on, and \U+ escapes; and GBK without any
// header, as the program's older drawings are.
TEST(DxfReader, CodePages) {
    const std::string text = lines({"0", "SECTION", "2", "ENTITIES", "0", "TEXT", "8", "0", "10",
                                    "0", "20", "0", "40", "2", "1"});
    const std::string tail = "\r\n" + lines({"0", "ENDSEC", "0", "EOF"});
    auto header = [](const char* version, const char* page) {
        return lines({"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", version, "9",
                      "$DWGCODEPAGE", "3", page, "0", "ENDSEC"});
    };
    const std::string gbk = "\xBD\xE1\xB9\xB9";  // 结构
    EXPECT_EQ(readDxf(header("AC1009", "ANSI_936") + text + gbk + tail).entities[0].text, "结构");
    EXPECT_EQ(readDxf(text + gbk + tail).entities[0].text, "结构");
    EXPECT_EQ(readDxf(header("AC1021", "ANSI_1252") + text + "结构" + tail).entities[0].text,
              "结构");
    EXPECT_EQ(readDxf(header("AC1015", "ANSI_1252") + text + "\\U+7ED3\\U+6784" + tail)
                  .entities[0]
                  .text,
              "结构");
    EXPECT_EQ(readDxf(header("AC1015", "ANSI_1252") + text + "caf\xE9" + tail).entities[0].text,
              "caf\xC3\xA9");
}

// Damaged files end with an error that names the line, whatever was cut or
// spoilt; no damage makes the reader crash or run away.
TEST_F(DxfReaderTest, DamagedFilesAreReportedWithTheirLine) {
    auto errorLine = [](const std::string& bytes) -> std::size_t {
        try {
            readDxf(bytes);
        } catch (const DxfReadError& e) {
            EXPECT_NE(std::string(e.what()).find("第 " + std::to_string(e.line()) + " 行"),
                      std::string::npos);
            return e.line();
        }
        return 0;
    };
    EXPECT_EQ(errorLine(""), 1u);
    EXPECT_EQ(errorLine(lines({"0", "SECTION", "2", "ENTITIES", "x0", "LINE"})), 5u);
    EXPECT_EQ(errorLine(lines({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1,5"})), 8u);
    EXPECT_EQ(errorLine(lines({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "nan"})), 8u);
    EXPECT_EQ(errorLine(lines({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10"})), 7u);
    EXPECT_EQ(errorLine(lines({"0", "SECTION", "2", "ENTITIES", "0", "LINE"})), 1u);  // no ENDSEC
    // A block that inserts itself.
    EXPECT_GT(errorLine(lines({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B", "0",
                               "INSERT", "2", "B", "0", "ENDBLK", "0", "ENDSEC", "0", "SECTION",
                               "2", "ENTITIES", "0", "INSERT", "2", "B", "0", "ENDSEC"})),
              0u);

    // Every cut of a real drawing and every spoilt byte of its start reads or
    // fails cleanly.
    write("FRAME.TVL", testing::twoBayFrameFile());
    window.selectFile("FRAME.TVL");
    ASSERT_TRUE(window.drawStructure());
    const std::string good = testing::TempDir::read(dir.file("FRAME.DXF"));
    for (std::size_t cut = 0; cut < good.size(); cut += 97) {
        try {
            readDxf(good.substr(0, cut));
        } catch (const DxfReadError& e) {
            EXPECT_GT(e.line(), 0u);
        }
    }
    for (std::size_t k = 0; k < 3000 && k < good.size(); k += 7) {
        std::string bad = good;
        bad[k] = static_cast<char>(bad[k] ^ 0x5A);
        try {
            readDxf(bad);
        } catch (const DxfReadError& e) {
            EXPECT_GT(e.line(), 0u);
        }
    }
}

// A value beyond any drawing is refused at its line, and so is an insert whose
// scales multiply its block past that size: the extents of what reads (a
// centre plus its radius) stay finite numbers for the view to fit.
TEST(DxfReader, HugeValuesAreRefusedBeforeTheirSumsOverflow) {
    auto circle = [](const char* at, const char* radius) {
        return lines({"0", "SECTION", "2", "ENTITIES", "0", "CIRCLE", "8", "0", "10", at, "20", "0", "40",
                      radius, "0", "ENDSEC", "0", "EOF"});
    };
    auto refusedAt = [](const std::string& bytes) -> std::size_t {
        try {
            readDxf(bytes);
        } catch (const DxfReadError& e) {
            EXPECT_NE(std::string(e.what()).find("超出范围"), std::string::npos) << e.what();
            return e.line();
        }
        return 0;
    };
    // The largest values that read: their extents are twice as far out.
    const DxfExtents x = readDxf(circle("-1e30", "1e30")).extents();
    EXPECT_EQ(x.minX, -2e30);
    EXPECT_EQ(x.maxX, 0.0);
    EXPECT_EQ(x.maxY, 1e30);
    EXPECT_EQ(refusedAt(circle("1e308", "1e308")), 10u);
    EXPECT_EQ(refusedAt(circle("0", "-1.1e30")), 14u);

    // Extents not yet known, as CAD programs write them, are no damage.
    const std::string header = lines({"0", "SECTION", "2", "HEADER", "9", "$EXTMIN", "10", "1.0E+20", "20",
                                      "1.0E+20", "9", "$EXTMAX", "10", "-1.0E+20", "20", "-1.0E+20", "0", "ENDSEC"});
    EXPECT_EQ(readDxf(header + circle("5", "2")).entities.size(), 1u);

    // Each scale is in range; the block inside the block is 1e40 units long.
    const std::string nested = lines({"0", "SECTION", "2", "BLOCKS",
                                      "0", "BLOCK", "2", "A", "10", "0", "20", "0",
                                      "0", "LINE", "8", "0", "10", "0", "20", "0", "11", "1", "21", "0",
                                      "0", "ENDBLK",
                                      "0", "BLOCK", "2", "B", "10", "0", "20", "0",
                                      "0", "INSERT", "2", "A", "10", "0", "20", "0", "41", "1e20", "42", "1",
                                      "0", "ENDBLK", "0", "ENDSEC",
                                      "0", "SECTION", "2", "ENTITIES",
                                      "0", "INSERT", "2", "B", "10", "0", "20", "0", "41", "1e20", "42", "1",
                                      "0", "ENDSEC", "0", "EOF"});
    EXPECT_GT(refusedAt(nested), 0u);
    const std::string once = std::string(nested).replace(nested.rfind("1e20"), 4, "1e5");
    const DxfDrawing d = readDxf(once);
    ASSERT_EQ(d.entities.size(), 1u);
    EXPECT_DOUBLE_EQ(d.entities[0].points[1].x, 1e25);
}

}  // namespace
}  // namespace tarvel
