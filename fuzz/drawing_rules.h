#pragma once
// The rules of a drawing command on a result file: a refused file writes no
// drawing; a drawn one writes exactly one drawing, which the program's own
// DXF reader reads back with finite coordinates only; the same file gives the
// same drawing and the same texts twice.

#include <cmath>
#include <functional>

#include "drawing/drawing_window.h"
#include "drawing/dxf_reader.h"
#include "fuzz_support.h"

namespace tarvel::fuzz {

struct Drawing {
    bool drawn = false;
    std::string transcript;
    std::map<std::string, std::string> files;
    bool operator==(const Drawing&) const = default;
};

inline bool finiteDrawing(const DxfDrawing& d) {
    for (const DxfEntity& e : d.entities) {
        for (const DxfPoint& p : e.points) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
        }
        if (!std::isfinite(e.radius) || !std::isfinite(e.height) || !std::isfinite(e.width)) return false;
    }
    return true;
}

// Writes the input as `name`, lets `setUp` fill the window, and runs `command`.
inline Drawing drawOnce(std::string_view name, std::string_view bytes,
                        const std::function<void(DrawingWindow&)>& setUp,
                        const std::function<bool(DrawingWindow&)>& command) {
    const ScratchFolder& folder = ScratchFolder::instance();
    freshInput(name, bytes);
    TranscriptHost host;
    DrawingWindow window(host);
    window.dxf.WORKDIR = folder.path();
    window.TxtName = std::string(name);
    setUp(window);
    Drawing d{command(window), std::move(host.transcript), folder.contents()};
    const std::string input(name);
    TARVEL_FUZZ_CHECK(d.files.count(input) == 1 && d.files[input] == bytes);
    if (!d.drawn) {
        TARVEL_FUZZ_CHECK(d.files.size() == 1);
        return d;
    }
    TARVEL_FUZZ_CHECK(d.files.size() == 2);
    for (const auto& [file, content] : d.files) {
        if (file == input) continue;
        TARVEL_FUZZ_CHECK(file == window.dxf.DXFFILE);
        try {
            TARVEL_FUZZ_CHECK(finiteDrawing(readDxf(content)));
        } catch (const DxfReadError& e) {
            std::fprintf(stderr, "drawing does not read back: line %zu: %s\n", e.line(), e.what());
            TARVEL_FUZZ_CHECK(false);
        }
    }
    return d;
}

}  // namespace tarvel::fuzz
