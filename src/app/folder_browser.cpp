#include "folder_browser.h"

#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStorageInfo>

namespace tarvel::app {

void createBrowserLists(QWidget* parent, QComboBox*& drives, QListWidget*& folders,
                        QListWidget*& files) {
    drives = new QComboBox(parent);
    drives->setObjectName(QStringLiteral("DrvList"));
    folders = new QListWidget(parent);
    folders->setObjectName(QStringLiteral("DirList"));
    files = new QListWidget(parent);
    files->setObjectName(QStringLiteral("FilList"));
}

void connectBrowserLists(QWidget* parent, QComboBox* drives, QListWidget* folders,
                         const QString& current, std::function<void(const QString&)> open) {
    const auto chooseDrive = [drives, folders, &current, open](int index) {
        const QString root = readableDrive(drives, index);
        if (root.isEmpty()) {
            // A drive that cannot be read: back to the drive of the current folder.
            fillFolderList(folders, drives, current);
            return;
        }
        open(root);
    };
    QObject::connect(drives, &QComboBox::activated, parent, chooseDrive);
    QObject::connect(folders, &QListWidget::itemClicked, parent,
                     [open](QListWidgetItem* item) { open(item->data(Qt::UserRole).toString()); });
}

void fillDriveList(QComboBox* drives) {
    const QSignalBlocker block(drives);
    drives->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        const QString name = volume.displayName();
        drives->addItem(name == root || name.isEmpty()
                            ? root
                            : root + QStringLiteral("  [") + name + QStringLiteral("]"),
                        root);
    }
}

void fillFolderList(QListWidget* folders, QComboBox* drives, const QString& folder) {
    folders->clear();
    QStringList chain;
    for (QDir d(folder);;) {
        chain.prepend(d.absolutePath());
        if (!d.cdUp()) break;
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = depth == 0 ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name);
        item->setData(Qt::UserRole, path);
        folders->addItem(item);
        ++depth;
    }
    folders->setCurrentRow(folders->count() - 1);
    const QStringList subfolders =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : subfolders) {
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub);
        item->setData(Qt::UserRole, QDir(folder).filePath(sub));
        folders->addItem(item);
    }
    const int drive = drives->findData(QStorageInfo(folder).rootPath());
    if (drive >= 0) {
        const QSignalBlocker block(drives);
        drives->setCurrentIndex(drive);
    }
}

QStringList filesMatching(const QString& folder, const QString& pattern, QDir::Filters extra) {
    QStringList shown;
    const QStringList all =
        QDir(folder).entryList(QDir::Files | extra, QDir::Name | QDir::IgnoreCase);
    const QString suffix = pattern.mid(1);  // ".TVL" or ".*"
    for (const QString& f : all) {
        if (suffix == QStringLiteral(".*") || f.endsWith(suffix, Qt::CaseInsensitive)) shown << f;
    }
    return shown;
}

QString readableDrive(const QComboBox* drives, int index) {
    const QString root = drives->itemData(index).toString();
    const QDir dir(root);
    return !root.isEmpty() && dir.exists() && dir.isReadable() ? root : QString();
}

}  // namespace tarvel::app
