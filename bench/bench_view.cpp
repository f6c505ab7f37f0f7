// Reading and drawing the force drawing of the largest frame the drawing
// window admits (12 bays, 8 storeys: 96 beams and 104 columns, 200 members)
// in the drawing view: the DXF read, the scene built and painted into a
// window-sized picture. Target: under 50 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <string>

#include "common/file_io.h"
#include "common/printed_number.h"
#include "drawing/drawing_window.h"
#include "dxfview/drawing_scene.h"
#include "scratch_folder.h"
#include "silent_host.h"

namespace {

using namespace tarvel;

constexpr int kBays = 12;
constexpr int kStoreys = 8;
constexpr float kBay = 6.0f;
constexpr float kStorey = 3.6f;

std::string line(std::initializer_list<float> values) {
    std::string s;
    for (float v : values) s += printSingle(v);
    return s + "\r\n";
}

// Beams level by level, then columns, with a parabolic moment, a linear
// shear and a growing axial force.
std::string forceFile() {
    const int beams = kBays * kStoreys;
    const int members = beams + (kBays + 1) * kStoreys;
    std::string f = printInteger(members) + line({120.0f, 90.0f, 800.0f});
    for (int m = 1; m <= members; ++m) {
        float x1, y1, x2, y2;
        if (m <= beams) {
            const int level = (m - 1) / kBays + 1;
            const int bay = (m - 1) % kBays;
            x1 = static_cast<float>(bay) * kBay;
            x2 = x1 + kBay;
            y1 = y2 = static_cast<float>(level) * kStorey;
        } else {
            const int c = m - beams - 1;
            x1 = x2 = static_cast<float>(c % (kBays + 1)) * kBay;
            y1 = static_cast<float>(c / (kBays + 1)) * kStorey;
            y2 = y1 + kStorey;
        }
        f += line({x1, y1, x2, y2});
        for (int s = 1; s <= 9; ++s) {
            const float x = static_cast<float>(s - 1) / 8.0f;
            f += line({-100.0f + 400.0f * x * (1.0f - x), 80.0f * (1.0f - 2.0f * x),
                       -3.5f * static_cast<float>(m)});
        }
    }
    return f;
}

// The M drawing of the dead load, written once.
const std::string& drawingPath() {
    static const bench::ScratchFolder scratch(bench::memoryBackedFolder(), "tarvel-bench-view");
    static const std::string path = [] {
        const std::filesystem::path& dir = scratch.path();
        writeFileAtomic((dir / "DLOAD.fkn").string(), forceFile());
        bench::SilentHost host;
        DrawingWindow window(host);
        window.selectFolder(dir.string());
        window.selectLoadType("恒载");
        window.setDrawMoments(true);
        if (!window.Drawfc()) throw std::runtime_error("force drawing failed");
        return window.drawingPath();
    }();
    return path;
}

void BM_ReadForceDrawing(benchmark::State& state) {
    const std::string& path = drawingPath();
    for (auto _ : state) {
        std::optional<DxfDrawing> d = readDxfFile(path, nullptr);
        if (!d) throw std::runtime_error("drawing not read");
        benchmark::DoNotOptimize(d->entities.data());
    }
}
BENCHMARK(BM_ReadForceDrawing)->Unit(benchmark::kMillisecond);

// Read, build the scene and paint all of it into a 1600 x 1000 picture.
void BM_ReadAndDrawForceDrawing(benchmark::State& state) {
    const std::string& path = drawingPath();
    QImage image(1600, 1000, QImage::Format_RGB32);
    std::size_t entities = 0;
    for (auto _ : state) {
        DrawingScene scene;
        if (!scene.load(QString::fromStdString(path), nullptr))
            throw std::runtime_error("drawing not read");
        entities = scene.drawing().entities.size();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, QRectF(image.rect()), scene.visibleExtents(), Qt::KeepAspectRatio);
    }
    state.counters["entities"] = static_cast<double>(entities);
}
BENCHMARK(BM_ReadAndDrawForceDrawing)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
