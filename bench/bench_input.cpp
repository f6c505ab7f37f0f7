// The data-preparation window on a large job: 220 nodes (11 columns of nodes
// on 20 floors) and 200 members, loads on every beam and one mass per floor.
// One iteration opens the job in a new window and shows each of its twelve
// tabs in turn, painting included; the target is under 200 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>
#include <filesystem>

#include "FrmInput.h"
#include "app_services.h"
#include "common/file_io.h"
#include "prep/job_database.h"
#include "program_folder.h"
#include "silent_host.h"

namespace {

using tarvel::Cell;
using tarvel::Row;

std::string largeJob() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tarvel-bench-input";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "LARGE.MDB").string();
    const auto templ = tarvel::readWholeFile(TARVEL_APP_DIR "/FRM/FRM.MDB");
    if (!templ || !tarvel::writeFileAtomic(path, *templ)) return {};
    tarvel::JobDatabase db;
    if (!db.open(path)) return {};
    auto row = [](std::initializer_list<double> values) {
        Row cells;
        for (double v : values) cells.push_back(Cell::of(v));
        return cells;
    };
    std::vector<Row> points, beams, columns, dead, live, masses;
    constexpr int perFloor = 11;
    constexpr int floors = 20;
    int code = 0;
    for (int f = 0; f < floors; ++f) {
        const int floorCode = f == 0 ? 0 : ++code;
        for (int i = 0; i < perFloor; ++i) {
            const int node = f * perFloor + i + 1;
            const int v = f == 0 ? 0 : ++code;
            const int r = f == 0 ? 0 : ++code;
            points.push_back(row({double(node), double(floorCode), double(v), double(r), 6.0 * i, 3.3 * f}));
        }
    }
    for (int f = 1; f < floors && beams.size() + columns.size() < 200; ++f) {
        for (int i = 0; i < perFloor; ++i) {
            const int node = f * perFloor + i + 1;
            if (columns.size() + beams.size() < 200) columns.push_back(row({double(node - perFloor), double(node), 1, 1, 1}));
            if (i > 0 && columns.size() + beams.size() < 200) {
                beams.push_back(row({double(node - 1), double(node), 2, 1}));
                dead.push_back(row({double(beams.size()), 2, 25, 0, 6}));
                live.push_back(row({double(beams.size()), 2, 10, 0, 6}));
            }
        }
        masses.push_back(row({double(perFloor + 1), double(f * perFloor + 1)}));
        masses.back().push_back(Cell::empty());
        for (int i = 1; i < perFloor; ++i) {
            Row cells{Cell::empty(), Cell::of(f * perFloor + i + 1), Cell::empty()};
            if (i == perFloor - 1) cells[2] = Cell::of(800);
            masses.push_back(cells);
        }
    }
    using Content = tarvel::JobDatabase::TableContent;
    const Content content[] = {
        {&tarvel::jobTable("WEIGHT"), {row({1})}},
        {&tarvel::jobTable("STIFFNESS"), {row({1, 1})}},
        {&tarvel::jobTable("BARSEC"), {row({0.5, 0.5}), row({0.25, 0.6})}},
        {&tarvel::jobTable("CONCRATE"), {row({30})}},
        {&tarvel::jobTable("POINT"), points},
        {&tarvel::jobTable("BEAM"), beams},
        {&tarvel::jobTable("COLUMN"), columns},
        {&tarvel::jobTable("DLOAD"), dead},
        {&tarvel::jobTable("LLOAD"), live},
        {&tarvel::jobTable("SEISMIC1"), {row({2, 8, 0.35, 0.5, 0.85, 3, 1})}},
        {&tarvel::jobTable("SEISMIC2"), masses},
    };
    db.replaceContent(content);
    return path;
}

void BM_OpenLargeJobAndShowEveryTab(benchmark::State& state) {
    const std::string job = largeJob();
    if (job.empty()) {
        state.SkipWithError("no job");
        return;
    }
    tarvel::bench::SilentHost host;
    const tarvel::app::ProgramFolder folder(QStringLiteral(TARVEL_APP_DIR));
    tarvel::app::Session session;
    session.CurrentDatabasePath = QString::fromStdString(job);
    for (auto _ : state) {
        tarvel::app::FrmInput window(folder, host, session);
        window.resize(1000, 700);
        window.show();
        if (!window.openJob()) state.SkipWithError("not opened");
        for (int t = 0; t < window.tabs()->count(); ++t) {
            window.tabs()->setCurrentIndex(t);
            window.repaint();
            QApplication::processEvents();
        }
    }
}
BENCHMARK(BM_OpenLargeJobAndShowEveryTab)->Unit(benchmark::kMillisecond);

// The same in a window that is already open (its pictures loaded): only the
// job's tables read and the tabs shown.
void BM_ReopenLargeJobAndShowEveryTab(benchmark::State& state) {
    const std::string job = largeJob();
    tarvel::bench::SilentHost host;
    const tarvel::app::ProgramFolder folder(QStringLiteral(TARVEL_APP_DIR));
    tarvel::app::Session session;
    session.CurrentDatabasePath = QString::fromStdString(job);
    tarvel::app::FrmInput window(folder, host, session);
    window.resize(1000, 700);
    window.show();
    for (auto _ : state) {
        if (job.empty() || !window.openJob()) state.SkipWithError("not opened");
        for (int t = 0; t < window.tabs()->count(); ++t) {
            window.tabs()->setCurrentIndex(t);
            window.repaint();
            QApplication::processEvents();
        }
    }
}
BENCHMARK(BM_ReopenLargeJobAndShowEveryTab)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
