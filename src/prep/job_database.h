#pragma once
// A job database: the SQLite file (kept under the ".mdb" name the users know)
// that holds the twelve input tables of one frame. Rows are returned in entry
// order; a cell is read by column name and may be empty.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "prep/job_tables.h"

struct sqlite3;

namespace tarvel {

// One cell of a table. Text that reads as a number is taken as that number;
// blank text counts as empty.
struct Cell {
    enum class Kind { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0.0;
    std::string text;  // the stored text of a Text cell

    static Cell empty() { return {}; }
    static Cell of(double value) { return {Kind::Number, value, {}}; }
    static Cell ofText(std::string text) { return {Kind::Text, 0.0, std::move(text)}; }
    bool isEmpty() const { return kind == Kind::Empty; }
    bool operator==(const Cell&) const = default;
};

using Row = std::vector<Cell>;  // cells in the table's column order

struct StoredRow {
    std::int64_t key = 0;  // the hidden entry-order key
    Row cells;
};

// A failure of the database engine while a table is read or changed.
class JobDatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class JobDatabase {
  public:
    JobDatabase() = default;
    ~JobDatabase();
    JobDatabase(JobDatabase&& other) noexcept;
    JobDatabase& operator=(JobDatabase&& other) noexcept;
    JobDatabase(const JobDatabase&) = delete;
    JobDatabase& operator=(const JobDatabase&) = delete;

    // Opens an existing job file and checks that it holds the twelve tables
    // with their columns. On failure returns false and sets *error to a
    // message in the program's words.
    bool open(const std::string& path, std::string* error = nullptr);
    // Opens a copy of the job file at `path` held in memory, checked as open()
    // checks it: changes never reach the file. For scratch work on a job.
    bool openInMemory(const std::string& path, std::string* error = nullptr);
    // Makes this database's whole content that of `source` (both open).
    // Throws JobDatabaseError.
    void copyFrom(const JobDatabase& source);
    bool isOpen() const { return db_ != nullptr; }
    const std::string& path() const { return path_; }
    void close();

    // The rows of a table in entry order. Throws JobDatabaseError.
    std::vector<StoredRow> rows(const JobTable& table) const;
    // Appends a row (cells in column order, missing cells empty); returns its key.
    std::int64_t appendRow(const JobTable& table, const Row& cells);
    void updateCell(const JobTable& table, std::int64_t key, std::string_view column,
                    const Cell& cell);
    void deleteRow(const JobTable& table, std::int64_t key);
    // Puts a row at the place of `key` in entry order: when a row holds that
    // key, it and every later row move one key on (all in one transaction,
    // so a crash leaves either the old order or the new one). Returns `key`.
    std::int64_t insertRowAt(const JobTable& table, std::int64_t key, const Row& cells);

    // Groups several changes so that they are written all or nothing: the
    // changes become durable at commit(); a scope left without commit()
    // (an exception) takes them all back. Scopes nest (SQLite savepoints).
    class Transaction {
      public:
        explicit Transaction(JobDatabase& db);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

      private:
        JobDatabase& db_;
        bool done_ = false;
    };

    // Replaces the whole content of the listed tables in one transaction:
    // either every table gets its new rows or the database stays as it was.
    using TableContent = std::pair<const JobTable*, std::vector<Row>>;
    void replaceContent(std::span<const TableContent> content);

  private:
    bool checkSchema(const std::string& path, std::string* error);
    void execute(const std::string& sql) const;
    std::string engineError(const std::string& what) const;

    sqlite3* db_ = nullptr;
    std::string path_;
};

}  // namespace tarvel
