#include "dxfview/aci_colours.h"

#include <array>

namespace tarvel {

namespace {

struct Rgb {
    int r, g, b;
};

constexpr std::array<Rgb, 10> kNamed = {{{0, 0, 0},
                                         {255, 0, 0},
                                         {255, 255, 0},
                                         {0, 255, 0},
                                         {0, 255, 255},
                                         {0, 0, 255},
                                         {255, 0, 255},
                                         {255, 255, 255},
                                         {128, 128, 128},
                                         {192, 192, 192}}};
// Brightness of the five shades of each hue.
constexpr std::array<int, 5> kShades = {255, 165, 127, 76, 38};
constexpr std::array<int, 6> kGreys = {51, 91, 132, 173, 214, 255};

}  // namespace

QColor aciColour(int index) {
    if (index >= 1 && index <= 9) {
        const Rgb c = kNamed[static_cast<std::size_t>(index)];
        return QColor(c.r, c.g, c.b);
    }
    if (index >= 250 && index <= 255) {
        const int v = kGreys[static_cast<std::size_t>(index - 250)];
        return QColor(v, v, v);
    }
    if (index < 10 || index > 255) return QColor(255, 255, 255);
    const int hue = (index - 10) / 10 * 15;  // degrees
    const int row = index % 10;
    const int value = kShades[static_cast<std::size_t>(row / 2)];
    // Odd rows are the paler half: half the saturation.
    const int saturation = row % 2 == 0 ? 255 : 127;
    return QColor::fromHsv(hue, saturation, value);
}

QColor aciColourOnPaper(int index) {
    if (index == 7 || index == 255) return QColor(0, 0, 0);
    QColor c = aciColour(index);
    // Luma above about 0.7 is hard to read on white: darken it.
    const double luma = 0.299 * c.redF() + 0.587 * c.greenF() + 0.114 * c.blueF();
    if (luma > 0.7) c = c.darker(static_cast<int>(100.0 * luma / 0.45));
    return c;
}

}  // namespace tarvel
