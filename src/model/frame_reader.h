#pragma once
// `INDATA`: reads the structural segments of a frame data file into the frame
// model (WEIGHT, STIFFNESS, BAR-SEC, CONCRATE, POINT, BEAM, COLUMN, then the
// storey levels). The analysis and the drawing window use this one reader
// with their own limits and grade tables.

#include <span>
#include <string>
#include <vector>

#include "common/host.h"
#include "common/messages.h"
#include "model/concrete_table.h"
#include "model/data_file.h"
#include "model/frame_model.h"

namespace tarvel {

struct ReaderOptions {
    int maxSections;
    int maxMemberRecords;
    int maxBeams;  // the analysis keeps beam results for 190 beams only
    std::span<const ConcreteRow> concretes;
    // The analysis also needs every member in its internal-force tables.
    int maxMembers;
    std::string limitMessage;  // opening words of an over-limit message
    // The analysis refuses what it would turn into nonsense (sections without
    // a positive size, values left behind after a segment's closing record)
    // and flags values whose meaning the user may not expect; the drawings
    // show a file as it is.
    bool runGuards = false;

    static ReaderOptions analysis();
    static ReaderOptions drawing();
};

enum class ReadStatus {
    Ok,
    CannotOpen,      // the file could not be read
    MissingSegment,  // a mandatory segment is absent (logged by FINDSEG)
    BadData,         // a value that cannot be read or refers to nothing
    OverLimit,       // a table would overflow
};

// With options.runGuards each warning is also logged and, when `warnings` is
// given, appended to it.
ReadStatus INDATA(DataFile& file, FrameModel& model, Host& host, const ReaderOptions& options,
                  std::vector<std::string>* warnings = nullptr);

// Looks a grade up: fc, fcm and Ec of concrete `c`, and FT. An unknown grade
// gives the grade message (naming the grade, the record c and its line when
// known), Ec = 0 and the strengths of the previous concrete.
void FCME(FrameModel& model, int c, int grade, std::span<const ConcreteRow> table, Host& host,
          int line = 0);

// Storey levels: LEVY(0) the lowest node, then one level per distinct Y of
// nodes with a free horizontal code, in node order. OverLimit above 30 levels.
ReadStatus FINDP(FrameModel& model, Host& host, const ReaderOptions& options);

// Texts shared by the readers of the program.
namespace read_text {
using tarvel::kErrorTitle;
inline constexpr const char* kLimitTitle = kNoticeTitle;
inline constexpr const char* kGradeMessage = "错误信息:没有找到混凝土强度等级,请检查'TVL'文件！";
inline constexpr const char* kCheckFile = ",请检查'TVL'文件！";
// Opening of a warning in the run log.
inline constexpr const char* kWarning = "系统提示：";
}  // namespace read_text

// "错误信息:'DLOAD' 数据段第 3 条记录(第 41 行)": the place of a record in
// refusals; without the line when it is 0.
std::string recordPlace(std::string_view segment, int record, int line);

// The refusal of a value left behind after the closing record of `segment`.
std::string strayValueText(std::string_view segment, const StrayValue& stray);

// Message for a value that could not be read in segment `segment`.
std::string listErrorText(const ListInputError& e, std::string_view segment);

}  // namespace tarvel
