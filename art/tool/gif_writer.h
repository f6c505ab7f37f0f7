#pragma once
// A GIF89a writer for the pictures of the program folder: Qt reads GIF but
// cannot write it. One frame, a 256-entry palette chosen by median cut (the
// exact colours when the picture has no more than 256), LZW-compressed.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

namespace tarvel::art {

// The palette of at most 256 opaque colours that represents `image`; the
// colours themselves when it holds 256 or fewer.
QList<QRgb> medianCutPalette(const QImage& image);

// The image as a GIF file. Partly transparent pixels are laid over white
// first: the pictures sit on opaque window backgrounds.
QByteArray encodeGif(const QImage& image);

}  // namespace tarvel::art
