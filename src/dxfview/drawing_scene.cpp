#include "dxfview/drawing_scene.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <cmath>

#include "dxfview/aci_colours.h"

namespace tarvel {

namespace {

// Texts are laid out in a font of this pixel size and scaled to their height.
constexpr double kReferencePixels = 100.0;
// Largest PNG side: a wrong scale must not eat the memory.
constexpr double kMaxImageSide = 20000.0;
constexpr double kMmPerInch = 25.4;

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QFont referenceFont() {
    QFont f(QString::fromLatin1(kDrawingFontFamily));
    f.setPixelSize(static_cast<int>(kReferencePixels));
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

// One text of the drawing: laid out once in the reference font and drawn
// scaled so that its capital letters are `height` drawing units tall.
class TextItem : public QGraphicsItem {
  public:
    TextItem(const DxfEntity& e, const QColor& colour, const QFont& font, const QFontMetricsF& fm)
        : colour_(colour), font_(font) {
        lines_ = fromUtf8(e.text).split(QLatin1Char('\n'));
        const double cap = fm.capHeight() > 0 ? fm.capHeight() : fm.ascent() * 0.7;
        scale_ = e.height > 0 ? e.height / cap : 1.0 / cap;
        widthFactor_ = e.widthFactor > 0 ? e.widthFactor : 1.0;
        double width = 0;
        for (const QString& l : lines_) width = std::max(width, fm.horizontalAdvance(l));
        const double lineStep = cap * 5.0 / 3.0;  // CAD line spacing: 5/3 of the height
        const double block = cap + lineStep * static_cast<double>(lines_.size() - 1);

        // Where the reference point lies on the text: left, centre, right
        // of the longest line; baseline, bottom, middle, top of the block.
        double dx = 0;
        if (e.halign == 1 || e.halign == 4) dx = -width / 2;
        if (e.halign == 2) dx = -width;
        double dy = 0;  // baseline of the first line, downwards positive
        if (e.multiline) {
            dy = e.valign == 3 ? cap : e.valign == 2 ? cap - block / 2 : cap - block;
        } else if (e.valign == 1) {
            dy = -fm.descent();
        } else if (e.valign == 2 || e.halign == 4) {
            dy = cap / 2;
        } else if (e.valign == 3) {
            dy = cap;
        }
        origin_ = QPointF(dx, dy);
        lineStep_ = lineStep;
        box_ = QRectF(dx, dy - fm.ascent(), width, block - cap + fm.ascent() + fm.descent());

        const bool aligned = !e.multiline && e.hasAlignPoint && (e.halign != 0 || e.valign != 0) &&
                             e.halign != 3 && e.halign != 5;
        const DxfPoint& at = aligned ? e.alignPoint : e.points[0];
        setPos(at.x, -at.y);
        QTransform t;
        t.rotate(-e.angle);
        t.scale(scale_ * widthFactor_, scale_);
        setTransform(t);
    }

    QRectF boundingRect() const override { return box_; }
    void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override {
        p->setFont(font_);
        p->setPen(colour_);
        QPointF at = origin_;
        for (const QString& l : lines_) {
            p->drawText(at, l);
            at.ry() += lineStep_;
        }
    }
    int type() const override { return UserType + 1; }
    QString text() const { return lines_.join(QLatin1Char('\n')); }

  private:
    QColor colour_;
    QFont font_;
    QStringList lines_;
    QPointF origin_;
    QRectF box_;
    double scale_ = 1.0;
    double widthFactor_ = 1.0;
    double lineStep_ = 0.0;
};

QPen thinPen(const QColor& colour, double width) {
    QPen pen(colour);
    pen.setWidthF(width);
    pen.setCosmetic(width <= 0.0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

}  // namespace

DrawingScene::DrawingScene(QObject* parent) : QGraphicsScene(parent) {
    setBackgroundBrush(Qt::white);
    setItemIndexMethod(QGraphicsScene::NoIndex);
}

bool DrawingScene::load(const QString& path, QString* error) {
    std::string message;
    std::optional<DxfDrawing> d = readDxfFile(path.toStdString(), &message);
    if (!d) {
        clearDrawing();
        if (error) *error = QString::fromStdString(message);
        return false;
    }
    setDrawing(std::move(*d));
    return true;
}

void DrawingScene::clearDrawing() {
    clear();
    drawing_ = DxfDrawing{};
    layerOrder_.clear();
    byLayer_.clear();
    visible_.clear();
    thinItems_.clear();
}

void DrawingScene::setDrawing(DxfDrawing drawing) {
    clearDrawing();
    drawing_ = std::move(drawing);
    build();
}

void DrawingScene::build() {
    QHash<QString, QColor> layerColours;
    for (const DxfLayer& l : drawing_.layers) {
        const QString name = fromUtf8(l.name);
        layerOrder_.append(name);
        visible_.insert(name, l.on);
        layerColours.insert(name, aciColourOnPaper(l.colour));
    }
    const QFont font = referenceFont();
    const QFontMetricsF fm(font);
    for (const DxfEntity& e : drawing_.entities) {
        const QString layer = fromUtf8(e.layer);
        const QColor colour = (e.colour > 0 && e.colour < kColourByLayer)
                                  ? aciColourOnPaper(e.colour)
                                  : layerColours.value(layer, Qt::black);
        QGraphicsItem* item = nullptr;
        switch (e.kind) {
            case DxfKind::Line: {
                auto* line = new QGraphicsLineItem(e.points[0].x, -e.points[0].y, e.points[1].x,
                                                   -e.points[1].y);
                line->setPen(thinPen(colour, thinWidth_));
                thinItems_.append(line);
                item = line;
                break;
            }
            case DxfKind::Polyline: {
                if (e.points.empty()) break;
                QPainterPath path(QPointF(e.points[0].x, -e.points[0].y));
                for (std::size_t k = 1; k < e.points.size(); ++k)
                    path.lineTo(e.points[k].x, -e.points[k].y);
                if (e.closed) path.closeSubpath();
                auto* poly = new QGraphicsPathItem(path);
                poly->setPen(thinPen(colour, e.width > 0 ? e.width : thinWidth_));
                if (e.width <= 0) thinItems_.append(poly);
                item = poly;
                break;
            }
            case DxfKind::Circle: {
                const double r = e.radius;
                auto* circle = new QGraphicsEllipseItem(e.points[0].x - r, -e.points[0].y - r,
                                                        2 * r, 2 * r);
                circle->setPen(thinPen(colour, thinWidth_));
                thinItems_.append(circle);
                item = circle;
                break;
            }
            case DxfKind::Arc: {
                const double r = e.radius;
                const QRectF box(e.points[0].x - r, -e.points[0].y - r, 2 * r, 2 * r);
                double sweep = std::fmod(e.endAngle - e.startAngle, 360.0);
                if (sweep <= 0) sweep += 360.0;
                QPainterPath path;
                path.arcMoveTo(box, e.startAngle);
                path.arcTo(box, e.startAngle, sweep);
                auto* arc = new QGraphicsPathItem(path);
                arc->setPen(thinPen(colour, thinWidth_));
                thinItems_.append(arc);
                item = arc;
                break;
            }
            case DxfKind::Text:
                if (e.text.empty()) break;
                item = new TextItem(e, colour, font, fm);
                break;
        }
        if (!item) continue;
        item->setVisible(visible_.value(layer, true));
        addItem(item);
        byLayer_[layer].append(item);
    }
    setSceneRect(itemsBoundingRect());
}

QStringList DrawingScene::layerNames() const { return layerOrder_; }

bool DrawingScene::isLayerVisible(const QString& name) const { return visible_.value(name, false); }

void DrawingScene::setLayerVisible(const QString& name, bool visible) {
    if (!visible_.contains(name)) return;
    visible_[name] = visible;
    for (QGraphicsItem* item : byLayer_.value(name)) item->setVisible(visible);
}

int DrawingScene::itemCount(const QString& layer) const {
    return static_cast<int>(byLayer_.value(layer).size());
}

QStringList DrawingScene::texts(const QString& layer) const {
    QStringList found;
    for (const QString& name : layerOrder_) {
        if (!layer.isEmpty() && name != layer) continue;
        for (QGraphicsItem* item : byLayer_.value(name)) {
            if (item->type() == QGraphicsItem::UserType + 1)
                found.append(static_cast<TextItem*>(item)->text());
        }
    }
    return found;
}

QRectF DrawingScene::visibleExtents() const {
    QRectF box;
    for (auto it = byLayer_.cbegin(); it != byLayer_.cend(); ++it) {
        if (!visible_.value(it.key(), true)) continue;
        for (QGraphicsItem* item : it.value()) box |= item->sceneBoundingRect();
    }
    return box;
}

void DrawingScene::setThinLineWidth(double units) {
    thinWidth_ = units;
    for (QGraphicsItem* item : thinItems_) {
        if (auto* line = dynamic_cast<QGraphicsLineItem*>(item)) {
            line->setPen(thinPen(line->pen().color(), units));
        } else if (auto* shape = dynamic_cast<QAbstractGraphicsShapeItem*>(item)) {
            shape->setPen(thinPen(shape->pen().color(), units));
        }
    }
}

void DrawingScene::renderInto(QPainter& painter, const QRectF& target, const QRectF& source) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    render(&painter, target, source, Qt::KeepAspectRatio);
}

bool DrawingScene::exportTo(const QString& path, const ExportOptions& o, QString* error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") &&
        suffix != QLatin1String("pdf")) {
        if (error) *error = QStringLiteral("unknown picture type '%1' (png, svg or pdf)").arg(suffix);
        return false;
    }
    if (!(o.mmPerUnit > 0) || !(o.dpi > 0)) {
        if (error) *error = QStringLiteral("the scale must be a positive number");
        return false;
    }
    QRectF source = visibleExtents();
    if (source.isEmpty()) source = QRectF(0, 0, 1, 1);
    const double marginUnits = o.marginMm / o.mmPerUnit;
    source.adjust(-marginUnits, -marginUnits, marginUnits, marginUnits);
    const double widthMm = source.width() * o.mmPerUnit;
    const double heightMm = source.height() * o.mmPerUnit;

    const double savedThin = thinWidth_;
    setThinLineWidth(o.thinLineMm / o.mmPerUnit);
    bool ok = true;
    if (suffix == QLatin1String("png")) {
        const double pxPerMm = o.dpi / kMmPerInch;
        const double w = std::ceil(widthMm * pxPerMm);
        const double h = std::ceil(heightMm * pxPerMm);
        if (w > kMaxImageSide || h > kMaxImageSide) {
            if (error)
                *error = QStringLiteral("the picture would be %1 x %2 pixels; choose a smaller scale")
                             .arg(w)
                             .arg(h);
            ok = false;
        } else {
            QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
            image.setDotsPerMeterX(static_cast<int>(pxPerMm * 1000.0 + 0.5));
            image.setDotsPerMeterY(static_cast<int>(pxPerMm * 1000.0 + 0.5));
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                renderInto(painter, QRectF(0, 0, w, h), source);
            }
            ok = image.save(path, "PNG");
            if (!ok && error) *error = QStringLiteral("cannot write '%1'").arg(path);
        }
    } else if (suffix == QLatin1String("svg")) {
        // Ten SVG pixels per millimetre: the file states its size in mm.
        constexpr double kSvgPxPerMm = 10.0;
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setResolution(static_cast<int>(kSvgPxPerMm * kMmPerInch + 0.5));
        const QSize size(static_cast<int>(std::ceil(widthMm * kSvgPxPerMm)),
                         static_cast<int>(std::ceil(heightMm * kSvgPxPerMm)));
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter;
        if (!painter.begin(&svg)) {
            if (error) *error = QStringLiteral("cannot write '%1'").arg(path);
            ok = false;
        } else {
            painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), Qt::white);
            renderInto(painter, QRectF(QPointF(0, 0), QSizeF(size)), source);
            painter.end();
        }
    } else {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(600);
        QPainter painter;
        if (!painter.begin(&pdf)) {
            if (error) *error = QStringLiteral("cannot write '%1'").arg(path);
            ok = false;
        } else {
            const QRectF page(0, 0, pdf.width(), pdf.height());
            renderInto(painter, page, source);
            painter.end();
        }
    }
    setThinLineWidth(savedThin);
    return ok;
}

void DrawingScene::printTo(QPrinter& printer) {
    QRectF source = visibleExtents();
    if (source.isEmpty()) return;
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    // Thin lines a fifth of a millimetre wide on the printed page.
    const double unitsPerMm =
        std::max(source.width() / (page.width() / printer.resolution() * kMmPerInch),
                 source.height() / (page.height() / printer.resolution() * kMmPerInch));
    const double savedThin = thinWidth_;
    setThinLineWidth(0.2 * unitsPerMm);
    renderInto(painter, QRectF(0, 0, page.width(), page.height()), source);
    painter.end();
    setThinLineWidth(savedThin);
}

}  // namespace tarvel
