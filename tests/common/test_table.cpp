// Protects 1-based tables: slot 0 and the upper bound exist, no overlapping slots, range checks.
#include <gtest/gtest.h>

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

#if TARVEL_TABLE_CHECKS
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
