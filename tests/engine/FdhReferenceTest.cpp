// FDH runs on random data sets against a reference that follows the
// pairwise definition literally: every evaluated DMU is compared with every
// technology DMU, the scores and benchmarks are formed in DMU order, and the
// dominated lists are read off the full dominance matrix.

#include "support/TestSupport.h"

#include "engine/FdhEvaluation.h"
#include "engine/RunDriver.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zelvar {
namespace {

struct Expected {
    std::vector<double> score;
    std::vector<char> efficient;
    std::vector<char> noScore;
    std::vector<std::string> benchmarks;
    std::vector<std::int32_t> references;
    std::vector<std::int32_t> dominatingCount; // of each evaluated DMU
    std::vector<std::string> dominatingList;
    std::vector<std::int32_t> dominatedCount;
    std::vector<std::string> dominatedList;
    std::vector<int> evaluated; // in order
};

// evaluatedLimit: how many evaluated DMUs the run got through (a Cancel);
// -1 for all of them.
Expected bruteForce(const DataSet &data, const std::string &orientation, const SelectionSet &eval,
                    const SelectionSet &tech, int evaluatedLimit = -1)
{
    const int n = data.NumDMU;
    const auto size = static_cast<std::size_t>(n) + 1;
    Expected e;
    e.score.assign(size, 0.0);
    e.efficient.assign(size, 0);
    e.noScore.assign(size, 0);
    e.benchmarks.assign(size, "");
    e.references.assign(size, 0);
    e.dominatingCount.assign(size, 0);
    e.dominatingList.assign(size, "");
    e.dominatedCount.assign(size, 0);
    e.dominatedList.assign(size, "");
    std::vector<std::vector<char>> dominance(size, std::vector<char>(size, 0));

    for (int d = 1; d <= n; ++d) {
        if (!eval.selected(d))
            continue;
        if (evaluatedLimit >= 0 && static_cast<int>(e.evaluated.size()) == evaluatedLimit)
            break;
        e.evaluated.push_back(d);
        const auto dd = static_cast<std::size_t>(d);
        bool dominated = false;
        for (int j = 1; j <= n; ++j) {
            if (j == d || !tech.selected(j))
                continue;
            bool all = true;
            for (int i = 1; i <= data.NumInputs; ++i)
                all = all && data.InputData(i, j) <= data.InputData(i, d);
            for (int r = 1; r <= data.NumOutputs; ++r)
                all = all && data.OutputData(r, j) >= data.OutputData(r, d);
            if (all) {
                dominance[dd][static_cast<std::size_t>(j)] = 1;
                dominated = true;
            }
        }
        if (!dominated) {
            e.efficient[dd] = 1;
            e.score[dd] = 1.0;
            continue;
        }
        for (int k = 1; k <= n; ++k)
            if (dominance[dd][static_cast<std::size_t>(k)]) {
                ++e.dominatingCount[dd];
                e.dominatingList[dd] += "  " + std::to_string(k);
            }

        const bool in = orientation == "IN";
        bool positive = false;
        if (in)
            for (int i = 1; i <= data.NumInputs; ++i)
                positive = positive || data.InputData(i, d) > 0;
        else
            for (int r = 1; r <= data.NumOutputs; ++r)
                positive = positive || data.OutputData(r, d) > 0;
        if (!positive) {
            e.noScore[dd] = 1;
            e.benchmarks[dd] = in ? FdhNoPositiveInput : FdhNoPositiveOutput;
            continue;
        }

        double score = 1.0;
        std::vector<char> marks(size, 0);
        for (int j = 1; j <= n; ++j) {
            if (!dominance[dd][static_cast<std::size_t>(j)])
                continue;
            double t = in ? 0.0 : 1e30;
            if (in) {
                for (int i = 1; i <= data.NumInputs; ++i)
                    if (data.InputData(i, d) > 0 && data.InputData(i, j) / data.InputData(i, d) > t)
                        t = data.InputData(i, j) / data.InputData(i, d);
            } else {
                for (int r = 1; r <= data.NumOutputs; ++r)
                    if (data.OutputData(r, d) > 0 && data.OutputData(r, j) / data.OutputData(r, d) < t)
                        t = data.OutputData(r, j) / data.OutputData(r, d);
            }
            if (in ? t < score : t > score) {
                std::fill(marks.begin(), marks.end(), 0);
                score = t;
                e.benchmarks[dd] = (in ? "" : " ") + std::to_string(j);
                marks[static_cast<std::size_t>(j)] = 1;
            } else if (t == score) {
                e.benchmarks[dd] += " " + std::to_string(j);
                marks[static_cast<std::size_t>(j)] = 1;
            }
        }
        e.score[dd] = score;
        for (int k = 1; k <= n; ++k)
            e.references[static_cast<std::size_t>(k)] += marks[static_cast<std::size_t>(k)];
    }

    for (int d = 1; d <= n; ++d)
        for (int j = 1; j <= n; ++j)
            if (dominance[static_cast<std::size_t>(d)][static_cast<std::size_t>(j)]) {
                ++e.dominatedCount[static_cast<std::size_t>(j)];
                e.dominatedList[static_cast<std::size_t>(j)] += "  " + std::to_string(d);
            }
    return e;
}

enum class Values {
    Grid,      // small integers with zeros and duplicate DMUs: many ties
    LogNormal, // continuous, ties only through duplicates
};

struct Case {
    unsigned seed;
    int dmus;
    int inputs;
    int outputs;
    const char *orientation;
    Values values;
    bool partialSets;
    int threads;
};

DataSet randomData(const Case &c)
{
    std::mt19937 random(c.seed);
    std::uniform_int_distribution<int> level(0, 4);
    std::lognormal_distribution<double> size(0.0, 0.5);
    std::bernoulli_distribution zero(0.08);
    std::bernoulli_distribution duplicate(0.1);
    std::vector<test::Unit> units;
    for (int d = 0; d < c.dmus; ++d) {
        if (!units.empty() && duplicate(random)) {
            units.push_back(units[std::uniform_int_distribution<std::size_t>(0, units.size() - 1)(random)]);
            continue;
        }
        auto value = [&] {
            if (zero(random))
                return 0.0;
            return c.values == Values::Grid ? static_cast<double>(level(random)) : 10.0 * size(random);
        };
        test::Unit unit;
        for (int i = 0; i < c.inputs; ++i)
            unit.x.push_back(value());
        for (int r = 0; r < c.outputs; ++r)
            unit.y.push_back(value());
        units.push_back(unit);
    }
    return test::makeData(units);
}

std::vector<Case> cases()
{
    std::vector<Case> list;
    unsigned seed = 11;
    for (const char *orientation : {"IN", "OUT"})
        for (Values values : {Values::Grid, Values::LogNormal})
            for (bool partial : {false, true})
                for (int threads : {1, 3}) {
                    list.push_back({seed, 300, 3, 2, orientation, values, partial, threads});
                    ++seed;
                }
    list.push_back({101, 250, 1, 1, "IN", Values::Grid, true, 2});
    list.push_back({102, 250, 1, 3, "OUT", Values::Grid, false, 2});
    list.push_back({103, 400, 4, 1, "IN", Values::LogNormal, true, 2});
    list.push_back({104, 200, 2, 2, "OUT", Values::Grid, true, 0});
    return list;
}

std::string caseName(const testing::TestParamInfo<Case> &info)
{
    const Case &c = info.param;
    return std::string(c.orientation) + (c.values == Values::Grid ? "_grid_" : "_lognormal_")
        + (c.partialSets ? "partial_" : "all_") + std::to_string(c.inputs) + "in" + std::to_string(c.outputs)
        + "out_" + std::to_string(c.threads) + "threads_seed" + std::to_string(c.seed);
}

class FdhAgainstPairwiseDefinition : public testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        const Case &c = GetParam();
        workspace.data = randomData(c);
        workspace.options.Structure = ModelStructure::FDH;
        workspace.options.Orientation = orientationFromCode(c.orientation).value();
        workspace.threadCount = c.threads;
        const int n = c.dmus;
        eval = SelectionSet(n, true);
        tech = SelectionSet(n, true);
        if (c.partialSets) {
            // About two thirds in each set, overlapping: DMUs evaluated
            // outside the technology, technology DMUs never evaluated, and
            // DMUs in neither.
            std::mt19937 random(c.seed * 7u + 1u);
            std::bernoulli_distribution in(0.67);
            for (int d = 1; d <= n; ++d) {
                eval.select(d, in(random));
                tech.select(d, in(random));
            }
        }
        techBefore = tech;
    }

    void run()
    {
        RunDriver driver(workspace);
        outcome = driver.RunModel(eval, tech, results, progress, feedback);
        store = driver.store();
    }

    void expectMatches(const Expected &e)
    {
        const int n = workspace.data.NumDMU;
        ASSERT_EQ(results.rows.size(), e.evaluated.size());
        for (std::size_t k = 0; k < e.evaluated.size(); ++k) {
            const test::RowSeen &row = results.rows[k];
            const int d = e.evaluated[k];
            const auto dd = static_cast<std::size_t>(d);
            ASSERT_EQ(row.d, d);
            EXPECT_EQ(row.score, e.score[dd]) << "DMU " << d;
            EXPECT_EQ(row.efficient, e.efficient[dd] != 0) << "DMU " << d;
            EXPECT_EQ(row.noScore, e.noScore[dd] != 0) << "DMU " << d;
            EXPECT_EQ(row.benchmarks, e.benchmarks[dd]) << "DMU " << d;
            EXPECT_EQ(row.dominatingCount, e.dominatingCount[dd]) << "DMU " << d;
            EXPECT_EQ(row.dominatingList, e.dominatingList[dd]) << "DMU " << d;
            EXPECT_EQ(row.name.substr(0, 3), tech.selected(d) ? "   " : "{X}") << "DMU " << d;
        }
        for (int d = 1; d <= n; ++d) {
            const auto dd = static_cast<std::size_t>(d);
            EXPECT_EQ(store.Score[dd], e.score[dd]) << "DMU " << d;
            EXPECT_EQ(store.Efficient[dd] != 0, e.efficient[dd] != 0) << "DMU " << d;
            EXPECT_EQ(store.NoScore[dd] != 0, e.noScore[dd] != 0) << "DMU " << d;
            EXPECT_EQ(store.Benchmarks[dd], e.benchmarks[dd]) << "DMU " << d;
            EXPECT_EQ(store.ReferenceCount[dd], e.references[dd]) << "DMU " << d;
            EXPECT_EQ(store.DominatedCount[dd], e.dominatedCount[dd]) << "DMU " << d;
            EXPECT_EQ(store.DominatedList[dd], e.dominatedList[dd]) << "DMU " << d;
        }
    }

    // What a run evaluating `evaluated` one after the other shows.
    std::vector<std::string> sequentialProgress(const std::vector<int> &evaluated, bool cancelled) const
    {
        const int n = workspace.data.NumDMU;
        const int total = eval.selectedCount();
        std::vector<std::string> events{"show " + std::to_string(total)};
        std::size_t done = 0;
        for (int d = 1; d <= n; ++d) {
            events.push_back("repaint");
            if (!eval.selected(d))
                continue;
            if (done == evaluated.size() && cancelled)
                break;
            ++done;
            const long percent = std::lround(100.0 * static_cast<double>(done) / total);
            events.push_back("progress " + std::to_string(done) + " " + std::to_string(percent) + "% completed.");
        }
        events.push_back("close");
        return events;
    }

    Workspace workspace;
    SelectionSet eval;
    SelectionSet tech;
    SelectionSet techBefore;
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    ResultStore store;
    RunOutcome outcome = RunOutcome::NoData;
};

TEST_P(FdhAgainstPairwiseDefinition, everyRowAndListIsThatOfThePairwiseComparison)
{
    run();
    EXPECT_EQ(outcome, RunOutcome::Completed);
    const Expected e = bruteForce(workspace.data, GetParam().orientation, eval, tech);
    expectMatches(e);
    EXPECT_EQ(progress.events, sequentialProgress(e.evaluated, false));
    EXPECT_EQ(tech, techBefore); // FDH never changes the technology set
}

TEST_P(FdhAgainstPairwiseDefinition, aCancelKeepsExactlyTheDmusEvaluatedBeforeIt)
{
    const int before = eval.selectedCount() / 3;
    progress.cancelAfter = before;
    run();
    EXPECT_EQ(outcome, RunOutcome::Stopped);
    // The dominated lists name only the DMUs evaluated before the Cancel.
    const Expected e = bruteForce(workspace.data, GetParam().orientation, eval, tech, before);
    ASSERT_EQ(static_cast<int>(e.evaluated.size()), before);
    expectMatches(e);
    EXPECT_EQ(progress.events, sequentialProgress(e.evaluated, true));
}

INSTANTIATE_TEST_SUITE_P(RandomDataSets, FdhAgainstPairwiseDefinition, testing::ValuesIn(cases()), caseName);

// Values the data readers never produce, but the comparisons still decide:
// a NaN compares false with everything, infinities compare as numbers.
TEST(FdhUnusualValues, nanNeitherDominatesNorIsDominatedAndInfinitiesCompareAsNumbers)
{
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<test::Unit> units{
        {{1, 1}, {1}}, {{1, nan}, {5}}, {{2, 2}, {1}}, {{inf, 1}, {1}}, {{inf, 1}, {1}}, {{1, 1}, {inf}},
    };
    for (int threads : {1, 2}) {
        Workspace workspace;
        workspace.data = test::makeData(units);
        workspace.options.Structure = ModelStructure::FDH;
        workspace.options.Orientation = ModelOrientation::OUT;
        workspace.threadCount = threads;
        SelectionSet eval(6, true);
        SelectionSet tech(6, true);
        test::RecordingResults results;
        test::RecordingProgress progress;
        test::RecordingFeedback feedback;
        RunDriver driver(workspace);
        driver.RunModel(eval, tech, results, progress, feedback);
        const Expected e = bruteForce(workspace.data, "OUT", eval, tech);
        for (int d = 1; d <= 6; ++d) {
            const auto dd = static_cast<std::size_t>(d);
            EXPECT_EQ(results.row(d).dominatingList, e.dominatingList[dd]) << "DMU " << d;
            EXPECT_EQ(driver.store().DominatedList[dd], e.dominatedList[dd]) << "DMU " << d;
        }
        EXPECT_EQ(results.row(2).dominatingList, "");       // the NaN DMU
        EXPECT_EQ(driver.store().DominatedList[2], "");
        EXPECT_EQ(results.row(4).dominatingList, "  1  5  6"); // infinite input: equal to DMU 5's
        EXPECT_EQ(results.row(1).dominatingList, "  6");
    }
}

} // namespace
} // namespace zelvar
