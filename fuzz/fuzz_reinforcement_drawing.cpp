// The reinforcement drawing from an "AS.ags" result file.

#include "drawing_rules.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    auto setUp = [](DrawingWindow&) {};
    auto draw = [](DrawingWindow& w) { return w.Drawas(); };
    const fuzz::Drawing first = fuzz::drawOnce("AS.ags", bytes, setUp, draw);
    if (fuzz::checkedTwice(bytes)) TARVEL_FUZZ_CHECK(fuzz::drawOnce("AS.ags", bytes, setUp, draw) == first);
    return 0;
}
