// tarvel-cli new, generate, convert, check, import: the data-preparation
// commands on job databases and data files. Each question is asked on the
// terminal, or answered Yes by --yes; without a terminal it is refused.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "run/data_file_check.h"
#include "prep/data_file_generation.h"
#include "prep/frm_conversion.h"
#include "prep/job_database.h"
#include "prep/job_import.h"
#include "prep/job_template.h"

namespace tarvel::cli {

namespace {

constexpr const char* kNewHelp =
    "usage: tarvel-cli new JOB.mdb [--yes] [--template FRM.MDB]\n"
    "\n"
    "Creates a job database: a copy of the template FRM/FRM.MDB in the program\n"
    "folder (or of --template). An existing JOB.mdb is replaced only after a Yes.\n"
    "Exit status: 0 created, 1 refused or declined, 2 wrong usage.\n";

constexpr const char* kGenerateHelp =
    "usage: tarvel-cli generate JOB.mdb OUT.TVL [--yes]\n"
    "\n"
    "Generates the frame data file OUT.TVL from the twelve tables of the job\n"
    "database, after the question (--yes answers it). A table row with an empty\n"
    "cell, a row whose first value is 0, a second SEISMIC1 row or mass rows\n"
    "without SEISMIC1 refuse the generation and leave OUT.TVL as it was.\n"
    "Exit status: 0 generated, 1 refused or declined, 2 wrong usage.\n";

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

constexpr const char* kImportHelp =
    "usage: tarvel-cli import FILE.TVL JOB.mdb [--yes] [--template FRM.MDB]\n"
    "\n"
    "Fills the twelve tables of the job database from a frame data file, so that\n"
    "the job can be edited and generated again. A missing JOB.mdb is created from\n"
    "the template (and removed again when the import fails); a job that already\n"
    "holds rows is replaced only after a Yes. Each node number the file gives\n"
    "becomes one POINT row.\n"
    "Exit status: 0 imported, 1 refused or declined, 2 wrong usage.\n";

struct Options : CommonOptions {
    bool analysis = false;
    std::string templatePath;
    std::vector<std::string> files;
};

// The options a command accepts; anything else, or another number of file
// arguments, is wrong usage.
struct Accepts {
    std::size_t files;
    bool analysis = false;
    bool templatePath = false;
};

int parse(const Args& args, const Usage& usage, const Accepts& accepts, Options& options) {
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

// The parser of a command that takes these options.
auto accepting(Accepts accepts) {
    return [accepts](const Args& args, const Usage& usage, Options& options) {
        return parse(args, usage, accepts, options);
    };
}

int exitStatus(PrepOutcome outcome) { return outcome == PrepOutcome::Done ? kOk : kRejected; }

std::string templateOf(const Options& options) {
    return options.templatePath.empty() ? defaultTemplatePath() : options.templatePath;
}

// Opens the job database; a file that is not one is reported as a message.
bool openJob(const std::string& path, JobDatabase& db, Host& host) {
    std::string error;
    if (db.open(path, &error)) return true;
    host.message(error, prep_text::kNoticeTitle, Icon::Information);
    return false;
}

// Imports into the job, created from the template when it does not exist.
int importIntoJob(const Options& o, Host& host) {
    const std::string& job = o.files[1];
    std::error_code ec;
    const bool created = !std::filesystem::exists(job, ec);
    if (created) {
        const PrepOutcome made = createJobDatabase(templateOf(o), job, host);
        if (made != PrepOutcome::Done) return exitStatus(made);
    }
    PrepOutcome outcome = PrepOutcome::Refused;
    {
        JobDatabase db;
        if (openJob(job, db, host)) outcome = importDataFile(o.files[0], db, host);
    }
    // A job made for this import and left empty by a failure would look like
    // an imported job: it goes again.
    if (created && outcome != PrepOutcome::Done) std::filesystem::remove(job, ec);
    return exitStatus(outcome);
}

}  // namespace

int cmdNew(const Args& args) {
    return runCommand<Options>(
        args, {"new", kNewHelp}, accepting({1, false, true}), [](const Options& o, Host& host) {
            return exitStatus(createJobDatabase(templateOf(o), o.files[0], host));
        });
}

int cmdGenerate(const Args& args) {
    return runCommand<Options>(
        args, {"generate", kGenerateHelp}, accepting({2}), [](const Options& o, Host& host) {
            JobDatabase db;
            if (!openJob(o.files[0], db, host)) return kRejected;
            return exitStatus(CmdWjsc(db, o.files[1], host));
        });
}

int cmdConvert(const Args& args) {
    return runCommand<Options>(
        args, {"convert", kConvertHelp}, accepting({1, true}), [](const Options& o, Host& host) {
            return exitStatus(convertFrmFile(
                o.files[0], o.analysis ? PrepWindow::Analysis : PrepWindow::DataPreparation, host));
        });
}

int cmdCheck(const Args& args) {
    return runCommand<Options>(
        args, {"check", kCheckHelp}, accepting({1, true}), [](const Options& o, Host& host) {
            return exitStatus(checkDataFile(
                o.files[0], o.analysis ? PrepWindow::Analysis : PrepWindow::DataPreparation, host));
        });
}

int cmdImport(const Args& args) {
    return runCommand<Options>(args, {"import", kImportHelp}, accepting({2, false, true}),
                               importIntoJob);
}

}  // namespace tarvel::cli
