#include <cstdio>

#include "cli/commands.h"

namespace tarvel::cli {

namespace {
int notYet(const char* name) {
    std::fprintf(stderr, "tarvel-cli %s: not available in this build yet\n", name);
    return kUsage;
}
}  // namespace

int cmdNew(const Args&) { return notYet("new"); }
int cmdGenerate(const Args&) { return notYet("generate"); }
int cmdConvert(const Args&) { return notYet("convert"); }
int cmdCheck(const Args&) { return notYet("check"); }
int cmdImport(const Args&) { return notYet("import"); }

}  // namespace tarvel::cli
