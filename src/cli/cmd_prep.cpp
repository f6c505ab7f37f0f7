// tarvel-cli convert, check: the data-preparation commands on data files.
// Each question is asked on the terminal, or answered Yes by --yes; without a
// terminal it is refused.

#include <string>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/prep_options.h"
#include "prep/frm_conversion.h"
#include "run/data_file_check.h"

namespace tarvel::cli {

namespace {

constexpr const char* kConvertHelp =
    "usage: tarvel-cli convert FILE.FRM [--yes] [--analysis]\n"
    "\n"
    "Converts a legacy .FRM frame file into the .TVL file of the same name beside\n"
    "it, after the question (--yes answers it). --analysis converts the way the\n"
    "analysis window does (seismic parameters kept as reals, notices in the log).\n"
    "A source with data after the record that ends a segment (a blank line, a\n"
    "record starting with 0, an empty mass group) is refused: the .TVL would lose it.\n"
    "Exit status: 0 converted, 1 refused or declined, 2 wrong usage.\n";

constexpr const char* kCheckHelp =
    "usage: tarvel-cli check FILE.TVL [--yes] [--analysis]\n"
    "\n"
    "Validates a frame data file segment by segment, after the question (--yes\n"
    "answers it), and prints the file when it reads cleanly. Then reads it as the\n"
    "analysis run does, with every guard of the run and without analysing it: the\n"
    "file is correct only when the run would accept it too (the run's first\n"
    "refusal is shown in the run's words, the run's warnings follow the verdict).\n"
    "--analysis checks the way the analysis window does (seismic parameters read\n"
    "as reals).\n"
    "Exit status: 0 correct, 1 not correct or declined, 2 wrong usage.\n";

}  // namespace

int parsePrepOptions(const Args& args, const Usage& usage, const Accepts& accepts, PrepOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--yes" || a == "-y") {
            options.yes = true;
        } else if (a == "--analysis" && accepts.analysis) {
            options.analysis = true;
        } else if (a == "--template" && accepts.templatePath) {
            if (i + 1 >= args.size()) return usage.wrong("--template needs a file");
            options.templatePath = args[++i];
        } else if (a.rfind("--template=", 0) == 0 && accepts.templatePath) {
            options.templatePath = a.substr(11);
        } else if (!a.empty() && a[0] == '-') {
            return usage.wrong("unknown option '" + a + "'");
        } else {
            options.files.push_back(a);
        }
    }
    if (options.files.size() != accepts.files) {
        return usage.wrong(options.files.size() < accepts.files ? "file missing" : "too many files");
    }
    for (const std::string& f : options.files) {
        if (f.empty()) return usage.wrong("empty file name");
    }
    return -1;
}

int cmdConvert(const Args& args) {
    return runCommand<PrepOptions>(
        args, {"convert", kConvertHelp}, accepting({1, true}), [](const PrepOptions& o, Host& host) {
            return exitStatus(convertFrmFile(
                o.files[0], o.analysis ? PrepWindow::Analysis : PrepWindow::DataPreparation, host));
        });
}

int cmdCheck(const Args& args) {
    return runCommand<PrepOptions>(
        args, {"check", kCheckHelp}, accepting({1, true}), [](const PrepOptions& o, Host& host) {
            return exitStatus(checkDataFile(
                o.files[0], o.analysis ? PrepWindow::Analysis : PrepWindow::DataPreparation, host));
        });
}

}  // namespace tarvel::cli
