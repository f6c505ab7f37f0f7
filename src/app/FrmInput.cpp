#include "FrmInput.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <filesystem>

#include "FrmRegularFrame.h"
#include "InputPreview.h"
#include "JobTableModel.h"
#include "app_services.h"
#include "common/file_io.h"
#include "common/host.h"
#include "desktop_host.h"
#include "grid_editing.h"
#include "prep/data_file_generation.h"
#include "prep/file_choice.h"
#include "prep/frm_conversion.h"
#include "prep/job_import.h"
#include "prep/record_set.h"
#include "prep/section_numbers.h"
#include "program_folder.h"
#include "run/data_file_check.h"
#include "text_printing.h"

namespace tarvel::app {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// One tab of a table: caption, heading, segment name, notes, picture and
// the delete button's caption and tooltip.
struct TabText {
    const char* caption;
    const char* heading;
    const char* segment;
    const char* notes;
    const char* picture;
    const char* button;
    const char* tooltip;
};

constexpr const char* kDelete = "删除记录(&D)";
constexpr const char* kDeleteTip = "删除指定的记录";
constexpr const char* kLoadNotes =
    "IBARi：杆件号；ICi：荷载类型(1～6)；Qi：荷载值；Ai、Bi：荷载位置参数(M)。\n"
    "荷载类型见右图。";

// Tabs 1 ... 10; the seismic tab and the generation tab are built apart.
constexpr TabText kTabs[] = {
    {"自重计算", "一、自重计算信息数据段", "WEIGHT",
     "1、若K=0，不计算结构自重。\n"
     "2、若K=1，按钢筋混凝土重力密度r=25KN/M3，将构件自    重作为恒载进行结构分析。\n"
     "3、可以输入实际数值，输入单位为KN/M3。",
     "index.JPG", kDelete, kDeleteTip},
    {"刚度系数", "二、刚度系数数据段", "STIFFNESS",
     "定义杆件的抗弯刚度调整系数和轴向刚度调整系数。\n若无该数据段，隐含ALFI=ALFF=1。", "d.JPG",
     kDelete, kDeleteTip},
    {"杆件截面", "三、杆件截面数据段", "BAR-SEC", "输入单位为(M)", "TVL7.ICO", kDelete, kDeleteTip},
    {"强度等级", "四、混凝土强度等级数据段", "CONCRATE",
     "定义各层框架梁柱的混凝土的强度等级。\n如：C20、C25、C30\n输入时按实际数值输入。如：20，25，30",
     "TVL2.GIF", kDelete, kDeleteTip},
    {"节点数据", "五、节点数据段", "POINT",
     "IPi：节点号；IXi、IYi、IFi：水平、竖向、转角位移编码，0 为约束；\nXi、Yi：节点坐标(M)。",
     "TVL6.GIF", kDelete, kDeleteTip},
    {"梁单元", "六、梁单元数据段", "BEAM",
     "Ii、Ji：始端、末端节点号；KSECi：截面号；KCi：混凝土强度等级号。", "TVL1.GIF", kDelete,
     kDeleteTip},
    {"柱单元", "七、柱单元数据段", "COLUMN",
     "Ii、Ji：下端、上端节点号；KSECi：截面号；KCi：混凝土强度等级号；\nALFi：计算长度系数。",
     "TVL1.GIF", kDelete, kDeleteTip},
    {"恒载数据", "八、恒载数据段", "DLOAD", kLoadNotes, "TVL3.GIF", kDelete, kDeleteTip},
    {"活载数据", "九、活载数据段", "LLOAD", kLoadNotes, "TVL3.GIF", kDelete, kDeleteTip},
    {"风载数据", "十、风载数据段", "WLOAD", kLoadNotes, "TVL4.GIF", kDelete, "删除制定的记录"},
};

constexpr int kSeismic1 = 10;
constexpr int kSeismic2 = 11;

}  // namespace

// The window's host: the status line and the view box are the window's own.
class FrmInput::WindowHost : public Host {
public:
    WindowHost(Host& base, FrmInput& w) : base_(base), w_(w) {}
    void message(std::string_view text, std::string_view title, Icon icon) override {
        base_.message(text, title, icon);
    }
    using Host::ask;
    Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override {
        return base_.ask(text, title, buttons, icon);
    }
    void log(std::string_view line) override { base_.log(line); }
    void clearLog() override { base_.clearLog(); }
    void status(std::string_view text) override { w_.TxtTs_->setText(qs(text)); }
    void view(std::string_view text) override { w_.TxtYl_->setPlainText(qs(text)); }
    std::optional<std::string> chooseFile(std::string_view title, std::string_view filter) override {
        return base_.chooseFile(title, filter);
    }
    std::optional<std::string> chooseNewFile(std::string_view title,
                                             std::string_view filter) override {
        return base_.chooseNewFile(title, filter);
    }
    bool startProgram(std::string_view program, const std::vector<std::string>& arguments) override {
        return base_.startProgram(program, arguments);
    }

private:
    Host& base_;
    FrmInput& w_;
};

FrmInput::FrmInput(const ProgramFolder& folder, Host& host, Session& session, QWidget* parent)
    : QWidget(parent),
      folder_(folder),
      base_(host),
      session_(session),
      host_(std::make_unique<WindowHost>(host, *this)),
      editor_(std::make_unique<GridEditor>(*host_)) {
    choosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    askText = [this](const QString& prompt, const QString& title,
                     const QString& value) -> std::optional<QString> {
        bool ok = false;
        const QString text = QInputDialog::getText(this, title, prompt, QLineEdit::Normal, value, &ok);
        if (!ok) return std::nullopt;
        return text;
    };
    setObjectName(QStringLiteral("FrmInput"));
    setWindowTitle(u(input_text::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* view = toolbar->addAction(u("浏览"), this, [this] { Open0(); });
    view->setObjectName(QStringLiteral("W2"));
    view->setToolTip(u("打开数据文件"));
    QAction* print = toolbar->addAction(u("打印"), this, [this] { Pn(); });
    print->setObjectName(QStringLiteral("P1"));
    print->setToolTip(u("打印数据文件"));
    toolbar->addSeparator();
    // Row editing; the keys work wherever the focus is in the window.
    auto editAction = [&](const char* caption, const char* name, const char* tip,
                          QKeySequence key, void (FrmInput::*run)()) {
        QAction* a = toolbar->addAction(u(caption), this, [this, run] { (this->*run)(); });
        a->setObjectName(u(name));
        a->setToolTip(u(tip));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    };
    editAction("插入记录", "InsertRow", "在当前记录之前插入一个空记录", QKeySequence(Qt::CTRL | Qt::Key_Insert),
               &FrmInput::insertAbove);
    editAction("粘贴", "Paste", "把电子表格中复制的数据从当前单元格起粘贴", QKeySequence::Paste,
               &FrmInput::pasteFromClipboard);
    editAction("撤消", "Undo", "撤消上一次修改", QKeySequence::Undo, &FrmInput::undo);
    QAction* import = toolbar->addAction(u("导入"), this, [this] { importJob(); });
    import->setObjectName(QStringLiteral("Import"));
    import->setToolTip(u("把（TVL）数据文件导入为新的工程"));
    toolbar->addSeparator();
    QAction* exit = toolbar->addAction(u("返回"), this, [this] {
        if (parentWidget()) parentWidget()->close();
        else close();
    });
    exit->setObjectName(QStringLiteral("EXIT"));
    exit->setToolTip(u("返回"));
    QAction* regular = toolbar->addAction(u("规则框架"), this, [this] { regularFrame(); });
    regular->setObjectName(QStringLiteral("CmdRegularFrame"));
    regular->setToolTip(u("按跨度、层高一次生成规则框架的全部数据"));
    layout->addWidget(toolbar);
    auto* splitter = new QSplitter(this);
    tabs_ = new QTabWidget(splitter);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    preview_ = new InputPreview(splitter);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({600, 400});
    layout->addWidget(splitter);
    buildTabs();
    connect(tabs_, &QTabWidget::currentChanged, preview_, &InputPreview::showLoadsOfTab);
}

FrmInput::~FrmInput() {
    // The models read the database: they go before it closes, the steps
    // that name them before the models.
    editor_->clear();
    for (TableTab& t : tables_) delete t.model;
}

void FrmInput::buildTabs() {
    for (int t = 0; t < kSeismic1; ++t) {
        tabs_->addTab(t < 2 ? buildRecordTab(t) : buildTableTab(t), u(kTabs[t].caption));
    }
    tabs_->addTab(buildSeismicTab(), u("地震数据"));
    tabs_->addTab(buildGenerationTab(), u("文件生成"));
}

namespace {

QWidget* tabFrame(const char* heading, const char* segment, const char* notes, QPixmap picture,
                  QGridLayout*& body) {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    auto* head = new QLabel(u(heading));
    QFont f = head->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    head->setFont(f);
    top->addWidget(head);
    top->addStretch();
    auto* seg = new QLabel(u(segment));
    seg->setFont(f);
    top->addWidget(seg);
    outer->addLayout(top);
    auto* middle = new QHBoxLayout;
    auto* noteLabel = new QLabel(u(notes));
    noteLabel->setWordWrap(true);
    noteLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    middle->addWidget(noteLabel, 1);
    auto* image = new QLabel;
    image->setPixmap(picture);
    image->setAlignment(Qt::AlignTop | Qt::AlignRight);
    middle->addWidget(image);
    outer->addLayout(middle);
    body = new QGridLayout;
    outer->addLayout(body, 1);
    return page;
}

}  // namespace

QWidget* FrmInput::buildTableTab(int t) {
    const TabText& text = kTabs[t];
    QGridLayout* body = nullptr;
    QWidget* page = tabFrame(text.heading, text.segment, text.notes, folder_.picture(u(text.picture)),
                             body);
    auto* grid = new QTableView;
    grid->setObjectName(t >= 2 ? QStringLiteral("DBGrid%1").arg(t - 1)
                               : QStringLiteral("Grid%1").arg(qs(jobTables()[t].name)));
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    body->addWidget(grid, 0, 0, 1, 2);
    addTableFooter(body, 1, t);
    tables_[static_cast<std::size_t>(t)].grid = grid;
    return page;
}

// Under a tab's table: its position caption and its delete button.
void FrmInput::addTableFooter(QGridLayout* body, int row, int t) {
    const TabText& text = kTabs[t];
    auto* caption = new QLabel;
    caption->setObjectName(qs(jobTables()[static_cast<std::size_t>(t)].control));
    caption->setFrameShape(QFrame::Panel);
    caption->setFrameShadow(QFrame::Sunken);
    auto* button = new QPushButton(u(text.button));
    button->setObjectName(QStringLiteral("Command%1").arg(t + 1));
    button->setToolTip(u(text.tooltip));
    connect(button, &QPushButton::clicked, this, [this, t] { deleteRecord(t); });
    body->addWidget(caption, row, 0);
    body->addWidget(button, row, 1);
    body->setColumnStretch(0, 1);
    tables_[static_cast<std::size_t>(t)].caption = caption;
}

// WEIGHT and STIFFNESS hold one record: drop-down boxes bound to its columns.
QWidget* FrmInput::buildRecordTab(int t) {
    const TabText& text = kTabs[t];
    QGridLayout* body = nullptr;
    QWidget* page = tabFrame(text.heading, text.segment, text.notes, folder_.picture(u(text.picture)),
                             body);
    auto* form = new QGridLayout;
    if (t == 0) {
        form->addWidget(new QLabel(QStringLiteral("K：")), 0, 0);
        form->addWidget(recordBox(t, 0, "CboK", {QStringLiteral("0"), QStringLiteral("1")}), 0, 1);
    } else {
        form->addWidget(new QLabel(u("ALFI：")), 0, 0);
        form->addWidget(recordBox(t, 0, "CboALFI", {QStringLiteral("1")}), 0, 1);
        form->addWidget(new QLabel(u("ALFF：")), 0, 2);
        form->addWidget(recordBox(t, 1, "CboALFF", {QStringLiteral("1")}), 0, 3);
    }
    form->setColumnStretch(4, 1);
    body->addLayout(form, 0, 0, 1, 2);
    body->setRowStretch(1, 1);
    addTableFooter(body, 2, t);
    return page;
}

// A box bound to one column of a one-record table: a drop-down with free
// entry when it has items, else a text box. Enter hands the focus on to the
// next box of the same table, the last back to the first (not in WEIGHT,
// whose one box has no chain).
QWidget* FrmInput::recordBox(int t, int column, const char* name, const QStringList& items) {
    QWidget* box = nullptr;
    QLineEdit* edit = nullptr;
    if (!items.isEmpty()) {
        auto* combo = new QComboBox;
        combo->setEditable(true);
        combo->addItems(items);
        combo->setCurrentIndex(-1);
        connect(combo, &QComboBox::activated, this, [this, t, column] { commitRecordBox(t, column); });
        edit = combo->lineEdit();
        box = combo;
    } else {
        edit = new QLineEdit;
        box = edit;
    }
    box->setObjectName(u(name));
    connect(edit, &QLineEdit::editingFinished, this, [this, t, column] { commitRecordBox(t, column); });
    if (t != 0) {
        connect(edit, &QLineEdit::returnPressed, this, [this, t, column] {
            const auto& chain = boxes_[static_cast<std::size_t>(t)];
            chain[static_cast<std::size_t>(column + 1) % chain.size()]->setFocus();
        });
    }
    boxes_[static_cast<std::size_t>(t)].push_back(box);
    return box;
}

QWidget* FrmInput::buildSeismicTab() {
    QGridLayout* body = nullptr;
    QWidget* page = tabFrame("十一、地震作用数据段", "SEISMIC",
                             "地震参数：KCLASS、K0、TG、ALF1、ALF2、NN、ADJUST。\n"
                             "地震数据：NRN 为其后数值的个数；Mi 为节点号；AWi 为附加重量(KN)。\n"
                             "一个质量分布于几个节点时，续行的 NRN、AWi 留空。",
                             folder_.picture(u("TVL5.GIF")), body);
    // Parameters: one record of SEISMIC1.
    auto* params = new QGroupBox(u("地震参数"));
    auto* form = new QGridLayout(params);
    const JobTable& s1 = jobTables()[kSeismic1];
    const char* names[] = {"CboKCLASS", "CboK0", "TxtTG", "TxtALF1", "TxtALF2", "TxtNN", "TxtADJUST"};
    for (int c = 0; c < 7; ++c) {
        auto* label = new QLabel(qs(s1.columns[static_cast<std::size_t>(c)].name) + u("："));
        QStringList items;
        for (int i = 1; c < 2 && i <= (c == 0 ? 5 : 10); ++i) items << QString::number(i);
        QWidget* box = recordBox(kSeismic1, c, names[c], items);
        form->addWidget(label, c / 4, (c % 4) * 2);
        form->addWidget(box, c / 4, (c % 4) * 2 + 1);
    }
    auto* caption1 = new QLabel;
    caption1->setObjectName(QStringLiteral("Data11"));
    auto* button1 = new QPushButton(u("地震参数删除(&L)"));
    button1->setObjectName(QStringLiteral("Command11"));
    button1->setToolTip(u("删除指定的地震参数记录"));
    connect(button1, &QPushButton::clicked, this, [this] { deleteRecord(kSeismic1); });
    form->addWidget(caption1, 2, 0, 1, 6);
    form->addWidget(button1, 2, 6, 1, 2);
    tables_[kSeismic1].caption = caption1;

    // Masses: the grid on SEISMIC2.
    auto* masses = new QGroupBox(u("地震数据"));
    auto* massLayout = new QGridLayout(masses);
    auto* grid = new QTableView;
    grid->setObjectName(QStringLiteral("DBGrid9"));
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* caption2 = new QLabel;
    caption2->setObjectName(QStringLiteral("Data12"));
    auto* button2 = new QPushButton(u("地震数据删除(&E)"));
    button2->setObjectName(QStringLiteral("Command12"));
    button2->setToolTip(u("删除指定的地震数据记录"));
    connect(button2, &QPushButton::clicked, this, [this] { deleteRecord(kSeismic2); });
    massLayout->addWidget(grid, 0, 0, 1, 2);
    massLayout->addWidget(caption2, 1, 0);
    massLayout->addWidget(button2, 1, 1);
    massLayout->setColumnStretch(0, 1);
    tables_[kSeismic2].grid = grid;
    tables_[kSeismic2].caption = caption2;

    body->addWidget(params, 0, 0);
    body->addWidget(masses, 1, 0);
    body->setRowStretch(1, 1);
    return page;
}

QWidget* FrmInput::buildGenerationTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* frame = new QGroupBox(u("文件浏览"));
    auto* frameLayout = new QVBoxLayout(frame);
    TxtYl_ = new QPlainTextEdit;
    TxtYl_->setObjectName(QStringLiteral("TxtYl"));
    TxtYl_->setLineWrapMode(QPlainTextEdit::NoWrap);
    TxtTs_ = new QLineEdit;
    TxtTs_->setObjectName(QStringLiteral("TxtTs"));
    TxtTs_->setReadOnly(true);
    frameLayout->addWidget(TxtYl_, 1);
    frameLayout->addWidget(TxtTs_);
    layout->addWidget(frame, 1);
    auto* buttons = new QHBoxLayout;
    struct Cmd {
        const char* name;
        const char* caption;
        const char* tip;
        void (FrmInput::*run)();
    };
    const Cmd cmds[] = {{"CmdWjsc", "文件生成(&F)", "生成TVL文件", &FrmInput::CmdWjsc},
                        {"CmdWjjy", "文件校验(&W)", "校验TVL文件格式", &FrmInput::CmdWjjy},
                        {"CmdWjzh", "文件转换(&R)", "把FRM文件转换成TVL文件", &FrmInput::CmdWjzh}};
    buttons->addStretch();
    for (const Cmd& c : cmds) {
        auto* b = new QPushButton(u(c.caption));
        b->setObjectName(u(c.name));
        b->setToolTip(u(c.tip));
        connect(b, &QPushButton::clicked, this, [this, run = c.run] { (this->*run)(); });
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    return page;
}

bool FrmInput::openJob() {
    editor_->clear();
    for (TableTab& t : tables_) {
        if (t.grid) t.grid->setModel(nullptr);
        delete t.model;
        t.model = nullptr;
    }
    preview_->detach();
    db_.close();
    lock_.release();
    const std::string path = us(session_.CurrentDatabasePath);
    std::string error;
    if (!db_.open(path, &error)) {
        host_->message(std::string(input_text::kNotAJob) + path + "\n" + error,
                       input_text::kNoticeTitle, Icon::Information);
        return false;
    }
    readOnly_ = !lock_.acquire(path);
    if (readOnly_) host_->message(input_text::kReadOnly + path, input_text::kNoticeTitle, Icon::Information);
    bindModels();
    return true;
}

void FrmInput::bindModels() {
    for (int t = 0; t < kJobTableCount; ++t) {
        TableTab& tab = tables_[static_cast<std::size_t>(t)];
        tab.model = new JobTableModel(db_, jobTables()[static_cast<std::size_t>(t)], *host_);
        tab.model->setReadOnly(readOnly_);
        tab.model->setEditHook([this, m = tab.model](int row, int column, const Cell& entered) {
            return editor_->edit(*m, row, column, entered);
        });
        connect(tab.model, &JobTableModel::recordsChanged, this, [this, t] { updateCaption(t); });
        if (tab.grid) {
            tab.grid->setModel(tab.model);
            connect(tab.model, &JobTableModel::rowProblemsChanged, tab.grid->viewport(),
                    qOverload<>(&QWidget::update));
            connect(tab.grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
                    [this, t] { updateCaption(t); });
            if (tab.model->recordCount() > 0) tab.grid->setCurrentIndex(tab.model->index(0, 0));
        }
        updateCaption(t);
    }
    for (int t = 0; t < kJobTableCount; ++t) {
        if (auto* b = findChild<QPushButton*>(QStringLiteral("Command%1").arg(t + 1))) {
            b->setEnabled(!readOnly_);
        }
    }
    for (int t : {0, 1, kSeismic1}) {
        for (QWidget* box : boxes_[static_cast<std::size_t>(t)]) box->setEnabled(!readOnly_);
        connect(tables_[static_cast<std::size_t>(t)].model, &JobTableModel::recordsChanged, this,
                [this, t] { showRecordBoxes(t); });
        showRecordBoxes(t);
    }
    if (auto* regular = findChild<QAction*>(QStringLiteral("CmdRegularFrame"))) regular->setEnabled(!readOnly_);
    preview_->attach(db_, [this](std::string_view table) { return model(table); });
}

JobTableModel* FrmInput::model(std::string_view table) const {
    const JobTable* t = findJobTable(table);
    return t ? tables_[static_cast<std::size_t>(t - jobTables().data())].model : nullptr;
}

QTableView* FrmInput::grid(std::string_view table) const {
    const JobTable* t = findJobTable(table);
    return t ? tables_[static_cast<std::size_t>(t - jobTables().data())].grid : nullptr;
}

QString FrmInput::caption(std::string_view table) const {
    const JobTable* t = findJobTable(table);
    return t ? tables_[static_cast<std::size_t>(t - jobTables().data())].caption->text() : QString();
}

int FrmInput::currentRecord(int t) const {
    const TableTab& tab = tables_[static_cast<std::size_t>(t)];
    if (!tab.model || tab.model->recordCount() == 0) return -1;
    if (!tab.grid) return 0;  // the parameter boxes show the first record
    const int row = tab.grid->currentIndex().isValid() ? tab.grid->currentIndex().row() : -1;
    return row < tab.model->recordCount() ? row : -1;
}

void FrmInput::updateCaption(int t) {
    const TableTab& tab = tables_[static_cast<std::size_t>(t)];
    if (!tab.caption || !tab.model) return;
    tab.caption->setText(qs(jobTables()[static_cast<std::size_t>(t)].captionPrefix) +
                         QString::number(currentRecord(t) + 1) + QStringLiteral(" / ") +
                         QString::number(tab.model->recordCount()) + QStringLiteral(")"));
}

void FrmInput::deleteRecord(int t) {
    TableTab& tab = tables_[static_cast<std::size_t>(t)];
    const int row = currentRecord(t);
    if (row < 0) {
        host_->message(record_text::kNoRecord, record_text::kNoticeTitle, Icon::Information);
        return;
    }
    if (host_->ask(record_text::kDeleteQuestion, record_text::kDeleteTitle, Buttons::YesNo,
                   Icon::Information) != Answer::Yes) {
        return;
    }
    editor_->stack().beginMacro(QStringLiteral("delete"));
    const bool deleted = editor_->remove(*tab.model, row);
    if (deleted) {
        const JobTable& table = jobTables()[static_cast<std::size_t>(t)];
        if (table.name == job_table::kBarSec || table.name == job_table::kConcrate) {
            offerMemberRenumbering(t, row + 1, false);
        }
    }
    editor_->stack().endMacro();
    if (!deleted) {
        editor_->stack().undo();  // the empty step is not one to take back
        return;
    }
    const int count = tab.model->recordCount();
    if (row >= count) {  // the deleted record was the last
        if (tab.grid && count > 0) tab.grid->setCurrentIndex(tab.model->index(count - 1, 0));
        updateCaption(t);
        host_->message(record_text::kLastRecord, record_text::kNoticeTitle, Icon::Information);
    } else if (tab.grid) {
        tab.grid->setCurrentIndex(tab.model->index(row, 0));  // the record that followed
    }
    updateCaption(t);
}

// Sections and grades are numbered by row: after a row of BARSEC or CONCRATE
// was deleted or put in at `position`, the members after it name another row.
// The renumbering, when accepted, is a step of its own, taken back together
// with the deletion or insertion.
void FrmInput::offerMemberRenumbering(int t, int position, bool inserted) {
    const JobTable& table = jobTables()[static_cast<std::size_t>(t)];
    JobTableModel* members[] = {model(job_table::kBeam), model(job_table::kColumn)};
    std::vector<std::vector<Row>> before;
    for (JobTableModel* m : members) {
        std::vector<Row> rows;
        for (int r = 0; r < m->recordCount(); ++r) {
            Row cells;
            for (int c = 0; c < m->columnCount(); ++c) cells.push_back(m->cell(r, c));
            rows.push_back(std::move(cells));
        }
        before.push_back(std::move(rows));
    }
    bool renumbered = false;
    try {
        renumbered = inserted ? offerRenumberingAfterInsertion(db_, table, position, *host_)
                              : offerRenumbering(db_, table, position, *host_);
    } catch (const JobDatabaseError& e) {
        // Written all or nothing: nothing was changed.
        host_->message(std::string(grid_text::kWriteFailed) + e.what(), grid_text::kTitle,
                       Icon::Exclamation);
    }
    if (!renumbered) return;
    std::vector<CellChange> changes;
    for (std::size_t i = 0; i < 2; ++i) {
        JobTableModel* m = members[i];
        m->reload();
        for (int r = 0; r < m->recordCount() && r < static_cast<int>(before[i].size()); ++r) {
            for (int c = 0; c < m->columnCount(); ++c) {
                const Cell& old = before[i][static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
                if (!(m->cell(r, c) == old)) changes.push_back({m, r, c, old, m->cell(r, c)});
            }
        }
    }
    editor_->recordWritten(std::move(changes), QStringLiteral("renumber"));
}

int FrmInput::currentGridTable() const {
    const int tab = tabs_->currentIndex();
    const int t = tab == kSeismic1 ? kSeismic2 : tab;
    if (t < 0 || t >= kJobTableCount) return -1;
    const TableTab& entry = tables_[static_cast<std::size_t>(t)];
    return entry.grid && entry.model ? t : -1;
}

void FrmInput::insertAbove() {
    const int t = currentGridTable();
    if (t < 0 || readOnly_) return;
    TableTab& tab = tables_[static_cast<std::size_t>(t)];
    const QModelIndex current = tab.grid->currentIndex();
    const int row = current.isValid() ? current.row() : tab.model->recordCount();
    const bool moves = row < tab.model->recordCount();  // not at the new-row line
    editor_->stack().beginMacro(QStringLiteral("insert"));
    const bool inserted = editor_->insertAbove(*tab.model, row);
    const JobTable& table = jobTables()[static_cast<std::size_t>(t)];
    if (inserted && moves &&
        (table.name == job_table::kBarSec || table.name == job_table::kConcrate)) {
        offerMemberRenumbering(t, row + 1, true);
    }
    editor_->stack().endMacro();
    if (!inserted) {
        editor_->stack().undo();
        return;
    }
    tab.grid->setCurrentIndex(tab.model->index(row, current.isValid() ? current.column() : 0));
    updateCaption(t);
}

void FrmInput::pasteFromClipboard() {
    const int t = currentGridTable();
    if (t < 0 || readOnly_) return;
    TableTab& tab = tables_[static_cast<std::size_t>(t)];
    const QModelIndex current = tab.grid->currentIndex();
    const int row = current.isValid() ? current.row() : tab.model->recordCount();
    const int column = current.isValid() ? current.column() : 0;
    editor_->paste(*tab.model, row, column, QApplication::clipboard()->text());
    updateCaption(t);
}

void FrmInput::undo() {
    if (readOnly_ || !editor_->stack().canUndo()) return;
    editor_->stack().undo();
    for (int t = 0; t < kJobTableCount; ++t) updateCaption(t);
}

void FrmInput::showRecordBoxes(int t) {
    const JobTableModel* m = tables_[static_cast<std::size_t>(t)].model;
    const auto& boxes = boxes_[static_cast<std::size_t>(t)];
    for (int c = 0; c < static_cast<int>(boxes.size()); ++c) {
        const QString text = m && m->recordCount() > 0
                                 ? m->data(m->index(0, c)).toString()
                                 : QString();
        QWidget* box = boxes[static_cast<std::size_t>(c)];
        if (auto* combo = qobject_cast<QComboBox*>(box)) combo->setEditText(text);
        else static_cast<QLineEdit*>(box)->setText(text);
    }
}

void FrmInput::commitRecordBox(int t, int column) {
    JobTableModel* m = tables_[static_cast<std::size_t>(t)].model;
    if (!m || readOnly_) return;
    QWidget* box = boxes_[static_cast<std::size_t>(t)][static_cast<std::size_t>(column)];
    auto* combo = qobject_cast<QComboBox*>(box);
    const QString text = combo ? combo->currentText() : static_cast<QLineEdit*>(box)->text();
    const int row = m->recordCount() > 0 ? 0 : m->recordCount();  // first record or a new one
    const QModelIndex index = m->index(row, column);
    if (m->data(index).toString() == text) return;
    if (!m->setData(index, text)) showRecordBoxes(t);  // refused: the stored value again
}

void FrmInput::CmdWjsc() {
    session_.LastChosenFile = qs(Open1(*host_));
    tarvel::CmdWjsc(db_, us(session_.LastChosenFile), *host_);
}

void FrmInput::CmdWjjy() {
    session_.LastChosenFile = qs(Open1(*host_));
    tarvel::CmdWjjy(us(session_.LastChosenFile), *host_);
}

void FrmInput::CmdWjzh() {
    session_.LastChosenFile = qs(Open1(*host_));
    tarvel::CmdWjzh(us(session_.LastChosenFile), *host_);
}

void FrmInput::regularFrame() {
    if (!db_.isOpen() || readOnly_) return;
    auto* dialog = new FrmRegularFrame(*host_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &FrmRegularFrame::frameChosen, this, &FrmInput::applyRegularFrame);
    dialog->open();
}

void FrmInput::applyRegularFrame(const RegularFrame& frame) {
    bool filled = false;
    for (const TableTab& t : tables_) filled |= t.model && t.model->recordCount() > 0;
    if (filled && host_->ask(regular_frame_dialog_text::kReplace, regular_frame_dialog_text::kTitle,
                             Buttons::YesNo, Icon::Question) != Answer::Yes) {
        return;
    }
    try {
        fillRegularFrame(db_, frame);
    } catch (const JobDatabaseError& e) {
        host_->message(std::string(grid_text::kWriteFailed) + e.what(), grid_text::kTitle,
                       Icon::Exclamation);
    }
    for (TableTab& t : tables_) {
        if (t.model) t.model->reload();
    }
    for (int t = 0; t < kJobTableCount; ++t) {
        TableTab& tab = tables_[static_cast<std::size_t>(t)];
        if (tab.grid && tab.model->recordCount() > 0) tab.grid->setCurrentIndex(tab.model->index(0, 0));
        updateCaption(t);
    }
    preview_->refresh();
}

void FrmInput::Open0() {
    TxtTs_->clear();
    session_.LastChosenFile = qs(Open1(*host_));
    if (session_.LastChosenFile.isEmpty()) return;
    TxtYl_->clear();
    const std::optional<QString> answer =
        askText(u(input_text::kViewPrompt), u(input_text::kViewPromptTitle), QStringLiteral("1"));
    if (!answer || answer->isEmpty()) {
        host_->message(input_text::kNoViewChoice, input_text::kPromptTitle, Icon::Information);
        return;
    }
    const QString file = session_.LastChosenFile;
    if (*answer == QLatin1String("1")) {
        // The supplied editor, else the program's own text window.
        const QString notepad = folder_.suppliedEditor(QStringLiteral("NOTEPAD.EXE"));
        if (!notepad.isEmpty()) {
            if (!host_->startProgram(us(notepad), {us(file)})) {
                host_->message(input_text::kEditorFailed + us(notepad), input_text::kPromptTitle,
                               Icon::Information);
                return;
            }
        } else if (!openTextWindow || !openTextWindow(file)) {
            return;
        }
        TxtYl_->setPlainText(u(input_text::kInEditor));
        return;
    }
    showFileInView(us(file), *host_);
}

void FrmInput::Pn() {
    session_.LastChosenFile.clear();
    const std::optional<std::string> chosen =
        host_->chooseFile(input_text::kPrintOpenTitle, choice_text::kFilter);
    if (!chosen || chosen->empty()) return;
    session_.LastChosenFile = qs(*chosen);
    const std::optional<std::string> text = readFileForDisplay(*chosen, *host_);
    if (!text) return;
    host_->message(input_text::kPaperWidth, input_text::kNoticeTitle, Icon::Information);
    QPrinter printer;
    printer.setDocName(QFileInfo(session_.LastChosenFile).fileName());
    if (!choosePrinter || !choosePrinter(printer)) return;
    if (printTextLines(printer, qs(*text), printFont()) == 0) {
        host_->message(input_text::kPrintFailed + us(printer.printerName()), input_text::kNoticeTitle,
                       Icon::Information);
        return;
    }
    host_->message(input_text::kPrinted, input_text::kNoticeTitle, Icon::Information);
}

void FrmInput::importJob() {
    const std::optional<std::string> dataFile =
        host_->chooseFile(input_text::kImportTitle, input_text::kImportFilter);
    if (!dataFile || dataFile->empty()) return;
    const std::optional<std::string> name =
        host_->chooseNewFile(input_text::kImportJobTitle, input_text::kJobFilter);
    if (!name || name->empty()) return;
    const QFileInfo target(qs(*name));
    const QString path = target.absoluteFilePath();
    if (target.exists()) {
        const QFileInfo open(session_.CurrentDatabasePath);
        if (db_.isOpen() && open.exists() && open.canonicalFilePath() == target.canonicalFilePath()) {
            host_->message(input_text::kJobInUse + us(path), input_text::kImportJobTitle,
                           Icon::Information);
            return;
        }
        if (JobLock::heldByAnother(us(path))) {
            host_->message(input_text::kJobInUseElsewhere + us(path), input_text::kImportJobTitle,
                           Icon::Information);
            return;
        }
    }
    const std::optional<std::string> templ = readWholeFile(us(folder_.templateDatabase()));
    if (!templ) {
        host_->message(input_text::kNoTemplate + us(folder_.templateDatabase()),
                       input_text::kImportJobTitle, Icon::Information);
        return;
    }
    // The job is built beside the target and put in its place only when the
    // whole file was read: a file that does not read leaves no half job and
    // leaves a job of that name as it was.
    const std::string building = us(path) + ".import";
    std::string error;
    if (!writeFileAtomic(building, *templ, &error)) {
        host_->message(input_text::kCopyFailed + us(path) + " (" + error + ")",
                       input_text::kImportJobTitle, Icon::Information);
        return;
    }
    PrepOutcome outcome = PrepOutcome::Refused;
    {
        JobDatabase job;
        if (job.open(building, &error)) outcome = importDataFile(*dataFile, job, *host_);
        else host_->message(input_text::kCopyFailed + us(path) + " (" + error + ")",
                            input_text::kImportJobTitle, Icon::Information);
    }
    if (outcome != PrepOutcome::Done) {
        QFile::remove(qs(building));
        return;
    }
    std::error_code renamed;
    std::filesystem::rename(building, us(path), renamed);  // replaces the old file in one step
    if (renamed) {
        QFile::remove(qs(building));
        host_->message(input_text::kCopyFailed + us(path), input_text::kImportJobTitle,
                       Icon::Information);
        return;
    }
    session_.CurrentDatabasePath = path;
    openJob();
}

}  // namespace tarvel::app
