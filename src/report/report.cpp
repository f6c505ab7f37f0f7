#include "report/report.h"

#include "analysis/run_texts.h"
#include "common/file_io.h"
#include "report/report_table_one.h"
#include "report/report_table_two.h"

namespace tarvel {

std::string resultFilePath(const AnalysisState& st, const char* fileName) {
    return folderOf(st.dataPath) + fileName;
}

bool OUTF(const AnalysisState& st, const DesignResults& des, const ReportRequest& request,
          Host& host) {
    ReportRequest stamped = request;
    if (stamped.timeStamp.empty()) stamped.timeStamp = currentTimeStamp();
    return writeResultFile(resultFilePath(st, run_text::kReportFile),
                           tableOneText(st, des, stamped), host) &&
           writeResultFile(resultFilePath(st, run_text::kForceListFile), tableTwoText(st, stamped),
                           host);
}

}  // namespace tarvel
