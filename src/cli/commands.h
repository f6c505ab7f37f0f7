#pragma once
// Subcommands of tarvel-cli. Each takes the arguments after its name and
// returns the exit status: 0 success, 1 the file or the run was rejected,
// 2 wrong usage, 3 (run) the results were written without the seismic action.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/console_host.h"
#include "run/run_driver.h"

namespace tarvel::cli {

using Args = std::vector<std::string>;

constexpr int kOk = 0;
constexpr int kRejected = 1;
constexpr int kUsage = 2;
constexpr int kWithoutSeismic = 3;

int cmdModel(const Args& args);     // read a data file and show the frame model
int cmdRun(const Args& args);       // the analysis run
int cmdDraw(const Args& args);      // DXF drawings
int cmdNew(const Args& args);       // new job database
int cmdGenerate(const Args& args);  // data file from a job database
int cmdConvert(const Args& args);   // legacy FRM conversion
int cmdCheck(const Args& args);     // data file validation
int cmdImport(const Args& args);    // data file into a job database

// The analysis of `run` for a parsed request: the run's warnings go to
// stderr, the JSON summary to jsonPath when it is not empty. Returns kOk,
// kRejected, or kWithoutSeismic when the eigen-solution failed and the
// results were written without the seismic action.
int runAnalysis(const RunRequest& request, const std::string& jsonPath, Host& host);

// True when args contains --help or -h.
bool wantsHelp(const Args& args);

// A subcommand's name and help text, for its usage messages.
struct Usage {
    const char* command;
    const char* help;
    // "tarvel-cli COMMAND: WHY" and the help on stderr; returns kUsage.
    int wrong(const std::string& why) const;
};

// What every subcommand's options hold besides its own: the answer to its
// questions (--yes) and whether the run log goes to stderr (so that stdout
// stays one JSON document).
struct CommonOptions {
    bool yes = false;
    bool logToStderr = false;
};

// The prologue of every subcommand: --help prints its help (exit 0); `parse`
// fills the options and returns -1, or the exit status of a wrong usage; the
// command's `body` then runs with a console host.
template <typename Options, typename Parse, typename Body>
int runCommand(const Args& args, const Usage& usage, Parse parse, Body body) {
    if (wantsHelp(args)) {
        std::fputs(usage.help, stdout);
        return kOk;
    }
    Options options;
    if (const int status = parse(args, usage, options); status >= 0) return status;
    ConsoleHost host(options.yes, options.logToStderr ? stderr : stdout);
    return body(options, host);
}

}  // namespace tarvel::cli
