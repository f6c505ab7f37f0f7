// Protects the file manager: browsing by mode, source resolution, filters and the file operations.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "filemgr/file_manager.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;
const std::string kSep(1, static_cast<char>(fs::path::preferred_separator));

class FileManagerTest : public ::testing::Test {
  protected:
    FileManagerTest() { fm.selectFolder(folder); }

    // Exactly one information box titled "提示！" with this text.
    void expectOnlyMessage(const std::string& text) {
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, text);
        EXPECT_EQ(host.messages[0].title, "提示！");
        EXPECT_EQ(host.messages[0].icon, Icon::Information);
        host.messages.clear();
    }
    // Source "a.txt" ("abc") picked in plain mode.
    void pickSource() {
        dir.write("a.txt", "abc");
        fm.setPicturePreview(false);
        fm.selectFile("a.txt");
    }
    bool modeBoxesClear() const {
        return !fm.Check4.ticked && !fm.Check5.ticked && !fm.Check6.ticked;
    }

    RecordingHost host;
    testing::TempDir dir;
    std::string folder = dir.path().string();
    FileManager fm{host};
};

TEST_F(FileManagerTest, FilterEntriesSetTheirPatterns) {
    EXPECT_STREQ(FileManager::filePattern(0), "*.*");
    EXPECT_STREQ(FileManager::filePattern(3), "*.BMP");
    EXPECT_STREQ(FileManager::filePattern(11), "*.AWD");
    fm.selectFileType(4);
    EXPECT_EQ(fm.FilListPattern, "*.JPG");
    EXPECT_EQ(fm.CboLx, "数据文件(*.JPG)");
    fm.selectFileType(12);
    fm.selectFileType(-1);
    EXPECT_EQ(fm.FilListPattern, "*.JPG");
    EXPECT_EQ(fm.CboLx, "数据文件(*.JPG)");
}

TEST_F(FileManagerTest, ClicksActByMode) {
    EXPECT_EQ(fm.currentFolder, folder + kSep);
    fm.selectFile("a.txt");  // before any mode box is used it fills nothing
    EXPECT_EQ(fm.TxtWjm, "");
    EXPECT_EQ(fm.TxtMbwj, "");

    fm.setPicturePreview(true);
    fm.selectFile("p.bmp");
    EXPECT_TRUE(fm.pictureLabelVisible);
    EXPECT_EQ(fm.Image1, folder + kSep + "p.bmp");

    fm.setPicturePreview(false);
    EXPECT_EQ(fm.mode, FileManager::PickMode::SourceName);
    fm.selectFile("a.txt");
    EXPECT_EQ(fm.TxtWjm, "a.txt");

    fm.setPickSourcePath(true);
    fm.selectFile("b.txt");
    EXPECT_EQ(fm.TxtWjm, folder + kSep + "b.txt");
    EXPECT_EQ(fm.pickedName, "b.txt");

    fm.setPickSourcePath(false);
    fm.setPickTargetFolder(true);
    fm.selectFile("c.txt");
    EXPECT_EQ(fm.TxtMbwj, folder + kSep);
    fm.selectFolder(folder + kSep + "sub");
    EXPECT_EQ(fm.TxtMbwj, folder + kSep + "sub" + kSep + "b.txt");
}

TEST_F(FileManagerTest, RootFolderGetsNoSecondSeparator) {
    fm.selectFolder(kSep);
    EXPECT_EQ(fm.currentFolder, kSep);
    fm.setPickSourcePath(true);
    fm.selectFile("x.tvl");
    EXPECT_EQ(fm.TxtWjm, kSep + "x.tvl");
    fm.TxtWjm = "x.tvl";
    EXPECT_EQ(fm.sourcePath(), kSep + "x.tvl");
}

TEST_F(FileManagerTest, SourceResolvesAgainstTheListOnlyForItsFileName) {
    pickSource();
    EXPECT_EQ(fm.sourcePath(), folder + kSep + "a.txt");
    fm.TxtWjm = kSep + "elsewhere" + kSep + "b.txt";
    EXPECT_EQ(fm.sourcePath(), kSep + "elsewhere" + kSep + "b.txt");
}

TEST_F(FileManagerTest, SourceAndTargetPickingExcludeEachOther) {
    fm.setPickSourcePath(true);
    EXPECT_EQ(fm.mode, FileManager::PickMode::SourcePath);
    EXPECT_FALSE(fm.Check6.enabled);
    fm.setPickSourcePath(false);
    EXPECT_TRUE(fm.Check6.enabled);
    fm.setPickTargetFolder(true);
    EXPECT_EQ(fm.mode, FileManager::PickMode::TargetFolder);
    EXPECT_FALSE(fm.Check5.enabled);
    fm.setPickTargetFolder(false);
    EXPECT_TRUE(fm.Check5.enabled);
    EXPECT_EQ(fm.mode, FileManager::PickMode::SourceName);
}

TEST_F(FileManagerTest, CopyToFileAndIntoFolder) {
    pickSource();
    fm.Check5.ticked = true;
    fm.TxtMbwj = dir.file("b.txt");
    EXPECT_TRUE(fm.DCopy());
    expectOnlyMessage("文件复制完毕！");
    EXPECT_EQ(testing::TempDir::read(dir.file("b.txt")), "abc");
    EXPECT_EQ(testing::TempDir::read(dir.file("a.txt")), "abc");
    EXPECT_TRUE(modeBoxesClear());
    EXPECT_EQ(fm.mode, FileManager::PickMode::SourceName);  // the mode outlives the cleared boxes

    fs::create_directory(dir.path() / "sub");
    fm.TxtMbwj = dir.file("sub");
    EXPECT_TRUE(fm.DCopy());
    EXPECT_EQ(testing::TempDir::read((dir.path() / "sub" / "a.txt").string()), "abc");
}

TEST_F(FileManagerTest, CopyFailuresAreReported) {
    EXPECT_FALSE(fm.DCopy());
    expectOnlyMessage("必须先选取文件！");

    fm.TxtWjm = dir.file("missing.txt");
    fm.TxtMbwj = dir.file("b.txt");
    fm.Check4.ticked = true;
    EXPECT_FALSE(fm.DCopy());
    expectOnlyMessage("找不到" + dir.file("missing.txt") + "文件");
    EXPECT_TRUE(fm.Check4.ticked);

    pickSource();
    fm.TxtMbwj = dir.file("nofolder") + kSep + "b.txt";
    EXPECT_FALSE(fm.DCopy());
    expectOnlyMessage("找不到" + dir.file("a.txt") + "文件");

    fm.TxtMbwj = dir.file("a.txt");  // onto itself
    EXPECT_FALSE(fm.DCopy());
    expectOnlyMessage("找不到" + dir.file("a.txt") + "文件");
    EXPECT_EQ(testing::TempDir::read(dir.file("a.txt")), "abc");
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(FileManagerTest, CopyOverwritesOnlyOnYes) {
    pickSource();
    dir.write("b.txt", "old");
    fm.TxtMbwj = dir.file("b.txt");
    host.answers = {Answer::No, Answer::Cancel, Answer::Yes};
    EXPECT_FALSE(fm.DCopy());
    EXPECT_FALSE(fm.DCopy());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(testing::TempDir::read(dir.file("b.txt")), "old");
    EXPECT_TRUE(fm.DCopy());
    expectOnlyMessage("文件复制完毕！");
    EXPECT_EQ(testing::TempDir::read(dir.file("b.txt")), "abc");
    ASSERT_EQ(host.questions.size(), 3u);
    EXPECT_EQ(host.questions[0].text, "目标文件已存在，是否覆盖？");
    EXPECT_EQ(host.questions[0].title, "提示！");
    EXPECT_EQ(host.questions[0].icon, Icon::Question);
    EXPECT_EQ(host.questionButtons[0], Buttons::YesNoCancel);
}

TEST_F(FileManagerTest, DeleteAsksFirst) {
    pickSource();
    host.answers = {Answer::No, Answer::Cancel};
    EXPECT_FALSE(fm.Ddil());
    EXPECT_FALSE(fm.Ddil());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(fs::exists(dir.file("a.txt")));
    fm.Check6.ticked = true;
    EXPECT_TRUE(fm.Ddil());
    expectOnlyMessage("文件删除完毕！");
    EXPECT_FALSE(fs::exists(dir.file("a.txt")));
    EXPECT_TRUE(modeBoxesClear());
    ASSERT_EQ(host.questions.size(), 3u);
    EXPECT_EQ(host.questions[2].text, "您真的要删除该文件吗？");
    EXPECT_EQ(host.questions[2].title, "提示！");
    EXPECT_EQ(host.questions[2].icon, Icon::Question);
    EXPECT_EQ(host.questionButtons[2], Buttons::YesNoCancel);

    EXPECT_FALSE(fm.Ddil());  // already gone
    expectOnlyMessage("找不到" + dir.file("a.txt") + "文件");
}

TEST_F(FileManagerTest, RenameMovesAndNeverReplaces) {
    EXPECT_FALSE(fm.RRen());
    expectOnlyMessage("必须先选取源文件名！");
    pickSource();
    EXPECT_FALSE(fm.RRen());
    expectOnlyMessage("必须输入目标文件名！");

    dir.write("taken.txt", "keep");
    fm.TxtMbwj = dir.file("taken.txt");
    EXPECT_FALSE(fm.RRen());
    expectOnlyMessage("找不到" + dir.file("a.txt") + "文件");
    EXPECT_EQ(testing::TempDir::read(dir.file("taken.txt")), "keep");

    fs::create_directory(dir.path() / "sub");
    fm.TxtMbwj = (dir.path() / "sub" / "z.txt").string();
    fm.Check5.ticked = true;
    EXPECT_TRUE(fm.RRen());
    expectOnlyMessage("文件改名完毕！");
    EXPECT_FALSE(fs::exists(dir.file("a.txt")));
    EXPECT_EQ(testing::TempDir::read(fm.TxtMbwj), "abc");
    EXPECT_TRUE(modeBoxesClear());
}

TEST_F(FileManagerTest, MakeFolderInTheListFolder) {
    EXPECT_FALSE(fm.Dmd());
    expectOnlyMessage("必须输入目标文件名！");
    fm.TxtMbwj = "new";
    fm.Check4.ticked = true;
    EXPECT_TRUE(fm.Dmd());
    expectOnlyMessage("文件目录已建立！");
    EXPECT_TRUE(fs::is_directory(dir.path() / "new"));
    EXPECT_TRUE(modeBoxesClear());
    EXPECT_FALSE(fm.Dmd());
    expectOnlyMessage("找不到" + folder + kSep + "new" + "文件");
}

TEST_F(FileManagerTest, ToolbarKeysDispatch) {
    fm.runToolbarCommand("TB1");
    EXPECT_TRUE(host.messages.empty());
    fm.runToolbarCommand("A57");
    fm.runToolbarCommand("A50");
    fm.runToolbarCommand("A26");
    fm.runToolbarCommand("A10");
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(host.messages[0].text, "必须先选取文件！");
    EXPECT_EQ(host.messages[1].text, "必须先选取文件！");
    EXPECT_EQ(host.messages[2].text, "必须先选取源文件名！");
    EXPECT_EQ(host.messages[3].text, "必须输入目标文件名！");
    EXPECT_TRUE(fm.open);
    fm.runToolbarCommand("EXIT");
    EXPECT_FALSE(fm.open);
}

}  // namespace
}  // namespace tarvel
