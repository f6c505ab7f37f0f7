// Protects the drawing view: every drawing the program writes shows what was written (items by
// layer, texts, layer names, compared with an independent reader), layers on and off, zoom to
// extents and wheel zoom about the mouse.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPrinter>
#include <QWheelEvent>

#include "drawing/drawing_fixture.h"
#include "dxfview/drawing_view.h"

namespace tarvel {
namespace {

using testing::DrawingTest;

QStringList toQt(const std::vector<std::string>& v) {
    QStringList l;
    for (const std::string& s : v) l.append(QString::fromStdString(s));
    return l;
}

// The scene of a drawing against ezdxf's reading of the same file.
void expectShownAsWritten(const std::string& path) {
    SCOPED_TRACE(path);
    PROBE_DXF(probe, path);
    DrawingScene scene;
    QString error;
    ASSERT_TRUE(scene.load(QString::fromStdString(path), &error)) << error.toStdString();

    QStringList declared;
    for (const testing::ProbeLayer& l : probe.layers) {
        if (l.name != "Defpoints") declared.append(QString::fromStdString(l.name));
    }
    EXPECT_EQ(scene.layerNames(), declared);
    int total = 0;
    for (const QString& layer : declared) {
        const std::string name = layer.toStdString();
        int written = 0;
        for (const testing::ProbeEntity& e : probe.entities) written += e.layer == name;
        EXPECT_EQ(scene.itemCount(layer), written) << name;
        EXPECT_EQ(scene.texts(layer), toQt(probe.texts(name))) << name;
        EXPECT_TRUE(scene.isLayerVisible(layer));
        total += written;
    }
    EXPECT_EQ(static_cast<std::size_t>(total), probe.entities.size());
}

class DrawingSceneTest : public DrawingTest {};

TEST_F(DrawingSceneTest, EveryDrawingTheProgramWritesIsShownAsWritten) {
    write("FRAME.TVL", testing::twoBayFrameFile() +
                           "LLOAD\r\n 2  2  8  0 -1 \r\n\r\nWLOAD\r\n 5  1  3.5  2  0 \r\n\r\n");
    window.selectFile("FRAME.TVL");
    ASSERT_TRUE(window.drawStructure());
    expectShownAsWritten(dir.file("FRAME.DXF"));

    // A beam and a column with every diagram.
    write("DLOAD.fkn",
          " 2  40  20  50 \r\n 0  3  8  3 \r\n"
          "-30  20  2 \r\n-5  15  2 \r\n 10  10  2 \r\n 20  5  2 \r\n 40  0  2 \r\n"
          " 20 -5  2 \r\n 10 -10  2 \r\n-5 -15  2 \r\n-30 -20  2 \r\n 0  0  0  3 \r\n"
          " 10  4 -50 \r\n 8.75  4 -50 \r\n 7.5  4 -50 \r\n 6.25  4 -50 \r\n 5  4 -50 \r\n"
          " 3.75  4 -50 \r\n 2.5  4 -50 \r\n 1.25  4 -50 \r\n 0  4 -50 \r\n");
    window.selectFile("");
    window.selectLoadType("恒载");
    for (int box = 1; box <= 4; ++box) {  // M, V, N, then none
        if (box == 1) window.setDrawMoments(true);
        if (box == 2) window.setDrawShears(true);
        if (box == 3) window.setDrawAxialForces(true);
        ASSERT_TRUE(window.drawForceDiagrams());
        expectShownAsWritten(window.drawingPath());
    }

    write("AS.ags", " 1  1 \r\n .25  .6  30  0  3  6  3 \r\n"
                    " 1234  980  0  980  1234 \r\n 500  600  700  600  500 \r\n .5  1.236 \r\n"
                    " .4  .4  30  0  0  0  3 \r\n 1520  1480 \r\n .345  .3 \r\n .012  .4567 \r\n");
    ASSERT_TRUE(window.drawReinforcement());
    expectShownAsWritten(dir.file("AS.DXF"));
}

// Layers go off and on by name; the extents follow what is shown, and a
// damaged drawing leaves an empty view with the reader's message.
TEST_F(DrawingSceneTest, LayersOffAndOnByName) {
    write("FRAME.TVL", testing::twoBayFrameFile());
    window.selectFile("FRAME.TVL");
    ASSERT_TRUE(window.drawStructure());
    DrawingView view;
    view.resize(800, 600);
    view.show();
    QString error;
    ASSERT_TRUE(view.load(QString::fromStdString(dir.file("FRAME.DXF")), &error));
    DrawingScene& scene = view.drawingScene();
    const QRectF all = scene.visibleExtents();
    const QStringList kept = {QStringLiteral("0")};
    for (const QString& layer : scene.layerNames()) {
        if (!kept.contains(layer)) view.setLayerVisible(layer, false);
    }
    EXPECT_FALSE(scene.isLayerVisible(QStringLiteral("DLOAD")));
    const QRectF frameOnly = scene.visibleExtents();
    // The dimension chains (9 units below and left of the frame) and the
    // title are gone; the title line and file name of layer 0 stay.
    EXPECT_GT(frameOnly.left(), all.left());
    EXPECT_TRUE(all.contains(frameOnly));
    view.setLayerVisible(QStringLiteral("P-DIM"), true);
    EXPECT_EQ(scene.visibleExtents().left(), all.left());

    const std::string bad = write("BAD.DXF", "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n10\r\nx\r\n");
    EXPECT_FALSE(view.load(QString::fromStdString(bad), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("第 8 行"))) << error.toStdString();
    EXPECT_TRUE(scene.layerNames().isEmpty());
    EXPECT_TRUE(scene.items().isEmpty());
}

TEST_F(DrawingSceneTest, ZoomToExtentsAndWheelZoomAboutTheMouse) {
    write("FRAME.TVL", testing::twoBayFrameFile());
    window.selectFile("FRAME.TVL");
    ASSERT_TRUE(window.drawStructure());
    DrawingView view;
    view.resize(800, 600);
    view.show();
    ASSERT_TRUE(view.load(QString::fromStdString(dir.file("FRAME.DXF")), nullptr));

    // The whole drawing is in the window, and fills it in one direction.
    const QRectF extents = view.drawingScene().visibleExtents();
    const QRect shown = view.mapFromScene(extents).boundingRect();
    EXPECT_TRUE(view.viewport()->rect().adjusted(-1, -1, 1, 1).contains(shown));
    EXPECT_GT(std::max(double(shown.width()) / view.viewport()->width(),
                       double(shown.height()) / view.viewport()->height()),
              0.85);

    // One notch towards the screen zooms in by 1.2 and keeps the drawing
    // point under the mouse where it was.
    const double before = view.zoom();
    const QPoint mouse(200, 150);
    const QPointF under = view.mapToScene(mouse);
    QWheelEvent wheel(QPointF(mouse), view.viewport()->mapToGlobal(QPointF(mouse)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    EXPECT_NEAR(view.zoom() / before, 1.2, 1e-9);
    const QPointF after = view.mapToScene(mouse);
    EXPECT_NEAR(after.x(), under.x(), 1.0 / view.zoom());
    EXPECT_NEAR(after.y(), under.y(), 1.0 / view.zoom());

    view.zoomToExtents();
    EXPECT_NEAR(view.zoom(), before, 1e-9);

    // Printing goes to whatever printer the dialog gives; here a PDF file.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("printed.pdf")));
    view.drawingScene().printTo(printer);
    EXPECT_EQ(testing::TempDir::read(dir.file("printed.pdf")).substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace tarvel
