// The whole static run (read, assemble, factorise, the three load cases with
// their ".fkn" files, the live-load arrangement) on the largest frame the
// tables admit: 8 storeys of 12 bays, 96 beams and 104 columns (200 members),
// 176 equations (NDOF·MBAND = 31152 of 32767), loads on every beam.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "analysis/analysis_state.h"
#include "analysis/run_driver.h"
#include "common/host.h"

namespace {

using tarvel::Answer;
using tarvel::Icon;

// A host that lets every log line and message pass unseen.
class SilentHost : public tarvel::Host {
  public:
    void message(std::string_view, std::string_view, Icon) override {}
    Answer ask(std::string_view, std::string_view) override { return Answer::Yes; }
    void log(std::string_view) override {}
    void clearLog() override {}
    void status(std::string_view) override {}
    void view(std::string_view) override {}
    std::optional<std::string> chooseFile(std::string_view, std::string_view) override {
        return std::nullopt;
    }
    bool startProgram(std::string_view) override { return false; }
};

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

void BM_StaticRunLargestFrame(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tarvel-bench-static-run";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "LARGEST.TVL").string();
    std::ofstream(path, std::ios::binary) << largestFrame();

    SilentHost host;
    auto analysis = std::make_unique<tarvel::AnalysisState>();
    const tarvel::RunRequest request{path, 2, 1};
    for (auto _ : state) {
        const tarvel::RunResult result = tarvel::Frame5(request, host, *analysis);
        if (result.outcome == tarvel::RunOutcome::Stopped) {
            state.SkipWithError("the static run stopped");
            break;
        }
        benchmark::DoNotOptimize(analysis->BML(5, 1, 2));
    }
    state.counters["NDOF"] = analysis->NDOF;
    state.counters["NE"] = analysis->model.NE;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_StaticRunLargestFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace
