#pragma once
// The help window: the manual (HTML pages of the program folder's
// "TARVEL.CHM" folder) in a browser with back, forward and contents.
// F1 and every help command open it at the page of the window that asked.

#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace tarvel::app {

class ProgramFolder;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const ProgramFolder& folder, QWidget* parent = nullptr);

    // Shows `page` of the manual ("index.html", "run.html", …).
    void showPage(const QString& page);
    QTextBrowser* browser() const { return TxtHelp_; }
    const QString& currentPage() const { return page_; }

private:
    const ProgramFolder& folder_;
    QTextBrowser* TxtHelp_;
    QString page_;
};

}  // namespace tarvel::app
