// Protects print layout: items side by side, 14-column zones, Tab(n), CR LF, character columns.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/print_buffer.h"

namespace tarvel {
namespace {

TEST(PrintBuffer, ItemsFollowEachOtherDirectly) {
    PrintBuffer p;
    p.text("A").single(1.0f).single(2.0f);
    EXPECT_EQ(p.str(), "A 1  2 ");
    EXPECT_EQ(p.column(), 8);
}

TEST(PrintBuffer, NegativeItemTakesTheSignPosition) {
    PrintBuffer p;
    p.integer(-1).integer(2);
    EXPECT_EQ(p.str(), "-1  2 ");
}

TEST(PrintBuffer, ZoneAlwaysAdvancesToTheNextFourteenColumnZone) {
    PrintBuffer p;
    p.zone();
    EXPECT_EQ(p.str(), std::string(14, ' '));
    EXPECT_EQ(p.column(), 15);
    p.zone();
    EXPECT_EQ(p.column(), 29);
    EXPECT_EQ(p.str(), std::string(28, ' '));

    PrintBuffer q;
    q.text("1234567890123");  // column 14, the last of the first zone
    q.zone();
    EXPECT_EQ(q.str(), "1234567890123 ");
    EXPECT_EQ(q.column(), 15);
}

TEST(PrintBuffer, TabCountsCharactersNotBytes) {
    PrintBuffer p;
    p.text("侧移编号").tab(8).text("节点号");
    EXPECT_EQ(p.str(), "侧移编号   节点号");
    EXPECT_EQ(p.column(), 11);
}

TEST(PrintBuffer, TabBehindThePositionStartsANewLine) {
    PrintBuffer p;
    p.text("123456789");  // column 10
    p.tab(3);
    EXPECT_EQ(p.str(), "123456789\r\n  ");
    EXPECT_EQ(p.column(), 3);
}

TEST(PrintBuffer, TabAtThePositionWritesNothing) {
    PrintBuffer p;
    p.text("1234").tab(5);
    EXPECT_EQ(p.str(), "1234");
    EXPECT_EQ(p.column(), 5);
}

TEST(PrintBuffer, TabBelowOneMeansColumnOne) {
    PrintBuffer p;
    p.tab(0);
    EXPECT_EQ(p.str(), "");
    EXPECT_EQ(p.column(), 1);
    p.text("ab").tab(-3);
    EXPECT_EQ(p.str(), "ab\r\n");
    EXPECT_EQ(p.column(), 1);
}

TEST(PrintBuffer, EndLineWritesCrLf) {
    PrintBuffer p;
    p.text("x").endLine();
    EXPECT_EQ(p.str(), "x\r\n");
    EXPECT_EQ(p.column(), 1);
    p.endLine();
    EXPECT_EQ(p.str(), "x\r\n\r\n");
}

TEST(PrintBuffer, ReportLineWithEveryKindOfItem) {
    PrintBuffer p;
    // "节点" ends at column 3; zones at 15 and 29; ".0312" is 312.5 to even.
    p.text("节点").zone().single(-0.5f).zone().fourDecimals(0.03125).truncated(7.9f).dbl(0.25);
    p.endLine();
    const std::string expected = "节点" + std::string(12, ' ') + "-.5 " + std::string(10, ' ') +
                                 " .0312 " + " 7 " + " .25 " + "\r\n";
    EXPECT_EQ(p.str(), expected);
}

TEST(PrintBuffer, LineBreakInsideATextRestartsTheColumn) {
    PrintBuffer p;
    p.text("abc\r\n宽度").tab(5);
    EXPECT_EQ(p.str(), "abc\r\n宽度  ");
}

TEST(PrintBuffer, TakeEmptiesTheTextAndKeepsThePosition) {
    PrintBuffer p;
    p.text("abc");
    EXPECT_EQ(p.take(), "abc");
    EXPECT_EQ(p.str(), "");
    EXPECT_EQ(p.column(), 4);
    p.tab(6).text("d");
    EXPECT_EQ(p.take(), "  d");
}

TEST(PrintBuffer, ColumnsCountCharactersOfTextsOfEveryLength) {
    // Texts of 0..40 characters mixing ASCII, two-, three- and four-byte
    // UTF-8 at every offset: the column after each is one more than the
    // characters written since the line began, and the bytes are kept.
    const std::string pieces[] = {"a", "\xC3\xA9", "宽", "\xF0\x9F\x98\x80", " ", "9"};
    std::uint32_t seed = 12345;
    for (int length = 0; length <= 40; ++length) {
        for (int trial = 0; trial < 20; ++trial) {
            std::string text;
            for (int i = 0; i < length; ++i) {
                seed = seed * 1664525u + 1013904223u;
                text += pieces[(seed >> 16) % 6];
            }
            PrintBuffer p;
            p.text("x").text(text).text(text);
            EXPECT_EQ(p.column(), 2 + 2 * length) << text;
            EXPECT_EQ(p.str(), "x" + text + text);
        }
    }
}

TEST(PrintBuffer, TabWritesExactlyTheBlanksUpToItsColumn) {
    // Every count of blanks from none to beyond 16, from two starting
    // columns, then a zone: the blanks and nothing after them.
    for (const int start : {1, 4}) {
        for (int column = start; column <= start + 40; ++column) {
            PrintBuffer p;
            p.text(std::string(static_cast<std::size_t>(start - 1), 'a')).tab(column).text("x").zone().text("y");
            const int zoneEnd = ((column + 1 - 1) / 14 + 1) * 14 + 1;
            const std::string expected = std::string(static_cast<std::size_t>(start - 1), 'a') +
                                         std::string(static_cast<std::size_t>(column - start), ' ') + "x" +
                                         std::string(static_cast<std::size_t>(zoneEnd - (column + 1)), ' ') + "y";
            EXPECT_EQ(p.str(), expected) << start << " " << column;
            EXPECT_EQ(p.column(), zoneEnd + 1);
        }
    }
}

TEST(PrintBuffer, LineFeedAtEveryPlaceOfATextRestartsTheColumn) {
    // Pieces whose bytes lie next to a line feed's (0x0B, 0x09, 0x8A in
    // "\xC3\x8A") must not be taken for one; a line feed at any offset of
    // texts of up to 24 characters leaves the column one past the characters
    // that follow it.
    const std::string pieces[] = {"a", "\xC3\x8A", "\x0B", "\t", "宽", "\xF0\x9F\x98\x80"};
    std::uint32_t seed = 777;
    for (int length = 1; length <= 24; ++length) {
        for (int trial = 0; trial < 6; ++trial) {
            std::vector<std::string> chars;
            for (int i = 0; i < length; ++i) {
                seed = seed * 1664525u + 1013904223u;
                chars.push_back(pieces[(seed >> 16) % 6]);
            }
            std::string plain;
            for (const auto& c : chars) plain += c;
            PrintBuffer without;
            without.text("xy").text(plain);
            EXPECT_EQ(without.column(), 3 + length) << plain;
            for (int at = 0; at < length; ++at) {
                std::string text;
                for (int i = 0; i < length; ++i) text += i == at ? std::string("\n") : chars[static_cast<std::size_t>(i)];
                PrintBuffer p;
                p.text("xy").text(text);
                EXPECT_EQ(p.column(), 1 + (length - 1 - at)) << text;
            }
        }
    }
}

// A buffer with a sink hands its text on in pieces as it goes; the pieces
// joined are the text the same items give without a sink, byte for byte and
// with the same print positions, whatever item a piece boundary falls in.
TEST(PrintBuffer, TextHandedOnInPiecesIsTheWholeText) {
    struct Pieces final : TextSink {
        std::vector<std::string> got;
        void put(std::string_view bytes) override { got.emplace_back(bytes); }
    } sink;
    PrintBuffer whole;
    PrintBuffer streamed(&sink);
    std::uint32_t seed = 2024;
    for (int line = 0; line < 24000; ++line) {
        for (PrintBuffer* p : {&whole, &streamed}) {
            p->text("杆件").integer(line).tab(12).single(static_cast<float>(line) * -0.37f).zone();
            p->fourDecimals(line / 7.0).tab(60 + static_cast<int>(seed % 9)).truncated(1.5f * line);
            if (line % 97 == 0) p->text(std::string(5000, '-'));  // longer items cross a piece too
            p->endLine();
        }
        seed = seed * 1664525u + 1013904223u;
        ASSERT_EQ(streamed.column(), whole.column());
    }
    const std::string expected = whole.take();
    EXPECT_GT(sink.got.size(), 8u);
    for (const std::string& piece : sink.got) {
        EXPECT_FALSE(piece.empty());
        EXPECT_LE(piece.size(), 262144u);
    }
    // The room goes to the next file's buffer with its old bytes in it:
    // only what that buffer writes is handed on.
    std::string room = streamed.releaseRoom();
    EXPECT_GE(room.size(), 262144u);
    std::string joined;
    for (const std::string& piece : sink.got) joined += piece;
    EXPECT_EQ(joined.size(), expected.size());
    EXPECT_TRUE(joined == expected);
    EXPECT_EQ(streamed.str(), "");  // nothing is kept once handed on

    sink.got.clear();
    PrintBuffer next(&sink, std::move(room));
    next.text("第二个文件").single(2.5f).endLine();
    EXPECT_TRUE(next.releaseRoom().size() >= 262144u);
    ASSERT_EQ(sink.got.size(), 1u);
    EXPECT_EQ(sink.got[0], "第二个文件 2.5 \r\n");

    PrintBuffer noSink;
    noSink.text("kept");
    noSink.flush();  // without a sink the text stays
    EXPECT_EQ(noSink.take(), "kept");
}

}  // namespace
}  // namespace tarvel
