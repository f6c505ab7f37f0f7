#include "JobTableModel.h"

#include <QColor>

#include <cfloat>
#include <cmath>
#include <limits>

#include "common/host.h"
#include "common/list_input.h"
#include "desktop_host.h"

namespace tarvel::app {

namespace {

// The value a user typed for a Single: the typed digits when they give back
// the same Single (0.0025 is stored as 0.0025), else the Single itself.
double singleValue(double typed) {
    const float x = static_cast<float>(typed);
    for (int digits = 1; digits <= 9; ++digits) {
        const double candidate = QString::number(static_cast<double>(x), 'g', digits).toDouble();
        if (static_cast<float>(candidate) == x) return candidate;
    }
    return static_cast<double>(x);
}

}  // namespace

JobTableModel::JobTableModel(JobDatabase& db, const JobTable& table, Host& host, QObject* parent)
    : QAbstractTableModel(parent), db_(&db), table_(&table), host_(&host) {
    reload();
}

void JobTableModel::reload() {
    beginResetModel();
    try {
        rows_ = db_->rows(*table_);
    } catch (const JobDatabaseError& e) {
        rows_.clear();
        writeFailed(e);
    }
    endResetModel();
    emit recordsChanged();
}

const Cell& JobTableModel::cell(int row, int column) const {
    return rows_.at(static_cast<std::size_t>(row)).cells.at(static_cast<std::size_t>(column));
}

bool JobTableModel::deleteRecord(int row) {
    if (row < 0 || row >= recordCount() || readOnly_) return false;
    try {
        db_->deleteRow(*table_, rowKey(row));
    } catch (const JobDatabaseError& e) {
        return writeFailed(e);
    }
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    emit recordsChanged();
    return true;
}

bool JobTableModel::insertRecord(int row, const Row& cells) {
    if (row < 0 || row > recordCount() || readOnly_) return false;
    Row full = cells;
    full.resize(table_->columns.size());
    try {
        if (row == recordCount()) {
            const std::int64_t key = db_->appendRow(*table_, full);
            beginInsertRows({}, row, row);
            rows_.push_back(StoredRow{key, std::move(full)});
        } else {
            // The rows from `row` on take the next keys, as the database gave them.
            const std::int64_t key = db_->insertRowAt(*table_, rowKey(row), full);
            beginInsertRows({}, row, row);
            for (std::size_t i = static_cast<std::size_t>(row); i < rows_.size(); ++i) {
                if (rows_[i].key >= key) ++rows_[i].key;
            }
            rows_.insert(rows_.begin() + row, StoredRow{key, std::move(full)});
        }
    } catch (const JobDatabaseError& e) {
        return writeFailed(e);
    }
    endInsertRows();
    emit headerDataChanged(Qt::Vertical, row, recordCount());
    emit recordsChanged();
    return true;
}

bool JobTableModel::writeBlock(int row, int column, const std::vector<Row>& block, int dropLast) {
    if (readOnly_ || row < 0 || row > recordCount() || column < 0) return false;
    for (const Row& cells : block) {
        if (column + static_cast<int>(cells.size()) > columnCount()) return false;
    }
    std::vector<StoredRow> after = rows_;
    try {
        JobDatabase::Transaction transaction(*db_);
        for (std::size_t i = 0; i < block.size(); ++i) {
            const std::size_t r = static_cast<std::size_t>(row) + i;
            if (r < after.size()) {
                for (std::size_t c = 0; c < block[i].size(); ++c) {
                    Cell& target = after[r].cells[static_cast<std::size_t>(column) + c];
                    if (target == block[i][c]) continue;
                    db_->updateCell(*table_, after[r].key,
                                    table_->columns[static_cast<std::size_t>(column) + c].name,
                                    block[i][c]);
                    target = block[i][c];
                }
            } else {
                Row cells(table_->columns.size());
                for (std::size_t c = 0; c < block[i].size(); ++c) {
                    cells[static_cast<std::size_t>(column) + c] = block[i][c];
                }
                const std::int64_t key = db_->appendRow(*table_, cells);
                after.push_back(StoredRow{key, std::move(cells)});
            }
        }
        for (int n = 0; n < dropLast && !after.empty(); ++n) {
            db_->deleteRow(*table_, after.back().key);
            after.pop_back();
        }
        transaction.commit();
    } catch (const JobDatabaseError& e) {
        return writeFailed(e);
    }
    const int oldCount = recordCount();
    const int newCount = static_cast<int>(after.size());
    if (newCount > oldCount) {
        beginInsertRows({}, oldCount + 1, newCount);  // the new-row line moves down
        rows_ = std::move(after);
        endInsertRows();
    } else if (newCount < oldCount) {
        beginRemoveRows({}, newCount, oldCount - 1);
        rows_ = std::move(after);
        endRemoveRows();
    } else {
        rows_ = std::move(after);
    }
    emit dataChanged(index(0, 0), index(recordCount(), columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, 0, recordCount());
    emit recordsChanged();
    return true;
}

bool JobTableModel::parseEntry(const QString& text, ColumnKind kind, std::string_view column,
                               Cell* cell, std::string* refusal) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        *cell = Cell::empty();
        return true;
    }
    const std::string typed = us(trimmed);
    double value = 0.0;
    if (!parseNumber(typed, value) || !std::isfinite(value)) {
        *refusal = std::string(column) + grid_text::kNotNumber + typed;
        return false;
    }
    if (kind == ColumnKind::Whole) {
        if (value != std::floor(value) || value < std::numeric_limits<std::int16_t>::min() ||
            value > std::numeric_limits<std::int16_t>::max()) {
            *refusal = std::string(column) + grid_text::kNotWhole + typed;
            return false;
        }
        *cell = Cell::of(value == 0.0 ? 0.0 : value);
        return true;
    }
    if (std::fabs(value) > static_cast<double>(FLT_MAX)) {
        *refusal = std::string(column) + grid_text::kOutOfRange + typed;
        return false;
    }
    *cell = Cell::of(singleValue(value));
    return true;
}

QString JobTableModel::cellText(const Cell& cell, ColumnKind kind) {
    switch (cell.kind) {
        case Cell::Kind::Empty:
            return {};
        case Cell::Kind::Text:
            return qs(cell.text);
        case Cell::Kind::Number:
            break;
    }
    if (kind == ColumnKind::Whole && cell.number == std::floor(cell.number) &&
        std::fabs(cell.number) < 1e15) {
        return QString::number(static_cast<long long>(cell.number));
    }
    return QString::number(singleValue(cell.number), 'g', 9);
}

int JobTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : recordCount() + 1;
}

int JobTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_->columns.size());
}

void JobTableModel::setRowProblems(QHash<int, QString> problems) {
    if (problems == problems_) return;
    problems_ = std::move(problems);
    emit rowProblemsChanged();
}

QVariant JobTableModel::data(const QModelIndex& index, int role) const {
    if (index.isValid() && (role == Qt::BackgroundRole || role == Qt::ToolTipRole)) {
        const auto found = problems_.constFind(index.row());
        if (found == problems_.constEnd() || isNewRowLine(index.row())) return {};
        if (role == Qt::ToolTipRole) return *found;
        return QColor(255, 190, 190);
    }
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    if (isNewRowLine(index.row())) return QString();
    return cellText(cell(index.row(), index.column()),
                    table_->columns[static_cast<std::size_t>(index.column())].kind);
}

QVariant JobTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columnCount()) return {};
        return qs(table_->columns[static_cast<std::size_t>(section)].name);
    }
    return section == recordCount() ? QStringLiteral("*") : QString::number(section + 1);
}

Qt::ItemFlags JobTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (readOnly_) return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool JobTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || readOnly_) return false;
    const JobColumn& column = table_->columns[static_cast<std::size_t>(index.column())];
    Cell entered;
    std::string refusal;
    if (!parseEntry(value.toString(), column.kind, column.name, &entered, &refusal)) {
        host_->message(refusal, grid_text::kTitle, Icon::Exclamation);
        return false;
    }
    const int row = index.row();
    if (isNewRowLine(row) && entered.isEmpty()) return false;  // nothing typed: no new row
    if (!isNewRowLine(row) && cell(row, index.column()) == entered) return true;
    if (editHook_) return editHook_(row, index.column(), entered);
    if (isNewRowLine(row)) {
        Row cells(table_->columns.size());
        cells[static_cast<std::size_t>(index.column())] = entered;
        std::int64_t key = 0;
        try {
            key = db_->appendRow(*table_, cells);
        } catch (const JobDatabaseError& e) {
            return writeFailed(e);
        }
        beginInsertRows({}, row + 1, row + 1);  // the new-row line moves down
        rows_.push_back(StoredRow{key, std::move(cells)});
        endInsertRows();
        emit dataChanged(this->index(row, 0), this->index(row, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, row, row + 1);
        emit recordsChanged();
        return true;
    }
    if (cell(row, index.column()) == entered) return true;
    try {
        db_->updateCell(*table_, rowKey(row), column.name, entered);
    } catch (const JobDatabaseError& e) {
        return writeFailed(e);
    }
    rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(index.column())] = entered;
    emit dataChanged(index, index);
    emit recordsChanged();
    return true;
}

bool JobTableModel::writeFailed(const JobDatabaseError& e) {
    host_->message(std::string(grid_text::kWriteFailed) + e.what(), grid_text::kTitle,
                   Icon::Exclamation);
    return false;
}

}  // namespace tarvel::app
