#pragma once
// Printing a text file line by line: each line of the file one printed line
// in 12-point "宋体" (where that face is missing, a face with the same
// Chinese glyphs), new pages as the lines fill them.

#include <QFont>
#include <QString>

class QPrinter;

namespace tarvel::app {

// The printing face: "宋体" at 12 points, falling back to WenQuanYi Micro Hei.
QFont printFont();

// Prints `text` (lines ended by LF or CR LF) on an already chosen printer;
// the number of pages printed, 0 when the printer could not start.
int printTextLines(QPrinter& printer, const QString& text, const QFont& font);

}  // namespace tarvel::app
