// The frame of a technology against what it must be: for every weight vector
// the frame reaches the best any DMU reaches (so the frame's rows imply every
// row), and on data without ties no frame DMU lies in the hull (cone) of the
// others, which the envelopment form says on its own.

#include "support/Envelopment.h"
#include "support/TestSupport.h"

#include "engine/TechnologyFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace zelvar {
namespace {

struct FrameCase {
    const char *name;
    int count, inputs, outputs;
    unsigned seed;
    bool cone;
    bool ties;             // integer values, duplicates and zeros
    std::size_t splitFrom; // found half by half from this many on
};

const FrameCase frameCases[] = {
    {"hull 2+1", 300, 2, 1, 1, false, false, 8192},
    {"hull 3+2", 400, 3, 2, 2, false, false, 8192},
    {"hull 4+3, by halves", 500, 4, 3, 3, false, false, 64},
    {"cone 3+2", 400, 3, 2, 4, true, false, 8192},
    {"cone 2+3, by halves", 500, 2, 3, 5, true, false, 64},
    {"hull with ties", 300, 3, 2, 6, false, true, 8192},
    {"hull with ties, by halves", 300, 3, 2, 7, false, true, 40},
    {"cone with ties", 300, 3, 2, 8, true, true, 8192},
};

// Points c = (-x, y), column by column, as the technology's rows hold them;
// outputs a noisy Cobb-Douglas of the inputs, so that many points are
// undominated but few extreme.
std::vector<double> points(const FrameCase &c)
{
    std::mt19937_64 random(c.seed);
    std::lognormal_distribution<double> size(0.0, 0.6);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::uniform_int_distribution<int> small(1, 5);
    const int width = c.inputs + c.outputs;
    std::vector<double> columns(static_cast<std::size_t>(width * c.count));
    auto at = [&](int k, int p) -> double & { return columns[static_cast<std::size_t>(k * c.count + p)]; };
    for (int p = 0; p < c.count; ++p) {
        if (c.ties && p > 10 && p % 9 == 0) { // a duplicate
            for (int k = 0; k < width; ++k)
                at(k, p) = at(k, p - 7);
            continue;
        }
        double product = 1.0;
        for (int i = 0; i < c.inputs; ++i) {
            const double x = c.ties ? small(random) : 10.0 * size(random);
            at(i, p) = -x;
            product *= x;
        }
        for (int r = 0; r < c.outputs; ++r)
            at(c.inputs + r, p) = c.ties ? small(random) : std::pow(product, 0.8 / c.inputs) * std::exp(noise(random));
        if (c.ties && p % 13 == 0)
            at(c.inputs + p % c.outputs, p) = 0.0;
    }
    return columns;
}

class TechnologyFrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(TechnologyFrameTest, reachesWhatEveryDmuReachesAndHoldsNoDmuTheOthersSpan)
{
    const FrameCase &c = GetParam();
    const int width = c.inputs + c.outputs;
    const std::vector<double> columns = points(c);
    auto value = [&](int k, int p) { return columns[static_cast<std::size_t>(k * c.count + p)]; };
    const std::vector<std::int32_t> frame =
        technologyFrame(columns.data(), static_cast<std::size_t>(c.count), width, c.inputs, c.cone, 1, c.splitFrom);
    ASSERT_FALSE(frame.empty());
    EXPECT_TRUE(std::is_sorted(frame.begin(), frame.end()));
    EXPECT_LT(frame.size(), static_cast<std::size_t>(c.count));
    // The same frame on two threads.
    EXPECT_EQ(technologyFrame(columns.data(), static_cast<std::size_t>(c.count), width, c.inputs, c.cone, 2,
                              c.splitFrom),
              frame);

    // Hull: the largest c . w over all points is reached in the frame, for
    // any weights w >= 0 (some of them 0). Cone: the largest c . w per unit
    // of input, where it is not negative.
    std::mt19937_64 random(c.seed + 100);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto score = [&](int p, const std::vector<double> &w) {
        double sum = 0.0;
        double input = 0.0;
        for (int k = 0; k < width; ++k)
            sum += w[static_cast<std::size_t>(k)] * value(k, p);
        for (int i = 0; i < c.inputs; ++i)
            input -= value(i, p);
        return c.cone ? sum / input : sum;
    };
    int compared = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<double> w(static_cast<std::size_t>(width));
        for (double &weight : w)
            weight = unit(random) < 0.15 ? 0.0 : unit(random);
        double all = -HUGE_VAL;
        for (int p = 0; p < c.count; ++p)
            all = std::max(all, score(p, w));
        double inFrame = -HUGE_VAL;
        for (const std::int32_t p : frame)
            inFrame = std::max(inFrame, score(p, w));
        if (c.cone && all < 0.0)
            continue;
        ++compared;
        ASSERT_NEAR(inFrame, all, 1e-12 * std::max(1.0, std::fabs(all))) << "trial " << trial;
    }
    EXPECT_GT(compared, 500);

    // Without ties every frame DMU lies outside the hull (cone) of the other
    // frame DMUs: its superefficiency score is above 1, or there is none.
    if (c.ties)
        return;
    std::vector<test::Unit> units;
    for (const std::int32_t p : frame) {
        test::Unit u;
        for (int i = 0; i < c.inputs; ++i)
            u.x.push_back(-value(i, p));
        for (int r = 0; r < c.outputs; ++r)
            u.y.push_back(value(c.inputs + r, p));
        units.push_back(u);
    }
    const DataSet data = test::makeData(units);
    std::vector<int> all(units.size());
    for (std::size_t k = 0; k < all.size(); ++k)
        all[k] = static_cast<int>(k) + 1;
    for (const int d : all) {
        const test::EnvelopmentResult e = test::solveRadialEnvelopment(data, d, all, "IN", c.cone ? "CRS" : "VRS");
        EXPECT_TRUE(!e.optimal || e.value > 1.0 + 1e-9) << "frame DMU " << frame[static_cast<std::size_t>(d - 1)];
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TechnologyFrameTest, ::testing::ValuesIn(frameCases),
                         [](const ::testing::TestParamInfo<FrameCase> &param) {
                             std::string name = param.param.name;
                             for (char &ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

} // namespace
} // namespace zelvar
