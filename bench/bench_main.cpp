// The whole analysis run (read, assemble, factorise, the three load cases with
// their ".fkn" files, the live-load arrangement, dynamics and seismic action,
// design, report and "AS.ags") on the largest frames the tables admit:
// - 8 storeys of 12 bays, 96 beams and 104 columns (200 members), 176
//   equations (NDOF·MBAND = 31152 of 32767), loads on every beam;
// - 30 storeys of 2 bays with one mass per floor: 150 members, 180 equations
//   (NDOF·MBAND = 32580), 30 masses and modes.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "analysis/analysis_state.h"
#include "common/host.h"
#include "run/run_driver.h"
#include "scratch_folder.h"
#include "silent_host.h"

namespace {

using tarvel::Answer;
using tarvel::Icon;

using SilentHost = tarvel::bench::SilentHost;

constexpr int kStoreys = 8;
constexpr int kBays = 12;
constexpr int kLines = kBays + 1;

// The vertical displacement of the five interior column lines 2, 4, .., 10 is
// restrained (their axial shortening neglected), which keeps the frame at 176
// equations; every floor shares one sway code.
bool verticalFree(int line) { return line % 2 == 1 || line == 0 || line == kBays; }

int node(int floor, int line) { return floor * kLines + line + 1; }

std::string largestFrame() {
    std::string t;
    t += "WEIGHT\r\n 1 \r\n\r\n";
    t += "BAR-SEC\r\n .3  .7 \r\n .6  .6 \r\n .5  .5 \r\n\r\n";
    t += "CONCRATE\r\n 30 \r\n\r\n";
    t += "POINT\r\n";
    for (int line = 0; line < kLines; ++line) {
        t += " " + std::to_string(node(0, line)) + "  0  0  0  " + std::to_string(6 * line) +
             "  0 \r\n";
    }
    int code = 0;
    for (int floor = 1; floor <= kStoreys; ++floor) {
        const int sway = ++code;
        const std::string y = std::to_string(4.5 + 3.6 * (floor - 1));
        for (int line = 0; line < kLines; ++line) {
            const int v = verticalFree(line) ? ++code : 0;
            const int theta = ++code;
            t += " " + std::to_string(node(floor, line)) + "  " + std::to_string(sway) + "  " +
                 std::to_string(v) + "  " + std::to_string(theta) + "  " +
                 std::to_string(6 * line) + "  " + y + " \r\n";
        }
    }
    t += "\r\nBEAM\r\n";
    for (int floor = 1; floor <= kStoreys; ++floor) {
        for (int bay = 0; bay < kBays; ++bay) {
            t += " " + std::to_string(node(floor, bay)) + "  " +
                 std::to_string(node(floor, bay + 1)) + "  1  1 \r\n";
        }
    }
    t += "\r\nCOLUMN\r\n";
    for (int floor = 1; floor <= kStoreys; ++floor) {
        const char* section = floor <= 4 ? "2" : "3";
        for (int line = 0; line < kLines; ++line) {
            t += " " + std::to_string(node(floor - 1, line)) + "  " +
                 std::to_string(node(floor, line)) + "  " + section + "  1  0 \r\n";
        }
    }
    const int beams = kStoreys * kBays;
    t += "\r\nDLOAD\r\n";
    for (int b = 1; b <= beams; ++b) {
        t += " " + std::to_string(b) + "  2  25  0 -1 \r\n";
        t += " " + std::to_string(b) + "  1  40  3  0 \r\n";
    }
    t += "\r\nLLOAD\r\n";
    for (int b = 1; b <= beams; ++b) t += " " + std::to_string(b) + "  2  10  0 -1 \r\n";
    t += "\r\nWLOAD\r\n";
    for (int floor = 1; floor <= kStoreys; ++floor) {
        const int left = beams + (floor - 1) * kLines + 1;
        t += " " + std::to_string(left) + "  2  3  0 -1 \r\n";
        t += " " + std::to_string(left + kBays) + "  2  2  0 -1 \r\n";
    }
    t += "\r\n";
    return t;
}

// 30 storeys of 2 bays: per floor one sway code, the vertical codes of the
// two outer lines (the middle line's axial shortening neglected) and three
// rotations, 6 equations; one mass of the three floor nodes per storey.
std::string tallFrameWithMasses() {
    constexpr int kFloors = 30;
    constexpr int kColumnLines = 3;
    auto at = [](int floor, int line) { return floor * kColumnLines + line + 1; };
    auto n = [](double v) {
        std::string s = std::to_string(v);
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
        return " " + s + " ";
    };
    std::string t = "WEIGHT\r\n 1 \r\n\r\nBAR-SEC\r\n .3  .7 \r\n .7  .7 \r\n .5  .5 \r\n\r\n";
    t += "CONCRATE\r\n 40 \r\n 30 \r\n\r\nPOINT\r\n";
    for (int line = 0; line < kColumnLines; ++line) {
        t += n(at(0, line)) + " 0  0  0 " + n(6.0 * line) + " 0 \r\n";
    }
    int code = 0;
    for (int floor = 1; floor <= kFloors; ++floor) {
        const int sway = ++code;
        for (int line = 0; line < kColumnLines; ++line) {
            const int v = line == 1 ? 0 : ++code;
            const int theta = ++code;
            t += n(at(floor, line)) + n(sway) + n(v) + n(theta) + n(6.0 * line) + n(3.3 * floor) +
                 "\r\n";
        }
    }
    t += "\r\nBEAM\r\n";
    for (int floor = 1; floor <= kFloors; ++floor) {
        for (int bay = 0; bay + 1 < kColumnLines; ++bay) {
            t += n(at(floor, bay)) + n(at(floor, bay + 1)) + " 1  2 \r\n";
        }
    }
    t += "\r\nCOLUMN\r\n";
    for (int floor = 1; floor <= kFloors; ++floor) {
        for (int line = 0; line < kColumnLines; ++line) {
            t += n(at(floor - 1, line)) + n(at(floor, line)) + (floor <= 15 ? " 2 " : " 3 ") +
                 " 1  0 \r\n";
        }
    }
    const int beams = kFloors * (kColumnLines - 1);
    t += "\r\nDLOAD\r\n";
    for (int b = 1; b <= beams; ++b) t += n(b) + " 2  25  0 -1 \r\n" + n(b) + " 1  40  3  0 \r\n";
    t += "\r\nLLOAD\r\n";
    for (int b = 1; b <= beams; ++b) t += n(b) + " 2  10  0 -1 \r\n";
    t += "\r\nWLOAD\r\n";
    for (int floor = 1; floor <= kFloors; ++floor) {
        const int left = beams + (floor - 1) * kColumnLines + 1;
        t += n(left) + " 2  3  0 -1 \r\n" + n(left + kColumnLines - 1) + " 2  2  0 -1 \r\n";
    }
    t += "\r\nSEISMIC\r\n 2  8  .35  .5  .85  30  1 \r\n";
    for (int floor = 1; floor <= kFloors; ++floor) {
        t += " 4 " + n(at(floor, 0)) + n(at(floor, 1)) + n(at(floor, 2)) + " 150 \r\n";
    }
    return t + " 0  0 \r\n\r\n";
}

void runWholeAnalysis(benchmark::State& state, const std::string& frameText) {
    const tarvel::bench::ScratchFolder folder(std::filesystem::temp_directory_path(),
                                              "tarvel-bench-whole-run");
    const std::string path = (folder.path() / "LARGEST.TVL").string();
    std::ofstream(path, std::ios::binary) << frameText;

    SilentHost host;
    auto analysis = std::make_unique<tarvel::AnalysisState>();
    const tarvel::RunRequest request{path, 2, 1, "2026 - 12 - 08   10:00:00"};
    for (auto _ : state) {
        const tarvel::RunResult result = tarvel::Frame5(request, host, *analysis);
        if (result.outcome != tarvel::RunOutcome::Finished) {
            state.SkipWithError("the run stopped");
            break;
        }
        benchmark::DoNotOptimize(analysis->design.BAS(5, 1, 2));
    }
    state.counters["NDOF"] = analysis->NDOF;
    state.counters["NE"] = analysis->model.NE;
    state.counters["NMASS"] = analysis->dyn.NMASS;
}

void BM_WholeRunLargestFrame(benchmark::State& state) { runWholeAnalysis(state, largestFrame()); }
void BM_WholeRunThirtyMasses(benchmark::State& state) {
    runWholeAnalysis(state, tallFrameWithMasses());
}

// The frames of the whole-process benchmark (bench/frames, written by
// bench/make_frames.py), run in the process.
std::string frameFile(const char* name) {
    std::ifstream in(std::string(TARVEL_BENCH_FRAMES) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
void BM_WholeRunFiveBaysTenStoreys(benchmark::State& state) {
    runWholeAnalysis(state, frameFile("FRAME5X10.TVL"));
}
void BM_WholeRunLargestWithMasses(benchmark::State& state) {
    runWholeAnalysis(state, frameFile("LARGEST.TVL"));
}

BENCHMARK(BM_WholeRunLargestFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WholeRunThirtyMasses)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WholeRunFiveBaysTenStoreys)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WholeRunLargestWithMasses)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace
