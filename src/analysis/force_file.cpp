#include "analysis/force_file.h"

#include <cmath>

#include "analysis/run_texts.h"
#include "common/file_io.h"
#include "common/messages.h"
#include "common/print_buffer.h"

namespace tarvel {

void printForceFile(PrintBuffer& out, const AnalysisState& s) {
    const FrameModel& md = s.model;
    float maxM = 0.0f;
    float maxV = 0.0f;
    float maxN = 0.0f;
    for (int m = 1; m <= md.NE; ++m) {
        for (int sec = 1; sec <= 9; ++sec) {
            if (std::fabs(s.FMQN(1, sec, m)) > maxM) maxM = std::fabs(s.FMQN(1, sec, m));
            if (std::fabs(s.FMQN(2, sec, m)) > maxV) maxV = std::fabs(s.FMQN(2, sec, m));
            if (std::fabs(s.FMQN(3, sec, m)) > maxN) maxN = std::fabs(s.FMQN(3, sec, m));
        }
    }
    out.integer(md.NE).single(maxM).single(maxV).single(maxN).endLine();
    for (int m = 1; m <= md.NE; ++m) {
        const int i = md.startNode(m);
        const int j = md.endNode(m);
        out.single(md.XY(1, i))
            .single(md.XY(2, i))
            .single(md.XY(1, j))
            .single(md.XY(2, j))
            .endLine();
        for (int sec = 1; sec <= 9; ++sec) {
            out.single(s.FMQN(1, sec, m)).single(s.FMQN(2, sec, m)).single(s.FMQN(3, sec, m));
            out.endLine();
        }
    }
}

std::string forceFileText(const AnalysisState& s) {
    PrintBuffer out;
    printForceFile(out, s);
    return out.take();
}

std::string forceFilePath(const AnalysisState& s, std::string_view name) {
    return folderOf(s.dataPath) + std::string(name) + run_text::kForceFileExtension;
}

bool writeForceFile(const AnalysisState& s, std::string_view name, Host& host,
                    std::string* writtenPath) {
    const std::string path = forceFilePath(s, name);
    std::string error;
    if (!writeFileAtomic(path, forceFileText(s), &error)) {
        const std::string text = run_text::cannotWrite(path, error);
        tellError(host, text);
        return false;
    }
    if (writtenPath) *writtenPath = path;
    return true;
}

}  // namespace tarvel
