#include "editors/table_grid.h"

#include <gtest/gtest.h>

namespace {

TEST(TableGridTest, EveryPointOfACellFindsItsEntryAndThePointsBesideTheGridNone) {
    for (const int width : {80, 160, 320}) {
        for (int i = 0; i < 64; ++i) {
            SCOPED_TRACE(width * 100 + i);
            const CGridRect cell = GridCellRect(i, width);
            const CGridPoint centre = GridCellCentre(i, width);
            EXPECT_EQ(GridEntryAt(centre.x, centre.y, width, 64), i);
            EXPECT_EQ(GridEntryAt(cell.x, cell.y, width, 64), i);
            EXPECT_EQ(GridEntryAt(cell.x + cell.cx - 1, cell.y + cell.cy - 1, width, 64), i);
        }
    }
    EXPECT_EQ(GridCellRect(9, 80), (CGridRect{85, 33, 80, 20}));
    EXPECT_EQ(GridCellCentre(9, 160), (CGridPoint{245, 43}));
    EXPECT_EQ(GridEntryAt(4, 20, 80, 32), -1);    // left of the first column
    EXPECT_EQ(GridEntryAt(20, 12, 80, 32), -1);   // above the first row
    EXPECT_EQ(GridEntryAt(20, 173, 80, 32), -1);  // below the eighth row
    EXPECT_EQ(GridEntryAt(330, 20, 80, 32), -1);  // right of the fourth of 4 columns
    EXPECT_EQ(GridEntryAt(330, 20, 80, 64), 32);
}

TEST(TableGridTest, KeysRunDownTheColumnsAndAcrossThemAndStopAtTheEnds) {
    EXPECT_EQ(GridMoveTarget(9, GridMove::kDown, 32), 10);
    EXPECT_EQ(GridMoveTarget(9, GridMove::kUp, 32), 8);
    EXPECT_EQ(GridMoveTarget(7, GridMove::kDown, 32), 8);  // on to the next column's head
    EXPECT_EQ(GridMoveTarget(8, GridMove::kUp, 32), 7);
    EXPECT_EQ(GridMoveTarget(9, GridMove::kRight, 32), 17);
    EXPECT_EQ(GridMoveTarget(9, GridMove::kFirst, 32), 0);
    EXPECT_EQ(GridMoveTarget(9, GridMove::kLast, 32), 31);
    EXPECT_EQ(GridMoveTarget(0, GridMove::kUp, 32), -1);
    EXPECT_EQ(GridMoveTarget(3, GridMove::kLeft, 32), -1);
    EXPECT_EQ(GridMoveTarget(31, GridMove::kDown, 32), -1);
    EXPECT_EQ(GridMoveTarget(26, GridMove::kRight, 32), -1);
    EXPECT_EQ(GridMoveTarget(26, GridMove::kRight, 64), 34);
    EXPECT_EQ(GridMoveTarget(40, GridMove::kUp, 32), 0);  // from no entry: the first
    EXPECT_EQ(GridMoveTarget(0, GridMove::kDown, 0), -1);
}

}  // namespace
