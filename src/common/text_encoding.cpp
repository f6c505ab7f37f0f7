#include "text_encoding.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstddef>
#include <stdexcept>

namespace tarvel {

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

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `input`; at a sequence that cannot be converted, `invalidLength`
    // tells how many input bytes to drop and `replacement` is written instead.
    template <typename InvalidLength>
    std::string run(std::string_view input, InvalidLength invalidLength,
                    std::string_view replacement) {
        std::string output;
        output.reserve(input.size() * 2);
        char buffer[4096];
        // iconv never writes through its input pointer; the cast only meets its signature.
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        while (inLeft > 0) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &in, &inLeft, &out, &outLeft);
            output.append(buffer, static_cast<std::size_t>(out - buffer));
            if (result != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) continue;
            // EILSEQ: a sequence without a counterpart; EINVAL: one cut short at the end.
            const std::size_t skip = invalidLength(std::string_view(in, inLeft));
            output += replacement;
            in += skip;
            inLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return output;
    }

private:
    iconv_t cd_;
};

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = utf8SequenceLength(bytes);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string utf8ToGbk(std::string_view utf8) {
    Converter converter("GBK", "UTF-8");
    return converter.run(
        utf8,
        [](std::string_view rest) { return std::max<std::size_t>(utf8SequenceLength(rest), 1); },
        "?");
}

std::string gbkToUtf8(std::string_view gbk) {
    Converter converter("UTF-8", "GBK");
    return converter.run(gbk, gbkInvalidLength, kReplacementCharacter);
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
