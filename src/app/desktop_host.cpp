#include "desktop_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QStringList>

namespace tarvel::app {

namespace {

QMessageBox::Icon boxIcon(Icon icon) {
    switch (icon) {
        case Icon::None: return QMessageBox::NoIcon;
        case Icon::Information: return QMessageBox::Information;
        case Icon::Question: return QMessageBox::Question;
        case Icon::Exclamation: return QMessageBox::Warning;
        case Icon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QWidget* DesktopHost::owner() const {
    return parent_ ? parent_.data() : QApplication::activeWindow();
}

void DesktopHost::message(std::string_view text, std::string_view title, Icon icon) {
    QMessageBox box(boxIcon(icon), qs(title), qs(text), QMessageBox::Ok, owner());
    box.exec();
}

Answer DesktopHost::ask(std::string_view text, std::string_view title, Buttons buttons,
                        Icon icon) {
    QMessageBox::StandardButtons choice = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel) choice |= QMessageBox::Cancel;
    QMessageBox box(boxIcon(icon), qs(title), qs(text), choice, owner());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    if (buttons == Buttons::YesNoCancel) box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
    }
}

QString DesktopHost::qtFilter(std::string_view filter) {
    const QStringList parts = qs(filter).split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) names << parts[i];
    if (names.isEmpty()) return qs(filter);
    return names.join(QStringLiteral(";;"));
}

std::optional<std::string> DesktopHost::chooseFile(std::string_view title,
                                                   std::string_view filter) {
    const QString name = QFileDialog::getOpenFileName(owner(), qs(title), QString(), qtFilter(filter));
    if (name.isEmpty()) return std::nullopt;
    return us(name);
}

// The program asks itself before replacing a file, so the dialog does not.
std::optional<std::string> DesktopHost::chooseNewFile(std::string_view title,
                                                      std::string_view filter) {
    const QString name = QFileDialog::getSaveFileName(owner(), qs(title), QString(), qtFilter(filter),
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    return us(name);
}

bool DesktopHost::startProgram(std::string_view program, const std::vector<std::string>& arguments) {
    if (program.empty()) return false;
    QStringList args;
    for (const std::string& a : arguments) args << qs(a);
    return QProcess::startDetached(qs(program), args);
}

void WindowHost::log(std::string_view line) {
    appendLog_(qs(line));
    base_.log(line);
}

void WindowHost::clearLog() {
    clearLog_();
    base_.clearLog();
}

void WindowHost::view(std::string_view text) {
    showView_(qs(text));
    base_.view(text);
}

bool WindowHost::startProgram(std::string_view program, const std::vector<std::string>& arguments) {
    bool started = false;
    if (intercept && intercept(program, arguments, started)) return started;
    return base_.startProgram(program, arguments);
}

}  // namespace tarvel::app
