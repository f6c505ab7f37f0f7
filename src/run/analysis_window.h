#pragma once
// `FrmTarvel` without its widgets: the state and the commands of the
// frame-analysis window. The desktop window shows these members in controls
// of the same names and forwards its events here; tests drive it directly.

#include <memory>
#include <string>
#include <string_view>

#include "analysis/analysis_state.h"
#include "common/host.h"
#include "run/run_driver.h"

namespace tarvel {

class AnalysisWindow {
public:
    struct CheckBox {
        bool ticked = false;
        bool enabled = true;
    };

    // The file the browse command opens.
    enum class BrowseFile { DataFile, Report, ForceListing };

    explicit AnalysisWindow(Host& host);

    // Controls, by their names in the window.
    std::string CboLx = "所有文件(*.*)";  // file type shown in the file list
    std::string TxtName;                 // the data file name
    std::string CboII = "2";             // main-bar grade, "1".."4"
    std::string CboI = "1";              // stirrup grade, "1".."4"
    CheckBox ChkW1;                      // "计算结果": browse the report
    CheckBox ChkW2;                      // "内力文件": browse the force listing
    bool TxtYlVisible = false;           // validation/conversion output shown instead of the run log

    // Window state.
    std::string dataFolder;              // chosen folder followed by the separator; "" until chosen
    BrowseFile browseSelection = BrowseFile::DataFile;
    int mainGrade = 2;                   // grades stored when a run starts
    int stirrupGrade = 1;

    // The file-type list and the pattern of its item (0 all, 1 .TVL, 2 .FRM).
    static constexpr const char* kFileTypes[3] = {"所有文件(*.*)", "计算文件(*.TVL)",
                                                  "数据文件(*.FRM)"};
    static const char* filePattern(int item);

    // Commands. The desktop window forwards its controls' events here.
    void start();  // opening the window: the boxes' first values
    void selectFolder(std::string_view folder);  // DirList: the data folder
    void selectFile(std::string_view file) { TxtName = file; }
    // The ChkW1 and ChkW2 boxes: browse the report or the force listing
    // instead of the data file; ticking one disables the other.
    void setBrowseReport(bool ticked);
    void setBrowseForceListing(bool ticked);

    // "结构分析(&R)": the three selection checks, then the run. False when a
    // selection was missing (nothing ran) or the run stopped.
    bool runAnalysis();
    // "文件浏览(&F)": the report, the force listing or the data file in `viewer`.
    bool viewFile(std::string_view viewer);
    // "文件校验(&W)" and "文件转换(&Z)".
    bool checkDataFile();
    bool convertDataFile();

    // The tables of the last run.
    const AnalysisState& state() const { return *state_; }
    const RunResult& lastRun() const { return lastRun_; }

private:
    std::string dataPath() const { return dataFolder + TxtName; }

    Host& host_;
    std::unique_ptr<AnalysisState> state_;
    RunResult lastRun_;
};

}  // namespace tarvel
