#include "prep/job_database.h"

#include <sqlite3.h>

#include "common/list_input.h"

namespace tarvel {

namespace {

std::string quoted(std::string_view identifier) { return "\"" + std::string(identifier) + "\""; }

std::string columnList(const JobTable& table) {
    std::string list;
    for (const JobColumn& c : table.columns) {
        if (!list.empty()) list += ", ";
        list += quoted(c.name);
    }
    return list;
}

// A prepared statement that finalizes itself.
class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }

    void bind(int index, const Cell& cell) {
        switch (cell.kind) {
            case Cell::Kind::Empty:
                sqlite3_bind_null(stmt_, index);
                break;
            case Cell::Kind::Number:
                sqlite3_bind_double(stmt_, index, cell.number);
                break;
            case Cell::Kind::Text:
                sqlite3_bind_text(stmt_, index, cell.text.data(),
                                  static_cast<int>(cell.text.size()), SQLITE_TRANSIENT);
                break;
        }
    }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

std::string trimmed(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return std::string(s.substr(b, e - b));
}

Cell readCell(sqlite3_stmt* stmt, int index) {
    switch (sqlite3_column_type(stmt, index)) {
        case SQLITE_INTEGER:
            return Cell::of(static_cast<double>(sqlite3_column_int64(stmt, index)));
        case SQLITE_FLOAT:
            return Cell::of(sqlite3_column_double(stmt, index));
        case SQLITE_TEXT: {
            const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
            const std::string text = trimmed(std::string_view(
                bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt, index))));
            if (text.empty()) return Cell::empty();
            double value = 0.0;
            if (parseNumber(text, value)) return Cell::of(value);
            return Cell::ofText(text);
        }
        case SQLITE_BLOB:
            return Cell::ofText("BLOB");
        default:
            return Cell::empty();
    }
}

}  // namespace

JobDatabase::~JobDatabase() { close(); }

JobDatabase::JobDatabase(JobDatabase&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)) {}

JobDatabase& JobDatabase::operator=(JobDatabase&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

void JobDatabase::close() {
    // close_v2 waits for a statement still open (a return from inside a
    // query) to be finalized, where a plain close would fail and leak.
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool JobDatabase::open(const std::string& path, std::string* error) {
    close();
    path_ = path;
    auto fail = [&](std::string text) {
        close();
        if (error) *error = std::move(text);
        return false;
    };
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        return fail("无法打开工程数据库 '" + path + "'！");
    }
    sqlite3_busy_timeout(db_, 2000);
    return checkSchema(path, error);
}

bool JobDatabase::openInMemory(const std::string& path, std::string* error) {
    close();
    path_ = path;
    sqlite3* file = nullptr;
    const bool read = sqlite3_open_v2(path.c_str(), &file, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
                      sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    bool copied = false;
    if (read) {
        if (sqlite3_backup* backup = sqlite3_backup_init(db_, "main", file, "main")) {
            copied = sqlite3_backup_step(backup, -1) == SQLITE_DONE;
            copied = sqlite3_backup_finish(backup) == SQLITE_OK && copied;
        }
    }
    sqlite3_close_v2(file);
    if (!copied) {
        close();
        if (error) *error = "无法打开工程数据库 '" + path + "'！";
        return false;
    }
    return checkSchema(path, error);
}

void JobDatabase::copyFrom(const JobDatabase& source) {
    if (!db_ || !source.db_) throw JobDatabaseError(engineError("写数据"));
    sqlite3_backup* backup = sqlite3_backup_init(db_, "main", source.db_, "main");
    if (!backup) throw JobDatabaseError(engineError("写数据"));
    const int step = sqlite3_backup_step(backup, -1);
    if (sqlite3_backup_finish(backup) != SQLITE_OK || step != SQLITE_DONE) {
        throw JobDatabaseError(engineError("写数据"));
    }
}

bool JobDatabase::checkSchema(const std::string& path, std::string* error) {
    auto fail = [&](std::string text) {
        close();
        if (error) *error = std::move(text);
        return false;
    };
    // The window relies on the template's schema: every table and column of
    // the catalogue must be there, under its exact name.
    for (const JobTable& table : jobTables()) {
        Statement info(db_, "PRAGMA table_info(" + quoted(table.name) + ")");
        if (!info.ok()) return fail("文件 '" + path + "' 不是工程数据库！");
        std::vector<std::string> present;
        int rc = 0;
        while ((rc = sqlite3_step(info.get())) == SQLITE_ROW) {
            present.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1)));
        }
        if (rc != SQLITE_DONE) return fail("文件 '" + path + "' 不是工程数据库！");
        if (present.empty()) {
            return fail("工程数据库 '" + path + "' 缺少数据表 '" + std::string(table.name) + "'！");
        }
        for (const JobColumn& column : table.columns) {
            bool found = false;
            for (const std::string& p : present) found = found || p == column.name;
            if (!found) {
                return fail("工程数据库 '" + path + "' 的数据表 '" + std::string(table.name) +
                            "' 缺少字段 '" + std::string(column.name) + "'！");
            }
        }
    }
    return true;
}

std::string JobDatabase::engineError(const std::string& what) const {
    return "工程数据库 '" + path_ + "' " + what + "出错：" + (db_ ? sqlite3_errmsg(db_) : "未打开");
}

void JobDatabase::execute(const std::string& sql) const {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    const std::string text = message ? message : "";
    sqlite3_free(message);
    if (rc != SQLITE_OK) throw JobDatabaseError("工程数据库 '" + path_ + "' 写入出错：" + text);
}

std::vector<StoredRow> JobDatabase::rows(const JobTable& table) const {
    if (!db_) throw JobDatabaseError(engineError("读数据"));
    Statement select(db_, "SELECT rowid, " + columnList(table) + " FROM " + quoted(table.name) +
                              " ORDER BY rowid");
    if (!select.ok())
        throw JobDatabaseError(engineError("读数据表 '" + std::string(table.name) + "' "));
    std::vector<StoredRow> result;
    int rc = 0;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        StoredRow row;
        row.key = sqlite3_column_int64(select.get(), 0);
        for (int i = 0; i < static_cast<int>(table.columns.size()); ++i) {
            row.cells.push_back(readCell(select.get(), i + 1));
        }
        result.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        throw JobDatabaseError(engineError("读数据表 '" + std::string(table.name) + "' "));
    return result;
}

std::int64_t JobDatabase::appendRow(const JobTable& table, const Row& cells) {
    if (!db_) throw JobDatabaseError(engineError("写数据"));
    std::string values;
    for (std::size_t i = 0; i < table.columns.size(); ++i) values += i == 0 ? "?" : ", ?";
    Statement insert(db_, "INSERT INTO " + quoted(table.name) + " (" + columnList(table) +
                              ") VALUES (" + values + ")");
    if (!insert.ok())
        throw JobDatabaseError(engineError("写数据表 '" + std::string(table.name) + "' "));
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        insert.bind(static_cast<int>(i) + 1, i < cells.size() ? cells[i] : Cell::empty());
    }
    if (sqlite3_step(insert.get()) != SQLITE_DONE) {
        throw JobDatabaseError(engineError("写数据表 '" + std::string(table.name) + "' "));
    }
    return sqlite3_last_insert_rowid(db_);
}

void JobDatabase::updateCell(const JobTable& table, std::int64_t key, std::string_view column,
                             const Cell& cell) {
    if (!db_) throw JobDatabaseError(engineError("写数据"));
    if (table.columnIndex(column) < 0) {
        throw JobDatabaseError("数据表 '" + std::string(table.name) + "' 没有字段 '" +
                               std::string(column) + "'");
    }
    Statement update(
        db_, "UPDATE " + quoted(table.name) + " SET " + quoted(column) + " = ? WHERE rowid = ?");
    if (!update.ok())
        throw JobDatabaseError(engineError("写数据表 '" + std::string(table.name) + "' "));
    update.bind(1, cell);
    sqlite3_bind_int64(update.get(), 2, key);
    if (sqlite3_step(update.get()) != SQLITE_DONE) {
        throw JobDatabaseError(engineError("写数据表 '" + std::string(table.name) + "' "));
    }
}

void JobDatabase::deleteRow(const JobTable& table, std::int64_t key) {
    if (!db_) throw JobDatabaseError(engineError("删除记录"));
    Statement erase(db_, "DELETE FROM " + quoted(table.name) + " WHERE rowid = ?");
    if (!erase.ok()) throw JobDatabaseError(engineError("删除记录"));
    sqlite3_bind_int64(erase.get(), 1, key);
    if (sqlite3_step(erase.get()) != SQLITE_DONE) throw JobDatabaseError(engineError("删除记录"));
}

std::int64_t JobDatabase::insertRowAt(const JobTable& table, std::int64_t key, const Row& cells) {
    if (!db_) throw JobDatabaseError(engineError("写数据"));
    Transaction transaction(*this);
    // Keys are unique at every step of an UPDATE, so the later rows move in
    // two steps: first to negative keys (no stored row has one), then to
    // their old key plus one.
    const std::string name = quoted(table.name);
    const std::string at = std::to_string(key);
    execute("UPDATE " + name + " SET rowid = -rowid - 1 WHERE rowid >= " + at);
    execute("UPDATE " + name + " SET rowid = -rowid WHERE rowid < 0");
    std::string values;
    for (std::size_t i = 0; i < table.columns.size(); ++i) values += ", ?";
    Statement insert(db_, "INSERT INTO " + name + " (rowid, " + columnList(table) + ") VALUES (?" +
                              values + ")");
    if (!insert.ok())
        throw JobDatabaseError(engineError("写数据表 '" + std::string(table.name) + "' "));
    sqlite3_bind_int64(insert.get(), 1, key);
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        insert.bind(static_cast<int>(i) + 2, i < cells.size() ? cells[i] : Cell::empty());
    }
    if (sqlite3_step(insert.get()) != SQLITE_DONE) {
        throw JobDatabaseError(engineError("写数据表 '" + std::string(table.name) + "' "));
    }
    transaction.commit();
    return key;
}

JobDatabase::Transaction::Transaction(JobDatabase& db) : db_(db) {
    db_.execute("SAVEPOINT tarvel_edit");
}

JobDatabase::Transaction::~Transaction() {
    if (done_ || !db_.db_) return;
    char* ignored = nullptr;
    sqlite3_exec(db_.db_, "ROLLBACK TO tarvel_edit; RELEASE tarvel_edit", nullptr, nullptr, &ignored);
    sqlite3_free(ignored);
}

void JobDatabase::Transaction::commit() {
    db_.execute("RELEASE tarvel_edit");
    done_ = true;
}

void JobDatabase::replaceContent(std::span<const TableContent> content) {
    if (!db_) throw JobDatabaseError(engineError("写数据"));
    execute("BEGIN IMMEDIATE");
    try {
        for (const auto& [table, rows] : content) {
            execute("DELETE FROM " + quoted(table->name));
            for (const Row& row : rows) appendRow(*table, row);
        }
        execute("COMMIT");
    } catch (...) {
        char* ignored = nullptr;
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, &ignored);
        sqlite3_free(ignored);
        throw;
    }
}

}  // namespace tarvel
