// The data-preparation window as a user meets it: opened by "new project",
// cells typed into the grids and read back from the job file through a
// second connection, refused cells, empty cells, two equal rows edited and
// deleted one at a time, position captions, the seismic parameter boxes, and
// the generation command.

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <unistd.h>

#include "FrmInput.h"
#include "FrmXTMM.h"
#include "JobTableModel.h"
#include "MDITarvel.h"
#include "app_fixture.h"
#include "input_driving.h"
#include "common/file_io.h"
#include "desktop_host.h"
#include "prep/data_file_generation.h"
#include "prep/job_import.h"

using tarvel::Answer;
using tarvel::Cell;
using tarvel::Icon;
using tarvel::app::testing::AppFixture;
using tarvel::app::testing::q;
using namespace tarvel::app::testing;

namespace tarvel::app {

namespace {

// Types into a bound box (a drop-down's own line or a text box) and presses Enter.
void typeBox(FrmInput* w, const char* name, const QString& text) {
    QLineEdit* edit = w->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (auto* combo = w->findChild<QComboBox*>(QString::fromLatin1(name))) edit = combo->lineEdit();
    QVERIFY2(edit != nullptr, name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();
}

// The stored rows of a table, read through a connection of their own.
std::vector<Row> stored(const QString& path, std::string_view table) {
    JobDatabase db;
    if (!db.open(us(path))) return {};
    std::vector<Row> rows;
    for (StoredRow& r : db.rows(jobTable(table))) rows.push_back(std::move(r.cells));
    return rows;
}

}  // namespace

class TestInput : public QObject {
    Q_OBJECT
private slots:
    void tabsCaptionsAndButtons() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        QVERIFY(w != nullptr);
        QCOMPARE(w->windowTitle(), QStringLiteral("原始数据文件生成器 Input"));
        const QStringList captions = {"自重计算", "刚度系数", "杆件截面", "强度等级", "节点数据", "梁单元",
                                      "柱单元",   "恒载数据", "活载数据", "风载数据", "地震数据", "文件生成"};
        QCOMPARE(w->tabs()->count(), 12);
        for (int i = 0; i < 12; ++i) QCOMPARE(w->tabs()->tabText(i), captions[i]);
        QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("Command10"))->toolTip(),
                 QStringLiteral("删除制定的记录"));
        QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("Command11"))->text(),
                 QStringLiteral("地震参数删除(&L)"));
        QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("CmdWjzh"))->toolTip(),
                 QStringLiteral("把FRM文件转换成TVL文件"));
        QCOMPARE(w->caption("POINT"), QStringLiteral("节点数据 (#Record： 0 / 0)"));

        // Five nodes typed; the third current.
        QTableView* points = w->grid("POINT");
        for (int r = 0; r < 5; ++r) typeCell(points, r, 0, QString::number(r + 1));
        QCOMPARE(stored(f.jobFile("JOB.MDB"), "POINT").size(), std::size_t{5});
        points->setCurrentIndex(points->model()->index(2, 3));
        QCOMPARE(w->caption("POINT"), QStringLiteral("节点数据 (#Record： 3 / 5)"));

        // Nothing to delete in an empty table.
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("没有可删除的记录！"));
        QVERIFY(f.host.questions.empty());
    }

    void typedCellsKeepTheirValue() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        const QString job = f.jobFile("JOB.MDB");

        // Full single precision, not a spin box's two decimals.
        QTableView* sections = w->grid("BARSEC");
        typeCell(sections, 0, 0, QStringLiteral("0.0025"));
        typeCell(sections, 0, 1, QStringLiteral("abc"));  // refused, naming the column
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("Hi 列只能输入数字：abc"));
        QCOMPARE(f.host.messages.back().icon, Icon::Exclamation);
        typeCell(sections, 0, 1, QStringLiteral("0.123456789"));  // more digits than a Single holds
        std::vector<Row> rows = stored(job, "BARSEC");
        QCOMPARE(rows.size(), std::size_t{1});
        QCOMPARE(rows[0][0], Cell::of(0.0025));
        QCOMPARE(static_cast<float>(rows[0][1].number), 0.123456789f);
        QCOMPARE(sections->model()->index(0, 0).data().toString(), QStringLiteral("0.0025"));

        // Whole columns take 16-bit integers only.
        QTableView* points = w->grid("POINT");
        const std::size_t before = f.host.messages.size();
        typeCell(points, 0, 0, QStringLiteral("40000"));
        typeCell(points, 0, 0, QStringLiteral("1.5"));
        QCOMPARE(f.host.messages.size(), before + 2);
        QCOMPARE(q(f.host.messages.back().text),
                 QStringLiteral("IPi 列只能输入 -32768 至 32767 之间的整数：1.5"));
        QVERIFY(stored(job, "POINT").empty());
        typeCell(points, 0, 0, QStringLiteral("-32768"));
        typeCell(points, 0, 4, QStringLiteral("6.6"));
        rows = stored(job, "POINT");
        QCOMPARE(rows.size(), std::size_t{1});
        QCOMPARE(rows[0][0], Cell::of(-32768));
        QCOMPARE(rows[0][4], Cell::of(6.6));
        // The other cells of the row were never typed: they stay empty, and a
        // cleared cell becomes empty again.
        QVERIFY(rows[0][1].isEmpty() && rows[0][5].isEmpty());
        typeCell(points, 0, 4, QString());
        QVERIFY(stored(job, "POINT")[0][4].isEmpty());

        // A mass spread over three nodes: continuation rows with empty NRN and AWi.
        QTableView* masses = w->grid("SEISMIC2");
        typeCell(masses, 0, 0, QStringLiteral("4"));
        typeCell(masses, 0, 1, QStringLiteral("7"));
        typeCell(masses, 1, 1, QStringLiteral("8"));
        typeCell(masses, 2, 1, QStringLiteral("9"));
        typeCell(masses, 2, 2, QStringLiteral("150.5"));
        rows = stored(job, "SEISMIC2");
        QCOMPARE(rows.size(), std::size_t{3});
        QVERIFY(rows[0][2].isEmpty() && rows[1][0].isEmpty() && rows[1][2].isEmpty() &&
                rows[2][0].isEmpty());
        QCOMPARE(rows[2][1], Cell::of(9));
    }

    void equalRowsAreEditedAndDeletedOneAtATime() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        const QString job = f.jobFile("JOB.MDB");
        QTableView* grades = w->grid("CONCRATE");
        typeCell(grades, 0, 0, QStringLiteral("30"));
        typeCell(grades, 1, 0, QStringLiteral("30"));
        typeCell(grades, 2, 0, QStringLiteral("30"));
        typeCell(grades, 1, 0, QStringLiteral("25"));  // the second only
        std::vector<Row> rows = stored(job, "CONCRATE");
        QCOMPARE(rows.size(), std::size_t{3});
        QCOMPARE(rows[0][0], Cell::of(30));
        QCOMPARE(rows[1][0], Cell::of(25));
        QCOMPARE(rows[2][0], Cell::of(30));

        // No keeps the row; Yes deletes the current row only, the next becomes current.
        QPushButton* del = w->findChild<QPushButton*>(QStringLiteral("Command4"));
        grades->setCurrentIndex(grades->model()->index(0, 0));
        f.host.answers = {Answer::No};
        QTest::mouseClick(del, Qt::LeftButton);
        QCOMPARE(q(f.host.questions.back().text), QStringLiteral("您真的要删除这个记录吗？"));
        QCOMPARE(q(f.host.questions.back().title), QStringLiteral("删除记录"));
        QCOMPARE(f.host.questionButtons.back(), Buttons::YesNo);
        QCOMPARE(stored(job, "CONCRATE").size(), std::size_t{3});
        QTest::mouseClick(del, Qt::LeftButton);
        rows = stored(job, "CONCRATE");
        QCOMPARE(rows.size(), std::size_t{2});
        QCOMPARE(rows[0][0], Cell::of(25));
        QCOMPARE(rows[1][0], Cell::of(30));
        QCOMPARE(w->caption("CONCRATE"), QStringLiteral("强度等级 (#Record： 1 / 2)"));

        // Deleting the last: the one before becomes current, with the notice.
        grades->setCurrentIndex(grades->model()->index(1, 0));
        const std::size_t before = f.host.messages.size();
        QTest::mouseClick(del, Qt::LeftButton);
        QCOMPARE(f.host.messages.size(), before + 1);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("已到尾记录！"));
        QCOMPARE(q(f.host.messages.back().title), QStringLiteral("提示！"));
        rows = stored(job, "CONCRATE");
        QCOMPARE(rows.size(), std::size_t{1});
        QCOMPARE(rows[0][0], Cell::of(25));
        QCOMPARE(w->caption("CONCRATE"), QStringLiteral("强度等级 (#Record： 1 / 1)"));
    }

    void seismicBoxesAndGeneration() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        const QString job = f.jobFile("JOB.MDB");
        auto* kclass = w->findChild<QComboBox*>(QStringLiteral("CboKCLASS"));
        QCOMPARE(kclass->count(), 5);
        QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("CboK0"))->count(), 10);
        auto* tg = w->findChild<QLineEdit*>(QStringLiteral("TxtTG"));
        tg->setText(QStringLiteral("0.35"));
        emit tg->editingFinished();
        auto* nn = w->findChild<QLineEdit*>(QStringLiteral("TxtNN"));
        nn->setText(QStringLiteral("x"));
        emit nn->editingFinished();
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("NN 列只能输入数字：x"));
        QCOMPARE(nn->text(), QString());  // the stored (empty) value again
        std::vector<Row> rows = stored(job, "SEISMIC1");
        QCOMPARE(rows.size(), std::size_t{1});  // one record, made by the first box
        QCOMPARE(rows[0][2], Cell::of(0.35));
        QVERIFY(rows[0][5].isEmpty());
        QCOMPARE(w->caption("SEISMIC1"), QStringLiteral("地震参数 (#Record： 1 / 1)"));

        // A small job typed in, then generated: the file is what the
        // generator makes of the same tables.
        auto type = [&](const char* table, std::vector<QStringList> lines) {
            for (std::size_t r = 0; r < lines.size(); ++r)
                for (int c = 0; c < lines[r].size(); ++c)
                    typeCell(w->grid(table), static_cast<int>(r), c, lines[r][c]);
        };
        QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("TxtTG"))->text(), QStringLiteral("0.35"));
        f.host.answers = {Answer::Yes};
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Command11")), Qt::LeftButton);
        QVERIFY(stored(job, "SEISMIC1").empty());
        typeBox(w, "CboK", "1");
        type("BARSEC", {{"0.3", "0.6"}});
        type("CONCRATE", {{"30"}});
        type("POINT", {{"1", "0", "0", "0", "0", "0"}, {"2", "1", "2", "3", "0", "3.6"}});
        type("COLUMN", {{"1", "2", "1", "1", "1"}});
        type("WLOAD", {{"1", "1", "2.5", "0", "0"}});
        const std::string target = f.jobDir.file("JOB.TVL");
        f.host.chosenFiles = {target};
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdWjsc")), Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("（TVL）文件生成完毕！"));
        QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("TxtTs"))->text(),
                 QStringLiteral("文件生成结束！"));
        RecordingHost quiet;
        const GeneratedDataFile expected = buildDataFileText(w->database(), quiet);
        QVERIFY(expected.ok);
        QCOMPARE(*readWholeFile(target), expected.text);
        QVERIFY(expected.text.find("POINT\r\n 1  0  0  0  0  0 \r\n 2  1  2  3  0  3.6 \r\n") !=
                std::string::npos);

        // Validation of that file through the window.
        f.host.chosenFiles = {target};
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdWjjy")), Qt::LeftButton);
        QVERIFY(!f.host.questions.empty());
        QCOMPARE(q(f.host.questions.back().text), QStringLiteral("您是否真的要校验（TVL）数据文件吗？"));
    }

    void deletedSectionOffersRenumbering() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        const QString job = f.jobFile("JOB.MDB");
        auto type = [&](const char* table, std::vector<QStringList> lines) {
            for (std::size_t r = 0; r < lines.size(); ++r)
                for (int c = 0; c < lines[r].size(); ++c)
                    typeCell(w->grid(table), static_cast<int>(r), c, lines[r][c]);
        };
        type("BARSEC", {{"0.3", "0.5"}, {"0.3", "0.6"}, {"0.4", "0.4"}});
        type("BEAM", {{"1", "2", "1", "1"}, {"2", "3", "3", "1"}, {"3", "4", "2", "1"}});
        type("COLUMN", {{"1", "3", "3", "1", "1"}});
        QTableView* sections = w->grid("BARSEC");

        // Section 2 deleted: BEAM row 2 and COLUMN row 1 named section 3, now
        // row 2; BEAM row 3 named the deleted row. No leaves every number.
        sections->setCurrentIndex(sections->model()->index(1, 0));
        f.host.answers = {Answer::Yes, Answer::No};
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
        QCOMPARE(stored(job, "BARSEC").size(), std::size_t{2});
        QCOMPARE(q(f.host.questions.back().text),
                 QStringLiteral("删除第 2 行后，以下杆件引用的编号已指向另一行：\n"
                                "BEAM 第 2 行：KSECi=3\nCOLUMN 第 1 行：KSECi=3\n\n"
                                "以下杆件引用的正是被删除的第 2 行，请另行修改：\nBEAM 第 3 行：KSECi=2\n\n"
                                "是否将上述杆件的编号减 1，使其仍指向原来的行？"));
        QCOMPARE(q(f.host.questions.back().title), QStringLiteral("截面编号"));
        QCOMPARE(stored(job, "BEAM")[1][2], Cell::of(3));

        // The first section deleted with Yes: every later number follows its row.
        sections->setCurrentIndex(sections->model()->index(0, 0));
        f.host.answers = {Answer::Yes, Answer::Yes};
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
        const std::vector<Row> beams = stored(job, "BEAM");
        QCOMPARE(beams[0][2], Cell::of(1));  // named the deleted row: left as it was
        QCOMPARE(beams[1][2], Cell::of(2));
        QCOMPARE(beams[2][2], Cell::of(1));
        QCOMPARE(stored(job, "COLUMN")[0][2], Cell::of(2));
        QCOMPARE(w->grid("BEAM")->model()->index(1, 2).data().toString(), QStringLiteral("2"));
        QCOMPARE(stored(job, "BEAM")[0][3], Cell::of(1));  // grades untouched
    }

    void jobOpenedTwiceIsReadOnly() {
        char name[256] = {};
        gethostname(name, sizeof name - 1);
        const std::string host = name;

        AppFixture first;
        FrmInput* editing = newJob(first, "JOB.MDB");
        const std::string job = first.jobDir.file("JOB.MDB");
        QVERIFY(!editing->readOnly());
        QVERIFY(QFile::exists(q(job + ".lock")));

        // A second program on the same job: told so, shown read-only.
        AppFixture second;
        MDITarvel* m2 = openMain(second);
        second.host.chosenFiles = {job};
        m2->findChild<QAction*>(QStringLiteral("MNUOPEN"))->trigger();
        auto* viewing = m2->findChild<FrmInput*>(QStringLiteral("FrmInput"));
        QVERIFY(viewing->readOnly());
        QCOMPARE(q(second.host.messages.back().text),
                 QStringLiteral("该工程正在另一个程序中编辑，现以只读方式打开：\n") + q(job));
        QTableView* grades = viewing->grid("CONCRATE");
        QVERIFY(!grades->model()->setData(grades->model()->index(0, 0), QStringLiteral("30")));
        QVERIFY(!(grades->model()->flags(grades->model()->index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(!viewing->findChild<QPushButton*>(QStringLiteral("Command4"))->isEnabled());
        QVERIFY(stored(q(job), "CONCRATE").empty());
        typeCell(editing->grid("CONCRATE"), 0, 0, QStringLiteral("30"));  // the first still edits
        QCOMPARE(stored(q(job), "CONCRATE").size(), std::size_t{1});

        // Closing the editing window releases the job.
        editing->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!QFile::exists(q(job + ".lock")));

        // A running program elsewhere holds a job: no new project over it.
        first.jobDir.write("HELD.MDB", "held");
        first.jobDir.write("HELD.MDB.lock", "1 " + host + "\n");  // process 1 always runs
        first.host.chosenFiles = {first.jobDir.file("HELD.MDB")};
        first.app->mainWindow()->findChild<QAction*>(QStringLiteral("MNUNEW"))->trigger();
        QCOMPARE(q(first.host.messages.back().text),
                 QStringLiteral("该工程正在另一个程序中使用，不能替换：\n") + first.jobFile("HELD.MDB"));
        QCOMPARE(*readWholeFile(first.jobDir.file("HELD.MDB")), std::string("held"));

        // The lock of a program that crashed is stale: the job opens for editing.
        const std::string crashed = first.jobDir.file("CRASHED.MDB");
        writeFileAtomic(crashed, *readWholeFile(first.programDir.file("FRM/FRM.MDB")));
        first.jobDir.write("CRASHED.MDB.lock", "99999999 " + host + "\n");
        first.host.chosenFiles = {crashed};
        first.app->mainWindow()->findChild<QAction*>(QStringLiteral("MNUOPEN"))->trigger();
        auto* reopened = first.app->mainWindow()->findChild<FrmInput*>(QStringLiteral("FrmInput"));
        QVERIFY(reopened != nullptr && !reopened->readOnly());
        QCOMPARE(*readWholeFile(crashed + ".lock"),
                 std::to_string(QCoreApplication::applicationPid()) + " " + host + "\n");
    }

    void openedJobShowsItsRows() {
        AppFixture f;
        // The example job imported into a copy of the template.
        const std::string job = f.jobDir.file("FRAME.MDB");
        writeFileAtomic(job, *readWholeFile(f.programDir.file("FRM/FRM.MDB")));
        {
            JobDatabase db;
            QVERIFY(db.open(job));
            RecordingHost quiet;
            QCOMPARE(importDataFile(TARVEL_SOURCE_DIR "/examples/FRAME3X4.TVL", db, quiet),
                     PrepOutcome::Done);
        }
        MDITarvel* m = openMain(f);
        f.host.chosenFiles = {job};
        m->findChild<QAction*>(QStringLiteral("MNUOPEN"))->trigger();
        auto* w = m->findChild<FrmInput*>(QStringLiteral("FrmInput"));
        QVERIFY(w != nullptr);
        const std::size_t nodes = stored(q(job), "POINT").size();
        QVERIFY(nodes > 0);
        QCOMPARE(w->model("POINT")->recordCount(), static_cast<int>(nodes));
        QCOMPARE(w->grid("POINT")->model()->rowCount(), static_cast<int>(nodes) + 1);  // new-row line
        QCOMPARE(w->caption("POINT"),
                 QStringLiteral("节点数据 (#Record： 1 / %1)").arg(nodes));

        // A file that is not a job is named; the window stays.
        f.jobDir.write("NOJOB.MDB", "not a database");
        f.host.chosenFiles = {f.jobDir.file("NOJOB.MDB")};
        m->findChild<QAction*>(QStringLiteral("MNUOPEN"))->trigger();
        QVERIFY(q(f.host.messages.back().text).startsWith(QStringLiteral("不能打开工程数据库：")));
        QCOMPARE(w->model("POINT"), nullptr);
    }
};

}  // namespace tarvel::app

QTEST_MAIN(tarvel::app::TestInput)
#include "test_input.moc"
