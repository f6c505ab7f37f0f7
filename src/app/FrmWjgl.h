#pragma once
// The file manager window: the drive, folder and file lists with the
// file-type filter and the system, hidden and read-only switches, the source
// and target boxes, the three picking modes, the picture preview, and the
// five operations as buttons, menu items and toolbar keys. The state and the
// operations are those of the core object FileManager; this class shows them
// and forwards the user's clicks.

#include <QString>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace tarvel {
class FileManager;
class Host;
}  // namespace tarvel

namespace tarvel::app {

class ProgramFolder;

class FrmWjgl : public QWidget {
    Q_OBJECT
public:
    FrmWjgl(const ProgramFolder& folder, Host& host, QWidget* parent = nullptr);
    ~FrmWjgl() override;

    // The folder list moved to `folder` (also what a click in it does).
    void setFolder(const QString& folder);
    const QString& folder() const { return folder_; }
    FileManager& core() { return *core_; }

    static constexpr const char* kHelpPage = "filemanager.html";

private:
    void buildControls(const ProgramFolder& folder);
    void fillFiles();
    void showState();
    void showPicture();
    void operate(bool (FileManager::*operation)());
    void closeWindow();

    std::unique_ptr<FileManager> core_;
    QString folder_;
    bool showReadOnly_ = true;  // the list shows read-only files until "只读" is cleared

    QComboBox* CboLx_ = nullptr;
    QComboBox* DrvList_ = nullptr;
    QListWidget* DirList_ = nullptr;
    QListWidget* FilList_ = nullptr;
    QLineEdit* TxtWjm_ = nullptr;
    QLineEdit* TxtMbwj_ = nullptr;
    QCheckBox* Check_[6] = {};
    QLabel* Image1_ = nullptr;
    QLabel* LblImage_ = nullptr;
};

}  // namespace tarvel::app
