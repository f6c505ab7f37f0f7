#pragma once
// The art tools render without a screen: Qt's offscreen platform, and a
// private runtime folder when the session has none (Qt warns otherwise).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <unistd.h>

namespace tarvel::art {

inline void prepareOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::tempPath() + "/tarvel-art-runtime-" + QString::number(getuid());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
    }
}

}  // namespace tarvel::art
