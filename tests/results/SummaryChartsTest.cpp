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

// Six branches of one input (staff) and one output (loans), hand-worked:
//   A(2,4) B(4,4) C(5,10) D(8,4) E(4,6) F(5,5)
// Loans per staff: A 2, B 1, C 2, D 0.5, E 1.5, F 1. Under constant returns
// the input-oriented score is the ratio over the best ratio 2: A and C are
// efficient (and with superefficiency still 100%: each has the other as an
// equal), B 50%, D 25%, E 75%, F 50%.
DataSet sixBranches()
{
    DataSet data = test::makeData({{{2}, {4}}, {{4}, {4}}, {{5}, {10}}, {{8}, {4}}, {{4}, {6}}, {{5}, {5}}});
    data.InputNames = {"", "{I}Staff"};
    data.OutputNames = {"", "{O}Loans"};
    return data;
}

std::unique_ptr<ResultsTable> runModel(Workspace &workspace, const SelectionSet &evaluated,
                                       const SelectionSet &technology)
{
    auto table = std::make_unique<ResultsTable>(workspace.data, workspace.options, workspace.format);
    RunDriver driver(workspace);
    NoProgress progress;
    test::RecordingFeedback feedback;
    SelectionSet eval = evaluated;
    SelectionSet tech = technology;
    EXPECT_EQ(driver.RunModel(eval, tech, *table, progress, feedback), RunOutcome::Completed);
    return table;
}

TEST(RunSummary, OfARunCountsAndAveragesTheShownScores)
{
    Workspace workspace;
    workspace.data = sixBranches();
    workspace.options.ModelName = "CRS_RAD_IN";
    const auto table = runModel(workspace, SelectionSet(6, true), SelectionSet(6, true));
    ASSERT_TRUE(table->runEnded());
    const RunScores &scores = table->scores();
    ASSERT_EQ(scores.evaluated.size(), 6u);

    const RunSummary summary = summarize(scores);
    EXPECT_EQ(summary.evaluated, 6);
    EXPECT_EQ(summary.efficient, 2);
    EXPECT_EQ(summary.big, 0);
    // (1 + 0.5 + 1 + 0.25 + 0.75 + 0.5) / 6; median of 0.25 0.5 0.5 0.75 1 1.
    EXPECT_NEAR(summary.mean, 4.0 / 6.0, 1e-12);
    EXPECT_NEAR(summary.median, 0.625, 1e-12);
    EXPECT_NEAR(summary.minimum, 0.25, 1e-12);
    EXPECT_THAT(summaryFields(summary, scores),
                ElementsAre(Pair("DMUs evaluated", "6"), Pair("Efficient", "2"), Pair("big", "0"),
                            Pair("Mean score", "66.67%"), Pair("Median score", "62.50%"),
                            Pair("Minimum score", "25.00%")));
}

TEST(RunSummary, LeavesBigAndMissingScoresOutOfTheStatistics)
{
    RunScores scores;
    scores.decimals = 1;
    scores.decimalSeparator = ",";
    using Kind = ShownScore::Kind;
    scores.evaluated = {{1, {Kind::Number, 0.5}, false},  {2, {Kind::Big, 0.0}, true},
                        {3, {Kind::Number, 1.2}, true},   {4, {Kind::None, 0.0}, false},
                        {5, {Kind::Number, 0.7}, false}};
    const RunSummary summary = summarize(scores);
    EXPECT_EQ(summary.evaluated, 5);
    EXPECT_EQ(summary.efficient, 2);
    EXPECT_EQ(summary.big, 1);
    EXPECT_EQ(summary.finite, 3);
    EXPECT_THAT(summaryFields(summary, scores),
                ElementsAre(Pair("DMUs evaluated", "5"), Pair("Efficient", "2"), Pair("big", "1"),
                            Pair("Mean score", "80,0%"), Pair("Median score", "70,0%"),
                            Pair("Minimum score", "50,0%")));

    RunScores none;
    none.evaluated = {{1, {Kind::Big, 0.0}, true}};
    EXPECT_EQ(summaryFields(summarize(none), none)[3].second, "\u2013");
}

struct HistogramCase {
    const char *name;
    std::vector<double> scores; // the last `efficient` of them are efficient
    int efficient;
    bool percent;
    std::vector<std::string> labels;
    std::vector<int> counts;
    std::vector<int> efficientCounts;
};

class ScoreHistogramCases : public testing::TestWithParam<HistogramCase> {};

TEST_P(ScoreHistogramCases, BinsOfARoundWidthHoldEveryFiniteScore)
{
    const HistogramCase &c = GetParam();
    RunScores scores;
    scores.percent = c.percent;
    int d = 0;
    for (double value : c.scores) {
        ++d;
        const bool efficient = d > static_cast<int>(c.scores.size()) - c.efficient;
        scores.evaluated.push_back({d, {ShownScore::Kind::Number, value, c.percent}, efficient});
    }
    scores.evaluated.push_back({d + 1, {ShownScore::Kind::Big, 0.0}, true});
    const ScoreHistogram histogram = scoreHistogram(scores);
    EXPECT_EQ(histogram.notShown, 1);
    std::vector<std::string> labels;
    std::vector<int> counts;
    std::vector<int> efficient;
    for (const HistogramBin &bin : histogram.bins) {
        labels.push_back(bin.label);
        counts.push_back(bin.count);
        efficient.push_back(bin.efficient);
    }
    EXPECT_EQ(labels, c.labels);
    // The lower edge alone, for the chart's axis.
    EXPECT_EQ(histogram.bins.front().lowerLabel, c.labels.front().substr(0, c.labels.front().find("\u2013"))
                                                     + (c.percent ? "%" : ""));
    EXPECT_EQ(counts, c.counts);
    EXPECT_EQ(efficient, c.efficientCounts);
}

// Widths: span / 10 rounded up to 1, 2, 2.5 or 5 times a power of ten.
INSTANTIATE_TEST_SUITE_P(
    Worked, ScoreHistogramCases,
    testing::Values(
        // The six branches: span 0.75 -> width 0.1 from 20%; 100% opens the last bin.
        HistogramCase{"SixBranches", {0.25, 0.5, 0.5, 0.75, 1.0, 1.0}, 2, true,
                      {"20\u201330%", "30\u201340%", "40\u201350%", "50\u201360%", "60\u201370%",
                       "70\u201380%", "80\u201390%", "90\u2013100%", "100\u2013110%"},
                      {1, 0, 0, 2, 0, 1, 0, 0, 2},
                      {0, 0, 0, 0, 0, 0, 0, 0, 2}},
        // Span 0.4 -> width 0.05; 0.6 and 1.0 lie exactly on edges.
        HistogramCase{"EdgesExactly", {0.6, 0.8, 1.0}, 1, true,
                      {"60\u201365%", "65\u201370%", "70\u201375%", "75\u201380%", "80\u201385%",
                       "85\u201390%", "90\u201395%", "95\u2013100%", "100\u2013105%"},
                      {1, 0, 0, 0, 1, 0, 0, 0, 1},
                      {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        // Span 0.1 -> width 0.01; a score a hair below 100% still counts as 100%.
        HistogramCase{"AHairBelowAnEdge", {0.9, 0.999999999999, 0.95}, 0, true,
                      {"90\u201391%", "91\u201392%", "92\u201393%", "93\u201394%", "94\u201395%",
                       "95\u201396%", "96\u201397%", "97\u201398%", "98\u201399%", "99\u2013100%",
                       "100\u2013101%"},
                      {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1},
                      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // The additive model's sums of slacks, span 37 -> width 5 from 0.
        HistogramCase{"SumsOfSlacks", {0.0, 12.5, 37.0, 3.0}, 1, false,
                      {"0\u20135", "5\u201310", "10\u201315", "15\u201320", "20\u201325", "25\u201330",
                       "30\u201335", "35\u201340"},
                      {2, 0, 1, 0, 0, 0, 0, 1},
                      {1, 0, 0, 0, 0, 0, 0, 0}},
        // One score only: one bin a tenth of it wide, rounded to 0.25.
        HistogramCase{"OneScore", {2.5}, 0, false, {"2.50\u20132.75"}, {1}, {0}}),
    [](const auto &item) { return std::string(item.param.name); });

TEST(FrontierPicture, OfSixBranchesHasTheRayAndTheHullWorkedByHand)
{
    Workspace workspace;
    workspace.data = sixBranches();
    const auto table = runModel(workspace, SelectionSet(6, true), SelectionSet(6, true));
    const std::optional<FrontierPicture> picture = frontierPicture(table->scores());
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->dmus.size(), 6u);
    EXPECT_TRUE(picture->dmus[0].efficient);  // A
    EXPECT_FALSE(picture->dmus[1].efficient); // B
    EXPECT_TRUE(picture->dmus[2].efficient);  // C
    EXPECT_EQ(picture->xMax, 8.0);
    EXPECT_EQ(picture->yMax, 10.0);
    // Slope 2 (A and C) meets the top edge y = 10 at x = 5.
    ASSERT_TRUE(picture->crsEnd);
    EXPECT_EQ(*picture->crsEnd, (PlotPoint{5.0, 10.0}));
    // E(4,6) lies below the segment A-C (y = 7 at x = 4); B, D, F are dominated.
    EXPECT_THAT(picture->vrsHull,
                ElementsAre(PlotPoint{2, 0}, PlotPoint{2, 4}, PlotPoint{5, 10}, PlotPoint{8, 10}));
}

TEST(FrontierPicture, SpansOnlyTheTechnologyAndNeedsOneInputAndOneOutput)
{
    Workspace workspace;
    workspace.data = sixBranches();
    // Without C in the technology: A(2,4) and E(4,6) span it, slope 2 from A.
    const auto table = runModel(workspace, SelectionSet(6, true), test::selection(6, {1, 2, 4, 5, 6}));
    const std::optional<FrontierPicture> picture = frontierPicture(table->scores());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->dmus.size(), 6u);
    EXPECT_FALSE(picture->dmus[2].technology);
    // Ray slope 2 meets x = 5 (10 / 2) at the top edge y = 10 set by C.
    EXPECT_EQ(*picture->crsEnd, (PlotPoint{5.0, 10.0}));
    // B(4,4), F(5,5) and D(8,4) lie below E's level.
    EXPECT_THAT(picture->vrsHull,
                ElementsAre(PlotPoint{2, 0}, PlotPoint{2, 4}, PlotPoint{4, 6}, PlotPoint{8, 6}));

    EXPECT_THAT(vrsCorners({{1, 0.5}, {2, 2}, {3, 1}, {4, 3}, {5, 4.5}}),
                ElementsAre(PlotPoint{1, 0.5}, PlotPoint{2, 2}, PlotPoint{5, 4.5}));

    // Spots of 1 x 1 over [0, 2] x [0, 2]: D1 and D2 share one; efficient D3 is kept there too.
    FrontierPicture spots;
    spots.xMax = spots.yMax = 2.0;
    spots.dmus = {{1, 0.1, 0.1, true, true, false}, {2, 0.9, 0.5, true, true, false},
                  {3, 0.5, 0.5, true, true, true},  {4, 1.5, 0.2, true, true, false},
                  {5, 2.0, 2.0, true, true, false}};
    std::vector<int> drawn;
    for (const PlotDmu &dmu : dmusToDraw(spots, 2, 2))
        drawn.push_back(dmu.dmu);
    EXPECT_EQ(drawn, (std::vector<int>{1, 3, 4, 5}));

    Workspace two;
    two.data = test::makeData({{{1, 2}, {3}}, {{2, 1}, {3}}});
    const auto twoInputs = runModel(two, SelectionSet(2, true), SelectionSet(2, true));
    EXPECT_FALSE(frontierPicture(twoInputs->scores()));
}

} // namespace
} // namespace zelvar
