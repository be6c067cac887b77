#include "results/TextGrid.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

// A grid of `rows` x `cols` whose cell (r, c) holds "r,c".
TextGrid numberedGrid(int rows, int cols)
{
    TextGrid grid;
    grid.setLayout(std::vector<std::string>(static_cast<std::size_t>(cols)),
                   std::vector<std::string>(static_cast<std::size_t>(rows)));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.setText(r, c, std::to_string(r) + "," + std::to_string(c));
    return grid;
}

TEST(FormatString, EmptyHeaderEntryAndBlankLabelGiveThreeColumnsAndThreeRows)
{
    TextGrid grid;
    grid.setFormatString("|DMU|Score; |1|2");
    ASSERT_EQ(grid.cols(), 3);
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.text(0, 1), "DMU");
    EXPECT_EQ(grid.text(0, 2), "Score");
    EXPECT_EQ(grid.text(1, 0), "1");
    EXPECT_EQ(grid.text(2, 0), "2");
    // The corner cell is labelled by the first row label.
    EXPECT_EQ(grid.text(0, 0), " ");
    EXPECT_EQ(grid.text(1, 1), "");
    EXPECT_EQ(grid.text(2, 2), "");
}

TEST(FormatString, WithoutLabelPartTheGridHasOnlyTheHeaderRow)
{
    TextGrid grid;
    grid.setFormatString("a|b|c|d");
    EXPECT_EQ(grid.cols(), 4);
    EXPECT_EQ(grid.rows(), 1);
    EXPECT_EQ(grid.text(0, 3), "d");
}

TEST(FormatString, OnlyTheFirstSemicolonEndsTheHeaders)
{
    TextGrid grid;
    grid.setFormatString("x|y;1;2|3");
    EXPECT_EQ(grid.cols(), 2);
    ASSERT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.text(0, 0), "1;2");
    EXPECT_EQ(grid.text(1, 0), "3");
}

TEST(FormatString, NewLayoutClearsCellsColoursAndSelection)
{
    TextGrid grid = numberedGrid(3, 3);
    grid.setCurrent(2, 2);
    grid.setSelectionColour(TextGrid::Cyan);
    grid.setColumnWidth(1, 3000);
    grid.setFormatString("|A|B; |1|2");
    EXPECT_EQ(grid.text(2, 2), "");
    EXPECT_EQ(grid.colour(2, 2), TextGrid::White);
    EXPECT_EQ(grid.columnWidth(1), TextGrid::DefaultColumnWidth);
    EXPECT_EQ(grid.currentRow(), 0);
    EXPECT_EQ(grid.selectionCol(), 0);
}

TEST(Selection, RowFromColumnOneToTheLastIsClippedAndColouredExactly)
{
    TextGrid grid = numberedGrid(4, 5);
    grid.setCurrent(2, 1);
    grid.setSelectionEnd(2, grid.cols() - 1);
    EXPECT_EQ(grid.selectionText(), "2,1\t2,2\t2,3\t2,4");

    grid.setSelectionColour(TextGrid::Cyan);
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            const bool selected = r == 2 && c >= 1;
            EXPECT_EQ(grid.colour(r, c), selected ? TextGrid::Cyan : TextGrid::White) << r << "," << c;
        }
    }
}

TEST(Selection, BlockOfTwoRowsReadsWithTabsBetweenCellsAndCrBetweenRows)
{
    TextGrid grid;
    grid.setFormatString("a|b;x|y");
    grid.setText(0, 0, "a");
    grid.setText(0, 1, "b");
    grid.setText(1, 0, "c");
    grid.setText(1, 1, "d");
    grid.setCurrent(0, 0);
    grid.setSelectionEnd(1, 1);
    EXPECT_EQ(grid.selectionText(), "a\tb\rc\td");
}

TEST(Selection, SelectionEndBeforeTheCurrentCellCoversTheSameBlock)
{
    TextGrid grid = numberedGrid(4, 4);
    grid.setCurrent(2, 2);
    grid.setSelectionEnd(1, 1);
    EXPECT_EQ(grid.selectionText(), "1,1\t1,2\r2,1\t2,2");
}

TEST(Selection, SettingTheCurrentCellCollapsesTheSelection)
{
    TextGrid grid = numberedGrid(3, 3);
    grid.setCurrent(0, 0);
    grid.setSelectionEnd(2, 2);
    grid.setCurrent(1, 2);
    EXPECT_EQ(grid.selectionRow(), 1);
    EXPECT_EQ(grid.selectionCol(), 2);
    EXPECT_EQ(grid.selectionText(), "1,2");
    grid.setCurrentText("new");
    EXPECT_EQ(grid.text(1, 2), "new");
}

TEST(OutOfRange, CurrentCellAndSelectionEndAreClampedIntoTheGrid)
{
    TextGrid grid = numberedGrid(3, 4);
    grid.setCurrent(99, -5);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentCol(), 0);
    grid.setSelectionEnd(-1, 40);
    EXPECT_EQ(grid.selectionRow(), 0);
    EXPECT_EQ(grid.selectionCol(), 3);
}

TEST(OutOfRange, WritesOutsideAreIgnoredAndReadsGiveDefaults)
{
    TextGrid grid = numberedGrid(2, 2);
    const auto before = grid.revision();
    grid.setText(2, 0, "x");
    grid.setText(0, -1, "x");
    grid.setColumnWidth(5, 100);
    grid.setRowHeight(-1, 100);
    EXPECT_EQ(grid.revision(), before);
    EXPECT_EQ(grid.text(5, 5), "");
    EXPECT_EQ(grid.colour(-1, 0), TextGrid::White);
    EXPECT_EQ(grid.columnWidth(9), TextGrid::DefaultColumnWidth);
    EXPECT_EQ(grid.rowHeight(9), TextGrid::DefaultRowHeight);
    EXPECT_EQ(grid.blockText(5, 5, 9, 9), "");
    EXPECT_EQ(grid.blockText(-3, -3, 0, 1), "0,0\t0,1");
}

TEST(OutOfRange, AnEmptyGridTakesEveryOperation)
{
    TextGrid grid;
    grid.setCurrent(3, 3);
    grid.setSelectionEnd(4, 4);
    grid.setSelectionColour(TextGrid::Cyan);
    grid.setCurrentText("x");
    EXPECT_EQ(grid.selectionText(), "");
    EXPECT_EQ(grid.currentRow(), 0);
    EXPECT_EQ(grid.rows(), 0);
}

TEST(Columns, SettingTheColumnCountKeepsTheRemainingCells)
{
    TextGrid grid = numberedGrid(2, 3);
    grid.setColumnWidth(1, 1234);
    grid.setCols(2);
    EXPECT_EQ(grid.cols(), 2);
    EXPECT_EQ(grid.text(1, 1), "1,1");
    EXPECT_EQ(grid.text(1, 2), "");
    grid.setCols(4);
    EXPECT_EQ(grid.text(0, 1), "0,1");
    EXPECT_EQ(grid.text(0, 3), "");
    EXPECT_EQ(grid.columnWidth(1), 1234);
    EXPECT_EQ(grid.columnWidth(3), TextGrid::DefaultColumnWidth);
}

TEST(Redraw, SwitchingRedrawingOnAgainCountsAsAChange)
{
    TextGrid grid = numberedGrid(2, 2);
    grid.setRedraw(false);
    EXPECT_FALSE(grid.redraw());
    const auto before = grid.revision();
    grid.setRedraw(true);
    EXPECT_TRUE(grid.redraw());
    EXPECT_GT(grid.revision(), before);
}

} // namespace
} // namespace zelvar
