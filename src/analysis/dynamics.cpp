#include "analysis/dynamics.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/band_solver.h"
#include "analysis/run_texts.h"
#include "common/basic_convert.h"
#include "common/limits.h"
#include "common/messages.h"
#include "common/printed_number.h"
#include "common/table.h"
#include "model/frame_reader.h"

namespace tarvel {

namespace {

using MassValues = Table<float, limits::kMaxMassValues>;

// Reads the SEISMIC segment into `dyn` and checks every mass record before
// it is used; the first fault is reported once and ends the reading.
class SeismicReader {
public:
    SeismicReader(AnalysisState& st, ListReader& in, Host& host)
        : st_(st), dyn_(st.dyn), in_(in), host_(host) {}

    // false when the run has to stop (already reported).
    bool read();

private:
    bool readMass(int record, int count);

    bool badData(const std::string& text) {
        tellError(host_, text);
        return false;
    }
    bool overLimit(const std::string& what, int found, int limit) {
        tell(host_, overLimitText(run_text::kLimitOpening, what, found, limit), run_text::kNoticeTitle,
             Icon::None);
        return false;
    }
    static std::string recordText(int record) {
        return std::string("错误信息:'") + dynamics_text::kSegment + "' 数据段第 " +
               std::to_string(record) + " 条质点记录";
    }
    static constexpr const char* kCheckFile = ",请检查'TVL'文件！";

    AnalysisState& st_;
    DynamicResults& dyn_;
    ListReader& in_;
    Host& host_;
    MassValues value_;  // the values of the current mass record, 1..count
};

bool SeismicReader::read() {
    SeismicParameters& par = dyn_.par;
    par.KCLASS = in_.readSingle();
    par.K0 = static_cast<float>(in_.readInteger());
    par.TG = in_.readSingle();
    par.ALF1 = in_.readSingle();
    par.ALF2 = in_.readSingle();
    par.NN = in_.readSingle();
    par.ADJUST = in_.readSingle();
    dyn_.raw = par;
    // The falling branch of the spectrum raises TG/T to a power.
    if (par.TG < 0.0f) {
        return badData(std::string("错误信息:'") + dynamics_text::kSegment +
                       "' 数据段第 1 条记录的特征周期 TG=" + strSingle(par.TG) + " 不能为负" +
                       kCheckFile);
    }
    // Periods and adjustment factors of zero or below make no sense.
    if (!(par.ALF2 > 0.0f)) {
        return badData(std::string("错误信息:'") + dynamics_text::kSegment + "' 数据段第 1 条记录的周期折减系数 ALF2=" +
                       strSingle(par.ALF2) + " 不是正数(应大于 0)" + kCheckFile);
    }
    if (!(par.ADJUST > 0.0f)) {
        return badData(std::string("错误信息:'") + dynamics_text::kSegment + "' 数据段第 1 条记录的调整系数 ADJUST=" +
                       strSingle(par.ADJUST) + " 不是正数(应大于 0)" + kCheckFile);
    }

    // Mass records: a count c, then c values; a count of 0 ends the segment.
    for (;;) {
        const std::int16_t count = in_.readInteger();
        if (count == 0) return true;
        const int record = dyn_.NMASS + 1;
        if (dyn_.NMASS >= limits::kMaxMasses) {
            return overLimit("质点", record, limits::kMaxMasses);
        }
        if (count > limits::kMaxMassValues) {
            return overLimit("第 " + std::to_string(record) + " 条质点记录的数值", count,
                             limits::kMaxMassValues);
        }
        if (count < 2) {
            return badData(recordText(record) + "的数值个数 " + std::to_string(count) +
                           " 无效(至少要有一个节点号和附加重量)" + kCheckFile);
        }
        for (int k = 1; k <= count; ++k) value_(k) = in_.readSingle();
        if (!readMass(record, count)) return false;
    }
}

// One mass: the node list value_(1..count-1), the additional weight value_(count).
bool SeismicReader::readMass(int record, int count) {
    const FrameModel& m = st_.model;

    // The representative node is the integer part of the first value.
    const float first = value_(1);
    if (!(first >= 0.0f && first < static_cast<float>(limits::kMaxNodes + 1))) {
        return badData(recordText(record) + "的节点号" + strSingle(first) + " 无效" + kCheckFile);
    }
    const int node = static_cast<int>(std::floor(first));
    const int code = m.code(1, node);
    if (code == 0) {
        host_.log(dynamics_text::kNoHorizontalCode + strSingle(static_cast<float>(node)));
        return false;
    }
    // Two masses on one horizontal unknown would make the flexibility matrix singular.
    for (int k = 1; k <= dyn_.NMASS; ++k) {
        const int other = static_cast<int>(dyn_.MNODE(k));
        if (m.code(1, other) == code) {
            return badData(recordText(record) + "的节点 " + std::to_string(node) + " 与第 " +
                           std::to_string(k) + " 条质点记录的节点 " + std::to_string(other) +
                           " 共用水平位移编码 " + std::to_string(code) +
                           "(同一侧移只能有一个质点)" + kCheckFile);
        }
    }

    // Dead and live weight from the kept nodal loads (a downward load is negative).
    float wd = 0.0f;
    float wl = 0.0f;
    for (int k = 1; k < count; ++k) {
        const std::optional<std::int16_t> n = toInteger(value_(k));
        if (!n || *n < 0 || *n > limits::kMaxNodes) {
            return badData(recordText(record) + "的节点号" + strSingle(value_(k)) + " 无效" +
                           kCheckFile);
        }
        const int v = m.code(2, *n);
        if (v > 0) {
            wd -= st_.PLOAD(1, v);
            wl -= st_.PLOAD(2, v);
        }
    }

    const int j = ++dyn_.NMASS;
    dyn_.MNODE(j) = static_cast<float>(node);
    dyn_.WD(j) = wd;
    dyn_.WL(j) = wl;
    dyn_.WA(j) = value_(count);
    dyn_.WG(j) = dyn_.WD(j) + dyn_.WA(j) + dyn_.WL(j) * dyn_.par.ALF1;
    return true;
}

}  // namespace

DynamicsStatus readSeismicSegment(AnalysisState& st, DataFile& file, Host& host, int mode) {
    DynamicResults& dyn = st.dyn;
    renew(dyn);
    st.LCF(kSeismicCase) = 0.0f;
    if (file.FINDSEG(dynamics_text::kSegment, mode) != 0) return DynamicsStatus::Ok;
    st.LCF(kSeismicCase) = 1.0f;

    try {
        SeismicReader reader(st, file.in(), host);
        if (!reader.read()) return DynamicsStatus::Stopped;
    } catch (const ListInputError& e) {
        const std::string text = listErrorText(e, dynamics_text::kSegment);
        tellError(host, text);
        return DynamicsStatus::Stopped;
    }

    const int nMass = dyn.NMASS;
    if (dyn.par.NN > static_cast<float>(nMass)) dyn.par.NN = static_cast<float>(nMass);

    // A mass must have weight before its square root is taken.
    for (int j = 1; j <= nMass; ++j) {
        if (!(dyn.WG(j) > 0.0f)) {
            const std::string text = std::string("错误信息:'") + dynamics_text::kSegment +
                                     "' 数据段第 " + std::to_string(j) + " 条质点记录(节点" +
                                     strSingle(dyn.MNODE(j)) + ")的重力荷载代表值 WG=" +
                                     strSingle(dyn.WG(j)) + " 不大于 0,请检查'TVL'文件！";
            tellError(host, text);
            return DynamicsStatus::Stopped;
        }
    }
    return DynamicsStatus::Ok;
}

DynamicsStatus DYNAMICS(AnalysisState& st, DataFile& file, Host& host, EigenSolverFunction solve) {
    DynamicResults& dyn = st.dyn;
    if (const DynamicsStatus read = readSeismicSegment(st, file, host, kOptional); read != DynamicsStatus::Ok) {
        return read;
    }
    if (st.LCF(kSeismicCase) == 0.0f) return DynamicsStatus::Ok;
    const int nMass = dyn.NMASS;

    // √m of every mass, t^½.
    Table<float, limits::kMaxMasses> SQW;
    for (int j = 1; j <= nMass; ++j) {
        SQW(j) = static_cast<float>(std::sqrt(static_cast<double>(dyn.WG(j)) / kGravity));
    }

    // Flexibility by unit loads: column j is the horizontal displacement (m/kN)
    // of every mass under a unit force at mass j. The unit loads are solved
    // together, each exactly as MLI solves it alone; P keeps the last solution.
    auto unknownOf = [&](int j) { return st.model.code(1, static_cast<int>(dyn.MNODE(j))); };
    auto FLEX = std::make_unique<EigenMatrix>();
    const auto columns = static_cast<std::size_t>(nMass);
    std::vector<float> unitLoads(static_cast<std::size_t>(st.NDOF) * columns, 0.0f);
    auto entry = [&](int k, int j) -> float& {
        return unitLoads[static_cast<std::size_t>(k - 1) * columns + static_cast<std::size_t>(j - 1)];
    };
    for (int j = 1; j <= nMass; ++j) entry(unknownOf(j), j) = 1.0f;
    solveMany(st.SK, st.NDOF, st.band(), unitLoads.data(), nMass);
    for (int j = 1; j <= nMass; ++j) {
        for (int i = 1; i <= nMass; ++i) (*FLEX)(i, j) = static_cast<double>(entry(unknownOf(i), j));
    }
    if (nMass > 0) {
        for (int k = 1; k <= st.NDOF; ++k) st.P(k) = entry(k, nMass);
    }

    // Symmetric form W·F·W, W = diag(√m): its eigenvalues are 1/ω².
    for (int i = 1; i <= nMass; ++i) {
        for (int j = 1; j <= nMass; ++j) {
            (*FLEX)(i, j) = static_cast<double>(SQW(i) * SQW(j)) * (*FLEX)(i, j);
        }
    }

    dyn.IERR = solve(nMass, *FLEX, dyn.PERIOD, dyn.PHI);
    if (dyn.IERR != 0) {
        host.log(dynamics_text::kEigenFailedLog);
        host.message(dynamics_text::kEigenFailedMessage, run_text::kErrorTitle, Icon::Information);
        return DynamicsStatus::EigenFailed;
    }

    // Back to displacements of the masses, then unit length per mode.
    for (int i = 1; i <= nMass; ++i) {
        const float inverse = 1.0f / SQW(i);
        for (int j = 1; j <= nMass; ++j) dyn.PHI(i, j) *= static_cast<double>(inverse);
    }
    for (int j = 1; j <= nMass; ++j) {
        float sum = 0.0f;
        for (int i = 1; i <= nMass; ++i) {
            sum = static_cast<float>(static_cast<double>(sum) + dyn.PHI(i, j) * dyn.PHI(i, j));
        }
        const float length = static_cast<float>(std::sqrt(static_cast<double>(sum)));
        for (int i = 1; i <= nMass; ++i) dyn.PHI(i, j) /= static_cast<double>(length);
    }
    // T = 2π·√λ, scaled for the infill walls.
    for (int j = 1; j <= nMass; ++j) {
        dyn.PERIOD(j) = std::sqrt(dyn.PERIOD(j)) * (static_cast<double>(dyn.par.ALF2) * kTwoPi);
    }
    return DynamicsStatus::Ok;
}

}  // namespace tarvel
