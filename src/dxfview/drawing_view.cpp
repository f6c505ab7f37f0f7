#include "dxfview/drawing_view.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QWheelEvent>
#include <cmath>

namespace tarvel {

namespace {
// One wheel notch (120 eighths of a degree) zooms by this factor.
constexpr double kZoomPerNotch = 1.2;
// Zoom limits in pixels per drawing unit, so that the view never loses the drawing.
constexpr double kMinZoom = 1e-4;
constexpr double kMaxZoom = 1e4;
}  // namespace

DrawingView::DrawingView(QWidget* parent) : QGraphicsView(parent), scene_(this) {
    setObjectName(QStringLiteral("DrawingView"));
    setScene(&scene_);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    setBackgroundBrush(Qt::white);
}

bool DrawingView::load(const QString& path, QString* error) {
    const bool ok = scene_.load(path, error);
    zoomToExtents();
    return ok;
}

void DrawingView::setLayerVisible(const QString& name, bool visible) {
    scene_.setLayerVisible(name, visible);
}

double DrawingView::zoom() const { return transform().m11(); }

void DrawingView::zoomBy(double factor, const QPoint& anchor) {
    const double target = zoom() * factor;
    if (target < kMinZoom || target > kMaxZoom) return;
    // The drawing point under the anchor stays under it.
    const ViewportAnchor saved = transformationAnchor();
    setTransformationAnchor(QGraphicsView::NoAnchor);
    const QPointF before = mapToScene(anchor);
    scale(factor, factor);
    const QPointF shift = mapToScene(anchor) - before;
    translate(shift.x(), shift.y());
    setTransformationAnchor(saved);
}

void DrawingView::zoomToExtents() {
    QRectF box = scene_.visibleExtents();
    if (box.isEmpty()) box = QRectF(-1, -1, 2, 2);
    const double margin = 0.03 * std::max(box.width(), box.height());
    box.adjust(-margin, -margin, margin, margin);
    // Room to pan past the drawing's edges.
    setSceneRect(box.adjusted(-box.width(), -box.height(), box.width(), box.height()));
    fitInView(box, Qt::KeepAspectRatio);
}

void DrawingView::print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    scene_.printTo(printer);
}

void DrawingView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    zoomBy(std::pow(kZoomPerNotch, notches), event->position().toPoint());
    event->accept();
}

}  // namespace tarvel
