#pragma once
// The program folder and what lies in it: the pictures of the windows
// ("BMP/"), the manual ("TARVEL.CHM/", a folder of HTML pages), the template
// job database ("FRM/FRM.MDB") and the editors "NOTEPAD.EXE" and "EDIT.COM"
// when they are supplied. The program keeps no settings: everything is found
// relative to the folder of the running executable.

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QUrl>

namespace tarvel::app {

class ProgramFolder {
public:
    // The folder of the running executable.
    ProgramFolder();
    // Another folder, for tests.
    explicit ProgramFolder(QString folder);

    const QString& path() const { return folder_; }
    QString file(const QString& relative) const;  // folder + "/" + relative

    QString pictureFolder() const { return file("BMP"); }
    // A picture of the BMP folder; an empty pixmap when the file is missing,
    // so a window without its pictures still opens.
    QPixmap picture(const QString& name) const;
    QIcon icon(const QString& name) const;
    QIcon toolbarIcon(const QString& key) const;  // BMP/toolbar/<key>.png

    QString templateDatabase() const { return file("FRM/FRM.MDB"); }
    // "NOTEPAD.EXE" or "EDIT.COM" of the program folder; empty when not supplied.
    QString suppliedEditor(const QString& name) const;

    QString manualFolder() const { return file("TARVEL.CHM"); }
    QString manualPage(const QString& page) const;  // TARVEL.CHM/<page>
    QUrl homePage() const;                          // the manual's start page as a file URL

private:
    QString folder_;
};

}  // namespace tarvel::app
