// Protects DYNAMICS: the SEISMIC segment and its mass records, the lumped
// weights, periods against closed forms, unit mode shapes, and the rejection
// of seismic data the analysis cannot use.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <memory>

#include "analysis/dynamics.h"
#include "test_dynamics_frames.h"

namespace tarvel {
namespace {

using testing::cantilever;
using testing::factorise;
using testing::FactorisedFrame;
using testing::portal;
using testing::shearBuilding;
using testing::unitDisplacement;

std::unique_ptr<FactorisedFrame> frameOf(const std::string& text) {
    auto f = factorise(text);
    EXPECT_NE(f, nullptr) << "the test frame itself failed to factorise";
    return f;
}

TEST(Dynamics, OneMassPeriodFromTheUnitLoadDeflection) {
    // KCLASS 2, K0 8, TG .35, ALF1 .5, ALF2 .9, NN 1, ADJUST 1; one mass of 50 kN at node 2.
    auto f =
        frameOf(cantilever("SEISMIC\r\n 2, 8, .35, .5, .9, 1, 1 \r\n"
                           " 2, 2, 50 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    ASSERT_EQ(DYNAMICS(st, *f->file, f->host), DynamicsStatus::Ok);
    const DynamicResults& d = st.dyn;
    ASSERT_EQ(d.NMASS, 1);
    EXPECT_EQ(d.MNODE(1), 2.0f);
    EXPECT_EQ(d.WG(1), 50.0f);
    EXPECT_EQ(st.LCF(4), 1.0f);

    // T = 6.28 · ALF2 · √(W/g · δ); δ = h³/3EI = 2.43E-4 m/kN for this column.
    const double delta = unitDisplacement(st, 1);
    EXPECT_NEAR(delta, testing::kCantileverFlexibility, 1e-5 * testing::kCantileverFlexibility);
    const double expected = 6.28 * 0.9 * std::sqrt(50.0 / 9.8 * delta);
    EXPECT_NEAR(d.PERIOD(1), expected, 1e-6 * expected);
    EXPECT_NEAR(d.PHI(1, 1), 1.0, 1e-7);
    EXPECT_TRUE(f->host.messages.empty());
}

TEST(Dynamics, TwoMassShearBuildingMatchesTheClosedForm) {
    // m1 = 2m (196 kN), m2 = m (98 kN), equal storeys k: ω² = (k/m)·(1 ∓ 1/√2)
    // and top/bottom amplitude ±√2. The scaled eigenvectors of W·F·W alone
    // would give ±1; the back-transformation by 1/√m makes them ±√2.
    auto f =
        frameOf(shearBuilding("SEISMIC\r\n 2, 8, .35, .5, 1, 2, 1 \r\n"
                              " 2, 2, 196 \r\n 2, 3, 98 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    ASSERT_EQ(DYNAMICS(st, *f->file, f->host), DynamicsStatus::Ok);
    const DynamicResults& d = st.dyn;
    const double kOverM = testing::kFixedColumnStiffness / 10.0;
    const double T1 = 6.28 / std::sqrt(kOverM * (1.0 - 1.0 / std::sqrt(2.0)));  // 0.286 s
    const double T2 = 6.28 / std::sqrt(kOverM * (1.0 + 1.0 / std::sqrt(2.0)));  // 0.118 s
    EXPECT_NEAR(d.PERIOD(1), T1, 1e-5 * T1);
    EXPECT_NEAR(d.PERIOD(2), T2, 1e-5 * T2);
    EXPECT_NEAR(d.PHI(2, 1) / d.PHI(1, 1), std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(d.PHI(2, 2) / d.PHI(1, 2), -std::sqrt(2.0), 1e-5);
    for (int j = 1; j <= 2; ++j) {
        EXPECT_NEAR(d.PHI(1, j) * d.PHI(1, j) + d.PHI(2, j) * d.PHI(2, j), 1.0, 1e-6) << j;
    }
}

TEST(Dynamics, WeightsFromTheKeptNodalLoads) {
    // Portal: node 3 has vertical code 2, node 4 code 4. Dead loads of -30 and
    // -50 kN and live loads of -10 and -20 kN there; ALF1 = 0.5, WA = 12.
    auto f = frameOf(portal("SEISMIC\r\n 2, 8, .35, .5, 1, 3, 1 \r\n 3, 3, 4, 12 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    st.PLOAD(1, 2) = -30.0f;
    st.PLOAD(1, 4) = -50.0f;
    st.PLOAD(2, 2) = -10.0f;
    st.PLOAD(2, 4) = -20.0f;
    st.PLOAD(1, 1) = -999.0f;  // a horizontal load never counts as weight
    ASSERT_EQ(DYNAMICS(st, *f->file, f->host), DynamicsStatus::Ok);
    const DynamicResults& d = st.dyn;
    ASSERT_EQ(d.NMASS, 1);
    EXPECT_EQ(d.MNODE(1), 3.0f);
    EXPECT_EQ(d.WD(1), 80.0f);
    EXPECT_EQ(d.WL(1), 30.0f);
    EXPECT_EQ(d.WA(1), 12.0f);
    EXPECT_EQ(d.WG(1), 80.0f + 12.0f + 0.5f * 30.0f);
    // NN = 3 is cut to the one mass; the raw set keeps what was read.
    EXPECT_EQ(d.par.NN, 1.0f);
    EXPECT_EQ(d.raw.NN, 3.0f);
    EXPECT_EQ(d.raw.ALF1, 0.5f);
    EXPECT_EQ(d.raw.KCLASS, 2.0f);
    EXPECT_EQ(d.raw.K0, 8.0f);
    EXPECT_EQ(d.raw.TG, 0.35f);
    EXPECT_EQ(d.raw.ALF2, 1.0f);
    EXPECT_EQ(d.raw.ADJUST, 1.0f);
}

TEST(Dynamics, RestrainedVerticalCodeAddsNoWeight) {
    // Node 2 of the shear building carries vertical code 2, but node 1 (all
    // codes 0) in the same record adds nothing; WG = WA when ALF1 = 0.
    auto f =
        frameOf(shearBuilding("SEISMIC\r\n 2, 8, .35, 0, 1, 2, 1 \r\n"
                              " 3, 2, 1, 40 \r\n 2, 3, 7.5 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    st.PLOAD(1, 2) = -20.0f;
    st.PLOAD(2, 2) = -6.0f;
    ASSERT_EQ(DYNAMICS(st, *f->file, f->host), DynamicsStatus::Ok);
    const DynamicResults& d = st.dyn;
    ASSERT_EQ(d.NMASS, 2);
    EXPECT_EQ(d.WD(1), 20.0f);
    EXPECT_EQ(d.WL(1), 6.0f);  // listed in full even though ALF1 = 0
    EXPECT_EQ(d.WG(1), 60.0f);
    // Record 2 is delimited by its own count: node 3, WA 7.5.
    EXPECT_EQ(d.MNODE(2), 3.0f);
    EXPECT_EQ(d.WD(2), 0.0f);
    EXPECT_EQ(d.WA(2), 7.5f);
    EXPECT_EQ(d.WG(2), 7.5f);
}

TEST(Dynamics, NoSeismicSegmentLeavesNothingFromAnEarlierRun) {
    auto f = frameOf(cantilever(""));
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    st.dyn.NMASS = 3;
    st.dyn.par.ALF1 = 0.5f;
    st.dyn.PERIOD(1) = 1.2;
    st.LCF(4) = 1.0f;
    ASSERT_EQ(DYNAMICS(st, *f->file, f->host), DynamicsStatus::Ok);
    EXPECT_EQ(st.LCF(4), 0.0f);
    EXPECT_EQ(st.dyn.NMASS, 0);
    EXPECT_EQ(st.dyn.par.ALF1, 0.0f);
    EXPECT_EQ(st.dyn.par.NN, 0.0f);
    EXPECT_EQ(st.dyn.PERIOD(1), 0.0);
    ASSERT_EQ(f->host.logLines.size(), 2u);
    EXPECT_EQ(f->host.logLines[0], "1,SEISMIC");
    EXPECT_EQ(f->host.logLines[1], "系统提示：没找到 'SEISMIC' 数据段！");
}

TEST(Dynamics, MassNodeWithoutHorizontalCodeStopsTheRun) {
    // Node 1 is the fixed base: the run stops with the log line, nothing else.
    auto f = frameOf(cantilever("SEISMIC\r\n 2, 8, .35, .5, 1, 1, 1 \r\n 2, 1, 50 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(DYNAMICS(*f->st, *f->file, f->host), DynamicsStatus::Stopped);
    ASSERT_EQ(f->host.logLines.size(), 1u);
    EXPECT_EQ(f->host.logLines[0], "None X-displacement of point： 1");
    EXPECT_TRUE(f->host.messages.empty());
    EXPECT_EQ(f->st->dyn.NMASS, 0);
}

TEST(Dynamics, NonPositiveWeightIsRejectedNamingTheRecord) {
    // Second record: 2 kN of additional weight against an uplift of 5 kN.
    auto f =
        frameOf(shearBuilding("SEISMIC\r\n 2, 8, .35, .5, 1, 2, 1 \r\n"
                              " 2, 2, 98 \r\n 2, 3, 2 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    f->st->PLOAD(1, 4) = 5.0f;
    EXPECT_EQ(DYNAMICS(*f->st, *f->file, f->host), DynamicsStatus::Stopped);
    ASSERT_EQ(f->host.messages.size(), 1u);
    EXPECT_EQ(f->host.messages[0].text,
              "错误信息:'SEISMIC' 数据段第 2 条质点记录(节点 3)的重力荷载代表值 WG=-3 "
              "不大于 0,请检查'TVL'文件！");
    EXPECT_EQ(f->host.messages[0].title, "错误信息提示！");
    EXPECT_EQ(f->st->dyn.PERIOD(1), 0.0);
}

TEST(Dynamics, TooManyValuesInARecordIsRejectedBeforeReading) {
    auto f =
        frameOf(cantilever("SEISMIC\r\n 2, 8, .35, .5, 1, 1, 1 \r\n"
                           " 301, 2, 50 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(DYNAMICS(*f->st, *f->file, f->host), DynamicsStatus::Stopped);
    ASSERT_EQ(f->host.messages.size(), 1u);
    EXPECT_EQ(f->host.messages[0].text,
              "超出结构分析极限，请重新调整数据或更新分析程序！！！ "
              "第 1 条质点记录的数值：301个（最多300个）。");
    EXPECT_EQ(f->st->dyn.NMASS, 0);
}

TEST(Dynamics, TwoMassesOnOneUnknownAreRejected) {
    // Both records name node 2: one horizontal unknown cannot carry two masses.
    auto f =
        frameOf(cantilever("SEISMIC\r\n 2, 8, .35, .5, 1, 1, 1 \r\n"
                           " 2, 2, 10 \r\n 2, 2, 10 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(DYNAMICS(*f->st, *f->file, f->host), DynamicsStatus::Stopped);
    ASSERT_EQ(f->host.messages.size(), 1u);
    EXPECT_EQ(f->host.messages[0].text,
              "错误信息:'SEISMIC' 数据段第 2 条质点记录的节点 2 与第 1 条质点记录的节点 2 "
              "共用水平位移编码 1(同一侧移只能有一个质点),请检查'TVL'文件！");
    EXPECT_EQ(f->st->dyn.NMASS, 1);
}

TEST(Dynamics, MassCountLimitIsEighty) {
    // 81 columns side by side, fixed at nodes 1..81; each top node 82..162
    // has only its own horizontal code and carries one mass record.
    std::string points;
    std::string columns;
    std::string records;
    for (int i = 1; i <= 81; ++i) {
        const std::string x = std::to_string(i);
        const std::string top = std::to_string(81 + i);
        points += " " + x + " 0 0 0 " + x + " 0 \r\n";
        points += " " + top + " " + x + " 0 0 " + x + " 3.6 \r\n";
        columns += " " + x + " " + top + " 1 1 0 \r\n";
        records += " 2, " + top + ", 10 \r\n";
    }
    const std::string text = testing::frameHead() + "POINT\r\n" + points + "\r\nBEAM\r\n\r\n" +
                             "COLUMN\r\n" + columns + "\r\nDLOAD\r\n\r\n" +
                             "SEISMIC\r\n 2, 8, .35, .5, 1, 1, 1 \r\n" + records + " 0, 0 \r\n";
    auto f = frameOf(text);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(DYNAMICS(*f->st, *f->file, f->host), DynamicsStatus::Stopped);
    ASSERT_EQ(f->host.messages.size(), 1u);
    EXPECT_EQ(f->host.messages[0].text,
              "超出结构分析极限，请重新调整数据或更新分析程序！！！ 质点：81个（最多80个）。");
    EXPECT_EQ(f->host.messages[0].title, "提示！");
    EXPECT_EQ(f->st->dyn.NMASS, 80);
}

int failingSolver(int, const EigenMatrix&, EigenVector& D, EigenMatrix&) {
    D(1) = 0.5;
    return 1;
}

TEST(Dynamics, FailedEigenSolutionIsReportedAndTheRunGoesOn) {
    auto f = frameOf(cantilever("SEISMIC\r\n 2, 8, .35, .5, 1, 1, 1 \r\n 2, 2, 50 \r\n 0, 0 \r\n"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(DYNAMICS(*f->st, *f->file, f->host, failingSolver), DynamicsStatus::EigenFailed);
    EXPECT_EQ(f->st->dyn.IERR, 1);
    ASSERT_EQ(f->host.logLines.size(), 1u);
    EXPECT_EQ(f->host.logLines[0], "The calculation of dynamic Properties fails");
    ASSERT_EQ(f->host.messages.size(), 1u);
    EXPECT_EQ(f->host.messages[0].text, "错误信息：水平定位向量为'0'，集中质点的水平位移不存！");
    EXPECT_EQ(f->host.messages[0].title, "错误信息提示！");
    EXPECT_EQ(f->host.messages[0].icon, Icon::Information);
    // No period is formed from an unconverged eigenvalue.
    EXPECT_EQ(f->st->dyn.PERIOD(1), 0.5);
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

// The eigenvectors JCB2 hands back, kept for the test to finish by hand.
EigenMatrix* gEigenvectors = nullptr;
int recordingSolver(int n, const EigenMatrix& A, EigenVector& D, EigenMatrix& Z) {
    const int ierr = JCB2(n, A, D, Z);
    *gEigenvectors = Z;
    return ierr;
}

// Six storeys of one column each: six masses of unequal weight.
std::string sixStoreys() {
    std::string points = "POINT\r\n 1  0  0  0  0  0 \r\n";
    std::string columns = "COLUMN\r\n";
    std::string masses;
    const char* weights[] = {"173.3", "151.9", "97.7", "211.1", "64.3", "129.7"};
    for (int s = 1; s <= 6; ++s) {
        points += " " + std::to_string(s + 1) + "  " + std::to_string(2 * s - 1) + "  " + std::to_string(2 * s) +
                  "  0  0  " + std::to_string(3.6 * s).substr(0, 5) + " \r\n";
        columns += " " + std::to_string(s) + "  " + std::to_string(s + 1) + "  1  1  0 \r\n";
        masses += " 2  " + std::to_string(s + 1) + "  " + weights[s - 1] + " \r\n";
    }
    return testing::frameHead() + points + "\r\nBEAM\r\n\r\n" + columns + "\r\nDLOAD\r\n\r\n" +
           "SEISMIC\r\n 2, 8, .35, .5, 1, 6, 1 \r\n" + masses + " 0, 0 \r\n";
}

// Unit length of every mode, bit for bit: after the back-transformation by
// the single-precision 1/√m, each column is divided by the square root of
// its sum of squares accumulated in single precision, masses in order.
// A sum kept in double precision, or taken in another order, changes at
// least one value of this frame (checked below), so either fault is caught.
TEST(Dynamics, UnitModeShapesOfSixMassesBitForBit) {
    auto f = frameOf(sixStoreys());
    ASSERT_NE(f, nullptr);
    AnalysisState& st = *f->st;
    auto Z = std::make_unique<EigenMatrix>();
    gEigenvectors = Z.get();
    ASSERT_EQ(DYNAMICS(st, *f->file, f->host, recordingSolver), DynamicsStatus::Ok);
    gEigenvectors = nullptr;
    const DynamicResults& d = st.dyn;
    const int n = d.NMASS;
    ASSERT_EQ(n, 6);

    auto backTransformed = [&](int i, int j) {
        const float sqw = static_cast<float>(std::sqrt(static_cast<double>(d.WG(i)) / 9.8));
        return (*Z)(i, j) * static_cast<double>(1.0f / sqw);
    };
    int differsFromDouble = 0;
    int differsFromReversed = 0;
    for (int j = 1; j <= n; ++j) {
        float sum = 0.0f;
        float reversed = 0.0f;
        double exact = 0.0;
        for (int i = 1; i <= n; ++i) {
            const double v = backTransformed(i, j);
            sum = static_cast<float>(static_cast<double>(sum) + v * v);
            exact += v * v;
            const double w = backTransformed(n + 1 - i, j);
            reversed = static_cast<float>(static_cast<double>(reversed) + w * w);
        }
        const double length = static_cast<double>(static_cast<float>(std::sqrt(static_cast<double>(sum))));
        for (int i = 1; i <= n; ++i) {
            const double expected = backTransformed(i, j) / length;
            EXPECT_EQ(d.PHI(i, j), expected) << "mass " << i << ", mode " << j;
            if (backTransformed(i, j) / std::sqrt(exact) != expected) ++differsFromDouble;
            const double reversedLength =
                static_cast<double>(static_cast<float>(std::sqrt(static_cast<double>(reversed))));
            if (backTransformed(i, j) / reversedLength != expected) ++differsFromReversed;
        }
    }
    EXPECT_GT(differsFromDouble, 0) << "the frame does not tell the precisions apart";
    EXPECT_GT(differsFromReversed, 0) << "the frame does not tell the summation orders apart";
}

}  // namespace
}  // namespace tarvel
