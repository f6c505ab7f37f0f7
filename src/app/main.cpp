// The desktop program `tarvel`.
//
//   tarvel                 the disclaimer window, then the main window
//   tarvel --check-start   the same start without a user: the disclaimer is
//                          accepted as by its button, and once the main window
//                          is shown the program names its program folder on
//                          stdout and ends. Status 0 when the main window came
//                          up and the program folder holds the template job
//                          database, the pictures and the manual; status 1
//                          with one line per missing file otherwise. For
//                          checking an installation and for the package test
//                          (with QT_QPA_PLATFORM=offscreen where there is no
//                          display).

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "FrmXTMM.h"
#include "MDITarvel.h"
#include "desktop_host.h"
#include "tarvel_app.h"

namespace {

bool asked(int argc, char* argv[], const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) return true;
    }
    return false;
}

// Accepts the disclaimer, waits for the main window and ends the program
// with the status described at the top of this file.
void checkStart(tarvel::app::TarvelApp& tarvel, tarvel::app::FrmXTMM* disclaimer) {
    QTimer::singleShot(0, disclaimer, [&tarvel, disclaimer] {
        auto* accept = disclaimer->findChild<QPushButton*>(QStringLiteral("CmdYs"));
        if (accept) accept->click();
        QTimer::singleShot(0, [&tarvel] {
            const tarvel::app::ProgramFolder& folder = tarvel.folder();
            int status = 0;
            const tarvel::app::MDITarvel* main = tarvel.mainWindow();
            if (!main || !main->isVisible()) {
                std::fprintf(stderr, "tarvel: the main window did not open\n");
                status = 1;
            }
            for (const QString& needed :
                 {folder.templateDatabase(), folder.file(QStringLiteral("BMP/P01.JPG")),
                  folder.file(QStringLiteral("BMP/tarvel.png")), folder.manualPage(QStringLiteral("index.html"))}) {
                if (!QFileInfo(needed).isFile()) {
                    std::fprintf(stderr, "tarvel: missing %s\n", qPrintable(needed));
                    status = 1;
                }
            }
            if (status == 0) {
                std::printf("tarvel: main window shown, program folder %s\n", qPrintable(folder.path()));
                std::fflush(stdout);
            }
            QApplication::exit(status);
        });
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvel"));
    QApplication::setApplicationVersion(QStringLiteral("5.0"));
    tarvel::app::TarvelApp::useProgramFonts();
    tarvel::app::DesktopHost host;
    tarvel::app::TarvelApp tarvel(tarvel::app::ProgramFolder(), host,
                                  tarvel::app::AppServices::system());
    tarvel::app::FrmXTMM* disclaimer = tarvel.Main();
    if (asked(argc, argv, "--check-start")) checkStart(tarvel, disclaimer);
    return QApplication::exec();
}
