// tarvel-cli: the analysis, drawing and data-preparation commands of the
// program without the desktop windows. The commands on job databases run in
// tarvel-cli-job beside it (see job_main.cpp), which alone links SQLite.

#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "cli/commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const tarvel::cli::Args&);  // nullptr: a command of tarvel-cli-job
    const char* summary;
};

constexpr Command kCommands[] = {
    {"model", tarvel::cli::cmdModel, "read a .TVL data file and show the frame model"},
    {"run", tarvel::cli::cmdRun, "analyse a .TVL data file and write the result files"},
    {"draw", tarvel::cli::cmdDraw, "write DXF drawings (frame, forces, as)"},
    {"new", nullptr, "create a job database from the template"},
    {"generate", nullptr, "generate a .TVL data file from a job database"},
    {"convert", tarvel::cli::cmdConvert, "convert a legacy .FRM file into a .TVL file"},
    {"check", tarvel::cli::cmdCheck, "validate a .TVL data file"},
    {"import", nullptr, "fill a job database from a .TVL data file"},
};

void usage(std::FILE* out) {
    std::fprintf(out, "usage: tarvel-cli COMMAND [ARGS...]   (COMMAND --help for details)\n\ncommands:\n");
    for (const Command& c : kCommands) std::fprintf(out, "  %-9s %s\n", c.name, c.summary);
    std::fprintf(out,
                 "\nexit status:\n"
                 "  0  success (run: warnings, if any, are on stderr)\n"
                 "  1  the file or the run was refused; a refused run changes no result file\n"
                 "  2  wrong usage\n"
                 "  3  run: the result files were written without the seismic action, because\n"
                 "     the eigen-solution failed\n");
}

// Replaces this process by tarvel-cli-job from this program's folder with the
// same arguments; returns only when it cannot be started.
int runJobProgram(char** argv) {
    std::string program = "tarvel-cli-job";
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        const std::string path(self, static_cast<std::size_t>(n));
        program = path.substr(0, path.rfind('/') + 1) + program;
    }
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "tarvel-cli: cannot start '%s': %s\n", program.c_str(), std::strerror(errno));
    return tarvel::cli::kRejected;
}

}  // namespace

int main(int argc, char** argv) {
    // A run allocates and frees blocks of a few hundred kilobytes (the analysis
    // tables, the result texts): kept in the heap and reused instead of mapped
    // and unmapped each time, every page is faulted in once.
    ::mallopt(M_MMAP_THRESHOLD, 64 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 64 << 20);
    try {
        if (argc < 2) {
            usage(stderr);
            return tarvel::cli::kUsage;
        }
        const std::string name = argv[1];
        if (name == "--help" || name == "-h" || name == "help") {
            usage(stdout);
            return tarvel::cli::kOk;
        }
        for (const Command& c : kCommands) {
            if (name != c.name) continue;
            if (!c.run) return runJobProgram(argv);
            return c.run(tarvel::cli::Args(argv + 2, argv + argc));
        }
        std::fprintf(stderr, "tarvel-cli: unknown command '%s'\n", name.c_str());
        usage(stderr);
        return tarvel::cli::kUsage;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvel-cli: internal error: %s\n", e.what());
        return tarvel::cli::kRejected;
    } catch (...) {
        std::fprintf(stderr, "tarvel-cli: internal error\n");
        return tarvel::cli::kRejected;
    }
}
