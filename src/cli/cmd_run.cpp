#include <cstdio>

#include "cli/commands.h"

namespace tarvel::cli {

int cmdRun(const Args&) {
    std::fprintf(stderr, "tarvel-cli run: not available in this build yet\n");
    return kUsage;
}

}  // namespace tarvel::cli
