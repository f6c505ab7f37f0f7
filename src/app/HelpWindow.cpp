#include "HelpWindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "program_folder.h"

namespace tarvel::app {

namespace {

namespace text {
constexpr const char* kCaption = "Tarvel 使用说明";
constexpr const char* kBack = "后退";
constexpr const char* kForward = "前进";
constexpr const char* kContents = "目录";
constexpr const char* kMissing = "找不到使用说明的这一页：";
constexpr const char* kStartPage = "index.html";
}  // namespace text

QToolButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(QString::fromUtf8(caption));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

}  // namespace

HelpWindow::HelpWindow(const ProgramFolder& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(folder), TxtHelp_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QString::fromUtf8(text::kCaption));
    TxtHelp_->setObjectName(QStringLiteral("TxtHelp"));
    TxtHelp_->setOpenExternalLinks(true);
    TxtHelp_->setSearchPaths({folder_.manualFolder()});

    QToolButton* back = button(this, "CmdBack", text::kBack);
    QToolButton* forward = button(this, "CmdForward", text::kForward);
    QToolButton* contents = button(this, "CmdContents", text::kContents);
    connect(back, &QToolButton::clicked, TxtHelp_, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, TxtHelp_, &QTextBrowser::forward);
    connect(contents, &QToolButton::clicked, this,
            [this] { showPage(QString::fromLatin1(text::kStartPage)); });
    connect(TxtHelp_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(TxtHelp_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addWidget(contents);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(TxtHelp_);
    resize(820, 640);
}

void HelpWindow::showPage(const QString& page) {
    page_ = page;
    const QString path = folder_.manualPage(page);
    if (QFileInfo::exists(path)) {
        TxtHelp_->setSource(QUrl::fromLocalFile(path));
    } else {
        TxtHelp_->setHtml(QStringLiteral("<p>") + QString::fromUtf8(text::kMissing) +
                          path.toHtmlEscaped() + QStringLiteral("</p>"));
    }
    show();
    raise();
    activateWindow();
}

}  // namespace tarvel::app
