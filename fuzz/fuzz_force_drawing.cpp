// The internal-force drawing from a ".fkn" result file, with every diagram
// and both ways of sizing the ordinates.

#include "drawing_rules.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    for (const char* height : {"", drawing_text::kByStorey}) {
        auto setUp = [height](DrawingWindow& w) {
            w.loadType = 1;
            w.drawMoments = true;
            w.drawShears = true;
            w.drawAxialForces = true;
            w.CboAlf = height;
        };
        auto draw = [](DrawingWindow& w) { return w.Drawfc(); };
        const fuzz::Drawing first = fuzz::drawOnce("DLOAD.fkn", bytes, setUp, draw);
        if (fuzz::checkedTwice(bytes)) TARVEL_FUZZ_CHECK(fuzz::drawOnce("DLOAD.fkn", bytes, setUp, draw) == first);
    }
    return 0;
}
