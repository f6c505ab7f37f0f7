#pragma once
// One job table as a grid: its rows in entry order (the hidden rowid), each
// row addressed by its rowid so that two rows with equal values stay two
// rows, and a new-row line at the foot. Every accepted edit is written to the
// job database at once; there is no save step.
//
// What a cell accepts: a whole column a 16-bit integer, a real column any
// number a Single holds (kept at its full single precision), and every
// column the empty text, which leaves the cell empty (NULL). Anything else is
// refused with a message naming the column, and the cell keeps its value.
//
// Each edit is one SQL statement in SQLite's own transaction (autocommit);
// a pasted block, a row put in above others (which moves their keys) and a
// renumbering are each one transaction of several statements. The rollback
// journal beside the job lets SQLite undo a transaction that a crash
// interrupted when the job is next opened, so the file always holds either
// the rows before the change or the rows after it.

#include <QAbstractTableModel>
#include <QHash>
#include <cstdint>
#include <functional>
#include <vector>

#include "prep/job_database.h"

namespace tarvel {
class Host;
}

namespace tarvel::app {

class JobTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    JobTableModel(JobDatabase& db, const JobTable& table, Host& host, QObject* parent = nullptr);

    const JobTable& table() const { return *table_; }

    // A job another program edits is shown, not changed.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool readOnly() const { return readOnly_; }

    // Reads the table again.
    void reload();

    // Stored rows; the new-row line follows them.
    int recordCount() const { return static_cast<int>(rows_.size()); }
    bool isNewRowLine(int row) const { return row == recordCount(); }
    std::int64_t rowKey(int row) const { return rows_.at(static_cast<std::size_t>(row)).key; }
    const Cell& cell(int row, int column) const;

    // Faults another view of the job found in stored rows (0-based row ->
    // what is wrong): those rows show a red background and the text as
    // their tooltip until the next call replaces the set. No value changes,
    // so no dataChanged (which would reset a cell being typed): views repaint
    // on rowProblemsChanged.
    void setRowProblems(QHash<int, QString> problems);
    const QHash<int, QString>& rowProblems() const { return problems_; }

    // Deletes the stored row at that position (its rowid only). False when
    // there is no stored row there.
    bool deleteRecord(int row);
    // Puts a stored row at position `row` (recordCount() appends); the rows
    // from there on move one down and keep their order in the job file.
    bool insertRecord(int row, const Row& cells);
    // Writes a block of cells with its top left at (row, column): rows of
    // the block past the stored rows become new rows (the cells left of and
    // right of the block empty); then the last `dropLast` stored rows are
    // removed. All of it in one transaction: on a failure nothing is written.
    bool writeBlock(int row, int column, const std::vector<Row>& block, int dropLast = 0);

    // When set, an accepted typed entry goes to this function (which records
    // it for undo and writes it through writeBlock) instead of being written
    // at once.
    using EditHook = std::function<bool(int row, int column, const Cell& entered)>;
    void setEditHook(EditHook hook) { editHook_ = std::move(hook); }

    // What a typed text becomes in that column; false (and *refusal set) when
    // the column cannot hold it.
    static bool parseEntry(const QString& text, ColumnKind kind, std::string_view column,
                           Cell* cell, std::string* refusal);
    // The text a cell shows: whole columns as integers, real columns in the
    // shortest digits of their Single value, an empty cell as "".
    static QString cellText(const Cell& cell, ColumnKind kind);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // After any change of the stored rows (edit, new row, deletion).
    void recordsChanged();
    // The marked rows changed.
    void rowProblemsChanged();

private:
    bool writeFailed(const JobDatabaseError& e);

    JobDatabase* db_;
    const JobTable* table_;
    Host* host_;
    std::vector<StoredRow> rows_;
    bool readOnly_ = false;
    EditHook editHook_;
    QHash<int, QString> problems_;
};

namespace grid_text {
inline constexpr const char* kTitle = "数据输入";
// "<column> 列只能输入数字：<text>"
inline constexpr const char* kNotNumber = " 列只能输入数字：";
// "<column> 列只能输入 -32768 至 32767 之间的整数：<text>"
inline constexpr const char* kNotWhole = " 列只能输入 -32768 至 32767 之间的整数：";
// "<column> 列的数值超出单精度范围：<text>"
inline constexpr const char* kOutOfRange = " 列的数值超出单精度范围：";
inline constexpr const char* kWriteFailed = "数据无法写入工程数据库：";
}  // namespace grid_text

}  // namespace tarvel::app
