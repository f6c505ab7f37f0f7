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
    std::string browseSelection = "N";   // "N" data file, "Y1" report, "Y2" force listing
    int mainGrade = 2;                   // grades stored when a run starts
    int stirrupGrade = 1;

    // The file-type list and the pattern of its item (0 all, 1 .TVL, 2 .FRM).
    static constexpr const char* kFileTypes[3] = {"所有文件(*.*)", "计算文件(*.TVL)",
                                                  "数据文件(*.FRM)"};
    static const char* filePattern(int item);

    void Form_Load();
    void DirList_Change(std::string_view folder);
    void FilList_Click(std::string_view file) { TxtName = file; }
    void ChkW1_Click(bool ticked);
    void ChkW2_Click(bool ticked);

    // "结构分析(&R)": the three selection checks, then the run. False when a
    // selection was missing (nothing ran) or the run stopped.
    bool CmdFrame_Click();
    // "文件浏览(&F)": the report, the force listing or the data file in `viewer`.
    bool CmdOpen_Click(std::string_view viewer);
    // "文件校验(&W)" and "文件转换(&Z)".
    bool CmdWjyr_Click();
    bool CmdWjzh_Click();

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
