// tarvel-cli-job: the commands of tarvel-cli on job databases, started by
// tarvel-cli with its own arguments (COMMAND ARGS...).

#include <cstdio>
#include <exception>
#include <string>

#include "cli/commands.h"

int main(int argc, char** argv) {
    try {
        const std::string name = argc >= 2 ? argv[1] : "";
        const tarvel::cli::Args args(argv + (argc >= 2 ? 2 : argc), argv + argc);
        if (name == "new") return tarvel::cli::cmdNew(args);
        if (name == "generate") return tarvel::cli::cmdGenerate(args);
        if (name == "import") return tarvel::cli::cmdImport(args);
        std::fprintf(stderr, "tarvel-cli-job: unknown command '%s' (one of new, generate, import)\n",
                     name.c_str());
        return tarvel::cli::kUsage;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvel-cli: internal error: %s\n", e.what());
        return tarvel::cli::kRejected;
    } catch (...) {
        std::fprintf(stderr, "tarvel-cli: internal error\n");
        return tarvel::cli::kRejected;
    }
}
