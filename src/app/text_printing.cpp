#include "text_printing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QStringList>

namespace tarvel::app {

QFont printFont() {
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei"));
        QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"));
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(12);
    return font;
}

int printTextLines(QPrinter& printer, const QString& text, const QFont& font) {
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    painter.setFont(QFont(font, &printer));
    const QFontMetricsF metrics(painter.font());
    const double lineHeight = metrics.lineSpacing();
    const double pageHeight = printer.pageRect(QPrinter::DevicePixel).height();
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (body.endsWith(QLatin1Char('\n'))) body.chop(1);
    int pages = 1;
    double y = metrics.ascent();
    for (const QString& line : body.split(QLatin1Char('\n'))) {
        if (y + metrics.descent() > pageHeight && y > metrics.ascent()) {
            printer.newPage();
            ++pages;
            y = metrics.ascent();
        }
        painter.drawText(QPointF(0, y), line);
        y += lineHeight;
    }
    painter.end();
    return pages;
}

}  // namespace tarvel::app
