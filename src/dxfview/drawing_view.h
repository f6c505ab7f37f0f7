#pragma once
// The drawing view: a DXF drawing on screen with pan (drag), zoom (wheel,
// zoom to extents), layers on and off by name, export to PNG, SVG and PDF at
// a chosen scale, and printing through the print dialog. Its scene holds the
// drawing and the items, so callers and tests reach the model through it.

#include <QGraphicsView>

#include "dxfview/drawing_scene.h"

namespace tarvel {

class DrawingView : public QGraphicsView {
    Q_OBJECT
  public:
    explicit DrawingView(QWidget* parent = nullptr);

    DrawingScene& drawingScene() { return scene_; }
    const DrawingScene& drawingScene() const { return scene_; }

    // Reads a drawing and shows all of it; false with *error when it cannot be read.
    bool load(const QString& path, QString* error);

    void setLayerVisible(const QString& name, bool visible);
    // Zoom by a factor about a point of the view (the mouse for the wheel).
    void zoomBy(double factor, const QPoint& anchor);
    double zoom() const;  // view pixels per drawing unit

    bool exportTo(const QString& path, const ExportOptions& options, QString* error) {
        return scene_.exportTo(path, options, error);
    }

  public slots:
    void zoomToExtents();
    // Asks for a printer through the print dialog and prints the drawing.
    void print();

  protected:
    void wheelEvent(QWheelEvent* event) override;

  private:
    DrawingScene scene_;
};

}  // namespace tarvel
