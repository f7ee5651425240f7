#include "archive/ChapterTimeTable.h"

#include <gtest/gtest.h>

#include <vector>

// The table is filled chapter by chapter in every archive, the thumbnail strip's included:
// it holds the rows written, never the whole 600 x 1000 grid.
TEST(ChapterTimeTableTest, HoldsOnlyTheRowsOfChaptersWritten) {
    ChapterTimeTable table;
    EXPECT_EQ(table.heldRows(), 0u) << "new table";

    table.writeRows(2, std::vector<ChapterRow>(600, ChapterRow{5, 1, 40}));
    table.writeRows(7, std::vector<ChapterRow>(3, ChapterRow{9, 2, 50}));
    table.writeRows(7, std::vector<ChapterRow>(1, ChapterRow{11, 0, 60}));
    table.writeRows(599, std::vector<ChapterRow>(2000, ChapterRow{1, 1, 1}));
    EXPECT_EQ(table.heldRows(), 600u + 3u + 1000u) << "written chapters, capped at 1000 rows";
    EXPECT_EQ(table.row(7, 0).speed, 60) << "replaced row";
    EXPECT_EQ(table.row(7, 2).speed, 50) << "a shorter write keeps the later rows";
    EXPECT_EQ(table.row(2, 600).timeStamp, 0) << "past the rows written";

    table.clear();
    EXPECT_EQ(table.heldRows(), 0u) << "after clear";
    EXPECT_EQ(table.row(2, 0).timeStamp, 0) << "after clear";
}
