#include "prep/job_import.h"

#include <cmath>

#include <memory>
#include <string_view>
#include <vector>

#include "common/basic_convert.h"
#include "common/limits.h"
#include "common/list_input.h"
#include "common/printed_number.h"
#include "model/data_file.h"
#include "model/frame_reader.h"

namespace tarvel {

namespace {

// A mass record the analysis could not hold.
struct ImportFault {
    std::string text;
};

// The value a user would type for a Single read from the file: its printed
// digits, unless those do not give back the same Single.
double typedValue(float x) {
    std::string text = strSingle(x);
    if (!text.empty() && text.front() == ' ') text.erase(0, 1);
    double value = 0.0;
    if (parseNumber(text, value) && static_cast<float>(value) == x) return value;
    return static_cast<double>(x);
}

Cell real(float x) { return Cell::of(typedValue(x)); }
Cell whole(float x) { return Cell::of(typedValue(x)); }
Cell whole(int v) { return Cell::of(static_cast<double>(v)); }

// A value of SEISMIC read as a real for a whole column of the job: the job
// keeps it, but generation writes whole columns as whole numbers and could
// not write one beyond their range, so it is refused here.
Cell wholeSeismic(float x, const std::string& place, const char* column) {
    if (!toInteger(static_cast<double>(x))) {
        throw ImportFault{"错误信息:'SEISMIC' 数据段" + place + "的 " + column + "=" + strSingle(x) +
                          " 超出整数范围,工程数据库无法保存,请检查'TVL'文件！"};
    }
    return whole(x);
}

class Importer {
  public:
    Importer(DataFile& file, const FrameModel& model) : file_(file), in_(file.in()), m_(model) {}

    // Rows of the twelve tables. Throws ListInputError (segment() names the
    // segment) or ImportFault.
    std::vector<JobDatabase::TableContent> run();
    const std::string& segment() const { return segment_; }

  private:
    bool find(std::string_view name) {
        segment_ = name;
        return file_.FINDSEG(name, kSilent) == 0;
    }
    std::vector<Row> structure(std::string_view table);
    std::vector<bool> givenNodes();
    std::vector<float> columnFactors();
    std::vector<Row> loads(std::string_view segment);
    void seismic(std::vector<Row>& parameters, std::vector<Row>& masses);

    DataFile& file_;
    ListReader& in_;
    const FrameModel& m_;
    std::string segment_;
};

std::vector<JobDatabase::TableContent> Importer::run() {
    std::vector<JobDatabase::TableContent> content;
    for (const std::string_view table :
         {job_table::kWeight, job_table::kStiffness, job_table::kBarSec, job_table::kConcrate,
          job_table::kPoint, job_table::kBeam, job_table::kColumn}) {
        content.emplace_back(&jobTable(table), structure(table));
    }
    content.emplace_back(&jobTable(job_table::kDLoad), loads("DLOAD"));
    content.emplace_back(&jobTable(job_table::kLLoad), loads("LLOAD"));
    content.emplace_back(&jobTable(job_table::kWLoad), loads("WLOAD"));
    std::vector<Row> parameters;
    std::vector<Row> masses;
    seismic(parameters, masses);
    content.emplace_back(&jobTable(job_table::kSeismic1), std::move(parameters));
    content.emplace_back(&jobTable(job_table::kSeismic2), std::move(masses));
    return content;
}

// The structural tables from the frame model. WEIGHT and STIFFNESS stay empty
// when the file lacks them, so the defaults apply again.
std::vector<Row> Importer::structure(std::string_view table) {
    std::vector<Row> rows;
    if (table == job_table::kWeight) {
        if (find("WEIGHT")) rows.push_back({whole(m_.KW)});
    } else if (table == job_table::kStiffness) {
        if (find("STIFFNESS")) rows.push_back({real(m_.ALFI), real(m_.ALFF)});
    } else if (table == job_table::kBarSec) {
        for (int s = 1; s <= m_.NSEC; ++s) rows.push_back({real(m_.SEC(1, s)), real(m_.SEC(2, s))});
    } else if (table == job_table::kConcrate) {
        for (int c = 1; c <= m_.NCON; ++c) rows.push_back({whole(m_.GRADE(c))});
    } else if (table == job_table::kPoint) {
        // The node numbers the file gives, in number order, each with the
        // record that counts (the last one of its number). A number the file
        // skips gets no row: generated again, it stays skipped.
        const std::vector<bool> given = givenNodes();
        for (int n = 1; n <= m_.NJ; ++n) {
            if (!given[static_cast<std::size_t>(n)]) continue;
            rows.push_back({whole(n), whole(m_.JD(1, n)), whole(m_.JD(2, n)), whole(m_.JD(3, n)),
                            real(m_.XY(1, n)), real(m_.XY(2, n))});
        }
    } else if (table == job_table::kBeam) {
        for (int m = 1; m <= m_.NB; ++m) {
            rows.push_back({whole(m_.MEM(1, m)), whole(m_.MEM(2, m)), whole(m_.MEM(3, m)),
                            whole(m_.MEM(4, m))});
        }
    } else if (table == job_table::kColumn) {
        const std::vector<float> factors = columnFactors();
        for (int i = 1; i <= m_.NC; ++i) {
            const int m = m_.NB + i;
            const float alf = static_cast<int>(factors.size()) == m_.NC
                                  ? factors[static_cast<std::size_t>(i - 1)]
                                  : m_.ALFC(i);
            rows.push_back({whole(m_.MEM(1, m)), whole(m_.MEM(2, m)), whole(m_.MEM(3, m)),
                            whole(m_.MEM(4, m)), real(alf)});
        }
    }
    return rows;
}

// Which node numbers 1...NJ have a record in POINT (the structure has been
// read, so the segment reads again).
std::vector<bool> Importer::givenNodes() {
    std::vector<bool> given(static_cast<std::size_t>(m_.NJ) + 1, false);
    if (!find("POINT")) return given;
    constexpr int kFieldsAfterNumber = 5;  // IXi, IYi, IFi, Xi, Yi
    for (int n = in_.readInteger(); n != 0; n = in_.readInteger()) {
        for (int f = 0; f < kFieldsAfterNumber; ++f) in_.readSingle();
        if (n >= 1 && n <= m_.NJ) given[static_cast<std::size_t>(n)] = true;
    }
    return given;
}

// The effective-length factors as the file gives them: a factor of 0 means
// "derive it from the end nodes" and must stay 0, so that it is derived
// again after the nodes are edited. Empty when they cannot be read again.
std::vector<float> Importer::columnFactors() {
    std::vector<float> factors;
    if (!find("COLUMN")) return factors;
    try {
        while (in_.readInteger() != 0 && static_cast<int>(factors.size()) < m_.NC) {
            in_.readInteger();
            in_.readInteger();
            in_.readInteger();
            factors.push_back(in_.readSingle());
        }
    } catch (const ListInputError&) {
        factors.clear();
    }
    return factors;
}

std::vector<Row> Importer::loads(std::string_view segment) {
    std::vector<Row> rows;
    if (!find(segment)) return rows;
    for (;;) {
        const std::int16_t member = in_.readInteger();
        if (member == 0) return rows;
        const std::int16_t type = in_.readInteger();
        const float q = in_.readSingle();
        const float a = in_.readSingle();
        const float b = in_.readSingle();
        rows.push_back({whole(member), whole(type), real(q), real(a), real(b)});
    }
}

// A mass record of c values (c - 1 nodes, then the additional weight)
// becomes c - 1 rows: the first with the count, one node per row, the
// weight on the row of the last node.
void Importer::seismic(std::vector<Row>& parameters, std::vector<Row>& masses) {
    if (!find("SEISMIC")) return;
    const float kclass = in_.readSingle();
    const std::int16_t k0 = in_.readInteger();
    const float tg = in_.readSingle();
    const float alf1 = in_.readSingle();
    const float alf2 = in_.readSingle();
    const float nn = in_.readSingle();
    const float adjust = in_.readSingle();
    const std::string first = "第 1 条记录";
    parameters.push_back({wholeSeismic(kclass, first, "KCLASS"), whole(k0), real(tg), real(alf1),
                          real(alf2), wholeSeismic(nn, first, "NN"), real(adjust)});

    for (int record = 1;; ++record) {
        const int count = in_.readInteger();
        if (count == 0) return;
        if (count < 0 || count > limits::kMaxMassValues) {
            throw ImportFault{"错误信息:'SEISMIC' 数据段第 " + std::to_string(record) +
                              " 个质点记录的数据个数 " + std::to_string(count) + " 不在 1 至 " +
                              std::to_string(limits::kMaxMassValues) + " 之间,请检查'TVL'文件！"};
        }
        std::vector<float> values;
        for (int v = 0; v < count; ++v) values.push_back(in_.readSingle());
        const int nodes = count - 1;
        const int rowCount = nodes > 0 ? nodes : 1;
        for (int r = 0; r < rowCount; ++r) {
            Row row(3);
            if (r == 0) row[0] = whole(count);
            if (r < nodes) {
                const float node = values[static_cast<std::size_t>(r)];
                const std::string place = "第 " + std::to_string(record) + " 个质点记录";
                // The analysis takes the integer part of the first node and
                // rounds the others; the job's whole column keeps neither
                // reading of a fraction.
                if (std::isfinite(node) && node != std::floor(node)) {
                    throw ImportFault{"错误信息:'SEISMIC' 数据段" + place + "的节点号 Mi=" + strSingle(node) +
                                      " 不是整数,工程数据库无法保存,请检查'TVL'文件！"};
                }
                row[1] = wholeSeismic(node, place, "Mi");
            }
            if (r == rowCount - 1) row[2] = real(values.back());
            masses.push_back(std::move(row));
        }
    }
}

bool holdsRows(const JobDatabase& db) {
    for (const JobTable& table : jobTables()) {
        if (!db.rows(table).empty()) return true;
    }
    return false;
}

}  // namespace

PrepOutcome importDataFile(const std::string& dataFile, JobDatabase& db, Host& host) {
    auto refuse = [&](const std::string& text, const char* title) {
        host.message(text, title, Icon::Information);
        return PrepOutcome::Refused;
    };
    DataFile file(host, dataFile);
    if (!file.load()) {
        return refuse("（TVL）文件 '" + dataFile + "' 无法打开,没有导入数据！",
                      prep_text::kNoticeTitle);
    }
    auto model = std::make_unique<FrameModel>();
    if (INDATA(file, *model, host, ReaderOptions::analysis()) != ReadStatus::Ok) {
        return refuse("（TVL）文件 '" + dataFile + "' 读入有错,没有导入数据！",
                      prep_text::kNoticeTitle);
    }

    Importer importer(file, *model);
    std::vector<JobDatabase::TableContent> content;
    try {
        content = importer.run();
    } catch (const ListInputError& e) {
        return refuse(listErrorText(e, importer.segment()), read_text::kErrorTitle);
    } catch (const ImportFault& fault) {
        return refuse(fault.text, read_text::kErrorTitle);
    }

    try {
        if (holdsRows(db) &&
            host.ask("工程数据库 '" + db.path() + "' 中已有数据,导入将替换全部数据表,是否继续？",
                     prep_text::kNoticeTitle) != Answer::Yes) {
            return PrepOutcome::Declined;
        }
        db.replaceContent(content);
    } catch (const JobDatabaseError& e) {
        return refuse(e.what(), prep_text::kNoticeTitle);
    }
    host.message(import_text::kDone, prep_text::kNoticeTitle, Icon::Information);
    return PrepOutcome::Done;
}

}  // namespace tarvel
