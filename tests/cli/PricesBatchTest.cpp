// zelvar-batch with prices: the cost and revenue tables of the sample banks,
// and the calls it refuses with exit status 1.

#include "support/BatchProgram.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct PricesCall {
    const char *name;
    const char *arguments; // EX: the examples folder, FX: the fixtures folder
    int status;
    const char *out; // the start of standard output
    const char *err; // part of standard error
};

class PricesCalls : public ::testing::TestWithParam<PricesCall> {};

std::string expand(std::string text)
{
    for (const auto &[marker, folder] :
         {std::pair<std::string, std::string>{"EX", ZELVAR_EXAMPLES}, {"FX", ZELVAR_FIXTURES}})
        for (std::size_t at = text.find(marker + "/"); at != std::string::npos; at = text.find(marker + "/"))
            text.replace(at, marker.size(), folder);
    return text;
}

// The arguments split at blanks (no argument here holds one).
std::vector<std::string> arguments(const std::string &text)
{
    std::istringstream words(expand(text));
    return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

TEST_P(PricesCalls, PrintTheTableOrSayWhyNot)
{
    const PricesCall &c = GetParam();
    const zelvar::test::ScratchFolder scratch;
    const zelvar::test::BatchOutcome outcome = zelvar::test::runBatchProgram(arguments(c.arguments), scratch);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.out.substr(0, std::string(c.out).size()), c.out);
    EXPECT_NE(outcome.err.find(expand(c.err)), std::string::npos) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(
    Banks, PricesCalls,
    ::testing::Values(
        PricesCall{"Cost", "--prices EX/banks-prices.txt --model CRS_COST_IN EX/banks.txt", 0,
                   " \tDMU\tScore\tTechnical\tAllocative\t{*}{I}Staff\t{*}{IN}Floor space\tBenchmarks\r"
                   "1\t    Harbour Street\t94.36%\t94.36%\t100.00%\t13.21\t420.00\t 7 (0.75)  9 (0.06) \r",
                   ""},
        PricesCall{"RevenueFromTheWorkbook", "--prices EX/banks-prices.xls --model VRS_REV_OUT EX/banks.xlsx", 0,
                   " \tDMU\tScore\tTechnical\tAllocative\t{*}{O}Loans\t{*}{O}Deposits\tBenchmarks\r"
                   "1\t    Harbour Street\t93.41%\t96.10%\t97.20%\t13200.00\t21550.00\t 7 (0.75)  10 (0.25) \r",
                   ""},
        PricesCall{"WithoutPrices", "--model NIR_COST_IN EX/banks.txt", 1, "",
                   "NIR_COST_IN needs prices: give them with --prices FILE."},
        PricesCall{"WithWeights",
                   "--prices EX/banks-prices.txt --weights EX/banks-weights.txt --model CRS_REV_OUT EX/banks.txt", 1,
                   "", "Weight restrictions do not apply to CRS_REV_OUT"},
        PricesCall{"PricesOfAnotherShape", "--prices FX/prices/two-rows.txt --model CRS_COST_IN EX/banks.txt", 1, "",
                   "FX/prices/two-rows.txt"},
        PricesCall{"NoScaleTable", "--prices EX/banks-prices.txt --scale --model CRS_COST_IN EX/banks.txt", 1, "",
                   "--scale needs a radial input- or output-oriented model"},
        PricesCall{"NotComposable", "--prices EX/banks-prices.txt --model CRS_COST_OUT EX/banks.txt", 1, "",
                   "With --prices also: CRS_COST_IN, VRS_COST_IN"}),
    [](const auto &item) { return std::string(item.param.name); });

} // namespace
