// tarvel-cli draw: the three commands of the drawing window. The options fill
// the window's boxes; the drawing window's own commands then draw, so a
// drawing made here is the one the window makes.

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "common/file_io.h"
#include "common/list_input.h"
#include "drawing/drawing_window.h"

extern char** environ;

namespace tarvel::cli {

namespace {

constexpr const char* kHelp =
    "usage: tarvel-cli draw frame FILE.TVL [--case dead|live|wind] [--scale N] [--dir DIR]\n"
    "       tarvel-cli draw forces [FILE.fkn] --case dead|live|wind [--diagram M|V|N]\n"
    "                              [--scale N] [--height H|storey] [--dir DIR]\n"
    "       tarvel-cli draw as [FILE.ags] [--scale N] [--dir DIR]\n"
    "  and with any of them: [--png PICTURE] [--svg PICTURE] [--pdf PICTURE]\n"
    "                        [--picture-scale MM]\n"
    "\n"
    "Writes a DXF drawing, as the drawing window does:\n"
    "  frame   the computation diagram of a data file with its dead, live and wind\n"
    "          loads (FILE.TVL gives FILE.DXF); with --case only that case's loads\n"
    "          (FILE_DLOAD.DXF, FILE_LLOAD.DXF, FILE_WLOAD.DXF)\n"
    "  forces  the M, V or N diagram of one load case from its internal-force file;\n"
    "          without FILE the case's own file DLOAD.fkn, LLOAD.fkn or WLOAD.fkn;\n"
    "          without --diagram only the member axes (DLOADMVN.DXF ...)\n"
    "  as      the reinforcement areas from a reinforcement file (default AS.ags)\n"
    "\n"
    "  --scale N    drawing scale 1:N (default 100)\n"
    "  --height H   largest diagram ordinate in drawing units (default 20);\n"
    "               'storey' keeps every diagram within half the smallest storey\n"
    "  --png, --svg, --pdf PICTURE\n"
    "               also draw the drawing as a picture, through tarvel-render\n"
    "               (built with the desktop program, found beside tarvel-cli)\n"
    "  --picture-scale MM  millimetres on the picture per drawing unit (default 1)\n"
    "  --dir DIR    working folder: FILE is read from it and the drawing written\n"
    "               into it (default the folder of FILE, else the current folder)\n"
    "\n"
    "Prints the run-log lines, then the path of the drawing written.\n"
    "Exit status: 0 drawn, 1 rejected, 2 wrong usage.\n";

bool positiveNumber(const std::string& text) {
    double value = 0.0;
    return parseNumber(text, value) && value > 0.0;
}

struct DrawRequest : CommonOptions {
    std::string kind;
    std::string file;
    std::string scale = "100";
    std::string height = "20";
    std::string dir;
    bool dirGiven = false;
    int loadType = 0;  // 1 dead, 2 live, 3 wind
    int diagram = 0;   // 1 M, 2 V, 3 N
    std::vector<std::string> pictures;  // PNG, SVG or PDF files to render the drawing to
    std::string pictureScale;
};

// tarvel-render beside this program, or in its place in the build tree.
std::string findRenderer() {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    self[n] = '\0';
    const std::string folder = folderOf(self);
    for (const std::string& candidate :
         {folder + "tarvel-render", folder + "../dxfview/tarvel-render"}) {
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

// Runs tarvel-render on the drawing for one picture; its own messages reach
// stderr. Returns true when the picture was written.
bool renderPicture(const std::string& renderer, const std::string& drawing,
                   const std::string& picture, const std::string& scale) {
    std::vector<std::string> args = {renderer, drawing, picture};
    if (!scale.empty()) {
        args.push_back("--scale");
        args.push_back(scale);
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, renderer.c_str(), nullptr, nullptr, argv.data(), environ);
    if (spawned != 0) {
        std::fprintf(stderr, "tarvel-cli draw: cannot start %s: %s\n", renderer.c_str(),
                     std::strerror(spawned));
        return false;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Returns an exit status when the arguments are not usable, else -1.
int parse(const Args& args, const Usage& usage, DrawRequest& r) {
    if (args.empty()) return usage.wrong("no drawing given (frame, forces or as)");
    r.kind = args[0];
    if (r.kind != "frame" && r.kind != "forces" && r.kind != "as") {
        return usage.wrong("unknown drawing '" + r.kind + "'");
    }
    for (std::size_t a = 1; a < args.size(); ++a) {
        const std::string& arg = args[a];
        const bool takesValue = arg == "--scale" || arg == "--height" || arg == "--dir" ||
                                arg == "--case" || arg == "--diagram" || arg == "--png" ||
                                arg == "--svg" || arg == "--pdf" || arg == "--picture-scale";
        if (takesValue) {
            if (a + 1 >= args.size()) return usage.wrong("option '" + arg + "' needs a value");
            const std::string& value = args[++a];
            if (arg == "--png" || arg == "--svg" || arg == "--pdf") {
                r.pictures.push_back(value);
            } else if (arg == "--picture-scale") {
                if (!positiveNumber(value))
                    return usage.wrong(arg + " '" + value + "' is not a positive number");
                r.pictureScale = value;
            } else if (arg == "--height" && (value == "storey" || value == "by-storey")) {
                r.height = drawing_text::kByStorey;
            } else if (arg == "--scale" || arg == "--height") {
                if (!positiveNumber(value))
                    return usage.wrong(arg + " '" + value + "' is not a positive number");
                (arg == "--scale" ? r.scale : r.height) = value;
            } else if (arg == "--dir") {
                r.dir = value;
                r.dirGiven = true;
            } else if (arg == "--case") {
                r.loadType = value == "dead" ? 1 : value == "live" ? 2 : value == "wind" ? 3 : 0;
                if (r.loadType == 0)
                    return usage.wrong("--case '" + value + "' is not dead, live or wind");
            } else {
                r.diagram = (value == "M" || value == "m")   ? 1
                            : (value == "V" || value == "v") ? 2
                            : (value == "N" || value == "n") ? 3
                                                             : 0;
                if (r.diagram == 0) return usage.wrong("--diagram '" + value + "' is not M, V or N");
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return usage.wrong("unknown option '" + arg + "'");
        } else if (r.file.empty()) {
            r.file = arg;
        } else {
            return usage.wrong("more than one file given");
        }
    }
    if (r.kind == "frame" && r.file.empty()) return usage.wrong("no data file given");
    if (r.kind == "forces" && r.loadType == 0)
        return usage.wrong("--case is required for force diagrams");
    if (r.kind == "as" && r.loadType != 0) return usage.wrong("--case belongs to frame and force drawings");
    if (r.kind != "forces" && r.diagram != 0) return usage.wrong("--diagram belongs to force diagrams");
    return -1;
}

int draw(const DrawRequest& r, Host& host) {
    DrawingWindow window(host);
    window.CboScale = r.scale;
    window.CboAlf = r.height;
    if (r.dirGiven) {
        window.selectFolder(r.dir);
        window.selectFile(r.file);
    } else {
        if (!folderOf(r.file).empty()) window.selectFolder(folderOf(r.file));
        window.selectFile(fileNameOf(r.file));
    }

    bool drawn = false;
    if (r.kind == "frame") {
        window.frameCase = static_cast<std::int16_t>(r.loadType);
        drawn = window.drawStructure();
    } else if (r.kind == "forces") {
        window.selectLoadType(DrawingWindow::kLoadTypes[static_cast<std::size_t>(r.loadType - 1)]);
        if (r.diagram == 1) window.setDrawMoments(true);
        if (r.diagram == 2) window.setDrawShears(true);
        if (r.diagram == 3) window.setDrawAxialForces(true);
        drawn = window.drawForceDiagrams();
    } else {
        drawn = window.drawReinforcement();
    }
    if (!drawn) return kRejected;
    std::printf("%s\n", window.drawingPath().c_str());
    std::fflush(stdout);
    if (r.pictures.empty()) return kOk;
    const std::string renderer = findRenderer();
    if (renderer.empty()) {
        std::fprintf(stderr,
                     "tarvel-cli draw: tarvel-render was not found beside tarvel-cli, so no "
                     "picture was made; it is built with the desktop program "
                     "(TARVEL_BUILD_APP=ON)\n");
        return kRejected;
    }
    for (const std::string& picture : r.pictures) {
        if (!renderPicture(renderer, window.drawingPath(), picture, r.pictureScale)) {
            std::fprintf(stderr, "tarvel-cli draw: the picture %s was not written\n",
                         picture.c_str());
            return kRejected;
        }
        std::printf("%s\n", picture.c_str());
    }
    return kOk;
}

}  // namespace

int cmdDraw(const Args& args) {
    return runCommand<DrawRequest>(args, {"draw", kHelp}, parse, draw);
}

}  // namespace tarvel::cli
