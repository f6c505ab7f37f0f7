// tarvel-art: renders the SVG sources of the program's pictures into the
// files and formats the windows load (PNG, JPG, BMP, ICO through Qt's image
// writers, GIF through our own writer), and checks produced files.
//
//   tarvel-art render IN.svg OUT.ext WIDTH HEIGHT
//   tarvel-art check FILE WIDTH HEIGHT [FILE WIDTH HEIGHT ...]
//
// The format follows the extension of OUT. Exit status 0 on success, 1 when a
// file cannot be read, rendered or written, 2 on wrong usage.

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cstdio>

#include "gif_writer.h"
#include "offscreen.h"

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "tarvel-art: %s\n", qPrintable(text));
    return 1;
}

bool parseSize(const char* text, int& value) {
    bool ok = false;
    value = QString::fromLocal8Bit(text).toInt(&ok);
    return ok && value > 0 && value <= 4096;
}

int render(const QString& in, const QString& out, int width, int height) {
    QSvgRenderer svg(in);
    if (!svg.isValid()) return fail("cannot read SVG '" + in + "'");

    const QString format = QFileInfo(out).suffix().toLower();
    const bool opaque = format == "jpg" || format == "jpeg" || format == "bmp";
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        svg.render(&painter);
    }

    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)) return fail("cannot write '" + out + "'");
    if (format == "gif") {
        file.write(tarvel::art::encodeGif(image));
    } else {
        const QImage written =
            opaque ? image.convertToFormat(QImage::Format_RGB32) : image.convertToFormat(QImage::Format_ARGB32);
        QImageWriter writer(&file, format.toLatin1());
        if (format == "jpg" || format == "jpeg") writer.setQuality(92);
        if (!writer.write(written)) return fail("cannot write '" + out + "': " + writer.errorString());
    }
    if (!file.commit()) return fail("cannot write '" + out + "'");
    return 0;
}

// Every file must read back in its own format with the size it was made for.
int check(int argc, char** argv) {
    int faults = 0;
    for (int a = 0; a + 2 < argc; a += 3) {
        const QString path = QString::fromLocal8Bit(argv[a]);
        int width = 0, height = 0;
        if (!parseSize(argv[a + 1], width) || !parseSize(argv[a + 2], height)) {
            faults += fail("bad size for '" + path + "'");
            continue;
        }
        QImageReader reader(path);
        const QByteArray expected = QFileInfo(path).suffix().toLower().toLatin1();
        const QByteArray actual = reader.format();
        const QImage image = reader.read();
        if (image.isNull()) {
            faults += fail("cannot read '" + path + "': " + reader.errorString());
        } else if (image.width() != width || image.height() != height) {
            faults += fail(QString("'%1' is %2x%3, expected %4x%5")
                               .arg(path)
                               .arg(image.width())
                               .arg(image.height())
                               .arg(width)
                               .arg(height));
        } else if (actual != expected && !(expected == "jpg" && actual == "jpeg")) {
            faults += fail("'" + path + "' holds " + QString::fromLatin1(actual) + " data");
        }
    }
    return faults == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    tarvel::art::prepareOffscreen();  // fonts, but no screen
    QGuiApplication app(argc, argv);
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == "render" && argc == 6) {
        int width = 0, height = 0;
        if (!parseSize(argv[4], width) || !parseSize(argv[5], height)) {
            std::fprintf(stderr, "tarvel-art: sizes must be 1..4096\n");
            return 2;
        }
        return render(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), width, height);
    }
    if (command == "check" && argc >= 5 && (argc - 2) % 3 == 0) return check(argc - 2, argv + 2);
    std::fprintf(stderr,
                 "usage: tarvel-art render IN.svg OUT.ext WIDTH HEIGHT\n"
                 "       tarvel-art check FILE WIDTH HEIGHT [FILE WIDTH HEIGHT ...]\n");
    return 2;
}
