#pragma once
// The frame-analysis window: the drive, folder and file lists, the steel
// grades, the browse boxes, the six commands, the run log `Picture1`, the
// view box `TxtYl`, and beside the log a summary of the last run. The state
// and the commands are those of the core object AnalysisWindow; this class
// only shows them and forwards the user's clicks.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace tarvel {
class AnalysisWindow;
class Host;
}  // namespace tarvel

namespace tarvel::app {

class ProgramFolder;
class WindowHost;

class FrmTarvel : public QWidget {
    Q_OBJECT
public:
    // `openText` shows a file in the built-in text window at a line (0: the top).
    using TextOpener = std::function<bool(const QString& path, int line)>;
    FrmTarvel(const ProgramFolder& folder, Host& host, TextOpener openText,
              QWidget* parent = nullptr);
    ~FrmTarvel() override;

    // The folder list moved to `folder` (also what a click in it does).
    void setFolder(const QString& folder);
    const QString& folder() const { return folder_; }
    AnalysisWindow& core() { return *core_; }

    // What the viewer command starts when "NOTEPAD.EXE" is not supplied.
    static constexpr const char* kBuiltInViewer = "<text window>";
    static constexpr const char* kHelpPage = "run.html";  // F1 and "帮助(&H)" (the frame asks)

signals:
    void helpRequested(const QString& page);

private:
    void buildControls();
    void fillFiles();
    void showCheckBoxes();
    void showStaleness();
    void showSummary();
    void run();
    void browse();
    void validateOrConvert(bool validate);
    QString dataFolderPath() const;

    const ProgramFolder& folder0_;
    TextOpener openText_;
    std::unique_ptr<WindowHost> host_;
    std::unique_ptr<AnalysisWindow> core_;
    QString folder_;  // folder shown in the folder list

    QComboBox* CboLx_ = nullptr;
    QComboBox* DrvList_ = nullptr;
    QListWidget* DirList_ = nullptr;
    QListWidget* FilList_ = nullptr;
    QLineEdit* TxtName_ = nullptr;
    QComboBox* CboII_ = nullptr;
    QComboBox* CboI_ = nullptr;
    QCheckBox* ChkW1_ = nullptr;
    QCheckBox* ChkW2_ = nullptr;
    QLabel* LblStale_ = nullptr;
    QPlainTextEdit* Picture1_ = nullptr;
    QPlainTextEdit* TxtYl_ = nullptr;
    QGroupBox* FraResults_ = nullptr;
    // Values of the summary: periods, drift ratios, reactions, base shears.
    QLabel* LblPeriods_ = nullptr;
    QLabel* LblWindDrift_ = nullptr;
    QLabel* LblQuakeDrift_ = nullptr;
    QLabel* LblDead_ = nullptr;
    QLabel* LblLive_ = nullptr;
    QLabel* LblWindShear_ = nullptr;
    QLabel* LblQuakeShear_ = nullptr;
    QListWidget* LstFailed_ = nullptr;
};

}  // namespace tarvel::app
