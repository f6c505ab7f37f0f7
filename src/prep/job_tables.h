#pragma once
// The twelve input tables of a job database: table names, column names in
// record order, and whether a column is whole (written as a 16-bit Integer)
// or real (written as a Single). The schema text frm_schema.sql declares the
// same tables; the database layer checks every job file against this list.

#include <array>
#include <span>
#include <string_view>

namespace tarvel {

enum class ColumnKind { Whole, Real };

struct JobColumn {
    std::string_view name;
    ColumnKind kind;
};

struct JobTable {
    std::string_view control;  // data control of the window: "Data1" ... "Data12"
    std::string_view name;     // table name in the database
    std::span<const JobColumn> columns;
    std::string_view captionPrefix;  // record position caption before the numbers

    // Index of the column in record order; -1 when the table has no such column.
    int columnIndex(std::string_view column) const;
};

constexpr int kJobTableCount = 12;

// In the order of the data controls Data1 ... Data12.
const std::array<JobTable, kJobTableCount>& jobTables();

// The table of that name; nullptr when there is none.
const JobTable* findJobTable(std::string_view name);

// Shorthands for the tables the generator and the importer address by name.
namespace job_table {
inline constexpr std::string_view kWeight = "WEIGHT";
inline constexpr std::string_view kStiffness = "STIFFNESS";
inline constexpr std::string_view kBarSec = "BARSEC";
inline constexpr std::string_view kConcrate = "CONCRATE";
inline constexpr std::string_view kPoint = "POINT";
inline constexpr std::string_view kBeam = "BEAM";
inline constexpr std::string_view kColumn = "COLUMN";
inline constexpr std::string_view kDLoad = "DLOAD";
inline constexpr std::string_view kLLoad = "LLOAD";
inline constexpr std::string_view kWLoad = "WLOAD";
inline constexpr std::string_view kSeismic1 = "SEISMIC1";
inline constexpr std::string_view kSeismic2 = "SEISMIC2";
}  // namespace job_table

// The table of that name, which must be one of the twelve.
const JobTable& jobTable(std::string_view name);

}  // namespace tarvel
