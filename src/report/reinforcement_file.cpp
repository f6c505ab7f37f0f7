#include "report/reinforcement_file.h"

#include <cstdint>
#include <optional>

#include "analysis/run_texts.h"
#include "common/basic_convert.h"
#include "common/print_buffer.h"
#include "report/report.h"
#include "report/report_common.h"

namespace tarvel {

namespace {

// Section, concrete grade and end-node coordinates of member m.
void memberLine(PrintBuffer& out, const FrameModel& md, int m) {
    const int sec = md.sectionOf(m);
    // Grade numbers are small (15..80); an out-of-range one cannot occur after reading.
    const std::optional<std::int16_t> grade =
        toInteger(static_cast<double>(md.GRADE(md.concreteOf(m))));
    const int i = md.startNode(m);
    const int j = md.endNode(m);
    out.single(md.SEC(1, sec)).single(md.SEC(2, sec)).integer(grade.value_or(0));
    out.single(md.XY(1, i)).single(md.XY(2, i)).single(md.XY(1, j)).single(md.XY(2, j)).endLine();
}

// The value of the two column ends that is drawn: the bottom end's only when strictly larger.
template <typename T>
float largerEnd(const T& table, int i) {
    return table(1, i) > table(2, i) ? table(1, i) : table(2, i);
}

}  // namespace

void printReinforcementFile(PrintBuffer& out, const FrameModel& md, const DesignResults& des) {
    out.integer(md.NB).integer(md.NC).endLine();
    for (int b = 1; b <= md.NB; ++b) {
        memberLine(out, md, b);
        for (int j = 1; j <= 2; ++j) {
            for (int s = 1; s <= 9; s += 2) out.single(des.BAS(s, b, j));
            out.endLine();
        }
        out.single(des.BASV(1, b)).single(des.BASV(2, b)).endLine();
    }
    for (int i = 1; i <= md.NC; ++i) {
        memberLine(out, md, md.NB + i);
        out.single(des.CAS(1, i))
            .single(des.CAS(2, i))
            .single(des.CASV(1, i))
            .single(des.CASV(2, i));
        out.endLine();
        out.single(largerEnd(des.CRHO, i)).single(largerEnd(des.CNR, i)).endLine();
    }
}

std::string reinforcementFileText(const FrameModel& md, const DesignResults& des) {
    PrintBuffer out;
    printReinforcementFile(out, md, des);
    return out.take();
}

bool OUTAS(const AnalysisState& st, const DesignResults& des, Host& host) {
    return writeResultFile(resultFilePath(st, run_text::kReinforcementFile),
                           reinforcementFileText(st.model, des), host);
}

}  // namespace tarvel
