#pragma once
// `FrmInput`, the data-preparation window: the twelve tables of one job
// database on twelve tabs, each a grid that writes every edit at once, the
// delete buttons and position captions, and on the last tab the generation,
// validation and conversion commands with their view box and status line.

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "prep/job_database.h"
#include "prep/job_lock.h"
#include "prep/job_tables.h"
#include "prep/regular_frame.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QTabWidget;
class QTableView;

namespace tarvel {
class Host;
}

namespace tarvel::app {

class GridEditor;
class InputPreview;
class JobTableModel;
class ProgramFolder;
struct Session;

class FrmInput : public QWidget {
    Q_OBJECT
public:
    FrmInput(const ProgramFolder& folder, Host& host, Session& session, QWidget* parent = nullptr);
    ~FrmInput() override;

    // Opens the job named by `CurrentDatabasePath` and shows its tables; a
    // file that is not a job database is named in a message (false).
    bool openJob();
    const JobDatabase& database() const { return db_; }
    // Another program holds the job: shown, not changed.
    bool readOnly() const { return readOnly_; }

    // The grid model of a table ("POINT", "SEISMIC1", ...).
    JobTableModel* model(std::string_view table) const;
    QTableView* grid(std::string_view table) const;  // null for SEISMIC1
    QTabWidget* tabs() const { return tabs_; }
    // The position caption of a table's data control.
    QString caption(std::string_view table) const;

    // The delete buttons Command1 ... Command12, by table position 0 ... 11.
    void deleteRecord(int table);

    // The file commands of the last tab.
    void CmdWjsc();
    void CmdWjjy();
    void CmdWjzh();
    void Open0();  // view a text file: the editor ("1") or the view box
    void Pn();     // print a text file

    // Row editing in the grid of the current tab, at its current cell.
    void insertAbove();
    void pasteFromClipboard();
    void undo();
    GridEditor& editor() { return *editor_; }

    // A ".TVL" data file read into a new job, which the window then shows.
    void importJob();

    // The dialogs of the view and print commands; tests replace them.
    std::function<bool(QPrinter&)> choosePrinter;
    std::function<std::optional<QString>(const QString& prompt, const QString& title,
                                         const QString& value)>
        askText;
    // Shows a text file in the built-in text window (when no editor is supplied).
    std::function<bool(const QString&)> openTextWindow;

    // The frame beside the grids.
    InputPreview* preview() const { return preview_; }
    // Opens the regular-frame dialog; its frame replaces the job after a question.
    void regularFrame();
    void applyRegularFrame(const RegularFrame& frame);

private:
    class WindowHost;
    struct TableTab {
        JobTableModel* model = nullptr;
        QTableView* grid = nullptr;
        QLabel* caption = nullptr;
    };

    void buildTabs();
    QWidget* buildTableTab(int t);
    void addTableFooter(QGridLayout* body, int row, int t);
    QWidget* buildSeismicTab();
    QWidget* buildGenerationTab();
    void bindModels();
    int currentRecord(int t) const;  // -1 when no stored row is current
    void updateCaption(int t);
    QWidget* buildRecordTab(int t);
    QWidget* recordBox(int t, int column, const char* name, const QStringList& items);
    void showRecordBoxes(int t);
    void commitRecordBox(int t, int column);
    int currentGridTable() const;  // the table of the current tab's grid, -1 for none
    void offerMemberRenumbering(int t, int position, bool inserted);

    const ProgramFolder& folder_;
    Host& base_;
    Session& session_;
    std::unique_ptr<WindowHost> host_;
    JobDatabase db_;
    JobLock lock_;
    bool readOnly_ = false;
    QTabWidget* tabs_ = nullptr;
    std::array<TableTab, kJobTableCount> tables_{};
    std::array<std::vector<QWidget*>, kJobTableCount> boxes_{};  // bound boxes in column order
    std::unique_ptr<GridEditor> editor_;
    QPlainTextEdit* TxtYl_ = nullptr;
    QLineEdit* TxtTs_ = nullptr;
    InputPreview* preview_ = nullptr;
};

namespace input_text {
inline constexpr const char* kTitle = "原始数据文件生成器 Input";
inline constexpr const char* kNotAJob = "不能打开工程数据库：";
inline constexpr const char* kNoticeTitle = "提示！";
inline constexpr const char* kReadOnly = "该工程正在另一个程序中编辑，现以只读方式打开：\n";
inline constexpr const char* kViewPrompt = "请选择文件显示方式(1、'记事本';2、'文件窗'):";
inline constexpr const char* kViewPromptTitle = "输入提示";
inline constexpr const char* kNoViewChoice = "您没有正确选择选项,文件将不能浏览！";
inline constexpr const char* kPromptTitle = "提示";
inline constexpr const char* kInEditor = "文件已转到记事本中显示";
inline constexpr const char* kPrintOpenTitle = "打开文件";
inline constexpr const char* kPaperWidth = "请调整好纸宽后：按(确认)后继续！";
inline constexpr const char* kPrinted = "文件输出完毕：按(确认)后结束！";
inline constexpr const char* kPrintFailed = "打印机不能开始打印：";
inline constexpr const char* kEditorFailed = "不能启动文本编辑器：";
inline constexpr const char* kImportTitle = "导入（TVL）数据文件";
inline constexpr const char* kImportFilter = "TVL 文件 (*.TVL)|*.TVL|所有文件 (*.*)|*.*";
inline constexpr const char* kImportJobTitle = "新建工程";
inline constexpr const char* kJobFilter = "数据库文件 (*.mdb)|*.mdb|所有文件 (*.*)|*.*";
inline constexpr const char* kJobInUse = "该工程正在本程序中使用，不能替换：\n";
inline constexpr const char* kJobInUseElsewhere = "该工程正在另一个程序中使用，不能替换：\n";
inline constexpr const char* kNoTemplate = "找不到工程模板数据库：\n";
inline constexpr const char* kCopyFailed = "工程数据库无法建立：\n";
}  // namespace input_text

}  // namespace tarvel::app
