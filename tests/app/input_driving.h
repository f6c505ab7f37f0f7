#pragma once
// Driving the data-preparation window as a user does: past the disclaimer,
// a new job through the menu, cells typed into the grids.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "FrmInput.h"
#include "FrmXTMM.h"
#include "MDITarvel.h"
#include "app_fixture.h"

namespace tarvel::app::testing {

// The accepted disclaimer: the main window is up.
inline MDITarvel* openMain(AppFixture& f) {
    FrmXTMM* disclaimer = f.app->Main();
    QTest::mouseClick(disclaimer->findChild<QPushButton*>(QStringLiteral("CmdYs")), Qt::LeftButton);
    return f.app->mainWindow();
}

// A new job through the menu; the window it opens.
inline FrmInput* newJob(AppFixture& f, const char* name) {
    MDITarvel* m = openMain(f);
    f.host.chosenFiles = {f.jobDir.file(name)};
    m->findChild<QAction*>(QStringLiteral("MNUNEW"))->trigger();
    return m->findChild<FrmInput*>(QStringLiteral("FrmInput"));
}

// What the window posts for one user action (the preview redraws once the
// window is idle) and the editors closed by it.
inline void settle() {
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Types `text` into a cell as a user does: the cell's editor, the keys, Enter.
inline void typeCell(QTableView* grid, int row, int column, const QString& text) {
    const QModelIndex index = grid->model()->index(row, column);
    QVERIFY2(index.isValid(), qPrintable(grid->objectName() + QStringLiteral(" row %1 of %2")
                                                                  .arg(row)
                                                                  .arg(grid->model()->rowCount())));
    grid->setCurrentIndex(index);
    grid->edit(index);
    QLineEdit* editor = nullptr;  // the open one, not one closed before
    for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>()) {
        if (!e->isHidden()) editor = e;
    }
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
}

}  // namespace tarvel::app::testing
