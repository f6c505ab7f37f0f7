// Protects headless rendering: tarvel-render's picture of a small drawing against a reference
// checked by eye, region by region; tarvel-cli draw with --png/--svg/--pdf on the example, one
// load case and the ordinate height by storey; a missing tarvel-render.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "drawing/dxf_writer.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using testing::TempDir;

struct Outcome {
    int status = -1;
    std::string out;
};

Outcome run(const std::string& command) {
    Outcome o;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return o;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) o.out.append(buf, n);
    const int raw = ::pclose(pipe);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return o;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A frame of 40 x 30 units in wide polylines, a red diagonal on layer M, a
// circle, a number and a Chinese title below.
void writeSmallDrawing(const std::string& folder) {
    DxfWriter w;
    w.WORKDIR = folder + "/";
    w.SCALE = 1.0f;
    w.PLOTST0("PLOT.DXF", 2, "SMALL.DXF");
    w.PLINE2(0, 0, 40, 0, 0.5f);
    w.PLINE2(40, 0, 0, 30, 0.5f);
    w.PLINE2(40, 30, -40, 0, 0.5f);
    w.PLINE2(0, 30, 0, -30, 0.5f);
    w.CIRCLE0(10, 20, 4);
    w.TEXTC(30, 8, 3, 0, "L", "12.5");
    w.HZTEXTC(20, -6, 4, 0, "C", "结构简图", "HZTXT");
    w.LAYER = "M";
    w.LINE0(0, 0, 40, 30);
    ASSERT_TRUE(w.PLOTEND());
}

// Mean darkness and redness of a cell of the picture, 0..255.
struct Cell {
    double dark = 0.0;
    double red = 0.0;
};

Cell cellOf(const QImage& img, int cx, int cy, int n) {
    const int x0 = img.width() * cx / n;
    const int x1 = img.width() * (cx + 1) / n;
    const int y0 = img.height() * cy / n;
    const int y1 = img.height() * (cy + 1) / n;
    Cell c;
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const QColor p = img.pixelColor(x, y);
            c.dark += 255.0 - (p.red() + p.green() + p.blue()) / 3.0;
            c.red += std::max(0, p.red() - (p.green() + p.blue()) / 2);
            ++count;
        }
    }
    if (count > 0) {
        c.dark /= count;
        c.red /= count;
    }
    return c;
}

// The reference was rendered once and checked by eye: the black frame with
// its corners, the red diagonal from the lower left to the upper right
// corner, the circle in the upper left quarter, "12.5" right of the middle
// and 结构简图 centred below the frame.
TEST(Render, SmallDrawingMatchesTheReferenceRegionByRegion) {
    TempDir dir;
    writeSmallDrawing(dir.path().string());
    const std::string png = dir.file("small.png");
    const Outcome o = run(std::string(TARVEL_RENDER) + " " + dir.file("SMALL.DXF") + " " + png +
                          " --scale 2");
    ASSERT_EQ(o.status, 0) << o.out;
    QImage actual(QString::fromStdString(png));
    ASSERT_FALSE(actual.isNull());
    actual.save(QStringLiteral(TARVEL_BINARY_DIR "/small_drawing_actual.png"));
    const QImage reference(QStringLiteral(TARVEL_SOURCE_DIR "/tests/dxfview/small_drawing.png"));
    ASSERT_FALSE(reference.isNull()) << "reference picture missing";

    // 2 mm per unit at 200 dpi: 15.75 pixels per unit, so the 40-unit frame
    // with 5 mm margins is about 40 * 15.75 + 2 * 39 = 708 pixels wide.
    EXPECT_NEAR(actual.width(), 708, 12);
    EXPECT_NEAR(actual.width(), reference.width(), reference.width() * 0.03);
    EXPECT_NEAR(actual.height(), reference.height(), reference.height() * 0.03);

    constexpr int kCells = 12;
    // Glyphs may differ by a pixel here and there: a cell may differ by a
    // tenth of its full darkness, no more.
    constexpr double kTolerance = 25.0;
    double redTotal = 0.0;
    for (int cy = 0; cy < kCells; ++cy) {
        for (int cx = 0; cx < kCells; ++cx) {
            const Cell a = cellOf(actual, cx, cy, kCells);
            const Cell r = cellOf(reference, cx, cy, kCells);
            EXPECT_NEAR(a.dark, r.dark, kTolerance) << "cell " << cx << "," << cy;
            EXPECT_NEAR(a.red, r.red, kTolerance) << "cell " << cx << "," << cy;
            redTotal += a.red;
        }
    }
    EXPECT_GT(redTotal, 0.0);

    // Independently of the reference: the frame's corner (0, 30) lies at the
    // margin of 2.5 units plus half the polyline width, 2.75 units or 43
    // pixels from the picture's corner. The red diagonal runs through the
    // lower left and upper right quarters of the frame, not the other two.
    auto px = [](double x) { return static_cast<int>(43 + x * 15.75); };
    auto py = [](double y) { return static_cast<int>(43 + (30 - y) * 15.75); };
    auto redPixels = [&](double x0, double y0, double x1, double y1) {
        int n = 0;
        for (int y = py(y1) + 8; y < py(y0) - 8; ++y) {
            for (int x = px(x0) + 8; x < px(x1) - 8; ++x) {
                const QColor c = actual.pixelColor(x, y);
                n += c.red() > 180 && c.green() < 100 && c.blue() < 100;
            }
        }
        return n;
    };
    EXPECT_GT(redPixels(0, 0, 20, 15), 100);
    EXPECT_GT(redPixels(20, 15, 40, 30), 100);
    EXPECT_EQ(redPixels(0, 15, 20, 30), 0);
    EXPECT_EQ(redPixels(20, 0, 40, 15), 0);
    const QColor corner = actual.pixelColor(px(0), py(30));
    EXPECT_LT(corner.lightness(), 80);
}

TEST(Render, PicturesOfTheExampleThroughTheCommandLine) {
    TempDir dir;
    std::filesystem::copy_file(std::string(TARVEL_SOURCE_DIR) + "/examples/FRAME3X4.TVL",
                               dir.file("FRAME3X4.TVL"));
    const std::string cli = TARVEL_CLI;
    ASSERT_EQ(run(cli + " run " + dir.file("FRAME3X4.TVL")).status, 0);

    const Outcome frame = run(cli + " draw frame " + dir.file("FRAME3X4.TVL") +
                              " --case live --png " + dir.file("live.png"));
    ASSERT_EQ(frame.status, 0) << frame.out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("FRAME3X4_LLOAD.DXF")));
    const QImage live(QString::fromStdString(dir.file("live.png")));
    ASSERT_FALSE(live.isNull());
    EXPECT_GT(live.width(), 500);

    const Outcome forces = run(cli + " draw forces --case dead --diagram M --height storey --dir " +
                               dir.path().string() + " --png " + dir.file("m.png") + " --svg " +
                               dir.file("m.svg") + " --pdf " + dir.file("m.pdf") +
                               " --picture-scale 0.5");
    ASSERT_EQ(forces.status, 0) << forces.out;
    const QImage m(QString::fromStdString(dir.file("m.png")));
    ASSERT_FALSE(m.isNull());
    // Half a millimetre per unit: about half the size of the live-load picture.
    EXPECT_LT(m.width(), live.width() * 0.6);
    const std::string svg = TempDir::read(dir.file("m.svg"));
    EXPECT_TRUE(contains(svg, "<svg")) << svg.substr(0, 200);
    EXPECT_TRUE(contains(svg, "mm\"")) << svg.substr(0, 400);
    EXPECT_EQ(TempDir::read(dir.file("m.pdf")).substr(0, 5), "%PDF-");

    const Outcome badScale = run(cli + " draw as --dir " + dir.path().string() + " --png " +
                                 dir.file("as.png") + " --picture-scale 0");
    EXPECT_EQ(badScale.status, 2);
}

// A tarvel-cli without tarvel-render beside it still writes the drawing,
// then says why there is no picture and fails.
TEST(Render, MissingRendererIsReported) {
    TempDir dir;
    const std::string lonely = dir.file("tarvel-cli");
    std::filesystem::copy_file(TARVEL_CLI, lonely);
    std::filesystem::copy_file(std::string(TARVEL_SOURCE_DIR) + "/examples/FRAME3X4.TVL",
                               dir.file("FRAME3X4.TVL"));
    const Outcome o = run(lonely + " draw frame " + dir.file("FRAME3X4.TVL") + " --png " +
                          dir.file("f.png"));
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(contains(o.out, "tarvel-render was not found")) << o.out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("FRAME3X4.DXF")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("f.png")));
}

}  // namespace
}  // namespace tarvel
