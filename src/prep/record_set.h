#pragma once
// The record set of one data control: the rows of one table in entry order
// with a current record, the way the data-preparation window navigates,
// reads and deletes them. The desktop window wraps one per tab.

#include <string>
#include <string_view>
#include <vector>

#include "common/host.h"
#include "prep/job_database.h"

namespace tarvel {

class RecordSet {
  public:
    RecordSet(JobDatabase& db, const JobTable& table);

    const JobTable& table() const { return *table_; }

    // Reads the rows again; the first one becomes current.
    void refresh();

    int recordCount() const { return static_cast<int>(rows_.size()); }
    // 0-based position of the current record; -1 when there is none.
    int absolutePosition() const;
    // Past the last record (always so for an empty table).
    bool eof() const { return position_ >= recordCount(); }
    bool hasCurrent() const { return !eof() && !onDeleted_; }

    void moveFirst();
    void moveNext();
    void moveLast();

    // The cell of the current record in that column; empty when there is no
    // current record. Throws JobDatabaseError for a column the table lacks.
    Cell value(std::string_view column) const;

    // Deletes the current record. The deleted record stays current (there is
    // nothing to read there) until the next move, which goes to the record
    // that followed it. False, and nothing changed, when there is no current record.
    bool deleteCurrent();

    // "节点数据 (#Record： 3 / 5)": prefix, position + 1, " / ", record count, ")".
    std::string caption() const;

  private:
    JobDatabase* db_;
    const JobTable* table_;
    std::vector<StoredRow> rows_;
    int position_ = 0;
    bool onDeleted_ = false;
};

// The delete button of a tab: asks, deletes the current record on Yes, then
// moves to the next record, or to the last one with a notice when the
// deleted record was the last. A table without a current record is left as
// it is. True when a record was deleted.
bool deleteRecordCommand(RecordSet& records, Host& host);

namespace record_text {
inline constexpr const char* kDeleteQuestion = "您真的要删除这个记录吗？";
inline constexpr const char* kDeleteTitle = "删除记录";
inline constexpr const char* kLastRecord = "已到尾记录！";
inline constexpr const char* kNoRecord = "没有可删除的记录！";
inline constexpr const char* kNoticeTitle = "提示！";
}  // namespace record_text

}  // namespace tarvel
