#pragma once
// The host of the desktop program: message boxes, questions and file dialogs
// of Qt, programs started detached with their argument lists. The run log and
// the view box belong to the window that runs the command (see WindowHost).

#include <QPointer>
#include <QString>
#include <QWidget>

#include "common/host.h"

namespace tarvel::app {

class DesktopHost : public Host {
public:
    // Dialogs are shown over `parent`; while none is set, over the active window.
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(std::string_view text, std::string_view title, Icon icon) override;
    using Host::ask;
    Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override;
    void log(std::string_view) override {}
    void clearLog() override {}
    void status(std::string_view) override {}
    void view(std::string_view) override {}
    std::optional<std::string> chooseFile(std::string_view title, std::string_view filter) override;
    std::optional<std::string> chooseNewFile(std::string_view title,
                                             std::string_view filter) override;
    bool startProgram(std::string_view program, const std::vector<std::string>& arguments) override;

    // "name (*.a)|*.a|all (*.*)|*.*" as Qt writes filters: "name (*.a);;all (*.*)".
    static QString qtFilter(std::string_view filter);

private:
    QWidget* owner() const;
    QPointer<QWidget> parent_;
};

// A host for one window: the run log and the view box go into the window's
// widgets (through the two functions), everything else to the program's host.
class WindowHost : public Host {
public:
    WindowHost(Host& base, std::function<void(const QString&)> appendLog,
               std::function<void()> clearLog, std::function<void(const QString&)> showView)
        : base_(base),
          appendLog_(std::move(appendLog)),
          clearLog_(std::move(clearLog)),
          showView_(std::move(showView)) {}

    // Starting `program` runs `intercept` instead when it answers true.
    std::function<bool(std::string_view, const std::vector<std::string>&, bool&)> intercept;

    void message(std::string_view text, std::string_view title, Icon icon) override {
        base_.message(text, title, icon);
    }
    using Host::ask;
    Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override {
        return base_.ask(text, title, buttons, icon);
    }
    void log(std::string_view line) override;
    void clearLog() override;
    void status(std::string_view text) override { base_.status(text); }
    void view(std::string_view text) override;
    std::optional<std::string> chooseFile(std::string_view title, std::string_view filter) override {
        return base_.chooseFile(title, filter);
    }
    std::optional<std::string> chooseNewFile(std::string_view title,
                                             std::string_view filter) override {
        return base_.chooseNewFile(title, filter);
    }
    bool startProgram(std::string_view program, const std::vector<std::string>& arguments) override;

private:
    Host& base_;
    std::function<void(const QString&)> appendLog_;
    std::function<void()> clearLog_;
    std::function<void(const QString&)> showView_;
};

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string us(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace tarvel::app
