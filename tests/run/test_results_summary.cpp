// Protects the results summary of the desktop program: support reactions that
// balance the applied loads (hand-solved portal and the example), the seismic
// base shear of one mass against α·G, drift ratios against the storey tables,
// and the failed members with their report lines.

#include <gtest/gtest.h>

#include <cmath>

#include "run/results_summary.h"
#include "analysis/seismic_action.h"
#include "common/text_encoding.h"
#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::FrameBuilder;
using testing::RunFixture;

// A fixed-base portal 6 m wide and 4 m high; both top nodes share the sway code.
FrameBuilder portal() {
    FrameBuilder f;
    f.section(0.3, 0.6).section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 6, 0);
    f.node(3, 1, 2, 3, 0, 4).node(4, 1, 4, 5, 6, 4);
    f.beam(3, 4, 1).column(1, 3, 2).column(2, 4, 2);
    return f;
}

TEST(ResultsSummary, PortalReactionsBalanceTheLoadsByHand) {
    // Dead: 20 kN/m over the 6 m beam, 120 kN down. Live: 15 kN at mid-span.
    // Wind: 10 kN to the right at the top of the left column.
    FrameBuilder f = portal();
    f.dead(1, 2, 20, 0, -1).live(1, 1, 15, 3).wind(2, 1, 10, 4);
    RunFixture run;
    ASSERT_EQ(run.run(f.text()).outcome, RunOutcome::Finished);
    const ResultsSummary s = summarise(*run.state);
    EXPECT_NEAR(s.dead.vertical, 120.0, 1e-3);
    EXPECT_NEAR(s.dead.horizontal, 0.0, 1e-3);
    EXPECT_NEAR(s.live.vertical, 15.0, 1e-4);
    EXPECT_NEAR(s.wind.horizontal, -10.0, 1e-4);  // the supports push back
    EXPECT_NEAR(s.wind.vertical, 0.0, 1e-4);
    // Each column of the symmetric portal carries half of the dead load.
    EXPECT_NEAR(run.state->CF(7, 1, 1), 60.0, 1e-3);
    EXPECT_TRUE(s.hasWind);
    EXPECT_FALSE(s.hasSeismic);
    EXPECT_TRUE(s.periods.empty());
    EXPECT_TRUE(s.failed.empty());
}

TEST(ResultsSummary, ExampleReactionsBalanceEveryCase) {
    RunFixture run;
    const auto text = testing::TempDir::read(std::string(TARVEL_SOURCE_DIR) + "/examples/FRAME3X4.TVL");
    ASSERT_EQ(run.run(text).outcome, RunOutcome::Finished);
    const AnalysisState& st = *run.state;
    const ResultsSummary s = summarise(st);
    const SupportReactions* cases[4] = {nullptr, &s.dead, &s.live, &s.wind};
    for (int lc = 1; lc <= 3; ++lc) {
        SCOPED_TRACE("case " + std::to_string(lc));
        const testing::Resultant load = testing::appliedLoads(st, lc, lc == 1);
        const double scale = std::max({std::fabs(load.X), std::fabs(load.Y), 1.0});
        EXPECT_NEAR(cases[lc]->horizontal + load.X, 0.0, 2e-5 * scale);
        EXPECT_NEAR(cases[lc]->vertical + load.Y, 0.0, 2e-5 * scale);
    }
    EXPECT_GT(s.dead.vertical, 1000.0);  // a four-storey frame weighs well over 1 MN

    // Periods as the eigen-solution left them; drifts as the report's storey
    // tables print them (h/d), the largest d/h over the storeys.
    ASSERT_EQ(s.periods.size(), static_cast<std::size_t>(st.dyn.NMASS));
    EXPECT_EQ(s.periods[0], st.dyn.PERIOD(1));
    double windLargest = 0.0, quakeLargest = 0.0;
    for (int l = 1; l <= st.model.NLEV; ++l) {
        const double h = st.model.LEVY(l) - st.model.LEVY(l - 1);
        const double dWind = st.UD(1, l) - (l > 1 ? st.UD(1, l - 1) : 0.0f);
        windLargest = std::max(windLargest, std::fabs(dWind) / h);
        quakeLargest = std::max(quakeLargest, std::fabs(double(st.UD(3, l))) / h);
    }
    EXPECT_DOUBLE_EQ(s.windDrift.ratio, windLargest);
    EXPECT_DOUBLE_EQ(s.seismicDrift.ratio, quakeLargest);
    EXPECT_GE(s.windDrift.level, 1);
    EXPECT_GT(s.seismicBaseShear, 0.0);
}

TEST(ResultsSummary, OneMassBaseShearIsAlphaTimesWeight) {
    // One mass: γ·φ = 1, so the base shear is α·G; TG = 5 s puts the period on
    // the plateau α = αmax = 0.16 (intensity 8).
    const std::string text = portal().dead(1, 2, 20, 0, -1).text() +
                             "SEISMIC\r\n 2, 8, 5, .5, 1, 1, 1 \r\n 2, 3, 400 \r\n 0, 0 \r\n";
    RunFixture run;
    ASSERT_EQ(run.run(text).outcome, RunOutcome::Finished);
    const AnalysisState& st = *run.state;
    const ResultsSummary s = summarise(st);
    ASSERT_EQ(s.periods.size(), 1u);
    ASSERT_GT(s.periods[0], 0.1);
    const double G = st.dyn.WG(1);
    EXPECT_NEAR(G, 400.0 + 60.0, 1e-3);  // the added weight and half the beam's load at node 3
    EXPECT_NEAR(s.seismicBaseShear, 0.16 * G, 1e-4 * G);
    // Second way: with one mode the column shears at the base add up to it.
    EXPECT_NEAR(st.CF(6, 1, 4) + st.CF(6, 2, 4), s.seismicBaseShear, 1e-4 * G);
}

TEST(ResultsSummary, FailedMembersPointAtTheirReportLines) {
    // A 100 × 150 mm beam under 400 kN/m: far too small for the shear.
    FrameBuilder f;
    f.section(0.1, 0.15).section(0.4, 0.4).concrete(30);
    f.node(1, 0, 0, 0, 0, 0).node(2, 0, 0, 0, 6, 0);
    f.node(3, 1, 2, 3, 0, 4).node(4, 1, 4, 5, 6, 4);
    f.beam(3, 4, 1).column(1, 3, 2).column(2, 4, 2).dead(1, 2, 400, 0, -1);
    RunFixture run;
    ASSERT_EQ(run.run(f.text()).outcome, RunOutcome::Finished);
    const ResultsSummary s = summarise(*run.state);
    ASSERT_FALSE(s.failed.empty());
    EXPECT_EQ(s.failed[0].kind, FailedMember::Kind::Beam);
    EXPECT_EQ(s.failed[0].number, 1);
    EXPECT_EQ(run.state->design.BASV(1, 1), 99.0f);

    const std::string report = decodeTextFile(run.read("TARVEL1.wri"));
    const int line = reportLineOf(report, s.failed[0]);
    ASSERT_GT(line, 0);
    std::size_t at = 0;
    for (int n = 1; n < line; ++n) at = report.find('\n', at) + 1;
    EXPECT_EQ(report.substr(at, report.find('\n', at) - at).rfind(" 1 梁(", 0), 0u);

    // Column 2 is listed in the column table, not mistaken for beam lines.
    const int column = reportLineOf(report, {FailedMember::Kind::Column, 2, ""});
    ASSERT_GT(column, line);
    at = 0;
    for (int n = 1; n < column; ++n) at = report.find('\n', at) + 1;
    EXPECT_NE(report.substr(at, report.find('\n', at) - at).find("( 2 , 4 )"), std::string::npos);
    EXPECT_EQ(reportLineOf(report, {FailedMember::Kind::Beam, 7, ""}), 0);
}

}  // namespace
}  // namespace tarvel
