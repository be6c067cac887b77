// The free disposal hull against its pairwise definition: every evaluated DMU
// compared with every technology DMU, benchmarks formed in DMU order.

#include "support/TestSupport.h"

#include "engine/FdhEvaluation.h"
#include "engine/FdhLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>

namespace zelvar {
namespace {

struct Expected {
    ResultStore store; // Score, Efficient, NoScore, Benchmarks, ReferenceCount, DominatedCount
    std::vector<std::string> dominating, dominated;
    std::vector<int> evaluated; // in order
};

// What the definition gives when the first `limit` evaluated DMUs (all: -1)
// are evaluated. A dominated DMU gets the best radial factor a dominating DMU
// offers, starting from 1 (a DMU offering exactly that ties with it); input
// orientation: the largest input ratio, smallest over the dominators.
Expected pairwise(const DataSet &data, bool in, const SelectionSet &eval, const SelectionSet &tech, int limit)
{
    const int n = data.NumDMU;
    const int count = in ? data.NumInputs : data.NumOutputs; // the values a factor scales
    auto value = [&](int v, int j) { return in ? data.InputData(v, j) : data.OutputData(v, j); };
    Expected e;
    e.store.allocateResults(n, true);
    e.dominating.assign(static_cast<std::size_t>(n) + 1, "");
    e.dominated = e.dominating;
    for (int d = 1; d <= n && static_cast<int>(e.evaluated.size()) != limit; ++d) {
        if (!eval.selected(d))
            continue;
        e.evaluated.push_back(d);
        const auto dd = static_cast<std::size_t>(d);
        std::vector<int> above, best;
        for (int j = 1; j <= n; ++j)
            if (j != d && tech.selected(j) && test::dominates(data, j, d)) {
                above.push_back(j);
                e.dominating[dd] += "  " + std::to_string(j);
            }
        double &score = e.store.Score[dd] = 1.0;
        e.store.Efficient[dd] = above.empty() ? 1 : 0;
        bool positive = false;
        for (int v = 1; v <= count; ++v)
            positive = positive || value(v, d) > 0;
        if (!above.empty() && !positive) {
            e.store.NoScore[dd] = 1;
            score = 0.0;
            e.store.Benchmarks[dd] = in ? FdhNoPositiveInput : FdhNoPositiveOutput;
            continue;
        }
        for (int j : above) {
            double t = in ? 0.0 : 1e30;
            for (int v = 1; v <= count; ++v)
                if (value(v, d) > 0)
                    t = in ? std::max(t, value(v, j) / value(v, d)) : std::min(t, value(v, j) / value(v, d));
            if (in ? t < score : t > score) {
                score = t;
                best.clear();
                e.store.Benchmarks[dd] = (in ? "" : " ") + std::to_string(j);
            } else if (t == score) {
                e.store.Benchmarks[dd] += " " + std::to_string(j);
            } else {
                continue;
            }
            best.push_back(j);
        }
        for (int j : best)
            ++e.store.ReferenceCount[static_cast<std::size_t>(j)];
    }
    for (int j = 1; j <= n; ++j)
        for (int d : e.evaluated)
            if (d != j && tech.selected(j) && test::dominates(data, j, d)) {
                ++e.store.DominatedCount[static_cast<std::size_t>(j)];
                e.dominated[static_cast<std::size_t>(j)] += "  " + std::to_string(d);
            }
    return e;
}

// A DMU worked by hand: its score, benchmarks and dominating DMUs.
struct Fact {
    int d;
    double score;
    const char *benchmarks, *dominating;
};

struct FdhCase {
    std::string name;
    DataSet data;
    const char *model;
    std::vector<int> eval, tech; // empty: all; {0}: none
    std::vector<Fact> facts;
    int cancelAfter = -1, threads = 2;
};

const double inf = std::numeric_limits<double>::infinity();

std::vector<FdhCase> fdhCases()
{
    auto data = [](const std::vector<test::Unit> &units) { return test::makeData(units); };
    const auto three = data({{{2}, {2}}, {{4}, {2}}, {{4}, {3}}});
    std::vector<FdhCase> cases{
        // DMU 1 offers 4/2 = 2 times the input, DMU 3 the same input: 0.5 by DMU 1.
        {"InputByTheBestDominator", three, "FDH_RAD_IN", {}, {}, {{2, 0.5, "1", "  1  3"}, {1, 1, "", ""}}},
        // DMU 1 offers 2/2 = 1 (a tie with the start value), DMU 3 offers 3/2.
        {"OutputTieWithTheStartIsReplaced", three, "FDH_RAD_OUT", {}, {}, {{2, 1.5, " 3", "  1  3"}}},
        {"EquallyGoodInputDominators", data({{{4}, {1}}, {{2}, {1}}, {{2}, {5}}}), "FDH_RAD_IN", {1}, {},
         {{1, 0.5, "2 3", "  2  3"}}},
        {"ADuplicateDominatesWithoutImprovement", data({{{3, 1}, {2}}, {{3, 1}, {2}}}), "FDH_RAD_IN", {}, {},
         {{1, 1.0, " 2", "  2"}, {2, 1.0, " 1", "  1"}}},
        {"ComparisonsAreExact", data({{{2}, {2}}, {{2.000000000001}, {2}}}), "FDH_RAD_IN", {}, {},
         {{1, 1.0, "", ""}, {2, 2 / 2.000000000001, "1", "  1"}}},
        // DMU 1 is evaluated from outside the technology; DMU 4 spans it unevaluated.
        {"OnlyTheTechnologyDominates", data({{{4}, {1}}, {{3}, {1}}, {{1}, {1}}, {{2}, {2}}}), "FDH_RAD_IN", {1, 2},
         {2, 3, 4}, {{1, 0.25, "3", "  2  3  4"}, {2, 1.0 / 3, "3", "  3  4"}}},
        {"NoPositiveInput", data({{{0}, {1}}, {{0}, {2}}, {{1}, {3}}}), "FDH_RAD_IN", {}, {},
         {{1, 0.0, FdhNoPositiveInput.c_str(), "  2"}}},
        // Values the readers never produce: a NaN compares false with
        // everything, infinities compare as numbers.
        {"NanAndInfinities",
         data({{{1, 1}, {1}}, {{1, NAN}, {5}}, {{2, 2}, {1}}, {{inf, 1}, {1}}, {{inf, 1}, {1}}, {{1, 1}, {inf}}}),
         "FDH_RAD_OUT", {}, {}, {{2, 1.0, "", ""}}},
    };
    // More twins than a leaf of the search tree holds: DMU 151 dominates them
    // all, DMU 152 is dominated by all; and a technology of no DMU.
    std::vector<test::Unit> twins(150, test::Unit{{2, 3}, {4}});
    twins.push_back({{1, 3}, {4}});
    twins.push_back({{2, 3}, {3}});
    cases.push_back({"ManyTwins", data(twins), "FDH_RAD_IN", {}, {}, {{151, 1.0, "", ""}}});
    cases.push_back({"NoTechnology", data(twins), "FDH_RAD_OUT", {}, {0}, {{152, 1.0, "", ""}}});
    // Random data: small integers 0..4 (many ties) or log-normal values, a
    // zero among 12 values and a duplicate among 10 DMUs, one to four inputs
    // and outputs; everything in both sets, or about two thirds in each (DMUs
    // evaluated outside the technology, technology DMUs never evaluated).
    for (unsigned seed = 1; seed <= 16; ++seed) {
        const bool grid = seed % 2 == 0, partial = seed % 4 >= 2;
        const int inputs = 1 + static_cast<int>(seed % 3), outputs = 1 + static_cast<int>(seed * 7 % 4);
        std::mt19937 random(seed);
        std::normal_distribution<double> normal;
        auto values = [&](int count) {
            std::vector<double> v(static_cast<std::size_t>(count));
            for (double &x : v)
                x = random() % 12 == 0 ? 0.0
                  : grid               ? static_cast<double>(random() % 5)
                                       : 10 * std::exp(0.5 * normal(random));
            return v;
        };
        std::vector<test::Unit> units;
        while (units.size() < 300)
            units.push_back(!units.empty() && random() % 10 == 0 ? units[random() % units.size()]
                                                                : test::Unit{values(inputs), values(outputs)});
        std::vector<int> eval, tech;
        for (int d = 1; partial && d <= 300; ++d) {
            if (random() % 3 != 0)
                eval.push_back(d);
            if (random() % 3 != 0)
                tech.push_back(d);
        }
        const char *model = seed <= 8 ? "FDH_RAD_IN" : "FDH_RAD_OUT";
        cases.push_back({model + std::string("Random") + std::to_string(seed), data(units), model, eval, tech, {}, 60,
                         3});
    }
    return cases;
}

class FdhAgainstPairwiseDefinition : public ::testing::TestWithParam<FdhCase> {};

TEST_P(FdhAgainstPairwiseDefinition, everyRowListAndReferenceCountIsThatOfThePairwiseComparison)
{
    const FdhCase &c = GetParam();
    const int n = c.data.NumDMU;
    // A run through every DMU, and for the random data one cancelled after
    // `cancelAfter` DMUs: the dominated lists then name only the DMUs evaluated before.
    for (int cancelAfter : {-1, c.cancelAfter}) {
        SCOPED_TRACE(cancelAfter < 0 ? "whole run" : "cancelled");
        test::ModelRun run(c.data, c.model, c.threads);
        auto chosen = [n](const std::vector<int> &dmus) {
            return dmus.empty()                    ? SelectionSet(n, true)
                 : dmus == std::vector<int>{0} ? SelectionSet(n)
                                               : test::selection(n, dmus);
        };
        run.eval = chosen(c.eval);
        run.tech = chosen(c.tech);
        const SelectionSet tech = run.tech;
        run.progress.cancelAfter = cancelAfter;
        EXPECT_EQ(run.run(), cancelAfter < 0 ? RunOutcome::Completed : RunOutcome::Stopped);
        EXPECT_EQ(run.tech, tech); // FDH never changes the technology
        const Expected e = pairwise(c.data, std::string(c.model) == "FDH_RAD_IN", run.eval, tech, cancelAfter);
        ASSERT_EQ(run.results.rows.size(), e.evaluated.size());
        for (std::size_t k = 0; k < e.evaluated.size(); ++k) {
            const test::RowSeen &row = run.results.rows[k];
            const auto dd = static_cast<std::size_t>(e.evaluated[k]);
            ASSERT_EQ(row.d, e.evaluated[k]);
            EXPECT_EQ(row.dominatingList, e.dominating[dd]) << "DMU " << row.d;
            EXPECT_EQ(row.dominatingCount, std::count(e.dominating[dd].begin(), e.dominating[dd].end(), ' ') / 2)
                << "DMU " << row.d;
            EXPECT_EQ(row.name.substr(0, 3), tech.selected(row.d) ? "   " : "{X}") << "DMU " << row.d;
        }
        const ResultStore &store = run.store();
        const ResultStore &expected = e.store;
        EXPECT_EQ(std::tie(store.Score, store.Efficient, store.NoScore, store.Benchmarks, store.ReferenceCount),
                  std::tie(expected.Score, expected.Efficient, expected.NoScore, expected.Benchmarks,
                           expected.ReferenceCount));
        EXPECT_EQ(store.DominatedCount, expected.DominatedCount);
        // The lists, formed again when asked for, after the run as a table asks.
        ASSERT_TRUE(store.DominanceLists);
        for (int d = 1; d <= n; ++d) {
            const auto dd = static_cast<std::size_t>(d);
            const bool evaluated = std::find(e.evaluated.begin(), e.evaluated.end(), d) != e.evaluated.end();
            EXPECT_EQ(store.DominanceLists->dominated(d), e.dominated[dd]) << "DMU " << d;
            EXPECT_EQ(store.DominanceLists->dominating(d), evaluated ? e.dominating[dd] : "") << "DMU " << d;
        }
        // The cases worked by hand hold the definition to what it means.
        for (const Fact &f : c.facts) {
            const auto d = static_cast<std::size_t>(f.d);
            EXPECT_EQ(std::tie(store.Score[d], store.Benchmarks[d], run.results.row(f.d).dominatingList),
                      std::tie(f.score, f.benchmarks, f.dominating)) << "DMU " << f.d;
        }
        if (c.cancelAfter < 0)
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(HandAndRandomData, FdhAgainstPairwiseDefinition, ::testing::ValuesIn(fdhCases()),
                         test::ParamName());

} // namespace
} // namespace zelvar
