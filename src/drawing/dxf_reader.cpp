#include "drawing/dxf_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <numbers>
#include <unordered_set>

#include "common/file_io.h"
#include "common/text_encoding.h"

namespace tarvel {

namespace {

struct Group {
    int code;
    std::string_view value;  // without the line end
    std::size_t line;        // line of the group code, from 1
};

std::string_view trimBlanks(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

[[noreturn]] void fail(std::size_t line, const std::string& what) { throw DxfReadError(line, what); }

// The file as code/value pairs. Lines end in CR LF, LF or CR.
std::vector<Group> splitGroups(std::string_view bytes) {
    std::vector<Group> groups;
    groups.reserve(bytes.size() / 12);
    std::size_t pos = 0;
    std::size_t line = 0;
    auto nextLine = [&](std::string_view& out) {
        if (pos >= bytes.size()) return false;
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        out = bytes.substr(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
        ++line;
        return true;
    };
    std::string_view codeText;
    std::string_view value;
    while (nextLine(codeText)) {
        const std::size_t codeLine = line;
        const std::string_view c = trimBlanks(codeText);
        if (c.empty() && pos >= bytes.size()) break;  // blank last line
        int code = 0;
        const auto [end, ec] = std::from_chars(c.data(), c.data() + c.size(), code);
        if (ec != std::errc() || end != c.data() + c.size() || c.empty())
            fail(codeLine, "组码 '" + std::string(c.substr(0, 40)) + "' 不是整数");
        if (code < 0 || code > 1071) fail(codeLine, "组码 " + std::to_string(code) + " 无效");
        if (!nextLine(value)) fail(codeLine, "文件在组码 " + std::to_string(code) + " 之后结束");
        groups.push_back({code, value, codeLine});
    }
    return groups;
}

double number(const Group& g) {
    std::string_view t = trimBlanks(g.value);
    if (!t.empty() && t[0] == '+') t.remove_prefix(1);
    double v = 0.0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() || t.empty() || !std::isfinite(v))
        fail(g.line + 1, "组码 " + std::to_string(g.code) + " 的值 '" +
                             std::string(t.substr(0, 40)) + "' 不是数值");
    if (std::fabs(v) > kMaxDxfMagnitude)
        fail(g.line + 1, "组码 " + std::to_string(g.code) + " 的值 '" +
                             std::string(t.substr(0, 40)) + "' 超出范围");
    return v;
}

int integer(const Group& g) {
    const double v = number(g);
    if (v < -2147483648.0 || v > 2147483647.0)
        fail(g.line + 1, "组码 " + std::to_string(g.code) + " 的值超出范围");
    return static_cast<int>(v);
}

struct Insert {
    std::string block;
    std::string layer;
    int colour = kColourByLayer;
    DxfPoint at;
    double sx = 1.0, sy = 1.0, rotation = 0.0;
    std::size_t line = 0;
};

// The entities of a block or of the drawing, and where the inserts among
// them stand: insert k of the parser before entity `position`.
struct Out {
    std::vector<DxfEntity> entities;
    std::vector<std::pair<std::size_t, int>> inserts;  // position, insert
};

struct Block {
    DxfPoint base;
    Out out;
};

class Parser {
  public:
    explicit Parser(std::vector<Group> groups) : g_(std::move(groups)) {}

    void run(DxfDrawing& d) {
        if (g_.empty()) fail(1, "文件是空的, 不是 DXF 图形");
        while (i_ < g_.size()) {
            const Group& head = g_[i_];
            if (head.code != 0) fail(head.line, "应为组码 0 (SECTION 或 EOF)");
            if (head.value == "EOF") break;
            if (head.value != "SECTION") fail(head.line, "应为 SECTION, 读到 '" + clip(head.value) + "'");
            ++i_;
            if (i_ >= g_.size() || g_[i_].code != 2) fail(head.line, "SECTION 之后没有段名");
            const std::string_view name = trimBlanks(g_[i_].value);
            ++i_;
            if (name == "HEADER") {
                header(d);
            } else if (name == "TABLES") {
                tables(d);
            } else if (name == "BLOCKS") {
                blocks();
            } else if (name == "ENTITIES") {
                top_.entities.reserve(g_.size() / 8);
                entities(top_);
                expectEndSection(head.line);
            } else {
                skipSection(head.line);
            }
        }
        if (top_.inserts.empty()) {
            d.entities = std::move(top_.entities);
        } else {
            emit(top_, d, 0);
        }
    }

  private:
    static std::string clip(std::string_view s) { return std::string(s.substr(0, 40)); }

    bool atZero(std::string_view value) const {
        return i_ < g_.size() && g_[i_].code == 0 && trimBlanks(g_[i_].value) == value;
    }

    void expectEndSection(std::size_t sectionLine) {
        if (i_ >= g_.size()) fail(sectionLine, "段没有以 ENDSEC 结束");
        if (!atZero("ENDSEC")) fail(g_[i_].line, "应为 ENDSEC, 读到 '" + clip(g_[i_].value) + "'");
        ++i_;
    }

    void skipSection(std::size_t sectionLine) {
        while (i_ < g_.size() && !atZero("ENDSEC")) ++i_;
        expectEndSection(sectionLine);
    }

    void header(DxfDrawing& d) {
        const std::size_t start = i_ == 0 ? 1 : g_[i_ - 1].line;
        while (i_ < g_.size() && !atZero("ENDSEC")) {
            const Group& g = g_[i_++];
            if (g.code != 9 || i_ >= g_.size()) continue;
            const std::string_view var = trimBlanks(g.value);
            if (var == "$ACADVER") d.version = std::string(trimBlanks(g_[i_].value));
            if (var == "$DWGCODEPAGE") d.codePage = std::string(trimBlanks(g_[i_].value));
        }
        expectEndSection(start);
    }

    void tables(DxfDrawing& d) {
        const std::size_t start = g_[i_ - 1].line;
        while (i_ < g_.size() && !atZero("ENDSEC")) {
            const Group& g = g_[i_++];
            if (g.code != 0 || trimBlanks(g.value) != "LAYER") continue;
            DxfLayer layer;
            bool named = false;
            while (i_ < g_.size() && g_[i_].code != 0) {
                const Group& f = g_[i_++];
                if (f.code == 2) {
                    layer.name = std::string(f.value);
                    named = true;
                } else if (f.code == 62) {
                    const int c = integer(f);
                    layer.on = c >= 0;
                    layer.colour = c == 0 ? 7 : std::abs(c);
                }
            }
            if (named) d.layers.push_back(std::move(layer));
        }
        expectEndSection(start);
    }

    void blocks() {
        const std::size_t start = g_[i_ - 1].line;
        while (i_ < g_.size() && !atZero("ENDSEC")) {
            const Group& g = g_[i_++];
            if (g.code != 0 || trimBlanks(g.value) != "BLOCK") continue;
            std::string name;
            Block block;
            while (i_ < g_.size() && g_[i_].code != 0) {
                const Group& f = g_[i_++];
                if (f.code == 2) name = std::string(f.value);
                if (f.code == 10) block.base.x = number(f);
                if (f.code == 20) block.base.y = number(f);
            }
            entities(block.out, "ENDBLK");
            if (!atZero("ENDBLK")) fail(g.line, "块 '" + clip(name) + "' 没有以 ENDBLK 结束");
            ++i_;
            while (i_ < g_.size() && g_[i_].code != 0) ++i_;  // ENDBLK's own groups
            blocks_[name] = std::move(block);
        }
        expectEndSection(start);
    }

    // Entities up to ENDSEC (or `end` inside a block).
    void entities(Out& out, std::string_view end = "ENDSEC") {
        while (i_ < g_.size() && !atZero("ENDSEC") && !atZero(end)) {
            const Group& head = g_[i_];
            if (head.code != 0) fail(head.line, "应为组码 0 (图元开始)");
            const std::string_view type = trimBlanks(head.value);
            ++i_;
            if (type == "LINE") {
                line(out);
            } else if (type == "CIRCLE" || type == "ARC") {
                circle(out, type == "ARC");
            } else if (type == "TEXT") {
                text(out, false);
            } else if (type == "MTEXT") {
                text(out, true);
            } else if (type == "LWPOLYLINE") {
                lwpolyline(out);
            } else if (type == "POLYLINE") {
                polyline(out);
            } else if (type == "INSERT") {
                insert(out);
            } else {
                skipFields();  // entities this reader does not draw
            }
            if (out.entities.size() + out.inserts.size() > kMaxDxfEntities)
                fail(head.line, "图元太多");
        }
    }

    void skipFields() {
        while (i_ < g_.size() && g_[i_].code != 0) ++i_;
    }

    // Layer and colour, common to every entity; false for other groups.
    static bool common(const Group& f, DxfEntity& e) {
        if (f.code == 8) {
            e.layer = std::string(f.value);
            return true;
        }
        if (f.code == 62) {
            e.colour = integer(f);
            return true;
        }
        return false;
    }

    void line(Out& out) {
        DxfEntity& e = out.entities.emplace_back();
        e.kind = DxfKind::Line;
        e.points.resize(2);
        while (i_ < g_.size() && g_[i_].code != 0) {
            const Group& f = g_[i_++];
            if (common(f, e)) continue;
            switch (f.code) {
                case 10: e.points[0].x = number(f); break;
                case 20: e.points[0].y = number(f); break;
                case 11: e.points[1].x = number(f); break;
                case 21: e.points[1].y = number(f); break;
                default: break;
            }
        }
    }

    void circle(Out& out, bool arc) {
        DxfEntity& e = out.entities.emplace_back();
        e.kind = arc ? DxfKind::Arc : DxfKind::Circle;
        e.points.resize(1);
        while (i_ < g_.size() && g_[i_].code != 0) {
            const Group& f = g_[i_++];
            if (common(f, e)) continue;
            switch (f.code) {
                case 10: e.points[0].x = number(f); break;
                case 20: e.points[0].y = number(f); break;
                case 40: e.radius = number(f); break;
                case 50: e.startAngle = number(f); break;
                case 51: e.endAngle = number(f); break;
                default: break;
            }
        }
        if (!arc) {
            e.startAngle = 0.0;
            e.endAngle = 360.0;
        }
    }

    void text(Out& out, bool multiline) {
        DxfEntity& e = out.entities.emplace_back();
        e.kind = DxfKind::Text;
        e.multiline = multiline;
        e.points.resize(1);
        double dirX = 0.0, dirY = 0.0;
        int attachment = 1;
        std::string chunks;
        while (i_ < g_.size() && g_[i_].code != 0) {
            const Group& f = g_[i_++];
            if (common(f, e)) continue;
            switch (f.code) {
                case 10: e.points[0].x = number(f); break;
                case 20: e.points[0].y = number(f); break;
                case 11:
                    (multiline ? dirX : e.alignPoint.x) = number(f);
                    e.hasAlignPoint = !multiline;
                    break;
                case 21:
                    (multiline ? dirY : e.alignPoint.y) = number(f);
                    break;
                case 40: e.height = number(f); break;
                case 41:
                    if (!multiline) e.widthFactor = number(f);
                    break;
                case 50: e.angle = number(f); break;
                case 1: e.text = std::string(f.value); break;
                case 3: chunks += f.value; break;
                case 7: e.style = std::string(f.value); break;
                case 71:
                    if (multiline) attachment = integer(f);
                    break;
                case 72:
                    if (!multiline) e.halign = integer(f);
                    break;
                case 73:
                    if (!multiline) e.valign = integer(f);
                    break;
                default: break;
            }
        }
        if (multiline) {
            // The text arrives in pieces of 250 characters: groups 3, then 1.
            e.text = chunks + e.text;
            if (dirX != 0.0 || dirY != 0.0) e.angle = std::atan2(dirY, dirX) * 180.0 / std::numbers::pi;
            // Attachment 1..9: top, middle, bottom rows; left, centre, right.
            if (attachment < 1 || attachment > 9) attachment = 1;
            e.halign = (attachment - 1) % 3;
            e.valign = 3 - (attachment - 1) / 3;
        }
    }

    void lwpolyline(Out& out) {
        DxfEntity& e = out.entities.emplace_back();
        e.kind = DxfKind::Polyline;
        while (i_ < g_.size() && g_[i_].code != 0) {
            const Group& f = g_[i_++];
            if (common(f, e)) continue;
            switch (f.code) {
                case 10: e.points.push_back({number(f), 0.0}); break;
                case 20:
                    if (e.points.empty()) fail(f.line, "LWPOLYLINE 的 Y 坐标前没有 X 坐标");
                    e.points.back().y = number(f);
                    break;
                case 43: e.width = number(f); break;
                case 70: e.closed = (integer(f) & 1) != 0; break;
                default: break;
            }
        }
    }

    void polyline(Out& out) {
        DxfEntity& e = out.entities.emplace_back();
        e.kind = DxfKind::Polyline;
        const std::size_t start = g_[i_ - 1].line;
        while (i_ < g_.size() && g_[i_].code != 0) {
            const Group& f = g_[i_++];
            if (common(f, e)) continue;
            if (f.code == 40) e.width = number(f);
            if (f.code == 70) e.closed = (integer(f) & 1) != 0;
        }
        while (atZero("VERTEX")) {
            ++i_;
            DxfPoint p;
            while (i_ < g_.size() && g_[i_].code != 0) {
                const Group& f = g_[i_++];
                if (f.code == 10) p.x = number(f);
                if (f.code == 20) p.y = number(f);
            }
            e.points.push_back(p);
            if (e.points.size() > kMaxDxfEntities) fail(start, "多段线的顶点太多");
        }
        if (!atZero("SEQEND")) fail(i_ < g_.size() ? g_[i_].line : start, "POLYLINE 没有以 SEQEND 结束");
        ++i_;
        skipFields();
    }

    void insert(Out& out) {
        out.inserts.emplace_back(out.entities.size(), static_cast<int>(inserts_.size()));
        inserts_.emplace_back();
        Insert& ins = inserts_.back();
        ins.line = g_[i_ - 1].line;
        bool attributes = false;
        while (i_ < g_.size() && g_[i_].code != 0) {
            const Group& f = g_[i_++];
            switch (f.code) {
                case 2: ins.block = std::string(f.value); break;
                case 8: ins.layer = std::string(f.value); break;
                case 62: ins.colour = integer(f); break;
                case 10: ins.at.x = number(f); break;
                case 20: ins.at.y = number(f); break;
                case 41: ins.sx = number(f); break;
                case 42: ins.sy = number(f); break;
                case 50: ins.rotation = number(f); break;
                case 66: attributes = integer(f) != 0; break;
                default: break;
            }
        }
        if (attributes) {
            // Attribute values are not drawn; skip them up to their SEQEND.
            while (atZero("ATTRIB")) {
                ++i_;
                skipFields();
            }
            if (atZero("SEQEND")) {
                ++i_;
                skipFields();
            }
        }
    }

    // Puts entities into the drawing, each insert as its block's entities.
    void emit(const Out& out, DxfDrawing& d, int depth) {
        std::size_t next = 0;
        for (std::size_t k = 0; k <= out.entities.size(); ++k) {
            for (; next < out.inserts.size() && out.inserts[next].first == k; ++next)
                expand(inserts_[static_cast<std::size_t>(out.inserts[next].second)], d, depth);
            if (k < out.entities.size()) d.entities.push_back(out.entities[k]);
        }
    }

    void expand(const Insert& ins, DxfDrawing& d, int depth) {
        if (depth >= kMaxBlockNesting) fail(ins.line, "块嵌套太深 (可能引用了自身)");
        const auto found = blocks_.find(ins.block);
        if (found == blocks_.end()) return;  // a missing block draws nothing
        const std::size_t first = d.entities.size();
        emit(found->second.out, d, depth + 1);
        if (d.entities.size() > kMaxDxfEntities) fail(ins.line, "块展开后图元太多");
        for (std::size_t k = first; k < d.entities.size(); ++k) {
            place(d.entities[k], found->second.base, ins);
            if (!withinRange(d.entities[k])) fail(ins.line, "块插入后的坐标或尺寸超出范围");
        }
    }

    // Scales multiply down nested inserts: what comes out must still be a
    // size whose sums and differences stay finite.
    static bool withinRange(const DxfEntity& e) {
        auto ok = [](double v) { return std::fabs(v) <= kMaxDxfMagnitude; };
        for (const DxfPoint& p : e.points) {
            if (!ok(p.x) || !ok(p.y)) return false;
        }
        return ok(e.alignPoint.x) && ok(e.alignPoint.y) && ok(e.radius) && ok(e.width) && ok(e.height) &&
               ok(e.angle) && ok(e.startAngle) && ok(e.endAngle);
    }

    // The block's entity in the coordinates of the insert: moved by the
    // base point, scaled, turned and put at the insertion point.
    static void place(DxfEntity& e, const DxfPoint& base, const Insert& ins) {
        const double r = ins.rotation * std::numbers::pi / 180.0;
        const double c = std::cos(r);
        const double s = std::sin(r);
        auto map = [&](DxfPoint& p) {
            const double x = (p.x - base.x) * ins.sx;
            const double y = (p.y - base.y) * ins.sy;
            p.x = ins.at.x + x * c - y * s;
            p.y = ins.at.y + x * s + y * c;
        };
        for (DxfPoint& p : e.points) map(p);
        if (e.hasAlignPoint) map(e.alignPoint);
        const double scale = std::sqrt(std::fabs(ins.sx * ins.sy));
        e.radius *= scale;
        e.width *= scale;
        e.height *= std::fabs(ins.sy);
        if (e.kind == DxfKind::Arc) {
            double a = e.startAngle;
            double b = e.endAngle;
            if (ins.sx < 0.0 && ins.sy >= 0.0) {
                a = 180.0 - e.endAngle;
                b = 180.0 - e.startAngle;
            } else if (ins.sy < 0.0 && ins.sx >= 0.0) {
                a = -e.endAngle;
                b = -e.startAngle;
            } else if (ins.sx < 0.0 && ins.sy < 0.0) {
                a += 180.0;
                b += 180.0;
            }
            e.startAngle = a + ins.rotation;
            e.endAngle = b + ins.rotation;
        }
        e.angle += ins.rotation;
        if (e.layer == "0" || e.layer.empty()) e.layer = ins.layer;
        if (e.colour == kColourByBlock) e.colour = ins.colour;
    }

    std::vector<Group> g_;
    std::size_t i_ = 0;
    Out top_;
    std::vector<Insert> inserts_;
    std::map<std::string, Block, std::less<>> blocks_;
};

// Latin texts of code page 1252: bytes 0x80..0x9F as Latin-1 would have them.
std::string latin1ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (const char ch : s) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// \U+XXXX escapes of characters outside the code page.
std::string unicodeEscapes(const std::string& s) {
    if (s.find("\\U+") == std::string::npos && s.find("\\u+") == std::string::npos) return s;
    std::string out;
    for (std::size_t k = 0; k < s.size(); ++k) {
        if (s[k] == '\\' && k + 6 < s.size() && (s[k + 1] == 'U' || s[k + 1] == 'u') &&
            s[k + 2] == '+') {
            unsigned code = 0;
            bool ok = true;
            for (std::size_t h = 0; h < 4; ++h) {
                const int v = hexDigit(s[k + 3 + h]);
                if (v < 0) ok = false;
                code = code * 16 + static_cast<unsigned>(v < 0 ? 0 : v);
            }
            if (ok && !(code >= 0xD800 && code <= 0xDFFF)) {
                appendUtf8(out, code);
                k += 6;
                continue;
            }
        }
        out += s[k];
    }
    return out;
}

// The %% codes of TEXT: diameter, degree, plus-minus; underline and
// overline switches are dropped.
std::string specialCodes(const std::string& s) {
    if (s.find("%%") == std::string::npos) return s;
    std::string out;
    for (std::size_t k = 0; k < s.size(); ++k) {
        if (s[k] == '%' && k + 2 < s.size() && s[k + 1] == '%') {
            const char c = s[k + 2];
            k += 2;
            if (c == 'c' || c == 'C') out += "\xC3\x98";       // Ø
            else if (c == 'd' || c == 'D') out += "\xC2\xB0";  // °
            else if (c == 'p' || c == 'P') out += "\xC2\xB1";  // ±
            else if (c == '%') out += '%';
            else if (c == 'u' || c == 'U' || c == 'o' || c == 'O') continue;
            else {
                out += "%%";
                out += c;
            }
            continue;
        }
        out += s[k];
    }
    return out;
}

// MTEXT without its formatting: paragraphs become line ends, stacked
// fractions "a/b", switches and groups disappear.
std::string plainMtext(const std::string& s) {
    std::string out;
    for (std::size_t k = 0; k < s.size(); ++k) {
        const char c = s[k];
        if (c == '{' || c == '}') continue;
        if (c != '\\' || k + 1 >= s.size()) {
            out += c;
            continue;
        }
        const char f = s[++k];
        switch (f) {
            case 'P':
                out += '\n';
                break;
            case '~':
                out += ' ';
                break;
            case '\\':
            case '{':
            case '}':
                out += f;
                break;
            case 'S': {
                const std::size_t end = s.find(';', k);
                std::string stack = s.substr(k + 1, end == std::string::npos ? std::string::npos
                                                                             : end - k - 1);
                std::replace(stack.begin(), stack.end(), '^', '/');
                std::replace(stack.begin(), stack.end(), '#', '/');
                out += stack;
                k = end == std::string::npos ? s.size() : end;
                break;
            }
            case 'A': case 'C': case 'c': case 'F': case 'f': case 'H': case 'h': case 'Q':
            case 'q': case 'T': case 't': case 'W': case 'w': case 'p': {
                const std::size_t end = s.find(';', k);
                k = end == std::string::npos ? s.size() : end;
                break;
            }
            case 'L': case 'l': case 'O': case 'o': case 'K': case 'k':
                break;
            default:
                out += '\\';
                out += f;
                break;
        }
    }
    return out;
}

// Release AC1021 (AutoCAD 2007) and later write UTF-8 whatever the code page.
bool utf8Release(std::string_view version) {
    return version.size() == 6 && version.substr(0, 2) == "AC" && version.substr(2) >= "1021";
}

}  // namespace

DxfReadError::DxfReadError(std::size_t line, const std::string& what)
    : std::runtime_error("DXF 文件第 " + std::to_string(line) + " 行：" + what), line_(line) {}

void DxfExtents::add(double x, double y) {
    if (empty) {
        minX = maxX = x;
        minY = maxY = y;
        empty = false;
        return;
    }
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
}

const DxfLayer* DxfDrawing::layer(std::string_view name) const {
    for (const DxfLayer& l : layers) {
        if (l.name == name) return &l;
    }
    return nullptr;
}

int DxfDrawing::colourOf(const DxfEntity& e) const {
    if (e.colour > 0 && e.colour < kColourByLayer) return e.colour;
    const DxfLayer* l = layer(e.layer);
    return l ? l->colour : 7;
}

DxfExtents DxfDrawing::extents() const {
    DxfExtents x;
    for (const DxfEntity& e : entities) {
        if (e.kind == DxfKind::Circle || e.kind == DxfKind::Arc) {
            const DxfPoint& c = e.points[0];
            x.add(c.x - e.radius, c.y - e.radius);
            x.add(c.x + e.radius, c.y + e.radius);
            continue;
        }
        for (const DxfPoint& p : e.points) x.add(p.x, p.y);
    }
    return x;
}

DxfDrawing readDxf(std::string_view bytes) {
    DxfDrawing d;
    Parser parser(splitGroups(bytes));
    parser.run(d);

    const bool isGbkPage = d.codePage == "ANSI_936" || d.codePage == "ansi_936";
    if (utf8Release(d.version)) {
        d.encoding = "UTF-8";
    } else if (isGbkPage) {
        d.encoding = "GBK";
    } else if (d.codePage.empty() || !d.codePage.starts_with("ANSI_1252")) {
        // No code page, or one this reader does not know: the program's
        // older drawings are GBK, newer programs' texts valid UTF-8.
        d.encoding = isValidUtf8(bytes) ? "UTF-8" : "GBK";
    } else {
        d.encoding = "CP1252";
    }
    auto decode = [&d](std::string& s) {
        const bool ascii =
            std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (!ascii) {
            if (d.encoding == "GBK") s = gbkToUtf8(s);
            else if (d.encoding == "CP1252") s = latin1ToUtf8(s);
            else if (!isValidUtf8(s)) s = gbkToUtf8(s);
        }
        s = unicodeEscapes(s);
    };
    for (DxfLayer& l : d.layers) decode(l.name);
    for (DxfEntity& e : d.entities) {
        decode(e.layer);
        if (e.layer.empty()) e.layer = "0";
        if (e.kind != DxfKind::Text) continue;
        decode(e.style);
        decode(e.text);
        e.text = e.multiline ? plainMtext(e.text) : specialCodes(e.text);
    }
    // Layers used without being declared take the default colour.
    std::unordered_set<std::string> known;
    for (const DxfLayer& l : d.layers) known.insert(l.name);
    for (const DxfEntity& e : d.entities) {
        if (known.insert(e.layer).second) d.layers.push_back({e.layer, 7, true});
    }
    return d;
}

std::optional<DxfDrawing> readDxfFile(const std::string& path, std::string* error) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) {
        if (error) *error = "不能打开文件 '" + path + "'";
        return std::nullopt;
    }
    try {
        return readDxf(*bytes);
    } catch (const DxfReadError& e) {
        if (error) *error = e.what();
        return std::nullopt;
    }
}

}  // namespace tarvel
