#pragma once
// The DXF writer and its drawing primitives. A drawing is a HEADER section
// (release AC1009, code page ANSI_936, the extents), a TABLES section (the
// line type CONTINUOUS, every layer the entities use with its colour, the
// text style HZTXT with a font that shows Chinese) and the ENTITIES section,
// so other programs read it without being told the code page or the layers.
// Lines end with CR LF; every coordinate and circle radius is divided by
// SCALE, text heights, polyline widths and angles are drawing units and never
// divided. Texts reach the file in GBK.
//
// The drawing is built in memory and written when it is closed, through a
// temporary file renamed over the target, so a command that fails half way
// never leaves a truncated drawing behind.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/host.h"
#include "common/table.h"

namespace tarvel {

// One entity each; coordinates already divided by SCALE.
struct DxfLine {
    double x1, y1, x2, y2;
};
struct DxfCircle {
    double x, y, r;
};
struct DxfText {
    double x, y;
    double height;
    double angle;            // degrees, counter-clockwise
    std::string_view align;  // justification code: " ", "L", "C", "R", "BL" ... "TR"
    std::string_view text;   // UTF-8
    std::string_view style;  // "TXT" is the default style and is not written
};
struct DxfPolyline {
    std::span<const float> x, y;  // vertices, single precision
    float width;                  // start and end width alike
};

class DxfWriter {
  public:
    std::string LAYER = "0";  // layer of the next entities
    float SCALE = 0.0f;       // model units per drawing unit (0.1 for 1:100 with m and mm)
    std::string
        WORKDIR;  // folder of the drawings, ending in a separator, or "" for the current one
    std::string DXFFILE;  // name of the drawing being written, without folder

    void setLayer(std::string_view name) { LAYER = std::string(name); }

    // Opens a drawing named after DXFNAME (its last four characters become
    // ".DXF") and logs its name. YBT and INPORT are kept for the callers'
    // sake and not used.
    void PLOTST(std::string_view YBT, int INPORT, std::string_view DXFNAME, Host& host);
    // The same without the log line.
    void PLOTST0(std::string_view YBT, int INPORT, std::string_view DXFNAME);
    // Ends the section and writes the file WORKDIR + DXFFILE. False when the
    // file cannot be written, or when a coordinate or size of the drawing is
    // not a number or lies beyond kMaxDxfMagnitude (a result file with values
    // out of all proportion): nothing is written then. *error says why.
    bool PLOTEND(std::string* error = nullptr);
    // Drops a drawing that a failed command leaves open; nothing is written.
    void discard();

    void LINE0(double X1, double Y1, double X2, double Y2);
    void CIRCLE0(double X1, double Y1, double r);
    // A text; returns the number of characters of TEXT.
    int HZTEXTC(double X, double Y, double H, double ANGLE, std::string_view TP,
                std::string_view TEXT, std::string_view STYLE);
    int TEXTC(double X, double Y, double H, double ANGLE, std::string_view TP,
              std::string_view TEXT);
    // r rounded half up at the third decimal, as plain text (12.3456 -> 12.346).
    int TEXTR(double X, double Y, double H, double ANGLE, std::string_view TP, double r);
    // N in the file's number format, its sign blank trimmed (.5 -> ".5").
    int TEXTN(double X, double Y, double H, double ANGLE, std::string_view TP, float N);
    void PLINE(int N, std::span<const float> X, std::span<const float> Y, float W);
    void PLINE2(float X0, float Y0, float DX, float DY, float W);

    // Arrow with its tip at (X0, Y0) along the local v axis of the direction
    // (DX, DY): shaft to local (0, AL), barbs to local (±0.6·SCALE, k·AL), so
    // the head is 1.2 drawing units wide at any scale. ARROR uses thin lines
    // (k = 0.3), ARROR1 wide polylines (k = 0.35).
    void ARROR(float X0, float Y0, float DX, float DY, float AL);
    void ARROR1(float X0, float Y0, float DX, float DY, float AL);

    bool isOpen() const { return open_; }
    // The ENTITIES section written so far (GBK), from its SECTION line on.
    const std::string& bytes() const { return out_; }
    // Layers the entities used so far, in the order of first use.
    const std::vector<std::string>& layersUsed() const { return layers_; }

    // One writer per DXF entity.
    void writeLine(const DxfLine& line);
    void writeCircle(const DxfCircle& circle);
    void writeText(const DxfText& text);
    void writePolyline(const DxfPolyline& polyline);

  private:
    void group(std::string_view code, std::string_view value);
    void group(std::string_view code, double value);
    void checkRange(double value);  // marks the drawing unwritable beyond kMaxDxfMagnitude
    void entityStart(std::string_view type);
    void extend(double x, double y);
    // HEADER and TABLES sections for the entities written.
    std::string headerAndTables() const;

    // Printed numbers by bit pattern. Coordinates repeat (an arrow's tip in
    // each of its three lines, the ends shared by neighbouring lines), and
    // looking a value up is cheaper than printing it to 15 digits again.
    struct PrintedNumber {
        std::uint64_t bits = 0;
        std::uint8_t length = 0;  // 0: slot empty
        char text[31] = {};
    };
    static constexpr std::size_t kNumberSlots = 256;
    std::array<PrintedNumber, kNumberSlots> printed_{};

    std::string out_;
    bool open_ = false;
    bool outOfRange_ = false;  // a number of the drawing no reader could take
    std::string layerName_;  // LAYER as last written, and in GBK
    std::string layerGbk_;
    std::vector<std::string> layers_;  // in GBK, first use first
    // Extents of the coordinates written (insertion points for texts).
    double minX_ = 0.0, minY_ = 0.0, maxX_ = 0.0, maxY_ = 0.0;
    bool anyPoint_ = false;
};

// Colour (AutoCAD colour index) of a layer the drawings use; 7 (black on
// paper, white on a dark screen) for any other.
int layerColour(std::string_view layer);

// Name of the drawing for DXFNAME: its last four characters replaced by
// ".DXF" ("DLOAD_M.fkn" -> "DLOAD_M.DXF", "PLOT.DXF" unchanged).
std::string dxfFileName(std::string_view DXFNAME);
// NAME with its last four characters (a dot and a three-letter extension)
// replaced by `replacement`; counted in characters, not bytes.
std::string replaceLastFour(std::string_view NAME, std::string_view replacement);

// Removes leading and trailing blanks of CC; returns its length in characters.
int PACKCHAR(std::string& CC);

// Local point (a, B) in the frame whose u axis has the direction cosines
// (DX, DY) and whose v axis points 90° counter-clockwise from it, relative to
// the origin (X0, Y0), in global coordinates.
void XYTOXY(float X0, float Y0, float a, float B, float DX, float DY, float& X, float& Y);

// Exchange sort of AA(1..N), ascending.
template <int U>
void CHANGE(Table<float, U>& AA, int N) {
    for (int i = 1; i <= N - 1; ++i) {
        for (int j = i + 1; j <= N; ++j) {
            if (AA(i) > AA(j)) {
                const float t = AA(i);
                AA(i) = AA(j);
                AA(j) = t;
            }
        }
    }
}

}  // namespace tarvel
