#include "drawing/dxf_writer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "common/file_io.h"
#include "common/printed_number.h"
#include "common/text_encoding.h"
#include "drawing/dxf_reader.h"

namespace tarvel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kDefaultStyle = "TXT";

// Arrow heads: 1.2 drawing units wide, 0.3 or 0.35 of the arrow long.
constexpr float kBarbHalfWidth = 0.6f;
constexpr float kThinHeadLength = 0.3f;
constexpr float kWideHeadLength = 0.35f;
constexpr float kWideShaftWidth = 0.5f;
constexpr float kWideBarbWidth = 0.3f;

// ASCII is the same in GBK, so only texts with other characters need converting.
std::string toGbk(std::string_view utf8) {
    const bool ascii = std::all_of(utf8.begin(), utf8.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? std::string(utf8) : utf8ToGbk(utf8);
}

// Byte length of the first `count` characters of a UTF-8 text.
std::size_t prefixBytes(std::string_view utf8, int count) {
    std::size_t pos = 0;
    int seen = 0;
    while (pos < utf8.size()) {
        if ((static_cast<unsigned char>(utf8[pos]) & 0xC0) != 0x80) {
            if (seen == count) break;
            ++seen;
        }
        ++pos;
    }
    return pos;
}

// Alignment groups of a justification code: h 0 left, 1 centre, 2 right;
// v 0 baseline, 1 bottom, 2 middle, 3 top.
struct Justification {
    int h = 0;
    int v = 0;
};

Justification justification(std::string_view tp) {
    Justification j;
    if (tp.size() == 1) {
        if (tp == "C") j.h = 1;
        if (tp == "R") j.h = 2;
    } else if (tp.size() == 2) {
        switch (tp[0]) {
            case 'B':
                j.v = 1;
                break;
            case 'M':
                j.v = 2;
                break;
            case 'T':
                j.v = 3;
                break;
            default:
                break;
        }
        switch (tp[1]) {
            case 'C':
                j.h = 1;
                break;
            case 'R':
                j.h = 2;
                break;
            default:
                break;
        }
    }
    return j;
}

// The text style of the Chinese titles: a TrueType font with the Chinese
// characters for programs that draw TrueType, and the Chinese big font that
// CAD programs with shape fonts carry.
constexpr std::string_view kChineseStyle = "HZTXT";
constexpr std::string_view kChineseFont = "simsun.ttf";
constexpr std::string_view kChineseBigFont = "gbcbig.shx";

struct LayerColour {
    std::string_view layer;
    int colour;
};
// Frame and title black, labels and dimensions in quiet colours, each
// diagram and load case in its own clear one.
constexpr LayerColour kLayerColours[] = {
    {"0", 7},      {"SEC-TEXT", 94}, {"P-TEXT", 150}, {"P-DIM", 8},
    {"M", 1},      {"V", 5},         {"N", 6},        {"DLOAD", 1},
    {"LLOAD", 5},  {"WLOAD", 30},
};

void appendGroup(std::string& out, std::string_view code, std::string_view value) {
    out += code;
    out += kLineEnd;
    out += value;
    out += kLineEnd;
}

}  // namespace

int layerColour(std::string_view layer) {
    for (const LayerColour& l : kLayerColours) {
        if (l.layer == layer) return l.colour;
    }
    return 7;
}

std::string replaceLastFour(std::string_view NAME, std::string_view replacement) {
    const int kept = std::max(utf8Length(NAME) - 4, 0);
    return std::string(NAME.substr(0, prefixBytes(NAME, kept))) + std::string(replacement);
}

std::string dxfFileName(std::string_view DXFNAME) { return replaceLastFour(DXFNAME, ".DXF"); }

int PACKCHAR(std::string& CC) {
    const std::size_t first = CC.find_first_not_of(' ');
    if (first == std::string::npos) {
        CC.clear();
    } else {
        CC.erase(CC.find_last_not_of(' ') + 1);
        CC.erase(0, first);
    }
    return utf8Length(CC);
}

void XYTOXY(float X0, float Y0, float a, float B, float DX, float DY, float& X, float& Y) {
    X = X0 + a * DX - B * DY;
    Y = Y0 + a * DY + B * DX;
}

void DxfWriter::group(std::string_view code, std::string_view value) {
    appendGroup(out_, code, value);
}

void DxfWriter::checkRange(double value) {
    if (!(std::fabs(value) <= kMaxDxfMagnitude)) outOfRange_ = true;
}

void DxfWriter::group(std::string_view code, double value) {
    checkRange(value);
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    PrintedNumber& slot =
        printed_[static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ULL) >> 56) % kNumberSlots];
    if (slot.length == 0 || slot.bits != bits) {
        const std::string text = printDouble(value);
        if (text.size() > sizeof slot.text) {
            group(code, text);
            return;
        }
        slot.bits = bits;
        slot.length = static_cast<std::uint8_t>(text.size());
        std::copy(text.begin(), text.end(), slot.text);
    }
    group(code, std::string_view(slot.text, slot.length));
}

void DxfWriter::entityStart(std::string_view type) {
    group("0", type);
    if (layerGbk_.empty() || layerName_ != LAYER) {
        layerName_ = LAYER;
        layerGbk_ = toGbk(LAYER);
        if (std::find(layers_.begin(), layers_.end(), layerGbk_) == layers_.end())
            layers_.push_back(layerGbk_);
    }
    group("8", layerGbk_);
}

void DxfWriter::extend(double x, double y) {
    if (!anyPoint_) {
        minX_ = maxX_ = x;
        minY_ = maxY_ = y;
        anyPoint_ = true;
        return;
    }
    minX_ = std::min(minX_, x);
    maxX_ = std::max(maxX_, x);
    minY_ = std::min(minY_, y);
    maxY_ = std::max(maxY_, y);
}

std::string DxfWriter::headerAndTables() const {
    std::string h;
    auto g = [&h](std::string_view code, std::string_view value) { appendGroup(h, code, value); };
    auto n = [&h](std::string_view code, double value) { appendGroup(h, code, printDouble(value)); };

    g("0", "SECTION");
    g("2", "HEADER");
    g("9", "$ACADVER");
    g("1", "AC1009");
    g("9", "$DWGCODEPAGE");
    g("3", "ANSI_936");
    g("9", "$EXTMIN");
    n("10", minX_);
    n("20", minY_);
    n("30", 0.0);
    g("9", "$EXTMAX");
    n("10", maxX_);
    n("20", maxY_);
    n("30", 0.0);
    g("0", "ENDSEC");

    g("0", "SECTION");
    g("2", "TABLES");
    g("0", "TABLE");
    g("2", "LTYPE");
    g("70", printInteger(1));
    g("0", "LTYPE");
    g("2", "CONTINUOUS");
    g("70", printInteger(0));
    g("3", "Solid line");
    g("72", printInteger(65));
    g("73", printInteger(0));
    n("40", 0.0);
    g("0", "ENDTAB");

    // Layer 0 is always declared: every drawing has it.
    std::vector<std::string> layers = {"0"};
    for (const std::string& l : layers_) {
        if (l != "0") layers.push_back(l);
    }
    g("0", "TABLE");
    g("2", "LAYER");
    g("70", printInteger(static_cast<int>(layers.size())));
    for (const std::string& l : layers) {
        g("0", "LAYER");
        g("2", l);
        g("70", printInteger(0));
        g("62", printInteger(layerColour(l)));
        g("6", "CONTINUOUS");
    }
    g("0", "ENDTAB");

    g("0", "TABLE");
    g("2", "STYLE");
    g("70", printInteger(1));
    g("0", "STYLE");
    g("2", kChineseStyle);
    g("70", printInteger(0));
    n("40", 0.0);
    n("41", 1.0);
    n("50", 0.0);
    g("71", printInteger(0));
    n("42", 2.5);
    g("3", kChineseFont);
    g("4", kChineseBigFont);
    g("0", "ENDTAB");
    g("0", "ENDSEC");
    return h;
}

void DxfWriter::PLOTST0(std::string_view, int, std::string_view DXFNAME) {
    DXFFILE = dxfFileName(DXFNAME);
    setLayer("0");
    if (SCALE == 0.0f) SCALE = 1.0f;
    out_.clear();
    layers_.clear();
    layerName_.clear();
    layerGbk_.clear();
    anyPoint_ = false;
    minX_ = minY_ = maxX_ = maxY_ = 0.0;
    outOfRange_ = false;
    open_ = true;
    group("0", "SECTION");
    group("2", "ENTITIES");
}

void DxfWriter::PLOTST(std::string_view YBT, int INPORT, std::string_view DXFNAME, Host& host) {
    PLOTST0(YBT, INPORT, DXFNAME);
    host.log("图形交互文件名： " + DXFFILE);
}

bool DxfWriter::PLOTEND(std::string* error) {
    if (!open_) {
        if (error) *error = "没有打开的图形文件";
        return false;
    }
    group("0", "ENDSEC");
    group("0", "EOF");
    open_ = false;
    if (outOfRange_) {
        if (error) *error = "图形中有超出范围的坐标或尺寸(结果文件中的数值可能有误),没有写入图形文件";
        return false;
    }
    return writeFileAtomic(WORKDIR + DXFFILE, headerAndTables() + out_, error);
}

void DxfWriter::discard() {
    out_.clear();
    open_ = false;
}

void DxfWriter::writeLine(const DxfLine& line) {
    extend(line.x1, line.y1);
    extend(line.x2, line.y2);
    entityStart("LINE");
    group("10", line.x1);
    group("20", line.y1);
    group("11", line.x2);
    group("21", line.y2);
}

void DxfWriter::writeCircle(const DxfCircle& circle) {
    extend(circle.x - circle.r, circle.y - circle.r);
    extend(circle.x + circle.r, circle.y + circle.r);
    entityStart("CIRCLE");
    group("10", circle.x);
    group("20", circle.y);
    group("40", circle.r);
}

void DxfWriter::writeText(const DxfText& text) {
    extend(text.x, text.y);
    entityStart("TEXT");
    group("10", text.x);
    group("20", text.y);
    group("40", text.height);
    group("1", toGbk(text.text));
    if (text.style != kDefaultStyle) group("7", toGbk(text.style));
    if (text.angle != 0.0) group("50", text.angle);
    if (text.align == " " || text.align == "L") return;
    const Justification j = justification(text.align);
    if (j.h != 0) {
        group("72", printInteger(j.h));
        group("11", text.x);
        group("21", text.y);
        if (j.v != 0) group("73", printInteger(j.v));
    } else if (j.v != 0) {
        group("11", text.x);
        group("21", text.y);
        group("73", printInteger(j.v));
    }
}

void DxfWriter::writePolyline(const DxfPolyline& polyline) {
    // Polyline numbers go out as printed Singles, past the range check of group().
    checkRange(static_cast<double>(polyline.width));
    const std::string width = printSingle(polyline.width);
    entityStart("POLYLINE");
    group("66", "1");
    group("10", "0.0");
    group("20", "0.0");
    group("40", width);
    group("41", width);
    const std::size_t n = std::min(polyline.x.size(), polyline.y.size());
    for (std::size_t i = 0; i < n; ++i) {
        extend(static_cast<double>(polyline.x[i]), static_cast<double>(polyline.y[i]));
        checkRange(static_cast<double>(polyline.x[i]));
        checkRange(static_cast<double>(polyline.y[i]));
        entityStart("VERTEX");
        group("10", printSingle(polyline.x[i]));
        group("20", printSingle(polyline.y[i]));
    }
    entityStart("SEQEND");
}

void DxfWriter::LINE0(double X1, double Y1, double X2, double Y2) {
    const double s = static_cast<double>(SCALE);
    writeLine({X1 / s, Y1 / s, X2 / s, Y2 / s});
}

void DxfWriter::CIRCLE0(double X1, double Y1, double r) {
    const double s = static_cast<double>(SCALE);
    writeCircle({X1 / s, Y1 / s, r / s});
}

int DxfWriter::HZTEXTC(double X, double Y, double H, double ANGLE, std::string_view TP,
                       std::string_view TEXT, std::string_view STYLE) {
    const double s = static_cast<double>(SCALE);
    writeText({X / s, Y / s, H, ANGLE, TP, TEXT, STYLE});
    return utf8Length(TEXT);
}

int DxfWriter::TEXTC(double X, double Y, double H, double ANGLE, std::string_view TP,
                     std::string_view TEXT) {
    return HZTEXTC(X, Y, H, ANGLE, TP, TEXT, kDefaultStyle);
}

int DxfWriter::TEXTR(double X, double Y, double H, double ANGLE, std::string_view TP, double r) {
    std::string text = roundedText3(r);
    PACKCHAR(text);
    return TEXTC(X, Y, H, ANGLE, TP, text);
}

int DxfWriter::TEXTN(double X, double Y, double H, double ANGLE, std::string_view TP, float N) {
    std::string text = strSingle(N);
    PACKCHAR(text);
    return TEXTC(X, Y, H, ANGLE, TP, text);
}

void DxfWriter::PLINE(int N, std::span<const float> X, std::span<const float> Y, float W) {
    const std::size_t n = std::min({static_cast<std::size_t>(std::max(N, 0)), X.size(), Y.size()});
    std::vector<float> sx(n);
    std::vector<float> sy(n);
    for (std::size_t i = 0; i < n; ++i) {
        sx[i] = X[i] / SCALE;
        sy[i] = Y[i] / SCALE;
    }
    writePolyline({sx, sy, W});
}

void DxfWriter::PLINE2(float X0, float Y0, float DX, float DY, float W) {
    const float x[2] = {X0, X0 + DX};
    const float y[2] = {Y0, Y0 + DY};
    PLINE(2, x, y, W);
}

void DxfWriter::ARROR(float X0, float Y0, float DX, float DY, float AL) {
    const float head = kThinHeadLength * AL;
    const float half = kBarbHalfWidth * SCALE;
    float x = 0.0f;
    float y = 0.0f;
    XYTOXY(X0, Y0, 0.0f, AL, DX, DY, x, y);
    LINE0(X0, Y0, x, y);
    XYTOXY(X0, Y0, half, head, DX, DY, x, y);
    LINE0(X0, Y0, x, y);
    XYTOXY(X0, Y0, -half, head, DX, DY, x, y);
    LINE0(X0, Y0, x, y);
}

void DxfWriter::ARROR1(float X0, float Y0, float DX, float DY, float AL) {
    const float head = kWideHeadLength * AL;
    const float half = kBarbHalfWidth * SCALE;
    auto stroke = [&](float a, float b, float width) {
        float x[2] = {X0, 0.0f};
        float y[2] = {Y0, 0.0f};
        XYTOXY(X0, Y0, a, b, DX, DY, x[1], y[1]);
        PLINE(2, x, y, width);
    };
    stroke(0.0f, AL, kWideShaftWidth);
    stroke(half, head, kWideBarbWidth);
    stroke(-half, head, kWideBarbWidth);
}

}  // namespace tarvel
