#include "analysis/analysis_state.h"

#include <utility>

namespace tarvel {

void AnalysisState::reset() {
    dataPath.clear();
    mainGrade = 2;
    stirrupGrade = 1;
    renew(model);
    NDOF = 0;
    MBAND = 0.0f;
    SK.resize(0);
    P.clear();
    for (LoadSegment& segment : loads) segment = LoadSegment{};
    FMQN.clear();
    PLOAD.clear();
    BM.clear();
    BV.clear();
    CF.clear();
    BML.clear();
    BVL.clear();
    UD.clear();
    LCF.clear();
    RMN.clear();
    RVM.clear();
    RVN.clear();
    renew(dyn);
    renew(design);
    warnings.clear();
}

const LoadSegment* AnalysisState::loadSegment(std::string_view name) const {
    for (int lc = kDeadCase; lc <= kWindCase; ++lc) {
        if (name == kLoadSegmentNames[lc]) return &loads[lc];
    }
    return nullptr;
}

LoadSegment* AnalysisState::loadSegment(std::string_view name) {
    return const_cast<LoadSegment*>(std::as_const(*this).loadSegment(name));
}

}  // namespace tarvel
