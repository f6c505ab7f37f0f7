// Protects the job database: the template's schema, rows in entry order, cells
// read by name, and the record operations of the data-preparation window.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <utility>
#include <vector>

#include "prep/file_choice.h"
#include "prep/job_template.h"
#include "prep/record_set.h"
#include "prep_test_support.h"
#include "support/recording_host.h"

namespace tarvel {
namespace {

using test::kEmpty;

// Name and declared type of every column of a table in the template, in order.
std::vector<std::pair<std::string, std::string>> declaredColumns(const std::string& path,
                                                                 const std::string& table) {
    sqlite3* db = nullptr;
    std::vector<std::pair<std::string, std::string>> columns;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        const std::string sql = "PRAGMA table_info(\"" + table + "\")";
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
            columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)),
                                 reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)));
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return columns;
}

using Columns = std::vector<std::pair<std::string, std::string>>;

TEST(JobDatabase, TemplateHoldsTheTwelveTablesWithTheirColumnsAndTypes) {
    const std::string path = test::builtTemplatePath();
    const std::string I = "INTEGER";
    const std::string R = "REAL";
    const std::vector<std::pair<std::string, Columns>> expected = {
        {"WEIGHT", {{"K", I}}},
        {"STIFFNESS", {{"ALFI", R}, {"ALFF", R}}},
        {"BARSEC", {{"Bi", R}, {"Hi", R}}},
        {"CONCRATE", {{"ICi", I}}},
        {"POINT", {{"IPi", I}, {"IXi", I}, {"IYi", I}, {"IFi", I}, {"Xi", R}, {"Yi", R}}},
        {"BEAM", {{"Ii", I}, {"Ji", I}, {"KSECi", I}, {"KCi", I}}},
        {"COLUMN", {{"Ii", I}, {"Ji", I}, {"KSECi", I}, {"KCi", I}, {"ALFi", R}}},
        {"DLOAD", {{"IBARi", I}, {"ICi", I}, {"Qi", R}, {"Ai", R}, {"Bi", R}}},
        {"LLOAD", {{"IBARi", I}, {"ICi", I}, {"Qi", R}, {"Ai", R}, {"Bi", R}}},
        {"WLOAD", {{"IBARi", I}, {"ICi", I}, {"Qi", R}, {"Ai", R}, {"Bi", R}}},
        {"SEISMIC1",
         {{"KCLASS", I}, {"K0", I}, {"TG", R}, {"ALF1", R}, {"ALF2", R}, {"NN", I}, {"ADJUST", R}}},
        {"SEISMIC2", {{"NRN", I}, {"Mi", I}, {"AWi", R}}},
    };
    ASSERT_EQ(jobTables().size(), expected.size());
    for (std::size_t t = 0; t < expected.size(); ++t) {
        EXPECT_EQ(declaredColumns(path, expected[t].first), expected[t].second)
            << expected[t].first;
        // The catalogue the program reads by must say the same.
        const JobTable& table = jobTables()[t];
        EXPECT_EQ(table.name, expected[t].first);
        EXPECT_EQ(table.control, "Data" + std::to_string(t + 1));
        ASSERT_EQ(table.columns.size(), expected[t].second.size()) << table.name;
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            EXPECT_EQ(table.columns[c].name, expected[t].second[c].first);
            EXPECT_EQ(table.columns[c].kind == ColumnKind::Whole,
                      expected[t].second[c].second == I);
        }
    }
}

TEST(JobDatabase, RowsComeBackInEntryOrderAfterDeletions) {
    test::ScratchFolder folder;
    JobDatabase db = test::newJob(folder);
    const JobTable& sections = jobTable("BARSEC");
    test::fill(db, "BARSEC", {{0.3, 0.6}, {0.25, 0.5}, {0.4, 0.4}});
    db.deleteRow(sections, db.rows(sections)[1].key);
    test::fill(db, "BARSEC", {{0.5, 0.7}});
    const std::vector<StoredRow> rows = db.rows(sections);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].cells, (Row{Cell::of(0.3), Cell::of(0.6)}));
    EXPECT_EQ(rows[1].cells, (Row{Cell::of(0.4), Cell::of(0.4)}));
    EXPECT_EQ(rows[2].cells, (Row{Cell::of(0.5), Cell::of(0.7)}));
}

// A row put in above another keeps the display order in the file: the rows
// from there on move one key on; a group of changes left without commit is
// taken back whole.
TEST(JobDatabase, RowsPutInAboveAndChangesTakenBackTogether) {
    test::ScratchFolder folder;
    JobDatabase db = test::newJob(folder);
    const JobTable& sections = jobTable("BARSEC");
    test::fill(db, "BARSEC", {{0.3, 0.6}, {0.25, 0.5}, {0.4, 0.4}});
    std::vector<StoredRow> rows = db.rows(sections);
    db.deleteRow(sections, rows[1].key);  // a gap in the keys
    db.insertRowAt(sections, rows[1].key, {Cell::of(0.2), Cell::of(0.2)});   // into the gap
    db.insertRowAt(sections, rows[0].key, {Cell::of(0.1), Cell::empty()});   // above the first
    rows = db.rows(sections);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].cells, (Row{Cell::of(0.1), Cell::empty()}));
    EXPECT_EQ(rows[1].cells, (Row{Cell::of(0.3), Cell::of(0.6)}));
    EXPECT_EQ(rows[2].cells, (Row{Cell::of(0.2), Cell::of(0.2)}));
    EXPECT_EQ(rows[3].cells, (Row{Cell::of(0.4), Cell::of(0.4)}));

    try {
        JobDatabase::Transaction transaction(db);
        db.deleteRow(sections, rows[0].key);
        db.updateCell(sections, rows[1].key, "Bi", Cell::of(9));
        db.updateCell(sections, rows[1].key, "NOSUCH", Cell::of(9));  // fails: no commit
        transaction.commit();
    } catch (const JobDatabaseError&) {
    }
    EXPECT_EQ(db.rows(sections).size(), 4u);
    EXPECT_EQ(db.rows(sections)[1].cells[0], Cell::of(0.3));
    {
        JobDatabase::Transaction transaction(db);
        db.deleteRow(sections, rows[0].key);
        transaction.commit();
    }
    EXPECT_EQ(db.rows(sections).size(), 3u);
}

TEST(JobDatabase, CellsAreReadByNameAsNumbersTextOrEmpty) {
    test::ScratchFolder folder;
    JobDatabase db = test::newJob(folder);
    const JobTable& points = jobTable("POINT");
    test::fill(db, "POINT", {{1, 0, 0, 0, 2.5, kEmpty}});
    const std::int64_t key = db.rows(points)[0].key;
    db.updateCell(points, key, "IXi", Cell::ofText(" 12.5 "));
    db.updateCell(points, key, "IYi", Cell::ofText("abc"));
    db.updateCell(points, key, "IFi", Cell::ofText("   "));
    RecordSet records(db, points);
    EXPECT_EQ(records.value("Xi"), Cell::of(2.5));
    EXPECT_EQ(records.value("Yi"), Cell::empty());
    EXPECT_EQ(records.value("IXi"), Cell::of(12.5));
    EXPECT_EQ(records.value("IYi"), Cell::ofText("abc"));
    EXPECT_EQ(records.value("IFi"), Cell::empty());
    EXPECT_THROW(records.value("Zi"), JobDatabaseError);
}

TEST(JobDatabase, OpenRefusesFilesThatAreNotJobs) {
    test::ScratchFolder folder;
    JobDatabase db;
    std::string error;
    const std::string text = folder.path("TEXT.mdb");
    test::writeFile(text, "WEIGHT\r\n 1 \r\n");
    EXPECT_FALSE(db.open(text, &error));
    EXPECT_EQ(error, "文件 '" + text + "' 不是工程数据库！");

    EXPECT_FALSE(db.open(folder.path("NONE.mdb"), &error));
    EXPECT_EQ(error, "无法打开工程数据库 '" + folder.path("NONE.mdb") + "'！");

    // A database with the tables but one column misspelt.
    const std::string partial = folder.path("PART.mdb");
    JobDatabase job = test::newJob(folder, "PART.mdb");
    job.close();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(partial.c_str(), &raw), SQLITE_OK);
    sqlite3_exec(raw,
                 "DROP TABLE \"POINT\"; CREATE TABLE \"POINT\" (\"IPi\" INTEGER, \"IXi\" INTEGER,"
                 " \"IYi\" INTEGER, \"IFi\" INTEGER, \"X\" REAL, \"Yi\" REAL);",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(raw, "DROP TABLE \"SEISMIC2\";", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    EXPECT_FALSE(db.open(partial, &error));
    EXPECT_EQ(error, "工程数据库 '" + partial + "' 的数据表 'POINT' 缺少字段 'Xi'！");
}

class RecordOperations : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::newJob(folder);
        test::fill(db, "POINT",
                   {{1, 0, 0, 0, 0, 0},
                    {2, 0, 0, 0, 6, 0},
                    {3, 1, 2, 3, 0, 4.5},
                    {4, 1, 4, 5, 6, 4.5},
                    {5, 6, 7, 8, 3, 8}});
    }
    int currentNode(const RecordSet& r) const { return static_cast<int>(r.value("IPi").number); }

    test::ScratchFolder folder;
    JobDatabase db;
    RecordingHost host;
};

TEST_F(RecordOperations, CaptionShowsPositionAndCount) {
    RecordSet records(db, jobTable("POINT"));
    EXPECT_EQ(records.caption(), "节点数据 (#Record： 1 / 5)");
    records.moveNext();
    records.moveNext();
    EXPECT_EQ(records.caption(), "节点数据 (#Record： 3 / 5)");
    records.moveLast();
    EXPECT_EQ(records.caption(), "节点数据 (#Record： 5 / 5)");
    RecordSet empty(db, jobTable("SEISMIC2"));
    EXPECT_EQ(empty.caption(), "地震数据 (#Record： 0 / 0)");
}

TEST_F(RecordOperations, DeletingAMiddleRecordMovesToTheOneAfterIt) {
    RecordSet records(db, jobTable("POINT"));
    records.moveNext();
    records.moveNext();
    EXPECT_TRUE(deleteRecordCommand(records, host));
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, "您真的要删除这个记录吗？");
    EXPECT_EQ(host.questions[0].title, "删除记录");
    // Yes/No with the information icon, unlike the file commands' Yes/No/Cancel questions.
    EXPECT_EQ(host.questionButtons[0], Buttons::YesNo);
    EXPECT_EQ(host.questions[0].icon, Icon::Information);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(currentNode(records), 4);
    EXPECT_EQ(records.caption(), "节点数据 (#Record： 3 / 4)");
    EXPECT_EQ(db.rows(jobTable("POINT")).size(), 4u);
}

TEST_F(RecordOperations, DeletingTheLastRecordMovesToTheNewLastWithANotice) {
    RecordSet records(db, jobTable("POINT"));
    records.moveLast();
    EXPECT_TRUE(deleteRecordCommand(records, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "已到尾记录！");
    EXPECT_EQ(host.messages[0].title, "提示！");
    EXPECT_EQ(currentNode(records), 4);
    EXPECT_EQ(records.caption(), "节点数据 (#Record： 4 / 4)");
}

TEST_F(RecordOperations, AnsweringNoDeletesNothing) {
    RecordSet records(db, jobTable("POINT"));
    records.moveNext();
    host.answers = {Answer::No, Answer::Cancel};
    EXPECT_FALSE(deleteRecordCommand(records, host));
    EXPECT_FALSE(deleteRecordCommand(records, host));
    EXPECT_EQ(db.rows(jobTable("POINT")).size(), 5u);
    EXPECT_EQ(currentNode(records), 2);
}

TEST_F(RecordOperations, DeletingInAnEmptyTableChangesNothing) {
    RecordSet records(db, jobTable("BEAM"));
    EXPECT_FALSE(deleteRecordCommand(records, host));
    EXPECT_TRUE(host.questions.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "没有可删除的记录！");
    EXPECT_EQ(records.recordCount(), 0);
    EXPECT_EQ(db.rows(jobTable("POINT")).size(), 5u);
}

TEST_F(RecordOperations, DeletingEveryRecordEmptiesTheTable) {
    RecordSet records(db, jobTable("POINT"));
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(deleteRecordCommand(records, host));
    EXPECT_EQ(records.recordCount(), 0);
    EXPECT_EQ(records.caption(), "节点数据 (#Record： 0 / 0)");
    EXPECT_FALSE(deleteRecordCommand(records, host));
    EXPECT_TRUE(db.rows(jobTable("POINT")).empty());
}

TEST(NewJob, CopiesTheTemplateAndAsksBeforeReplacing) {
    test::ScratchFolder folder;
    RecordingHost host;
    const std::string job = folder.path("OLD.mdb");
    test::writeFile(job, "old job");
    host.answers = {Answer::No};
    EXPECT_EQ(createJobDatabase(test::builtTemplatePath(), job, host), PrepOutcome::Declined);
    EXPECT_EQ(test::readFile(job), "old job");
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, "文件 '" + job + "' 已经存在,要用新工程替换它吗？");

    EXPECT_EQ(createJobDatabase(test::builtTemplatePath(), job, host), PrepOutcome::Done);
    EXPECT_EQ(test::readFile(job), test::readFile(test::builtTemplatePath()));
    JobDatabase db;
    EXPECT_TRUE(db.open(job));
}

TEST(NewJob, EmptyNameOrMissingTemplateIsRefused) {
    test::ScratchFolder folder;
    RecordingHost host;
    EXPECT_EQ(createJobDatabase(test::builtTemplatePath(), "", host), PrepOutcome::NoFile);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "文件名还没有命名,请给定文件名！");
    EXPECT_EQ(createJobDatabase(folder.path("NO.MDB"), folder.path("JOB.mdb"), host),
              PrepOutcome::Refused);
    EXPECT_FALSE(std::filesystem::exists(folder.path("JOB.mdb")));
}

TEST(FileDisplay, ShowsTheTextOrEndsWithAMessage) {
    test::ScratchFolder folder;
    RecordingHost host;
    const std::string file = folder.path("A.TVL");
    test::writeFile(file, "WEIGHT\r\n 1 \r\n\r\n");
    EXPECT_TRUE(showFileInView(file, host));
    EXPECT_EQ(host.viewTexts, std::vector<std::string>{"WEIGHT\r\n 1 \r\n\r\n"});
    EXPECT_EQ(host.statusTexts, std::vector<std::string>{"文件名：" + file});

    EXPECT_FALSE(showFileInView(folder.path("NONE.TVL"), host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "文件 '" + folder.path("NONE.TVL") + "' 不能打开,无法显示！");
    EXPECT_EQ(host.viewTexts.size(), 1u);
}

}  // namespace
}  // namespace tarvel
