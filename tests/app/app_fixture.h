#pragma once
// A desktop program on a temporary program folder (with the template job
// database, without pictures unless a test copies them), a recording host so
// no dialog blocks, and system services that only record what they are asked.

#include <QDir>
#include <QFile>
#include <QtGlobal>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

#include "app_services.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "tarvel_app.h"

namespace tarvel::app::testing {

inline QString q(const std::string& s) { return QString::fromStdString(s); }

struct AppFixture {
    tarvel::testing::TempDir programDir;  // the program folder
    tarvel::testing::TempDir jobDir;      // the user's files
    RecordingHost host;
    QList<QUrl> openedUrls;
    QStringList installedPrograms;        // names "found" on the search path
    QStringList searchedPrograms;
    int quitRequests = 0;
    std::unique_ptr<TarvelApp> app;

    AppFixture() {
        QDir().mkpath(q(programDir.file("FRM")));
        QFile::copy(QStringLiteral(TARVEL_APP_DIR "/FRM/FRM.MDB"), q(programDir.file("FRM/FRM.MDB")));
        AppServices services;
        services.openUrl = [this](const QUrl& url) {
            openedUrls << url;
            return true;
        };
        services.findProgram = [this](const QStringList& names) {
            searchedPrograms << names;
            for (const QString& n : names) {
                if (installedPrograms.contains(n)) return QStringLiteral("/usr/bin/") + n;
            }
            return QString();
        };
        services.quit = [this] { ++quitRequests; };
        app = std::make_unique<TarvelApp>(ProgramFolder(q(programDir.path().string())), host,
                                          std::move(services));
    }
    QString programFile(const char* name) const { return q(programDir.file(name)); }
    QString jobFile(const char* name) const { return q(jobDir.file(name)); }
};

// The offscreen platform cannot raise windows or pass size hints and says so
// each time; every other Qt message still reaches the test log.
inline void quietOffscreenNotices() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context,
                                         const QString& text) {
        if (!text.startsWith(QStringLiteral("This plugin does not support"))) {
            previous(type, context, text);
        }
    });
}

}  // namespace tarvel::app::testing
