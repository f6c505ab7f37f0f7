#pragma once
// The AutoCAD colour index: 1..9 the named colours, 10..249 twenty-four
// hues in five shades and two saturations, 250..255 greys.

#include <QColor>

namespace tarvel {

// Colour of an index as a CAD program shows it on a dark screen.
QColor aciColour(int index);
// The same on white paper: colour 7 (and white) turns black, and colours
// too light to read on white are darkened.
QColor aciColourOnPaper(int index);

}  // namespace tarvel
