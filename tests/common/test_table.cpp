// Protects 1-based tables: slot 0 and the upper bound exist, no overlapping slots, range checks;
// tables sized to the frame clear what they cover.
#include <gtest/gtest.h>

#include <memory>

#include "common/table.h"

namespace tarvel {
namespace {

TEST(Table, BothEndsOfEachDimensionExist) {
    Table<int, 5> t;
    EXPECT_EQ((Table<int, 5>::rank), 1);
    EXPECT_EQ((Table<int, 5>::upper()), 5);
    EXPECT_EQ(sizeof(Table<double, 5>), 6 * sizeof(double));
    t(0) = 10;
    t(5) = 50;
    EXPECT_EQ(t(0), 10);
    EXPECT_EQ(t(5), 50);
    EXPECT_EQ(t(3), 0);  // a new table holds zeros
}

TEST(Table, EveryIndexPairHasItsOwnSlot) {
    Table<int, 3, 4> t;
    EXPECT_EQ((Table<int, 3, 4>::upper(0)), 3);
    EXPECT_EQ((Table<int, 3, 4>::upper(1)), 4);
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 4; ++j) t(i, j) = 10 * i + j;
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 4; ++j) EXPECT_EQ(t(i, j), 10 * i + j) << i << "," << j;
}

TEST(Table, ThreeDimensions) {
    Table<float, 2, 3, 4> t;
    EXPECT_EQ((Table<float, 2, 3, 4>::rank), 3);
    for (int i = 0; i <= 2; ++i)
        for (int j = 0; j <= 3; ++j)
            for (int k = 0; k <= 4; ++k) t(i, j, k) = static_cast<float>(100 * i + 10 * j + k);
    EXPECT_EQ(t(2, 3, 4), 234.0f);
    EXPECT_EQ(t(1, 0, 2), 102.0f);
    EXPECT_EQ(t(0, 3, 0), 30.0f);
}

TEST(Table, FillAndClear) {
    Table<double, 2, 2> t;
    t.fill(7.5);
    EXPECT_EQ(t(0, 0), 7.5);
    EXPECT_EQ(t(2, 2), 7.5);
    t.clear();
    EXPECT_EQ(t(0, 0), 0.0);
    EXPECT_EQ(t(1, 2), 0.0);
}

TEST(Table, ConstAccess) {
    Table<int, 2> t;
    t(2) = 4;
    const Table<int, 2>& c = t;
    EXPECT_EQ(c(2), 4);
}

// A sized table clears its whole new range, whatever an earlier, larger
// sizing left in it, and compares by its entries.
TEST(SizedTable, ResizingClearsAndCompares) {
    SizedTable<float, 100> a;
    a.resize(10);
    EXPECT_EQ(a.upper(), 10);
    for (int i = 0; i <= 10; ++i) a(i) = static_cast<float>(i + 1);
    a.resize(4);
    EXPECT_EQ(a.upper(), 4);
    a.resize(10);
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(a(i), 0.0f) << i;
    a.resize(100);
    EXPECT_EQ(a(100), 0.0f);

    SizedTable<float, 100> b;
    b.resize(100);
    EXPECT_TRUE(a == b);
    b(37) = 1.0f;
    EXPECT_FALSE(a == b);
    b.resize(99);
    EXPECT_FALSE(a == b);  // the same entries, one fewer
}

// Groups of tables go back to their defaults in place, scalars included.
TEST(Table, RenewRestoresTheDefaults) {
    struct Group {
        int count = 3;
        Table<float, 2, 200> values;
    };
    auto g = std::make_unique<Group>();
    g->count = 9;
    g->values(1, 200) = 5.0f;
    g->values(2, 0) = -1.0f;
    renew(*g);
    EXPECT_EQ(g->count, 3);
    for (const float v : g->values.values()) ASSERT_EQ(v, 0.0f);
}

#if TARVEL_TABLE_CHECKS
TEST(SizedTableDeathTest, IndexBeyondTheSizedRangeStops) {
    SizedTable<int, 100> t;
    t.resize(8);
    EXPECT_DEATH(t(9) = 1, "table index 9 outside 0..8");
    EXPECT_DEATH(t(-1) = 1, "table index -1 outside 0..8");
    EXPECT_DEATH(t.resize(101), "table index 101 outside 0..100");
}

TEST(TableDeathTest, IndexOutsideTheTableStops) {
    Table<int, 5> t;
    EXPECT_DEATH(t(6) = 1, "table index 6 outside 0..5");
    EXPECT_DEATH(t(-1) = 1, "table index -1 outside 0..5");
    Table<int, 3, 4> u;
    EXPECT_DEATH(u(1, 5) = 1, "table index 5 outside 0..4");
}
#endif

}  // namespace
}  // namespace tarvel
