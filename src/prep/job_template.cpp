#include "prep/job_template.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "common/file_io.h"

namespace tarvel {

std::string programFolder() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return folderOf(self.string());
}

std::string defaultTemplatePath() { return programFolder() + "FRM/FRM.MDB"; }

PrepOutcome createJobDatabase(const std::string& templatePath, const std::string& target,
                              Host& host) {
    if (target.empty()) {
        host.message(job_text::kNoName, prep_text::kNoticeTitle, Icon::Information);
        return PrepOutcome::NoFile;
    }
    const std::optional<std::string> bytes = readWholeFile(templatePath);
    if (!bytes) {
        host.message("找不到工程数据库模板 '" + templatePath + "',不能建立新工程！",
                     prep_text::kNoticeTitle, Icon::Information);
        return PrepOutcome::Refused;
    }
    std::error_code ec;
    if (std::filesystem::exists(target, ec) &&
        host.ask("文件 '" + target + "' 已经存在,要用新工程替换它吗？", job_text::kNewJobTitle) !=
            Answer::Yes) {
        return PrepOutcome::Declined;
    }
    std::string error;
    if (!writeFileAtomic(target, *bytes, &error)) {
        host.message("不能建立工程数据库 '" + target + "'：" + error, prep_text::kNoticeTitle,
                     Icon::Information);
        return PrepOutcome::Refused;
    }
    return PrepOutcome::Done;
}

}  // namespace tarvel
