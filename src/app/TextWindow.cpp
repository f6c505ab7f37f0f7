#include "TextWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>

#include "common/file_io.h"
#include "common/host.h"
#include "common/text_encoding.h"
#include "desktop_host.h"

namespace tarvel::app {

namespace {

namespace text {
constexpr const char* kCaption = "文件编辑";
constexpr const char* kUntitled = "未命名";
constexpr const char* kFileMenu = "文件(&F)";
constexpr const char* kOpen = "打开(&O)...";
constexpr const char* kSave = "保存(&S)";
constexpr const char* kSaveAs = "另存为(&A)...";
constexpr const char* kClose = "关闭(&C)";
constexpr const char* kOpenTitle = "打开文件";
constexpr const char* kSaveTitle = "保存文件";
constexpr const char* kFilter = "所有文件 (*.*)|*.*|计算文件 (*.TVL)|*.TVL|计算结果 (*.wri)|*.wri";
constexpr const char* kCannotRead = "无法打开文件：";
constexpr const char* kCannotSave = "无法保存文件：";
constexpr const char* kModified = "文件已修改，是否保存？";
constexpr const char* kFontFamily = "WenQuanYi Micro Hei Mono";
}  // namespace text

// East Asian wide characters: two columns in the report, as in GBK.
bool wide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
}

// The font draws a Chinese character narrower than two Latin ones; extra
// spacing after each wide character makes up the difference.
class WideColumns : public QSyntaxHighlighter {
public:
    WideColumns(QTextDocument* document, const QFont& font) : QSyntaxHighlighter(document) {
        const QFontMetricsF metrics(font);
        const qreal gap = 2 * metrics.horizontalAdvance(QLatin1Char('M')) -
                          metrics.horizontalAdvance(QChar(0x6881));
        format_.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        format_.setFontLetterSpacing(gap);
    }

protected:
    void highlightBlock(const QString& text) override {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar ch = text[i];
            char32_t c = ch.unicode();
            int length = 1;
            if (ch.isHighSurrogate() && i + 1 < text.size()) {
                c = QChar::surrogateToUcs4(ch, text[i + 1]);
                length = 2;
            }
            if (wide(c)) setFormat(static_cast<int>(i), length, format_);
            i += length - 1;
        }
    }

private:
    QTextCharFormat format_;
};

}  // namespace

void TextWindow::useReportLayout(QPlainTextEdit* editor) {
    editor->setFont(reportFont());
    new WideColumns(editor->document(), editor->font());
}

QFont TextWindow::reportFont() {
    QFont font(QString::fromUtf8(text::kFontFamily));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(10);
    return font;
}

TextWindow::TextWindow(Host& host, QWidget* parent)
    : QMainWindow(parent), host_(host), TxtText_(new QPlainTextEdit(this)), stateLabel_(new QLabel(this)) {
    setObjectName(QStringLiteral("TextWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    TxtText_->setObjectName(QStringLiteral("TxtText"));
    useReportLayout(TxtText_);
    TxtText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    setCentralWidget(TxtText_);
    statusBar()->addWidget(stateLabel_);
    buildMenus();
    resize(900, 600);
    showState();
    connect(TxtText_->document(), &QTextDocument::modificationChanged, this,
            [this](bool) { showState(); });
}

void TextWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QString::fromUtf8(text::kFileMenu));
    QAction* open = file->addAction(QString::fromUtf8(text::kOpen), this, [this] { openChosen(); });
    open->setShortcut(QKeySequence::Open);
    QAction* save = file->addAction(QString::fromUtf8(text::kSave), this, [this] { this->save(); });
    save->setShortcut(QKeySequence::Save);
    file->addAction(QString::fromUtf8(text::kSaveAs), this, [this] {
        if (auto name = host_.chooseNewFile(text::kSaveTitle, text::kFilter)) saveAs(qs(*name));
    });
    file->addSeparator();
    file->addAction(QString::fromUtf8(text::kClose), this, &QWidget::close);
}

void TextWindow::openChosen() {
    if (auto name = host_.chooseFile(text::kOpenTitle, text::kFilter)) openFile(qs(*name));
}

bool TextWindow::openFile(const QString& path) {
    const std::optional<std::string> bytes = readWholeFile(us(path));
    if (!bytes) {
        host_.message(std::string(text::kCannotRead) + us(path), text::kCaption, Icon::Information);
        return false;
    }
    gbk_ = !isValidUtf8(*bytes);
    const std::string utf8 = gbk_ ? gbkToUtf8(*bytes) : *bytes;
    crlf_ = utf8.find("\r\n") != std::string::npos;
    QString content = qs(utf8);
    if (crlf_) content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    TxtText_->setPlainText(content);
    TxtText_->document()->setModified(false);
    path_ = path;
    showState();
    return true;
}

void TextWindow::goToLine(int line) {
    const QTextBlock block = TxtText_->document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    cursor.select(QTextCursor::LineUnderCursor);
    TxtText_->setTextCursor(cursor);
    TxtText_->centerCursor();
}

bool TextWindow::save() {
    if (path_.isEmpty()) {
        const auto name = host_.chooseNewFile(text::kSaveTitle, text::kFilter);
        return name && saveAs(qs(*name));
    }
    return saveAs(path_);
}

bool TextWindow::saveAs(const QString& path) {
    QString content = TxtText_->toPlainText();
    if (crlf_) content.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const std::string utf8 = us(content);
    std::string error;
    if (!writeFileAtomic(us(path), gbk_ ? utf8ToGbk(utf8) : utf8, &error)) {
        host_.message(std::string(text::kCannotSave) + us(path) + " (" + error + ")", text::kCaption,
                      Icon::Information);
        return false;
    }
    path_ = path;
    TxtText_->document()->setModified(false);
    showState();
    return true;
}

void TextWindow::showState() {
    const QString name =
        path_.isEmpty() ? QString::fromUtf8(text::kUntitled) : QFileInfo(path_).fileName();
    setWindowTitle(name + (TxtText_->document()->isModified() ? QStringLiteral(" *") : QString()) +
                   QStringLiteral(" - ") + QString::fromUtf8(text::kCaption));
    stateLabel_->setText((path_.isEmpty() ? QString() : path_ + QStringLiteral("    ")) +
                         (gbk_ ? QStringLiteral("GBK") : QStringLiteral("UTF-8")) +
                         (crlf_ ? QStringLiteral("    CR LF") : QStringLiteral("    LF")));
}

void TextWindow::closeEvent(QCloseEvent* event) {
    if (TxtText_->document()->isModified()) {
        switch (host_.ask(text::kModified, text::kCaption)) {
            case Answer::Yes:
                if (!save()) {
                    event->ignore();
                    return;
                }
                break;
            case Answer::No: break;
            case Answer::Cancel: event->ignore(); return;
        }
    }
    event->accept();
}

}  // namespace tarvel::app
