#pragma once
// Subcommands of tarvel-cli. Each takes the arguments after its name and
// returns the exit status: 0 success, 1 the file or the run was rejected,
// 2 wrong usage, 3 (run) the results were written without the seismic action.

#include <string>
#include <vector>

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

// True when args contains --help or -h.
bool wantsHelp(const Args& args);

}  // namespace tarvel::cli
