#pragma once
// The drawing window: the drive, folder and file lists with the file-type
// filter, the scale, ordinate-height and load-type lists, the three diagram
// boxes, the five buttons and the run log `Picture1`; below them the drawing
// view, which shows each drawing as soon as a command has written it. The
// state and the commands are those of the core object DrawingWindow; this
// class shows them and forwards the user's clicks.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tarvel {
class DrawingView;
class DrawingWindow;
class Host;
}  // namespace tarvel

namespace tarvel::app {

class ProgramFolder;
class WindowHost;

class FrmDxf : public QWidget {
    Q_OBJECT
public:
    using TextOpener = std::function<bool(const QString& path, int line)>;
    FrmDxf(const ProgramFolder& folder, Host& host, TextOpener openText, QWidget* parent = nullptr);
    ~FrmDxf() override;

    // The folder list moved to `folder` (also what a click in it does).
    void setFolder(const QString& folder);
    const QString& folder() const { return folder_; }
    DrawingWindow& core() { return *core_; }
    DrawingView* view() const { return view_; }

    static constexpr const char* kBuiltInViewer = "<text window>";
    static constexpr const char* kHelpPage = "drawings.html";

signals:
    void helpRequested(const QString& page);

private:
    void buildControls();
    void fillFiles();
    void showCheckBoxes();
    void showStaleness();
    void draw(bool (DrawingWindow::*command)());
    void browse();

    const ProgramFolder& folder0_;
    TextOpener openText_;
    std::unique_ptr<WindowHost> host_;
    std::unique_ptr<DrawingWindow> core_;
    QString folder_;

    QComboBox* CboLx_ = nullptr;
    QComboBox* DrvList_ = nullptr;
    QListWidget* DirList_ = nullptr;
    QListWidget* FilList_ = nullptr;
    QLineEdit* TxtName_ = nullptr;
    QComboBox* CboScale_ = nullptr;
    QComboBox* CboAlf_ = nullptr;
    QLineEdit* TxtDxf_ = nullptr;
    QComboBox* CboHzlx_ = nullptr;
    QCheckBox* Check_[3] = {};
    QLabel* LblStale_ = nullptr;
    QPlainTextEdit* Picture1_ = nullptr;
    DrawingView* view_ = nullptr;
};

}  // namespace tarvel::app
