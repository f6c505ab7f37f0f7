// Protects list-directed reading of data files: item splitting, empty items, line ends, number syntax and errors.
#include "common/list_input.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace tarvel {
namespace {

using Kind = ListInputError::Kind;

// The error a read raises; fails the test when none is raised.
ListInputError errorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const ListInputError& e) {
        return e;
    }
    ADD_FAILURE() << "the read raised no ListInputError";
    return ListInputError(Kind::PastEnd, "<none>", -1);
}

// Every numeric item of the content as (text, line), empty items as "<empty>".
std::vector<std::pair<std::string, int>> numberItems(std::string content) {
    ListReader reader(std::move(content));
    std::vector<std::pair<std::string, int>> items;
    while (!reader.atEnd()) {
        const ListReader::Item item = reader.nextNumberItem();
        items.emplace_back(item.empty ? "<empty>" : item.text, item.line);
    }
    return items;
}

TEST(ListInput, CommaAndLineEndSeparateItems) {
    ListReader reader("1,2\r\n3\r\n");
    EXPECT_EQ(reader.readInteger(), 1);
    EXPECT_EQ(reader.readInteger(), 2);
    EXPECT_EQ(reader.readInteger(), 3);
    EXPECT_TRUE(reader.atEnd());
    const ListInputError e = errorOf([&] { reader.readInteger(); });
    EXPECT_EQ(e.kind(), Kind::PastEnd);
    EXPECT_EQ(e.item(), "");
    EXPECT_EQ(e.line(), 3);
}

TEST(ListInput, BlanksEndNumbersWithoutEmptyItems) {
    // The way the program prints a row: sign position, digits, trailing blank, CR LF.
    ListReader reader(" 1  2 \r\n");
    EXPECT_EQ(reader.readInteger(), 1);
    EXPECT_EQ(reader.readInteger(), 2);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(errorOf([&] { reader.readSingle(); }).kind(), Kind::PastEnd);
}

TEST(ListInput, TabsAreBlanks) {
    ListReader reader("\t5\t,6\t\r\n");
    EXPECT_EQ(reader.readInteger(), 5);
    EXPECT_EQ(reader.readInteger(), 6);
    EXPECT_TRUE(reader.atEnd());
}

TEST(ListInput, BlankLineIsOneEmptyItem) {
    ListReader reader("\r\n");
    const ListReader::Item item = reader.nextNumberItem();
    EXPECT_TRUE(item.empty);
    EXPECT_EQ(item.line, 1);
    EXPECT_TRUE(reader.atEnd());

    reader.rewind();
    EXPECT_EQ(reader.readSingle(), 0.0f);
    EXPECT_EQ(errorOf([&] { reader.readSingle(); }).kind(), Kind::PastEnd);

    ListReader blanksOnly("   \r\n");
    EXPECT_EQ(blanksOnly.readInteger(), 0);
    EXPECT_TRUE(blanksOnly.atEnd());
}

TEST(ListInput, CommaBeforeLineEndGivesEmptyItem) {
    ListReader reader("1,\r\n");
    EXPECT_EQ(reader.readInteger(), 1);
    EXPECT_FALSE(reader.atEnd());
    EXPECT_TRUE(reader.nextNumberItem().empty);
    EXPECT_TRUE(reader.atEnd());

    EXPECT_EQ(numberItems(",5,,6"), (std::vector<std::pair<std::string, int>>{
                                        {"<empty>", 1}, {"5", 1}, {"<empty>", 1}, {"6", 1}}));
}

TEST(ListInput, ItemCutShortByEndOfFileIsAccepted) {
    ListReader reader("7");
    EXPECT_EQ(reader.readInteger(), 7);
    EXPECT_TRUE(reader.atEnd());

    ListReader pair("1 2");
    EXPECT_EQ(pair.readSingle(), 1.0f);
    EXPECT_EQ(pair.readSingle(), 2.0f);
    EXPECT_TRUE(pair.atEnd());
}

TEST(ListInput, SegmentWithoutClosingBlankLineRunsPastEnd) {
    // Closed segment: the blank line gives the terminating 0.
    ListReader closed("BEAM\r\n1,2\r\n\r\n");
    EXPECT_EQ(closed.readText(), "BEAM");
    EXPECT_EQ(closed.readInteger(), 1);
    EXPECT_EQ(closed.readInteger(), 2);
    EXPECT_EQ(closed.readInteger(), 0);

    ListReader open("BEAM\r\n1,2\r\n");
    EXPECT_EQ(open.readText(), "BEAM");
    EXPECT_EQ(open.readInteger(), 1);
    EXPECT_EQ(open.readInteger(), 2);
    const ListInputError e = errorOf([&] { open.readInteger(); });
    EXPECT_EQ(e.kind(), Kind::PastEnd);
    EXPECT_EQ(e.line(), 3);
}

TEST(ListInput, LetterWhereNumberIsReadIsAnError) {
    ListReader reader("a,b");
    const ListInputError e = errorOf([&] { reader.readSingle(); });
    EXPECT_EQ(e.kind(), Kind::NotNumber);
    EXPECT_EQ(e.item(), "a");
    EXPECT_EQ(e.line(), 1);
    EXPECT_NE(std::string(e.what()).find("'a'"), std::string::npos);

    ListReader partly("12abc");
    const ListInputError p = errorOf([&] { partly.readInteger(); });
    EXPECT_EQ(p.kind(), Kind::NotNumber);
    EXPECT_EQ(p.item(), "12abc");

    ListReader quoted("\"10\",5");
    const ListInputError q = errorOf([&] { quoted.readDouble(); });
    EXPECT_EQ(q.kind(), Kind::NotNumber);
    EXPECT_EQ(q.item(), "\"10\"");
}

TEST(ListInput, ErrorNamesTheLineOfTheItem) {
    // Lines: "1" CR | "2" CR LF | (blank) LF | "q"
    ListReader reader("1\r2\r\n\nq");
    EXPECT_EQ(reader.readInteger(), 1);
    EXPECT_EQ(reader.readInteger(), 2);
    EXPECT_EQ(reader.readInteger(), 0);
    const ListInputError e = errorOf([&] { reader.readInteger(); });
    EXPECT_EQ(e.kind(), Kind::NotNumber);
    EXPECT_EQ(e.item(), "q");
    EXPECT_EQ(e.line(), 4);
}

TEST(ListInput, IntegerRoundsHalfToEven) {
    ListReader reader("2.5,3.5,-2.5,150.5,151.5,-32768.5,2.4999,0.5");
    EXPECT_EQ(reader.readInteger(), 2);
    EXPECT_EQ(reader.readInteger(), 4);
    EXPECT_EQ(reader.readInteger(), -2);
    EXPECT_EQ(reader.readInteger(), 150);
    EXPECT_EQ(reader.readInteger(), 152);
    EXPECT_EQ(reader.readInteger(), -32768);
    EXPECT_EQ(reader.readInteger(), 2);
    EXPECT_EQ(reader.readInteger(), 0);
}

TEST(ListInput, IntegerOutsideSixteenBitsOverflows) {
    ListReader reader("32767 40000 32767.5 -32769");
    EXPECT_EQ(reader.readInteger(), 32767);
    for (const char* text : {"40000", "32767.5", "-32769"}) {
        const ListInputError e = errorOf([&] { reader.readInteger(); });
        EXPECT_EQ(e.kind(), Kind::Overflow);
        EXPECT_EQ(e.item(), text);
        EXPECT_EQ(e.line(), 1);
    }
}

TEST(ListInput, NumberForms) {
    ListReader reader("1E-05,-.5,1.5D2,+3.,1d+2,2.5e-1,-0,12.75");
    EXPECT_EQ(reader.readSingle(), 1e-05f);
    EXPECT_EQ(reader.readSingle(), -0.5f);
    EXPECT_EQ(reader.readInteger(), 150);
    EXPECT_EQ(reader.readSingle(), 3.0f);
    EXPECT_EQ(reader.readDouble(), 100.0);
    EXPECT_EQ(reader.readSingle(), 0.25f);
    EXPECT_EQ(reader.readInteger(), 0);
    EXPECT_EQ(reader.readDouble(), 12.75);
}

TEST(ListInput, SingleIsTheNearestFloatAndDoubleKeepsPrecision) {
    ListReader reader("0.1 0.1 16777217");
    EXPECT_EQ(reader.readSingle(), 0.1f);
    EXPECT_EQ(reader.readDouble(), 0.1);
    // 2^24 + 1 is not a float; the tie goes to the even neighbour 2^24.
    EXPECT_EQ(reader.readSingle(), 16777216.0f);
}

TEST(ListInput, OutOfRangeRealsOverflowAndTinyOnesUnderflowToZero) {
    ListReader reader("1E39 1E400 1E-400 1E-50");
    EXPECT_EQ(errorOf([&] { reader.readSingle(); }).kind(), Kind::Overflow);
    EXPECT_EQ(errorOf([&] { reader.readDouble(); }).kind(), Kind::Overflow);
    EXPECT_EQ(reader.readDouble(), 0.0);
    EXPECT_EQ(reader.readSingle(), 0.0f);
}

TEST(ListInput, ParseNumberSyntax) {
    double value = -1.0;
    EXPECT_TRUE(parseNumber("12", value));
    EXPECT_EQ(value, 12.0);
    EXPECT_TRUE(parseNumber("-.5", value));
    EXPECT_EQ(value, -0.5);
    EXPECT_TRUE(parseNumber("1.5D2", value));
    EXPECT_EQ(value, 150.0);
    EXPECT_TRUE(parseNumber("+3.", value));
    EXPECT_EQ(value, 3.0);
    EXPECT_TRUE(parseNumber("7e+1", value));
    EXPECT_EQ(value, 70.0);

    value = 42.0;
    for (const char* bad : {"", "+", "-", ".", "+.", "1E", "1E+", "E5", "1.2.3", "1,2", "--1",
                            "0x10", "1e5x", " 1", "1 ", "&H10", "inf", "nan", "1E2.5", "1F3"}) {
        EXPECT_FALSE(parseNumber(bad, value)) << "'" << bad << "'";
    }
    EXPECT_EQ(value, 42.0);
}

// The short way for small numbers must give the correctly rounded value, as
// the general conversion does: random numbers of 1 to 20 digits, with and
// without a point, scaled by powers of ten around the limits of the short way
// (10^±22, mantissas near 2^53), against std::from_chars on the same digits.
TEST(ListInput, ParseNumberRoundsEveryNumberAsTheGeneralConversion) {
    std::mt19937_64 random(2026);
    int compared = 0;
    for (int n = 0; n < 300000; ++n) {
        std::string digits;
        const int count = 1 + static_cast<int>(random() % 20);
        for (int d = 0; d < count; ++d) digits += static_cast<char>('0' + random() % 10);
        if (n % 7 == 0) digits = std::to_string((std::uint64_t{1} << 53) - 2 + random() % 5);
        std::string mantissa = digits;
        if (random() % 2 == 0) mantissa.insert(random() % (digits.size() + 1), ".");
        std::string text = mantissa;
        std::string plain = mantissa;
        if (random() % 3 != 0) {
            const int exponent = static_cast<int>(random() % 61) - 30;
            const char* letters[] = {"E", "e", "D", "d"};
            text += letters[random() % 4] + std::to_string(exponent);
            plain += "e" + std::to_string(exponent);
        }
        const bool negative = random() % 2 == 0;
        if (negative) text.insert(0, "-");
        if (plain == ".") continue;

        double expected = 0.0;
        const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), expected);
        ASSERT_EQ(end, plain.data() + plain.size()) << plain;
        ASSERT_EQ(error, std::errc()) << plain;
        double value = 0.0;
        ASSERT_TRUE(parseNumber(text, value)) << text;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(negative ? -expected : expected))
            << text;
        ++compared;
    }
    EXPECT_GT(compared, 290000);
}

TEST(ListInput, AllLineEndConventionsGiveTheSameItems) {
    const std::vector<std::pair<std::string, int>> expected{
        {"1", 1}, {"2", 1}, {"3", 2}, {"<empty>", 3}, {"4", 4}, {"5", 4}};
    EXPECT_EQ(numberItems("1,2\r\n3\r\n\r\n4 5\r\n"), expected);
    EXPECT_EQ(numberItems("1,2\n3\n\n4 5\n"), expected);
    EXPECT_EQ(numberItems("1,2\r3\r\r4 5\r"), expected);
}

TEST(ListInput, LineCountAfterEachConvention) {
    ListReader reader("1\r\n2\n3\r4");
    EXPECT_EQ(reader.line(), 1);
    reader.readInteger();
    EXPECT_EQ(reader.line(), 2);
    reader.readInteger();
    EXPECT_EQ(reader.line(), 3);
    reader.readInteger();
    EXPECT_EQ(reader.line(), 4);
    EXPECT_EQ(reader.readInteger(), 4);
    EXPECT_EQ(reader.line(), 4);
}

TEST(ListInput, TextItemsAreTrimmed) {
    ListReader reader("  point\r\n  POINT  \r\n 1 , 2");
    EXPECT_EQ(reader.readText(), "point");
    EXPECT_EQ(reader.readText(), "POINT");
    EXPECT_EQ(reader.readInteger(), 1);
    EXPECT_EQ(reader.readInteger(), 2);
}

TEST(ListInput, UnquotedTextKeepsInnerBlanks) {
    ListReader reader("TWO WORDS ,next\r\n");
    EXPECT_EQ(reader.readText(), "TWO WORDS");
    EXPECT_EQ(reader.readText(), "next");
    EXPECT_TRUE(reader.atEnd());
}

TEST(ListInput, QuotedTextRunsToTheClosingQuote) {
    ListReader reader("\"a,b\",c\r\n\"1,2\"\"X\"\r\n");
    EXPECT_EQ(reader.readText(), "a,b");
    EXPECT_EQ(reader.readText(), "c");
    EXPECT_EQ(reader.readText(), "1,2");
    EXPECT_EQ(reader.readText(), "X");
    EXPECT_TRUE(reader.atEnd());

    ListReader blanks("\" padded \"  ,x");
    EXPECT_EQ(blanks.readText(), " padded ");
    EXPECT_EQ(blanks.readText(), "x");

    ListReader unclosed("\"cut short");
    EXPECT_EQ(unclosed.readText(), "cut short");
    EXPECT_TRUE(unclosed.atEnd());
}

TEST(ListInput, LineEndInsideQuotesCountsALine) {
    ListReader reader("\"a\r\nb\"\r\n7");
    const ListReader::Item text = reader.nextTextItem();
    EXPECT_EQ(text.text, "a\r\nb");
    EXPECT_EQ(text.line, 1);
    const ListReader::Item number = reader.nextNumberItem();
    EXPECT_EQ(number.text, "7");
    EXPECT_EQ(number.line, 3);
}

TEST(ListInput, EmptyTextItem) {
    ListReader reader(",\r\nz");
    EXPECT_EQ(reader.readText(), "");
    EXPECT_EQ(reader.readText(), "");
    EXPECT_EQ(reader.readText(), "z");
}

TEST(ListInput, GbkTextReadsBackByteExactly) {
    // GBK "平面" C6BD C3E6, then extension characters whose trail bytes are ASCII
    // codes: 8140 (trail '@'), 815C (trail '\'), 817E (trail '~').
    const std::string gbk = "\xC6\xBD\xC3\xE6\x81\x40\x81\x5C\x81\x7E";
    ListReader reader("  " + gbk + "  ," + gbk + "\r\n12\r\n");
    EXPECT_EQ(reader.readText(), gbk);
    EXPECT_EQ(reader.readText(), gbk);
    EXPECT_EQ(reader.readInteger(), 12);
    EXPECT_TRUE(reader.atEnd());
}

TEST(ListInput, Utf8ByteOrderMarkIsSkipped) {
    ListReader reader("\xEF\xBB\xBFPOINT\r\n5\r\n");
    EXPECT_EQ(reader.readText(), "POINT");
    EXPECT_EQ(reader.readInteger(), 5);
    reader.rewind();
    EXPECT_EQ(reader.readText(), "POINT");

    // Only at the very start: elsewhere the bytes belong to the item.
    ListReader inner("1,\xEF\xBB\xBF");
    EXPECT_EQ(inner.readInteger(), 1);
    EXPECT_EQ(inner.readText(), "\xEF\xBB\xBF");
}

TEST(ListInput, RewindRestartsAtTheTop) {
    ListReader reader("WEIGHT\r\n1\r\nSTIFFNESS\r\n");
    EXPECT_EQ(reader.readText(), "WEIGHT");
    EXPECT_EQ(reader.readInteger(), 1);
    EXPECT_EQ(reader.line(), 3);
    reader.rewind();
    EXPECT_EQ(reader.line(), 1);
    EXPECT_EQ(reader.readText(), "WEIGHT");
}

TEST(ListInput, EmptyContentIsAtEnd) {
    ListReader reader;
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(errorOf([&] { reader.readText(); }).kind(), Kind::PastEnd);

    ListReader blanks("   ");
    EXPECT_TRUE(blanks.atEnd());
    const ListInputError e = errorOf([&] { blanks.readInteger(); });
    EXPECT_EQ(e.kind(), Kind::PastEnd);
    EXPECT_EQ(e.line(), 1);
}

}  // namespace
}  // namespace tarvel
