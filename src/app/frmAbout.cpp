#include "frmAbout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app_services.h"
#include "common/host.h"
#include "desktop_host.h"
#include "program_folder.h"

namespace tarvel::app {

namespace {

namespace text {
constexpr const char* kCaption = "关于平面框架结构分析程序 V 5.0";
constexpr const char* kTitle = "平面框架结构分析程序";
constexpr const char* kEdition = "(新规范版本)";
constexpr const char* kOk = "确定";
constexpr const char* kSysInfo = "系统信息(&S)...";
constexpr const char* kNoSysInfo = "此时系统信息不可用";
constexpr const char* kNoSysInfoTitle = "关于平面框架结构分析程序 V 5.0";
constexpr const char* kPicture = "WVLOGO.GIF";
constexpr const char* kIconPicture = "DE10.ICO";
constexpr const char* kHelpPage = "index.html";
}  // namespace text

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

QStringList frmAbout::systemInformationPrograms() {
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"), QStringLiteral("lshw-gtk")};
}

frmAbout::frmAbout(const ProgramFolder& folder, Host& host, const AppServices& services,
                   QWidget* parent)
    : QDialog(parent), host_(host), services_(services) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(u(text::kCaption));
    setModal(false);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgPicture"));
    picture->setPixmap(folder.picture(u(text::kPicture)));
    picture->setAlignment(Qt::AlignCenter);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    const QPixmap icon = folder.picture(u(text::kIconPicture));
    picIcon->setPixmap(icon.isNull() ? icon : icon.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picIcon->setFixedSize(56, 56);
    picIcon->setAlignment(Qt::AlignCenter);

    auto* lblTitle = new QLabel(u(text::kTitle), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto* lblVersion = new QLabel(u(text::kEdition), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    auto* cmdOK = new QPushButton(u(text::kOk), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(u(text::kSysInfo), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { emit helpRequested(u(text::kHelpPage)); });

    auto* head = new QHBoxLayout;
    head->addWidget(picIcon, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    titles->addWidget(lblTitle);
    titles->addWidget(lblVersion);
    head->addLayout(titles, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(picture, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addSpacing(8);
    layout->addLayout(body, 1);
}

void frmAbout::StartSysInfo() {
    const QString program = services_.findProgram(systemInformationPrograms());
    if (program.isEmpty() || !host_.startProgram(us(program), {})) {
        host_.message(text::kNoSysInfo, text::kNoSysInfoTitle, Icon::None);
    }
}

}  // namespace tarvel::app
