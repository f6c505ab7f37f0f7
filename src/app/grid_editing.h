#pragma once
// Editing of the job tables that can be taken back: typed cells, rows put in
// above the current one, deleted rows, blocks pasted from a spreadsheet and
// member numbers renumbered after a section or grade row moved. Each is one
// step on an undo stack (Ctrl+Z in the data-preparation window); every step
// is written to the job at once and taken back by writing again.

#include <QString>
#include <QUndoStack>
#include <vector>

#include "prep/job_database.h"

namespace tarvel {
class Host;
}

namespace tarvel::app {

class JobTableModel;

// One cell a step changed, by row position: positions, unlike keys, are the
// same again each time the stack returns to the state of that step.
struct CellChange {
    JobTableModel* model = nullptr;
    int row = 0;
    int column = 0;
    Cell before;
    Cell after;
};

class GridEditor {
public:
    explicit GridEditor(Host& host) : host_(&host) {}

    QUndoStack& stack() { return stack_; }
    // The models are about to go (another job): nothing to take back.
    void clear() { stack_.clear(); }

    // A typed entry: at the new-row line it makes a row.
    bool edit(JobTableModel& model, int row, int column, const Cell& entered);
    // An empty row above position `row`.
    bool insertAbove(JobTableModel& model, int row);
    bool remove(JobTableModel& model, int row);
    // Tab-separated lines from a spreadsheet with their top left at (row,
    // column); rows past the stored ones become new rows. Every cell is
    // checked first: one that the column cannot hold is refused with a
    // message and nothing is written.
    bool paste(JobTableModel& model, int row, int column, const QString& text);
    // Changes already written by another command (renumbering).
    void recordWritten(std::vector<CellChange> changes, const QString& what);

    // The cells of spreadsheet text: lines by line ends, cells by tabs; the
    // line end after the last line does not make an empty row.
    static std::vector<QStringList> splitSheet(const QString& text);

private:
    Host* host_;
    QUndoStack stack_;
};

namespace edit_text {
inline constexpr const char* kTitle = "数据输入";
// "粘贴的数据有 <n> 列，从 <column> 列起只能放 <m> 列"
inline constexpr const char* kTooWide1 = "粘贴的数据有 ";
inline constexpr const char* kTooWide2 = " 列，从 ";
inline constexpr const char* kTooWide3 = " 列起只能放 ";
inline constexpr const char* kTooWide4 = " 列";
inline constexpr const char* kPasteRow = "（粘贴的第 %1 行）";
}  // namespace edit_text

}  // namespace tarvel::app
