#include "prep/data_file_generation.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "common/basic_convert.h"
#include "common/file_io.h"
#include "common/print_buffer.h"

namespace tarvel {

namespace {

// Segments 1-10: one table each.
struct TableSegment {
    std::string_view header;
    std::string_view table;
    std::string_view noDataText;
    bool isLoad;
    // The header is written even when the table has no rows, for the segments
    // a run cannot do without although a frame may have no records in them: a
    // frame of columns only has no beams, one loaded by its self-weight alone
    // no dead loads. Without the header the run refuses the file as one that
    // lacks the segment.
    bool headerWithoutRows;
    // The reader ends the segment at a record whose first value is 0, so a
    // row written with a first value of 0 would hide every row after it.
    bool zeroKeyEnds;
};

constexpr TableSegment kTableSegments[] = {
    {"WEIGHT", job_table::kWeight, "WETGHT 数据段无数据记录！", false, false, false},
    {"STIFFNESS", job_table::kStiffness, "STIFFNESS 数据段无数据记录！", false, false, false},
    {"BAR-SEC", job_table::kBarSec, "BAR-SEC 数据段无数据记录！", false, false, true},
    {"CONCRATE", job_table::kConcrate, "CONCRATE 数据段无数据记录！", false, false, true},
    {"POINT", job_table::kPoint, "POINT 数据段无数据记录！", false, false, true},
    {"BEAM", job_table::kBeam, "BEAM 数据段无数据记录！", false, true, true},
    {"COLUMN", job_table::kColumn, "COLUMN 数据段无数据记录！", false, true, true},
    {"DLOAD", job_table::kDLoad, "DLOAD 数据段无数据记录！", true, true, true},
    {"LLOAD", job_table::kLLoad, "LLOAD 数据段无数据记录！", true, false, true},
    {"WLOAD", job_table::kWLoad, "WLOAD 数据段无数据记录！", true, false, true},
};

constexpr std::string_view kSeismicHeader = "SEISMIC";
constexpr std::string_view kSeismicNoData = "SEISMIC 数据段无数据记录！";
constexpr std::string_view kNotWritten = ",（TVL）文件没有生成！";

// Thrown inside the generator when a cell cannot be written; ends the run.
struct GenerationRefused {
    std::string text;
};

std::string rowPlace(const JobTable& table, int row) {
    return "错误信息:'" + std::string(table.name) + "' 表第 " + std::to_string(row) + " 条记录";
}

std::string rowRange(const JobTable& table, int first, int last) {
    std::string rows = std::to_string(first);
    if (last != first) rows += " 至 " + std::to_string(last);
    return "错误信息:'" + std::string(table.name) + "' 表第 " + rows + " 条记录";
}

class Generator {
  public:
    Generator(const JobDatabase& db, Host& host) : db_(db), host_(host) {}
    std::string run();

  private:
    void tableSegment(const TableSegment& segment);
    void seismic();
    void recordLine(const JobTable& table, int row, const Row& cells, bool zeroKeyEnds);
    void massRecords(const JobTable& table, const std::vector<StoredRow>& rows);
    // Writes one numeric cell in print format; returns the value written (the
    // rounded whole value, or the Single of a real column).
    double value(const JobTable& table, int row, std::size_t column, const Cell& cell);

    const JobDatabase& db_;
    Host& host_;
    PrintBuffer out_;
    bool lastSegmentIsLoad_ = false;
};

std::string Generator::run() {
    for (const TableSegment& segment : kTableSegments) tableSegment(segment);
    seismic();
    // Readers that take a whole load record at the blank line closing the last
    // load segment find these zeros instead of the end of the file.
    if (lastSegmentIsLoad_) {
        out_.integer(0).integer(0).single(0.0f).single(0.0f).single(0.0f).endLine();
        out_.endLine();
    }
    out_.endLine();
    return out_.take();
}

void Generator::tableSegment(const TableSegment& segment) {
    host_.status(segment.header);
    const JobTable& table = jobTable(segment.table);
    const std::vector<StoredRow> rows = db_.rows(table);
    if (!rows.empty()) {
        lastSegmentIsLoad_ = segment.isLoad;
        out_.text(segment.header).endLine();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            recordLine(table, static_cast<int>(r) + 1, rows[r].cells, segment.zeroKeyEnds);
        }
    } else {
        host_.status(segment.noDataText);
        if (segment.headerWithoutRows) {
            lastSegmentIsLoad_ = segment.isLoad;
            out_.text(segment.header).endLine().endLine();
        }
    }
    out_.endLine();
}

void Generator::seismic() {
    host_.status(kSeismicHeader);
    const JobTable& parameters = jobTable(job_table::kSeismic1);
    const std::vector<StoredRow> parameterRows = db_.rows(parameters);
    const JobTable& masses = jobTable(job_table::kSeismic2);
    const std::vector<StoredRow> massRows = db_.rows(masses);

    // The reader takes one parameter record after the header and every
    // further line as mass records: a second parameter row would be read as
    // masses.
    if (parameterRows.size() > 1) {
        throw GenerationRefused{rowPlace(parameters, 2) +
                                "多余:地震参数只能有一条记录,否则会被当作质点记录读入" +
                                std::string(kNotWritten)};
    }
    // Mass rows without the parameters would stand after the wind loads with
    // no SEISMIC header, where the analysis never looks for them.
    if (parameterRows.empty()) {
        for (std::size_t r = 0; r < massRows.size(); ++r) {
            const Row& cells = massRows[r].cells;
            const bool blank =
                std::all_of(cells.begin(), cells.end(), [](const Cell& c) { return c.isEmpty(); });
            if (blank) continue;
            throw GenerationRefused{rowPlace(masses, static_cast<int>(r) + 1) +
                                    "是质点记录,但 'SEISMIC1' 表没有地震参数(KCLASS、K0、TG、ALF1、"
                                    "ALF2、NN、ADJUST),质点记录不会被读入" +
                                    std::string(kNotWritten)};
        }
    }

    if (!parameterRows.empty()) {
        lastSegmentIsLoad_ = false;
        out_.text(kSeismicHeader).endLine();
        recordLine(parameters, 1, parameterRows[0].cells, false);
    } else {
        host_.status(kSeismicNoData);
    }

    if (!massRows.empty()) {
        lastSegmentIsLoad_ = false;
        massRecords(masses, massRows);
        out_.integer(0).integer(0).endLine();  // a count of 0 ends the mass records
    } else {
        host_.status(kSeismicNoData);
    }
}

double Generator::value(const JobTable& table, int row, std::size_t column, const Cell& cell) {
    const JobColumn& c = table.columns[column];
    const std::string place = rowPlace(table, row) + "的 '" + std::string(c.name) + "' ";
    switch (cell.kind) {
        case Cell::Kind::Empty:
            throw GenerationRefused{place + "为空" + std::string(kNotWritten)};
        case Cell::Kind::Text:
            throw GenerationRefused{place + "不是数值(" + cell.text + ")" +
                                    std::string(kNotWritten)};
        case Cell::Kind::Number:
            break;
    }
    if (c.kind == ColumnKind::Whole) {
        const std::optional<std::int16_t> whole = toInteger(cell.number);
        if (!whole) throw GenerationRefused{place + "超出整数范围" + std::string(kNotWritten)};
        out_.integer(*whole);
        return *whole;
    }
    const float real = static_cast<float>(cell.number);
    if (!std::isfinite(real))
        throw GenerationRefused{place + "超出数值范围" + std::string(kNotWritten)};
    out_.single(real);
    return static_cast<double>(real);
}

std::string zeroKeyText(const JobTable& table, int row, std::size_t column) {
    return rowPlace(table, row) + "的 '" + std::string(table.columns[column].name) +
           "' 为 0,读入时该数据段在此结束,其后的记录都会丢失" + std::string(kNotWritten);
}

// Every cell of a record line is needed: the reader takes the values by
// position, so a gap would shift every value after it. The value tested is
// the one written (a whole 0.4 is written as 0).
void Generator::recordLine(const JobTable& table, int row, const Row& cells, bool zeroKeyEnds) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const double written = value(table, row, c, cells[c]);
        if (c == 0 && zeroKeyEnds && written == 0.0)
            throw GenerationRefused{zeroKeyText(table, row, 0)};
    }
    out_.endLine();
}

// A mass record may spread over several rows: the first gives the count NRN
// and the first node, the next ones a node each, the last one also the
// additional weight AWi, after which the line ends. Empty cells are left
// out, so the rows of one record run on as one line. The reader takes each
// record by its count, so a record holding another number of values would
// shift every record after it.
void Generator::massRecords(const JobTable& table, const std::vector<StoredRow>& rows) {
    constexpr std::size_t kCount = 0;
    constexpr std::size_t kNode = 1;
    constexpr std::size_t kWeight = 2;
    bool open = false;
    long long announced = 0;
    long long held = 0;
    int firstRow = 0;
    int lastRow = 0;
    auto mismatch = [&](int last) {
        return GenerationRefused{rowRange(table, firstRow, last) + "的质点记录有 " +
                                 std::to_string(held) + " 个数据,与 'NRN' 给定的 " +
                                 std::to_string(announced) + " 个不符" + std::string(kNotWritten)};
    };

    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        const Row& cells = rows[r].cells;
        if (cells[kCount].isEmpty() && cells[kNode].isEmpty() && cells[kWeight].isEmpty()) continue;
        lastRow = row;
        if (!open) {
            if (cells[kCount].isEmpty()) {
                throw GenerationRefused{rowPlace(table, row) + "开始一个质点记录,但 'NRN' 为空" +
                                        std::string(kNotWritten)};
            }
            announced = static_cast<long long>(value(table, row, kCount, cells[kCount]));
            // A count of 0 ends the mass records when read.
            if (announced == 0) throw GenerationRefused{zeroKeyText(table, row, kCount)};
            if (announced < 0) {
                throw GenerationRefused{rowPlace(table, row) + "的 'NRN' 为 " +
                                        std::to_string(announced) + ",质点记录的数据个数应为正数" +
                                        std::string(kNotWritten)};
            }
            held = 0;
            firstRow = row;
            open = true;
        } else if (!cells[kCount].isEmpty()) {
            value(table, row, kCount, cells[kCount]);
            ++held;
        }
        for (const std::size_t c : {kNode, kWeight}) {
            if (cells[c].isEmpty()) continue;
            value(table, row, c, cells[c]);
            ++held;
        }
        if (held > announced) throw mismatch(row);
        if (!cells[kWeight].isEmpty()) {
            if (held != announced) throw mismatch(row);
            out_.endLine();
            open = false;
        }
    }
    if (open) {
        throw GenerationRefused{rowRange(table, firstRow, lastRow) +
                                "的质点记录没有以附加重量 'AWi' 结束" + std::string(kNotWritten)};
    }
}

}  // namespace

GeneratedDataFile buildDataFileText(const JobDatabase& db, Host& host) {
    GeneratedDataFile result;
    try {
        result.text = Generator(db, host).run();
        result.ok = true;
    } catch (const GenerationRefused& refused) {
        result.refusal = refused.text;
    } catch (const JobDatabaseError& e) {
        result.refusal = e.what();
    }
    return result;
}

PrepOutcome CmdWjsc(const JobDatabase& db, const std::string& target, Host& host) {
    if (target.empty()) return PrepOutcome::NoFile;
    host.status(generation_text::kWaiting);
    if (host.ask(generation_text::kQuestion, prep_text::kGenerateTitle) != Answer::Yes) {
        return PrepOutcome::Declined;
    }
    host.status(generation_text::kRunning);

    const GeneratedDataFile generated = buildDataFileText(db, host);
    std::string refusal = generated.refusal;
    std::string writeError;
    if (generated.ok && !writeFileAtomic(target, generated.text, &writeError)) {
        refusal = "（TVL）文件 '" + target + "' 无法写入：" + writeError;
    }
    if (!refusal.empty()) {
        host.status(refusal);
        host.message(refusal, prep_text::kNoticeTitle, Icon::Information);
        return PrepOutcome::Refused;
    }
    host.status(generation_text::kFinished);
    host.message(generation_text::kDone, generation_text::kDoneTitle, Icon::Information);
    return PrepOutcome::Done;
}

}  // namespace tarvel
