#pragma once
// The frame beside the grids of the data-preparation window: the job's
// nodes, members, supports and the loads (or masses) of the tab in front,
// drawn by the drawing view and redrawn whenever a table changes. The
// faults of the sketch are marked in the drawing and, at the same moment,
// on the grid rows that cause them.

#include <QWidget>
#include <functional>
#include <string_view>

#include "drawing/frame_preview.h"
#include "model/frame_sketch.h"

class QLabel;

namespace tarvel {
class JobDatabase;
class DrawingView;
}  // namespace tarvel

namespace tarvel::app {

class JobTableModel;

class InputPreview : public QWidget {
    Q_OBJECT
public:
    explicit InputPreview(QWidget* parent = nullptr);

    // The job and its grid models (by table name; null when there is none).
    // Every change of a model schedules a redraw.
    using ModelLookup = std::function<JobTableModel*(std::string_view)>;
    void attach(const JobDatabase& db, ModelLookup models);
    void detach();

    // Which loads go with the frame: by the tab in front (0-based tab index).
    void showLoadsOfTab(int tab);
    PreviewLoads loads() const { return loads_; }

    // Redraws now (changes are otherwise gathered and drawn once the window
    // is idle).
    void refresh();

    DrawingView* view() const { return view_; }
    const FrameSketch& sketch() const { return sketch_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void schedule();
    void redraw();  // the sketch as it is, with the loads chosen

    const JobDatabase* db_ = nullptr;
    ModelLookup models_;
    DrawingView* view_ = nullptr;
    QLabel* summary_ = nullptr;
    bool pending_ = false;  // a redraw is posted
    FrameSketch sketch_;
    PreviewLoads loads_ = PreviewLoads::None;
    DxfExtents fitted_;  // the node box the view was last fitted to
};

}  // namespace tarvel::app
