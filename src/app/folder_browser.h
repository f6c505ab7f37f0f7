#pragma once
// The drive, folder and file lists that the tool windows share: the drives
// are the mounted volumes, the folder list shows the path from the root down
// to the folder and then its subfolders (each item holds its full path), the
// file list the files matching a pattern, extensions compared regardless of
// case as on the drives these files come from.

#include <QDir>
#include <QString>
#include <QStringList>
#include <functional>

class QComboBox;
class QListWidget;
class QWidget;

namespace tarvel::app {

// The three lists as children of `parent`, named "DrvList", "DirList" and "FilList".
void createBrowserLists(QWidget* parent, QComboBox*& drives, QListWidget*& folders,
                        QListWidget*& files);
// A drive chosen in `drives` or a folder clicked in `folders` is passed to
// `open`; a drive that cannot be read puts the lists back on `current` (a
// member of `parent`, read at the time of the choice).
void connectBrowserLists(QWidget* parent, QComboBox* drives, QListWidget* folders,
                         const QString& current, std::function<void(const QString&)> open);
void fillDriveList(QComboBox* drives);
// Fills `folders` for `folder` and sets `drives` to the volume that holds it.
void fillFolderList(QListWidget* folders, QComboBox* drives, const QString& folder);
// "*.TVL" and the like; "*.*" lists every file. `extra` adds hidden or system files.
QStringList filesMatching(const QString& folder, const QString& pattern,
                          QDir::Filters extra = {});
// A drive of the list that can be read, else an empty string.
QString readableDrive(const QComboBox* drives, int index);

}  // namespace tarvel::app
