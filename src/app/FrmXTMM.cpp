#include "FrmXTMM.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "program_folder.h"

namespace tarvel::app {

namespace {

namespace text {
constexpr const char* kCaption = "进入 Tarvel V5.0";
constexpr const char* kStatement1 = "声明：本软件在结构分析中只起辅助作用,不能代替您的专业判断,任何明示或";
constexpr const char* kStatement2 = "暗示本软件在结构分析中的数据起绝对保险作用的,都是无效的诚诺！";
constexpr const char* kAccept = "确认(&Y)";
constexpr const char* kDecline = "放弃(&N)";
constexpr const char* kDeclineTip = "放弃";
constexpr const char* kLogo = "Logoa.GIF";
constexpr const char* kBackground = "XTMM.JPG";
constexpr const char* kIcon = "tarvel.png";
}  // namespace text

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

FrmXTMM::FrmXTMM(const ProgramFolder& folder, QWidget* parent)
    : QWidget(parent), background_(folder.picture(u(text::kBackground))) {
    setObjectName(QStringLiteral("FrmXTMM"));
    setWindowTitle(u(text::kCaption));
    setWindowIcon(folder.icon(u(text::kIcon)));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(folder.picture(u(text::kLogo)));
    Image2->setAlignment(Qt::AlignCenter);

    auto* Label1 = new QLabel(u(text::kStatement1), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto* Label2 = new QLabel(u(text::kStatement2), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    for (QLabel* label : {Label1, Label2}) {
        label->setStyleSheet(QStringLiteral("color: #1a1a1a;"));
    }

    auto* CmdYs = new QPushButton(u(text::kAccept), this);
    CmdYs->setObjectName(QStringLiteral("CmdYs"));
    CmdYs->setDefault(true);
    CmdYs->setMinimumWidth(96);
    auto* CmdExit = new QPushButton(u(text::kDecline), this);
    CmdExit->setObjectName(QStringLiteral("CmdExit"));
    CmdExit->setToolTip(u(text::kDeclineTip));
    CmdExit->setMinimumWidth(96);

    connect(CmdYs, &QPushButton::clicked, this, [this] {
        emit accepted();
        close();
    });
    connect(CmdExit, &QPushButton::clicked, this, [this] { emit declined(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdYs);
    buttons->addSpacing(16);
    buttons->addWidget(CmdExit);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 20);
    layout->addWidget(Image2, 1);
    layout->addSpacing(12);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(16);
    layout->addLayout(buttons);
}

void FrmXTMM::paintEvent(QPaintEvent* event) {
    if (!background_.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(rect(), background_);
    }
    QWidget::paintEvent(event);
}

}  // namespace tarvel::app
