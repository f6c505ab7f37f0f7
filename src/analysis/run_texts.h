#pragma once
// The run log lines, message texts and titles of an analysis run, in one place.

#include <string>
#include <string_view>

#include "common/messages.h"

namespace tarvel::run_text {

// Titles of the message boxes.
using tarvel::kNoticeTitle;
using tarvel::kErrorTitle;

// Result file names, written into the folder of the data file.
inline constexpr const char* kReportFile = "TARVEL1.wri";
inline constexpr const char* kForceListFile = "TARVEL2.wri";
inline constexpr const char* kReinforcementFile = "AS.ags";
inline constexpr const char* kForceFileExtension = ".fkn";

// Run log header.
inline constexpr const char* kRunHeader = "结构分析程序运行过程：";
inline constexpr const char* kDataFileLabel = "源数据文件名：";
inline constexpr const char* kReportLabel = "结构设计计算书：";
inline constexpr const char* kForceListLabel = "结构内力文件：";
inline constexpr const char* kReinforcementLabel = "配筋面积图文件：";
inline constexpr const char* kDeadForceLabel = "恒载内力图文件：";
inline constexpr const char* kLiveForceLabel = "活载内力图文件：";
inline constexpr const char* kWindForceLabel = "风载内力图文件：";

// Ends of a run.
inline constexpr const char* kOverLimitStop = "结构分析程序分析超限终止！";
inline constexpr const char* kNormalEnd = "结构分析程序正常结束！";
inline constexpr const char* kEndWithoutSeismic =
    "结构分析程序结束,但动力特性计算失败,地震作用未计算(结果文件中不含地震作用)！";
inline constexpr const char* kNothingChanged = "计算终止,所有结果文件均未改动。";

// Failures of the stiffness method.
inline constexpr const char* kSingularLog = "Stiffness Matrix (1,1) Is zero";
inline constexpr const char* kSingularMessage = "错误信息:刚度矩阵为奇异矩阵！";
inline constexpr const char* kZeroLengthMessage = "Length of bar(AL=0),计算终止！";

// Opening words of every over-limit message of the analysis.
inline constexpr const char* kLimitOpening =
    "超出结构分析极限，请重新调整数据或更新分析程序！！！ ";

inline std::string stiffnessOverLimit(long long entries, int limit) {
    return std::string(kLimitOpening) + "刚度矩阵：NDOF×MBAND = " + std::to_string(entries) +
           "（最多" + std::to_string(limit) + "）。";
}

// "杆件 12 (柱 3)": a member by its number and by its place among the beams
// or the columns.
inline std::string memberName(int member, int NB) {
    const std::string kind =
        member <= NB ? "梁 " + std::to_string(member) : "柱 " + std::to_string(member - NB);
    return "杆件 " + std::to_string(member) + " (" + kind + ")";
}

// The log line of a member of zero length: the message text, then which
// member it is and its two end nodes, which stand at the same point.
inline std::string zeroLengthLog(int member, int NB, int I, int J) {
    return std::string(kZeroLengthMessage) + memberName(member, NB) + ": 节点 " + std::to_string(I) + "-" +
           std::to_string(J) + " 的坐标相同。";
}

// A member whose end nodes lie so far apart that its length is beyond a
// single-precision number.
inline std::string lengthOverflow(int member, int NB, int I, int J) {
    return "错误信息:" + memberName(member, NB) + " 的长度超出数值范围:节点 " + std::to_string(I) + "-" +
           std::to_string(J) + " 的坐标相距过远,请检查'POINT'数据段！";
}

inline std::string loadMemberMissing(std::string_view segment, int record, int member, int NE) {
    return "错误信息:'" + std::string(segment) + "' 数据段第 " + std::to_string(record) +
           " 条记录的杆件号 " + std::to_string(member) + " 不存在(应为 1～" + std::to_string(NE) +
           "),请检查'TVL'文件！";
}

// Results that are not finite numbers (a load far too large).
inline std::string notFinite(std::string_view what) {
    return "错误信息:" + std::string(what) + "的计算结果不是有限数值(溢出),请检查'TVL'文件中的荷载和截面数据！";
}

inline std::string cannotOpen(std::string_view path) {
    return "错误信息:无法打开数据文件 '" + std::string(path) + "'！";
}

inline std::string cannotWrite(std::string_view path, std::string_view reason) {
    return "错误信息:结果文件 '" + std::string(path) + "' 无法写入(" + std::string(reason) +
           "),计算终止！";
}

// The result set of a run could not be put in place: nothing was changed.
inline std::string resultSetNotWritten(std::string_view path, std::string_view reason) {
    return cannotWrite(path, reason) + "所有结果文件均未改动。";
}

}  // namespace tarvel::run_text
