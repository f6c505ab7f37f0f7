#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tarvel::app {

ProgramFolder::ProgramFolder() : folder_(QCoreApplication::applicationDirPath()) {}

ProgramFolder::ProgramFolder(QString folder) : folder_(std::move(folder)) {}

QString ProgramFolder::file(const QString& relative) const {
    return QDir(folder_).filePath(relative);
}

QPixmap ProgramFolder::picture(const QString& name) const {
    QPixmap pixmap;
    const QString path = QDir(pictureFolder()).filePath(name);
    if (QFileInfo::exists(path)) pixmap.load(path);
    return pixmap;
}

QIcon ProgramFolder::icon(const QString& name) const {
    const QPixmap pixmap = picture(name);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QIcon ProgramFolder::toolbarIcon(const QString& key) const {
    return icon(QStringLiteral("toolbar/") + key + QStringLiteral(".png"));
}

QString ProgramFolder::suppliedEditor(const QString& name) const {
    const QString path = file(name);
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable() ? path : QString();
}

QString ProgramFolder::manualPage(const QString& page) const {
    return QDir(manualFolder()).filePath(page);
}

QUrl ProgramFolder::homePage() const {
    return QUrl::fromLocalFile(manualPage(QStringLiteral("index.html")));
}

}  // namespace tarvel::app
