#include "InputPreview.h"

#include <QLabel>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "JobTableModel.h"
#include "desktop_host.h"
#include "dxfview/drawing_view.h"
#include "prep/frame_sketch.h"
#include "prep/job_tables.h"

namespace tarvel::app {

namespace {

// The tables whose grid rows carry the sketch's marks.
constexpr std::string_view kMarkedTables[] = {job_table::kBeam,  job_table::kColumn,
                                              job_table::kDLoad, job_table::kLLoad,
                                              job_table::kWLoad, job_table::kSeismic2};

}  // namespace

InputPreview::InputPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("InputPreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new DrawingView(this);
    view_->setObjectName(QStringLiteral("PreviewView"));
    view_->setMinimumWidth(260);
    // Fitted to the frame, dragged to pan: scroll bars would only change the
    // room the fit was made for.
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("PreviewSummary"));
    summary_->setWordWrap(true);
    layout->addWidget(view_, 1);
    layout->addWidget(summary_);
}

void InputPreview::attach(const JobDatabase& db, ModelLookup models) {
    db_ = &db;
    models_ = std::move(models);
    fitted_ = {};
    for (const JobTable& t : jobTables()) {
        JobTableModel* m = models_(t.name);
        if (!m) continue;
        connect(m, &JobTableModel::recordsChanged, this, &InputPreview::schedule);
        connect(m, &QAbstractItemModel::rowsInserted, this, &InputPreview::schedule);
        connect(m, &QAbstractItemModel::rowsRemoved, this, &InputPreview::schedule);
        connect(m, &QAbstractItemModel::modelReset, this, &InputPreview::schedule);
        connect(m, &QAbstractItemModel::dataChanged, this, &InputPreview::schedule);
    }
    refresh();
}

void InputPreview::detach() {
    pending_ = false;
    db_ = nullptr;
    models_ = nullptr;
    sketch_ = {};
    view_->drawingScene().clearDrawing();
}

void InputPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_->zoomToExtents();
}

void InputPreview::showLoadsOfTab(int tab) {
    // Tabs 7, 8, 9 (from 0) hold the dead, live and wind loads, 10 the seismic data.
    const PreviewLoads loads = tab == 7    ? PreviewLoads::Dead
                               : tab == 8  ? PreviewLoads::Live
                               : tab == 9  ? PreviewLoads::Wind
                               : tab == 10 ? PreviewLoads::Masses
                                           : PreviewLoads::None;
    if (loads == loads_) return;
    loads_ = loads;
    if (db_) redraw();  // the tables have not changed: the sketch holds
}

void InputPreview::schedule() {
    // One redraw for all the changes of one user action (a row pasted, a
    // job replaced), posted behind them.
    if (!db_ || pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { if (pending_) refresh(); }, Qt::QueuedConnection);
}

void InputPreview::refresh() {
    pending_ = false;
    if (!db_ || !db_->isOpen()) return;
    try {
        sketch_ = sketchJob(*db_);
    } catch (const JobDatabaseError&) {
        return;  // the grids report database failures themselves
    }
    redraw();
    // Fitted again when the frame itself grows or shrinks, not on every edit.
    DxfExtents box;
    for (const SketchNode& n : sketch_.nodes) box.add(n.x, n.y);
    if (box.empty != fitted_.empty || box.minX != fitted_.minX || box.maxX != fitted_.maxX ||
        box.minY != fitted_.minY || box.maxY != fitted_.maxY) {
        view_->zoomToExtents();
        fitted_ = box;
    }
}

void InputPreview::redraw() {
    view_->drawingScene().setDrawing(framePreview(sketch_, loads_));
    for (std::string_view table : kMarkedTables) {
        JobTableModel* m = models_ ? models_(table) : nullptr;
        if (!m) continue;
        QHash<int, QString> rows;
        for (const SketchProblem& p : sketch_.problems) {
            if (p.table != table) continue;
            QString& text = rows[p.row];
            if (!text.isEmpty()) text += QLatin1Char('\n');
            text += qs(p.text);
        }
        m->setRowProblems(std::move(rows));
    }
    int beams = 0;
    for (const SketchMember& m : sketch_.members) beams += m.column ? 0 : 1;
    QString text = QStringLiteral("节点 %1，梁 %2，柱 %3")
                       .arg(sketch_.nodes.size())
                       .arg(beams)
                       .arg(static_cast<int>(sketch_.members.size()) - beams);
    if (!sketch_.problems.empty()) {
        text += QStringLiteral("；<span style=\"color:#d00000\">%1 处错误</span>")
                    .arg(sketch_.problems.size());
    }
    summary_->setText(text);
}

}  // namespace tarvel::app
