#include "drawing/drawing_window.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/list_input.h"

namespace tarvel {

namespace {

// The number in a box as the window reads it: an empty box gives `empty`,
// text that is not a number gives 0.
double boxValue(std::string_view text, double empty) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return empty;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    double value = 0.0;
    return parseNumber(text, value) ? value : 0.0;
}

constexpr double kEmptyScaleDenominator = 100.0;  // 1:100
constexpr double kEmptyOrdinateHeight = 20.0;     // drawing units
constexpr double kScaleUnitsPerMetre = 1000.0;    // drawing units are mm at the drawing scale

}  // namespace

float DrawingWindow::scaleFromBox() const {
    return static_cast<float>(boxValue(CboScale, kEmptyScaleDenominator) / kScaleUnitsPerMetre);
}

float DrawingWindow::heightFromBox() const {
    return static_cast<float>(boxValue(CboAlf, kEmptyOrdinateHeight));
}

float DrawingWindow::heightByStorey(std::vector<float> levels, float SCALE) {
    // Levels closer than a millimetre are one level.
    constexpr float kSameLevel = 0.001f;
    // Labels stand up to 3 drawing units beyond an ordinate's end (offset 1, height 2).
    constexpr float kLabelRoom = 3.0f;
    constexpr float kSmallest = 1.0f;
    std::sort(levels.begin(), levels.end());
    float smallest = 0.0f;
    for (std::size_t k = 1; k < levels.size(); ++k) {
        const float h = levels[k] - levels[k - 1];
        if (h > kSameLevel && (smallest == 0.0f || h < smallest)) smallest = h;
    }
    if (smallest == 0.0f || !(SCALE > 0.0f)) return static_cast<float>(kEmptyOrdinateHeight);
    return std::max(smallest / 2 / SCALE - kLabelRoom, kSmallest);
}

void DrawingWindow::start() {
    host_.log(drawing_text::kWindowLog);
    CboAlf = "20";
    CboScale = "100";
    CboHzlx.clear();
    loadType = 0;
}

void DrawingWindow::selectFolder(std::string_view folder) {
    dxf.WORKDIR = std::string(folder);
    if (!dxf.WORKDIR.empty() && dxf.WORKDIR.back() != '/') dxf.WORKDIR += '/';
}

void DrawingWindow::selectLoadType(std::string_view entry) {
    CboHzlx = entry;
    loadType = 0;
    for (std::size_t i = 0; i < kLoadTypes.size(); ++i) {
        if (entry == kLoadTypes[i]) loadType = static_cast<std::int16_t>(i + 1);
    }
}

// Ticking one diagram box disables the other two, so at most one diagram
// type is chosen; unticking enables all three again.
void DrawingWindow::chooseDiagram(int box, bool draw) {
    CheckBox* boxes[3] = {&Check1, &Check2, &Check3};
    bool* chosen[3] = {&drawMoments, &drawShears, &drawAxialForces};
    if (box < 1 || box > 3) return;
    const int own = box - 1;
    boxes[own]->ticked = draw;
    *chosen[own] = draw;
    for (int i = 0; i < 3; ++i) {
        if (i != own) boxes[i]->enabled = !draw;
    }
    boxes[own]->enabled = true;
}

void DrawingWindow::untickDiagramBoxes() {
    if (Check1.ticked) setDrawMoments(false);
    if (Check2.ticked) setDrawShears(false);
    if (Check3.ticked) setDrawAxialForces(false);
}

bool DrawingWindow::drawForceDiagrams() {
    if (CboHzlx.empty()) {
        host_.message(drawing_text::kNoLoadType, drawing_text::kTitle, Icon::Information);
        return false;
    }
    return Drawfc();
}

bool DrawingWindow::drawStructure() {
    if (TxtName.empty()) {
        host_.message(drawing_text::kNoDataFile, drawing_text::kTitle, Icon::Information);
        return false;
    }
    return Drawfm();
}

bool DrawingWindow::viewFile(std::string_view editor) {
    if (TxtName.empty()) {
        host_.message(drawing_text::kNoFileToShow, drawing_text::kTitle, Icon::Information);
        return false;
    }
    return host_.startProgram(editor, {dxf.WORKDIR + TxtName});
}

const char* DrawingWindow::filePattern(int entry) {
    static constexpr const char* kPatterns[] = {"*.*", "*.TVL", "*.AGS", "*.FKN"};
    return (entry >= 1 && entry <= 3) ? kPatterns[entry] : kPatterns[0];
}

bool DrawingWindow::resultFileFailure(const std::string& logText, const std::string& messageText) {
    dxf.discard();
    host_.log(logText);
    host_.message(messageText, drawing_text::kTitle, Icon::Information);
    return false;
}

bool DrawingWindow::unreadableResultFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return resultFileFailure(
            drawing_text::kMissingFile + path + drawing_text::kMissingFileLogEnd,
            drawing_text::kMissingFile + path + drawing_text::kMissingFileMessageEnd);
    }
    if (std::filesystem::is_directory(path, ec)) {
        return resultFileFailure("错误信息:'" + path + "' 是文件夹,不是结果文件！");
    }
    return resultFileFailure("错误信息:无法读取文件 '" + path + "'(没有读取权限或读取出错)！");
}

}  // namespace tarvel
