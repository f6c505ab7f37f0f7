#include "FrmDxf.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

#include "TextWindow.h"
#include "desktop_host.h"
#include "drawing/drawing_window.h"
#include "dxfview/drawing_view.h"
#include "folder_browser.h"
#include "program_folder.h"

namespace tarvel::app {

namespace {

namespace text {
constexpr const char* kCaption = "CAD图形交互程序 Drafo ";
constexpr const char* kFileTypes[] = {"所有文件(*.*)", "计算文件(*.TVL)", "配筋文件(*.AGS)",
                                      "内力文件(*.FKN)"};
constexpr const char* kLabel4 = "文件类型(&T):";
constexpr const char* kLabel3 = "文件名(&N)：";
constexpr const char* kLabel1 = "绘图比例：";
constexpr const char* kLabel2 = "最大标线高度：";
constexpr const char* kLabel5 = "图形文件名：";
constexpr const char* kLabel6 = "荷载类型：";
constexpr const char* kFrame1 = "结构内力图";
constexpr const char* kHeights[] = {"5", "10", "15", "20", "25", "30"};
constexpr const char* kScales[] = {"10", "15", "20", "30", "50", "100", "150", "200"};
struct Control {
    const char* name;
    const char* caption;
    const char* tip;
};
constexpr Control kChecks[3] = {
    {"Check1", "(M)", "画弯矩图"}, {"Check2", "(V)", "画剪力图"}, {"Check3", "(N)", "画轴力图"}};
constexpr Control kButtons[6] = {
    {"CmdOpen", "文件浏览(&F)", "文件浏览"},
    {"CmdDrawfc", "结构内力图(&S)", "绘制恒载内力图(选*.FKN文件)"},
    {"CmdDrawas", "钢筋面积图(&A)", "绘制钢筋面积图(选*.AGS文件)"},
    {"CmdDrawfm", "计算简图(&K)", "绘制结构计算简图(选*.TVL文件)"},
    {"CmdHtml", "帮助(&H)", "打开帮助文件"},
    {"CmdExit", "返回(&X)", "返回"},
};
constexpr const char* kStale = "内力文件或配筋文件早于计算文件(.TVL)，图形可能已过时，请重新进行结构分析。";
constexpr const char* kNotShown = "图形无法显示：";
}  // namespace text

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

FrmDxf::FrmDxf(const ProgramFolder& folder, Host& host, TextOpener openText, QWidget* parent)
    : QWidget(parent), folder0_(folder), openText_(std::move(openText)) {
    setObjectName(QStringLiteral("FrmDxf"));
    setWindowTitle(u(text::kCaption));
    setProperty("helpPage", QString::fromLatin1(kHelpPage));
    buildControls();
    host_ = std::make_unique<WindowHost>(
        host, [this](const QString& line) { Picture1_->appendPlainText(line); },
        [this] { Picture1_->clear(); }, [](const QString&) {});
    host_->intercept = [this](std::string_view program, const std::vector<std::string>& args,
                              bool& started) {
        if (program != kBuiltInViewer) return false;
        started = !args.empty() && openText_ && openText_(qs(args[0]), 0);
        return true;
    };
    core_ = std::make_unique<DrawingWindow>(*host_);
    core_->start();
    {
        const QSignalBlocker b1(CboScale_);
        const QSignalBlocker b2(CboAlf_);
        CboScale_->setCurrentText(qs(core_->CboScale));
        CboAlf_->setCurrentText(qs(core_->CboAlf));
    }
    fillDriveList(DrvList_);
    folder_ = QDir::currentPath();
    fillFolderList(DirList_, DrvList_, folder_);
    fillFiles();
    showCheckBoxes();
}

FrmDxf::~FrmDxf() = default;

void FrmDxf::buildControls() {
    auto* label4 = new QLabel(u(text::kLabel4), this);
    label4->setObjectName(QStringLiteral("Label4"));
    CboLx_ = new QComboBox(this);
    CboLx_->setObjectName(QStringLiteral("CboLx"));
    for (const char* item : text::kFileTypes) CboLx_->addItem(u(item));
    label4->setBuddy(CboLx_);
    createBrowserLists(this, DrvList_, DirList_, FilList_);
    auto* label3 = new QLabel(u(text::kLabel3), this);
    label3->setObjectName(QStringLiteral("Label3"));
    TxtName_ = new QLineEdit(this);
    TxtName_->setObjectName(QStringLiteral("TxtName"));
    label3->setBuddy(TxtName_);

    auto combo = [this](const char* name, const auto& items) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(true);
        for (const char* item : items) box->addItem(u(item));
        return box;
    };
    CboScale_ = combo("CboScale", text::kScales);
    CboAlf_ = combo("CboAlf", text::kHeights);
    CboAlf_->addItem(u(drawing_text::kByStorey));
    TxtDxf_ = new QLineEdit(this);
    TxtDxf_->setObjectName(QStringLiteral("TxtDxf"));
    TxtDxf_->setReadOnly(true);

    auto* frame1 = new QGroupBox(u(text::kFrame1), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    CboHzlx_ = new QComboBox(frame1);
    CboHzlx_->setObjectName(QStringLiteral("CboHzlx"));
    for (const char* item : DrawingWindow::kLoadTypes) CboHzlx_->addItem(u(item));
    CboHzlx_->setCurrentIndex(-1);
    auto* frameLayout = new QGridLayout(frame1);
    auto* label6 = new QLabel(u(text::kLabel6), frame1);
    label6->setObjectName(QStringLiteral("Label6"));
    frameLayout->addWidget(label6, 0, 0);
    frameLayout->addWidget(CboHzlx_, 0, 1, 1, 2);
    for (int i = 0; i < 3; ++i) {
        Check_[i] = new QCheckBox(u(text::kChecks[i].caption), frame1);
        Check_[i]->setObjectName(QString::fromLatin1(text::kChecks[i].name));
        Check_[i]->setToolTip(u(text::kChecks[i].tip));
        frameLayout->addWidget(Check_[i], 1, i);
    }

    QPushButton* buttons[6] = {};
    auto* buttonLayout = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        buttons[i] = new QPushButton(u(text::kButtons[i].caption), this);
        buttons[i]->setObjectName(QString::fromLatin1(text::kButtons[i].name));
        buttons[i]->setToolTip(u(text::kButtons[i].tip));
        if (i > 0) buttonLayout->addWidget(buttons[i], (i - 1) / 3, (i - 1) % 3);
    }

    LblStale_ = new QLabel(u(text::kStale), this);
    LblStale_->setObjectName(QStringLiteral("LblStale"));
    LblStale_->setWordWrap(true);
    LblStale_->setStyleSheet(QStringLiteral("color: #b00000;"));
    LblStale_->hide();

    Picture1_ = new QPlainTextEdit(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setReadOnly(true);
    TextWindow::useReportLayout(Picture1_);

    view_ = new DrawingView(this);
    view_->setMinimumHeight(160);

    // Top: the browser | the options and the commands | the run log. Below: the drawing.
    auto* browser = new QVBoxLayout;
    browser->addWidget(label4);
    browser->addWidget(CboLx_);
    browser->addWidget(DrvList_);
    browser->addWidget(DirList_, 2);
    browser->addWidget(FilList_, 3);
    browser->addWidget(label3);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(TxtName_, 1);
    nameRow->addWidget(buttons[0]);
    browser->addLayout(nameRow);

    auto* options = new QGridLayout;
    auto addRow = [&](int row, const char* name, const char* caption, QWidget* field) {
        auto* label = new QLabel(u(caption), this);
        label->setObjectName(QString::fromLatin1(name));
        options->addWidget(label, row, 0);
        options->addWidget(field, row, 1);
    };
    addRow(0, "Label1", text::kLabel1, CboScale_);
    addRow(1, "Label2", text::kLabel2, CboAlf_);
    addRow(2, "Label5", text::kLabel5, TxtDxf_);
    auto* middle = new QVBoxLayout;
    middle->addLayout(options);
    middle->addWidget(frame1);
    middle->addLayout(buttonLayout);
    middle->addWidget(LblStale_);
    middle->addStretch();

    // Left: the browser, full height. Right: the options and commands beside
    // the run log, and below them the drawing, which takes the room left.
    auto* browserPane = new QWidget(this);
    browserPane->setLayout(browser);
    browserPane->setMinimumWidth(220);
    browserPane->setMaximumWidth(300);
    auto* controls = new QWidget(this);
    auto* controlsLayout = new QHBoxLayout(controls);
    controlsLayout->setContentsMargins(0, 0, 0, 0);
    auto* middlePane = new QWidget(controls);
    middlePane->setLayout(middle);
    middlePane->setMinimumWidth(330);
    middlePane->setMaximumWidth(420);
    controlsLayout->addWidget(middlePane);
    controlsLayout->addWidget(Picture1_, 1);
    controls->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    Picture1_->setMaximumHeight(middlePane->sizeHint().height());

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(controls);
    split->addWidget(view_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(browserPane);
    layout->addWidget(split, 1);

    connect(CboLx_, &QComboBox::currentIndexChanged, this, [this](int) { fillFiles(); });
    connectBrowserLists(this, DrvList_, DirList_, folder_,
                        [this](const QString& folder) { setFolder(folder); });
    connect(FilList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        core_->selectFile(us(item->text()));
        TxtName_->setText(item->text());
    });
    connect(TxtName_, &QLineEdit::textChanged, this, [this](const QString& name) {
        core_->TxtName = us(name);
        showStaleness();
    });
    connect(CboScale_, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { core_->CboScale = us(t); });
    connect(CboAlf_, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { core_->CboAlf = us(t); });
    connect(CboHzlx_, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { core_->selectLoadType(us(t)); });
    connect(Check_[0], &QCheckBox::clicked, this, [this](bool on) {
        core_->setDrawMoments(on);
        showCheckBoxes();
    });
    connect(Check_[1], &QCheckBox::clicked, this, [this](bool on) {
        core_->setDrawShears(on);
        showCheckBoxes();
    });
    connect(Check_[2], &QCheckBox::clicked, this, [this](bool on) {
        core_->setDrawAxialForces(on);
        showCheckBoxes();
    });
    connect(buttons[0], &QPushButton::clicked, this, [this] { browse(); });
    connect(buttons[1], &QPushButton::clicked, this, [this] { draw(&DrawingWindow::drawForceDiagrams); });
    connect(buttons[2], &QPushButton::clicked, this, [this] { draw(&DrawingWindow::drawReinforcement); });
    connect(buttons[3], &QPushButton::clicked, this, [this] { draw(&DrawingWindow::drawStructure); });
    connect(buttons[4], &QPushButton::clicked, this,
            [this] { emit helpRequested(QString::fromLatin1(kHelpPage)); });
    connect(buttons[5], &QPushButton::clicked, this, [this] {
        QWidget* frame = parentWidget() ? parentWidget() : this;
        frame->close();
    });
}

void FrmDxf::setFolder(const QString& folder) {
    folder_ = QDir(folder).absolutePath();
    core_->selectFolder(us(folder_));
    fillFolderList(DirList_, DrvList_, folder_);
    fillFiles();
    showStaleness();
}

void FrmDxf::fillFiles() {
    FilList_->clear();
    FilList_->addItems(
        filesMatching(folder_, QString::fromLatin1(DrawingWindow::filePattern(CboLx_->currentIndex()))));
}

void FrmDxf::showCheckBoxes() {
    const DrawingWindow::CheckBox* boxes[3] = {&core_->Check1, &core_->Check2, &core_->Check3};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker block(Check_[i]);
        Check_[i]->setChecked(boxes[i]->ticked);
        Check_[i]->setEnabled(boxes[i]->enabled);
    }
}

// Force files (.fkn) and the reinforcement-area file (AS.ags) older than the
// newest data file (.TVL) of the folder come from an earlier version of it.
void FrmDxf::showStaleness() {
    const QDir dir(folder_);
    QDateTime newestData;
    for (const QString& f : filesMatching(folder_, QStringLiteral("*.TVL"))) {
        const QDateTime t = QFileInfo(dir.filePath(f)).lastModified();
        if (!newestData.isValid() || t > newestData) newestData = t;
    }
    bool stale = false;
    if (newestData.isValid()) {
        QStringList results = filesMatching(folder_, QStringLiteral("*.fkn"));
        results += filesMatching(folder_, QStringLiteral("*.ags"))
                       .filter(QRegularExpression(QStringLiteral("^AS\\.ags$"),
                                                  QRegularExpression::CaseInsensitiveOption));
        for (const QString& f : results) {
            if (QFileInfo(dir.filePath(f)).lastModified() < newestData) stale = true;
        }
    }
    LblStale_->setVisible(stale);
}

void FrmDxf::draw(bool (DrawingWindow::*command)()) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = ((*core_).*command)();
    QApplication::restoreOverrideCursor();
    showCheckBoxes();
    TxtDxf_->setText(qs(core_->dxf.DXFFILE));
    fillFiles();
    showStaleness();
    if (!written) return;
    QString error;
    if (!view_->load(qs(core_->drawingPath()), &error)) {
        Picture1_->appendPlainText(u(text::kNotShown) + error);
    }
}

void FrmDxf::browse() {
    const QString notepad = folder0_.suppliedEditor(QStringLiteral("NOTEPAD.EXE"));
    core_->viewFile(notepad.isEmpty() ? std::string(kBuiltInViewer) : us(notepad));
}

}  // namespace tarvel::app
