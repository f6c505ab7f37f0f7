#pragma once
// `FrmInput`, the data-preparation window: the twelve tables of one job
// database on twelve tabs, each a grid that writes every edit at once, the
// delete buttons and position captions, and on the last tab the generation,
// validation and conversion commands with their view box and status line.

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "prep/job_database.h"
#include "prep/job_lock.h"
#include "prep/job_tables.h"
#include "prep/regular_frame.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace tarvel {
class Host;
}

namespace tarvel::app {

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
    void Open0();  // view a text file in the view box

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
    QWidget* buildSeismicTab();
    QWidget* buildGenerationTab();
    void bindModels();
    int currentRecord(int t) const;  // -1 when no stored row is current
    void updateCaption(int t);
    void showSeismicParameters();
    void commitSeismicParameter(int column);

    const ProgramFolder& folder_;
    Host& base_;
    Session& session_;
    std::unique_ptr<WindowHost> host_;
    JobDatabase db_;
    JobLock lock_;
    bool readOnly_ = false;
    QTabWidget* tabs_ = nullptr;
    std::array<TableTab, kJobTableCount> tables_{};
    std::vector<QWidget*> seismicBoxes_;  // in SEISMIC1 column order
    QPlainTextEdit* TxtYl_ = nullptr;
    QLineEdit* TxtTs_ = nullptr;
    InputPreview* preview_ = nullptr;
};

namespace input_text {
inline constexpr const char* kTitle = "原始数据文件生成器 Input";
inline constexpr const char* kNotAJob = "不能打开工程数据库：";
inline constexpr const char* kNoticeTitle = "提示！";
inline constexpr const char* kReadOnly = "该工程正在另一个程序中编辑，现以只读方式打开：\n";
}  // namespace input_text

}  // namespace tarvel::app
