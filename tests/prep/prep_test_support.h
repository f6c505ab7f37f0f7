#pragma once
// Shared fixtures of the data-preparation tests: a scratch folder, fresh job
// databases copied from the built template, file helpers, and a comparison
// of two frame models.

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/frame_model.h"
#include "prep/job_database.h"

namespace tarvel::test {

// The template the build places beside tarvel-cli.
std::string builtTemplatePath();

// A folder of its own for one test, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

  private:
    std::filesystem::path folder_;
};

// A new job in the folder, copied from the template and opened.
JobDatabase newJob(const ScratchFolder& folder, const std::string& name = "JOB.mdb");

// Appends rows to a table; a cell is a number, or empty when given as kEmpty.
inline constexpr double kEmpty = -1.0e300;
void fill(JobDatabase& db, std::string_view table,
          std::initializer_list<std::initializer_list<double>> rows);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);  // "" when missing

// Reads a data file into a frame model the way the analysis does; fails the
// test when it does not read.
FrameModel readModel(const std::string& path);

// Every count and every table entry equal.
void expectSameModel(const FrameModel& a, const FrameModel& b);

}  // namespace tarvel::test
