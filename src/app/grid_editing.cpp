#include "grid_editing.h"

#include "JobTableModel.h"
#include "common/host.h"
#include "desktop_host.h"

namespace tarvel::app {

namespace {

// A block of cells written over stored rows and, past them, as new rows.
class BlockCommand : public QUndoCommand {
public:
    BlockCommand(JobTableModel& model, int row, int column, std::vector<Row> after, const QString& text)
        : QUndoCommand(text), model_(model), row_(row), column_(column), after_(std::move(after)) {
        const int stored = model.recordCount();
        for (std::size_t i = 0; i < after_.size(); ++i) {
            const int r = row + static_cast<int>(i);
            if (r >= stored) {
                ++appended_;
                continue;
            }
            Row cells;
            for (std::size_t c = 0; c < after_[i].size(); ++c) {
                cells.push_back(model.cell(r, column + static_cast<int>(c)));
            }
            before_.push_back(std::move(cells));
        }
    }
    void redo() override {
        if (!model_.writeBlock(row_, column_, after_)) setObsolete(true);
    }
    void undo() override { model_.writeBlock(row_, column_, before_, appended_); }

private:
    JobTableModel& model_;
    int row_;
    int column_;
    std::vector<Row> after_;
    std::vector<Row> before_;  // the stored rows the block covered
    int appended_ = 0;
};

class InsertCommand : public QUndoCommand {
public:
    InsertCommand(JobTableModel& model, int row, Row cells, bool inserted, const QString& text)
        : QUndoCommand(text), model_(model), row_(row), cells_(std::move(cells)), inserted_(inserted) {}
    void redo() override {
        if (!(inserted_ ? model_.insertRecord(row_, cells_) : model_.deleteRecord(row_))) {
            setObsolete(true);
        }
    }
    void undo() override {
        if (inserted_) model_.deleteRecord(row_);
        else model_.insertRecord(row_, cells_);
    }

private:
    JobTableModel& model_;
    int row_;
    Row cells_;
    bool inserted_;  // false: a deletion, taken back by putting the row back
};

class WrittenCommand : public QUndoCommand {
public:
    WrittenCommand(std::vector<CellChange> changes, const QString& text)
        : QUndoCommand(text), changes_(std::move(changes)) {}
    void redo() override {
        if (first_) {  // already written
            first_ = false;
            return;
        }
        for (const CellChange& c : changes_) c.model->writeBlock(c.row, c.column, {{c.after}});
    }
    void undo() override {
        for (const CellChange& c : changes_) c.model->writeBlock(c.row, c.column, {{c.before}});
    }

private:
    std::vector<CellChange> changes_;
    bool first_ = true;
};

}  // namespace

bool GridEditor::edit(JobTableModel& model, int row, int column, const Cell& entered) {
    if (model.readOnly()) return false;
    auto* command = new BlockCommand(model, row, column, {{entered}}, QStringLiteral("edit"));
    const int before = stack_.index();
    stack_.push(command);
    return stack_.index() > before;  // an edit that could not be written is not kept
}

bool GridEditor::insertAbove(JobTableModel& model, int row) {
    if (model.readOnly() || row < 0 || row > model.recordCount()) return false;
    const int count = model.recordCount();
    stack_.push(new InsertCommand(model, row, Row(model.table().columns.size()), true,
                                  QStringLiteral("insert")));
    return model.recordCount() == count + 1;
}

bool GridEditor::remove(JobTableModel& model, int row) {
    if (model.readOnly() || row < 0 || row >= model.recordCount()) return false;
    Row cells;
    for (int c = 0; c < model.columnCount(); ++c) cells.push_back(model.cell(row, c));
    const int count = model.recordCount();
    stack_.push(new InsertCommand(model, row, std::move(cells), false, QStringLiteral("delete")));
    return model.recordCount() == count - 1;
}

std::vector<QStringList> GridEditor::splitSheet(const QString& text) {
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (body.endsWith(QLatin1Char('\n'))) body.chop(1);
    std::vector<QStringList> lines;
    if (body.isEmpty()) return lines;
    for (const QString& line : body.split(QLatin1Char('\n'))) {
        lines.push_back(line.split(QLatin1Char('\t')));
    }
    return lines;
}

bool GridEditor::paste(JobTableModel& model, int row, int column, const QString& text) {
    if (model.readOnly() || row < 0 || row > model.recordCount() || column < 0) return false;
    const std::vector<QStringList> lines = splitSheet(text);
    if (lines.empty()) return false;
    const JobTable& table = model.table();
    std::vector<Row> block;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QStringList& line = lines[i];
        if (column + line.size() > model.columnCount()) {
            host_->message(std::string(edit_text::kTooWide1) + std::to_string(line.size()) +
                               edit_text::kTooWide2 +
                               std::string(table.columns[static_cast<std::size_t>(column)].name) +
                               edit_text::kTooWide3 + std::to_string(model.columnCount() - column) +
                               edit_text::kTooWide4,
                           edit_text::kTitle, Icon::Exclamation);
            return false;
        }
        Row cells;
        for (int c = 0; c < line.size(); ++c) {
            const JobColumn& col = table.columns[static_cast<std::size_t>(column + c)];
            Cell cell;
            std::string refusal;
            if (!JobTableModel::parseEntry(line[c], col.kind, col.name, &cell, &refusal)) {
                host_->message(refusal + us(qs(edit_text::kPasteRow).arg(i + 1)), edit_text::kTitle,
                               Icon::Exclamation);
                return false;
            }
            cells.push_back(cell);
        }
        block.push_back(std::move(cells));
    }
    auto* command = new BlockCommand(model, row, column, std::move(block), QStringLiteral("paste"));
    const int before = stack_.index();
    stack_.push(command);
    return stack_.index() > before;
}

void GridEditor::recordWritten(std::vector<CellChange> changes, const QString& what) {
    if (changes.empty()) return;
    stack_.push(new WrittenCommand(std::move(changes), what));
}

}  // namespace tarvel::app
