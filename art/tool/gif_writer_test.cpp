// Protects the GIF writer: every file it writes must decode (with Qt's own
// reader) to the picture it was given, exactly when the picture has no more
// than 256 colours, and to the nearest palette colours otherwise.

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "gif_writer.h"
#include "offscreen.h"

namespace {

int failures = 0;

void expect(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

QImage decode(const QByteArray& gif) {
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if ((a.pixel(x, y) | 0xFF000000u) != (b.pixel(x, y) | 0xFF000000u)) return false;
        }
    }
    return true;
}

// Random pixels over a full 256-colour palette: almost no string repeats, so
// the 12-bit code table fills many times and the writer must restart it.
void noiseRoundTrip(int width, int height) {
    QRandomGenerator random(20261208u + static_cast<unsigned>(width));
    QRgb palette[256];
    for (QRgb& c : palette) c = qRgb(random.bounded(256), random.bounded(256), random.bounded(256));
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.setPixel(x, y, palette[random.bounded(256)]);
    }
    const QImage back = decode(tarvel::art::encodeGif(image));
    expect(samePixels(image, back), "256-colour noise reads back unchanged");
}

// Long runs of one colour: strings grow long and the codes widen to 12 bits
// without the table being full.
void runsRoundTrip() {
    QImage image(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, ((x / 40 + y / 30) % 3 == 0) ? qRgb(20, 60, 120) : qRgb(250, 250, 245));
        }
    }
    const QImage back = decode(tarvel::art::encodeGif(image));
    expect(samePixels(image, back), "two-colour picture reads back unchanged");
}

// Many colours: the palette has 256 entries and every pixel comes back close.
void gradient() {
    QImage image(256, 96, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x, (y * 255) / 95, 255 - x / 2));
    }
    const QList<QRgb> palette = tarvel::art::medianCutPalette(image);
    expect(palette.size() == 256, "a picture of many colours gets a full palette");
    const QImage back = decode(tarvel::art::encodeGif(image));
    expect(back.size() == image.size(), "gradient keeps its size");
    int worst = 0;
    for (int y = 0; y < image.height() && back.size() == image.size(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y);
            const QRgb b = back.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    }
    // 24 576 colours in 256 boxes: each box spans a few steps per channel.
    expect(worst <= 24, "gradient colours stay within 24 steps per channel");
}

void edgeCases() {
    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(qRgb(1, 2, 3));
    expect(samePixels(one, decode(tarvel::art::encodeGif(one))), "a single pixel reads back");

    QImage clear(3, 2, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.setPixel(1, 1, qRgba(0, 0, 0, 255));
    const QImage back = decode(tarvel::art::encodeGif(clear));
    expect(back.pixel(0, 0) == qRgb(255, 255, 255), "transparent pixels become white");
    expect(back.pixel(1, 1) == qRgb(0, 0, 0), "opaque pixels keep their colour");
}

}  // namespace

int main(int argc, char** argv) {
    tarvel::art::prepareOffscreen();  // fonts, but no screen
    QGuiApplication app(argc, argv);
    noiseRoundTrip(300, 200);
    noiseRoundTrip(17, 3);
    runsRoundTrip();
    gradient();
    edgeCases();
    if (failures == 0) std::printf("gif writer: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
