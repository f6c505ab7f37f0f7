// Protects whole-file reading and the all-or-nothing writing of result files.
#include "common/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tarvel {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() /
                  ("tarvel_file_io_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
};

TEST_F(FileIo, WriteThenReadBackExactBytes) {
    const std::string bytes("POINT\r\n 1  0  0 \r\n\0\x1A\xC6\xBD\r", 20);
    std::string error;
    ASSERT_TRUE(writeFileAtomic(path("A.TVL"), bytes, &error)) << error;
    EXPECT_EQ(readWholeFile(path("A.TVL")), bytes);
    EXPECT_EQ(entries(), std::vector<std::string>{"A.TVL"});
}

TEST_F(FileIo, WriteReplacesOldContent) {
    put("TARVEL1.wri", "old content that is longer than the new one");
    ASSERT_TRUE(writeFileAtomic(path("TARVEL1.wri"), "new"));
    EXPECT_EQ(readWholeFile(path("TARVEL1.wri")), "new");
    EXPECT_EQ(entries(), std::vector<std::string>{"TARVEL1.wri"});
}

TEST_F(FileIo, EmptyContentGivesEmptyFile) {
    put("E.TXT", "something");
    ASSERT_TRUE(writeFileAtomic(path("E.TXT"), ""));
    EXPECT_EQ(readWholeFile(path("E.TXT")), "");
}

TEST_F(FileIo, ReplacedFileKeepsItsPermissions) {
    put("P.TXT", "old");
    fs::permissions(path("P.TXT"), fs::perms::owner_read | fs::perms::owner_write |
                                       fs::perms::group_read);
    ASSERT_TRUE(writeFileAtomic(path("P.TXT"), "new"));
    EXPECT_EQ(fs::status(path("P.TXT")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FileIo, MissingFolderFailsCleanly) {
    put("KEEP.TXT", "untouched");
    std::string error;
    EXPECT_FALSE(writeFileAtomic(path("missing/KEEP.TXT"), "new", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readWholeFile(path("KEEP.TXT")), "untouched");
    EXPECT_EQ(entries(), std::vector<std::string>{"KEEP.TXT"});
}

TEST_F(FileIo, FailedRenameLeavesTargetAndNoTemporary) {
    // A folder standing where the file should go cannot be replaced by a file.
    fs::create_directory(path("OUT.DXF"));
    put("OUT.DXF/inside", "kept");
    std::string error;
    EXPECT_FALSE(writeFileAtomic(path("OUT.DXF"), "0\r\nEOF\r\n", &error));
    EXPECT_NE(error.find("OUT.DXF"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(path("OUT.DXF")));
    EXPECT_EQ(readWholeFile(path("OUT.DXF/inside")), "kept");
    EXPECT_EQ(entries(), std::vector<std::string>{"OUT.DXF"});
}

TEST_F(FileIo, EmptyFileNameIsRefused) {
    std::string error;
    EXPECT_FALSE(writeFileAtomic("", "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(writeFileAtomic(path("") + "/", "x"));
    EXPECT_TRUE(entries().empty());
}

TEST_F(FileIo, ReadMissingFileOrFolder) {
    EXPECT_EQ(readWholeFile(path("NONE.TVL")), std::nullopt);
    EXPECT_EQ(readWholeFile(folder_.string()), std::nullopt);
}

// The set written a piece at a time: the targets keep their old bytes until
// commit() puts every file in place at once; a set that is dropped before
// (a run that stops) leaves the targets and no temporary.
TEST_F(FileIo, SetWrittenInPiecesReplacesTheTargetsOnlyWhenCommitted) {
    put("DLOAD.fkn", "old forces");
    put("AS.ags", "old steel");
    {
        FileSetWriter dropped({path("DLOAD.fkn"), path("AS.ags")});
        dropped.begin();
        dropped.put("new forces");
        dropped.end();
        dropped.begin();
        dropped.put("new ");
        EXPECT_EQ(entries().size(), 4u);  // the two temporaries beside the targets
    }
    EXPECT_EQ(entries(), (std::vector<std::string>{"AS.ags", "DLOAD.fkn"}));
    EXPECT_EQ(readWholeFile(path("DLOAD.fkn")), "old forces");

    FileSetWriter set({path("DLOAD.fkn"), path("AS.ags")});
    set.begin();
    set.put("new ");
    set.put("forces");
    set.end();
    set.begin();
    set.put(std::string(100000, 's'));
    set.end();
    EXPECT_EQ(readWholeFile(path("AS.ags")), "old steel");
    std::string error;
    ASSERT_TRUE(set.commit(&error)) << error;
    EXPECT_EQ(readWholeFile(path("DLOAD.fkn")), "new forces");
    EXPECT_EQ(readWholeFile(path("AS.ags")), std::string(100000, 's'));
    EXPECT_EQ(entries(), (std::vector<std::string>{"AS.ags", "DLOAD.fkn"}));
}

// A target that cannot be replaced is found before any temporary is made:
// the writer does nothing more and commit() reports that target the way
// writeFileSet does; a set with fewer files than it named is not put in place.
TEST_F(FileIo, SetWriterKeepsItsFirstFailureAndChangesNothing) {
    put("TARVEL1.wri", "old report");
    fs::create_directory(path("TARVEL2.wri"));
    FileSetWriter blocked({path("TARVEL1.wri"), path("TARVEL2.wri")});
    EXPECT_TRUE(blocked.failed());
    blocked.begin();
    blocked.put("new report");
    blocked.end();
    EXPECT_EQ(entries(), (std::vector<std::string>{"TARVEL1.wri", "TARVEL2.wri"}));
    std::string error;
    std::string failed;
    EXPECT_FALSE(blocked.commit(&error, &failed));
    EXPECT_EQ(failed, path("TARVEL2.wri"));
    std::string setError;
    std::string setFailed;
    EXPECT_FALSE(writeFileSet({{path("TARVEL1.wri"), "x"}, {path("TARVEL2.wri"), "y"}}, &setError, &setFailed));
    EXPECT_EQ(error, setError);
    EXPECT_EQ(failed, setFailed);
    EXPECT_EQ(readWholeFile(path("TARVEL1.wri")), "old report");

    FileSetWriter short_({path("TARVEL1.wri"), path("AS.ags")});
    short_.begin();
    short_.put("new report");
    short_.end();
    EXPECT_FALSE(short_.commit(&error, &failed));
    EXPECT_EQ(failed, path("AS.ags"));
    EXPECT_EQ(readWholeFile(path("TARVEL1.wri")), "old report");
    EXPECT_EQ(entries(), (std::vector<std::string>{"TARVEL1.wri", "TARVEL2.wri"}));
}

TEST(FilePath, FolderAndFileName) {
    EXPECT_EQ(folderOf("data/frames/A.TVL"), "data/frames/");
    EXPECT_EQ(fileNameOf("data/frames/A.TVL"), "A.TVL");
    EXPECT_EQ(folderOf("A.TVL"), "");
    EXPECT_EQ(fileNameOf("A.TVL"), "A.TVL");
    EXPECT_EQ(folderOf("/A.TVL"), "/");
    EXPECT_EQ(fileNameOf("/A.TVL"), "A.TVL");
    EXPECT_EQ(folderOf("data/"), "data/");
    EXPECT_EQ(fileNameOf("data/"), "");
    EXPECT_EQ(folderOf(""), "");
    EXPECT_EQ(fileNameOf(""), "");
}

}  // namespace
}  // namespace tarvel
