// Protects the frame-analysis window's commands: the selection checks before
// a run, the browse selection of the two check boxes, the viewer command
// line, and the validation and conversion commands.

#include <gtest/gtest.h>

#include "run/analysis_window.h"
#include "support/frame_builder.h"
#include "support/recording_host.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::TempDir;

struct WindowFixture {
    TempDir dir;
    RecordingHost host;
    AnalysisWindow window{host};
    WindowFixture() {
        window.start();
        window.selectFolder(dir.path().string());
    }
};

std::string beamFile() {
    FrameBuilder f;
    f.section(0.25, 0.5).concrete(30);
    f.node(1, 0, 0, 1, 0, 0).node(2, 0, 0, 2, 4, 0).beam(1, 2).dead(1, 1, 10, 2);
    return f.text();
}

TEST(AnalysisWindow, MissingSelectionsStopBeforeTheRun) {
    struct Case {
        const char* name;
        const char* mainGrade;
        const char* stirrupGrade;
        const char* message;
    };
    const Case cases[] = {{"", "2", "1", "还未选择'计算文件'！"},
                          {"BEAM.TVL", "", "1", "未选择'主筋'级别！"},
                          {"BEAM.TVL", "2", "", "未选择'箍筋'级别！"},
                          {"", "", "", "还未选择'计算文件'！"}};
    for (const Case& c : cases) {
        WindowFixture f;
        f.dir.write("BEAM.TVL", beamFile());
        f.window.TxtName = c.name;
        f.window.CboII = c.mainGrade;
        f.window.CboI = c.stirrupGrade;
        EXPECT_FALSE(f.window.runAnalysis());
        ASSERT_EQ(f.host.messages.size(), 1u);
        EXPECT_EQ(f.host.messages[0].text, c.message);
        EXPECT_EQ(f.host.messages[0].title, "提示");
        EXPECT_EQ(f.host.messages[0].icon, Icon::Information);
        EXPECT_TRUE(f.host.logLines.empty());  // nothing ran
    }
}

TEST(AnalysisWindow, RunTakesTheGradesOfTheLists) {
    WindowFixture f;
    f.dir.write("BEAM.TVL", beamFile());
    f.window.selectFile("BEAM.TVL");
    f.window.CboII = "3";
    f.window.CboI = "2";
    ASSERT_TRUE(f.window.runAnalysis());
    EXPECT_EQ(f.window.mainGrade, 3);
    EXPECT_EQ(f.window.stirrupGrade, 2);
    EXPECT_EQ(f.window.state().mainGrade, 3);
    // Grade 3 main bars are 360 N/mm², grade 2 stirrups 300 N/mm².
    const std::string report = TempDir::read(f.dir.file("TARVEL1.wri"));
    EXPECT_NE(report.find("梁的纵筋级别: 3 ,FY= 360 (N/mm2);梁的箍筋级别: 2 ,FY= 300 (N/mm2)]"),
              std::string::npos);
    EXPECT_EQ(f.host.logLines.back(), "结构分析程序正常结束！");
}

TEST(AnalysisWindow, CheckBoxesChooseWhatIsBrowsed) {
    WindowFixture f;
    f.window.setBrowseForceListing(true);
    EXPECT_EQ(f.window.browseSelection, AnalysisWindow::BrowseFile::ForceListing);
    EXPECT_FALSE(f.window.ChkW1.enabled);  // "计算结果" disabled while "内力文件" is ticked
    f.window.setBrowseForceListing(false);
    EXPECT_EQ(f.window.browseSelection, AnalysisWindow::BrowseFile::DataFile);
    EXPECT_TRUE(f.window.ChkW1.enabled);
    EXPECT_TRUE(f.window.ChkW2.enabled);

    f.window.setBrowseReport(true);
    EXPECT_EQ(f.window.browseSelection, AnalysisWindow::BrowseFile::Report);
    EXPECT_FALSE(f.window.ChkW2.enabled);
}

TEST(AnalysisWindow, BrowseTheReportThenTheDataFile) {
    WindowFixture f;
    f.window.TxtName = "BEAM.TVL";
    f.window.setBrowseReport(true);
    ASSERT_TRUE(f.window.viewFile("notepad"));
    // Both boxes are cleared after a report is shown: the next click opens the data file.
    EXPECT_FALSE(f.window.ChkW1.ticked);
    EXPECT_FALSE(f.window.ChkW2.ticked);
    EXPECT_TRUE(f.window.ChkW2.enabled);
    EXPECT_EQ(f.window.browseSelection, AnalysisWindow::BrowseFile::DataFile);
    f.window.viewFile("notepad");
    f.window.setBrowseForceListing(true);
    f.window.viewFile("notepad");
    const std::string folder = f.window.dataFolder;
    const std::vector<RecordingHost::StartedProgram> expected{
        {"notepad", {folder + "TARVEL1.wri"}},
        {"notepad", {folder + "BEAM.TVL"}},
        {"notepad", {folder + "TARVEL2.wri"}}};
    EXPECT_EQ(f.host.startedPrograms, expected);
}

TEST(AnalysisWindow, NothingToBrowse) {
    WindowFixture f;
    EXPECT_FALSE(f.window.viewFile("notepad"));
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "请选择要浏览的文件！");
    EXPECT_TRUE(f.host.startedPrograms.empty());
}

TEST(AnalysisWindow, ValidationAndConversionNeedAFileName) {
    WindowFixture f;
    EXPECT_FALSE(f.window.checkDataFile());
    EXPECT_FALSE(f.window.convertDataFile());
    ASSERT_EQ(f.host.messages.size(), 2u);
    EXPECT_EQ(f.host.messages[0].text, "还未选择'*.TVL 文件'！");
    EXPECT_EQ(f.host.messages[1].text, "还未选择'*.FRM 文件'！");
    EXPECT_FALSE(f.window.TxtYlVisible);
    EXPECT_TRUE(f.host.questions.empty());
}

TEST(AnalysisWindow, ValidationShowsTheViewBoxAndAsksFirst) {
    WindowFixture f;
    f.dir.write("BEAM.TVL", beamFile());
    f.window.TxtName = "BEAM.TVL";
    EXPECT_TRUE(f.window.checkDataFile());
    EXPECT_TRUE(f.window.TxtYlVisible);
    ASSERT_EQ(f.host.questions.size(), 1u);
    EXPECT_EQ(f.host.questions[0].text, "您是否真的要校验（TVL）数据文件吗？");
    // A run afterwards shows the run log again.
    f.window.runAnalysis();
    EXPECT_FALSE(f.window.TxtYlVisible);
}

TEST(AnalysisWindow, FileTypePatterns) {
    EXPECT_STREQ(AnalysisWindow::filePattern(0), "*.*");
    EXPECT_STREQ(AnalysisWindow::filePattern(1), "*.TVL");
    EXPECT_STREQ(AnalysisWindow::filePattern(2), "*.FRM");
    EXPECT_STREQ(AnalysisWindow::kFileTypes[1], "计算文件(*.TVL)");
}

}  // namespace
}  // namespace tarvel
