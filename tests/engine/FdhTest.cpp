#include "support/TestSupport.h"

#include "engine/FdhEvaluation.h"
#include "engine/RunDriver.h"
#include "session/ModelOptions.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

// An FDH run over the given units, everything in both sets unless told.
struct FdhRun {
    FdhRun(const std::vector<test::Unit> &units, const char *orientation)
    {
        workspace.data = test::makeData(units);
        workspace.options.Structure = ModelStructure::FDH;
        workspace.options.Orientation = orientationFromCode(orientation).value();
        eval = SelectionSet(workspace.data.NumDMU, true);
        tech = SelectionSet(workspace.data.NumDMU, true);
    }
    RunOutcome run()
    {
        RunDriver driver(workspace);
        const RunOutcome outcome = driver.RunModel(eval, tech, results, progress, feedback);
        store = driver.store();
        return outcome;
    }

    Workspace workspace;
    SelectionSet eval;
    SelectionSet tech;
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    ResultStore store;
};

const std::vector<test::Unit> threeUnits{{{2}, {2}}, {{4}, {2}}, {{4}, {3}}};

TEST(Fdh, inputOrientationScoresByTheBestDominatingDmu)
{
    FdhRun f(threeUnits, "IN");
    EXPECT_EQ(f.run(), RunOutcome::Completed);
    EXPECT_DOUBLE_EQ(f.store.Score[2], 0.5);
    EXPECT_EQ(f.store.Benchmarks[2], "1");
    EXPECT_FALSE(f.store.Efficient[2]);
    EXPECT_EQ(f.store.ReferenceCount[1], 1);
    EXPECT_EQ(f.store.ReferenceCount[3], 0);
    EXPECT_EQ(f.results.row(2).dominatingCount, 2);
    EXPECT_EQ(f.results.row(2).dominatingList, "  1  3");
    for (int d : {1, 3}) {
        EXPECT_EQ(f.store.Score[static_cast<std::size_t>(d)], 1.0);
        EXPECT_TRUE(f.store.Efficient[static_cast<std::size_t>(d)]);
        EXPECT_TRUE(f.store.Benchmarks[static_cast<std::size_t>(d)].empty());
        EXPECT_EQ(f.results.row(d).dominatingCount, 0);
        EXPECT_EQ(f.results.row(d).dominatingList, "");
    }
    EXPECT_EQ(f.store.DominatedCount[1], 1);
    EXPECT_EQ(f.store.DominatedCount[3], 1);
    EXPECT_EQ(f.store.DominatedCount[2], 0);
    EXPECT_EQ(f.store.DominatedList[1], "  2");
    EXPECT_EQ(f.store.DominatedList[3], "  2");
    EXPECT_EQ(f.results.calls,
              (std::vector<std::string>{"redraw off", "ShowFDHresults 1", "ShowFDHresults 2",
                                        "ShowFDHresults 3", "ShowReferences", "WriteNonevaluated",
                                        "redraw on"}));
}

TEST(Fdh, outputOrientationTieWithTheStartValueIsReplacedByABetterDmu)
{
    FdhRun f(threeUnits, "OUT");
    f.run();
    // DMU 1 offers 2/2 = 1 (a tie with the start value), DMU 3 offers 3/2.
    EXPECT_DOUBLE_EQ(f.store.Score[2], 1.5);
    EXPECT_EQ(f.store.Benchmarks[2], " 3");
    EXPECT_EQ(f.store.ReferenceCount[1], 0);
    EXPECT_EQ(f.store.ReferenceCount[3], 1);
}

TEST(Fdh, inputOrientationTieWithTheStartValueComesFirst)
{
    FdhRun f({{{4}, {3}}, {{4}, {2}}, {{2}, {2}}}, "IN");
    f.run();
    EXPECT_DOUBLE_EQ(f.store.Score[2], 0.5);
    EXPECT_EQ(f.store.Benchmarks[2], "3");
    EXPECT_EQ(f.store.ReferenceCount[1], 0);
    EXPECT_EQ(f.store.ReferenceCount[3], 1);
}

TEST(Fdh, equallyGoodDominatingDmusAreAllBenchmarks)
{
    FdhRun in({{{4, 2}, {1}}, {{2, 1}, {1}}, {{1, 2}, {3}}}, "IN");
    in.eval = test::selection(3, {1});
    in.run();
    // DMU 2 offers max(2/4, 1/2) = 0.5, DMU 3 max(1/4, 2/2) = 1: only DMU 2.
    EXPECT_EQ(in.store.Benchmarks[1], "2");

    FdhRun tie({{{4}, {1}}, {{2}, {1}}, {{2}, {5}}}, "IN");
    tie.eval = test::selection(3, {1});
    tie.run();
    EXPECT_DOUBLE_EQ(tie.store.Score[1], 0.5);
    EXPECT_EQ(tie.store.Benchmarks[1], "2 3");
    EXPECT_EQ(tie.store.ReferenceCount[2], 1);
    EXPECT_EQ(tie.store.ReferenceCount[3], 1);

    FdhRun out({{{4}, {1}}, {{2}, {3}}, {{4}, {3}}}, "OUT");
    out.eval = test::selection(3, {1});
    out.run();
    EXPECT_DOUBLE_EQ(out.store.Score[1], 3.0);
    EXPECT_EQ(out.store.Benchmarks[1], " 2 3");
}

TEST(Fdh, aDuplicateDominatesWithoutImprovement)
{
    FdhRun f({{{3, 1}, {2}}, {{3, 1}, {2}}}, "IN");
    f.run();
    for (int d : {1, 2}) {
        const auto dd = static_cast<std::size_t>(d);
        EXPECT_EQ(f.store.Score[dd], 1.0);
        EXPECT_FALSE(f.store.Efficient[dd]);
        EXPECT_EQ(f.store.ReferenceCount[dd], 1);
    }
    EXPECT_EQ(f.store.Benchmarks[1], " 2");
    EXPECT_EQ(f.store.Benchmarks[2], " 1");
}

TEST(Fdh, comparisonsAreExact)
{
    FdhRun f({{{2}, {2}}, {{2.000000000001}, {2}}}, "IN");
    f.run();
    EXPECT_TRUE(f.store.Efficient[2] == 0);
    EXPECT_TRUE(f.store.Efficient[1] != 0); // DMU 2 uses a hair more input
}

TEST(Fdh, aZeroInputIsLeftOutOfTheRatiosButMustNotBeExceeded)
{
    FdhRun f({{{0, 4}, {1}}, {{0, 2}, {1}}, {{1, 1}, {1}}}, "IN");
    f.run();
    EXPECT_DOUBLE_EQ(f.store.Score[1], 0.5);
    EXPECT_EQ(f.results.row(1).dominatingList, "  2"); // DMU 3 uses input 1
}

TEST(Fdh, onlyTheSelectedTechnologyDominates)
{
    // DMU 1 is evaluated outside the technology {2, 3, 4}; DMU 4 spans the
    // technology without being evaluated and still dominates and is a benchmark.
    FdhRun f({{{4}, {1}}, {{3}, {1}}, {{1}, {1}}, {{2}, {2}}}, "IN");
    f.eval = test::selection(4, {1, 2});
    f.tech = test::selection(4, {2, 3, 4});
    f.run();
    EXPECT_EQ(f.results.row(1).name, "{X} D1");
    EXPECT_EQ(f.results.row(2).name, "    D2");
    EXPECT_FALSE(f.results.row(1).techSelected); // the set is not changed in FDH
    EXPECT_DOUBLE_EQ(f.store.Score[1], 0.25);
    EXPECT_EQ(f.store.Benchmarks[1], "3");
    EXPECT_EQ(f.results.row(1).dominatingList, "  2  3  4");
    EXPECT_DOUBLE_EQ(f.store.Score[2], 1.0 / 3.0);
    EXPECT_EQ(f.store.ReferenceCount[3], 2);
    EXPECT_EQ(f.store.DominatedList[3], "  1  2");
    EXPECT_EQ(f.store.DominatedList[4], "  1  2");
    EXPECT_EQ(f.store.DominatedCount[2], 1);
    // DMU 1 is no technology DMU: it dominates nobody.
    EXPECT_EQ(f.store.DominatedCount[1], 0);
    EXPECT_EQ(f.tech, test::selection(4, {2, 3, 4}));
}

TEST(Fdh, dominatedListsHoldTheEvaluatedDmusInAscendingOrder)
{
    std::vector<test::Unit> units(8, test::Unit{{5}, {5}});
    units[1] = {{6}, {4}}; // DMU 2
    units[6] = {{7}, {1}}; // DMU 7
    units[4] = {{5}, {5}}; // DMU 5 (like its neighbours) dominates 2 and 7
    FdhRun f(units, "IN");
    f.tech = test::selection(8, {5});
    f.run();
    EXPECT_EQ(f.store.DominatedCount[5], 7);
    f.eval = test::selection(8, {2, 7});
    f.run();
    EXPECT_EQ(f.store.DominatedCount[5], 2);
    EXPECT_EQ(f.store.DominatedList[5], "  2  7");
}

TEST(Fdh, aDominatedDmuWithoutAPositiveInputGetsNoScore)
{
    FdhRun f({{{0}, {1}}, {{0}, {2}}, {{1}, {3}}}, "IN");
    f.run();
    EXPECT_TRUE(f.store.NoScore[1]);
    EXPECT_EQ(f.store.Score[1], 0.0);
    EXPECT_FALSE(f.store.Efficient[1]);
    EXPECT_EQ(f.store.Benchmarks[1], FdhNoPositiveInput);
    EXPECT_EQ(f.results.row(1).dominatingList, "  2"); // dominance itself is sound
    EXPECT_EQ(f.store.DominatedList[2], "  1");
    EXPECT_EQ(f.store.ReferenceCount[2], 0);
    EXPECT_TRUE(f.store.Efficient[2]);
    EXPECT_FALSE(f.store.NoScore[2]);
}

TEST(Fdh, aDominatedDmuWithoutAPositiveOutputGetsNoScore)
{
    FdhRun f({{{1}, {0}}, {{1}, {1}}}, "OUT");
    f.run();
    EXPECT_TRUE(f.store.NoScore[1]);
    EXPECT_EQ(f.store.Score[1], 0.0);
    EXPECT_EQ(f.store.Benchmarks[1], FdhNoPositiveOutput);
    EXPECT_EQ(f.store.ReferenceCount[2], 0);
    EXPECT_TRUE(f.store.Efficient[2]);
}

TEST(Fdh, anUndominatedDmuWithoutAPositiveInputIsEfficient)
{
    FdhRun f({{{0}, {3}}, {{1}, {1}}}, "IN");
    f.run();
    EXPECT_TRUE(f.store.Efficient[1]);
    EXPECT_EQ(f.store.Score[1], 1.0);
    EXPECT_FALSE(f.store.NoScore[1]);
}

TEST(Fdh, aLaterRunStartsFromCleanDominanceLists)
{
    FdhRun f(threeUnits, "IN");
    f.run();
    f.workspace.options.Structure = ModelStructure::Convex;
    f.run();
    f.workspace.options.Structure = ModelStructure::FDH;
    f.eval = test::selection(3, {1});
    f.run();
    EXPECT_EQ(f.store.DominatedCount, (std::vector<std::int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(f.store.DominatedList[1], "");
    EXPECT_EQ(f.store.Score[2], 0.0);
    EXPECT_EQ(f.store.Benchmarks[2], "");
}

} // namespace
} // namespace zelvar
