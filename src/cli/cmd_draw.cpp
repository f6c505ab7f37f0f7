// tarvel-cli draw: the three commands of the drawing window. The options fill
// the window's boxes; the drawing window's own commands then draw, so a
// drawing made here is the one the window makes.

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "common/file_io.h"
#include "common/list_input.h"
#include "drawing/drawing_window.h"

namespace tarvel::cli {

namespace {

constexpr const char* kHelp =
    "usage: tarvel-cli draw frame FILE.TVL [--scale N] [--dir DIR]\n"
    "       tarvel-cli draw forces [FILE.fkn] --case dead|live|wind [--diagram M|V|N]\n"
    "                              [--scale N] [--height H] [--dir DIR]\n"
    "       tarvel-cli draw as [FILE.ags] [--scale N] [--dir DIR]\n"
    "\n"
    "Writes a DXF drawing, as the drawing window does:\n"
    "  frame   the computation diagram of a data file with its dead, live and wind\n"
    "          loads (FILE.TVL gives FILE.DXF)\n"
    "  forces  the M, V or N diagram of one load case from its internal-force file;\n"
    "          without FILE the case's own file DLOAD.fkn, LLOAD.fkn or WLOAD.fkn;\n"
    "          without --diagram only the member axes (DLOADMVN.DXF ...)\n"
    "  as      the reinforcement areas from a reinforcement file (default AS.ags)\n"
    "\n"
    "  --scale N    drawing scale 1:N (default 100)\n"
    "  --height H   largest diagram ordinate in drawing units (default 20)\n"
    "  --dir DIR    working folder: FILE is read from it and the drawing written\n"
    "               into it (default the folder of FILE, else the current folder)\n"
    "\n"
    "Prints the run-log lines, then the path of the drawing written.\n"
    "Exit status: 0 drawn, 1 rejected, 2 wrong usage.\n";

int usageError(const std::string& text) {
    std::fprintf(stderr, "tarvel-cli draw: %s\n%s", text.c_str(), kHelp);
    return kUsage;
}

bool positiveNumber(const std::string& text) {
    double value = 0.0;
    return parseNumber(text, value) && value > 0.0;
}

struct DrawRequest {
    std::string kind;
    std::string file;
    std::string scale = "100";
    std::string height = "20";
    std::string dir;
    bool dirGiven = false;
    int loadType = 0;  // 1 dead, 2 live, 3 wind
    int diagram = 0;   // 1 M, 2 V, 3 N
};

// Returns an exit status when the arguments are not usable, else -1.
int parse(const Args& args, DrawRequest& r) {
    if (args.empty()) return usageError("no drawing given (frame, forces or as)");
    r.kind = args[0];
    if (r.kind != "frame" && r.kind != "forces" && r.kind != "as") {
        return usageError("unknown drawing '" + r.kind + "'");
    }
    for (std::size_t a = 1; a < args.size(); ++a) {
        const std::string& arg = args[a];
        const bool takesValue = arg == "--scale" || arg == "--height" || arg == "--dir" ||
                                arg == "--case" || arg == "--diagram";
        if (takesValue) {
            if (a + 1 >= args.size()) return usageError("option '" + arg + "' needs a value");
            const std::string& value = args[++a];
            if (arg == "--scale" || arg == "--height") {
                if (!positiveNumber(value))
                    return usageError(arg + " '" + value + "' is not a positive number");
                (arg == "--scale" ? r.scale : r.height) = value;
            } else if (arg == "--dir") {
                r.dir = value;
                r.dirGiven = true;
            } else if (arg == "--case") {
                r.loadType = value == "dead" ? 1 : value == "live" ? 2 : value == "wind" ? 3 : 0;
                if (r.loadType == 0)
                    return usageError("--case '" + value + "' is not dead, live or wind");
            } else {
                r.diagram = (value == "M" || value == "m")   ? 1
                            : (value == "V" || value == "v") ? 2
                            : (value == "N" || value == "n") ? 3
                                                             : 0;
                if (r.diagram == 0) return usageError("--diagram '" + value + "' is not M, V or N");
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option '" + arg + "'");
        } else if (r.file.empty()) {
            r.file = arg;
        } else {
            return usageError("more than one file given");
        }
    }
    if (r.kind == "frame" && r.file.empty()) return usageError("no data file given");
    if (r.kind == "forces" && r.loadType == 0)
        return usageError("--case is required for force diagrams");
    if (r.kind != "forces" && (r.loadType != 0 || r.diagram != 0)) {
        return usageError("--case and --diagram belong to force diagrams");
    }
    return -1;
}

}  // namespace

int cmdDraw(const Args& args) {
    if (wantsHelp(args)) {
        std::fputs(kHelp, stdout);
        return kOk;
    }
    DrawRequest r;
    if (const int status = parse(args, r); status >= 0) return status;

    ConsoleHost host;
    DrawingWindow window(host);
    window.CboScale = r.scale;
    window.CboAlf = r.height;
    if (r.dirGiven) {
        window.DirList_Change(r.dir);
        window.FilList_Click(r.file);
    } else {
        if (!folderOf(r.file).empty()) window.DirList_Change(folderOf(r.file));
        window.FilList_Click(fileNameOf(r.file));
    }

    bool drawn = false;
    if (r.kind == "frame") {
        drawn = window.CmdDrawfm_Click();
    } else if (r.kind == "forces") {
        window.CboHzlx_Click(DrawingWindow::kLoadTypes[static_cast<std::size_t>(r.loadType - 1)]);
        if (r.diagram == 1) window.Check1_Click(true);
        if (r.diagram == 2) window.Check2_Click(true);
        if (r.diagram == 3) window.Check3_Click(true);
        drawn = window.CmdDrawfc_Click();
    } else {
        drawn = window.CmdDrawas_Click();
    }
    if (!drawn) return kRejected;
    std::printf("%s\n", window.drawingPath().c_str());
    return kOk;
}

}  // namespace tarvel::cli
