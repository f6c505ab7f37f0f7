// tarvel-cli new, generate, import: the commands on job databases. They
// link SQLite and run in the program tarvel-cli-job, which tarvel-cli starts
// for them, so that the analysis and drawing commands start without it. Each
// question is asked on the terminal, or answered Yes by --yes; without a
// terminal it is refused.

#include <filesystem>
#include <string>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/prep_options.h"
#include "prep/data_file_generation.h"
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

constexpr const char* kImportHelp =
    "usage: tarvel-cli import FILE.TVL JOB.mdb [--yes] [--template FRM.MDB]\n"
    "\n"
    "Fills the twelve tables of the job database from a frame data file, so that\n"
    "the job can be edited and generated again. A missing JOB.mdb is created from\n"
    "the template (and removed again when the import fails); a job that already\n"
    "holds rows is replaced only after a Yes. Each node number the file gives\n"
    "becomes one POINT row.\n"
    "Exit status: 0 imported, 1 refused or declined, 2 wrong usage.\n";

std::string templateOf(const PrepOptions& options) {
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
int importIntoJob(const PrepOptions& o, Host& host) {
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
    return runCommand<PrepOptions>(
        args, {"new", kNewHelp}, accepting({1, false, true}), [](const PrepOptions& o, Host& host) {
            return exitStatus(createJobDatabase(templateOf(o), o.files[0], host));
        });
}

int cmdGenerate(const Args& args) {
    return runCommand<PrepOptions>(
        args, {"generate", kGenerateHelp}, accepting({2}), [](const PrepOptions& o, Host& host) {
            JobDatabase db;
            if (!openJob(o.files[0], db, host)) return kRejected;
            return exitStatus(CmdWjsc(db, o.files[1], host));
        });
}

int cmdImport(const Args& args) {
    return runCommand<PrepOptions>(args, {"import", kImportHelp}, accepting({2, false, true}),
                               importIntoJob);
}

}  // namespace tarvel::cli
