// The three drawings for the largest frame the drawing window admits: 12 bays
// and 8 storeys, 117 nodes, 96 beams and 104 columns (200 members), with dead,
// live and wind loads, its internal-force file and its reinforcement file.
// Target: under 5 ms for the three together.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "common/file_io.h"
#include "common/host.h"
#include "common/printed_number.h"
#include "drawing/drawing_window.h"
#include "scratch_folder.h"
#include "silent_host.h"

namespace {

using namespace tarvel;

constexpr int kBays = 12;
constexpr int kStoreys = 8;
constexpr float kBay = 6.0f;
constexpr float kStorey = 3.6f;

using QuietHost = tarvel::bench::SilentHost;

int node(int bay, int level) { return level * (kBays + 1) + bay + 1; }
float nodeX(int bay) { return static_cast<float>(bay) * kBay; }
float nodeY(int level) { return static_cast<float>(level) * kStorey; }

std::string line(std::initializer_list<float> values) {
    std::string s;
    for (float v : values) s += printSingle(v);
    return s + "\r\n";
}

std::string frameFile() {
    std::string f = "BAR-SEC\r\n" + line({0.25f, 0.6f}) + line({0.5f, 0.5f}) +
                    "\r\nCONCRATE\r\n 30 \r\n\r\nPOINT\r\n";
    int code = 0;
    for (int level = 0; level <= kStoreys; ++level) {
        const int horizontal = level == 0 ? 0 : ++code;
        for (int bay = 0; bay <= kBays; ++bay) {
            const int v = level == 0 ? 0 : ++code;
            const int r = level == 0 ? 0 : ++code;
            f += printInteger(node(bay, level)) + printInteger(horizontal) + printInteger(v) +
                 printInteger(r) + printSingle(nodeX(bay)) + printSingle(nodeY(level)) + "\r\n";
        }
    }
    f += "\r\nBEAM\r\n";
    for (int level = 1; level <= kStoreys; ++level) {
        for (int bay = 0; bay < kBays; ++bay) {
            f += printInteger(node(bay, level)) + printInteger(node(bay + 1, level)) + " 1  1 \r\n";
        }
    }
    f += "\r\nCOLUMN\r\n";
    for (int level = 0; level < kStoreys; ++level) {
        for (int bay = 0; bay <= kBays; ++bay) {
            f += printInteger(node(bay, level)) + printInteger(node(bay, level + 1)) +
                 " 2  1  0 \r\n";
        }
    }
    const int beams = kBays * kStoreys;
    f += "\r\nDLOAD\r\n";
    for (int b = 1; b <= beams; ++b)
        f += printInteger(b) + " 2  25  0 -1 \r\n" + printInteger(b) + " 1  40  3  0 \r\n";
    f += "\r\nLLOAD\r\n";
    for (int b = 1; b <= beams; ++b) f += printInteger(b) + " 2  8  0 -1 \r\n";
    f += "\r\nWLOAD\r\n";
    for (int level = 0; level < kStoreys; ++level) {
        f += printInteger(beams + level * (kBays + 1) + 1) + " 2  2.5  0 -1 \r\n";
    }
    return f + "\r\n";
}

// Member end coordinates in the order of the data file: beams, then columns.
struct Ends {
    float x1, y1, x2, y2;
};
Ends memberEnds(int m) {
    const int beams = kBays * kStoreys;
    if (m <= beams) {
        const int level = (m - 1) / kBays + 1;
        const int bay = (m - 1) % kBays;
        return {nodeX(bay), nodeY(level), nodeX(bay + 1), nodeY(level)};
    }
    const int c = m - beams - 1;
    const int level = c / (kBays + 1);
    const int bay = c % (kBays + 1);
    return {nodeX(bay), nodeY(level), nodeX(bay), nodeY(level + 1)};
}

std::string forceFile() {
    const int members = kBays * kStoreys + (kBays + 1) * kStoreys;
    std::string f = printInteger(members) + line({120.0f, 90.0f, 800.0f});
    for (int m = 1; m <= members; ++m) {
        const Ends e = memberEnds(m);
        f += line({e.x1, e.y1, e.x2, e.y2});
        for (int s = 1; s <= 9; ++s) {
            const float x = static_cast<float>(s - 1) / 8.0f;
            f += line({-100.0f + 400.0f * x * (1.0f - x), 80.0f * (1.0f - 2.0f * x),
                       -3.5f * static_cast<float>(m)});
        }
    }
    return f;
}

std::string reinforcementFile() {
    const int beams = kBays * kStoreys;
    const int columns = (kBays + 1) * kStoreys;
    std::string f = printInteger(beams) + printInteger(columns) + "\r\n";
    for (int m = 1; m <= beams + columns; ++m) {
        const Ends e = memberEnds(m);
        const bool beam = m <= beams;
        f += printSingle(beam ? 0.25f : 0.5f) + printSingle(beam ? 0.6f : 0.5f) + printInteger(30) +
             line({e.x1, e.y1, e.x2, e.y2});
        if (beam) {
            f += line({1234.0f, 980.0f, 0.0f, 980.0f, 1234.0f}) +
                 line({600.0f, 700.0f, 900.0f, 700.0f, 600.0f}) + line({0.5f, 1.236f});
        } else {
            f += line({1520.0f, 1480.0f, 0.345f, 0.3f}) + line({0.012f, 0.4567f});
        }
    }
    return f;
}

// Input files written once, in memory-backed storage where there is one, so
// that the timing is the drawing and not the disk.
const std::string& benchFolder() {
    static const tarvel::bench::ScratchFolder scratch(tarvel::bench::memoryBackedFolder(),
                                                      "tarvel-bench-drawing");
    static const std::string folder = [] {
        const std::filesystem::path& dir = scratch.path();
        writeFileAtomic((dir / "LARGE.TVL").string(), frameFile());
        writeFileAtomic((dir / "DLOAD.fkn").string(), forceFile());
        writeFileAtomic((dir / "AS.ags").string(), reinforcementFile());
        return dir.string();
    }();
    return folder;
}

void drawFrame(DrawingWindow& w) {
    w.TxtName = "LARGE.TVL";
    if (!w.Drawfm()) throw std::runtime_error("structure drawing failed");
}

void drawForces(DrawingWindow& w) {
    w.TxtName.clear();
    w.selectLoadType("恒载");
    w.setDrawMoments(true);
    if (!w.Drawfc()) throw std::runtime_error("force drawing failed");
}

void drawAreas(DrawingWindow& w) {
    w.TxtName.clear();
    if (!w.Drawas()) throw std::runtime_error("reinforcement drawing failed");
}

void BM_DrawingsOfTheLargestFrame(benchmark::State& state) {
    QuietHost host;
    DrawingWindow window(host);
    window.selectFolder(benchFolder());
    for (auto _ : state) {
        drawFrame(window);
        drawForces(window);
        drawAreas(window);
    }
}
BENCHMARK(BM_DrawingsOfTheLargestFrame)->Unit(benchmark::kMillisecond);

void BM_StructureDrawing(benchmark::State& state) {
    QuietHost host;
    DrawingWindow window(host);
    window.selectFolder(benchFolder());
    for (auto _ : state) drawFrame(window);
}
BENCHMARK(BM_StructureDrawing)->Unit(benchmark::kMillisecond);

void BM_ForceDrawing(benchmark::State& state) {
    QuietHost host;
    DrawingWindow window(host);
    window.selectFolder(benchFolder());
    for (auto _ : state) drawForces(window);
}
BENCHMARK(BM_ForceDrawing)->Unit(benchmark::kMillisecond);

void BM_ReinforcementDrawing(benchmark::State& state) {
    QuietHost host;
    DrawingWindow window(host);
    window.selectFolder(benchFolder());
    for (auto _ : state) drawAreas(window);
}
BENCHMARK(BM_ReinforcementDrawing)->Unit(benchmark::kMillisecond);

}  // namespace
