#include "gif_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tarvel::art {

namespace {

struct ColourCount {
    QRgb rgb;
    int count;
};

// One box of the median cut: a run of the colour list.
struct Box {
    int begin;
    int end;
    int channel = 0;  // the channel with the widest spread, 0 red, 1 green, 2 blue
    int spread = 0;
};

int channelOf(QRgb c, int channel) {
    return channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
}

void measure(Box& box, const std::vector<ColourCount>& colours) {
    std::array<int, 3> lo{255, 255, 255};
    std::array<int, 3> hi{0, 0, 0};
    for (int i = box.begin; i < box.end; ++i) {
        for (int ch = 0; ch < 3; ++ch) {
            const int v = channelOf(colours[static_cast<std::size_t>(i)].rgb, ch);
            lo[static_cast<std::size_t>(ch)] = std::min(lo[static_cast<std::size_t>(ch)], v);
            hi[static_cast<std::size_t>(ch)] = std::max(hi[static_cast<std::size_t>(ch)], v);
        }
    }
    box.spread = -1;
    for (int ch = 0; ch < 3; ++ch) {
        const int s = hi[static_cast<std::size_t>(ch)] - lo[static_cast<std::size_t>(ch)];
        if (s > box.spread) {
            box.spread = s;
            box.channel = ch;
        }
    }
}

QImage opaqueOnWhite(const QImage& image) {
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int a = qAlpha(p);
            auto over = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
            out.setPixel(x, y, qRgb(over(qRed(p)), over(qGreen(p)), over(qBlue(p))));
        }
    }
    return out;
}

// Variable-width LZW codes packed least significant bit first into the
// 255-byte sub-blocks of a GIF image.
class CodeWriter {
public:
    explicit CodeWriter(QByteArray& out) : out_(out) {}
    void write(int code, int bits) {
        buffer_ |= static_cast<std::uint32_t>(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            push(static_cast<char>(buffer_ & 0xFFu));
            buffer_ >>= 8;
            count_ -= 8;
        }
    }
    void finish() {
        if (count_ > 0) push(static_cast<char>(buffer_ & 0xFFu));
        buffer_ = 0;
        count_ = 0;
        flushBlock();
        out_.append('\0');  // block terminator
    }

private:
    void push(char byte) {
        block_.append(byte);
        if (block_.size() == 255) flushBlock();
    }
    void flushBlock() {
        if (block_.isEmpty()) return;
        out_.append(static_cast<char>(block_.size()));
        out_.append(block_);
        block_.clear();
    }
    QByteArray& out_;
    QByteArray block_;
    std::uint32_t buffer_ = 0;
    int count_ = 0;
};

void appendWord(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

}  // namespace

QList<QRgb> medianCutPalette(const QImage& source) {
    const QImage image = opaqueOnWhite(source);
    std::unordered_map<QRgb, int> histogram;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) ++histogram[image.pixel(x, y) | 0xFF000000u];
    }
    std::vector<ColourCount> colours;
    colours.reserve(histogram.size());
    for (const auto& [rgb, count] : histogram) colours.push_back({rgb, count});
    std::sort(colours.begin(), colours.end(), [](const ColourCount& a, const ColourCount& b) {
        return a.rgb < b.rgb;  // a fixed order: the same picture always gives the same file
    });

    QList<QRgb> palette;
    if (colours.size() <= 256) {
        for (const ColourCount& c : colours) palette.push_back(c.rgb);
        return palette;
    }

    std::vector<Box> boxes{{0, static_cast<int>(colours.size())}};
    measure(boxes.front(), colours);
    while (boxes.size() < 256) {
        // Split the box with the widest spread that still holds two colours.
        int pick = -1;
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].end - boxes[b].begin < 2) continue;
            if (pick < 0 || boxes[b].spread > boxes[static_cast<std::size_t>(pick)].spread) {
                pick = static_cast<int>(b);
            }
        }
        if (pick < 0) break;
        Box& box = boxes[static_cast<std::size_t>(pick)];
        const int ch = box.channel;
        std::sort(colours.begin() + box.begin, colours.begin() + box.end,
                  [ch](const ColourCount& a, const ColourCount& b) {
                      const int va = channelOf(a.rgb, ch);
                      const int vb = channelOf(b.rgb, ch);
                      return va != vb ? va < vb : a.rgb < b.rgb;
                  });
        long long total = 0;
        for (int i = box.begin; i < box.end; ++i) total += colours[static_cast<std::size_t>(i)].count;
        // The pixel-weighted median, keeping at least one colour on each side.
        long long running = 0;
        int cut = box.begin + 1;
        for (int i = box.begin; i < box.end - 1; ++i) {
            running += colours[static_cast<std::size_t>(i)].count;
            cut = i + 1;
            if (2 * running >= total) break;
        }
        Box upper{cut, box.end};
        box.end = cut;
        measure(box, colours);
        measure(upper, colours);
        boxes.push_back(upper);
    }
    for (const Box& box : boxes) {
        long long r = 0, g = 0, b = 0, n = 0;
        for (int i = box.begin; i < box.end; ++i) {
            const ColourCount& c = colours[static_cast<std::size_t>(i)];
            r += static_cast<long long>(qRed(c.rgb)) * c.count;
            g += static_cast<long long>(qGreen(c.rgb)) * c.count;
            b += static_cast<long long>(qBlue(c.rgb)) * c.count;
            n += c.count;
        }
        palette.push_back(qRgb(static_cast<int>((r + n / 2) / n), static_cast<int>((g + n / 2) / n),
                               static_cast<int>((b + n / 2) / n)));
    }
    return palette;
}

QByteArray encodeGif(const QImage& source) {
    const QImage image = opaqueOnWhite(source);
    const QList<QRgb> palette = medianCutPalette(image);
    const int width = image.width();
    const int height = image.height();

    // Nearest palette entry of every colour met, by squared distance.
    std::unordered_map<QRgb, std::uint8_t> index;
    auto nearest = [&palette](QRgb c) {
        int best = 0;
        long long bestDistance = -1;
        for (int i = 0; i < palette.size(); ++i) {
            const long long dr = qRed(c) - qRed(palette[i]);
            const long long dg = qGreen(c) - qGreen(palette[i]);
            const long long db = qBlue(c) - qBlue(palette[i]);
            const long long d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return static_cast<std::uint8_t>(best);
    };
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000u;
            auto it = index.find(c);
            if (it == index.end()) it = index.emplace(c, nearest(c)).first;
            pixels.push_back(it->second);
        }
    }

    QByteArray out("GIF89a");
    appendWord(out, width);
    appendWord(out, height);
    out.append(static_cast<char>(0xF7));  // global table of 256 entries, 8 bits per primary
    out.append('\0');                     // background colour index
    out.append('\0');                     // square pixels
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qBlue(c)));
    }
    out.append(',');  // image descriptor
    appendWord(out, 0);
    appendWord(out, 0);
    appendWord(out, width);
    appendWord(out, height);
    out.append('\0');  // no local table, not interlaced

    constexpr int kMinCodeSize = 8;
    constexpr int kClear = 1 << kMinCodeSize;
    constexpr int kEnd = kClear + 1;
    constexpr int kMaxCode = 4095;  // 12-bit codes
    out.append(static_cast<char>(kMinCodeSize));
    CodeWriter codes(out);

    // The string table: (prefix code, next index) -> code.
    std::unordered_map<std::uint32_t, int> table;
    int codeSize = kMinCodeSize + 1;
    int lastCode = kEnd;
    codes.write(kClear, codeSize);
    if (!pixels.empty()) {
        int current = pixels.front();
        for (std::size_t p = 1; p < pixels.size(); ++p) {
            const std::uint32_t key = (static_cast<std::uint32_t>(current) << 8) | pixels[p];
            const auto found = table.find(key);
            if (found != table.end()) {
                current = found->second;
                continue;
            }
            codes.write(current, codeSize);
            table.emplace(key, ++lastCode);
            if (lastCode >= (1 << codeSize)) ++codeSize;
            if (lastCode == kMaxCode) {
                // Table full: start a fresh one so the codes stay within 12 bits.
                codes.write(kClear, codeSize);
                table.clear();
                codeSize = kMinCodeSize + 1;
                lastCode = kEnd;
            }
            current = pixels[p];
        }
        codes.write(current, codeSize);
    }
    codes.write(kEnd, codeSize);
    codes.finish();
    out.append(';');  // trailer
    return out;
}

}  // namespace tarvel::art
