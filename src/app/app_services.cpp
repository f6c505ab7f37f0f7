#include "app_services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QStandardPaths>

namespace tarvel::app {

AppServices AppServices::system() {
    AppServices s;
    s.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    s.findProgram = [](const QStringList& names) {
        for (const QString& name : names) {
            const QString path = QStandardPaths::findExecutable(name);
            if (!path.isEmpty()) return path;
        }
        return QString();
    };
    s.quit = [] { QCoreApplication::exit(0); };
    return s;
}

}  // namespace tarvel::app
