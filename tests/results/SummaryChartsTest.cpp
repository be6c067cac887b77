#include "support/TestSupport.h"

#include "engine/RunDriver.h"
#include "results/FrontierPicture.h"
#include "results/ResultsTable.h"
#include "results/RunSummary.h"
#include "results/ScoreHistogram.h"
#include "session/Workspace.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace zelvar {
namespace {

using testing::ElementsAre;
using testing::Pair;
using Kind = ShownScore::Kind;

// Six branches of one input (staff) and one output (loans), worked by hand:
//   A(2,4) B(4,4) C(5,10) D(8,4) E(4,6) F(5,5)
// Loans per staff: A 2, B 1, C 2, D 0.5, E 1.5, F 1. Under constant returns
// the input-oriented score is the ratio over the best ratio 2: A and C are
// efficient (with superefficiency still 100%, each having the other as an
// equal), B 50%, D 25%, E 75%, F 50%.
std::unique_ptr<ResultsTable> sixBranchesRun(const SelectionSet &technology)
{
    Workspace workspace;
    workspace.data = test::makeData({{{2}, {4}}, {{4}, {4}}, {{5}, {10}}, {{8}, {4}}, {{4}, {6}}, {{5}, {5}}});
    workspace.data.InputNames = {"", "{I}Staff"};
    workspace.data.OutputNames = {"", "{O}Loans"};
    auto table = std::make_unique<ResultsTable>(workspace.data, workspace.options, workspace.format);
    RunDriver driver(workspace);
    NoProgress progress;
    test::RecordingFeedback feedback;
    SelectionSet eval(6, true);
    SelectionSet tech = technology;
    EXPECT_EQ(driver.RunModel(eval, tech, *table, progress, feedback), RunOutcome::Completed);
    return table;
}

TEST(RunSummary, CountsTheRunAndAveragesItsFiniteScores)
{
    const auto table = sixBranchesRun(SelectionSet(6, true));
    ASSERT_TRUE(table->runEnded());
    const RunSummary summary = summarize(table->scores());
    EXPECT_EQ(summary.efficient, 2);
    // (1 + 0.5 + 1 + 0.25 + 0.75 + 0.5) / 6; median of 0.25 0.5 0.5 0.75 1 1.
    EXPECT_NEAR(summary.mean, 4.0 / 6.0, 1e-12);
    EXPECT_THAT(summaryFields(summary, table->scores()),
                ElementsAre(Pair("DMUs evaluated", "6"), Pair("Efficient", "2"), Pair("big", "0"),
                            Pair("Mean score", "66.67%"), Pair("Median score", "62.50%"),
                            Pair("Minimum score", "25.00%")));

    // "big" and no score count only as evaluated; the separator and decimals are the table's.
    RunScores scores;
    scores.decimals = 1;
    scores.decimalSeparator = ",";
    scores.evaluated = {{1, {Kind::Number, 0.5}, false}, {2, {Kind::Big, 0.0}, true},
                        {3, {Kind::Number, 1.2}, true},  {4, {Kind::None, 0.0}, false},
                        {5, {Kind::Number, 0.7}, false}};
    EXPECT_THAT(summaryFields(summarize(scores), scores),
                ElementsAre(Pair("DMUs evaluated", "5"), Pair("Efficient", "2"), Pair("big", "1"),
                            Pair("Mean score", "80,0%"), Pair("Median score", "70,0%"),
                            Pair("Minimum score", "50,0%")));
    scores.evaluated.resize(2);
    scores.evaluated[0].score.kind = Kind::None;
    EXPECT_EQ(summaryFields(summarize(scores), scores)[3].second, "\u2013");
}

struct HistogramCase {
    const char *name;
    std::vector<double> scores; // the last `efficient` of them are efficient
    int efficient;
    bool percent;
    std::string first, last; // labels of the first and the last bin
    std::vector<int> counts;
    std::vector<int> efficientCounts;
};

class ScoreHistogramCases : public testing::TestWithParam<HistogramCase> {};

TEST_P(ScoreHistogramCases, BinsOfARoundWidthHoldEveryFiniteScore)
{
    const HistogramCase &c = GetParam();
    RunScores scores;
    scores.percent = c.percent;
    const int count = static_cast<int>(c.scores.size());
    for (int d = 1; d <= count; ++d)
        scores.evaluated.push_back({d, {Kind::Number, c.scores[static_cast<std::size_t>(d - 1)], c.percent},
                                    d > count - c.efficient});
    scores.evaluated.push_back({count + 1, {Kind::Big, 0.0}, true});
    const ScoreHistogram histogram = scoreHistogram(scores);
    EXPECT_EQ(histogram.notShown, 1);
    std::vector<int> counts;
    std::vector<int> efficient;
    for (const HistogramBin &bin : histogram.bins) {
        counts.push_back(bin.count);
        efficient.push_back(bin.efficient);
    }
    EXPECT_EQ(counts, c.counts);
    EXPECT_EQ(efficient, c.efficientCounts);
    ASSERT_FALSE(histogram.bins.empty());
    EXPECT_EQ(histogram.bins.front().label, c.first);
    EXPECT_EQ(histogram.bins.back().label, c.last);
    EXPECT_EQ(histogram.bins.front().lowerLabel, c.first.substr(0, c.first.find("\u2013")) + (c.percent ? "%" : ""));
}

// Widths: the span of the scores / 10, rounded up to 1, 2, 2.5 or 5 times a power of ten.
INSTANTIATE_TEST_SUITE_P(
    Worked, ScoreHistogramCases,
    testing::Values(
        // The six branches: span 0.75 -> width 0.1 from 20%; 100% opens the last bin.
        HistogramCase{"SixBranches", {0.25, 0.5, 0.5, 0.75, 1.0, 1.0}, 2, true, "20\u201330%", "100\u2013110%",
                      {1, 0, 0, 2, 0, 1, 0, 0, 2}, {0, 0, 0, 0, 0, 0, 0, 0, 2}},
        // Span 0.4 -> width 0.05; 0.6 and 1.0 lie exactly on edges.
        HistogramCase{"EdgesExactly", {0.6, 0.8, 1.0}, 1, true, "60\u201365%", "100\u2013105%",
                      {1, 0, 0, 0, 1, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        // Span 0.1 -> width 0.01; a score a hair below 100% still counts as 100%.
        HistogramCase{"AHairBelowAnEdge", {0.9, 0.999999999999, 0.95}, 0, true, "90\u201391%", "100\u2013101%",
                      {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // The additive model's sums of slacks: span 37 -> width 5 from 0.
        HistogramCase{"SumsOfSlacks", {0.0, 12.5, 37.0, 3.0}, 1, false, "0\u20135", "35\u201340",
                      {2, 0, 1, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 0, 0, 0}}),
    [](const auto &item) { return std::string(item.param.name); });

TEST(FrontierPicture, HasTheRayAndTheHullOfTheTechnologyWorkedByHand)
{
    const std::optional<FrontierPicture> all = frontierPicture(sixBranchesRun(SelectionSet(6, true))->scores());
    ASSERT_TRUE(all);
    ASSERT_EQ(all->dmus.size(), 6u);
    EXPECT_TRUE(all->dmus[0].efficient && !all->dmus[1].efficient && all->dmus[2].efficient);
    EXPECT_EQ(all->xMax, 8.0);
    EXPECT_EQ(all->yMax, 10.0);
    // Slope 2 (A and C) meets the top edge y = 10 at x = 5; E(4,6) lies below
    // the segment A-C (7 at x = 4); B, D and F are dominated.
    EXPECT_EQ(all->crsEnd, (PlotPoint{5.0, 10.0}));
    EXPECT_THAT(all->vrsHull, ElementsAre(PlotPoint{2, 0}, PlotPoint{2, 4}, PlotPoint{5, 10}, PlotPoint{8, 10}));

    // Without C in the technology: A and E span the hull, then level at E's 6.
    const auto withoutC = frontierPicture(sixBranchesRun(test::selection(6, {1, 2, 4, 5, 6}))->scores());
    ASSERT_TRUE(withoutC);
    EXPECT_FALSE(withoutC->dmus[2].technology);
    EXPECT_EQ(withoutC->crsEnd, (PlotPoint{5.0, 10.0}));
    EXPECT_THAT(withoutC->vrsHull, ElementsAre(PlotPoint{2, 0}, PlotPoint{2, 4}, PlotPoint{4, 6}, PlotPoint{8, 6}));
    // (4,3) lies below the segment (2,2)-(5,4.5), (3,1) right of (2,2) and lower.
    EXPECT_THAT(vrsCorners({{1, 0.5}, {2, 2}, {3, 1}, {4, 3}, {5, 4.5}}),
                ElementsAre(PlotPoint{1, 0.5}, PlotPoint{2, 2}, PlotPoint{5, 4.5}));

    // Spots of 1 x 1 over [0, 2] x [0, 2]: D2 shares D1's; efficient D3 is drawn anyway.
    FrontierPicture spots;
    spots.xMax = spots.yMax = 2.0;
    spots.dmus = {{1, 0.1, 0.1, true, true, false}, {2, 0.9, 0.5, true, true, false},
                  {3, 0.5, 0.5, true, true, true},  {4, 1.5, 0.2, true, true, false},
                  {5, 2.0, 2.0, true, true, false}};
    std::vector<int> drawn;
    for (const PlotDmu &dmu : dmusToDraw(spots, 2, 2))
        drawn.push_back(dmu.dmu);
    EXPECT_EQ(drawn, (std::vector<int>{1, 3, 4, 5}));

    RunScores twoInputs; // no plot: not one input and one output
    twoInputs.evaluated = {{1, {Kind::Number, 1.0}, true}};
    EXPECT_FALSE(frontierPicture(twoInputs));
}

} // namespace
} // namespace zelvar
