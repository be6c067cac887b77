#include "data/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelvar {
namespace {

struct FixedCase {
    double value;
    int decimals;
    const char *text;
};

class FormatFixed : public testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixed, WritesTheValueRoundedHalfAwayFromZero)
{
    const FixedCase &c = GetParam();
    EXPECT_EQ(formatFixed(c.value, c.decimals), c.text) << c.value << " with " << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, FormatFixed,
    testing::Values(FixedCase{0.0, 2, "0.00"}, FixedCase{1.0, 2, "1.00"},
                    FixedCase{0.5, 0, "1."}, FixedCase{3.0, 0, "3."}, FixedCase{-2.5, 0, "-3."},
                    FixedCase{0.125, 2, "0.13"}, FixedCase{-0.125, 2, "-0.13"},
                    // Halves as written, not as stored in binary (2.675 is
                    // 2.67499999999999982 in a double).
                    FixedCase{2.675, 2, "2.68"}, FixedCase{1.005, 2, "1.01"},
                    FixedCase{1.15, 1, "1.2"}, FixedCase{-1.15, 1, "-1.2"},
                    FixedCase{0.1 + 0.2, 2, "0.30"}, FixedCase{0.835, 2, "0.84"},
                    // Carries through nines into a new leading digit.
                    FixedCase{9.995, 2, "10.00"}, FixedCase{99.96, 1, "100.0"},
                    FixedCase{0.0049, 2, "0.00"}, FixedCase{0.005, 2, "0.01"},
                    FixedCase{0.0004, 3, "0.000"}, FixedCase{1e-9, 8, "0.00000000"},
                    FixedCase{123456.789, 1, "123456.8"}, FixedCase{0.87654321, 8, "0.87654321"},
                    FixedCase{1e20, 2, "100000000000000000000.00"}));

TEST(NumberText, NeverWritesMinusZero)
{
    EXPECT_EQ(formatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(formatFixed(-0.0, 2), "0.00");
    EXPECT_EQ(formatFixed(-1e-12, 8), "0.00000000");
    EXPECT_EQ(formatPercent(-0.00001, 2), "0.00%");
}

TEST(NumberText, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(formatFixed(2.675, 2, ","), "2,68");
    EXPECT_EQ(formatFixed(-1234.5, 1, ","), "-1234,5");
    EXPECT_EQ(formatFixed(7.0, 0, ","), "7,");
    EXPECT_EQ(formatPercent(0.8125, 1, ","), "81,3%");
}

TEST(NumberText, PercentagesAreHundredfoldWithASign)
{
    EXPECT_EQ(formatPercent(0.835, 0), "84.%");
    EXPECT_EQ(formatPercent(1.0, 2), "100.00%");
    EXPECT_EQ(formatPercent(0.12345, 2), "12.35%");
}

TEST(NumberText, NonFiniteValuesAreNamed)
{
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::quiet_NaN(), 2), "NaN");
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::infinity(), 2), "Infinity");
    EXPECT_EQ(formatFixed(-std::numeric_limits<double>::infinity(), 2), "-Infinity");
}

TEST(NumberText, RoundingAgreesWithWhatIsShown)
{
    EXPECT_DOUBLE_EQ(roundDecimals(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(roundDecimals(0.99999999, 6), 1.0);
    EXPECT_DOUBLE_EQ(roundDecimals(-0.125, 2), -0.13);
    EXPECT_EQ(roundDecimals(-1e-9, 6), 0.0);
    EXPECT_DOUBLE_EQ(roundDecimals(123.0, 0), 123.0);
    EXPECT_TRUE(std::isnan(roundDecimals(std::nan(""), 2)));
    for (double v : {0.1, 0.835, 1.005, 12.3456789, -7.77777})
        for (int decimals = 0; decimals <= 8; ++decimals)
            EXPECT_EQ(formatFixed(roundDecimals(v, decimals), decimals), formatFixed(v, decimals));
}

struct ParseCase {
    const char *text;
    char decimalSymbol;
    std::optional<double> value;
};

class ParseNumber : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumber, ReadsNumbersAndRefusesEverythingElse)
{
    const ParseCase &c = GetParam();
    EXPECT_EQ(parseNumber(c.text, c.decimalSymbol), c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, ParseNumber,
    testing::Values(ParseCase{"12", '.', 12.0}, ParseCase{" 12.5 ", '.', 12.5},
                    ParseCase{"\t-3\t", '.', -3.0}, ParseCase{"+4", '.', 4.0},
                    ParseCase{".5", '.', 0.5}, ParseCase{"5.", '.', 5.0},
                    ParseCase{"1e3", '.', 1000.0}, ParseCase{"-2.5E-2", '.', -0.025},
                    ParseCase{"1e+2", '.', 100.0}, ParseCase{"12,5", ',', 12.5},
                    ParseCase{"-3,5e2", ',', -350.0},
                    ParseCase{"", '.', std::nullopt}, ParseCase{"   ", '.', std::nullopt},
                    ParseCase{"n/a", '.', std::nullopt}, ParseCase{"12,5", '.', std::nullopt},
                    ParseCase{"12.5", ',', std::nullopt}, ParseCase{"1.2.3", '.', std::nullopt},
                    ParseCase{"1 000", '.', std::nullopt}, ParseCase{"-", '.', std::nullopt},
                    ParseCase{"+-1", '.', std::nullopt}, ParseCase{"--1", '.', std::nullopt},
                    ParseCase{"1-", '.', std::nullopt}, ParseCase{"1e", '.', std::nullopt},
                    ParseCase{"e5", '.', std::nullopt}, ParseCase{"1e+-5", '.', std::nullopt},
                    ParseCase{"1e5.5", '.', std::nullopt}, ParseCase{"0x10", '.', std::nullopt},
                    ParseCase{"inf", '.', std::nullopt}, ParseCase{"nan", '.', std::nullopt},
                    ParseCase{"1e999", '.', std::nullopt}));

TEST(NumberText, ShortestTextReadsBackAsTheSameNumber)
{
    EXPECT_EQ(numberToText(17.0), "17");
    EXPECT_EQ(numberToText(0.25), "0.25");
    EXPECT_EQ(numberToText(1e30), "1e+30");
    for (double v : {0.1 + 0.2, 1.0 / 3.0, -123.456, 6.02e23})
        EXPECT_EQ(parseNumber(numberToText(v)), v);
}

} // namespace
} // namespace zelvar
