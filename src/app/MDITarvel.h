#pragma once
// The main window: a multiple-document frame with the menus, the two
// toolbars and the status bar, from which every tool window is opened and
// the external programs are started. A child window is created on first use
// and brought to the front on later requests.

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <optional>

class QMdiArea;
class QMdiSubWindow;

namespace tarvel {
class DrawingView;
class Host;
}

namespace tarvel::app {

class FrmTarvel;
class HelpWindow;
class ProgramFolder;
class TextWindow;
class frmAbout;
struct AppServices;
struct Session;

class MDITarvel : public QMainWindow {
    Q_OBJECT
public:
    MDITarvel(const ProgramFolder& folder, Host& host, const AppServices& services,
              Session& session, QWidget* parent = nullptr);
    ~MDITarvel() override;

    // A tool window shown inside the frame, by its window name ("FrmTarvel",
    // "FrmInput", "FrmDxf", "FrmWjgl"). The later windows register here.
    using ChildFactory = std::function<QWidget*(MDITarvel&)>;
    void registerChild(const QString& name, ChildFactory factory);
    // Creates the child on first use, else brings it to the front; null
    // (with a note in the status bar) when the window is not available.
    QWidget* showChild(const QString& name);

    // `Op`: the project file dialog; mode "Y1" new project, "Y2" open one.
    std::optional<QString> Op(const QString& mode);
    void newProject();
    void openProject();
    // A CAD program found on the search path; without one, a drawing the
    // user chooses opens in the built-in view.
    void startCad();
    // A DXF drawing in the built-in view, as a window of its own; null (with
    // a message) when it cannot be read.
    DrawingView* openDrawing(const QString& path);
    void startEditor(const QString& name);  // "NOTEPAD.EXE" or "EDIT.COM"
    void E();                               // home page
    void showAbout();
    void showHelp(const QString& page);
    void helpForActiveWindow();             // F1
    void exitProgram();

    // The built-in text window on a file (empty: a new text) at a line.
    TextWindow* openTextWindow(const QString& path, int line = 0);

    // Window menu arrangements (cascade is QMdiArea's own).
    void tileHorizontally();  // one above the other, full width
    void tileVertically();    // side by side, full height
    void arrangeIcons();      // minimised windows in rows along the bottom

    QMdiArea* mdiArea() const { return mdiArea_; }
    FrmTarvel* analysisWindow() const;
    frmAbout* aboutBox() const;
    HelpWindow* helpWindow() const;
    QList<TextWindow*> textWindows() const;

    // Programs able to open a DXF drawing, looked for on the search path in this order.
    static QStringList cadPrograms();

private:
    void buildMenus();
    void buildToolbars();
    void fillWindowList();
    QList<QMdiSubWindow*> arrangedWindows() const;

    const ProgramFolder& folder_;
    Host& host_;
    const AppServices& services_;
    Session& session_;
    QMdiArea* mdiArea_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QList<QAction*> windowListActions_;
    QHash<QString, ChildFactory> factories_;
    QHash<QString, QPointer<QMdiSubWindow>> children_;
    QPointer<frmAbout> about_;
    QPointer<HelpWindow> help_;
    QList<QPointer<TextWindow>> texts_;
};

}  // namespace tarvel::app
