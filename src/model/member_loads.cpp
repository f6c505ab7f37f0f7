#include "model/member_loads.h"

#include <cmath>

namespace tarvel {

MemberGeometry memberGeometry(const FrameModel& model, int m) {
    const int i = model.startNode(m);
    const int j = model.endNode(m);
    MemberGeometry g;
    g.DX = model.XY(1, j) - model.XY(1, i);
    g.DY = model.XY(2, j) - model.XY(2, i);
    g.L = std::sqrt(g.DX * g.DX + g.DY * g.DY);
    if (g.L != 0.0f) {
        g.c = g.DX / g.L;
        g.s = g.DY / g.L;
    }
    return g;
}

LoadFate cleanLoad(int type, LoadParameters& r) {
    if (type < 1 || type > 6) return LoadFate::NoLoad;
    if (isDistributed(type)) {
        if (r.A < 0.0f) r.A = 0.0f;
        if (r.B > r.L || r.B < 0.0f) r.B = r.L;
        return r.B <= r.A ? LoadFate::Vanishes : LoadFate::OnMember;
    }
    if (r.A < 0.0f) r.A = r.L;  // a negative position puts the load on the end node
    if (static_cast<double>(std::fabs(r.A)) <= kEndNodeTolerance) return LoadFate::AtStart;
    if (static_cast<double>(std::fabs(r.L - r.A)) <= kEndNodeTolerance) return LoadFate::AtEnd;
    return r.A > r.L ? LoadFate::BeyondEnd : LoadFate::OnMember;
}

}  // namespace tarvel
