// Protects PBC: counting record lines before reading and the over-limit message.

#include <gtest/gtest.h>

#include <string>

#include "model/data_file.h"
#include "model/size_precheck.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using testing::TempDir;

std::string frameOfSize(int nodes, int beams, int columns) {
    std::string t = "POINT\r\n";
    for (int n = 1; n <= nodes; ++n) t += " " + std::to_string(n) + "  0  0  0  0  0 \r\n";
    t += "\r\nBEAM\r\n";
    for (int b = 0; b < beams; ++b) t += " 1  2  1  1 \r\n";
    t += "\r\nCOLUMN\r\n";
    for (int c = 0; c < columns; ++c) t += " 1  2  1  1  0 \r\n";
    return t + "\r\n";
}

TEST(SizePrecheck, FrameAtTheLimitsPasses) {
    TempDir dir;
    RecordingHost host;
    DataFile f(host, dir.write("a.TVL", frameOfSize(220, 190, 210)));
    ASSERT_TRUE(f.load());
    SizeCount c;
    EXPECT_TRUE(PBC(f, host, &c));
    EXPECT_EQ(c.nodes, 220);
    EXPECT_EQ(c.beams, 190);
    EXPECT_EQ(c.columns, 210);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(f.isOpen());
}

TEST(SizePrecheck, OneNodeTooManyGivesTheMessage) {
    TempDir dir;
    RecordingHost host;
    DataFile f(host, dir.write("a.TVL", frameOfSize(221, 3, 4)));
    ASSERT_TRUE(f.load());
    EXPECT_FALSE(PBC(f, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "超出结构分析极限，请重新调整数据或更新分析程序！！！ 节点：221个； 梁：3条； 柱：4条。");
    EXPECT_EQ(host.messages[0].title, "提示！");
    EXPECT_EQ(host.messages[0].icon, Icon::None);
}

TEST(SizePrecheck, CountingStopsAtTheTerminatorOrTheEnd) {
    TempDir dir;
    RecordingHost host;
    // POINT ends at a record whose first value is 0, BEAM at the end of the file
    // (LF-only line ends), COLUMN is missing and counts 0.
    DataFile f(host, dir.write("a.TVL", "POINT\r\n 1 0 0 0 0 0\r\n 2 0 0 0 1 0\r\n 0,0,0\r\n 3 0 0 0 2 0\r\n"
                                        "BEAM\n 1 2 1 1\n 2 3 1 1"));
    ASSERT_TRUE(f.load());
    EXPECT_EQ(countRecordLines(f, "POINT"), 2);
    EXPECT_EQ(countRecordLines(f, "BEAM"), 2);
    EXPECT_EQ(countRecordLines(f, "COLUMN"), 0);
    const std::vector<std::string> expected{"1,COLUMN", "致命的错误：找不到 'COLUMN' 数据段！"};
    EXPECT_EQ(host.logLines, expected);
}

TEST(SizePrecheck, LineWithAnEmptyFirstItemEndsTheCount) {
    // ",0,0,..." reads as node number 0, the terminating record, so the node
    // after it is no longer part of the segment.
    TempDir dir;
    RecordingHost host;
    DataFile f(host, dir.write("a.TVL", "POINT\r\n 1 0 0 0 0 0\r\n ,0,0,0,0,0\r\n 2 0 0 0 1 0\r\n\r\n"));
    ASSERT_TRUE(f.load());
    EXPECT_EQ(countRecordLines(f, "POINT"), 1);
}

}  // namespace
}  // namespace tarvel
