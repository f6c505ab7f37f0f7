#pragma once
// The built-in text window, used when "NOTEPAD.EXE" or "EDIT.COM" is not
// supplied in the program folder: opens a text file in GBK or UTF-8 (as
// detected), shows it in a fixed-pitch font with Chinese glyphs so the
// report's columns line up, and saves it in its own encoding and line ends,
// all or nothing.

#include <QMainWindow>
#include <QString>

class QLabel;
class QPlainTextEdit;

namespace tarvel {
class Host;
}

namespace tarvel::app {

class TextWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TextWindow(Host& host, QWidget* parent = nullptr);

    // Opens a file; false (with a message) when it cannot be read.
    bool openFile(const QString& path);
    // Puts the cursor on 1-based line `line` and shows it highlighted.
    void goToLine(int line);
    // Saves to the open file (asks for a name when there is none).
    bool save();
    bool saveAs(const QString& path);

    const QString& filePath() const { return path_; }
    bool isGbk() const { return gbk_; }
    bool hasCrLf() const { return crlf_; }
    QPlainTextEdit* editor() const { return TxtText_; }

    // The fixed-pitch font with Chinese glyphs of the report views.
    static QFont reportFont();
    // Lays out `editor` in the report font with every Chinese (wide)
    // character two columns wide, as the report counts it, so its columns
    // line up; the text itself is not changed.
    static void useReportLayout(QPlainTextEdit* editor);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void openChosen();
    void showState();

    Host& host_;
    QPlainTextEdit* TxtText_;
    QLabel* stateLabel_;
    QString path_;
    bool gbk_ = false;   // the file was GBK, it is saved as GBK again
    bool crlf_ = true;   // the file's lines end in CR LF (new files too)
};

}  // namespace tarvel::app
