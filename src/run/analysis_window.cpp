#include "run/analysis_window.h"

#include <filesystem>

#include "analysis/run_texts.h"
#include "common/list_input.h"
#include "run/data_file_check.h"
#include "prep/frm_conversion.h"

namespace tarvel {

namespace {

constexpr const char* kTitle = "提示";
constexpr const char* kNoDataFile = "还未选择'计算文件'！";
constexpr const char* kNoMainGrade = "未选择'主筋'级别！";
constexpr const char* kNoStirrupGrade = "未选择'箍筋'级别！";
constexpr const char* kNothingToBrowse = "请选择要浏览的文件！";
constexpr const char* kNoTvlFile = "还未选择'*.TVL 文件'！";
constexpr const char* kNoFrmFile = "还未选择'*.FRM 文件'！";

// The integer of a grade list's text; 0 (any other grade) when it is not a number.
int gradeOf(const std::string& text) {
    double value = 0.0;
    if (!parseNumber(text, value) || value < -32768.0 || value > 32767.0) return 0;
    return static_cast<int>(value);
}

}  // namespace

AnalysisWindow::AnalysisWindow(Host& host)
    : host_(host), state_(std::make_unique<AnalysisState>()) {}

const char* AnalysisWindow::filePattern(int item) {
    static constexpr const char* kPatterns[3] = {"*.*", "*.TVL", "*.FRM"};
    return (item >= 0 && item <= 2) ? kPatterns[item] : kPatterns[0];
}

void AnalysisWindow::start() {
    CboLx = kFileTypes[0];
    CboII = "2";
    CboI = "1";
    mainGrade = 2;
    stirrupGrade = 1;
    TxtYlVisible = false;
}

void AnalysisWindow::selectFolder(std::string_view folder) {
    dataFolder = std::string(folder);
    if (!dataFolder.empty() && dataFolder.back() != '/' && dataFolder.back() != '\\') {
        dataFolder += static_cast<char>(std::filesystem::path::preferred_separator);
    }
}

void AnalysisWindow::setBrowseReport(bool ticked) {
    ChkW1.ticked = ticked;
    browseSelection = ticked ? BrowseFile::Report : BrowseFile::DataFile;
    ChkW2.enabled = !ticked;
}

void AnalysisWindow::setBrowseForceListing(bool ticked) {
    ChkW2.ticked = ticked;
    browseSelection = ticked ? BrowseFile::ForceListing : BrowseFile::DataFile;
    ChkW1.enabled = !ticked;
    if (!ticked) ChkW2.enabled = true;
}

bool AnalysisWindow::runAnalysis() {
    TxtYlVisible = false;
    const char* missing = TxtName.empty() ? kNoDataFile
                          : CboII.empty() ? kNoMainGrade
                          : CboI.empty()  ? kNoStirrupGrade
                                          : nullptr;
    if (missing) {
        host_.message(missing, kTitle, Icon::Information);
        return false;
    }
    mainGrade = gradeOf(CboII);
    stirrupGrade = gradeOf(CboI);
    lastRun_ = Frame5(RunRequest{dataPath(), mainGrade, stirrupGrade, {}}, host_, *state_);
    return lastRun_.outcome == RunOutcome::Finished;
}

bool AnalysisWindow::viewFile(std::string_view viewer) {
    std::string file;
    if (browseSelection != BrowseFile::DataFile) {
        file = browseSelection == BrowseFile::Report ? run_text::kReportFile
                                                     : run_text::kForceListFile;
        // Clearing both boxes returns the selection to the data file.
        setBrowseReport(false);
        setBrowseForceListing(false);
    } else if (TxtName.empty()) {
        host_.message(kNothingToBrowse, kTitle, Icon::Information);
        return false;
    } else {
        file = TxtName;
    }
    return host_.startProgram(viewer, {dataFolder + file});
}

bool AnalysisWindow::checkDataFile() {
    if (TxtName.empty()) {
        host_.message(kNoTvlFile, kTitle, Icon::Information);
        return false;
    }
    TxtYlVisible = true;
    return Wjxy(dataPath(), host_) == PrepOutcome::Done;
}

bool AnalysisWindow::convertDataFile() {
    if (TxtName.empty()) {
        host_.message(kNoFrmFile, kTitle, Icon::Information);
        return false;
    }
    TxtYlVisible = true;
    return Wjzh(dataPath(), host_) == PrepOutcome::Done;
}

}  // namespace tarvel
