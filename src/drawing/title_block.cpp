#include "drawing/title_block.h"

#include <string>

#include "drawing/drawing_window.h"

namespace tarvel {

void TitleBlock::rule(float left, float length) {
    const float S = dxf_.SCALE;
    dxf_.setLayer("0");
    dxf_.PLINE2(XM - left * S, YMIN - 17 * S, length * S, 0.0f, kTitleRuleWidth);
}

void TitleBlock::text(float below, float height, std::string_view text) {
    dxf_.HZTEXTC(XM, YMIN - below * dxf_.SCALE, height, 0.0, "C", text, drawing_text::kTextStyle);
}

void TitleBlock::fileName(std::string_view name) {
    text(22, kFileNameHeight, "文件名：" + std::string(name));
}

}  // namespace tarvel
