#include "FrmWjgl.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "desktop_host.h"
#include "filemgr/file_manager.h"
#include "folder_browser.h"
#include "program_folder.h"

namespace tarvel::app {

namespace {

namespace text {
constexpr const char* kFileType = "文件类型：";
constexpr const char* kSource = "源文件名：";
constexpr const char* kTarget = "目标文件名：";
constexpr const char* kPicture = "图片";
constexpr const char* kMenu = "文件(&F)";
constexpr const char* kChecks[6] = {"系统", "隐藏", "只读", "图片浏览", "源文件名", "目标目录"};
struct Command {
    const char* button;
    const char* caption;
    const char* tip;
    const char* menu;
    const char* menuCaption;
    const char* key;
};
// In the order of the buttons; the menu lists them in its own order (kMenuOrder).
constexpr Command kCommands[5] = {
    {"CmdCopy", "文件复制(&C)", "文件复制", "MNUCOPY", "文件复制", "A57"},
    {"CmdDel", "文件删除(&D)", "文件删除", "MNUDEL", "文件删除", "A50"},
    {"CmdRen", "文件改名(&R)", "文件改名", "MNUREN", "文件改名", "A26"},
    {"CmdMd", "建立目录(&M)", "建立路径", "MNUMD", "建立路径", "A10"},
    {"CmdExit", "退出(&X)", "退出", "MNUEXIT", "退出", "EXIT"},
};
constexpr int kMenuOrder[5] = {3, 0, 2, 1, 4};
constexpr int kToolbarOrder[5] = {3, 0, 2, 1, 4};  // "A10", "A57", "A26", "A50", "EXIT"
}  // namespace text

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

FrmWjgl::FrmWjgl(const ProgramFolder& folder, Host& host, QWidget* parent)
    : QWidget(parent), core_(std::make_unique<FileManager>(host)) {
    setObjectName(QStringLiteral("FrmWjgl"));
    setWindowTitle(u(filemgr_text::kCaption));
    setProperty("helpPage", QString::fromLatin1(kHelpPage));
    buildControls(folder);
    core_->start();
    LblImage_->setVisible(core_->pictureLabelVisible);
    fillDriveList(DrvList_);
    setFolder(QDir::currentPath());
}

FrmWjgl::~FrmWjgl() = default;

void FrmWjgl::buildControls(const ProgramFolder& folder) {
    CboLx_ = new QComboBox(this);
    CboLx_->setObjectName(QStringLiteral("CboLx"));
    for (const char* item : FileManager::kFileTypes) CboLx_->addItem(u(item));
    CboLx_->setCurrentIndex(-1);
    createBrowserLists(this, DrvList_, DirList_, FilList_);
    TxtWjm_ = new QLineEdit(this);
    TxtWjm_->setObjectName(QStringLiteral("TxtWjm"));
    TxtMbwj_ = new QLineEdit(this);
    TxtMbwj_->setObjectName(QStringLiteral("TxtMbwj"));
    for (int i = 0; i < 6; ++i) {
        Check_[i] = new QCheckBox(u(text::kChecks[i]), this);
        Check_[i]->setObjectName(QStringLiteral("Check%1").arg(i + 1));
    }
    Image1_ = new QLabel(this);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setAlignment(Qt::AlignCenter);
    Image1_->setMinimumSize(240, 180);
    Image1_->setFrameShape(QFrame::StyledPanel);
    LblImage_ = new QLabel(u(text::kPicture), this);
    LblImage_->setObjectName(QStringLiteral("LblImage"));

    auto* menuBar = new QMenuBar(this);
    QMenu* menu = menuBar->addMenu(u(text::kMenu));
    menu->setObjectName(QStringLiteral("MNUFILE"));
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setIconSize(QSize(24, 24));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // Pictures of the style where the program folder has none for a key.
    const QStyle::StandardPixmap kFallbackIcons[5] = {
        QStyle::SP_FileDialogContentsView, QStyle::SP_TrashIcon, QStyle::SP_FileDialogDetailedView,
        QStyle::SP_FileDialogNewFolder, QStyle::SP_DialogCloseButton};
    auto* buttons = new QHBoxLayout;
    bool (FileManager::*const operations[5])() = {&FileManager::DCopy, &FileManager::Ddil,
                                                  &FileManager::RRen, &FileManager::Dmd, nullptr};
    auto run = [this, operations](int i) {
        if (operations[i]) {
            operate(operations[i]);
        } else {
            closeWindow();
        }
    };
    for (int i = 0; i < 5; ++i) {
        const text::Command& c = text::kCommands[i];
        auto* button = new QPushButton(u(c.caption), this);
        button->setObjectName(QString::fromLatin1(c.button));
        button->setToolTip(u(c.tip));
        connect(button, &QPushButton::clicked, this, [run, i] { run(i); });
        buttons->addWidget(button);
    }
    for (const int i : text::kMenuOrder) {
        const text::Command& c = text::kCommands[i];
        QAction* a = menu->addAction(u(c.menuCaption));
        a->setObjectName(QString::fromLatin1(c.menu));
        connect(a, &QAction::triggered, this, [run, i] { run(i); });
        if (i == 1) menu->addSeparator();
    }
    for (const int i : text::kToolbarOrder) {
        const text::Command& c = text::kCommands[i];
        QIcon icon = folder.toolbarIcon(QString::fromLatin1(c.key));
        if (icon.isNull()) icon = style()->standardIcon(kFallbackIcons[i]);
        QAction* a = toolbar->addAction(icon, u(c.tip));
        a->setObjectName(QString::fromLatin1(c.key));
        a->setToolTip(u(c.tip));
        // The toolbar passes its key to the core, which picks the operation.
        connect(a, &QAction::triggered, this, [this, key = us(QString::fromLatin1(c.key))] {
            core_->runToolbarCommand(key);
            if (!core_->open) {
                closeWindow();
                return;
            }
            showState();
            fillFiles();
            fillFolderList(DirList_, DrvList_, folder_);
        });
    }

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(u(text::kFileType), this));
    left->addWidget(CboLx_);
    left->addWidget(DrvList_);
    left->addWidget(DirList_, 2);
    left->addWidget(FilList_, 3);
    auto* right = new QGridLayout;
    right->addWidget(new QLabel(u(text::kSource), this), 0, 0);
    right->addWidget(TxtWjm_, 0, 1, 1, 3);
    right->addWidget(new QLabel(u(text::kTarget), this), 1, 0);
    right->addWidget(TxtMbwj_, 1, 1, 1, 3);
    for (int i = 0; i < 6; ++i) right->addWidget(Check_[i], 2 + i / 3, 1 + i % 3);
    right->addWidget(LblImage_, 4, 0, Qt::AlignTop);
    right->addWidget(Image1_, 4, 1, 1, 3);
    right->setRowStretch(4, 1);
    right->setColumnStretch(1, 1);
    right->setColumnStretch(2, 1);
    right->setColumnStretch(3, 1);
    auto* rightPane = new QVBoxLayout;
    rightPane->addLayout(right, 1);
    rightPane->addLayout(buttons);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 2);
    body->addLayout(rightPane, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(toolbar);
    layout->addLayout(body, 1);

    connect(CboLx_, &QComboBox::activated, this, [this](int index) {
        core_->selectFileType(index);
        fillFiles();
    });
    connectBrowserLists(this, DrvList_, DirList_, folder_,
                        [this](const QString& folder) { setFolder(folder); });
    connect(FilList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        core_->selectFile(us(item->text()));
        showState();
        if (core_->mode == FileManager::PickMode::Preview) showPicture();
    });
    connect(TxtWjm_, &QLineEdit::textChanged, this, [this](const QString& t) { core_->TxtWjm = us(t); });
    connect(TxtMbwj_, &QLineEdit::textChanged, this, [this](const QString& t) { core_->TxtMbwj = us(t); });
    connect(Check_[0], &QCheckBox::clicked, this, [this](bool on) {
        core_->setShowSystemFiles(on);
        fillFiles();
    });
    connect(Check_[1], &QCheckBox::clicked, this, [this](bool on) {
        core_->setShowHiddenFiles(on);
        fillFiles();
    });
    connect(Check_[2], &QCheckBox::clicked, this, [this](bool on) {
        core_->setShowReadOnlyFiles(on);
        showReadOnly_ = on;
        fillFiles();
    });
    connect(Check_[3], &QCheckBox::clicked, this, [this](bool on) {
        core_->setPicturePreview(on);
        showState();
    });
    connect(Check_[4], &QCheckBox::clicked, this, [this](bool on) {
        core_->setPickSourcePath(on);
        showState();
    });
    connect(Check_[5], &QCheckBox::clicked, this, [this](bool on) {
        core_->setPickTargetFolder(on);
        showState();
    });
}

void FrmWjgl::setFolder(const QString& folder) {
    folder_ = QDir(folder).absolutePath();
    core_->selectFolder(us(QDir::toNativeSeparators(folder_)));
    fillFolderList(DirList_, DrvList_, folder_);
    fillFiles();
    showState();
}

void FrmWjgl::fillFiles() {
    QDir::Filters extra;
    if (core_->Check1.ticked) extra |= QDir::System;
    if (core_->Check2.ticked) extra |= QDir::Hidden;
    const QDir dir(folder_);
    QStringList shown;
    for (const QString& f : filesMatching(folder_, qs(core_->FilListPattern), extra)) {
        const QFileInfo info(dir.filePath(f));
        const bool readOnly = !(info.permissions() & (QFile::WriteOwner | QFile::WriteUser));
        if (readOnly && !showReadOnly_) continue;
        shown << f;
    }
    FilList_->clear();
    FilList_->addItems(shown);
}

// The boxes and check boxes as the core holds them.
void FrmWjgl::showState() {
    if (TxtWjm_->text() != qs(core_->TxtWjm)) TxtWjm_->setText(qs(core_->TxtWjm));
    if (TxtMbwj_->text() != qs(core_->TxtMbwj)) TxtMbwj_->setText(qs(core_->TxtMbwj));
    const FileManager::CheckBox* boxes[6] = {&core_->Check1, &core_->Check2, &core_->Check3,
                                             &core_->Check4, &core_->Check5, &core_->Check6};
    for (int i = 0; i < 6; ++i) {
        const QSignalBlocker block(Check_[i]);
        Check_[i]->setChecked(boxes[i]->ticked);
        Check_[i]->setEnabled(boxes[i]->enabled);
    }
    LblImage_->setVisible(core_->pictureLabelVisible);
}

// A file that is not a picture Qt can read leaves the preview empty.
void FrmWjgl::showPicture() {
    const QPixmap picture(qs(core_->Image1));
    if (picture.isNull()) {
        Image1_->clear();
        return;
    }
    Image1_->setPixmap(picture.scaled(Image1_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void FrmWjgl::operate(bool (FileManager::*operation)()) {
    ((*core_).*operation)();
    showState();
    fillFiles();
    fillFolderList(DirList_, DrvList_, folder_);
}

void FrmWjgl::closeWindow() {
    core_->Tc();
    QWidget* frame = parentWidget() ? parentWidget() : this;
    frame->close();
}

}  // namespace tarvel::app
