// tarvel-render: a DXF drawing as a PNG, SVG or PDF picture, drawn by the
// drawing view's own code without a screen.
//
//   tarvel-render FILE.DXF OUT.png|svg|pdf [--scale N]
//
// N is the paper size of one drawing unit in millimetres (default 1: the
// drawing units are millimetres at the drawing's own scale). Exit status 0
// written, 1 the drawing could not be read or the picture not written,
// 2 wrong usage.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include "dxfview/drawing_scene.h"

namespace {

constexpr const char* kUsage =
    "usage: tarvel-render FILE.DXF OUT.png|svg|pdf [--scale N]\n"
    "  --scale N   millimetres on paper per drawing unit (default 1)\n";

int usage(const char* problem) {
    std::fprintf(stderr, "tarvel-render: %s\n%s", problem, kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // No screen needed: the offscreen platform unless one was chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A run without a login session has no runtime folder: give it one of
    // its own rather than a warning on every run.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/tarvel-runtime-") +
                                QString::number(::getuid());
        if (QDir().mkpath(runtime) &&
            QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);

    QString input;
    QString output;
    tarvel::ExportOptions options;
    for (qsizetype k = 0; k < args.size(); ++k) {
        const QString& a = args[k];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == QLatin1String("--scale")) {
            if (k + 1 >= args.size()) return usage("--scale needs a value");
            bool ok = false;
            options.mmPerUnit = args[++k].toDouble(&ok);
            if (!ok || !(options.mmPerUnit > 0)) return usage("--scale must be a positive number");
        } else if (a.startsWith(QLatin1Char('-'))) {
            return usage(qPrintable(QStringLiteral("unknown option '%1'").arg(a)));
        } else if (input.isEmpty()) {
            input = a;
        } else if (output.isEmpty()) {
            output = a;
        } else {
            return usage("too many files");
        }
    }
    if (output.isEmpty()) return usage("a drawing and a picture file are needed");

    tarvel::DrawingScene scene;
    QString error;
    if (!scene.load(input, &error)) {
        std::fprintf(stderr, "tarvel-render: %s: %s\n", qPrintable(input), qPrintable(error));
        return 1;
    }
    if (!scene.exportTo(output, options, &error)) {
        std::fprintf(stderr, "tarvel-render: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
