// Every LP model (4 returns to scale x 4 distances x 3 orientations) against
// independent computations: on small data the envelopment form, solved with
// CLP on its own, and examples solved by hand; on data that makes LPs hard to
// tell apart (ties, duplicates, zeros, a few DMUs repeated many times, large
// units) the full LP of every DMU, and the run on three threads (the one place
// that shows threads not to change what a user sees). Every inefficient DMU's
// projection is checked.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

namespace zelvar {
namespace {

struct DataCase {
    std::string name;
    DataSet data;
    bool restricted;        // the loaded weight restrictions are applied
    int outsideStep;        // every such DMU from the 3rd (0: none) outside the technology
    bool hard;              // against the full LP; else against the envelopment form
    bool largeUnits = false; // not for the additive model, whose score is in the data's units
    int lastEvaluated = 0;   // the DMUs after it are not evaluated; 0: all are
};

// Three inputs and two outputs: integers 1..6 (many ties) or log-normal
// values, near a frontier (most DMUs undominated) when told; zeros, and
// duplicates of earlier DMUs, or only `distinct` DMUs repeated many times;
// input 1 in `units` (amounts of money) and output 1 in their inverse; input
// 3 and output 2 non-discretionary when told; restrictions loaded.
DataSet hardData(int dmus, unsigned seed, bool integer, bool nd, bool frontier, int distinct, double units)
{
    std::mt19937_64 random(seed);
    std::lognormal_distribution<double> size(0.0, 0.7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 0.1);
    std::exponential_distribution<double> inefficiency(8.0);
    auto value = [&] { return integer ? static_cast<double>(random() % 6 + 1) : 10.0 * size(random); };
    std::vector<test::Unit> list;
    for (int d = 1; d <= dmus; ++d) {
        if ((distinct > 0 && d > distinct) || (distinct == 0 && d > 10 && unit(random) < 0.08)) {
            const std::size_t from = distinct > 0 ? static_cast<std::size_t>(distinct) : list.size();
            list.push_back(list[static_cast<std::size_t>(random() % from)]);
            continue;
        }
        test::Unit u{{value(), value(), value()}, {value(), value()}};
        if (frontier) {
            const double scale = std::pow(u.x[0] * u.x[1] * u.x[2], 0.3) * std::exp(-inefficiency(random));
            u.y = {scale * std::exp(noise(random)), scale * std::exp(noise(random))};
        }
        if (unit(random) < 0.1)
            u.x[random() % 3] = 0.0;
        if (unit(random) < 0.1)
            u.y[random() % 2] = 0.0;
        u.x[0] *= units;
        u.y[0] /= units;
        list.push_back(u);
    }
    DataSet data = nd ? test::makeData(list, {3}, {2}) : test::makeData(list);
    // v1 >= v2 / 2 and u1 <= 3 u2, in the units of the data.
    test::addWeights(data, {{1 * units, -0.5, 0, 0, 0}, {0, 0, 0, -1 / units, 3}});
    return data;
}

// Worked by hand, one input and one output. Five DMUs (x | y):
//   1: (3 | 1)   2: (2 | 2)   3: (4 | 3)   4: (6 | 5)   5: (5 | 2)
// Constant returns: DMU 2 has the best ratio y/x = 1, so every other DMU's
// input efficiency is its ratio and its only reference is DMU 2 with
// intensity y/2 (input) or x/2 (output); DMU 2's superefficiency is 1 over
// the next best ratio, 5/6 of DMU 4.
// Variable returns: the frontier runs from (2, 2) to (6, 5); solved by hand
// on that segment (DMU 1 input-oriented uses (2, 2) with an output slack of 1;
// DMU 4 input-oriented and DMU 2 output-oriented cannot be reached by the
// others: no finite optimum).
// Additive, variable returns, both slacks: each DMU's best dominating
// frontier point. DMU 5 (5 | 2): (2, 2) saves 3 input; DMU 1 (3 | 1):
// (2, 2) saves 1 input and adds 1 output; DMU 3 (4 | 3): the frontier point
// (10/3, 3) of segment (2,2)-(6,5) saves 2/3 input, with intensities 2/3 and 1/3.
const DataSet fiveDmus = test::makeData({{{3}, {1}}, {{2}, {2}}, {{4}, {3}}, {{6}, {5}}, {{5}, {2}}});
// Non-oriented, constant returns: DMU 1 (1 | 1) against DMU 2 (1 | 0). DMU
// 2's row reads -v <= 0 and the normalisation v + u = 1, so the minimum of
// v - u is reached at u = 1, v = 0 and is exactly -1: a score, not "big".
const DataSet twoDmus = test::makeData({{{1}, {1}}, {{1}, {0}}});

struct DmuExpected {
    double score;
    const char *benchmarks; // none: efficient
    double inputSlack = 0.0, outputSlack = 0.0;
    bool big = false; // no finite optimum
};

const DmuExpected Big{-1.0, "", 0, 0, true};

struct HandCase {
    const char *data;
    const char *model;
    std::vector<DmuExpected> dmus;            // DMUs 1, 2, ... evaluated
    std::vector<std::int32_t> references;     // of every DMU at the end
    std::vector<char> efficient;              // at the end
};

const HandCase handCases[] = {
    {"hand-solved, five DMUs", "CRS_RAD_IN",
     {{1.0 / 3, " 2 (0.50000000) "}, {1.2, ""}, {0.75, " 2 (1.50000000) "}, {5.0 / 6, " 2 (2.50000000) "},
      {0.4, " 2 (1.00000000) "}},
     {0, 4, 0, 0, 0}, {0, 1, 0, 0, 0}},
    {"hand-solved, five DMUs", "CRS_RAD_OUT",
     {{3.0, " 2 (1.50000000) "}, {5.0 / 6, ""}, {4.0 / 3, " 2 (2.00000000) "}, {1.2, " 2 (3.00000000) "},
      {2.5, " 2 (2.50000000) "}},
     {0, 4, 0, 0, 0}, {0, 1, 0, 0, 0}},
    {"hand-solved, five DMUs", "VRS_RAD_IN",
     {{2.0 / 3, " 2 (1.00000000) ", 0, 1}, {1.75, ""}, {5.0 / 6, " 2 (0.66666667)  4 (0.33333333) "}, Big,
      {0.4, " 2 (1.00000000) "}},
     {0, 3, 0, 1, 0}, {0, 1, 0, 1, 0}},
    {"hand-solved, five DMUs", "VRS_RAD_OUT",
     {{2.75, " 2 (0.75000000)  4 (0.25000000) "}, Big, {3.5 / 3, " 2 (0.50000000)  4 (0.50000000) "}, {0.6, ""},
      {2.125, " 2 (0.25000000)  4 (0.75000000) "}},
     {0, 3, 0, 3, 0}, {0, 1, 0, 1, 0}},
    {"hand-solved, five DMUs", "VRS_ADD_NON",
     {{2.0, " 2 (1.00000000) ", 1, 1}, {0.0, ""}, {2.0 / 3, " 2 (0.66666667)  4 (0.33333333) ", 2.0 / 3, 0},
      {0.0, ""}, {3.0, " 2 (1.00000000) ", 3, 0}},
     {0, 3, 0, 1, 0}, {0, 1, 0, 1, 0}},
    {"hand-solved, two DMUs", "CRS_RAD_NON", {{-1.0, ""}}, {0, 0}, {1, 0}},
};

void expectHand(const test::ModelRun &run, const HandCase &h)
{
    for (const test::RowSeen &row : run.results.rows) {
        const DmuExpected &e = h.dmus[static_cast<std::size_t>(row.d - 1)];
        SCOPED_TRACE("by hand, DMU " + std::to_string(row.d));
        EXPECT_NEAR(row.score, e.score, 1e-9);
        EXPECT_EQ(std::tuple(row.noFiniteOptimum, row.efficient, row.benchmarks),
                  std::tuple(e.big, *e.benchmarks == '\0', e.benchmarks));
        if (!row.efficient) {
            EXPECT_NEAR(std::fabs(row.dual[1]), e.inputSlack, 1e-9);
            EXPECT_NEAR(std::fabs(row.dual[2]), e.outputSlack, 1e-9);
        }
    }
    const auto &references = run.results.referencesAtEnd;
    const auto &efficient = run.results.efficientAtEnd;
    EXPECT_EQ(std::vector<std::int32_t>(references.begin() + 1, references.end()), h.references);
    EXPECT_EQ(std::vector<char>(efficient.begin() + 1, efficient.end()), h.efficient);
}

const DataCase dataCases[] = {
    {"hand-solved, five DMUs", fiveDmus, false, 0, false},
    {"hand-solved, two DMUs", twoDmus, false, 0, false, false, 1},
    {"small", hardData(25, 21, true, false, false, 0, 1), false, 0, false},
    {"small, non-discretionary, outside", hardData(25, 22, true, true, false, 0, 1), false, 5, false},
    {"small, restricted", hardData(25, 23, true, false, false, 0, 1), true, 0, false},
    {"small, restricted, non-discretionary, outside", hardData(25, 24, true, true, false, 0, 1), true, 5, false},
    // The first: a frontier with slack, where LPs have optimal solutions
    // arbitrarily far out along a direction that costs nothing.
    {"integer ties, duplicates, zeros", hardData(120, 11, true, false, false, 0, 1), false, 0, true},
    {"log-normal, non-discretionary, outside", hardData(140, 12, false, true, false, 0, 1), false, 7, true},
    {"integer, restricted, non-discretionary", hardData(120, 13, true, true, false, 0, 1), true, 0, true},
    {"near a frontier, many undominated DMUs", hardData(180, 14, false, false, true, 0, 1), false, 0, true},
    {"twelve DMUs repeated many times", hardData(130, 15, true, false, false, 12, 1), false, 7, true},
    {"amounts in large and small units", hardData(140, 16, false, true, true, 0, 1e9), true, 0, true, true},
};

struct Expected {
    bool finite = false, noScore = false;
    double score = 0.0;
};

// The score the envelopment form gives d: the radial factor (signed for
// "NON"), or the largest sum of the slacks the orientation counts, of
// discretionary variables, priced 1 (additive) or 1 / (K x) with K the
// number of d's discretionary nonzero values (max-average); min-average: the
// smallest optimum with one nonzero variable priced 1 / x alone, over K.
Expected envelopmentScore(const test::ModelRun &run, int d)
{
    const DataSet &data = run.workspace.data;
    const ModelOptions &o = run.workspace.options;
    const std::string rts(codeOf(o.ReturnsToScale)), orientation(codeOf(o.Orientation));
    if (o.radial()) {
        const auto env = test::solveRadialEnvelopment(data, d, run.lpDmus(d), orientation, rts, o.RestrictWeights);
        return {env.optimal, false, orientation == "NON" ? env.value : std::fabs(env.value)};
    }
    const int m = data.NumInputs;
    const bool additive = o.Distance == ModelDistance::ADD;
    auto value = [&](int c) { return c <= m ? data.InputData(c, d) : data.OutputData(c - m, d); };
    std::vector<int> counted;
    int K = 0;
    for (int c = 1; c <= m + data.NumOutputs; ++c) {
        const bool input = c <= m;
        if ((input ? data.InputNonDisc : data.OutputNonDisc)[static_cast<std::size_t>(input ? c : c - m)] != 0)
            continue;
        K += value(c) != 0.0 ? 1 : 0;
        if ((input ? o.Orientation != ModelOrientation::OUT : o.Orientation != ModelOrientation::IN)
            && (additive || value(c) != 0.0))
            counted.push_back(c);
    }
    auto solve = [&](const std::vector<int> &priced, int over) {
        std::vector<double> in(static_cast<std::size_t>(m) + 1), out(static_cast<std::size_t>(data.NumOutputs) + 1);
        for (int c : priced)
            (c <= m ? in[static_cast<std::size_t>(c)] : out[static_cast<std::size_t>(c - m)]) =
                additive ? 1.0 : 1.0 / (over * value(c));
        return test::solveSlackEnvelopment(data, d, run.lpDmus(d), rts, in, out, o.RestrictWeights);
    };
    if (o.Distance != ModelDistance::MINAV) {
        const auto env = solve(counted, K);
        return {env.optimal, false, env.value};
    }
    Expected best{true, true, 1e30};
    for (int c : counted)
        if (const auto env = solve({c}, 1); env.optimal && env.value < best.score)
            best = {true, false, env.value};
    best.score = best.noScore ? 0.0 : best.score / K;
    return best;
}

// What the envelopment form says of d's row.
void expectEnvelopment(const test::ModelRun &run, const test::RowSeen &row)
{
    const ModelOptions &options = run.workspace.options;
    const Expected expected = envelopmentScore(run, row.d);
    ASSERT_EQ(row.noFiniteOptimum, !expected.finite);
    if (!expected.finite)
        return;
    ASSERT_EQ(row.noScore, expected.noScore);
    EXPECT_NEAR(row.score, expected.score, 1e-7);
    // Efficient: a radial score on the efficient side of 1 (0 for "NON"),
    // clear of rounding; any other model no slack left.
    double margin = -expected.score;
    if (options.radial() && options.Orientation != ModelOrientation::NON)
        margin = options.Orientation == ModelOrientation::IN ? expected.score - 1.0 : 1.0 - expected.score;
    if (!row.noScore && (!options.radial() || std::fabs(margin) > 1e-6)) {
        EXPECT_EQ(row.efficient, margin > -1e-9);
    }
}

// What the full LP says of d's row (the restricted LPs may report another of
// several optimal solutions); on the first hard data set the weights stay
// moderate and a radial full LP reaches the envelopment optimum to rounding.
void expectFullLp(const test::ModelRun &full, const test::RowSeen &expected, const test::RowSeen &actual,
                  bool firstHard)
{
    ASSERT_EQ(actual.d, expected.d);
    EXPECT_NEAR(actual.score, expected.score, 1e-9 * std::max(1.0, std::fabs(expected.score)));
    EXPECT_EQ(std::tie(actual.noFiniteOptimum, actual.noScore, actual.efficient, actual.name, actual.techSelected),
              std::tie(expected.noFiniteOptimum, expected.noScore, expected.efficient, expected.name,
                       expected.techSelected));
    for (std::size_t w = 1; firstHard && w <= 5; ++w) {
        EXPECT_LT(std::fabs(expected.primal[w]), 1e6);
        EXPECT_LT(std::fabs(actual.primal[w]), 1e6);
    }
    if (firstHard && full.workspace.options.radial() && !expected.noFiniteOptimum) {
        EXPECT_NEAR(expected.score, envelopmentScore(full, expected.d).score, 1e-10);
    }
}

class EveryModel : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryModel, givesTheScoresAndFlagsOfTheEnvelopmentFormAndOfTheFullLpOnAnyNumberOfThreads)
{
    int compared = 0, projected = 0;
    long long lps = 0, solves = 0;
    for (const DataCase &c : dataCases) {
        if (c.largeUnits && GetParam().find("_ADD_") != std::string::npos)
            continue;
        SCOPED_TRACE(c.name);
        // The restricted LPs on one thread, the full LPs, the restricted LPs on three threads.
        test::ModelRun one(c.data, GetParam(), 1), full(c.data, GetParam(), 1), three(c.data, GetParam(), 3);
        full.driver.setLpMethod(LpMethod::FullLp);
        for (test::ModelRun *run : {&one, &full, &three}) {
            run->workspace.options.RestrictWeights = c.restricted;
            for (int d = 1; d <= c.data.NumDMU; ++d) {
                run->eval.select(d, !(c.hard && d % 23 == 5) && (c.lastEvaluated == 0 || d <= c.lastEvaluated));
                run->tech.select(d, c.outsideStep == 0 || d < 3 || (d - 3) % c.outsideStep != 0);
            }
            if (run != &one && !c.hard)
                continue;
            ASSERT_EQ(run->run(), RunOutcome::Completed);
            EXPECT_TRUE(run->feedback.messages.empty());
            EXPECT_TRUE(run->feedback.confirms.empty());
            // The LPs are built from the data, which stays as it was.
            EXPECT_EQ(std::tie(run->workspace.data.InputData, run->workspace.data.OutputData),
                      std::tie(c.data.InputData, c.data.OutputData));
        }
        if (c.hard) {
            const RunStatistics &statistics = one.driver.statistics();
            EXPECT_EQ(statistics.fullLpFallbacks, 0);
            EXPECT_LT(statistics.maxFinalRows, statistics.technologyRows);
            EXPECT_GT(three.driver.statistics().threads, 1); // several chunks at once
            lps += statistics.lps;
            solves += statistics.solves;
            EXPECT_EQ(three.results.calls, one.results.calls);
            EXPECT_EQ(three.progress.events, one.progress.events);
            EXPECT_EQ(three.results.efficientAtEnd, one.results.efficientAtEnd);
            EXPECT_EQ(three.results.referencesAtEnd, one.results.referencesAtEnd);
            ASSERT_EQ(full.results.rows.size(), one.results.rows.size());
            ASSERT_EQ(three.results.rows.size(), one.results.rows.size());
        }
        for (std::size_t k = 0; k < one.results.rows.size(); ++k) {
            const test::RowSeen &row = one.results.rows[k];
            SCOPED_TRACE("DMU " + std::to_string(row.d));
            if (c.hard) {
                expectFullLp(full, full.results.rows[k], row, &c == &dataCases[8]);
                const test::RowSeen &threaded = three.results.rows[k];
                // Exactly: the same LPs, solved the same way whatever the thread.
                EXPECT_EQ(std::tie(threaded.d, threaded.score, threaded.benchmarks, threaded.primal, threaded.name),
                          std::tie(row.d, row.score, row.benchmarks, row.primal, row.name));
            } else {
                expectEnvelopment(one, row);
            }
            ++compared;
            if (!row.efficient && !row.noFiniteOptimum && !row.noScore) {
                test::expectProjection(one.workspace.data, one.workspace.options, row, one.lpDmus(row.d));
                ++projected;
            }
        }
        for (const HandCase &hand : handCases)
            if (c.name == hand.data && GetParam() == hand.model)
                expectHand(one, hand);
    }
    // The comparisons are not vacuous, and rows were added to the restricted
    // LPs: they did not hold every row they needed from the start.
    EXPECT_GT(compared, 500);
    EXPECT_GT(projected, 100);
    EXPECT_GT(solves, lps);
}

INSTANTIATE_TEST_SUITE_P(LpModels, EveryModel, ::testing::ValuesIn(test::lpModels()), test::ParamName());

} // namespace
} // namespace zelvar
