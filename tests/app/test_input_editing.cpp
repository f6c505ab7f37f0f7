// Editing in the data-preparation window as a user does it: a whole frame
// typed into the tabs, generated, checked and run in the analysis window;
// rows put in above the current one, blocks pasted from a spreadsheet, steps
// taken back with Ctrl+Z; the one-record tabs' drop-downs; viewing, printing
// and importing a data file from the toolbar.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <cmath>

#include "FrmInput.h"
#include "FrmTarvel.h"
#include "FrmXTMM.h"
#include "JobTableModel.h"
#include "MDITarvel.h"
#include "TextWindow.h"
#include "app_fixture.h"
#include "input_driving.h"
#include "common/file_io.h"
#include "desktop_host.h"
#include "prep/data_file_generation.h"
#include "run/analysis_window.h"

using tarvel::Answer;
using tarvel::Cell;
using tarvel::app::testing::AppFixture;
using tarvel::app::testing::q;
using namespace tarvel::app::testing;

namespace tarvel::app {

namespace {

// Rows of cells; "-" leaves a cell untouched (empty).
void typeRows(FrmInput* w, const char* table, const std::vector<QStringList>& lines) {
    QTableView* grid = w->grid(table);
    const int first = w->model(table)->recordCount();
    for (std::size_t r = 0; r < lines.size(); ++r) {
        for (int c = 0; c < lines[r].size(); ++c) {
            if (lines[r][c] != QLatin1String("-")) typeCell(grid, first + static_cast<int>(r), c, lines[r][c]);
        }
    }
}

void typeBox(FrmInput* w, const char* name, const QString& text) {
    QLineEdit* edit = w->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (auto* combo = w->findChild<QComboBox*>(QString::fromLatin1(name))) edit = combo->lineEdit();
    QVERIFY2(edit != nullptr, name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();
}

// Ctrl+<key> in the grid of a tab, at a cell.
void keyInGrid(FrmInput* w, const char* table, int row, int column, QKeyCombination key) {
    QTableView* grid = w->grid(table);
    const JobTable* t = findJobTable(table);
    const int tab = static_cast<int>(t - jobTables().data());
    w->tabs()->setCurrentIndex(tab == 11 ? 10 : tab);
    grid->setCurrentIndex(grid->model()->index(row, column));
    grid->window()->show();
    QApplication::setActiveWindow(grid->window());
    grid->setFocus();
    QTest::keyClick(grid, key.key(), key.keyboardModifiers());
    QApplication::processEvents();
}

std::vector<Row> stored(const QString& path, std::string_view table) {
    JobDatabase db;
    if (!db.open(us(path))) return {};
    std::vector<Row> rows;
    for (StoredRow& r : db.rows(jobTable(table))) rows.push_back(std::move(r.cells));
    return rows;
}

// The lines of a segment of a data file, up to the empty line.
QStringList segmentLines(const std::string& file, const char* name) {
    const QStringList lines = q(file).split(QStringLiteral("\r\n"));
    const int at = static_cast<int>(lines.indexOf(QString::fromLatin1(name)));
    QStringList out;
    for (int i = at + 1; at >= 0 && i < lines.size() && !lines[i].isEmpty(); ++i) out << lines[i];
    return out;
}

QList<double> numbers(const QString& line) {
    QList<double> v;
    for (const QString& p : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) v << p.toDouble();
    return v;
}

}  // namespace

class TestInputEditing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tarvel::app::testing::quietOffscreenNotices(); }

    // A two-bay one-storey frame typed tab by tab, a mass of 500 kN spread
    // over the three floor nodes, generated, checked and run.
    void wholeJobTypedGeneratedAndRun() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        const QString job = f.jobFile("JOB.MDB");
        typeBox(w, "CboK", "0");  // no self-weight: the reactions are the loads typed
        typeBox(w, "CboALFI", "1");
        typeBox(w, "CboALFF", "1");
        typeRows(w, "BARSEC", {{"0.25", "0.5"}, {"0.4", "0.4"}});
        typeRows(w, "CONCRATE", {{"30"}});
        typeRows(w, "POINT", {{"1", "0", "0", "0", "0", "0"},
                              {"2", "0", "0", "0", "6", "0"},
                              {"3", "0", "0", "0", "12", "0"},
                              {"4", "1", "2", "3", "0", "3.6"},
                              {"5", "1", "4", "5", "6", "3.6"},
                              {"6", "1", "6", "7", "12", "3.6"}});
        typeRows(w, "BEAM", {{"4", "5", "1", "1"}, {"5", "6", "1", "1"}});
        typeRows(w, "COLUMN", {{"1", "4", "2", "1", "1"}, {"2", "5", "2", "1", "1"}, {"3", "6", "2", "1", "1"}});
        // Dead: 20 kN/m over beam 1, 50 kN at mid-span of beam 2; live: 10 kN/m on both.
        typeRows(w, "DLOAD", {{"1", "2", "20", "0", "6"}, {"2", "1", "50", "3", "0"}});
        typeRows(w, "LLOAD", {{"1", "2", "10", "0", "6"}, {"2", "2", "10", "0", "6"}});
        typeRows(w, "WLOAD", {{"3", "2", "2", "0", "3.6"}});
        for (auto [box, text] : {std::pair{"CboKCLASS", "2"}, {"CboK0", "8"}, {"TxtTG", "0.35"},
                                 {"TxtALF1", "0.5"}, {"TxtALF2", "0.85"}, {"TxtNN", "1"},
                                 {"TxtADJUST", "1"}}) {
            typeBox(w, box, QString::fromLatin1(text));
        }
        // Continuation rows: NRN and AWi left empty.
        typeRows(w, "SEISMIC2", {{"4", "4", "-"}, {"-", "5", "-"}, {"-", "6", "500"}});
        const std::vector<Row> masses = stored(job, "SEISMIC2");
        QCOMPARE(masses.size(), std::size_t{3});
        QVERIFY(masses[1][0].isEmpty() && masses[1][2].isEmpty() && masses[0][2].isEmpty());
        QCOMPARE(stored(job, "WEIGHT")[0][0], Cell::of(0));
        QCOMPARE(stored(job, "STIFFNESS")[0][1], Cell::of(1));

        // Generated through the window: the same bytes as the generator
        // makes of the job file on its own connection.
        const std::string target = f.jobDir.file("JOB.TVL");
        f.host.chosenFiles = {target};
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdWjsc")), Qt::LeftButton);
        const std::string written = *readWholeFile(target);
        {
            JobDatabase db;
            QVERIFY(db.open(us(job)));
            RecordingHost quiet;
            const GeneratedDataFile expected = buildDataFileText(db, quiet);
            QVERIFY(expected.ok);
            QCOMPARE(written, expected.text);
        }
        // One mass record: its count, the three nodes, the weight.
        const QStringList seismic = segmentLines(written, "SEISMIC");
        QCOMPARE(seismic.size(), 3);
        QCOMPARE(numbers(seismic[1]), (QList<double>{4, 4, 5, 6, 500}));
        QCOMPARE(numbers(seismic[2]), (QList<double>{0, 0}));
        QCOMPARE(segmentLines(written, "POINT").size(), 6);

        // Checked through the window.
        f.host.chosenFiles = {target};
        f.host.answers = {Answer::Yes};
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdWjjy")), Qt::LeftButton);

        // Run in the analysis window.
        MDITarvel* m = f.app->mainWindow();
        m->findChild<QAction*>(QStringLiteral("TB1"))->trigger();
        FrmTarvel* run = m->analysisWindow();
        QVERIFY(run != nullptr);
        run->setFolder(q(f.jobDir.path().string()));
        auto* files = run->findChild<QListWidget*>(QStringLiteral("FilList"));
        const QList<QListWidgetItem*> found = files->findItems(QStringLiteral("JOB.TVL"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(found[0]).center());
        QTest::mouseClick(run->findChild<QPushButton*>(QStringLiteral("CmdFrame")), Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("结构分析程序正常结束！"));

        // Vertical equilibrium: the column bases carry the loads typed in,
        // 20 × 6 + 50 = 170 kN dead and 10 × 12 = 120 kN live.
        const AnalysisState& st = run->core().state();
        QCOMPARE(static_cast<int>(st.model.NC), 3);
        double dead = 0.0;
        double live = 0.0;
        for (int i = 1; i <= st.model.NC; ++i) {
            dead += st.CF(7, i, 1);
            live += st.CF(7, i, 2);
        }
        QVERIFY2(std::abs(std::abs(dead) - 170.0) < 0.01, qPrintable(QString::number(dead)));
        QVERIFY2(std::abs(std::abs(live) - 120.0) < 0.01, qPrintable(QString::number(live)));
        // One mass: one period, and a real one.
        const QString periods = run->findChild<QLabel*>(QStringLiteral("LblPeriods"))->text();
        QVERIFY2(periods.startsWith(QStringLiteral("T1 = ")), qPrintable(periods));
        QVERIFY(periods.mid(5).section(QLatin1Char(' '), 0, 0).toDouble() > 0.0);
    }

    void insertAbovePasteAndUndo() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        const QString job = f.jobFile("JOB.MDB");
        typeRows(w, "BARSEC", {{"0.3", "0.5"}, {"0.4", "0.4"}});
        typeRows(w, "BEAM", {{"1", "2", "2", "1"}, {"2", "3", "1", "1"}});
        const std::size_t asked = f.host.questions.size();

        // A row above the second section: the beam naming section 2 is offered
        // its new number, and takes it.
        f.host.answers = {Answer::Yes};
        keyInGrid(w, "BARSEC", 1, 0, Qt::CTRL | Qt::Key_Insert);
        QCOMPARE(f.host.questions.size(), asked + 1);
        QCOMPARE(q(f.host.questions.back().text),
                 QStringLiteral("在第 2 行前插入一行后，以下杆件引用的编号已指向另一行：\n"
                                "BEAM 第 1 行：KSECi=2\n\n是否将上述杆件的编号加 1，使其仍指向原来的行？"));
        QCOMPARE(w->grid("BARSEC")->currentIndex().row(), 1);
        typeCell(w->grid("BARSEC"), 1, 0, QStringLiteral("0.25"));
        typeCell(w->grid("BARSEC"), 1, 1, QStringLiteral("0.6"));
        std::vector<Row> sections = stored(job, "BARSEC");  // in the job's own order
        QCOMPARE(sections.size(), std::size_t{3});
        QCOMPARE(sections[0][1], Cell::of(0.5));
        QCOMPARE(sections[1][1], Cell::of(0.6));
        QCOMPARE(sections[2][1], Cell::of(0.4));
        QCOMPARE(stored(job, "BEAM")[0][2], Cell::of(3));
        QCOMPARE(stored(job, "BEAM")[1][2], Cell::of(1));
        RecordingHost quiet;
        QCOMPARE(segmentLines(buildDataFileText(w->database(), quiet).text, "BAR-SEC"),
                 (QStringList{" .3  .5 ", " .25  .6 ", " .4  .4 "}));
        QCOMPARE(w->caption("BARSEC"), QStringLiteral("杆件截面 (#Record： 2 / 3)"));

        // Ctrl+Z three times: the two typed cells, then the row with the renumbering.
        for (int i = 0; i < 3; ++i) keyInGrid(w, "BARSEC", 0, 0, Qt::CTRL | Qt::Key_Z);
        sections = stored(job, "BARSEC");
        QCOMPARE(sections.size(), std::size_t{2});
        QCOMPARE(sections[1][0], Cell::of(0.4));
        QCOMPARE(stored(job, "BEAM")[0][2], Cell::of(2));
        QCOMPARE(w->model("BARSEC")->recordCount(), 2);
        QCOMPARE(w->caption("BARSEC"), QStringLiteral("杆件截面 (#Record： 1 / 2)"));

        // A row put in at the foot moves no section: nothing asked.
        keyInGrid(w, "BARSEC", 2, 0, Qt::CTRL | Qt::Key_Insert);
        QCOMPARE(stored(job, "BARSEC").size(), std::size_t{3});
        QCOMPARE(f.host.questions.size(), asked + 1);
        keyInGrid(w, "BARSEC", 0, 0, Qt::CTRL | Qt::Key_Z);

        // A block of three rows pasted at the second of the two BEAM rows:
        // one row covered, two new ones.
        QApplication::clipboard()->setText(QStringLiteral("7\t8\r\n9\t10\r\n11\t12\r\n"));
        keyInGrid(w, "BEAM", 1, 0, Qt::CTRL | Qt::Key_V);
        std::vector<Row> beams = stored(job, "BEAM");
        QCOMPARE(beams.size(), std::size_t{4});
        QCOMPARE(beams[0][0], Cell::of(1));
        QCOMPARE(beams[1][0], Cell::of(7));
        QCOMPARE(beams[1][2], Cell::of(1));  // right of the block: kept
        QCOMPARE(beams[2][1], Cell::of(10));
        QVERIFY(beams[2][2].isEmpty());      // a new row: empty right of the block
        QCOMPARE(w->model("BEAM")->recordCount(), 4);
        QCOMPARE(beams[3][1], Cell::of(12));

        // A block with a cell that is not a number: refused, nothing written.
        const std::size_t said = f.host.messages.size();
        QApplication::clipboard()->setText(QStringLiteral("1\t2\n3\tx4\n"));
        keyInGrid(w, "BEAM", 0, 2, Qt::CTRL | Qt::Key_V);
        QCOMPARE(f.host.messages.size(), said + 1);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("KCi 列只能输入数字：x4（粘贴的第 2 行）"));
        QCOMPARE(stored(job, "BEAM")[0][2], Cell::of(2));
        // Wider than the columns left: refused.
        QApplication::clipboard()->setText(QStringLiteral("1\t2\t3\n"));
        keyInGrid(w, "BEAM", 0, 2, Qt::CTRL | Qt::Key_V);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("粘贴的数据有 3 列，从 KSECi 列起只能放 2 列"));
        QCOMPARE(stored(job, "BEAM").size(), std::size_t{4});

        // The paste taken back whole: the rows it made go, the cell it covered returns.
        keyInGrid(w, "BEAM", 0, 0, Qt::CTRL | Qt::Key_Z);
        beams = stored(job, "BEAM");
        QCOMPARE(beams.size(), std::size_t{2});
        QCOMPARE(beams[1][0], Cell::of(2));
        QCOMPARE(beams[1][1], Cell::of(3));

        // A deleted first row comes back in its place.
        f.host.answers = {Answer::Yes};
        w->grid("BEAM")->setCurrentIndex(w->model("BEAM")->index(0, 0));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Command6")), Qt::LeftButton);
        QCOMPARE(stored(job, "BEAM").size(), std::size_t{1});
        keyInGrid(w, "BEAM", 0, 0, Qt::CTRL | Qt::Key_Z);
        beams = stored(job, "BEAM");
        QCOMPARE(beams.size(), std::size_t{2});
        QCOMPARE(beams[0][0], Cell::of(1));
        QCOMPARE(beams[1][0], Cell::of(2));

        // A deleted section row with its renumbering, taken back together.
        f.host.answers = {Answer::Yes, Answer::Yes};
        w->grid("BARSEC")->setCurrentIndex(w->model("BARSEC")->index(0, 0));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
        QCOMPARE(stored(job, "BEAM")[0][2], Cell::of(1));  // named section 2, now row 1
        keyInGrid(w, "BARSEC", 0, 0, Qt::CTRL | Qt::Key_Z);
        QCOMPARE(stored(job, "BEAM")[0][2], Cell::of(2));
        QCOMPARE(stored(job, "BARSEC")[0][0], Cell::of(0.3));
    }

    void oneRecordTabsUseDropDowns() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        const QString job = f.jobFile("JOB.MDB");
        QCOMPARE(w->grid("WEIGHT"), nullptr);
        auto* k = w->findChild<QComboBox*>(QStringLiteral("CboK"));
        QCOMPARE(k->count(), 2);
        QCOMPARE(k->itemText(1), QStringLiteral("1"));
        QVERIFY(k->isEditable());
        // A density typed in place of the switch.
        typeBox(w, "CboK", "x");
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("K 列只能输入数字：x"));
        QVERIFY(stored(job, "WEIGHT").empty());
        typeBox(w, "CboK", "25");
        QCOMPARE(stored(job, "WEIGHT")[0][0], Cell::of(25));
        QCOMPARE(w->caption("WEIGHT"), QStringLiteral("自重计算 (#Record： 1 / 1)"));

        // The Enter chain of the stiffness boxes, and full precision.
        auto* alfi = w->findChild<QComboBox*>(QStringLiteral("CboALFI"));
        auto* alff = w->findChild<QComboBox*>(QStringLiteral("CboALFF"));
        QCOMPARE(alfi->count(), 1);
        w->show();
        w->tabs()->setCurrentIndex(1);
        QApplication::setActiveWindow(w->window());
        typeBox(w, "CboALFI", "0.85");
        QVERIFY(alff->hasFocus() || alff->lineEdit()->hasFocus());
        typeBox(w, "CboALFF", "0.0025");
        QVERIFY(alfi->hasFocus() || alfi->lineEdit()->hasFocus());
        std::vector<Row> rows = stored(job, "STIFFNESS");
        QCOMPARE(rows.size(), std::size_t{1});
        QCOMPARE(rows[0][0], Cell::of(0.85));
        QCOMPARE(rows[0][1], Cell::of(0.0025));

        // The box shows the stored value again after Ctrl+Z.
        QTest::keyClick(w->tabs(), Qt::Key_Z, Qt::ControlModifier);
        QApplication::processEvents();
        QVERIFY(stored(job, "STIFFNESS")[0][1].isEmpty());
        QCOMPARE(alff->currentText(), QString());

        // Delete of the one record.
        f.host.answers = {Answer::Yes};
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
        QVERIFY(stored(job, "STIFFNESS").empty());
        QCOMPARE(alfi->currentText(), QString());
    }

    void viewPrintAndImport() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        QString lines;
        for (int i = 1; i <= 150; ++i) lines += QStringLiteral("第 %1 行 line\r\n").arg(i);
        f.jobDir.write("LIST.TXT", us(lines));
        const std::string list = f.jobDir.file("LIST.TXT");

        // View: "2" in the view box, "" refused, "1" in the text window.
        std::optional<QString> answer = QStringLiteral("2");
        QString prompt;
        w->askText = [&](const QString& p, const QString& title, const QString& value) {
            prompt = p + QLatin1Char('|') + title + QLatin1Char('|') + value;
            return answer;
        };
        auto* view = w->findChild<QAction*>(QStringLiteral("W2"));
        f.host.chosenFiles = {list};
        view->trigger();
        QCOMPARE(prompt, QStringLiteral("请选择文件显示方式(1、'记事本';2、'文件窗'):|输入提示|1"));
        QCOMPARE(w->findChild<QPlainTextEdit*>(QStringLiteral("TxtYl"))->toPlainText(),
                 QString(lines).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        answer = QString();
        f.host.chosenFiles = {list};
        view->trigger();
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("您没有正确选择选项,文件将不能浏览！"));
        answer = QStringLiteral("1");
        f.host.chosenFiles = {list};
        view->trigger();
        QCOMPARE(w->findChild<QPlainTextEdit*>(QStringLiteral("TxtYl"))->toPlainText(),
                 QStringLiteral("文件已转到记事本中显示"));
        const QList<TextWindow*> texts = f.app->mainWindow()->textWindows();
        QCOMPARE(texts.size(), 1);
        QCOMPARE(texts[0]->filePath(), q(list));

        // Print to a PDF file: 150 lines at 12 points take more than one A4 page.
        const QString pdf = f.jobFile("LIST.PDF");
        w->choosePrinter = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        f.host.chosenFiles = {list};
        const std::size_t said = f.host.messages.size();
        w->findChild<QAction*>(QStringLiteral("P1"))->trigger();
        QCOMPARE(f.host.messages.size(), said + 2);
        QCOMPARE(q(f.host.messages[said].text), QStringLiteral("请调整好纸宽后：按(确认)后继续！"));
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("文件输出完毕：按(确认)后结束！"));
        const QByteArray printed = QByteArray::fromStdString(*readWholeFile(us(pdf)));
        QVERIFY(printed.startsWith("%PDF"));
        const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
        QVERIFY(QString::fromLatin1(printed).count(page) >= 2);
        // A cancelled print dialog prints nothing and says nothing more.
        w->choosePrinter = [](QPrinter&) { return false; };
        f.host.chosenFiles = {list};
        const std::size_t before = f.host.messages.size();
        w->findChild<QAction*>(QStringLiteral("P1"))->trigger();
        QCOMPARE(f.host.messages.size(), before + 1);

        // Import of the example into a new job, shown at once.
        const std::string example = *readWholeFile(TARVEL_SOURCE_DIR "/examples/FRAME3X4.TVL");
        f.host.chosenFiles = {TARVEL_SOURCE_DIR "/examples/FRAME3X4.TVL", f.jobDir.file("FRAME.MDB")};
        w->findChild<QAction*>(QStringLiteral("Import"))->trigger();
        QCOMPARE(w->database().path(), us(f.jobFile("FRAME.MDB")));
        QCOMPARE(w->model("POINT")->recordCount(), static_cast<int>(segmentLines(example, "POINT").size()));
        QCOMPARE(w->model("BEAM")->recordCount(), static_cast<int>(segmentLines(example, "BEAM").size()));
        QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("CboK"))->currentText(), QStringLiteral("1"));
        QVERIFY(QFile::exists(f.jobFile("FRAME.MDB") + QStringLiteral(".lock")));
        QVERIFY(!QFile::exists(f.jobFile("JOB.MDB") + QStringLiteral(".lock")));

        // The job open here is not replaced; a file that does not read makes no job.
        f.host.chosenFiles = {TARVEL_SOURCE_DIR "/examples/FRAME3X4.TVL", f.jobDir.file("FRAME.MDB")};
        w->findChild<QAction*>(QStringLiteral("Import"))->trigger();
        QCOMPARE(q(f.host.messages.back().text),
                 QStringLiteral("该工程正在本程序中使用，不能替换：\n") + f.jobFile("FRAME.MDB"));
        f.jobDir.write("BAD.TVL", "WEIGHT\r\n x\r\n");
        f.host.chosenFiles = {f.jobDir.file("BAD.TVL"), f.jobDir.file("BAD.MDB")};
        w->findChild<QAction*>(QStringLiteral("Import"))->trigger();
        QVERIFY(!QFile::exists(f.jobFile("BAD.MDB")));
        QVERIFY(!QFile::exists(f.jobFile("BAD.MDB") + QStringLiteral(".import")));
        QCOMPARE(w->database().path(), us(f.jobFile("FRAME.MDB")));
    }
};

}  // namespace tarvel::app

QTEST_MAIN(tarvel::app::TestInputEditing)
#include "test_input_editing.moc"
