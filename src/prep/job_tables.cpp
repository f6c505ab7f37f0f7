#include "prep/job_tables.h"

#include <stdexcept>
#include <string>

namespace tarvel {

namespace {

constexpr ColumnKind W = ColumnKind::Whole;
constexpr ColumnKind R = ColumnKind::Real;

constexpr JobColumn kWeightColumns[] = {{"K", W}};
constexpr JobColumn kStiffnessColumns[] = {{"ALFI", R}, {"ALFF", R}};
constexpr JobColumn kBarSecColumns[] = {{"Bi", R}, {"Hi", R}};
constexpr JobColumn kConcrateColumns[] = {{"ICi", W}};
constexpr JobColumn kPointColumns[] = {{"IPi", W}, {"IXi", W}, {"IYi", W},
                                       {"IFi", W}, {"Xi", R},  {"Yi", R}};
constexpr JobColumn kBeamColumns[] = {{"Ii", W}, {"Ji", W}, {"KSECi", W}, {"KCi", W}};
constexpr JobColumn kColumnColumns[] = {
    {"Ii", W}, {"Ji", W}, {"KSECi", W}, {"KCi", W}, {"ALFi", R}};
constexpr JobColumn kLoadColumns[] = {{"IBARi", W}, {"ICi", W}, {"Qi", R}, {"Ai", R}, {"Bi", R}};
constexpr JobColumn kSeismic1Columns[] = {{"KCLASS", W}, {"K0", W}, {"TG", R},    {"ALF1", R},
                                          {"ALF2", R},   {"NN", W}, {"ADJUST", R}};
constexpr JobColumn kSeismic2Columns[] = {{"NRN", W}, {"Mi", W}, {"AWi", R}};

const std::array<JobTable, kJobTableCount> kTables = {{
    {"Data1", job_table::kWeight, kWeightColumns, "自重计算 (#Record： "},
    {"Data2", job_table::kStiffness, kStiffnessColumns, "刚度系数 (#Record： "},
    {"Data3", job_table::kBarSec, kBarSecColumns, "杆件截面 (#Record： "},
    {"Data4", job_table::kConcrate, kConcrateColumns, "强度等级 (#Record： "},
    {"Data5", job_table::kPoint, kPointColumns, "节点数据 (#Record： "},
    {"Data6", job_table::kBeam, kBeamColumns, "梁单元 (#Record： "},
    {"Data7", job_table::kColumn, kColumnColumns, "柱单元 (#Record： "},
    {"Data8", job_table::kDLoad, kLoadColumns, "恒载数据 (#Record： "},
    {"Data9", job_table::kLLoad, kLoadColumns, "活载数据 (#Record： "},
    {"Data10", job_table::kWLoad, kLoadColumns, "风载数据 (#Record： "},
    {"Data11", job_table::kSeismic1, kSeismic1Columns, "地震参数 (#Record： "},
    {"Data12", job_table::kSeismic2, kSeismic2Columns, "地震数据 (#Record： "},
}};

}  // namespace

int JobTable::columnIndex(std::string_view column) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name == column) return static_cast<int>(i);
    }
    return -1;
}

const std::array<JobTable, kJobTableCount>& jobTables() { return kTables; }

const JobTable* findJobTable(std::string_view name) {
    for (const JobTable& t : kTables) {
        if (t.name == name) return &t;
    }
    return nullptr;
}

const JobTable& jobTable(std::string_view name) {
    if (const JobTable* t = findJobTable(name)) return *t;
    throw std::logic_error("no job table " + std::string(name));
}

}  // namespace tarvel
