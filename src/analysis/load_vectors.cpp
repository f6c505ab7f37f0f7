#include "analysis/load_vectors.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "analysis/run_texts.h"
#include "common/list_input.h"
#include "common/messages.h"
#include "common/printed_number.h"
#include "model/frame_reader.h"

namespace tarvel {

namespace {

bool rejectLoads(Host& host, const std::string& text) {
    tellError(host, text);
    return false;
}

void warn(AnalysisState& s, Host& host, const std::string& text) {
    host.log(text);
    s.warnings.push_back(text);
}

// A record the analysis would turn into nonsense is refused; one whose load
// the rules make vanish is flagged. False when refused (reported).
bool checkRecord(AnalysisState& s, Host& host, const char* name, const LoadRecord& r, int line) {
    const std::string place = recordPlace(name, r.record, line);
    LoadParameters p{r.Q, memberGeometry(s.model, r.IBAR).L, r.A, r.B};
    if (p.L == 0.0f) return true;  // a member of zero length stops the assembly with its own message
    switch (cleanLoad(r.IC, p)) {
        case LoadFate::NoLoad:
            warn(s, host,
                 read_text::kWarning + place.substr(place.find('\'')) + "的荷载类型 " + std::to_string(r.IC) +
                     " 不是 1～6,该荷载不参与计算" + (r.IC >= -4 && r.IC <= -1 ? "(负类型只画在结构图上)" : ""));
            return true;
        case LoadFate::Vanishes:
            warn(s, host,
                 read_text::kWarning + place.substr(place.find('\'')) + "的分布荷载起点 A=" + strSingle(p.A) +
                     " 不小于终点 B=" + strSingle(p.B) + "(杆件 " + std::to_string(r.IBAR) + " 长 L=" +
                     strSingle(p.L) + "),该荷载不参与计算");
            return true;
        case LoadFate::BeyondEnd:
            return rejectLoads(host, place + "的荷载位置 A=" + strSingle(r.A) + " 超出杆件 " +
                                         std::to_string(r.IBAR) + " 的长度 L=" + strSingle(p.L) +
                                         "(类型 " + std::to_string(r.IC) + " 的集中荷载位置应在 0～L 之间)" +
                                         read_text::kCheckFile);
        default:
            return true;
    }
}

// Records up to the one whose member number is 0 (a blank line reads as 0).
bool readSegment(AnalysisState& s, DataFile& file, Host& host, const char* name,
                 LoadSegment& segment) {
    segment = LoadSegment{};
    if (file.FINDSEG(name, kSilent) != 0) return true;
    segment.found = true;
    ListReader& in = file.in();
    const int NE = s.model.NE;
    try {
        for (int record = 1;; ++record) {
            LoadRecord r;
            r.record = record;
            const int line = in.line();
            r.IBAR = in.readInteger();
            if (r.IBAR == 0) {
                if (const auto stray = file.strayValueAfterSegment()) {
                    return rejectLoads(host, strayValueText(name, *stray));
                }
                return true;
            }
            r.IC = in.readInteger();
            r.Q = in.readSingle();
            r.A = in.readSingle();
            r.B = in.readSingle();
            if (r.IBAR < 1 || r.IBAR > NE) {
                return rejectLoads(host, run_text::loadMemberMissing(name, record, r.IBAR, NE));
            }
            if (!checkRecord(s, host, name, r, line)) return false;
            segment.records.push_back(r);
        }
    } catch (const ListInputError& e) {
        return rejectLoads(host, listErrorText(e, name));
    }
}

void applyRecord(AnalysisState& s, const LoadRecord& r) {
    const MemberGeometry g = memberGeometry(s.model, r.IBAR);
    LOAD(s, r.IBAR, r.IC, LoadParameters{r.Q, g.L, r.A, r.B}, g.c, g.s);
}

}  // namespace

bool readLoadSegments(AnalysisState& s, DataFile& file, Host& host) {
    for (int lc = kDeadCase; lc <= kWindCase; ++lc) {
        if (!readSegment(s, file, host, kLoadSegmentNames[lc], s.loads[lc])) return false;
    }
    file.close();
    return true;
}

void applyLoadSegment(AnalysisState& s, int LC) {
    for (const LoadRecord& r : s.loads[LC].records) applyRecord(s, r);
}

namespace {

void subtractFixedEndForces(AnalysisState& s, int m, const Vec6& FE) {
    const int i = s.model.startNode(m);
    const int j = s.model.endNode(m);
    for (int k = 1; k <= 3; ++k) {
        if (const int code = s.model.code(k, i); code > 0) s.P(code) -= FE(k);
        if (const int code = s.model.code(k, j); code > 0) s.P(code) -= FE(k + 3);
    }
}

}  // namespace

void LOAD(AnalysisState& s, int m, int type, const LoadParameters& R, float c, float sn) {
    Vec6 FE;
    SectionForces F;
    MQNXY(type, R, c, sn, FE, F);
    for (int k = 1; k <= 3; ++k) {
        for (int sec = 1; sec <= 9; ++sec) s.FMQN(k, sec, m) += F(k, sec);
    }
    subtractFixedEndForces(s, m, FE);
}

void applyNodalLoads(AnalysisState& s, int LC) {
    for (const LoadRecord& r : s.loads[LC].records) {
        const MemberGeometry g = memberGeometry(s.model, r.IBAR);
        Vec6 FE;
        SectionForces F;
        MQNXY(r.IC, LoadParameters{r.Q, g.L, r.A, r.B}, g.c, g.s, FE, F);
        subtractFixedEndForces(s, r.IBAR, FE);
    }
}

void addSelfWeight(AnalysisState& s, int m, const MemberGeometry& g) {
    const float q = kConcreteUnitWeight * s.model.SEC(3, s.model.sectionOf(m));  // kN/m
    // Type 2 over the whole member (B = −1 stands for the member's end).
    LOAD(s, m, 2, LoadParameters{g.c * q, g.L, 0.0f, -1.0f}, g.c, g.s);
    LOAD(s, m, 5, LoadParameters{-q * g.s * g.L, g.L, g.L / 2.0f, 0.0f}, g.c, g.s);
}

bool BLOAD(AnalysisState& s, DataFile& file, std::string_view name, int LC) {
    const bool mandatory = LC == kDeadCase;
    s.LCF(LC) = mandatory ? 1.0f : 0.0f;
    const int absent = file.FINDSEG(name, mandatory ? kMandatory : kOptional);
    file.close();
    const LoadSegment* segment = s.loadSegment(name);
    if (absent != 0 || segment == nullptr || !segment->found) return !mandatory;
    s.LCF(LC) = 1.0f;
    applyLoadSegment(s, LC);
    return true;
}

namespace {

// Records of type 0 carry no load.
bool loads(const LoadRecord& r) { return r.IC != 0; }

}  // namespace

int LLOAD(AnalysisState& s, std::string_view name, int k) {
    const LoadSegment* segment = s.loadSegment(name);
    if (segment == nullptr) return 0;
    int applied = 0;
    for (const LoadRecord& r : segment->records) {
        if (r.IBAR != k || !loads(r)) continue;
        applyRecord(s, r);
        ++applied;
    }
    return applied;
}

std::vector<int> membersLoadedBy(const AnalysisState& s, std::string_view name) {
    std::vector<char> loaded(static_cast<std::size_t>(std::max<int>(s.model.NE, 0)) + 1, 0);
    if (const LoadSegment* segment = s.loadSegment(name)) {
        for (const LoadRecord& r : segment->records) {
            if (loads(r) && r.IBAR >= 1 && r.IBAR <= s.model.NE) loaded[static_cast<std::size_t>(r.IBAR)] = 1;
        }
    }
    std::vector<int> members;
    for (int k = 1; k <= s.model.NE; ++k) {
        if (loaded[static_cast<std::size_t>(k)] != 0) members.push_back(k);
    }
    return members;
}

}  // namespace tarvel
