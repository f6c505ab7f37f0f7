// The desktop program `tarvel`.

#include <QApplication>

#include "MDITarvel.h"
#include "desktop_host.h"
#include "tarvel_app.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvel"));
    QApplication::setApplicationVersion(QStringLiteral("5.0"));
    tarvel::app::TarvelApp::useProgramFonts();
    tarvel::app::DesktopHost host;
    tarvel::app::TarvelApp tarvel(tarvel::app::ProgramFolder(), host,
                                  tarvel::app::AppServices::system());
    tarvel.Main();
    return QApplication::exec();
}
