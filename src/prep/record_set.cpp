#include "prep/record_set.h"

namespace tarvel {

RecordSet::RecordSet(JobDatabase& db, const JobTable& table) : db_(&db), table_(&table) {
    refresh();
}

void RecordSet::refresh() {
    rows_ = db_->rows(*table_);
    position_ = 0;
    onDeleted_ = false;
}

int RecordSet::absolutePosition() const { return hasCurrent() ? position_ : -1; }

void RecordSet::moveFirst() {
    position_ = 0;
    onDeleted_ = false;
}

void RecordSet::moveNext() {
    // After a deletion the following record already stands at this position.
    if (onDeleted_) {
        onDeleted_ = false;
        return;
    }
    if (position_ < recordCount()) ++position_;
}

void RecordSet::moveLast() {
    position_ = recordCount() > 0 ? recordCount() - 1 : 0;
    onDeleted_ = false;
}

Cell RecordSet::value(std::string_view column) const {
    const int index = table_->columnIndex(column);
    if (index < 0) {
        throw JobDatabaseError("数据表 '" + std::string(table_->name) + "' 没有字段 '" +
                               std::string(column) + "'");
    }
    if (!hasCurrent()) return Cell::empty();
    return rows_[static_cast<std::size_t>(position_)].cells[static_cast<std::size_t>(index)];
}

bool RecordSet::deleteCurrent() {
    if (!hasCurrent()) return false;
    db_->deleteRow(*table_, rows_[static_cast<std::size_t>(position_)].key);
    rows_.erase(rows_.begin() + position_);
    onDeleted_ = true;
    return true;
}

std::string RecordSet::caption() const {
    return std::string(table_->captionPrefix) + std::to_string(absolutePosition() + 1) + " / " +
           std::to_string(recordCount()) + ")";
}

bool deleteRecordCommand(RecordSet& records, Host& host) {
    if (!records.hasCurrent()) {
        host.message(record_text::kNoRecord, record_text::kNoticeTitle, Icon::Information);
        return false;
    }
    if (host.ask(record_text::kDeleteQuestion, record_text::kDeleteTitle, Buttons::YesNo,
                 Icon::Information) != Answer::Yes) {
        return false;
    }
    records.deleteCurrent();
    if (records.eof()) {
        records.moveLast();
        host.message(record_text::kLastRecord, record_text::kNoticeTitle, Icon::Information);
    } else {
        records.moveNext();
    }
    return true;
}

}  // namespace tarvel
