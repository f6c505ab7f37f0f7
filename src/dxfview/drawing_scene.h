#pragma once
// A DXF drawing as a graphics scene: one item per entity, coloured by its
// layer (or its own colour), grouped by layer so that layers can be shown
// and hidden by name, texts at their height, angle and alignment in a font
// that has the Chinese characters. The scene keeps the drawing it was built
// from, so tests can compare what is shown with what was written.
//
// Scene coordinates are drawing units with the y axis turned downwards (as
// Qt has it): a DXF point (x, y) is at (x, -y).

#include <QGraphicsScene>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include "drawing/dxf_reader.h"

class QPainter;
class QPrinter;

namespace tarvel {

// The font of every drawing text: it carries the Chinese characters.
inline constexpr const char* kDrawingFontFamily = "WenQuanYi Micro Hei";

struct ExportOptions {
    double mmPerUnit = 1.0;   // paper millimetres per drawing unit (drawing units are mm at the drawing's scale)
    double dpi = 200.0;       // PNG resolution
    double marginMm = 5.0;    // white border around the drawing
    double thinLineMm = 0.18; // width of lines that have none in the drawing
};

class DrawingScene : public QGraphicsScene {
    Q_OBJECT
  public:
    explicit DrawingScene(QObject* parent = nullptr);

    // Reads a DXF file and shows it; false with *error (naming the line of a
    // damaged file) when it cannot be read, and the scene is then empty.
    bool load(const QString& path, QString* error);
    void setDrawing(DxfDrawing drawing);
    const DxfDrawing& drawing() const { return drawing_; }
    void clearDrawing();

    QStringList layerNames() const;  // in the order of the drawing's layer table
    bool isLayerVisible(const QString& name) const;
    void setLayerVisible(const QString& name, bool visible);
    int itemCount(const QString& layer) const;
    // Texts shown on a layer ("" for all), in drawing order.
    QStringList texts(const QString& layer = QString()) const;

    // The box of the visible items, in scene coordinates.
    QRectF visibleExtents() const;
    // Width of lines without a width of their own, in drawing units; 0 for
    // one screen pixel whatever the zoom.
    void setThinLineWidth(double units);

    // PNG, SVG or PDF by the file's suffix, the visible layers at the scale
    // of the options. False with *error when it cannot be written.
    bool exportTo(const QString& path, const ExportOptions& options, QString* error);
    // The visible drawing fitted to the printer's page.
    void printTo(QPrinter& printer);

  private:
    void build();
    void addEntity(const DxfEntity& e, const QColor& colour);
    void renderInto(QPainter& painter, const QRectF& target, const QRectF& source);

    DxfDrawing drawing_;
    QStringList layerOrder_;
    QHash<QString, QVector<QGraphicsItem*>> byLayer_;
    QHash<QString, bool> visible_;
    QVector<QGraphicsItem*> thinItems_;  // lines drawn with the thin pen
    double thinWidth_ = 0.0;
};

}  // namespace tarvel
