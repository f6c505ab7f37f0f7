#include "MDITarvel.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

#include "FrmDxf.h"
#include "FrmInput.h"
#include "FrmTarvel.h"
#include "FrmWjgl.h"
#include "HelpWindow.h"
#include "TextWindow.h"
#include "app_services.h"
#include "common/file_io.h"
#include "common/host.h"
#include "desktop_host.h"
#include "dxfview/drawing_view.h"
#include "frmAbout.h"
#include "prep/job_lock.h"
#include "program_folder.h"

namespace tarvel::app {

namespace {

namespace text {
constexpr const char* kCaption = "平面框架结构分析程序 Tarvel V5.0";
constexpr const char* kBackground = "P01.JPG";
constexpr const char* kIcon = "tarvel.png";

// Project dialog and commands.
constexpr const char* kNewTitle = "新建工程";
constexpr const char* kOpenTitle = "打开工程";
constexpr const char* kProjectFilter = "数据库文件 (*.mdb)|*.mdb|所有文件 (*.*)|*.*";
constexpr const char* kNoName = "文件名还没有命名,请给定文件名！";
constexpr const char* kNoNameTitle = "提示！";
constexpr const char* kReplace = "文件已存在，是否替换？\n";
constexpr const char* kInUse = "该工程正在本程序中使用，不能替换：\n";
constexpr const char* kInUseElsewhere = "该工程正在另一个程序中使用，不能替换：\n";
constexpr const char* kNoTemplate = "找不到工程模板数据库：\n";
constexpr const char* kCopyFailed = "工程数据库无法建立：\n";
constexpr const char* kCreated = "已建立工程 ";
constexpr const char* kOpened = "已打开工程 ";
constexpr const char* kNoCad = "未在本机找到可以打开 DXF 图形的 CAD 程序(如 LibreCAD、QCAD)。";
constexpr const char* kDrawingTitle = "打开 DXF 图形";
constexpr const char* kDrawingFilter = "DXF 图形 (*.dxf)|*.dxf|所有文件 (*.*)|*.*";
constexpr const char* kDrawingUnreadable = "图形文件无法读取：";
constexpr const char* kCadFailed = "CAD 程序无法启动：";
constexpr const char* kNoticeTitle = "提示！";
constexpr const char* kEditorFailed = "编辑程序无法启动：";
constexpr const char* kNoBrowser = "无法用浏览器打开主页：";
constexpr const char* kHelpStart = "index.html";

constexpr const char* kUnavailable = "窗口尚未提供。";

// Menus: control name, caption.
struct Item {
    const char* name;
    const char* caption;
};
constexpr Item kMNNQCL{"MNNQCL", "前处理(&F)"};
constexpr Item kMNUEDIT{"MNUEDIT", "EDIT 文件编辑"};
constexpr Item kMNUNEW{"MNUNEW", "新建Tvl文件"};
constexpr Item kMNUOPEN{"MNUOPEN", "打开Tvl文件"};
constexpr Item kMNUCAD{"MNUCAD", "Vesmar 图形输入程序"};
constexpr Item kMNUWJBJ{"MNUWJBJ", "文件编辑"};
constexpr Item kMNUWJGL{"MNUWJGL", "文件管理"};
constexpr Item kMNUEXIT{"MNUEXIT", "退出"};
constexpr Item kMNUTVL{"MNUTVL", "结构分析(&W)"};
constexpr Item kMNUTARVEL{"MNUTARVEL", "平面框架分析程序 Tarvel"};
constexpr Item kMNUDRAFO{"MNUDRAFO", "后处理(&D)"};
constexpr Item kMNUDXF{"MNUDXF", "结构图形交互程序 Drafo"};
constexpr Item kMNUWIN{"MNUWIN", "窗口(&W)"};
constexpr Item kMNUCD{"MNUCD", "层叠"};
constexpr Item kMNUHP{"MNUHP", "横向平铺"};
constexpr Item kMNUZP{"MNUZP", "纵向平铺"};
constexpr Item kMNUPLTB{"MNUPLTB", "排列图标"};
constexpr Item kMNUBZ{"MNUBZ", "帮助(&H)"};
constexpr Item kMNUSM{"MNUSM", "Tarvel 使用说明"};
constexpr Item kMNUINE{"MNUINE", "访问我们的主页"};
constexpr Item kMNUGY{"MNUGY", "关于...Tarvel"};

// Toolbar buttons: key, tool tip.
constexpr Item kToolbar1[] = {
    {"A3", "Vesmar 图形输入程序(CAD)"},
    {"A20", "EDIT 文件编辑"},
    {"TB1", "平面框架分析程序 Tarvel"},
    {"TB2", "结构图形交互程序 Drafo"},
    {"C", "文件编辑"},
};
constexpr Item kToolbar2[] = {
    {"A27", "新建工程"},
    {"OP", "打开工程"},
    {"A38", "文件管理"},
    {"A", "关于 Tarvel"},
    {"E", "访问我们的主页"},
    {"A22", "Tarvel 使用说明"},
    {"EXIT", "退出"},
};
}  // namespace text

QString u(const char* s) { return QString::fromUtf8(s); }

// The frame's background: the picture scaled to fill the free area.
class PictureMdiArea : public QMdiArea {
public:
    PictureMdiArea(QPixmap picture, QWidget* parent) : QMdiArea(parent), picture_(std::move(picture)) {
        setBackground(QColor(0x5a, 0x6e, 0x82));
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QMdiArea::paintEvent(event);
        if (picture_.isNull()) return;
        QPainter painter(viewport());
        const QSize size = picture_.size().scaled(viewport()->size(), Qt::KeepAspectRatioByExpanding);
        const QRect target(QPoint((viewport()->width() - size.width()) / 2,
                                  (viewport()->height() - size.height()) / 2),
                           size);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(target, picture_);
    }

private:
    QPixmap picture_;
};

}  // namespace

MDITarvel::MDITarvel(const ProgramFolder& folder, Host& host, const AppServices& services,
                     Session& session, QWidget* parent)
    : QMainWindow(parent), folder_(folder), host_(host), services_(services), session_(session) {
    setObjectName(QStringLiteral("MDITarvel"));
    setWindowTitle(u(text::kCaption));
    setWindowIcon(folder_.icon(u(text::kIcon)));
    mdiArea_ = new PictureMdiArea(folder_.picture(u(text::kBackground)), this);
    mdiArea_->setObjectName(QStringLiteral("MdiArea"));
    setCentralWidget(mdiArea_);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    buildMenus();
    buildToolbars();
    resize(1180, 780);

    registerChild(QStringLiteral("FrmTarvel"), [](MDITarvel& main) -> QWidget* {
        auto* w = new FrmTarvel(main.folder_, main.host_, [&main](const QString& path, int line) {
            return main.openTextWindow(path, line) != nullptr;
        });
        connect(w, &FrmTarvel::helpRequested, &main, &MDITarvel::showHelp);
        return w;
    });
    registerChild(QStringLiteral("FrmDxf"), [](MDITarvel& main) -> QWidget* {
        auto* w = new FrmDxf(main.folder_, main.host_, [&main](const QString& path, int line) {
            return main.openTextWindow(path, line) != nullptr;
        });
        connect(w, &FrmDxf::helpRequested, &main, &MDITarvel::showHelp);
        return w;
    });
    registerChild(QStringLiteral("FrmWjgl"), [](MDITarvel& main) -> QWidget* {
        return new FrmWjgl(main.folder_, main.host_);
    });
    registerChild(QStringLiteral("FrmInput"), [](MDITarvel& main) -> QWidget* {
        auto* w = new FrmInput(main.folder_, main.host_, main.session_);
        w->openTextWindow = [&main](const QString& path) { return main.openTextWindow(path) != nullptr; };
        return w;
    });
}

MDITarvel::~MDITarvel() {
    // Top-level helper windows live apart from the frame; they end with it.
    for (const QPointer<TextWindow>& t : texts_) delete t.data();
    delete help_.data();
    delete about_.data();
}

QStringList MDITarvel::cadPrograms() {
    return {QStringLiteral("librecad"), QStringLiteral("qcad"), QStringLiteral("draftsight"),
            QStringLiteral("freecad")};
}

void MDITarvel::buildMenus() {
    auto menu = [this](QMenuBar* bar, const text::Item& item) {
        QMenu* m = bar->addMenu(u(item.caption));
        m->setObjectName(QString::fromLatin1(item.name));
        return m;
    };
    auto action = [this](QMenu* m, const text::Item& item, auto slot) {
        QAction* a = m->addAction(u(item.caption));
        a->setObjectName(QString::fromLatin1(item.name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto separator = [](QMenu* m, const char* name) {
        m->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    QMenuBar* bar = menuBar();
    QMenu* file = menu(bar, text::kMNNQCL);
    action(file, text::kMNUEDIT, [this] { startEditor(QStringLiteral("EDIT.COM")); });
    separator(file, "MNUA1");
    action(file, text::kMNUNEW, [this] { newProject(); });
    action(file, text::kMNUOPEN, [this] { openProject(); });
    separator(file, "MNUA2");
    action(file, text::kMNUCAD, [this] { startCad(); });
    separator(file, "MNUA3");
    action(file, text::kMNUWJBJ, [this] { startEditor(QStringLiteral("NOTEPAD.EXE")); });
    action(file, text::kMNUWJGL, [this] { showChild(QStringLiteral("FrmWjgl")); });
    separator(file, "MNUA6");
    action(file, text::kMNUEXIT, [this] { exitProgram(); });

    QMenu* analysis = menu(bar, text::kMNUTVL);
    action(analysis, text::kMNUTARVEL, [this] { showChild(QStringLiteral("FrmTarvel")); });
    QMenu* drawing = menu(bar, text::kMNUDRAFO);
    action(drawing, text::kMNUDXF, [this] { showChild(QStringLiteral("FrmDxf")); });

    windowMenu_ = menu(bar, text::kMNUWIN);
    action(windowMenu_, text::kMNUCD, [this] { mdiArea_->cascadeSubWindows(); });
    action(windowMenu_, text::kMNUHP, [this] { tileHorizontally(); });
    action(windowMenu_, text::kMNUZP, [this] { tileVertically(); });
    action(windowMenu_, text::kMNUPLTB, [this] { arrangeIcons(); });
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] { fillWindowList(); });

    QMenu* help = menu(bar, text::kMNUBZ);
    QAction* manual = action(help, text::kMNUSM, [this] { helpForActiveWindow(); });
    manual->setShortcut(QKeySequence(Qt::Key_F1));
    // F1 in the frame and its children; the About box has its own.
    manual->setShortcutContext(Qt::WindowShortcut);
    separator(help, "MNUD1");
    action(help, text::kMNUINE, [this] { E(); });
    separator(help, "MNUD3");
    action(help, text::kMNUGY, [this] { showAbout(); });
}

void MDITarvel::buildToolbars() {
    const std::function<void()> commands1[] = {
        [this] { startCad(); },
        [this] { startEditor(QStringLiteral("EDIT.COM")); },
        [this] { showChild(QStringLiteral("FrmTarvel")); },
        [this] { showChild(QStringLiteral("FrmDxf")); },
        [this] { startEditor(QStringLiteral("NOTEPAD.EXE")); },
    };
    const std::function<void()> commands2[] = {
        [this] { newProject(); },
        [this] { openProject(); },
        [this] { showChild(QStringLiteral("FrmWjgl")); },
        [this] { showAbout(); },
        [this] { E(); },
        [this] { helpForActiveWindow(); },
        [this] { exitProgram(); },
    };
    auto fill = [this](const char* name, const auto& items, const auto& commands) {
        QToolBar* bar = addToolBar(QString::fromLatin1(name));
        bar->setObjectName(QString::fromLatin1(name));
        bar->setIconSize(QSize(32, 32));
        bar->setMovable(false);
        for (std::size_t i = 0; i < std::size(items); ++i) {
            QAction* a = bar->addAction(folder_.toolbarIcon(QString::fromLatin1(items[i].name)),
                                        QString::fromLatin1(items[i].name));
            a->setObjectName(QString::fromLatin1(items[i].name));
            a->setToolTip(u(items[i].caption));
            a->setStatusTip(u(items[i].caption));
            connect(a, &QAction::triggered, this, commands[i]);
        }
    };
    fill("Toolbar1", text::kToolbar1, commands1);
    fill("Toolbar2", text::kToolbar2, commands2);
}

void MDITarvel::registerChild(const QString& name, ChildFactory factory) {
    factories_.insert(name, std::move(factory));
}

QWidget* MDITarvel::showChild(const QString& name) {
    if (QMdiSubWindow* existing = children_.value(name)) {
        if (existing->isMinimized()) existing->showNormal();
        existing->show();
        mdiArea_->setActiveSubWindow(existing);
        existing->raise();
        return existing->widget();
    }
    const auto factory = factories_.find(name);
    if (factory == factories_.end()) {
        statusBar()->showMessage(name + u(text::kUnavailable));
        return nullptr;
    }
    QWidget* widget = (*factory)(*this);
    QMdiSubWindow* sub = mdiArea_->addSubWindow(widget);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    children_.insert(name, sub);
    const QSize wanted = widget->sizeHint().expandedTo(QSize(940, 600));
    sub->resize(wanted.boundedTo(mdiArea_->viewport()->size().expandedTo(QSize(640, 420))));
    sub->show();
    mdiArea_->setActiveSubWindow(sub);
    return widget;
}

FrmTarvel* MDITarvel::analysisWindow() const {
    QMdiSubWindow* sub = children_.value(QStringLiteral("FrmTarvel"));
    return sub ? qobject_cast<FrmTarvel*>(sub->widget()) : nullptr;
}

frmAbout* MDITarvel::aboutBox() const { return about_.data(); }

HelpWindow* MDITarvel::helpWindow() const { return help_.data(); }

QList<TextWindow*> MDITarvel::textWindows() const {
    QList<TextWindow*> open;
    for (const QPointer<TextWindow>& t : texts_) {
        if (t) open << t.data();
    }
    return open;
}

std::optional<QString> MDITarvel::Op(const QString& mode) {
    const bool creating = mode == QLatin1String("Y1");
    const char* title = creating ? text::kNewTitle : text::kOpenTitle;
    const std::optional<std::string> name = creating
                                                ? host_.chooseNewFile(title, text::kProjectFilter)
                                                : host_.chooseFile(title, text::kProjectFilter);
    if (!name || name->empty()) return std::nullopt;
    return qs(*name);
}

void MDITarvel::newProject() {
    const std::optional<QString> chosen = Op(QStringLiteral("Y1"));
    if (!chosen) {
        host_.message(text::kNoName, text::kNoNameTitle, Icon::Information);
        return;
    }
    const QFileInfo target(*chosen);
    const QString path = target.absoluteFilePath();
    if (target.exists()) {
        const QFileInfo open(session_.CurrentDatabasePath);
        if (!session_.CurrentDatabasePath.isEmpty() && open.exists() &&
            open.canonicalFilePath() == target.canonicalFilePath()) {
            host_.message(text::kInUse + us(path), text::kNewTitle, Icon::Information);
            return;
        }
        if (JobLock::heldByAnother(us(path))) {
            host_.message(text::kInUseElsewhere + us(path), text::kNewTitle, Icon::Information);
            return;
        }
        if (host_.ask(text::kReplace + us(path), text::kNewTitle, Buttons::YesNo, Icon::Question) !=
            Answer::Yes) {
            return;
        }
    }
    const std::optional<std::string> templ = readWholeFile(us(folder_.templateDatabase()));
    if (!templ) {
        host_.message(text::kNoTemplate + us(folder_.templateDatabase()), text::kNewTitle,
                      Icon::Information);
        return;
    }
    std::string error;
    if (!writeFileAtomic(us(path), *templ, &error)) {
        host_.message(text::kCopyFailed + us(path) + " (" + error + ")", text::kNewTitle,
                      Icon::Information);
        return;
    }
    session_.CurrentDatabasePath = path;
    statusBar()->showMessage(u(text::kCreated) + path);
    if (auto* input = qobject_cast<FrmInput*>(showChild(QStringLiteral("FrmInput")))) {
        input->openJob();
    }
}

void MDITarvel::openProject() {
    const std::optional<QString> chosen = Op(QStringLiteral("Y2"));
    if (!chosen) return;
    session_.CurrentDatabasePath = QFileInfo(*chosen).absoluteFilePath();
    statusBar()->showMessage(u(text::kOpened) + session_.CurrentDatabasePath);
    if (auto* input = qobject_cast<FrmInput*>(showChild(QStringLiteral("FrmInput")))) {
        input->openJob();
    }
}

void MDITarvel::startCad() {
    const QString program = services_.findProgram(cadPrograms());
    if (program.isEmpty()) {
        // No CAD program: the chosen drawing in the built-in view.
        statusBar()->showMessage(u(text::kNoCad));
        const std::optional<std::string> chosen = host_.chooseFile(text::kDrawingTitle, text::kDrawingFilter);
        if (chosen && !chosen->empty()) openDrawing(qs(*chosen));
        return;
    }
    if (!host_.startProgram(us(program), {})) {
        host_.message(text::kCadFailed + us(program), text::kNoticeTitle, Icon::Information);
    }
}

DrawingView* MDITarvel::openDrawing(const QString& path) {
    auto* view = new DrawingView;
    QString error;
    if (!view->load(path, &error)) {
        delete view;
        host_.message(text::kDrawingUnreadable + us(error), text::kNoticeTitle, Icon::Information);
        return nullptr;
    }
    view->setWindowTitle(QFileInfo(path).fileName());
    QMdiSubWindow* sub = mdiArea_->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    sub->resize(mdiArea_->viewport()->size() * 3 / 4);
    sub->show();
    view->zoomToExtents();
    mdiArea_->setActiveSubWindow(sub);
    return view;
}

void MDITarvel::startEditor(const QString& name) {
    const QString supplied = folder_.suppliedEditor(name);
    if (supplied.isEmpty()) {
        openTextWindow(QString());
        return;
    }
    if (!host_.startProgram(us(supplied), {})) {
        host_.message(text::kEditorFailed + us(supplied), text::kNoticeTitle, Icon::Information);
    }
}

void MDITarvel::E() {
    const QUrl home = folder_.homePage();
    if (!services_.openUrl(home)) {
        host_.message(text::kNoBrowser + us(home.toString()), text::kNoticeTitle, Icon::Information);
    }
}

void MDITarvel::showAbout() {
    if (!about_) {
        about_ = new frmAbout(folder_, host_, services_, nullptr);
        about_->setWindowIcon(windowIcon());
        connect(about_, &frmAbout::helpRequested, this, &MDITarvel::showHelp);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MDITarvel::showHelp(const QString& page) {
    if (!help_) {
        help_ = new HelpWindow(folder_, nullptr);
        help_->setWindowIcon(windowIcon());
    }
    help_->showPage(page);
}

void MDITarvel::helpForActiveWindow() {
    QString page = u(text::kHelpStart);
    if (QMdiSubWindow* active = mdiArea_->activeSubWindow()) {
        const QString childPage = active->widget()->property("helpPage").toString();
        if (!childPage.isEmpty()) page = childPage;
    }
    showHelp(page);
}

void MDITarvel::exitProgram() { services_.quit(); }

TextWindow* MDITarvel::openTextWindow(const QString& path, int line) {
    auto* window = new TextWindow(host_, nullptr);
    window->setWindowIcon(windowIcon());
    if (!path.isEmpty() && !window->openFile(path)) {
        delete window;
        return nullptr;
    }
    texts_.removeAll(nullptr);
    texts_ << window;
    window->show();
    if (line > 0) window->goToLine(line);
    window->raise();
    window->activateWindow();
    return window;
}

QList<QMdiSubWindow*> MDITarvel::arrangedWindows() const {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (w->isVisible() && !w->isMinimized()) windows << w;
    }
    return windows;
}

void MDITarvel::tileHorizontally() {
    const QList<QMdiSubWindow*> windows = arrangedWindows();
    if (windows.isEmpty()) return;
    const QSize area = mdiArea_->viewport()->size();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        const int top = area.height() * i / n;
        const int bottom = area.height() * (i + 1) / n;
        windows[i]->showNormal();
        windows[i]->setGeometry(0, top, area.width(), bottom - top);
    }
}

void MDITarvel::tileVertically() {
    const QList<QMdiSubWindow*> windows = arrangedWindows();
    if (windows.isEmpty()) return;
    const QSize area = mdiArea_->viewport()->size();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        const int left = area.width() * i / n;
        const int right = area.width() * (i + 1) / n;
        windows[i]->showNormal();
        windows[i]->setGeometry(left, 0, right - left, area.height());
    }
}

void MDITarvel::arrangeIcons() {
    const QSize area = mdiArea_->viewport()->size();
    int x = 0;
    int y = area.height();
    int rowHeight = 0;
    for (QMdiSubWindow* w : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized()) continue;
        const QSize size = w->size();
        if (x > 0 && x + size.width() > area.width()) {  // next row, above this one
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        if (x == 0) rowHeight = size.height();
        rowHeight = std::max(rowHeight, size.height());
        w->move(x, y - rowHeight);
        x += size.width();
    }
}

void MDITarvel::fillWindowList() {
    for (QAction* a : windowListActions_) {
        windowMenu_->removeAction(a);
        delete a;
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty()) return;
    windowListActions_ << windowMenu_->addSeparator();
    int number = 0;
    for (QMdiSubWindow* w : windows) {
        QAction* a = windowMenu_->addAction(QStringLiteral("&%1 ").arg(++number) + w->windowTitle());
        a->setCheckable(true);
        a->setChecked(w == mdiArea_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] {
            if (w->isMinimized()) w->showNormal();
            mdiArea_->setActiveSubWindow(w);
        });
        windowListActions_ << a;
    }
}

}  // namespace tarvel::app
