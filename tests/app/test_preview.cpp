// The frame beside the data-preparation grids and the regular frame in one
// step, driven as a user does: cells typed, a faulty member marked in the
// drawing and in its grid row at once and cleared when mended; the dialog
// filled with typed numbers, a refused entry, the question before the job is
// replaced, and the grids and the drawing showing the new frame.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "FrmInput.h"
#include "FrmRegularFrame.h"
#include "FrmXTMM.h"
#include "InputPreview.h"
#include "JobTableModel.h"
#include "MDITarvel.h"
#include "app_fixture.h"
#include "input_driving.h"
#include "dxfview/drawing_view.h"

using tarvel::Answer;
using tarvel::app::testing::AppFixture;
using tarvel::app::testing::q;
using namespace tarvel::app::testing;

namespace tarvel::app {

namespace {

void typeRow(QTableView* grid, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c) typeCell(grid, row, c, cells[c]);
}

void typeInto(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

int count(const DxfDrawing& d, const char* layer, DxfKind kind) {
    int n = 0;
    for (const DxfEntity& e : d.entities) n += e.layer == layer && e.kind == kind;
    return n;
}

QStringList texts(const DxfDrawing& d, const char* layer) {
    QStringList out;
    for (const DxfEntity& e : d.entities) {
        if (e.layer == layer && e.kind == DxfKind::Text) out << QString::fromStdString(e.text);
    }
    return out;
}

bool marked(const JobTableModel* m, int row) {
    return m->data(m->index(row, 0), Qt::BackgroundRole).value<QColor>().isValid();
}

}  // namespace

class TestPreview : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::quietOffscreenNotices(); }

    void missingEndNodeIsMarkedInTheDrawingAndItsRow() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        QVERIFY(w != nullptr);
        InputPreview* preview = w->preview();
        QVERIFY(preview != nullptr);
        typeRow(w->grid("BARSEC"), 0, {"0.4", "0.4"});
        typeRow(w->grid("CONCRATE"), 0, {"30"});
        QTableView* points = w->grid("POINT");
        typeRow(points, 0, {"1", "0", "0", "0", "0", "0"});
        typeRow(points, 1, {"2", "0", "0", "0", "6", "0"});
        typeRow(points, 2, {"3", "1", "2", "3", "0", "4"});
        typeRow(points, 3, {"4", "1", "4", "5", "6", "4"});
        QTableView* columns = w->grid("COLUMN");
        typeRow(columns, 0, {"1", "3", "1", "1", "0"});
        typeRow(columns, 1, {"2", "4", "1", "1", "0"});
        const DxfDrawing& drawing = preview->view()->drawingScene().drawing();
        QCOMPARE(count(drawing, preview_layer::kColumns, DxfKind::Line), 2);
        QCOMPARE(texts(drawing, preview_layer::kNodes), (QStringList{"1", "2", "3", "4"}));
        QVERIFY(texts(drawing, preview_layer::kErrors).isEmpty());

        // A beam typed to node 9, which is not there: red at once in both places.
        JobTableModel* beams = w->model("BEAM");
        typeRow(w->grid("BEAM"), 0, {"3", "9", "1", "1"});

        QVERIFY(marked(beams, 0));
        QVERIFY(!marked(beams, 1));  // the new-row line
        QVERIFY(!marked(w->model("COLUMN"), 0));
        const QString why = QStringLiteral("梁单元第 1 行（杆件 1）：末端节点 9 不存在");
        QCOMPARE(beams->data(beams->index(0, 2), Qt::ToolTipRole).toString(), why);
        QCOMPARE(texts(drawing, preview_layer::kErrors), QStringList{why});
        QCOMPARE(count(drawing, preview_layer::kErrors, DxfKind::Line), 2);  // the cross at node 3
        QCOMPARE(count(drawing, preview_layer::kBeams, DxfKind::Line), 0);
        QVERIFY(preview->view()->drawingScene().itemCount(QString::fromUtf8(preview_layer::kErrors)) > 0);

        // Mended: the beam drawn, the marks gone.
        typeCell(w->grid("BEAM"), 0, 1, QStringLiteral("4"));
        QVERIFY(!marked(beams, 0));
        QVERIFY(texts(drawing, preview_layer::kErrors).isEmpty());
        QCOMPARE(count(drawing, preview_layer::kBeams, DxfKind::Line), 1);

        // A section row deleted: the columns now name a section that is not there.
        f.host.answers = {Answer::Yes, Answer::No};  // delete; leave the numbers
        w->grid("BARSEC")->setCurrentIndex(w->model("BARSEC")->index(0, 0));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
        settle();
        QVERIFY(marked(w->model("COLUMN"), 0) && marked(w->model("COLUMN"), 1) && marked(beams, 0));
        QCOMPARE(count(drawing, preview_layer::kErrors, DxfKind::Line), 3);

        // The seismic tab shows the masses; a mass on a node that cannot sway is marked.
        typeRow(w->grid("SEISMIC2"), 0, {"2", "1", "50"});
        typeRow(w->grid("SEISMIC2"), 1, {"2", "3", "80"});
        w->tabs()->setCurrentIndex(10);
        QCOMPARE(preview->loads(), PreviewLoads::Masses);
        QVERIFY(marked(w->model("SEISMIC2"), 0));
        QVERIFY(!marked(w->model("SEISMIC2"), 1));
        QCOMPARE(texts(drawing, preview_layer::kMasses), QStringList{"80"});
    }

    void regularFrameDialogFillsTheGrids() {
        AppFixture f;
        FrmInput* w = newJob(f, "JOB.MDB");
        typeRow(w->grid("BEAM"), 0, {"1", "2", "1", "1"});
        auto open = [&] {
            w->findChild<QAction*>(QStringLiteral("CmdRegularFrame"))->trigger();
            QApplication::processEvents();
            FrmRegularFrame* shown = nullptr;
            for (auto* d : w->findChildren<FrmRegularFrame*>()) {
                if (d->isVisible()) shown = d;
            }
            return shown;
        };
        FrmRegularFrame* d = open();
        QVERIFY(d != nullptr);
        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtSpans")), QStringLiteral("6 2.4 x"));
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("CmdOk")), Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("不是数字：6 2.4 x"));
        QVERIFY(d->isVisible());

        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtSpans")), QStringLiteral("6, 2.4, 6"));
        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtHeights")), QStringLiteral("4.5 3*3.6"));
        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtBeamH")), QStringLiteral("0.65"));
        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtDead")), QStringLiteral("18"));
        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtWind")), QStringLiteral("12 10 10 6"));
        d->findChild<QComboBox*>(QStringLiteral("CboBeamGrade"))->setCurrentText(QStringLiteral("C25"));
        f.host.answers = {Answer::No};  // keep the job after all
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("CmdOk")), Qt::LeftButton);
        settle();
        QCOMPARE(q(f.host.questions.back().text),
                 QStringLiteral("规则框架将替换本工程全部表格中的数据，是否继续？"));
        QCOMPARE(w->model("BEAM")->recordCount(), 1);

        d = open();
        QVERIFY(d != nullptr);
        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtSpans")), QStringLiteral("6 2.4 6"));
        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtHeights")), QStringLiteral("4.5 3*3.6"));
        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtDead")), QStringLiteral("18"));
        typeInto(d->findChild<QLineEdit*>(QStringLiteral("TxtWind")), QStringLiteral("12 10 10 6"));
        f.host.answers = {Answer::Yes};
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("CmdOk")), Qt::LeftButton);
        settle();

        // 4 lines × 5 levels of nodes, 12 beams, 16 columns, a load per beam, a force per floor.
        QCOMPARE(w->model("POINT")->recordCount(), 20);
        QCOMPARE(w->model("BEAM")->recordCount(), 12);
        QCOMPARE(w->model("COLUMN")->recordCount(), 16);
        QCOMPARE(w->model("DLOAD")->recordCount(), 12);
        QCOMPARE(w->model("LLOAD")->recordCount(), 0);
        QCOMPARE(w->model("WLOAD")->recordCount(), 4);
        QCOMPARE(w->caption("POINT"), QStringLiteral("节点数据 (#Record： 1 / 20)"));
        // Node 6: second line of the first floor; the floor shares horizontal code 1.
        QAbstractItemModel* points = w->grid("POINT")->model();
        QStringList node6;
        for (int c = 0; c < 6; ++c) node6 << points->index(5, c).data().toString();
        QCOMPARE(node6, (QStringList{"6", "1", "4", "5", "6", "4.5"}));
        QCOMPARE(points->index(19, 5).data().toString(), QStringLiteral("15.3"));
        QAbstractItemModel* sections = w->grid("BARSEC")->model();
        QCOMPARE(sections->index(1, 1).data().toString(), QStringLiteral("0.6"));  // the dialog's own default
        QCOMPARE(w->grid("CONCRATE")->model()->index(1, 0).data().toString(), QStringLiteral("30"));
        QAbstractItemModel* wind = w->grid("WLOAD")->model();
        QCOMPARE(wind->index(3, 0).data().toString(), QStringLiteral("25"));  // storey 4, left column
        QCOMPARE(wind->index(3, 2).data().toString(), QStringLiteral("6"));

        // The drawing follows: twenty nodes, fixed bases, nothing faulty.
        const DxfDrawing& drawing = w->preview()->view()->drawingScene().drawing();
        QCOMPARE(texts(drawing, preview_layer::kNodes).size(), 20);
        QCOMPARE(count(drawing, preview_layer::kBeams, DxfKind::Line), 12);
        QCOMPARE(count(drawing, preview_layer::kColumns, DxfKind::Line), 16);
        QVERIFY(texts(drawing, preview_layer::kErrors).isEmpty());
        w->tabs()->setCurrentIndex(9);  // the wind forces
        QCOMPARE(texts(drawing, preview_layer::kLoads), (QStringList{"12", "10", "10", "6"}));
    }
};

}  // namespace tarvel::app

QTEST_MAIN(tarvel::app::TestPreview)
#include "test_preview.moc"
