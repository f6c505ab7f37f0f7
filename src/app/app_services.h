#pragma once
// What the desktop windows need from the system besides the host: the
// default browser, the search path and ending the program. Tests replace
// these functions so nothing leaves the test process.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace tarvel::app {

struct AppServices {
    std::function<bool(const QUrl&)> openUrl;                     // default browser
    std::function<QString(const QStringList&)> findProgram;       // first found on PATH, else ""
    std::function<void()> quit;                                   // ends the program at once

    // The real ones: QDesktopServices, QStandardPaths, QCoreApplication::exit.
    static AppServices system();
};

// The two application-wide strings through which the windows meet.
struct Session {
    QString CurrentDatabasePath;  // job database chosen by "new" or "open"
    QString LastChosenFile;       // file picked in a data-preparation dialog
};

}  // namespace tarvel::app
