// The sketch of a half-entered job and its drawing: faults found at the rows
// that cause them and drawn in red, supports by their restrained codes, and
// the loads of the chosen table.

#include <gtest/gtest.h>

#include <algorithm>

#include "drawing/frame_preview.h"
#include "prep/frame_sketch.h"
#include "prep_test_support.h"

namespace tarvel {
namespace {

using test::kEmpty;
using test::ScratchFolder;

int count(const DxfDrawing& d, std::string_view layer, DxfKind kind) {
    return static_cast<int>(std::count_if(d.entities.begin(), d.entities.end(), [&](const DxfEntity& e) {
        return e.layer == layer && e.kind == kind;
    }));
}

bool hasText(const DxfDrawing& d, std::string_view layer, std::string_view text) {
    return std::any_of(d.entities.begin(), d.entities.end(), [&](const DxfEntity& e) {
        return e.layer == layer && e.kind == DxfKind::Text && e.text.find(text) != std::string::npos;
    });
}

TEST(FramePreview, FaultsAreFoundAtTheirRowsAndDrawnInRed) {
    ScratchFolder folder;
    JobDatabase db = test::newJob(folder);
    test::fill(db, "BARSEC", {{0.3, 0.6}});
    test::fill(db, "CONCRATE", {{30}});
    // A portal: fixed left base, pinned right base, free top nodes sharing sway.
    test::fill(db, "POINT", {{1, 0, 0, 0, 0, 0}, {2, 0, 0, 1, 6, 0}, {3, 2, 3, 4, 0, 4},
                             {4, 2, 5, 6, 6, 4}, {5, 0, 7, 8, 12, 4}});
    test::fill(db, "BEAM", {{3, 4, 1, 1}, {4, 9, 1, 1}, {4, 5, 2, 1}});
    test::fill(db, "COLUMN", {{1, 3, 1, 1, 0}, {2, 4, 1, 3, 0}});
    test::fill(db, "DLOAD", {{1, 2, 20, 0, 6}, {7, 1, 5, 3, 0}});
    test::fill(db, "SEISMIC2", {{3, 3, kEmpty}, {kEmpty, 4, 100}, {2, 5, 80}});
    const FrameSketch s = sketchJob(db);

    ASSERT_EQ(s.members.size(), 5u);
    EXPECT_FALSE(s.members[0].faulty());
    EXPECT_EQ(s.members[1].endIndex, -1);  // node 9 is not there
    EXPECT_TRUE(s.members[2].badSection);  // one section only
    EXPECT_TRUE(s.members[4].badConcrete);
    EXPECT_EQ(s.members[4].number, 5);     // columns follow the beams
    // Faults by table and row: the members, the load on member 7, the mass on
    // node 5 that cannot sway (the spread mass on nodes 3 and 4 is sound).
    std::vector<std::pair<std::string, int>> rows;
    for (const SketchProblem& p : s.problems) rows.emplace_back(p.table, p.row);
    const std::vector<std::pair<std::string, int>> expected = {
        {"BEAM", 1}, {"BEAM", 2}, {"COLUMN", 1}, {"DLOAD", 1}, {"SEISMIC2", 2}};
    EXPECT_EQ(rows, expected);
    ASSERT_EQ(s.masses.size(), 2u);
    EXPECT_EQ(s.masses[0].node, 3);
    EXPECT_DOUBLE_EQ(s.masses[0].weight, 100.0);
    EXPECT_TRUE(s.masses[1].faulty);

    const DxfDrawing d = framePreview(s, PreviewLoads::Dead);
    namespace lay = preview_layer;
    ASSERT_NE(d.layer(lay::kErrors), nullptr);
    EXPECT_EQ(d.layer(lay::kErrors)->colour, 1);
    // The sound beam and the two columns... one column has a bad grade.
    EXPECT_EQ(count(d, lay::kBeams, DxfKind::Line), 1);
    EXPECT_EQ(count(d, lay::kColumns, DxfKind::Line), 1);
    // Beam 3 and column 2 drawn red; beam 2 a cross (two lines) at node 4.
    EXPECT_EQ(count(d, lay::kErrors, DxfKind::Line), 2 + 2);
    EXPECT_TRUE(hasText(d, lay::kErrors, "末端节点 9 不存在"));
    EXPECT_TRUE(hasText(d, lay::kErrors, "节点 5 没有水平位移编码"));
    // Node numbers; a fixed base (ground and hatching), a pinned one (triangle and ground), a roller.
    EXPECT_EQ(count(d, lay::kNodes, DxfKind::Text), 5);
    EXPECT_EQ(count(d, lay::kSupports, DxfKind::Polyline), 2);
    EXPECT_EQ(count(d, lay::kSupports, DxfKind::Line), 6 + 1 + 1);
    // The uniform dead load on beam 1 with its value; none of the other tables.
    EXPECT_TRUE(hasText(d, lay::kLoads, "20"));
    EXPECT_EQ(count(d, lay::kMasses, DxfKind::Circle), 0);

    const DxfDrawing masses = framePreview(s, PreviewLoads::Masses);
    EXPECT_EQ(count(masses, lay::kMasses, DxfKind::Circle), 1);
    EXPECT_TRUE(hasText(masses, lay::kMasses, "100"));
    EXPECT_EQ(count(masses, lay::kLoads, DxfKind::Polyline), 0);
}

}  // namespace
}  // namespace tarvel
