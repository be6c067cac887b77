// The grid of a results table and its text form, as copied and saved: cells
// joined by TAB, rows by CR alone, a saved file ending in CR LF.

#include "results/ResultsFile.h"
#include "results/TextGrid.h"
#include "support/ResultsSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace zelvar::test {
namespace {

// Corners of a block on a 3 x 4 grid whose cell (r, c) holds "r,c"; taken as
// current cell and selection end they are clamped into the grid.
struct BlockCase {
    int r1, c1, r2, c2;
    const char *block, *selection;
};

class Block : public ::testing::TestWithParam<BlockCase> {};

TEST_P(Block, readsItsCellsAndWhenSelectedColoursExactlyThem)
{
    const BlockCase &b = GetParam();
    TextGrid grid;
    grid.setLayout({"", "", "", ""}, {"", "", ""});
    for (int cell = 0; cell < 12; ++cell)
        grid.setText(cell / 4, cell % 4, std::to_string(cell / 4) + "," + std::to_string(cell % 4));
    EXPECT_EQ(grid.blockText(b.r1, b.c1, b.r2, b.c2), b.block);
    grid.setCurrent(b.r1, b.c1);
    grid.setSelectionEnd(b.r2, b.c2);
    EXPECT_EQ(grid.selectionText(), b.selection);
    grid.setSelectionColour(TextGrid::Cyan);
    for (int cell = 0; cell < 12; ++cell) {
        const bool selected = std::string(b.selection).find(grid.text(cell / 4, cell % 4)) != std::string::npos;
        EXPECT_EQ(grid.colour(cell / 4, cell % 4), selected ? TextGrid::Cyan : TextGrid::White) << cell;
    }
}

const char *const Whole = "0,0\t0,1\t0,2\t0,3\r1,0\t1,1\t1,2\t1,3\r2,0\t2,1\t2,2\t2,3";

INSTANTIATE_TEST_SUITE_P(Corners, Block,
                         ::testing::Values(BlockCase{1, 1, 1, 3, "1,1\t1,2\t1,3", "1,1\t1,2\t1,3"},
                                           BlockCase{2, 2, 1, 1, "1,1\t1,2\r2,1\t2,2", "1,1\t1,2\r2,1\t2,2"},
                                           BlockCase{-3, -3, 0, 1, "0,0\t0,1", "0,0\t0,1"},
                                           BlockCase{5, 5, 9, 9, "", "2,3"}, BlockCase{99, -5, -1, 40, Whole, Whole}));

// Headers a (the first row label), Zürich, c; an empty row labelled " ", one labelled Łódź.
TextGrid smallTable()
{
    TextGrid grid;
    grid.setLayout({"x", "Zürich", "c"}, {"a", " ", "Łódź"});
    grid.setText(2, 2, "f");
    return grid;
}

TEST(ResultsText, isTheWholeGridEndingInCrLfAndSavedByteForByteOverALongerFile)
{
    const std::string saved = "a\tZürich\tc\r \t\t\rŁódź\t\tf\r\n";
    EXPECT_EQ(smallTable().blockText(0, 0, 2, 2) + "\r\n", saved);
    EXPECT_EQ(savedResultsText(smallTable()), saved);
    const ScratchFolder scratch;
    std::ofstream(scratch.path("run.txt")) << std::string(1000, 'x');
    EXPECT_EQ(saveResultsFile(smallTable(), scratch.path("run.txt")), "");
    EXPECT_EQ(fileText(scratch.path("run.txt")), saved);
}

// Cells written over and over in any order, longer and shorter, and columns
// dropped and added: every other cell keeps its text and colour, against a
// plain model of the grid.
TEST(GridCells, keepTheirNeighboursThroughRewritesAndColumnChanges)
{
    TextGrid grid;
    grid.setLayout({"", "h1", "h2"}, {"", "r1", "r2", "r3"});
    std::vector<std::vector<std::string>> model{{"", "h1", "h2"}, {"r1", "", ""}, {"r2", "", ""}, {"r3", "", ""}};
    std::mt19937 random(7);
    for (int step = 0; step < 2000; ++step) {
        const int cols = grid.cols();
        if (random() % 50 == 0) {
            const int wanted = 1 + static_cast<int>(random() % 5);
            grid.setCols(wanted);
            for (auto &row : model)
                row.resize(static_cast<std::size_t>(wanted));
            continue;
        }
        const int row = static_cast<int>(random() % 4), col = static_cast<int>(random() % static_cast<unsigned>(cols));
        const std::string text(random() % 12, static_cast<char>('a' + step % 26));
        grid.setText(row, col, text);
        model[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
        if (step % 7 == 0) {
            grid.setCurrent(row, col);
            grid.setSelectionColour(step % 2 ? TextGrid::Cyan : 0x123456);
        }
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < grid.cols(); ++c)
                ASSERT_EQ(grid.text(r, c), model[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                    << "step " << step << " cell " << r << "," << c;
    }
}

// A column formed from its rows when read shows in every text form; the
// header stays the stored one.
TEST(GridCells, aColumnSourceFormsTheCellsBelowTheHeader)
{
    TextGrid grid = smallTable();
    grid.setColumnSource(1, [](int row) { return "<" + std::to_string(row) + ">"; });
    const std::string saved = "a\tZürich\tc\r \t<1>\t\rŁódź\t<2>\tf\r\n";
    EXPECT_EQ(savedResultsText(grid), saved);
    std::ostringstream streamed;
    writeResultsText(grid, streamed);
    EXPECT_EQ(streamed.str(), saved);
    grid.setColumnSource(1, {});
    EXPECT_EQ(grid.text(1, 1), "");
}

class FailedSave : public ::testing::TestWithParam<std::pair<const char *, const char *>> {};

TEST_P(FailedSave, namesTheFileAndWhy)
{
    const ScratchFolder scratch;
    std::filesystem::create_directory(scratch.path("taken"));
    const std::string path = GetParam().first[0] == '/' ? GetParam().first : scratch.path(GetParam().first);
    const std::string error = saveResultsFile(smallTable(), path);
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(GetParam().second), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Targets, FailedSave,
                         ::testing::Values(std::pair{"no such folder/res.txt", "No such file or directory"},
                                           std::pair{"taken", "Is a directory"},
                                           std::pair{"/dev/full", "No space left on device"}));

} // namespace
} // namespace zelvar::test
