#include "text_encoding.h"

#include <cstddef>
#include <cstdint>

namespace tarvel {

namespace gbk {
// Written at build time by gbk_tables_gen: decoding of single bytes
// 0x80..0xFF and of two-byte codes (lead 0x81..0xFE, any trail), encoding of
// code points 0x80..0xFFFF; 0 where there is no character.
extern const std::uint16_t kSingle[128];
extern const std::uint16_t kPairs[126 * 256];
extern const std::uint16_t kCodes[0x10000];
extern const std::uint32_t kDroppedFrom;  // code points above U+FFFF iconv drops
extern const std::uint32_t kDroppedTo;
}  // namespace gbk

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Length of the well-formed UTF-8 sequence at the start of `bytes`, 0 when
// it is not one (overlong forms, surrogates and values above U+10FFFF are not).
std::size_t utf8SequenceLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const auto isTrail = [&](std::size_t i) {
        return i < bytes.size() && (byte(i) & 0xC0) == 0x80;
    };
    if (bytes.empty()) return 0;
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return isTrail(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!isTrail(1) || !isTrail(2)) return 0;
        if (lead == 0xE0 && byte(1) < 0xA0) return 0;  // overlong
        if (lead == 0xED && byte(1) > 0x9F) return 0;  // surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!isTrail(1) || !isTrail(2) || !isTrail(3)) return 0;
        if (lead == 0xF0 && byte(1) < 0x90) return 0;  // overlong
        if (lead == 0xF4 && byte(1) > 0x8F) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

// Bytes taken by one undecodable GBK character: a lead byte with a possible
// trail byte forms one (unassigned) code; any other byte stands alone, so an
// ASCII character after a stray lead byte is kept.
std::size_t gbkInvalidLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const bool lead = byte(0) >= 0x81 && byte(0) <= 0xFE;
    const bool trail = bytes.size() > 1 && byte(1) >= 0x40 && byte(1) <= 0xFE && byte(1) != 0x7F;
    return lead && trail ? 2 : 1;
}

// Appends code point `cp` (at most U+FFFF) as UTF-8.
void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The code point of the well-formed UTF-8 sequence of `length` bytes at `p`.
std::uint32_t codePoint(const char* p, std::size_t length) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(p[i])); };
    switch (length) {
        case 1: return byte(0);
        case 2: return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
        case 3: return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
        default:
            return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
    }
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = utf8SequenceLength(bytes);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

// The tables are the C library's GBK converter, taken when the program was
// built (gbk_tables_gen), so no conversion module is loaded at run time.
std::string utf8ToGbk(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::size_t length = utf8SequenceLength(utf8);
        if (length == 0) {  // not UTF-8: one "?" per byte
            out += '?';
            utf8.remove_prefix(1);
            continue;
        }
        const std::uint32_t cp = codePoint(utf8.data(), length);
        utf8.remove_prefix(length);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp <= 0xFFFF) {
            const std::uint16_t code = gbk::kCodes[cp];
            if (code == 0) {
                out += '?';
            } else if (code < 0x100) {
                out += static_cast<char>(code);
            } else if (code != 0xFFFF) {  // 0xFFFF: dropped
                out += static_cast<char>(code >> 8);
                out += static_cast<char>(code & 0xFF);
            }
        } else if (cp < gbk::kDroppedFrom || cp > gbk::kDroppedTo) {
            out += '?';
        }
    }
    return out;
}

std::string gbkToUtf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 2);
    while (!gbk.empty()) {
        const auto lead = static_cast<unsigned char>(gbk[0]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            gbk.remove_prefix(1);
            continue;
        }
        if (const std::uint16_t single = gbk::kSingle[lead - 0x80]; single != 0) {
            appendUtf8(out, single);
            gbk.remove_prefix(1);
            continue;
        }
        if (lead >= 0x81 && lead <= 0xFE && gbk.size() > 1) {
            const auto trail = static_cast<unsigned char>(gbk[1]);
            if (const std::uint16_t cp = gbk::kPairs[(lead - 0x81) * 256 + trail]; cp != 0) {
                appendUtf8(out, cp);
                gbk.remove_prefix(2);
                continue;
            }
        }
        out += kReplacementCharacter;
        gbk.remove_prefix(gbkInvalidLength(gbk));
    }
    return out;
}

// A byte-order mark is not part of the text shown, so it is dropped.
std::string decodeTextFile(std::string_view bytes) {
    if (isValidUtf8(bytes)) {
        if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
        return std::string(bytes);
    }
    return gbkToUtf8(bytes);
}

// Counts every byte that does not continue a multi-byte sequence.
int utf8Length(std::string_view utf8) {
    int count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

}  // namespace tarvel
