// Build-time tool: writes the GBK (code page 936) conversion tables the
// program converts with, taken from the C library's own GBK converter of the
// build machine, so that the program itself needs no conversion modules at
// run time.
//
//     gbk_tables_gen OUT.cpp
//
// Decoding: the code point of each byte 0x80..0xFF standing alone, and of each
// two-byte code lead 0x81..0xFE, trail 0x00..0xFF (0: no character). Encoding:
// the GBK code of each code point 0x80..0xFFFF (below 0x100 one byte, else two
// bytes, lead first; 0: none; 0xFFFF: the character is dropped). Code points
// above 0xFFFF have no GBK code; one range of them (the tag characters) is
// dropped. 0x00..0x7F map to themselves. The tool stops with an error if the
// converter does not keep to this.

#include <errno.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The characters `in` converts to in full, or nothing when it does not
// convert as one whole.
bool convert(iconv_t cd, const std::string& in, std::string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return false;
    out.assign(buffer, static_cast<std::size_t>(outPtr - buffer));
    return true;
}

std::string utf32(std::uint32_t cp) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>((cp >> (8 * i)) & 0xFF);
    return s;
}

std::uint32_t fromUtf32(const std::string& s) {
    std::uint32_t cp = 0;
    for (int i = 3; i >= 0; --i) cp = (cp << 8) | static_cast<unsigned char>(s[static_cast<std::size_t>(i)]);
    return cp;
}

void table(std::FILE* f, const char* name, const std::vector<std::uint32_t>& values) {
    std::fprintf(f, "extern const std::uint16_t %s[%zu] = {", name, values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::fprintf(f, "%s%u,", i % 16 == 0 ? "\n" : "", static_cast<unsigned>(values[i]));
    }
    std::fprintf(f, "\n};\n\n");
}

int fail(const char* what) {
    std::fprintf(stderr, "gbk_tables_gen: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return fail("usage: gbk_tables_gen OUT.cpp");
    iconv_t decode = iconv_open("UTF-32LE", "GBK");
    iconv_t encode = iconv_open("GBK", "UTF-32LE");
    if (decode == reinterpret_cast<iconv_t>(-1) || encode == reinterpret_cast<iconv_t>(-1)) {
        return fail("the C library cannot convert GBK");
    }
    std::string out;
    for (int b = 0; b < 0x80; ++b) {
        if (!convert(decode, std::string(1, static_cast<char>(b)), out) || fromUtf32(out) != static_cast<std::uint32_t>(b)) {
            return fail("GBK does not keep ASCII");
        }
    }
    std::vector<std::uint32_t> single(0x80, 0);
    for (int b = 0x80; b <= 0xFF; ++b) {
        if (convert(decode, std::string(1, static_cast<char>(b)), out)) single[static_cast<std::size_t>(b - 0x80)] = fromUtf32(out);
    }
    std::vector<std::uint32_t> pairs(126 * 256, 0);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            if (!convert(decode, code, out)) continue;
            if (out.size() != 4) return fail("GBK code of more or less than one character");
            const std::uint32_t cp = fromUtf32(out);
            if (cp > 0xFFFF) return fail("GBK code beyond U+FFFF");
            pairs[static_cast<std::size_t>((lead - 0x81) * 256 + trail)] = cp;
        }
    }
    std::vector<std::uint32_t> codes(0x10000, 0);
    std::uint32_t droppedFrom = 0;
    std::uint32_t droppedTo = 0;
    for (std::uint32_t cp = 0x80; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        if (!convert(encode, utf32(cp), out)) continue;
        if (cp > 0xFFFF) {
            if (!out.empty()) return fail("code point beyond U+FFFF with a GBK code");
            if (droppedFrom == 0) droppedFrom = droppedTo = cp;
            if (cp != droppedTo && cp != droppedTo + 1) return fail("dropped code points beyond U+FFFF not in one range");
            droppedTo = cp;
            continue;
        }
        if (out.empty()) {
            codes[cp] = 0xFFFF;
        } else if (out.size() == 1) {
            codes[cp] = static_cast<unsigned char>(out[0]);
        } else if (out.size() == 2 && static_cast<unsigned char>(out[0]) >= 0x81) {
            codes[cp] = static_cast<std::uint32_t>(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
        } else {
            return fail("GBK code of unexpected length");
        }
    }
    std::FILE* f = std::fopen(argv[1], "w");
    if (!f) return fail("cannot write the tables");
    std::fprintf(f, "// Written by gbk_tables_gen from the C library's GBK converter. Do not edit.\n");
    std::fprintf(f, "#include <cstdint>\n\nnamespace tarvel::gbk {\n\n");
    table(f, "kSingle", single);
    table(f, "kPairs", pairs);
    table(f, "kCodes", codes);
    std::fprintf(f, "extern const std::uint32_t kDroppedFrom = %u;\nextern const std::uint32_t kDroppedTo = %u;\n\n",
                 static_cast<unsigned>(droppedFrom), static_cast<unsigned>(droppedTo));
    std::fprintf(f, "}  // namespace tarvel::gbk\n");
    const bool ok = std::fclose(f) == 0;
    iconv_close(decode);
    iconv_close(encode);
    return ok ? 0 : fail("cannot write the tables");
}
