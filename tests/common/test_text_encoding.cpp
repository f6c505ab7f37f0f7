// Protects the UTF-8 / GBK (code page 936) conversions used for DXF texts and for showing old text files.
#include "common/text_encoding.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarvel
