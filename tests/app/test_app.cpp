// Protects the desktop program as a user meets it: the disclaimer and the main
// window with every menu item and toolbar button, child windows created once,
// the window arrangements, new and open project, the external programs, help,
// the About box, the analysis window driven by clicks through a run of the
// example with its results panel, and the built-in text window.

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>

#include "FrmTarvel.h"
#include "FrmXTMM.h"
#include "HelpWindow.h"
#include "MDITarvel.h"
#include "TextWindow.h"
#include "run/analysis_window.h"
#include "run/results_summary.h"
#include "app_fixture.h"
#include "common/file_io.h"
#include "desktop_host.h"
#include "common/text_encoding.h"
#include "frmAbout.h"

using tarvel::Icon;
using tarvel::app::testing::AppFixture;
using tarvel::app::testing::q;

namespace tarvel::app {

namespace {

// Every character of `text` has a glyph in `font` itself (no fallback).
bool drawable(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    for (const char32_t c : text.toUcs4()) {
        if (c > 0x20 && c != u'&' && !metrics.inFontUcs4(c)) return false;
    }
    return true;
}

// The accepted disclaimer: the main window is up.
MDITarvel* openMain(AppFixture& f) {
    FrmXTMM* disclaimer = f.app->Main();
    auto* yes = disclaimer->findChild<QPushButton*>(QStringLiteral("CmdYs"));
    if (yes == nullptr) return nullptr;
    QTest::mouseClick(yes, Qt::LeftButton);
    return f.app->mainWindow();
}

QAction* action(QWidget* w, const char* name) {
    return w->findChild<QAction*>(QString::fromLatin1(name));
}

// The numbers of a line of a report, in order.
QList<double> numbersOf(const QString& line) {
    QList<double> values;
    static const QRegularExpression number(QStringLiteral("-?\\d*\\.?\\d+(E[-+]?\\d+)?"));
    for (auto it = number.globalMatch(line); it.hasNext();) values << it.next().captured().toDouble();
    return values;
}

// The smallest h/d of a storey table of the report. Each storey takes two
// lines: level, node, elevation, H, D, H/D, then h, d, h/d.
double smallestRatio(const QStringList& lines, const QString& heading) {
    int at = -1;
    for (int i = 0; i < lines.size() && at < 0; ++i) {
        if (lines[i].contains(heading)) at = i;
    }
    double smallest = 1e30;
    for (int i = at + 1; at >= 0 && i < lines.size() && !lines[i].trimmed().isEmpty(); ++i) {
        const QList<double> v = numbersOf(lines[i]);
        if (v.size() == 3) smallest = std::min(smallest, v[2]);
    }
    return smallest;
}

}  // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        TarvelApp::useProgramFonts();
        testing::quietOffscreenNotices();
    }

    void disclaimerThenMainWindow() {
        AppFixture f;
        QDir().mkpath(f.programFile("BMP"));
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        QVERIFY(logo.save(f.programFile("BMP/Logoa.GIF"), "PNG"));  // found by name, read by content
        FrmXTMM* d = f.app->Main();
        QCOMPARE(d->windowTitle(), QStringLiteral("进入 Tarvel V5.0"));
        QCOMPARE(d->findChild<QLabel*>(QStringLiteral("Image2"))->pixmap().size(), QSize(40, 20));
        QCOMPARE(d->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("声明：本软件在结构分析中只起辅助作用,不能代替您的专业判断,任何明示或"));
        QCOMPARE(d->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("暗示本软件在结构分析中的数据起绝对保险作用的,都是无效的诚诺！"));
        auto* yes = d->findChild<QPushButton*>(QStringLiteral("CmdYs"));
        auto* no = d->findChild<QPushButton*>(QStringLiteral("CmdExit"));
        QCOMPARE(yes->text(), QStringLiteral("确认(&Y)"));
        QVERIFY(yes->isEnabled());
        QCOMPARE(no->text(), QStringLiteral("放弃(&N)"));
        QCOMPARE(no->toolTip(), QStringLiteral("放弃"));
        for (QWidget* w : d->findChildren<QWidget*>()) {
            if (auto* l = qobject_cast<QLabel*>(w)) QVERIFY2(drawable(l->font(), l->text()), qPrintable(l->text()));
        }

        QTest::mouseClick(no, Qt::LeftButton);
        QCOMPARE(f.quitRequests, 1);
        QVERIFY(f.app->mainWindow() == nullptr);

        QTest::mouseClick(yes, Qt::LeftButton);
        QVERIFY(f.app->mainWindow() != nullptr);
        QVERIFY(f.app->mainWindow()->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.app->disclaimer() == nullptr);  // unloaded
    }

    void mainWindowMenusAndToolbars() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        QVERIFY(m);
        QCOMPARE(m->windowTitle(), QStringLiteral("平面框架结构分析程序 Tarvel V5.0"));
        const std::pair<const char*, const char*> menus[] = {
            {"MNNQCL", "前处理(&F)"}, {"MNUTVL", "结构分析(&W)"}, {"MNUDRAFO", "后处理(&D)"},
            {"MNUWIN", "窗口(&W)"},   {"MNUBZ", "帮助(&H)"},
        };
        for (const auto& [name, caption] : menus) {
            auto* menu = m->findChild<QMenu*>(QString::fromLatin1(name));
            QVERIFY2(menu, name);
            QCOMPARE(menu->title(), QString::fromUtf8(caption));
            QVERIFY(drawable(menu->font(), menu->title()));
        }
        // Items in their menus and order, separators where the groups part.
        const QStringList file = {"MNUEDIT", "MNUA1", "MNUNEW", "MNUOPEN", "MNUA2", "MNUCAD",
                                  "MNUA3",   "MNUWJBJ", "MNUWJGL", "MNUA6", "MNUEXIT"};
        QStringList seen;
        for (QAction* a : m->findChild<QMenu*>(QStringLiteral("MNNQCL"))->actions()) seen << a->objectName();
        QCOMPARE(seen, file);
        const std::pair<const char*, const char*> items[] = {
            {"MNUEDIT", "EDIT 文件编辑"}, {"MNUNEW", "新建Tvl文件"}, {"MNUOPEN", "打开Tvl文件"},
            {"MNUCAD", "Vesmar 图形输入程序"}, {"MNUWJBJ", "文件编辑"}, {"MNUWJGL", "文件管理"},
            {"MNUEXIT", "退出"}, {"MNUTARVEL", "平面框架分析程序 Tarvel"},
            {"MNUDXF", "结构图形交互程序 Drafo"}, {"MNUCD", "层叠"}, {"MNUHP", "横向平铺"},
            {"MNUZP", "纵向平铺"}, {"MNUPLTB", "排列图标"}, {"MNUSM", "Tarvel 使用说明"},
            {"MNUINE", "访问我们的主页"}, {"MNUGY", "关于...Tarvel"},
        };
        for (const auto& [name, caption] : items) {
            QAction* a = action(m, name);
            QVERIFY2(a, name);
            QCOMPARE(a->text(), QString::fromUtf8(caption));
            QVERIFY2(drawable(m->font(), a->text()), name);
        }
        for (const char* sep : {"MNUD1", "MNUD3"}) QVERIFY(action(m, sep)->isSeparator());

        const QStringList keys1 = {"A3", "A20", "TB1", "TB2", "C"};
        const QStringList keys2 = {"A27", "OP", "A38", "A", "E", "A22", "EXIT"};
        for (const auto& [bar, keys] : {std::pair{"Toolbar1", keys1}, std::pair{"Toolbar2", keys2}}) {
            auto* toolbar = m->findChild<QToolBar*>(QString::fromLatin1(bar));
            QVERIFY(toolbar);
            QStringList names;
            for (QAction* a : toolbar->actions()) {
                names << a->objectName();
                QVERIFY2(!a->toolTip().isEmpty() && a->toolTip() != a->objectName(), qPrintable(a->objectName()));
            }
            QCOMPARE(names, keys);
        }
        QCOMPARE(action(m, "A22")->toolTip(), QStringLiteral("Tarvel 使用说明"));
        QCOMPARE(m->statusBar()->objectName(), QStringLiteral("StatusBar1"));
    }

    void childWindowsOnceAndArrangements() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        m->resize(1200, 800);
        action(m, "MNUTARVEL")->trigger();
        FrmTarvel* first = m->analysisWindow();
        QVERIFY(first);
        QCOMPARE(m->mdiArea()->subWindowList().size(), 1);
        m->registerChild(QStringLiteral("Other"), [](MDITarvel&) { return new QWidget; });
        m->showChild(QStringLiteral("Other"));
        QVERIFY(m->mdiArea()->activeSubWindow()->widget() != first);
        action(m, "TB1")->trigger();  // a second request raises the first
        QCOMPARE(m->analysisWindow(), first);
        QCOMPARE(m->mdiArea()->subWindowList().size(), 2);
        QCOMPARE(m->mdiArea()->activeSubWindow()->widget(), first);

        const QSize area = m->mdiArea()->viewport()->size();
        QMdiSubWindow* a = m->mdiArea()->subWindowList(QMdiArea::CreationOrder)[0];
        QMdiSubWindow* b = m->mdiArea()->subWindowList(QMdiArea::CreationOrder)[1];
        action(m, "MNUHP")->trigger();
        QCOMPARE(a->geometry(), QRect(0, 0, area.width(), area.height() / 2));
        QCOMPARE(b->geometry().top(), area.height() / 2);
        QCOMPARE(b->geometry().bottom(), area.height() - 1);
        action(m, "MNUZP")->trigger();
        QCOMPARE(a->geometry(), QRect(0, 0, area.width() / 2, area.height()));
        QCOMPARE(b->geometry().left(), area.width() / 2);
        QCOMPARE(b->geometry().right(), area.width() - 1);
        a->showMinimized();
        b->showMinimized();
        action(m, "MNUPLTB")->trigger();
        QCOMPARE(a->geometry().bottom(), area.height() - 1);
        QCOMPARE(a->geometry().left(), 0);
        QCOMPARE(b->geometry().left(), a->geometry().right() + 1);
        QCOMPARE(b->geometry().top(), a->geometry().top());
        action(m, "MNUTARVEL")->trigger();  // a minimised window comes back
        QVERIFY(!a->isMinimized());

        // The drawing window and the file manager, once each.
        action(m, "MNUDXF")->trigger();
        QCOMPARE(m->mdiArea()->activeSubWindow()->widget()->objectName(), QStringLiteral("FrmDxf"));
        action(m, "A38")->trigger();
        action(m, "MNUWJGL")->trigger();
        QCOMPARE(m->mdiArea()->activeSubWindow()->widget()->objectName(), QStringLiteral("FrmWjgl"));
        QCOMPARE(m->mdiArea()->subWindowList().size(), 4);
    }

    void newAndOpenProject() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        action(m, "MNUNEW")->trigger();  // cancelled
        QCOMPARE(f.host.messages.size(), std::size_t{1});
        QCOMPARE(q(f.host.messages[0].text), QStringLiteral("文件名还没有命名,请给定文件名！"));
        QCOMPARE(q(f.host.messages[0].title), QStringLiteral("提示！"));
        QCOMPARE(f.host.messages[0].icon, Icon::Information);

        const std::string templ = *readWholeFile(f.programDir.file("FRM/FRM.MDB"));
        QVERIFY(templ.size() > 1000);
        f.host.chosenFiles = {f.jobDir.file("JOB1.MDB")};
        action(m, "A27")->trigger();
        QCOMPARE(*readWholeFile(f.jobDir.file("JOB1.MDB")), templ);
        QCOMPARE(f.app->session().CurrentDatabasePath, f.jobFile("JOB1.MDB"));
        QCOMPARE(m->statusBar()->currentMessage(), QStringLiteral("已建立工程 ") + f.jobFile("JOB1.MDB"));
        QVERIFY(f.host.questions.empty());

        // The job open in the program is never replaced.
        f.host.chosenFiles = {f.jobDir.file("JOB1.MDB")};
        action(m, "MNUNEW")->trigger();
        QCOMPARE(q(f.host.messages.back().text),
                 QStringLiteral("该工程正在本程序中使用，不能替换：\n") + f.jobFile("JOB1.MDB"));
        QCOMPARE(q(f.host.messages.back().title), QStringLiteral("新建工程"));

        // Another existing file: replaced only after a Yes.
        f.jobDir.write("OLD.MDB", "old job");
        f.host.chosenFiles = {f.jobDir.file("OLD.MDB"), f.jobDir.file("OLD.MDB")};
        f.host.answers = {Answer::No};
        action(m, "MNUNEW")->trigger();
        QCOMPARE(q(f.host.questions.back().text), QStringLiteral("文件已存在，是否替换？\n") + f.jobFile("OLD.MDB"));
        QCOMPARE(f.host.questionButtons.back(), Buttons::YesNo);
        QCOMPARE(*readWholeFile(f.jobDir.file("OLD.MDB")), std::string("old job"));
        action(m, "MNUNEW")->trigger();  // answered Yes
        QCOMPARE(*readWholeFile(f.jobDir.file("OLD.MDB")), templ);
        QCOMPARE(f.app->session().CurrentDatabasePath, f.jobFile("OLD.MDB"));

        const std::size_t before = f.host.messages.size();
        action(m, "OP")->trigger();  // cancelled: nothing happens
        QCOMPARE(f.host.messages.size(), before);
        f.host.chosenFiles = {f.jobDir.file("JOB1.MDB")};
        action(m, "MNUOPEN")->trigger();
        QCOMPARE(f.app->session().CurrentDatabasePath, f.jobFile("JOB1.MDB"));
        QVERIFY(m->statusBar()->currentMessage().endsWith(QStringLiteral("已打开工程 ") + f.jobFile("JOB1.MDB")));
    }

    void externalProgramsHomePageHelpAndExit() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        action(m, "A3")->trigger();  // no CAD program here: a note, and the drawing dialog (cancelled)
        QCOMPARE(m->statusBar()->currentMessage(),
                 QStringLiteral("未在本机找到可以打开 DXF 图形的 CAD 程序(如 LibreCAD、QCAD)。"));
        QVERIFY(f.searchedPrograms.contains(QStringLiteral("librecad")));
        f.installedPrograms = {QStringLiteral("qcad")};
        action(m, "MNUCAD")->trigger();
        QCOMPARE(f.host.startedPrograms.back().program, std::string("/usr/bin/qcad"));
        QVERIFY(f.host.startedPrograms.back().arguments.empty());

        // Without NOTEPAD.EXE and EDIT.COM the built-in text window opens.
        action(m, "C")->trigger();
        action(m, "MNUEDIT")->trigger();
        QCOMPARE(m->textWindows().size(), 2);
        f.programDir.write("NOTEPAD.EXE", "#!/bin/sh\n");
        QFile::setPermissions(f.programFile("NOTEPAD.EXE"), QFile::ReadOwner | QFile::ExeOwner);
        action(m, "MNUWJBJ")->trigger();
        QCOMPARE(q(f.host.startedPrograms.back().program), f.programFile("NOTEPAD.EXE"));
        QCOMPARE(m->textWindows().size(), 2);

        action(m, "E")->trigger();
        QCOMPARE(f.openedUrls, QList<QUrl>{QUrl::fromLocalFile(f.programFile("TARVEL.CHM/index.html"))});

        // Help: the start page from the main window, the run page from the analysis window.
        action(m, "A22")->trigger();
        HelpWindow* help = m->helpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentPage(), QStringLiteral("index.html"));
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("index.html")));  // missing page named
        action(m, "TB1")->trigger();
        QTest::mouseClick(m->analysisWindow()->findChild<QPushButton*>(QStringLiteral("CmdHtml")), Qt::LeftButton);
        QCOMPARE(m->helpWindow(), help);
        QCOMPARE(help->currentPage(), QStringLiteral("run.html"));
        help->showPage(QStringLiteral("index.html"));
        QApplication::setActiveWindow(m);
        QTest::keyClick(m->analysisWindow()->findChild<QLineEdit*>(QStringLiteral("TxtName")), Qt::Key_F1);
        QCOMPARE(help->currentPage(), QStringLiteral("run.html"));  // F1 in the analysis window

        action(m, "MNUEXIT")->trigger();
        action(m, "EXIT")->trigger();
        QCOMPARE(f.quitRequests, 2);
    }

    void helpShowsTheManualPage() {
        AppFixture f;
        QDir().mkpath(f.programFile("TARVEL.CHM"));
        f.programDir.write("TARVEL.CHM/run.html",
                           "<html><head><meta charset=\"utf-8\"></head><body><h1>结构分析</h1></body></html>");
        MDITarvel* m = openMain(f);
        m->showHelp(QStringLiteral("run.html"));
        QCOMPARE(m->helpWindow()->browser()->toPlainText().trimmed(), QStringLiteral("结构分析"));
    }

    void aboutBox() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        action(m, "A")->trigger();
        frmAbout* about = m->aboutBox();
        QVERIFY(about && about->isVisible() && !about->isModal());
        QVERIFY(about->windowTitle().startsWith(QStringLiteral("关于")));
        QVERIFY(about->windowTitle().endsWith(QStringLiteral("V 5.0")));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), QStringLiteral("平面框架结构分析程序"));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(), QStringLiteral("(新规范版本)"));
        QVERIFY(about->findChild<QLabel*>(QStringLiteral("picIcon")));
        auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        auto* info = about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
        QCOMPARE(ok->text(), QStringLiteral("确定"));
        QCOMPARE(info->text(), QStringLiteral("系统信息(&S)..."));
        for (auto* l : about->findChildren<QLabel*>()) QVERIFY(drawable(l->font(), l->text()));

        QTest::mouseClick(info, Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("此时系统信息不可用"));
        f.installedPrograms = {QStringLiteral("hardinfo")};
        f.host.programsStart = false;  // found but it cannot be started
        QTest::mouseClick(info, Qt::LeftButton);
        QCOMPARE(f.host.startedPrograms.back().program, std::string("/usr/bin/hardinfo"));
        QCOMPARE(f.host.messages.size(), std::size_t{2});
        f.host.programsStart = true;
        QTest::mouseClick(info, Qt::LeftButton);
        QCOMPARE(f.host.messages.size(), std::size_t{2});

        QApplication::setActiveWindow(about);
        QTest::keyClick(about, Qt::Key_F1);
        QVERIFY(m->helpWindow() && m->helpWindow()->isVisible());
        QCOMPARE(m->helpWindow()->currentPage(), QStringLiteral("index.html"));

        action(m, "MNUGY")->trigger();  // the same box again
        QCOMPARE(m->aboutBox(), about);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }

    void analysisWindowControlsAndRules() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        action(m, "MNUTARVEL")->trigger();
        FrmTarvel* w = m->analysisWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("平面框架结构分析程序(Tarvel-V 5.0)"));
        auto* CboLx = w->findChild<QComboBox*>(QStringLiteral("CboLx"));
        QCOMPARE(CboLx->count(), 3);
        QCOMPARE(CboLx->itemText(0), QStringLiteral("所有文件(*.*)"));
        QCOMPARE(CboLx->itemText(1), QStringLiteral("计算文件(*.TVL)"));
        QCOMPARE(CboLx->itemText(2), QStringLiteral("数据文件(*.FRM)"));
        QCOMPARE(CboLx->currentText(), QStringLiteral("所有文件(*.*)"));
        auto* CboII = w->findChild<QComboBox*>(QStringLiteral("CboII"));
        auto* CboI = w->findChild<QComboBox*>(QStringLiteral("CboI"));
        QCOMPARE(CboII->currentText(), QStringLiteral("2"));
        QCOMPARE(CboI->currentText(), QStringLiteral("1"));
        QCOMPARE(CboII->count(), 4);
        QCOMPARE(w->findChild<QGroupBox*>(QStringLiteral("FraGrades"))->title(), QStringLiteral("钢筋级别选择"));
        for (const char* name : {"DrvList", "DirList", "FilList", "TxtName", "Picture1", "TxtYl"}) {
            QVERIFY2(w->findChild<QWidget*>(QString::fromLatin1(name)), name);
        }
        QVERIFY(w->findChild<QWidget*>(QStringLiteral("Picture1"))->isVisible());
        QVERIFY(!w->findChild<QWidget*>(QStringLiteral("TxtYl"))->isVisible());
        QVERIFY(w->findChild<QComboBox*>(QStringLiteral("DrvList"))->count() >= 1);
        const std::tuple<const char*, const char*, const char*> buttons[] = {
            {"CmdOpen", "文件浏览(&F)", "文件浏览"},
            {"CmdWjyr", "文件校验(&W)", "校验 Tvl 文件格式是否正确"},
            {"CmdWjzh", "文件转换(&Z)", "Frm文件转换Tvl文件"},
            {"CmdFrame", "结构分析(&R)", "运行结构分析程序"},
            {"CmdHtml", "帮助(&H)", "打开帮助文件"},
            {"CmdExit", "返回(&X)", "返回"},
        };
        for (const auto& [name, caption, tip] : buttons) {
            auto* b = w->findChild<QPushButton*>(QString::fromLatin1(name));
            QVERIFY2(b, name);
            QCOMPARE(b->text(), QString::fromUtf8(caption));
            QCOMPARE(b->toolTip(), QString::fromUtf8(tip));
            QVERIFY2(drawable(b->font(), b->text()), name);
        }
        auto* ChkW1 = w->findChild<QCheckBox*>(QStringLiteral("ChkW1"));
        auto* ChkW2 = w->findChild<QCheckBox*>(QStringLiteral("ChkW2"));
        QCOMPARE(ChkW1->text(), QStringLiteral("计算结果"));
        QCOMPARE(ChkW2->text(), QStringLiteral("内力文件"));

        // Check boxes: ticking one disables the other until it is cleared.
        QTest::mouseClick(ChkW2, Qt::LeftButton);
        QVERIFY(ChkW2->isChecked());
        QVERIFY(!ChkW1->isEnabled());
        QCOMPARE(w->core().browseSelection, AnalysisWindow::BrowseFile::ForceListing);
        QTest::mouseClick(ChkW2, Qt::LeftButton);
        QVERIFY(ChkW1->isEnabled() && ChkW2->isEnabled());
        QTest::mouseClick(ChkW1, Qt::LeftButton);
        QVERIFY(!ChkW2->isEnabled());
        QCOMPARE(w->core().browseSelection, AnalysisWindow::BrowseFile::Report);
        QTest::mouseClick(ChkW1, Qt::LeftButton);
        QCOMPARE(w->core().browseSelection, AnalysisWindow::BrowseFile::DataFile);

        // Missing selections, each with its message.
        auto* run = w->findChild<QPushButton*>(QStringLiteral("CmdFrame"));
        auto* name = w->findChild<QLineEdit*>(QStringLiteral("TxtName"));
        QTest::mouseClick(run, Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("还未选择'计算文件'！"));
        QCOMPARE(q(f.host.messages.back().title), QStringLiteral("提示"));
        QCOMPARE(f.host.messages.back().icon, Icon::Information);
        QTest::keyClicks(name, QStringLiteral("A.TVL"));
        CboII->setEditText(QString());
        QTest::mouseClick(run, Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("未选择'主筋'级别！"));
        CboII->setCurrentIndex(2);
        CboI->setEditText(QString());
        QTest::mouseClick(run, Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("未选择'箍筋'级别！"));
        QVERIFY(f.host.logLines.empty());
        name->clear();
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdWjyr")), Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("还未选择'*.TVL 文件'！"));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdWjzh")), Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("还未选择'*.FRM 文件'！"));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdOpen")), Qt::LeftButton);
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("请选择要浏览的文件！"));

        // The file type list filters the file list.
        f.jobDir.write("B.TVL", "x");
        f.jobDir.write("C.FRM", "x");
        f.jobDir.write("D.txt", "x");
        w->setFolder(q(f.jobDir.path().string()));
        auto* files = w->findChild<QListWidget*>(QStringLiteral("FilList"));
        QCOMPARE(files->count(), 3);
        CboLx->setCurrentIndex(1);
        QCOMPARE(files->count(), 1);
        QCOMPARE(files->item(0)->text(), QStringLiteral("B.TVL"));
        CboLx->setCurrentIndex(2);
        QCOMPARE(files->item(0)->text(), QStringLiteral("C.FRM"));

        // "返回(&X)" closes the window; the next request makes a new one.
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdExit")), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m->analysisWindow() == nullptr);
        action(m, "TB1")->trigger();
        QVERIFY(m->analysisWindow() != nullptr);
    }

    void runOfTheExampleFillsLogAndResults() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        const std::string example = *readWholeFile(TARVEL_SOURCE_DIR "/examples/FRAME3X4.TVL");
        f.jobDir.write("FRAME3X4.TVL", example);
        action(m, "TB1")->trigger();
        FrmTarvel* w = m->analysisWindow();
        w->setFolder(q(f.jobDir.path().string()));
        auto* files = w->findChild<QListWidget*>(QStringLiteral("FilList"));
        QCOMPARE(files->count(), 1);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
        QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("TxtName"))->text(), QStringLiteral("FRAME3X4.TVL"));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdFrame")), Qt::LeftButton);

        const QStringList log =
            w->findChild<QPlainTextEdit*>(QStringLiteral("Picture1"))->toPlainText().split(QLatin1Char('\n'));
        const QStringList header = {
            QStringLiteral("结构分析程序运行过程："), QStringLiteral("源数据文件名：FRAME3X4.TVL"),
            QStringLiteral("结构设计计算书：TARVEL1.wri"), QStringLiteral("结构内力文件：TARVEL2.wri"),
            QStringLiteral("配筋面积图文件：AS.ags"), QStringLiteral("恒载内力图文件：DLOAD.fkn"),
            QStringLiteral("活载内力图文件：LLOAD.fkn"), QStringLiteral("风载内力图文件：WLOAD.fkn")};
        QCOMPARE(log.mid(0, 8), header);
        QCOMPARE(log.last(), QStringLiteral("结构分析程序正常结束！"));
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("结构分析程序正常结束！"));
        QCOMPARE(q(f.host.messages.back().title), QStringLiteral("提示！"));

        // The results panel against the report.
        auto* panel = w->findChild<QGroupBox*>(QStringLiteral("FraResults"));
        QVERIFY(panel->isVisible());
        const QStringList report =
            q(decodeTextFile(*readWholeFile(f.jobDir.file("TARVEL1.wri")))).split(QStringLiteral("\r\n"));
        int periodsAt = -1;
        for (int i = 0; i < report.size() && periodsAt < 0; ++i) {
            if (report[i].contains(QStringLiteral("固有周期(秒)"))) periodsAt = i + 1;
        }
        QVERIFY(periodsAt > 0);
        const QList<double> periods = numbersOf(report[periodsAt]);
        const QString shown = w->findChild<QLabel*>(QStringLiteral("LblPeriods"))->text();
        QVERIFY2(shown.startsWith(QStringLiteral("T1 = %1   T2 = %2").arg(periods[0], 0, 'f', 4).arg(periods[1], 0, 'f', 4)),
                 qPrintable(shown + QStringLiteral(" / ") + report[periodsAt]));
        const double windRatio = smallestRatio(report, QStringLiteral("风载作用下的水平位移"));
        const double quakeRatio = smallestRatio(report, QStringLiteral("地震作用下的水平位移"));
        QVERIFY(windRatio < 1e29 && quakeRatio < 1e29);
        auto ratioShown = [&](const char* label) {
            const QString t = w->findChild<QLabel*>(QString::fromLatin1(label))->text();
            return t.mid(2, t.indexOf(QLatin1Char(' ')) - 2).toDouble();  // "1/NNN  (第 l 层)"
        };
        QVERIFY(std::abs(ratioShown("LblWindDrift") - windRatio) <= 0.5 + 1e-6 * windRatio);
        QVERIFY(std::abs(ratioShown("LblQuakeDrift") - quakeRatio) <= 0.5 + 1e-6 * quakeRatio);

        // Vertical columns standing on supports: the dead reaction is the sum
        // of their bottom axial forces.
        const AnalysisState& st = w->core().state();
        double bottoms = 0.0;
        for (int i = 1; i <= st.model.NC; ++i) {
            if (st.model.code(2, st.model.startNode(st.model.NB + i)) == 0) bottoms += st.CF(7, i, 1);
        }
        const QString dead = w->findChild<QLabel*>(QStringLiteral("LblDead"))->text();
        QVERIFY2(std::abs(dead.section(QLatin1Char(' '), 0, 0).toDouble() - bottoms) < 0.006, qPrintable(dead));
        QVERIFY(w->findChild<QLabel*>(QStringLiteral("LblQuakeShear"))->text().endsWith(QStringLiteral(" kN")));
        auto* failed = w->findChild<QListWidget*>(QStringLiteral("LstFailed"));
        QCOMPARE(failed->count(), 1);
        QCOMPARE(failed->item(0)->text(), QStringLiteral("全部梁柱设计通过"));
        QVERIFY(!w->findChild<QLabel*>(QStringLiteral("LblStale"))->isVisible());

        // "计算结果" then "文件浏览(&F)": the report in the text window; then the data file.
        QTest::mouseClick(w->findChild<QCheckBox*>(QStringLiteral("ChkW1")), Qt::LeftButton);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdOpen")), Qt::LeftButton);
        QCOMPARE(m->textWindows().size(), 1);
        QCOMPARE(m->textWindows()[0]->filePath(), f.jobFile("TARVEL1.wri"));
        QVERIFY(!w->findChild<QCheckBox*>(QStringLiteral("ChkW1"))->isChecked());
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdOpen")), Qt::LeftButton);
        QCOMPARE(m->textWindows()[1]->filePath(), f.jobFile("FRAME3X4.TVL"));

        // A data file changed after the run: the results are older, and the window says so.
        QFile data(f.jobFile("FRAME3X4.TVL"));
        QVERIFY(data.open(QIODevice::ReadWrite));
        data.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
        data.close();
        auto* name = w->findChild<QLineEdit*>(QStringLiteral("TxtName"));
        name->setText(QString());
        name->setText(QStringLiteral("FRAME3X4.TVL"));
        QVERIFY(w->findChild<QLabel*>(QStringLiteral("LblStale"))->isVisible());
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("LblStale"))->text(),
                 QStringLiteral("结果文件早于数据文件，请重新进行结构分析。"));

        // Validation shows the view box instead of the log.
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdWjyr")), Qt::LeftButton);
        QVERIFY(w->findChild<QWidget*>(QStringLiteral("TxtYl"))->isVisible());
        QVERIFY(!w->findChild<QWidget*>(QStringLiteral("Picture1"))->isVisible());
    }

    void failedMemberOpensItsReportLine() {
        AppFixture f;
        MDITarvel* m = openMain(f);
        // A 100 × 150 mm beam under 400 kN/m on a 6 m portal: too small for the shear.
        f.jobDir.write("WEAK.TVL",
                       "WEIGHT\r\n 0 \r\n\r\nBAR-SEC\r\n .1  .15 \r\n .4  .4 \r\n\r\nCONCRATE\r\n 30 \r\n\r\n"
                       "POINT\r\n 1 0 0 0 0 0 \r\n 2 0 0 0 6 0 \r\n 3 1 2 3 0 4 \r\n 4 1 4 5 6 4 \r\n\r\n"
                       "BEAM\r\n 3 4 1 1 \r\n\r\nCOLUMN\r\n 1 3 2 1 0 \r\n 2 4 2 1 0 \r\n\r\n"
                       "DLOAD\r\n 1 2 400 0 -1 \r\n\r\n");
        action(m, "TB1")->trigger();
        FrmTarvel* w = m->analysisWindow();
        w->setFolder(q(f.jobDir.path().string()));
        QTest::keyClicks(w->findChild<QLineEdit*>(QStringLiteral("TxtName")), QStringLiteral("WEAK.TVL"));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CmdFrame")), Qt::LeftButton);
        auto* failed = w->findChild<QListWidget*>(QStringLiteral("LstFailed"));
        QVERIFY(failed->count() >= 1);
        QCOMPARE(failed->item(0)->text(), QStringLiteral("梁 1：截面抗剪不足"));
        QTest::mouseClick(failed->viewport(), Qt::LeftButton, {}, failed->visualItemRect(failed->item(0)).center());
        QCOMPARE(m->textWindows().size(), 1);
        TextWindow* t = m->textWindows()[0];
        QCOMPARE(t->filePath(), f.jobFile("TARVEL1.wri"));
        QVERIFY2(t->editor()->textCursor().block().text().startsWith(QStringLiteral(" 1 梁(")),
                 qPrintable(t->editor()->textCursor().block().text()));
    }

    void desktopHostFiltersAndPrograms() {
        QCOMPARE(DesktopHost::qtFilter("数据库文件 (*.mdb)|*.mdb|所有文件 (*.*)|*.*"),
                 QStringLiteral("数据库文件 (*.mdb);;所有文件 (*.*)"));
        DesktopHost host;
        QVERIFY(host.startProgram("true", {"a b;$HOME"}));
        QVERIFY(!host.startProgram("/no/such/program", {}));
        QVERIFY(!host.startProgram("", {}));
    }

    void textWindowKeepsEncodingAndLineEnds() {
        AppFixture f;
        const std::string gbk = utf8ToGbk("POINT\r\n 1 节点\r\n");
        f.jobDir.write("G.TVL", gbk);
        TextWindow t(f.host);
        QVERIFY(t.openFile(f.jobFile("G.TVL")));
        QVERIFY(t.isGbk());
        QVERIFY(t.hasCrLf());
        QCOMPARE(t.editor()->toPlainText(), QStringLiteral("POINT\n 1 节点\n"));
        QVERIFY(drawable(t.editor()->font(), QStringLiteral("节点计算结果")));
        // Columns line up: Latin letters of one width, a Chinese character two.
        QCOMPARE(QFontInfo(t.editor()->font()).family(), QStringLiteral("WenQuanYi Micro Hei Mono"));
        const QFontMetrics metrics(t.editor()->font());
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('M')));
        t.editor()->setPlainText(QStringLiteral("梁柱:AB\nMMMM:AB"));
        t.resize(600, 300);
        t.show();
        QTextCursor chinese(t.editor()->document()->findBlockByNumber(0));
        QTextCursor latin(t.editor()->document()->findBlockByNumber(1));
        chinese.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
        latin.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 5);
        QCOMPARE(t.editor()->cursorRect(chinese).left(), t.editor()->cursorRect(latin).left());
        QVERIFY(t.openFile(f.jobFile("G.TVL")));
        t.editor()->moveCursor(QTextCursor::End);
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("梁"));  // typed through an input method
        QApplication::sendEvent(t.editor(), &typed);
        QVERIFY(t.save());
        QCOMPARE(*readWholeFile(f.jobDir.file("G.TVL")), utf8ToGbk("POINT\r\n 1 节点\r\n梁"));

        f.jobDir.write("U.txt", "第一行\n第二行\n");
        QVERIFY(t.openFile(f.jobFile("U.txt")));
        QVERIFY(!t.isGbk() && !t.hasCrLf());
        t.goToLine(2);
        QCOMPARE(t.editor()->textCursor().block().text(), QStringLiteral("第二行"));
        QVERIFY(t.saveAs(f.jobFile("V.txt")));
        QCOMPARE(*readWholeFile(f.jobDir.file("V.txt")), std::string("第一行\n第二行\n"));

        QVERIFY(!t.openFile(f.jobFile("none.txt")));
        QCOMPARE(q(f.host.messages.back().text), QStringLiteral("无法打开文件：") + f.jobFile("none.txt"));
        // Unsaved changes are asked about when the window closes.
        QTest::keyClicks(t.editor(), QStringLiteral("x"));
        f.host.answers = {Answer::Cancel};
        QVERIFY(!t.close());
        QCOMPARE(q(f.host.questions.back().text), QStringLiteral("文件已修改，是否保存？"));
    }
};

}  // namespace tarvel::app

QTEST_MAIN(tarvel::app::TestDesktop)
#include "test_app.moc"
