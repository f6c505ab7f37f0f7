// Protects the drawing window and the file manager as a user meets them:
// the drawing window's lists, its rules and messages, a whole path from the
// example's data file through a run to the three kinds of drawing shown in
// the view below it, the built-in view that stands in for a missing CAD
// program, and the file manager's five operations on a temporary folder with
// the questions answered by the recording host.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>

#include "FrmDxf.h"
#include "FrmWjgl.h"
#include "FrmXTMM.h"
#include "MDITarvel.h"
#include "TextWindow.h"
#include "app_fixture.h"
#include "common/file_io.h"
#include "drawing/drawing_window.h"
#include "dxfview/drawing_view.h"
#include "filemgr/file_manager.h"
#include "run/analysis_window.h"

using tarvel::Answer;
using tarvel::Icon;
using tarvel::app::testing::AppFixture;
using tarvel::app::testing::q;

namespace tarvel::app {

namespace {

MDITarvel* openMain(AppFixture& f) {
    FrmXTMM* disclaimer = f.app->Main();
    QTest::mouseClick(disclaimer->findChild<QPushButton*>(QStringLiteral("CmdYs")), Qt::LeftButton);
    MDITarvel* m = f.app->mainWindow();
    m->resize(1280, 900);
    return m;
}

QAction* action(QWidget* w, const char* name) {
    return w->findChild<QAction*>(QString::fromLatin1(name));
}

template <class T>
T* child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

void click(QWidget* w, const char* button) {
    QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
}

// Clicks the entry `name` of a list as the mouse does; false when it is not listed.
bool clickItem(QListWidget* list, const QString& name) {
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    list->scrollToItem(found[0]);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
    return true;
}

void tick(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

QStringList items(const QComboBox* box) {
    QStringList all;
    for (int i = 0; i < box->count(); ++i) all << box->itemText(i);
    return all;
}

QStringList items(const QListWidget* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i) all << list->item(i)->text();
    return all;
}

// Entities of the drawing shown, by layer and kind.
int countOf(const DrawingView* view, const char* layer, DxfKind kind) {
    int n = 0;
    for (const DxfEntity& e : view->drawingScene().drawing().entities) {
        if (e.layer == layer && e.kind == kind) ++n;
    }
    return n;
}

// The members of a data file: the records of its BEAM and COLUMN sections
// (up to the empty line that ends each), and the sections they use.
struct Members {
    int beams = 0;
    int columns = 0;
    QSet<int> sections;
};
Members membersOf(const QString& data) {
    Members m;
    int* counting = nullptr;
    for (const QString& raw : data.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line == QLatin1String("BEAM")) {
            counting = &m.beams;
        } else if (line == QLatin1String("COLUMN")) {
            counting = &m.columns;
        } else if (line.isEmpty()) {
            counting = nullptr;
        } else if (counting) {
            ++*counting;
            m.sections << line.split(QLatin1Char(' '), Qt::SkipEmptyParts)[2].toInt();
        }
    }
    return m;
}

// The member axes of a force drawing: the polylines of layer 0 with two
// points above the base (the title line lies below it).
std::vector<std::pair<DxfPoint, DxfPoint>> axesOf(const DrawingView* view) {
    std::vector<std::pair<DxfPoint, DxfPoint>> axes;
    for (const DxfEntity& e : view->drawingScene().drawing().entities) {
        if (e.layer == "0" && e.kind == DxfKind::Polyline && e.points.size() == 2 &&
            e.points[0].y > -1e-3 && e.points[1].y > -1e-3) {
            axes.emplace_back(e.points[0], e.points[1]);
        }
    }
    return axes;
}

double distanceToSegment(const DxfPoint& p, const DxfPoint& a, const DxfPoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// How far the diagram of `layer` (texts aside) stands off its member: each
// member's axis on layer 0 comes just before its diagram.
double reachOf(const DrawingView* view, const char* layer) {
    double reach = 0.0;
    std::optional<std::pair<DxfPoint, DxfPoint>> axis;
    for (const DxfEntity& e : view->drawingScene().drawing().entities) {
        if (e.layer == "0" && e.kind == DxfKind::Polyline && e.points.size() == 2) {
            axis.emplace(e.points[0], e.points[1]);
        } else if (e.layer == layer && e.kind != DxfKind::Text && axis) {
            for (const DxfPoint& p : e.points) {
                reach = std::max(reach, distanceToSegment(p, axis->first, axis->second));
            }
        }
    }
    return reach;
}

// The shortest vertical member axis, rounded to millimetres.
double smallestStorey(const DrawingView* view) {
    double smallest = 1e30;
    for (const auto& [a, b] : axesOf(view)) {
        if (std::abs(a.x - b.x) < 1e-6) smallest = std::min(smallest, std::abs(b.y - a.y));
    }
    return std::round(smallest * 1000.0) / 1000.0;
}


}  // namespace

class TestDrawingWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        TarvelApp::useProgramFonts();
        testing::quietOffscreenNotices();
    }

    void drawingWindowRulesAndMessages() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        action(m, "MNUDXF")->trigger();
        auto* w = qobject_cast<FrmDxf*>(m->mdiArea()->activeSubWindow()->widget());
        QVERIFY(w);
        action(m, "TB2")->trigger();  // the toolbar raises the same window
        QCOMPARE(m->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(w->windowTitle(), QStringLiteral("CAD图形交互程序 Drafo "));
        auto* log = child<QPlainTextEdit>(w, "Picture1");
        QCOMPARE(log->toPlainText(), QStringLiteral("前/后处理程序运行过程："));
        auto* types = child<QComboBox>(w, "CboLx");
        QCOMPARE(items(types), (QStringList{QStringLiteral("所有文件(*.*)"), QStringLiteral("计算文件(*.TVL)"),
                                            QStringLiteral("配筋文件(*.AGS)"), QStringLiteral("内力文件(*.FKN)")}));
        QCOMPARE(types->currentText(), QStringLiteral("所有文件(*.*)"));
        auto* scale = child<QComboBox>(w, "CboScale");
        QCOMPARE(items(scale).join(QLatin1Char(' ')), QStringLiteral("10 15 20 30 50 100 150 200"));
        QCOMPARE(scale->currentText(), QStringLiteral("100"));
        auto* height = child<QComboBox>(w, "CboAlf");
        QCOMPARE(items(height).join(QLatin1Char(' ')), QStringLiteral("5 10 15 20 25 30 按层高"));
        QCOMPARE(height->currentText(), QStringLiteral("20"));
        auto* loads = child<QComboBox>(w, "CboHzlx");
        QCOMPARE(items(loads).join(QLatin1Char(' ')), QStringLiteral("恒载 活载 风载"));
        QCOMPARE(loads->currentIndex(), -1);
        QCOMPARE(child<QPushButton>(w, "CmdDrawfc")->toolTip(), QStringLiteral("绘制恒载内力图(选*.FKN文件)"));
        QCOMPARE(child<QCheckBox>(w, "Check2")->toolTip(), QStringLiteral("画剪力图"));

        // The type filter, case-blind as on the drives the files come from.
        for (const char* name : {"EX.TVL", "AS.ags", "B.AGS", "DLOAD.fkn", "NOTE.txt"}) f.jobDir.write(name, "1\r\n");
        w->setFolder(q(f.jobDir.path().string()));
        auto* files = child<QListWidget>(w, "FilList");
        QCOMPARE(files->count(), 5);
        types->setCurrentIndex(2);
        QCOMPARE(items(files), (QStringList{QStringLiteral("AS.ags"), QStringLiteral("B.AGS")}));
        types->setCurrentIndex(3);
        QCOMPARE(items(files), QStringList{QStringLiteral("DLOAD.fkn")});

        // Commands before their choices: the messages, nothing written.
        click(w, "CmdDrawfc");
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("还未选择'荷载类型'！"));
        QCOMPARE(q(f.host.messages.back().title), QStringLiteral("提示"));
        QCOMPARE(f.host.messages.back().icon, Icon::Information);
        click(w, "CmdDrawfm");
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("还未选择'计算文件'！"));
        click(w, "CmdOpen");
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("请选择要浏览的文件！"));
        QCOMPARE(f.host.messages.size(), std::size_t{3});
        QCOMPARE(log->toPlainText(), QStringLiteral("前/后处理程序运行过程："));
        QVERIFY(QDir(q(f.jobDir.path().string())).entryList({QStringLiteral("*.DXF")}).isEmpty());

        // One diagram at a time.
        QCheckBox* boxes[3] = {child<QCheckBox>(w, "Check1"), child<QCheckBox>(w, "Check2"),
                               child<QCheckBox>(w, "Check3")};
        tick(boxes[0]);
        QVERIFY(boxes[0]->isChecked() && boxes[0]->isEnabled());
        QVERIFY(!boxes[1]->isEnabled() && !boxes[2]->isEnabled());
        QVERIFY(w->core().drawMoments);
        tick(boxes[0]);
        QVERIFY(boxes[0]->isEnabled() && boxes[1]->isEnabled() && boxes[2]->isEnabled());
        QVERIFY(!w->core().drawMoments);
        tick(boxes[2]);
        QVERIFY(!boxes[0]->isEnabled() && !boxes[1]->isEnabled());

        // A force file and a reinforcement file older than the data file beside them.
        auto* stale = child<QLabel>(w, "LblStale");
        clickItem(files, QStringLiteral("DLOAD.fkn"));
        QVERIFY(!stale->isVisible());
        QFile tvl(f.jobFile("EX.TVL"));
        QVERIFY(tvl.open(QIODevice::ReadWrite));
        QVERIFY(tvl.setFileTime(QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime));
        tvl.close();
        w->setFolder(w->folder());
        QVERIFY(stale->isVisible());
        QVERIFY(stale->text().contains(QStringLiteral("过时")));

        // The chosen file in the built-in text window when no editor is supplied.
        QCOMPARE(child<QLineEdit>(w, "TxtName")->text(), QStringLiteral("DLOAD.fkn"));
        click(w, "CmdOpen");
        QCOMPARE(m->textWindows().size(), 1);

        click(w, "CmdExit");
        QVERIFY(m->mdiArea()->subWindowList().isEmpty() ||
                !m->mdiArea()->subWindowList()[0]->isVisible());
    }

    // The example: its data file run, then the structure diagram with its
    // loads, the dead-load moment diagram and the reinforcement areas drawn
    // from the window and shown in its view.
    void examplePathToTheThreeDrawingsInTheView() {
        AppFixture f;
        const QString data = q(*readWholeFile(TARVEL_SOURCE_DIR "/examples/FRAME3X4.TVL"));
        f.jobDir.write("FRAME3X4.TVL", data.toStdString());
        {
            RecordingHost runHost;
            AnalysisWindow run(runHost);
            run.start();
            run.selectFolder(f.jobDir.path().string());
            run.selectFile("FRAME3X4.TVL");
            QVERIFY(run.runAnalysis());
        }
        const Members members = membersOf(QString(data).remove(QLatin1Char('\r')));
        const int NE = members.beams + members.columns;
        QCOMPARE(NE, 28);

        MDITarvel* m = openMain(f);
        action(m, "TB2")->trigger();
        auto* w = qobject_cast<FrmDxf*>(m->mdiArea()->activeSubWindow()->widget());
        QVERIFY(w);
        m->mdiArea()->activeSubWindow()->showMaximized();
        w->setFolder(q(f.jobDir.path().string()));
        QVERIFY(!child<QLabel>(w, "LblStale")->isVisible());  // results younger than the data
        auto* files = child<QListWidget>(w, "FilList");
        DrawingView* view = w->view();

        // The structure diagram: every member, its section below it, every load case on its layer.
        QVERIFY(clickItem(files, QStringLiteral("FRAME3X4.TVL")));
        click(w, "CmdDrawfm");
        QCOMPARE(child<QLineEdit>(w, "TxtDxf")->text(), QStringLiteral("FRAME3X4.DXF"));
        const QStringList layers = view->drawingScene().layerNames();
        for (const char* l : {"0", "SEC-TEXT", "P-TEXT", "P-DIM", "DLOAD", "LLOAD", "WLOAD"}) {
            QVERIFY2(layers.contains(QLatin1String(l)), l);
        }
        QCOMPARE(countOf(view, "SEC-TEXT", DxfKind::Text), NE);
        const QStringList sections = view->drawingScene().texts(QStringLiteral("SEC-TEXT"));
        QCOMPARE(QSet<QString>(sections.begin(), sections.end()).size(), members.sections.size());
        QVERIFY(countOf(view, "DLOAD", DxfKind::Text) > 0 && countOf(view, "WLOAD", DxfKind::Polyline) +
                countOf(view, "WLOAD", DxfKind::Line) > 0);
        QVERIFY(view->drawingScene().items().size() > NE);

        // The dead-load moment diagram: the members' axes on layer 0, the diagram on "M".
        QVERIFY(clickItem(files, QStringLiteral("DLOAD.fkn")));
        auto* loads = child<QComboBox>(w, "CboHzlx");
        loads->setCurrentIndex(0);
        tick(child<QCheckBox>(w, "Check1"));
        click(w, "CmdDrawfc");
        const QStringList diagram = view->drawingScene().layerNames();
        QVERIFY(diagram.contains(QStringLiteral("M")));
        QVERIFY(!diagram.contains(QStringLiteral("V")) && !diagram.contains(QStringLiteral("N")));
        QVERIFY(!diagram.contains(QStringLiteral("DLOAD")));
        QCOMPARE(countOf(view, "0", DxfKind::Polyline), NE + 1);  // the axes and the title line
        const QStringList titles = view->drawingScene().texts(QStringLiteral("M"));
        QVERIFY(titles.contains(QStringLiteral("恒载弯矩图")));
        QVERIFY(titles.contains(QStringLiteral("单位：KN-m")));
        QVERIFY(view->drawingScene().texts(QStringLiteral("0")).contains(QStringLiteral("文件名：DLOAD.fkn")));
        // The flags are cleared after the drawing.
        QVERIFY(!child<QCheckBox>(w, "Check1")->isChecked() && child<QCheckBox>(w, "Check2")->isEnabled());

        // Ordinate heights, in drawing units (paper millimetres: 1 m is 10 at
        // 1:100). The 3.6 m storey is 36; the largest moment stands the
        // default 20 off its member, more than half the storey; by storey
        // every ordinate stays inside half of it.
        QCOMPARE(smallestStorey(view), 36.0);
        QVERIFY2(std::abs(reachOf(view, "M") - 20.0) < 1e-2, qPrintable(QString::number(reachOf(view, "M"))));
        auto* height = child<QComboBox>(w, "CboAlf");
        height->setCurrentText(QStringLiteral("按层高"));
        tick(child<QCheckBox>(w, "Check1"));
        click(w, "CmdDrawfc");
        const double reach = reachOf(view, "M");
        QVERIFY2(reach > 5.0 && reach < 18.0, qPrintable(QString::number(reach)));

        // The reinforcement areas.
        QVERIFY(clickItem(files, QStringLiteral("AS.ags")));
        click(w, "CmdDrawas");
        QCOMPARE(child<QLineEdit>(w, "TxtDxf")->text(), QStringLiteral("AS.DXF"));
        QVERIFY(view->drawingScene().texts().contains(QStringLiteral("钢筋面积图")));
        QVERIFY(countOf(view, "0", DxfKind::Text) > 2 * NE);  // areas at both ends of every member at least
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("图形交互文件建立完毕！"));
    }

    void missingCadProgramOpensTheDrawingInTheView() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        f.jobDir.write("FRAME3X4.TVL", *readWholeFile(TARVEL_SOURCE_DIR "/examples/FRAME3X4.TVL"));
        RecordingHost drawHost;
        DrawingWindow drawing(drawHost);
        drawing.selectFolder(f.jobDir.path().string());
        drawing.selectFile("FRAME3X4.TVL");
        QVERIFY(drawing.drawStructure());

        f.host.chosenFiles.push_back(drawing.drawingPath());
        action(m, "A3")->trigger();
        QCOMPARE(m->statusBar()->currentMessage(),
                 QStringLiteral("未在本机找到可以打开 DXF 图形的 CAD 程序(如 LibreCAD、QCAD)。"));
        auto* view = qobject_cast<DrawingView*>(m->mdiArea()->activeSubWindow()->widget());
        QVERIFY(view);
        QCOMPARE(view->windowTitle(), QStringLiteral("FRAME3X4.DXF"));
        QVERIFY(view->drawingScene().layerNames().contains(QStringLiteral("DLOAD")));
        QVERIFY(f.host.messages.empty());

        action(m, "MNUCAD")->trigger();  // cancelled: nothing more opens
        QCOMPARE(m->mdiArea()->subWindowList().size(), 1);
        f.host.chosenFiles.push_back(f.jobDir.file("FRAME3X4.TVL"));  // not a drawing
        action(m, "MNUCAD")->trigger();
        QVERIFY(q(f.host.messages.back().text).startsWith(QStringLiteral("图形文件无法读取：")));
        QCOMPARE(m->mdiArea()->subWindowList().size(), 1);
    }

    void fileManagerFiveOperations() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        action(m, "A38")->trigger();
        auto* w = qobject_cast<FrmWjgl*>(m->mdiArea()->activeSubWindow()->widget());
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("文件管理"));
        QVERIFY(!child<QLabel>(w, "LblImage")->isVisible());
        const QString dir = q(f.jobDir.path().string());
        f.jobDir.write("A.TVL", "data A");
        f.jobDir.write("B.BMP", "not a picture");
        QImage picture(32, 24, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(f.jobFile("P.JPG")));
        QDir().mkpath(f.jobFile("SUB"));
        w->setFolder(dir);
        auto* files = child<QListWidget>(w, "FilList");
        auto* source = child<QLineEdit>(w, "TxtWjm");
        auto* target = child<QLineEdit>(w, "TxtMbwj");
        QCOMPARE(items(files), (QStringList{QStringLiteral("A.TVL"), QStringLiteral("B.BMP"), QStringLiteral("P.JPG")}));
        auto* types = child<QComboBox>(w, "CboLx");
        QCOMPARE(types->count(), 12);
        QCOMPARE(types->currentIndex(), -1);
        types->setCurrentIndex(3);
        emit types->activated(3);
        QCOMPARE(items(files), QStringList{QStringLiteral("B.BMP")});
        types->setCurrentIndex(0);
        emit types->activated(0);

        // No mode yet: a click fills nothing; "源文件名" picks with the full path.
        QVERIFY(clickItem(files, QStringLiteral("A.TVL")));
        QVERIFY(source->text().isEmpty());
        QCheckBox* check[6];
        for (int i = 0; i < 6; ++i) check[i] = w->findChild<QCheckBox*>(QStringLiteral("Check%1").arg(i + 1));
        tick(check[4]);
        QVERIFY(!check[5]->isEnabled());
        QVERIFY(clickItem(files, QStringLiteral("A.TVL")));
        QCOMPARE(source->text(), f.jobFile("A.TVL"));

        // Copy into a subfolder; a second copy asks before overwriting, and No keeps the copy.
        QTest::keyClicks(target, QStringLiteral("SUB"));
        click(w, "CmdCopy");
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("文件复制完毕！"));
        QCOMPARE(q(f.host.messages.back().title), QStringLiteral("提示！"));
        QCOMPARE(q(f.host.messages.back().title), QStringLiteral("提示！"));
        QCOMPARE(tarvel::testing::TempDir::read(f.jobDir.file("SUB/A.TVL")), std::string("data A"));
        QVERIFY(!check[4]->isChecked() && check[5]->isEnabled());
        f.jobDir.write("SUB/A.TVL", "kept");
        f.host.answers.push_back(Answer::No);
        click(w, "CmdCopy");
        QCOMPARE(q(f.host.questions.back().text), QStringLiteral("目标文件已存在，是否覆盖？"));
        QCOMPARE(tarvel::testing::TempDir::read(f.jobDir.file("SUB/A.TVL")), std::string("kept"));
        QCOMPARE(f.host.messages.size(), std::size_t{1});

        // Rename from the menu, in plain mode: the bare name resolves in the list's folder.
        tick(check[3]);
        tick(check[3]);  // cleared: mode "N"
        QVERIFY(clickItem(files, QStringLiteral("A.TVL")));
        QCOMPARE(source->text(), QStringLiteral("A.TVL"));
        target->clear();
        QTest::keyClicks(target, QStringLiteral("C.TVL"));
        action(w, "MNUREN")->trigger();
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("文件改名完毕！"));
        QVERIFY(QFile::exists(f.jobFile("C.TVL")) && !QFile::exists(f.jobFile("A.TVL")));
        QVERIFY(files->findItems(QStringLiteral("C.TVL"), Qt::MatchExactly).size() == 1);

        // Delete from the toolbar: No leaves the file, Yes deletes it.
        QVERIFY(clickItem(files, QStringLiteral("C.TVL")));
        const std::size_t shown = f.host.messages.size();
        f.host.answers.push_back(Answer::No);
        action(w, "A50")->trigger();
        QCOMPARE(q(f.host.questions.back().text), QStringLiteral("您真的要删除该文件吗？"));
        QCOMPARE(f.host.questionButtons.back(), Buttons::YesNoCancel);
        QVERIFY(QFile::exists(f.jobFile("C.TVL")));
        QCOMPARE(f.host.messages.size(), shown);
        click(w, "CmdDel");
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("文件删除完毕！"));
        QVERIFY(!QFile::exists(f.jobFile("C.TVL")));

        // Make a folder; the same name again cannot be made.
        target->clear();
        target->insert(QStringLiteral("新目录"));  // typed through an input method
        click(w, "CmdMd");
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("文件目录已建立！"));
        QVERIFY(QFileInfo(f.jobFile("新目录")).isDir());
        QVERIFY(!child<QListWidget>(w, "DirList")->findItems(QStringLiteral("新目录"), Qt::MatchEndsWith).isEmpty());
        action(w, "A10")->trigger();
        QCOMPARE(q(f.host.messages.back().text),
                 QStringLiteral("找不到") + QDir::toNativeSeparators(f.jobFile("新目录")) + QStringLiteral("文件"));

        // The picture preview.
        tick(check[3]);
        QVERIFY(clickItem(files, QStringLiteral("P.JPG")));
        QVERIFY(child<QLabel>(w, "LblImage")->isVisible());
        QVERIFY(!child<QLabel>(w, "Image1")->pixmap().isNull());
        QVERIFY(clickItem(files, QStringLiteral("B.BMP")));  // not readable: an empty preview
        QVERIFY(child<QLabel>(w, "Image1")->pixmap().isNull());

        action(w, "EXIT")->trigger();
        QVERIFY(!w->core().open);
    }
};

}  // namespace tarvel::app

QTEST_MAIN(tarvel::app::TestDrawingWindows)
#include "test_drawing_windows.moc"
