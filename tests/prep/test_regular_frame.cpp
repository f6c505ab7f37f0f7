// A regular frame entered in one step: the job it fills generates a data
// file that runs, and the run's support reactions balance the loads that
// were asked for, summed by hand from the spans, heights and sections.

#include <gtest/gtest.h>

#include <numeric>

#include "analysis/analysis_state.h"
#include "prep/data_file_generation.h"
#include "prep/frame_sketch.h"
#include "prep/regular_frame.h"
#include "prep_test_support.h"
#include "run/results_summary.h"
#include "run/run_driver.h"
#include "support/recording_host.h"

namespace tarvel {
namespace {

using test::ScratchFolder;

RegularFrame threeBaysFourStoreys() {
    RegularFrame f;
    f.spans = {6.0, 2.4, 6.0};
    f.heights = {4.2, 3.3, 3.3, 3.3};
    f.columnB = 0.5;
    f.columnH = 0.5;
    f.beamB = 0.25;
    f.beamH = 0.6;
    f.columnGrade = 30;
    f.beamGrade = 25;
    f.deadLoad = 18.0;
    f.liveLoad = 7.5;
    f.windForces = {12.0, 10.0, 10.0, 6.0};
    return f;
}

struct Ran {
    RunResult result;
    ResultsSummary summary;
    FrameModel model;
};

Ran generateAndRun(const ScratchFolder& folder, const RegularFrame& frame) {
    JobDatabase db = test::newJob(folder);
    fillRegularFrame(db, frame);
    RecordingHost host;
    const GeneratedDataFile file = buildDataFileText(db, host);
    EXPECT_TRUE(file.ok) << file.refusal;
    const std::string path = folder.path("FRAME.TVL");
    test::writeFile(path, file.text);
    auto state = std::make_unique<AnalysisState>();
    Ran ran;
    ran.result = Frame5(RunRequest{path, 2, 1, "2026 - 01 - 01   00:00:00"}, host, *state);
    ran.summary = summarise(*state);
    ran.model = test::readModel(path);
    return ran;
}

TEST(RegularFrame, ThreeBaysFourStoreysRunsAndItsReactionsBalanceTheLoads) {
    ScratchFolder folder;
    const RegularFrame f = threeBaysFourStoreys();
    const Ran ran = generateAndRun(folder, f);
    ASSERT_EQ(ran.result.outcome, RunOutcome::Finished);

    // The frame as read back: 4 column lines on 5 levels, 12 beams, 16 columns.
    const FrameModel& m = ran.model;
    EXPECT_EQ(m.NJ, 20);
    EXPECT_EQ(m.NB, 12);
    EXPECT_EQ(m.NC, 16);
    EXPECT_EQ(m.NLEV, 4);  // one storey level per floor
    EXPECT_FLOAT_EQ(m.XY(1, 20), 14.4f);
    EXPECT_FLOAT_EQ(m.XY(2, 20), 14.1f);

    // By hand: beams carry q over each span on four floors; self weight at
    // 25 kN/m³ of every beam and column.
    const double spans = 6.0 + 2.4 + 6.0;
    const double height = 4.2 + 3.3 * 3;
    const double beamLength = 4 * spans;
    const double columnLength = 4 * height;
    const double dead = 18.0 * beamLength + 25.0 * (0.25 * 0.6 * beamLength + 0.5 * 0.5 * columnLength);
    EXPECT_NEAR(ran.summary.dead.vertical, dead, dead * 1e-5);
    EXPECT_NEAR(ran.summary.dead.horizontal, 0.0, 1e-2);
    EXPECT_NEAR(ran.summary.live.vertical, 7.5 * beamLength, 7.5 * beamLength * 1e-5);
    // The floor forces push to the right; the supports push back.
    EXPECT_NEAR(ran.summary.wind.horizontal, -38.0, 1e-3);
    EXPECT_NEAR(ran.summary.wind.vertical, 0.0, 1e-3);
}

TEST(RegularFrame, PinnedBasesFreeFloorsAndNoSelfWeight) {
    ScratchFolder folder;
    RegularFrame f;
    f.spans = {5.0, 5.0};
    f.heights = {3.6, 3.0};
    f.fixedBases = false;
    f.rigidFloors = false;
    f.selfWeight = false;
    f.deadLoad = 10.0;
    const Ran ran = generateAndRun(folder, f);
    ASSERT_EQ(ran.result.outcome, RunOutcome::Finished);
    const FrameModel& m = ran.model;
    // Base nodes turn freely; every upper node sways on its own code.
    EXPECT_EQ(m.code(1, 1), 0);
    EXPECT_EQ(m.code(2, 1), 0);
    EXPECT_NE(m.code(3, 1), 0);
    EXPECT_NE(m.code(1, 4), m.code(1, 5));
    EXPECT_EQ(m.KW, 0);
    EXPECT_NEAR(ran.summary.dead.vertical, 10.0 * 20.0, 1e-3);
    EXPECT_FALSE(ran.summary.hasWind);
}

TEST(RegularFrame, ReplacesTheWholeJobAndRefusesWhatCannotBeBuilt) {
    ScratchFolder folder;
    JobDatabase db = test::newJob(folder);
    test::fill(db, "SEISMIC2", {{2, 9, 100}});
    test::fill(db, "BEAM", {{1, 2, 1, 1}, {2, 3, 1, 1}, {3, 4, 1, 1}});
    RegularFrame f;
    f.spans = {6.0};
    f.heights = {3.0};
    fillRegularFrame(db, f);
    EXPECT_EQ(db.rows(jobTable("BEAM")).size(), 1u);
    EXPECT_TRUE(db.rows(jobTable("SEISMIC2")).empty());
    // No dead load asked: one zero load keeps the segment a run needs.
    ASSERT_EQ(db.rows(jobTable("DLOAD")).size(), 1u);
    EXPECT_EQ(db.rows(jobTable("DLOAD"))[0].cells[2], Cell::of(0.0));
    // The filled job has nothing for the preview to complain about.
    EXPECT_TRUE(sketchJob(db).problems.empty());

    namespace t = regular_frame_text;
    RegularFrame bad = f;
    bad.spans = {};
    EXPECT_EQ(regularFrameProblem(bad), t::kNoBay);
    bad = f;
    bad.heights = {3.0, -1.0};
    EXPECT_EQ(regularFrameProblem(bad), t::kBadHeight);
    bad = f;
    bad.beamGrade = 32;
    EXPECT_EQ(regularFrameProblem(bad), t::kBadGrade);
    bad = f;
    bad.windForces = {1.0, 2.0};
    EXPECT_EQ(regularFrameProblem(bad), t::kTooManyWinds);
    bad = f;
    bad.spans.assign(20, 4.0);  // 21 lines: 21·9 nodes fit, 20·8 + 21·8 members do not
    bad.heights.assign(8, 3.0);
    EXPECT_EQ(regularFrameProblem(bad), t::kTooLarge);
    EXPECT_THROW(fillRegularFrame(db, bad), std::invalid_argument);
    EXPECT_EQ(db.rows(jobTable("BEAM")).size(), 1u);  // left as it was
}

}  // namespace
}  // namespace tarvel
