#include "RunInputs.h"

#include "results/ResultsTable.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using test::RunInputs;
using test::Row;
using test::rowCells;

// Whether columns 1 .. last of row d are cyan and the label cell is not.
bool highlighted(const TextGrid &grid, int d)
{
    if (grid.colour(d, 0) != TextGrid::White)
        return false;
    for (int c = 1; c < grid.cols(); ++c)
        if (grid.colour(d, c) != TextGrid::Cyan)
            return false;
    return true;
}

bool plain(const TextGrid &grid, int d)
{
    for (int c = 0; c < grid.cols(); ++c)
        if (grid.colour(d, c) != TextGrid::White)
            return false;
    return true;
}

// Eight DMUs, one input and one output; DMUs 1-4 evaluated against a
// technology of DMUs 1-7, DMU 8 in neither list. DMU 2 is enveloped by DMUs
// 1 and 6, DMU 3 by DMU 1; DMUs 1 and 4 are efficient, and DMU 6 is
// efficient as a benchmark.
class LpReferences : public ::testing::Test {
protected:
    LpReferences()
        : run({{1}, {2}, {2}, {1}, {3}, {1}, {4}, {5}}, {{1}, {1}, {1}, {1}, {1}, {1}, {1}, {1}}),
          table((prepare(), run.data), run.options, run.format)
    {
    }

    void prepare()
    {
        run.options.Superefficiency = false;
        run.eval.selectRange(1, 4);
        run.tech.selectRange(1, 7);
        run.store.Efficient[1] = 1;
        run.store.Efficient[4] = 1;
        run.store.Efficient[6] = 1;
        run.store.ReferenceCount[1] = 2;
        run.store.ReferenceCount[6] = 1;
        run.store.Benchmarks[2] = " 1 (0.50)  6 (0.50) ";
        run.store.Benchmarks[3] = " 1 (1.00) ";
    }

    void finishRun()
    {
        table.ShowReferences(run.view());
        table.WriteNonevaluated(run.view());
    }

    RunInputs run;
    ResultsTable table;
};

TEST_F(LpReferences, EfficientDmuShowsItsReferenceCountAndIsHighlighted)
{
    finishRun();
    EXPECT_EQ(table.grid().text(1, 5), "2");
    EXPECT_TRUE(highlighted(table.grid(), 1));
}

TEST_F(LpReferences, AnUnreferencedEfficientUnitShowsZero)
{
    finishRun();
    EXPECT_EQ(table.grid().text(4, 5), "0");
    EXPECT_TRUE(highlighted(table.grid(), 4));
}

TEST_F(LpReferences, InefficientDmuShowsItsBenchmarkList)
{
    finishRun();
    EXPECT_EQ(table.grid().text(2, 5), " 1 (0.50)  6 (0.50) ");
    EXPECT_EQ(table.grid().text(3, 5), " 1 (1.00) ");
    EXPECT_TRUE(plain(table.grid(), 2));
    EXPECT_TRUE(plain(table.grid(), 3));
}

TEST_F(LpReferences, TechnologyOnlyDmusGetTheirNames)
{
    finishRun();
    const TextGrid &grid = table.grid();
    EXPECT_EQ(rowCells(grid, 5), (Row{"    Unit5", "", "", "", "", "", ""}));
    EXPECT_EQ(rowCells(grid, 7), (Row{"    Unit7", "", "", "", "", "", ""}));
    EXPECT_TRUE(plain(grid, 5));
}

TEST_F(LpReferences, EfficientTechnologyOnlyDmuIsHighlightedWithItsCount)
{
    finishRun();
    EXPECT_EQ(rowCells(table.grid(), 6), (Row{"    Unit6", "", "", "", "1", "", ""}));
    EXPECT_TRUE(highlighted(table.grid(), 6));
}

TEST_F(LpReferences, DmuInNeitherListStaysEmpty)
{
    finishRun();
    EXPECT_EQ(rowCells(table.grid(), 8), Row(7, ""));
    EXPECT_EQ(table.grid().text(8, 0), "8");
    EXPECT_TRUE(plain(table.grid(), 8));
}

TEST_F(LpReferences, EvaluatedRowsKeepWhatShowresultsWrote)
{
    run.store.Score[2] = 0.5;
    run.solution({1.0, 0.5}, {0.0, 0.0});
    table.Showresults(2, run.view(), run.lp);
    finishRun();
    // Input weight 1 and output weight 0.5 over the virtual output 0.5; no slacks.
    EXPECT_EQ(rowCells(table.grid(), 2), (Row{"    Unit2", "50.00%", "2.00", "1.00", " 1 (0.50)  6 (0.50) ",
                                               "0.00", "0.00"}));
}

// Five DMUs with two inputs and one output; DMUs 1-3 evaluated against a
// technology of all five. DMU 2 (3, 3) is dominated by DMU 1 (2, 2) and
// DMU 4 (1, 3); DMUs 1 and 3 are not dominated.
class FdhRows : public ::testing::Test {
protected:
    FdhRows()
        : run({{2, 2}, {3, 3}, {1, 1}, {1, 3}, {5, 5}}, {{1}, {1}, {1}, {1}, {0.5}}),
          table((prepare(), run.data), run.options, run.format)
    {
    }

    void prepare()
    {
        run.options.Structure = ModelStructure::FDH;
        run.eval.selectRange(1, 3);
    }

    void evaluate(int d, double score, bool efficient, const std::string &benchmarks, int dominating,
                  const std::string &dominatingList)
    {
        run.store.Score[static_cast<std::size_t>(d)] = score;
        run.store.Efficient[static_cast<std::size_t>(d)] = efficient ? 1 : 0;
        run.store.Benchmarks[static_cast<std::size_t>(d)] = benchmarks;
        run.store.DominatingCount = dominating;
        run.store.DominatingList = dominatingList;
        table.ShowFDHresults(d, run.view());
    }

    void evaluateAll()
    {
        evaluate(1, 1.0, true, "", 0, "");
        // 2 over 3 on both inputs for DMU 1, 1 over 3 on the first for DMU 4.
        evaluate(2, 1.0 / 3.0, false, "4", 2, "  1  4");
        evaluate(3, 1.0, true, "", 0, "");
        run.store.ReferenceCount[4] = 1;
        run.store.DominatedCount[1] = 1;
        run.store.DominatedList[1] = "  2";
        run.store.DominatedCount[4] = 1;
        run.store.DominatedList[4] = "  2";
    }

    RunInputs run;
    ResultsTable table;
};

TEST_F(FdhRows, EvaluatedRowShowsScoreBenchmarksAndDominators)
{
    evaluateAll();
    EXPECT_EQ(rowCells(table.grid(), 2), (Row{"    Unit2", "33.33%", "4", "2", "  1  4", "", ""}));
}

TEST_F(FdhRows, ScoreUsesTheScoreDecimalsAndTheSeparator)
{
    run.format.DecScore = 1;
    run.separator = ",";
    evaluate(2, 0.85, false, "1", 1, "  1");
    EXPECT_EQ(table.grid().text(2, 2), "85,0%");
}

TEST_F(FdhRows, UnscoredDmuKeepsAnEmptyScoreAndTheReasonAsBenchmarks)
{
    run.store.NoScore[2] = 1;
    evaluate(2, 0.0, false, "no score: no positive input", 2, "  1  4");
    EXPECT_EQ(rowCells(table.grid(), 2),
              (Row{"    Unit2", "", "no score: no positive input", "2", "  1  4", "", ""}));
}

TEST_F(FdhRows, ReferencesFillDominanceColumnsOfEveryRow)
{
    evaluateAll();
    table.ShowReferences(run.view());
    const TextGrid &grid = table.grid();
    EXPECT_EQ(rowCells(grid, 1), (Row{"    Unit1", "100.00%", "0", "0", "", "1", "  2"}));
    EXPECT_TRUE(highlighted(grid, 1));
    // An inefficient DMU keeps its benchmark list.
    EXPECT_EQ(rowCells(grid, 2), (Row{"    Unit2", "33.33%", "4", "2", "  1  4", "0", ""}));
    EXPECT_TRUE(plain(grid, 2));
    EXPECT_EQ(rowCells(grid, 3), (Row{"    Unit3", "100.00%", "0", "0", "", "0", ""}));
    EXPECT_TRUE(highlighted(grid, 3));
}

TEST_F(FdhRows, TechnologyOnlyRowsShowNameAndDominanceColumnsOnly)
{
    evaluateAll();
    table.ShowReferences(run.view());
    table.WriteNonevaluated(run.view());
    const TextGrid &grid = table.grid();
    EXPECT_EQ(rowCells(grid, 4), (Row{"    Unit4", "", "", "", "", "1", "  2"}));
    EXPECT_EQ(rowCells(grid, 5), (Row{"    Unit5", "", "", "", "", "0", ""}));
    EXPECT_TRUE(plain(grid, 4));
    EXPECT_TRUE(plain(grid, 5));
}

TEST(ShortSelections, RowsBeyondTheSelectionListsAreLeftAlone)
{
    RunInputs run({{1}, {2}, {3}}, {{1}, {1}, {1}});
    const ResultsTable layout(run.data, run.options, run.format);
    ResultsTable table = layout;
    run.eval = SelectionSet(2, false);
    run.tech = SelectionSet(2, true);
    run.store.Efficient.assign(2, 0); // a list the engine sized too short
    table.ShowReferences(run.view());
    table.WriteNonevaluated(run.view());
    EXPECT_EQ(table.grid().text(2, 1), "    Unit2");
    EXPECT_EQ(table.grid().text(3, 1), "");
}

} // namespace
} // namespace zelvar
