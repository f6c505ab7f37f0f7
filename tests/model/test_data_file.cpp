// Protects the segment finder: where it positions the input, what it logs in
// each mode, and how it compares marker names.

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "model/data_file.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using testing::TempDir;

TEST(FindSegment, PositionsOnTheValueAfterTheMarker) {
    TempDir dir;
    RecordingHost host;
    DataFile f(host, dir.write("a.TVL", "WEIGHT\r\n 0 \r\n\r\nSTIFFNESS\r\n .8  .9 \r\n\r\n"));
    ASSERT_TRUE(f.load());
    EXPECT_EQ(f.FINDSEG("STIFFNESS", kMandatory), 0);
    EXPECT_TRUE(f.isOpen());
    EXPECT_FLOAT_EQ(f.in().readSingle(), 0.8f);
    EXPECT_FLOAT_EQ(f.in().readSingle(), 0.9f);
    // A later search starts again from the top of the file.
    EXPECT_EQ(f.FINDSEG("WEIGHT", kMandatory), 0);
    EXPECT_FLOAT_EQ(f.in().readSingle(), 0.0f);
    EXPECT_TRUE(host.logLines.empty());
}

TEST(FindSegment, MarkerComparisonIgnoresCaseAndSurroundingBlanks) {
    TempDir dir;
    RecordingHost host;
    DataFile f(host, dir.write("a.TVL", "  point  \r\n 7 \r\n\r\nbar-sec\n 3 \n"));
    ASSERT_TRUE(f.load());
    EXPECT_EQ(f.FINDSEG("POINT", kMandatory), 0);
    EXPECT_EQ(f.in().readInteger(), 7);
    EXPECT_EQ(f.FINDSEG(" Bar-Sec ", kMandatory), 0);
    EXPECT_EQ(f.in().readInteger(), 3);
}

TEST(FindSegment, OnlyTheFirstMarkerOfANameCounts) {
    TempDir dir;
    RecordingHost host;
    DataFile f(host, dir.write("a.TVL", "WEIGHT\r\n 1 \r\n\r\nWEIGHT\r\n 0 \r\n\r\n"));
    ASSERT_TRUE(f.load());
    ASSERT_EQ(f.FINDSEG("WEIGHT", kOptional), 0);
    EXPECT_EQ(f.in().readInteger(), 1);
}

TEST(FindSegment, MissingSegmentLogLinesPerMode) {
    TempDir dir;
    RecordingHost host;
    DataFile f(host, dir.write("a.TVL", "POINT\r\n 0 \r\n\r\n"));
    ASSERT_TRUE(f.load());

    EXPECT_EQ(f.FINDSEG("WEIGHT", kOptional), 1);
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(f.FINDSEG("BEAM", kMandatory), 1);
    EXPECT_EQ(f.FINDSEG("STIFFNESS", kSilent), 1);
    const std::vector<std::string> expected{
        "1,WEIGHT", "系统提示：没找到 'WEIGHT' 数据段！",
        "1,BEAM", "致命的错误：找不到 'BEAM' 数据段！"};
    EXPECT_EQ(host.logLines, expected);
    EXPECT_TRUE(host.messages.empty());
}

TEST(FindSegment, NameInsideARecordLineIsAValueToo) {
    // Each comma-separated value is compared, not only whole lines.
    TempDir dir;
    RecordingHost host;
    DataFile f(host, dir.write("a.TVL", " 1, weight, 5\r\n"));
    ASSERT_TRUE(f.load());
    ASSERT_EQ(f.FINDSEG("WEIGHT", kOptional), 0);
    EXPECT_EQ(f.in().readInteger(), 5);
}

// Searches in any order, repeated, for names present and missing, position
// the input where a search from the top of the file item by item would: on
// the same place and line, so the same values are read next.
TEST(FindSegment, EverySearchFindsWhatAScanFromTheTopFinds) {
    const std::string text =
        "TITLE, \"frame, one\"\r\n POINT\r\n 1  2 \r\n\r\n 3, beam ,4\r\n"
        "BEAM\r\n 5 \r\nDLOAD\r\n 6  7 \r\n\r\ndload\r\n 8 \r\nSEISMIC\r\n 9 \r\n";
    auto scan = [&text](const std::string& name, ListReader::Mark& at) {
        ListReader r(text);
        while (!r.atEnd()) {
            std::string item = r.nextTextItem().text;
            for (char& ch : item) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            if (item == name) {
                at = r.mark();
                return true;
            }
        }
        return false;
    };
    TempDir dir;
    RecordingHost host;
    DataFile f(host, dir.write("a.TVL", text));
    ASSERT_TRUE(f.load());
    for (const char* name : {"DLOAD", "POINT", "WLOAD", "BEAM", "DLOAD", "SEISMIC", "TITLE", "LLOAD", "BEAM",
                             "FRAME, ONE", "POINT"}) {
        ListReader::Mark expected;
        const bool present = scan(name, expected);
        ASSERT_EQ(f.FINDSEG(name, kSilent), present ? 0 : 1) << name;
        if (!present) continue;
        EXPECT_EQ(f.in().position(), expected.pos) << name;
        EXPECT_EQ(f.in().line(), expected.line) << name;
    }
    ASSERT_EQ(f.FINDSEG("BEAM", kSilent), 0);  // the value 4 of "3, beam ,4" comes first
    EXPECT_EQ(f.in().readInteger(), 4);
    ASSERT_EQ(f.FINDSEG("DLOAD", kSilent), 0);
    EXPECT_EQ(f.in().readInteger(), 6);
    EXPECT_TRUE(host.logLines.empty());
}

TEST(FindSegment, UnreadableFileIsNeverFound) {
    RecordingHost host;
    DataFile f(host, "/nonexistent/folder/x.TVL");
    EXPECT_FALSE(f.load());
    EXPECT_EQ(f.FINDSEG("POINT", kMandatory), 1);
    EXPECT_EQ(host.logLines.size(), 2u);
}

}  // namespace
}  // namespace tarvel
