// `make screenshots`: a picture of every window of the desktop program, made
// on the offscreen platform with the pictures and the manual of the build:
// the main window with the analysis window after a run of the example, the
// disclaimer, the About box, the help window, the text window, the drawing
// window with the dead-load moment diagram of the example in its view, the
// file manager, and the data-preparation window on the example job imported
// by tarvel-cli, with the frame beside its grids, and its regular-frame dialog.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <cstdio>

#include "FrmDxf.h"
#include "FrmInput.h"
#include "FrmRegularFrame.h"
#include "FrmTarvel.h"
#include "FrmWjgl.h"
#include "FrmXTMM.h"
#include "HelpWindow.h"
#include "MDITarvel.h"
#include "TextWindow.h"
#include "common/file_io.h"
#include "dxfview/drawing_view.h"
#include "support/recording_host.h"
#include "frmAbout.h"
#include "support/temp_dir.h"
#include "tarvel_app.h"

namespace {

bool save(QWidget* w, const QDir& out, const char* name) {
    QApplication::processEvents();
    const QString path = out.filePath(QString::fromLatin1(name));
    const bool ok = w->grab().save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    tarvel::app::TarvelApp::useProgramFonts();
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots"));
    QDir().mkpath(out.path());

    tarvel::testing::TempDir job;
    job.write("FRAME3X4.TVL", *tarvel::readWholeFile(TARVEL_SOURCE_DIR "/examples/FRAME3X4.TVL"));
    tarvel::RecordingHost host;
    tarvel::app::AppServices services = tarvel::app::AppServices::system();
    services.quit = [] {};
    tarvel::app::TarvelApp app(tarvel::app::ProgramFolder(QStringLiteral(TARVEL_APP_DIR)), host,
                               services);
    bool ok = true;

    tarvel::app::FrmXTMM* disclaimer = app.Main();
    disclaimer->adjustSize();
    ok &= save(disclaimer, out, "disclaimer.png");
    disclaimer->findChild<QPushButton*>(QStringLiteral("CmdYs"))->click();

    tarvel::app::MDITarvel* main = app.mainWindow();
    main->resize(1280, 860);
    ok &= save(main, out, "main.png");
    main->showChild(QStringLiteral("FrmTarvel"));
    tarvel::app::FrmTarvel* analysis = main->analysisWindow();
    analysis->setFolder(QString::fromStdString(job.path().string()));
    analysis->findChild<QLineEdit*>(QStringLiteral("TxtName"))->setText(QStringLiteral("FRAME3X4.TVL"));
    analysis->findChild<QPushButton*>(QStringLiteral("CmdFrame"))->click();
    main->mdiArea()->activeSubWindow()->showMaximized();
    ok &= save(main, out, "analysis.png");

    main->showAbout();
    main->aboutBox()->adjustSize();
    ok &= save(main->aboutBox(), out, "about.png");

    main->showHelp(QStringLiteral("run.html"));
    ok &= save(main->helpWindow(), out, "help.png");

    tarvel::app::TextWindow* text =
        main->openTextWindow(QString::fromStdString(job.file("TARVEL1.wri")));
    if (text) {
        text->resize(1100, 700);
        ok &= save(text, out, "text.png");
    } else {
        ok = false;
    }

    auto* drawing = qobject_cast<tarvel::app::FrmDxf*>(main->showChild(QStringLiteral("FrmDxf")));
    drawing->setFolder(QString::fromStdString(job.path().string()));
    drawing->findChild<QLineEdit*>(QStringLiteral("TxtName"))->setText(QStringLiteral("DLOAD.fkn"));
    drawing->findChild<QComboBox*>(QStringLiteral("CboHzlx"))->setCurrentIndex(0);
    drawing->findChild<QCheckBox*>(QStringLiteral("Check1"))->click();
    main->mdiArea()->activeSubWindow()->showMaximized();
    drawing->findChild<QPushButton*>(QStringLiteral("CmdDrawfc"))->click();
    QApplication::processEvents();
    drawing->view()->zoomToExtents();
    ok &= save(main, out, "drawing.png");

    // The file manager alone, previewing the moment diagram exported as a picture.
    tarvel::ExportOptions picture;
    picture.dpi = 60.0;
    drawing->view()->exportTo(QString::fromStdString(job.file("DLOAD_M.png")), picture, nullptr);
    main->mdiArea()->closeAllSubWindows();
    QApplication::processEvents();
    auto* files = qobject_cast<tarvel::app::FrmWjgl*>(main->showChild(QStringLiteral("FrmWjgl")));
    files->setFolder(QString::fromStdString(job.path().string()));
    main->mdiArea()->activeSubWindow()->resize(960, 640);
    main->mdiArea()->activeSubWindow()->move(20, 20);
    QApplication::processEvents();
    files->findChild<QCheckBox*>(QStringLiteral("Check4"))->click();
    auto* list = files->findChild<QListWidget*>(QStringLiteral("FilList"));
    const QList<QListWidgetItem*> png = list->findItems(QStringLiteral("DLOAD_M.png"), Qt::MatchExactly);
    if (!png.isEmpty()) {
        list->setCurrentItem(png[0]);
        emit list->itemClicked(png[0]);
    }
    ok &= save(main, out, "filemanager.png");

    main->mdiArea()->closeAllSubWindows();
    QApplication::processEvents();

    // The example job, imported as a user does it at the command line.
    const QString jobFile = QString::fromStdString(job.file("FRAME3X4.MDB"));
    const int imported = QProcess::execute(
        QStringLiteral(TARVEL_CLI),
        {QStringLiteral("import"), QString::fromStdString(job.file("FRAME3X4.TVL")), jobFile,
         QStringLiteral("--template"), QStringLiteral(TARVEL_APP_DIR "/FRM/FRM.MDB")});
    if (imported != 0) {
        std::fprintf(stderr, "FAILED tarvel-cli import (%d)\n", imported);
        return 1;
    }
    app.session().CurrentDatabasePath = jobFile;
    auto* input = qobject_cast<tarvel::app::FrmInput*>(main->showChild(QStringLiteral("FrmInput")));
    if (input && input->openJob()) {
        main->mdiArea()->activeSubWindow()->showMaximized();
        input->tabs()->setCurrentIndex(4);  // POINT
        ok &= save(main, out, "input-point.png");
        input->tabs()->setCurrentIndex(10);  // SEISMIC
        ok &= save(main, out, "input-seismic.png");
        input->tabs()->setCurrentIndex(7);  // DLOAD, drawn on the frame
        ok &= save(main, out, "input-dload.png");
        input->regularFrame();
        QApplication::processEvents();
        auto* dialog = input->findChild<tarvel::app::FrmRegularFrame*>(QStringLiteral("FrmRegularFrame"));
        if (dialog) {
            dialog->adjustSize();
            ok &= save(dialog, out, "regular-frame.png");
            dialog->reject();
        } else {
            ok = false;
        }
    } else {
        ok = false;
    }
    return ok ? 0 : 1;
}
