#pragma once
// New jobs: the empty job database "FRM/FRM.MDB" kept in the program folder
// is copied to the name the user gives.

#include <string>

#include "common/host.h"
#include "prep/prep_window.h"

namespace tarvel {

// Folder of the running program, with its trailing separator.
std::string programFolder();

// programFolder() + "FRM/FRM.MDB".
std::string defaultTemplatePath();

// Copies the template to `target`. An existing target is replaced only after
// a Yes. An empty target is a cancelled file choice and gives the message of
// the main window.
PrepOutcome createJobDatabase(const std::string& templatePath, const std::string& target,
                              Host& host);

namespace job_text {
inline constexpr const char* kNoName = "文件名还没有命名,请给定文件名！";
inline constexpr const char* kNewJobTitle = "新建工程";
}  // namespace job_text

}  // namespace tarvel
