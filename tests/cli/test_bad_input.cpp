// Protects against crashes on damaged data files: mangled copies of the
// bundled example go through the analysis run, the structure drawing and the
// validation. Each must end with a result or a message, never with a crash, a
// read past a table (the sanitizer build checks) or a NaN in a result file.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "drawing/drawing_window.h"
#include "run/data_file_check.h"
#include "run/run_driver.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using testing::TempDir;

std::string exampleText() {
    return TempDir::read(std::string(TARVEL_SOURCE_DIR) + "/examples/FRAME3X4.TVL");
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find("\r\n", from);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

// One damaged copy: a few edits of the kinds that bad hand editing or a
// broken transfer produce.
std::string mangle(const std::string& original, std::mt19937& rng) {
    static const char* const kValues[] = {"0",    "-1",   "1E30",  "-1E30", "99999", ".0001",
                                          "x",    "1E-30", "250",   "221",   "-3",    "1001",
                                          "32767", "",     "3.5",   "0,0",   "1 1 1"};
    std::vector<std::string> lines = splitLines(original);
    auto pick = [&rng](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const int edits = 1 + static_cast<int>(pick(3));
    for (int e = 0; e < edits && !lines.empty(); ++e) {
        const std::size_t at = pick(lines.size());
        switch (pick(5)) {
            case 0:  // a line lost
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            case 1:  // a line doubled
                lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[at]);
                break;
            case 2: {  // one value replaced
                std::string& line = lines[at];
                std::vector<std::size_t> starts;
                for (std::size_t i = 0; i < line.size(); ++i) {
                    if (line[i] != ' ' && (i == 0 || line[i - 1] == ' ')) starts.push_back(i);
                }
                if (starts.empty()) break;
                const std::size_t s = starts[pick(starts.size())];
                std::size_t end = line.find(' ', s);
                if (end == std::string::npos) end = line.size();
                line.replace(s, end - s, kValues[pick(std::size(kValues))]);
                break;
            }
            case 3:  // a blank line inside a segment
                lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), "");
                break;
            default:  // the file cut short
                lines.resize(at);
                break;
        }
    }
    std::string text = joinLines(lines);
    if (pick(4) == 0) text.resize(pick(text.size() + 1));  // cut inside a line
    return text;
}

bool holdsNaN(const std::string& bytes) { return bytes.find("#QNAN") != std::string::npos; }

TEST(BadInput, DamagedCopiesOfTheExampleNeverCrashAnyCommand) {
    const std::string original = exampleText();
    ASSERT_FALSE(original.empty());
    std::mt19937 rng(20261208);
    auto state = std::make_unique<AnalysisState>();
    int finished = 0;
    int stopped = 0;
    for (int copy = 0; copy < 120; ++copy) {
        TempDir dir;
        const std::string text = mangle(original, rng);
        const std::string path = dir.write("BAD.TVL", text);
        SCOPED_TRACE("damaged copy " + std::to_string(copy) + ":\n" + text);

        RecordingHost runHost;
        const RunResult run = Frame5(RunRequest{path, 2, 1, "2026 - 12 - 08   10:00:00"}, runHost, *state);
        if (run.outcome == RunOutcome::Finished) {
            ++finished;
            for (const char* name : {"DLOAD.fkn", "TARVEL1.wri", "TARVEL2.wri", "AS.ags"}) {
                EXPECT_FALSE(holdsNaN(TempDir::read(dir.file(name)))) << name;
            }
        } else {
            ++stopped;
            // A stopped run always says why, and leaves no report behind.
            EXPECT_FALSE(runHost.messages.empty() && runHost.logLines.empty());
            EXPECT_FALSE(std::filesystem::exists(dir.file("TARVEL1.wri")));
        }

        RecordingHost drawHost;
        DrawingWindow window(drawHost);
        window.selectFolder(dir.path().string());
        window.selectFile("BAD.TVL");
        window.drawStructure();

        RecordingHost checkHost;
        checkDataFile(path, PrepWindow::DataPreparation, checkHost);
    }
    // The edits are small: a fair share of the copies still analyse.
    EXPECT_GT(finished, 5);
    EXPECT_GT(stopped, 5);
}

}  // namespace
}  // namespace tarvel
