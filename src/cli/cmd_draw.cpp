#include <cstdio>

#include "cli/commands.h"

namespace tarvel::cli {

int cmdDraw(const Args&) {
    std::fprintf(stderr, "tarvel-cli draw: not available in this build yet\n");
    return kUsage;
}

}  // namespace tarvel::cli
