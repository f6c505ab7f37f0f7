#pragma once
// The options of the data-preparation commands (convert, check) and of the
// job-database commands (new, generate, import), parsed alike.

#include <cstddef>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "prep/prep_window.h"

namespace tarvel::cli {

struct PrepOptions : CommonOptions {
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

int parsePrepOptions(const Args& args, const Usage& usage, const Accepts& accepts, PrepOptions& options);

// The parser of a command that takes these options.
inline auto accepting(Accepts accepts) {
    return [accepts](const Args& args, const Usage& usage, PrepOptions& options) {
        return parsePrepOptions(args, usage, accepts, options);
    };
}

inline int exitStatus(PrepOutcome outcome) { return outcome == PrepOutcome::Done ? kOk : kRejected; }

}  // namespace tarvel::cli
