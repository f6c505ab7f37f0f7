#include "report/report_table_two.h"

#include <array>
#include <string_view>

#include "common/print_buffer.h"

namespace tarvel {

namespace {

// Headings of the static cases by case number.
constexpr std::array<std::string_view, 4> kCaseHeadings = {"", "--------恒 载 内 力--------",
                                                           "--------活 载 内 力--------",
                                                           "--------风 载 内 力--------"};

// Columns of the moments at sections 1, 3, 5, 7, 9; the end shears take the
// first and the last.
constexpr std::array<int, 5> kSectionColumns = {10, 27, 44, 61, 78};

// Five section moments of one beam after "M=" (the moment at section s from `moment(s)`).
template <typename Moment>
void momentLine(PrintBuffer& out, Moment moment) {
    out.tab(6).text("M=");
    for (int k = 0; k < 5; ++k) {
        out.tab(kSectionColumns[static_cast<std::size_t>(k)]);
        out.fourDecimals(static_cast<double>(moment(1 + 2 * k)));
    }
    out.endLine();
}

void shearLine(PrintBuffer& out, float start, float end) {
    out.tab(6).text("V=").tab(kSectionColumns.front()).fourDecimals(static_cast<double>(start));
    out.tab(kSectionColumns.back()).fourDecimals(static_cast<double>(end)).endLine();
}

void beamForces(PrintBuffer& out, const AnalysisState& st, int c, int headingColumn) {
    out.tab(headingColumn).text("梁  内  力").endLine();
    for (int b = 1; b <= st.model.NB; ++b) {
        out.tab(1).integer(b).text(":");
        momentLine(out, [&](int s) { return st.BM(s, b, c); });
        shearLine(out, st.BV(1, b, c), st.BV(2, b, c));
    }
}

// Column rows: end forces at the bottom (k = 5, 6, 7) and the top (k = 9, 10, 11).
void columnForces(PrintBuffer& out, const AnalysisState& st, int c, int headingColumn,
                  bool withCorrelations) {
    out.tab(headingColumn).text("柱  内  力").endLine();
    headingLine(out, {{6, "左端,M"}, {21, "V"}, {36, "N"}, {51, "右端,M"}, {66, "V"}, {81, "N"}});
    constexpr std::array<int, 6> kForces = {5, 6, 7, 9, 10, 11};
    for (int i = 1; i <= st.model.NC; ++i) {
        out.integer(i).text(":");
        for (std::size_t n = 0; n < kForces.size(); ++n) {
            out.tab(6 + 15 * static_cast<int>(n))
                .fourDecimals(static_cast<double>(st.CF(kForces[n], i, c)));
        }
        out.endLine();
        if (!withCorrelations) continue;
        for (int e = 1; e <= 2; ++e) {
            out.tab(e == 1 ? 6 : 60).text("R_MN=").fourDecimals(static_cast<double>(st.RMN(e, i)));
            out.text(",").text("R_VN=").fourDecimals(static_cast<double>(st.RVN(e, i)));
        }
        out.endLine();
    }
}

void liveArrangement(PrintBuffer& out, const AnalysisState& st) {
    out.tab(30).text("--------梁 活 荷 载 组 合 内 力--------").endLine();
    for (int b = 1; b <= st.model.NB; ++b) {
        out.tab(1).integer(b).text(":");
        momentLine(out, [&](int s) { return st.BML(s, b, 1); });
        momentLine(out, [&](int s) { return st.BML(s, b, 2); });
        shearLine(out, st.BVL(1, b, 1), st.BVL(2, b, 1));
        shearLine(out, st.BVL(1, b, 2), st.BVL(2, b, 2));
    }
}

}  // namespace

void printTableTwo(PrintBuffer& out, const AnalysisState& st, const ReportRequest& request) {
    titleBlock(out, ReportTable::Two, request);
    for (int c = kDeadCase; c <= kWindCase; ++c) {
        if (st.LCF(c) == 0.0f) continue;
        out.tab(30).text(kCaseHeadings[static_cast<std::size_t>(c)]).endLine();
        beamForces(out, st, c, 39);
        columnForces(out, st, c, 39, false);
    }
    if (st.LCF(kSeismicCase) != 0.0f) {
        out.tab(30).text("--------地 震 作 用 效 应--------").endLine();
        beamForces(out, st, kSeismicCase, 42);
        columnForces(out, st, kSeismicCase, 42, true);
    }
    liveArrangement(out, st);
}

std::string tableTwoText(const AnalysisState& st, const ReportRequest& request) {
    PrintBuffer out;
    printTableTwo(out, st, request);
    return out.take();
}

}  // namespace tarvel
