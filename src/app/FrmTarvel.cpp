#include "FrmTarvel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

#include "run/analysis_window.h"
#include "run/results_summary.h"
#include "analysis/run_texts.h"
#include "common/file_io.h"
#include "common/text_encoding.h"
#include "TextWindow.h"
#include "desktop_host.h"
#include "folder_browser.h"
#include "program_folder.h"

namespace tarvel::app {

namespace {

namespace text {
constexpr const char* kCaption = "平面框架结构分析程序(Tarvel-V 5.0)";
constexpr const char* kFileType = "文件类型(&T):";
constexpr const char* kFileName = "文件名(&N):";
constexpr const char* kGrades = "钢筋级别选择";
constexpr const char* kMainBars = "主筋：";
constexpr const char* kStirrups = "箍筋：";
constexpr const char* kBrowseReport = "计算结果";
constexpr const char* kBrowseForces = "内力文件";
struct Command {
    const char* name;
    const char* caption;
    const char* tip;
};
constexpr Command kCommands[6] = {
    {"CmdOpen", "文件浏览(&F)", "文件浏览"},
    {"CmdWjyr", "文件校验(&W)", "校验 Tvl 文件格式是否正确"},
    {"CmdWjzh", "文件转换(&Z)", "Frm文件转换Tvl文件"},
    {"CmdFrame", "结构分析(&R)", "运行结构分析程序"},
    {"CmdHtml", "帮助(&H)", "打开帮助文件"},
    {"CmdExit", "返回(&X)", "返回"},
};
constexpr const char* kLog = "运行过程";
constexpr const char* kStale = "结果文件早于数据文件，请重新进行结构分析。";
constexpr const char* kSummary = "计算结果摘要";
constexpr const char* kPeriods = "自振周期(秒)：";
constexpr const char* kWindDrift = "风载最大层间位移角：";
constexpr const char* kQuakeDrift = "地震最大层间位移角：";
constexpr const char* kDead = "恒载竖向支座反力合计：";
constexpr const char* kLive = "活载竖向支座反力合计：";
constexpr const char* kWindShear = "风载基底剪力(支座水平反力合计)：";
constexpr const char* kQuakeShear = "地震作用基底剪力：";
constexpr const char* kFailed = "设计未通过的构件(单击查看计算书)：";
constexpr const char* kAllPassed = "全部梁柱设计通过";
constexpr const char* kNone = "无";
constexpr const char* kBeam = "梁 ";
constexpr const char* kColumn = "柱 ";
constexpr const char* kStorey = "层";
constexpr const char* kUp = "..";
}  // namespace text

QString u(const char* s) { return QString::fromUtf8(s); }

QString driftText(const DriftRatio& d) {
    if (d.level == 0 || d.ratio <= 0.0) return u(text::kNone);
    return QStringLiteral("1/%1  (第 %2 %3)")
        .arg(qRound64(1.0 / d.ratio))
        .arg(d.level)
        .arg(u(text::kStorey));
}

QString kN(double value) { return QString::number(value, 'f', 2) + QStringLiteral(" kN"); }

// Result files of a run, written beside the data file.
QStringList resultFiles() {
    return {u(run_text::kReportFile), u(run_text::kForceListFile), u(run_text::kReinforcementFile),
            QStringLiteral("DLOAD.fkn"), QStringLiteral("LLOAD.fkn"), QStringLiteral("WLOAD.fkn")};
}

}  // namespace

FrmTarvel::FrmTarvel(const ProgramFolder& folder, Host& host, TextOpener openText, QWidget* parent)
    : QWidget(parent), folder0_(folder), openText_(std::move(openText)) {
    setObjectName(QStringLiteral("FrmTarvel"));
    setWindowTitle(u(text::kCaption));
    setProperty("helpPage", QString::fromLatin1(kHelpPage));
    buildControls();
    host_ = std::make_unique<WindowHost>(
        host, [this](const QString& line) { Picture1_->appendPlainText(line); },
        [this] { Picture1_->clear(); }, [this](const QString& t) { TxtYl_->setPlainText(t); });
    host_->intercept = [this](std::string_view program, const std::vector<std::string>& args,
                              bool& started) {
        if (program != kBuiltInViewer) return false;
        started = !args.empty() && openText_ && openText_(qs(args[0]), 0);
        return true;
    };
    core_ = std::make_unique<AnalysisWindow>(*host_);
    core_->start();
    TxtYl_->setVisible(core_->TxtYlVisible);
    Picture1_->setVisible(!core_->TxtYlVisible);
    fillDriveList(DrvList_);
    folder_ = QDir::currentPath();
    fillFolderList(DirList_, DrvList_, folder_);
    fillFiles();
    showCheckBoxes();
}

FrmTarvel::~FrmTarvel() = default;

void FrmTarvel::buildControls() {
    auto* lblType = new QLabel(u(text::kFileType), this);
    CboLx_ = new QComboBox(this);
    CboLx_->setObjectName(QStringLiteral("CboLx"));
    for (const char* item : AnalysisWindow::kFileTypes) CboLx_->addItem(u(item));
    lblType->setBuddy(CboLx_);
    createBrowserLists(this, DrvList_, DirList_, FilList_);
    auto* lblName = new QLabel(u(text::kFileName), this);
    TxtName_ = new QLineEdit(this);
    TxtName_->setObjectName(QStringLiteral("TxtName"));
    lblName->setBuddy(TxtName_);

    auto* grades = new QGroupBox(u(text::kGrades), this);
    grades->setObjectName(QStringLiteral("FraGrades"));
    CboII_ = new QComboBox(grades);
    CboII_->setObjectName(QStringLiteral("CboII"));
    CboI_ = new QComboBox(grades);
    CboI_->setObjectName(QStringLiteral("CboI"));
    for (QComboBox* box : {CboII_, CboI_}) {
        box->setEditable(true);
        box->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    }
    CboII_->setCurrentText(QStringLiteral("2"));
    CboI_->setCurrentText(QStringLiteral("1"));
    auto* gradeLayout = new QHBoxLayout(grades);
    gradeLayout->addWidget(new QLabel(u(text::kMainBars), grades));
    gradeLayout->addWidget(CboII_, 1);
    gradeLayout->addSpacing(12);
    gradeLayout->addWidget(new QLabel(u(text::kStirrups), grades));
    gradeLayout->addWidget(CboI_, 1);

    ChkW1_ = new QCheckBox(u(text::kBrowseReport), this);
    ChkW1_->setObjectName(QStringLiteral("ChkW1"));
    ChkW2_ = new QCheckBox(u(text::kBrowseForces), this);
    ChkW2_->setObjectName(QStringLiteral("ChkW2"));
    LblStale_ = new QLabel(u(text::kStale), this);
    LblStale_->setObjectName(QStringLiteral("LblStale"));
    LblStale_->setWordWrap(true);
    LblStale_->setStyleSheet(QStringLiteral("color: #b00000;"));
    LblStale_->hide();

    auto* buttons = new QGridLayout;
    QPushButton* commands[6] = {};
    for (int i = 0; i < 6; ++i) {
        commands[i] = new QPushButton(u(text::kCommands[i].caption), this);
        commands[i]->setObjectName(QString::fromLatin1(text::kCommands[i].name));
        commands[i]->setToolTip(u(text::kCommands[i].tip));
        buttons->addWidget(commands[i], i / 2, i % 2);
    }

    Picture1_ = new QPlainTextEdit(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setReadOnly(true);
    TextWindow::useReportLayout(Picture1_);
    Picture1_->setPlaceholderText(u(text::kLog));
    TxtYl_ = new QPlainTextEdit(this);
    TxtYl_->setObjectName(QStringLiteral("TxtYl"));
    TxtYl_->setReadOnly(true);
    TextWindow::useReportLayout(TxtYl_);
    TxtYl_->setLineWrapMode(QPlainTextEdit::NoWrap);

    FraResults_ = new QGroupBox(u(text::kSummary), this);
    FraResults_->setObjectName(QStringLiteral("FraResults"));
    auto* form = new QFormLayout(FraResults_);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    auto value = [&](const char* name, const char* caption) {
        auto* label = new QLabel(FraResults_);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setWordWrap(true);
        form->addRow(u(caption), label);
        return label;
    };
    LblPeriods_ = value("LblPeriods", text::kPeriods);
    LblWindDrift_ = value("LblWindDrift", text::kWindDrift);
    LblQuakeDrift_ = value("LblQuakeDrift", text::kQuakeDrift);
    LblDead_ = value("LblDead", text::kDead);
    LblLive_ = value("LblLive", text::kLive);
    LblWindShear_ = value("LblWindShear", text::kWindShear);
    LblQuakeShear_ = value("LblQuakeShear", text::kQuakeShear);
    LstFailed_ = new QListWidget(FraResults_);
    LstFailed_->setObjectName(QStringLiteral("LstFailed"));
    form->addRow(u(text::kFailed), LstFailed_);
    FraResults_->hide();

    // Left: the browser and the selections; right: the log (or the view box) and the summary.
    auto* left = new QVBoxLayout;
    left->addWidget(lblType);
    left->addWidget(CboLx_);
    left->addWidget(DrvList_);
    left->addWidget(DirList_, 2);
    left->addWidget(FilList_, 3);
    left->addWidget(lblName);
    left->addWidget(TxtName_);
    left->addWidget(grades);
    auto* checks = new QHBoxLayout;
    checks->addWidget(ChkW1_);
    checks->addWidget(ChkW2_);
    checks->addStretch();
    left->addLayout(checks);
    left->addWidget(LblStale_);
    left->addLayout(buttons);
    auto* leftPane = new QWidget(this);
    leftPane->setLayout(left);
    leftPane->setMinimumWidth(260);
    leftPane->setMaximumWidth(340);

    auto* output = new QSplitter(Qt::Horizontal, this);
    auto* logPane = new QWidget(output);
    auto* logLayout = new QVBoxLayout(logPane);
    logLayout->setContentsMargins(0, 0, 0, 0);
    logLayout->addWidget(Picture1_);
    logLayout->addWidget(TxtYl_);
    output->addWidget(logPane);
    output->addWidget(FraResults_);
    output->setStretchFactor(0, 3);
    output->setStretchFactor(1, 2);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftPane);
    layout->addWidget(output, 1);

    connect(CboLx_, &QComboBox::currentIndexChanged, this, [this](int) {
        core_->CboLx = us(CboLx_->currentText());
        fillFiles();
    });
    connectBrowserLists(this, DrvList_, DirList_, folder_,
                        [this](const QString& folder) { setFolder(folder); });
    connect(FilList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        core_->selectFile(us(item->text()));
        TxtName_->setText(item->text());
    });
    connect(FilList_, &QListWidget::itemDoubleClicked, this, [this] { browse(); });
    connect(TxtName_, &QLineEdit::textChanged, this, [this](const QString& name) {
        core_->TxtName = us(name);
        showStaleness();
    });
    connect(CboII_, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { core_->CboII = us(t); });
    connect(CboI_, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { core_->CboI = us(t); });
    connect(ChkW1_, &QCheckBox::toggled, this, [this](bool on) {
        core_->setBrowseReport(on);
        showCheckBoxes();
    });
    connect(ChkW2_, &QCheckBox::toggled, this, [this](bool on) {
        core_->setBrowseForceListing(on);
        showCheckBoxes();
    });
    connect(commands[0], &QPushButton::clicked, this, [this] { browse(); });
    connect(commands[1], &QPushButton::clicked, this, [this] { validateOrConvert(true); });
    connect(commands[2], &QPushButton::clicked, this, [this] { validateOrConvert(false); });
    connect(commands[3], &QPushButton::clicked, this, [this] { run(); });
    connect(commands[4], &QPushButton::clicked, this,
            [this] { emit helpRequested(QString::fromLatin1(kHelpPage)); });
    connect(commands[5], &QPushButton::clicked, this, [this] {
        QWidget* frame = parentWidget() ? parentWidget() : this;
        frame->close();
    });
    connect(LstFailed_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int line = item->data(Qt::UserRole).toInt();
        if (line > 0 && openText_) {
            openText_(dataFolderPath() + u(run_text::kReportFile), line);
        }
    });
}

// The data folder as the core holds it; the current folder while none is chosen.
QString FrmTarvel::dataFolderPath() const {
    return core_->dataFolder.empty() ? QString() : qs(core_->dataFolder);
}

void FrmTarvel::setFolder(const QString& folder) {
    folder_ = QDir(folder).absolutePath();
    core_->selectFolder(us(folder_));
    fillFolderList(DirList_, DrvList_, folder_);
    fillFiles();
    showStaleness();
}

void FrmTarvel::fillFiles() {
    FilList_->clear();
    FilList_->addItems(filesMatching(
        folder_, QString::fromLatin1(AnalysisWindow::filePattern(CboLx_->currentIndex()))));
}

void FrmTarvel::showCheckBoxes() {
    const QSignalBlocker b1(ChkW1_);
    const QSignalBlocker b2(ChkW2_);
    ChkW1_->setChecked(core_->ChkW1.ticked);
    ChkW1_->setEnabled(core_->ChkW1.enabled);
    ChkW2_->setChecked(core_->ChkW2.ticked);
    ChkW2_->setEnabled(core_->ChkW2.enabled);
}

// Result files older than the data file belong to an earlier version of it.
void FrmTarvel::showStaleness() {
    const QFileInfo data(dataFolderPath() + TxtName_->text());
    bool stale = false;
    if (!TxtName_->text().isEmpty() && data.isFile()) {
        for (const QString& name : resultFiles()) {
            const QFileInfo result(dataFolderPath() + name);
            if (result.isFile() && result.lastModified() < data.lastModified()) stale = true;
        }
    }
    LblStale_->setVisible(stale);
}

void FrmTarvel::run() {
    TxtYl_->hide();
    Picture1_->show();
    FraResults_->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool finished = core_->runAnalysis();
    QApplication::restoreOverrideCursor();
    if (finished) showSummary();
    fillFiles();
    showStaleness();
}

void FrmTarvel::showSummary() {
    const ResultsSummary s = summarise(core_->state());
    QStringList periods;
    for (std::size_t j = 0; j < s.periods.size(); ++j) {
        periods << QStringLiteral("T%1 = %2").arg(j + 1).arg(s.periods[j], 0, 'f', 4);
    }
    LblPeriods_->setText(periods.isEmpty() ? u(text::kNone) : periods.join(QStringLiteral("   ")));
    LblWindDrift_->setText(s.hasWind ? driftText(s.windDrift) : u(text::kNone));
    LblQuakeDrift_->setText(s.hasSeismic ? driftText(s.seismicDrift) : u(text::kNone));
    LblDead_->setText(kN(s.dead.vertical));
    LblLive_->setText(kN(s.live.vertical));
    LblWindShear_->setText(s.hasWind ? kN(s.wind.horizontal) : u(text::kNone));
    LblQuakeShear_->setText(s.hasSeismic ? kN(s.seismicBaseShear) : u(text::kNone));

    LstFailed_->clear();
    const std::optional<std::string> report =
        readWholeFile(us(dataFolderPath() + u(run_text::kReportFile)));
    const std::string reportText = report ? decodeTextFile(*report) : std::string();
    for (const FailedMember& m : s.failed) {
        const bool beam = m.kind == FailedMember::Kind::Beam;
        auto* item = new QListWidgetItem(u(beam ? text::kBeam : text::kColumn) +
                                         QString::number(m.number) + QStringLiteral("：") +
                                         qs(m.reason));
        item->setData(Qt::UserRole, reportLineOf(reportText, m));
        LstFailed_->addItem(item);
    }
    if (s.failed.empty()) {
        auto* item = new QListWidgetItem(u(text::kAllPassed));
        item->setFlags(Qt::ItemIsEnabled);
        LstFailed_->addItem(item);
    }
    FraResults_->show();
}

void FrmTarvel::browse() {
    const QString notepad = folder0_.suppliedEditor(QStringLiteral("NOTEPAD.EXE"));
    core_->viewFile(notepad.isEmpty() ? std::string(kBuiltInViewer) : us(notepad));
    showCheckBoxes();
}

void FrmTarvel::validateOrConvert(bool validate) {
    if (validate) {
        core_->checkDataFile();
    } else {
        core_->convertDataFile();
    }
    TxtYl_->setVisible(core_->TxtYlVisible);
    Picture1_->setVisible(!core_->TxtYlVisible);
    if (!validate) fillFiles();
}

}  // namespace tarvel::app
