// Protects the UTF-8 / GBK (code page 936) conversions used for DXF texts and for showing old text files.
#include "common/text_encoding.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace tarvel {
namespace {

// GB2312 row-cell codes plus 0xA0: 平 38-29, 面 35-70, 框 31-82, 架 28-60, 结 29-65,
// 构 25-25, 分 23-54, 析 46-86, 计 28-38, 算 43-67, 书 42-73.
const std::string kTitleGbk =
    "\xC6\xBD\xC3\xE6\xBF\xF2\xBC\xDC\xBD\xE1\xB9\xB9\xB7\xD6\xCE\xF6\xBC\xC6\xCB\xE3\xCA\xE9";
const std::string kTitleUtf8 = "平面框架结构分析计算书";

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

TEST(TextEncoding, ChineseRoundTripThroughGbk) {
    const std::string gbk = utf8ToGbk(kTitleUtf8);
    EXPECT_EQ(gbk, kTitleGbk);
    EXPECT_EQ(gbkToUtf8(gbk), kTitleUtf8);
}

TEST(TextEncoding, AsciiIsUnchanged) {
    const std::string ascii = "BEAM 1,2\r\n-.5E-05\t~@\\";
    EXPECT_EQ(utf8ToGbk(ascii), ascii);
    EXPECT_EQ(gbkToUtf8(ascii), ascii);
}

TEST(TextEncoding, UnitSymbols) {
    // The middle dot of kN·m is A1A4 in GB2312; the superscript of m² has no GBK code.
    EXPECT_EQ(utf8ToGbk("kN·m"), "kN\xA1\xA4m");
    EXPECT_EQ(utf8ToGbk("kN/m²"), "kN/m?");
}

TEST(TextEncoding, CharactersWithoutGbkCodeBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToGbk("梁\xF0\x9F\x98\x80柱"), "\xC1\xBA?\xD6\xF9");  // emoji U+1F600
    EXPECT_EQ(utf8ToGbk("한"), "?");                                   // Hangul syllable
    // Code page 936 has the euro sign at 0x80.
    EXPECT_EQ(utf8ToGbk("€"), "\x80");
}

TEST(TextEncoding, MalformedUtf8BecomesOneQuestionMarkPerByte) {
    EXPECT_EQ(utf8ToGbk("a\xFF" "b"), "a?b");
    EXPECT_EQ(utf8ToGbk("a\xE4\xBE"), "a??");   // truncated three-byte sequence
    EXPECT_EQ(utf8ToGbk("\xC0\x80x"), "??x");   // overlong NUL
}

TEST(TextEncoding, InvalidGbkBecomesReplacementCharacter) {
    EXPECT_EQ(gbkToUtf8("a\xFF" "b"), "a" + kReplacement + "b");
    // A lead byte followed by a byte that cannot trail: the second byte is kept.
    EXPECT_EQ(gbkToUtf8("\xC6" "1"), kReplacement + "1");
    // A lead byte cut off by the end of the text.
    EXPECT_EQ(gbkToUtf8("\xC1\xBA\xC6"), "梁" + kReplacement);
    // A two-byte code in the unassigned user area stands for one character.
    EXPECT_EQ(gbkToUtf8("\xAA\xA1" "A"), kReplacement + "A");
}

TEST(TextEncoding, DecodeTextFile) {
    EXPECT_EQ(decodeTextFile("\xC1\xBA\xD6\xF9\r\n"), "梁柱\r\n");
    EXPECT_EQ(decodeTextFile(kTitleGbk), kTitleUtf8);
    EXPECT_EQ(decodeTextFile("侧移编号\r\n"), "侧移编号\r\n");
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF梁"), "梁");
    EXPECT_EQ(decodeTextFile(""), "");
}

TEST(TextEncoding, Utf8Validation) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("ASCII 123"));
    EXPECT_TRUE(isValidUtf8("侧移编号"));
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));     // U+10FFFF
    EXPECT_FALSE(isValidUtf8(kTitleGbk));
    EXPECT_FALSE(isValidUtf8("\x80"));                // lone continuation byte
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));            // overlong
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));        // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));        // surrogate U+D800
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));    // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE4\xBE"));            // truncated
}

TEST(TextEncoding, Utf8LengthCountsCharacters) {
    EXPECT_EQ(utf8Length("侧移编号"), 4);
    EXPECT_EQ(utf8Length("a侧b"), 3);
    EXPECT_EQ(utf8Length(""), 0);
    EXPECT_EQ(utf8Length("\xF0\x9F\x98\x80"), 1);
    EXPECT_EQ(utf8Length(kTitleUtf8), 11);
}

// A second way to the same text: the C library's converter, with the same
// rule at a sequence it cannot convert (`invalidLength` bytes become
// `replacement`).
template <typename InvalidLength>
std::string throughIconv(const char* to, const char* from, std::string_view input,
                         InvalidLength invalidLength, std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string output;
    char buffer[4096];
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        const std::size_t skip = invalidLength(std::string_view(in, inLeft));
        output += replacement;
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return output;
}

std::string gbkThroughIconv(std::string_view gbk) {
    return throughIconv("UTF-8", "GBK", gbk, [](std::string_view rest) -> std::size_t {
        const auto b0 = static_cast<unsigned char>(rest[0]);
        const auto b1 = rest.size() > 1 ? static_cast<unsigned char>(rest[1]) : 0;
        return b0 >= 0x81 && b0 <= 0xFE && b1 >= 0x40 && b1 <= 0xFE && b1 != 0x7F ? 2 : 1;
    }, kReplacement);
}

std::string utf8ThroughIconv(std::string_view utf8) {
    return throughIconv("GBK", "UTF-8", utf8, [](std::string_view rest) -> std::size_t {
        std::size_t n = 1;
        const auto b0 = static_cast<unsigned char>(rest[0]);
        const std::size_t want = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 ? 2 : 1;
        if (want > 1 && rest.size() >= want && isValidUtf8(rest.substr(0, want))) n = want;
        return n;
    }, "?");
}

std::string utf8Of(std::uint32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// The conversion tables give what the C library's converter gives: every
// one- and two-byte GBK sequence (each also followed by ASCII and cut off by
// the end), every code point of the Basic Multilingual Plane and a sample of
// those above it, and random mixtures with malformed bytes.
TEST(TextEncoding, TablesConvertAsTheCLibraryDoes) {
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        const std::string alone(1, static_cast<char>(lead));
        ASSERT_EQ(gbkToUtf8(alone), gbkThroughIconv(alone)) << lead;
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const std::string pair = alone + static_cast<char>(trail) + "A";
            ASSERT_EQ(gbkToUtf8(pair), gbkThroughIconv(pair)) << lead << " " << trail;
        }
    }
    std::string all;
    for (std::uint32_t cp = 1; cp <= 0x10FFFF; cp += cp < 0x10000 ? 1 : 97) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        all += utf8Of(cp);
    }
    all += utf8Of(0xE0000) + utf8Of(0xE0041) + utf8Of(0xE007F) + utf8Of(0xE0080);  // tag characters
    EXPECT_TRUE(utf8ToGbk(all) == utf8ThroughIconv(all));

    std::uint32_t seed = 7;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int trial = 0; trial < 2000; ++trial) {
        std::string bytes;
        const int length = static_cast<int>(next() % 24);
        for (int i = 0; i < length; ++i) {
            const std::uint32_t r = next();
            if (r % 3 == 0) bytes += utf8Of((r >> 8) % 0x9FFF + 1);  // mostly CJK and symbols
            else bytes += static_cast<char>(r >> 24);
        }
        ASSERT_EQ(gbkToUtf8(bytes), gbkThroughIconv(bytes)) << trial;
        ASSERT_EQ(utf8ToGbk(bytes), utf8ThroughIconv(bytes)) << trial;
    }
}

}  // namespace
}  // namespace tarvel
