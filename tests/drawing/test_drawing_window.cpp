// Protects the drawing window's state and events: boxes, diagram choice, preconditions of the
// commands.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "drawing/drawing_fixture.h"

namespace tarvel {
namespace {

using testing::DrawingTest;

class DrawingWindowTest : public DrawingTest {};

TEST_F(DrawingWindowTest, LoadingFillsTheBoxesAndWritesTheLog) {
    DrawingWindow fresh(host);
    EXPECT_EQ(fresh.dxf.WORKDIR, "");
    fresh.start();
    EXPECT_EQ(host.logLines, std::vector<std::string>{"前/后处理程序运行过程："});
    EXPECT_EQ(fresh.CboScale, "100");
    EXPECT_EQ(fresh.CboAlf, "20");
    EXPECT_EQ(fresh.loadType, 0);
    EXPECT_FLOAT_EQ(fresh.scaleFromBox(), 0.1f);
    EXPECT_FLOAT_EQ(fresh.heightFromBox(), 20.0f);
}

TEST_F(DrawingWindowTest, BoxValues) {
    EXPECT_EQ(window.scaleFromBox(), 0.1f);  // empty: 1:100
    EXPECT_EQ(window.heightFromBox(), 20.0f);
    window.CboScale = "50";
    window.CboAlf = " 15 ";
    EXPECT_EQ(window.scaleFromBox(), 0.05f);
    EXPECT_EQ(window.heightFromBox(), 15.0f);
    window.CboScale = "abc";
    EXPECT_EQ(window.scaleFromBox(), 0.0f);
}

TEST_F(DrawingWindowTest, LoadTypeFromTheBoxEntry) {
    window.selectLoadType("活载");
    EXPECT_EQ(window.loadType, 2);
    window.selectLoadType("风载");
    EXPECT_EQ(window.loadType, 3);
    window.selectLoadType("地震");
    EXPECT_EQ(window.loadType, 0);
}

TEST_F(DrawingWindowTest, TickingOneDiagramDisablesTheOthers) {
    window.setDrawMoments(true);
    EXPECT_TRUE(window.drawMoments);
    EXPECT_TRUE(window.Check1.enabled);
    EXPECT_FALSE(window.Check2.enabled);
    EXPECT_FALSE(window.Check3.enabled);
    window.setDrawMoments(false);
    EXPECT_FALSE(window.drawMoments);
    EXPECT_TRUE(window.Check1.enabled && window.Check2.enabled && window.Check3.enabled);
    window.setDrawAxialForces(true);
    EXPECT_TRUE(window.drawAxialForces);
    EXPECT_FALSE(window.Check1.enabled);
    EXPECT_FALSE(window.drawShears);
}

TEST_F(DrawingWindowTest, StructureCommandNeedsAFile) {
    EXPECT_FALSE(window.drawStructure());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "还未选择'计算文件'！");
    EXPECT_EQ(host.messages[0].title, "提示");
    EXPECT_EQ(host.messages[0].icon, Icon::Information);
    EXPECT_EQ(host.logClears, 0);
}

TEST_F(DrawingWindowTest, ShowingAFileStartsTheEditorOnIt) {
    EXPECT_FALSE(window.viewFile("/opt/editor"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "请选择要浏览的文件！");
    window.selectFile("EX1.TVL");
    EXPECT_TRUE(window.viewFile("/opt/editor"));
    ASSERT_EQ(host.startedPrograms.size(), 1u);
    EXPECT_EQ(host.startedPrograms[0].program, "/opt/editor");
    EXPECT_EQ(host.startedPrograms[0].arguments,
              std::vector<std::string>{dir.path().string() + "/EX1.TVL"});
}

TEST_F(DrawingWindowTest, FileTypePatterns) {
    EXPECT_STREQ(DrawingWindow::filePattern(0), "*.*");
    EXPECT_STREQ(DrawingWindow::filePattern(1), "*.TVL");
    EXPECT_STREQ(DrawingWindow::filePattern(2), "*.AGS");
    EXPECT_STREQ(DrawingWindow::filePattern(3), "*.FKN");
}

TEST_F(DrawingWindowTest, WorkingFolderEndsInASeparator) {
    window.selectFolder("/data/job");
    EXPECT_EQ(window.dxf.WORKDIR, "/data/job/");
    window.selectFolder("/data/job/");
    EXPECT_EQ(window.dxf.WORKDIR, "/data/job/");
}

// Before any change of folder, files are read and drawings written in the current folder.
TEST_F(DrawingWindowTest, EmptyWorkingFolderIsTheCurrentFolder) {
    write("AS.ags", " 0  0 \r\n");
    DrawingWindow fresh(host);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const bool drawn = fresh.Drawas();
    std::filesystem::current_path(before);
    EXPECT_TRUE(drawn);
    PROBE_DXF(probe, dir.file("AS.DXF"));
    EXPECT_EQ(probe.texts().size(), 3u);  // the title block
}

}  // namespace
}  // namespace tarvel
