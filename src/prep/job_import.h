#pragma once
// Import of a ".TVL" data file into a job database, so that a job kept only
// as a data file becomes editable in the twelve tables. Generating the file
// again from the job gives a file that reads into the same frame model and
// holds the same load and seismic records.

#include <string>

#include "common/host.h"
#include "prep/job_database.h"
#include "prep/prep_window.h"

namespace tarvel {

// Reads the data file (the structure through INDATA, the load and seismic
// segments record by record) and replaces the content of all twelve tables.
// A job that already holds rows is replaced only after a Yes. Nothing is
// changed when the file does not read.
PrepOutcome importDataFile(const std::string& dataFile, JobDatabase& db, Host& host);

namespace import_text {
inline constexpr const char* kDone = "（TVL）数据文件导入完毕！";
}  // namespace import_text

}  // namespace tarvel
