// Start of the desktop program to its main window, timed from outside
// (hyperfine, `make bench-desktop`): the disclaimer window is shown with its
// pictures, accepted, and the program ends once the main window is up.

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "FrmXTMM.h"
#include "MDITarvel.h"
#include "desktop_host.h"
#include "tarvel_app.h"

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    tarvel::app::TarvelApp::useProgramFonts();
    tarvel::app::DesktopHost host;
    tarvel::app::TarvelApp tarvel(tarvel::app::ProgramFolder(QStringLiteral(TARVEL_APP_DIR)), host,
                                  tarvel::app::AppServices::system());
    tarvel::app::FrmXTMM* disclaimer = tarvel.Main();
    QTimer::singleShot(0, disclaimer, [&] {
        const qint64 disclaimerShown = clock.elapsed();
        disclaimer->findChild<QPushButton*>(QStringLiteral("CmdYs"))->click();
        QTimer::singleShot(0, [&, disclaimerShown] {
            std::fprintf(stderr, "disclaimer %lld ms, main window %lld ms\n",
                         static_cast<long long>(disclaimerShown), static_cast<long long>(clock.elapsed()));
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
