#pragma once
// A sketch of the frame as the job tables describe it, as a drawing: node
// numbers, beams and columns, support symbols from the restrained codes, and
// the loads of one table (or the masses). Faulty members are drawn on the
// error layer in red with a cross at the end that has no node, and the
// faults are listed in red below the frame. Drawing units are metres.

#include "drawing/dxf_reader.h"
#include "model/frame_sketch.h"

namespace tarvel {

// What is shown besides the frame.
enum class PreviewLoads { None, Dead, Live, Wind, Masses };

namespace preview_layer {
inline constexpr const char* kNodes = "节点";
inline constexpr const char* kBeams = "梁";
inline constexpr const char* kColumns = "柱";
inline constexpr const char* kSupports = "支座";
inline constexpr const char* kLoads = "荷载";
inline constexpr const char* kMasses = "质量";
inline constexpr const char* kErrors = "错误";
}  // namespace preview_layer

DxfDrawing framePreview(const FrameSketch& sketch, PreviewLoads loads);

}  // namespace tarvel
